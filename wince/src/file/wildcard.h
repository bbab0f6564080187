// FindFirstFile's name patterns: "*" and "?" matched ignoring case, with the
// device's rule that "name.*" also finds "name" (so "*.*" finds every name).
#pragma once

#include <string_view>

namespace wince {

bool HasWildcards(std::u16string_view pattern);
// "*" and "*.*": every name, without looking at it.
bool MatchesEverything(std::u16string_view pattern);
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name);

// One pattern matched against many names: what kind of pattern it is is
// worked out once.
class PatternMatcher {
   public:
    explicit PatternMatcher(std::u16string_view pattern);
    bool Everything() const { return kind_ == Kind::kEverything; }
    bool operator()(std::u16string_view name) const;

   private:
    enum class Kind { kEverything, kSuffix, kGeneral } kind_;
    std::u16string_view pattern_;
};

}  // namespace wince
