// The statements of a resource script, compiled into resources.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "preprocessor.h"
#include "resources.h"

namespace rc {

class Parser {
   public:
    Parser(std::vector<Token> tokens, Preprocessor &files, ResourceSet &out)
        : tokens_(std::move(tokens)), files_(files), out_(out) {}
    void Run();
    // One record of a VERSIONINFO resource.
    struct VersionNode;

   private:
    // Token cursor
    bool AtEnd() const { return pos_ >= tokens_.size(); }
    const Token &Peek() const;
    const Token &Next();
    bool Accept(const char *punct);
    void Expect(const char *punct, const char *what);
    bool AcceptWord(const char *word);
    Location Here() const;
    [[noreturn]] void Fail(const std::string &what) const;
    void ExpectBegin();
    bool AcceptEnd();

    // Values
    uint32_t Number(const char *what);
    uint16_t Word16(const char *what);
    // A style: '|'-joined terms, NOT clears bits from what went before.
    uint32_t Style(uint32_t initial);
    ResName Name();
    std::u16string String(const char *what);
    void ResourceOptions(uint16_t &language);

    // Statements
    void StringTable();
    void FlushStrings();
    void Menu(const ResName &name, const Location &where);
    bool MenuItems(ByteWriter &w);
    uint16_t MenuOptions();
    void Dialog(const ResName &name, const Location &where);
    void DialogControl(ByteWriter &w);
    void RawData(const ResName &type, const ResName &name, const Location &where);
    void Bitmap(const ResName &name, const Location &where);
    void Icon(const ResName &name, const Location &where);
    void VersionInfo(const ResName &name, const Location &where);
    void VersionBlockItems(VersionNode &block);
    std::vector<uint8_t> ReadNamedFile(std::string *shown);

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    Preprocessor &files_;
    ResourceSet &out_;
    uint16_t language_ = 0;  // LANG_NEUTRAL until a LANGUAGE statement
    uint16_t nextIconId_ = 1;
    struct StringEntry {
        std::u16string text;
        Location where;
    };
    std::map<std::pair<uint16_t, uint16_t>, std::array<std::optional<StringEntry>, 16>> strings_;
};

}  // namespace rc
