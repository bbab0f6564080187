#include "Monkey.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "DeviceSetup.h"
#include "TodayScreen.h"
#include "core/debug.h"
#include "core/unicode.h"
#include "device/device.h"
#include "dialog/dialog_state.h"
#include "frontend/frontend.h"
#include "registry/reg_text.h"
#include "process/process_object.h"
#include "script/handover.h"
#include "script/monkey_folder.h"
#include "window/clock.h"
#include "window/item_report.h"
#include "window/message_queue.h"
#include "window/screen_size.h"
#include "window/timers.h"
#include "window/window.h"

namespace fs = std::filesystem;

namespace {

using Input = wince::InputEvent;

const UINT kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_TAB, VK_BACK};
const char16_t *const kTexts[] = {u"a", u"Report", u"new name", u"\u00fcber", u"a\\b", u"*?", u"..", u"  ", u"x.txt"};

bool ClassIs(const wince::Window &w, const char16_t *name) { return lstrcmpiW(w.cls->name.c_str(), name) == 0; }

POINT Center(const RECT &r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// What a user can choose now: the items of an open popup, else the buttons
// and items of the modal window in front; empty when neither is open.
std::vector<POINT> Choices() {
    std::vector<POINT> out;
    std::vector<wince::Window *> tops = wince::TopLevelWindows();
    auto addItems = [&](wince::Window *w) {
        std::vector<wince::ReportedItem> items;
        if (!wince::ReportItems(w->handle, items)) return;
        for (const auto &item : items)
            if (!item.separator && item.enabled && !IsRectEmpty(&item.rect)) out.push_back(Center(item.rect));
    };
    for (wince::Window *w : tops)
        if (w->Visible() && (ClassIs(*w, u"#32768") || ClassIs(*w, u"ComboLBox"))) addItems(w);
    if (!out.empty()) return out;
    std::function<void(wince::Window *)> collect = [&](wince::Window *w) {
        if (!w->Visible() || !w->Enabled()) return;
        if (ClassIs(*w, u"button")) out.push_back(Center(wince::WindowRectOnScreen(*w)));
        addItems(w);
        for (wince::Window *child : w->children) collect(child);
    };
    for (wince::Window *w : tops) {
        const wince::DialogState *state = wince::FindDialogState(w->handle);
        if (w->Visible() && state && state->modal && !state->ended) {
            collect(w);
            break;
        }
    }
    return out;
}

class Monkey : public wince::HandoverDriver {
   public:
    Monkey(const MonkeyOptions &options, TodayScreen &today, wince::MonkeyFolder &folder, fs::path registry)
        : options_(options), random_(options.seed), today_(today), folder_(folder), registry_(std::move(registry)) {}

    ~Monkey() {
        wince::SetHandoverDriver(nullptr);
        stop_ = true;
        if (watchdog_.joinable()) watchdog_.join();
    }

    void Start() {
        wince::SetIdleDriver([this] { return Step(); });
        wince::SetHandoverDriver(this);
        watchdog_ = std::thread([this] { Watch(); });
    }

    // A program the Today screen starts (the options program) takes the
    // monkey for a while, with a seed of its own drawn from this one's.
    bool Offer(std::vector<std::pair<std::string, std::string>> &env) override {
        if (finished_ || child_) return false;
        uint64_t seed = random_();
        int budget = 20 + Below(80);
        env.push_back({"WINCE_MONKEY", std::to_string(seed) + " " + std::to_string(step_.load()) + " " +
                                           std::to_string(options_.events) + " " + std::to_string(budget)});
        env.push_back({"WINCE_SCRIPT_CLOCK", std::to_string(wince::Clock::Now())});
        return true;
    }

    void Waiting(std::unique_ptr<wince::ChildLink> child, std::shared_ptr<wince::ProcessObject> process) override {
        child_ = std::move(child);
        childProcess_ = std::move(process);
        Remember("a program started and takes the monkey");
    }
    bool Failed() const { return failed_; }

   private:
    // A program that stops answering never comes back to the idle driver:
    // a step that takes this long is a hang, reported like any failure.
    void Watch() {
        constexpr int kHangSeconds = 120;
        int last = -1, still = 0;
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            int now = progress_.load();
            int step = step_.load();
            still = now == last ? still + 1 : 0;
            last = now;
            if (still >= kHangSeconds * 4) {
                fprintf(stderr, "monkey: FAILED at step %d of seed %llu: the programs stopped answering\n", step,
                        static_cast<unsigned long long>(options_.seed));
                fprintf(stderr, "replay: pelloran-sim monkey --seed %llu --events %d --profile %s\n",
                        static_cast<unsigned long long>(options_.seed), step, options_.profile.c_str());
                _exit(1);
            }
        }
    }

    // Called whenever the programs have nothing left to do: finishes a wait,
    // checks the step just done, or does the next one.
    // While a started program has the monkey, nothing happens here.
    bool StepWithChild() {
        if (!child_->Ended()) {
            if (!child_->TimedOut() || child_->Claimed()) return false;
            child_->Terminate();
            child_.reset();
            Fail("the started program showed no window within " + std::to_string(wince::ChildLink::ClaimSeconds()) + " s");
            return Finish(1);
        }
        std::unique_ptr<wince::ChildLink> child = std::move(child_);
        std::shared_ptr<wince::ProcessObject> process = std::move(childProcess_);
        ++progress_;
        // A program that ended badly (a sanitizer's report, a signal) fails
        // the run even when it handed the monkey back first.
        if (process && process->Wait(30000) && process->ExitCode() != 0) {
            if (child->Reported()) step_ = std::max<int>(step_.load(), static_cast<int>(child->Next()));
            Fail("the started program ended with exit code " + std::to_string(process->ExitCode()) +
                 (child->Reported() ? "" : ", without handing the monkey back"));
            return Finish(1);
        }
        if (!child->Claimed()) return true;  // it ended without a window: the monkey stays here
        if (!child->Reported()) {
            Fail("the started program ended without handing the monkey back (it crashed or was killed)");
            return Finish(1);
        }
        if (child->Status() == "fail") {
            step_ = static_cast<int>(child->Next());
            Fail("in the started program: " + child->Message());
            return Finish(1);
        }
        Remember("the started program ended after step " + std::to_string(child->Next()));
        folder_.Resync();  // its monkey changed the documents and checked them meanwhile
        ++programs_;
        stepsInPrograms_ += std::max(0, static_cast<int>(child->Next()) - step_.load());
        step_ = std::max<int>(step_.load(), static_cast<int>(child->Next()));
        if (child->Clock() > wince::Clock::Now()) WaitFor(child->Clock() - wince::Clock::Now());
        return true;
    }

    bool Step() {
        if (finished_) return false;
        if (child_) return StepWithChild();
        ++progress_;
        if (waiting_) {
            auto due = wince::NextTimerDue();
            if (due && *due <= waitUntil_ && *due > wince::Clock::Now()) {
                wince::Clock::AdvanceTo(*due);
                return true;
            }
            wince::Clock::AdvanceTo(waitUntil_);
            waiting_ = false;
            if (liftAfterWait_) Stylus(Input::kStylusUp, liftAt_);
            liftAfterWait_ = false;
            return true;
        }
        if (step_ > 0 && !Check()) return Finish(1);
        if (step_ >= options_.events) return Finish(0);
        ++step_;
        Remember(Act());
        return true;
    }

    bool Finish(int status) {
        finished_ = true;
        if (status == 0)
            printf("monkey: seed %llu, %d events, every check passed; %d of them in %d started programs\n",
                   static_cast<unsigned long long>(options_.seed), step_.load(), stepsInPrograms_, programs_);
        PostQuitMessage(status);
        return true;
    }

    void Remember(std::string what) {
        WINCE_DEBUG("monkey", "step %d: %s", step_.load(), what.c_str());
        recent_.push_back("step " + std::to_string(step_.load()) + ": " + what);
        if (recent_.size() > 8) recent_.pop_front();
    }

    bool Fail(const std::string &what) {
        failed_ = true;
        fprintf(stderr, "monkey: FAILED at step %d of seed %llu: %s\n", step_.load(),
                static_cast<unsigned long long>(options_.seed), what.c_str());
        for (const std::string &line : recent_) fprintf(stderr, "  %s\n", line.c_str());
        fprintf(stderr, "replay: pelloran-sim monkey --seed %llu --events %d --profile %s\n",
                static_cast<unsigned long long>(options_.seed), step_.load(), options_.profile.c_str());
        return false;
    }

    bool Check() {
        if (!IsWindow(today_.Window())) return Fail("the Today screen's window is gone");
        SendMessageW(today_.Window(), WM_NULL, 0, 0);
        for (const TodayItemSlot &slot : today_.Items())
            if (slot.module && !IsWindow(slot.window)) return Fail("the item window of " + wince::ToUtf8(slot.name) + " is gone");
        folder_.FollowTrace();
        if (std::string missing = folder_.Missing(); !missing.empty())
            return Fail("the document " + missing + " is gone, and the monkey did not delete it");
        std::ifstream in(registry_, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        if (!in) return Fail("the registry file cannot be read");
        auto parsed = wince::registry::ParseRegText(bytes.str());
        if (!parsed.damagedLines.empty())
            return Fail("the registry file is damaged at line " + std::to_string(parsed.damagedLines.front()));
        return true;
    }

    static void Stylus(Input::Kind kind, POINT p) { wince::PostInputEvent(Input{kind, p}); }

    int Below(int n) { return n > 0 ? static_cast<int>(random_() % static_cast<uint64_t>(n)) : 0; }

    // Most taps land on the item, where the product is.
    POINT SomePoint() {
        RECT area;
        GetWindowRect(today_.Window(), &area);
        for (const TodayItemSlot &slot : today_.Items())
            if (slot.module && IsWindow(slot.window) && Below(4) != 0) GetWindowRect(slot.window, &area);
        if (Below(5) == 0) area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return POINT{area.left + Below(std::max<int>(1, area.right - area.left)),
                     area.top + Below(std::max<int>(1, area.bottom - area.top))};
    }

    void WaitFor(uint64_t ms) {
        waiting_ = true;
        waitUntil_ = wince::Clock::Now() + ms;
    }

    static std::string At(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

    std::string Act() {
        // An open menu or dialog is mostly answered, so that what it leads
        // to (the rename dialog, the delete question) is reached too.
        std::vector<POINT> choices = Choices();
        if (!choices.empty() && Below(10) < 6) {
            POINT p = choices[Below(static_cast<int>(choices.size()))];
            Stylus(Input::kStylusDown, p), Stylus(Input::kStylusUp, p);
            return "choose at " + At(p);
        }
        int roll = Below(100);
        if (roll < 30) {
            POINT p = SomePoint();
            Stylus(Input::kStylusDown, p), Stylus(Input::kStylusUp, p);
            return "tap " + At(p);
        }
        if (roll < 38) {
            POINT p = SomePoint();
            Stylus(Input::kStylusDown, p);
            int holdMs = wince::Device::Current().Profile().GetInt("shell.hold_ms", 500);
            WaitFor(static_cast<uint64_t>(std::max(holdMs, 0)) + 100);
            liftAfterWait_ = true;
            liftAt_ = p;
            return "hold " + At(p);
        }
        if (roll < 44) {
            POINT p = SomePoint();
            std::string what = "drag " + At(p);
            Stylus(Input::kStylusDown, p);
            for (int i = Below(5) + 1; i > 0; --i) {
                p.x += Below(61) - 30, p.y += Below(61) - 30;
                Stylus(Input::kStylusMove, p);
            }
            Stylus(Input::kStylusUp, p);
            return what + " to " + At(p);
        }
        if (roll < 58) {
            UINT key = kKeys[Below(std::size(kKeys))];
            wince::PostInputEvent(Input{Input::kKeyDown, {}, key});
            wince::PostInputEvent(Input{Input::kKeyUp, {}, key});
            return "key " + std::to_string(key);
        }
        if (roll < 64) {
            const char16_t *text = kTexts[Below(std::size(kTexts))];
            for (const char16_t *c = text; *c; ++c) wince::PostInputEvent(Input{Input::kChar, {}, *c});
            return "type " + wince::ToUtf8(text);
        }
        if (roll < 66) return wince::RotateScreen() ? "turn the screen" : "could not turn the screen";
        if (roll < 78) {
            int ms = 100 + Below(2500);
            WaitFor(static_cast<uint64_t>(ms));
            return "wait " + std::to_string(ms);
        }
        return folder_.Change(random_);
    }

    MonkeyOptions options_;
    std::mt19937_64 random_;
    TodayScreen &today_;
    wince::MonkeyFolder &folder_;
    fs::path registry_;
    std::atomic<int> step_{0};
    bool waiting_ = false, liftAfterWait_ = false, finished_ = false, failed_ = false;
    uint64_t waitUntil_ = 0;
    POINT liftAt_{};
    std::deque<std::string> recent_;
    std::atomic<int> progress_{0};
    std::atomic<bool> stop_{false};
    std::thread watchdog_;
    std::unique_ptr<wince::ChildLink> child_;
    std::shared_ptr<wince::ProcessObject> childProcess_;
    int programs_ = 0, stepsInPrograms_ = 0;
};

}  // namespace

int RunMonkey(MonkeyOptions options) {
    if (!options.seedGiven) options.seed = std::random_device{}();
    printf("monkey: seed %llu, %d events, profile %s\n", static_cast<unsigned long long>(options.seed),
           options.events, options.profile.c_str());
    fflush(stdout);
    // A scratch device: the monkey deletes and renames documents.
    std::string pattern = (fs::temp_directory_path() / "pelloran-monkey-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        fprintf(stderr, "monkey: cannot make a scratch device\n");
        return 1;
    }
    fs::path root = pattern;
    std::string error;
    if (!InitializeDevice(root, options.profile, false, error)) {
        fprintf(stderr, "monkey: %s\n", error.c_str());
        fs::remove_all(root);
        return 1;
    }
    // The options program takes the monkey when the item starts it; any
    // other program (the help viewer) would run on without anyone to drive
    // it, so the device keeps none of those.
    std::error_code ec;
    const fs::path optionsProgram = wince::Device::Current().FileSystemRoot() / "Program Files" / "Pelloran" / "PelloranOptions.exe";
    std::vector<fs::path> programs;
    for (auto it = fs::recursive_directory_iterator(wince::Device::Current().FileSystemRoot(), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::string extension = it->path().extension().string();
        for (char &c : extension) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (extension == ".exe" && it->path() != optionsProgram) programs.push_back(it->path());
    }
    for (const fs::path &program : programs) fs::remove(program, ec);
    fs::path trace = root / "monkey-trace.jsonl";
    setenv("WINCE_TRACE", trace.c_str(), 1);
    wince::FrontEndRequest request;
    request.choice = wince::FrontEndRequest::kHeadless;
    request.interactive = false;
    if (!wince::StartFrontEnd(request, nullptr, &error)) {
        fprintf(stderr, "monkey: %s\n", error.c_str());
        return 1;
    }
    wince::MonkeyFolder folder(wince::Device::Current().FileSystemRoot() / "My Documents", trace);
    bool failed = false;
    {
        TodayScreen today(TodayScreen::Options{});
        if (!today.Create()) {
            fprintf(stderr, "monkey: cannot create the Today screen\n");
            return 1;
        }
        Monkey monkey(options, today, folder, root / "registry.reg");
        monkey.Start();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        failed = monkey.Failed();
    }
    wince::SetIdleDriver(nullptr);
    wince::StopFrontEnd();
    if (failed || options.keepDevice)
        fprintf(stderr, "monkey: the device is kept in %s\n", root.c_str());
    else
        fs::remove_all(root, ec);
    return failed ? 1 : 0;
}
