#include "test_pattern.h"

#include "screen_pixels.h"
#include "win/unique_handle.h"

#include <cstdint>
#include <vector>

COLORREF PatternPixel(int x, int y, bool alternate) {
    // Stripes 3 and 5 pixels wide: a shift by a few pixels lands on the other colour.
    bool dark = ((x / 3) + (y / 5)) % 2 == 0;
    if (alternate)
        return dark ? RGB(0x20, 0x90, 0x30) : RGB(0xF0, 0xE0, 0xD0);
    return dark ? RGB(0x30, 0x60, 0x90) : RGB(0xE0, 0xC0, 0x20);
}

HBITMAP MakePatternBitmap(int width, int height, bool alternate) {
    BITMAPINFO info = TopDownDib32(width, height);
    std::vector<std::uint32_t> bits(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = PatternPixel(x, y, alternate);
            bits[static_cast<size_t>(y) * width + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    WindowDc screen = WindowDc::Client(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    SetDIBits(screen.get(), bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
    return bitmap;
}

Bytes PatternBmp(int width, int height) {
    const int rowSize = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowSize) * height;
    Bytes bmp(54 + pixelBytes, 0);
    auto put16 = [&](size_t at, std::uint32_t v) {
        bmp[at] = v & 0xFF;
        bmp[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54 + pixelBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    for (int y = 0; y < height; ++y) {
        size_t row = 54 + static_cast<size_t>(height - 1 - y) * rowSize; // bottom-up
        for (int x = 0; x < width; ++x) {
            COLORREF c = PatternPixel(x, y);
            bmp[row + 3 * x] = GetBValue(c);
            bmp[row + 3 * x + 1] = GetGValue(c);
            bmp[row + 3 * x + 2] = GetRValue(c);
        }
    }
    return bmp;
}
