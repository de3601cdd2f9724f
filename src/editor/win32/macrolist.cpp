#include "editor/win32/macrolist.h"

#include <windowsx.h>

#include "common/strutil.h"
#include "common/win32/bitmdraw.h"
#include "common/win32/dpi.h"
#include "common/win32/text.h"
#include "editor/line_describe.h"
#include "editor/macro_run.h"
#include "editor/win32/dragdrop_win32.h"
#include "editor/win32/editor_view.h"
#include "editor/win32/mainframe.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

constexpr COLORREF kLabelColour = RGB(0, 0, 255);
constexpr COLORREF kNumberColour = RGB(160, 160, 255);
constexpr COLORREF kInvalidColour = RGB(240, 0, 0);
constexpr COLORREF kRanColour = RGB(0, 150, 60);

// A frame of width pixels along the inside of r.
void FrameLines(HDC dc, const Rect& r, int width, HBRUSH brush) {
    for (int i = 0; i < width; ++i) {
        const RECT ring{r.left + i, r.top + i, r.right - i, r.bottom - i};
        FrameRect(dc, &ring, brush);
    }
}

void DrawTextLine(HDC dc, const std::string& text, RECT& r, UINT format) {
    const std::wstring wide = ToWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              format | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

CMacroListCtrl::CMacroListCtrl(CRkEditorView& view)
    : view_(view), dragDrop_(view.Document().List()) {}

CMacroListCtrl::~CMacroListCtrl() {
    if (registered_ && hwnd_ != nullptr)
        RevokeDragDrop(hwnd_);
}

bool CMacroListCtrl::Attach(int id, HWND form, HINSTANCE instance) {
    if (!SubclassDlgItem(id, form, true))
        return false;
    instance_ = instance;
    // The control measured its items before it was taken over: the height is set here.
    MakeForDpi(DpiOfWindow(hwnd_));
    dropTarget_ = CreateMacroDropTarget(*this);
    registered_ = SUCCEEDED(RegisterDragDrop(hwnd_, dropTarget_.Get()));
    return true;
}

void CMacroListCtrl::MakeForDpi(UINT dpi) {
    dpi_ = dpi;
    UniqueFont font = CreatePointFont(L"ＭＳ ゴシック", 9, FW_NORMAL, SHIFTJIS_CHARSET,
                                      FIXED_PITCH | FF_MODERN, dpi);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);
    // The six icons come as one strip of square images in the set of the DPI; each gets a
    // bitmap of its own for the mask drawing.
    UniqueBitmap strip(LoadBitmapForDpi(instance_, IDB_COMMAND_ICONS, dpi));
    mask_.Reset(LoadBitmapForDpi(instance_, IDB_COMMAND_MASK, dpi));
    const int size = BitmapSize(strip.Get()).cy;
    {
        WindowDc screen(nullptr);
        MemoryDc from(CreateCompatibleDC(screen.Get()));
        MemoryDc to(CreateCompatibleDC(screen.Get()));
        SelectScope selectFrom(from.Get(), strip.Get());
        for (std::size_t i = 0; i < icons_.size(); ++i) {
            icons_[i].Reset(CreateCompatibleBitmap(screen.Get(), size, size));
            SelectScope selectTo(to.Get(), icons_[i].Get());
            BitBlt(to.Get(), 0, 0, size, size, from.Get(), static_cast<int>(i) * size, 0, SRCCOPY);
        }
    }
    layout_ = LineItemLayoutForDpi(static_cast<int>(dpi), CharacterHeight(font_.Get()), size);
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, layout_.itemHeight);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CMacroListCtrl::AfterParentDpiChange(UINT dpi) {
    if (hwnd_ != nullptr && dpi != dpi_)
        MakeForDpi(dpi);
}

