// The help viewer PegHelp.exe on a device made by `pelloran-sim init`: the
// section from the topic's anchor on, found beside the program that asked,
// scrolled by keys and closed by Escape; or handed to the host's opener.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim_device.h"

namespace {

namespace fs = std::filesystem;
using scenario_testing::Json;

// Long enough that the second section reaches below the screen.
std::string HelpPage() {
    std::string page = "<html><head><title>Started</title></head><body>\n<h1><a name=\"first\"></a>First</h1>\n"
                       "<p>Only in the first section.</p>\n<h2 id=\"second\">Second</h2>\n";
    for (int i = 1; i <= 40; ++i) page += "<p>Line " + std::to_string(i) + " of the second section.</p>\n";
    return page + "</body></html>\n";
}

class HelpViewer : public scenario_testing::SimDeviceTest {
   protected:
    void SetUp() override {
        root = device.Root() / "device";
        ASSERT_EQ(Run(Sim("init --empty")), 0) << output;
        PutOptionsStandIn(STARTED_PROGRAM);
        std::ofstream(root / "fs" / "Program Files" / "Stand-in" / "Started.htm") << HelpPage();
    }
    // The help window's drawn texts, by text: their tops.
    static std::vector<std::pair<std::string, int>> HelpTexts(const Json &dump) {
        std::vector<std::pair<std::string, int>> texts;
        if (dump.is_discarded()) return texts;
        for (const Json &top : dump["windows"])
            if (top.value("class", "") == "PegHelpView" && top.value("visible", false))
                for (const Json &d : top["drawnText"]) texts.emplace_back(d.value("text", ""), d["rect"][1].get<int>());
        return texts;
    }
    static int TopOf(const std::vector<std::pair<std::string, int>> &texts, const std::string &text) {
        for (const auto &[t, top] : texts)
            if (t == text) return top;
        return -1;
    }
};

// Today starts a program, the program starts help on its own file; the
// navigation bar's ok closes help, the program goes on, and then the Today screen.
TEST_F(HelpViewer, ShowsTheSectionOfTheAskingProgramsFileAndCloses) {
    ASSERT_EQ(RunScript("tap 8 54\n"
                        "click Help\n"
                        "dump help.json\n"
                        "key down\nkey down\nkey down\n"
                        "dump scrolled.json\n"
                        "down 120 250\nmove 120 200\nmove 120 150\nup 120 150\n"
                        "dump dragged.json\n"
                        "click ok\n"
                        "dump program.json\n"
                        "click Done\n"
                        "dump today.json\n"),
              0)
        << output;
    auto shown = HelpTexts(Dump("help.json"));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].first, "Second");  // from the anchor on
    EXPECT_EQ(TopOf(shown, "Only in the first section."), -1);
    EXPECT_EQ(TopOf(shown, "Line 40 of the second section."), -1);  // below the screen
    // Three lines down: the same text, higher up.
    auto scrolled = HelpTexts(Dump("scrolled.json"));
    int before = TopOf(shown, "Line 5 of the second section."), after = TopOf(scrolled, "Line 5 of the second section.");
    ASSERT_GE(before, 0);
    ASSERT_GE(after, 0);
    EXPECT_LT(after, before);
    // The stylus dragged 100 pixels up: the text followed it.
    int dragged = TopOf(HelpTexts(Dump("dragged.json")), "Line 12 of the second section.");
    int undragged = TopOf(scrolled, "Line 12 of the second section.");
    ASSERT_GE(undragged, 0);
    EXPECT_EQ(dragged, undragged - 100);
    EXPECT_TRUE(HelpTexts(Dump("program.json")).empty());
    std::ifstream in(root / "trace.jsonl");
    std::vector<std::string> starts;
    for (std::string line; std::getline(in, line);) {
        Json e = Json::parse(line, nullptr, false);
        if (!e.is_discarded() && e.value("event", "") == "CreateProcess")
            starts.push_back(e.value("application", "") + " " + e.value("commandLine", ""));
    }
    EXPECT_EQ(starts, (std::vector<std::string>{standIn + " ",
                                                "\\Windows\\PegHelp.exe file:Started.htm#second"}));
}

TEST_F(HelpViewer, AFileThatIsNotThereIsSaidOnTheScreen) {
    ASSERT_EQ(RunScript("dump help.json\nkey enter\n", "run '\\Windows\\PegHelp.exe' file:Missing.htm#x"), 0)
        << output;
    auto shown = HelpTexts(Dump("help.json"));
    ASSERT_EQ(shown.size(), 1u);
    std::string said = shown[0].first;
    std::replace(said.begin(), said.end(), '\n', ' ');  // wrapped to the screen
    EXPECT_EQ(said, "The help file Missing.htm cannot be found.");
}

// With open_on_host the host's opener gets the page and its anchor, and
// the viewer shows no window of its own.
TEST_F(HelpViewer, OpenOnHostHandsThePageToTheOpener) {
    fs::path opener = root / "opener.sh", got = root / "opened.txt";
    std::ofstream(opener) << "#!/bin/sh\necho \"$1\" > '" << got.string() << "'\n";
    fs::permissions(opener, fs::perms::owner_all);
    std::ofstream(root / "device.ini", std::ios::app) << "\n[shell]\nopen_on_host = 1\nopener = " << opener.string() << "\n";
    fs::copy_file(root / "fs" / "Program Files" / "Stand-in" / "Started.htm", root / "fs" / "Windows" / "Started.htm");
    ASSERT_EQ(RunScript("", "run '\\Windows\\PegHelp.exe' file:Started.htm#second"), 0) << output;
    for (int i = 0; i < 100 && !fs::exists(got); ++i) usleep(50000);  // the opener runs on its own
    std::ifstream in(got);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "file://" + (root / "fs" / "Windows" / "Started.htm").string() + "#second");
}

}  // namespace
