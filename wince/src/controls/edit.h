// The single-line "EDIT" class: its state and the layout its painting and
// stylus handling share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wince::controls {

struct EditState {
    HFONT font = nullptr;
    std::u16string text;
    int anchor = 0, caret = 0;  // the selection runs between them; the caret is where it ends
    int limit = 30000;
    int scroll = 0;  // pixels of text scrolled out on the left
    bool focused = false;
    bool modified = false;
    bool selecting = false;  // the stylus is dragging a selection

    int SelStart() const { return anchor < caret ? anchor : caret; }
    int SelEnd() const { return anchor < caret ? caret : anchor; }
};

// What the control shows: the text, or one '*' per character for ES_PASSWORD.
std::u16string DisplayText(HWND hwnd, const EditState &s);
// The x of every caret position 0..length, from the text's left edge.
std::vector<int> CaretPositions(HWND hwnd, const EditState &s);
// The area text is drawn in, inside the margins.
RECT TextArea(HWND hwnd);
// The caret position nearest a client x.
int PositionAt(HWND hwnd, const EditState &s, int x);
// Scrolls so the caret is inside the text area (ES_AUTOHSCROLL).
void ScrollToCaret(HWND hwnd, EditState &s);
void PaintEdit(HWND hwnd, HDC hdc, const EditState &s);

}  // namespace wince::controls
