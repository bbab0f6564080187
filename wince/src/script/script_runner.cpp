#include "script_runner.h"

#include <windows.h>

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "click_targets.h"
#include "handover.h"
#include "core/unicode.h"
#include "device/device.h"
#include "gdi/surface.h"
#include "window/dump.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/timers.h"
#include "window/window.h"

namespace wince {
namespace {

ScriptRunner *active = nullptr;

struct KeyName {
    const char *name;
    UINT vk;
};

const KeyName kKeys[] = {{"left", VK_LEFT},     {"right", VK_RIGHT},   {"up", VK_UP},       {"down", VK_DOWN},
                         {"action", VK_RETURN}, {"enter", VK_RETURN},  {"escape", VK_ESCAPE}, {"tab", VK_TAB},
                         {"backspace", VK_BACK}};

// A whole decimal number that fits: no sign games, no trailing bytes (a NUL
// in the line is a byte like any other), no wrap-around.
enum class Number { kOk, kNotNumber, kTooLarge };

Number ParseNumber(const std::string &text, int64_t largest, int64_t &value) {
    size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (i == text.size()) return Number::kNotNumber;
    int64_t v = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return Number::kNotNumber;
        if (v > (largest - (text[i] - '0')) / 10) tooLarge = true;
        else v = v * 10 + (text[i] - '0');
    }
    if (tooLarge) return Number::kTooLarge;
    value = text[0] == '-' ? -v : v;
    return Number::kOk;
}

// A word of the script in a message, cut short when it is very long.
std::string Shown(const std::string &word) { return word.size() <= 24 ? word : word.substr(0, 20) + "..."; }

constexpr uint64_t kHoldMargin = 100;
// A wait's milliseconds fit GetTickCount's signed differences; a coordinate
// fits any screen the device can have.
constexpr int64_t kLongestWait = 0x7FFFFFFF;
constexpr int64_t kLargestCoordinate = 0x7FFFFFFF;

void Stylus(InputEvent::Kind kind, int x, int y) { PostInputEvent(InputEvent{kind, POINT{x, y}}); }

}  // namespace

bool SaveScreenshot(const std::string &path, std::string &error) {
    ComposeScreen();
    std::shared_ptr<Surface> screen = ScreenSurface();
    if (!screen) {
        error = "the screen could not be made";
        return false;
    }
    return WritePng(*screen, path, &error);
}

ScriptRunner::ScriptRunner() = default;

ScriptRunner::~ScriptRunner() {
    EndProgramsBehind();
    if (active == this) active = nullptr;
}

void ScriptRunner::EndProgramsBehind() {
    for (auto &link : behind_) link->Terminate();
    behind_.clear();
}

ScriptRunner *ScriptRunner::Active() { return active; }

void ScriptRunner::SetSource(const std::string &file, const std::string &appended) {
    file_ = file;
    appended_ = appended;
}

bool ScriptRunner::Load(const std::string &text, const std::string &name, std::string &error) {
    name_ = name;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        size_t start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw[start] == '#') continue;
        Line line{number, "", {}, ""};
        std::istringstream words(raw.substr(start));
        words >> line.command;
        size_t after = raw.find(line.command, start) + line.command.size();
        line.rest = after < raw.size() ? raw.substr(raw.find_first_not_of(" \t", after) == std::string::npos
                                                        ? raw.size()
                                                        : raw.find_first_not_of(" \t", after))
                                       : "";
        for (std::string w; words >> w;) line.args.push_back(w);
        static const char *const known[] = {"tap", "down", "move", "up", "hold", "key", "type",
                                            "click", "wait", "screenshot", "dump"};
        bool ok = false;
        for (const char *k : known) ok = ok || line.command == k;
        if (!ok) {
            error = name + ":" + std::to_string(number) + ": unknown command '" + line.command + "'";
            return false;
        }
        lines_.push_back(line);
    }
    return true;
}

void ScriptRunner::Start(size_t next) {
    next_ = next;
    active = this;
    SetIdleDriver([this] { return Step(); });
}

void ScriptRunner::Waiting(std::unique_ptr<ChildLink> child) { child_ = std::move(child); }

void ScriptRunner::Finish(int status) {
    finished_ = true;
    EndProgramsBehind();
    PostQuitMessage(status);
}

void ScriptRunner::FailWith(const std::string &message) {
    failed_ = true;
    error_ = message;
    Finish(1);
}

bool ScriptRunner::Fail(const Line &line, const std::string &message) {
    FailWith(name_ + ":" + std::to_string(line.number) + ": " + message);
    return true;
}

void ScriptRunner::ReportToParent() {
    // A program behind the Today screen said where the script went on.
    if (reportFd_ < 0 || handedBack_) return;
    const char *status = failed_ ? "fail" : finished_ ? "end" : "ok";
    ReportLine(reportFd_, "stop " + std::to_string(next_) + " " + std::to_string(Clock::Now()) + " " + status + " " +
                              error_);
    close(reportFd_);
    reportFd_ = -1;
}

