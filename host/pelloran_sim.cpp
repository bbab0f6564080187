// pelloran-sim: a simulated Pocket PC running the Today screen with the
// Pelloran item.
#include <windows.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DeviceSetup.h"
#include "Monkey.h"
#include "TodayScreen.h"
#include "config/FolderSettings.h"
#include "core/unicode.h"
#include "device/device.h"
#include "frontend/frontend.h"
#include "script/script_runner.h"
#include "window/clock.h"

namespace fs = std::filesystem;

namespace {

void PrintSettings() {
    FolderSettings s;  // loads, creating missing values with their defaults
    printf("Settings (HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnhold\\Pelloran):\n");
    printf("  Folder          %s\n", wince::ToUtf8(s.GetFolder()).c_str());
    printf("  Subfolders      %d\n", s.GetSubfolders());
    printf("  NoTemplates     %d\n", s.GetNoTemplates());
    printf("  Rows            %d\n", s.GetRows());
    printf("  Cols            %d\n", s.GetCols());
    printf("  ShowSize        %d\n", s.GetShowSize());
    printf("  ShowDate        %d\n", s.GetShowDate());
    printf("  ShowText        %d\n", s.GetShowText());
    printf("  ShowPocketWord  %d\n", s.GetShowPocketWord());
    printf("  ShowPocketExcel %d\n", s.GetShowPocketExcel());
    printf("  ShowNotes       %d\n", s.GetShowNotes());
    printf("  ShowAll         %d\n", s.GetShowAll());
}

fs::path ChosenRoot(const std::string &deviceDir) {
    if (!deviceDir.empty()) return deviceDir;
    const char *env = getenv("WINCE_DEVICE");
    return env && *env ? fs::path(env) : wince::Device::DefaultRoot();
}

// The script's text and the name its messages give, "(screenshot)" without
// one; false, said on stderr, when the file cannot be read.
bool ReadScript(const std::string &file, std::string &text, std::string &name) {
    name = "(screenshot)";
    if (file.empty()) return true;
    std::ifstream in(file);
    if (!in) {
        fprintf(stderr, "pelloran-sim: cannot read the script %s\n", file.c_str());
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    name = file;
    return true;
}

// Runs the Today screen until the script ends or, without a script, until
// the person closes the window (headless without a script: one screenshot).
int RunTodayScreen(const std::string &scriptFile, const std::string &screenshot, bool tabHost, bool window) {
    std::string text, name;
    bool script = !scriptFile.empty() || !window;
    if (!ReadScript(scriptFile, text, name)) return 1;
    // In a window without a script the screenshot is of the screen as the person leaves it.
    std::string appended = !screenshot.empty() && script ? "screenshot " + screenshot : "";
    if (!appended.empty()) text += "\n" + appended + "\n";
    wince::ScriptRunner runner;
    runner.SetSource(scriptFile, appended);
    std::string error;
    if (script && !runner.Load(text, name, error)) {
        fprintf(stderr, "pelloran-sim: %s\n", error.c_str());
        return 1;
    }
    TodayScreen::Options options;
    options.tabHost = tabHost;
    {
        TodayScreen today(options);
        if (!today.Create()) {
            fprintf(stderr, "pelloran-sim: cannot create the Today screen\n");
            return 1;
        }
        if (script) runner.Start();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!script && !screenshot.empty() && !wince::SaveScreenshot(screenshot, error)) {
            fprintf(stderr, "pelloran-sim: %s\n", error.c_str());
            return 1;
        }
    }
    wince::StopFrontEnd();
    if (runner.Failed()) {
        fprintf(stderr, "pelloran-sim: %s\n", runner.Error().c_str());
        return 1;
    }
    return 0;
}

// Runs one device program without the Today screen and ends with it. A
// script (or the screenshot) is handed to the program from its first
// window on; its exit code is the run's, unless the script failed.
int RunDeviceProgram(const std::string &program, const std::vector<std::string> &args, const std::string &scriptFile,
                     const std::string &screenshot) {
    std::string text, name;
    if (!ReadScript(scriptFile, text, name)) return 1;
    std::string appended = screenshot.empty() ? "" : "screenshot " + screenshot;
    if (!appended.empty()) text += "\n" + appended + "\n";
    bool script = !scriptFile.empty() || !screenshot.empty();
    wince::ScriptRunner runner;
    std::string error;
    if (script) {
        if (!runner.Load(text, name, error)) {
            fprintf(stderr, "pelloran-sim: %s\n", error.c_str());
            return 1;
        }
        runner.SetSource(scriptFile, appended);
        runner.EndWithStartedProgram();
        runner.Start();
    }
    std::u16string line;
    for (const std::string &a : args) line += (line.empty() ? u"" : u" ") + wince::FromUtf8(a);
    std::u16string device = wince::FromUtf8(program);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(device.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &pi)) {
        fprintf(stderr, "pelloran-sim: cannot start %s (error %u)\n", program.c_str(), GetLastError());
        return 1;
    }
    if (script) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (runner.Failed()) {
        fprintf(stderr, "pelloran-sim: %s\n", runner.Error().c_str());
        return 1;
    }
    return static_cast<int>(code);
}