void CMacroListCtrl::ApplyEdits(const ListResult& result) {
    const bool many = result.edits.size() > 1 ||
                      (!result.edits.empty() && result.edits[0].kind == ListEdit::Kind::Reset);
    if (many)
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (const ListEdit& edit : result.edits) {
        switch (edit.kind) {
            case ListEdit::Kind::Insert:
                SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(edit.index), 0);
                break;
            case ListEdit::Kind::Erase:
                SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(edit.index), 0);
                break;
            case ListEdit::Kind::Redraw: {
                RECT r{};
                if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(edit.index),
                                 reinterpret_cast<LPARAM>(&r)) != LB_ERR) {
                    InvalidateRect(hwnd_, &r, TRUE);
                }
                break;
            }
            case ListEdit::Kind::Reset:
                // Filled at once: the control keeps no data of its own (every item is as
                // high as the others), it draws each line from the line list.
                SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
                SendMessageW(hwnd_, LB_SETCOUNT, static_cast<WPARAM>(edit.index), 0);
                break;
        }
    }
    SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(result.selection), 0);
    if (many) {
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void CMacroListCtrl::RedrawItem(int index) {
    RECT r{};
    if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&r)) != LB_ERR) {
        InvalidateRect(hwnd_, &r, TRUE);
    }
}

RECT CMacroListCtrl::ClientRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

DropPoint CMacroListCtrl::PointAt(POINT screen) const {
    POINT client = screen;
    ScreenToClient(hwnd_, &client);
    const RECT r = ClientRect();
    DropPoint p;
    p.insideClient = PtInRect(&r, client) != FALSE;
    p.nearestItem = NearestItem(
        {client.x, client.y}, static_cast<int>(SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0)),
        static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)), layout_.itemHeight);
    return p;
}

void CMacroListCtrl::SyncSelection() {
    view_.Document().List().Select(static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
}

void CMacroListCtrl::OnLButtonDown(WPARAM wp, LPARAM lp) {
    Default(WM_LBUTTONDOWN, wp, lp);  // selects the line under the pointer
    SyncSelection();
    const std::optional<std::string> payload = dragDrop_.BeginDrag();
    if (!payload)
        return;
    ComPtr<IDataObject> data = CreateTextDataObject(*payload);
    if (!data) {
        view_.ApplyList(dragDrop_.EndDrag(kDropEffectNone));
        return;
    }
    ComPtr<IDropSource> source = CreateLineDropSource();
    DWORD effect = DROPEFFECT_NONE;
    if (DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect) !=
        DRAGDROP_S_DROP) {
        effect = DROPEFFECT_NONE;
    }
    // The drag loop took the button's release: end the list box's own tracking of the
    // press, or it would go on selecting the lines the pointer passes.
    Default(WM_LBUTTONUP, 0, lp);
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    SyncSelection();
    view_.ApplyList(dragDrop_.EndDrag(effect));
}

void CMacroListCtrl::OnRButtonDown(LPARAM lp) {
    const LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lp);
    if (HIWORD(hit) == 0) {  // inside the list's items
        SendMessageW(hwnd_, LB_SETCURSEL, LOWORD(hit), 0);
        SyncSelection();
    }
}

void CMacroListCtrl::OnContextMenu(LPARAM lp) {
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (lp == -1) {  // from the keyboard: below the selected line, or the list's corner
        RECT r{};
        const LRESULT sel = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
        if (sel == LB_ERR ||
            SendMessageW(hwnd_, LB_GETITEMRECT, sel, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            r = RECT{0, 0, 0, 0};
        pt = {r.left + Scale(8, dpi_), r.bottom};
        ClientToScreen(hwnd_, &pt);
    }
    UniqueMenu loaded(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LIST_CONTEXT)));
    if (!loaded)
        return;
    // The main window owns the menu: it enables the items and carries out the commands.
    TrackPopupMenu(GetSubMenu(loaded.Get(), 0), TPM_RIGHTBUTTON, pt.x, pt.y, 0,
                   view_.Frame().GetSafeHwnd(), nullptr);
}

