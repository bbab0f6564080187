// The resources a script compiles to, in their Win32 binary formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "diagnostics.h"

namespace rc {

// Resource types by number.
enum : uint16_t {
    kRtBitmap = 2,
    kRtIcon = 3,
    kRtMenu = 4,
    kRtDialog = 5,
    kRtString = 6,
    kRtRcData = 10,
    kRtGroupIcon = 14,
    kRtVersion = 16,
    kRtHtml = 23,
};

// A type or name: a 16-bit id, or a string (upper-cased, as rc stores them).
struct ResName {
    bool isId = true;
    uint16_t id = 0;
    std::u16string text;

    static ResName Id(uint16_t id) { return {true, id, {}}; }
    static ResName Text(const std::u16string &text);
    bool operator==(const ResName &o) const { return isId == o.isId && (isId ? id == o.id : text == o.text); }
    std::string Describe() const;
};

struct Resource {
    ResName type;
    ResName name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

class ResourceSet {
   public:
    // Refuses a second resource of the same type, name and language.
    void Add(Resource r, const Location &where);
    const std::vector<Resource> &All() const { return all_; }
    std::vector<Resource> &All() { return all_; }

   private:
    std::vector<Resource> all_;
};

// Little-endian writer of the binary formats.
class ByteWriter {
   public:
    void Byte(uint8_t v) { bytes_.push_back(v); }
    void Word(uint16_t v) {
        Byte(v & 0xFF);
        Byte(v >> 8);
    }
    void Dword(uint32_t v) {
        Word(v & 0xFFFF);
        Word(v >> 16);
    }
    void Text(const std::u16string &s, bool terminate = true) {
        for (char16_t c : s) Word(c);
        if (terminate) Word(0);
    }
    // A name field of the dialog formats: 0xFFFF then the ordinal, or the string.
    void NameOrOrdinal(const ResName &n) {
        if (n.isId) {
            Word(0xFFFF);
            Word(n.id);
        } else {
            Text(n.text);
        }
    }
    void AlignTo(size_t n) {
        while (bytes_.size() % n) Byte(0);
    }
    void Append(const std::vector<uint8_t> &b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void PatchWord(size_t at, uint16_t v) {
        bytes_[at] = v & 0xFF;
        bytes_[at + 1] = v >> 8;
    }
    uint16_t WordAt(size_t at) const { return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8)); }
    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

   private:
    std::vector<uint8_t> bytes_;
};

}  // namespace rc
