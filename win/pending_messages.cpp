#include "win/pending_messages.h"

#include <windows.h>

namespace {
thread_local unsigned long passes = 0;
}

void ProcessPendingMessages() {
    ++passes;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The quit request belongs to the thread's own message loop: put it back for
            // that loop. It comes only when nothing else is queued, so this pass is done.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

unsigned long PendingMessagePasses() {
    return passes;
}
