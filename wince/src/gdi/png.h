// Reading PNG files into surfaces (screenshot comparisons in tests).
#pragma once

#include <memory>
#include <string>

#include "surface.h"

namespace wince {

// An 8-bit RGB or RGBA PNG (alpha dropped) as a surface; null and an error
// message when the file cannot be read.
std::shared_ptr<Surface> ReadPng(const std::string &path, std::string *error);

}  // namespace wince
