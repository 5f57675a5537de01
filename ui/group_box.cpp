#include "ui/group_box.h"

#include "ui/child_control.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kClassName[] = L"KaprinoGroupBox";

void Paint(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
    DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
}

LRESULT CALLBACK GroupProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        Paint(hwnd, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(hwnd, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_LBUTTONDOWN:
        NotifyParent(hwnd, kGroupBoxPressed);
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

HWND CreateGroupBox(HWND parent, int id, int x, int y, int width, int height) {
    RegisterControlClass(kClassName, GroupProc);
    return CreateChildControl(kClassName, WS_EX_CONTROLPARENT,
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, parent, id,
                              x, y, width, height);
}
