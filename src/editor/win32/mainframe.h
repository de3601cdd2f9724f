// CMainFrame: the editor's main window: menu, tool bar with the add drop-down, status
// bar, the form view, a fixed width and a remembered height; it carries the document's
// file commands, the help commands and the window marker.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <string_view>

#include "common/win32/handles.h"
#include "common/win32/window.h"
#include "editor/document.h"
#include "editor/editor_settings.h"

namespace zv {

class CRkEditorApp;
class CRkEditorView;

// The property that marks an editor's main window from its creation to its destruction.
inline constexpr wchar_t kEditorMarker[] = L"__RKMANAGER_APPL_MUTEX__";

class CMainFrame : public CWnd {
public:
    // Creates the main window (hidden) with its bars and view; null on failure. The
    // frame owns itself and is freed with its window.
    static CMainFrame* Create(CRkEditorApp& app);

    // Start-up: opens the file named on the command line (a file that is not a macro
    // file leaves the new document).
    void StartDocument(std::string_view commandLine);
    // Start-up: the stored outer height (-1 for none) at the fixed width.
    void RestoreHeight(std::int32_t storedHeight);
    void FocusListWhenFilled();
    // Keeps the tool-bar buttons and the status indicators in step with the state.
    void OnIdle();
    // Keyboard navigation of the form; true when msg was consumed.
    bool PreTranslateMessage(MSG& msg);

    // The caption follows the document's title and modified flag.
    void UpdateCaption();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnFinalMessage() override;

private:
    explicit CMainFrame(CRkEditorApp& app);
    bool OnCreate();
    void OnSize();
    void OnClose();
    // WM_QUERYENDSESSION: true when the session may end.
    bool OnQueryEndSession();
    void OnEndSession(bool ending);
    // "DefaultWindowHeight" from the window as it is now (not minimised or maximised).
    void StoreHeight();
    void OnDestroy();
    void OnCommand(UINT id);
    LRESULT OnNotify(NMHDR* hdr);
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    void CreateToolBar();
    void CreateStatusBar();
    void SetPrompt(UINT id);
    // What depends on the DPI: the icons, the tool bar's images, the status bar's font, and
    // the smallest size that shows the whole form.
    void SetFrameIcons();
    void SetToolBarImages();
    void SetStatusFont();
    void UpdateMinTrack();
    void OnDpiChanged(UINT newDpi, const RECT& suggested);

    void OnFileNew();
    void OnFileOpen();
    void OnRecentFile(std::size_t index);
    void OpenChosenFile(const std::string& path);
    bool LoadHere(const std::string& path);
    // Shows the message of a load or save; when it succeeded, the file goes to the top of
    // the recent files. False when it failed.
    bool TakeFileResult(const DocumentResult& r);
    bool OnFileSave();
    bool OnFileSaveAs();
    bool SaveTo(const std::string& path);
    // The save question for a modified document: false when the user cancelled (or the
    // save failed), so that closing or replacing stops.
    bool SaveModified();
    void ShowAddDropDown(const RECT& button);
    void FillRecentFiles(HMENU fileMenu);

    CRkEditorApp& app_;
    EditorDocument doc_;
    std::unique_ptr<CRkEditorView> view_;
    HWND toolBar_ = nullptr;
    HWND statusBar_ = nullptr;
    HIMAGELIST toolImages_ = nullptr;
    UniqueFont statusFont_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UINT dpi_ = 96;
    Size formCreated_;  // the form's design size as it was created
    Size form_;         // the form's design size at dpi_
    Size minTrack_;
    std::wstring tipText_;       // the text a tool tip asked for, alive while it shows
    bool askingToSave_ = false;  // the save question is on screen
    bool creating_ = true;
    bool destroyedWhileCreating_ = false;
};

}  // namespace zv
