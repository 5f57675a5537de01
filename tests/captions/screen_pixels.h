// Win32 only. Pixels as the screen shows them, for the caption tests in the main window,
// and a test picture whose pattern tells a misplaced or missing pixel apart.
#pragma once

#include "text/text.h"

#include <cstdint>
#include <vector>

#include <windows.h>

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> data; // 0x00RRGGBB, top row first
    COLORREF At(int x, int y) const;
};

// The client area of a window (BitBlt of its client DC).
Pixels ClientPixels(HWND window);
// The whole window rectangle from its window DC (GetWindowDC + BitBlt), as a snapshot of it
// is taken.
Pixels WindowDcPixels(HWND window);

// Stripes 3 and 5 pixels wide in two colours unlike the window background.
COLORREF StripePixel(int x, int y);
// A 24-bit BMP image of the stripes.
Bytes StripeBmp(int width, int height);

// Whether c lies channel by channel between a and b (a smoothed glyph edge).
bool BlendOf(COLORREF c, COLORREF a, COLORREF b);

// Counts over a rectangle of `pixels`, against what lies beneath (`beneath(x, y)`, in the
// coordinates of `pixels`) and the text colour.
struct Coverage {
    int beneath = 0, text = 0, blended = 0, wrong = 0;
    std::vector<int> inkRows;
    int inkLeft = 1 << 30, inkRight = -1;
    int Lines() const;
};
template <typename Beneath>
Coverage Cover(const Pixels& pixels, const RECT& rc, COLORREF colour, Beneath beneath) {
    Coverage c;
    for (int y = rc.top; y < rc.bottom; ++y) {
        bool ink = false;
        for (int x = rc.left; x < rc.right; ++x) {
            COLORREF seen = pixels.At(x, y), under = beneath(x, y);
            if (seen == under) {
                ++c.beneath;
                continue;
            }
            if (seen == colour)
                ++c.text;
            else if (BlendOf(seen, under, colour))
                ++c.blended;
            else {
                ++c.wrong;
                continue;
            }
            ink = true;
            c.inkLeft = x < c.inkLeft ? x : c.inkLeft;
            c.inkRight = x > c.inkRight ? x : c.inkRight;
        }
        if (ink)
            c.inkRows.push_back(y);
    }
    return c;
}
