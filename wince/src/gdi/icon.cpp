// CreateIconIndirect, GetIconInfo, DestroyIcon and DrawIconEx.
#include "icon.h"

#include <algorithm>
#include <cstring>

#include "blit.h"
#include "brush_pen.h"
#include "dc.h"

namespace wince::gdi {

HICON CreateIconFromBgra(const uint8_t *pixels, int width, int height, int stride) {
    if (!pixels || width <= 0 || height <= 0 || stride < width * 4) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->width = width;
    icon->height = height;
    icon->color = MakeBitmap(width, height, 24);
    icon->mask = MakeBitmap(width, height, 1);
    if (!icon->color || !icon->mask) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Canvas color = icon->color->GetCanvas(), mask = icon->mask->GetCanvas();
    for (int y = 0; y < height; ++y) {
        const uint8_t *p = pixels + static_cast<size_t>(y) * stride;
        uint8_t *c = color.Row(y);
        for (int x = 0; x < width; ++x, p += 4) {
            bool opaque = p[3] >= 128;
            // Transparent pixels: mask 1 keeps the screen, black colour
            // leaves it unchanged under XOR.
            WritePixel(mask, x, y, opaque ? 0 : 1);
            c[x * 3] = opaque ? p[0] : 0;
            c[x * 3 + 1] = opaque ? p[1] : 0;
            c[x * 3 + 2] = opaque ? p[2] : 0;
        }
    }
    PlanIconRuns(*icon);
    return static_cast<HICON>(AddObject(icon));
}

namespace {

// The usual draw (mask and image, at the icon's size, onto a 24-bit canvas)
// in one pass over the icon's runs instead of an AND blit and an XOR blit.
bool DrawMaskedDirect(Dc &dc, const RECT &dest, const Icon &icon) {
    const Canvas &target = dc.Target();
    if (icon.rowRuns.empty() || target.bpp != 24 || target.Paletted()) return false;
    Canvas color = icon.color->GetCanvas();
    if (color.bits == target.bits) return false;
    if (dest.right - dest.left != icon.width || dest.bottom - dest.top != icon.height) return false;
    ForEachClipped(dc, dest, [&](const RECT &r) {
        for (int y = r.top; y < r.bottom; ++y) {
            const int sy = y - dest.top;
            const uint8_t *source = color.Row(sy);
            uint8_t *row = target.Row(y);
            for (size_t k = icon.rowRuns[sy]; k < icon.rowRuns[sy + 1]; ++k) {
                const Icon::Run &run = icon.runs[k];
                int x0 = std::max<int>(dest.left + run.x0, r.left), x1 = std::min<int>(dest.left + run.x1, r.right);
                if (x0 >= x1) continue;
                const uint8_t *c = source + (x0 - dest.left) * 3;
                uint8_t *p = row + x0 * 3;
                if (!run.invert) {
                    memcpy(p, c, static_cast<size_t>(x1 - x0) * 3);
                    continue;
                }
                for (int n = (x1 - x0) * 3; n > 0; --n) *p++ ^= *c++;
            }
        }
    });
    return true;
}

}  // namespace

void PlanIconRuns(Icon &icon) {
    icon.runs.clear();
    icon.rowRuns.clear();
    if (!icon.color || !icon.mask) return;
    Canvas color = icon.color->GetCanvas(), mask = icon.mask->GetCanvas();
    if (color.bpp != 24 || color.Paletted() || mask.bpp != 1 || color.width < icon.width ||
        color.height < icon.height || mask.width < icon.width || mask.height < icon.height)
        return;
    for (int y = 0; y < icon.height; ++y) {
        icon.rowRuns.push_back(icon.runs.size());
        const uint8_t *m = mask.Row(y), *c = color.Row(y);
        int kind = -1;  // of the pixel before: -1 none, 0 copy, 1 invert
        for (int x = 0; x < icon.width; ++x) {
            bool set = (m[x >> 3] >> (7 - (x & 7))) & 1;
            bool black = c[x * 3] == 0 && c[x * 3 + 1] == 0 && c[x * 3 + 2] == 0;
            int now = !set ? 0 : black ? -1 : 1;
            if (now >= 0 && now == kind)
                icon.runs.back().x1 = x + 1;
            else if (now >= 0)
                icon.runs.push_back(Icon::Run{x, x + 1, now == 1});
            kind = now;
        }
    }
    icon.rowRuns.push_back(icon.runs.size());
}

}  // namespace wince::gdi

using namespace wince::gdi;

HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
    if (!piconinfo || !piconinfo->hbmMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<Bitmap> mask = FindOrFail<Bitmap>(piconinfo->hbmMask);
    if (!mask) return nullptr;
    std::shared_ptr<Bitmap> color;
    if (piconinfo->hbmColor && !(color = FindOrFail<Bitmap>(piconinfo->hbmColor))) return nullptr;
    auto icon = std::make_shared<Icon>();
    icon->isIcon = piconinfo->fIcon != FALSE;
    icon->hotX = piconinfo->xHotspot;
    icon->hotY = piconinfo->yHotspot;
    icon->width = color ? color->width : mask->width;
    icon->height = color ? color->height : mask->height / 2;
    if (icon->height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The icon keeps copies: the caller still owns and deletes its bitmaps.
    icon->mask = CopyBitmap(*mask);
    if (color) icon->color = CopyBitmap(*color);
    if (!icon->mask || (color && !icon->color)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    PlanIconRuns(*icon);
    return static_cast<HICON>(AddObject(icon));
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    std::shared_ptr<Icon> icon = FindOrFail<Icon>(hIcon);
    if (!icon) return FALSE;
    if (!piconinfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // New bitmaps each time; the caller deletes them.
    std::shared_ptr<Bitmap> mask = CopyBitmap(*icon->mask);
    std::shared_ptr<Bitmap> color = icon->color ? CopyBitmap(*icon->color) : nullptr;
    if (!mask || (icon->color && !color)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    piconinfo->fIcon = icon->isIcon;
    piconinfo->xHotspot = icon->isIcon ? static_cast<DWORD>(icon->width / 2) : icon->hotX;
    piconinfo->yHotspot = icon->isIcon ? static_cast<DWORD>(icon->height / 2) : icon->hotY;
    piconinfo->hbmMask = static_cast<HBITMAP>(AddObject(mask));
    piconinfo->hbmColor = color ? static_cast<HBITMAP>(AddObject(color)) : nullptr;
    return TRUE;
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
    std::shared_ptr<Icon> icon = FindOrFail<Icon>(hIcon);
    if (!icon) return FALSE;
    RemoveObject(hIcon);
    return TRUE;
}

BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
    (void)istepIfAniCur;  // icons here have one frame
    std::shared_ptr<Dc> dc = FindDc(hdc);
    if (!dc) return FALSE;
    std::shared_ptr<Icon> icon = FindOrFail<Icon>(hIcon);
    if (!icon) return FALSE;
    std::shared_ptr<Brush> background;
    if (hbrFlickerFreeDraw && !(background = FindOrFail<Brush>(hbrFlickerFreeDraw))) return FALSE;
    if (cxWidth < 0 || cyWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int cx = cxWidth ? cxWidth : icon->width, cy = cyWidth ? cyWidth : icon->height;
    RECT dest = dc->CanvasRect(RECT{xLeft, yTop, xLeft + cx, yTop + cy});
    if (!dc->Target().Valid()) return TRUE;
    if (background) {
        BrushPaint paint = DcBrushPaint(*dc, background.get());
        ForEachClipped(*dc, dest, [&](const RECT &r) {
            std::vector<uint32_t> row(r.right - r.left);
            for (int y = r.top; y < r.bottom; ++y) {
                paint.Row(dc->Target(), r.left, y, r.right - r.left, row.data());
                WriteRow(dc->Target(), r.left, y, r.right - r.left, row.data());
            }
        });
    }
    // The mask goes through AND and the image through XOR, with black and
    // white as the monochrome colours, whatever the DC's colours are.
    COLORREF text = dc->state.textColor, bk = dc->state.bkColor;
    dc->state.textColor = RGB(0, 0, 0);
    dc->state.bkColor = RGB(255, 255, 255);
    bool drawMask = diFlags & DI_MASK, drawImage = diFlags & DI_IMAGE;
    if (!drawMask && !drawImage) drawMask = drawImage = true;
    if (drawMask && drawImage && DrawMaskedDirect(*dc, dest, *icon)) {
        dc->state.textColor = text;
        dc->state.bkColor = bk;
        return TRUE;
    }
    RECT half{0, 0, icon->width, icon->height};
    RECT lower{0, icon->height, icon->width, icon->height * 2};
    Canvas mask = icon->mask->GetCanvas();
    if (drawMask) BlitCanvas(*dc, dest, mask, half, drawImage ? SRCAND : SRCCOPY, RGB(255, 255, 255));
    if (drawImage) {
        DWORD rop = drawMask ? SRCINVERT : SRCCOPY;
        if (icon->color)
            BlitCanvas(*dc, dest, icon->color->GetCanvas(), half, rop, RGB(255, 255, 255));
        else
            BlitCanvas(*dc, dest, mask, lower, rop, RGB(255, 255, 255));
    }
    dc->state.textColor = text;
    dc->state.bkColor = bk;
    return TRUE;
}
