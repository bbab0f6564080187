// Tokens of a resource script after preprocessing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diagnostics.h"

namespace rc {

enum class TokenKind { Identifier, Number, String, Punct };

struct Token {
    TokenKind kind = TokenKind::Punct;
    std::string text;      // identifier or punctuator spelling; the number's spelling
    uint32_t number = 0;   // Number
    bool isLong = false;   // Number with an L suffix: 32 bits in RCDATA
    std::u16string value;  // String, escapes resolved
    bool wide = false;     // String written L"..."
    Location where;

    bool Is(const char *punct) const { return kind == TokenKind::Punct && text == punct; }
    // Keywords are not case-sensitive in resource scripts.
    bool IsWord(const char *word) const;
};

// Splits one logical line into tokens; `where` is stamped on each.
std::vector<Token> Tokenize(const std::string &line, const Location &where);

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::u16string Utf8ToUtf16(const std::string &text);
std::string Utf16ToUtf8(const std::u16string &text);

}  // namespace rc
