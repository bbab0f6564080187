// Command update: before a popup opens, each item's command asks its
// window's update handler for the item's state; an item whose command has
// no handler at all is disabled.
#pragma once

#include <windows.h>

class Window;

class CommandUpdate {
   public:
    // The item at position index of menu, updated for command id.
    CommandUpdate(HMENU menu, UINT index, UINT id) : menu_(menu), index_(index), id_(id) {}
    UINT Id() const { return id_; }
    void Enable(bool on);
    void SetCheck(bool on);

   private:
    HMENU menu_;
    UINT index_;
    UINT id_;
};

// Commands from 0xF000 up are the system's and are never disabled here.
inline constexpr UINT FirstSystemCommand = 0xF000;

// Updates every item of popup through target's handlers.
void UpdatePopupCommands(Window &target, HMENU popup);