void ScriptRunner::WentBehind() {
    if (reportFd_ < 0 || finished_ || handedBack_ || child_) return;
    std::string line = "back " + std::to_string(next_) + " " + std::to_string(Clock::Now());
    for (auto &link : behind_)
        for (int pid : link->Programs()) line += " " + std::to_string(pid);
    ReportLine(reportFd_, line);
    // The descriptor stays open until this program ends, so that the
    // starting side still sees it end.
    handedBack_ = true;
    behind_.clear();  // the Today host ends them now
}

void ScriptRunner::ResumeAt(size_t next, uint64_t clock) {
    next_ = next < lines_.size() ? next : lines_.size();
    // Time went on in the program: here too, timer by timer.
    if (clock > Clock::Now()) {
        waiting_ = true;
        waitUntil_ = clock;
    }
}

bool ScriptRunner::TakeBack(std::unique_ptr<ChildLink> child) {
    size_t next = child->Next();
    uint64_t clock = child->Clock();
    behind_.push_back(std::move(child));
    if (reportFd_ >= 0) {
        // This program is behind the Today screen as well.
        next_ = next;
        if (clock > Clock::Now()) Clock::AdvanceTo(clock);
        WentBehind();
        return true;
    }
    if (endWithChild_) {
        // A Today screen of another run came to the front; this run has only the program.
        size_t at = next < lines_.size() ? next : lines_.size() - 1;
        FailWith(name_ + ":" + std::to_string(lines_.empty() ? 0 : lines_[at].number) +
                 ": the program went behind a Today screen that this run does not drive");
        return true;
    }
    ResumeAt(next, clock);
    if (next_ >= lines_.size()) Finish(0);
    return true;
}

// While a started program holds the script: nothing, until it has ended;
// then once more through the loop, so that what it sent this process (a
// reload request to the desktop) is handled before the next line.
bool ScriptRunner::StepWithChild() {
    // As at its end, the loop goes round once more before the next line: the
    // request that brought the Today screen to the front arrives on its own.
    if (child_->Behind()) return TakeBack(std::move(child_));
    if (!child_->Ended()) {
        if (!child_->TimedOut() || child_->Claimed()) return false;
        std::string where = name_ + ":" + std::to_string(next_ > 0 && next_ <= lines_.size() ? lines_[next_ - 1].number : 0);
        child_->Terminate();
        child_.reset();
        FailWith(where + ": the started program showed no window within " + std::to_string(ChildLink::ClaimSeconds()) +
                 " s");
        return true;
    }
    std::unique_ptr<ChildLink> child = std::move(child_);
    if (!child->Claimed()) {
        // It never showed a window: the script stays here.
        if (endWithChild_) {
            if (next_ < lines_.size()) FailWith(name_ + ":" + std::to_string(lines_[next_].number) +
                                                ": the program ended without showing a window");
            else Finish(0);
        }
        return true;
    }
    if (!child->Reported()) {
        FailWith(name_ + ": the started program ended without handing the script back");
        return true;
    }
    if (child->Status() == "fail") {
        FailWith(child->Message());
        return true;
    }
    next_ = child->Next() < lines_.size() ? child->Next() : lines_.size();
    if (child->Status() == "end" || next_ >= lines_.size()) {
        Finish(0);
        return true;
    }
    if (endWithChild_) {
        FailWith(name_ + ":" + std::to_string(lines_[next_].number) + ": the program has ended");
        return true;
    }
    ResumeAt(next_, child->Clock());
    return true;
}

// Called whenever every loop is idle: moves the virtual clock through a
// wait, timer by timer, or carries out the next line.
bool ScriptRunner::Step() {
    if (finished_ || handedBack_) return false;
    if (child_) return StepWithChild();
    if (waitForWindow_ && !claimed_) {
        if (!ProgramShowsAWindow()) return false;
        claimed_ = true;
        if (reportFd_ >= 0) ReportLine(reportFd_, "claim");
        return true;
    }
    if (waiting_) {
        if (!AdvanceWaitTowards(waitUntil_)) return true;
        waiting_ = false;
        if (liftAfterWait_) {
            liftAfterWait_ = false;
            Stylus(InputEvent::kStylusUp, liftAt_.x, liftAt_.y);
        }
        return true;
    }
    if (next_ >= lines_.size()) {
        Finish(0);
        return true;
    }
    const Line &line = lines_[next_++];
    return Execute(line);
}

