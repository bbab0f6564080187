// HRGN functions, on the Region class.
#include <algorithm>

#include "region_object.h"

namespace wince::gdi {

Region Canonical(const Region &region) {
    const std::vector<RECT> &rects = region.Rects();
    if (rects.size() <= 1) return region;
    std::vector<LONG> edges;
    for (const RECT &r : rects) edges.push_back(r.top), edges.push_back(r.bottom);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    struct Band {
        LONG top, bottom;
        std::vector<std::pair<LONG, LONG>> spans;
    };
    std::vector<Band> bands;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        LONG y0 = edges[i], y1 = edges[i + 1];
        std::vector<std::pair<LONG, LONG>> spans;
        for (const RECT &r : rects)
            if (r.top <= y0 && r.bottom >= y1) spans.emplace_back(r.left, r.right);
        if (spans.empty()) continue;
        std::sort(spans.begin(), spans.end());
        std::vector<std::pair<LONG, LONG>> merged{spans[0]};
        for (size_t k = 1; k < spans.size(); ++k) {
            if (spans[k].first <= merged.back().second)
                merged.back().second = std::max(merged.back().second, spans[k].second);
            else
                merged.push_back(spans[k]);
        }
        // A band like the one above it, touching it, joins it.
        if (!bands.empty() && bands.back().bottom == y0 && bands.back().spans == merged)
            bands.back().bottom = y1;
        else
            bands.push_back(Band{y0, y1, std::move(merged)});
    }
    Region out;
    for (const Band &b : bands)
        for (const auto &s : b.spans) out.Union(RECT{s.first, b.top, s.second, b.bottom});
    return out;
}

int ComplexityOf(const Region &region) { return Canonical(region).Complexity(); }

namespace {

HRGN NewRegion(const Region &r) {
    auto o = std::make_shared<RegionObject>();
    o->region = r;
    return static_cast<HRGN>(AddObject(o));
}

RECT Normalized(int x1, int y1, int x2, int y2) {
    return RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace

}  // namespace wince::gdi

using namespace wince::gdi;
using wince::Region;

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) { return NewRegion(Region(Normalized(x1, y1, x2, y2))); }

HRGN WINAPI CreateRectRgnIndirect(const RECT *lprect) {
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
    std::shared_ptr<RegionObject> dst = FindOrFail<RegionObject>(hrgnDst);
    std::shared_ptr<RegionObject> a = dst ? FindOrFail<RegionObject>(hrgnSrc1) : nullptr;
    if (!a) return ERROR;
    if (iMode < RGN_AND || iMode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    Region result = a->region;
    if (iMode != RGN_COPY) {
        std::shared_ptr<RegionObject> b = FindOrFail<RegionObject>(hrgnSrc2);
        if (!b) return ERROR;
        switch (iMode) {
            case RGN_AND: result.Intersect(b->region); break;
            case RGN_OR: result.Union(b->region); break;
            case RGN_DIFF: result.Subtract(b->region); break;
            case RGN_XOR: {
                Region other = b->region;
                other.Subtract(a->region);
                result.Subtract(b->region);
                result.Union(other);
                break;
            }
        }
    }
    dst->region = Canonical(result);
    return dst->region.Complexity();
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
    std::shared_ptr<RegionObject> r = FindOrFail<RegionObject>(hrgn);
    if (!r) return ERROR;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    *lprc = r->region.Bounds();
    return ComplexityOf(r->region);
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
    std::shared_ptr<RegionObject> r = FindOrFail<RegionObject>(hrgn);
    return r && r->region.Contains(x, y);
}
