// The texts drawn under a document's icon, formed once per scan.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// At most five characters: "1.50K", "10.5M", "512B", or "HUGE".
std::u16string FormatSizeText(uint64_t size);
// The short date of the last write, in local time; "" when it cannot be formed.
std::u16string FormatDateCaption(const FILETIME &lastWrite);
