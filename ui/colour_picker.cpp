#include "ui/colour_picker.h"

#include "ui/child_control.h"
#include "win/unique_handle.h"

#include <commdlg.h>

#include <memory>

namespace {

constexpr wchar_t kClassName[] = L"KaprinoColourPicker";

struct PickerState {
    COLORREF colour = RGB(0, 0, 0);
    COLORREF custom[16] = {}; // the dialog's custom colours, kept from one pick to the next
    bool pressed = false;
};

PickerState* StateOf(HWND hwnd) {
    return reinterpret_cast<PickerState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Paint(HWND hwnd, HDC dc, const PickerState& state) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (state.pressed ? DFCS_PUSHED : 0));
    RECT swatch = rc;
    InflateRect(&swatch, -5, -5);
    if (swatch.right > swatch.left && swatch.bottom > swatch.top) {
        FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        InflateRect(&swatch, -1, -1);
        HBRUSH brush = CreateSolidBrush(state.colour);
        if (brush) {
            FillRect(dc, &swatch, brush);
            DeleteObject(brush);
        }
    }
    if (GetFocus() == hwnd) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void Pick(HWND hwnd, PickerState& state) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = GetAncestor(hwnd, GA_ROOT);
    cc.rgbResult = state.colour;
    cc.lpCustColors = state.custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc))
        return;
    state.colour = cc.rgbResult;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    NotifyParent(hwnd, kColourPicked);
}

void SetPressed(HWND hwnd, PickerState& state, bool pressed) {
    if (state.pressed != pressed) {
        state.pressed = pressed;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PickerState* state = StateOf(hwnd);
    if (!state)
        return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete state;
        break;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        Paint(hwnd, paint.dc(), *state);
        return 0;
    }
    case WM_PRINTCLIENT: // a see-through label over the picker draws it into its own picture
        Paint(hwnd, reinterpret_cast<HDC>(wp), *state);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        SetCapture(hwnd);
        SetPressed(hwnd, *state, true);
        return 0;
    case WM_LBUTTONUP: {
        bool wasPressed = GetCapture() == hwnd && state->pressed;
        ReleaseCapture();
        SetPressed(hwnd, *state, false);
        RECT rc;
        GetClientRect(hwnd, &rc);
        POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (wasPressed && PtInRect(&rc, at))
            Pick(hwnd, *state);
        return 0;
    }
    case WM_CAPTURECHANGED:
        SetPressed(hwnd, *state, false);
        return 0;
    case WM_KEYUP:
        if (wp == VK_SPACE) {
            Pick(hwnd, *state);
            return 0;
        }
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Register() {
    return RegisterControlClass(kClassName, GuardedWindowProc<HandleMessage>,
                                CS_HREDRAW | CS_VREDRAW,
                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

} // namespace

HWND CreateColourPicker(HWND parent, int id, int x, int y, int width, int height) {
    if (!Register())
        return nullptr;
    HWND hwnd = CreateChildControl(kClassName, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, parent, id, x,
                                   y, width, height);
    if (hwnd)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(std::make_unique<PickerState>().release()));
    return hwnd;
}

COLORREF ColourPickerColour(HWND picker) {
    wchar_t name[64];
    if (!picker || GetClassNameW(picker, name, 64) <= 0 || lstrcmpW(name, kClassName) != 0)
        return RGB(0, 0, 0);
    PickerState* state = StateOf(picker);
    return state ? state->colour : RGB(0, 0, 0);
}
