// CRkEditorView: the form beside the line list (title, global flag, target window,
// description) and the view's commands: add, modify, duplicate, delete, move and direct
// edit of lines, the edit commands, the target picker. The document and its line list
// decide; this class shows the outcome and opens the dialogs they ask for.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "common/win32/dialog.h"
#include "editor/document.h"
#include "common/win32/bitmapbutton.h"
#include "editor/recorder.h"
#include "editor/win32/macrolist.h"

namespace zv {

class CMainFrame;
class CMacroRecorder;

class CRkEditorView : public CDialog {
public:
    CRkEditorView(CMainFrame& frame, EditorDocument& doc);
    ~CRkEditorView() override;

    // Creates the form as a child of the main window.
    bool CreateView(HWND parent);
    // Shows the document: the fields from its content, the list from result (a reset of
    // the list control), line 1 selected when there is one.
    void FillFromDocument(const ListResult& result);
    // Copies the form's fields into the document.
    void StoreFields();
    // Carries out what a list operation asks of the control, the document and the user.
    void ApplyList(const ListResult& result);
    // A command of the "マクロ" and "編集" menus, the context menu or the tool bar.
    void ExecuteCommand(UINT id);
    EditCommandState EditState() const;
    HWND ListHwnd() const { return list_.GetSafeHwnd(); }
    CMainFrame& Frame() { return frame_; }
    EditorDocument& Document() { return doc_; }
    // Dialog keys of the form (Tab, mnemonics); true when msg was consumed.
    bool PreTranslateMessage(MSG& msg);
    void RememberFocus();
    void RestoreFocus();
    // "操作を記録" while it runs: the editor is closing, the recording goes in first.
    void StopRecording();

private:
    BOOL OnInitDialog() override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override {}      // Enter in a field does not close the form
    void OnCancel() override {}  // nor does Escape
    void OnSize(int width, int height);
    void OnFieldsChanged();
    void EnableTarget();
    void OnPickTarget();
    void RunRequest(const DialogRequest& request);
    EditFocus FocusKind(HWND* field) const;
    void StartRecording();
    // Inserts a finished recording, once the recorder's own handling is over.
    void TakeRecording();

    CMainFrame& frame_;
    EditorDocument& doc_;
    CMacroListCtrl list_;
    CBitmapButton pick_;
    SIZE reference_{-1, -1};
    bool filling_ = false;  // the form is being filled from the document
    HWND lastFocus_ = nullptr;
    std::unique_ptr<CMacroRecorder> recorder_;
    std::optional<Recording> recorded_;  // finished, not yet inserted
};

}  // namespace zv
