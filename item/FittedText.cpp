#include "config/WideString.h"
#include "item/FittedText.h"

#include <string>

namespace {

WideString ShortenedForm(const WideString &text, int keep, int mode) {
    if (mode == FitEnd) return text.substr(0, keep) + TEXT("...");
    int front = keep / 2;
    return text.substr(0, front) + TEXT("...") + text.substr(text.size() - (keep - front));
}

}  // namespace

// Cuts 2, 6, 14, ... characters until a form fits or nothing is left, then
// narrows the cut with halving steps: a text that fits is measured once, one
// that does not a number of times that grows with the log of its length.
void FittedText(HDC hdc, LPCWSTR text, const RECT &rect, int mode, UINT flags) {
    const WideString whole = text ? text : TEXT("");
    const int length = static_cast<int>(whole.size());
    const int maxWidth = rect.right - rect.left;
    int cut = 0;
    int step = 1;
    WideString candidate = whole;
    int fitted = 0;
    for (;;) {
        fitted = 0;
        if (cut < length) {
            SIZE extent;
            if (!GetTextExtentExPointW(hdc, candidate.c_str(), static_cast<int>(candidate.size()), maxWidth, &fitted,
                                       nullptr, &extent))
                break;
        }
        if (fitted != 0 && fitted != static_cast<int>(candidate.size())) {
            step *= 2;
        } else {
            cut -= step;
            step >>= 1;
            if (step == 0) break;
        }
        cut += step;
        int keep = length - cut;
        if (keep < 0) keep = 0;
        candidate = ShortenedForm(whole, keep, mode);
    }
    if (fitted == static_cast<int>(candidate.size())) {
        RECT box = rect;
        DrawTextW(hdc, candidate.c_str(), static_cast<int>(candidate.size()), &box, flags);
    }
}
