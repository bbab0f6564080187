// The shell's bars driven through pelloran-sim: Start's Help and Today in a
// program the Today screen started (and in the help viewer that program
// started), and a menu bar's buttons and drop-down in a program run alone.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim_device.h"

namespace {

namespace fs = std::filesystem;
using scenario_testing::Json;

class StartMenu : public scenario_testing::SimDeviceTest {
   protected:
    void SetUp() override {
        root = device.Root() / "device";
        ASSERT_EQ(Run(Sim("init")), 0) << output;
        // The program stands in for the options program, which the item's folder icon starts.
        PutOptionsStandIn(MENU_PROGRAM);
        std::ofstream(root / "fs" / "Program Files" / "Stand-in" / "Menu.htm") << "<html><body><h1 id=\"help\">Menu help</h1><p>Taps.</p></body></html>\n";
    }
    // The trace's events, each as its name and, for starts, menus and
    // message boxes, what tells them apart.
    std::vector<std::string> Events() const {
        std::vector<std::string> events;
        for (const Json &e : Trace()) {
            std::string name = e.value("event", "");
            if (name == "CreateProcess") name += " " + e.value("application", "") + " " + e.value("commandLine", "");
            if (name == "TrackPopupMenu") name += " " + std::to_string(e.value("answer", 0));
            if (name == "MessageBox") name += " " + e.value("caption", "");
            if (name == "SetForegroundWindow" && e.contains("error"))
                name += " error " + std::to_string(e.value("error", 0));
            events.push_back(name);
        }
        return events;
    }
    // The items of the visible top-level windows of a class, as "text id enabled".
    static std::vector<std::string> Items(const Json &dump, const std::string &cls) {
        std::vector<std::string> items;
        if (dump.is_discarded()) return items;
        for (const Json &top : dump["windows"]) {
            if (top.value("class", "") != cls || !top.value("visible", false)) continue;
            for (const Json &item : top.value("items", Json::array()))
                items.push_back(item.value("text", "") + " " + std::to_string(item.value("id", -1)) +
                                (item.value("enabled", false) ? " enabled" : " disabled"));
        }
        return items;
    }
    // Programs still running on this device, after a moment for those just ended.
    int ProgramsLeft() const {
        const std::string mark = "WINCE_DEVICE=" + root.string();
        int left = 0;
        for (int tries = 0; tries < 40; ++tries) {
            left = 0;
            for (const auto &entry : fs::directory_iterator("/proc")) {
                std::string pid = entry.path().filename();
                if (pid.find_first_not_of("0123456789") != std::string::npos || pid == std::to_string(getpid()))
                    continue;
                std::ifstream in(entry.path() / "environ", std::ios::binary);
                for (std::string var; std::getline(in, var, '\0');)
                    if (var == mark) ++left;
            }
            if (left == 0) break;
            usleep(50000);
        }
        return left;
    }
};

const std::string kOptions = "CreateProcess \\Program Files\\Stand-in\\PelloranOptions.exe ";
const char kHelp[] = "CreateProcess \\Windows\\PegHelp.exe file:Menu.htm#help";

// Start's Help reaches the program in front, which starts help; Start's
// Today, in the program or in the help viewer it started, brings the Today
// screen to the front: the lines that follow are the Today screen's, and
// the programs behind it end with the script.
TEST_F(StartMenu, HelpAndTodayFromProgramsTheTodayScreenStarted) {
    const struct {
        const char *script;
        std::vector<std::string> events;
    } rows[] = {
        {"tap 8 54\n"  // the folder icon starts the program
         "dump program.json\n"
         "click Start\nclick Help\n"
         "dump help.json\n"
         "click ok\n"
         "click Start\nclick Today\n"
         "dump today.json\n"
         "key down\n",
         {"ShellExecuteEx", kOptions, "TrackPopupMenu 2", kHelp, "TrackPopupMenu 1", "SetForegroundWindow"}},
        // From the help viewer, behind which the program lies too; the
        // Today screen then starts the program again, which ends by itself.
        {"tap 8 54\n"
         "click Start\nclick Help\n"
         "dump help.json\n"
         "click Start\nclick Today\n"
         "dump today.json\n"
         "tap 8 54\n"
         "dump program.json\n"
         "click Done\n"
         "dump again.json\n",
         {"ShellExecuteEx", kOptions, "TrackPopupMenu 2", kHelp, "TrackPopupMenu 1", "SetForegroundWindow",
          "ShellExecuteEx", kOptions}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        for (const char *file : {"program.json", "help.json", "today.json", "again.json", "trace.jsonl"})
            fs::remove(root / file);
        ASSERT_EQ(RunScript(rows[i].script), 0) << "row " << i << ": " << output;
        std::vector<std::string> program = Shown(Dump("program.json"));
        EXPECT_TRUE(Has(program, "MenuProgram") && Has(program, "HHTaskBar")) << "row " << i;
        EXPECT_TRUE(Has(Shown(Dump("help.json")), "PegHelpView")) << "row " << i;
        // The Today screen's own dump: its desktop and items, no program window.
        std::vector<std::string> today = Shown(Dump("today.json"));
        EXPECT_TRUE(Has(today, "DesktopExplorerWindow")) << "row " << i;
        EXPECT_FALSE(Has(today, "MenuProgram") || Has(today, "PegHelpView")) << "row " << i;
        if (i == 1) {
            EXPECT_TRUE(Has(Shown(Dump("again.json")), "DesktopExplorerWindow"));
        }
        EXPECT_EQ(Events(), rows[i].events) << "row " << i;
        EXPECT_EQ(ProgramsLeft(), 0) << "row " << i << ": a program behind the Today screen outlived the script";
    }
}

// A menu bar's drop-down opens the owner's popup, after the owner updated
// it; its item's command reaches the owner. Without a Today screen Start's
// Today does nothing but say so in the trace, and the program stays in front.
TEST_F(StartMenu, MenuBarAndTodayInAProgramRunAlone) {
    ASSERT_EQ(RunScript("dump bar.json\n"
                        "click Tools\n"
                        "dump tools.json\n"
                        "click About\n"
                        "dump about.json\n"
                        "click OK\n"
                        "click Start\nclick Today\n"
                        "dump still.json\n"
                        "click Done\n",
                        "run '" + standIn + "'"),
              0)
        << output;
    Json bar = Dump("bar.json");
    std::vector<std::string> buttons = Items(bar, "ToolbarWindow32");
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0], "Done 201 enabled");
    EXPECT_EQ(buttons[1].substr(0, 6), "Tools ");  // a drop-down's command is its popup's
    EXPECT_EQ(buttons[1].substr(buttons[1].size() - 8), " enabled");
    EXPECT_TRUE(Has(Shown(bar), "HHTaskBar"));
    EXPECT_EQ(Items(Dump("tools.json"), "#32768"),
              (std::vector<std::string>{"About 202 enabled", "Later 203 disabled"}));
    EXPECT_TRUE(Has(Shown(Dump("about.json")), "Dialog"));
    std::vector<std::string> still = Shown(Dump("still.json"));
    EXPECT_TRUE(Has(still, "MenuProgram"));
    EXPECT_FALSE(Has(still, "DesktopExplorerWindow"));
    EXPECT_EQ(Events(), (std::vector<std::string>{kOptions, "TrackPopupMenu 202", "MessageBox About",
                                                  "TrackPopupMenu 1", "SetForegroundWindow error 1400"}));
}

}  // namespace
