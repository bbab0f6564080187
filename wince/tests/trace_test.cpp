// The trace file: one JSON object a line, appended, following WINCE_TRACE.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell_support.h"
#include "trace/trace.h"

using namespace shell_testing;

namespace {

class Trace : public testing_support::DeviceTest {};

TEST_F(Trace, FileDeletesAndMovesAreRecorded) {
    std::filesystem::path path = device.Root() / "trace.jsonl";
    std::ofstream(path) << "{\"earlier\":true}\n";  // an existing trace is appended to
    TraceFile trace(device);
    device.WriteHostFile("\\My Documents\\a.txt", "x");
    EXPECT_TRUE(MoveFileW(u"\\My Documents\\a.txt", u"\\My Documents\\b.txt"));
    EXPECT_FALSE(MoveFileW(u"\\My Documents\\a.txt", u"\\My Documents\\c.txt"));
    EXPECT_TRUE(DeleteFileW(u"\\My Documents\\b.txt"));
    SetLastError(0);
    EXPECT_FALSE(DeleteFileW(u"\\My Documents\\b.txt"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});  // the trace leaves the last error alone
    const std::vector<std::string> expected = {
        R"({"earlier":true})",
        R"({"event":"MoveFile","from":"\\My Documents\\a.txt","to":"\\My Documents\\b.txt","result":true})",
        R"({"event":"MoveFile","from":"\\My Documents\\a.txt","to":"\\My Documents\\c.txt","result":false})",
        R"({"event":"DeleteFile","path":"\\My Documents\\b.txt","result":true})",
        R"({"event":"DeleteFile","path":"\\My Documents\\b.txt","result":false})",
    };
    EXPECT_EQ(trace.Lines(), expected);
    EXPECT_EQ(wince::LastTracedAction(), "could not delete \\My Documents\\b.txt");
}

TEST_F(Trace, TextsAreEscapedAndEachEventIsOneLine) {
    TraceFile trace(device);
    wince::TraceMessageBox(u"Are you sure you want to delete 'R\u00e9port \"1\"'?\nYes", u"Confirm File Delete",
                           MB_YESNO | MB_ICONQUESTION, IDYES);
    wince::TracePostMessage(reinterpret_cast<HWND>(0xDE50), WM_WININICHANGE, 0xF2, -1);
    const std::vector<std::string> expected = {
        "{\"event\":\"MessageBox\",\"text\":\"Are you sure you want to delete 'R\xc3\xa9port \\\"1\\\"'?\\nYes\","
        "\"caption\":\"Confirm File Delete\",\"type\":36,\"answer\":6}",
        R"({"event":"PostMessage","target":56912,"message":26,"wParam":242,"lParam":-1})",
    };
    EXPECT_EQ(trace.Lines(), expected);
}

TEST_F(Trace, FollowsTheVariableAndWritesNothingWithoutIt) {
    unsetenv("WINCE_TRACE");
    device.WriteHostFile("\\a.txt", "x");
    DeleteFileW(u"\\a.txt");
    std::filesystem::path first = device.Root() / "one.jsonl", second = device.Root() / "two.jsonl";
    setenv("WINCE_TRACE", first.c_str(), 1);
    wince::TraceCreateProcess(u"\\Windows\\x.exe", u"");
    setenv("WINCE_TRACE", second.c_str(), 1);
    wince::TraceCreateProcess(u"\\Windows\\y.exe", u"");
    unsetenv("WINCE_TRACE");
    EXPECT_EQ(Lines(first).size(), 1u);
    ASSERT_EQ(Lines(second).size(), 1u);
    EXPECT_NE(Lines(second)[0].find("y.exe"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(device.Root() / "trace.jsonl"));
}

}  // namespace

#include "menu_support.h"

namespace {

TEST_F(Trace, MessageBoxAnswersAreRecorded) {
    TraceFile trace(device);
    menu_testing::StepDriver driver({[] {
        // Tap the "Yes" button of the box on top.
        for (wince::Window *w : wince::AllWindows())
            if (w->Visible() && w->cls->name == u"BUTTON" && (w->text == u"Yes" || w->text == u"&Yes")) {
                RECT r = wince::WindowRectOnScreen(*w);
                menu_testing::Tap(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
                return;
            }
    }});
    EXPECT_EQ(MessageBoxW(nullptr, u"Delete it?", u"Confirm File Delete", MB_YESNO | MB_ICONQUESTION), IDYES);
    std::vector<std::string> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], R"({"event":"MessageBox","text":"Delete it?","caption":"Confirm File Delete","type":36,"answer":6})");
    EXPECT_EQ(wince::LastTracedAction(), "message \"Confirm File Delete\" answered Yes");
}

}  // namespace
