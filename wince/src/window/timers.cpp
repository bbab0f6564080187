#include "timers.h"

#include <vector>

#include "clock.h"
#include "window.h"

namespace wince {
namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    TIMERPROC proc;
    uint64_t due;
    uint64_t order;  // equal due times fire in the order they were set
};

std::vector<Timer> &Timers() {
    static auto *timers = new std::vector<Timer>;
    return *timers;
}

uint64_t nextOrder = 0;
UINT_PTR nextThreadTimer = 0x7FFF;

bool Passes(const Timer &t, HWND filter) {
    if (!filter) return true;
    if (t.hwnd == filter) return true;
    return t.hwnd && IsChild(filter, t.hwnd);
}

}  // namespace

bool TakeDueTimer(HWND filter, MSG *msg, bool remove) {
    uint64_t now = Clock::Now();
    Timer *best = nullptr;
    for (Timer &t : Timers()) {
        if (t.due > now || !Passes(t, filter)) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    if (!best) return false;
    msg->hwnd = best->hwnd;
    msg->message = WM_TIMER;
    msg->wParam = best->id;
    msg->lParam = reinterpret_cast<LPARAM>(best->proc);
    msg->time = static_cast<DWORD>(now);
    if (remove) {
        best->due = now + best->period;
        best->order = nextOrder++;
    }
    return true;
}

std::optional<uint64_t> NextTimerDue() {
    std::optional<uint64_t> next;
    for (const Timer &t : Timers())
        if (!next || t.due < *next) next = t.due;
    return next;
}

bool AdvanceWaitTowards(uint64_t until) {
    std::optional<uint64_t> due = NextTimerDue();
    if (due && *due <= until && *due > Clock::Now()) {
        Clock::AdvanceTo(*due);
        return false;
    }
    Clock::AdvanceTo(until);
    return true;
}

void KillWindowTimers(HWND hwnd) {
    auto &all = Timers();
    for (size_t i = 0; i < all.size();) {
        if (all[i].hwnd == hwnd) all.erase(all.begin() + i);
        else ++i;
    }
}

}  // namespace wince

using namespace wince;

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    if (hWnd && !CheckHandle(hWnd)) return 0;
    if (uElapse < 10) uElapse = 10;  // the shortest period the system keeps
    if (!hWnd) nIDEvent = nextThreadTimer++;
    uint64_t due = Clock::Now() + uElapse;
    for (Timer &t : Timers()) {
        if (t.hwnd == hWnd && t.id == nIDEvent) {
            t.period = uElapse, t.proc = lpTimerFunc, t.due = due, t.order = nextOrder++;
            return hWnd ? (nIDEvent ? nIDEvent : 1) : nIDEvent;
        }
    }
    Timers().push_back(Timer{hWnd, nIDEvent, uElapse, lpTimerFunc, due, nextOrder++});
    return hWnd ? (nIDEvent ? nIDEvent : 1) : nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto &all = Timers();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].hwnd == hWnd && all[i].id == uIDEvent) {
            all.erase(all.begin() + i);
            return TRUE;
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
