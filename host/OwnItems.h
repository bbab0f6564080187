// The Today screen's own items around the library items: the date above and
// a short owner line below, so that the selection has neighbours.
#pragma once

#include "TodayScreen.h"

void RegisterOwnItemClasses();
TodayItemSlot MakeDateItemSlot();
TodayItemSlot MakeFooterItemSlot();
HWND CreateOwnItem(TodayItemSlot &slot, HWND screen);
