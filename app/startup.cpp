#include "app/startup.h"

#include "app/main_window.h"

#include <cstdlib>

namespace {

int exitRoutineRuns = 0;

void RunExitRoutineAtExit() {
    ExitRoutine();
}

void RegisterExitRoutineOnce() {
    static const bool registered = std::atexit(RunExitRoutineAtExit) == 0;
    (void)registered;
}

} // namespace

void ExitRoutine() {
    if (exitRoutineRuns > 0)
        return;
    ++exitRoutineRuns;
}

int ExitRoutineRuns() {
    return exitRoutineRuns;
}

int RunKaprino(HINSTANCE instance) {
    RegisterExitRoutineOnce();
    if (CreateMainWindow(instance))
        RunMessageLoop();
    return 0;
}
