#include "app/main_window.h"

#include "app/control_registry.h"
#include "app/control_table.h"
#include "app/control_text.h"
#include "ui/caption_label.h"
#include "ui/colour_picker.h"
#include "ui/group_box.h"
#include "ui/main_thread_call.h"
#include "ui/picture_box.h"
#include "ui/spin_control.h"
#include "win/unique_handle.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kClassName[] = L"KaprinoMainWindow";
constexpr int kFirstControlId = 1000;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

HMENU IdOf(std::size_t index) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index));
}

int IdNumber(std::size_t index) {
    return kFirstControlId + static_cast<int>(index);
}

HBRUSH BackgroundBrush() {
    static UniqueBrush brush(CreateSolidBrush(MainWindowData().background));
    return brush.get();
}

int KeyModifiers() {
    int modifiers = 0;
    if (GetKeyState(VK_CONTROL) < 0)
        modifiers |= 1;
    if (GetKeyState(VK_SHIFT) < 0)
        modifiers |= 2;
    if (GetKeyState(VK_MENU) < 0)
        modifiers |= 4;
    return modifiers;
}

// --- Creating the controls --------------------------------------------------------------

HWND CreateStandard(HWND parent, std::size_t index, DWORD exStyle, const wchar_t* cls,
                    DWORD style) {
    const ControlRow& row = ControlRows()[index];
    if (row.state & kDisabled)
        style |= WS_DISABLED;
    if (!(row.state & kHidden))
        style |= WS_VISIBLE;
    HWND hwnd =
        CreateWindowExW(exStyle, cls, row.text, WS_CHILD | WS_CLIPSIBLINGS | style, row.left,
                        row.top, row.width, row.height, parent, IdOf(index), Instance(), nullptr);
    if (hwnd)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    return hwnd;
}

LOGFONTW CaptionFont() {
    LOGFONTW font{};
    font.lfHeight = -20; // character height, not cell height
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    return font; // empty face name: the system chooses the face
}

CaptionLabelStyle LabelStyle(const ControlRow& row) {
    CaptionLabelStyle style;
    style.text = TextFromWide(row.text, std::wcslen(row.text));
    style.cursor = row.cursor ? row.cursor : IDC_ARROW;
    style.visible = !(row.state & kHidden);
    if (row.kind == ControlKind::HandleLabel) {
        style.colour = RGB(0, 0, 255);
        style.useGuiFont = true;
        style.singleLineCentred = true;
    } else {
        style.colour = RGB(0, 0, 0);
        style.font = CaptionFont();
    }
    return style;
}

HWND CreateListView(HWND parent, std::size_t index) {
    HWND list = CreateStandard(parent, index, WS_EX_CLIENTEDGE, WC_LISTVIEWW,
                               WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL);
    if (!list)
        return nullptr;
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    struct Column {
        const wchar_t* title;
        int width;
        int format;
    };
    const Column columns[] = {
        {L"网址", 0, LVCFMT_LEFT},     // the template id: held, not seen
        {L"标题", 200, LVCFMT_CENTER}, // the template title
    };
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = columns[i].format;
        column.cx = columns[i].width;
        column.pszText = const_cast<wchar_t*>(columns[i].title);
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

HWND CreateProgressBar(HWND parent, std::size_t index) {
    HWND bar = CreateStandard(parent, index, WS_EX_STATICEDGE, PROGRESS_CLASSW, PBS_SMOOTH);
    if (bar) {
        SendMessageW(bar, PBM_SETRANGE32, 0, 10);
        SendMessageW(bar, PBM_SETPOS, 0, 0);
    }
    return bar;
}

HWND CreateEditBox(HWND parent, std::size_t index) {
    HWND edit = CreateStandard(parent, index, 0, L"EDIT",
                               WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL);
    if (edit)
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0); // as long as the control allows
    return edit;
}

