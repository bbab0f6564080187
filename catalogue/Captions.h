// The texts drawn under a document's icon, formed once per scan.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "config/WideString.h"

// At most five characters: "1.50K", "10.5M", "512B", or "HUGE".
WideString FormatSizeText(uint64_t size);
// The short date of the last write, in local time; "" when it cannot be formed.
WideString FormatDateCaption(const FILETIME &lastWrite);
