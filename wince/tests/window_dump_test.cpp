// The window dump: every field a test or a script reads, and the texts of
// each window's last paint in window coordinates, whichever DC drew them.
#include <nlohmann/json.hpp>

#include "dialog_support.h"
#include "menu_support.h"
#include "window/dump.h"

namespace {

using namespace dialog_test;
using Json = nlohmann::json;

// A bordered window that paints its label twice: once through a memory DC
// that is copied in (as double-buffered painting does), once directly.
std::u16string label = u"first";
LRESULT CALLBACK PainterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 100, 40);
    HGDIOBJ old = SelectObject(mem, bitmap);
    RECT r{2, 3, 100, 20};
    DrawTextW(mem, label.c_str(), -1, &r, DT_SINGLELINE | DT_LEFT | DT_TOP);
    BitBlt(dc, 0, 0, 100, 40, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ExtTextOutW(dc, 5, 20, 0, nullptr, u"direct", 6, nullptr);
    EndPaint(hwnd, &ps);
    return 0;
}

const Json *Find(const Json &windows, const std::string &text) {
    for (const Json &w : windows) {
        if (w["text"] == text) return &w;
        if (const Json *inner = Find(w["children"], text)) return inner;
    }
    return nullptr;
}

class WindowDump : public DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = PainterProc;
        wc.lpszClassName = u"Painter";
        RegisterClassW(&wc);
    }
    void TearDown() override {
        DialogTest::TearDown();
        UnregisterClassW(u"Painter", nullptr);
    }
};

TEST_F(WindowDump, FieldsAndTheLastPaintsTexts) {
    HWND top = CreateWindowExW(0, u"Painter", u"top", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                               nullptr, nullptr);
    made.push_back(top);
    HWND painter = CreateWindowExW(0, u"Painter", u"painter", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 120, 50, top,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    HWND box = CreateWindowExW(0, u"BUTTON", u"&Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 80, 60, 16, top,
                               reinterpret_cast<HMENU>(8), nullptr, nullptr);
    CreateWindowExW(0, u"BUTTON", u"Off", WS_CHILD | WS_DISABLED, 10, 100, 60, 16, top,
                               reinterpret_cast<HMENU>(9), nullptr, nullptr);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(box);
    label = u"first";
    wince::PumpReadyMessages();
    label = u"second";  // the next paint replaces what the first drew
    InvalidateRect(painter, nullptr, TRUE);
    wince::PumpReadyMessages();

    Json dump = Json::parse(wince::WindowDumpJson());
    EXPECT_EQ(dump["screen"], Json::parse(R"({"width":240,"height":320})"));
    const Json *p = Find(dump["windows"], "painter");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ((*p)["class"], "Painter");
    EXPECT_EQ((*p)["id"], 7);
    EXPECT_EQ((*p)["rect"], Json::parse("[10,20,130,70]"));  // screen coordinates
    EXPECT_EQ((*p)["style"], WS_CHILD | WS_VISIBLE | WS_BORDER);
    EXPECT_EQ((*p)["visible"], true);
    EXPECT_EQ((*p)["enabled"], true);
    EXPECT_EQ((*p)["focus"], false);
    EXPECT_FALSE(p->contains("checked"));
    EXPECT_FALSE(p->contains("items"));
    // Window coordinates: the client area starts inside the one-pixel border.
    EXPECT_EQ((*p)["drawnText"], Json::parse(R"([{"text":"second","rect":[3,4,69,15]},)"
                                             R"({"text":"direct","rect":[6,21,72,32]}])"));
    const Json *b = Find(dump["windows"], "&Box");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ((*b)["checked"], BST_CHECKED);
    EXPECT_EQ((*b)["focus"], true);
    EXPECT_EQ(dump["focus"], (*b)["handle"]);
    const Json *o = Find(dump["windows"], "Off");
    ASSERT_NE(o, nullptr);
    EXPECT_EQ((*o)["visible"], false);
    EXPECT_EQ((*o)["enabled"], false);
    EXPECT_FALSE(o->contains("checked"));  // a push button has no check state
}

// While a popup menu is open the dump shows it in front, with its items.
TEST_F(WindowDump, OpenMenuWithItems) {
    HWND owner = CreateWindowExW(0, u"Painter", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
    made.push_back(owner);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 11, u"&Open");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 12, u"Delete");
    Json dump;
    {
        menu_testing::StepDriver driver({[&] {
            dump = Json::parse(wince::WindowDumpJson());
            menu_testing::Key(VK_ESCAPE);
        }});
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 30, 0, owner, nullptr), 0);
    }
    DestroyMenu(menu);
    ASSERT_FALSE(dump["windows"].empty());
    const Json &popup = dump["windows"][0];
    EXPECT_EQ(popup["class"], "#32768");
    ASSERT_EQ(popup["items"].size(), 3u);
    EXPECT_EQ(popup["items"][0]["text"], "&Open");
    EXPECT_EQ(popup["items"][0]["id"], 11);
    EXPECT_EQ(popup["items"][0]["checked"], true);
    EXPECT_EQ(popup["items"][0]["enabled"], true);
    EXPECT_EQ(popup["items"][1]["separator"], true);
    EXPECT_EQ(popup["items"][2]["enabled"], false);
    // Each item lies inside the popup on the screen.
    const Json &r = popup["rect"], &item = popup["items"][2]["rect"];
    EXPECT_GE(item[0].get<int>(), r[0].get<int>());
    EXPECT_LE(item[3].get<int>(), r[3].get<int>());
    EXPECT_GT(item[3].get<int>(), item[1].get<int>());
}

}  // namespace
