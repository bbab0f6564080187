// What a window manager sends when the person clicks a window's close button.
#pragma once

#include <string>

namespace frontend_test {

bool AskToClose(const std::string &display, unsigned long window);

}  // namespace frontend_test
