// Conversions between the platform's UTF-16 and the host's bytes.
//
// Host file names are bytes that are usually UTF-8 but need not be. A byte
// that is not part of valid UTF-8 becomes the lone surrogate U+DC80 + byte,
// and converts back to the same byte, so every host name round-trips.
#pragma once

#include <string>
#include <string_view>

namespace wince {

std::u16string FromHostBytes(std::string_view bytes);
void AppendFromHostBytes(std::u16string &out, std::string_view bytes);

// Fails (returns false) for a lone surrogate that does not stand for a host
// byte: such a name cannot exist on the host.
bool ToHostBytes(std::u16string_view text, std::string &bytes);

// For text that leaves the platform (trace, messages, the registry file):
// lone surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Case folding and classification of one UTF-16 unit, independent of the
// host's locale settings.
char16_t FoldUpper(char16_t c);
char16_t FoldLower(char16_t c);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

// Length of a NUL-terminated UTF-16 string.
size_t StringLength(const char16_t *text);

}  // namespace wince
