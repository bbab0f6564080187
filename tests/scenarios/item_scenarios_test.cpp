// The scripts beside this file run through pelloran-sim on a fresh demo
// device, as a person would use the item; the trace, the window dump and
// the files left on the device show what happened.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim_device.h"

namespace {

namespace fs = std::filesystem;
using scenario_testing::Json;

class ItemScenario : public scenario_testing::SimDeviceTest {
   protected:
    void SetUp() override {
        root = device.Root() / "device";
        ASSERT_EQ(Run(Sim("init")), 0) << output;
        // A stand-in that shows no window records the options program's
        // starts; the real one would take the script over from its window.
        PutOptionsStandIn("/bin/true");
    }
    // Runs the script of that name from the source tree; its exit status.
    int RunScriptFile(const std::string &name) {
        return Run(Sim("--script '" + std::string(SCENARIO_DIR) + "/" + name + "' --trace '" +
                       (root / "trace.jsonl").string() + "'"));
    }
    // The texts the item's last paint drew, from a dump the script wrote.
    std::vector<std::string> DrawnTexts(const std::string &dump) const {
        std::ifstream in(root / dump);
        Json j = Json::parse(in, nullptr, false);
        std::vector<std::string> texts;
        if (j.is_discarded()) return texts;
        for (const Json &top : j["windows"])
            for (const Json &child : top.value("children", Json::array()))
                if (child.value("class", "") == "PelloranWindow")
                    for (const Json &drawn : child["drawnText"]) texts.push_back(drawn.value("text", ""));
        return texts;
    }
    bool OnDevice(const std::string &devicePath) const { return fs::exists(root / "fs" / devicePath); }
};

// The Today screen between the navigation bar and its menu bar over the bottom strip.
const std::vector<std::string> kTodayWindows{"HHTaskBar", "ToolbarWindow32", "menu_worker", "DesktopExplorerWindow"};

std::vector<std::pair<std::string, std::string>> Opened(const std::vector<Json> &events) {
    std::vector<std::pair<std::string, std::string>> opened;
    for (const Json &e : events) opened.emplace_back(e.value("file", ""), e.value("verb", ""));
    return opened;
}

TEST_F(ItemScenario, KeysAndTapsSelectAndOpenDocuments) {
    ASSERT_EQ(RunScriptFile("select_and_open.txt"), 0) << output;
    EXPECT_EQ(Opened(Trace("ShellExecuteEx")),
              (std::vector<std::pair<std::string, std::string>>{{"\\My Documents\\Memo.wav", "open"},
                                                                {"\\My Documents\\Shopping list.txt", "opendoc"},
                                                                {"\\My Documents\\Budget.pxl", "opendoc"}}));
    std::vector<std::string> drawn = DrawnTexts("select_and_open.json");
    EXPECT_TRUE(Has(drawn, "Memo") && Has(drawn, "Letter") && Has(drawn, "Report")) << drawn.size();
    EXPECT_EQ(Shown(Dump("select_and_open.json")), kTodayWindows);
}

TEST_F(ItemScenario, TheContextMenuRenamesDeletesAndBrowses) {
    ASSERT_EQ(RunScriptFile("context_menu.txt"), 0) << output;
    std::vector<Json> moves = Trace("MoveFile");
    ASSERT_EQ(moves.size(), 1u) << "the refused name moved nothing";
    EXPECT_EQ(moves[0].value("from", ""), "\\My Documents\\Report.psw");
    EXPECT_EQ(moves[0].value("to", ""), "\\My Documents\\Annual report.psw");

    std::vector<Json> boxes = Trace("MessageBox");
    ASSERT_EQ(boxes.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(boxes[i].value("text", ""), "Are you sure you want to delete 'Memo'?");
        EXPECT_EQ(boxes[i].value("caption", ""), "Confirm File Delete");
    }
    EXPECT_EQ(boxes[0].value("answer", 0), 7);  // No
    EXPECT_EQ(boxes[1].value("answer", 0), 6);  // Yes
    EXPECT_EQ(boxes[2].value("text", ""),
              "Cannot rename 'Annual report':\n\nA file with name you specified already exist. Specify a different "
              "file name.");
    EXPECT_EQ(boxes[2].value("caption", ""), "Error Renaming File");
    std::vector<Json> deleted = Trace("DeleteFile");
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].value("path", ""), "\\My Documents\\Memo.wav");

    std::vector<Json> menus = Trace("TrackPopupMenu");
    ASSERT_EQ(menus.size(), 5u);
    EXPECT_EQ(menus[3]["items"].size(), 2u) << "the hold on empty space";
    std::vector<Json> shown = Trace("ShellExecuteEx");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].value("file", ""), "\\Windows\\fexplore.exe");
    EXPECT_EQ(shown[0].value("parameters", ""), "\\My Documents");

    EXPECT_TRUE(OnDevice("My Documents/Annual report.psw"));
    EXPECT_FALSE(OnDevice("My Documents/Report.psw"));
    EXPECT_FALSE(OnDevice("My Documents/Memo.wav"));
    EXPECT_TRUE(OnDevice("My Documents/Trip.v2.psw"));
    std::vector<std::string> drawn = DrawnTexts("context_menu.json");
    EXPECT_TRUE(Has(drawn, "Budget")) << drawn.size();
    EXPECT_FALSE(Has(drawn, "Memo"));
    EXPECT_FALSE(Has(drawn, "Report"));
    EXPECT_EQ(Shown(Dump("context_menu.json")), kTodayWindows);
}

TEST_F(ItemScenario, TheStripScrollsAndTheFolderIconStartsTheOptions) {
    SetDword("Subfolders", 1);
    ASSERT_EQ(RunScriptFile("scroll_and_options.txt"), 0) << output;
    std::vector<std::string> scrolled = DrawnTexts("scrolled.json");
    EXPECT_TRUE(Has(scrolled, "Tasks") && Has(scrolled, "Plan")) << scrolled.size();
    EXPECT_FALSE(Has(scrolled, "Budget"));
    std::vector<std::string> end = DrawnTexts("scroll_and_options.json");
    EXPECT_TRUE(Has(end, "Tasks")) << "the drag scrolled down again";

    std::vector<Json> started = Trace("ShellExecuteEx");
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].value("file", ""), "\\Windows\\fexplore.exe");
    EXPECT_EQ(started[0].value("parameters", ""), "\\My Documents\\Work");
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(started[i].value("file", ""), standIn);
        EXPECT_EQ(started[i].value("verb", ""), "open");
    }
    EXPECT_EQ(Trace("CreateProcess").size(), 2u);
}

}  // namespace
