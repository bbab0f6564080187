#include "wildcard.h"

#include <string>

#include "../core/unicode.h"

namespace wince {
namespace {

std::u16string Folded(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t &c : out) c = FoldUpper(c);
    return out;
}

// Classic glob with one backtracking point: linear in practice, never
// exponential however many stars the pattern holds.
bool Glob(std::u16string_view pattern, std::u16string_view name) {
    size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesEverything(std::u16string_view pattern) {
    return pattern == u"*" || pattern == u"*.*";
}

bool HasWildcards(std::u16string_view pattern) {
    return pattern.find_first_of(u"*?") != std::u16string_view::npos;
}

bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
    if (MatchesEverything(pattern)) return true;
    std::u16string p = Folded(pattern), n = Folded(name);
    if (Glob(p, n)) return true;
    // A trailing ".*" also matches where the name simply ends.
    std::u16string_view rest = p;
    return rest.size() >= 2 && rest.substr(rest.size() - 2) == u".*" && Glob(rest.substr(0, rest.size() - 2), n);
}

}  // namespace wince
