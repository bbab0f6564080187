// BITMAP and ICON statements: .bmp and .ico files in their resource forms.
#include "parser.h"

namespace rc {
namespace {

uint16_t Word(const std::vector<uint8_t> &b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t Dword(const std::vector<uint8_t> &b, size_t at) { return Word(b, at) | (uint32_t{Word(b, at + 2)} << 16); }

constexpr size_t kFileHeader = 14;  // BITMAPFILEHEADER
constexpr size_t kInfoHeader = 40;  // BITMAPINFOHEADER
constexpr size_t kIconDir = 6, kIconDirEntry = 16;

}  // namespace

// RT_BITMAP is the file without its BITMAPFILEHEADER.
void Parser::Bitmap(const ResName &name, const Location &where) {
    uint16_t language = language_;
    ResourceOptions(language);
    std::string shown;
    Location fileAt = Here();
    std::vector<uint8_t> file = ReadNamedFile(&shown);
    if (file.size() < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M' ||
        Dword(file, kFileHeader) < kInfoHeader)
        throw Error(fileAt, "'" + shown + "' is not a bitmap file");
    out_.Add({ResName::Id(kRtBitmap), name, language, std::vector<uint8_t>(file.begin() + kFileHeader, file.end())},
             where);
}

// Each image becomes an RT_ICON with the next free number; the RT_GROUP_ICON
// lists them with GRPICONDIRENTRY records.
void Parser::Icon(const ResName &name, const Location &where) {
    uint16_t language = language_;
    ResourceOptions(language);
    std::string shown;
    Location fileAt = Here();
    std::vector<uint8_t> file = ReadNamedFile(&shown);
    auto bad = [&](const std::string &why) { return Error(fileAt, "'" + shown + "' is not an icon file: " + why); };
    if (file.size() < kIconDir || Word(file, 0) != 0 || Word(file, 2) != 1) throw bad("no icon header");
    uint16_t count = Word(file, 4);
    if (count == 0) throw bad("no images");
    if (file.size() < kIconDir + count * kIconDirEntry) throw bad("truncated directory");
    ByteWriter group;
    group.Word(0);
    group.Word(1);
    group.Word(count);
    for (uint16_t i = 0; i < count; ++i) {
        size_t e = kIconDir + i * kIconDirEntry;
        uint32_t size = Dword(file, e + 8), offset = Dword(file, e + 12);
        if (size < kInfoHeader || offset > file.size() || size > file.size() - offset)
            throw bad("image " + std::to_string(i + 1) + " lies outside the file");
        uint16_t planes = Word(file, e + 4), bitCount = Word(file, e + 6);
        // Many icon editors leave these zero; the image's own header knows.
        if (planes == 0) planes = Word(file, offset + 12);
        if (bitCount == 0) bitCount = Word(file, offset + 14);
        uint16_t id = nextIconId_++;
        out_.Add({ResName::Id(kRtIcon), ResName::Id(id), language,
                  std::vector<uint8_t>(file.begin() + offset, file.begin() + offset + size)},
                 where);
        for (int k = 0; k < 4; ++k) group.Byte(file[e + k]);  // width, height, colours, reserved
        group.Word(planes);
        group.Word(bitCount);
        group.Dword(size);
        group.Word(id);
    }
    out_.Add({ResName::Id(kRtGroupIcon), name, language, group.Take()}, where);
}

}  // namespace rc
