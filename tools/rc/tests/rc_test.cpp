// wince-rc as a build runs it: scripts in, generated source or a clear
// "file:line: what" and exit status 1 out. The binary formats themselves are
// checked through a compiled module in the platform's resource tests.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class WinceRc : public ::testing::Test {
   protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wince-rc-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string &name, const std::string &text) const { std::ofstream(dir_ / name, std::ios::binary) << text; }
    std::string Read(const std::string &name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Runs the tool in the folder; returns its exit status.
    int Run(const std::string &arguments) const {
        std::string command = "cd '" + dir_.string() + "' && '" WINCE_RC_TOOL "' " + arguments + " 2> err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Compile(const std::string &script) const {
        Write("t.rc", script);
        fs::remove(dir_ / "out.cpp");
        return Run("-I '" WINCE_INCLUDE_DIR "' --out out.cpp --deps out.d t.rc");
    }

    fs::path dir_;
};

TEST_F(WinceRc, BadScriptsNameFileAndLine) {
    struct Row {
        std::string script;
        std::string message;  // the whole first line of standard error
    } rows[] = {
        {"STRINGTABLE\nBEGIN\n  1 \"abc\nEND\n", "t.rc:3: unterminated string"},
        {"STRINGTABLE\nBEGIN\n  1 \"a\"\n  1 \"b\"\nEND\n", "t.rc:4: string id 1 is already used at line 3"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n  FOO \"x\", 2, 0, 0, 1, 1\nEND\n",
         "t.rc:4: a control statement expected, found 'FOO'"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT IDC_NOPE, 0, 0, 1, 1\nEND\n",
         "t.rc:3: undefined symbol 'IDC_NOPE' for the control id"},
        {"1 DIALOG 0, 0, 10\nBEGIN\nEND\n", "t.rc:2: ',' expected between the dialog's coordinates, found 'BEGIN'"},
        {"1 MENU\nBEGIN\n  MENUITEM \"a\", 1\n", "t.rc:3: END expected before the end of file"},
        {"1 MENU\nBEGIN\n  POPUP \"a\"\n  BEGIN\n  END\nEND\n", "t.rc:3: POPUP \"a\" has no items"},
        {"\n1 BITMAP \"nope.bmp\"\n", "t.rc:2: cannot find file 'nope.bmp'"},
        {"1 ICON \"t.rc\"\n", "t.rc:1: 't.rc' is not an icon file: no icon header"},
        {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\nEND\n", "t.rc:1: DIALOGEX resources are not supported"},
        {"#if 1\n", "t.rc:1: #if without #endif"},
        {"#endif\n", "t.rc:1: #endif without #if"},
        {"#frob\n", "t.rc:1: unknown directive #frob"},
        {"#include \"missing.h\"\n", "t.rc:1: cannot open include file 'missing.h'"},
        {"#include \"stop.h\"\n", "stop.h:2: #error header says stop"},
        {"#define TWICE(x) x\n1 RCDATA BEGIN TWICE(1) END\n",
         "t.rc:2: macro 'TWICE' takes arguments, which resource scripts do not support"},
        {"1 RCDATA BEGIN 1 / 0 END\n", "t.rc:1: division by zero"},
        {"1 RCDATA BEGIN 2 END\n1 RCDATA BEGIN 3 END\n", "t.rc:2: duplicate resource: type 10, name 1"},
        {"70000 RCDATA BEGIN 2 END\n", "t.rc:1: resource name 70000 does not fit in 16 bits"},
        {"1 DIALOG 0, 0, 1, 1\nFONT 8, \"Tahoma\", 400\nBEGIN\nEND\n", "t.rc:2: FONT of a DIALOG takes a size and a face only"},
        {"1 RCDATA BEGIN 1 $ END\n", "t.rc:1: unexpected character '$'"},
    };
    Write("stop.h", "#define FINE 1\n#error header says stop\n");
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Compile(rows[i].script), 1) << "row " << i;
        std::string err = Read("err.txt");
        EXPECT_EQ(err.substr(0, err.find('\n')), rows[i].message) << "row " << i;
        EXPECT_FALSE(fs::exists(dir_ / "out.cpp")) << "row " << i;
    }
}

