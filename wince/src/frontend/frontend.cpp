#include "frontend.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "device/device.h"
#include "device_window.h"
#include "gdi/surface.h"
#include "input_map.h"
#include "shell/shell_bars.h"
#include "status_bar.h"
#include "trace/trace.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/screen_size.h"
#include "window/window.h"

namespace wince {
namespace {

using Steady = std::chrono::steady_clock;
using frontend::DeviceWindow;

constexpr int kLargestZoom = 16;
// How long a loop may sleep while the window is open: the window's events
// do not wake it, so it looks at them this often.
constexpr int kListenMs = 10;
// The window is redrawn at most this often, however fast a script runs.
constexpr auto kFrameTime = std::chrono::milliseconds(15);
// Something other than a paint may have composed the screen (a script's
// screenshot): the window looks for such a change this often.
constexpr auto kRecheckTime = std::chrono::milliseconds(250);

struct WindowFrontEnd {
    std::unique_ptr<DeviceWindow> window;
    bool stylusDown = false;
    POINT stylusAt{};
    bool rotate = false;
    bool help = false;
    bool quitPosted = false;
    bool exposed = true;
    std::vector<uint8_t> shownFrame;
    Steady::time_point lastCompose{}, lastCheck{};
    bool statusShown = false;
    std::string shownStatus;
    // The front end's own message (a screenshot saved), shown until the
    // next traced action.
    std::string note, noteOver;
};

WindowFrontEnd *active = nullptr;
FrontEnd current = FrontEnd::kHeadless;

void Post(InputEvent::Kind kind, POINT at = {}, UINT key = 0) { PostInputEvent(InputEvent{kind, at, key}); }

void PublishPlace() {
    int x, y;
    if (active && active->window->BesideMe(&x, &y))
        setenv("WINCE_WINDOW_AT", (std::to_string(x) + "," + std::to_string(y)).c_str(), 1);
}

void SaveScreenshot(WindowFrontEnd &fe) {
    namespace fs = std::filesystem;
    fs::path folder = Device::Current().Root();
    fs::path file;
    for (int n = 1; n < 10000; ++n) {
        file = folder / ("screenshot-" + std::to_string(n) + ".png");
        if (!fs::exists(file)) break;
    }
    ComposeScreen();
    std::string error;
    if (auto screen = ScreenSurface(); screen && WritePng(*screen, file.string(), &error)) fe.note = "saved the screen as " + file.string();
    else fe.note = "cannot save the screen: " + error;
    fe.noteOver = LastTracedAction();
}

void LiftStylus(WindowFrontEnd &fe) {
    if (!fe.stylusDown) return;
    fe.stylusDown = false;
    Post(InputEvent::kStylusUp, fe.stylusAt);
}

void OnMouse(WindowFrontEnd &fe, const SDL_Event &e) {
    const DeviceWindow &w = *fe.window;
    POINT at;
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT || fe.stylusDown) return;
            if (!frontend::WindowToScreen(e.button.x, e.button.y, w.Zoom(), w.ScreenWidth(), w.ScreenHeight(), false, &at))
                return;  // on the status bar
            fe.stylusDown = true;
            fe.stylusAt = at;
            Post(InputEvent::kStylusDown, at);
            return;
        case SDL_MOUSEMOTION:
            if (!fe.stylusDown) return;  // the stylus only moves while it touches the screen
            frontend::WindowToScreen(e.motion.x, e.motion.y, w.Zoom(), w.ScreenWidth(), w.ScreenHeight(), true, &at);
            if (at.x == fe.stylusAt.x && at.y == fe.stylusAt.y) return;
            fe.stylusAt = at;
            Post(InputEvent::kStylusMove, at);
            return;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT || !fe.stylusDown) return;
            frontend::WindowToScreen(e.button.x, e.button.y, w.Zoom(), w.ScreenWidth(), w.ScreenHeight(), true, &at);
            fe.stylusAt = at;
            LiftStylus(fe);
            return;
    }
}

