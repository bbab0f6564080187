// A device program for shell and process tests: a "#!wince-link" stub on the
// test device pointing at the helper program built with the tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_device.h"

namespace shell_testing {

inline void InstallProgram(const testing_support::TempDevice &device, const std::string &devicePath) {
    device.WriteHostFile(devicePath, std::string("#!wince-link ") + WINCE_DEVICE_PROGRAM + "\n");
}

inline std::vector<std::string> Lines(const std::filesystem::path &file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::string Slurp(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Points WINCE_TRACE at a file of the test device for the test's life.
class TraceFile {
   public:
    explicit TraceFile(const testing_support::TempDevice &device) : path_(device.Root() / "trace.jsonl") {
        setenv("WINCE_TRACE", path_.c_str(), 1);
    }
    ~TraceFile() { unsetenv("WINCE_TRACE"); }
    std::vector<std::string> Lines() const { return shell_testing::Lines(path_); }
    const std::filesystem::path &Path() const { return path_; }

   private:
    std::filesystem::path path_;
};

}  // namespace shell_testing
