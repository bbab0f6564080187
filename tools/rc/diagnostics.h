// Errors of the resource compiler: every one names the file and line it
// stems from, so that a build log points straight at the script.
#pragma once

#include <stdexcept>
#include <string>

namespace rc {

struct Location {
    std::string file;
    int line = 0;
};

class Error : public std::runtime_error {
   public:
    Error(const Location &where, const std::string &what)
        : std::runtime_error(where.file + ":" + std::to_string(where.line) + ": " + what) {}
    explicit Error(const std::string &what) : std::runtime_error(what) {}
};

}  // namespace rc
