#include "popup_layout.h"

#include <algorithm>

#include "device/device.h"

namespace wince {
namespace {

int Scaled(int at96) { return (at96 * Device::Current().Profile().dpiX + 48) / 96; }

}  // namespace

PopupMetrics ScaledPopupMetrics() {
    PopupMetrics m;
    m.checkColumn = Scaled(m.checkColumn);
    m.arrowColumn = Scaled(m.arrowColumn);
    m.itemPadding = Scaled(m.itemPadding);
    m.separatorHeight = Scaled(m.separatorHeight);
    return m;
}

PopupLayout LayoutPopup(const std::vector<MenuItem> &items, const std::vector<SIZE> &textSizes,
                        const PopupMetrics &m) {
    PopupLayout layout;
    int textWidth = 0;
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].Separator() && i < textSizes.size()) textWidth = std::max<int>(textWidth, textSizes[i].cx);
    int width = m.checkColumn + textWidth + m.arrowColumn;
    int y = m.border;
    for (size_t i = 0; i < items.size(); ++i) {
        int h = items[i].Separator() ? m.separatorHeight
                                     : (i < textSizes.size() ? textSizes[i].cy : 0) + m.itemPadding;
        layout.items.push_back(RECT{m.border, y, m.border + width, y + h});
        y += h;
    }
    layout.size = SIZE{width + 2 * m.border, y + m.border};
    return layout;
}

PopupLayout MeasurePopup(const Menu &menu) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    std::vector<SIZE> sizes;
    for (const MenuItem &item : menu.items) {
        RECT r{0, 0, 0, 0};
        if (!item.Separator()) DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r,
                                         DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        if (r.bottom - r.top == 0) {
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            r.bottom = r.top + tm.tmHeight;
        }
        sizes.push_back(SIZE{r.right - r.left, r.bottom - r.top});
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return LayoutPopup(menu.items, sizes, ScaledPopupMetrics());
}

RECT PlacePopup(SIZE size, POINT at, UINT flags, const RECT &screen) {
    int left = at.x, top = at.y;
    if (flags & TPM_RIGHTALIGN) left = at.x - size.cx;
    else if (flags & TPM_CENTERALIGN) left = at.x - size.cx / 2;
    if (flags & TPM_BOTTOMALIGN) top = at.y - size.cy;
    else if (flags & TPM_VCENTERALIGN) top = at.y - size.cy / 2;
    // Flip to the other side of the point first, as the device does.
    if (left + size.cx > screen.right && !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN))) left = at.x - size.cx;
    if (left < screen.left && (flags & TPM_RIGHTALIGN)) left = at.x;
    if (top + size.cy > screen.bottom && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN))) top = at.y - size.cy;
    if (top < screen.top && (flags & TPM_BOTTOMALIGN)) top = at.y;
    // Then shift what still does not fit.
    left = std::max<int>(screen.left, std::min<int>(left, screen.right - size.cx));
    top = std::max<int>(screen.top, std::min<int>(top, screen.bottom - size.cy));
    return RECT{left, top, left + size.cx, top + size.cy};
}

RECT PlaceSubmenu(SIZE size, const RECT &parent, const RECT &item, const RECT &screen) {
    int left = parent.right - 1;  // the frames overlap by a pixel
    if (left + size.cx > screen.right) left = parent.left + 1 - size.cx;
    left = std::max<int>(screen.left, std::min<int>(left, screen.right - size.cx));
    int top = item.top - 1;
    top = std::max<int>(screen.top, std::min<int>(top, screen.bottom - size.cy));
    return RECT{left, top, left + size.cx, top + size.cy};
}

int ItemAt(const PopupLayout &layout, POINT p) {
    for (size_t i = 0; i < layout.items.size(); ++i) {
        const RECT &r = layout.items[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace wince
