// Menus described as tables of items.
#pragma once
#include <span>

#include "handles.h"

namespace pelto::win {

struct MenuItemDef {
    int level;           // 0: in the bar (or the pop-up menu itself); 1: in the last level-0 item's sub-menu
    const char* caption;
    int id;              // WM_COMMAND id; 0 for an item that opens a sub-menu
};

Menu BuildMenuBar(std::span<const MenuItemDef> items);
Menu BuildPopupMenu(std::span<const MenuItemDef> items);

} // namespace pelto::win