// The preprocessor and expressions, seen through the bytes of an RCDATA.
TEST_F(WinceRc, PreprocessorAndExpressions) {
    Write("ids.h",
          "#pragma once\n#define BASE 0x10\n#define SHIFTED (BASE << 2) /* 64 */\n"
          "int not_for_the_script(void);\n#define CAST_VALUE ((HANDLE)-1)\n");
    ASSERT_EQ(Compile("#include <windows.h>\n#include \"ids.h\"\n#include \"ids.h\"\n"
                      "#define A\n#undef A\n"
                      "#if defined(A) || !defined(BASE)\n1 RCDATA BEGIN 99 END\n#elif SHIFTED == 64\n"
                      "1 RCDATA BEGIN SHIFTED | 1, ~0 & 0xFF, -1, (7 + 1) * 2 - 1, 0x10000L >> 4, WS_CHILD >> 16 END\n"
                      "#else\n1 RCDATA BEGIN 98 END\n#endif\n"
                      "#ifdef UNDEFINED_NAME\n#error not taken\n#endif\n"
                      "// a comment \"with a quote\n/* a block\n   over lines */ 2 RCDATA BEGIN \"a//b\" END\n"),
              0)
        << Read("err.txt");
    std::string out = Read("out.cpp");
    // 65; 255; 0xFFFF; 15; 0x1000 as a DWORD; WS_CHILD's high word
    EXPECT_NE(out.find("data0[] = {\n    65,0,255,0,255,255,15,0,0,16,0,0,0,64,0,0,\n};"), std::string::npos) << out;
    EXPECT_NE(out.find("data1[] = {\n    97,47,47,98,\n};"), std::string::npos) << out;
    std::string deps = Read("out.d");
    EXPECT_NE(deps.find("/ids.h"), std::string::npos) << deps;
    EXPECT_NE(deps.find("/winuser.h"), std::string::npos) << deps;
}

TEST_F(WinceRc, NamesAndTypes) {
    ASSERT_EQ(Compile("#define IDR_X 5\nmyName RCDATA BEGIN 1 END\n\"Quoted\" RCDATA BEGIN 2 END\n"
                      "IDR_X MyType BEGIN 3 END\nIDR_X 300 BEGIN 4 END\n"),
              0)
        << Read("err.txt");
    std::string out = Read("out.cpp");
    EXPECT_NE(out.find("name0[] = {77,89,78,65,77,69,0}"), std::string::npos) << out;  // MYNAME
    EXPECT_NE(out.find("name1[] = {81,85,79,84,69,68,0}"), std::string::npos) << out;  // QUOTED
    EXPECT_NE(out.find("type2[] = {77,89,84,89,80,69,0}"), std::string::npos) << out;  // MYTYPE
    EXPECT_NE(out.find("{0, type2, 5, nullptr, 0, data2, 2}"), std::string::npos) << out;
    EXPECT_NE(out.find("{300, nullptr, 5, nullptr, 0, data3, 2}"), std::string::npos) << out;
}

// The bytes of the first resource in a generated source.
std::vector<uint8_t> FirstData(const std::string &out) {
    std::vector<uint8_t> bytes;
    size_t at = out.find("data0[] = {");
    if (at == std::string::npos) return bytes;
    std::istringstream list(out.substr(at + 11, out.find('}', at) - at - 11));
    for (std::string item; std::getline(list, item, ',');)
        if (item.find_first_of("0123456789") != std::string::npos) bytes.push_back(static_cast<uint8_t>(std::stoi(item)));
    return bytes;
}

