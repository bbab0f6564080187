// A fresh, empty device for one test: a temporary folder selected as the
// process's device, removed again afterwards.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace testing_support {

class TempDevice {
   public:
    TempDevice();
    // In a folder of the caller's choice, such as a memory file system for
    // tests that make very many files.
    explicit TempDevice(const std::filesystem::path &parent);
    ~TempDevice();
    TempDevice(const TempDevice &) = delete;
    TempDevice &operator=(const TempDevice &) = delete;

    const std::filesystem::path &Root() const { return root_; }
    std::filesystem::path Host(const std::string &devicePathUtf8) const;  // "\\My Documents\\a.txt" -> host path
    void WriteHostFile(const std::string &devicePathUtf8, const std::string &bytes) const;

   private:
    std::filesystem::path root_;
};

// A test fixture with its own device.
class DeviceTest : public ::testing::Test {
   protected:
    TempDevice device;
};

}  // namespace testing_support
