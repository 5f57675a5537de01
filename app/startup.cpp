#include "app/startup.h"

#include "app/main_window.h"
#include "app/page_regex.h"

#include <cstdlib>
#include <new>

RegexObject* pageRegex = nullptr;

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
    delete pageRegex;
    pageRegex = nullptr;
}

int ExitRoutineRuns() {
    return exitRoutineRuns;
}

int RunKaprino(HINSTANCE instance) {
    if (!pageRegex)
        pageRegex = new (std::nothrow) RegexObject();
    RegisterExitRoutineOnce();
    if (CreateMainWindow(instance))
        RunMessageLoop();
    return 0;
}
