// ShellExecuteEx: documents are recorded, device programs start as real
// processes, the simulator's own programs are recorded only, and failures
// give the documented error and hInstApp.
#include <windows.h>

#include <shellapi.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "device/device.h"
#include "shell_support.h"
#include "trace/trace.h"

using namespace shell_testing;

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

class ShellExecute : public testing_support::DeviceTest {
   protected:
    SHELLEXECUTEINFO Info(LPCWSTR verb, LPCWSTR file, LPCWSTR parameters = nullptr, LPCWSTR directory = nullptr) {
        SHELLEXECUTEINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = verb;
        info.lpFile = file;
        info.lpParameters = parameters;
        info.lpDirectory = directory;
        info.hInstApp = reinterpret_cast<HINSTANCE>(0x77);
        return info;
    }
};

TEST_F(ShellExecute, DocumentIsRecorded) {
    TraceFile trace(device);
    device.WriteHostFile("\\My Documents\\Report.psw", "x");
    SHELLEXECUTEINFO info = Info(u"opendoc", u"\\My Documents\\Report.psw");
    ASSERT_TRUE(ShellExecuteEx(&info));
    EXPECT_GT(reinterpret_cast<INT_PTR>(info.hInstApp), 32);
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], R"({"event":"ShellExecuteEx","verb":"opendoc","file":"\\My Documents\\Report.psw",)"
                        R"("parameters":"","directory":"","show":0})");
    EXPECT_EQ(wince::LastTracedAction(), "opened \\My Documents\\Report.psw with opendoc");
}

TEST_F(ShellExecute, FailuresGiveTheDocumentedErrors) {
    TraceFile trace(device);
    device.WriteHostFile("\\My Documents\\Report.psw", "x");
    device.WriteHostFile("\\Windows\\notes.exe", "MZ not a stub");
    struct Row {
        LPCWSTR verb, file;
        DWORD error;
        INT_PTR instApp;
    };
    const Row rows[] = {
        {u"open", u"\\My Documents\\None.psw", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"open", u"\\No Folder\\a.psw", ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
        {u"open", u"", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"open", nullptr, ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"open", u"\\Nowhere\\Nothing.exe", ERROR_PATH_NOT_FOUND, SE_ERR_PNF},
        {u"open", u"\\Windows\\Nothing.exe", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"print", u"\\My Documents\\Report.psw", ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
        {u"open", u"\\Windows\\notes.exe", ERROR_BAD_EXE_FORMAT, SE_ERR_NOASSOC},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SHELLEXECUTEINFO info = Info(rows[i].verb, rows[i].file);
        SetLastError(kSentinel);
        EXPECT_FALSE(ShellExecuteEx(&info)) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
        EXPECT_EQ(reinterpret_cast<INT_PTR>(info.hInstApp), rows[i].instApp) << "row " << i;
    }
    SHELLEXECUTEINFO wrong = Info(u"open", u"\\My Documents\\Report.psw");
    wrong.cbSize = sizeof wrong + 4;
    SetLastError(kSentinel);
    EXPECT_FALSE(ShellExecuteEx(&wrong));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_FALSE(ShellExecuteEx(nullptr));
    // Programs that cannot start are traced with their errors: one that is
    // not there as a failed process start, one that is no program as a
    // failed shell execution; documents that are not there are not traced.
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], R"({"event":"CreateProcess","application":"\\Nowhere\\Nothing.exe","commandLine":"",)"
                        R"("error":3})");
    EXPECT_EQ(lines[1], R"({"event":"CreateProcess","application":"\\Windows\\Nothing.exe","commandLine":"",)"
                        R"("error":2})");
    EXPECT_EQ(lines[2], R"({"event":"ShellExecuteEx","verb":"open","file":"\\Windows\\notes.exe",)"
                        R"("parameters":"","directory":"","show":0,"error":193})");
    EXPECT_EQ(wince::LastTracedAction(), "could not open \\Windows\\notes.exe (error 193)");
}

TEST_F(ShellExecute, DeviceProgramRunsAsAProcessOnTheSameDevice) {
    TraceFile trace(device);
    InstallProgram(device, "\\Program Files\\Test\\writer.exe");
    SHELLEXECUTEINFO info = Info(u"open", u"\\Program Files\\Test\\writer.exe", u"write \\out.txt hello");
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    ASSERT_TRUE(ShellExecuteEx(&info));
    ASSERT_NE(info.hProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), DWORD{WAIT_OBJECT_0});
    DWORD code = kSentinel;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(CloseHandle(info.hProcess));
    EXPECT_EQ(Slurp(device.Host("\\out.txt")), "hello|\\Program Files\\Test\\writer.exe");
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"event":"ShellExecuteEx","verb":"open","file":"\\Program Files\\Test\\writer.exe",)"
                        R"("parameters":"write \\out.txt hello","directory":"","show":0})");
    EXPECT_EQ(lines[1], R"({"event":"CreateProcess","application":"\\Program Files\\Test\\writer.exe",)"
                        R"("commandLine":"write \\out.txt hello"})");
    EXPECT_EQ(wince::LastTracedAction(), "started \\Program Files\\Test\\writer.exe write \\out.txt hello");
}

