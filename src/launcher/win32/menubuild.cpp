#include "launcher/win32/menubuild.h"

#include "common/win32/text.h"

namespace zv {

void InsertMacroMenuItems(HMENU menu, const std::vector<MacroMenuNode>& items, HBITMAP ordinary,
                          HBITMAP targeted) {
    UINT position = 0;
    for (const MacroMenuNode& node : items) {
        const std::wstring label = ToWide(node.label);
        if (node.isFolder) {
            HMENU sub = CreatePopupMenu();
            if (sub == nullptr)
                continue;
            InsertMacroMenuItems(sub, node.children, ordinary, targeted);
            if (!InsertMenuW(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                             reinterpret_cast<UINT_PTR>(sub), label.c_str())) {
                DestroyMenu(sub);
                continue;
            }
        } else {
            if (!InsertMenuW(menu, position, MF_BYPOSITION | MF_STRING,
                             static_cast<UINT_PTR>(node.id), label.c_str())) {
                continue;
            }
            HBITMAP mark = node.bitmap == MacroBitmap::Targeted ? targeted : ordinary;
            SetMenuItemBitmaps(menu, position, MF_BYPOSITION, mark, mark);
        }
        ++position;
    }
}

}  // namespace zv
