#include "launcher/win32/banner.h"

#include "common/win32/bitmdraw.h"
#include "common/win32/dpi.h"
#include "common/win32/text.h"
#include "launcher/win32/launcher_resource.h"

namespace zv {
namespace {

// The panel's figures at 96 DPI, right of the banner and down from the top.
constexpr int kIconGap = 8;   // banner to icon
constexpr int kTextGap = 46;  // banner to text
constexpr int kTop = 10;      // icon and product line
constexpr int kRightMargin = 10;
constexpr int kFirstRule = 34;
constexpr int kSecondRule = 36;
constexpr int kNoteTop = 42;
constexpr int kNoteBottom = 62;
constexpr int kExtraTop = 68;

UniqueFont MakeFont(int points, int weight, UINT dpi) {
    return CreatePointFont(L"MS UI Gothic", points, weight, SHIFTJIS_CHARSET,
                           DEFAULT_PITCH | FF_DONTCARE, dpi);
}

void Rule(HDC dc, int x0, int x1, int y, int width, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    const RECT r{x0, y, x1, y + width};
    FillRect(dc, &r, brush.Get());
}

// The banner's width at the window's DPI: the image set's.
int BannerWidth(UINT dpi) {
    UniqueBitmap banner(LoadBitmapForDpi(GetModuleHandleW(nullptr), IDB_BANNER, dpi));
    const SIZE size = BitmapSize(banner.Get());
    return size.cx > 0 ? size.cx : Scale(kBannerWidth, dpi);
}

}  // namespace

void PlaceProductIcon(HWND window, int iconControlId) {
    HWND icon = GetDlgItem(window, iconControlId);
    if (icon == nullptr)
        return;
    const UINT dpi = DpiOfWindow(window);
    const int size = MetricForDpi(SM_CXICON, dpi);
    SetWindowPos(icon, nullptr, BannerWidth(dpi) + Scale(kIconGap, dpi), Scale(kTop, dpi), size,
                 size, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(icon, SW_SHOWNA);
}

void PaintProductPanel(HWND window, HDC dc, const std::wstring& extra) {
    const UINT dpi = DpiOfWindow(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HINSTANCE module = GetModuleHandleW(nullptr);
    UniqueBitmap banner(LoadBitmapForDpi(module, IDB_BANNER, dpi));
    UniqueBitmap mask(LoadBitmapForDpi(module, IDB_BANNER_MASK, dpi));
    const SIZE bannerSize = BitmapSize(banner.Get());
    CBitMDraw(0, 0, bannerSize.cx, bannerSize.cy, dc, banner.Get(), mask.Get());

    const auto px = [dpi](int value) { return Scale(value, dpi); };
    const int left = bannerSize.cx + px(kTextGap);
    const int right = client.right - px(kRightMargin);
    const int rule = px(1);
    SetBkMode(dc, TRANSPARENT);
    UniqueFont title = MakeFont(12, FW_BOLD, dpi);
    UniqueFont body = MakeFont(9, FW_NORMAL, dpi);
    SelectScope selectTitle(dc, title.Get());
    SetTextColor(dc, RGB(40, 40, 40));
    const std::wstring product = LoadResourceString(IDS_PRODUCT_VERSION);
    TextOutW(dc, left, px(kTop), product.c_str(), static_cast<int>(product.size()));

    Rule(dc, left, right, px(kFirstRule), rule, RGB(222, 110, 30));
    Rule(dc, left, right, px(kSecondRule), rule, RGB(32, 96, 184));

    SelectScope selectBody(dc, body.Get());
    const std::wstring note = LoadResourceString(IDS_PRODUCT_NOTE);
    RECT line{left, px(kNoteTop), right, px(kNoteBottom)};
    DrawTextW(dc, note.c_str(), static_cast<int>(note.size()), &line,
              DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (!extra.empty()) {
        RECT block{left, px(kExtraTop), right, client.bottom};
        DrawTextW(dc, extra.c_str(), static_cast<int>(extra.size()), &block,
                  DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    }
}

}  // namespace zv
