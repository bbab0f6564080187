// CreateProcessW on device programs, process handles, waiting and exit codes.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/unicode.h"
#include "shell_support.h"
#include "trace/trace.h"

using namespace shell_testing;

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

class Process : public testing_support::DeviceTest {};

TEST_F(Process, StartsWaitsAndReportsTheExitCode) {
    TraceFile trace(device);
    InstallProgram(device, "\\Windows\\tool.exe");
    struct Row {
        LPCWSTR application;
        const char16_t *commandLine;
        DWORD exitCode;
    };
    const Row rows[] = {
        {u"\\Windows\\tool.exe", u"exit 7", 7},
        {u"tool.exe", u"exit 3", 3},       // a bare name is looked for in \Windows
        {u"tool", u"exit 0", 0},           // and gets ".exe"
        {nullptr, u"tool.exe exit 5", 5},  // the first word names the program
        {nullptr, u"\"\\Windows\\tool.exe\" exit 6", 6},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        std::u16string line = rows[i].commandLine;
        PROCESS_INFORMATION pi;
        memset(&pi, 0xCC, sizeof pi);
        ASSERT_TRUE(CreateProcessW(rows[i].application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   nullptr, &pi))
            << "row " << i;
        EXPECT_NE(pi.dwProcessId, 0u) << "row " << i;
        EXPECT_EQ(WaitForSingleObject(pi.hThread, 20000), DWORD{WAIT_OBJECT_0}) << "row " << i;
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), DWORD{WAIT_OBJECT_0}) << "row " << i;
        DWORD code = kSentinel;
        EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code)) << "row " << i;
        EXPECT_EQ(code, rows[i].exitCode) << "row " << i;
        EXPECT_TRUE(CloseHandle(pi.hThread));
        EXPECT_TRUE(CloseHandle(pi.hProcess));
    }
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), std::size(rows));
    EXPECT_EQ(lines[3], R"({"event":"CreateProcess","application":"\\Windows\\tool.exe","commandLine":"exit 5"})");
}

TEST_F(Process, FailuresGiveTheDocumentedErrors) {
    TraceFile trace(device);
    device.WriteHostFile("\\Windows\\plain.exe", "not a stub");
    device.WriteHostFile("\\Windows\\broken.exe", "#!wince-link /nonexistent/program\n");
    struct Row {
        LPCWSTR application;
        DWORD error;
    };
    const Row rows[] = {{u"\\Windows\\missing.exe", ERROR_FILE_NOT_FOUND},
                        {u"\\Nowhere\\x.exe", ERROR_PATH_NOT_FOUND},
                        {u"\\Windows\\plain.exe", ERROR_BAD_EXE_FORMAT},
                        {u"\\Windows\\broken.exe", ERROR_FILE_NOT_FOUND},
                        {nullptr, ERROR_INVALID_PARAMETER}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        PROCESS_INFORMATION pi{};
        SetLastError(kSentinel);
        EXPECT_FALSE(CreateProcessW(rows[i].application, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    nullptr, &pi))
            << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        EXPECT_EQ(pi.hProcess, nullptr) << "row " << i;
    }
    // Every start that names a program is traced, with its error.
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 4u);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string expected = std::string(R"({"event":"CreateProcess","application":")") +
                               wince::ToUtf8(rows[i].application) + R"(","commandLine":"","error":)" +
                               std::to_string(rows[i].error) + "}";
        for (size_t at = 0; (at = expected.find('\\', at)) != std::string::npos; at += 2) expected.insert(at, "\\");
        EXPECT_EQ(lines[i], expected) << "row " << i;
    }
    EXPECT_EQ(wince::LastTracedAction(), "could not start \\Windows\\broken.exe (error 2)");
    SetLastError(kSentinel);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x4242), 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    DWORD code = kSentinel;
    EXPECT_FALSE(GetExitCodeProcess(reinterpret_cast<HANDLE>(0x4242), &code));
    EXPECT_EQ(code, kSentinel);
}

TEST_F(Process, FileExplorerIsPlayedBySimulator) {
    TraceFile trace(device);
    std::u16string folder = u"\\My Documents";
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(u"\\Windows\\fexplore.exe", folder.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), DWORD{WAIT_OBJECT_0});
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0],
              R"({"event":"CreateProcess","application":"\\Windows\\fexplore.exe","commandLine":"\\My Documents"})");
}

}  // namespace
