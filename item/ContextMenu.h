// The menu a tap-and-hold opens in the item.
#pragma once

#include <windows.h>

// Menu item identifiers.
inline constexpr UINT CommandOpen = 5001;
inline constexpr UINT CommandRename = 5002;
inline constexpr UINT CommandDelete = 5003;
inline constexpr UINT CommandBrowse = 5004;
inline constexpr UINT CommandOptions = 5005;

// Shows the menu at point (item-window coordinates) for the document at
// index, or for no document (-1: only the folder's commands), and carries
// out the command chosen.
void ShowContextMenu(HWND window, POINT point, int index);
