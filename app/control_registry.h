// Win32 only. The main window's controls while the window exists: the window of each row of
// the control table, the row whose handlers serve its events, and the dispatch of an event
// to its handler. Main thread only.
#pragma once

#include "app/control_table.h"

#include <cstddef>

#include <windows.h>

struct ControlEntry {
    const ControlRow* row = nullptr;
    HWND hwnd = nullptr; // null for the timer, and before creation
    bool created = false;
    std::size_t servedBy = 0; // index of the row whose handlers serve this control's events
    EventBinding handlers[2]{};
};

// Forgets every control and takes the rows' handlers afresh; `main` is the new main window.
void ResetControlRegistry(HWND main);
void ClearControlRegistry();

HWND MainWindowHandle();
std::size_t ControlEntryCount();
ControlEntry& ControlEntryAt(std::size_t index);
ControlEntry* ControlEntryByName(const wchar_t* name);
ControlEntry* ControlEntryByWindow(HWND hwnd);
std::size_t ControlEntryIndex(const ControlEntry& entry);
// Timers tick on the main window; their timer id names the row.
UINT_PTR TimerIdOf(const ControlEntry& entry);
ControlEntry* ControlEntryByTimerId(UINT_PTR id);

// Runs the handler that serves `event` of the control, telling it the control's name. An
// exception thrown by the handler ends there.
void DispatchControlEvent(const ControlEntry& raising, On event, int argument = 0,
                          int modifiers = 0);
// The main window's own handlers, taken afresh from its design at each creation (three).
EventBinding* MainWindowBindings();
void DispatchMainWindowEvent(On event, int argument = 0, int modifiers = 0);
