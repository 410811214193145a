// The main window's description: its controls and menus.
#pragma once
#include <span>

#include "form.h"
#include "menu_table.h"

namespace pelto::win {

const FormDef& PeltoMainDescription();
std::span<const MenuItemDef> MainMenu1Items();
std::span<const MenuItemDef> PopupMenu1Items();

} // namespace pelto::win
