#include "wildcard.h"

#include <string>

#include "../core/unicode.h"

namespace wince {
namespace {

// Classic glob with one backtracking point: linear in practice, never
// exponential however many stars the pattern holds. Letters are compared
// folded to upper case as they are met, so matching allocates nothing.
bool Glob(std::u16string_view pattern, std::u16string_view name) {
    size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || FoldUpper(pattern[p]) == FoldUpper(name[n]))) {
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

namespace {

// "*.txt": one star, then letters only. Every kind of document is asked for
// this way, so it is compared from the end without the general walk.
bool SuffixMatch(std::u16string_view suffix, std::u16string_view name) {
    if (name.size() < suffix.size()) return false;
    std::u16string_view tail = name.substr(name.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i)
        if (suffix[i] != tail[i] && FoldUpper(suffix[i]) != FoldUpper(tail[i])) return false;
    return true;
}

bool IsSuffixPattern(std::u16string_view pattern) {
    return pattern.size() > 1 && pattern[0] == u'*' && !HasWildcards(pattern.substr(1)) &&
           pattern.substr(pattern.size() - 2) != u".*";
}

bool GeneralMatch(std::u16string_view pattern, std::u16string_view name) {
    if (Glob(pattern, name)) return true;
    // A trailing ".*" also matches where the name simply ends.
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
           Glob(pattern.substr(0, pattern.size() - 2), name);
}

}  // namespace

PatternMatcher::PatternMatcher(std::u16string_view pattern)
    : kind_(MatchesEverything(pattern) ? Kind::kEverything
            : IsSuffixPattern(pattern) ? Kind::kSuffix
                                       : Kind::kGeneral),
      pattern_(pattern) {}

bool PatternMatcher::operator()(std::u16string_view name) const {
    switch (kind_) {
        case Kind::kEverything:
            return true;
        case Kind::kSuffix:
            return SuffixMatch(pattern_.substr(1), name);
        case Kind::kGeneral:
            break;
    }
    return GeneralMatch(pattern_, name);
}

bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) { return PatternMatcher(pattern)(name); }

}  // namespace wince
