// First version: draws its text with a transparent background mode over whatever the
// window holds; true see-through drawing comes later.
#include "ui/caption_label.h"

#include <memory>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KaprinoCaptionLabel";

struct LabelState {
    CaptionLabelStyle style;
    HFONT font = nullptr;
    ~LabelState() {
        if (font)
            DeleteObject(font);
    }
};

LabelState* StateOf(HWND hwnd) {
    return reinterpret_cast<LabelState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::wstring Widen(const Text& text) {
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

void Notify(HWND hwnd, UINT code) {
    NMHDR header{};
    header.hwndFrom = hwnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    header.code = code;
    SendMessageW(GetParent(hwnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LabelState* state = StateOf(hwnd);
    switch (msg) {
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (state) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            HGDIOBJ old = SelectObject(
                dc, state->style.useGuiFont ? GetStockObject(DEFAULT_GUI_FONT) : state->font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, state->style.colour);
            std::wstring text = Widen(state->style.text);
            UINT format = state->style.singleLineCentred ? DT_SINGLELINE | DT_VCENTER | DT_LEFT
                                                         : DT_WORDBREAK | DT_LEFT | DT_TOP;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
            SelectObject(dc, old);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETCURSOR:
        if (state) {
            SetCursor(LoadCursorW(nullptr, state->style.cursor));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        Notify(hwnd, kCaptionLabelPressed);
        return 0;
    case WM_MOUSEMOVE:
        Notify(hwnd, kCaptionLabelMouseMove);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Register() {
    static bool done = false;
    if (done)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = LabelProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    done = true;
}

void Redraw(HWND label) {
    InvalidateRect(label, nullptr, TRUE);
    UpdateWindow(label);
}

} // namespace

HWND CreateCaptionLabel(HWND parent, int id, int x, int y, int width, int height,
                        const CaptionLabelStyle& style) {
    Register();
    DWORD ws = WS_CHILD | WS_CLIPSIBLINGS | (style.visible ? WS_VISIBLE : 0);
    HWND hwnd = CreateWindowExW(0, kClassName, L"", ws, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return nullptr;
    auto state = std::make_unique<LabelState>();
    state->style = style;
    state->font = CreateFontIndirectW(&style.font);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    return hwnd;
}

void SetCaptionLabelText(HWND label, const Text& text) {
    if (LabelState* s = StateOf(label)) {
        s->style.text = text;
        Redraw(label);
    }
}

Text CaptionLabelText(HWND label) {
    LabelState* s = StateOf(label);
    return s ? s->style.text : Text();
}

void SetCaptionLabelColour(HWND label, COLORREF colour) {
    if (LabelState* s = StateOf(label)) {
        s->style.colour = colour;
        Redraw(label);
    }
}

COLORREF CaptionLabelColour(HWND label) {
    LabelState* s = StateOf(label);
    return s ? s->style.colour : 0;
}

void SetCaptionLabelFont(HWND label, const LOGFONTW& font) {
    if (LabelState* s = StateOf(label)) {
        s->style.font = font;
        if (s->font)
            DeleteObject(s->font);
        s->font = CreateFontIndirectW(&font);
        Redraw(label);
    }
}

LOGFONTW CaptionLabelFont(HWND label) {
    LabelState* s = StateOf(label);
    return s ? s->style.font : LOGFONTW{};
}
