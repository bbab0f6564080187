// Reading .reg text into the key tree.
#include <algorithm>

#include <winnt.h>

#include "../core/unicode.h"
#include "reg_text.h"

namespace wince::registry {
namespace {

struct Line {
    std::u16string text;
    int number;
    bool badEncoding;  // not UTF-8 (read as Latin-1) or a lone surrogate in UTF-16
};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool StartsWithIgnoreCase(std::u16string_view s, std::u16string_view prefix) {
    return s.size() >= prefix.size() && EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

// A line of UTF-8 that is not valid UTF-8 is most likely an old ANSI export:
// read it as Latin-1 so that its text survives, and report it.
std::u16string DecodeUtf8Line(std::string_view bytes, bool *bad) {
    *bad = false;
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::u16string(bytes.begin(), bytes.end());  // the common case, without a round trip
    std::u16string text = FromUtf8(bytes);
    *bad = ToUtf8(text) != bytes;
    if (*bad) {
        text.clear();
        for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return text;
}

void PushLine(std::vector<Line> &lines, std::u16string text, bool bad) {
    if (!text.empty() && text.back() == u'\r') text.pop_back();
    lines.push_back(Line{std::move(text), static_cast<int>(lines.size()) + 1, bad});
}

std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
        bool oddByte = bytes.size() % 2 != 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(u'\n', start);
            if (end == std::u16string::npos) end = text.size();
            std::u16string line = text.substr(start, end - start);
            bool bad = false;
            for (size_t i = 0; i < line.size(); ++i) {  // lone surrogates cannot be written back as UTF-8
                char16_t c = line[i];
                bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
                if (high && i + 1 < line.size() && line[i + 1] >= 0xDC00 && line[i + 1] <= 0xDFFF) {
                    ++i;
                } else if (high || low) {
                    line[i] = 0xFFFD, bad = true;
                }
            }
            if (end == text.size()) bad = bad || oddByte;
            if (end == text.size() && line.empty() && !bad) break;
            PushLine(lines, std::move(line), bad);
            start = end + 1;
        }
        return lines;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        bool bad = false;
        std::u16string line = DecodeUtf8Line(bytes.substr(start, end - start), &bad);
        PushLine(lines, std::move(line), bad);
        start = end + 1;
    }
    return lines;
}

// A quoted name or string at s[pos] ('"' there); \\ and \" are escapes.
bool ReadQuoted(std::u16string_view s, size_t &pos, std::u16string &out) {
    out.clear();
    for (size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) {
            out += s[++i];
        } else if (s[i] == u'"') {
            pos = i + 1;
            return true;
        } else {
            out += s[i];
        }
    }
    return false;  // unterminated
}

bool ReadHexBytes(std::u16string_view s, std::vector<uint8_t> &data) {
    s = Trim(s);
    if (s.empty()) return true;
    size_t start = 0;
    for (;;) {
        size_t comma = s.find(u',', start);
        std::u16string_view byte = Trim(s.substr(start, comma == std::u16string_view::npos ? s.npos : comma - start));
        if (byte.size() != 2 || HexDigit(byte[0]) < 0 || HexDigit(byte[1]) < 0) return false;
        data.push_back(static_cast<uint8_t>(HexDigit(byte[0]) << 4 | HexDigit(byte[1])));
        if (comma == std::u16string_view::npos) return true;
        start = comma + 1;
    }
}

enum class Data { kBad, kDelete, kValue };

// The part after '=': "text", dword:, hex:, hex(N): or - (delete).
Data ReadData(std::u16string_view s, uint32_t &type, std::vector<uint8_t> &data) {
    s = Trim(s);
    if (s == u"-") return Data::kDelete;
    if (!s.empty() && s[0] == u'"') {
        size_t pos = 0;
        std::u16string text;
        if (!ReadQuoted(s, pos, text) || !Trim(s.substr(pos)).empty()) return Data::kBad;
        type = REG_SZ;
        for (char16_t c : text) data.push_back(static_cast<uint8_t>(c)), data.push_back(static_cast<uint8_t>(c >> 8));
        data.push_back(0), data.push_back(0);
        return Data::kValue;
    }
    if (StartsWithIgnoreCase(s, u"dword:")) {
        std::u16string_view digits = s.substr(6);
        if (digits.empty() || digits.size() > 8) return Data::kBad;
        uint32_t v = 0;
        for (char16_t c : digits) {
            if (HexDigit(c) < 0) return Data::kBad;
            v = v << 4 | static_cast<uint32_t>(HexDigit(c));
        }
        type = REG_DWORD;
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return Data::kValue;
    }
    if (StartsWithIgnoreCase(s, u"hex:")) {
        type = REG_BINARY;
        return ReadHexBytes(s.substr(4), data) ? Data::kValue : Data::kBad;
    }
    if (StartsWithIgnoreCase(s, u"hex(")) {
        size_t close = s.find(u"):");
        if (close == s.npos || close == 4 || close > 12) return Data::kBad;
        uint32_t t = 0;
        for (char16_t c : s.substr(4, close - 4)) {
            if (HexDigit(c) < 0) return Data::kBad;
            t = t << 4 | static_cast<uint32_t>(HexDigit(c));
        }
        type = t;
        return ReadHexBytes(s.substr(close + 2), data) ? Data::kValue : Data::kBad;
    }
    return Data::kBad;
}

