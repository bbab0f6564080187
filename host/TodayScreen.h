// The Today screen: loads the Today items listed in the registry, creates
// their windows, lays them out, paints the background behind them, hands
// the selection between them and answers the item protocol.
#pragma once

#include <todaycmn.h>

#include <memory>
#include <string>
#include <vector>

struct TodayItemSlot {
    std::u16string name;
    TODAYLISTITEM record{};
    HMODULE module = nullptr;  // null for the screen's own items
    HWND window = nullptr;
    HWND container = nullptr;  // outermost tab-host pane, when hosted that way
    int order = 0;
};

class TodayScreen {
   public:
    struct Options {
        bool tabHost = false;  // create library items through a tab host
    };

    explicit TodayScreen(Options options);
    ~TodayScreen();

    bool Create();
    HWND Window() const { return hwnd_; }

    // Re-reads the list of items and creates every item window again, as
    // the screen does on the settings-change broadcast.
    void ReloadItems();
    void QueryHeights();
    void Layout();
    // Opens the item's options dialog through its options procedure.
    bool ShowItemOptions(const std::u16string &name);

    const std::vector<TodayItemSlot> &Items() const { return items_; }
    int Selected() const { return selected_; }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

   private:
    void CreateMenuBar();
    void LoadItems();
    void DestroyItems();
    void CreateItemWindow(TodayItemSlot &slot);
    void Select(int index, WPARAM key);
    void MoveSelection(WPARAM key);
    void OnKey(WPARAM key);
    void OnScroll(WPARAM code);
    void OnSize(int width);
    void FitToScreen();
    COLORREF Color(WPARAM which) const;
    int IndexOf(HWND window) const;
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    Options options_;
    HWND hwnd_ = nullptr;
    std::vector<TodayItemSlot> items_;
    int selected_ = -1;
    int scrollPos_ = 0;
    int contentHeight_ = 0;
    int layoutWidth_ = 0;  // the client width the items were last made to span
    bool sizing_ = false;
};