void OnKey(WindowFrontEnd &fe, const SDL_KeyboardEvent &key, bool down) {
    frontend::KeyMapping m = frontend::MapKey(key.keysym.sym);
    switch (m.kind) {
        case frontend::KeyMapping::kDeviceKey:
            Post(down ? InputEvent::kKeyDown : InputEvent::kKeyUp, {}, m.vk);
            return;
        case frontend::KeyMapping::kRotate:
            if (down && !key.repeat) fe.rotate = true;
            return;
        case frontend::KeyMapping::kScreenshot:
            if (down && !key.repeat) SaveScreenshot(fe);
            return;
        case frontend::KeyMapping::kHelp:
            if (down && !key.repeat) fe.help = true;
            return;
        case frontend::KeyMapping::kNone:
            return;
    }
}

// Closing the window ends the program, the way its own quit would; asked
// twice (the program is stuck), it ends at once.
void OnClose(WindowFrontEnd &fe) {
    if (fe.quitPosted) {
        fflush(nullptr);
        _exit(0);
    }
    fe.quitPosted = true;
    PostQuitMessage(0);
}

void OnEvent(WindowFrontEnd &fe, const SDL_Event &e) {
    switch (e.type) {
        case SDL_QUIT:
            OnClose(fe);
            return;
        case SDL_WINDOWEVENT:
            if (e.window.windowID != fe.window->Id()) return;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: OnClose(fe); return;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED: fe.exposed = true; return;
                case SDL_WINDOWEVENT_FOCUS_LOST: LiftStylus(fe); return;
                case SDL_WINDOWEVENT_MOVED: PublishPlace(); return;
            }
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEMOTION:
            OnMouse(fe, e);
            return;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(fe, e.key, e.type == SDL_KEYDOWN);
            return;
        case SDL_TEXTINPUT:
            for (char16_t c : frontend::TypedCharacters(e.text.text)) Post(InputEvent::kChar, {}, c);
            return;
    }
}

std::string StatusText(const WindowFrontEnd &fe) {
    std::string traced = LastTracedAction();
    std::string text = !fe.note.empty() && traced == fe.noteOver ? fe.note : traced;
    // One line: a message box's text may have line breaks.
    for (char &c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return text;
}

// Shows what changed since the last look: the composed screen, the status
// bar, or the whole window after the desktop uncovered it.
void Refresh(WindowFrontEnd &fe) {
    DeviceWindow &w = *fe.window;
    std::shared_ptr<Surface> screen = ScreenSurface();
    if (!screen) return;
    bool changed = false;
    if (screen->Width() != w.ScreenWidth() || screen->Height() != w.ScreenHeight()) {
        w.Resize(screen->Width(), screen->Height());
        fe.shownFrame.clear();
        fe.statusShown = false;
        PublishPlace();
    }
    Steady::time_point now = Steady::now();
    bool dirty = ScreenDirty();
    if ((dirty || now - fe.lastCheck >= kRecheckTime) && now - fe.lastCompose >= kFrameTime) {
        if (dirty) {
            ComposeScreen();
            fe.lastCompose = now;
        }
        fe.lastCheck = now;
        size_t bytes = static_cast<size_t>(screen->Stride()) * screen->Height();
        if (fe.shownFrame.size() != bytes || memcmp(fe.shownFrame.data(), screen->Bits(), bytes) != 0) {
            fe.shownFrame.assign(screen->Bits(), screen->Bits() + bytes);
            w.ShowScreen(*screen);
            changed = true;
        }
    }
    std::string status = StatusText(fe);
    if (!fe.statusShown || status != fe.shownStatus) {
        w.ShowStatus(frontend::DrawStatusBar(status, w.ScreenWidth() * w.Zoom()));
        fe.shownStatus = status;
        fe.statusShown = true;
        changed = true;
    }
    if (changed || fe.exposed) {
        w.Present();
        fe.exposed = false;
    }
}

// Runs whenever a loop of the program has nothing to do.
int Tick() {
    WindowFrontEnd *fe = active;
    if (!fe) return -1;
    SDL_Event e;
    while (SDL_PollEvent(&e)) OnEvent(*fe, e);
    if (fe->rotate) {
        fe->rotate = false;
        LiftStylus(*fe);
        RotateScreen();
    }
    if (fe->help) {
        fe->help = false;
        shell::ShowHelp();
    }
    Refresh(*fe);
    return kListenMs;
}

int ZoomFromEnvironment() {
    const char *text = getenv("WINCE_ZOOM");
    if (!text || !*text) return 0;
    char *end = nullptr;
    long zoom = strtol(text, &end, 10);
    return (*end == 0 && zoom >= 1 && zoom <= kLargestZoom) ? static_cast<int>(zoom) : 0;
}

bool WindowAskedByEnvironment(bool *asked) {
    const char *text = getenv("WINCE_FRONTEND");
    if (!text || !*text) return false;
    *asked = strcmp(text, "window") == 0;
    return strcmp(text, "window") == 0 || strcmp(text, "headless") == 0;
}

std::string ProgramTitle() {
    const char *program = getenv("WINCE_PROGRAM");
    std::string name = program && *program ? program : program_invocation_short_name;
    size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// A program that does not choose its front end itself gets the one the
// environment names, at the first moment it waits for input.
int StartFromEnvironment() {
    SetFrontEndHook(nullptr);
    bool window = false;
    if (!WindowAskedByEnvironment(&window) || !window) return -1;
    FrontEndRequest request;
    request.choice = FrontEndRequest::kWindow;
    const char *script = getenv("WINCE_SCRIPT");
    const char *appended = getenv("WINCE_SCRIPT_APPENDED");
    request.interactive = (!script || !*script) && (!appended || !*appended);
    request.title = ProgramTitle();
    FrontEnd mode;
    std::string error;
    if (!StartFrontEnd(request, &mode, &error)) fprintf(stderr, "wince: %s\n", error.c_str());
    return 0;
}

[[maybe_unused]] const bool startsFromEnvironment = (SetFrontEndHook(StartFromEnvironment), true);

}  // namespace

bool DisplayPresent() {
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = getenv(name);
        if (value && *value) return true;
    }
    return false;
}

