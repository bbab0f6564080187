// A device made and driven through the programs a person runs:
// pelloran-sim and wince-reg, each run as its own process.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "temp_device.h"

namespace scenario_testing {

using Json = nlohmann::json;

class SimDeviceTest : public testing_support::DeviceTest {
   protected:
    // Runs a shell command in the device folder; its exit status, with what
    // it printed in output.
    int Run(const std::string &command) {
        std::string log = (device.Root() / "output.txt").string();
        std::filesystem::create_directories(root);
        int status = std::system(("cd '" + root.string() + "' && " + command + " >'" + log + "' 2>&1").c_str());
        std::ifstream in(log);
        std::stringstream s;
        s << in.rdbuf();
        output = s.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Sim(const std::string &arguments) const {
        return std::string(PELLORAN_SIM) + " --device '" + root.string() + "' " + arguments;
    }
    void SetDword(const std::string &name, int value) {
        ASSERT_EQ(Run(std::string(WINCE_REG) + " --device '" + root.string() +
                      "' add 'HKLM\\SOFTWARE\\Varnhold\\Pelloran' /v " + name + " /t REG_DWORD /d " +
                      std::to_string(value) + " /f"),
                  0)
            << output;
    }

    // Runs the script text (written to s.txt), tracing to trace.jsonl; the
    // command follows the options (for example "run PROGRAM").
    int RunScript(const std::string &text, const std::string &command = "") {
        std::ofstream(root / "s.txt") << text;
        return Run(Sim("--script '" + (root / "s.txt").string() + "' --trace '" + (root / "trace.jsonl").string() +
                       "' " + command));
    }
    // The trace's events of that kind (all with an empty kind); a damaged
    // line is an event named "(damaged)".
    std::vector<Json> Trace(const std::string &kind = "") const {
        std::vector<Json> found;
        std::ifstream in(root / "trace.jsonl");
        for (std::string line; std::getline(in, line);) {
            Json e = Json::parse(line, nullptr, false);
            if (e.is_discarded()) e = Json{{"event", "(damaged)"}};
            if (kind.empty() || e.value("event", "") == kind) found.push_back(e);
        }
        return found;
    }
    Json Dump(const std::string &name) const {
        std::ifstream in(root / name);
        return Json::parse(in, nullptr, false);
    }
    // The visible top-level windows of a dump, by class.
    static std::vector<std::string> Shown(const Json &dump) {
        std::vector<std::string> classes;
        if (dump.is_discarded()) return classes;
        for (const Json &top : dump["windows"])
            if (top.value("visible", false)) classes.push_back(top.value("class", ""));
        return classes;
    }
    static bool Has(const std::vector<std::string> &list, const std::string &name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    }

    // Puts a stand-in for the options program in a folder of its own (the
    // real one is refreshed on every run) and points "InstallDir" at it, so
    // the item's folder icon starts the stand-in (its device path in standIn).
    void PutOptionsStandIn(const std::string &hostProgram) {
        std::filesystem::create_directories(root / "fs" / "Program Files" / "Stand-in");
        std::ofstream(root / "fs" / "Program Files" / "Stand-in" / "PelloranOptions.exe", std::ios::trunc)
            << "#!wince-link " << hostProgram << "\n";
        EXPECT_EQ(Run(std::string(WINCE_REG) + " --device '" + root.string() +
                      "' add 'HKLM\\SOFTWARE\\Varnhold\\Pelloran' /v InstallDir /t REG_SZ /d '\\Program "
                      "Files\\Stand-in' /f"),
                  0)
            << output;
        standIn = "\\Program Files\\Stand-in\\PelloranOptions.exe";
    }

    std::filesystem::path root;  // the device folder
    std::string output;
    std::string standIn;
};

}  // namespace scenario_testing
