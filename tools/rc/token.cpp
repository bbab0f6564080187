#include "token.h"

#include <cctype>
#include <cstring>
#include <strings.h>

namespace rc {

bool Token::IsWord(const char *word) const {
    return kind == TokenKind::Identifier && strcasecmp(text.c_str(), word) == 0;
}

std::u16string Utf8ToUtf16(const std::string &text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0xFFFD;
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 1) {
            cp = c;
        } else if (n > 1 && i + n <= text.size()) {
            cp = c & (0x7F >> n);
            for (size_t k = 1; k < n; ++k) {
                auto cc = static_cast<unsigned char>(text[i + k]);
                if ((cc & 0xC0) != 0x80) {
                    cp = 0xFFFD, n = k;
                    break;
                }
                cp = (cp << 6) | (cc & 0x3F);
            }
        } else {
            n = 1;
        }
        i += n;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

namespace {

bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A string literal starting at the opening quote; returns the index past it.
size_t ReadString(const std::string &line, size_t i, const Location &where, std::u16string &value) {
    std::string bytes;
    ++i;
    for (;;) {
        if (i >= line.size()) throw Error(where, "unterminated string");
        char c = line[i];
        if (c == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {  // "" stands for one quote
                bytes += '"';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        if (c != '\\' || i + 1 >= line.size()) {
            bytes += c;
            ++i;
            continue;
        }
        char e = line[i + 1];
        i += 2;
        switch (e) {
            case 'n': bytes += '\n'; break;
            case 't': bytes += '\t'; break;
            case 'r': bytes += '\r'; break;
            case 'a': bytes += '\a'; break;
            case '\\': bytes += '\\'; break;
            case '"': bytes += '"'; break;
            case 'x': case 'X': {
                unsigned v = 0;
                int digits = 0;
                while (i < line.size() && digits < 4 && std::isxdigit(static_cast<unsigned char>(line[i]))) {
                    v = v * 16 + (std::isdigit(static_cast<unsigned char>(line[i])) ? line[i] - '0'
                                                                                    : (line[i] | 0x20) - 'a' + 10);
                    ++i, ++digits;
                }
                if (digits == 0) throw Error(where, "\\x without hexadecimal digits in a string");
                // Encoded as UTF-8 so that it decodes to the one code unit asked for.
                bytes += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(v)));
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    unsigned v = e - '0';
                    for (int k = 0; k < 2 && i < line.size() && line[i] >= '0' && line[i] <= '7'; ++k) v = v * 8 + (line[i++] - '0');
                    bytes += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(v)));
                } else {  // an unknown escape stands as written
                    bytes += '\\';
                    bytes += e;
                }
        }
    }
    value = Utf8ToUtf16(bytes);
    return i;
}

}  // namespace

std::vector<Token> Tokenize(const std::string &line, const Location &where) {
    static const char *const kPuncts[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||", ",", "|", "&", "^",
                                          "+",  "-",  "~",  "!",  "*",  "/",  "%",  "(",  ")", "{", "}", "<", ">"};
    std::vector<Token> out;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token t;
        t.where = where;
        bool prefixed = (c == 'L' || c == 'u') && i + 1 < line.size() && line[i + 1] == '"';
        if (c == '"' || prefixed) {
            t.kind = TokenKind::String;
            t.wide = prefixed;
            i = ReadString(line, prefixed ? i + 1 : i, where, t.value);
        } else if (IdentStart(c)) {
            size_t start = i;
            while (i < line.size() && IdentChar(line[i])) ++i;
            t.kind = TokenKind::Identifier;
            t.text = line.substr(start, i - start);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = i;
            while (i < line.size() && std::isalnum(static_cast<unsigned char>(line[i]))) ++i;
            t.kind = TokenKind::Number;
            t.text = line.substr(start, i - start);
            std::string digits = t.text;
            while (!digits.empty() && std::strchr("LlUu", digits.back())) {
                if ((digits.back() | 0x20) == 'l') t.isLong = true;
                digits.pop_back();
            }
            int base = 10;
            size_t pos = 0;
            if (digits.size() > 2 && digits[0] == '0' && (digits[1] | 0x20) == 'x') base = 16, pos = 2;
            uint64_t v = 0;
            bool ok = pos < digits.size();
            for (; pos < digits.size() && ok; ++pos) {
                int d = std::isdigit(static_cast<unsigned char>(digits[pos])) ? digits[pos] - '0'
                        : std::isxdigit(static_cast<unsigned char>(digits[pos])) ? (digits[pos] | 0x20) - 'a' + 10
                                                                                   : 99;
                ok = d < base;
                v = (v * base + d) & 0xFFFFFFFFu;
            }
            if (!ok) throw Error(where, "bad number '" + t.text + "'");
            t.number = static_cast<uint32_t>(v);
        } else {
            const char *match = nullptr;
            for (const char *p : kPuncts)
                if (line.compare(i, std::strlen(p), p) == 0) {
                    match = p;
                    break;
                }
            if (!match) throw Error(where, std::string("unexpected character '") + c + "'");
            t.kind = TokenKind::Punct;
            t.text = match;
            i += std::strlen(match);
        }
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace rc
