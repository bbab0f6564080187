#include "debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace wince {

bool DebugEnabled(const char *area) {
    static const std::string areas = [] {
        const char *v = getenv("WINCE_DEBUG");
        return std::string(",") + (v ? v : "") + ",";
    }();
    if (areas.size() <= 2) return false;
    return areas.find(",all,") != std::string::npos || areas.find("," + std::string(area) + ",") != std::string::npos;
}

void DebugPrint(const char *area, const char *format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    fprintf(stderr, "wince:%s: %s\n", area, line);
}

}  // namespace wince
