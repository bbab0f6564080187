// How the desktop's keys, mouse and screen map onto the device.
#include "frontend/input_map.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

namespace {

using wince::frontend::KeyMapping;

TEST(FrontEndInput, DesktopKeysAreTheDeviceKeysOrTheFrontEndsOwn) {
    const struct {
        SDL_Keycode key;
        KeyMapping::Kind kind;
        UINT vk;
    } rows[] = {
        {SDLK_LEFT, KeyMapping::kDeviceKey, VK_LEFT},        {SDLK_RIGHT, KeyMapping::kDeviceKey, VK_RIGHT},
        {SDLK_UP, KeyMapping::kDeviceKey, VK_UP},            {SDLK_DOWN, KeyMapping::kDeviceKey, VK_DOWN},
        {SDLK_RETURN, KeyMapping::kDeviceKey, VK_RETURN},    {SDLK_KP_ENTER, KeyMapping::kDeviceKey, VK_RETURN},
        {SDLK_ESCAPE, KeyMapping::kDeviceKey, VK_ESCAPE},    {SDLK_TAB, KeyMapping::kDeviceKey, VK_TAB},
        {SDLK_BACKSPACE, KeyMapping::kDeviceKey, VK_BACK},   {SDLK_DELETE, KeyMapping::kDeviceKey, VK_DELETE},
        {SDLK_SPACE, KeyMapping::kDeviceKey, VK_SPACE},      {SDLK_LSHIFT, KeyMapping::kDeviceKey, VK_SHIFT},
        {SDLK_F5, KeyMapping::kRotate, 0},                   {SDLK_F12, KeyMapping::kScreenshot, 0},
        {SDLK_F1, KeyMapping::kHelp, 0},
        // Characters arrive as typed text, never as keys: no letter is sent twice.
        {SDLK_a, KeyMapping::kNone, 0},                      {SDLK_1, KeyMapping::kNone, 0},
        {SDLK_PERIOD, KeyMapping::kNone, 0},                 {SDLK_F2, KeyMapping::kNone, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        KeyMapping m = wince::frontend::MapKey(rows[i].key);
        EXPECT_EQ(m.kind, rows[i].kind) << "row " << i;
        EXPECT_EQ(m.vk, rows[i].vk) << "row " << i;
    }
}

TEST(FrontEndInput, WindowPointsLandOnDevicePixels) {
    const struct {
        int x, y, zoom;
        bool clamp;
        bool lands;
        LONG sx, sy;
    } rows[] = {
        {0, 0, 2, false, true, 0, 0},
        {1, 1, 2, false, true, 0, 0},          // a device pixel is zoom x zoom window pixels
        {479, 639, 2, false, true, 239, 319},  // the last pixel of a 240 x 320 screen
        {480, 100, 2, false, false, 0, 0},     // right of the screen
        {100, 640, 2, false, false, 0, 0},     // on the status bar
        {-1, 10, 2, false, false, 0, 0},       // left of the screen, not column 0
        {-1, 10, 2, true, true, 0, 5},         // a stylus dragged off the left edge stays on it
        {900, 700, 2, true, true, 239, 319},
        {299, 31, 3, false, true, 99, 10},
        {10, 10, 0, true, false, 0, 0},        // no zoom, no screen
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        POINT p{-7, -7};
        bool lands = wince::frontend::WindowToScreen(rows[i].x, rows[i].y, rows[i].zoom, 240, 320, rows[i].clamp, &p);
        EXPECT_EQ(lands, rows[i].lands) << "row " << i;
        if (!lands) continue;
        EXPECT_EQ(p.x, rows[i].sx) << "row " << i;
        EXPECT_EQ(p.y, rows[i].sy) << "row " << i;
    }
}

TEST(FrontEndInput, DefaultZoomMakesTheDeviceComfortableAndFitsTheDesktop) {
    const struct {
        int dpi, width, height, maxWidth, maxHeight;
        int zoom;
    } rows[] = {
        {96, 240, 320, 0, 0, 2},         // the common Pocket PC: twice
        {192, 480, 640, 0, 0, 1},        // already as fine as a desktop wants
        {131, 240, 320, 0, 0, 1},
        {64, 240, 320, 0, 0, 3},
        {0, 240, 320, 0, 0, 2},          // an unknown dpi counts as 96
        {96, 240, 320, 1920, 1080, 2},   // fits: 480 x 662
        {96, 240, 320, 1024, 600, 1},    // 662 rows do not fit 600
        {64, 240, 320, 1024, 700, 2},    // three times does not fit, twice does
        {96, 240, 320, 100, 100, 1},     // never below 1
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(wince::frontend::DefaultZoom(rows[i].dpi, rows[i].width, rows[i].height, 22, rows[i].maxWidth,
                                               rows[i].maxHeight),
                  rows[i].zoom)
            << "row " << i;
}

TEST(FrontEndInput, TypedTextBecomesUtf16CharactersWithoutSpaces) {
    const struct {
        const char *typed;
        std::u16string chars;
    } rows[] = {
        {"abc", u"abc"},
        {"a b", u"ab"},                       // the space key types its own space
        {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},  // "été"
        {"\xF0\x9F\x98\x80", u"\U0001F600"},  // a surrogate pair
        {"", u""},
        {nullptr, u""},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(wince::frontend::TypedCharacters(rows[i].typed), rows[i].chars) << "row " << i;
}

}  // namespace
