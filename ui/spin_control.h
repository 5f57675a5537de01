// Win32 only. The spin control: an upright up/down control with no value or range of its
// own. Its parent receives WM_NOTIFY; SpinStep turns one into 1 (up arrow), -1 (down
// arrow) or 0 (not a step of a spin control).
#pragma once

#include <windows.h>
#include <commctrl.h>

HWND CreateSpinControl(HWND parent, int id, int x, int y, int width, int height);
int SpinStep(const NMHDR* header);
