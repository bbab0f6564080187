// device.ini as a user may write it: every value the layer cannot honour is
// reported with its file and line and replaced by the default, and no profile
// stops a program from drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "device/device.h"
#include "device_profile.h"
#include "temp_device.h"

namespace {

using testing_support::DeviceTest;

class DeviceProfile : public DeviceTest {};

TEST_F(DeviceProfile, ValuesOutOfRangeAreReportedAndTheDefaultsUsed) {
    struct Row {
        const char *ini;
        int width, height, dpiX, dpiY;
        const char *stderrMentions;  // "" when the profile is fine
    } rows[] = {
        {"[screen]\nwidth = 320\nheight = 240\ndpi_x = 192\ndpi_y = 192\n", 320, 240, 192, 192, ""},
        {"[screen]\nwidth = 8192\nheight = 1\ndpi_x = 48\ndpi_y = 600\n", 8192, 1, 48, 600, ""},
        {"[screen]\nwidth = 20000\nheight = 20000\n", 240, 320, 96, 96, "device.ini:2: screen.width = \"20000\" is not a whole number from 1 to 8192; 240 is used"},
        {"[screen]\nheight = 0\n", 240, 320, 96, 96, "device.ini:2: screen.height = \"0\" is not a whole number from 1 to 8192; 320 is used"},
        {"[screen]\n\nwidth = -5\n", 240, 320, 96, 96, "device.ini:3: screen.width"},
        {"[screen]\ndpi_x = 0\n", 240, 320, 96, 96, "device.ini:2: screen.dpi_x = \"0\" is not a whole number from 48 to 600; 96 is used"},
        {"[screen]\ndpi_y = 10000\n", 240, 320, 96, 96, "screen.dpi_y = \"10000\""},
        {"[screen]\ndpi_x = -96\n", 240, 320, 96, 96, "screen.dpi_x"},
        {"[screen]\nwidth = 4294967536\n", 240, 320, 96, 96, "screen.width"},
        {"[screen]\nwidth = 240px\n", 240, 320, 96, 96, "screen.width = \"240px\""},
        {"[shell]\nhold_ms = -1\n", 240, 320, 96, 96, "device.ini:2: shell.hold_ms"},
        {"[clock]\ntimezone = 100000\n", 240, 320, 96, 96, "clock.timezone"},
        {"[clock]\nstart = 99999999-01-01\n", 240, 320, 96, 96, "clock.start"},
        {"[font]\nmode = wingdings\n", 240, 320, 96, 96, "font.mode = \"wingdings\" is not \"real\" or \"fixed\"; real is used"},
        {"[colors]\nhighlight = red\n", 240, 320, 96, 96, "colors.highlight"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        testing::internal::CaptureStderr();
        testing_support::WriteProfile(device.Root(), rows[i].ini);
        const wince::DeviceProfile &p = wince::Device::Current().Profile();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(p.width, rows[i].width) << "row " << i;
        EXPECT_EQ(p.height, rows[i].height) << "row " << i;
        EXPECT_EQ(p.dpiX, rows[i].dpiX) << "row " << i;
        EXPECT_EQ(p.dpiY, rows[i].dpiY) << "row " << i;
        if (*rows[i].stderrMentions) EXPECT_NE(err.find(rows[i].stderrMentions), std::string::npos) << "row " << i << ": " << err;
        else EXPECT_EQ(err, "") << "row " << i;
        // The rejected value is gone for every other reader too.
        if (*rows[i].stderrMentions && std::string(rows[i].ini).find("[colors]") != std::string::npos)
            EXPECT_EQ(p.Get("colors.highlight"), "") << "row " << i;
    }
}

TEST_F(DeviceProfile, AnyProfileLetsTheScreenBeDrawn) {
    const char *inis[] = {
        "[screen]\nwidth = 20000\nheight = 20000\n",
        "[screen]\nwidth = 0\nheight = -1\ndpi_x = 0\ndpi_y = 0\n",
        "[screen\nwidth = 9\n\x01\x02\n",
    };
    for (size_t i = 0; i < std::size(inis); ++i) {
        testing::internal::CaptureStderr();
        testing_support::WriteProfile(device.Root(), inis[i]);
        HDC dc = GetDC(nullptr);
        testing::internal::GetCapturedStderr();
        ASSERT_NE(dc, nullptr) << "row " << i;
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), GetSystemMetrics(SM_CXSCREEN)) << "row " << i;
        EXPECT_GT(GetDeviceCaps(dc, LOGPIXELSY), 0) << "row " << i;
        RECT r{0, 0, 4, 4};
        EXPECT_NE(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0) << "row " << i;
        ReleaseDC(nullptr, dc);
    }
}

}  // namespace
