// Portable. Font sizes in points against LOGFONT heights in pixels, at a vertical
// resolution in dots per inch. A LOGFONT height is stored negative: a character height,
// not a cell height.
#pragma once

// round(|logFontHeight| x 72 / dpi), halves away from zero; 0 when dpi is not positive.
int PointsFromLogFontHeight(long logFontHeight, int dpi);

// -round(points x dpi / 72), halves away from zero; a negative size gives 0, which leaves the
// height to the font's default. Sizes too large for a LOGFONT height give the largest one.
long LogFontHeightFromPoints(int points, int dpi);
