#include "plugin_fixture.h"

#include "window/message_queue.h"

namespace plugin_testing {

std::vector<HostMessage> PluginTest::hostMessages;

namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_VSCROLL || msg == TODAYM_TOOKSELECTION || msg == TODAYM_GETCOLOR)
        PluginTest::hostMessages.push_back(HostMessage{msg, wParam});
    if (msg == TODAYM_GETCOLOR) return RGB(1, 2, 3);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void PluginTest::SetUp() {
    hostMessages.clear();
    UseProfile("5.1", 96);
    device.WriteHostFile("\\Program Files\\Pelloran\\Pelloran.dll", std::string("#!wince-link ") + PELLORAN_PLUGIN_PATH + "\n");
}

void PluginTest::TearDown() {
    if (host && IsWindow(host)) DestroyWindow(host);
    if (module) FreeLibrary(module);
    UnregisterClassW(u"TestTodayHost", nullptr);
    wince::PumpReadyMessages();
}

void PluginTest::UseProfile(const std::string &version, int dpi, const std::string &extra) {
    testing_support::WriteProfile(device.Root(), "[screen]\nwidth = 240\nheight = 320\ndpi_x = " + std::to_string(dpi) +
                                                     "\ndpi_y = " + std::to_string(dpi) + "\n[os]\nversion = " + version +
                                                     "\nplatform = PocketPC\n[font]\nmode = fixed\n" + extra);
}

bool PluginTest::Load() {
    module = LoadLibraryW(u"\\Program Files\\Pelloran\\Pelloran.dll");
    if (!module) return false;
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = u"TestTodayHost";
    RegisterClassW(&wc);
    host = CreateWindowExW(0, u"TestTodayHost", u"Today", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                           nullptr, nullptr);
    return host != nullptr;
}

HWND PluginTest::CreateItem(TODAYLISTITEM &record, bool hosted) {
    if (hosted) {
        auto init = Export<HWND(WINAPI *)(void *, TODAYLISTITEM *, HWND)>(242);
        return init ? init(nullptr, &record, host) : nullptr;
    }
    auto init = Export<PFNCUSTOMINITIALIZEITEM>(INITIALIZE_CUSTOM_ITEM);
    return init ? init(&record, host) : nullptr;
}

}  // namespace plugin_testing
