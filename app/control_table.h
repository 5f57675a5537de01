// Win32 only. The design of the main window: its own settings and one row per control,
// with place, size, initial text and state, and the handlers of its events. The window
// creates its controls from these rows, in this order, and stacks them in this order: the
// first row lies on top of its siblings, each later row directly beneath the one before.
#pragma once

#include "ui/control_event.h"

#include <cstddef>

#include <windows.h>

enum class ControlKind {
    PushButton,
    CheckBox,
    SpinControl,
    Timer, // no window; ticks reach the main window
    Caption,
    HandleLabel,
    ColourPicker,
    EditBox,
    GroupBox,
    PictureBox,
    ListView,
    ProgressBar,
};

// The events a control can raise.
enum class On {
    Click,   // push button, check box; list view: left click inside it
    Changed, // edit box: content changed
    ColourPicked,
    SpinStep,   // argument 1 (up arrow) or -1 (down arrow)
    LeftPress,  // caption, handle label, group box, picture box, main window background
    MouseMove,  // caption
    Tick,       // timer
    Created,    // main window, once all its controls exist
    KeyPressed, // main window: argument virtual-key code, modifiers Ctrl 1, Shift 2, Alt 4
};

struct EventBinding {
    On event;
    EventHandler handler;
};

enum ControlState : unsigned {
    kNormal = 0,
    kDisabled = 1,
    kHidden = 2,
};

struct ControlRow {
    const wchar_t* name;
    ControlKind kind;
    int left, top, width, height;
    const wchar_t* text;
    unsigned state;
    EventBinding handlers[2];
    const wchar_t* parent; // nullptr: the main window
    LPCWSTR cursor;        // handle labels: the resize cursor they show
};

struct MainWindowDesign {
    const wchar_t* name;
    const wchar_t* title;
    int width, height; // outer size
    COLORREF background;
    EventBinding handlers[3];
};

const MainWindowDesign& MainWindowData();
const ControlRow* ControlRows();
std::size_t ControlRowCount();

// The row named so, or null.
const ControlRow* FindControlRow(const wchar_t* name);
EventHandler HandlerOf(const ControlRow& row, On event);
EventHandler MainWindowHandler(On event);
