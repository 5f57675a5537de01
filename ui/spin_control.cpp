// First version: a plain up-down control.
#include "ui/spin_control.h"

HWND CreateSpinControl(HWND parent, int id, int x, int y, int width, int height) {
    HWND hwnd = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, x, y, width, height,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd)
        SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return hwnd;
}

int SpinStep(const NMHDR* header) {
    if (!header || header->code != UDN_DELTAPOS)
        return 0;
    const auto* change = reinterpret_cast<const NMUPDOWN*>(header);
    return change->iDelta > 0 ? 1 : (change->iDelta < 0 ? -1 : 0);
}
