#include "region.h"

#include <algorithm>

namespace wince {

RECT RectIntersection(const RECT &a, const RECT &b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (RectIsEmpty(r)) r = RECT{0, 0, 0, 0};
    return r;
}

namespace {

// The parts of r outside cut: at most four rectangles.
void AppendDifference(const RECT &r, const RECT &cut, std::vector<RECT> &out) {
    RECT i = RectIntersection(r, cut);
    if (RectIsEmpty(i)) {
        out.push_back(r);
        return;
    }
    if (r.top < i.top) out.push_back(RECT{r.left, r.top, r.right, i.top});
    if (i.bottom < r.bottom) out.push_back(RECT{r.left, i.bottom, r.right, r.bottom});
    if (r.left < i.left) out.push_back(RECT{r.left, i.top, i.left, i.bottom});
    if (i.right < r.right) out.push_back(RECT{i.right, i.top, r.right, i.bottom});
}

}  // namespace

RECT Region::Bounds() const {
    if (rects_.empty()) return RECT{0, 0, 0, 0};
    RECT b = rects_[0];
    for (const RECT &r : rects_) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

bool Region::Contains(int x, int y) const {
    for (const RECT &r : rects_)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

bool Region::Intersects(const RECT &rect) const {
    for (const RECT &r : rects_)
        if (!RectIsEmpty(RectIntersection(r, rect))) return true;
    return false;
}

int Region::Complexity() const { return rects_.empty() ? NULLREGION : rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION; }

void Region::Union(const RECT &rect) {
    if (RectIsEmpty(rect)) return;
    // Keep the rectangles disjoint: add only the parts not yet covered.
    std::vector<RECT> pieces{rect};
    for (const RECT &have : rects_) {
        std::vector<RECT> next;
        for (const RECT &p : pieces) AppendDifference(p, have, next);
        pieces.swap(next);
        if (pieces.empty()) return;
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::Union(const Region &other) {
    for (const RECT &r : other.rects_) Union(r);
}

void Region::Subtract(const RECT &rect) {
    if (RectIsEmpty(rect)) return;
    std::vector<RECT> next;
    for (const RECT &r : rects_) AppendDifference(r, rect, next);
    rects_.swap(next);
}

void Region::Subtract(const Region &other) {
    for (const RECT &r : other.rects_) Subtract(r);
}

void Region::Intersect(const RECT &rect) {
    std::vector<RECT> next;
    for (const RECT &r : rects_) {
        RECT i = RectIntersection(r, rect);
        if (!RectIsEmpty(i)) next.push_back(i);
    }
    rects_.swap(next);
}

void Region::Intersect(const Region &other) {
    std::vector<RECT> next;
    for (const RECT &a : rects_)
        for (const RECT &b : other.rects_) {
            RECT i = RectIntersection(a, b);
            if (!RectIsEmpty(i)) next.push_back(i);
        }
    rects_.swap(next);
}

void Region::Offset(int dx, int dy) {
    for (RECT &r : rects_) r.left += dx, r.right += dx, r.top += dy, r.bottom += dy;
}

// Two regions are equal when they cover the same pixels, however split.
bool Region::operator==(const Region &other) const {
    Region a = *this, b = other;
    a.Subtract(other);
    b.Subtract(*this);
    return a.IsEmpty() && b.IsEmpty();
}

}  // namespace wince
