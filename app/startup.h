// Win32 only. Start-up and shutdown of the program on the main thread.
#pragma once

#include <windows.h>

// Constructs pageRegex, registers the exit routine, opens the main window and runs the
// message loop until the window has been closed. Answers 0, the program's exit code.
int RunKaprino(HINSTANCE instance);

// Destroys pageRegex. Registered once by RunKaprino to run when the program ends; running
// it again does nothing.
void ExitRoutine();
// How many times ExitRoutine has done its work (0 or 1).
int ExitRoutineRuns();
