#include "editor/win32/mainframe.h"

#include <array>

#include "common/folders.h"
#include "common/runprogram.h"
#include "common/strutil.h"
#include "common/win32/dpi.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "editor/win32/editor_app.h"
#include "editor/win32/editor_dialogs.h"
#include "editor/win32/editor_view.h"
#include "editor/win32/filedialogs.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

constexpr wchar_t kFrameClass[] = L"RkEditorMainFrame";
constexpr int kFileMenu = 0;
constexpr int kToolImageCount = 10;  // images of the tool-bar strip, side by side
// The status bar's indicator panes and the size grip beside them, at 96 DPI.
constexpr int kIndicatorWidth = 40;
constexpr int kGripWidth = 16;
constexpr int kRecentFirstPosition = 5;  // after "名前を付けて保存" and its separator

// Tool-bar buttons in order; -1 is a separator.
struct ToolButton {
    int image;
    UINT command;
};
constexpr std::array<ToolButton, 12> kToolButtons{{
    {0, ID_FILE_NEW},
    {1, ID_FILE_OPEN},
    {2, ID_FILE_SAVE},
    {-1, 0},
    {3, ID_MACRO_ADD},
    {4, ID_MACRO_DUPLICATE},
    {5, ID_MACRO_MODIFY},
    {6, ID_MACRO_DELETE},
    {7, ID_MACRO_DOWN},
    {8, ID_MACRO_UP},
    {-1, 0},
    {9, ID_RUN_MACRO},
}};

// The part of a command's prompt string before or after its "\n".
std::wstring PromptPart(UINT id, bool tip) {
    const std::wstring text = LoadResourceString(id);
    const std::size_t nl = text.find(L'\n');
    if (nl == std::wstring::npos)
        return tip ? std::wstring() : text;
    return tip ? text.substr(nl + 1) : text.substr(0, nl);
}

// Win32 write access: open for reading and writing without creating, then close.
class Win32WriteAccess : public IWriteAccess {
public:
    bool OpenReadWrite(const std::string& path, SysError* error) override {
        UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            *error = GetLastError();
            return false;
        }
        return true;
    }
};

// Starts the program; the user is told when it could not be started.
void Run(const LaunchAction& action) {
    if (!RunProgram(action.target, action.show))
        ShowMessageBox(action.failureMessage, MB_ICONEXCLAMATION);
}

}  // namespace

CMainFrame::CMainFrame(CRkEditorApp& app) : app_(app) {
    OwnItselfOnceCreated();
}

CMainFrame* CMainFrame::Create(CRkEditorApp& app) {
    auto frame = std::unique_ptr<CMainFrame>(new CMainFrame(app));
    HINSTANCE instance = app.Instance();
    const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!frame->CreateEx(0, kFrameClass, L"", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                         CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon))
        return nullptr;
    return frame.release();  // it owns itself now
}

