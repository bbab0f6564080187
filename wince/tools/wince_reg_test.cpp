// wince-reg as a user runs it: add, query, delete, export and import on a
// device folder, exit statuses and messages.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out, err;
};

std::string Slurp(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class WinceReg : public ::testing::Test {
   protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wince-reg-test-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        root_ = pattern;
        fs::create_directories(root_ / "device" / "fs");  // what pelloran-sim init makes
    }
    void TearDown() override { fs::remove_all(root_); }

    // Arguments are single-quoted for the shell; none of ours holds a quote.
    Result Run(const std::string &args) {
        std::string command = std::string("'") + WINCE_REG_TOOL + "' --device '" + (root_ / "device").string() + "' " +
                              args + " >'" + (root_ / "out").string() + "' 2>'" + (root_ / "err").string() + "' </dev/null";
        int status = std::system(command.c_str());
        return Result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(root_ / "out"), Slurp(root_ / "err")};
    }

    fs::path root_;
};

const char kNotFound[] = "ERROR: The system was unable to find the specified registry key or value.\n";

TEST_F(WinceReg, AddQueryDelete) {
    const char *adds[] = {
        R"('HKLM\Software\Varnhold\Pelloran' /v Columns /t REG_DWORD /d 10)",
        R"('HKEY_LOCAL_MACHINE\Software\Varnhold\Pelloran' /v Folder /d '\My Documents')",
        R"('HKLM\Software\Varnhold\Pelloran' /v Mask /t REG_DWORD /d 0xFF00)",
        R"('HKLM\Software\Varnhold\Pelloran' /v Blob /t REG_BINARY /d 00a1FF)",
        R"('HKLM\Software\Varnhold\Pelloran' /v List /t REG_MULTI_SZ /d 'one\0two')",
        R"('HKLM\Software\Varnhold\Pelloran' /ve /d 'default')",
        R"('HKLM\Software\Varnhold\Pelloran\Sub')",
    };
    for (size_t i = 0; i < std::size(adds); ++i) {
        Result r = Run(std::string("add ") + adds[i]);
        EXPECT_EQ(r.status, 0) << "row " << i << ": " << r.err;
        EXPECT_EQ(r.out, "The operation completed successfully.\n") << "row " << i;
    }
    Result q = Run(R"(query 'HKLM\Software\Varnhold\Pelloran')");
    EXPECT_EQ(q.status, 0) << q.err;
    EXPECT_EQ(q.out,
              "\nHKEY_LOCAL_MACHINE\\Software\\Varnhold\\Pelloran\n"
              "    Columns    REG_DWORD    0xa\n"
              "    Folder    REG_SZ    \\My Documents\n"
              "    Mask    REG_DWORD    0xff00\n"
              "    Blob    REG_BINARY    00A1FF\n"
              "    List    REG_MULTI_SZ    one\\0two\n"
              "    (Default)    REG_SZ    default\n"
              "\n"
              "HKEY_LOCAL_MACHINE\\Software\\Varnhold\\Pelloran\\Sub\n");
    q = Run(R"(query 'HKLM\Software\Varnhold\Pelloran' /v Mask)");
    EXPECT_EQ(q.status, 0);
    EXPECT_EQ(q.out, "\nHKEY_LOCAL_MACHINE\\Software\\Varnhold\\Pelloran\n    Mask    REG_DWORD    0xff00\n\n");

    // An existing value is only replaced with /f.
    Result r = Run(R"(add 'HKLM\Software\Varnhold\Pelloran' /v Columns /t REG_DWORD /d 3)");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("/f"), std::string::npos) << r.err;
    EXPECT_EQ(Run(R"(add 'HKLM\Software\Varnhold\Pelloran' /v Columns /t REG_DWORD /d 3 /f)").status, 0);
    EXPECT_EQ(Run(R"(query 'HKLM\Software\Varnhold\Pelloran' /v columns)").out,
              "\nHKEY_LOCAL_MACHINE\\Software\\Varnhold\\Pelloran\n    Columns    REG_DWORD    0x3\n\n");

    EXPECT_EQ(Run(R"(delete 'HKLM\Software\Varnhold\Pelloran' /v Mask /f)").status, 0);
    r = Run(R"(query 'HKLM\Software\Varnhold\Pelloran' /v Mask)");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kNotFound);
    EXPECT_EQ(Run(R"(delete 'HKLM\Software\Varnhold' /f)").status, 0);
    r = Run(R"(query 'HKLM\Software\Varnhold\Pelloran')");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kNotFound);
    EXPECT_EQ(r.out, "");
}

