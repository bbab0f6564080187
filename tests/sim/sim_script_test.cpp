// pelloran-sim runs scripts on a device made with `pelloran-sim init`:
// each command, the window dump, and errors that name the script line.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdlib>
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
    // The Today screen: a visible top-level window of the whole screen with its items as children.
    bool found = false;
    for (const auto &w : j["windows"]) {
        if (w["class"] != "DesktopExplorerWindow" || !w["visible"]) continue;
        found = true;
        EXPECT_EQ(w["rect"], nlohmann::json::array({0, 0, 240, 320}));
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
        const char *script;
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
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(RunScript(rows[i].script), 1) << "row " << i;
        EXPECT_NE(err.find(script + ":" + rows[i].message), std::string::npos) << "row " << i << ": " << err;
    }
}

}  // namespace
