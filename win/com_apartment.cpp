#include "win/com_apartment.h"

#include <objbase.h>

// A single-threaded apartment. The result is not looked at: S_FALSE (already initialised on
// this thread) still needs its matching CoUninitialize, and a failure leaves nothing to undo
// that the caller could act on.
void InitCom() {
    (void)::CoInitialize(nullptr);
}

void UninitCom() {
    ::CoUninitialize();
}
