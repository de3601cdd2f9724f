#include "common/win32/bitmapbutton.h"

namespace zv {

bool CBitmapButton::Attach(int id, HWND parent, HINSTANCE instance, UINT up, UINT down, UINT focus,
                           UINT disabled) {
    up_.Reset(LoadBitmapW(instance, MAKEINTRESOURCEW(up)));
    down_.Reset(LoadBitmapW(instance, MAKEINTRESOURCEW(down)));
    focus_.Reset(LoadBitmapW(instance, MAKEINTRESOURCEW(focus)));
    disabled_.Reset(LoadBitmapW(instance, MAKEINTRESOURCEW(disabled)));
    return SubclassDlgItem(id, parent, true);
}

void CBitmapButton::SizeToContent() {
    BITMAP bm{};
    if (hwnd_ == nullptr || !up_ || GetObjectW(up_.Get(), sizeof bm, &bm) == 0)
        return;
    SetWindowPos(hwnd_, nullptr, 0, 0, bm.bmWidth, bm.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CBitmapButton::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM)
        return false;
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    HBITMAP image = up_.Get();
    if (dis->itemState & ODS_DISABLED)
        image = disabled_.Get();
    else if (dis->itemState & ODS_SELECTED)
        image = down_.Get();
    else if (dis->itemState & ODS_FOCUS)
        image = focus_.Get();
    const RECT& r = dis->rcItem;
    MemoryDc mem(CreateCompatibleDC(dis->hDC));
    if (mem && image != nullptr) {
        SelectScope select(mem.Get(), image);
        BITMAP bm{};
        GetObjectW(image, sizeof bm, &bm);
        StretchBlt(dis->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.Get(), 0, 0,
                   bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    result = TRUE;
    return true;
}

}  // namespace zv
