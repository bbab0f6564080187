#include "input_map.h"

#include <SDL_keycode.h>

#include <algorithm>
#include <string>

#include "core/unicode.h"

namespace wince::frontend {

KeyMapping MapKey(int32_t key) {
    switch (key) {
        case SDLK_LEFT: return {KeyMapping::kDeviceKey, VK_LEFT};
        case SDLK_RIGHT: return {KeyMapping::kDeviceKey, VK_RIGHT};
        case SDLK_UP: return {KeyMapping::kDeviceKey, VK_UP};
        case SDLK_DOWN: return {KeyMapping::kDeviceKey, VK_DOWN};
        // The action key of the navigation pad is the device's Enter.
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return {KeyMapping::kDeviceKey, VK_RETURN};
        case SDLK_ESCAPE: return {KeyMapping::kDeviceKey, VK_ESCAPE};
        case SDLK_TAB: return {KeyMapping::kDeviceKey, VK_TAB};
        case SDLK_BACKSPACE: return {KeyMapping::kDeviceKey, VK_BACK};
        case SDLK_DELETE: return {KeyMapping::kDeviceKey, VK_DELETE};
        case SDLK_HOME: return {KeyMapping::kDeviceKey, VK_HOME};
        case SDLK_END: return {KeyMapping::kDeviceKey, VK_END};
        case SDLK_PAGEUP: return {KeyMapping::kDeviceKey, VK_PRIOR};
        case SDLK_PAGEDOWN: return {KeyMapping::kDeviceKey, VK_NEXT};
        case SDLK_SPACE: return {KeyMapping::kDeviceKey, VK_SPACE};
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return {KeyMapping::kDeviceKey, VK_SHIFT};
        case SDLK_LCTRL:
        case SDLK_RCTRL: return {KeyMapping::kDeviceKey, VK_CONTROL};
        case SDLK_F1: return {KeyMapping::kHelp, 0};
        case SDLK_F5: return {KeyMapping::kRotate, 0};
        case SDLK_F12: return {KeyMapping::kScreenshot, 0};
    }
    return {};
}

bool WindowToScreen(int x, int y, int zoom, int width, int height, bool clamp, POINT *out) {
    if (zoom < 1 || width < 1 || height < 1 || !out) return false;
    // Floor division, so that the pixels left of or above the screen stay outside.
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    int sx = floorDiv(x, zoom), sy = floorDiv(y, zoom);
    bool inside = sx >= 0 && sy >= 0 && sx < width && sy < height;
    if (!inside && !clamp) return false;
    out->x = std::clamp(sx, 0, width - 1);
    out->y = std::clamp(sy, 0, height - 1);
    return true;
}

int DefaultZoom(int dpi, int width, int height, int statusHeight, int maxWidth, int maxHeight) {
    if (dpi <= 0) dpi = 96;
    // A desktop monitor shows about 96 pixels an inch; a device screen
    // viewed at hand's length looks best near twice that.
    int zoom = std::max(1, (192 + dpi / 2) / dpi);
    if (maxWidth > 0 && maxHeight > 0)
        while (zoom > 1 && (width * zoom > maxWidth || height * zoom + statusHeight > maxHeight)) --zoom;
    return zoom;
}

std::u16string TypedCharacters(const char *utf8) {
    std::u16string text = utf8 ? FromUtf8(utf8) : std::u16string();
    text.erase(std::remove(text.begin(), text.end(), u' '), text.end());
    return text;
}

}  // namespace wince::frontend
