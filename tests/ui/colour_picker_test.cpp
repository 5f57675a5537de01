#include "ui/colour_picker.h"

#include "colour_dialog.h"
#include "gdi_objects.h"
#include "screen_pixels.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
    void TearDown() override { StopAnsweringColourDialogs(); }

    // Opens the dialog with a real click and lets the timer answer it.
    ColourDialogAnswer Pick(bool accept, COLORREF colour) {
        ColourDialogAnswer a;
        a.accept = accept;
        a.colour = colour;
        AnswerNextColourDialog(a);
        PumpUntil([&] { return GetForegroundWindow() == parent.get(); });
        ClickAt(ClientToScreenPoint(picker, 40, 12));
        PumpUntil([&] { return a.opened && IsWindowEnabled(parent.get()); });
        PumpMessages(100);
        StopAnsweringColourDialogs();
        return a;
    }

    COLORREF SwatchPixel() {
        PumpMessages();
        RECT rc;
        GetWindowRect(picker, &rc);
        MapWindowPoints(HWND_DESKTOP, parent.get(), reinterpret_cast<POINT*>(&rc), 2);
        return ClientPixels(parent.get()).At((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
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
    ColourDialogAnswer first = Pick(true, orange);
    ASSERT_TRUE(first.opened);
    EXPECT_EQ(first.shownAtOpen, RGB(0, 0, 0)) << "the dialog opens on the current colour";
    EXPECT_EQ(picked, std::vector<COLORREF>{orange});
    EXPECT_EQ(ColourPickerColour(picker), orange);
    EXPECT_EQ(SwatchPixel(), orange);

    ColourDialogAnswer again = Pick(true, orange);
    EXPECT_EQ(again.shownAtOpen, orange);
    EXPECT_EQ(picked, (std::vector<COLORREF>{orange, orange}));
}

TEST_F(ColourPickerTest, CancelledDialogChangesNothing) {
    Pick(true, RGB(10, 20, 30));
    picked.clear();
    ColourDialogAnswer cancelled = Pick(false, 0);
    ASSERT_TRUE(cancelled.opened);
    EXPECT_TRUE(picked.empty());
    EXPECT_EQ(ColourPickerColour(picker), RGB(10, 20, 30));
    EXPECT_EQ(SwatchPixel(), RGB(10, 20, 30));
}

TEST_F(ColourPickerTest, SpaceOpensTheDialogFromTheKeyboard) {
    ColourDialogAnswer p;
    p.colour = RGB(0, 128, 255);
    AnswerNextColourDialog(p);
    SetFocus(picker);
    SendMessageW(picker, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(picker, WM_KEYUP, VK_SPACE, 0);
    PumpMessages();
    EXPECT_TRUE(p.opened);
    EXPECT_EQ(picked, std::vector<COLORREF>{RGB(0, 128, 255)});
}

// Asked to print itself (as a see-through label over it asks), the picker draws what the
// screen shows; its repaints give back the brush of the swatch.
TEST_F(ColourPickerTest, PrintsItselfAsShownAndRepaintsHoldNoMoreGdiObjects) {
    Pick(true, RGB(10, 200, 30));
    PumpMessages();
    RECT rc;
    GetClientRect(picker, &rc);
    Pixels shown = ClientPixels(picker);
    WindowDc screen = WindowDc::Client(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom));
    {
        SelectedObject selected(memory.get(), bitmap.get());
        SendMessageW(picker, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()),
                     PRF_ERASEBKGND | PRF_CLIENT);
        int differing = 0;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                differing += GetPixel(memory.get(), x, y) != shown.At(x, y);
        EXPECT_EQ(differing, 0);
    }

    const DWORD before = GdiObjectCount();
    for (int i = 0; i < 300; ++i)
        RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_LE(GdiObjectCount(), before + 2);
}

} // namespace
