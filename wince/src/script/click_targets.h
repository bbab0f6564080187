// What a script's `click TEXT` aims at: the button, check box, tab, list or
// tree item or menu item with that text that a user can reach now.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wince {

struct ClickTarget {
    std::u16string text;
    std::string kind;  // "button", "item", "menu item"
    POINT center{};    // screen coordinates
};

// The text as a user reads it: "&" marks a mnemonic and "&&" is an "&".
std::u16string WithoutMnemonic(const std::u16string &text);

// Every reachable target whose text equals the given one: the items of the
// open popup menu when one is open, else the buttons and items of the
// visible, enabled windows (a modal window disables what lies under it).
std::vector<ClickTarget> FindClickTargets(const std::u16string &text);
// The same, whatever their text.
std::vector<ClickTarget> ReachableTargets();

}  // namespace wince
