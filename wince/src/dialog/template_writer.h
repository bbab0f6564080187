// Writes a dialog template in the binary format, for dialogs the layer
// builds in memory (the message box) and for tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wince {

class DialogTemplateWriter {
   public:
    // A template without a font unless pointSize is given (DS_SETFONT is
    // then added to the style).
    DialogTemplateWriter(DWORD style, short x, short y, short cx, short cy, const std::u16string &title,
                         WORD pointSize = 0, const std::u16string &face = u"", DWORD exStyle = 0);

    // A control of a predefined class (0x0080 button ... 0x0085 combo box).
    DialogTemplateWriter &Item(WORD classOrdinal, DWORD style, short x, short y, short cx, short cy, WORD id,
                               const std::u16string &title, DWORD exStyle = 0);
    // A control of a class named by string.
    DialogTemplateWriter &Item(const std::u16string &className, DWORD style, short x, short y, short cx, short cy,
                               WORD id, const std::u16string &title, DWORD exStyle = 0);

    const DLGTEMPLATE *Get() const { return reinterpret_cast<const DLGTEMPLATE *>(words_.data()); }
    size_t Size() const { return words_.size() * sizeof(WORD); }
    const std::vector<WORD> &Words() const { return words_; }

   private:
    void Dword(DWORD v) {
        words_.push_back(static_cast<WORD>(v & 0xFFFF));
        words_.push_back(static_cast<WORD>(v >> 16));
    }
    void String(const std::u16string &s) {
        for (char16_t c : s) words_.push_back(c);
        words_.push_back(0);
    }
    DialogTemplateWriter &Header(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id);

    std::vector<WORD> words_;  // WORD storage keeps the template aligned for DWORD fields
};

inline DialogTemplateWriter::DialogTemplateWriter(DWORD style, short x, short y, short cx, short cy,
                                                  const std::u16string &title, WORD pointSize,
                                                  const std::u16string &face, DWORD exStyle) {
    if (pointSize) style |= DS_SETFONT;
    Dword(style);
    Dword(exStyle);
    words_.push_back(0);  // the item count, kept up to date
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    String(title);
    if (style & DS_SETFONT) {
        words_.push_back(pointSize);
        String(face);
    }
}

inline DialogTemplateWriter &DialogTemplateWriter::Header(DWORD style, DWORD exStyle, short x, short y, short cx,
                                                          short cy, WORD id) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    words_[4]++;
    Dword(style);
    Dword(exStyle);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(id);
    return *this;
}

inline DialogTemplateWriter &DialogTemplateWriter::Item(WORD classOrdinal, DWORD style, short x, short y, short cx,
                                                        short cy, WORD id, const std::u16string &title,
                                                        DWORD exStyle) {
    Header(style, exStyle, x, y, cx, cy, id);
    words_.push_back(0xFFFF);
    words_.push_back(classOrdinal);
    String(title);
    words_.push_back(0);  // no creation data
    return *this;
}

inline DialogTemplateWriter &DialogTemplateWriter::Item(const std::u16string &className, DWORD style, short x,
                                                        short y, short cx, short cy, WORD id,
                                                        const std::u16string &title, DWORD exStyle) {
    Header(style, exStyle, x, y, cx, cy, id);
    String(className);
    String(title);
    words_.push_back(0);
    return *this;
}

}  // namespace wince
