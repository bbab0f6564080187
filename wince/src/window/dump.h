// The window dump: the window tree as JSON, for scripts and tests to see
// what a user would see.
#pragma once

#include <string>

namespace wince {

// The whole tree, top-level windows front first.
std::string WindowDumpJson();
bool WriteWindowDump(const std::string &path, std::string *error);

}  // namespace wince
