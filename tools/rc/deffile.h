// Module-definition files: LIBRARY and the EXPORTS with their ordinals.
#pragma once

#include <string>
#include <vector>

#include "emit.h"

namespace rc {

// Exports without an ordinal get the lowest ones left free, as a linker
// numbers them.
std::vector<ExportEntry> ReadDefFile(const std::string &path);

}  // namespace rc
