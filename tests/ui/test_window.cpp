#include "test_window.h"

#include "pointer_input.h"
#include "test_pattern.h"

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

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

void ClickAt(POINT screen) {
    SendPointerTo(screen);
    PumpMessages(20);
    SendLeftButton(true);
    PumpMessages(20);
    SendLeftButton(false);
    PumpMessages(20);
}
