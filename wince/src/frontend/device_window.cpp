#include "device_window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "input_map.h"

namespace wince::frontend {
namespace {

// Where the window opens: next to the window of the program that started
// this one, when there is such a window and room for this one beside it.
void OpeningPlace(int width, int height, int *x, int *y) {
    *x = *y = SDL_WINDOWPOS_UNDEFINED;
    const char *at = getenv("WINCE_WINDOW_AT");
    int px, py;
    if (!at || sscanf(at, "%d,%d", &px, &py) != 2) return;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 &&
        (px < usable.x || py < usable.y || px + width > usable.x + usable.w || py + height > usable.y + usable.h))
        return;
    *x = px;
    *y = py;
}

// The desktop the environment names; SDL_VIDEODRIVER, when set, chooses
// instead. False when there is no desktop at all.
bool ChooseVideoDriver(std::string *error) {
    const char *asked = getenv("SDL_VIDEODRIVER");
    if (asked && *asked) return true;
    const char *x11 = getenv("DISPLAY"), *wayland = getenv("WAYLAND_DISPLAY");
    bool hasX11 = x11 && *x11, hasWayland = wayland && *wayland;
    if (!hasX11 && !hasWayland) {
        if (error) *error = "cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are not set)";
        return false;
    }
    // Only the named desktop is tried, so that a display that cannot be
    // reached gives its own reason.
    if (hasX11 != hasWayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX11 ? "x11" : "wayland");
    return true;
}

}  // namespace

std::unique_ptr<DeviceWindow> DeviceWindow::Open(const std::string &title, int width, int height, int dpi, int zoom,
                                                 std::string *error) {
    if (width <= 0 || height <= 0 || zoom < 0) {
        if (error) *error = "the screen has no size";
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");  // a simulator is no film
    // The pixels go to the window as they are: no OpenGL to load and start
    // for a few hundred thousand pixels.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The close button is one request, not a window event and a quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");  // whole pixels, as the device shows them
    if (!ChooseVideoDriver(error)) return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        const char *display = getenv("DISPLAY");
        if (!display || !*display) display = getenv("WAYLAND_DISPLAY");
        if (error) *error = std::string("cannot open a window on display ") + (display ? display : "") + ": " + SDL_GetError();
        return nullptr;
    }
    // Without a desktop SDL falls back to windows nobody sees; those count
    // only when asked for by name.
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *asked = getenv("SDL_VIDEODRIVER");
    if (driver && (strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0) &&
        !(asked && strcmp(asked, driver) == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (error) *error = std::string("cannot open a window: no desktop for the ") + driver + " video driver";
        return nullptr;
    }
    if (zoom == 0) {
        SDL_Rect usable{};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{};
        zoom = DefaultZoom(dpi, width, height, StatusBarHeight(), usable.w, usable.h);
    }
    std::unique_ptr<DeviceWindow> w(new DeviceWindow);
    w->width_ = width;
    w->height_ = height;
    w->zoom_ = zoom;
    int x, y;
    OpeningPlace(width * zoom, height * zoom + StatusBarHeight(), &x, &y);
    w->window_ = SDL_CreateWindow(title.c_str(), x, y, width * zoom, height * zoom + StatusBarHeight(), SDL_WINDOW_SHOWN);
    if (!w->window_) {
        if (error) *error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    // The software renderer works on every display, Xvfb included; the
    // window is small enough that it costs nothing.
    w->renderer_ = SDL_CreateRenderer(w->window_, -1, SDL_RENDERER_SOFTWARE);
    if (!w->renderer_) w->renderer_ = SDL_CreateRenderer(w->window_, -1, 0);
    if (!w->renderer_) {
        if (error) *error = std::string("cannot draw into the window: ") + SDL_GetError();
        return nullptr;
    }
    if (!w->MakeTextures(error)) return nullptr;
    SDL_StartTextInput();
    return w;
}

DeviceWindow::~DeviceWindow() {
    if (status_) SDL_DestroyTexture(status_);
    if (screen_) SDL_DestroyTexture(screen_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    // SDL's video part stays up until the process ends: shutting it down
    // unloads the desktop's libraries and loses the caches they still hold.
}

bool DeviceWindow::MakeTextures(std::string *error) {
    if (screen_) SDL_DestroyTexture(screen_);
    if (status_) SDL_DestroyTexture(status_);
    screen_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    status_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, width_ * zoom_,
                                StatusBarHeight());
    if (!screen_ || !status_) {
        if (error) *error = std::string("cannot draw into the window: ") + SDL_GetError();
        return false;
    }
    return true;
}

void DeviceWindow::Resize(int width, int height) {
    if (width <= 0 || height <= 0 || (width == width_ && height == height_)) return;
    width_ = width;
    height_ = height;
    SDL_SetWindowSize(window_, width * zoom_, height * zoom_ + StatusBarHeight());
    std::string error;
    if (!MakeTextures(&error)) fprintf(stderr, "wince: %s\n", error.c_str());
}

void DeviceWindow::ShowScreen(const Surface &screen) {
    if (!screen_ || screen.Width() != width_ || screen.Height() != height_) return;
    SDL_UpdateTexture(screen_, nullptr, screen.Bits(), screen.Stride());
}

void DeviceWindow::ShowStatus(const StatusPixels &bar) {
    if (!status_ || bar.width != width_ * zoom_ || bar.height != StatusBarHeight()) return;
    SDL_UpdateTexture(status_, nullptr, bar.bits.data(), bar.stride);
}

void DeviceWindow::Present() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_Rect screen{0, 0, width_ * zoom_, height_ * zoom_};
    if (screen_) SDL_RenderCopy(renderer_, screen_, nullptr, &screen);
    SDL_Rect bar{0, height_ * zoom_, width_ * zoom_, StatusBarHeight()};
    if (status_) SDL_RenderCopy(renderer_, status_, nullptr, &bar);
    SDL_RenderPresent(renderer_);
}

void DeviceWindow::Raise() { SDL_RaiseWindow(window_); }

uint32_t DeviceWindow::Id() const { return SDL_GetWindowID(window_); }

bool DeviceWindow::BesideMe(int *x, int *y) const {
    int wx, wy, ww, wh;
    SDL_GetWindowPosition(window_, &wx, &wy);
    SDL_GetWindowSize(window_, &ww, &wh);
    *x = wx + ww + 16;
    *y = wy;
    return true;
}

}  // namespace wince::frontend