// The X Y of a stylus line, in device pixels on the screen as it is now
// (turned or not); false after failing the line.
bool ScriptRunner::ParsePoint(const Line &line, POINT &at) {
    if (line.args.size() != 2) return !Fail(line, "usage: " + line.command + " X Y");
    int64_t xy[2];
    for (int i = 0; i < 2; ++i) {
        switch (ParseNumber(line.args[i], kLargestCoordinate, xy[i])) {
            case Number::kNotNumber: return !Fail(line, "usage: " + line.command + " X Y");
            case Number::kTooLarge: return !Fail(line, Shown(line.args[i]) + " is no coordinate on the screen");
            case Number::kOk: break;
        }
    }
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (xy[0] < 0 || xy[1] < 0 || xy[0] >= width || xy[1] >= height)
        return !Fail(line, "(" + line.args[0] + ", " + line.args[1] + ") is outside the screen (" + std::to_string(width) +
                               " x " + std::to_string(height) + ")");
    at = POINT{static_cast<LONG>(xy[0]), static_cast<LONG>(xy[1])};
    return true;
}

bool ScriptRunner::Execute(const Line &line) {
    const std::string &c = line.command;
    if (c == "wait") {
        if (line.args.size() != 1) return Fail(line, "usage: wait MS");
        int64_t ms = 0;
        switch (ParseNumber(line.args[0], kLongestWait, ms)) {
            case Number::kNotNumber: return Fail(line, "usage: wait MS");
            case Number::kTooLarge:
                return Fail(line, "wait " + Shown(line.args[0]) + ": at most " + std::to_string(kLongestWait) + " ms");
            case Number::kOk: break;
        }
        if (ms < 0) return Fail(line, "usage: wait MS");
        waiting_ = true;
        waitUntil_ = Clock::Now() + ms;
        return true;
    }
    if (c == "screenshot") {
        if (line.args.size() != 1) return Fail(line, "usage: screenshot FILE.png");
        std::string error;
        if (!SaveScreenshot(line.args[0], error)) return Fail(line, "screenshot: " + error);
        return true;
    }
    if (c == "key") {
        if (line.args.size() != 1) return Fail(line, "usage: key left|right|up|down|action|enter|escape|tab|backspace");
        for (const KeyName &k : kKeys) {
            if (line.args[0] != k.name) continue;
            PostInputEvent(InputEvent{InputEvent::kKeyDown, {}, k.vk});
            PostInputEvent(InputEvent{InputEvent::kKeyUp, {}, k.vk});
            return true;
        }
        return Fail(line, "unknown key '" + line.args[0] + "'");
    }
    if (c == "tap" || c == "down" || c == "move" || c == "up") {
        POINT at;
        if (!ParsePoint(line, at)) return true;
        int x = at.x, y = at.y;
        using E = InputEvent;
        if (c == "tap" || c == "down") Stylus(E::kStylusDown, x, y);
        if (c == "move") Stylus(E::kStylusMove, x, y);
        if (c == "tap" || c == "up") Stylus(E::kStylusUp, x, y);
        return true;
    }
    if (c == "hold") {
        POINT at;
        if (!ParsePoint(line, at)) return true;
        int x = at.x, y = at.y;
        Stylus(InputEvent::kStylusDown, x, y);
        // Held a little past the device's hold time, then lifted.
        int holdMs = Device::Current().Profile().GetInt("shell.hold_ms", 500);
        waiting_ = true;
        waitUntil_ = Clock::Now() + static_cast<uint64_t>(holdMs > 0 ? holdMs : 0) + kHoldMargin;
        liftAfterWait_ = true;
        liftAt_ = POINT{x, y};
        return true;
    }
    if (c == "type") {
        if (line.rest.empty()) return Fail(line, "usage: type TEXT");
        for (char16_t ch : FromUtf8(line.rest))
            PostInputEvent(InputEvent{InputEvent::kChar, {}, static_cast<UINT>(ch)});
        return true;
    }
    if (c == "click") {
        if (line.rest.empty()) return Fail(line, "usage: click TEXT");
        std::vector<ClickTarget> targets = FindClickTargets(FromUtf8(line.rest));
        if (targets.empty()) return Fail(line, "nothing named \"" + line.rest + "\" can be clicked now");
        if (targets.size() > 1) {
            std::string kinds;
            for (const ClickTarget &t : targets) kinds += (kinds.empty() ? "" : ", ") + t.kind;
            return Fail(line, std::to_string(targets.size()) + " things named \"" + line.rest + "\" can be clicked (" +
                                  kinds + ")");
        }
        Stylus(InputEvent::kStylusDown, targets[0].center.x, targets[0].center.y);
        Stylus(InputEvent::kStylusUp, targets[0].center.x, targets[0].center.y);
        return true;
    }
    if (c == "dump") {
        if (line.args.size() != 1) return Fail(line, "usage: dump FILE.json");
        std::string error;
        if (!WriteWindowDump(line.args[0], &error)) return Fail(line, "dump: " + error);
        return true;
    }
    return Fail(line, "'" + c + "' is not a command");
}

}  // namespace wince
