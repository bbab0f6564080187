// The monkey in a program that the monkey's Today screen started (the
// options program): random but repeatable taps on what can be reached,
// random taps, holds, drags, keys, typed text, turns of the screen and
// outside changes of the documents folder, for a number of steps the
// starting side chose, checked after every step; then Escape until the
// program ends.
// The program reports where the monkey stopped (script/handover.h):
//   WINCE_MONKEY="SEED STEP LAST BUDGET"  (its seed, the run's step so far,
//   the run's last step, and how many steps it may take here)
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "click_targets.h"
#include "core/unicode.h"
#include "device/device.h"
#include "handover.h"
#include "monkey_folder.h"
#include "registry/reg_text.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/screen_size.h"
#include "window/timers.h"
#include "window/window.h"

namespace fs = std::filesystem;

namespace wince {
namespace {

using Input = InputEvent;

const UINT kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_TAB, VK_BACK, VK_SPACE};
const char16_t *const kTexts[] = {u"a", u"\\My Documents", u"12", u"-3", u"99999", u"\u00fcber", u"*?", u"..", u" "};

class ChildMonkey {
   public:
    bool Parse(const char *text) {
        std::istringstream words(text ? text : "");
        unsigned long long seed = 0;
        words >> seed >> step_ >> last_ >> budget_;
        if (!words || step_ < 0 || budget_ < 0) return false;
        random_.seed(seed);
        const char *fd = getenv("WINCE_SCRIPT_REPORT");
        reportFd_ = fd ? atoi(fd) : -1;
        unsetenv("WINCE_MONKEY");
        unsetenv("WINCE_SCRIPT_REPORT");
        return reportFd_ >= 0;
    }

    void Start() {
        // The documents as they are now: a program started from the Today
        // screen must not lose one. Names made here are numbered apart from
        // those the Today screen's monkey makes.
        const char *trace = getenv("WINCE_TRACE");
        folder_ = std::make_unique<MonkeyFolder>(Device::Current().FileSystemRoot() / "My Documents",
                                                 trace ? fs::path(trace) : fs::path(), kOwnNames + step_ * 100);
        registry_ = Device::Current().RegistryFile();
        watchdog_ = std::thread([this] { Watch(); });
        watchdog_.detach();
    }

    // At exit: where the monkey stopped.
    void Report() {
        if (reported_) return;
        reported_ = true;
        ReportLine(reportFd_, "stop " + std::to_string(step_) + " " + std::to_string(Clock::Now()) + " " +
                                  (failure_.empty() ? "ok" : "fail " + failure_));
    }

    bool Step() {
        if (!claimed_) {
            if (!ProgramShowsAWindow()) return false;
            claimed_ = true;
            ReportLine(reportFd_, "claim");
            return true;
        }
        ++progress_;
        if (waiting_) {
            if (!AdvanceWaitTowards(waitUntil_)) return true;
            waiting_ = false;
            if (lift_) PostInputEvent(Input{Input::kStylusUp, liftAt_});
            lift_ = false;
            return true;
        }
        if (taken_ > 0 && !Check()) {
            Report();
            _exit(1);
        }
        if (taken_ >= budget_ || step_ >= last_) {
            // Done here: the program is asked to end as a user would.
            if (++escapes_ > 40) {
                Fail("the program did not end after 40 presses of Escape");
                Report();
                _exit(1);
            }
            Key(VK_ESCAPE);
            return true;
        }
        ++taken_;
        ++step_;
        Act();
        return true;
    }

   private:
    int Below(int n) { return n > 0 ? static_cast<int>(random_() % static_cast<uint64_t>(n)) : 0; }

    static void Tap(POINT p) {
        PostInputEvent(Input{Input::kStylusDown, p});
        PostInputEvent(Input{Input::kStylusUp, p});
    }

    static void Key(UINT key) {
        PostInputEvent(Input{Input::kKeyDown, {}, key});
        PostInputEvent(Input{Input::kKeyUp, {}, key});
    }

