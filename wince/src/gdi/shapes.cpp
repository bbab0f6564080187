// Filled shapes: Rectangle, Ellipse, RoundRect, Polygon. The brush fills
// the inside, the pen draws the outline.
#include <algorithm>
#include <cmath>
#include <vector>

#include "draw.h"

namespace wince::gdi {

namespace {

struct Span {
    int left, right;  // inclusive
};

// The rows of a rectangle [l, r) x [t, b) with rounded corners of the given
// ellipse size; an ellipse is the case where the corners meet.
std::vector<Span> RoundSpans(int l, int t, int r, int b, int ew, int eh) {
    std::vector<Span> spans;
    int h = b - t;
    ew = std::min(std::abs(ew), r - l);
    eh = std::min(std::abs(eh), h);
    double a = ew / 2.0, c = eh / 2.0;
    for (int i = 0; i < h; ++i) {
        double yc = i + 0.5;
        double dy = 0;
        if (yc < c) dy = c - yc;
        else if (yc > h - c) dy = yc - (h - c);
        double dx = a;
        if (dy > 0 && c > 0) dx = a * std::sqrt(std::max(0.0, 1.0 - (dy / c) * (dy / c)));
        int left = static_cast<int>(std::lround(l + a - dx));
        int right = static_cast<int>(std::lround(r - a + dx)) - 1;
        spans.push_back(Span{left, std::max(left, right)});
    }
    return spans;
}

// Fills the inside of the spans and draws their outline with the pen.
void DrawSpans(Dc &dc, int top, const std::vector<Span> &spans) {
    PenStroke pen(dc);
    BrushPaint paint = DcBrushPaint(dc, dc.state.brushObject.get());
    int n = static_cast<int>(spans.size());
    for (int i = 0; i < n; ++i) {
        const Span &s = spans[i];
        int y = top + i;
        if (pen.Null()) {
            FillSpanClipped(dc, paint, y, s.left, s.right + 1);
            continue;
        }
        if (i == 0 || i == n - 1) {
            for (int x = s.left; x <= s.right; ++x) pen.Plot(x, y);
            continue;
        }
        // The outline covers what the rows above and below do not, so it
        // stays connected where the edge runs flat.
        int leftEnd = std::max(s.left, std::max(spans[i - 1].left, spans[i + 1].left) - 1);
        int rightStart = std::min(s.right, std::min(spans[i - 1].right, spans[i + 1].right) + 1);
        if (leftEnd >= rightStart) {
            for (int x = s.left; x <= s.right; ++x) pen.Plot(x, y);
            continue;
        }
        FillSpanClipped(dc, paint, y, leftEnd + 1, rightStart);
        for (int x = s.left; x <= leftEnd; ++x) pen.Plot(x, y);
        for (int x = rightStart; x <= s.right; ++x) pen.Plot(x, y);
    }
}

bool Prepare(HDC hdc, int &l, int &t, int &r, int &b, std::shared_ptr<Dc> &dc) {
    dc = FindDc(hdc);
    if (!dc) return false;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    l = dc->CanvasX(l), r = dc->CanvasX(r), t = dc->CanvasY(t), b = dc->CanvasY(b);
    // Without a pen the shape is one pixel smaller on the right and bottom.
    const Pen *pen = dc->state.penObject.get();
    if (!pen || pen->log.lopnStyle == PS_NULL) --r, --b;
    return true;
}

}  // namespace

}  // namespace wince::gdi

using namespace wince::gdi;

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    std::shared_ptr<Dc> dc;
    if (!Prepare(hdc, left, top, right, bottom, dc)) return FALSE;
    if (right <= left || bottom <= top || !dc->Target().Valid()) return TRUE;
    PenStroke pen(*dc);
    BrushPaint paint = DcBrushPaint(*dc, dc->state.brushObject.get());
    int inset = pen.Null() ? 0 : 1;
    for (int y = top + inset; y < bottom - inset; ++y) FillSpanClipped(*dc, paint, y, left + inset, right - inset);
    if (!pen.Null()) {
        int r = right - 1, b = bottom - 1;
        pen.Line(left, top, r, top);
        pen.Line(r, top, r, b);
        pen.Line(r, b, left, b);
        pen.Line(left, b, left, top);
        if (r == left && b == top) pen.Plot(left, top);
    }
    return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    std::shared_ptr<Dc> dc;
    if (!Prepare(hdc, left, top, right, bottom, dc)) return FALSE;
    if (right <= left || bottom <= top || !dc->Target().Valid()) return TRUE;
    DrawSpans(*dc, top, RoundSpans(left, top, right, bottom, right - left, bottom - top));
    return TRUE;
}

BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
    std::shared_ptr<Dc> dc;
    if (!Prepare(hdc, left, top, right, bottom, dc)) return FALSE;
    if (right <= left || bottom <= top || !dc->Target().Valid()) return TRUE;
    DrawSpans(*dc, top, RoundSpans(left, top, right, bottom, width, height));
    return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT *apt, int cpt) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (!apt || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!dc->Target().Valid()) return TRUE;
    std::vector<POINT> p(cpt);
    int top = INT32_MAX, bottom = INT32_MIN;
    for (int i = 0; i < cpt; ++i) {
        p[i] = POINT{dc->CanvasX(apt[i].x), dc->CanvasY(apt[i].y)};
        top = std::min<int>(top, p[i].y);
        bottom = std::max<int>(bottom, p[i].y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, dc->Target().height);
    // Alternate filling: pixels whose centres lie inside an odd number of
    // edges.
    BrushPaint paint = DcBrushPaint(*dc, dc->state.brushObject.get());
    std::vector<double> xs;
    for (int y = top; y < bottom; ++y) {
        double yc = y + 0.5;
        xs.clear();
        for (int i = 0; i < cpt; ++i) {
            const POINT &a = p[i], &b = p[(i + 1) % cpt];
            if ((a.y <= yc) == (b.y <= yc)) continue;
            xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / double(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            FillSpanClipped(*dc, paint, y, static_cast<int>(std::ceil(xs[k] - 0.5)),
                            static_cast<int>(std::ceil(xs[k + 1] - 0.5)));
    }
    PenStroke pen(*dc);
    for (int i = 0; i < cpt; ++i) pen.Line(p[i].x, p[i].y, p[(i + 1) % cpt].x, p[(i + 1) % cpt].y);
    return TRUE;
}
