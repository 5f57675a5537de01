// Win32 only. Carrying out an operation on the main thread for another thread. The main
// thread opens the call window once; any thread may then hand it an operation and waits
// until the main thread has run it. The main thread never waits on another thread here:
// it serves the calls while it pumps messages, also inside modal loops.
#pragma once

#include <functional>

#include <windows.h>

// On the main thread: creates the message-only window that serves the calls. Closing it
// makes later calls from other threads return without running the operation.
void OpenMainThreadCalls();
void CloseMainThreadCalls();
bool OnMainThread();

// Runs the operation on the main thread and returns when it is done; on the main thread
// itself it runs at once. An exception the operation throws is raised again in the caller.
// Returns false when the operation could not be handed over (no call window).
bool CallOnMainThread(const std::function<void()>& operation);
