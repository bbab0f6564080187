// The device's screen surface.
#include <mutex>

#include "device/device.h"
#include "surface.h"

namespace wince {

namespace {

struct Screen {
    std::mutex lock;
    std::shared_ptr<Surface> surface;
    unsigned generation = 0;
};

Screen &TheScreen() {
    static Screen *screen = new Screen;
    return *screen;
}

std::shared_ptr<Surface> WhiteSurface(int width, int height) {
    std::shared_ptr<Surface> s = Surface::Create(width, height);
    if (s) s->Fill(RECT{0, 0, width, height}, RGB(255, 255, 255));
    return s;
}

}  // namespace

// Made on first use, and again when the process moves to another device.
std::shared_ptr<Surface> ScreenSurface() {
    Screen &s = TheScreen();
    unsigned generation = Device::Generation();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.surface || s.generation != generation) {
        const DeviceProfile &p = Device::Current().Profile();
        s.surface = WhiteSurface(p.width > 0 ? p.width : 240, p.height > 0 ? p.height : 320);
        s.generation = generation;
    }
    return s.surface;
}

void ResizeScreenSurface(int width, int height) {
    if (width <= 0 || height <= 0) return;
    Screen &s = TheScreen();
    unsigned generation = Device::Generation();
    std::lock_guard<std::mutex> guard(s.lock);
    s.surface = WhiteSurface(width, height);
    s.generation = generation;
}

}  // namespace wince
