#include "colour_dialog.h"

namespace {

// The colour dialog's red, green and blue edit fields.
constexpr int kRedField = 706, kGreenField = 707, kBlueField = 708;

ColourDialogAnswer* pending = nullptr;
UINT_PTR timer = 0;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[16];
    if (IsWindowVisible(window) && GetClassNameW(window, name, 16) &&
        lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !pending)
        return;
    ColourDialogAnswer& a = *pending;
    StopAnsweringColourDialogs();
    a.opened = true;
    a.shownAtOpen = RGB(GetDlgItemInt(dialog, kRedField, nullptr, FALSE),
                        GetDlgItemInt(dialog, kGreenField, nullptr, FALSE),
                        GetDlgItemInt(dialog, kBlueField, nullptr, FALSE));
    if (a.accept) {
        SetDlgItemInt(dialog, kRedField, GetRValue(a.colour), FALSE);
        SetDlgItemInt(dialog, kGreenField, GetGValue(a.colour), FALSE);
        SetDlgItemInt(dialog, kBlueField, GetBValue(a.colour), FALSE);
    }
    PostMessageW(GetDlgItem(dialog, a.accept ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
}

} // namespace

void AnswerNextColourDialog(ColourDialogAnswer& answer) {
    StopAnsweringColourDialogs();
    pending = &answer;
    timer = SetTimer(nullptr, 0, 50, Answer);
}

void StopAnsweringColourDialogs() {
    if (timer)
        KillTimer(nullptr, timer);
    timer = 0;
    pending = nullptr;
}
