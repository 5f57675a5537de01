// Win32 only. The spin control: an upright up/down control with no value or range of its
// own. Every press of an arrow, and every auto-repeat step while it is held, reaches the
// parent as WM_NOTIFY (UDN_DELTAPOS); SpinStep turns one into 1 (up arrow), -1 (down arrow)
// or 0 (not a step of a spin control). No limit ever stops the steps.
#pragma once

#include <windows.h>
#include <commctrl.h>

HWND CreateSpinControl(HWND parent, int id, int x, int y, int width, int height);
int SpinStep(const NMHDR* header);
