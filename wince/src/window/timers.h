// Window timers on the one clock. WM_TIMER is made when the queue is
// otherwise empty and the timer is due; timers never pile up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace wince {

// Fills msg with the earliest due timer that passes the filter and, when
// remove is set, reschedules it; false when none is due.
bool TakeDueTimer(HWND filter, MSG *msg, bool remove);
// When the earliest timer falls due, if any.
std::optional<uint64_t> NextTimerDue();
// One step of a wait on the virtual clock: on to the next timer due before
// until (so that it fires first), or to until itself; true once there.
bool AdvanceWaitTowards(uint64_t until);
void KillWindowTimers(HWND hwnd);

}  // namespace wince
