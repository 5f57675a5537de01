// Win32 only. The control operations: every operation that event handlers and loaders
// perform on the main window's controls, addressed by the control's name in the control
// table. They must run on the main thread; a loader thread hands them over with
// RunOnMainThread.
#pragma once

#include "app/control_table.h"
#include "text/text.h"
#include "ui/control_event.h"

#include <functional>

#include <windows.h>

// The main window itself answers to its own name in the design (MainWindowData().name) for
// the window operations.
HWND ControlHandle(const wchar_t* name); // null when there is no such control (yet)
bool ControlCreated(const wchar_t* name);

int ControlLeft(const wchar_t* name); // window rectangle, in the parent's client coordinates
int ControlTop(const wchar_t* name);
int ControlWidth(const wchar_t* name);
int ControlHeight(const wchar_t* name);
void SetControlLeft(const wchar_t* name, int left);
void SetControlTop(const wchar_t* name, int top);
void SetControlWidth(const wchar_t* name, int width);     // -1 keeps the width
void SetControlHeight(const wchar_t* name, int height);   // -1 keeps the height
void MoveControl(const wchar_t* name, int left, int top); // keeps the size

bool ControlVisible(const wchar_t* name);
void SetControlVisible(const wchar_t* name, bool visible);
void SetControlDisabled(const wchar_t* name, bool disabled);
// Top of its siblings' stacking order, without activating, moving or resizing it.
void RaiseControl(const wchar_t* name);

Text EditContent(const wchar_t* name);
bool ControlChecked(const wchar_t* name);

void DeleteAllRows(const wchar_t* list);
int AppendRow(const wchar_t* list);
void SetCellText(const wchar_t* list, int row, int column, const Text& text);
Text CellText(const wchar_t* list, int row, int column);
int SelectedRow(const wchar_t* list); // -1 when none

void SetPictureFromBytes(const wchar_t* pictureBox, const Bytes& image);

int ProgressPosition(const wchar_t* bar);
void SetProgressPosition(const wchar_t* bar, int position);

void SetTimerPeriod(const wchar_t* timer, unsigned milliseconds); // 0 stops it

LRESULT SendControlMessage(const wchar_t* name, UINT message, WPARAM wParam, LPARAM lParam);

// From now on the events of `from` are served by the handlers of `to`; the handlers are
// told that `from` raised them.
void RouteEvents(const wchar_t* from, const wchar_t* to);

// Runs the operation on the main thread and returns when it has been done. On the main
// thread itself it runs at once. False when it did not run because the main window has
// closed: a loader then has nothing left to do and stops.
bool RunOnMainThread(const std::function<void()>& operation);

// Replaces the handler that serves `event` of the control, for tests that watch dispatch.
void SetEventHandlerForTesting(const wchar_t* name, On event, EventHandler handler);
