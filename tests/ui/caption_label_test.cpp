#include "ui/caption_label.h"

#include "gdi_objects.h"
#include "pointer_input.h"
#include "screen_pixels.h"
#include "test_pattern.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

// "中文字" and "中" in code page 936.
const Text kThreeHanzi = "\xD6\xD0\xCE\xC4\xD7\xD6";
const Text kBlackSquare = "\xA1\xF6"; // "■"

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

LOGFONTW CaptionFont() {
    LOGFONTW font{};
    font.lfHeight = -20;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    return font;
}

CaptionLabelStyle CaptionStyle(const Text& text, COLORREF colour) {
    CaptionLabelStyle style;
    style.text = text;
    style.colour = colour;
    style.font = CaptionFont();
    return style;
}

RECT RectOf(HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class CaptionLabelTest : public ::testing::Test {
protected:
    static constexpr int kAreaX = 232, kAreaY = 42, kAreaW = 280, kAreaH = 220;

    void SetUp() override {
        CreatePictureArea(area, parent.get(), kAreaX, kAreaY, kAreaW, kAreaH);
        PumpMessages();
    }

    HWND AddLabel(int x, int y, int w, int h, const CaptionLabelStyle& style, int id = 100) {
        HWND label = CreateCaptionLabel(parent.get(), id, x, y, w, h, style);
        // A new child window goes to the bottom of its siblings: put it over the picture.
        SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        PumpMessages();
        return label;
    }

    // The picture's pixel at a point of the parent's client area.
    COLORREF Picture(int x, int y, bool alternate = false) const {
        return PatternPixel(x - kAreaX, y - kAreaY, alternate);
    }

    Coverage CoverOf(HWND label, COLORREF colour, bool alternate = false) {
        PumpMessages();
        return Cover(ClientPixels(parent.get()), RectOf(label), colour,
                     [&](int x, int y) { return Picture(x, y, alternate); });
    }

    TestParent parent;
    PictureArea area;
};

TEST_F(CaptionLabelTest, TextIsDrawnInItsColourAndThePictureShowsEverywhereElse) {
    HWND label = AddLabel(250, 80, 200, 24, CaptionStyle("Kap " + kThreeHanzi, kRed));
    Coverage look = CoverOf(label, kRed);
    EXPECT_EQ(look.wrong, 0) << "first at " << look.firstWrong.x << "," << look.firstWrong.y;
    EXPECT_GT(look.text, 40);
    EXPECT_GT(look.beneath, 200 * 24 / 2);
    // Left-aligned from the top edge.
    EXPECT_LT(look.inkLeft, 250 + 4);
    EXPECT_LT(look.inkTop, 80 + 8);
    EXPECT_EQ(look.Lines(), 1);

    // Nothing of the label shows outside its rectangle.
    Pixels shot = ClientPixels(parent.get());
    for (int x = 240; x < 460; ++x) {
        EXPECT_EQ(shot.At(x, 79), Picture(x, 79));
        EXPECT_EQ(shot.At(x, 104), Picture(x, 104));
    }
}

TEST_F(CaptionLabelTest, OverTheWindowBackgroundTheBackgroundShows) {
    HWND label = AddLabel(20, 290, 200, 24, CaptionStyle(kThreeHanzi, kBlue));
    PumpMessages();
    Coverage look = Cover(ClientPixels(parent.get()), RectOf(label), kBlue,
                          [](int, int) { return TestParent::kBackground; });
    EXPECT_EQ(look.wrong, 0);
    EXPECT_GT(look.text, 20);
}

TEST_F(CaptionLabelTest, ChangesLeaveNoTraceOfTheOldText) {
    HWND label = AddLabel(250, 80, 200, 24, CaptionStyle(kThreeHanzi + kThreeHanzi, kRed));
    ASSERT_GT(CoverOf(label, kRed).text, 40);

    SetCaptionLabelText(label, "");
    Coverage cleared = CoverOf(label, kRed);
    EXPECT_EQ(cleared.beneath, 200 * 24) << "text left after clearing";

    SetCaptionLabelText(label, kThreeHanzi);
    SetCaptionLabelColour(label, kBlue);
    Coverage recoloured = CoverOf(label, kBlue);
    EXPECT_EQ(recoloured.wrong, 0) << "red left after the colour changed";
    EXPECT_GT(recoloured.text, 20);

    // A shorter text: the old characters beyond it are gone.
    SetCaptionLabelText(label, kThreeHanzi.substr(0, 2));
    Coverage shorter = CoverOf(label, kBlue);
    EXPECT_EQ(shorter.wrong, 0);
    EXPECT_LT(shorter.inkRight, 250 + 24);

    LOGFONTW big = CaptionFont();
    big.lfHeight = -8;
    SetCaptionLabelText(label, kThreeHanzi);
    SetCaptionLabelFont(label, big);
    Coverage smaller = CoverOf(label, kBlue);
    EXPECT_EQ(smaller.wrong, 0);
    EXPECT_LT(smaller.inkBottom, 80 + 10) << "the larger glyphs left pixels below the new ones";
}

TEST_F(CaptionLabelTest, MovingAndResizingRepaintBothPlaces) {
    HWND label = AddLabel(250, 80, 200, 24, CaptionStyle(kThreeHanzi + kThreeHanzi, kRed));
    RECT before = RectOf(label);
    SetWindowPos(label, nullptr, 260, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    Pixels shot = ClientPixels(parent.get());
    Coverage old = Cover(shot, before, kRed, [&](int x, int y) { return Picture(x, y); });
    EXPECT_EQ(old.beneath, 200 * 24) << "text left at the old place";
    Coverage moved = CoverOf(label, kRed);
    EXPECT_EQ(moved.wrong, 0) << "first at " << moved.firstWrong.x << "," << moved.firstWrong.y;
    EXPECT_GT(moved.text, 40);

    // Narrower: the text wraps into the new width; nothing is left of the old right part.
    RECT wide = RectOf(label);
    SetWindowPos(label, nullptr, 0, 0, 50, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    shot = ClientPixels(parent.get());
    RECT rightPart{wide.left + 50, wide.top, wide.right, wide.bottom};
    EXPECT_EQ(Cover(shot, rightPart, kRed, [&](int x, int y) { return Picture(x, y); }).beneath,
              150 * 24);
    Coverage narrow = CoverOf(label, kRed);
    EXPECT_EQ(narrow.wrong, 0);
    EXPECT_GE(narrow.Lines(), 3);
}

TEST_F(CaptionLabelTest, LinesBreakBetweenWordsAndWhatDoesNotFitIsNotSeen) {
    struct Case {
        const char* what;
        Text text;
        int width, height;
        int lines;
    };
    const Case cases[] = {
        {"vertical caption: one character per line", kThreeHanzi, 28, 128, 3},
        {"horizontal caption: one line", kThreeHanzi, 200, 24, 1},
        {"two words, room for one", "Wide Wide", 60, 100, 2},
        {"the second line is below the bottom edge", "Wide Wide", 60, 20, 1},
        {"one word longer than the width", "WWWWWWWWWW", 30, 100, 1},
    };
    int id = 200;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND label = AddLabel(260, 60, c.width, c.height, CaptionStyle(c.text, kRed), id++);
        Coverage look = CoverOf(label, kRed);
        EXPECT_EQ(look.wrong, 0);
        EXPECT_EQ(look.Lines(), c.lines);
        if (c.lines > 1 || c.width == 28) {
            EXPECT_LE(look.inkRight - look.inkLeft + 1, c.width);
        }
        // Outside the label the picture is untouched: the cut-off part is not drawn.
        Pixels shot = ClientPixels(parent.get());
        for (int y = 60; y < 60 + c.height; ++y)
            ASSERT_EQ(shot.At(260 + c.width, y), Picture(260 + c.width, y));
        for (int x = 260; x < 260 + c.width; ++x)
            ASSERT_EQ(shot.At(x, 60 + c.height), Picture(x, 60 + c.height));
        DestroyWindow(label);
        PumpMessages();
    }
}

TEST_F(CaptionLabelTest, AnAmpersandIsShownAsItIs) {
    // Captions are plain text: "&" is not a mnemonic prefix that hides itself.
    HWND plain = AddLabel(250, 60, 200, 24, CaptionStyle("AB", kRed), 100);
    HWND marked = AddLabel(250, 120, 200, 24, CaptionStyle("A&B", kRed), 101);
    Coverage withoutAmpersand = CoverOf(plain, kRed);
    Coverage withAmpersand = CoverOf(marked, kRed);
    EXPECT_GT(withAmpersand.inkRight - withAmpersand.inkLeft,
              withoutAmpersand.inkRight - withoutAmpersand.inkLeft + 5);
}

TEST_F(CaptionLabelTest, WordLongerThanTheWidthIsCutAtTheRightEdge) {
    HWND label = AddLabel(260, 60, 30, 40, CaptionStyle("WWWWWWWWWW", kRed));
    Coverage look = CoverOf(label, kRed);
    EXPECT_EQ(look.wrong, 0);
    EXPECT_GE(look.inkRight, 260 + 30 - 3) << "the word should run to the edge";
}

TEST_F(CaptionLabelTest, ALabelBeneathAnotherShowsThroughIt) {
    HWND lower = AddLabel(250, 100, 200, 24, CaptionStyle(kThreeHanzi, kBlue), 100);
    HWND upper = AddLabel(240, 90, 220, 60, CaptionStyle("", kRed), 101);
    ASSERT_EQ(GetWindow(upper, GW_HWNDNEXT), lower);
    Pixels shot = ClientPixels(parent.get());
    Coverage throughUpper =
        Cover(shot, RectOf(upper), kBlue, [&](int x, int y) { return Picture(x, y); });
    EXPECT_EQ(throughUpper.wrong, 0);
    EXPECT_GT(throughUpper.text, 20) << "the lower label's text is hidden by the upper label";

    // The lower one changes: the upper one, which composed the old text, follows.
    SetCaptionLabelText(lower, "");
    PumpMessages();
    shot = ClientPixels(parent.get());
    EXPECT_EQ(
        Cover(shot, RectOf(upper), kBlue, [&](int x, int y) { return Picture(x, y); }).beneath,
        220 * 60);

    // The upper one moves away from over the lower one's new text and back.
    SetCaptionLabelText(lower, kThreeHanzi);
    SetCaptionLabelText(upper, "Kap");
    SetWindowPos(upper, nullptr, 240, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    SetWindowPos(upper, nullptr, 240, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    shot = ClientPixels(parent.get());
    Coverage both = Cover(shot, RectOf(lower), kBlue, [&](int x, int y) { return Picture(x, y); });
    EXPECT_GT(both.text, 20);
}

TEST_F(CaptionLabelTest, RaisingDoesNotActivateMoveOrResize) {
    HWND first = AddLabel(250, 100, 200, 24, CaptionStyle(kThreeHanzi, kBlue), 100);
    HWND second = AddLabel(250, 100, 200, 24, CaptionStyle("Kap", kRed), 101);
    ASSERT_EQ(GetWindow(parent.get(), GW_CHILD), second);
    HWND active = GetActiveWindow();
    RECT before = RectOf(first);

    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    PumpMessages();
    EXPECT_EQ(GetWindow(parent.get(), GW_CHILD), first);
    EXPECT_EQ(GetActiveWindow(), active);
    RECT after = RectOf(first);
    EXPECT_TRUE(EqualRect(&before, &after));

    // Now on top, it shows the other label's red text beneath its own blue text.
    Pixels shot = ClientPixels(parent.get());
    int red = 0, blue = 0;
    for (int y = before.top; y < before.bottom; ++y)
        for (int x = before.left; x < before.right; ++x) {
            red += shot.At(x, y) == kRed;
            blue += shot.At(x, y) == kBlue;
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(blue, 20);
}

TEST_F(CaptionLabelTest, ANewPictureShowsThroughAfterRedrawLabelsOver) {
    HWND label = AddLabel(250, 80, 200, 24, CaptionStyle(kThreeHanzi, kRed));
    area.ShowPattern(true);
    RedrawLabelsOver(area.picture);
    Coverage look = CoverOf(label, kRed, true);
    EXPECT_EQ(look.wrong, 0) << "the label still shows the old picture";
    EXPECT_GT(look.text, 20);
}

TEST_F(CaptionLabelTest, HiddenLabelShowsNothingAndShowingItDrawsIt) {
    CaptionLabelStyle style = CaptionStyle(kThreeHanzi, kRed);
    style.visible = false;
    HWND label = AddLabel(250, 80, 200, 24, style);
    EXPECT_FALSE(IsWindowVisible(label));
    EXPECT_EQ(CoverOf(label, kRed).beneath, 200 * 24);
    ShowWindow(label, SW_SHOWNA);
    EXPECT_GT(CoverOf(label, kRed).text, 20);
    ShowWindow(label, SW_HIDE);
    EXPECT_EQ(CoverOf(label, kRed).beneath, 200 * 24);
}

TEST_F(CaptionLabelTest, HandleLabelShowsABlueSquareCentredInOneLine) {
    CaptionLabelStyle style;
    style.text = kBlackSquare;
    style.colour = RGB(0, 0, 255);
    style.useGuiFont = true;
    style.singleLineCentred = true;
    style.cursor = IDC_SIZENWSE;
    HWND handle = AddLabel(300, 120, 8, 8, style);
    Coverage look = CoverOf(handle, RGB(0, 0, 255));
    EXPECT_EQ(look.wrong, 0);
    EXPECT_GT(look.text + look.blended, 4);
    EXPECT_EQ(look.Lines(), 1);
    EXPECT_EQ(CaptionLabelColour(handle), 0x00FF0000u);
}

TEST_F(CaptionLabelTest, FontMembersReadAndWriteWithTheirOwnRules) {
    HWND label = AddLabel(250, 80, 200, 24, CaptionStyle(kThreeHanzi, kRed));
    WindowDc screen = WindowDc::Client(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 96) << "the cases are for 96 dpi";

    EXPECT_EQ(CaptionLabelFontSize(label), 15);
    EXPECT_FALSE(CaptionLabelBold(label));

    LOGFONTW marked = CaptionFont();
    marked.lfItalic = TRUE;
    marked.lfUnderline = TRUE;
    lstrcpyW(marked.lfFaceName, L"WenQuanYi Micro Hei");
    SetCaptionLabelFont(label, marked);

    struct Step {
        const char* what;
        void (*write)(HWND);
        LONG height;
        LONG weight;
    };
    const Step steps[] = {
        {"16 points", [](HWND l) { SetCaptionLabelFontSize(l, 16); }, -21, FW_NORMAL},
        {"bold", [](HWND l) { SetCaptionLabelBold(l, true); }, -21, FW_BOLD},
        {"1 point", [](HWND l) { SetCaptionLabelFontSize(l, 1); }, -1, FW_BOLD},
        {"0 points", [](HWND l) { SetCaptionLabelFontSize(l, 0); }, 0, FW_BOLD},
        {"-1 points", [](HWND l) { SetCaptionLabelFontSize(l, -1); }, 0, FW_BOLD},
        {"not bold", [](HWND l) { SetCaptionLabelBold(l, false); }, 0, 0},
        {"48 points", [](HWND l) { SetCaptionLabelFontSize(l, 48); }, -64, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.write(label);
        LOGFONTW now = CaptionLabelFont(label);
        EXPECT_EQ(now.lfHeight, s.height);
        EXPECT_EQ(now.lfWeight, s.weight);
        // The other members are kept.
        EXPECT_TRUE(now.lfItalic);
        EXPECT_TRUE(now.lfUnderline);
        EXPECT_FALSE(now.lfStrikeOut);
        EXPECT_EQ(now.lfCharSet, GB2312_CHARSET);
        EXPECT_STREQ(now.lfFaceName, L"WenQuanYi Micro Hei");
    }

    LOGFONTW heavy = CaptionFont();
    heavy.lfWeight = 800;
    SetCaptionLabelFont(label, heavy);
    EXPECT_TRUE(CaptionLabelBold(label));
    heavy.lfWeight = 699;
    SetCaptionLabelFont(label, heavy);
    EXPECT_FALSE(CaptionLabelBold(label));
}

// Every change makes fonts, bitmaps and DCs for its repaint: all of them are given back.
TEST_F(CaptionLabelTest, HundredsOfChangesHoldNoMoreGdiObjects) {
    HWND label = AddLabel(250, 80, 200, 40, CaptionStyle(kThreeHanzi, kRed));
    CaptionLabelStyle handleStyle;
    handleStyle.text = kBlackSquare;
    handleStyle.colour = kBlue;
    handleStyle.useGuiFont = true;
    handleStyle.singleLineCentred = true;
    HWND handle = AddLabel(260, 90, 8, 8, handleStyle, 101);
    auto change = [&](int i) {
        SetCaptionLabelText(label, i % 2 ? kThreeHanzi : "Kap " + kThreeHanzi);
        SetCaptionLabelColour(label, RGB(i % 256, 0, 255 - i % 256));
        SetCaptionLabelFontSize(label, 10 + i % 20);
        SetCaptionLabelBold(label, i % 3 == 0);
        LOGFONTW font = CaptionLabelFont(label);
        font.lfItalic = static_cast<BYTE>(i % 2);
        SetCaptionLabelFont(label, font);
        SetWindowPos(label, nullptr, 250 + i % 7, 80 + i % 5, 200 - i % 9, 40, SWP_NOZORDER);
        SetWindowPos(handle, HWND_TOP, 260 + i % 11, 90, 0, 0, SWP_NOSIZE);
        RedrawLabelsOver(area.picture);
    };
    for (int i = 0; i < 20; ++i) // first uses: caches, the font mapper, stock objects
        change(i);
    PumpMessages();

    // The count does see objects being made.
    const DWORD before = GdiObjectCount();
    UniqueBrush probe[20];
    for (UniqueBrush& b : probe)
        b.reset(CreateSolidBrush(kRed));
    EXPECT_GE(GdiObjectCount(), before + 20);
    for (UniqueBrush& b : probe)
        b.reset();

    for (int i = 0; i < 300; ++i) {
        change(i);
        if (i % 50 == 0)
            PumpMessages(0);
    }
    PumpMessages();
    EXPECT_LE(GdiObjectCount(), before + 5);

    // A destroyed label gives back its font too.
    DestroyWindow(label);
    DestroyWindow(handle);
    PumpMessages();
    EXPECT_LT(GdiObjectCount(), before);
}

TEST_F(CaptionLabelTest, BoldAndLargerFontsDrawMoreInk) {
    HWND label = AddLabel(250, 60, 200, 60, CaptionStyle(kThreeHanzi, kRed));
    int normal = CoverOf(label, kRed).text;
    SetCaptionLabelBold(label, true);
    Coverage bold = CoverOf(label, kRed);
    EXPECT_EQ(bold.wrong, 0);
    EXPECT_GT(bold.text, normal);
    SetCaptionLabelBold(label, false);
    SetCaptionLabelFontSize(label, 30);
    Coverage large = CoverOf(label, kRed);
    EXPECT_EQ(large.wrong, 0);
    EXPECT_GT(large.inkBottom - large.inkTop, 30);
}

TEST_F(CaptionLabelTest, PressAndMouseMoveAreReportedToTheParent) {
    HWND label = AddLabel(250, 80, 200, 24, CaptionStyle(kThreeHanzi, kRed), 123);
    std::vector<UINT> codes;
    parent.onNotify = [&](const NMHDR& h) {
        if (h.hwndFrom == label && h.idFrom == 123)
            codes.push_back(h.code);
    };
    SendPointerTo(ClientToScreenPoint(parent.get(), 30, 30));
    PumpMessages();
    codes.clear();
    ClickAt(ClientToScreenPoint(parent.get(), 300, 90));
    PumpMessages();
    EXPECT_NE(std::find(codes.begin(), codes.end(), kCaptionLabelMouseMove), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), kCaptionLabelPressed), codes.end());
}

// The system's move and size loops, started as a caption does when pressed, driven by real
// mouse input from another thread while the loop runs on this one.
TEST_F(CaptionLabelTest, SystemMoveAndSizeLoopsMoveTheLabelAndItRepaints) {
    HWND label = AddLabel(250, 80, 120, 30, CaptionStyle(kThreeHanzi, kRed));
    struct Case {
        WPARAM hitTest;
        POINT press; // client point of the parent pressed to start the loop
        RECT expected;
    };
    const Case cases[] = {
        {HTCAPTION, {300, 95}, {290, 120, 410, 150}},
        {HTBOTTOMRIGHT, {320, 130}, {290, 120, 450, 170}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hitTest);
        RECT before = RectOf(label);
        bool loopReturned = false;
        parent.onNotify = [&](const NMHDR& h) {
            if (h.hwndFrom == label && h.code == kCaptionLabelPressed) {
                SendMessageW(label, WM_NCLBUTTONDOWN, c.hitTest, 0);
                loopReturned = true;
            }
        };
        if (c.hitTest != HTCAPTION) {
            // Sizing starts from a press on something else (a handle): here the parent.
            parent.onNotify = nullptr;
        }
        SendPointerTo(ClientToScreenPoint(parent.get(), c.press.x, c.press.y));
        PumpMessages();
        const DWORD guiThread = GetCurrentThreadId();
        bool loopSeen = false;
        std::thread drag([&] {
            Sleep(100);
            SendLeftButton(true);
            // Moves sent before the loop runs would go to the label instead.
            loopSeen = WaitForMoveSizeLoop(guiThread);
            for (int i = 1; i <= 10; ++i) {
                Sleep(30);
                SendPointerTo(
                    ClientToScreenPoint(parent.get(), c.press.x + 4 * i,
                                        c.press.y + (c.hitTest == HTCAPTION ? 4 : 2) * i));
            }
            Sleep(100);
            SendLeftButton(false);
        });
        if (c.hitTest == HTCAPTION) {
            EXPECT_TRUE(PumpUntil([&] { return loopReturned; }));
        } else {
            // Wait for the press, then run the size loop as a handle's press would.
            PumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; });
            SendMessageW(label, WM_NCLBUTTONDOWN, c.hitTest, 0);
        }
        drag.join();
        EXPECT_TRUE(loopSeen);
        PumpMessages(100);
        RECT after = RectOf(label);
        EXPECT_EQ(after.left, c.expected.left);
        EXPECT_EQ(after.top, c.expected.top);
        EXPECT_EQ(after.right, c.expected.right);
        EXPECT_EQ(after.bottom, c.expected.bottom);

        Pixels shot = ClientPixels(parent.get());
        RECT old{before.left, before.top, before.right, after.top}; // the part left behind
        if (old.bottom > old.top) {
            Coverage left = Cover(shot, old, kRed, [&](int x, int y) { return Picture(x, y); });
            EXPECT_EQ(left.beneath, (old.right - old.left) * (old.bottom - old.top));
        }
        Coverage moved = CoverOf(label, kRed);
        EXPECT_EQ(moved.wrong, 0) << "first at " << moved.firstWrong.x << "," << moved.firstWrong.y;
        EXPECT_GT(moved.text, 20);
    }
}

} // namespace
