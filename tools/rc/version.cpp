// VERSIONINFO: the fixed file information and the string and variable
// blocks, as the nested VS_VERSIONINFO records that version readers walk.
#include <memory>

#include "expression.h"
#include "parser.h"

namespace rc {

struct Parser::VersionNode {
    std::u16string key;
    bool text = false;         // the value is a string (its length counts characters)
    uint16_t valueLength = 0;  // bytes, or characters with the terminator for text
    std::vector<uint8_t> value;
    std::vector<VersionNode> children;
};

namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedVersion = 0x00010000;

// wLength, wValueLength, wType, the key, the value and the children, each
// part starting on a 32-bit boundary; wLength leaves out trailing padding.
std::vector<uint8_t> Serialize(const Parser::VersionNode &node) {
    ByteWriter w;
    w.Word(0);
    w.Word(node.valueLength);
    w.Word(node.text ? 1 : 0);
    w.Text(node.key);
    w.AlignTo(4);
    w.Append(node.value);
    for (const auto &child : node.children) {
        w.AlignTo(4);
        w.Append(Serialize(child));
    }
    w.PatchWord(0, static_cast<uint16_t>(w.Size()));
    return w.Take();
}

}  // namespace

void Parser::VersionBlockItems(VersionNode &block) {
    ExpectBegin();
    while (!AcceptEnd()) {
        VersionNode child;
        if (AcceptWord("BLOCK")) {
            child.key = String("block name");
            VersionBlockItems(child);
        } else if (AcceptWord("VALUE")) {
            child.key = String("value name");
            ByteWriter v;
            bool text = false;
            while (Accept(",")) {
                if (Peek().kind == TokenKind::String) {
                    v.Text(String("value text"));
                    text = true;
                } else {
                    Value number = Expression(tokens_, pos_).Parse();
                    if (number.isLong) v.Dword(number.number);
                    else v.Word(static_cast<uint16_t>(number.number));
                }
            }
            child.text = text;
            child.valueLength = static_cast<uint16_t>(text ? v.Size() / 2 : v.Size());
            child.value = v.Take();
        } else {
            Fail("BLOCK or VALUE expected, found '" + Peek().text + "'");
        }
        block.children.push_back(std::move(child));
    }
}

void Parser::VersionInfo(const ResName &name, const Location &where) {
    uint16_t language = language_;
    uint32_t fileVersion[2] = {0, 0}, productVersion[2] = {0, 0};
    uint32_t flagsMask = 0, flags = 0, os = 0, type = 0, subtype = 0;
    auto version = [this](uint32_t out[2]) {
        uint32_t parts[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            parts[i] = Number("version number") & 0xFFFF;
            if (i < 3 && !Accept(",")) break;
        }
        out[0] = parts[0] << 16 | parts[1];
        out[1] = parts[2] << 16 | parts[3];
    };
    for (;;) {
        if (AcceptWord("FILEVERSION")) version(fileVersion);
        else if (AcceptWord("PRODUCTVERSION")) version(productVersion);
        else if (AcceptWord("FILEFLAGSMASK")) flagsMask = Number("file flags mask");
        else if (AcceptWord("FILEFLAGS")) flags = Number("file flags");
        else if (AcceptWord("FILEOS")) os = Number("file os");
        else if (AcceptWord("FILETYPE")) type = Number("file type");
        else if (AcceptWord("FILESUBTYPE")) subtype = Number("file subtype");
        else if (AcceptWord("LANGUAGE")) {
            --pos_;
            ResourceOptions(language);
        } else break;
    }
    VersionNode root;
    root.key = u"VS_VERSION_INFO";
    ByteWriter fixed;
    for (uint32_t v : {kFixedSignature, kFixedVersion, fileVersion[0], fileVersion[1], productVersion[0],
                       productVersion[1], flagsMask, flags, os, type, subtype, 0u, 0u})
        fixed.Dword(v);
    root.valueLength = static_cast<uint16_t>(fixed.Size());
    root.value = fixed.Take();
    VersionBlockItems(root);
    out_.Add({ResName::Id(kRtVersion), name, language, Serialize(root)}, where);
}

}  // namespace rc
