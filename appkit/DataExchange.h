// Dialog data exchange: moves values between a dialog's members and its
// controls. Towards the members a refused field shows the framework's
// message, takes the focus and ends the exchange: the fields after it are
// left alone.
#pragma once

#include <windows.h>

#include "config/WideString.h"

class Dialog;
class Window;

class DataExchange {
   public:
    DataExchange(Dialog &dialog, bool saveAndValidate) : dialog_(dialog), saving_(saveAndValidate) {}

    bool Saving() const { return saving_; }
    bool Failed() const { return failed_; }

    // Text with at most maxLength characters.
    void Text(int id, WideString &value, int maxLength);
    void Integer(int id, int &value);
    void Check(int id, bool &value);
    // Binds the control window to its object, once.
    void Control(int id, Window &control);

   private:
    HWND Item(int id) const;
    void Refuse(HWND control, LPCWSTR message);

    Dialog &dialog_;
    bool saving_;
    bool failed_ = false;
};

// Reads a whole decimal integer, spaces around it allowed; false for
// anything else, including a value outside the int range.
bool ParseDialogInteger(LPCWSTR text, int &value);
