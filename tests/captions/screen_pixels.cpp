#include "screen_pixels.h"

#include "win/unique_handle.h"

#include <algorithm>
#include <cstring>

COLORREF Pixels::At(int x, int y) const {
    std::uint32_t p = data[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

namespace {

Pixels Grab(HWND window, HDC source, int width, int height) {
    Pixels out;
    out.width = width;
    out.height = height;
    out.data.assign(static_cast<size_t>(width) * height, 0);
    UniqueMemoryDc memory(CreateCompatibleDC(source));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectedObject selected(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (size_t i = 0; i < out.data.size(); ++i)
        out.data[i] = p[i] & 0xFFFFFF;
    (void)window;
    return out;
}

} // namespace

Pixels ClientPixels(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    WindowDc dc = WindowDc::Client(window);
    return Grab(window, dc.get(), rc.right, rc.bottom);
}

Pixels WindowDcPixels(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    WindowDc dc = WindowDc::Whole(window);
    return Grab(window, dc.get(), rc.right - rc.left, rc.bottom - rc.top);
}

COLORREF StripePixel(int x, int y) {
    bool dark = ((x / 3) + (y / 5)) % 2 == 0;
    return dark ? RGB(0x30, 0x60, 0x90) : RGB(0xE0, 0xC0, 0x20);
}

Bytes StripeBmp(int width, int height) {
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
            COLORREF c = StripePixel(x, y);
            bmp[row + 3 * x] = GetBValue(c);
            bmp[row + 3 * x + 1] = GetGValue(c);
            bmp[row + 3 * x + 2] = GetRValue(c);
        }
    }
    return bmp;
}

bool BlendOf(COLORREF c, COLORREF a, COLORREF b) {
    auto in = [](int v, int x, int y) {
        return v >= std::min(x, y) - 1 && v <= std::max(x, y) + 1;
    };
    return in(GetRValue(c), GetRValue(a), GetRValue(b)) &&
           in(GetGValue(c), GetGValue(a), GetGValue(b)) &&
           in(GetBValue(c), GetBValue(a), GetBValue(b));
}

int Coverage::Lines() const {
    int lines = 0;
    for (size_t i = 0; i < inkRows.size(); ++i)
        if (i == 0 || inkRows[i] != inkRows[i - 1] + 1)
            ++lines;
    return lines;
}
