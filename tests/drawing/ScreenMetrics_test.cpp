// Platform tests, scaling, theme colours and the item font. The platform
// tests are cached for the life of a process, so each row runs in a child
// process of its own.
#include "drawing/ScreenMetrics.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <todaycmn.h>

#include "device_profile.h"
#include "drawing/ItemFont.h"
#include "drawing/ThemeColors.h"
#include "temp_device.h"

namespace {

using testing_support::DeviceTest;
using testing_support::WriteProfile;

std::string Profile(const std::string &version, const std::string &platform, int dpi = 96,
                    const std::string &extra = "") {
    return "[screen]\nwidth = 240\nheight = 320\ndpi_x = " + std::to_string(dpi) + "\ndpi_y = " +
           std::to_string(dpi) + "\n[os]\nversion = " + version + "\nplatform = " + platform + "\n[font]\nmode = fixed\n" +
           extra;
}

// Runs body in a fresh process and returns its exit code.
template <typename Body>
int InChild(Body body) {
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

using PlatformTest = DeviceTest;

TEST_F(PlatformTest, GenerationTestsFollowVersionAndPlatformType) {
    const struct {
        const char *version, *platform;
        int newToday, legacy;
    } rows[] = {
        {"4.20", "PocketPC", 0, 0}, {"4.21", "PocketPC", 1, 0}, {"5.0", "PocketPC", 1, 0}, {"5.1", "PocketPC", 1, 0},
        {"6.0", "PocketPC", 1, 0},  {"3.0", "PocketPC", 0, 1},  {"5.1", "Smartphone", 0, 0}, {"3.0", "Smartphone", 0, 0},
        {"4.0", "PocketPC", 0, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        WriteProfile(device.Root(), Profile(rows[i].version, rows[i].platform));
        EXPECT_EQ(InChild([] { return IsNewTodayPlatform() ? 1 : 0; }), rows[i].newToday) << "row " << i;
        EXPECT_EQ(InChild([] { return IsLegacyPocketPC() ? 1 : 0; }), rows[i].legacy) << "row " << i;
    }
}

TEST_F(PlatformTest, ScalingRoundsHalfUpAtEachResolution) {
    const struct {
        int dpi, n, scaled;
    } rows[] = {{96, 18, 18}, {192, 18, 36}, {131, 18, 25}, {131, 26, 35}, {192, 26, 52}, {96, 0, 0}, {131, 1, 1}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        DisplayResolution = DisplayResolutionValues{rows[i].dpi, rows[i].dpi};
        EXPECT_EQ(ScaleX(rows[i].n), rows[i].scaled) << "row " << i;
        EXPECT_EQ(ScaleY(rows[i].n), rows[i].scaled) << "row " << i;
    }
    DisplayResolution = DisplayResolutionValues{};
    WriteProfile(device.Root(), Profile("5.1", "PocketPC", 192));
    ReadDisplayResolution();
    EXPECT_EQ(DisplayResolution.logPixelsX, 192);
    EXPECT_EQ(DisplayResolution.logPixelsY, 192);
}

using ThemeColorTest = DeviceTest;

void WriteBinary(LPCWSTR name, const void *data, DWORD size) {
    HKEY key;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Color", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

TEST_F(ThemeColorTest, OwnValueThenSchemeThenDefault) {
    WriteProfile(device.Root(), Profile("5.1", "PocketPC"));
    EXPECT_EQ(InChild([] { return GetThemeColor(6, DefaultThemeColor) == DefaultThemeColor ? 0 : 1; }), 0);
    DWORD scheme[45] = {};
    scheme[6] = 0x00112233;
    WriteBinary(u"DefSHColor", scheme, sizeof scheme);
    EXPECT_EQ(InChild([] { return GetThemeColor(6, DefaultThemeColor) == 0x00112233 ? 0 : 1; }), 0);
    DWORD longer[46] = {};
    longer[6] = 0x00445566;
    WriteBinary(u"SHColor", longer, sizeof longer);  // too long for the query: DefSHColor is used
    EXPECT_EQ(InChild([] { return GetThemeColor(6, DefaultThemeColor) == 0x00112233 ? 0 : 1; }), 0);
    scheme[6] = 0x00778899;
    WriteBinary(u"SHColor", scheme, sizeof scheme);
    EXPECT_EQ(InChild([] { return GetThemeColor(6, DefaultThemeColor) == 0x00778899 ? 0 : 1; }), 0);
    DWORD own = 0x00ABCDEF;
    WriteBinary(u"6", &own, sizeof own);
    EXPECT_EQ(InChild([] { return GetThemeColor(6, DefaultThemeColor) == 0x00ABCDEF ? 0 : 1; }), 0);
}

TEST_F(ThemeColorTest, TheOldestPlatformNeverReadsTheScheme) {
    WriteProfile(device.Root(), Profile("3.0", "PocketPC"));
    DWORD scheme[45] = {};
    scheme[6] = 0x00112233;
    WriteBinary(u"SHColor", scheme, sizeof scheme);
    EXPECT_EQ(InChild([] { return GetThemeColor(6, DefaultThemeColor) == DefaultThemeColor ? 0 : 1; }), 0);
}

using ItemFontTest = DeviceTest;

TEST_F(ItemFontTest, MetricFallbackAndFontHeights) {
    // Without the shell's metrics function the size comes from the system font.
    WriteProfile(device.Root(), Profile("5.1", "PocketPC", 96, "[shell]\nui_metrics = 0\n"));
    EXPECT_EQ(InChild([] {
                  DWORD out = 0, needed = 0;
                  LOGFONTW lf;
                  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
                  if (GetUIMetric(2, &out, 4, &needed) != 0) return 1;
                  if (out != static_cast<DWORD>(-lf.lfHeight)) return 2;
                  if (GetUIMetric(3, &out, 4, &needed) != 0 || out != 100) return 3;
                  out = 77;
                  if (GetUIMetric(2, &out, 3, &needed) != 0 || out != 77 || needed != 4) return 4;
                  return 0;
              }),
              0);
    // With the shell's function the call is handed on: a buffer too small is
    // refused there, where the fallback quietly reports the size it needs.
    const struct {
        const char *extra;
        bool present;
    } shells[] = {{"[shell]\nui_metrics = 1\n", true}, {"", true}, {"[shell]\nui_metrics = 0\n", false}};
    for (size_t i = 0; i < std::size(shells); ++i) {
        WriteProfile(device.Root(), Profile("5.1", "PocketPC", 96, shells[i].extra));
        EXPECT_EQ(InChild([] {
                      DWORD out = 77, needed = 0;
                      LONG r = GetUIMetric(2, &out, 3, &needed);
                      return (r != 0 ? 1 : 0) | (needed == 4 ? 2 : 0) | (out == 77 ? 4 : 0);
                  }),
                  (shells[i].present ? 1 : 0) | 2 | 4)
            << "row " << i;
    }
    WriteProfile(device.Root(), Profile("4.20", "PocketPC", 96));
    EXPECT_EQ(InChild([] {
                  HMODULE shell = LoadLibraryW(u"AYGSHELL");
                  if (!shell) return 1;
                  if (GetProcAddressW(shell, u"SHGetUIMetrics")) return 2;  // an older shell
                  return GetProcAddressW(shell, u"SHInitExtraControls") ? 0 : 3;
              }),
              0);

    const struct {
        const char *version;
        int dpi;
        bool newToday;
        int height;  // magnitude of lfHeight; 0: the system font's pixel size
    } rows[] = {{"4.20", 96, false, 11}, {"4.20", 192, false, 21}, {"3.0", 131, false, 15}, {"5.1", 96, true, 0}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        WriteProfile(device.Root(), Profile(rows[i].version, "PocketPC", rows[i].dpi, "[shell]\nui_metrics = 0\n"));
        int expected = rows[i].height;
        EXPECT_EQ(InChild([&] {
                      HFONT slot = nullptr;
                      HDC screen = GetDC(nullptr);
                      HFONT font = CreateItemFont(screen, slot);
                      ReleaseDC(nullptr, screen);
                      LOGFONTW lf;
                      if (!font || font != slot || GetObjectW(font, sizeof lf, &lf) != sizeof lf) return 1;
                      LOGFONTW system;
                      GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system);
                      int want = expected ? expected : -system.lfHeight;
                      if (lf.lfHeight != -want) return 2;
                      if (lstrcmpW(lf.lfFaceName, u"Tahoma") != 0 || lf.lfPitchAndFamily != FF_SWISS) return 3;
                      return lf.lfWeight == FW_NORMAL ? 0 : 4;
                  }),
                  0)
            << "row " << i;
    }
}

}  // namespace
