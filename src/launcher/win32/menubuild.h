// The hotkey menu's model turned into pop-up menus.
#pragma once

#include <windows.h>

#include <vector>

#include "launcher/catalogue.h"

namespace zv {

// Inserts the items at the top of menu, by position, before the menu's own items: macro
// items with their id and both state bitmaps set to the bitmap of their kind, folders as
// pop-up items whose submenus are filled the same way. The submenus belong to menu and
// go with it when it is destroyed.
void InsertMacroMenuItems(HMENU menu, const std::vector<MacroMenuNode>& items, HBITMAP ordinary,
                          HBITMAP targeted);

}  // namespace zv
