// "マウス操作設定": a pointer position and a button action. Besides typing the numbers the
// user drags from the tracker picture across the screen: the editor's windows get out of
// the way, the coordinates follow the pointer and, for client coordinates, an XOR frame
// shows the window they are measured against.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/win32/dpi.h"
#include "common/win32/handles.h"
#include "common/win32/mnedit.h"
#include "common/win32/text.h"
#include "common/win32/osversion.h"
#include "editor/mouse_dialog.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/editor_app.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

constexpr BYTE kOpaque = 255;
constexpr BYTE kTrackingAlpha = 180;
constexpr DWORD kSettleMs = 200;  // lets the windows behind repaint before tracking
constexpr COLORREF kFrameColour = RGB(0, 255, 255);

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The window the position is measured against: from the window under the pointer up
// through its parents, as MeasuredWindow chooses. The bare desktop is its own (its client
// coordinates are the screen's); null when there is no window at all.
HWND MeasuredWindowAt(POINT pointer) {
    HWND desktop = GetDesktopWindow();
    HWND under = WindowFromPoint(pointer);
    if (under == nullptr || under == desktop)
        return under;
    std::vector<HWND> windows;
    std::vector<ChainWindow> chain;
    for (HWND w = under; w != nullptr;) {
        const auto style = static_cast<std::uint32_t>(GetWindowLongW(w, GWL_STYLE));
        HWND parent = (style & WS_CHILD) ? GetAncestor(w, GA_PARENT) : nullptr;
        if (parent == desktop)
            parent = nullptr;
        windows.push_back(w);
        chain.push_back({style, parent != nullptr});
        w = parent;
    }
    const std::optional<std::size_t> index = MeasuredWindow(chain);
    return index ? windows[*index] : nullptr;
}

// Draws the frame around window on the screen, at the DPI of the window's monitor;
// drawing it again erases it.
void XorFrame(HWND window) {
    const int dpi = static_cast<int>(DpiOfMonitor(window));
    WindowDc screen(nullptr);
    UniquePen pen(CreatePen(PS_SOLID, TrackerFramePenWidth(dpi), kFrameColour));
    if (screen.Get() == nullptr || !pen)
        return;
    const int oldRop = SetROP2(screen.Get(), R2_XORPEN);
    SelectScope selectPen(screen.Get(), pen.Get());
    SelectScope selectBrush(screen.Get(), GetStockObject(NULL_BRUSH));
    const std::array<ScreenPoint, 5> outline = TrackerFrameOutline(ToRect(WindowRect(window)), dpi);
    POINT points[5];
    for (std::size_t i = 0; i < outline.size(); ++i)
        points[i] = {outline[i].x, outline[i].y};
    Polyline(screen.Get(), points, 5);
    SetROP2(screen.Get(), oldRop);
}

class CMacroMouseDlg : public CMacroDlg {
public:
    explicit CMacroMouseDlg(std::string line)
        : CMacroDlg(IDD_MOUSE, std::move(line), EditorDialog::Mouse),
          fields_(OpenMouseDialog(line_)) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        x_.SubclassDlgItem(IDC_MOUSE_X, hwnd_);
        y_.SubclassDlgItem(IDC_MOUSE_Y, hwnd_);
        SetSpinRange(IDC_MOUSE_X_SPIN, kMouseCoordinateRange);
        SetSpinRange(IDC_MOUSE_Y_SPIN, kMouseCoordinateRange);
        SetItemText(IDC_MOUSE_X, std::to_string(fields_.x));
        SetItemText(IDC_MOUSE_Y, std::to_string(fields_.y));
        CheckDlgButton(hwnd_, IDC_MOUSE_LOCAL, fields_.local ? BST_CHECKED : BST_UNCHECKED);
        HWND buttons = Item(IDC_MOUSE_BUTTON);
        for (const MouseButtonChoice& choice : kMouseButtonChoices) {
            SendMessageW(buttons, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(ToWide(choice.entry).c_str()));
        }
        SendMessageW(buttons, CB_SETCURSEL, static_cast<WPARAM>(fields_.button), 0);

