#include "editor/win32/editor_view.h"

#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "editor/win32/editor_app.h"
#include "editor/win32/editor_dialogs.h"
#include "editor/win32/mainframe.h"
#include "editor/win32/recorder_win32.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

// Posted when a recording has finished.
constexpr UINT kRecordedMessage = WM_APP + 0x60;

bool IsEditControl(HWND w) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    return lstrcmpiW(cls, L"Edit") == 0;
}

}  // namespace

CRkEditorView::CRkEditorView(CMainFrame& frame, EditorDocument& doc)
    : CDialog(IDD_RKEDITOR_FORM), frame_(frame), doc_(doc), list_(*this) {}

CRkEditorView::~CRkEditorView() = default;

bool CRkEditorView::CreateView(HWND parent) {
    return Create(parent);
}

BOOL CRkEditorView::OnInitDialog() {
    list_.Attach(IDC_LIST, hwnd_, Instance());
    pick_.Attach(IDC_PICK_TARGET, hwnd_, Instance(), IDB_PICK_UP, IDB_PICK_DOWN, IDB_PICK_FOCUS,
                 IDB_PICK_DISABLED);
    pick_.SizeToContent();
    RECT client{};
    GetClientRect(hwnd_, &client);
    reference_ = {client.right, client.bottom};
    EnableTarget();
    return FALSE;
}

void CRkEditorView::OnDpiChanged(UINT, UINT) {
    // The controls were laid out anew as they stood: the size they stood for goes with them.
    const Rect reference = FromLayoutBefore({0, 0, reference_.cx, reference_.cy});
    reference_ = {reference.right, reference.bottom};
}

void CRkEditorView::FillFromDocument(const ListResult& result) {
    filling_ = true;
    const MacroFields& f = doc_.Fields();
    SetItemText(IDC_TITLE, f.title);
    SetItemText(IDC_TARGET, f.target);
    SetItemText(IDC_DESCRIPTION, f.description);
    CheckDlgButton(hwnd_, IDC_GLOBAL, f.global ? BST_CHECKED : BST_UNCHECKED);
    filling_ = false;
    EnableTarget();
    ListResult shown = result;
    if (shown.edits.empty()) {
        // A document that was not read from a file still shows its lines.
        shown.edits.push_back({ListEdit::Kind::Reset, doc_.List().Count()});
        shown.selection = doc_.List().Selection();
    }
    list_.ApplyEdits(shown);
    if (doc_.List().Count() > 0)
        SetFocus(list_.GetSafeHwnd());
}

void CRkEditorView::StoreFields() {
    MacroFields f;
    f.title = ItemText(IDC_TITLE);
    f.target = ItemText(IDC_TARGET);
    f.description = ItemText(IDC_DESCRIPTION);
    f.global = IsDlgButtonChecked(hwnd_, IDC_GLOBAL) == BST_CHECKED;
    if (doc_.ChangeFields(f))
        frame_.UpdateCaption();
    // A line break pasted or set into the title or target was stored as a space: the
    // field shows what will be written.
    const MacroFields& stored = doc_.Fields();
    filling_ = true;
    if (stored.title != f.title)
        SetItemText(IDC_TITLE, stored.title);
    if (stored.target != f.target)
        SetItemText(IDC_TARGET, stored.target);
    filling_ = false;
}

void CRkEditorView::OnFieldsChanged() {
    if (filling_)
        return;
    StoreFields();
}

void CRkEditorView::EnableTarget() {
    const bool on = doc_.TargetEnabled();
    EnableWindow(Item(IDC_TARGET), on);
    EnableWindow(Item(IDC_PICK_TARGET), on);
}

void CRkEditorView::ApplyList(const ListResult& result) {
    list_.ApplyEdits(result);
    if (doc_.NoteListChange(result))
        frame_.UpdateCaption();
    if (result.beep)
        MessageBeep(0);
    if (result.focusList)
        SetFocus(list_.GetSafeHwnd());
    if (!result.message.empty())
        ShowMessageBox(result.message, MB_ICONEXCLAMATION);
}