// The program a run starts shows itself as asked; this process shows nothing.
void ChooseFrontEndForProgram(bool window, bool headless, bool automated, int zoom) {
    bool inWindow = window || (!headless && !automated && wince::DisplayPresent());
    setenv("WINCE_FRONTEND", inWindow ? "window" : "headless", 1);
    if (zoom > 0) setenv("WINCE_ZOOM", std::to_string(zoom).c_str(), 1);
}

// A command line that cannot be carried out: one line saying why, one
// pointing to the help, and the status that scripts can tell from a failed run.
int UsageError(const std::string &message) {
    fprintf(stderr, "pelloran-sim: %s\n", message.c_str());
    fprintf(stderr, "usage: pelloran-sim [--device DIR] [OPTIONS] [init|settings|run PROGRAM [ARGS]]; see pelloran-sim --help\n");
    return 2;
}

// The trace is opened for appending by every program of the run; checked
// here so that a run never goes ahead without the record it was asked for.
bool TraceWritable(const std::string &file, std::string &error) {
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        error = "--trace: " + file + " is a folder";
        return false;
    }
    FILE *f = fopen(file.c_str(), "a");
    if (!f) {
        error = "--trace: cannot write " + file + " (" + strerror(errno) + ")";
        return false;
    }
    fclose(f);
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app{"pelloran-sim: the Pelloran Today item on a simulated Pocket PC"};
    std::string error;
    std::string deviceDir, screenshot, script, trace;
    std::string profile = "qvga";
    bool tabHost = false, window = false, headless = false;
    int zoom = 0;
    app.add_option("--device", deviceDir, "device folder (default: WINCE_DEVICE, else the user's default device)");
    app.add_option("--screenshot", screenshot, "write the screen as PNG to FILE after the script (in a window: on closing it)");
    app.add_option("--script", script, "run the commands of FILE, then exit");
    app.add_option("--trace", trace, "write what the programs did to FILE (JSON Lines)");
    auto *profileOption =
        app.add_option("--profile", profile, "device profile for a device made on this run")->capture_default_str();
    app.add_flag("--tab-host", tabHost, "create the item as a tab host does");
    auto *windowFlag = app.add_flag("--window", window, "show the device in a window on the desktop");
    app.add_flag("--headless", headless, "show no window; write the screen as PNG")->excludes(windowFlag);
    app.add_option("--zoom", zoom, "window pixels per device pixel (default: 2 at 96 dpi, 1 at 192 dpi)")
        ->check(CLI::Range(1, 16));

    auto *init = app.add_subcommand("init", "make a device and install the product into it");
    bool empty = false;
    init->add_option("--profile", profile, "qvga, qvga-landscape, vga, vga-landscape, square, legacy, ppc2002")
        ->capture_default_str();
    init->add_flag("--empty", empty, "no demo documents");
    auto *settings = app.add_subcommand("settings", "print the settings record as the plug-in loads it");
    auto *run = app.add_subcommand("run", "run a device program alone, without the Today screen");
    std::string program;
    std::vector<std::string> programArgs;
    run->add_option("program", program, "the program's device path, such as \\Windows\\PegHelp.exe")->required();
    run->add_option("args", programArgs, "its command line");
    run->prefix_command();
    MonkeyOptions monkeyOptions;
    auto *monkey = app.add_subcommand("monkey", "random repeatable input on a scratch device, checked at every step");
    auto *seed = monkey->add_option("--seed", monkeyOptions.seed, "the seed of a run to replay");
    monkey->add_option("--events", monkeyOptions.events, "how many steps")->capture_default_str();
    monkey->add_option("--profile", monkeyOptions.profile, "device profile")->capture_default_str();
    monkey->add_flag("--keep", monkeyOptions.keepDevice, "keep the scratch device");
    app.get_option("--script")->check(CLI::ExistingFile);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        return UsageError(e.what());
    }
    monkeyOptions.seedGiven = seed->count() > 0;
    if (*monkey) return RunMonkey(monkeyOptions);
    if (!trace.empty() && !TraceWritable(trace, error)) return UsageError(error);

    fs::path root = ChosenRoot(deviceDir);
    if (*init) {
        if (!InitializeDevice(root, profile, empty, error)) {
            fprintf(stderr, "pelloran-sim: %s\n", error.c_str());
            return 1;
        }
        printf("Device %s ready (%s); documents in %s\n", root.c_str(), profile.c_str(),
               (root / "fs" / "My Documents").c_str());
        return 0;
    }
    if (!fs::exists(root / "device.ini")) {
        if (!InitializeDevice(root, profile, false, error)) {
            fprintf(stderr, "pelloran-sim: %s\n", error.c_str());
            return 1;
        }
        printf("Made the device %s (%s)\n", root.c_str(), profile.c_str());
    } else {
        wince::Device::Select(root);
        RefreshProduct(error);  // keeps the installed files pointing at this build
        if (profileOption->count() > 0)
            fprintf(stderr, "pelloran-sim: the device %s exists; `init --profile %s` changes its profile\n",
                    root.c_str(), profile.c_str());
    }
    if (!trace.empty()) setenv("WINCE_TRACE", trace.c_str(), 1);
    if (*settings) {
        PrintSettings();
        return 0;
    }
    if (*run) {
        bool automated = !script.empty() || !screenshot.empty();
        ChooseFrontEndForProgram(window, headless, automated, zoom);
        if (!automated && strcmp(getenv("WINCE_FRONTEND"), "headless") == 0) {
            screenshot = (root / "screen.png").string();
            int status = RunDeviceProgram(program, programArgs, "", screenshot);
            if (status == 0) printf("The screen of %s is in %s\n", program.c_str(), screenshot.c_str());
            return status;
        }
        return RunDeviceProgram(program, programArgs, script, screenshot);
    }

    // A script or a screenshot is work for a machine: headless unless a window is asked for.
    bool automated = !script.empty() || !screenshot.empty();
    wince::FrontEndRequest request;
    request.choice = window ? wince::FrontEndRequest::kWindow
                     : headless || automated ? wince::FrontEndRequest::kHeadless
                                             : wince::FrontEndRequest::kAuto;
    request.zoom = zoom;
    request.interactive = script.empty();
    request.title = "Pelloran - Today (" + root.filename().string() + ")";
    if (root.filename() == "device") request.title = "Pelloran - Today";
    wince::FrontEnd mode;
    if (!wince::StartFrontEnd(request, &mode, &error)) {
        fprintf(stderr, "pelloran-sim: %s\n", error.c_str());
        return 1;
    }
    if (!error.empty()) fprintf(stderr, "pelloran-sim: %s; showing the screen as PNG instead\n", error.c_str());
    bool inWindow = mode == wince::FrontEnd::kWindow;
    if (inWindow && script.empty()) {
        printf("The device is in a window. Documents: %s (files copied there appear on the Today screen)\n",
               (wince::Device::Current().FileSystemRoot() / "My Documents").c_str());
        fflush(stdout);
    }
    if (!inWindow && script.empty() && screenshot.empty()) {
        screenshot = (root / "screen.png").string();
        int status = RunTodayScreen("", screenshot, tabHost, false);
        if (status == 0) printf("The Today screen is in %s\n", screenshot.c_str());
        return status;
    }
    return RunTodayScreen(script, screenshot, tabHost, inWindow);
}
