#include "config/WideString.h"
#include "item/FittedText.h"

#include <string>

namespace {

// The form keeping `keep` of the text's `length` characters, built into
// `form`, whose buffer the search reuses for every form it measures.
void ShortenInto(WideString &form, LPCWSTR text, int length, int keep, int mode) {
    if (mode == FitEnd) {
        form.assign(text, keep);
        form.append(TEXT("..."));
        return;
    }
    int front = keep / 2;
    form.assign(text, front);
    form.append(TEXT("..."));
    form.append(text + length - (keep - front), keep - front);
}

}  // namespace

// Cuts 2, 6, 14, ... characters until a form fits or nothing is left, then
// narrows the cut with halving steps: a text that fits is measured once, one
// that does not a number of times that grows with the log of its length.
void FittedText(HDC hdc, LPCWSTR text, const RECT &rect, int mode, UINT flags) {
    if (!text) text = TEXT("");
    const int length = lstrlenW(text);
    const int maxWidth = rect.right - rect.left;
    int cut = 0;
    int step = 1;
    WideString form;
    LPCWSTR candidate = text;
    int candidateLength = length;
    int fitted = 0;
    for (;;) {
        fitted = 0;
        if (cut < length) {
            SIZE extent;
            if (!GetTextExtentExPointW(hdc, candidate, candidateLength, maxWidth, &fitted, nullptr, &extent)) break;
        }
        if (fitted != 0 && fitted != candidateLength) {
            step *= 2;
        } else {
            cut -= step;
            step >>= 1;
            if (step == 0) break;
        }
        cut += step;
        int keep = length - cut;
        if (keep < 0) keep = 0;
        ShortenInto(form, text, length, keep, mode);
        candidate = form.c_str();
        candidateLength = static_cast<int>(form.size());
    }
    if (fitted == candidateLength) {
        RECT box = rect;
        DrawTextW(hdc, candidate, candidateLength, &box, flags);
    }
}
