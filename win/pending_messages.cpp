#include "win/pending_messages.h"

#include <windows.h>

namespace {
thread_local unsigned long passes = 0;
}

void ProcessPendingMessages() {
    ++passes;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

unsigned long PendingMessagePasses() {
    return passes;
}
