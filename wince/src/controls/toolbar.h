// "ToolbarWindow32": a row of buttons that send commands to the bar's
// owner. Command bars and the shell's menu bars are toolbars too.
#pragma once

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace wince::controls {

struct ToolbarButton {
    int image = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    std::u16string text;
    int width = 0;           // set through TBIF_SIZE; 0 means computed
    HMENU popup = nullptr;   // a menu bar's button for one of its menu's popups
};

struct ToolbarState {
    std::vector<ToolbarButton> buttons;
    UINT structSize = 0;
    SIZE buttonSize{24, 22};
    HWND notify = nullptr;  // where commands and notifications go
    HFONT font = nullptr;
    int pressed = -1;
    bool menuBar = false;    // lies over the shell's bottom strip
    HMENU menu = nullptr;    // inserted with CommandBar_InsertMenubar(Ex); the bar destroys it
    bool adorned = false;
};

ToolbarState *ToolbarOf(HWND hwnd);

// Where each button lies in the bar's client area. Buttons follow one
// another from the left; a hidden button takes no room; a separator is as
// wide as its image index says (8 when 0); a button with TBSTYLE_AUTOSIZE,
// or with a label and no image, is as wide as its label plus a margin on
// each side; a drop-down button with an arrow gains the arrow's width; any
// other is as wide as the bar's button size. Buttons are as high as the
// button size, or as the whole bar in a menu bar.
using TextWidth = std::function<int(const std::u16string &)>;
std::vector<RECT> LayoutToolbar(const ToolbarState &s, int barHeight, const TextWidth &measure);
// The same, measured with the bar's font.
std::vector<RECT> ButtonRects(HWND hwnd, const ToolbarState &s);
int ButtonMargin();
int DropDownArrowWidth();

// The stylus on a bar: presses, commands and drop-downs.
void ToolbarStylusDown(HWND hwnd, ToolbarState &s, POINT p);
void ToolbarStylusUp(HWND hwnd, ToolbarState &s, POINT p);
void PaintToolbar(HWND hwnd, ToolbarState &s);

}  // namespace wince::controls
