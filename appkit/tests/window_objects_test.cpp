// Window objects and message dispatch: objects found from handles,
// temporary objects, detaching on destruction, handler tables with their
// base chain, reflected notifications and the per-message hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appkit/CommandUpdate.h"
#include "appkit/Window.h"
#include "dialog_support.h"

namespace {

std::vector<std::string> heard;

class Base : public Window {
   protected:
    const MessageMap &Messages() const override {
        using H = Handlers<Base>;
        static const MessageMap map(&Window::Messages(), {H::Command(1, &Base::OnBaseCommand),
                                                           H::Command(2, &Base::OnBaseCommand)});
        return map;
    }
    void OnBaseCommand() { heard.push_back("base command"); }
};

class Derived : public Base {
   public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) heard.push_back("before");
        LRESULT result = Base::WindowProc(message, wParam, lParam);
        if (message == WM_COMMAND) heard.push_back("after");
        return result;
    }

   protected:
    const MessageMap &Messages() const override {
        using H = Handlers<Derived>;
        static const MessageMap map(&Base::Messages(),
                                    {H::Command(2, &Derived::OnCommand2), H::ControlCode(EN_CHANGE, 7, &Derived::OnChange),
                                     H::Notify(55, 7, &Derived::OnNotify), H::Message(WM_USER + 1, &Derived::OnUser),
                                     H::UpdateCommand(101, &Derived::OnUpdate101), H::Command(100, &Derived::OnCommand2)});
        return map;
    }
    void OnCommand2() { heard.push_back("derived command"); }
    void OnChange() { heard.push_back("change"); }
    void OnNotify(NMHDR *, LRESULT *result) {
        heard.push_back("notify");
        *result = 42;
    }
    LRESULT OnUser(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam * 2); }
    void OnUpdate101(CommandUpdate &update) { update.SetCheck(true); }
};

class Reflecting : public Window {
   protected:
    const MessageMap &Messages() const override {
        using H = Handlers<Reflecting>;
        static const MessageMap map(&Window::Messages(), {H::Reflected(55, &Reflecting::OnOwnNotify)});
        return map;
    }
    void OnOwnNotify(NMHDR *, LRESULT *result) {
        heard.push_back("reflected");
        *result = 7;
    }
};

UINT ItemState(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return info.fState;
}

class WindowObjects : public dialog_test::DialogTest {
   protected:
    void SetUp() override {
        DialogTest::SetUp();
        heard.clear();
    }
};

TEST_F(WindowObjects, HandlesFindTheirObjectsAndForeignWindowsGetTemporaryOnes) {
    Derived own;
    ASSERT_TRUE(own.CreateEx(0, TEXT("STATIC"), TEXT("own"), WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    EXPECT_EQ(Window::FromHandle(own.Handle()), &own);
    EXPECT_FALSE(own.IsTemporary());

    HWND foreign = CreateWindowExW(0, TEXT("STATIC"), TEXT("x"), WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    Window *temporary = Window::FromHandle(foreign);
    ASSERT_NE(temporary, nullptr);
    EXPECT_TRUE(temporary->IsTemporary());
    EXPECT_EQ(Window::FromHandle(foreign), temporary);
    EXPECT_EQ(Window::FromHandlePermanent(foreign), nullptr);
    Window::DeleteTemporaryObjects();
    EXPECT_EQ(Window::FromHandlePermanent(foreign), nullptr);
    EXPECT_TRUE(IsWindow(foreign)) << "a temporary object never destroys its window";
    DestroyWindow(foreign);
    EXPECT_EQ(Window::FromHandle(nullptr), nullptr);
}

TEST_F(WindowObjects, DestroyedWindowDetachesAndObjectDestroysItsWindow) {
    Derived first;
    ASSERT_TRUE(first.CreateEx(0, TEXT("STATIC"), TEXT(""), WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    HWND hwnd = first.Handle();
    DestroyWindow(hwnd);
    EXPECT_EQ(first.Handle(), nullptr);
    EXPECT_EQ(Window::FromHandlePermanent(hwnd), nullptr);

    HWND second;
    {
        Window wrapper;
        second = CreateWindowExW(0, TEXT("STATIC"), TEXT(""), WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(wrapper.Attach(second));
        EXPECT_FALSE(Window().Attach(second)) << "one object per window";
    }
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(WindowObjects, DefaultProcessingIsReachableThroughTheObject) {
    Derived own;
    ASSERT_TRUE(own.CreateEx(0, TEXT("STATIC"), TEXT("before"), WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    SetWindowTextW(own.Handle(), TEXT("after"));  // no handler: the class's own processing
    WCHAR text[16];
    GetWindowTextW(own.Handle(), text, 16);
    EXPECT_EQ(std::u16string(text), u"after");
    EXPECT_EQ(SendMessageW(own.Handle(), WM_USER + 1, 21, 0), 42);
}

TEST_F(WindowObjects, CommandsNotificationsAndMessagesReachTheirHandlers) {
    Derived parent;
    ASSERT_TRUE(parent.CreateEx(0, TEXT("STATIC"), TEXT(""), WS_POPUP, 0, 0, 50, 50, nullptr, 0));
    HWND child = CreateWindowExW(0, TEXT("STATIC"), TEXT(""), WS_CHILD, 0, 0, 5, 5, parent.Handle(),
                                 reinterpret_cast<HMENU>(7), nullptr, nullptr);
    NMHDR header{child, 7, 55};
    struct Row {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::vector<std::string> expected;
        LRESULT result;
    } rows[] = {
        {WM_COMMAND, MAKEWPARAM(1, 0), 0, {"before", "base command", "after"}, 0},
        {WM_COMMAND, MAKEWPARAM(2, 0), 0, {"before", "derived command", "after"}, 0},  // derived row wins
        {WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(child), {"before", "derived command", "after"}, 0},
        {WM_COMMAND, MAKEWPARAM(7, EN_CHANGE), reinterpret_cast<LPARAM>(child), {"before", "change", "after"}, 0},
        {WM_COMMAND, MAKEWPARAM(7, EN_SETFOCUS), reinterpret_cast<LPARAM>(child), {"before", "after"}, 0},
        {WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header), {"notify"}, 42},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        heard.clear();
        EXPECT_EQ(SendMessageW(parent.Handle(), rows[i].message, rows[i].wParam, rows[i].lParam), rows[i].result)
            << "row " << i;
        EXPECT_EQ(heard, rows[i].expected) << "row " << i;
    }

    // A control with an object of its own takes its notifications first.
    Reflecting control;
    ASSERT_TRUE(control.Subclass(child));
    heard.clear();
    EXPECT_EQ(SendMessageW(parent.Handle(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(heard, std::vector<std::string>{"reflected"});
}

TEST_F(WindowObjects, PopupUpdateDisablesCommandsWithoutHandlers) {
    Derived target;
    ASSERT_TRUE(target.CreateEx(0, TEXT("STATIC"), TEXT(""), WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(201));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    UpdatePopupCommands(target, popup);
    struct Row {
        int position;
        bool enabled;
        bool checked;
    } rows[] = {{0, true, false}, {1, true, true}, {2, false, false}, {4, true, false}, {5, true, false}};
    for (const Row &row : rows) {
        UINT state = ItemState(popup, row.position);
        EXPECT_EQ((state & MFS_GRAYED) == 0, row.enabled) << "item " << row.position;
        EXPECT_EQ((state & MFS_CHECKED) != 0, row.checked) << "item " << row.position;
    }
    DestroyMenu(menu);
}

}  // namespace
