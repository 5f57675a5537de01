// Win32 only. Real mouse input through the system queue, for tests on any thread.
#pragma once

#include <windows.h>

// Moves the pointer to a screen point and waits until the system has it there, and keeps
// it there, so that a press sent next comes at the new place. Under Wine the move also
// warps the X pointer, and on a busy machine the X server's report of an earlier warp can
// arrive late and put the pointer back where it was: then the move is sent again.
inline void SendPointerTo(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Normalised coordinates: the system takes the pixel (dx x width) / 65536, so round up.
    input.mi.dx = static_cast<LONG>((screen.x * 65536 + w - 1) / w);
    input.mi.dy = static_cast<LONG>((screen.y * 65536 + h - 1) / h);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    auto there = [&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    };
    for (int attempt = 0; attempt < 10; ++attempt) {
        SendInput(1, &input, sizeof(input));
        DWORD start = GetTickCount();
        while (!there() && GetTickCount() - start < 500)
            Sleep(5);
        Sleep(40);
        if (there())
            return;
    }
}

inline void SendLeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

// From another thread: waits until guiThread runs the system's move or size loop. Moves
// sent before the loop has started would go to the pressed window instead.
inline bool WaitForMoveSizeLoop(DWORD guiThread, DWORD milliseconds = 3000) {
    DWORD start = GetTickCount();
    for (;;) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (GetGUIThreadInfo(guiThread, &info) && (info.flags & GUI_INMOVESIZE))
            return true;
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(5);
    }
}
