#include "ui/spin_control.h"

namespace {

// An up-down control's default range runs from 100 down to 0, so its up arrow proposes a
// step of -1, and at either end the steps stop. The control gets a range that rises and is
// far wider than any step, and its position goes back to the middle after every message,
// so the arrows always propose +1 (up) and -1 (down) and no end is ever reached.
constexpr int kRangeHalf = 1 << 20;

LRESULT CALLBACK SpinProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    if (msg == WM_NCDESTROY) {
        // A subclass must be taken off before its window is gone.
        RemoveWindowSubclass(hwnd, SpinProc, id);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (DefSubclassProc(hwnd, UDM_GETPOS32, 0, 0) != 0)
        DefSubclassProc(hwnd, UDM_SETPOS32, 0, 0);
    return result;
}

} // namespace

HWND CreateSpinControl(HWND parent, int id, int x, int y, int width, int height) {
    HWND hwnd = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, x, y, width, height,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return nullptr;
    // Created without a buddy, the control makes itself 16 pixels wide: give it its size back.
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd, UDM_SETRANGE32, static_cast<WPARAM>(-kRangeHalf), kRangeHalf);
    SendMessageW(hwnd, UDM_SETPOS32, 0, 0);
    // One step per press and per repeat, however long the arrow is held.
    UDACCEL accel{0, 1};
    SendMessageW(hwnd, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    SetWindowSubclass(hwnd, SpinProc, 1, 0);
    return hwnd;
}

int SpinStep(const NMHDR* header) {
    if (!header || header->code != UDN_DELTAPOS)
        return 0;
    const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
    return change->iDelta > 0 ? 1 : (change->iDelta < 0 ? -1 : 0);
}
