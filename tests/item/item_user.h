// The item used the way a person uses it: documents on the test device, the
// real plug-in in a Today host window, stylus and keys as input events, and
// modal menus, message boxes and dialogs answered by clicking their texts.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "plugin_fixture.h"

namespace item_testing {

using Json = nlohmann::json;
using Step = std::function<void()>;

// Input as the device's touch screen and keys deliver it (screen points).
void Down(POINT p);
void Up(POINT p);
void Move(POINT p);
void Tap(POINT p);
void Chars(const std::u16string &text);
void Key(UINT vk);
// Taps the one reachable button or menu item with the text; a test failure
// when there is none or more than one.
void Click(const std::u16string &text);
// Lets the device's hold time pass with the stylus down.
void HoldTime();
// Holds the stylus at p until the hold is recognised, then lifts it.
std::vector<Step> Hold(POINT p);

// Carries out the steps one at a time whenever every loop waits for the
// user, until they are done and the programs idle again. True when no modal
// loop was left waiting for more.
bool RunSteps(std::vector<Step> steps);

// The visible window with this title, or null.
HWND WindowTitled(const std::u16string &title);

class ItemUserTest : public plugin_testing::PluginTest {
   protected:
    void SetUp() override;
    void TearDown() override;

    // Settings written to the registry before the item loads.
    void SetSetting(const char16_t *name, DWORD value);
    void SetSetting(const char16_t *name, const std::u16string &value);
    void RemoveSetting(const char16_t *name);
    // Files in "\My Documents" (or a path below it).
    void AddDocuments(std::initializer_list<std::string> names);
    // Numbered text documents d01.txt, d02.txt, ...
    void AddNumberedDocuments(int count);
    bool DocumentExists(const std::string &name) const;

    // Loads the plug-in (again) and shows its item at the top of the host,
    // as tall as it asks, painted.
    void ShowItem();
    // Unloads the plug-in so that the next ShowItem starts afresh.
    void Unload();
    // Columns and rows of the grid, in the settings.
    void Grid(int columns, int rows);
    // The centre of the cell in row and column of the painted grid.
    POINT CellCenter(int row, int column, bool stripShown = false) const;
    // Lets change notification reach the item, for at most two seconds.
    bool PumpUntil(const std::function<bool()> &done);
    DWORD ItemHeight();

    // Later calls of Events see only what happens from now on.
    void ForgetTrace();
    // Trace events of one kind, in order, since the test began.
    std::vector<Json> Events(const std::string &kind) const;
    // The file of the last document opened through the shell, or "".
    std::string LastOpened() const;

    int cols = 2;
    HWND item = nullptr;
    TODAYLISTITEM record{};
    std::string tracePath;
    size_t forgottenLines = 0;
};

}  // namespace item_testing
