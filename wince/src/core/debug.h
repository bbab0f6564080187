// Per-area debug output: WINCE_DEBUG=registry,file (or "all") switches the
// named areas on; each line goes to standard error with its area in front.
#pragma once

namespace wince {

bool DebugEnabled(const char *area);
void DebugPrint(const char *area, const char *format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace wince

#define WINCE_DEBUG(area, ...)                                              \
    do {                                                                    \
        if (::wince::DebugEnabled(area)) ::wince::DebugPrint(area, __VA_ARGS__); \
    } while (0)
