// A real main window for each test, on the test's own thread, which acts as the main
// thread: messages are pumped while a test waits.
#pragma once

#include "app/control_table.h"
#include "app/controls.h"
#include "app/main_window.h"
#include "win/com_apartment.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

inline void PumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || PreTranslateMainWindowMessage(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

// Pumps until the condition holds or the time is up; answers the condition.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        PumpMessages(10);
    }
    return true;
}

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

// The control name of a window of the main window, or "?".
inline std::wstring NameOfWindow(HWND hwnd) {
    for (std::size_t i = 0; i < ControlRowCount(); ++i)
        if (ControlHandle(ControlRows()[i].name) == hwnd)
            return ControlRows()[i].name;
    return L"?";
}

// Place and size in the parent's client coordinates.
inline RECT PlaceInParent(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

inline void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

// Presses a key with the given modifier keys held, as the keyboard would.
inline void TypeKey(WORD vk, const std::vector<WORD>& held = {}) {
    for (WORD m : held)
        SendKey(m, false);
    SendKey(vk, false);
    SendKey(vk, true);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        SendKey(*it, true);
    PumpMessages(150);
}

// A left click at a point of the screen, as the mouse would: move there, press, release.
inline void ClickAtScreen(POINT pt) {
    INPUT input[3] = {};
    for (INPUT& i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(pt.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = MulDiv(pt.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    PumpMessages(50);
    SendInput(2, &input[1], sizeof(INPUT));
    PumpMessages(200);
}

inline void ClickInWindow(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    ClickAtScreen(pt);
}

// What handlers were run, in order, with the name of the control each was told.
struct EventLog {
    static std::vector<ControlEvent>& Events() {
        static std::vector<ControlEvent> events;
        return events;
    }
    static void Record(const ControlEvent& event) { Events().push_back(event); }
    static std::vector<std::wstring> Names() {
        std::vector<std::wstring> names;
        for (const ControlEvent& e : Events())
            names.push_back(e.control ? e.control : L"(null)");
        return names;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EventLog::Events().clear();
        main_ = CreateMainWindow(GetModuleHandleW(nullptr));
        ASSERT_NE(main_, nullptr);
        SetForegroundWindow(main_);
        PumpMessages(100);
    }
    void TearDown() override {
        if (IsWindow(main_))
            DestroyWindow(main_);
        // The window's end posts WM_QUIT; take it out of the queue for the next test.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND Control(const wchar_t* name) { return ControlHandle(name); }

    ComApartment com_;
    HWND main_ = nullptr;
};
