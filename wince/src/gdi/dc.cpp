// Device contexts: creation, selection of objects, saved states, colours,
// modes and the device's capabilities.
#include "dc.h"

#include "device/device.h"
#include "region_object.h"

namespace wince::gdi {

namespace {

template <typename T>
void Assign(HGDIOBJ &handleSlot, std::shared_ptr<T> &objectSlot, HGDIOBJ handle, std::shared_ptr<T> object) {
    if (objectSlot) --objectSlot->selections;
    handleSlot = handle;
    objectSlot = std::move(object);
    if (objectSlot) ++objectSlot->selections;
}

template <typename H, typename T>
void AssignTyped(H &handleSlot, std::shared_ptr<T> &objectSlot, HGDIOBJ handle, std::shared_ptr<T> object) {
    HGDIOBJ h = handleSlot;
    Assign(h, objectSlot, handle, std::move(object));
    handleSlot = static_cast<H>(h);
}

void SelectStock(DcState &s, int pen, int brush) {
    AssignTyped(s.pen, s.penObject, GetStockObject(pen), Find<Pen>(GetStockObject(pen)));
    AssignTyped(s.brush, s.brushObject, GetStockObject(brush), Find<Brush>(GetStockObject(brush)));
    AssignTyped(s.font, s.fontObject, GetStockObject(SYSTEM_FONT), Find<Font>(GetStockObject(SYSTEM_FONT)));
}

// The object behind a saved handle, if that handle still names it.
template <typename T>
std::shared_ptr<T> StillValid(HGDIOBJ handle, const std::shared_ptr<T> &saved) {
    std::shared_ptr<T> now = Find<T>(handle);
    return now && now == saved ? now : nullptr;
}

}  // namespace

RECT Dc::CanvasRect(const RECT &r) const {
    return RECT{CanvasX(r.left), CanvasY(r.top), CanvasX(r.right), CanvasY(r.bottom)};
}

void Dc::Update() {
    if (memory) {
        canvas_ = state.bitmapObject ? state.bitmapObject->GetCanvas() : Canvas{};
        clip_ = Region(RECT{0, 0, canvas_.width, canvas_.height});
    } else {
        canvas_ = Canvas{};
        if (surface) {
            canvas_.bits = surface->Bits();
            canvas_.stride = surface->Stride();
            canvas_.width = surface->Width();
            canvas_.height = surface->Height();
        }
        clip_ = visible;
        clip_.Intersect(RECT{0, 0, canvas_.width, canvas_.height});
    }
    if (state.hasClip) {
        Region own = state.clip;
        own.Offset(origin.x, origin.y);
        clip_.Intersect(own);
    }
    dirty = false;
}

std::shared_ptr<Dc> FindDc(HDC hdc) { return FindOrFail<Dc>(hdc); }

std::shared_ptr<Dc> BorrowDc(HDC hdc) {
    std::shared_ptr<GdiObject> o = BorrowObject(hdc);
    if (!o || o->kind != Kind::Dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::static_pointer_cast<Dc>(std::move(o));
}

std::shared_ptr<Dc> MakeDc(bool memory) {
    auto dc = std::make_shared<Dc>();
    dc->memory = memory;
    SelectStock(dc->state, BLACK_PEN, WHITE_BRUSH);
    if (memory) AssignTyped(dc->state.bitmap, dc->state.bitmapObject, DefaultBitmap(), Find<Bitmap>(DefaultBitmap()));
    return dc;
}

void DestroyDc(Dc &dc) {
    DcState &s = dc.state;
    AssignTyped(s.pen, s.penObject, nullptr, std::shared_ptr<Pen>());
    AssignTyped(s.brush, s.brushObject, nullptr, std::shared_ptr<Brush>());
    AssignTyped(s.font, s.fontObject, nullptr, std::shared_ptr<Font>());
    AssignTyped(s.bitmap, s.bitmapObject, nullptr, std::shared_ptr<Bitmap>());
    dc.saved.clear();
    RemoveObject(dc.handle);
}

BrushPaint DcBrushPaint(Dc &dc, const Brush *brush) {
    return MakeBrushPaint(brush, dc.Target(), dc.state.textColor, dc.state.bkColor, dc.origin);
}

}  // namespace wince::gdi

using namespace wince::gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    // NULL means the screen; any DC makes a DC compatible with the screen.
    if (hdc && !FindDc(hdc)) return nullptr;
    return static_cast<HDC>(AddObject(MakeDc(true)));
}

