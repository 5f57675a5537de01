// Win32 only. The colour picker: shows its current colour (black at start); a click opens
// the system colour dialog. Each completed pick, also of the current colour, tells the
// parent with WM_NOTIFY (NMHDR::code = kColourPicked).
#pragma once

#include <windows.h>

constexpr UINT kColourPicked = 0x4B11;

HWND CreateColourPicker(HWND parent, int id, int x, int y, int width, int height);
COLORREF ColourPickerColour(HWND picker);
