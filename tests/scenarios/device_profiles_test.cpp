// Every device profile: a fresh device shows the Today screen with the item
// at the profile's size, and the item's first load fills its settings key.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gdi/png.h"
#include "temp_device.h"

namespace {

namespace fs = std::filesystem;

std::string RunCommand(const std::string &command, int *status) {
    std::string output;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        *status = -1;
        return output;
    }
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int rc = pclose(pipe);
    *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

using ScenarioTest = testing_support::DeviceTest;

TEST_F(ScenarioTest, EachProfileShowsTheTodayScreenAtItsSize) {
    const struct {
        const char *profile;
        int width, height;
    } rows[] = {{"qvga", 240, 320},       {"qvga-landscape", 320, 240}, {"vga", 480, 640},   {"vga-landscape", 640, 480},
                {"square", 240, 240},     {"legacy", 240, 320},         {"ppc2002", 240, 320}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        fs::path root = device.Root() / rows[i].profile;
        fs::path shot = device.Root() / (std::string(rows[i].profile) + ".png");
        int status;
        std::string out = RunCommand(std::string(PELLORAN_SIM) + " --device '" + root.string() + "' init --profile " +
                                  rows[i].profile,
                              &status);
        ASSERT_EQ(status, 0) << "row " << i << ": " << out;
        out = RunCommand(std::string(PELLORAN_SIM) + " --device '" + root.string() + "' --screenshot '" + shot.string() + "'",
                  &status);
        ASSERT_EQ(status, 0) << "row " << i << ": " << out;
        std::string error;
        auto image = wince::ReadPng(shot.string(), &error);
        ASSERT_TRUE(image) << "row " << i << ": " << error;
        EXPECT_EQ(image->Width(), rows[i].width) << "row " << i;
        EXPECT_EQ(image->Height(), rows[i].height) << "row " << i;

        // The item loaded and created its twelve settings with their defaults.
        out = RunCommand(std::string(WINCE_REG) + " --device '" + root.string() +
                      "' query HKLM\\\\SOFTWARE\\\\Varnhold\\\\Pelloran",
                  &status);
        ASSERT_EQ(status, 0) << "row " << i << ": " << out;
        const char *expected[] = {"Folder    REG_SZ    \\My Documents", "Subfolders    REG_DWORD    0x0",
                                  "NoTemplates    REG_DWORD    0x1",     "Rows    REG_DWORD    0x4",
                                  "Cols    REG_DWORD    0x2",            "ShowSize    REG_DWORD    0x0",
                                  "ShowDate    REG_DWORD    0x0",        "ShowText    REG_DWORD    0x1",
                                  "ShowPocketWord    REG_DWORD    0x1",  "ShowPocketExcel    REG_DWORD    0x1",
                                  "ShowNotes    REG_DWORD    0x1",       "ShowAll    REG_DWORD    0x0"};
        for (const char *line : expected) EXPECT_NE(out.find(line), std::string::npos) << "row " << i << ": " << line << "\n" << out;
    }
}

TEST_F(ScenarioTest, AnUnknownProfileIsRefusedClearly) {
    int status;
    std::string out = RunCommand(std::string(PELLORAN_SIM) + " --device '" + (device.Root() / "x").string() +
                              "' init --profile pda9000",
                          &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("unknown profile 'pda9000'"), std::string::npos) << out;
}

}  // namespace
