// The GDI handle table, stock objects, and the functions that work on any
// GDI object: DeleteObject, GetObject, GetObjectType.
#include "objects.h"

#include <atomic>
#include <mutex>
#include <unordered_map>

#include "bitmap.h"
#include "brush_pen.h"
#include "dc.h"
#include "device/device.h"
#include "font.h"
#include "region_object.h"

namespace wince::gdi {

namespace {

struct Palette : GdiObject {
    static constexpr Kind kKind = Kind::Palette;
    Palette() : GdiObject(kKind) {}
    WORD entries = 20;  // the system's static colours
};

// Handle values start high and step by four, apart from kernel handles and
// from small integers such as COLOR_WINDOW + 1 passed for brushes.
constexpr uintptr_t kFirstHandle = 0x6D000000;

struct Table {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects;
    uintptr_t next = kFirstHandle;
};

Table &TheTable() {
    static Table *table = new Table;  // never destroyed: objects may outlive static destruction
    return *table;
}

// The handles a thread found lately, found again without the table's lock:
// a paint asks for the same few DCs, fonts and icons hundreds of times. An
// entry holds while no object has left the table since it was made; handles
// are never reused, so a new object never takes an entry's handle.
std::atomic<unsigned> removals{0};

struct Recent {
    uintptr_t handle = 0;
    unsigned removals = 0;
    std::weak_ptr<GdiObject> object;
};
constexpr uintptr_t kRecentSlots = 16;

// The object a thread borrowed last (BorrowObject): held, so that it lives
// as long as the thread's call that borrowed it, whatever other threads do.
struct Borrowed {
    uintptr_t handle = 0;
    unsigned removals = 0;
    std::shared_ptr<GdiObject> object;
};

struct ThreadCache {
    Recent recent[kRecentSlots];
    Borrowed borrowed;
};

// Static destructors still use GDI after a thread's own objects are gone
// at exit, so the cache is reached through a pointer that its owner's
// destructor clears; from then on that thread looks in the table only.
// The library is loaded with the program, so its thread data can take the
// faster model.
[[gnu::tls_model("initial-exec")]] thread_local ThreadCache *cache = nullptr;
[[gnu::tls_model("initial-exec")]] thread_local bool cacheGone = false;
struct CacheOwner {
    ~CacheOwner() {
        delete cache;
        cache = nullptr;
        cacheGone = true;
    }
};
thread_local CacheOwner cacheOwner;

ThreadCache *Cache() {
    if (!cache && !cacheGone) {
        (void)&cacheOwner;  // made, so that it frees the cache when the thread ends
        cache = new ThreadCache;
    }
    return cache;
}

Recent *RecentSlot(uintptr_t handle) {
    ThreadCache *c = Cache();
    return c ? &c->recent[(handle >> 2) % kRecentSlots] : nullptr;
}

constexpr int kStockCount = DEFAULT_PALETTE + 1;

struct Stock {
    HGDIOBJ objects[kStockCount] = {};
    HBITMAP defaultBitmap = nullptr;
};

HGDIOBJ AddStock(std::shared_ptr<GdiObject> o) {
    o->stock = true;
    return AddObject(std::move(o));
}

HGDIOBJ StockBrush(COLORREF color, UINT style = BS_SOLID) {
    auto b = std::make_shared<Brush>();
    b->style = style;
    b->color = color;
    return AddStock(b);
}

HGDIOBJ StockPen(COLORREF color, UINT style = PS_SOLID) {
    auto p = std::make_shared<Pen>();
    p->log.lopnStyle = style;
    p->log.lopnWidth = POINT{style == PS_NULL ? 0 : 1, 0};
    p->log.lopnColor = color;
    return AddStock(p);
}

const Stock &Stocks() {
    static Stock *stock = [] {
        auto *s = new Stock;
        s->objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
        s->objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
        s->objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
        s->objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
        s->objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
        s->objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
        s->objects[WHITE_PEN] = StockPen(RGB(255, 255, 255));
        s->objects[BLACK_PEN] = StockPen(RGB(0, 0, 0));
        s->objects[NULL_PEN] = StockPen(0, PS_NULL);
        auto font = std::make_shared<Font>();
        font->system = true;
        s->objects[SYSTEM_FONT] = AddStock(font);
        s->objects[DEFAULT_PALETTE] = AddStock(std::make_shared<Palette>());
        s->defaultBitmap = static_cast<HBITMAP>(AddStock(MakeBitmap(1, 1, 1)));
        return s;
    }();
    return *stock;
}

}  // namespace

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object) {
    if (!object) return nullptr;
    Table &t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    uintptr_t value = t.next;
    t.next += 4;
    auto handle = reinterpret_cast<HGDIOBJ>(value);
    object->handle = handle;
    t.objects.emplace(value, std::move(object));
    return handle;
}

