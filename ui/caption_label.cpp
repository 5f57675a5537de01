#include "ui/caption_label.h"

#include "text/encodings.h"
#include "ui/child_control.h"
#include "ui/font_points.h"
#include "win/unique_handle.h"

#include <memory>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KaprinoCaptionLabel";

struct LabelState {
    CaptionLabelStyle style;
    UniqueFont font;
    RECT placed{}; // window rectangle in the parent's client coordinates, as last seen
};

LabelState* StateOf(HWND hwnd) {
    if (!IsCaptionLabel(hwnd))
        return nullptr;
    return reinterpret_cast<LabelState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

RECT RectInParent(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool Meets(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

void DrawLabelText(const LabelState& state, HDC dc, RECT rc) {
    std::wstring text = WideFromText(state.style.text);
    if (text.empty())
        return;
    HGDIOBJ font = state.style.useGuiFont ? GetStockObject(DEFAULT_GUI_FONT)
                                          : static_cast<HGDIOBJ>(state.font.get());
    SelectedObject selected(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, state.style.colour);
    // Captions are plain text: an '&' is shown, not taken as a mnemonic prefix.
    UINT format =
        DT_NOPREFIX | DT_LEFT |
        (state.style.singleLineCentred ? DT_SINGLELINE | DT_VCENTER : DT_WORDBREAK | DT_TOP);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

// Lets draw paint into a DC whose device origin is the window's own top-left corner
// (windowOrigin, screen coordinates), with no viewport or window offset: the standard
// controls clip to their client rectangle in device units and would lose a strip as wide
// as any offset. The part inside clip (screen) is then copied into dc, whose pixel (0, 0)
// is the screen point origin. The DC starts with what dc already holds there, so a window
// that leaves pixels alone shows what lies beneath it.
template <typename Draw>
void DrawAtWindowOrigin(HDC dc, POINT origin, POINT windowOrigin, const RECT& clip, Draw draw) {
    const int width = clip.right - windowOrigin.x, height = clip.bottom - windowOrigin.y;
    if (width <= 0 || height <= 0 || IsRectEmpty(&clip))
        return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap)
        return;
    SelectedObject selected(memory.get(), bitmap.get());
    const int clipWidth = clip.right - clip.left, clipHeight = clip.bottom - clip.top;
    BitBlt(memory.get(), clip.left - windowOrigin.x, clip.top - windowOrigin.y, clipWidth,
           clipHeight, dc, clip.left - origin.x, clip.top - origin.y, SRCCOPY);
    draw(memory.get());
    BitBlt(dc, clip.left - origin.x, clip.top - origin.y, clipWidth, clipHeight, memory.get(),
           clip.left - windowOrigin.x, clip.top - windowOrigin.y, SRCCOPY);
}

// The classic edges of a child window's frame. WM_PRINT with PRF_NONCLIENT then draws the
// frame as the system does (themed, with scroll bars); Wine leaves that flag undone, and
// these edges are then what its screen shows.
void DrawFrameEdges(HWND window, HDC dc, int width, int height) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    RECT rc{0, 0, width, height};
    if (exStyle & WS_EX_STATICEDGE)
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    else if (style & WS_BORDER) {
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    }
    if (exStyle & WS_EX_CLIENTEDGE)
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
}

// The client area as the window paints it: its background, then its contents. These are
// the two messages that DefWindowProc sends for WM_PRINT with PRF_ERASEBKGND | PRF_CLIENT,
// sent here directly so that no offset for the frame comes into play.
void PrintClient(HWND window, HDC dc) {
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_ERASEBKGND | PRF_CLIENT);
}

// Renders window, then its children bottom to top, into dc, whose pixel (0, 0) is the
// screen point origin; nothing is drawn outside clip (screen coordinates).
void RenderWindow(HWND window, HDC dc, POINT origin, RECT clip) {
    if (!IsWindowVisible(window))
        return;
    RECT outer;
    GetWindowRect(window, &outer);
    RECT visible;
    if (!IntersectRect(&visible, &outer, &clip))
        return;
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);

    if (!EqualRect(&outer, &client)) {
        const POINT corner{outer.left, outer.top};
        DrawAtWindowOrigin(dc, origin, corner, visible, [&](HDC at) {
            DrawFrameEdges(window, at, outer.right - outer.left, outer.bottom - outer.top);
            SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(at), PRF_NONCLIENT);
        });
    }
    RECT inside;
    if (!IntersectRect(&inside, &visible, &client))
        return;
    const POINT clientCorner{client.left, client.top};
    DrawAtWindowOrigin(dc, origin, clientCorner, inside, [&](HDC at) { PrintClient(window, at); });
    for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child;
         child = GetWindow(child, GW_HWNDPREV))
        RenderWindow(child, dc, origin, inside);
}

