// A dialog template built in memory: a DLGTEMPLATE followed by its items,
// each DWORD-aligned, as the dialog manager reads them.
#pragma once

#include <windows.h>

#include <vector>

class DialogTemplate {
   public:
    DialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, LPCWSTR title);
    // A control whose class is given by name.
    void AddControl(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id, LPCWSTR className,
                    LPCWSTR text);
    const DLGTEMPLATE *Get() const { return reinterpret_cast<const DLGTEMPLATE *>(words_.data()); }

   private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d);
    void String(LPCWSTR text);
    void Align();

    std::vector<WORD> words_;
};
