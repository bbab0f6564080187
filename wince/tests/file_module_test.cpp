// GetModuleFileNameW for the running program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

class FileModule : public ::testing::Test {
   protected:
    void SetUp() override {
        const char *old = getenv("WINCE_PROGRAM");
        saved_ = old ? std::optional<std::string>(old) : std::nullopt;
    }
    void TearDown() override {
        if (saved_)
            setenv("WINCE_PROGRAM", saved_->c_str(), 1);
        else
            unsetenv("WINCE_PROGRAM");
    }
    std::optional<std::string> saved_;
};

TEST_F(FileModule, NameFromTheEnvironmentAndTruncation) {
    setenv("WINCE_PROGRAM", "\\Program Files\\Pelloran\\PelloranOptions.exe", 1);
    const std::u16string full = u"\\Program Files\\Pelloran\\PelloranOptions.exe";  // 43 characters
    struct Row {
        DWORD size;
        DWORD result;
        std::u16string text;
        DWORD error;
    } rows[] = {
        {MAX_PATH, 43, full, kSentinel},
        {44, 43, full, kSentinel},
        {43, 43, full.substr(0, 42), ERROR_INSUFFICIENT_BUFFER},
        {10, 10, full.substr(0, 9), ERROR_INSUFFICIENT_BUFFER},
        {1, 1, u"", ERROR_INSUFFICIENT_BUFFER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        WCHAR buffer[MAX_PATH + 1];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        SetLastError(kSentinel);
        EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, rows[i].size), rows[i].result) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        EXPECT_EQ(std::u16string(buffer), rows[i].text) << "row " << i;
        EXPECT_EQ(buffer[rows[i].size], u'#') << "row " << i;  // nothing past nSize
    }
    WCHAR buffer[4] = {u'#', u'#', u'#', 0};
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(buffer[0], u'#');
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x1000), buffer, 4), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
}

TEST_F(FileModule, HostExecutableUnderWindows) {
    unsetenv("WINCE_PROGRAM");
    WCHAR buffer[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    EXPECT_EQ(std::u16string(buffer, n), u"\\Windows\\wince_tests.exe");
}

}  // namespace
