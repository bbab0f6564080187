#include "input_panel_keys.h"

#include <algorithm>
#include <vector>

#include "control_util.h"
#include "window/message_queue.h"

namespace wince {
namespace {

struct Key {
    const char16_t *label;
    const char16_t *shifted;  // null: the same as label
    UINT vk;                  // 0: types its character
    int columns;              // on a grid of 30 columns
};

constexpr UINT kShift = 0x10000, kCaps = 0x10001, kPlain = 0x10002;  // panel-only keys

// Five rows of 30 columns, as the device's small keyboard.
const std::vector<std::vector<Key>> &Rows() {
    static const auto *rows = new std::vector<std::vector<Key>>{
        {{u"`", u"~", 0, 2}, {u"1", u"!", 0, 2}, {u"2", u"@", 0, 2}, {u"3", u"#", 0, 2}, {u"4", u"$", 0, 2},
         {u"5", u"%", 0, 2}, {u"6", u"^", 0, 2}, {u"7", u"&", 0, 2}, {u"8", u"*", 0, 2}, {u"9", u"(", 0, 2},
         {u"0", u")", 0, 2}, {u"-", u"_", 0, 2}, {u"=", u"+", 0, 2}, {u"Bksp", nullptr, VK_BACK, 4}},
        {{u"Tab", nullptr, VK_TAB, 3}, {u"q", nullptr, 0, 2}, {u"w", nullptr, 0, 2}, {u"e", nullptr, 0, 2},
         {u"r", nullptr, 0, 2}, {u"t", nullptr, 0, 2}, {u"y", nullptr, 0, 2}, {u"u", nullptr, 0, 2},
         {u"i", nullptr, 0, 2}, {u"o", nullptr, 0, 2}, {u"p", nullptr, 0, 2}, {u"[", u"{", 0, 2},
         {u"]", u"}", 0, 2}, {u"\\", u"|", 0, 3}},
        {{u"CAP", nullptr, kCaps, 4}, {u"a", nullptr, 0, 2}, {u"s", nullptr, 0, 2}, {u"d", nullptr, 0, 2},
         {u"f", nullptr, 0, 2}, {u"g", nullptr, 0, 2}, {u"h", nullptr, 0, 2}, {u"j", nullptr, 0, 2},
         {u"k", nullptr, 0, 2}, {u"l", nullptr, 0, 2}, {u";", u":", 0, 2}, {u"'", u"\"", 0, 2},
         {u"Enter", nullptr, VK_RETURN, 4}},
        {{u"Shift", nullptr, kShift, 5}, {u"z", nullptr, 0, 2}, {u"x", nullptr, 0, 2}, {u"c", nullptr, 0, 2},
         {u"v", nullptr, 0, 2}, {u"b", nullptr, 0, 2}, {u"n", nullptr, 0, 2}, {u"m", nullptr, 0, 2},
         {u",", u"<", 0, 2}, {u".", u">", 0, 2}, {u"/", u"?", 0, 2}, {u"Shift", nullptr, kShift, 5}},
        {{u"Ctl", nullptr, kPlain, 3}, {u"\u00e1\u00fc", nullptr, kPlain, 3}, {u"space", nullptr, VK_SPACE, 16},
         {u"\u2190", nullptr, VK_LEFT, 2}, {u"\u2191", nullptr, VK_UP, 2}, {u"\u2193", nullptr, VK_DOWN, 2},
         {u"\u2192", nullptr, VK_RIGHT, 2}},
    };
    return *rows;
}

constexpr int kColumns = 30;

struct PanelState {
    bool shift = false;  // for the next key only
    bool caps = false;
    int pressedRow = -1, pressedKey = -1;
};

PanelState &State() {
    static PanelState state;
    return state;
}

bool IsLetter(const Key &k) { return k.vk == 0 && k.label[1] == 0 && k.label[0] >= u'a' && k.label[0] <= u'z'; }

// What the key shows and types now.
std::u16string LabelOf(const Key &k) {
    const PanelState &s = State();
    if (IsLetter(k)) return std::u16string(1, (s.shift != s.caps) ? static_cast<char16_t>(k.label[0] - 32) : k.label[0]);
    if (s.shift && k.shifted) return k.shifted;
    return k.label;
}

// Lines sit on the grid's boundaries, shared by neighbours: the outer ones
// on the client's edges, so the panel's frame is a key's line too.
int ColumnEdge(int column, int width) { return column * (width - 1) / kColumns; }
int RowEdge(int row, int height) { return row * (height - 1) / static_cast<int>(Rows().size()); }

RECT KeyRect(int row, int index, SIZE client) {
    int column = 0;
    for (int i = 0; i < index; ++i) column += Rows()[row][i].columns;
    return RECT{ColumnEdge(column, client.cx), RowEdge(row, client.cy),
                ColumnEdge(column + Rows()[row][index].columns, client.cx) + 1, RowEdge(row + 1, client.cy) + 1};
}

bool HitKey(POINT p, SIZE client, int *row, int *index) {
    for (int r = 0; r < static_cast<int>(Rows().size()); ++r)
        for (int i = 0; i < static_cast<int>(Rows()[r].size()); ++i) {
            RECT k = KeyRect(r, i, client);
            if (p.x >= k.left && p.x < k.right - 1 && p.y >= k.top && p.y < k.bottom - 1) {
                *row = r, *index = i;
                return true;
            }
        }
    return false;
}

void PostKey(UINT vk) {
    PostInputEvent(InputEvent{InputEvent::kKeyDown, {}, vk});
    PostInputEvent(InputEvent{InputEvent::kKeyUp, {}, vk});
}

void Type(const Key &k) {
    PanelState &s = State();
    if (k.vk == kShift) {
        s.shift = !s.shift;
        return;
    }
    if (k.vk == kCaps) {
        s.caps = !s.caps;
        return;
    }
    if (k.vk == kPlain) return;
    if (k.vk) {
        PostKey(k.vk);
    } else {
        // A character key types the character it shows.
        std::u16string text = LabelOf(k);
        PostInputEvent(InputEvent{InputEvent::kChar, {}, text[0]});
    }
    s.shift = false;  // Shift holds for one key
}

}  // namespace

RECT InputPanelKeyRect(const std::u16string &label, SIZE client) {
    for (int r = 0; r < static_cast<int>(Rows().size()); ++r)
        for (int i = 0; i < static_cast<int>(Rows()[r].size()); ++i)
            if (LabelOf(Rows()[r][i]) == label) return KeyRect(r, i, client);
    return RECT{};
}

void PaintInputPanelKeys(HDC hdc, SIZE client) {
    const PanelState &s = State();
    controls::Fill(hdc, RECT{0, 0, client.cx, client.cy}, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    SetBkMode(hdc, TRANSPARENT);
    for (int r = 0; r < static_cast<int>(Rows().size()); ++r)
        for (int i = 0; i < static_cast<int>(Rows()[r].size()); ++i) {
            const Key &k = Rows()[r][i];
            RECT inside = KeyRect(r, i, client);
            InflateRect(&inside, -1, -1);  // between its own line and the next key's
            bool pressed = r == s.pressedRow && i == s.pressedKey;
            bool latched = (k.vk == kShift && s.shift) || (k.vk == kCaps && s.caps);
            controls::Fill(hdc, inside, GetSysColor(pressed || latched ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            SetTextColor(hdc, GetSysColor(pressed || latched ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
            std::u16string label = k.vk == VK_SPACE ? u"" : LabelOf(k);
            DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &inside,
                      DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        }
    SelectObject(hdc, oldFont);
    controls::Frame(hdc, RECT{0, 0, client.cx, client.cy}, 1, GetSysColor(COLOR_WINDOWFRAME));
}

bool InputPanelStylus(UINT message, POINT client, SIZE size) {
    PanelState &s = State();
    int row = -1, index = -1;
    bool onKey = HitKey(client, size, &row, &index);
    switch (message) {
        case WM_LBUTTONDOWN:
            s.pressedRow = onKey ? row : -1;
            s.pressedKey = onKey ? index : -1;
            return true;
        case WM_MOUSEMOVE:
            if (s.pressedRow < 0 || (onKey && row == s.pressedRow && index == s.pressedKey)) return false;
            s.pressedRow = s.pressedKey = -1;  // slid off: the key is not typed
            return true;
        case WM_LBUTTONUP: {
            bool type = onKey && row == s.pressedRow && index == s.pressedKey;
            s.pressedRow = s.pressedKey = -1;
            if (type) Type(Rows()[row][index]);
            return true;
        }
    }
    return false;
}

void ResetInputPanelKeys() { State() = PanelState{}; }

}  // namespace wince