TEST_F(WinceReg, ExportAndImport) {
    ASSERT_EQ(Run(R"(add 'HKCU\Software\A' /v Name /d 'x')").status, 0);
    ASSERT_EQ(Run(R"(add 'HKCU\Software\B' /v Count /t REG_DWORD /d 2)").status, 0);
    fs::path all = root_ / "all.reg", one = root_ / "one.reg";
    EXPECT_EQ(Run("export '" + all.string() + "'").status, 0);
    EXPECT_EQ(Run(R"(export 'HKCU\Software\B' ')" + one.string() + "'").status, 0);
    EXPECT_EQ(Slurp(all), Slurp(root_ / "device" / "registry.reg"));
    EXPECT_EQ(Slurp(one), "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\B]\n\"Count\"=dword:00000002\n\n");

    EXPECT_EQ(Run(R"(delete 'HKCU\Software' /f)").status, 0);
    EXPECT_EQ(Run(R"(query 'HKCU\Software\A')").status, 1);
    Result r = Run("import '" + all.string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(root_ / "device" / "registry.reg"), Slurp(all));

}

TEST_F(WinceReg, ImportIsAllOrNothing) {
    ASSERT_EQ(Run(R"(add 'HKCU\Software\A' /v Name /d 'x')").status, 0);
    const std::string before = Slurp(root_ / "device" / "registry.reg");
    std::ofstream(root_ / "bad.reg") << "Windows Registry Editor Version 5.00\n\n[HKCU\\Software\\C]\n\"Ok\"=\"1\"\n\"Bad\"=dword:xyz\n";
    struct Row {
        std::string file, mentions;
    } rows[] = {
        {(root_ / "bad.reg").string(), "line 5"},
        {root_.string(), "is a folder"},
        {(root_ / "missing.reg").string(), "cannot open"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Result r = Run("import '" + rows[i].file + "'");
        EXPECT_EQ(r.status, 1) << "row " << i;
        EXPECT_NE(r.err.find(rows[i].mentions), std::string::npos) << "row " << i << ": " << r.err;
        EXPECT_EQ(Slurp(root_ / "device" / "registry.reg"), before) << "row " << i;
    }
    EXPECT_EQ(Run(R"(query 'HKCU\Software\C')").status, 1);  // not even the readable "Ok"
}

TEST_F(WinceReg, AFolderThatIsNotADeviceIsNotMadeOne) {
    for (const char *name : {"typo", "empty"}) {
        fs::path folder = root_ / name;
        if (std::string(name) == "empty") fs::create_directory(folder);
        std::string command = std::string("'") + WINCE_REG_TOOL + "' --device '" + folder.string() +
                              R"(' query 'HKLM\Software' >/dev/null 2>')" + (root_ / "err").string() + "'";
        int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << name;
        EXPECT_NE(Slurp(root_ / "err").find("is not a device folder"), std::string::npos) << name;
        EXPECT_FALSE(fs::exists(folder / "fs")) << name;
        EXPECT_FALSE(fs::exists(folder / "registry.reg")) << name;
    }
}

TEST_F(WinceReg, BadArgumentsAreNamed) {
    struct Row {
        std::string args, mentions;
    } rows[] = {
        {"", "subcommand"},
        {"frobnicate", "frobnicate"},
        {"query", "key is required"},
        {R"(query 'HKXX\Software')", "HKXX"},
        {R"(add 'HKLM\Software' /v X /t REG_DWORD /d twelve)", "twelve"},
        {R"(add 'HKLM\Software' /v X /t REG_DWORD /d 4294967296)", "4294967296"},
        {R"(add 'HKLM\Software' /v X /t REG_BINARY /d 0g)", "0g"},
        {R"(add 'HKLM\Software' /v X /t REG_QUAD /d 1)", "REG_QUAD"},
        {R"(add 'HKLM\Software' /v)", "/v needs a value"},
        {R"(add 'HKLM\Software' /x)", "/x"},
        {R"(delete 'HKLM' /f)", "root"},
        {"import", "FILE"},
        {"export a b c", "FILE"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        Result r = Run(rows[i].args);
        EXPECT_EQ(r.status, 2) << "row " << i;
        EXPECT_NE(r.err.find(rows[i].mentions), std::string::npos) << "row " << i << ": " << r.err;
        EXPECT_NE(r.err.find("\nusage: wince-reg [--device DIR] "), std::string::npos) << "row " << i << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << "row " << i << ": " << r.err;
    }
}

}  // namespace
