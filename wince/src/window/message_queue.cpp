#include "message_queue.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "clock.h"
#include "input.h"
#include "paint.h"
#include "timers.h"
#include "window.h"

namespace wince {
namespace {

struct Queue {
    std::mutex lock;
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
};

Queue &TheQueue() {
    static auto *queue = new Queue;
    return *queue;
}

struct WaitSource {
    int fd;
    std::function<void()> onReadable;
};

std::vector<WaitSource> &Sources() {
    static auto *sources = new std::vector<WaitSource>;
    return *sources;
}

IdleDriver &Driver() {
    static auto *driver = new IdleDriver;
    return *driver;
}

FrontEndHook &FrontEnd() {
    static auto *hook = new FrontEndHook;
    return *hook;
}

// Counts what arrives in the queue, so that a loop can tell whether the
// front end just gave it something to do.
std::atomic<uint64_t> arrivals{0};

// Runs the front end, unless it is already running further up the stack
// (a window procedure it called entered a loop of its own). Returns the
// longest the caller may sleep.
int RunFrontEnd() {
    static bool running = false;
    if (!FrontEnd()) return -1;
    if (running) return 10;  // the front end cannot listen now: do not sleep long
    running = true;
    FrontEndHook keep = FrontEnd();  // the hook may replace itself
    int limit = keep();
    running = false;
    return limit;
}

int Shorter(int timeout, int limit) {
    if (limit < 0) return timeout;
    return timeout < 0 || limit < timeout ? limit : timeout;
}

MSG lastMessage{};

void Wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(TheQueue().wakeFd, &one, sizeof one);
}

bool PassesWindow(HWND hwnd, HWND filter) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
    return hwnd == filter || IsChild(filter, hwnd);
}

bool PassesRange(UINT message, UINT min, UINT max) {
    if (min == 0 && max == 0) return true;
    return message >= min && message <= max;
}

// Runs the handlers of sources that are readable now or become readable
// within timeoutMs; -1 waits without limit.
void PollSources(int timeoutMs) {
    std::vector<pollfd> fds;
    fds.push_back(pollfd{TheQueue().wakeFd, POLLIN, 0});
    for (const WaitSource &s : Sources()) fds.push_back(pollfd{s.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return;
    if (fds[0].revents & POLLIN) {
        uint64_t count;
        [[maybe_unused]] ssize_t n = read(TheQueue().wakeFd, &count, sizeof count);
    }
    std::vector<std::function<void()>> ready;
    for (size_t i = 1; i < fds.size(); ++i)
        if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) ready.push_back(Sources()[i - 1].onReadable);
    for (auto &handler : ready) handler();
}

bool TakePosted(MSG *msg, HWND filter, UINT min, UINT max, bool remove) {
    Queue &q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!PassesWindow(it->hwnd, filter) && it->message != WM_QUIT) continue;
        if (!PassesRange(it->message, min, max) && it->message != WM_QUIT) continue;
        *msg = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    return false;
}

bool TakeInput(MSG *msg, HWND filter, UINT min, UINT max, bool remove) {
    for (;;) {
        InputEvent event;
        {
            Queue &q = TheQueue();
            std::lock_guard<std::mutex> guard(q.lock);
            if (q.input.empty()) return false;
            event = q.input.front();
        }
        MSG candidate{};
        bool delivered = TranslateInputEvent(event, &candidate, /*commit=*/false);
        if (delivered && (!PassesWindow(candidate.hwnd, filter) || !PassesRange(candidate.message, min, max)))
            return false;  // the next input is for another loop's window: leave it queued
        if (remove || !delivered) {
            Queue &q = TheQueue();
            std::lock_guard<std::mutex> guard(q.lock);
            q.input.pop_front();
        }
        if (!delivered) continue;  // over nothing or a disabled window: dropped
        if (remove) TranslateInputEvent(event, &candidate, /*commit=*/true);
        *msg = candidate;
        return true;
    }
}

bool Retrieve(MSG *msg, HWND filter, UINT min, UINT max, bool remove, bool wait) {
    for (;;) {
        PollSources(0);
        if (TakePosted(msg, filter, min, max, remove)) return true;
        if (TakeInput(msg, filter, min, max, remove)) return true;
        if (PassesRange(WM_PAINT, min, max) && TakePaintMessage(filter, msg)) return true;
        if (PassesRange(WM_TIMER, min, max) && TakeDueTimer(filter, msg, remove)) return true;
        if (!wait) return false;
        uint64_t before = arrivals;
        int limit = RunFrontEnd();
        if (arrivals != before) continue;
        if (RunIdleDriver()) continue;
        int timeout = -1;
        if (!Clock::IsVirtual()) {
            if (auto due = NextTimerDue()) {
                uint64_t now = Clock::Now();
                timeout = *due > now ? static_cast<int>(*due - now) : 0;
            }
        }
        PollSources(Shorter(timeout, limit));
    }
}

}  // namespace

