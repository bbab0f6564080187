#include "item_user.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <thread>

#include "script/click_targets.h"
#include "device/device.h"
#include "window/clock.h"
#include "window/message_queue.h"
#include "window/window.h"

namespace item_testing {

using E = wince::InputEvent;

void Down(POINT p) {
    wince::PostInputEvent(E{E::kStylusDown, p});
}
void Up(POINT p) {
    wince::PostInputEvent(E{E::kStylusUp, p});
}
void Move(POINT p) {
    wince::PostInputEvent(E{E::kStylusMove, p});
}
void Tap(POINT p) {
    Down(p);
    Up(p);
}
void Chars(const std::u16string &text) {
    for (char16_t c : text) wince::PostInputEvent(E{E::kChar, {}, c});
}
void Key(UINT vk) {
    wince::PostInputEvent(E{E::kKeyDown, {}, vk});
    wince::PostInputEvent(E{E::kKeyUp, {}, vk});
}

void Click(const std::u16string &text) {
    std::vector<wince::ClickTarget> targets = wince::FindClickTargets(text);
    std::string name(text.begin(), text.end());
    ASSERT_EQ(targets.size(), 1u) << "things named \"" << name << "\" that can be clicked";
    Tap(targets[0].center);
}

void HoldTime() {
    int hold = wince::Device::Current().Profile().GetInt("shell.hold_ms", 500);
    wince::Clock::Advance(static_cast<uint64_t>(hold) + 100);
}

std::vector<Step> Hold(POINT p) {
    return {[p] { Down(p); }, [] { HoldTime(); }, [p] { Up(p); }};
}

bool RunSteps(std::vector<Step> steps) {
    std::deque<Step> left(steps.begin(), steps.end());
    std::vector<HWND> before;
    for (wince::Window *w : wince::TopLevelWindows())
        if (w->Visible()) before.push_back(w->handle);
    bool quitPosted = false, modalLeft = false;
    wince::IdleDriver old = wince::SetIdleDriver([&] {
        if (!left.empty()) {
            Step step = left.front();
            left.pop_front();
            step();
            return true;
        }
        if (!quitPosted) {
            // A window that came up during the steps and is still there is a
            // modal loop they left waiting; the quit ends it.
            for (wince::Window *w : wince::TopLevelWindows())
                if (w->Visible() && std::find(before.begin(), before.end(), w->handle) == before.end()) {
                    modalLeft = true;
                    ADD_FAILURE() << "left open: a window of class \""
                                  << std::string(w->cls->name.begin(), w->cls->name.end()) << "\" titled \""
                                  << std::string(w->text.begin(), w->text.end()) << "\"";
                }
            PostQuitMessage(0);
            quitPosted = true;
        }
        return false;
    });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {  // the Today screen's own loop
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    wince::SetIdleDriver(old);
    return !modalLeft;
}

HWND WindowTitled(const std::u16string &title) {
    for (wince::Window *w : wince::TopLevelWindows())
        if (w->Visible() && w->text == title) return w->handle;
    return nullptr;
}

void ItemUserTest::SetUp() {
    PluginTest::SetUp();
    tracePath = (device.Root() / "trace.jsonl").string();
    setenv("WINCE_TRACE", tracePath.c_str(), 1);
}

void ItemUserTest::TearDown() {
    unsetenv("WINCE_TRACE");
    PluginTest::TearDown();
}

namespace {

HKEY SettingsKey() {
    HKEY key = nullptr;
    DWORD disposition;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Varnhold\\Pelloran", 0, nullptr, 0, 0, nullptr, &key, &disposition);
    return key;
}

}  // namespace

void ItemUserTest::SetSetting(const char16_t *name, DWORD value) {
    HKEY key = SettingsKey();
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    RegCloseKey(key);
}

void ItemUserTest::SetSetting(const char16_t *name, const std::u16string &value) {
    HKEY key = SettingsKey();
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

void ItemUserTest::RemoveSetting(const char16_t *name) {
    HKEY key = SettingsKey();
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

void ItemUserTest::AddDocuments(std::initializer_list<std::string> names) {
    for (const std::string &name : names) device.WriteHostFile("\\My Documents\\" + name, "x");
}

void ItemUserTest::AddNumberedDocuments(int count) {
    for (int i = 1; i <= count; ++i) {
        char name[16];
        snprintf(name, sizeof name, "d%02d.txt", i);
        device.WriteHostFile(std::string("\\My Documents\\") + name, "x");
    }
}

bool ItemUserTest::DocumentExists(const std::string &name) const {
    return std::filesystem::exists(device.Host("\\My Documents\\" + name));
}

void ItemUserTest::ShowItem() {
    Unload();
    ASSERT_TRUE(Load());
    record = TODAYLISTITEM{};
    record.fEnabled = TRUE;
    item = CreateItem(record);
    ASSERT_NE(item, nullptr);
    SetWindowPos(item, nullptr, 0, 0, 240, static_cast<int>(ItemHeight()), SWP_NOZORDER);
    UpdateWindow(item);
    wince::PumpReadyMessages();
}

void ItemUserTest::Unload() {
    if (host && IsWindow(host)) DestroyWindow(host);
    host = nullptr;
    item = nullptr;
    if (module) FreeLibrary(module);
    module = nullptr;
    wince::PumpReadyMessages();
}

void ItemUserTest::Grid(int columns, int rows) {
    cols = columns;
    SetSetting(u"Cols", static_cast<DWORD>(columns));
    SetSetting(u"Rows", static_cast<DWORD>(rows));
}

POINT ItemUserTest::CellCenter(int row, int column, bool stripShown) const {
    // At 96 dots per inch: the icon column takes 26 at the left, the strip 15
    // at the right.
    RECT client{};
    GetClientRect(item, &client);
    int right = client.right - (stripShown ? 15 : 0);
    int width = right - 26;
    int left = 26 + column * width / cols;
    int next = 26 + (column + 1) * width / cols;
    return POINT{(left + next - 1) / 2, row * 18 + 8};
}

bool ItemUserTest::PumpUntil(const std::function<bool()> &done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        wince::PumpReadyMessages();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

DWORD ItemUserTest::ItemHeight() {
    SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0);
    return record.cyp;
}

// The platform keeps the trace file open: it is never removed under it.
void ItemUserTest::ForgetTrace() {
    std::ifstream in(tracePath);
    forgottenLines = 0;
    for (std::string line; std::getline(in, line);) ++forgottenLines;
}

std::vector<Json> ItemUserTest::Events(const std::string &kind) const {
    std::vector<Json> found;
    std::ifstream in(tracePath);
    size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        if (++number <= forgottenLines) continue;
        Json event = Json::parse(line, nullptr, false);
        if (!event.is_discarded() && event.value("event", "") == kind) found.push_back(event);
    }
    return found;
}

std::string ItemUserTest::LastOpened() const {
    std::vector<Json> opened = Events("ShellExecuteEx");
    return opened.empty() ? "" : opened.back().value("file", "");
}

}  // namespace item_testing
