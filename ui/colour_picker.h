// Win32 only. The colour picker: shows its current colour as a swatch (black at start); a
// click, or Space while it has the focus, opens the system colour dialog. Each completed
// pick (the dialog closed with OK), also of the current colour, tells the parent with
// WM_NOTIFY (NMHDR::code = kColourPicked); a cancelled dialog changes nothing.
#pragma once

#include <windows.h>

constexpr UINT kColourPicked = 0x4B11;

HWND CreateColourPicker(HWND parent, int id, int x, int y, int width, int height);
COLORREF ColourPickerColour(HWND picker);