class Reader {
   public:
    Reader(std::vector<Line> lines, RegTree &tree) : lines_(std::move(lines)), tree_(tree) {}

    std::vector<int> Run() {
        bool headerSeen = false;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const Line &line = lines_[i];
            if (line.badEncoding) Damaged(line.number);
            std::u16string_view text = Trim(line.text);
            if (text.empty() || text[0] == u';') continue;
            if (!headerSeen) {
                headerSeen = true;
                if (text == u"Windows Registry Editor Version 5.00" || text == u"REGEDIT4") continue;
                Damaged(line.number);  // no header: read what follows all the same
            }
            if (text.find(u'\0') != text.npos || text.find(u'\r') != text.npos) {
                Damaged(line.number);
                if (text[0] == u'[') current_ = nullptr;  // a damaged section: its values have no key
                continue;
            }
            if (text[0] == u'[') {
                Section(text, line.number);
            } else {
                i = Value(i);
            }
        }
        std::sort(damaged_.begin(), damaged_.end());
        damaged_.erase(std::unique(damaged_.begin(), damaged_.end()), damaged_.end());
        return std::move(damaged_);
    }

   private:
    void Damaged(int number) { damaged_.push_back(number); }

    void Section(std::u16string_view text, int number) {
        current_ = nullptr;
        if (text.back() != u']') return Damaged(number);
        std::u16string_view inner = text.substr(1, text.size() - 2);
        bool deleting = !inner.empty() && inner[0] == u'-';
        if (deleting) inner.remove_prefix(1);
        int root;
        KeyPath path;
        if (!ParseKeyPath(inner, &root, &path)) return Damaged(number);
        if (deleting) {
            if (path.empty()) return Damaged(number);  // a root cannot be deleted
            tree_.Delete(root, path);
            return;
        }
        current_ = tree_.Create(root, path, nullptr);
    }

    // Reads the value line at lines_[i] with its continuation lines; returns
    // the index of the last line it used.
    size_t Value(size_t i) {
        int number = lines_[i].number;
        std::u16string_view text = Trim(lines_[i].text);
        std::u16string name;
        size_t pos = 0;
        if (text[0] == u'@') {
            pos = 1;
        } else if (text[0] != u'"' || !ReadQuoted(text, pos, name)) {
            Damaged(number);
            return i;
        }
        while (pos < text.size() && IsSpace(text[pos])) ++pos;
        if (pos >= text.size() || text[pos] != u'=') {
            Damaged(number);
            return i;
        }
        std::u16string data(Trim(text.substr(pos + 1)));
        bool truncated = false;
        if (StartsWithIgnoreCase(data, u"hex")) {
            // Long hex data continues on the next lines after a trailing backslash.
            while (!data.empty() && data.back() == u'\\') {
                data.pop_back();
                std::u16string_view next = i + 1 < lines_.size() ? Trim(lines_[i + 1].text) : std::u16string_view();
                if (next.empty() || HexDigit(next[0]) < 0) {
                    truncated = true;  // cut short: what follows is not its continuation
                    break;
                }
                ++i;
                if (lines_[i].badEncoding) Damaged(lines_[i].number);
                data += Trim(next);
            }
        }
        uint32_t type = 0;
        std::vector<uint8_t> bytes;
        Data kind = truncated ? Data::kBad : ReadData(data, type, bytes);
        if (kind == Data::kBad || !current_) {
            Damaged(number);
        } else if (kind == Data::kDelete) {
            current_->DeleteValue(name);
        } else {
            current_->SetValue(name, type, std::move(bytes));
        }
        return i;
    }

    std::vector<Line> lines_;
    RegTree &tree_;
    RegKey *current_ = nullptr;
    std::vector<int> damaged_;
};

}  // namespace

std::vector<int> ApplyRegText(std::string_view bytes, RegTree &tree) { return Reader(SplitLines(bytes), tree).Run(); }

ParsedRegistry ParseRegText(std::string_view bytes) {
    ParsedRegistry parsed;
    parsed.damagedLines = ApplyRegText(bytes, parsed.tree);
    return parsed;
}

bool ParseKeyPath(std::u16string_view text, int *root, KeyPath *path) {
    path->clear();
    size_t slash = text.find(u'\\');
    *root = ParseRootName(text.substr(0, slash));
    if (*root < 0) return false;
    if (slash == text.npos) return true;
    std::u16string_view rest = text.substr(slash + 1);
    if (!rest.empty() && rest.back() == u'\\') rest.remove_suffix(1);
    if (rest.empty()) return true;
    for (size_t start = 0;;) {
        size_t end = rest.find(u'\\', start);
        std::u16string_view name = rest.substr(start, end == rest.npos ? rest.npos : end - start);
        if (name.empty()) return false;
        path->emplace_back(name);
        if (end == rest.npos) return true;
        start = end + 1;
    }
}

std::u16string FormatKeyPath(int root, const KeyPath &path) {
    std::u16string text = RootName(root);
    for (const std::u16string &name : path) text += u'\\', text += name;
    return text;
}

std::string DamageWarning(const std::string &file, const std::vector<int> &damagedLines, const std::string &consequence) {
    std::string text = "wince: " + file + ": line " + std::to_string(damagedLines.front()) + " is damaged";
    if (damagedLines.size() > 1) text += " (" + std::to_string(damagedLines.size()) + " damaged lines)";
    return text + "; " + consequence;
}

}  // namespace wince::registry
