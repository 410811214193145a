#include "menu_table.h"

#include "core/errors.h"

namespace pelto::win {

namespace {

void Append(HMENU menu, UINT flags, UINT_PTR item, const char* caption)
{
    if (!AppendMenuA(menu, flags, item, caption)) throw Exception("AppendMenu " + std::string(caption));
}

} // namespace

Menu BuildMenuBar(std::span<const MenuItemDef> items)
{
    Menu bar(CreateMenu());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItemDef& item = items[i];
        if (item.id != 0) {
            Append(bar.get(), MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
            continue;
        }
        // The sub-menu belongs to the bar once appended.
        HMENU sub = CreatePopupMenu();
        for (std::size_t j = i + 1; j < items.size() && items[j].level == 1; ++j)
            Append(sub, MF_STRING, static_cast<UINT_PTR>(items[j].id), items[j].caption);
        Append(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item.caption);
        while (i + 1 < items.size() && items[i + 1].level == 1) ++i;
    }
    return bar;
}

Menu BuildPopupMenu(std::span<const MenuItemDef> items)
{
    Menu popup(CreatePopupMenu());
    for (const MenuItemDef& item : items) Append(popup.get(), MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
    return popup;
}

} // namespace pelto::win
