#include "appkit/DialogTemplate.h"

namespace {
// The count of controls is the ninth WORD of a DLGTEMPLATE.
constexpr size_t kCountWord = 4;
}  // namespace

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, LPCWSTR title) {
    Dword(style);
    Dword(exStyle);
    Word(0);  // no controls yet
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // the default class
    String(title);
}

void DialogTemplate::AddControl(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                                LPCWSTR className, LPCWSTR text) {
    Align();
    Dword(style);
    Dword(exStyle);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    String(className);
    String(text);
    Word(0);  // no creation data
    ++words_[kCountWord];
}

void DialogTemplate::Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
}

void DialogTemplate::String(LPCWSTR text) {
    for (; text && *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
}

void DialogTemplate::Align() {
    if (words_.size() % 2) Word(0);
}
