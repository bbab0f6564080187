// A menu object: owns a loaded menu and destroys it with itself.
#pragma once

#include <windows.h>

class Menu {
   public:
    explicit Menu(HMENU menu) : menu_(menu) {}
    ~Menu() {
        if (menu_) DestroyMenu(menu_);
    }
    Menu(const Menu &) = delete;
    Menu &operator=(const Menu &) = delete;

    HMENU Handle() const { return menu_; }
    HMENU Popup(int index) const { return GetSubMenu(menu_, index); }

   private:
    HMENU menu_;
};
