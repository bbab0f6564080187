// LoadLibraryW, FreeLibrary, GetProcAddressW and GetModuleHandleW on a real
// shared library installed on the device.
#include <filesystem>

#include "module_fixture.h"

namespace {

using module_testing::kSentinel;
using module_testing::Loaded;
using module_testing::ModuleTest;
using Strings = std::vector<std::string>;

TEST_F(ModuleTest, ConstructorsRunBeforeAttachAndDestructorsAfterDetach) {
    SetLastError(kSentinel);
    HMODULE first = LoadLibraryW(u"\\Windows\\testmodule.dll");
    ASSERT_NE(first, nullptr) << GetLastError();
    EXPECT_EQ(Log(), (Strings{"construct", "attach"}));
    HMODULE second = LoadLibraryW(u"testmodule.dll");  // a bare name finds the loaded module
    EXPECT_EQ(second, first);
    EXPECT_EQ(LoadLibraryW(u"\\WINDOWS\\TestModule.DLL"), first);
    EXPECT_EQ(Log(), (Strings{"construct", "attach"}));  // initialised once only
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(Log(), (Strings{"construct", "attach"}));  // still one load left
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(Log(), (Strings{"construct", "attach", "detach", "destruct"}));
    SetLastError(kSentinel);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    // Loading again after the unload initialises anew, under a new handle.
    Loaded again(LoadLibraryW(u"testmodule"));
    ASSERT_NE(again.get(), nullptr);
    EXPECT_NE(again.get(), first);
    EXPECT_EQ(Log().size(), 6u);
}

TEST_F(ModuleTest, RefusedAttachUnloadsAndFails) {
    setenv("TESTMODULE_REFUSE", "1", 1);
    SetLastError(kSentinel);
    EXPECT_EQ(LoadLibraryW(u"\\Windows\\testmodule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_DLL_INIT_FAILED});
    EXPECT_EQ(Log(), (Strings{"construct", "attach", "detach", "destruct"}));
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleHandleW(u"testmodule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
}

TEST_F(ModuleTest, ProceduresByNameAndOrdinal) {
    Loaded m(LoadLibraryW(u"testmodule.dll"));
    ASSERT_NE(m.get(), nullptr);
    typedef int (*Add)(int, int);
    typedef int (*Secret)();
    auto add = reinterpret_cast<Add>(reinterpret_cast<void *>(GetProcAddressW(m.get(), u"TestModuleAdd")));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(reinterpret_cast<Add>(reinterpret_cast<void *>(GetProcAddressW(m.get(), MAKEINTRESOURCEW(1)))), add);
    EXPECT_EQ(reinterpret_cast<Add>(reinterpret_cast<void *>(GetProcAddressW(m.get(), u"TestModuleSum"))), add);  // Name=symbol
    EXPECT_EQ(reinterpret_cast<Add>(reinterpret_cast<void *>(GetProcAddressW(m.get(), MAKEINTRESOURCEW(3)))), add);
    auto secret = reinterpret_cast<Secret>(reinterpret_cast<void *>(GetProcAddressW(m.get(), MAKEINTRESOURCEW(240))));
    ASSERT_NE(secret, nullptr);
    EXPECT_EQ(secret(), 42);

    struct Row {
        HMODULE module;
        LPCWSTR name;
        DWORD error;
    } rows[] = {
        {m.get(), u"TestModuleSecret", ERROR_PROC_NOT_FOUND},  // NONAME: by ordinal only
        {m.get(), u"NoSuchFunction", ERROR_PROC_NOT_FOUND},
        {m.get(), u"DllMain", ERROR_PROC_NOT_FOUND},  // not in the .def
        {m.get(), u"malloc", ERROR_PROC_NOT_FOUND},   // a library the module uses
        {m.get(), MAKEINTRESOURCEW(2), ERROR_PROC_NOT_FOUND},
        {m.get(), u"", ERROR_PROC_NOT_FOUND},
        {reinterpret_cast<HMODULE>(0x7770000), u"TestModuleAdd", ERROR_INVALID_HANDLE},
        {nullptr, u"TestModuleAdd", ERROR_INVALID_HANDLE},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(GetProcAddressW(rows[i].module, rows[i].name), nullptr) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
}

TEST_F(ModuleTest, LoadFailures) {
    device.WriteHostFile("\\Windows\\notes.dll", "just some text, not a library\n");
    device.WriteHostFile("\\Windows\\short.dll", "ab");
    device.WriteHostFile("\\Windows\\gone.dll", "#!wince-link /nonexistent/libgone.so\n");
    device.WriteHostFile("\\Windows\\relative.dll", "#!wince-link libwince.so\n");
    device.WriteHostFile("\\Windows\\elfjunk.dll", std::string("\x7f" "ELF", 4) + std::string(60, '\0'));
    std::filesystem::create_directories(device.Host("\\Windows\\folder.dll"));
    struct Row {
        LPCWSTR name;
        DWORD error;
    } rows[] = {
        {u"\\Windows\\missing.dll", ERROR_MOD_NOT_FOUND},
        {u"missing.dll", ERROR_MOD_NOT_FOUND},
        {u"\\No Folder\\testmodule.dll", ERROR_MOD_NOT_FOUND},
        {u"\\Windows\\notes.dll", ERROR_BAD_EXE_FORMAT},
        {u"notes", ERROR_BAD_EXE_FORMAT},
        {u"\\Windows\\short.dll", ERROR_BAD_EXE_FORMAT},
        {u"\\Windows\\gone.dll", ERROR_MOD_NOT_FOUND},  // a stub whose library is missing
        {u"\\Windows\\relative.dll", ERROR_BAD_EXE_FORMAT},
        {u"\\Windows\\elfjunk.dll", ERROR_BAD_EXE_FORMAT},
        {u"\\Windows\\folder.dll", ERROR_BAD_EXE_FORMAT},
        {u"", ERROR_INVALID_PARAMETER},
        {nullptr, ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SetLastError(kSentinel);
        EXPECT_EQ(LoadLibraryW(rows[i].name), nullptr) << "row " << i;
        EXPECT_EQ(GetLastError(), rows[i].error) << "row " << i;
    }
}

TEST_F(ModuleTest, StubFileNamesALibraryOnTheHost) {
    device.WriteHostFile("\\Program Files\\Pelloran\\Linked.dll", std::string("#!wince-link ") + WINCE_TESTMODULE + "\n");
    Loaded m(LoadLibraryW(u"\\Program Files\\Pelloran\\Linked.dll"));
    ASSERT_NE(m.get(), nullptr);
    EXPECT_EQ(Log(), (Strings{"construct", "attach"}));
    EXPECT_NE(GetProcAddressW(m.get(), u"TestModuleAdd"), nullptr);
    // A second stub to the same library is the same module.
    device.WriteHostFile("\\Windows\\alias.dll", std::string("#!wince-link ") + WINCE_TESTMODULE);
    Loaded alias(LoadLibraryW(u"\\Windows\\alias.dll"));
    EXPECT_EQ(alias.get(), m.get());
    EXPECT_EQ(Log(), (Strings{"construct", "attach"}));
    WCHAR path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(m.get(), path, MAX_PATH), 34u);
    EXPECT_EQ(std::u16string(path), u"\\Program Files\\Pelloran\\Linked.dll");
}

TEST_F(ModuleTest, ModuleHandlesByName) {
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleHandleW(u"testmodule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
    Loaded m(LoadLibraryW(u"\\Windows\\testmodule.dll"));
    ASSERT_NE(m.get(), nullptr);
    EXPECT_EQ(GetModuleHandleW(u"TESTMODULE.DLL"), m.get());
    EXPECT_EQ(GetModuleHandleW(u"testmodule"), m.get());
    EXPECT_EQ(GetModuleHandleW(u"\\windows\\testmodule.dll"), m.get());
    EXPECT_EQ(GetModuleHandleW(u"wince_tests.exe"), GetModuleHandleW(nullptr));
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(GetModuleHandleW(nullptr), m.get());
    EXPECT_TRUE(DisableThreadLibraryCalls(m.get()));
    WCHAR path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(m.get(), path, MAX_PATH), 23u);
    EXPECT_EQ(std::u16string(path), u"\\Windows\\testmodule.dll");
}

TEST_F(ModuleTest, BareNamesAreSearchedNextToTheProgramFirst) {
    setenv("WINCE_PROGRAM", "\\Program Files\\Pelloran\\PelloranOptions.exe", 1);
    device.WriteHostFile("\\Program Files\\Pelloran\\testmodule.dll",
                         std::string("#!wince-link ") + WINCE_TESTMODULE + "\n");
    Loaded m(LoadLibraryW(u"testmodule.dll"));
    unsetenv("WINCE_PROGRAM");
    ASSERT_NE(m.get(), nullptr);
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(m.get(), path, MAX_PATH);
    EXPECT_EQ(std::u16string(path), u"\\Program Files\\Pelloran\\testmodule.dll");
}

}  // namespace
