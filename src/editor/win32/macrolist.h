// CMacroListCtrl: the owner-drawn list of command lines. It draws each line from the
// document's line list (icon, label, number, description; invalid lines in red), keeps
// the control's items in step with the list's edits, selects on the right button, shows
// the context menu and starts a drag with the left button. The line list decides.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <array>

#include "common/win32/handles.h"
#include "common/win32/window.h"
#include "editor/dragdrop.h"
#include "editor/line_item_layout.h"
#include "editor/linelist.h"

namespace zv {

class CRkEditorView;

class CMacroListCtrl : public CWnd {
public:
    explicit CMacroListCtrl(CRkEditorView& view);
    ~CMacroListCtrl() override;

    // Takes over the list box `id` of the form: drawing, the drop target, the images.
    bool Attach(int id, HWND form, HINSTANCE instance);
    // Applies the edits of a list operation to the control's items and its selection.
    void ApplyEdits(const ListResult& result);
    LineDragDrop& DragDrop() { return dragDrop_; }
    CRkEditorView& View() { return view_; }
    // Where a screen point falls: the nearest item and whether it lies inside the client.
    DropPoint PointAt(POINT screen) const;
    RECT ClientRect() const;
    // The font, icons and item height of the new DPI.
    void AfterParentDpiChange(UINT dpi) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& dis);
    void OnLButtonDown(WPARAM wp, LPARAM lp);
    void OnRButtonDown(LPARAM lp);
    void OnContextMenu(LPARAM lp);
    void SyncSelection();
    // The font, the icons and the item geometry for dpi.
    void MakeForDpi(UINT dpi);

    CRkEditorView& view_;
    LineDragDrop dragDrop_;
    HINSTANCE instance_ = nullptr;
    UINT dpi_ = 96;
    LineItemLayout layout_;
    std::array<UniqueBitmap, 6> icons_;
    UniqueBitmap mask_;
    UniqueFont font_;  // also the list box's own font, so that it tells what it shows
    ComPtr<IDropTarget> dropTarget_;
    bool registered_ = false;
};

}  // namespace zv
