// Writing trace lines: the file follows WINCE_TRACE, opened for appending
// at first use (and again when the variable names another file).
#pragma once

#include <string>

namespace wince {

// Appends one line (a JSON object without its newline) in a single write,
// so lines of several processes sharing the file never interleave.
void WriteTraceLine(const std::string &json);
void SetLastTracedAction(std::string sentence);

}  // namespace wince
