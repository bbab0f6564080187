// What the platform's tools and tests use of the registry beyond the Reg*
// functions: importing and exporting .reg files, and the text format itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "reg_text.h"

namespace wince::registry {

// Merges a .reg file into the device's registry in one locked write,
// honouring [-KEY] and "Name"=- lines. All or nothing: a file with damaged
// lines changes nothing and lists them in *damagedLines. False (with *error)
// when the file is damaged or cannot be read, or the registry cannot be written.
bool ImportRegFile(const std::filesystem::path &file, std::vector<int> *damagedLines, std::string *error);

// Writes the whole registry, or one key with everything under it ("HKLM\...").
bool ExportRegFile(const std::filesystem::path &file, std::u16string_view key, std::string *error);

// Tells every process on the device that the registry file was written
// outside the registry functions, so that they read it again.
void NoteRegistryFileReplaced(const std::filesystem::path &file);

}  // namespace wince::registry
