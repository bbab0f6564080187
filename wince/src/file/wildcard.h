// FindFirstFile's name patterns: "*" and "?" matched ignoring case, with the
// device's rule that "name.*" also finds "name" (so "*.*" finds every name).
#pragma once

#include <string_view>

namespace wince {

bool HasWildcards(std::u16string_view pattern);
// "*" and "*.*": every name, without looking at it.
bool MatchesEverything(std::u16string_view pattern);
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name);

}  // namespace wince
