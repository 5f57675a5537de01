#include "screen_pixels.h"

#include "win/unique_handle.h"

COLORREF Pixels::At(int x, int y) const {
    std::uint32_t p = data[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

namespace {

// Copies width x height pixels from the origin of `source` into a 32-bit top-down DIB.
Pixels Grab(HDC source, int width, int height) {
    Pixels out;
    out.width = width;
    out.height = height;
    out.data.assign(static_cast<size_t>(width) * height, 0);
    UniqueMemoryDc memory(CreateCompatibleDC(source));
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectedObject selected(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (size_t i = 0; i < out.data.size(); ++i)
        out.data[i] = p[i] & 0xFFFFFF;
    return out;
}

} // namespace

Pixels ClientPixels(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    WindowDc dc = WindowDc::Client(window);
    return Grab(dc.get(), rc.right, rc.bottom);
}

Pixels WindowDcPixels(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    WindowDc dc = WindowDc::Whole(window);
    return Grab(dc.get(), rc.right - rc.left, rc.bottom - rc.top);
}

bool Between(COLORREF c, COLORREF a, COLORREF b) {
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