uint32_t Dword(const std::vector<uint8_t> &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::string Utf16(const std::string &ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// VS_VERSIONINFO: its length, key, fixed information, and the nested string
// and variable blocks as version readers find them.
TEST_F(WinceRc, VersionInformation) {
    ASSERT_EQ(Compile("1 VERSIONINFO\n FILEVERSION 1,0,0,1\n PRODUCTVERSION 1,2,3,4\n FILEFLAGSMASK 0x3fL\n"
                      " FILEFLAGS 0x0L\n FILEOS 0x4L\n FILETYPE 0x1L\n FILESUBTYPE 0x0L\nBEGIN\n"
                      " BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"040904b0\"\n  BEGIN\n"
                      "   VALUE \"FileVersion\", \"1, 0, 0, 1\"\n  END\n END\n"
                      " BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", 0x409, 1200\n END\nEND\n"),
              0)
        << Read("err.txt");
    std::string out = Read("out.cpp");
    EXPECT_NE(out.find("{16, nullptr, 1, nullptr, 0, data0,"), std::string::npos) << out;  // RT_VERSION
    std::vector<uint8_t> b = FirstData(out);
    ASSERT_GT(b.size(), 92u);
    EXPECT_EQ(b[0] | b[1] << 8, static_cast<int>(b.size()));
    EXPECT_EQ(b[2] | b[3] << 8, 52);  // the fixed information's size
    std::string bytes(b.begin(), b.end());
    EXPECT_EQ(bytes.find(Utf16("VS_VERSION_INFO")), 6u);
    EXPECT_EQ(Dword(b, 40), 0xFEEF04BDu);
    EXPECT_EQ(Dword(b, 48), 0x00010000u);  // 1.0
    EXPECT_EQ(Dword(b, 52), 0x00000001u);  // .0.1
    EXPECT_EQ(Dword(b, 56), 0x00010002u);
    EXPECT_EQ(Dword(b, 60), 0x00030004u);
    EXPECT_EQ(Dword(b, 76), 1u);  // FILETYPE
    size_t value = bytes.find(Utf16("FileVersion"));
    ASSERT_NE(value, std::string::npos);
    EXPECT_NE(bytes.find(Utf16("1, 0, 0, 1"), value), std::string::npos);
    // A text value's length counts characters with the terminator.
    EXPECT_EQ(b[value - 4] | b[value - 3] << 8, 11);
    EXPECT_EQ(b[value - 2], 1);
    size_t translation = bytes.find(Utf16("Translation"));
    ASSERT_NE(translation, std::string::npos);
    EXPECT_EQ(b[translation - 4], 4);  // two WORDs of binary value
    EXPECT_EQ(Dword(b, b.size() - 4), 0x04B00409u);
}

TEST_F(WinceRc, ModuleDefinitionFiles) {
    Write("good.def", "LIBRARY Pelloran\nEXPORTS\n  ; comment\n  InitializeCustomItem @240 NONAME\n"
                      "  Other\n  First @1\n  Alias = Real @2 PRIVATE\n");
    ASSERT_EQ(Run("--def good.def --out exports.cpp"), 0) << Read("err.txt");
    std::string out = Read("exports.cpp");
    EXPECT_NE(out.find("{\"InitializeCustomItem\", \"InitializeCustomItem\", 240, 1}"), std::string::npos) << out;
    EXPECT_NE(out.find("{\"Other\", \"Other\", 3, 0}"), std::string::npos) << out;  // the lowest free ordinal
    EXPECT_NE(out.find("{\"Alias\", \"Real\", 2, 0}"), std::string::npos) << out;
    struct Row {
        std::string def, message;
    } rows[] = {
        {"EXPORTS\n  A @1\n  B @1\n", "bad.def:3: ordinal 1 is used twice"},
        {"EXPORTS\n  A NONAME\n", "bad.def:2: NONAME needs an ordinal"},
        {"EXPORTS\n  A @0\n", "bad.def:2: an ordinal from 1 to 65535 expected after '@'"},
        {"EXPORTS\n  A @1\n  A @2\n", "bad.def:3: 'A' is exported twice"},
        {"SECTIONS\n", "bad.def:1: unknown statement 'SECTIONS'"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Write("bad.def", rows[i].def);
        EXPECT_EQ(Run("--def bad.def --out bad.cpp"), 1) << "row " << i;
        std::string err = Read("err.txt");
        EXPECT_EQ(err.substr(0, err.find('\n')), rows[i].message) << "row " << i;
    }
}

}  // namespace
