#include "ScriptRunner.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>

#include "ScriptTargets.h"
#include "core/unicode.h"
#include "device/device.h"
#include "gdi/surface.h"
#include "window/dump.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/timers.h"
#include "window/window.h"

namespace {

struct KeyName {
    const char *name;
    UINT vk;
};

const KeyName kKeys[] = {{"left", VK_LEFT},     {"right", VK_RIGHT},   {"up", VK_UP},       {"down", VK_DOWN},
                         {"action", VK_RETURN}, {"enter", VK_RETURN},  {"escape", VK_ESCAPE}, {"tab", VK_TAB},
                         {"backspace", VK_BACK}};

bool ParseInt(const std::string &text, int &value) {
    char *end = nullptr;
    long v = strtol(text.c_str(), &end, 10);
    if (text.empty() || *end) return false;
    value = static_cast<int>(v);
    return true;
}

constexpr uint64_t kHoldMargin = 100;

void Stylus(wince::InputEvent::Kind kind, int x, int y) { wince::PostInputEvent(wince::InputEvent{kind, POINT{x, y}}); }

}  // namespace

bool SaveScreenshot(const std::string &path, std::string &error) {
    wince::ComposeScreen();
    return wince::WritePng(*wince::ScreenSurface(), path, &error);
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

void ScriptRunner::Start() {
    wince::SetIdleDriver([this] { return Step(); });
}

bool ScriptRunner::Fail(const Line &line, const std::string &message) {
    failed_ = true;
    error_ = name_ + ":" + std::to_string(line.number) + ": " + message;
    finished_ = true;
    PostQuitMessage(1);
    return true;
}

// Called whenever every loop is idle: moves the virtual clock through a
// wait, timer by timer, or carries out the next line.
bool ScriptRunner::Step() {
    if (finished_) return false;
    if (waiting_) {
        auto due = wince::NextTimerDue();
        if (due && *due <= waitUntil_ && *due > wince::Clock::Now()) {
            wince::Clock::AdvanceTo(*due);
            return true;
        }
        wince::Clock::AdvanceTo(waitUntil_);
        waiting_ = false;
        if (liftAfterWait_) {
            liftAfterWait_ = false;
            Stylus(wince::InputEvent::kStylusUp, liftAt_.x, liftAt_.y);
        }
        return true;
    }
    if (next_ >= lines_.size()) {
        finished_ = true;
        PostQuitMessage(0);
        return true;
    }
    const Line &line = lines_[next_++];
    return Execute(line);
}

bool ScriptRunner::Execute(const Line &line) {
    const std::string &c = line.command;
    if (c == "wait") {
        int ms;
        if (line.args.size() != 1 || !ParseInt(line.args[0], ms) || ms < 0) return Fail(line, "usage: wait MS");
        waiting_ = true;
        waitUntil_ = wince::Clock::Now() + ms;
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
            wince::PostInputEvent(wince::InputEvent{wince::InputEvent::kKeyDown, {}, k.vk});
            wince::PostInputEvent(wince::InputEvent{wince::InputEvent::kKeyUp, {}, k.vk});
            return true;
        }
        return Fail(line, "unknown key '" + line.args[0] + "'");
    }
    if (c == "tap" || c == "down" || c == "move" || c == "up") {
        int x, y;
        if (line.args.size() != 2 || !ParseInt(line.args[0], x) || !ParseInt(line.args[1], y))
            return Fail(line, "usage: " + c + " X Y");
        using E = wince::InputEvent;
        if (c == "tap" || c == "down") Stylus(E::kStylusDown, x, y);
        if (c == "move") Stylus(E::kStylusMove, x, y);
        if (c == "tap" || c == "up") Stylus(E::kStylusUp, x, y);
        return true;
    }
    if (c == "hold") {
        int x, y;
        if (line.args.size() != 2 || !ParseInt(line.args[0], x) || !ParseInt(line.args[1], y))
            return Fail(line, "usage: hold X Y");
        Stylus(wince::InputEvent::kStylusDown, x, y);
        // Held a little past the device's hold time, then lifted.
        int holdMs = wince::Device::Current().Profile().GetInt("shell.hold_ms", 500);
        waiting_ = true;
        waitUntil_ = wince::Clock::Now() + static_cast<uint64_t>(holdMs > 0 ? holdMs : 0) + kHoldMargin;
        liftAfterWait_ = true;
        liftAt_ = POINT{x, y};
        return true;
    }
    if (c == "type") {
        if (line.rest.empty()) return Fail(line, "usage: type TEXT");
        for (char16_t ch : wince::FromUtf8(line.rest))
            wince::PostInputEvent(wince::InputEvent{wince::InputEvent::kChar, {}, static_cast<UINT>(ch)});
        return true;
    }
    if (c == "click") {
        if (line.rest.empty()) return Fail(line, "usage: click TEXT");
        std::vector<ClickTarget> targets = FindClickTargets(wince::FromUtf8(line.rest));
        if (targets.empty()) return Fail(line, "nothing named \"" + line.rest + "\" can be clicked now");
        if (targets.size() > 1) {
            std::string kinds;
            for (const ClickTarget &t : targets) kinds += (kinds.empty() ? "" : ", ") + t.kind;
            return Fail(line, std::to_string(targets.size()) + " things named \"" + line.rest + "\" can be clicked (" +
                                  kinds + ")");
        }
        Stylus(wince::InputEvent::kStylusDown, targets[0].center.x, targets[0].center.y);
        Stylus(wince::InputEvent::kStylusUp, targets[0].center.x, targets[0].center.y);
        return true;
    }
    if (c == "dump") {
        if (line.args.size() != 1) return Fail(line, "usage: dump FILE.json");
        std::string error;
        if (!wince::WriteWindowDump(line.args[0], &error)) return Fail(line, "dump: " + error);
        return true;
    }
    return Fail(line, "'" + c + "' is not a command");
}
