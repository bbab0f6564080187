// The screen's resolution and the scaling of every layout length, and the
// two platform tests that choose between the Today screen generations.
#pragma once

#include <windows.h>

struct DisplayResolutionValues {
    int logPixelsX = 0;
    int logPixelsY = 0;
};

// Read once at library load; a later change of resolution is not followed.
extern DisplayResolutionValues DisplayResolution;
void ReadDisplayResolution();

// Lengths are given at 96 dots per inch and scaled where they are used.
inline int ScaleX(int n) { return (n * DisplayResolution.logPixelsX + 48) / 96; }
inline int ScaleY(int n) { return (n * DisplayResolution.logPixelsY + 48) / 96; }

// OS 4.21 or later on a Pocket PC: the Today screen supplies its own colours
// and repaints below a shrinking item by itself.
bool IsNewTodayPlatform();
// OS 3.x on a Pocket PC.
bool IsLegacyPocketPC();
