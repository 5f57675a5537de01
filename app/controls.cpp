#include "app/controls.h"

#include "app/control_registry.h"
#include "text/encodings.h"
#include "ui/caption_label.h"
#include "ui/main_thread_call.h"
#include "ui/picture_box.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

namespace {

HWND WindowOf(const wchar_t* name) {
    if (name && MainWindowData().name && std::wcscmp(name, MainWindowData().name) == 0)
        return MainWindowHandle();
    ControlEntry* entry = ControlEntryByName(name);
    return entry ? entry->hwnd : nullptr;
}

bool IsKind(const wchar_t* name, ControlKind kind) {
    ControlEntry* entry = ControlEntryByName(name);
    return entry && entry->row->kind == kind && entry->hwnd;
}

// Window rectangle in the client coordinates of the parent.
RECT PlaceOf(HWND hwnd) {
    RECT rc{};
    if (!hwnd)
        return rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void Place(const wchar_t* name, int left, int top, int width, int height, UINT flags) {
    if (HWND hwnd = WindowOf(name))
        SetWindowPos(hwnd, nullptr, left, top, width, height,
                     flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A requested size of -1 keeps the current one; other negative sizes become 0.
int SizeOrCurrent(int requested, int current) {
    if (requested == -1)
        return current;
    return requested < 0 ? 0 : requested;
}

bool IsCaptionLike(ControlKind kind) {
    return kind == ControlKind::Caption || kind == ControlKind::HandleLabel;
}

} // namespace

HWND ControlHandle(const wchar_t* name) {
    return WindowOf(name);
}

bool ControlCreated(const wchar_t* name) {
    if (HWND main = MainWindowHandle();
        main && name && std::wcscmp(name, MainWindowData().name) == 0)
        return IsWindow(main) != FALSE;
    ControlEntry* entry = ControlEntryByName(name);
    return entry && entry->created;
}

int ControlLeft(const wchar_t* name) {
    return PlaceOf(WindowOf(name)).left;
}
int ControlTop(const wchar_t* name) {
    return PlaceOf(WindowOf(name)).top;
}
int ControlWidth(const wchar_t* name) {
    RECT rc = PlaceOf(WindowOf(name));
    return rc.right - rc.left;
}
int ControlHeight(const wchar_t* name) {
    RECT rc = PlaceOf(WindowOf(name));
    return rc.bottom - rc.top;
}

void SetControlLeft(const wchar_t* name, int left) {
    Place(name, left, ControlTop(name), 0, 0, SWP_NOSIZE);
}
void SetControlTop(const wchar_t* name, int top) {
    Place(name, ControlLeft(name), top, 0, 0, SWP_NOSIZE);
}
void SetControlWidth(const wchar_t* name, int width) {
    Place(name, 0, 0, SizeOrCurrent(width, ControlWidth(name)), ControlHeight(name), SWP_NOMOVE);
}
void SetControlHeight(const wchar_t* name, int height) {
    Place(name, 0, 0, ControlWidth(name), SizeOrCurrent(height, ControlHeight(name)), SWP_NOMOVE);
}
void MoveControl(const wchar_t* name, int left, int top) {
    Place(name, left, top, 0, 0, SWP_NOSIZE);
}

bool ControlVisible(const wchar_t* name) {
    HWND hwnd = WindowOf(name);
    return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetControlVisible(const wchar_t* name, bool visible) {
    if (HWND hwnd = WindowOf(name))
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void SetControlDisabled(const wchar_t* name, bool disabled) {
    if (HWND hwnd = WindowOf(name))
        EnableWindow(hwnd, disabled ? FALSE : TRUE);
}

void RaiseControl(const wchar_t* name) {
    if (HWND hwnd = WindowOf(name))
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

Text EditContent(const wchar_t* name) {
    HWND hwnd = WindowOf(name);
    if (!hwnd)
        return Text();
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return Text();
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, wide.data(), length + 1);
    return TextFromWide(wide.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

bool ControlChecked(const wchar_t* name) {
    HWND hwnd = WindowOf(name);
    return hwnd && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DeleteAllRows(const wchar_t* list) {
    if (IsKind(list, ControlKind::ListView))
        SendMessageW(WindowOf(list), LVM_DELETEALLITEMS, 0, 0);
}

int AppendRow(const wchar_t* list) {
    if (!IsKind(list, ControlKind::ListView))
        return -1;
    HWND hwnd = WindowOf(list);
    wchar_t empty[1] = {L'\0'};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = empty;
    return static_cast<int>(
        SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetCellText(const wchar_t* list, int row, int column, const Text& text) {
    if (!IsKind(list, ControlKind::ListView))
        return;
    std::wstring wide = WideFromText(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(WindowOf(list), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

Text CellText(const wchar_t* list, int row, int column) {
    if (!IsKind(list, ControlKind::ListView) || row < 0)
        return Text();
    HWND hwnd = WindowOf(list);
    // LVM_GETITEMTEXT answers the number of units copied; a full buffer may mean a longer
    // text, so the buffer grows until the text fits with room to spare.
    for (std::size_t size = 256; size <= (1u << 24); size *= 4) {
        std::vector<wchar_t> buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        const LRESULT copied = SendMessageW(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                            reinterpret_cast<LPARAM>(&item));
        if (copied < 0)
            return Text();
        if (static_cast<std::size_t>(copied) + 1 < size)
            return TextFromWide(item.pszText, static_cast<std::size_t>(copied));
    }
    return Text();
}

int SelectedRow(const wchar_t* list) {
    if (!IsKind(list, ControlKind::ListView))
        return -1;
    return static_cast<int>(
        SendMessageW(WindowOf(list), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SetPictureFromBytes(const wchar_t* pictureBox, const Bytes& image) {
    if (!IsKind(pictureBox, ControlKind::PictureBox))
        return;
    HWND box = WindowOf(pictureBox);
    SetPictureBoxImage(box, image);
    // The captions and handles above the picture draw over it: bring them up again.
    RECT area;
    GetWindowRect(box, &area);
    for (std::size_t i = 0; i < ControlEntryCount(); ++i) {
        const ControlEntry& entry = ControlEntryAt(i);
        RECT rc, overlap;
        if (!entry.hwnd || !IsCaptionLike(entry.row->kind) || !IsWindowVisible(entry.hwnd))
            continue;
        GetWindowRect(entry.hwnd, &rc);
        if (IntersectRect(&overlap, &rc, &area)) {
            InvalidateRect(entry.hwnd, nullptr, TRUE);
            UpdateWindow(entry.hwnd);
        }
    }
}

int ProgressPosition(const wchar_t* bar) {
    if (!IsKind(bar, ControlKind::ProgressBar))
        return 0;
    return static_cast<int>(SendMessageW(WindowOf(bar), PBM_GETPOS, 0, 0));
}

void SetProgressPosition(const wchar_t* bar, int position) {
    if (IsKind(bar, ControlKind::ProgressBar))
        SendMessageW(WindowOf(bar), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void SetTimerPeriod(const wchar_t* timer, unsigned milliseconds) {
    ControlEntry* entry = ControlEntryByName(timer);
    HWND main = MainWindowHandle();
    if (!entry || entry->row->kind != ControlKind::Timer || !main)
        return;
    const UINT_PTR id = TimerIdOf(*entry);
    if (milliseconds == 0)
        KillTimer(main, id);
    else
        SetTimer(main, id, milliseconds, nullptr);
}

LRESULT SendControlMessage(const wchar_t* name, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = WindowOf(name);
    return hwnd ? SendMessageW(hwnd, message, wParam, lParam) : 0;
}

void RouteEvents(const wchar_t* from, const wchar_t* to) {
    ControlEntry* source = ControlEntryByName(from);
    ControlEntry* target = ControlEntryByName(to);
    if (!source || !target)
        return;
    // Served by the handlers that serve `to`, so that a chain of routes ends at one row.
    source->servedBy = target->servedBy;
}

bool RunOnMainThread(const std::function<void()>& operation) {
    return CallOnMainThread(operation);
}

void SetEventHandlerForTesting(const wchar_t* name, On event, EventHandler handler) {
    EventBinding* bindings = nullptr;
    std::size_t count = 0;
    if (name && std::wcscmp(name, MainWindowData().name) == 0) {
        bindings = MainWindowBindings();
        count = 3;
    } else if (ControlEntry* entry = ControlEntryByName(name)) {
        bindings = entry->handlers;
        count = 2;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (bindings[i].handler && bindings[i].event == event) {
            bindings[i].handler = handler;
            return;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!bindings[i].handler) {
            bindings[i] = EventBinding{event, handler};
            return;
        }
    }
}
