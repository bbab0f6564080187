#include "clock.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>


namespace wince {
namespace {

std::atomic<bool> realTime{false};
// The virtual clock starts a little after boot, as a device's tick count does.
std::atomic<uint64_t> virtualNow{60000};
const auto realStart = std::chrono::steady_clock::now();

}  // namespace

bool Clock::IsVirtual() { return !realTime; }

void Clock::UseRealTime(bool real) { realTime = real; }

uint64_t Clock::Now() {
    if (!realTime) return virtualNow;
    auto elapsed = std::chrono::steady_clock::now() - realStart;
    return 60000 + std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

void Clock::AdvanceTo(uint64_t when) {
    if (realTime) return;
    uint64_t now = virtualNow;
    while (when > now && !virtualNow.compare_exchange_weak(now, when)) {
    }
}

}  // namespace wince

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(wince::Clock::Now()); }

// On the virtual clock a sleep is the program letting time pass: the clock
// moves on, and nothing else happens meanwhile (the thread is asleep).
void WINAPI Sleep(DWORD dwMilliseconds) {
    if (wince::Clock::IsVirtual()) {
        wince::Clock::Advance(dwMilliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
