// Win32 only. The test picture: vertical and horizontal stripes of uneven widths in two
// colours unlike the window background, so that a pixel taken from the wrong place, or from
// the window background, does not match.
#pragma once

#include "text/text.h"

#include <windows.h>

// The colour of the pattern (or of the other pattern, in two other colours) at (x, y).
COLORREF PatternPixel(int x, int y, bool alternate = false);

// A 24-bit screen-compatible bitmap of the pattern.
HBITMAP MakePatternBitmap(int width, int height, bool alternate = false);

// A 24-bit BMP file of the pattern.
Bytes PatternBmp(int width, int height);