    void Act() {
        int roll = Below(100);
        // Mostly what a user can reach: buttons ("ok", Cancel, Browse, About),
        // tabs, tree and list items, menu items.
        if (roll < 55) {
            std::vector<ClickTarget> targets = ReachableTargets();
            if (!targets.empty()) {
                const ClickTarget &t = targets[Below(static_cast<int>(targets.size()))];
                Tap(t.center);
                Trace("tap " + t.kind + " " + ToUtf8(t.text));
                return;
            }
        }
        POINT p{Below(GetSystemMetrics(SM_CXSCREEN)), Below(GetSystemMetrics(SM_CYSCREEN))};
        const std::string at = std::to_string(p.x) + " " + std::to_string(p.y);
        if (roll < 64) {
            Tap(p);
            Trace("tap " + at);
        } else if (roll < 67) {
            // Held past the hold time, then lifted where it was put down.
            PostInputEvent(Input{Input::kStylusDown, p});
            waiting_ = true;
            waitUntil_ = Clock::Now() + 700;
            liftAt_ = p;
            lift_ = true;
            Trace("hold " + at);
        } else if (roll < 70) {
            PostInputEvent(Input{Input::kStylusDown, p});
            for (int i = Below(5) + 1; i > 0; --i) {
                p.x += Below(61) - 30, p.y += Below(61) - 30;
                PostInputEvent(Input{Input::kStylusMove, p});
            }
            PostInputEvent(Input{Input::kStylusUp, p});
            Trace("drag " + at + " to " + std::to_string(p.x) + " " + std::to_string(p.y));
        } else if (roll < 85) {
            UINT key = kKeys[Below(static_cast<int>(std::size(kKeys)))];
            Key(key);
            Trace("key " + std::to_string(key));
        } else if (roll < 91) {
            const char16_t *text = kTexts[Below(static_cast<int>(std::size(kTexts)))];
            for (const char16_t *c = text; *c; ++c) PostInputEvent(Input{Input::kChar, {}, *c});
            Trace("type " + ToUtf8(text));
        } else if (roll < 93) {
            Trace(RotateScreen() ? "turn the screen" : "could not turn the screen");
        } else if (roll < 96) {
            // The folder chooser lists folders that may vanish or appear meanwhile.
            Trace(folder_->Change(random_));
        } else {
            waiting_ = true;
            waitUntil_ = Clock::Now() + 100 + static_cast<uint64_t>(Below(1500));
            Trace("wait");
        }
    }

    void Trace(const std::string &what) {
        last_done_ = "step " + std::to_string(step_) + ": " + what;
        if (getenv("WINCE_MONKEY_VERBOSE")) fprintf(stderr, "monkey (program): %s\n", last_done_.c_str());
    }

    void Fail(const std::string &what) { failure_ = what + " (" + last_done_ + ")"; }

    bool Check() {
        folder_->FollowTrace();
        if (std::string missing = folder_->Missing(); !missing.empty()) {
            Fail("the document " + missing + " is gone in the program, and the monkey did not delete it");
            return false;
        }
        std::ifstream in(registry_, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        if (!in) {
            Fail("the registry file cannot be read");
            return false;
        }
        auto parsed = registry::ParseRegText(bytes.str());
        if (!parsed.damagedLines.empty()) {
            Fail("the registry file is damaged at line " + std::to_string(parsed.damagedLines.front()));
            return false;
        }
        return true;
    }

    // A program that stops answering never comes back to the idle driver.
    void Watch() {
        constexpr int kHangSeconds = 120;
        int last = -1, still = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            int now = progress_.load();
            still = now == last ? still + 1 : 0;
            last = now;
            if (claimed_ && still >= kHangSeconds * 4) {
                ReportLine(reportFd_, "stop " + std::to_string(step_) + " 0 fail the program stopped answering");
                _exit(1);
            }
        }
    }

    std::mt19937_64 random_;
    int step_ = 0, last_ = 0, budget_ = 0, taken_ = 0, escapes_ = 0;
    int reportFd_ = -1;
    bool claimed_ = false, reported_ = false, waiting_ = false, lift_ = false;
    uint64_t waitUntil_ = 0;
    POINT liftAt_{};
    // Names the Today screen's monkey never reaches: it makes one a step.
    static constexpr int kOwnNames = 10000000;
    std::unique_ptr<MonkeyFolder> folder_;
    fs::path registry_;
    std::string failure_, last_done_;
    std::atomic<int> progress_{0};
    std::thread watchdog_;
};

ChildMonkey *monkey = nullptr;

bool StartMonkey() {
    SetIdleDriver(nullptr);
    monkey = new ChildMonkey;  // lives until the program ends: it reports at exit
    if (!monkey->Parse(getenv("WINCE_MONKEY"))) return false;
    if (const char *clock = getenv("WINCE_SCRIPT_CLOCK"); clock && *clock) Clock::AdvanceTo(strtoull(clock, nullptr, 10));
    unsetenv("WINCE_SCRIPT_CLOCK");
    monkey->Start();
    atexit([] { monkey->Report(); });
    SetIdleDriver([] { return monkey->Step(); });
    return true;
}

[[maybe_unused]] const bool startsFromEnvironment =
    (getenv("WINCE_MONKEY") && *getenv("WINCE_MONKEY") && (SetIdleDriver(StartMonkey), true));

}  // namespace
}  // namespace wince