// What the screen would show in the label's place without the label: the parent's
// background and the siblings beneath it in the z-order.
void RenderBeneath(HWND label, HDC dc, int width, int height) {
    HWND parent = GetParent(label);
    POINT origin{0, 0};
    ClientToScreen(label, &origin);
    RECT area{origin.x, origin.y, origin.x + width, origin.y + height};

    POINT parentOrigin{0, 0};
    ClientToScreen(parent, &parentOrigin);
    DrawAtWindowOrigin(dc, origin, parentOrigin, area, [&](HDC at) { PrintClient(parent, at); });

    for (HWND sibling = GetWindow(label, GW_HWNDLAST); sibling && sibling != label;
         sibling = GetWindow(sibling, GW_HWNDPREV))
        RenderWindow(sibling, dc, origin, area);
}

// A sibling beneath that still has a paint pending would paint after the label and, unless
// it clips its siblings, over it: let those paint first.
void FlushPaintsBeneath(HWND label) {
    RECT mine = RectInParent(label);
    for (HWND sibling = GetWindow(label, GW_HWNDNEXT); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (IsWindowVisible(sibling) && Meets(RectInParent(sibling), mine))
            RedrawWindow(sibling, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void Paint(HWND hwnd, const LabelState& state) {
    FlushPaintsBeneath(hwnd);
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (rc.right > 0 && rc.bottom > 0) {
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        UniqueBitmap bitmap(CreateCompatibleBitmap(dc, rc.right, rc.bottom));
        if (memory && bitmap) {
            SelectedObject selected(memory.get(), bitmap.get());
            RenderBeneath(hwnd, memory.get(), rc.right, rc.bottom);
            DrawLabelText(state, memory.get(), rc);
            BitBlt(dc, 0, 0, rc.right, rc.bottom, memory.get(), 0, 0, SRCCOPY);
        }
    }
}

// The labels above this one that overlap area composed its old look into theirs.
void RedrawLabelsAbove(HWND label, const RECT& area) {
    for (HWND above = GetWindow(label, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (IsCaptionLabel(above) && IsWindowVisible(above) && Meets(RectInParent(above), area))
            RedrawWindow(above, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void Redraw(HWND label) {
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawLabelsAbove(label, RectInParent(label));
}

void OnPositionChanged(HWND hwnd, LabelState& state, const WINDOWPOS& pos) {
    RECT before = state.placed;
    state.placed = RectInParent(hwnd);
    bool placeChanged = !EqualRect(&before, &state.placed);
    bool stackChanged = !(pos.flags & SWP_NOZORDER);
    bool shownOrHidden = (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0;
    if (!placeChanged && !stackChanged && !shownOrHidden)
        return;
    // Raised above a sibling, the label must now show that sibling's pixels too.
    if (stackChanged && IsWindowVisible(hwnd))
        InvalidateRect(hwnd, nullptr, FALSE);
    RECT both;
    UnionRect(&both, &before, &state.placed);
    RedrawLabelsAbove(hwnd, both);
}

LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LabelState* state = StateOf(hwnd);
    if (!state)
        return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete state;
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, *state);
        return 0;
    case WM_PRINTCLIENT: {
        // Asked for its look over what the caller has already drawn: the text alone.
        RECT rc;
        GetClientRect(hwnd, &rc);
        DrawLabelText(*state, reinterpret_cast<HDC>(wp), rc);
        return 0;
    }
    case WM_WINDOWPOSCHANGING: {
        // The pixels the system would carry along to the new place show the old place's
        // background: have the label painted afresh instead.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
            pos->flags |= SWP_NOCOPYBITS;
        break;
    }
    case WM_WINDOWPOSCHANGED:
        OnPositionChanged(hwnd, *state, *reinterpret_cast<const WINDOWPOS*>(lp));
        break;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, state->style.cursor));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        NotifyParent(hwnd, kCaptionLabelPressed);
        return 0;
    case WM_MOUSEMOVE:
        NotifyParent(hwnd, kCaptionLabelMouseMove);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Register() {
    return RegisterControlClass(kClassName, GuardedWindowProc<HandleMessage>,
                                CS_HREDRAW | CS_VREDRAW);
}

int ScreenDpiY() {
    WindowDc screen = WindowDc::Client(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

} // namespace

HWND CreateCaptionLabel(HWND parent, int id, int x, int y, int width, int height,
                        const CaptionLabelStyle& style) {
    if (!Register())
        return nullptr;
    auto state = std::make_unique<LabelState>();
    state->style = style;
    state->font.reset(CreateFontIndirectW(&style.font));
    // Created hidden, so that its first paint happens with its state in place.
    HWND hwnd = CreateChildControl(kClassName, 0, WS_CHILD | WS_CLIPSIBLINGS, parent, id, x, y,
                                   width, height);
    if (!hwnd)
        return nullptr;
    state->placed = RectInParent(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    if (style.visible)
        ShowWindow(hwnd, SW_SHOWNA);
    return hwnd;
}

bool IsCaptionLabel(HWND window) {
    wchar_t name[64];
    return window && GetClassNameW(window, name, 64) > 0 && lstrcmpW(name, kClassName) == 0;
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
        s->font.reset(CreateFontIndirectW(&font));
        Redraw(label);
    }
}

LOGFONTW CaptionLabelFont(HWND label) {
    LabelState* s = StateOf(label);
    return s ? s->style.font : LOGFONTW{};
}

int CaptionLabelFontSize(HWND label) {
    return PointsFromLogFontHeight(CaptionLabelFont(label).lfHeight, ScreenDpiY());
}

void SetCaptionLabelFontSize(HWND label, int points) {
    if (!StateOf(label))
        return;
    LOGFONTW font = CaptionLabelFont(label);
    font.lfHeight = LogFontHeightFromPoints(points, ScreenDpiY());
    SetCaptionLabelFont(label, font);
}

bool CaptionLabelBold(HWND label) {
    return CaptionLabelFont(label).lfWeight >= FW_BOLD;
}

void SetCaptionLabelBold(HWND label, bool bold) {
    if (!StateOf(label))
        return;
    LOGFONTW font = CaptionLabelFont(label);
    font.lfWeight = bold ? FW_BOLD : FW_DONTCARE;
    SetCaptionLabelFont(label, font);
}

void RedrawLabelsOver(HWND parent, const RECT& area) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsCaptionLabel(child) && IsWindowVisible(child) && Meets(RectInParent(child), area))
            RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void RedrawLabelsOver(HWND window) {
    if (!IsWindow(window))
        return;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT changed;
    GetWindowRect(window, &changed);
    for (HWND level = window; GetWindowLongW(level, GWL_STYLE) & WS_CHILD;
         level = GetParent(level)) {
        HWND parent = GetParent(level);
        if (!parent)
            break;
        RECT area = changed;
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
        for (HWND above = GetWindow(level, GW_HWNDPREV); above;
             above = GetWindow(above, GW_HWNDPREV)) {
            if (IsCaptionLabel(above) && IsWindowVisible(above) && Meets(RectInParent(above), area))
                RedrawWindow(above, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    }
}
