// Win32 only. Start-up and shutdown of the program on the main thread.
#pragma once

#include <windows.h>

// Constructs pageRegex (which initialises COM on this thread), registers the exit routine,
// opens the main window and runs the message loop until the window has been closed.
// Answers 0, the program's exit code; the exit routine runs when the program ends.
int RunKaprino(HINSTANCE instance);

// Destroys pageRegex, which releases the main thread's COM. Registered by RunKaprino to run
// once when the program ends; it does its work only the first time it is called.
void ExitRoutine();
// How many times ExitRoutine has done its work (0 or 1).
int ExitRoutineRuns();
