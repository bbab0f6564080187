// The Today items listed in the registry, as the device lists them.
#pragma once

#include <vector>

#include "TodayScreen.h"

// Enabled library items in their order, with their libraries loaded.
std::vector<TodayItemSlot> ReadTodayItemList();
