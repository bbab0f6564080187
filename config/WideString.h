// The product's one string type for texts, paths and names: UTF-16 in the
// platform's own character type, so that c_str() is an LPCWSTR on the device
// toolchain as well as on this platform layer.
#pragma once

#include <windows.h>

#include <string>

using WideString = std::basic_string<WCHAR>;
