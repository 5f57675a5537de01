// Win32 only. The program's one window: created with all its controls from the control
// table, centred on the screen, with a fixed frame. Closing it ends the message loop of the
// thread that created it. That thread is the main thread: it owns every control and runs
// every event handler, and the operations of other threads are carried out on it.
#pragma once

#include <windows.h>

// Creates and shows the main window; null when it could not be created.
HWND CreateMainWindow(HINSTANCE instance);

// Keys that the window takes before the control with the focus sees them (Tab and
// Shift+Tab move the focus through the tab stops). True when the message has been used.
bool PreTranslateMainWindowMessage(const MSG& msg);

// Runs the calling thread's message loop until the main window has been closed.
void RunMessageLoop();
