#include "launcher/win32/banner.h"

#include "common/win32/bitmdraw.h"
#include "common/win32/text.h"
#include "launcher/win32/launcher_resource.h"

namespace zv {
namespace {

constexpr int kTextLeft = kBannerWidth + 46;

HFONT MakeFont(HDC dc, int points, int weight) {
    return CreateFontW(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, weight, FALSE,
                       FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS UI Gothic");
}

void Rule(HDC dc, int x0, int x1, int y, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y, nullptr);
    LineTo(dc, x1, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

void PlaceProductIcon(HWND window, int iconControlId) {
    HWND icon = GetDlgItem(window, iconControlId);
    if (icon == nullptr)
        return;
    SetWindowPos(icon, nullptr, kBannerWidth + 8, 10, 32, 32, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(icon, SW_SHOWNA);
}

void PaintProductPanel(HWND window, HDC dc, const std::wstring& extra) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CBitMDraw(0, 0, kBannerWidth, kBannerHeight, dc, IDB_BANNER, IDB_BANNER_MASK);

    SetBkMode(dc, TRANSPARENT);
    HFONT title = MakeFont(dc, 12, FW_BOLD);
    HFONT body = MakeFont(dc, 9, FW_NORMAL);
    HGDIOBJ oldFont = SelectObject(dc, title);
    SetTextColor(dc, RGB(40, 40, 40));
    const std::wstring product = LoadResourceString(IDS_PRODUCT_VERSION);
    TextOutW(dc, kTextLeft, 10, product.c_str(), static_cast<int>(product.size()));

    const int right = client.right - 10;
    Rule(dc, kTextLeft, right, 34, RGB(222, 110, 30));
    Rule(dc, kTextLeft, right, 36, RGB(32, 96, 184));

    SelectObject(dc, body);
    const std::wstring note = LoadResourceString(IDS_PRODUCT_NOTE);
    RECT line{kTextLeft, 42, right, 62};
    DrawTextW(dc, note.c_str(), static_cast<int>(note.size()), &line,
              DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (!extra.empty()) {
        RECT block{kTextLeft, 68, right, client.bottom};
        DrawTextW(dc, extra.c_str(), static_cast<int>(extra.size()), &block,
                  DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    }
    SelectObject(dc, oldFont);
    DeleteObject(title);
    DeleteObject(body);
}

}  // namespace zv
