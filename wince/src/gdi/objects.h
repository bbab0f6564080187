// The GDI object table. GDI handles are not kernel handles: pens, brushes,
// fonts, bitmaps, regions, palettes, device contexts and icons live in a
// table of their own, numbered apart from the kernel's, and a handle value
// is never reused, so a stale handle is always recognised.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

namespace wince::gdi {

enum class Kind { Pen, Brush, Font, Bitmap, Region, Palette, Dc, Icon };

struct GdiObject {
    explicit GdiObject(Kind k) : kind(k) {}
    virtual ~GdiObject() = default;
    const Kind kind;
    bool stock = false;
    HGDIOBJ handle = nullptr;  // set when it enters the table
    // How many device contexts have it selected now; DeleteObject refuses
    // a selected object, and a bitmap may be selected into one DC only.
    std::atomic<int> selections{0};
};

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle);
// Removes the entry; the object lives on while someone still holds it.
bool RemoveObject(HGDIOBJ handle);
// Like FindObject, for calls made many times a paint (measuring and drawing
// text): the result holds no count of its own, since the thread holds the
// object until it borrows another. It must not be kept beyond the call, nor
// another object borrowed while it is in use.
std::shared_ptr<GdiObject> BorrowObject(HGDIOBJ handle);

template <typename T>
std::shared_ptr<T> Find(HGDIOBJ handle) {
    std::shared_ptr<GdiObject> o = FindObject(handle);
    if (!o || o->kind != T::kKind) return nullptr;
    return std::static_pointer_cast<T>(std::move(o));
}

// Like Find, but sets ERROR_INVALID_HANDLE when the handle is not one.
template <typename T>
std::shared_ptr<T> FindOrFail(HGDIOBJ handle) {
    std::shared_ptr<T> o = Find<T>(handle);
    if (!o) SetLastError(ERROR_INVALID_HANDLE);
    return o;
}

// The 1x1 monochrome bitmap every new memory DC starts with.
HBITMAP DefaultBitmap();

// The pixel height the device's system font has (8 points at its dpi).
int SystemFontHeight();

// a * b / c rounded to nearest, as MulDiv does.
int MulDivRound(int a, int b, int c);

}  // namespace wince::gdi
