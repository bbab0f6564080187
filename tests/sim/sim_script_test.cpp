// pelloran-sim runs scripts on a device made with `pelloran-sim init`:
// each command, the window dump, and errors that name the script line.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "temp_device.h"

namespace fs = std::filesystem;

namespace {

class Sim : public ::testing::Test {
   protected:
    void SetUp() override {
        root = (temp.Root() / "device").string();
        ASSERT_EQ(Run("--device " + root + " init --empty"), 0) << err;
    }
    // Runs pelloran-sim with the arguments; its exit status, with stderr in err.
    int Run(const std::string &args) {
        std::string errFile = (temp.Root() / "stderr.txt").string();
        int status = std::system((std::string(PELLORAN_SIM) + " " + args + " >/dev/null 2>" + errFile).c_str());
        std::ifstream in(errFile);
        std::stringstream s;
        s << in.rdbuf();
        err = s.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int RunScript(const std::string &text) {
        script = (temp.Root() / "s.txt").string();
        std::ofstream(script) << text;
        return Run("--device " + root + " --script " + script);
    }
    testing_support::TempDevice temp;
    std::string root, err, script;
};

TEST_F(Sim, ScriptOfEveryCommandRunsToTheEnd) {
    std::string shot = (temp.Root() / "s.png").string(), dump = (temp.Root() / "d.json").string();
    EXPECT_EQ(RunScript("# a comment\n\ntap 120 20\nwait 250\ndown 120 20\nmove 121 21\nup 121 21\nhold 120 20\n"
                        "key down\nkey action\ntype ab c\nscreenshot " + shot + "\ndump " + dump + "\n"),
              0)
        << err;
    EXPECT_TRUE(fs::exists(shot));
    std::ifstream in(dump);
    nlohmann::json j = nlohmann::json::parse(in);
    EXPECT_EQ(j["screen"]["width"], 240);
    ASSERT_FALSE(j["windows"].empty());
    // The Today screen: a visible top-level window between the navigation bar
    // and the menu bar, with its items as children.
    bool found = false;
    for (const auto &w : j["windows"]) {
        if (w["class"] != "DesktopExplorerWindow" || !w["visible"]) continue;
        found = true;
        EXPECT_EQ(w["rect"], nlohmann::json::array({0, 26, 240, 294}));
        EXPECT_TRUE(w["enabled"]);
        for (const char *field : {"text", "id", "style", "focus", "drawnText", "children"}) EXPECT_TRUE(w.contains(field)) << field;
        ASSERT_FALSE(w["children"].empty());
        size_t drawn = 0;
        for (const auto &c : w["children"]) drawn += c["drawnText"].size();
        EXPECT_GT(drawn, 0u);  // the items' last paints drew texts
    }
    EXPECT_TRUE(found);
}

TEST_F(Sim, LinesThatCannotBeCarriedOutStopTheRun) {
    struct Row {
        std::string script;
        const char *message;  // after "FILE:"
    };
    const Row rows[] = {
        {"tap 1 2\nbogus 1 2\n", "2: unknown command 'bogus'"},
        {"tap 1\n", "1: usage: tap X Y"},
        {"wait soon\n", "1: usage: wait MS"},
        {"key sideways\n", "1: unknown key 'sideways'"},
        {"\n# nothing\nclick No Such Button\n", "3: nothing named \"No Such Button\" can be clicked now"},
        {"dump /nonexistent-folder/d.json\n", "1: dump: cannot write /nonexistent-folder/d.json"},
        {"hold 5\n", "1: usage: hold X Y"},
        // Numbers are whole, fit, and end where the word ends.
        {"hold 4294967366 29\n", "1: 4294967366 is no coordinate on the screen"},
        {"wait 4294967296\n", "1: wait 4294967296: at most 2147483647 ms"},
        {"tap 1 " + std::string(1000000, '9') + "\n", "1: 99999999999999999999... is no coordinate on the screen"},
        {std::string("wait 5\0junk\n", 12), "1: usage: wait MS"},
        {"tap 1x 2\n", "1: usage: tap X Y"},
        {"wait -1\n", "1: usage: wait MS"},
        // Coordinates are device pixels on the screen.
        {"tap 240 10\n", "1: (240, 10) is outside the screen (240 x 320)"},
        {"down 10 320\n", "1: (10, 320) is outside the screen (240 x 320)"},
        {"move -1 0\n", "1: (-1, 0) is outside the screen (240 x 320)"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(RunScript(rows[i].script), 1) << "row " << i;
        EXPECT_NE(err.find(script + ":" + rows[i].message), std::string::npos) << "row " << i << ": " << err;
    }
}

// The command line: a run that cannot do what it was asked does nothing,
// says why in one line with a hint, and exits 2.
TEST_F(Sim, CommandLineErrorsExitTwoWithAUsageHint) {
    std::string script = (temp.Root() / "ok.txt").string();
    std::ofstream(script) << "tap 10 10\n";
    const std::string device = "--device " + root + " ";
    struct Row {
        std::string args;
        const char *says;
    };
    const Row rows[] = {
        {device + "--bogus", "--bogus"},
        {device + "--zoom 99 --script " + script, "--zoom"},
        {device + "--script " + temp.Root().string(), "--script"},
        {device + "--script " + script + " --trace " + temp.Root().string(), "--trace"},
        {device + "--script " + script + " --trace /nonexistent-folder/t.jsonl", "--trace"},
        {device + "--script " + script + " extra words", "extra"},
        {device + "init --profile", "--profile"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Run(rows[i].args), 2) << "row " << i << ": " << err;
        EXPECT_NE(err.find(rows[i].says), std::string::npos) << "row " << i << ": " << err;
        EXPECT_NE(err.find("usage: pelloran-sim"), std::string::npos) << "row " << i << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << "row " << i << ": " << err;
    }
}

// `init` on a device in use changes its profile and leaves the documents as
// the user left them; a new device gets the demo set.
TEST_F(Sim, InitOnAnExistingDeviceKeepsTheUsersDocuments) {
    std::string fresh = (temp.Root() / "fresh").string();
    ASSERT_EQ(Run("--device " + fresh + " init"), 0) << err;
    fs::path docs = fs::path(fresh) / "fs" / "My Documents";
    ASSERT_TRUE(fs::exists(docs / "Report.psw"));
    fs::remove(docs / "Report.psw");
    fs::remove_all(docs / "Work");
    std::ofstream(docs / "Budget.pxl", std::ios::trunc) << "mine";
    ASSERT_EQ(Run("--device " + fresh + " init --profile vga"), 0) << err;
    EXPECT_FALSE(fs::exists(docs / "Report.psw"));
    EXPECT_FALSE(fs::exists(docs / "Work"));
    std::ifstream in(docs / "Budget.pxl");
    std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, "mine");
    std::ifstream ini(fs::path(fresh) / "device.ini");
    std::string profile((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    EXPECT_NE(profile.find("width = 480"), std::string::npos) << profile;
    EXPECT_TRUE(fs::exists(fs::path(fresh) / "fs" / "Program Files" / "Pelloran" / "Pelloran.dll"));
}

}  // namespace
