// The item window class and its window procedure.
#pragma once

#include <windows.h>

inline constexpr WCHAR ItemWindowClassName[] = TEXT("PelloranWindow");

bool RegisterItemWindowClass();
void UnregisterItemWindowClass();
LRESULT CALLBACK ItemWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
