// Win32 only. What the control tests share: a top-level window to hold the controls, a
// picture-like sibling (a group box whose only child is a bitmap of the test pattern),
// message pumping and clicks.
#pragma once

#include "win/unique_handle.h"

#include <functional>

#include <windows.h>

// Runs every message that is waiting, and keeps doing so for at least `milliseconds`.
void PumpMessages(DWORD milliseconds = 50);

// Pumps until done() holds or the time is up; answers done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000);

// A visible top-level window with the main window's background colour and outer size.
// WM_NOTIFY reaches onNotify.
class TestParent {
public:
    static constexpr COLORREF kBackground = RGB(0, 255, 255);

    TestParent();
    ~TestParent();
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND get() const { return hwnd_; }
    std::function<void(const NMHDR&)> onNotify;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// A group box at (x, y) in parent, clipping its siblings, with one static picture child
// filling it that shows the pattern.
struct PictureArea {
    HWND group = nullptr;
    HWND picture = nullptr;
    UniqueBitmap bitmap;
    int x = 0, y = 0;
    // Gives the picture a new bitmap of the pattern (or of the other pattern).
    void ShowPattern(bool alternate);
};
void CreatePictureArea(PictureArea& area, HWND parent, int x, int y, int width, int height);

// A real click through the system queue at a screen point, with messages pumped between
// the move, the press and the release.
void ClickAt(POINT screen);
POINT ClientToScreenPoint(HWND window, int x, int y);
