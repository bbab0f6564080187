// pelloran-sim in a real window on an X server (Xvfb): the test uses it as a
// person would, with the mouse and keys through the X server (xdotool), and
// looks at the window's pixels (xwd) and at the trace.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "frontend/status_bar.h"
#include "images.h"
#include "x_close.h"
#include "temp_device.h"

namespace fs = std::filesystem;
using frontend_test::Image;

namespace {

constexpr int kZoom = 2;
using Clock = std::chrono::steady_clock;

bool OnPath(const std::string &tool) {
    const char *path = getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && access((fs::path(dir) / tool).c_str(), X_OK) == 0) return true;
    return false;
}

// Waits until the check holds, looking every 50 ms; false after the timeout.
bool WaitFor(const std::function<bool()> &check, int timeoutMs) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (check()) return true;
        if (Clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string Output(const std::string &command) {
    FILE *p = popen(command.c_str(), "r");
    if (!p) return "";
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) text += buffer;
    pclose(p);
    return text;
}

std::string FileText(const fs::path &file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

pid_t Spawn(const std::vector<std::string> &args, const fs::path &output) {
    pid_t pid = fork();
    if (pid == 0) {
        FILE *out = fopen(output.c_str(), "w");
        if (out) {
            dup2(fileno(out), 1);
            dup2(fileno(out), 2);
        }
        std::vector<char *> argv;
        for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// The exit status of the process, or -1 when it has not ended in time.
int WaitExit(pid_t pid, int timeoutMs) {
    int status = -1;
    bool ended = WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
    if (!ended) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void Stop(pid_t &pid, int signal) {
    if (pid <= 0) return;
    kill(pid, signal);
    if (WaitExit(pid, 5000) < 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

class SimWindow : public ::testing::Test {
   protected:
    void SetUp() override {
        for (const char *tool : {"Xvfb", "xdotool", "xwd"})
            if (!OnPath(tool))
                GTEST_SKIP() << "Xvfb cannot start: " << tool << " is not installed (scripts/install-deps installs it)";
        std::string reason;
        if (!StartXvfb(reason)) GTEST_SKIP() << "Xvfb cannot start: " << reason;
        // In sanitizer builds, the started programs leave the desktop
        // libraries' own leaks out of their report.
        const char *lsan = getenv("LSAN_OPTIONS");
        oldLsan = lsan ? std::optional<std::string>(lsan) : std::nullopt;
        std::string options = std::string("suppressions=") + FRONTEND_TEST_DIR + "/lsan.supp";
        setenv("LSAN_OPTIONS", (oldLsan ? *oldLsan + ":" + options : options).c_str(), 1);
        root = temp.Root() / "device";
        trace = temp.Root() / "trace.jsonl";
        exitShot = temp.Root() / "exit.png";
        std::string init = std::string(PELLORAN_SIM) + " --device " + root.string() + " init >/dev/null 2>&1";
        ASSERT_EQ(std::system(init.c_str()), 0);
    }

    void TearDown() override {
        Stop(sim, SIGKILL);
        Stop(xvfb, SIGTERM);
        if (hadDisplay)
            setenv("DISPLAY", oldDisplay.c_str(), 1);
        else
            unsetenv("DISPLAY");
        if (oldLsan)
            setenv("LSAN_OPTIONS", oldLsan->c_str(), 1);
        else
            unsetenv("LSAN_OPTIONS");
    }

    // Xvfb picks a free display itself and tells its number through -displayfd.
    bool StartXvfb(std::string &reason) {
        int fds[2];
        if (pipe(fds) != 0) {
            reason = "no pipe";
            return false;
        }
        xvfb = fork();
        if (xvfb == 0) {
            close(fds[0]);
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1000x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        auto end = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < end && number.find('\n') == std::string::npos) {
            if (poll(&p, 1, 200) <= 0) continue;
            char c[16];
            ssize_t n = read(fds[0], c, sizeof c);
            if (n <= 0) break;
            number.append(c, n);
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) {
            Stop(xvfb, SIGKILL);
            reason = "it did not report a display within 10 s";
            return false;
        }
        const char *old = getenv("DISPLAY");
        hadDisplay = old != nullptr;
        if (old) oldDisplay = old;
        display = ":" + number.substr(0, number.find('\n'));
        setenv("DISPLAY", display.c_str(), 1);
        return true;
    }

    void StartSim(const std::vector<std::string> &extra = {}) {
        std::vector<std::string> args = {PELLORAN_SIM,   "--window",       "--device", root.string(),
                                         "--trace",      trace.string(),   "--zoom",   std::to_string(kZoom),
                                         "--screenshot", exitShot.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        sim = Spawn(args, temp.Root() / "sim.txt");
    }

    // The id of the first window whose name matches, or "" after the timeout.
    std::string FindWindow(const std::string &name, int timeoutMs = 15000) {
        std::string id;
        WaitFor(
            [&] {
                std::string found = Output("xdotool search --name '" + name + "' 2>/dev/null");
                id = found.substr(0, found.find('\n'));
                return !id.empty();
            },
            timeoutMs);
        return id;
    }

    bool Xdo(const std::string &command) { return std::system(("xdotool " + command).c_str()) == 0; }

    Image Grab(const std::string &window) {
        fs::path file = temp.Root() / "grab.xwd";
        Image image;
        std::string error;
        if (std::system(("xwd -silent -id " + window + " -out " + file.string()).c_str()) != 0 ||
            !frontend_test::ReadXwd(file.string(), image, error))
            ADD_FAILURE() << "cannot capture the window: " << error;
        return image;
    }

    // The window's pixels once two captures a little apart agree.
    // Two grabs alike in a row; a window not yet shown grabs as nothing and
    // does not count.
    Image Settled(const std::string &window) {
        Image last = Grab(window);
        for (int i = 0; i < 80; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            Image now = Grab(window);
            if (now.width > 0 && now.width == last.width && now.height == last.height && now.pixels == last.pixels)
                return now;
            last = now;
        }
        return last;
    }

    bool TraceHas(const std::string &text, int timeoutMs = 10000) {
        return WaitFor([&] { return FileText(trace).find(text) != std::string::npos; }, timeoutMs);
    }

    void AskToClose(const std::string &window) { ASSERT_TRUE(frontend_test::AskToClose(display, std::stoul(window))); }

    testing_support::TempDevice temp;
    fs::path root, trace, exitShot;
    std::string display, oldDisplay;
    bool hadDisplay = false;
    std::optional<std::string> oldLsan;
    pid_t xvfb = -1, sim = -1;
};

TEST_F(SimWindow, APersonUsesTheDeviceInItsWindow) {
    const int bar = wince::frontend::StatusBarHeight();
    StartSim();
    std::string window = FindWindow("^Pelloran - Today");
    ASSERT_FALSE(window.empty()) << FileText(temp.Root() / "sim.txt");
    EXPECT_TRUE(WaitFor(
        [&] {
            return FileText(temp.Root() / "sim.txt").find((root / "fs" / "My Documents").string()) != std::string::npos;
        },
        10000))
        << "the documents folder is named";

    // The 240 x 320 screen twice over, and the status bar below it.
    Image first = Settled(window);
    ASSERT_EQ(first.width, 240 * kZoom);
    ASSERT_EQ(first.height, 320 * kZoom + bar);

    // The navigation keys select the first document; the action key opens it.
    ASSERT_TRUE(Xdo("key --window " + window + " Down Down Return"));
    ASSERT_TRUE(TraceHas(R"("file":"\\My Documents\\Budget.pxl")")) << FileText(trace);
    Image opened = Settled(window);
    EXPECT_FALSE(frontend_test::SameArea(first, opened, 0, 320 * kZoom, 240 * kZoom, bar))
        << "the status bar tells what was opened";

    // Held down on "Letter" (device 170, 54, under the navigation bar), the
    // stylus opens the context menu; the keys choose "Rename..." and the
    // typed name renames the file.
    ASSERT_TRUE(Xdo("mousemove --window " + window + " 340 108 mousedown 1 sleep 1.5 mouseup 1"));
    ASSERT_TRUE(Xdo("key --window " + window + " Down Down Return"));
    ASSERT_TRUE(TraceHas(R"("answer":5002)")) << FileText(trace);
    ASSERT_TRUE(Xdo("type --window " + window + " 'Brief 2'"));
    ASSERT_TRUE(Xdo("key --window " + window + " Return"));
    ASSERT_TRUE(TraceHas(R"("to":"\\My Documents\\Brief 2.doc")")) << FileText(trace);
    EXPECT_TRUE(fs::exists(root / "fs" / "My Documents" / "Brief 2.doc"));

    // A file copied into the documents folder shows without a hand on the
    // device. It takes well under a second here; the wait is long because a
    // sanitizer build on a loaded machine is slow, and the timing itself is
    // tested on the virtual clock.
    Image before = Settled(window);
    std::ofstream(root / "fs" / "My Documents" / "Apples.txt") << "copied from the desktop";
    EXPECT_TRUE(
        WaitFor([&] { return !frontend_test::SameArea(before, Grab(window), 0, 0, 240 * kZoom, 320 * kZoom); }, 10000))
        << "the new document did not appear";

    // F5 turns the device: the window becomes landscape.
    ASSERT_TRUE(Xdo("key --window " + window + " F5"));
    Image turned;
    EXPECT_TRUE(WaitFor([&] { return (turned = Grab(window)).width == 320 * kZoom; }, 10000));
    EXPECT_EQ(turned.height, 240 * kZoom + bar);

    // F12 saves the turned screen in the device folder.
    ASSERT_TRUE(Xdo("key --window " + window + " F12"));
    EXPECT_TRUE(WaitFor([&] { return fs::exists(root / "screenshot-1.png"); }, 10000));
    Image saved;
    std::string savedError;
    EXPECT_TRUE(
        WaitFor([&] { return frontend_test::ReadPng((root / "screenshot-1.png").string(), saved, savedError); }, 10000))
        << savedError;
    EXPECT_EQ(saved.width, 320);
    EXPECT_EQ(saved.height, 240);

    // Closing the window ends the program, which writes the screen as it was
    // left: the window showed exactly those pixels, each zoom x zoom times.
    Image last = Settled(window);
    AskToClose(window);
    EXPECT_EQ(WaitExit(sim, 10000), 0) << FileText(temp.Root() / "sim.txt");
    sim = -1;
    Image png;
    std::string error;
    ASSERT_TRUE(frontend_test::ReadPng(exitShot.string(), png, error)) << error;
    ASSERT_EQ(png.width, 320);
    ASSERT_EQ(png.height, 240);
    ASSERT_EQ(last.width, 320 * kZoom);
    int wrong = 0;
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x)
            for (int d = 0; d < kZoom * kZoom; ++d)
                if (last.At(x * kZoom + d % kZoom, y * kZoom + d / kZoom) != png.At(x, y)) ++wrong;
    EXPECT_EQ(wrong, 0) << "window pixels that differ from the device's screen";
}

TEST_F(SimWindow, AProgramTheDeviceStartsOpensItsOwnWindowBesideIt) {
    StartSim();
    std::string window = FindWindow("^Pelloran - Today");
    ASSERT_FALSE(window.empty()) << FileText(temp.Root() / "sim.txt");
    // The options program, played by the probe.
    std::ofstream(root / "fs" / "Program Files" / "Pelloran" / "PelloranOptions.exe")
        << "#!wince-link " << DEVICE_PROBE << "\n";
    Image before = Settled(window);
    // A tap on the folder icon at the item's left (device 10, 56) starts it.
    ASSERT_TRUE(Xdo("mousemove --window " + window + " 20 112 click 1"));
    ASSERT_TRUE(TraceHas(R"("event":"CreateProcess")")) << FileText(trace);
    std::string options = FindWindow("^PelloranOptions.exe$");
    ASSERT_FALSE(options.empty()) << "the started program has no window";
    // It set one column and asked for a reload: the Today screen re-created
    // its item, whose right column (device 130..230, 46..116) is gone.
    EXPECT_TRUE(TraceHas(R"("event":"PostMessage")")) << FileText(trace);
    EXPECT_TRUE(WaitFor(
        [&] {
            return !frontend_test::SameArea(before, Grab(window), 130 * kZoom, 46 * kZoom, 100 * kZoom, 70 * kZoom);
        },
        10000))
        << "the Today screen did not reload its item";

    auto geometry = [](const std::string &id) {
        std::string text = Output("xdotool getwindowgeometry --shell " + id);
        std::map<std::string, int> g;
        std::stringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (size_t eq = line.find('='); eq != std::string::npos)
                g[line.substr(0, eq)] = atoi(line.c_str() + eq + 1);
        return g;
    };
    auto today = geometry(window), started = geometry(options);
    EXPECT_EQ(started["WIDTH"], 240 * kZoom) << "the same zoom as the device's first window";
    EXPECT_GE(started["X"], today["X"] + today["WIDTH"]) << "side by side";
    Image probe = Settled(options);
    ASSERT_GT(probe.width, 0);
    EXPECT_EQ(probe.At(10, 10), 0x008040u) << "the program's own screen";

    AskToClose(options);
    EXPECT_TRUE(WaitFor([&] { return Output("xdotool search --name '^PelloranOptions.exe$'").empty(); }, 10000));
    // The Today screen goes on.
    EXPECT_EQ(waitpid(sim, nullptr, WNOHANG), 0);
}

TEST_F(SimWindow, AScriptRunsInTheWindowAndEnds) {
    fs::path script = temp.Root() / "s.txt", shot = temp.Root() / "script.png";
    std::ofstream(script) << "key down\nwait 100\nscreenshot " << shot.string() << "\n";
    StartSim({"--script", script.string()});
    EXPECT_EQ(WaitExit(sim, 30000), 0) << FileText(temp.Root() / "sim.txt");
    sim = -1;
    EXPECT_TRUE(fs::exists(shot));
}

}  // namespace
