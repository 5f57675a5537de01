// Win32 only. What the control tests share: a top-level window to hold the controls, a
// picture-like sibling (a group box whose only child is a bitmap with a stripe pattern),
// message pumping, real mouse input and pixel capture.
#pragma once

#include "win/unique_handle.h"

#include <cstdint>
#include <functional>
#include <vector>

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

// The colour of the test picture at (x, y) of the picture: vertical and horizontal stripes
// of uneven widths in two colours unlike the window background, so that a pixel taken from
// the wrong place, or from the window background, does not match.
COLORREF PatternPixel(int x, int y, bool alternate = false);

// A 24-bit screen-compatible bitmap of the pattern.
HBITMAP MakePatternBitmap(int width, int height, bool alternate = false);

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

// Pixels of a window's client area, as the screen shows them (BitBlt of its DC).
struct Capture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first
    COLORREF At(int x, int y) const;   // as a COLORREF
};
Capture CaptureClient(HWND window);

// Real mouse input through the system queue, at screen coordinates.
void MouseMoveTo(POINT screen);
void MouseButton(bool down);
void ClickAt(POINT screen);
POINT ClientToScreenPoint(HWND window, int x, int y);

// For blending checks: whether c lies channel by channel between a and b.
bool Between(COLORREF c, COLORREF a, COLORREF b);
