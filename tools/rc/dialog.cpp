// DIALOG statements: a DLGTEMPLATE followed by DWORD-aligned DLGITEMTEMPLATEs.
#include <strings.h>

#include "expression.h"
#include "parser.h"

namespace rc {
namespace {

enum : uint32_t {
    kWsPopup = 0x80000000,
    kWsChild = 0x40000000,
    kWsVisible = 0x10000000,
    kWsCaption = 0x00C00000,
    kWsBorder = 0x00800000,
    kWsSysMenu = 0x00080000,
    kWsGroup = 0x00020000,
    kWsTabStop = 0x00010000,
    kDsSetFont = 0x40,
};

enum : uint16_t { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kScrollBar = 0x84, kComboBox = 0x85 };

enum class Form { Text, NoText, Icon };

// Each statement's class and the styles it implies when none are given.
struct ControlKind {
    const char *word;
    Form form;
    uint16_t atom;
    uint32_t style;
};

const ControlKind kKinds[] = {
    {"LTEXT", Form::Text, kStatic, 0x0 | kWsGroup},                   // SS_LEFT
    {"CTEXT", Form::Text, kStatic, 0x1 | kWsGroup},                   // SS_CENTER
    {"RTEXT", Form::Text, kStatic, 0x2 | kWsGroup},                   // SS_RIGHT
    {"ICON", Form::Icon, kStatic, 0x3},                               // SS_ICON
    {"EDITTEXT", Form::NoText, kEdit, 0x0 | kWsBorder | kWsTabStop},  // ES_LEFT
    {"PUSHBUTTON", Form::Text, kButton, 0x0 | kWsTabStop},            // BS_PUSHBUTTON
    {"DEFPUSHBUTTON", Form::Text, kButton, 0x1 | kWsTabStop},         // BS_DEFPUSHBUTTON
    {"CHECKBOX", Form::Text, kButton, 0x2 | kWsTabStop},              // BS_CHECKBOX
    {"AUTOCHECKBOX", Form::Text, kButton, 0x3 | kWsTabStop},          // BS_AUTOCHECKBOX
    {"RADIOBUTTON", Form::Text, kButton, 0x4 | kWsTabStop},           // BS_RADIOBUTTON
    {"STATE3", Form::Text, kButton, 0x5 | kWsTabStop},                // BS_3STATE
    {"AUTO3STATE", Form::Text, kButton, 0x6 | kWsTabStop},            // BS_AUTO3STATE
    {"GROUPBOX", Form::Text, kButton, 0x7},                           // BS_GROUPBOX
    {"AUTORADIOBUTTON", Form::Text, kButton, 0x9 | kWsTabStop},       // BS_AUTORADIOBUTTON
    {"PUSHBOX", Form::Text, kButton, 0xA | kWsTabStop},               // BS_PUSHBOX
    {"LISTBOX", Form::NoText, kListBox, 0x1 | kWsBorder},             // LBS_NOTIFY
    {"SCROLLBAR", Form::NoText, kScrollBar, 0x0},                     // SBS_HORZ
    {"COMBOBOX", Form::NoText, kComboBox, 0x1 | kWsTabStop},          // CBS_SIMPLE
};

const struct {
    const char16_t *name;
    uint16_t atom;
} kClassAtoms[] = {{u"button", kButton},       {u"edit", kEdit},           {u"static", kStatic},
                   {u"listbox", kListBox},     {u"scrollbar", kScrollBar}, {u"combobox", kComboBox}};

bool SameIgnoringCase(const std::u16string &a, const char16_t *b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char16_t x = a[i] >= u'A' && a[i] <= u'Z' ? a[i] + 32 : a[i];
        if (x != b[i]) return false;
    }
    return i == a.size() && !b[i];
}

struct Item {
    uint32_t style = 0, exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    ResName cls, text;
};

}  // namespace