HWND CreateControlWindow(HWND parent, std::size_t index) {
    const ControlRow& row = ControlRows()[index];
    switch (row.kind) {
    case ControlKind::PushButton:
        return CreateStandard(parent, index, 0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON);
    case ControlKind::CheckBox:
        return CreateStandard(parent, index, 0, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX);
    case ControlKind::EditBox:
        return CreateEditBox(parent, index);
    case ControlKind::ListView:
        return CreateListView(parent, index);
    case ControlKind::ProgressBar:
        return CreateProgressBar(parent, index);
    case ControlKind::SpinControl:
        return CreateSpinControl(parent, IdNumber(index), row.left, row.top, row.width, row.height);
    case ControlKind::ColourPicker:
        return CreateColourPicker(parent, IdNumber(index), row.left, row.top, row.width,
                                  row.height);
    case ControlKind::Caption:
    case ControlKind::HandleLabel:
        return CreateCaptionLabel(parent, IdNumber(index), row.left, row.top, row.width, row.height,
                                  LabelStyle(row));
    case ControlKind::GroupBox:
        return CreateGroupBox(parent, IdNumber(index), row.left, row.top, row.width, row.height);
    case ControlKind::PictureBox:
        return CreatePictureBox(parent, IdNumber(index), row.left, row.top, row.width, row.height);
    case ControlKind::Timer:
        return nullptr; // ticks come to the main window once it has a period
    }
    return nullptr;
}

HWND ParentOf(HWND main, const ControlRow& row) {
    if (!row.parent)
        return main;
    ControlEntry* parent = ControlEntryByName(row.parent);
    return parent ? parent->hwnd : nullptr;
}

// Parents are created before their children, so a child's row may lie above its parent's.
void CreateControls(HWND main) {
    const std::size_t count = ControlEntryCount();
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < count; ++i) {
            ControlEntry& entry = ControlEntryAt(i);
            const bool isChild = entry.row->parent != nullptr;
            if (entry.created || isChild != (pass == 1))
                continue;
            HWND parent = ParentOf(main, *entry.row);
            if (!parent)
                continue;
            entry.hwnd = CreateControlWindow(parent, i);
            entry.created = entry.hwnd != nullptr || entry.row->kind == ControlKind::Timer;
        }
    }
}

