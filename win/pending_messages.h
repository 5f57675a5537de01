// Win32 only. Dispatches the window messages already queued for the calling thread, then
// returns; it does not wait for new ones.
#pragma once

void ProcessPendingMessages();

// How many times ProcessPendingMessages has run on the calling thread.
unsigned long PendingMessagePasses();
