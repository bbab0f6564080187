// Which front end a program gets: headless without a display, a window only
// where one can open, and pelloran-sim's flags on a machine without display.
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "temp_device.h"

namespace {

// Sets or removes environment variables for one test and puts them back.
class Environment {
   public:
    void Set(const char *name, const char *value) {
        if (!saved_.count(name)) {
            const char *old = getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~Environment() {
        for (auto &[name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }

   private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(FrontEndChoice, WithoutADisplayOnlyAWindowAskedForFails) {
    testing_support::TempDevice device;
    const struct {
        wince::FrontEndRequest::Choice choice;
        const char *environment;  // WINCE_FRONTEND
        bool ok;
        bool reason;  // error says why there is no window
    } rows[] = {
        {wince::FrontEndRequest::kHeadless, nullptr, true, false},
        {wince::FrontEndRequest::kAuto, nullptr, true, false},     // nothing to show it on: headless, quietly
        {wince::FrontEndRequest::kAuto, "headless", true, false},
        {wince::FrontEndRequest::kAuto, "window", true, true},     // asked by the environment: goes on headless, says why
        {wince::FrontEndRequest::kWindow, nullptr, false, true},   // asked by the program: an error
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Environment env;
        env.Set("DISPLAY", nullptr);
        env.Set("WAYLAND_DISPLAY", nullptr);
        env.Set("SDL_VIDEODRIVER", nullptr);
        env.Set("WINCE_FRONTEND", rows[i].environment);
        ASSERT_FALSE(wince::DisplayPresent());
        wince::FrontEndRequest request;
        request.choice = rows[i].choice;
        request.interactive = false;
        wince::FrontEnd mode = wince::FrontEnd::kWindow;
        std::string error;
        EXPECT_EQ(wince::StartFrontEnd(request, &mode, &error), rows[i].ok) << "row " << i;
        EXPECT_EQ(mode, wince::FrontEnd::kHeadless) << "row " << i;
        EXPECT_EQ(!error.empty(), rows[i].reason) << "row " << i << ": " << error;
        if (rows[i].reason) {
            EXPECT_NE(error.find("display"), std::string::npos) << error;
        }
        // The programs it starts are told to stay headless too.
        EXPECT_STREQ(getenv("WINCE_FRONTEND"), "headless") << "row " << i;
        EXPECT_EQ(wince::FrontEndZoom(), 0);
        wince::StopFrontEnd();
    }
}

TEST(FrontEndChoice, PelloranSimWithoutADisplay) {
    testing_support::TempDevice temp;
    std::string root = (temp.Root() / "device").string();
    std::string shot = (temp.Root() / "s.png").string();
    const struct {
        std::string args;
        int status;  // -1: any failure
        const char *says;  // on stdout or stderr
        bool defaultScreenshot;
    } rows[] = {
        // `make run` on a machine without display: the screen as PNG, its path printed.
        {"", 0, "The Today screen is in", true},
        {"--headless", 0, "The Today screen is in", true},
        {"--window", 1, "no display", false},
        {"--window --headless", -1, "excludes", false},
        {"--zoom 0", -1, "--zoom", false},
        {"--headless --screenshot " + shot, 0, "", false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::string out = (temp.Root() / "out.txt").string();
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u WINCE_FRONTEND " + std::string(PELLORAN_SIM) +
                              " --device " + root + " " + rows[i].args + " >" + out + " 2>&1";
        int status = std::system(command.c_str());
        std::ifstream in(out);
        std::stringstream text;
        text << in.rdbuf();
        ASSERT_TRUE(WIFEXITED(status)) << "row " << i;
        if (rows[i].status < 0) {
            EXPECT_NE(WEXITSTATUS(status), 0) << "row " << i << ": " << text.str();
        } else {
            EXPECT_EQ(WEXITSTATUS(status), rows[i].status) << "row " << i << ": " << text.str();
        }
        EXPECT_NE(text.str().find(rows[i].says), std::string::npos) << "row " << i << ": " << text.str();
        EXPECT_EQ(std::filesystem::exists(std::filesystem::path(root) / "screen.png"), rows[i].defaultScreenshot)
            << "row " << i;
        std::filesystem::remove(std::filesystem::path(root) / "screen.png");
    }
    EXPECT_TRUE(std::filesystem::exists(shot));
}

}  // namespace
