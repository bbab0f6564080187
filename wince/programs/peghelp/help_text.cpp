#include "help_text.h"

#include <cctype>
#include <cstdint>

namespace peghelp {
namespace {

bool ValidUtf8(const std::string &s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

void Append(std::u16string &out, uint32_t cp) {
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// The upper half of Windows-1252 where it differs from Latin-1.
const char16_t kCp1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                              0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                              0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::u16string Decode(const std::string &bytes) {
    std::u16string out;
    if (!ValidUtf8(bytes)) {
        for (unsigned char c : bytes) out.push_back(c >= 0x80 && c < 0xA0 ? kCp1252[c - 0x80] : c);
        return out;
    }
    for (size_t i = 0; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        Append(out, cp);
        i += n;
    }
    if (!out.empty() && out[0] == 0xFEFF) out.erase(0, 1);
    return out;
}

char16_t Lower(char16_t c) { return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 32) : c; }

std::u16string LowerText(std::u16string s) {
    for (char16_t &c : s) c = Lower(c);
    return s;
}

std::u16string Ascii(const std::string &s) { return std::u16string(s.begin(), s.end()); }

// The tag's name in lower case, without "/": "h2" for "<H2 class=x>".
std::u16string TagName(const std::u16string &tag) {
    size_t i = 0;
    while (i < tag.size() && (tag[i] == '/' || tag[i] == ' ')) ++i;
    size_t start = i;
    while (i < tag.size() && (isalnum(tag[i]) || tag[i] == '!')) ++i;
    return LowerText(tag.substr(start, i - start));
}

// The value of an attribute of a tag, quoted or not; empty without one.
std::u16string Attribute(const std::u16string &tag, const std::u16string &name) {
    std::u16string lower = LowerText(tag);
    for (size_t at = 0; (at = lower.find(name, at)) != std::u16string::npos; at += name.size()) {
        if (at == 0 || (lower[at - 1] != ' ' && lower[at - 1] != '\t' && lower[at - 1] != '\n')) continue;
        size_t i = at + name.size();
        while (i < tag.size() && tag[i] == ' ') ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && tag[i] == ' ') ++i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            size_t end = tag.find(tag[i], i + 1);
            return tag.substr(i + 1, end == std::u16string::npos ? std::u16string::npos : end - i - 1);
        }
        size_t end = i;
        while (end < tag.size() && tag[end] != ' ' && tag[end] != '>') ++end;
        return tag.substr(i, end - i);
    }
    return u"";
}

// Where the anchor's section starts: at its tag, or at the heading that
// holds it; npos when the page has no such anchor.
size_t AnchorStart(const std::u16string &page, const std::u16string &anchor) {
    size_t heading = std::u16string::npos;
    for (size_t at = 0; (at = page.find(u'<', at)) != std::u16string::npos; ++at) {
        size_t end = page.find(u'>', at);
        if (end == std::u16string::npos) break;
        std::u16string tag = page.substr(at + 1, end - at - 1);
        std::u16string name = TagName(tag);
        if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6' && tag[0] != '/') heading = at;
        if (name.size() == 2 && name[0] == 'h' && tag[0] == '/') heading = std::u16string::npos;
        if (Attribute(tag, u"name") == anchor || Attribute(tag, u"id") == anchor)
            return heading != std::u16string::npos ? heading : at;
    }
    return std::u16string::npos;
}

bool Entity(const std::u16string &page, size_t &i, std::u16string &out) {
    size_t end = page.find(u';', i);
    if (end == std::u16string::npos || end - i > 10) return false;
    std::u16string name = page.substr(i + 1, end - i - 1);
    static const struct {
        const char16_t *name;
        char16_t c;
    } kNamed[] = {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}, {u"nbsp", u' '},
                  {u"copy", 0xA9}, {u"reg", 0xAE}, {u"trade", 0x2122}, {u"hellip", 0x2026}};
    for (const auto &n : kNamed)
        if (name == n.name) {
            out.push_back(n.c);
            i = end + 1;
            return true;
        }
    if (name.size() > 1 && name[0] == '#') {
        bool hex = name[1] == 'x' || name[1] == 'X';
        uint32_t cp = 0;
        for (size_t k = hex ? 2 : 1; k < name.size(); ++k) {
            int d = isdigit(name[k]) ? name[k] - '0' : hex && isxdigit(name[k]) ? (name[k] | 0x20) - 'a' + 10 : -1;
            if (d < 0 || cp > 0x10FFFF) return false;
            cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        }
        Append(out, cp);
        i = end + 1;
        return true;
    }
    return false;
}