void CRkEditorView::RunRequest(const DialogRequest& request) {
    switch (request.kind) {
        case DialogRequest::Kind::Nothing:
            return;
        case DialogRequest::Kind::Beep:
            MessageBeep(0);
            return;
        case DialogRequest::Kind::Message:
            ShowMessageBox(request.message, MB_ICONEXCLAMATION);
            return;
        case DialogRequest::Kind::CommandDialog:
        case DialogRequest::Kind::DirectEditDialog:
            break;
    }
    const std::optional<std::string> line = RunLineDialog(request, hwnd_);
    if (!line)
        return;  // cancelled: nothing changes
    MacroLineList& list = doc_.List();
    ApplyList(request.isNew ? list.ConfirmAdd(request.commandType, *line)
                            : list.ConfirmEdit(*line));
}

EditFocus CRkEditorView::FocusKind(HWND* field) const {
    HWND focus = GetFocus();
    if (focus != nullptr && focus == list_.GetSafeHwnd())
        return EditFocus::LineList;
    if (focus != nullptr && IsChild(hwnd_, focus) && IsEditControl(focus)) {
        if (field != nullptr)
            *field = focus;
        return EditFocus::TextField;
    }
    return EditFocus::Elsewhere;
}

EditCommandState CRkEditorView::EditState() const {
    HWND field = nullptr;
    const EditFocus kind = FocusKind(&field);
    TextFieldState state;
    if (field != nullptr) {
        state.canUndo = SendMessageW(field, EM_CANUNDO, 0, 0) != 0;
        DWORD start = 0, end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        state.hasSelection = start != end;
        state.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    }
    return doc_.List().EditState(kind, state);
}

void CRkEditorView::ExecuteCommand(UINT id) {
    MacroLineList& list = doc_.List();
    if (id >= ID_MACRO_ADD_LAUNCH && id <= ID_MACRO_ADD_MOUSE) {
        RunRequest(list.RequestAdd(static_cast<int>(id - ID_MACRO_ADD_LAUNCH)));
        return;
    }
    const ViewCommandState can = list.CommandState();
    switch (id) {
        case ID_MACRO_ADD:
            RunRequest(list.RequestRepeatAdd());
            return;
        case ID_MACRO_MODIFY:
            if (can.modify)
                RunRequest(list.RequestModify());
            return;
        case ID_MACRO_DIRECT_EDIT:
            if (can.directEdit)
                RunRequest(list.RequestDirectEdit());
            return;
        case ID_MACRO_DUPLICATE:
            if (can.duplicate)
                ApplyList(list.Duplicate());
            return;
        case ID_MACRO_DELETE:
            if (can.remove)
                ApplyList(list.Delete());
            return;
        case ID_MACRO_UP:
            if (can.moveUp)
                ApplyList(list.Move(-1));
            return;
        case ID_MACRO_DOWN:
            if (can.moveDown)
                ApplyList(list.Move(+1));
            return;
        case ID_MACRO_RECORD:
            StartRecording();
            return;
        default:
            break;
    }
    // The edit commands act on the focused text field, or on the line list.
    HWND field = nullptr;
    const EditFocus focus = FocusKind(&field);
    const EditCommandState state = EditState();
    switch (id) {
        case ID_EDIT_UNDO:
            if (state.undo && field != nullptr)
                SendMessageW(field, WM_UNDO, 0, 0);
            return;
        case ID_EDIT_CUT:
            if (!state.cut)
                return;
            if (focus == EditFocus::TextField)
                SendMessageW(field, WM_CUT, 0, 0);
            else
                ApplyList(list.Delete());
            return;
        case ID_EDIT_COPY:
            if (!state.copy)
                return;
            if (focus == EditFocus::TextField)
                SendMessageW(field, WM_COPY, 0, 0);
            else
                list.Copy();
            return;
        case ID_EDIT_PASTE:
            if (!state.paste)
                return;
            if (focus == EditFocus::TextField)
                SendMessageW(field, WM_PASTE, 0, 0);
            else
                ApplyList(list.Paste());
            return;
        default:
            return;
    }
}

