#include "test_window.h"

#include "pointer_input.h"

#include <algorithm>

namespace {
constexpr wchar_t kParentClass[] = L"KaprinoTestParent";
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        PumpMessages(10);
    }
    return true;
}

TestParent::TestParent() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(kBackground);
        wc.lpszClassName = kParentClass;
        return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd_ =
        CreateWindowExW(0, kParentClass, L"Kaprino test",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                        100, 100, 519, 382, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
    PumpMessages();
}

TestParent::~TestParent() {
    DestroyWindow(hwnd_);
    PumpMessages(10);
}

LRESULT CALLBACK TestParent::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NOTIFY && self && self->onNotify) {
        self->onNotify(*reinterpret_cast<const NMHDR*>(lp));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

COLORREF PatternPixel(int x, int y, bool alternate) {
    // Stripes 3 and 5 pixels wide: a shift by a few pixels lands on the other colour.
    bool dark = ((x / 3) + (y / 5)) % 2 == 0;
    if (alternate)
        return dark ? RGB(0x20, 0x90, 0x30) : RGB(0xF0, 0xE0, 0xD0);
    return dark ? RGB(0x30, 0x60, 0x90) : RGB(0xE0, 0xC0, 0x20);
}

HBITMAP MakePatternBitmap(int width, int height, bool alternate) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
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

void PictureArea::ShowPattern(bool alternate) {
    RECT rc;
    GetClientRect(picture, &rc);
    UniqueBitmap next(MakePatternBitmap(rc.right, rc.bottom, alternate));
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(next.get()));
    bitmap = std::move(next);
}

void CreatePictureArea(PictureArea& area, HWND parent, int x, int y, int width, int height) {
    area.x = x;
    area.y = y;
    area.group = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, x, y, width,
        height, parent, reinterpret_cast<HMENU>(900), GetModuleHandleW(nullptr), nullptr);
    area.picture = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0,
                                   width, height, area.group, reinterpret_cast<HMENU>(901),
                                   GetModuleHandleW(nullptr), nullptr);
    area.ShowPattern(false);
}

COLORREF Capture::At(int x, int y) const {
    std::uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Capture CaptureClient(HWND window) {
    Capture out;
    RECT rc;
    GetClientRect(window, &rc);
    out.width = rc.right;
    out.height = rc.bottom;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0);
    WindowDc source = WindowDc::Client(window);
    UniqueMemoryDc memory(CreateCompatibleDC(source.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = out.width;
    info.bmiHeader.biHeight = -out.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        SelectedObject selected(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, out.width, out.height, source.get(), 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        for (size_t i = 0; i < out.pixels.size(); ++i)
            out.pixels[i] = p[i] & 0xFFFFFF;
    }
    return out;
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

void MouseMoveTo(POINT screen) {
    SendPointerTo(screen);
}

void MouseButton(bool down) {
    SendLeftButton(down);
}

void ClickAt(POINT screen) {
    MouseMoveTo(screen);
    PumpMessages(20);
    MouseButton(true);
    PumpMessages(20);
    MouseButton(false);
    PumpMessages(20);
}

bool Between(COLORREF c, COLORREF a, COLORREF b) {
    auto in = [](int v, int x, int y) {
        return v >= std::min(x, y) - 1 && v <= std::max(x, y) + 1;
    };
    return in(GetRValue(c), GetRValue(a), GetRValue(b)) &&
           in(GetGValue(c), GetGValue(a), GetGValue(b)) &&
           in(GetBValue(c), GetBValue(a), GetBValue(b));
}
