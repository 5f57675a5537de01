#include "ui/picture_box.h"

#include "ui/child_control.h"

#include "win/com_ptr.h"
#include "win/unique_handle.h"

#include <cstring>
#include <new>

#include <ole2.h>
#include <olectl.h>

namespace {

constexpr wchar_t kClassName[] = L"KaprinoPictureBox";

struct BoxState {
    ComPtr<IPicture> picture;
};

BoxState* StateOf(HWND hwnd) {
    return reinterpret_cast<BoxState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// OleLoadPicture reads a stream over a copy of the bytes in movable global memory; the
// picture it makes keeps nothing of either.
ComPtr<IPicture> DecodePicture(const Bytes& image) {
    if (image.empty())
        return {};
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, image.size()));
    if (!memory)
        return {};
    void* data = GlobalLock(memory.get());
    if (!data)
        return {};
    std::memcpy(data, image.data(), image.size());
    GlobalUnlock(memory.get());

    // The stream reads the memory without owning it; it is released before the memory.
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), FALSE, stream.put())) || !stream)
        return {};

    ComPtr<IPicture> picture;
    HRESULT hr = OleLoadPicture(stream.get(), static_cast<LONG>(image.size()), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(picture.put()));
    if (FAILED(hr))
        return {};
    return picture;
}

void Paint(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
    BoxState* state = StateOf(hwnd);
    if (!state || !state->picture)
        return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    state->picture->get_Width(&width);
    state->picture->get_Height(&height);
    // The source rectangle runs bottom-up in HIMETRIC units.
    state->picture->Render(dc, 0, 0, rc.right, rc.bottom, 0, height, width, -height, nullptr);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new (std::nothrow) BoxState));
        break;
    case WM_NCDESTROY:
        delete StateOf(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills the whole box
    case WM_PAINT: {
        PaintScope paint(hwnd);
        Paint(hwnd, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(hwnd, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_LBUTTONDOWN:
        NotifyParent(hwnd, kPictureBoxPressed);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

HWND CreatePictureBox(HWND parent, int id, int x, int y, int width, int height) {
    RegisterControlClass(kClassName, BoxProc);
    return CreateChildControl(kClassName, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent, id, x,
                              y, width, height);
}

void SetPictureBoxImage(HWND box, const Bytes& image) {
    BoxState* state = StateOf(box);
    if (!state)
        return;
    state->picture = DecodePicture(image);
    InvalidateRect(box, nullptr, FALSE);
    UpdateWindow(box);
}

bool PictureBoxHasPicture(HWND box) {
    BoxState* state = StateOf(box);
    return state && state->picture;
}
