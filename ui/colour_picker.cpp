// First version: a push button that remembers a colour and opens the colour dialog.
#include "ui/colour_picker.h"

#include <commctrl.h>
#include <commdlg.h>

namespace {

constexpr wchar_t kColourProp[] = L"KaprinoColour";

LRESULT CALLBACK PickerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_LBUTTONUP) {
        static COLORREF custom[16] = {};
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof(cc);
        cc.hwndOwner = GetParent(hwnd);
        cc.rgbResult = ColourPickerColour(hwnd);
        cc.lpCustColors = custom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN;
        if (ChooseColorW(&cc)) {
            SetPropW(hwnd, kColourProp,
                     reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(cc.rgbResult)));
            NMHDR header{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), kColourPicked};
            SendMessageW(GetParent(hwnd), WM_NOTIFY, header.idFrom,
                         reinterpret_cast<LPARAM>(&header));
        }
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

HWND CreateColourPicker(HWND parent, int id, int x, int y, int width, int height) {
    HWND hwnd =
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, y,
                        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (hwnd)
        SetWindowSubclass(hwnd, PickerProc, 1, 0);
    return hwnd;
}

COLORREF ColourPickerColour(HWND picker) {
    return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetPropW(picker, kColourProp)));
}
