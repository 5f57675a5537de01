#include "ui/child_control.h"

bool RegisterControlClass(const wchar_t* className, WNDPROC procedure, UINT classStyle,
                          HBRUSH background) {
    WNDCLASSW existing{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), className, &existing))
        return true;
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = procedure;
    wc.hbrBackground = background;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassW(&wc) != 0;
}

HWND CreateChildControl(const wchar_t* className, DWORD exStyle, DWORD style, HWND parent, int id,
                        int x, int y, int width, int height) {
    return CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

LRESULT NotifyParent(HWND control, UINT code) {
    NMHDR header{};
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    header.code = code;
    return SendMessageW(GetParent(control), WM_NOTIFY, header.idFrom,
                        reinterpret_cast<LPARAM>(&header));
}