BOOL WINAPI DeleteDC(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    // A window's DC goes back with ReleaseDC.
    if (dc->window) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DestroyDc(*dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return nullptr;
    std::shared_ptr<GdiObject> o = FindObject(h);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DcState &s = dc->state;
    HGDIOBJ previous = nullptr;
    switch (o->kind) {
        case Kind::Pen:
            previous = s.pen;
            AssignTyped(s.pen, s.penObject, h, std::static_pointer_cast<Pen>(o));
            return previous;
        case Kind::Brush:
            previous = s.brush;
            AssignTyped(s.brush, s.brushObject, h, std::static_pointer_cast<Brush>(o));
            return previous;
        case Kind::Font:
            previous = s.font;
            AssignTyped(s.font, s.fontObject, h, std::static_pointer_cast<Font>(o));
            return previous;
        case Kind::Bitmap: {
            if (!dc->memory) break;
            previous = s.bitmap;
            if (o == s.bitmapObject) return previous;
            // A bitmap can be selected into one memory DC at a time.
            if (!o->stock && o->selections > 0) break;
            AssignTyped(s.bitmap, s.bitmapObject, h, std::static_pointer_cast<Bitmap>(o));
            dc->Invalidate();
            return previous;
        }
        case Kind::Region: {
            wince::Region r = static_cast<RegionObject &>(*o).region;
            return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClip(*dc, &r)));
        }
        default: break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN: return dc->state.pen;
        case OBJ_BRUSH: return dc->state.brush;
        case OBJ_FONT: return dc->state.font;
        case OBJ_BITMAP: return dc->memory ? dc->state.bitmap : DefaultBitmap();
        case OBJ_PAL: return GetStockObject(DEFAULT_PALETTE);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

int WINAPI SaveDC(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return 0;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    int count = static_cast<int>(dc->saved.size());
    int level = nSavedDC < 0 ? count + nSavedDC + 1 : nSavedDC;
    if (nSavedDC == 0 || level < 1 || level > count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DcState target = dc->saved[level - 1];
    dc->saved.resize(level - 1);
    DcState &s = dc->state;
    // Objects deleted since the save fall back to the defaults.
    auto pen = StillValid(target.pen, target.penObject);
    auto brush = StillValid(target.brush, target.brushObject);
    auto font = StillValid(target.font, target.fontObject);
    AssignTyped(s.pen, s.penObject, pen ? target.pen : GetStockObject(BLACK_PEN),
                pen ? pen : Find<Pen>(GetStockObject(BLACK_PEN)));
    AssignTyped(s.brush, s.brushObject, brush ? target.brush : GetStockObject(WHITE_BRUSH),
                brush ? brush : Find<Brush>(GetStockObject(WHITE_BRUSH)));
    AssignTyped(s.font, s.fontObject, font ? target.font : GetStockObject(SYSTEM_FONT),
                font ? font : Find<Font>(GetStockObject(SYSTEM_FONT)));
    if (dc->memory) {
        auto bitmap = StillValid(target.bitmap, target.bitmapObject);
        if (bitmap != s.bitmapObject) {
            AssignTyped(s.bitmap, s.bitmapObject, nullptr, std::shared_ptr<Bitmap>());
            if (!bitmap || (!bitmap->stock && bitmap->selections > 0))
                AssignTyped(s.bitmap, s.bitmapObject, DefaultBitmap(), Find<Bitmap>(DefaultBitmap()));
            else
                AssignTyped(s.bitmap, s.bitmapObject, target.bitmap, bitmap);
        }
    }
    s.textColor = target.textColor;
    s.bkColor = target.bkColor;
    s.bkMode = target.bkMode;
    s.textAlign = target.textAlign;
    s.viewportOrg = target.viewportOrg;
    s.position = target.position;
    s.hasClip = target.hasClip;
    s.clip = target.clip;
    dc->Invalidate();
    return TRUE;
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->state.viewportOrg;
    dc->state.viewportOrg = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    if (!lppt) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lppt = dc->state.viewportOrg;
    return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->state.textColor;
    dc->state.textColor = color & 0x00FFFFFF;
    return old;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    return dc ? dc->state.textColor : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->state.bkColor;
    dc->state.bkColor = color & 0x00FFFFFF;
    return old;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    return dc ? dc->state.bkColor : CLR_INVALID;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return 0;
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int old = dc->state.bkMode;
    dc->state.bkMode = mode;
    return old;
}

int WINAPI GetBkMode(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    return dc ? dc->state.bkMode : 0;
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return 0xFFFFFFFF;  // GDI_ERROR
    UINT old = dc->state.textAlign;
    dc->state.textAlign = align;
    return old;
}

UINT WINAPI GetTextAlign(HDC hdc) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    return dc ? dc->state.textAlign : 0xFFFFFFFF;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return 0;
    const wince::DeviceProfile &p = wince::Device::Current().Profile();
    std::shared_ptr<wince::Surface> screen = wince::ScreenSurface();
    int width = screen ? screen->Width() : p.width, height = screen ? screen->Height() : p.height;
    int bpp = dc->memory && dc->state.bitmapObject ? dc->state.bitmapObject->bpp : 24;
    switch (index) {
        case DRIVERVERSION: return 0x0100;
        case TECHNOLOGY: return DT_RASDISPLAY;
        case HORZSIZE: return p.dpiX > 0 ? MulDivRound(width, 254, p.dpiX * 10) : 0;
        case VERTSIZE: return p.dpiY > 0 ? MulDivRound(height, 254, p.dpiY * 10) : 0;
        case HORZRES: return width;
        case VERTRES: return height;
        case BITSPIXEL: return bpp;
        case PLANES: return 1;
        case NUMCOLORS: return bpp <= 8 ? 1 << bpp : -1;
        case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
        case LOGPIXELSX: return p.dpiX;
        case LOGPIXELSY: return p.dpiY;
    }
    return 0;
}
