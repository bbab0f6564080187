// The one clock behind GetTickCount, Sleep, timers and gesture timing.
//
// Virtual (the default): time moves only when told, so tests and scripts
// are deterministic. Real: the host's monotonic clock, for interactive use.
#pragma once

#include <cstdint>

namespace wince {

class Clock {
   public:
    static bool IsVirtual();
    static void UseRealTime(bool real);
    // Milliseconds since the device started.
    static uint64_t Now();
    // Virtual clock only: moves time forward to the given instant.
    static void AdvanceTo(uint64_t when);
    static void Advance(uint64_t milliseconds) { AdvanceTo(Now() + milliseconds); }
};

}  // namespace wince
