// The comparison behind lstrcmp, lstrcmpi and CompareString.
#pragma once

namespace wince {

// Compares like the device's default locale: symbols before digits before
// letters, letters alphabetically with accents as a secondary difference,
// and (when case counts) lower case before upper case as the last tie
// breaker. A negative count means NUL-terminated. Returns <0, 0 or >0.
int Collate(const char16_t *a, int countA, const char16_t *b, int countB, bool ignoreCase);

}  // namespace wince
