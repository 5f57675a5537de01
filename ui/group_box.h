// Win32 only. The group box: a container without a title that draws an etched frame and
// holds child controls. Unlike a BS_GROUPBOX button, which is transparent to hit-testing,
// it takes the mouse itself: a left-button press tells its parent with WM_NOTIFY
// (NMHDR::code = kGroupBoxPressed). WM_COMMAND and WM_NOTIFY of its children are passed on
// to its parent unchanged, so that the parent serves them as its own children's.
#pragma once

#include <windows.h>

constexpr UINT kGroupBoxPressed = 0x4B31;

HWND CreateGroupBox(HWND parent, int id, int x, int y, int width, int height);
