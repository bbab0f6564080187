#include "parser.h"

#include <fstream>
#include <iterator>

#include "expression.h"

namespace rc {
namespace {

// Menu item flags of the menu template.
enum : uint16_t {
    kMfGrayed = 0x0001,
    kMfDisabled = 0x0002,
    kMfChecked = 0x0008,
    kMfPopup = 0x0010,
    kMfMenuBarBreak = 0x0020,
    kMfMenuBreak = 0x0040,
    kMfEnd = 0x0080,
    kMfHelp = 0x4000,
};

const char *const kMemoryOptions[] = {"DISCARDABLE", "MOVEABLE", "FIXED",  "PRELOAD",  "LOADONCALL",
                                      "PURE",        "IMPURE",   "SHARED", "NONSHARED"};

const char *const kUnsupported[] = {"DIALOGEX",  "MENUEX",    "CURSOR",  "ACCELERATORS",
                                    "TOOLBAR", "DLGINIT",   "FONT",    "MESSAGETABLE", "PLUGPLAY",
                                    "VXD",       "ANICURSOR", "ANIICON", "DLGINCLUDE",   "TEXTINCLUDE"};

std::string Spelling(const Token &t) {
    if (t.kind == TokenKind::String) return "\"" + Utf16ToUtf8(t.value) + "\"";
    return t.text;
}

}  // namespace

const Token &Parser::Peek() const {
    if (AtEnd()) Fail("unexpected end of file");
    return tokens_[pos_];
}

const Token &Parser::Next() {
    const Token &t = Peek();
    ++pos_;
    return t;
}

Location Parser::Here() const {
    if (!AtEnd()) return tokens_[pos_].where;
    return tokens_.empty() ? Location{} : tokens_.back().where;
}

void Parser::Fail(const std::string &what) const { throw Error(Here(), what); }

bool Parser::Accept(const char *punct) {
    if (AtEnd() || !tokens_[pos_].Is(punct)) return false;
    ++pos_;
    return true;
}

void Parser::Expect(const char *punct, const char *what) {
    if (AtEnd()) Fail(std::string("'") + punct + "' expected " + what + " before the end of file");
    if (!Accept(punct)) Fail(std::string("'") + punct + "' expected " + what + ", found '" + Spelling(Peek()) + "'");
}

bool Parser::AcceptWord(const char *word) {
    if (AtEnd() || !tokens_[pos_].IsWord(word)) return false;
    ++pos_;
    return true;
}

void Parser::ExpectBegin() {
    if (!AcceptWord("BEGIN") && !Accept("{"))
        Fail(AtEnd() ? "BEGIN expected before the end of file" : "BEGIN expected, found '" + Spelling(Peek()) + "'");
}

bool Parser::AcceptEnd() {
    if (AtEnd()) Fail("END expected before the end of file");
    return AcceptWord("END") || Accept("}");
}

uint32_t Parser::Number(const char *what) {
    if (AtEnd()) Fail(std::string(what) + " expected before the end of file");
    if (!Expression::Starts(Peek())) {
        if (Peek().kind == TokenKind::Identifier) Fail("undefined symbol '" + Peek().text + "' for the " + what);
        Fail(std::string(what) + " expected, found '" + Spelling(Peek()) + "'");
    }
    return Expression(tokens_, pos_).Parse().number;
}

uint16_t Parser::Word16(const char *what) {
    Location where = Here();
    uint32_t v = Number(what);
    // Negative values such as IDC_STATIC (-1) are meant as their 16-bit form.
    if (v > 0xFFFF && v < 0xFFFF8000u) throw Error(where, std::string(what) + " " + std::to_string(v) + " does not fit in 16 bits");
    return static_cast<uint16_t>(v);
}

uint32_t Parser::Style(uint32_t initial) {
    uint32_t acc = initial;
    do {
        bool clear = AcceptWord("NOT");
        if (AtEnd() || !Expression::Starts(Peek())) Number("style");  // reports what is wrong
        uint32_t v = Expression(tokens_, pos_).Parse(Expression::kAboveOr).number;
        acc = clear ? (acc & ~v) : (acc | v);
    } while (Accept("|"));
    return acc;
}

ResName Parser::Name() {
    const Token &t = Peek();
    if (t.kind == TokenKind::Identifier) return ++pos_, ResName::Text(std::u16string(t.text.begin(), t.text.end()));
    if (t.kind == TokenKind::String) {
        if (t.value.empty()) Fail("an empty resource name");
        return ++pos_, ResName::Text(t.value);
    }
    return ResName::Id(Word16("resource name"));
}

std::u16string Parser::String(const char *what) {
    if (AtEnd() || Peek().kind != TokenKind::String)
        Fail(std::string("a quoted ") + what + " expected" + (AtEnd() ? "" : ", found '" + Spelling(Peek()) + "'"));
    return Next().value;
}

void Parser::ResourceOptions(uint16_t &language) {
    for (;;) {
        if (AcceptWord("LANGUAGE")) {
            uint32_t primary = Number("language");
            Expect(",", "between language and sublanguage");
            uint32_t sub = Number("sublanguage");
            language = static_cast<uint16_t>((sub << 10) | (primary & 0x3FF));
        } else if (AcceptWord("CHARACTERISTICS") || AcceptWord("VERSION")) {
            Number("value");
        } else {
            bool memory = false;
            for (const char *m : kMemoryOptions) memory = memory || AcceptWord(m);
            if (!memory) return;
        }
    }
}

void Parser::Run() {
    while (!AtEnd()) {
        if (AcceptWord("LANGUAGE")) {
            --pos_;
            ResourceOptions(language_);
            continue;
        }
        if (AcceptWord("STRINGTABLE")) {
            StringTable();
            continue;
        }
        Location where = Here();
        ResName name = Name();
        if (AtEnd()) Fail("a resource type expected after the name " + name.Describe());
        const Token &type = Next();
        for (const char *u : kUnsupported)
            if (type.IsWord(u)) throw Error(type.where, type.text + " resources are not supported");
        if (type.IsWord("DIALOG")) Dialog(name, where);
        else if (type.IsWord("MENU")) Menu(name, where);
        else if (type.IsWord("BITMAP")) Bitmap(name, where);
        else if (type.IsWord("ICON")) Icon(name, where);
        else if (type.IsWord("VERSIONINFO")) VersionInfo(name, where);
        else if (type.IsWord("RCDATA")) RawData(ResName::Id(kRtRcData), name, where);
        else if (type.IsWord("HTML")) RawData(ResName::Id(kRtHtml), name, where);
        else if (type.kind == TokenKind::Number) RawData(ResName::Id(static_cast<uint16_t>(type.number)), name, where);
        else if (type.kind == TokenKind::Identifier)
            RawData(ResName::Text(std::u16string(type.text.begin(), type.text.end())), name, where);
        else if (type.kind == TokenKind::String) RawData(ResName::Text(type.value), name, where);
        else throw Error(type.where, "a resource type expected, found '" + Spelling(type) + "'");
    }
    FlushStrings();
}

void Parser::StringTable() {
    uint16_t language = language_;
    ResourceOptions(language);
    ExpectBegin();
    while (!AcceptEnd()) {
        Location where = Here();
        uint16_t id = Word16("string id");
        Accept(",");
        std::u16string text = String("string");
        auto &slot = strings_[{language, static_cast<uint16_t>(id / 16 + 1)}][id % 16];
        if (slot)
            throw Error(where, "string id " + std::to_string(id) + " is already used at line " +
                                   std::to_string(slot->where.line));
        slot = StringEntry{std::move(text), where};
    }
}

// Sixteen strings to a block, each a length and its characters.
void Parser::FlushStrings() {
    for (auto &[key, block] : strings_) {
        ByteWriter w;
        Location where;
        for (auto &entry : block) {
            if (entry && where.line == 0) where = entry->where;
            std::u16string text = entry ? entry->text : u"";
            w.Word(static_cast<uint16_t>(text.size()));
            w.Text(text, false);
        }
        out_.Add({ResName::Id(kRtString), ResName::Id(key.second), key.first, w.Take()}, where);
    }
    strings_.clear();
}

uint16_t Parser::MenuOptions() {
    uint16_t flags = 0;
    for (;;) {
        size_t mark = pos_;
        bool comma = Accept(",");
        if (AcceptWord("GRAYED")) flags |= kMfGrayed;
        else if (AcceptWord("INACTIVE")) flags |= kMfDisabled;
        else if (AcceptWord("CHECKED")) flags |= kMfChecked;
        else if (AcceptWord("MENUBREAK")) flags |= kMfMenuBreak;
        else if (AcceptWord("MENUBARBREAK")) flags |= kMfMenuBarBreak;
        else if (AcceptWord("HELP")) flags |= kMfHelp;
        else {
            if (comma) Fail(AtEnd() ? "a menu option expected" : "unknown menu option '" + Spelling(Peek()) + "'");
            pos_ = mark;
            return flags;
        }
    }
}

// One level of items; the last one carries MF_END. False when it was empty.
bool Parser::MenuItems(ByteWriter &w) {
    ExpectBegin();
    size_t last = 0;
    bool any = false;
    while (!AcceptEnd()) {
        if (AcceptWord("MENUITEM")) {
            last = w.Size();
            if (AcceptWord("SEPARATOR")) {
                w.Word(0);
                w.Word(0);
                w.Text(u"");
            } else {
                std::u16string text = String("menu item text");
                Expect(",", "after the menu item text");
                uint16_t id = Word16("menu item id");
                w.Word(MenuOptions());
                w.Word(id);
                w.Text(text);
            }
        } else if (AcceptWord("POPUP")) {
            Location where = Here();
            std::u16string text = String("popup text");
            last = w.Size();
            w.Word(MenuOptions() | kMfPopup);
            w.Text(text);
            if (!MenuItems(w)) throw Error(where, "POPUP \"" + Utf16ToUtf8(text) + "\" has no items");
        } else {
            Fail("MENUITEM or POPUP expected, found '" + Spelling(Peek()) + "'");
        }
        any = true;
    }
    if (any) w.PatchWord(last, w.WordAt(last) | kMfEnd);
    return any;
}

void Parser::Menu(const ResName &name, const Location &where) {
    uint16_t language = language_;
    ResourceOptions(language);
    ByteWriter w;
    w.Word(0);  // MENUITEMTEMPLATEHEADER: version 0, no extra header bytes
    w.Word(0);
    if (!MenuItems(w)) throw Error(where, "MENU " + name.Describe() + " has no items");
    out_.Add({ResName::Id(kRtMenu), name, language, w.Take()}, where);
}

std::vector<uint8_t> Parser::ReadNamedFile(std::string *shown) {
    Location where = Here();
    std::u16string name = String("file name");
    std::string narrow = Utf16ToUtf8(name);
    std::filesystem::path path = files_.FindResourceFile(narrow, where);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error(where, "cannot read '" + narrow + "'");
    if (shown) *shown = narrow;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// RCDATA, HTML and user types: a file's bytes, or inline numbers and strings.
void Parser::RawData(const ResName &type, const ResName &name, const Location &where) {
    uint16_t language = language_;
    ResourceOptions(language);
    if (!AtEnd() && Peek().kind == TokenKind::String) {
        out_.Add({type, name, language, ReadNamedFile(nullptr)}, where);
        return;
    }
    ByteWriter w;
    ExpectBegin();
    while (!AcceptEnd()) {
        if (Peek().kind == TokenKind::String) {
            const Token &t = Next();
            if (t.wide) w.Text(t.value, false);
            else for (char c : Utf16ToUtf8(t.value)) w.Byte(static_cast<uint8_t>(c));
        } else {
            if (!Expression::Starts(Peek())) Number("data value");  // reports what is wrong
            Value v = Expression(tokens_, pos_).Parse();
            if (v.isLong) w.Dword(v.number);
            else w.Word(static_cast<uint16_t>(v.number));
        }
        Accept(",");
    }
    out_.Add({type, name, language, w.Take()}, where);
}

}  // namespace rc