void Parser::Dialog(const ResName &name, const Location &where) {
    uint16_t language = language_;
    ResourceOptions(language);
    int16_t rect[4];
    for (int i = 0; i < 4; ++i) {
        if (i) Expect(",", "between the dialog's coordinates");
        rect[i] = static_cast<int16_t>(Word16("dialog coordinate"));
    }
    uint32_t style = kWsPopup | kWsBorder | kWsSysMenu, exStyle = 0;
    bool hasCaption = false, hasFont = false, hasMenu = false, hasClass = false;
    std::u16string caption, face;
    uint16_t pointSize = 0;
    ResName menu, cls;
    for (;;) {
        if (AcceptWord("STYLE")) style = Style(0);
        else if (AcceptWord("EXSTYLE")) exStyle = Style(0);
        else if (AcceptWord("CAPTION")) caption = String("caption"), hasCaption = true;
        else if (AcceptWord("FONT")) {
            pointSize = Word16("font size");
            Expect(",", "between the font size and face");
            face = String("font face");
            hasFont = true;
            if (!AtEnd() && Peek().Is(",")) Fail("FONT of a DIALOG takes a size and a face only");
        } else if (AcceptWord("MENU")) menu = Name(), hasMenu = true;
        else if (AcceptWord("CLASS")) {
            hasClass = true;
            if (!AtEnd() && Peek().kind == TokenKind::String) cls = ResName{false, 0, Next().value};
            else cls = ResName::Id(Word16("class"));
        } else if (!AtEnd() && (Peek().IsWord("LANGUAGE") || Peek().IsWord("CHARACTERISTICS") || Peek().IsWord("VERSION")))
            ResourceOptions(language);
        else break;
    }
    if (hasCaption) style |= kWsCaption;
    if (hasFont) style |= kDsSetFont;

    ByteWriter w;
    w.Dword(style);
    w.Dword(exStyle);
    size_t countAt = w.Size();
    w.Word(0);
    for (int16_t v : rect) w.Word(static_cast<uint16_t>(v));
    if (hasMenu) w.NameOrOrdinal(menu);
    else w.Word(0);
    if (hasClass) w.NameOrOrdinal(cls);
    else w.Word(0);
    w.Text(caption);
    if (hasFont) {
        w.Word(pointSize);
        w.Text(face);
    }
    ExpectBegin();
    uint16_t count = 0;
    while (!AcceptEnd()) {
        DialogControl(w);
        ++count;
    }
    w.PatchWord(countAt, count);
    out_.Add({ResName::Id(kRtDialog), name, language, w.Take()}, where);
}

void Parser::DialogControl(ByteWriter &w) {
    const Token &keyword = Next();
    Item item;
    auto text = [&]() {
        if (!AtEnd() && Peek().kind == TokenKind::String) return ResName{false, 0, Next().value};
        if (!AtEnd() && Peek().kind == TokenKind::Identifier) {  // an icon's name
            const Token &t = Next();
            return ResName::Text(std::u16string(t.text.begin(), t.text.end()));
        }
        return ResName::Id(Word16("control text"));
    };
    auto coordinates = [&](bool sizeOptional) {
        int16_t *v[] = {&item.x, &item.y, &item.cx, &item.cy};
        for (int i = 0; i < 4; ++i) {
            if (sizeOptional && i == 2 && !Accept(",")) return false;
            if (!(sizeOptional && i == 2)) Expect(",", "between the control's values");
            *v[i] = static_cast<int16_t>(Word16("control coordinate"));
        }
        return true;
    };
    if (keyword.IsWord("CONTROL")) {
        item.text = text();
        Expect(",", "after the control text");
        item.id = Word16("control id");
        Expect(",", "after the control id");
        if (!AtEnd() && (Peek().kind == TokenKind::String || Peek().kind == TokenKind::Identifier)) {
            const Token &c = Next();
            std::u16string name = c.kind == TokenKind::String ? c.value : std::u16string(c.text.begin(), c.text.end());
            item.cls = ResName{false, 0, name};
            for (const auto &a : kClassAtoms)
                if (SameIgnoringCase(name, a.name)) item.cls = ResName::Id(a.atom);
        } else {
            item.cls = ResName::Id(Word16("control class"));
        }
        Expect(",", "after the control class");
        item.style = Style(kWsChild | kWsVisible);
        coordinates(false);
        if (Accept(",")) item.exStyle = Style(0);
    } else {
        const ControlKind *kind = nullptr;
        for (const auto &k : kKinds)
            if (keyword.IsWord(k.word)) kind = &k;
        if (!kind) throw Error(keyword.where, "a control statement expected, found '" + keyword.text + "'");
        item.cls = ResName::Id(kind->atom);
        item.text = ResName{false, 0, u""};
        if (kind->form != Form::NoText) {
            item.text = text();
            Expect(",", "after the control text");
        }
        item.id = Word16("control id");
        item.style = kind->style | kWsChild | kWsVisible;
        if (coordinates(kind->form == Form::Icon) && Accept(",")) {
            item.style = Style(item.style);
            if (Accept(",")) item.exStyle = Style(0);
        }
    }
    w.AlignTo(4);
    w.Dword(item.style);
    w.Dword(item.exStyle);
    for (int16_t v : {item.x, item.y, item.cx, item.cy}) w.Word(static_cast<uint16_t>(v));
    w.Word(item.id);
    w.NameOrOrdinal(item.cls);
    w.NameOrOrdinal(item.text);
    w.Word(0);  // no creation data
}

}  // namespace rc