void PostInputEvent(const InputEvent &event) {
    {
        Queue &q = TheQueue();
        std::lock_guard<std::mutex> guard(q.lock);
        q.input.push_back(event);
        ++arrivals;
    }
    Wake();
}

bool InputPending() {
    Queue &q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    return !q.input.empty();
}

bool PeekInputEvent(InputEvent &event) {
    Queue &q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    if (q.input.empty()) return false;
    event = q.input.front();
    return true;
}

void PopInputEvent() {
    Queue &q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    if (!q.input.empty()) q.input.pop_front();
}

IdleDriver SetIdleDriver(IdleDriver driver) {
    IdleDriver old = std::move(Driver());
    Driver() = std::move(driver);
    return old;
}

FrontEndHook SetFrontEndHook(FrontEndHook hook) {
    FrontEndHook old = std::move(FrontEnd());
    FrontEnd() = std::move(hook);
    return old;
}

bool RunIdleDriver() {
    IdleDriver &d = Driver();
    if (!d) return false;
    IdleDriver keep = d;  // the driver may replace itself
    return keep();
}

void AddWaitSource(int fd, std::function<void()> onReadable) {
    RemoveWaitSource(fd);
    Sources().push_back(WaitSource{fd, std::move(onReadable)});
}

void RemoveWaitSource(int fd) {
    auto &all = Sources();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].fd == fd) {
            all.erase(all.begin() + i);
            return;
        }
}

void RemovePostedMessages(HWND hwnd) {
    Queue &q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    for (auto it = q.posted.begin(); it != q.posted.end();) {
        if (it->hwnd == hwnd) it = q.posted.erase(it);
        else ++it;
    }
}

int PumpReadyMessages() {
    int count = 0;
    MSG msg;
    while (Retrieve(&msg, nullptr, 0, 0, false, false)) {
        if (msg.message == WM_QUIT) break;
        Retrieve(&msg, nullptr, 0, 0, true, false);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}

void WaitForEvents(uint64_t untilTick) {
    uint64_t before = arrivals;
    int limit = RunFrontEnd();
    if (arrivals != before) return;
    uint64_t now = Clock::Now();
    PollSources(Shorter(untilTick > now ? static_cast<int>(untilTick - now) : 0, limit));
}

}  // namespace wince

using namespace wince;

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        for (Window *w : TopLevelWindows()) PostMessageW(w->handle, Msg, wParam, lParam);
        BroadcastToOtherProcesses(Msg, wParam, lParam);
        return TRUE;
    }
    if (hWnd && !FromHandle(hWnd)) {
        if (PostToOtherProcess(hWnd, Msg, wParam, lParam)) return TRUE;
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MSG msg{hWnd, Msg, wParam, lParam, static_cast<DWORD>(Clock::Now()), {}};
    {
        Queue &q = TheQueue();
        std::lock_guard<std::mutex> guard(q.lock);
        q.posted.push_back(msg);
        ++arrivals;
    }
    Wake();
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0); }

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        std::vector<HWND> all;
        for (Window *w : TopLevelWindows()) all.push_back(w->handle);
        for (HWND h : all) SendMessageW(h, Msg, wParam, lParam);
        return 0;
    }
    Window *w = CheckHandle(hWnd);
    if (!w) return 0;
    return CallProc(w, Msg, wParam, lParam);
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    Retrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true, true);
    lastMessage = *lpMsg;
    return lpMsg->message != WM_QUIT;
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!Retrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0, false)) return FALSE;
    lastMessage = *lpMsg;
    return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG *lpMsg) {
    if (!lpMsg) return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
        return 0;
    }
    Window *w = FromHandle(lpMsg->hwnd);
    if (!w) return 0;
    return CallProc(w, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

DWORD WINAPI GetMessagePos(void) {
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(lastMessage.pt.x), static_cast<WORD>(lastMessage.pt.y)));
}

LONG WINAPI GetMessageTime(void) { return static_cast<LONG>(lastMessage.time); }
