#include "launcher/win32/menubuild.h"

#include "common/win32/handles.h"
#include "common/win32/text.h"

namespace zv {

void InsertMacroMenuItems(HMENU menu, const std::vector<MacroMenuNode>& items, HBITMAP ordinary,
                          HBITMAP targeted) {
    UINT position = 0;
    for (const MacroMenuNode& node : items) {
        const std::wstring label = ToWide(node.label);
        if (node.isFolder) {
            UniqueMenu sub(CreatePopupMenu());
            if (!sub)
                continue;
            InsertMacroMenuItems(sub.Get(), node.children, ordinary, targeted);
            if (!InsertMenuW(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                             reinterpret_cast<UINT_PTR>(sub.Get()), label.c_str()))
                continue;
            sub.Release();  // the menu's now
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