TEST_F(ShellExecute, FileExplorerAndHelpAreRecordedNotStarted) {
    TraceFile trace(device);
    SHELLEXECUTEINFO info = Info(u"open", u"\\Windows\\fexplore.exe", u"\\My Documents", u"\\My Documents");
    info.nShow = SW_SHOWNORMAL;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    ASSERT_TRUE(ShellExecuteEx(&info));
    EXPECT_EQ(info.hProcess, nullptr);
    EXPECT_EQ(wince::LastTracedAction(), "showed \\My Documents in the file explorer");
    SHELLEXECUTEINFO help = Info(nullptr, u"PegHelp.exe", u"file:Pelloran.htm#Main_Contents");
    ASSERT_TRUE(ShellExecuteEx(&help));
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"event":"ShellExecuteEx","verb":"open","file":"\\Windows\\fexplore.exe",)"
                        R"("parameters":"\\My Documents","directory":"\\My Documents","show":1})");
    EXPECT_EQ(lines[1], R"({"event":"ShellExecuteEx","verb":"","file":"PegHelp.exe",)"
                        R"("parameters":"file:Pelloran.htm#Main_Contents","directory":"","show":0})");
}

TEST_F(ShellExecute, FolderAndBareNameInADirectory) {
    TraceFile trace(device);
    device.WriteHostFile("\\My Documents\\Notes\\a.txt", "x");
    SHELLEXECUTEINFO folder = Info(u"open", u"\\My Documents\\Notes");
    EXPECT_TRUE(ShellExecuteEx(&folder));
    SHELLEXECUTEINFO bare = Info(nullptr, u"a.txt", nullptr, u"\\My Documents\\Notes");
    EXPECT_TRUE(ShellExecuteEx(&bare));
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find(R"("file":"\\My Documents\\Notes\\a.txt")"), std::string::npos) << lines[1];
}

// Documents, folders, the explorer's folder and the help viewer's page reach
// the host's opener only when the device profile asks for it; every one is
// in the trace either way.
TEST_F(ShellExecute, HostOpenerOnlyWhenTheProfileAsks) {
    TraceFile trace(device);
    std::filesystem::path opened = device.Root() / "opened.txt", opener = device.Root() / "opener.sh";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << opened.string() << "'\n";
    chmod(opener.c_str(), 0755);
    device.WriteHostFile("\\My Documents\\Report.psw", "x");
    device.WriteHostFile("\\My Documents\\Notes\\a.txt", "x");
    device.WriteHostFile("\\Windows\\Pelloran.htm", "<html></html>");
    auto useProfile = [&](int openOnHost) {
        std::ofstream(device.Root() / "device.ini")
            << "[shell]\nopen_on_host = " << openOnHost << "\nopener = " << opener.string() << "\n";
        wince::Device::Select(device.Root());
    };
    auto runAll = [&] {
        SHELLEXECUTEINFO document = Info(u"opendoc", u"\\My Documents\\Report.psw");
        SHELLEXECUTEINFO folder = Info(u"open", u"\\My Documents\\Notes");
        SHELLEXECUTEINFO explorer = Info(u"open", u"\\Windows\\fexplore.exe", u"\\My Documents", u"\\My Documents");
        SHELLEXECUTEINFO help = Info(nullptr, u"PegHelp.exe", u"file:Pelloran.htm#folder");
        SHELLEXECUTEINFO noHelp = Info(nullptr, u"PegHelp.exe", u"file:Missing.htm#folder");
        for (SHELLEXECUTEINFO *info : {&document, &folder, &explorer, &help, &noHelp}) EXPECT_TRUE(ShellExecuteEx(info));
        std::u16string topic = u"file:Pelloran.htm#documents";
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(u"PegHelp.exe", topic.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &pi));
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    };
    useProfile(0);
    runAll();
    EXPECT_EQ(trace.Lines().size(), 6u);  // five shell executions and a process start
    useProfile(1);
    runAll();
    EXPECT_EQ(trace.Lines().size(), 12u);
    std::vector<std::string> expected = {
        device.Host("\\My Documents\\Report.psw").string(),
        device.Host("\\My Documents\\Notes").string(),
        device.Host("\\My Documents").string(),
        "file://" + device.Host("\\Windows\\Pelloran.htm").string() + "#folder",
        "file://" + device.Host("\\Windows\\Pelloran.htm").string() + "#documents",
    };
    // The openers run as processes of their own: wait for their lines.
    std::vector<std::string> got;
    for (int tries = 0; tries < 200; ++tries) {
        got = Lines(opened);
        if (got.size() >= expected.size()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // and for any line too many
    got = Lines(opened);
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
}

}  // namespace
