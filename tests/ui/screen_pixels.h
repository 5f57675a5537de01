// Win32 only. Pixels as the screen shows them, and counts of what a rectangle of them shows:
// what lies beneath, text of one colour, the smoothed edges between the two, or anything else.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include <windows.h>

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> data; // 0x00RRGGBB, top row first
    COLORREF At(int x, int y) const;
};

// The header of a 32-bit top-down DIB, whose pixels are 0x00RRGGBB as in Pixels::data.
BITMAPINFO TopDownDib32(int width, int height);

// The client area of a window (BitBlt of its client DC).
Pixels ClientPixels(HWND window);
// The whole window rectangle from its window DC (GetWindowDC + BitBlt), as a snapshot of it
// is taken.
Pixels WindowDcPixels(HWND window);

// Whether c lies channel by channel between a and b, give or take 1 (a smoothed glyph edge).
bool Between(COLORREF c, COLORREF a, COLORREF b);

// How the pixels of a rectangle compare with what lies beneath them and with the text colour.
struct Coverage {
    int beneath = 0; // exactly what lies beneath
    int text = 0;    // exactly the text colour
    int blended = 0; // between the two (the smoothed edges of glyphs)
    int wrong = 0;   // anything else
    POINT firstWrong{-1, -1};
    // The bounds of the text and blended pixels.
    int inkTop = INT_MAX, inkBottom = -1, inkLeft = INT_MAX, inkRight = -1;
    std::vector<int> inkRows; // y of each row with a text or blended pixel
    // Runs of consecutive ink rows: the lines of text.
    int Lines() const;
};

// Counts over `rc` of `pixels`, against `beneath(x, y)` (in the coordinates of `pixels`) and
// the text colour.
template <typename Beneath>
Coverage Cover(const Pixels& pixels, const RECT& rc, COLORREF colour, Beneath beneath) {
    Coverage c;
    for (int y = rc.top; y < rc.bottom; ++y) {
        bool rowHasInk = false;
        for (int x = rc.left; x < rc.right; ++x) {
            COLORREF seen = pixels.At(x, y);
            COLORREF under = beneath(x, y);
            if (seen == under) {
                ++c.beneath;
                continue;
            }
            if (seen == colour)
                ++c.text;
            else if (Between(seen, under, colour))
                ++c.blended;
            else {
                if (c.wrong++ == 0)
                    c.firstWrong = POINT{x, y};
                continue;
            }
            rowHasInk = true;
            c.inkTop = std::min(c.inkTop, y);
            c.inkBottom = std::max(c.inkBottom, y);
            c.inkLeft = std::min(c.inkLeft, x);
            c.inkRight = std::max(c.inkRight, x);
        }
        if (rowHasInk)
            c.inkRows.push_back(y);
    }
    return c;
}
