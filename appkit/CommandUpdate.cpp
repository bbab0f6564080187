#include "appkit/CommandUpdate.h"

#include "appkit/Window.h"

void CommandUpdate::Enable(bool on) {
    EnableMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void CommandUpdate::SetCheck(bool on) { CheckMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED)); }

namespace {

// The command that stands for a submenu item: its submenu's first item, when
// that is a plain command.
UINT SubmenuCommand(HMENU popup, int index) {
    HMENU sub = GetSubMenu(popup, index);
    if (!sub || GetMenuItemCount(sub) <= 0) return 0;
    UINT first = GetMenuItemID(sub, 0);
    return first == static_cast<UINT>(-1) ? 0 : first;
}

}  // namespace

void UpdatePopupCommands(Window &target, HMENU popup) {
    int count = GetMenuItemCount(popup);
    UINT previous = 0;
    for (int index = 0; index < count; ++index) {
        UINT id = GetMenuItemID(popup, index);
        if (id == 0) continue;  // separator
        bool submenu = id == static_cast<UINT>(-1);
        if (submenu) id = SubmenuCommand(popup, index);
        if (id == 0 || id == previous) continue;
        previous = id;
        CommandUpdate update(popup, static_cast<UINT>(index), id);
        // Without an update handler, an item is enabled exactly when its
        // command has a handler.
        if (!target.UpdateCommand(update) && !submenu && id < FirstSystemCommand)
            update.Enable(target.HasCommandHandler(id));
        // An update handler may have added or removed items.
        int now = GetMenuItemCount(popup);
        index += now - count;
        count = now;
    }
}
