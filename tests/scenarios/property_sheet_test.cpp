// A program's two-page property sheet driven by a script alone: tabs, the
// action key as OK, Escape, a page that refuses to be left, and the dump.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "temp_device.h"

namespace {

using Json = nlohmann::json;

class SheetScenario : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        std::ofstream(device.Root() / "device.ini")
            << "[screen]\nwidth = 240\nheight = 320\ndpi_x = 96\ndpi_y = 96\n[font]\nmode = fixed\n";
    }
    // Runs the program with the script; its exit status and what it printed.
    int Run(const std::string &script) {
        std::filesystem::path dir = device.Root();
        std::ofstream(dir / "script.txt") << script;
        std::string command = "cd '" + dir.string() + "' && WINCE_DEVICE='" + dir.string() +
                              "' WINCE_SCRIPT=script.txt '" + SHEET_PROGRAM + "' >out.txt 2>&1";
        int status = std::system(command.c_str());
        std::ifstream in(dir / "out.txt");
        std::stringstream s;
        s << in.rdbuf();
        output = s.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    Json Dump(const std::string &name) {
        std::ifstream in(device.Root() / name);
        return Json::parse(in, nullptr, false);
    }
    std::string output;
};

// The items of the first tab control in a window tree.
Json TabsIn(const Json &window) {
    if (window.value("class", "") == "SysTabControl32") return window["items"];
    for (const Json &child : window["children"]) {
        Json found = TabsIn(child);
        if (!found.is_null()) return found;
    }
    return nullptr;
}

TEST_F(SheetScenario, ScriptsDriveTheSheetThroughInputAlone) {
    struct Row {
        const char *what;
        const char *script;
        const char *printed;
    } rows[] = {
        {"OK with both pages made",
         "type Ann\nclick Advanced\nclick Verbose\nclick ok\n",
         "result 1\nheard I0 S0 K0 I1 S1 K1 A0 A1\napplied name=Ann sound=0 verbose=1\n"},
        {"a page that refuses keeps the sheet on it",
         "click Advanced\ntype Bo\nclick Sound\nclick Advanced\nkey enter\n",
         "result 1\nheard I0 S0 K0 K0 I1 S1 K1 A0 A1\napplied name=Bo sound=1 verbose=0\n"},
        {"Escape cancels without applying", "type Cy\nclick Sound\nkey escape\n",
         "result 2\nheard I0 S0 Q0 R0\napplied \n"},
    };
    int i = 0;
    for (const Row &row : rows) {
        EXPECT_EQ(Run(row.script), 0) << "row " << i << ": " << row.what << "\n" << output;
        EXPECT_EQ(output, row.printed) << "row " << i << ": " << row.what;
        ++i;
    }
}

TEST_F(SheetScenario, DumpShowsTheTabsAndAHiddenTabCannotBeClicked) {
    ASSERT_EQ(Run("type Di\nclick Advanced\ndump tabs.json\nkey escape\n"), 0) << output;
    Json dump = Dump("tabs.json");
    ASSERT_FALSE(dump.is_discarded());
    Json tabs, sheet;
    for (const Json &w : dump["windows"])
        if (tabs.is_null()) tabs = TabsIn(w), sheet = w;
    ASSERT_TRUE(tabs.is_array());
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[0]["text"], "General");
    EXPECT_EQ(tabs[0]["selected"], false);
    EXPECT_EQ(tabs[1]["text"], "Advanced");
    EXPECT_EQ(tabs[1]["selected"], true);
    EXPECT_EQ(tabs[1].size(), 3u);  // text, selected, rect
    // The tabs lie along the bottom of the sheet, which lies between the shell's bars.
    EXPECT_EQ(tabs[1]["rect"][3], sheet["rect"][3]);
    EXPECT_LT(sheet["rect"][3], 320);
    EXPECT_GT(sheet["rect"][1], 0);

    // "Sound" is on the page that is not shown: the script stops there.
    EXPECT_EQ(Run("type Ed\nclick Advanced\nclick Sound\n"), 1);
    EXPECT_NE(output.find("script.txt:3: nothing named \"Sound\" can be clicked now"), std::string::npos) << output;
}

}  // namespace
