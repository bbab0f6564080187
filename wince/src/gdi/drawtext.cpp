// DrawText: prefix characters, line and word breaking, alignment in the
// rectangle, ellipsis, and the rectangle DT_CALCRECT measures.
#include <algorithm>
#include <vector>

#include "text.h"

namespace wince::gdi {

namespace {

struct Line {
    std::u16string text;
    std::vector<int> advances;
    std::vector<bool> underlined;  // characters that followed a prefix '&'
    int width = 0;
};

struct Layout {
    FontFace &face;
    UINT format;
    int maxWidth;

    // Advances of a piece of text, tabs reaching to the next tab stop.
    std::vector<int> Measure(const std::u16string &s) const {
        std::vector<int> adv(s.size());
        face.Advances(s.data(), static_cast<int>(s.size()), adv.data());
        if (format & DT_EXPANDTABS) {
            int stop = 8 * std::max<int>(1, face.Metrics().tmAveCharWidth), x = 0;
            for (size_t i = 0; i < s.size(); ++i) {
                if (s[i] == u'\t') adv[i] = stop - x % stop;
                x += adv[i];
            }
        }
        return adv;
    }

    Line Make(const std::u16string &s, const std::vector<bool> &marks) const {
        Line line;
        line.text = s;
        line.underlined = marks;
        line.advances = Measure(s);
        for (int a : line.advances) line.width += a;
        return line;
    }

    // Shortens a line that is too wide and ends it with "...".
    void Ellipsis(Line &line) const {
        if (line.width <= maxWidth) return;
        const std::u16string dots = u"...";
        int dotsWidth = 0;
        for (int a : Measure(dots)) dotsWidth += a;
        std::u16string s = line.text;
        std::vector<bool> marks = line.underlined;
        int width = line.width;
        while (!s.empty() && width + dotsWidth > maxWidth) {
            width -= line.advances[s.size() - 1];
            s.pop_back();
            marks.pop_back();
        }
        marks.resize(s.size() + dots.size(), false);
        line = Make(s + dots, marks);
    }

    // Breaks a paragraph into lines at spaces; a word wider than the
    // rectangle keeps a line of its own.
    void Wrap(const std::u16string &s, const std::vector<bool> &marks, std::vector<Line> &out) const {
        std::vector<int> adv = Measure(s);
        size_t start = 0, n = s.size();
        if (n == 0) out.push_back(Line{});
        while (start < n) {
            int width = 0;
            size_t end = start, lastBreak = std::u16string::npos;
            while (end < n) {
                if (s[end] == u' ') lastBreak = end;
                if (width + adv[end] > maxWidth && s[end] != u' ') break;
                width += adv[end];
                ++end;
            }
            size_t lineEnd = end;
            if (end < n) {
                if (lastBreak != std::u16string::npos && lastBreak >= start) {
                    lineEnd = lastBreak;
                } else {
                    // No space to break at: the word runs on to its end.
                    while (lineEnd < n && s[lineEnd] != u' ') ++lineEnd;
                }
            }
            size_t trimmed = lineEnd;
            while (trimmed > start && s[trimmed - 1] == u' ') --trimmed;
            out.push_back(Make(s.substr(start, trimmed - start),
                               std::vector<bool>(marks.begin() + start, marks.begin() + trimmed)));
            start = lineEnd;
            while (start < n && s[start] == u' ') ++start;
        }
    }
};

// Removes prefix characters: "&x" marks x, "&&" is "&".
void StripPrefixes(const std::u16string &in, bool keep, std::u16string &out, std::vector<bool> &marks) {
    for (size_t i = 0; i < in.size(); ++i) {
        if (!keep && in[i] == u'&' && i + 1 < in.size()) {
            ++i;
            out += in[i];
            marks.push_back(in[i] != u'&');
            continue;
        }
        out += in[i];
        marks.push_back(false);
    }
}

// Where a single line of lineHeight starts in rect, by the vertical flags.
int SingleLineTop(const RECT &rect, UINT format, int lineHeight) {
    if (format & DT_VCENTER) return rect.top + (rect.bottom - rect.top - lineHeight) / 2;
    if (format & DT_BOTTOM) return rect.bottom - lineHeight;
    return rect.top;
}

// Where a line of the given width starts in rect, by the horizontal flags.
int LineLeft(const RECT &rect, UINT format, int width) {
    if (format & DT_CENTER) return rect.left + (rect.right - rect.left - width) / 2;
    if (format & DT_RIGHT) return rect.right - width;
    return rect.left;
}

// One line with nothing to strip, break or shorten, as cells and captions
// are drawn many times a paint: the same result as the general way below,
// measured once and without building lines.
int DrawPlainLine(Dc &dc, FontFace &face, const char16_t *text, int length, const RECT &rect, UINT format,
                  int lineHeight) {
    int advances[256];
    face.Advances(text, length, advances);
    int width = 0;
    for (int i = 0; i < length; ++i) width += advances[i];
    int y = SingleLineTop(rect, format, lineHeight);
    int result = (format & (DT_VCENTER | DT_BOTTOM)) ? y + lineHeight - rect.top : lineHeight;
    int x = LineLeft(rect, format, width);
    RECT clip = dc.CanvasRect(rect);
    const RECT *limit = (format & DT_NOCLIP) ? nullptr : &clip;
    RECT cell{x, y, x + width, y + face.Metrics().tmHeight};
    DrawTextCell(dc, face, cell, text, length, advances, limit);
    NotifyTextDrawn(dc, std::u16string_view(text, length), limit ? wince::RectIntersection(cell, rect) : cell);
    return result;
}

}  // namespace

}  // namespace wince::gdi

