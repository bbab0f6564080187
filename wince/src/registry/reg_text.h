// The registry editor's text format (.reg): "Windows Registry Editor Version
// 5.00", [KEY] sections, "Name"=... value lines. Reading is forgiving: a line
// that cannot be read is skipped and reported, every readable key and value
// is used. Writing produces text that reads back to the same tree byte for byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "key_tree.h"

namespace wince::registry {

// Applies the text to `tree` in order: sections create keys, value lines set
// values, [-KEY] deletes a key with its subkeys and "Name"=- deletes a value.
// Takes UTF-8 (with or without BOM) and UTF-16LE with BOM. Returns the numbers
// of the lines that were damaged (skipped, or not UTF-8 and read as Latin-1).
std::vector<int> ApplyRegText(std::string_view bytes, RegTree &tree);

struct ParsedRegistry {
    RegTree tree;
    std::vector<int> damagedLines;
};
ParsedRegistry ParseRegText(std::string_view bytes);

// The whole tree, keys sorted ignoring case, depth first, empty keys included.
std::string SerializeTree(const RegTree &tree);
// One key and everything under it, under its full path.
std::string SerializeKey(int root, const KeyPath &path, const RegKey &key);

// "HKEY_LOCAL_MACHINE\Software\Varnhold" (also HKLM\...); false for an
// unknown root or an empty component. A trailing backslash is allowed.
bool ParseKeyPath(std::u16string_view text, int *root, KeyPath *path);
std::u16string FormatKeyPath(int root, const KeyPath &path);

// The text of a damaged-file warning: the file, the first damaged line, how many.
std::string DamageWarning(const std::string &file, const std::vector<int> &damagedLines,
                          const std::string &consequence = "the readable part is used");

}  // namespace wince::registry