bool StartFrontEnd(const FrontEndRequest &request, FrontEnd *out, std::string *error) {
    StopFrontEnd();
    bool window = request.choice == FrontEndRequest::kWindow;
    if (request.choice == FrontEndRequest::kAuto && !WindowAskedByEnvironment(&window)) window = DisplayPresent();
    FrontEnd mode = FrontEnd::kHeadless;
    bool ok = true;
    if (window) {
        int zoom = request.zoom > 0 ? std::min(request.zoom, kLargestZoom) : ZoomFromEnvironment();
        const DeviceProfile &p = Device::Current().Profile();
        std::string reason;
        auto fe = std::make_unique<WindowFrontEnd>();
        fe->window = DeviceWindow::Open(request.title.empty() ? ProgramTitle() : request.title, p.width, p.height,
                                        p.dpiX, zoom, &reason);
        if (fe->window) {
            mode = FrontEnd::kWindow;
            active = fe.release();
            if (request.interactive) Clock::UseRealTime(true);
            SetFrontEndHook(Tick);
            setenv("WINCE_ZOOM", std::to_string(active->window->Zoom()).c_str(), 1);
            PublishPlace();
            MarkScreenDirty();
        } else {
            if (error) *error = reason;
            ok = request.choice != FrontEndRequest::kWindow;
        }
    }
    if (mode == FrontEnd::kHeadless) SetFrontEndHook(nullptr);
    current = mode;
    // The programs this one starts show themselves the same way.
    setenv("WINCE_FRONTEND", mode == FrontEnd::kWindow ? "window" : "headless", 1);
    if (out) *out = mode;
    return ok;
}

void StopFrontEnd() {
    if (!active) return;
    SetFrontEndHook(nullptr);
    delete active;
    active = nullptr;
    current = FrontEnd::kHeadless;
}

FrontEnd CurrentFrontEnd() { return current; }

int FrontEndZoom() { return active ? active->window->Zoom() : 0; }

void RaiseFrontEnd() {
    if (active) active->window->Raise();
}

}  // namespace wince
