// Win32 only. What the toolkit's own control classes share: registering a window class
// once, creating a child with its control id, and telling the parent of an event with
// WM_NOTIFY (NMHDR::idFrom = the control id, NMHDR::code = the event's code).
#pragma once

#include <windows.h>

// Registers the class on first use, with the arrow cursor; later calls return at once.
// False when the class could not be registered.
bool RegisterControlClass(const wchar_t* className, WNDPROC procedure, UINT classStyle = 0,
                          HBRUSH background = nullptr);

HWND CreateChildControl(const wchar_t* className, DWORD exStyle, DWORD style, HWND parent, int id,
                        int x, int y, int width, int height);

LRESULT NotifyParent(HWND control, UINT code);

// A window procedure that runs Handle and keeps any exception inside: a message whose
// handling failed gets the default processing.
template <LRESULT (*Handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK GuardedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return Handle(hwnd, msg, wp, lp);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}
