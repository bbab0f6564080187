// DCs on a surface, made by the window manager for window DCs.
#include "dc.h"

namespace wince {

using gdi::Dc;

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, const Region &clip, HWND window) {
    if (!surface) return nullptr;
    std::shared_ptr<Dc> dc = gdi::MakeDc(false);
    dc->surface = std::move(surface);
    dc->origin = origin;
    dc->visible = clip;
    dc->window = window;
    return static_cast<HDC>(gdi::AddObject(dc));
}

void SetSurfaceDCClip(HDC hdc, POINT origin, const Region &clip) {
    std::shared_ptr<Dc> dc = gdi::Find<Dc>(hdc);
    if (!dc || dc->memory) return;
    dc->origin = origin;
    dc->visible = clip;
    dc->Invalidate();
}

bool DestroySurfaceDC(HDC hdc) {
    std::shared_ptr<Dc> dc = gdi::Find<Dc>(hdc);
    if (!dc || dc->memory) return false;
    gdi::DestroyDc(*dc);
    return true;
}

HWND WindowOfDC(HDC hdc) {
    std::shared_ptr<Dc> dc = gdi::Find<Dc>(hdc);
    return dc ? dc->window : nullptr;
}

bool IsSurfaceDC(HDC hdc) {
    std::shared_ptr<Dc> dc = gdi::Find<Dc>(hdc);
    return dc && !dc->memory;
}

}  // namespace wince
