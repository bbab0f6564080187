// The generated C++ sources and the dependency file of the build.
#pragma once

#include <string>
#include <vector>

#include "resources.h"

namespace rc {

struct ExportEntry {
    std::string name;
    std::string symbol;
    uint16_t ordinal = 0;
    bool noName = false;
};

std::string EmitResourceSource(const ResourceSet &resources, const std::string &script);
std::string EmitExportSource(const std::vector<ExportEntry> &exports, const std::string &defFile);
std::string EmitDepfile(const std::string &target, const std::vector<std::string> &dependencies);

// Writes through a temporary file, so that a failed run leaves no half output.
void WriteFileAtomically(const std::string &path, const std::string &content);

}  // namespace rc