std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    const unsigned seen = removals.load(std::memory_order_acquire);
    Recent *slot = RecentSlot(value);
    if (slot && slot->handle == value && slot->removals == seen)
        if (std::shared_ptr<GdiObject> o = slot->object.lock()) return o;
    Table &t = TheTable();
    std::shared_ptr<GdiObject> found;
    {
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.objects.find(value);
        if (it == t.objects.end()) return nullptr;
        found = it->second;
    }
    // Counted before the look-up: a removal meanwhile makes the entry miss.
    if (slot) {
        slot->handle = value;
        slot->removals = seen;
        slot->object = found;
    }
    return found;
}

std::shared_ptr<GdiObject> BorrowObject(HGDIOBJ handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    const unsigned seen = removals.load(std::memory_order_acquire);
    ThreadCache *c = Cache();
    if (c && c->borrowed.handle == value && c->borrowed.removals == seen && c->borrowed.object)
        return std::shared_ptr<GdiObject>(std::shared_ptr<GdiObject>(), c->borrowed.object.get());
    std::shared_ptr<GdiObject> found = FindObject(handle);
    if (!found || !c) return found;
    c->borrowed = Borrowed{value, seen, found};
    return std::shared_ptr<GdiObject>(std::shared_ptr<GdiObject>(), found.get());
}

bool RemoveObject(HGDIOBJ handle) {
    std::shared_ptr<GdiObject> doomed;  // released outside the lock
    Table &t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end()) return false;
    doomed = std::move(it->second);
    t.objects.erase(it);
    removals.fetch_add(1, std::memory_order_release);
    return true;
}

HBITMAP DefaultBitmap() { return Stocks().defaultBitmap; }

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t p = int64_t{a} * b, d = c;
    if (d < 0) p = -p, d = -d;
    int64_t q = p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d);  // halves away from zero
    return static_cast<int>(q);
}

int SystemFontHeight() { return MulDivRound(8, Device::Current().Profile().dpiY, 72); }

}  // namespace wince::gdi

using namespace wince::gdi;

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i < 0 || i >= kStockCount || !Stocks().objects[i]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Stocks().objects[i];
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    Stocks();
    std::shared_ptr<GdiObject> o = FindObject(ho);
    // DCs are deleted with DeleteDC and icons with DestroyIcon.
    if (!o || o->kind == Kind::Dc || o->kind == Kind::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->stock) return TRUE;
    if (o->selections > 0) return FALSE;  // still selected into a DC
    RemoveObject(ho);
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
    Stocks();
    std::shared_ptr<GdiObject> o = FindObject(h);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (o->kind) {
        case Kind::Pen: return OBJ_PEN;
        case Kind::Brush: return OBJ_BRUSH;
        case Kind::Font: return OBJ_FONT;
        case Kind::Bitmap: return OBJ_BITMAP;
        case Kind::Region: return OBJ_REGION;
        case Kind::Palette: return OBJ_PAL;
        case Kind::Dc: return static_cast<Dc *>(o.get())->memory ? OBJ_MEMDC : OBJ_DC;
        case Kind::Icon: break;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) {
    Stocks();
    std::shared_ptr<GdiObject> o = FindObject(h);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (pv && c <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    switch (o->kind) {
        case Kind::Bitmap: return BitmapObjectInfo(static_cast<Bitmap &>(*o), c, pv);
        case Kind::Pen: return PenObjectInfo(static_cast<Pen &>(*o), c, pv);
        case Kind::Brush: return BrushObjectInfo(static_cast<Brush &>(*o), c, pv);
        case Kind::Font: return FontObjectInfo(static_cast<Font &>(*o), c, pv);
        case Kind::Palette:
            if (!pv) return sizeof(WORD);
            if (c < static_cast<int>(sizeof(WORD))) break;
            *static_cast<WORD *>(pv) = static_cast<Palette &>(*o).entries;
            return sizeof(WORD);
        default: break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}
