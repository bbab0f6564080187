// A region as a set of non-overlapping rectangles: the visible area of a
// window, the clip of a device context, the area waiting to be painted.
#pragma once

#include <windows.h>

#include <vector>

namespace wince {

class Region {
   public:
    Region() = default;
    explicit Region(const RECT &rect) { Union(rect); }

    bool IsEmpty() const { return rects_.empty(); }
    const std::vector<RECT> &Rects() const { return rects_; }
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT &rect) const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION, as GDI reports regions.
    int Complexity() const;

    void Clear() { rects_.clear(); }
    void Union(const RECT &rect);
    void Union(const Region &other);
    void Subtract(const RECT &rect);
    void Subtract(const Region &other);
    void Intersect(const RECT &rect);
    void Intersect(const Region &other);
    void Offset(int dx, int dy);

    bool operator==(const Region &other) const;

   private:
    std::vector<RECT> rects_;
};

inline bool RectIsEmpty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }
RECT RectIntersection(const RECT &a, const RECT &b);

}  // namespace wince
