// A device made and driven through the programs a person runs:
// pelloran-sim and wince-reg, each run as its own process.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

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