bool BreaksParagraph(const std::u16string &name) {
    static const char16_t *const kBlocks[] = {u"p",  u"br", u"div", u"li", u"tr", u"ul", u"ol", u"table", u"h1",
                                              u"h2", u"h3", u"h4",  u"h5", u"h6", u"hr", u"dt", u"dd",   u"blockquote"};
    for (const char16_t *b : kBlocks)
        if (name == b) return true;
    return false;
}

class Builder {
   public:
    void Text(char16_t c) {
        bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (space) {
            pendingSpace_ = !current_.text.empty();
            return;
        }
        if (pendingSpace_) current_.text.push_back(u' ');
        pendingSpace_ = false;
        current_.text.push_back(c);
    }
    void Break(bool heading) {
        if (!current_.text.empty()) out_.push_back(current_);
        current_ = HelpParagraph{u"", heading};
        pendingSpace_ = false;
    }
    std::vector<HelpParagraph> Done() {
        Break(false);
        return out_;
    }

   private:
    std::vector<HelpParagraph> out_;
    HelpParagraph current_;
    bool pendingSpace_ = false;
};

}  // namespace

std::vector<HelpParagraph> HelpSection(const std::string &bytes, const std::string &anchor) {
    std::u16string page = Decode(bytes);
    size_t start = 0;
    if (!anchor.empty()) {
        size_t at = AnchorStart(page, Ascii(anchor));
        if (at != std::u16string::npos) start = at;
    }
    // Before the body (or the anchor) nothing is text: the title and style are not shown.
    if (start == 0) {
        size_t body = LowerText(page).find(u"<body");
        if (body != std::u16string::npos) start = body;
    }
    Builder b;
    bool heading = false, hidden = false;
    for (size_t i = start; i < page.size();) {
        char16_t c = page[i];
        if (c == '<') {
            if (page.compare(i, 4, u"<!--") == 0) {
                size_t end = page.find(u"-->", i + 4);
                i = end == std::u16string::npos ? page.size() : end + 3;
                continue;
            }
            size_t end = page.find(u'>', i);
            if (end == std::u16string::npos) break;
            std::u16string tag = page.substr(i + 1, end - i - 1);
            std::u16string name = TagName(tag);
            bool closing = !tag.empty() && tag[0] == '/';
            i = end + 1;
            if (name == u"script" || name == u"style" || name == u"head" || name == u"title") hidden = !closing;
            if (!BreaksParagraph(name)) continue;
            bool isHeading = name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
            if (isHeading) heading = !closing;
            b.Break(heading);
            continue;
        }
        if (hidden) {
            ++i;
            continue;
        }
        if (c == '&') {
            std::u16string decoded;
            if (Entity(page, i, decoded)) {
                for (char16_t d : decoded) b.Text(d);
                continue;
            }
        }
        b.Text(c);
        ++i;
    }
    return b.Done();
}

void SplitTopic(const std::u16string &commandLine, std::u16string &file, std::string &anchor) {
    std::u16string line = commandLine;
    size_t first = line.find_first_not_of(u" \t\"");
    size_t last = line.find_last_not_of(u" \t\"");
    line = first == std::u16string::npos ? u"" : line.substr(first, last - first + 1);
    if (LowerText(line.substr(0, 5)) == u"file:") line = line.substr(5);
    anchor.clear();
    size_t hash = line.find(u'#');
    if (hash != std::u16string::npos) {
        for (char16_t c : line.substr(hash + 1)) anchor.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        line = line.substr(0, hash);
    }
    file = line;
}

}  // namespace peghelp
