// Win32 only. Dispatches the window messages already queued for the calling thread, then
// returns; it does not wait for new ones. A quit request (WM_QUIT) is left queued for the
// thread's own message loop.
#pragma once

void ProcessPendingMessages();

// How many times ProcessPendingMessages has run on the calling thread.
unsigned long PendingMessagePasses();
