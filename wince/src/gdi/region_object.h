// HRGN: a region in the handle table.
#pragma once

#include "objects.h"
#include "region.h"

namespace wince::gdi {

struct RegionObject : GdiObject {
    static constexpr Kind kKind = Kind::Region;
    RegionObject() : GdiObject(kKind) {}
    Region region;
};

// The same pixels as a minimal list of rectangles in bands, as GDI keeps
// regions, so that a region that is a rectangle counts as SIMPLEREGION.
Region Canonical(const Region &region);
int ComplexityOf(const Region &region);

}  // namespace wince::gdi
