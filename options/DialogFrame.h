// What every dialog of the options program embeds: the title band at the
// top of the client area, the fonts, the input-panel preference control, a
// Cancel button on the menu bar, taps on the background swallowed, popup
// command updates and, for the About box, no vertical scroll bar. The frame
// has no window: its dialog passes each message through BeforeMessage and
// AfterMessage around its normal dispatch.
#pragma once

#include <windows.h>

#include "config/WideString.h"

class Dialog;

class DialogFrame {
   public:
    WideString title;
    bool applyFonts = false;
    bool inputPanelControl = false;
    bool menuPopupUpdate = false;
    bool swallowTaps = false;
    bool cancelButton = false;
    LONG clientWidth = -1;
    bool hideScrollBar = false;
    UINT hideScrollBarMessage = 0;
    LONG scrollOffset = 0;
    PAINTSTRUCT paintState{};

    // The presets of the options pages, the folder chooser and the About box.
    static DialogFrame PagePreset();
    static DialogFrame ChooserPreset();
    static DialogFrame AboutPreset();

    // True when the frame consumed the message (its result is 0).
    bool BeforeMessage(Dialog &dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void AfterMessage(Dialog &dialog, UINT message, WPARAM wParam);
    void SetTitle(Dialog &dialog, const WideString &text);

   private:
    void TrackScroll(HWND dialog, WPARAM wParam);
    void PaintTitleBand(HWND dialog);
    void AddInputPanelControl(HWND dialog);
    void AddCancelButton(Dialog &dialog);
};
