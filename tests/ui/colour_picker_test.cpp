#include "ui/colour_picker.h"

#include "test_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The colour dialog's red, green and blue edit fields.
constexpr int kRedField = 706, kGreenField = 707, kBlueField = 708;

// What the timer does with the colour dialog once it has opened.
struct DialogPlan {
    bool accept = true;
    COLORREF colour = 0;
    bool opened = false;
    COLORREF shownAtOpen = CLR_INVALID; // the colour the fields held when it opened
};
DialogPlan* plan = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[16];
    if (IsWindowVisible(window) && GetClassNameW(window, name, 16) &&
        lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the dialog's own message loop.
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !plan)
        return;
    KillTimer(nullptr, timer);
    plan->opened = true;
    plan->shownAtOpen = RGB(GetDlgItemInt(dialog, kRedField, nullptr, FALSE),
                            GetDlgItemInt(dialog, kGreenField, nullptr, FALSE),
                            GetDlgItemInt(dialog, kBlueField, nullptr, FALSE));
    if (plan->accept) {
        SetDlgItemInt(dialog, kRedField, GetRValue(plan->colour), FALSE);
        SetDlgItemInt(dialog, kGreenField, GetGValue(plan->colour), FALSE);
        SetDlgItemInt(dialog, kBlueField, GetBValue(plan->colour), FALSE);
    }
    PostMessageW(GetDlgItem(dialog, plan->accept ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
}

class ColourPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        picker = CreateColourPicker(parent.get(), 55, 22, 270, 80, 24);
        parent.onNotify = [this](const NMHDR& h) {
            if (h.hwndFrom == picker && h.idFrom == 55 && h.code == kColourPicked)
                picked.push_back(ColourPickerColour(picker));
        };
        PumpMessages();
    }
    void TearDown() override { plan = nullptr; }

    // Opens the dialog with a real click and lets the timer answer it.
    DialogPlan Pick(bool accept, COLORREF colour) {
        DialogPlan p;
        p.accept = accept;
        p.colour = colour;
        plan = &p;
        SetTimer(nullptr, 0, 50, DriveDialog);
        ClickAt(ClientToScreenPoint(picker, 40, 12));
        PumpUntil([&] { return p.opened && IsWindowEnabled(parent.get()); });
        PumpMessages(100);
        plan = nullptr;
        return p;
    }

    COLORREF SwatchPixel() {
        PumpMessages();
        RECT rc;
        GetWindowRect(picker, &rc);
        MapWindowPoints(HWND_DESKTOP, parent.get(), reinterpret_cast<POINT*>(&rc), 2);
        return CaptureClient(parent.get()).At((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    TestParent parent;
    HWND picker = nullptr;
    std::vector<COLORREF> picked;
};

TEST_F(ColourPickerTest, StartsBlackAndShowsItsColour) {
    EXPECT_EQ(ColourPickerColour(picker), RGB(0, 0, 0));
    EXPECT_EQ(SwatchPixel(), RGB(0, 0, 0));
    EXPECT_TRUE(GetWindowLongW(picker, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(ColourPickerTest, EveryCompletedPickIsReportedAlsoOfTheSameColour) {
    const COLORREF orange = RGB(200, 120, 10);
    DialogPlan first = Pick(true, orange);
    ASSERT_TRUE(first.opened);
    EXPECT_EQ(first.shownAtOpen, RGB(0, 0, 0)) << "the dialog opens on the current colour";
    EXPECT_EQ(picked, std::vector<COLORREF>{orange});
    EXPECT_EQ(ColourPickerColour(picker), orange);
    EXPECT_EQ(SwatchPixel(), orange);

    DialogPlan again = Pick(true, orange);
    EXPECT_EQ(again.shownAtOpen, orange);
    EXPECT_EQ(picked, (std::vector<COLORREF>{orange, orange}));
}

TEST_F(ColourPickerTest, CancelledDialogChangesNothing) {
    Pick(true, RGB(10, 20, 30));
    picked.clear();
    DialogPlan cancelled = Pick(false, 0);
    ASSERT_TRUE(cancelled.opened);
    EXPECT_TRUE(picked.empty());
    EXPECT_EQ(ColourPickerColour(picker), RGB(10, 20, 30));
    EXPECT_EQ(SwatchPixel(), RGB(10, 20, 30));
}

TEST_F(ColourPickerTest, SpaceOpensTheDialogFromTheKeyboard) {
    DialogPlan p;
    p.colour = RGB(0, 128, 255);
    plan = &p;
    SetFocus(picker);
    SetTimer(nullptr, 0, 50, DriveDialog);
    SendMessageW(picker, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(picker, WM_KEYUP, VK_SPACE, 0);
    PumpMessages();
    EXPECT_TRUE(p.opened);
    EXPECT_EQ(picked, std::vector<COLORREF>{RGB(0, 128, 255)});
}

} // namespace