bool CMainFrame::OnCreate() {
    SetPropW(hwnd_, kEditorMarker, reinterpret_cast<HANDLE>(1));
    UniqueMenu menu(LoadMenuW(app_.Instance(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    if (!menu || !SetMenu(hwnd_, menu.Get()))
        return false;
    menu.Release();  // the window's now
    dpi_ = DpiOfWindow(hwnd_);
    SetFrameIcons();
    CreateToolBar();
    CreateStatusBar();
    view_ = std::make_unique<CRkEditorView>(*this, doc_);
    if (!view_->CreateView(hwnd_))
        return false;

    // The smallest window that shows the whole form fixes the width; the window opens
    // at that size.
    RECT form{};
    GetWindowRect(view_->GetSafeHwnd(), &form);
    formCreated_ = {form.right - form.left, form.bottom - form.top};
    form_ = formCreated_;
    UpdateMinTrack();
    SetWindowPos(hwnd_, nullptr, 0, 0, minTrack_.cx, minTrack_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateCaption();
    SetPrompt(IDS_READY);
    return true;
}

void CMainFrame::UpdateMinTrack() {
    RECT bar{};
    GetWindowRect(toolBar_, &bar);
    const int toolHeight = bar.bottom - bar.top;
    GetWindowRect(statusBar_, &bar);
    const int statusHeight = bar.bottom - bar.top;
    FrameMetrics metrics{MetricForDpi(SM_CXFRAME, dpi_),
                         MetricForDpi(SM_CYFRAME, dpi_),
                         MetricForDpi(SM_CYMENU, dpi_),
                         MetricForDpi(SM_CYCAPTION, dpi_),
                         toolHeight,
                         statusHeight};
    minTrack_ = MinimumTrackSize(form_, metrics);
}

void CMainFrame::SetFrameIcons() {
    UniqueIcon big = LoadIconForDpi(app_.Instance(), IDR_MAINFRAME, false, dpi_);
    UniqueIcon small = LoadIconForDpi(app_.Instance(), IDR_MAINFRAME, true, dpi_);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void CMainFrame::SetToolBarImages() {
    // The strip of the DPI's image set: nine images side by side.
    UniqueBitmap strip(LoadBitmapForDpi(app_.Instance(), IDB_TOOLBAR, dpi_));
    const SIZE size = BitmapSize(strip.Get());
    const int width = size.cx / kToolImageCount;
    UniqueImageList images(
        ImageList_Create(width, size.cy, ILC_COLOR24 | ILC_MASK, kToolImageCount, 0));
    if (!images || ImageList_AddMasked(images.Get(), strip.Get(), RGB(255, 0, 255)) < 0)
        return;  // the buttons keep the images they have, or show none
    SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
    SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, size.cy));
    toolImages_ = std::move(images);  // the tool bar shows the new list now
}

void CMainFrame::SetStatusFont() {
    UniqueFont font = StatusFontForDpi(dpi_);
    if (!font)
        return;
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    statusFont_ = std::move(font);
}

void CMainFrame::OnDpiChanged(UINT newDpi, const RECT& suggested) {
    const UINT oldDpi = dpi_;
    if (newDpi != oldDpi && newDpi != 0) {
        dpi_ = newDpi;
        SetFrameIcons();
        SetToolBarImages();
        SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
        SetStatusFont();
        if (view_ != nullptr) {
            view_->ChangeDpi(newDpi, nullptr);
            // The form laid out anew: its design size as its controls now stand.
            const Rect form = view_->FromCreationLayout({0, 0, formCreated_.cx, formCreated_.cy});
            form_ = {form.right, form.bottom};
        }
        UpdateMinTrack();
    }
    // The suggested place and height; the width stays the one that shows the form.
    const Size size = SizeAfterDpiChange(
        {suggested.right - suggested.left, suggested.bottom - suggested.top}, minTrack_);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CMainFrame::CreateToolBar() {
    toolBar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0,
                               0, 0, 0, hwnd_, nullptr, app_.Instance(), nullptr);
    if (toolBar_ == nullptr)
        return;  // the menu carries every command of the bar
    SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolBar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SetToolBarImages();
    std::array<TBBUTTON, kToolButtons.size()> buttons{};
    for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
        TBBUTTON& b = buttons[i];
        if (kToolButtons[i].image < 0) {
            b.fsStyle = BTNS_SEP;
            continue;
        }
        b.iBitmap = kToolButtons[i].image;
        b.idCommand = static_cast<int>(kToolButtons[i].command);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = kToolButtons[i].command == ID_MACRO_ADD ? BTNS_DROPDOWN : BTNS_BUTTON;
    }
    SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
}

void CMainFrame::CreateStatusBar() {
    statusBar_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, hwnd_, nullptr, app_.Instance(), nullptr);
    SetStatusFont();
}

void CMainFrame::SetPrompt(UINT id) {
    const std::wstring text =
        id == IDS_READY ? LoadResourceString(IDS_READY) : PromptPart(id, false);
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainFrame::OnSize() {
    // Minimised, the client area is empty: the form's controls keep their places (they are
    // moved by the change of size, which would not come back whole from zero).
    if (IsIconic(hwnd_))
        return;
    SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT client{};
    GetClientRect(hwnd_, &client);
    // Message pane, then the two indicators at the right.
    const int indicator = Scale(kIndicatorWidth, dpi_);
    const int grip = Scale(kGripWidth, dpi_);
    std::array<int, 3> edges{client.right - 2 * indicator - grip, client.right - indicator - grip,
                             -1};
    SendMessageW(statusBar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (view_ == nullptr || view_->GetSafeHwnd() == nullptr)
        return;
    RECT bar{};
    GetWindowRect(toolBar_, &bar);
    const int top = bar.bottom - bar.top;
    GetWindowRect(statusBar_, &bar);
    const int bottom = client.bottom - (bar.bottom - bar.top);
    SetWindowPos(view_->GetSafeHwnd(), nullptr, 0, top, client.right, std::max(0, bottom - top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(statusBar_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CMainFrame::SetStatusText(const std::string& text) {
    const std::wstring wide = ToWide(text);
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void CMainFrame::UpdateCaption() {
    SetWindowTextMb(hwnd_, doc_.Caption());
}

void CMainFrame::StartDocument(std::string_view commandLine) {
    const DocumentResult r = doc_.Start(PlatformFileSystem(), commandLine);
    if (!r.message.empty())
        ShowMessageBox(r.message, MB_ICONEXCLAMATION);
    if (r.ok)
        app_.RecentFiles().Add(doc_.Path());
    view_->FillFromDocument(r.list);
    UpdateCaption();
    ShowOpenNotice(hwnd_, r.notice);
}

void CMainFrame::RestoreHeight(std::int32_t storedHeight) {
    const std::optional<Size> size =
        RestoredWindowSize(minTrack_, storedHeight, static_cast<int>(dpi_));
    if (size)
        SetWindowPos(hwnd_, nullptr, 0, 0, size->cx, size->cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::FocusListWhenFilled() {
    if (doc_.List().Count() > 0)
        SetFocus(view_->ListHwnd());
}

void CMainFrame::OnIdle() {
    if (view_ == nullptr)
        return;
    const ViewCommandState s = doc_.List().CommandState();
    auto enable = [&](UINT id, bool on) {
        SendMessageW(toolBar_, TB_ENABLEBUTTON, id, MAKELPARAM(on ? TRUE : FALSE, 0));
    };
    enable(ID_FILE_SAVE, doc_.SaveEnabled());
    enable(ID_MACRO_DUPLICATE, s.duplicate);
    enable(ID_MACRO_MODIFY, s.modify);
    enable(ID_MACRO_DELETE, s.remove);
    enable(ID_MACRO_UP, s.moveUp);
    enable(ID_MACRO_DOWN, s.moveDown);
    enable(ID_RUN_MACRO, !run_.EngineRunning() && doc_.List().Count() > 0);
    const bool kana = (GetKeyState(VK_KANA) & 1) != 0;
    const bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    const std::wstring kanaText = kana ? LoadResourceString(ID_INDICATOR_KANA) : L"";
    const std::wstring capsText = caps ? LoadResourceString(ID_INDICATOR_CAPS) : L"";
    SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(kanaText.c_str()));
    SendMessageW(statusBar_, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(capsText.c_str()));
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    return view_ != nullptr && view_->PreTranslateMessage(msg);
}

void CMainFrame::OnFileNew() {
    Run(NewEditorAction(GetProgramFolder()));
}

void CMainFrame::OnFileOpen() {
    const std::optional<std::string> path =
        ShowOpenFileDialog(hwnd_, OpenDialogModel(app_.MacroTopPath()));
    if (path)
        OpenChosenFile(*path);
}

void CMainFrame::OnRecentFile(std::size_t index) {
    const std::string path = app_.RecentFiles().EntryPath(index);
    if (!path.empty())
        OpenChosenFile(path);
}

void CMainFrame::OpenChosenFile(const std::string& path) {
    Win32WriteAccess access;
    const OpenFileAction action =
        OpenMacroFile(PlatformFileSystem(), access, path, !doc_.Path().empty(), GetProgramFolder());
    switch (action.kind) {
        case OpenFileAction::Kind::Nothing:
            break;
        case OpenFileAction::Kind::Message:
            ShowMessageBox(action.message, MB_ICONEXCLAMATION);
            break;
        case OpenFileAction::Kind::StartEditor:
            Run(action.launch);
            break;
        case OpenFileAction::Kind::OpenHere:
            if (SaveModified())
                LoadHere(action.path);
            break;
    }
}

bool CMainFrame::TakeFileResult(const DocumentResult& r) {
    if (!r.message.empty())
        ShowMessageBox(r.message, MB_ICONEXCLAMATION);
    if (!r.ok)
        return false;
    app_.RecentFiles().Add(doc_.Path());
    app_.RecentFiles().Save(app_.Profile());
    return true;
}

bool CMainFrame::LoadHere(const std::string& path) {
    const DocumentResult r = doc_.Load(PlatformFileSystem(), path);
    if (!TakeFileResult(r))
        return false;
    view_->FillFromDocument(r.list);
    UpdateCaption();
    ShowOpenNotice(hwnd_, r.notice);
    return true;
}

bool CMainFrame::SaveTo(const std::string& path) {
    view_->StoreFields();
    if (!TakeFileResult(doc_.Save(PlatformFileSystem(), path)))
        return false;
    UpdateCaption();
    return true;
}

bool CMainFrame::OnFileSave() {
    if (doc_.SaveNeedsName())
        return OnFileSaveAs();
    return SaveTo(doc_.Path());
}

bool CMainFrame::OnFileSaveAs() {
    const std::optional<std::string> path = ShowSaveFileDialog(
        hwnd_, SaveAsDialogModel(app_.MacroTopPath(), doc_.Path(), doc_.Title()));
    return path && SaveTo(*path);
}

bool CMainFrame::SaveModified() {
    if (!doc_.IsModified())
        return true;
    askingToSave_ = true;
    const int answer =
        MessageBoxOver(hwnd_, doc_.SaveQuestion(), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    const bool go = answer == IDYES ? OnFileSave() : answer == IDNO;
    askingToSave_ = false;
    return go;
}

void CMainFrame::StoreHeight() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    StoreWindowHeightOnClose(app_.Profile(), !IsIconic(hwnd_) && !IsZoomed(hwnd_), r.bottom - r.top,
                             static_cast<int>(dpi_));
}

void CMainFrame::OnClose() {
    if (askingToSave_)
        return;              // the question is on screen already
    view_->StopRecording();  // a recording still running goes into the document first
    // The height is stored before the question, even when closing is then cancelled.
    StoreHeight();
    if (!SaveModified())
        return;
    if (run_.EngineRunning()) {
        // The engine goes on to its end; the window goes now, and the process stays until
        // then to remove the temporary macro file, which the engine holds open.
        run_.CloseWhenEnded();
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    DestroyWindow(hwnd_);
}

bool CMainFrame::OnQueryEndSession() {
    // Logging off or shutting down asks what closing asks: yes saves, no discards, and
    // cancel (or a save that did not happen) refuses the end of the session. While the
    // question is already on screen the end is refused: the user is still answering.
    if (askingToSave_)
        return false;
    view_->StopRecording();
    return SaveModified();
}

void CMainFrame::OnEndSession(bool ending) {
    // Another program may have refused the end: then everything stays as it is. When the
    // session ends, the question was answered at the query; what closing writes besides
    // the document is written now, since the process ends without its window closing.
    if (!ending)
        return;
    StoreHeight();
    app_.RecentFiles().Save(app_.Profile());
}

void CMainFrame::OnDestroy() {
    app_.RecentFiles().Save(app_.Profile());
    PostQuitMessage(0);
}

void CMainFrame::OnFinalMessage() {
    app_.OnFrameDestroyed();
}

void CMainFrame::ShowAddDropDown(const RECT& button) {
    UniqueMenu loaded(LoadMenuW(app_.Instance(), MAKEINTRESOURCEW(IDR_ADD_MENU)));
    if (!loaded)
        return;
    POINT corner{button.left, button.bottom};
    ClientToScreen(toolBar_, &corner);
    TrackPopupMenu(GetSubMenu(loaded.Get(), 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL,
                   corner.x, corner.y, 0, hwnd_, nullptr);
}

void CMainFrame::FillRecentFiles(HMENU file) {
    // Remove what stands between the two separators around the recent files.
    while (GetMenuItemCount(file) > kRecentFirstPosition) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(file, kRecentFirstPosition, TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            break;
        DeleteMenu(file, kRecentFirstPosition, MF_BYPOSITION);
    }
    const RecentFileList& recent = app_.RecentFiles();
    if (recent.Entries().empty()) {
        InsertMenuW(file, kRecentFirstPosition, MF_BYPOSITION | MF_STRING | MF_GRAYED,
                    ID_FILE_MRU_FILE1, L"最近使ったファイル");
        return;
    }
    for (std::size_t i = 0; i < recent.Entries().size(); ++i) {
        InsertMenuW(file, static_cast<UINT>(kRecentFirstPosition + i), MF_BYPOSITION | MF_STRING,
                    ID_FILE_MRU_FILE1 + i, ToWide(recent.MenuText(i)).c_str());
    }
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    HMENU bar = GetMenu(hwnd_);
    if (menu == GetSubMenu(bar, kFileMenu))
        FillRecentFiles(menu);
    const ViewCommandState s = doc_.List().CommandState();
    const EditCommandState e = view_->EditState();
    auto set = [menu](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    set(ID_FILE_SAVE, doc_.SaveEnabled());
    set(ID_FILE_SAVE_AS, doc_.SaveAsEnabled());
    set(ID_MACRO_DUPLICATE, s.duplicate);
    set(ID_MACRO_MODIFY, s.modify);
    set(ID_MACRO_DELETE, s.remove);
    set(ID_MACRO_DIRECT_EDIT, s.directEdit);
    set(ID_MACRO_UP, s.moveUp);
    set(ID_MACRO_DOWN, s.moveDown);
    set(ID_EDIT_UNDO, e.undo);
    set(ID_EDIT_CUT, e.cut);
    set(ID_EDIT_COPY, e.copy);
    set(ID_EDIT_PASTE, e.paste);
    const bool canRun = !run_.EngineRunning();
    const bool hasLines = doc_.List().Count() > 0;
    const bool selected = doc_.List().Selection() >= 0;
    set(ID_RUN_MACRO, canRun && hasLines);
    set(ID_RUN_FROM_SELECTED, canRun && selected);
    set(ID_RUN_SELECTED_ONLY, canRun && selected);
    set(ID_RUN_STOP, run_.CanStop());
}

void CMainFrame::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && menu == nullptr) {
        SetPrompt(IDS_READY);  // the menu closed
        return;
    }
    if (flags & (MF_POPUP | MF_SEPARATOR))
        return;
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileList::kCapacity) {
        SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
        return;
    }
    SetPrompt(id);
}

LRESULT CMainFrame::OnNotify(NMHDR* hdr) {
    if (hdr->hwndFrom == toolBar_ && hdr->code == TBN_DROPDOWN) {
        auto* tb = reinterpret_cast<NMTOOLBARW*>(hdr);
        RECT button{};
        SendMessageW(toolBar_, TB_GETRECT, tb->iItem, reinterpret_cast<LPARAM>(&button));
        ShowAddDropDown(button);
        return TBDDRET_DEFAULT;
    }
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        tipText_ = PromptPart(static_cast<UINT>(hdr->idFrom), true);
        info->lpszText = tipText_.data();
        return 0;
    }
    return 0;
}

void CMainFrame::OnCommand(UINT id) {
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileList::kCapacity) {
        OnRecentFile(id - ID_FILE_MRU_FILE1);
        return;
    }
    switch (id) {
        case ID_FILE_NEW:
            OnFileNew();
            return;
        case ID_FILE_OPEN:
            OnFileOpen();
            return;
        case ID_FILE_SAVE:
            if (doc_.SaveEnabled())
                OnFileSave();
            return;
        case ID_FILE_SAVE_AS:
            if (doc_.SaveAsEnabled())
                OnFileSaveAs();
            return;
        case ID_APP_EXIT:
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            return;
        case ID_HELP:
        case ID_HELP_INDEX:
            OpenSuiteHelp(kHelpMacroEditor);
            return;
        case ID_HELP_HINT:
            OpenSuiteHelp(kHelpMacroHint);
            return;
        case ID_APP_ABOUT:
            ShowEditorAbout(hwnd_);
            return;
        case ID_NEXT_PANE:
        case ID_PREV_PANE:
            return;  // one pane only
        case ID_RUN_MACRO:
            run_.Start(RunScope::Whole);
            return;
        case ID_RUN_FROM_SELECTED:
            run_.Start(RunScope::FromSelected);
            return;
        case ID_RUN_SELECTED_ONLY:
            run_.Start(RunScope::SelectedOnly);
            return;
        case ID_RUN_STOP:
            run_.Stop();
            return;
        default:
            view_->ExecuteCommand(id);
            return;
    }
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            TrackLimits limits{{info->ptMaxSize.x, info->ptMaxSize.y},
                               {info->ptMinTrackSize.x, info->ptMinTrackSize.y},
                               {info->ptMaxTrackSize.x, info->ptMaxTrackSize.y}};
            LimitTrackSize(limits, minTrack_);
            info->ptMaxSize = {limits.maxSize.cx, limits.maxSize.cy};
            info->ptMinTrackSize = {limits.minTrackSize.cx, limits.minTrackSize.cy};
            info->ptMaxTrackSize = {limits.maxTrackSize.cx, limits.maxTrackSize.cy};
            return 0;
        }
        case WM_DPICHANGED:
            OnDpiChanged(NewDpiOf(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_EXITSIZEMOVE:
            RedrawWindow(hwnd_, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            return 0;
        case WM_SETFOCUS:
            if (view_ != nullptr)
                view_->RestoreFocus();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE && view_ != nullptr)
                view_->RememberFocus();
            return Default(msg, wp, lp);
        case WM_COMMAND:
            OnCommand(LOWORD(wp));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
            return 0;
        case WM_MENUSELECT:
            OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_TIMER:
            if (wp == CEditorRun::kTimer) {
                run_.OnTimer();
                return 0;
            }
            return Default(msg, wp, lp);
        case CEditorRun::kEndedMessage:
            run_.OnEngineEnded(wp);
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession() ? TRUE : FALSE;
        case WM_ENDSESSION:
            OnEndSession(wp != FALSE);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY: {
            const LRESULT r = Default(msg, wp, lp);
            RemovePropW(hwnd_, kEditorMarker);
            return r;
        }
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace zv
