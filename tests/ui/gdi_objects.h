// Win32 only. How many GDI objects this process holds, for tests that show that repeated
// work gives back every object it makes.
#pragma once

#include <windows.h>

// GetGuiResources answers on Windows. Wine's is a stub that answers 0; there the process's
// own handle table is counted instead: Wine finds an object by its table index alone when
// the upper word of the handle is 0.
inline DWORD GdiObjectCount() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    DWORD count = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}
