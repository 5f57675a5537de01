#include "ui/spin_control.h"

#include "pointer_input.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class SpinControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        spin = CreateSpinControl(parent.get(), 77, 320, 267, 40, 32);
        parent.onNotify = [this](const NMHDR& h) {
            if (h.idFrom == 77 && h.code == UDN_DELTAPOS) {
                steps.push_back(SpinStep(&h));
                deltas.push_back(reinterpret_cast<const NMUPDOWN&>(h).iDelta);
            }
        };
        PumpMessages();
    }

    POINT UpArrow() const { return ClientToScreenPoint(spin, 20, 8); }
    POINT DownArrow() const { return ClientToScreenPoint(spin, 20, 24); }

    TestParent parent;
    HWND spin = nullptr;
    std::vector<int> steps;
    std::vector<int> deltas;
};

TEST_F(SpinControlTest, KeepsItsDesignedSize) {
    RECT rc;
    GetWindowRect(spin, &rc);
    EXPECT_EQ(rc.right - rc.left, 40);
    EXPECT_EQ(rc.bottom - rc.top, 32);
    EXPECT_FALSE(GetWindowLongW(spin, GWL_STYLE) & UDS_HORZ);
}

TEST_F(SpinControlTest, UpArrowReportsOneAndDownArrowMinusOne) {
    ClickAt(UpArrow());
    EXPECT_EQ(steps, std::vector<int>{1});
    steps.clear();
    ClickAt(DownArrow());
    EXPECT_EQ(steps, std::vector<int>{-1});
}

TEST_F(SpinControlTest, NoLimitEverStopsTheReports) {
    // Far more presses than any up-down range's default span, in each direction.
    for (POINT arrow : {UpArrow(), DownArrow(), DownArrow()}) {
        steps.clear();
        POINT inside = arrow;
        ScreenToClient(spin, &inside);
        for (int i = 0; i < 250; ++i) {
            SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
            SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
        }
        int expected = arrow.y == UpArrow().y ? 1 : -1;
        ASSERT_EQ(steps.size(), 250u);
        for (int s : steps)
            ASSERT_EQ(s, expected);
    }
}

TEST_F(SpinControlTest, HoldingAnArrowRepeatsOneReportPerStep) {
    SendPointerTo(UpArrow());
    PumpMessages();
    SendLeftButton(true);
    PumpMessages(2500);
    SendLeftButton(false);
    PumpMessages();
    ASSERT_GT(steps.size(), 5u) << "no auto-repeat";
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i], 1);
        EXPECT_EQ(deltas[i], 1) << "an accelerated step would count as several presses";
    }
}

// Why the control sets a range of its own: with the default range (100 down to 0) the up
// arrow proposes a negative step.
TEST(BareUpDown, DefaultRangeMakesTheUpArrowProposeMinusOne) {
    TestParent parent;
    HWND bare = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 20, 20, 40, 32,
                                parent.get(), reinterpret_cast<HMENU>(5), nullptr, nullptr);
    std::vector<int> deltas;
    parent.onNotify = [&](const NMHDR& h) {
        if (h.code == UDN_DELTAPOS)
            deltas.push_back(reinterpret_cast<const NMUPDOWN&>(h).iDelta);
    };
    SendMessageW(bare, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(bare, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(deltas, std::vector<int>{-1});
}

} // namespace
