// Scripts across programs: a program the Today screen starts takes the
// script over from its first window until it ends, and the script goes on
// in the Today screen after it has handled what that program sent it;
// `pelloran-sim run` drives one program alone.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sim_device.h"

namespace {

namespace fs = std::filesystem;
using scenario_testing::Json;

class StartedProgram : public scenario_testing::SimDeviceTest {
   protected:
    void SetUp() override {
        root = device.Root() / "device";
        ASSERT_EQ(Run(Sim("init")), 0) << output;
        // The program plays the options program, which the item's folder icon starts.
        PutOptionsStandIn(STARTED_PROGRAM);
    }
    std::vector<std::string> TraceEvents() const {
        std::vector<std::string> events;
        for (const Json &e : Trace()) events.push_back(e.value("event", ""));
        return events;
    }
    // The rightmost edge of any text the item's last paint drew.
    static int ItemTextRight(const Json &dump) {
        int right = -1;
        if (dump.is_discarded()) return right;
        for (const Json &top : dump["windows"])
            for (const Json &child : top.value("children", Json::array()))
                if (child.value("class", "") == "PelloranWindow")
                    for (const Json &drawn : child["drawnText"]) right = std::max(right, drawn["rect"][2].get<int>());
        return right;
    }
};

TEST_F(StartedProgram, TakesTheScriptUntilItEndsThenTheTodayScreenGoesOn) {
    ASSERT_EQ(RunScript("dump before.json\n"
                        "tap 8 54\n"  // the folder icon (under the navigation bar) starts the options program
                        "dump started.json\n"
                        "click One column\n"
                        "click Done\n"
                        "dump after.json\n"
                        "key down\n"),
              0)
        << output;
    // Its screen while it ran, then the Today screen's again.
    EXPECT_EQ(Shown(Dump("started.json")), std::vector<std::string>{"StartedProgram"});
    std::vector<std::string> today = Shown(Dump("after.json"));
    EXPECT_NE(std::find(today.begin(), today.end(), "DesktopExplorerWindow"), today.end());
    EXPECT_EQ(std::find(today.begin(), today.end(), "StartedProgram"), today.end());
    // The reload it asked for was handled before the next line: the item
    // was made again with one column, so its texts keep to the left half.
    int before = ItemTextRight(Dump("before.json")), after = ItemTextRight(Dump("after.json"));
    EXPECT_GT(before, 120);
    EXPECT_GT(after, 0);
    EXPECT_LT(after, before);
    // One trace, in order: the start, then what the started program did.
    EXPECT_EQ(TraceEvents(), (std::vector<std::string>{"ShellExecuteEx", "CreateProcess", "PostMessage"}));
}

// The lines of each row; what the run says and how it ends.
TEST_F(StartedProgram, ScriptsEndingOrFailingInTheStartedProgram) {
    struct Row {
        const char *script;
        int status;
        const char *says;  // in the output, after the script's name
    };
    const Row rows[] = {
        // The script ends while the program runs: the program ends, and the run with it.
        {"tap 8 54\ndump started.json\n", 0, ""},
        // A line the program cannot carry out stops the whole run, naming it.
        {"tap 8 54\nclick Nothing\n", 1, ":2: nothing named \"Nothing\" can be clicked now"},
        // Lines after the program ended are the Today screen's again.
        {"tap 8 54\nclick Done\nclick Done\n", 1, ":3: nothing named \"Done\" can be clicked now"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(RunScript(rows[i].script), rows[i].status) << "row " << i << ": " << output;
        if (*rows[i].says) {
            EXPECT_NE(output.find(std::string("s.txt") + rows[i].says), std::string::npos) << "row " << i << ": " << output;
        }
    }
    EXPECT_EQ(Shown(Dump("started.json")), std::vector<std::string>{"StartedProgram"});
}

// A started program that neither shows a window nor ends does not hold the
// script for ever: the run stops at the line that started it, and ends it.
TEST_F(StartedProgram, AProgramWithoutAWindowIsGivenUpOn) {
    fs::path hang = root / "hang.sh", mark = root / "still-running";
    std::ofstream(hang) << "#!/bin/sh\nsleep 3\ntouch '" << mark.string() << "'\n";
    fs::permissions(hang, fs::perms::owner_all);
    PutOptionsStandIn(hang.string());
    setenv("WINCE_SCRIPT_CLAIM_SECONDS", "1", 1);
    int status = RunScript("wait 10\ntap 8 54\ndump never.json\n");
    unsetenv("WINCE_SCRIPT_CLAIM_SECONDS");
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("s.txt:2: the started program showed no window within 1 s"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(root / "never.json"));
    sleep(4);
    EXPECT_FALSE(fs::exists(mark)) << "the program was left running";
}

TEST_F(StartedProgram, RunDrivesOneProgramAloneAndEndsWithIt) {
    const std::string program = "run '" + standIn + "'";
    EXPECT_EQ(RunScript("dump alone.json\nclick One column\nclick Done\n", program), 0) << output;
    EXPECT_EQ(Shown(Dump("alone.json")), std::vector<std::string>{"StartedProgram"});
    // Its button was clicked: the setting is written (no Today screen takes the reload).
    std::ifstream registry(root / "registry.reg");
    std::string text((std::istreambuf_iterator<char>(registry)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\"Cols\"=dword:00000001"), std::string::npos);
    EXPECT_EQ(TraceEvents(), std::vector<std::string>{"CreateProcess"});
    // Lines left when the program has ended cannot be carried out.
    EXPECT_EQ(RunScript("click Done\ntap 10 10\n", program), 1) << output;
    EXPECT_NE(output.find("s.txt:2: the program has ended"), std::string::npos) << output;
    // A program that is not on the device: the start is traced with its error.
    EXPECT_EQ(RunScript("tap 10 10\n", "run '\\Windows\\nothing.exe'"), 1) << output;
    EXPECT_NE(output.find("cannot start \\Windows\\nothing.exe (error 2)"), std::string::npos) << output;
    std::ifstream in(root / "trace.jsonl");
    std::string last, line;
    while (std::getline(in, line)) last = line;
    EXPECT_EQ(last, R"({"event":"CreateProcess","application":"\\Windows\\nothing.exe","commandLine":"","error":2})");
    // Headless without a script, the program's screen is written as PNG.
    fs::remove(root / "screen.png");
    EXPECT_EQ(Run(Sim("--headless " + program)), 0) << output;
    EXPECT_TRUE(fs::exists(root / "screen.png")) << output;
}

// Any program of the layer makes a missing device as `pelloran-sim init`
// does, and runs the script the environment gives it.
TEST_F(StartedProgram, AnyProgramMakesANewDeviceAsInitDoes) {
    fs::path fresh = device.Root() / "fresh";
    EXPECT_EQ(Run("WINCE_DEVICE='" + fresh.string() + "' WINCE_SCRIPT_APPENDED='click One column' " + STARTED_PROGRAM),
              0)
        << output;
    for (const char *file : {"My Documents/Report.psw", "My Documents/Work/Plan.psw", "Program Files/Pelloran/Pelloran.dll",
                             "Program Files/Pelloran/PelloranOptions.exe", "Program Files/Pelloran/Pelloran.htm",
                             "Windows/PegHelp.exe"})
        EXPECT_TRUE(fs::exists(fresh / "fs" / file)) << file;
    std::ifstream registry(fresh / "registry.reg");
    std::string text((std::istreambuf_iterator<char>(registry)), std::istreambuf_iterator<char>());
    for (const char *line : {"\"DLL\"=\"\\\\Program Files\\\\Pelloran\\\\Pelloran.dll\"",
                             "\"InstallDir\"=\"\\\\Program Files\\\\Pelloran\"", "\"Cols\"=dword:00000001"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    // A script line the program cannot carry out is reported by the program itself.
    EXPECT_NE(Run("WINCE_DEVICE='" + fresh.string() + "' WINCE_SCRIPT_APPENDED='click Nothing' " + STARTED_PROGRAM), 0);
    EXPECT_NE(output.find("(script):2: nothing named \"Nothing\" can be clicked now"), std::string::npos) << output;
}

}  // namespace