LRESULT CMacroListCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            OnLButtonDown(wp, lp);
            return 0;
        case WM_RBUTTONDOWN:
            OnRButtonDown(lp);
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(lp);
            return 0;
        case WM_DESTROY:
            if (registered_) {
                RevokeDragDrop(hwnd_);
                registered_ = false;
            }
            return Default(msg, wp, lp);
        default:
            return Default(msg, wp, lp);
    }
}

bool CMacroListCtrl::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight =
                static_cast<UINT>(layout_.itemHeight);
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            result = TRUE;
            return true;
        default:
            return false;
    }
}

void CMacroListCtrl::DrawItem(const DRAWITEMSTRUCT& dis) {
    HDC dc = dis.hDC;
    const RECT item = dis.rcItem;
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    const LineItemLayout& l = layout_;
    if (dis.itemAction & ODA_DRAWENTIRE) {
        FillRect(dc, &item, GetSysColorBrush(COLOR_WINDOW));
        // The separator: the item's bottom line(s).
        const RECT separator{item.left, item.bottom - l.line, item.right, item.bottom};
        FillRect(dc, &separator, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

        const std::vector<std::string>& lines = view_.Document().List().Lines();
        const int index = static_cast<int>(dis.itemID);
        if (index >= 0 && index < static_cast<int>(lines.size())) {
            RECT inner = item;
            InflateRect(&inner, -l.inset, -l.inset);
            SelectScope selectFont(dc, font_.Get());
            SetBkMode(dc, TRANSPARENT);
            const LineView view = DescribeLine(lines[static_cast<std::size_t>(index)]);
            RECT text{inner.left + l.textLeft, inner.top + l.textTop, inner.right, inner.bottom};
            if (view.type != kCmdNone) {
                CBitMDraw(inner.left, inner.top, l.iconSize, l.iconSize, dc,
                          icons_[static_cast<std::size_t>(view.type)].Get(), mask_.Get());
            }
            const RunMark mark = view_.Frame().RunMarkOf(index);
            if (mark != RunMark::None) {
                // The last run's mark on the icon's corner: ran, or failed here.
                const Rect m = RunMarkRect({item.left, item.top, item.right, item.bottom}, l);
                UniqueBrush fill(
                    CreateSolidBrush(mark == RunMark::Ran ? kRanColour : kInvalidColour));
                SelectScope selectBrush(dc, fill.Get());
                SelectScope selectPen(dc, GetStockObject(WHITE_PEN));
                Ellipse(dc, m.left, m.top, m.right, m.bottom);
            }
            if (view.type != kCmdNone) {
                SetTextColor(dc, kLabelColour);
                DrawTextLine(dc, std::string(view.label), text, DT_LEFT | DT_PATH_ELLIPSIS);
            }
            SetTextColor(dc, kNumberColour);
            DrawTextLine(dc, StrPrintf("%4d", index + 1), text, DT_RIGHT);
            // A line without a command type shows its text only when the engine would stop
            // on it, so that every refused line is seen in red.
            if (view.type != kCmdNone || view.refused) {
                text.top += l.lineStep;
                SetTextColor(dc, view.refused ? kInvalidColour : RGB(0, 0, 0));
                DrawTextLine(dc,
                             view.type != kCmdNone ? view.description.text
                                                   : lines[static_cast<std::size_t>(index)],
                             text, DT_LEFT | DT_PATH_ELLIPSIS);
            }
        }
    }
    const Rect frame = SelectionFrame({item.left, item.top, item.right, item.bottom}, l);
    if (selected && (dis.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        UniqueBrush red(CreateSolidBrush(kInvalidColour));
        FrameLines(dc, frame, l.line, red.Get());
    } else if (!selected && dis.itemAction == ODA_SELECT) {
        FrameLines(dc, frame, l.line, GetSysColorBrush(COLOR_WINDOW));
    }
}

}  // namespace zv
