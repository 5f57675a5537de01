// Win32 only. Owner of a WinHTTP handle (session, connection or request), closed with
// WinHttpCloseHandle. A type of its own: WinInet handles share the HINTERNET type but close
// with another function.
#pragma once

#include "win/unique_handle.h"

#include <winhttp.h>

struct WinHttpCloseHandleFn {
    void operator()(HINTERNET h) const { ::WinHttpCloseHandle(h); }
};

using UniqueWinHttpHandle = UniqueAny<HINTERNET, WinHttpCloseHandleFn>;
