// Win32 only. Dispatches the window messages already queued for the calling thread, then
// returns; it does not wait for new ones.
#pragma once

void ProcessPendingMessages();