        LoadTrackerImages();
        RECT desktop{};
        GetWindowRect(GetDesktopWindow(), &desktop);
        desktop_ = ToRect(desktop);
        // Systems from major version 5 on fade the dialog while dragging; older ones hide it.
        if (CRkEditorApp::Get().OsMajor() >= 5)
            setLayered_ = LayeredWindowAttributesCall();
        if (setLayered_ != nullptr) {
            SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
            setLayered_(hwnd_, 0, kOpaque, LWA_ALPHA);
        }
        return TRUE;
    }

    // The tracker's images and the tracking cursor at the dialog's DPI.
    void LoadTrackerImages() {
        UniqueBitmap idle(LoadBitmapForDpi(Instance(), IDB_TRACK_IDLE, Dpi()));
        UniqueBitmap active(LoadBitmapForDpi(Instance(), IDB_TRACK_ACTIVE, Dpi()));
        ShowTrackerImage(Tracking() ? active.Get() : idle.Get());
        idle_ = std::move(idle);  // the old ones are no longer shown
        active_ = std::move(active);
        cursor_ = LoadCursorForDpi(Instance(), IDC_TRACK_CURSOR, Dpi());
    }
    void OnDpiChanged(UINT, UINT) override { LoadTrackerImages(); }

    void ShowTrackerImage(HBITMAP image) {
        const auto previous = reinterpret_cast<HBITMAP>(SendMessageW(
            Item(IDC_MOUSE_TRACKER), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image)));
        // The image the template loaded is handed back once and is ours to free.
        if (previous != nullptr && previous != idle_.Get() && previous != active_.Get())
            DeleteObject(previous);
    }
    void SetTrackingCursor() { SetCursor(cursor_.Get()); }
    bool Tracking() const { return GetCapture() == hwnd_ && tracking_; }
    HWND MainWindow() const { return GetWindow(hwnd_, GW_OWNER); }

    // The check box and the list into the fields; x and y come from the pointer.
    void ReadChoices() {
        fields_.local = IsDlgButtonChecked(hwnd_, IDC_MOUSE_LOCAL) == BST_CHECKED;
        const LRESULT sel = SendMessageW(Item(IDC_MOUSE_BUTTON), CB_GETCURSEL, 0, 0);
        fields_.button = sel == CB_ERR ? 0 : static_cast<int>(sel);
    }
    void ShowPosition() {
        SetItemText(IDC_MOUSE_X, std::to_string(fields_.x));
        SetItemText(IDC_MOUSE_Y, std::to_string(fields_.y));
    }

    void OnButtonDown(POINT client) {
        RECT tracker = WindowRect(Item(IDC_MOUSE_TRACKER));
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&tracker), 2);
        if (!PtInRect(&tracker, client))
            return;
        SetTrackingCursor();
        if (GetCapture() == hwnd_)
            return;
        fields_.x = 0;
        fields_.y = 0;
        ShowPosition();
        ReadChoices();
        saved_ = WindowRect(hwnd_);
        ShowWindow(MainWindow(), SW_HIDE);
        if (setLayered_ != nullptr) {
            setLayered_(hwnd_, 0, kTrackingAlpha, LWA_ALPHA);
            RedrawWindow(GetDesktopWindow(), &saved_, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        } else {
            ShowWindow(hwnd_, SW_HIDE);
        }
        Sleep(kSettleMs);
        tracking_ = true;
        SetCapture(hwnd_);
        ShowTrackerImage(active_.Get());
        SetTrackingCursor();
    }

    void OnMove() {
        if (!Tracking())
            return;
        const DWORD at = GetMessagePos();
        POINT pointer{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        // After a jump Wine reports the pointer once more where it stood relative to
        // the dialog's old place, as if it had moved with the dialog: that is no move.
        if (ghost_ && pointer.x == ghost_->x && pointer.y == ghost_->y) {
            ghost_.reset();
            return;
        }
        const RECT dialog = WindowRect(hwnd_);
        const std::optional<ScreenPoint> away = DialogOutOfTheWay(
            {pointer.x, pointer.y}, ToRect(dialog), desktop_, static_cast<int>(Dpi()));
        if (away) {
            SetWindowPos(hwnd_, nullptr, away->x, away->y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ghost_ = POINT{pointer.x + away->x - dialog.left, pointer.y + away->y - dialog.top};
            return;
        }
        SetTrackingCursor();
        ReadChoices();
        HWND measured = nullptr;
        if (fields_.local) {
            measured = MeasuredWindowAt(pointer);
            if (measured == nullptr) {
                MessageBeep(0);
                return;
            }
            ScreenToClient(measured, &pointer);
        }
        fields_.x = pointer.x;
        fields_.y = pointer.y;
        ShowPosition();
        if (fields_.local && measured != framed_) {
            if (framed_ != nullptr)
                XorFrame(framed_);
            XorFrame(measured);
            framed_ = measured;
        }
    }

    void EndTracking(bool release) {
        tracking_ = false;
        ghost_.reset();
        if (release)
            ReleaseCapture();
        ShowTrackerImage(idle_.Get());
        if (framed_ != nullptr)
            XorFrame(framed_);
        framed_ = nullptr;
        SetWindowPos(hwnd_, nullptr, saved_.left, saved_.top, saved_.right - saved_.left,
                     saved_.bottom - saved_.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (setLayered_ != nullptr)
            setLayered_(hwnd_, 0, kOpaque, LWA_ALPHA);
        else
            ShowWindow(hwnd_, SW_SHOWNA);
        ShowWindow(MainWindow(), SW_SHOWNA);
        RedrawWindow(GetDesktopWindow(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override {
        // Signed: with the capture, the pointer may be left of or above the dialog.
        const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        switch (msg) {
            case WM_LBUTTONDOWN:
                OnButtonDown(at);
                return TRUE;
            case WM_MOUSEMOVE:
                OnMove();
                return TRUE;
            case WM_LBUTTONUP:
                if (Tracking())
                    EndTracking(true);
                return TRUE;
            case WM_CAPTURECHANGED:
                // Capture taken away (another window, a system dialog): restore the
                // windows as a release would, so the main window is not left hidden.
                if (tracking_ && reinterpret_cast<HWND>(lp) != hwnd_)
                    EndTracking(false);
                return TRUE;
            default:
                return CMacroDlg::DialogProc(msg, wp, lp);
        }
    }

    void OnCancel() override {
        // Escape while dragging ends the drag; the dialog stays open.
        if (Tracking()) {
            EndTracking(true);
            return;
        }
        CMacroDlg::OnCancel();
    }

    void OnOK() override {
        MouseDialogInput input;
        input.x = ItemText(IDC_MOUSE_X);
        input.y = ItemText(IDC_MOUSE_Y);
        ReadChoices();
        input.button = fields_.button;
        input.local = fields_.local;
        Finish(ConfirmMouseDialog(input),
               [](MouseField field) { return field == MouseField::X ? IDC_MOUSE_X : IDC_MOUSE_Y; });
    }

    MouseFields fields_;
    CMnEdit x_;
    CMnEdit y_;
    UniqueBitmap idle_;
    UniqueBitmap active_;
    UniqueCursor cursor_;
    SetLayeredWindowAttributesFn setLayered_ = nullptr;
    Rect desktop_;
    RECT saved_{};                // the dialog's window rectangle when the drag began
    HWND framed_ = nullptr;       // the window framed on the screen
    std::optional<POINT> ghost_;  // the false pointer position a jump may bring
    bool tracking_ = false;
};

}  // namespace

std::optional<std::string> RunMouseDialog(const std::string& line, HWND parent) {
    CMacroMouseDlg dialog(line);
    return RunMacroDialog(dialog, parent);
}

}  // namespace zv