using namespace wince::gdi;

int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    std::shared_ptr<Dc> dc = BorrowDc(hdc);
    if (!dc) return 0;
    if (!lpchText || !lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int length = cchText < 0 ? static_cast<int>(std::char_traits<char16_t>::length(lpchText)) : cchText;
    FontFace &face = FaceOf(*dc);
    const TEXTMETRICW &m = face.Metrics();
    int lineHeight = m.tmHeight + ((format & DT_EXTERNALLEADING) ? m.tmExternalLeading : 0);
    RECT rect = *lprc;
    bool single = format & DT_SINGLELINE;
    if (single && !(format & (DT_CALCRECT | DT_END_ELLIPSIS | DT_EXPANDTABS)) && length > 0 && length <= 256 &&
        ((format & DT_NOPREFIX) || std::char_traits<char16_t>::find(lpchText, length, u'&') == nullptr))
        return DrawPlainLine(*dc, face, lpchText, length, rect, format, lineHeight);
    Layout layout{face, format, static_cast<int>(rect.right - rect.left)};

    std::u16string text;
    std::vector<bool> marks;
    StripPrefixes(std::u16string(lpchText, length), format & DT_NOPREFIX, text, marks);

    std::vector<Line> lines;
    size_t start = 0;
    while (start < text.size() || (start == 0 && text.empty() && single)) {
        size_t end = single ? text.size() : text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string piece = text.substr(start, end - start);
        std::vector<bool> pieceMarks(marks.begin() + start, marks.begin() + end);
        if ((format & DT_WORDBREAK) && !single)
            layout.Wrap(piece, pieceMarks, lines);
        else
            lines.push_back(layout.Make(piece, pieceMarks));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
        start = end + 1;
        if (single || end >= text.size()) break;
    }
    if (format & DT_END_ELLIPSIS)
        for (Line &line : lines) layout.Ellipsis(line);

    int total = static_cast<int>(lines.size()) * lineHeight;
    int maxWidth = 0;
    for (const Line &line : lines) maxWidth = std::max(maxWidth, line.width);
    int y = single ? SingleLineTop(rect, format, lineHeight) : rect.top;
    int result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y + total - rect.top : total;

    if (format & DT_CALCRECT) {
        lprc->right = lprc->left + maxWidth;
        lprc->bottom = lprc->top + total;
        return total;
    }

    RECT clip = dc->CanvasRect(rect);
    const RECT *limit = (format & DT_NOCLIP) ? nullptr : &clip;
    RECT drawn{0, 0, 0, 0};
    std::u16string shown;
    for (size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
        const Line &line = lines[i];
        int x = LineLeft(rect, format, line.width);
        RECT cell{x, y, x + line.width, y + m.tmHeight};
        int count = static_cast<int>(line.text.size());
        RECT canvasCell = DrawTextCell(*dc, face, cell, line.text.data(), count, line.advances.data(), limit);
        int ux = canvasCell.left, uy = canvasCell.top + UnderlineOffset(face);
        for (int k = 0; k < count; ux += line.advances[k], ++k)
            if (line.underlined[k]) FillSolid(*dc, RECT{ux, uy, ux + line.advances[k], uy + 1}, dc->state.textColor, limit);
        drawn = i == 0 ? cell : RECT{std::min(drawn.left, cell.left), drawn.top, std::max(drawn.right, cell.right), cell.bottom};
        shown += (i ? u"\n" : u"") + line.text;
    }
    if (!lines.empty()) NotifyTextDrawn(*dc, shown, limit ? wince::RectIntersection(drawn, rect) : drawn);
    return result;
}
