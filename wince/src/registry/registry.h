// What the platform's tools and tests use of the registry beyond the Reg*
// functions: importing and exporting .reg files, and the text format itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reg_text.h"

namespace wince::registry {

// Merges a .reg file into the device's registry in one locked write,
// honouring [-KEY] and "Name"=- lines. Damaged lines are skipped and listed
// in *damagedLines; false (with *error) only when the file cannot be read or
// the registry cannot be written.
bool ImportRegFile(const std::filesystem::path &file, std::vector<int> *damagedLines, std::string *error);

// Writes the whole registry, or one key with everything under it ("HKLM\...").
bool ExportRegFile(const std::filesystem::path &file, std::u16string_view key, std::string *error);

}  // namespace wince::registry
