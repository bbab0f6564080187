// The standard vertical and horizontal scroll bars of a window.
#pragma once

#include "window.h"

namespace wince {

enum class ScrollPart { kNone, kLineUp, kPageUp, kThumb, kPageDown, kLineDown };

struct ScrollBarLayout {
    RECT bar;  // window coordinates
    RECT upArrow, downArrow, thumb;
    int trackStart, trackLength, thumbLength;
};

bool HasScrollBar(const Window &w, int bar);
ScrollBarLayout LayoutScrollBar(const Window &w, int bar);
ScrollPart HitScrollBar(const Window &w, int bar, POINT windowPoint);
// The position a thumb dragged to the given coordinate along the track stands for.
int ThumbPositionAt(const Window &w, int bar, int trackCoordinate);
void DrawScrollBar(HDC windowDC, const Window &w, int bar);

}  // namespace wince