// Each window lies directly beneath the previous row's window of the same parent.
void StackControls() {
    const std::size_t count = ControlEntryCount();
    for (std::size_t i = 0; i < count; ++i) {
        HWND hwnd = ControlEntryAt(i).hwnd;
        if (!hwnd)
            continue;
        HWND above = nullptr;
        for (std::size_t k = i; k-- > 0;) {
            HWND candidate = ControlEntryAt(k).hwnd;
            if (candidate && GetParent(candidate) == GetParent(hwnd)) {
                above = candidate;
                break;
            }
        }
        SetWindowPos(hwnd, above ? above : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// --- Events -------------------------------------------------------------------------------

bool OnCreate(HWND hwnd) {
    ResetControlRegistry(hwnd);
    OpenMainThreadCalls();
    CreateControls(hwnd);
    StackControls();
    DispatchMainWindowEvent(On::Created);
    return true;
}

void OnCommand(WPARAM wp, LPARAM lp) {
    HWND from = reinterpret_cast<HWND>(lp);
    ControlEntry* entry = ControlEntryByWindow(from);
    if (!entry)
        return;
    const UINT code = HIWORD(wp);
    switch (entry->row->kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
        if (code == BN_CLICKED)
            DispatchControlEvent(*entry, On::Click);
        break;
    case ControlKind::EditBox:
        if (code == EN_CHANGE)
            DispatchControlEvent(*entry, On::Changed);
        break;
    default:
        break;
    }
}

LRESULT OnNotify(const NMHDR* header) {
    ControlEntry* entry = header ? ControlEntryByWindow(header->hwndFrom) : nullptr;
    if (!entry)
        return 0;
    switch (entry->row->kind) {
    case ControlKind::ListView:
        // Only a left click inside the list; keyboard selection and header presses are not
        // events of the program.
        if (header->code == NM_CLICK)
            DispatchControlEvent(*entry, On::Click);
        break;
    case ControlKind::SpinControl:
        if (int step = SpinStep(header))
            DispatchControlEvent(*entry, On::SpinStep, step);
        break;
    case ControlKind::ColourPicker:
        if (header->code == kColourPicked)
            DispatchControlEvent(*entry, On::ColourPicked);
        break;
    case ControlKind::Caption:
    case ControlKind::HandleLabel:
        if (header->code == kCaptionLabelPressed)
            DispatchControlEvent(*entry, On::LeftPress);
        else if (header->code == kCaptionLabelMouseMove)
            DispatchControlEvent(*entry, On::MouseMove);
        break;
    case ControlKind::GroupBox:
        if (header->code == kGroupBoxPressed)
            DispatchControlEvent(*entry, On::LeftPress);
        break;
    case ControlKind::PictureBox:
        if (header->code == kPictureBoxPressed)
            DispatchControlEvent(*entry, On::LeftPress);
        break;
    default:
        break;
    }
    return 0;
}

void OnTimer(UINT_PTR id) {
    if (ControlEntry* entry = ControlEntryByTimerId(id))
        DispatchControlEvent(*entry, On::Tick);
}

void OnLeftButtonDown(HWND hwnd) {
    // A press on the background takes the keyboard focus to the window itself, where the
    // arrow keys are its own.
    SetFocus(hwnd);
    DispatchMainWindowEvent(On::LeftPress);
}

void OnKeyDown(WPARAM key) {
    DispatchMainWindowEvent(On::KeyPressed, static_cast<int>(key), KeyModifiers());
}

LRESULT OnControlColour(HWND control, HDC dc) {
    // The check box stands on the window's own colour.
    ControlEntry* entry = ControlEntryByWindow(control);
    if (entry && entry->row->kind == ControlKind::CheckBox) {
        SetBkColor(dc, MainWindowData().background);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    return -1;
}

void OnPrintClient(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, BackgroundBrush());
}

void OnDestroy() {
    CloseMainThreadCalls();
    PostQuitMessage(0);
}

LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(hwnd) ? 0 : -1;
    case WM_COMMAND:
        OnCommand(wp, lp);
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lp));
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(hwnd);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wp);
        return 0;
    case WM_SYSKEYDOWN: // Alt held: the key is still the window's, and the system's too
        OnKeyDown(wp);
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (LRESULT brush = OnControlColour(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp));
            brush != -1)
            return brush;
        break;
    case WM_PRINTCLIENT: // what lies beneath a see-through child, drawn into its DC
        OnPrintClient(hwnd, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        ClearControlRegistry();
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return HandleMessage(hwnd, msg, wp, lp);
    } catch (...) {
        // A handler that fails leaves the window as it is; the event is simply over.
        return msg == WM_CREATE ? -1 : 0;
    }
}

bool RegisterOnce(HINSTANCE instance) {
    static const bool registered = [instance] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC =
            ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
        InitCommonControlsEx(&controls);
        WNDCLASSW wc{};
        wc.lpfnWndProc = MainWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = BackgroundBrush();
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

} // namespace

HWND CreateMainWindow(HINSTANCE instance) {
    if (!instance)
        instance = Instance();
    if (!RegisterOnce(instance))
        return nullptr;
    const MainWindowDesign& design = MainWindowData();
    // Fixed single frame: no sizing border, no maximise box.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - design.width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - design.height) / 2;
    HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kClassName, design.title,
                                style, left, top, design.width, design.height, nullptr, nullptr,
                                instance, nullptr);
    if (!hwnd)
        return nullptr;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return hwnd;
}

bool PreTranslateMainWindowMessage(const MSG& msg) {
    HWND main = MainWindowHandle();
    // Only Tab is taken from the controls, so Escape and Enter keep their controls' own
    // meaning: neither closes the window nor moves the focus.
    if (!main || msg.message != WM_KEYDOWN || msg.wParam != VK_TAB ||
        (msg.hwnd != main && !IsChild(main, msg.hwnd)))
        return false;
    const bool back = GetKeyState(VK_SHIFT) < 0;
    HWND focus = GetFocus();
    if (focus && !IsChild(main, focus))
        focus = nullptr;
    if (HWND next = GetNextDlgTabItem(main, focus, back ? TRUE : FALSE))
        SetFocus(next);
    return true;
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMainWindowMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
