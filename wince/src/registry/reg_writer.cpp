// Writing the key tree as .reg text, the way the registry editor exports it.
#include <cstdio>
#include <cstring>

#include <winnt.h>

#include "../core/unicode.h"
#include "reg_text.h"

namespace wince::registry {
namespace {

// regedit wraps hex data once a line reaches this many characters.
constexpr size_t kMaxHexChars = 77;

std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    for (char c : ToUtf8(text)) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The text of a REG_SZ, when its bytes are exactly a string the format can
// hold and one terminating NUL; anything else is written as hex(1).
bool PlainString(const std::vector<uint8_t> &data, std::u16string *text) {
    if (data.size() < 2 || data.size() % 2 != 0) return false;
    text->clear();
    for (size_t i = 0; i + 2 < data.size(); i += 2) text->push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0) return false;
    for (size_t i = 0; i < text->size(); ++i) {
        char16_t c = (*text)[i];
        if (c == 0 || c == u'\r' || c == u'\n') return false;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text->size() && (*text)[i + 1] >= 0xDC00 && (*text)[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

void WriteHex(std::string &out, size_t lineLength, uint32_t type, const std::vector<uint8_t> &data) {
    char prefix[24];
    if (type == REG_BINARY)
        snprintf(prefix, sizeof prefix, "hex:");
    else
        snprintf(prefix, sizeof prefix, "hex(%x):", type);
    out += prefix;
    lineLength += strlen(prefix);
    for (size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        snprintf(byte, sizeof byte, "%02x", data[i]);
        out += byte;
        if (i + 1 == data.size()) break;
        out += ',';
        lineLength += 3;
        if (lineLength >= kMaxHexChars) {
            out += "\\\n  ";
            lineLength = 2;
        }
    }
}

void WriteValue(std::string &out, const RegValue &value) {
    std::string name = value.name.empty() ? "@" : Quoted(value.name);
    out += name + "=";
    std::u16string text;
    if (value.type == REG_SZ && PlainString(value.data, &text)) {
        out += Quoted(text);
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        char dword[16];
        snprintf(dword, sizeof dword, "dword:%08x",
                 static_cast<unsigned>(value.data[0] | value.data[1] << 8 | value.data[2] << 16 | value.data[3] << 24));
        out += dword;
    } else {
        // regedit counts the name in UTF-16 units when it wraps.
        WriteHex(out, (value.name.empty() ? 1 : FromUtf8(name).size()) + 1, value.type, value.data);
    }
    out += '\n';
}

void WriteKey(std::string &out, const std::u16string &path, const RegKey &key, bool writeSection) {
    if (writeSection) {
        out += "[" + ToUtf8(path) + "]\n";
        for (const RegValue &value : key.Values()) WriteValue(out, value);
        out += '\n';
    }
    for (const auto &sub : key.Subkeys()) WriteKey(out, path + u'\\' + sub->Name(), *sub, true);
}

const char kHeader[] = "Windows Registry Editor Version 5.00\n\n";

}  // namespace

std::string SerializeTree(const RegTree &tree) {
    std::string out = kHeader;
    // A root has a section of its own only when values are set on it directly.
    for (int root = 0; root < kRootCount; ++root)
        WriteKey(out, RootName(root), tree.roots[root], !tree.roots[root].Values().empty());
    return out;
}

std::string SerializeKey(int root, const KeyPath &path, const RegKey &key) {
    std::string out = kHeader;
    WriteKey(out, FormatKeyPath(root, path), key, !path.empty() || !key.Values().empty());
    return out;
}

}  // namespace wince::registry
