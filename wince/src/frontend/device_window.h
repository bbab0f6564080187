// The desktop window that shows the device: its screen scaled by a whole
// factor, and the status bar below it. Output only; the front end reads
// the window's events itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gdi/surface.h"
#include "status_bar.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace wince::frontend {

class DeviceWindow {
   public:
    // Opens the window for a screen of width x height device pixels at the
    // zoom (0: chosen from the screen's dots per inch and the desktop's
    // size); nullptr with the reason in error when there is no desktop to
    // open it on (no display, no video driver).
    static std::unique_ptr<DeviceWindow> Open(const std::string &title, int width, int height, int dpi, int zoom,
                                              std::string *error);
    ~DeviceWindow();
    DeviceWindow(const DeviceWindow &) = delete;
    DeviceWindow &operator=(const DeviceWindow &) = delete;

    // The device's screen changed size (a rotation): the window follows.
    void Resize(int width, int height);
    void ShowScreen(const Surface &screen);
    void ShowStatus(const StatusPixels &bar);
    void Present();
    // Over the other windows of the desktop.
    void Raise();

    uint32_t Id() const;
    int Zoom() const { return zoom_; }
    int ScreenWidth() const { return width_; }
    int ScreenHeight() const { return height_; }
    // Where a second window of the device goes so that both are seen side by side.
    bool BesideMe(int *x, int *y) const;

   private:
    DeviceWindow() = default;
    bool MakeTextures(std::string *error);

    SDL_Window *window_ = nullptr;
    SDL_Renderer *renderer_ = nullptr;
    SDL_Texture *screen_ = nullptr;
    SDL_Texture *status_ = nullptr;
    int width_ = 0, height_ = 0, zoom_ = 1;
};

}  // namespace wince::frontend
