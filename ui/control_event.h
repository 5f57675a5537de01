// Win32 only. What an event handler is told: which control raised the event (its name in
// the control table; with routed events, the raising control, not the one whose handlers
// serve it) and the event's arguments.
#pragma once

struct ControlEvent {
    const wchar_t* control = nullptr;
    int argument = 0;  // spin step (1 or -1), virtual-key code
    int modifiers = 0; // key events: Ctrl 1, Shift 2, Alt 4
};

using EventHandler = void (*)(const ControlEvent&);