void CRkEditorView::StartRecording() {
    if (recorder_ != nullptr && recorder_->IsRecording())
        return;
    RecorderOptions options;
    options.pauseMs = LoadRecordPauseMSec(CRkEditorApp::Get().Profile());
    options.doubleClickMs = GetDoubleClickTime();
    options.doubleClickSize = {GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK)};
    options.dragSize = {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
    recorder_ = std::make_unique<CMacroRecorder>();
    auto finished = [this](Recording r) {
        recorded_ = std::move(r);
        PostMessageW(hwnd_, kRecordedMessage, 0, 0);
    };
    std::string message;
    if (!recorder_->Start(frame_.GetSafeHwnd(), options, finished, &message)) {
        recorder_.reset();
        ShowMessageBox(message, MB_ICONEXCLAMATION);
    }
}

void CRkEditorView::TakeRecording() {
    if (!recorded_)
        return;
    Recording recording = std::move(*recorded_);
    recorded_.reset();
    const std::string note = RecordingEndNote(recording);
    ApplyList(doc_.List().InsertLinesAfter(doc_.List().Selection(), std::move(recording.lines)));
    SetFocus(list_.GetSafeHwnd());
    if (!note.empty()) {
        MessageBoxW(frame_.GetSafeHwnd(), ToWide(note).c_str(), ToWide(MessageBoxCaption()).c_str(),
                    MB_OK | MB_ICONINFORMATION);
    }
}

void CRkEditorView::StopRecording() {
    if (recorder_ != nullptr)
        recorder_->StopNow();
    TakeRecording();  // now: the document is about to be asked whether to save
}

void CRkEditorView::OnPickTarget() {
    const std::optional<std::string> caption = ChooseOpenWindow(hwnd_);
    if (caption)
        SetItemText(IDC_TARGET, *caption);  // the edit's change notification marks it
}

bool CRkEditorView::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
        case IDC_TITLE:
        case IDC_TARGET:
        case IDC_DESCRIPTION:
            if (code == EN_CHANGE)
                OnFieldsChanged();
            return true;
        case IDC_GLOBAL:
            if (code == BN_CLICKED) {
                OnFieldsChanged();
                EnableTarget();
            }
            return true;
        case IDC_PICK_TARGET:
            if (code == BN_CLICKED)
                OnPickTarget();
            return true;
        case IDC_LIST:
            if (code == LBN_SELCHANGE) {
                doc_.List().Select(
                    static_cast<int>(SendMessageW(list_.GetSafeHwnd(), LB_GETCURSEL, 0, 0)));
            } else if (code == LBN_DBLCLK) {
                RunRequest(doc_.List().RequestDoubleClick((GetKeyState(VK_SHIFT) & 0x8000) != 0));
            }
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
    }
}

void CRkEditorView::OnSize(int width, int height) {
    if (reference_.cx < 0)
        return;
    const int dx = width - reference_.cx;
    const int dy = height - reference_.cy;
    if (dx == 0 && dy == 0)
        return;
    for (int id : {IDC_LIST, IDC_DESCRIPTION}) {
        HWND control = Item(id);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        MoveWindow(control, r.left, r.top, r.right - r.left + dx, r.bottom - r.top + dy, FALSE);
        RedrawWindow(control, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
    reference_ = {width, height};
    // The form behind the controls: what they uncovered when they shrank.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

INT_PTR CRkEditorView::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kRecordedMessage:
            TakeRecording();
            return TRUE;
        case WM_SIZE:
            OnSize(LOWORD(lp), HIWORD(lp));
            return FALSE;
        case WM_VKEYTOITEM:
            // Del in the line list deletes the selected line.
            if (reinterpret_cast<HWND>(lp) == list_.GetSafeHwnd() && LOWORD(wp) == VK_DELETE) {
                ExecuteCommand(ID_MACRO_DELETE);
                return -2;  // handled (a dialog answers this message directly)
            }
            return -1;
        default:
            return CDialog::DialogProc(msg, wp, lp);
    }
}

bool CRkEditorView::PreTranslateMessage(MSG& msg) {
    if (hwnd_ == nullptr || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)))
        return false;
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void CRkEditorView::RememberFocus() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus))
        lastFocus_ = focus;
}

void CRkEditorView::RestoreFocus() {
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_))
        SetFocus(lastFocus_);
    else
        SetFocus(list_.GetSafeHwnd());
}

}  // namespace zv
