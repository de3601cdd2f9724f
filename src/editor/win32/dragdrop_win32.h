// The OLE side of dragging command lines: a data object offering one plain-text block,
// the drop source of the drag loop, and the drop target registered on the line list.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "common/win32/handles.h"

namespace zv {

class CMacroListCtrl;

// A data object with the CF_TEXT block text + zero byte; null when the memory could not
// be allocated.
ComPtr<IDataObject> CreateTextDataObject(const std::string& text);
ComPtr<IDropSource> CreateLineDropSource();
// The drop target of a list; it reports to the list's drag state.
ComPtr<IDropTarget> CreateMacroDropTarget(CMacroListCtrl& list);

// The plain text an object carries (CF_TEXT, up to its zero byte); false when none.
bool ReadDroppedText(IDataObject* object, std::string& text);

}  // namespace zv
