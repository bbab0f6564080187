// The clip region of a DC. It is kept in device coordinates (the viewport
// origin does not move it) and intersects the DC's visible area.
#include "dc.h"
#include "region_object.h"

namespace wince::gdi {

int SelectClip(Dc &dc, const Region *region) {
    if (region) {
        dc.state.hasClip = true;
        dc.state.clip = *region;
    } else {
        dc.state.hasClip = false;
        dc.state.clip.Clear();
    }
    dc.Invalidate();
    return ComplexityOf(dc.Clip());
}

namespace {

// The clip as the app sees it: when it has set none, everything.
Region CurrentClip(Dc &dc) {
    if (dc.state.hasClip) return dc.state.clip;
    Region all = dc.Clip();
    all.Offset(-dc.origin.x, -dc.origin.y);
    return all;
}

RECT DeviceRect(Dc &dc, int left, int top, int right, int bottom) {
    RECT r{left + dc.state.viewportOrg.x, top + dc.state.viewportOrg.y, right + dc.state.viewportOrg.x,
           bottom + dc.state.viewportOrg.y};
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

}  // namespace

}  // namespace wince::gdi

using namespace wince::gdi;
using wince::Region;

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return ERROR;
    if (!hrgn) return SelectClip(*dc, nullptr);
    std::shared_ptr<RegionObject> r = FindOrFail<RegionObject>(hrgn);
    if (!r) return ERROR;
    Region copy = r->region;  // the DC keeps its own copy
    return SelectClip(*dc, &copy);
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return ERROR;
    Region clip = CurrentClip(*dc);
    clip.Intersect(DeviceRect(*dc, left, top, right, bottom));
    return SelectClip(*dc, &clip);
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return ERROR;
    Region clip = CurrentClip(*dc);
    clip.Subtract(DeviceRect(*dc, left, top, right, bottom));
    return SelectClip(*dc, &clip);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return ERROR;
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    const Region &clip = dc->Clip();
    RECT box = clip.Bounds();
    if (!clip.IsEmpty()) {
        int dx = dc->origin.x + dc->state.viewportOrg.x, dy = dc->origin.y + dc->state.viewportOrg.y;
        box = RECT{box.left - dx, box.top - dy, box.right - dx, box.bottom - dy};
    }
    *lprect = box;
    return ComplexityOf(clip);
}

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return -1;
    std::shared_ptr<RegionObject> r = FindOrFail<RegionObject>(hrgn);
    if (!r) return -1;
    if (!dc->state.hasClip) return 0;
    r->region = dc->state.clip;
    return 1;
}
