// The options program as a person uses it: started from the Today screen,
// driven through both pages, the chooser and About by a script, and what
// reaches the registry and the Today screen afterwards.
// Set PELLORAN_SCREENSHOTS to a folder to keep the pictures.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "sim_device.h"

namespace {

namespace fs = std::filesystem;
using scenario_testing::Json;

const char kOptions[] = "'\\Program Files\\Pelloran\\PelloranOptions.exe'";

class OptionsProgram : public scenario_testing::SimDeviceTest {
   protected:
    void Init(const std::string &profile) {
        root = device.Root() / profile;
        ASSERT_EQ(Run(Sim("init --profile " + profile)), 0) << output;
    }
    int RunScript(const std::string &text, const std::string &command = "") {
        fs::remove(root / "trace.jsonl");
        return SimDeviceTest::RunScript(text, command);
    }
    // The reload requests sent to the Today screen.
    int Reloads() const {
        int n = 0;
        for (const Json &e : Trace("PostMessage")) n += e.value("message", 0) == 0x1A && e.value("wParam", 0) == 0xF2;
        return n;
    }
    std::string Registry() const {
        std::ifstream in(root / "registry.reg");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// Every window of a dump, depth first.
void EachWindow(const Json &w, const std::function<void(const Json &)> &visit) {
    visit(w);
    for (const Json &c : w.value("children", Json::array())) EachWindow(c, visit);
}

std::vector<Json> WindowsOf(const Json &dump, const std::string &cls) {
    std::vector<Json> found;
    if (dump.is_discarded()) return found;
    for (const Json &top : dump["windows"])
        EachWindow(top, [&](const Json &w) {
            if (w.value("class", "") == cls && w.value("visible", true)) found.push_back(w);
        });
    return found;
}

std::vector<std::string> ItemTexts(const Json &window) {
    std::vector<std::string> texts;
    for (const Json &i : window.value("items", Json::array())) texts.push_back(i.value("text", ""));
    return texts;
}

std::vector<std::string> DrawnTexts(const Json &dump, const std::string &cls) {
    std::vector<std::string> texts;
    for (const Json &w : WindowsOf(dump, cls))
        for (const Json &d : w.value("drawnText", Json::array())) texts.push_back(d.value("text", ""));
    return texts;
}


// From the Today screen: a hold on empty space, "Options...", subfolders
// on, three columns with the spin, \My Documents\Work from the chooser,
// Notes off, About from the menu bar, "ok": one reload, the values in the
// registry, and the Today screen showing the new grid. On both screens.
TEST_F(OptionsProgram, FromTheTodayScreenTheSheetChangesTheGrid) {
    const char *keep = std::getenv("PELLORAN_SCREENSHOTS");
    for (const auto &[profile, scale] : {std::pair<std::string, int>{"qvga", 1}, {"vga", 2}}) {
        SCOPED_TRACE(profile);
        Init(profile);
        auto at = [&, scale = scale](int x, int y) {
            return std::to_string(x * scale) + " " + std::to_string(y * scale);
        };
        // The gap under the folder icon is empty space; the columns spin's
        // right half is at (104, 162) with the input panel down.
        std::string script = "hold " + at(8, 100) + "\nclick Options...\ndump sheet.json\n" +
                             "click Include files in subfolders\ntap " + at(104, 162) +
                             "\nscreenshot folder.png\nclick ...\n"
                             "tap " + at(8, 79) + "\nclick Work\ndump chooser.json\nscreenshot chooser.png\nclick ok\n"
                             "click Documents\nclick Notes\nscreenshot documents.png\n"
                             "click Tools\nclick About...\nscreenshot about.png\nclick ok\n"
                             "click ok\ndump today.json\n";
        ASSERT_EQ(RunScript(script), 0) << output;

        Json sheet = Dump("sheet.json");
        std::vector<Json> tabs = WindowsOf(sheet, "SysTabControl32");
        ASSERT_EQ(tabs.size(), 1u);
        EXPECT_EQ(ItemTexts(tabs[0]), (std::vector<std::string>{"Folder", "Documents"}));
        std::vector<Json> nav = WindowsOf(sheet, "HHTaskBar");
        ASSERT_EQ(nav.size(), 1u);
        EXPECT_EQ(nav[0].value("text", ""), "Pelloran Options");

        std::vector<Json> trees = WindowsOf(Dump("chooser.json"), "SysTreeView32");
        ASSERT_EQ(trees.size(), 1u);
        std::string selected;
        for (const Json &i : trees[0]["items"])
            if (i.value("selected", false)) selected = i.value("text", "");
        EXPECT_EQ(selected, "Work");

        EXPECT_EQ(Trace("TrackPopupMenu").size(), 2u) << "the item's menu, then Tools";
        EXPECT_EQ(Reloads(), 1);
        std::string registry = Registry();
        for (const char *line : {"\"Folder\"=\"\\\\My Documents\\\\Work\"", "\"Subfolders\"=dword:00000001",
                                 "\"Cols\"=dword:00000003", "\"ShowNotes\"=dword:00000000",
                                 "\"NoTemplates\"=dword:00000001", "\"ShowPocketWord\"=dword:00000001"})
            EXPECT_NE(registry.find(line), std::string::npos) << line;

        // The re-created item lists the Work folder: Plan and Tasks, nothing of the old folder.
        std::vector<std::string> drawn = DrawnTexts(Dump("today.json"), "PelloranWindow");
        EXPECT_TRUE(Has(drawn, "Plan") && Has(drawn, "Tasks")) << drawn.size();
        EXPECT_FALSE(Has(drawn, "Budget"));
        if (keep) {
            for (const char *shot : {"folder", "chooser", "documents", "about"})
                fs::copy_file(root / (std::string(shot) + ".png"),
                              fs::path(keep) / ("options-" + profile + "-" + shot + ".png"),
                              fs::copy_options::overwrite_existing);
        }
    }
}

// Only OK asks the Today screen to reload, after the values are written;
// Escape and closing the program (the script ending in it, as the window's
// close does) send nothing and leave the registry as it was.
TEST_F(OptionsProgram, OnlyOkSendsTheReloadAndWrites) {
    Init("qvga");
    const struct {
        const char *ending;
        int reloads;
    } rows[] = {{"click ok\n", 1}, {"key escape\n", 0}, {"", 0}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.ending);
        std::string before = Registry();
        std::string script = "hold 8 100\nclick Options...\nclick Include files in subfolders\nclick Documents\n"
                             "click All files\n" + std::string(row.ending);
        ASSERT_EQ(RunScript(script), 0) << output;
        EXPECT_EQ(Reloads(), row.reloads);
        if (row.reloads) {
            EXPECT_NE(Registry().find("\"ShowAll\"=dword:00000001"), std::string::npos);
            EXPECT_NE(Registry().find("\"Subfolders\"=dword:00000001"), std::string::npos);
            // Back as it was, for the rows that follow.
            ASSERT_EQ(RunScript("hold 8 100\nclick Options...\nclick Include files in subfolders\nclick "
                                "Documents\nclick All files\nclick ok\n"),
                      0)
                << output;
        } else {
            EXPECT_EQ(Registry(), before);
        }
    }
}

// The translation table is loaded by the pages' constructors: the Folder
// tab and the owner's title keep their built-in texts, the Documents tab
// and the page's texts are translated, the sheet's caption is not.
TEST_F(OptionsProgram, TranslationsReachWhatIsMadeAfterTheyLoad) {
    Init("qvga");
    std::u16string table =
        u"\uFEFFFolder|Ordner\r\nDocuments|Dokumente\r\nSettings|Einstellungen\r\nPelloran Options|Pelloran-"
        u"Optionen\r\nAll files|Alle Dateien\r\nVersion %s, Build %s|Fassung %s (Bau %s)\r\n";
    std::string bytes;
    for (char16_t c : table) bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
    std::ofstream(root / "fs" / "Program Files" / "Pelloran" / "localization.txt", std::ios::binary) << bytes;
    ASSERT_EQ(RunScript("click Dokumente\ndump sheet.json\nclick Tools\nclick About...\ndump about.json\nclick "
                        "ok\nkey escape\n",
                        std::string("run ") + kOptions),
              0)
        << output;
    std::vector<std::string> about;
    for (const Json &s : WindowsOf(Dump("about.json"), "STATIC")) about.push_back(s.value("text", ""));
    EXPECT_TRUE(Has(about, "Fassung 1.0.1 (Bau 376)")) << about.size();
    Json sheet = Dump("sheet.json");
    std::vector<Json> tabs = WindowsOf(sheet, "SysTabControl32");
    ASSERT_EQ(tabs.size(), 1u);
    EXPECT_EQ(ItemTexts(tabs[0]), (std::vector<std::string>{"Folder", "Dokumente"}));
    std::vector<Json> owners = WindowsOf(sheet, "PelloranMegaWndClass");
    ASSERT_EQ(owners.size(), 1u);
    EXPECT_EQ(owners[0].value("text", ""), "Settings");
    std::vector<std::string> boxes;
    for (const Json &b : WindowsOf(sheet, "BUTTON")) boxes.push_back(b.value("text", ""));
    EXPECT_TRUE(Has(boxes, "Alle Dateien")) << boxes.size();
    std::vector<Json> nav = WindowsOf(sheet, "HHTaskBar");
    ASSERT_EQ(nav.size(), 1u);
    EXPECT_EQ(nav[0].value("text", ""), "Pelloran Options");
}

// Start's Help asks for the topic of what is in front: the Folder page,
// the Documents page, the About box; the help viewer shows it and closes
// with its "ok".
TEST_F(OptionsProgram, HelpOpensTheTopicOfWhatIsInFront) {
    Init("qvga");
    ASSERT_EQ(RunScript("click Start\nclick Help\ndump help.json\nclick ok\nclick Documents\nclick Start\nclick "
                        "Help\nclick ok\nclick Tools\nclick About...\nclick Start\nclick Help\nclick ok\nclick "
                        "ok\nkey escape\n",
                        std::string("run ") + kOptions),
              0)
        << output;
    std::vector<std::string> topics;
    for (const Json &e : Trace("CreateProcess"))
        if (e.value("application", "") == "\\Windows\\PegHelp.exe") topics.push_back(e.value("commandLine", ""));
    EXPECT_EQ(topics, (std::vector<std::string>{"file:Pelloran.htm#folder", "file:Pelloran.htm#documents",
                                                "file:Pelloran.htm#Main_Contents"}));
    std::vector<std::string> shown = DrawnTexts(Dump("help.json"), "PegHelpView");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0], "Folder settings");
}

// The program keeps no single instance: two started at once show two sheets.
TEST_F(OptionsProgram, TwoProgramsShowTwoSheets) {
    Init("qvga");
    std::ofstream both(root / "both.sh");
    for (const char *name : {"a", "b"}) {
        std::ofstream(root / (std::string(name) + ".txt")) << "wait 500\ndump " << name << ".json\n";
        both << Sim("--script '" + (root / name).string() + ".txt' run " + kOptions) << " &\n"
             << name << "=$!\n";
    }
    both << "wait $a && wait $b\n";
    both.close();
    ASSERT_EQ(Run("sh both.sh"), 0) << output;
    for (const char *name : {"a.json", "b.json"}) {
        std::vector<Json> tabs = WindowsOf(Dump(name), "SysTabControl32");
        EXPECT_EQ(tabs.size(), 1u) << name;
    }
}

}  // namespace
