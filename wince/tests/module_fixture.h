// The test module installed on a fresh device, and the log its static
// object and DllMain write.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_device.h"

namespace module_testing {

constexpr DWORD kSentinel = 0xDEADBEEF;

class ModuleTest : public testing_support::DeviceTest {
   protected:
    void SetUp() override {
        std::filesystem::create_directories(device.Host("\\Windows"));
        std::filesystem::copy_file(WINCE_TESTMODULE, device.Host("\\Windows\\testmodule.dll"));
        logPath_ = (device.Root() / "module.log").string();
        setenv("TESTMODULE_LOG", logPath_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("TESTMODULE_LOG");
        unsetenv("TESTMODULE_REFUSE");
    }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream in(logPath_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The module from the source folder, copied to the device.
    void Install(const std::string &devicePath, const std::string &sourceFile) const {
        std::filesystem::copy_file(std::string(WINCE_TESTMODULE_SOURCES) + "/" + sourceFile, device.Host(devicePath));
    }

    std::string logPath_;
};

// Unloads whatever a test loaded, even when an assertion ends it early.
class Loaded {
   public:
    explicit Loaded(HMODULE module) : module_(module) {}
    ~Loaded() {
        if (module_) FreeLibrary(module_);
    }
    Loaded(const Loaded &) = delete;
    Loaded &operator=(const Loaded &) = delete;
    HMODULE get() const { return module_; }
    HMODULE release() {
        HMODULE m = module_;
        module_ = nullptr;
        return m;
    }

   private:
    HMODULE module_;
};

}  // namespace module_testing
