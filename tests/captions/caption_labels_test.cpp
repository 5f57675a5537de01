// The captions in the real main window: their editing controls driven with real input, and
// what the screen shows of them over a picture in 图片框1.
#include "captions/caption_labels.h"

#include "../app/window_fixture.h"
#include "../ui/colour_dialog.h"
#include "../ui/pointer_input.h"
#include "../ui/screen_pixels.h"
#include "../ui/test_pattern.h"
#include "text/encodings.h"
#include "ui/caption_label.h"
#include "ui/colour_picker.h"
#include "win/unique_handle.h"

#include <thread>

namespace {

constexpr int kAreaLeft = 232, kAreaTop = 42, kAreaWidth = 280, kAreaHeight = 220;

Text AsText(const wchar_t* wide) {
    return TextFromWide(wide, std::wcslen(wide));
}

void TypeCharacter(wchar_t c) {
    INPUT input[2] = {};
    for (INPUT& i : input) {
        i.type = INPUT_KEYBOARD;
        i.ki.wScan = c;
        i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    PumpMessages(60);
}

// The caption's own controls and the other caption, for the tables of cases.
struct Row {
    const wchar_t* caption;
    const wchar_t* edit;
    const wchar_t* picker;
    const wchar_t* spin;
    const wchar_t* other;
};
const Row kRows[] = {
    {L"透明标签1", L"编辑框1", L"颜色选择器1", L"调节器1", L"透明标签2"},
    {L"透明标签2", L"编辑框2", L"颜色选择器2", L"调节器2", L"透明标签1"},
};

class CaptionsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetPictureFromBytes(L"图片框1", PatternBmp(kAreaWidth, kAreaHeight));
        PumpMessages(100);
    }

    // The picture's pixel at a point of the main window's client area.
    static COLORREF Picture(int x, int y) { return PatternPixel(x - kAreaLeft, y - kAreaTop); }

    Coverage CoverOf(const wchar_t* caption, COLORREF colour) {
        PumpMessages(50);
        return Cover(ClientPixels(main_), PlaceInParent(Control(caption)), colour, Picture);
    }

    void SetEditText(const wchar_t* edit, const wchar_t* text) {
        SetWindowTextW(Control(edit), text); // the edit box reports the change as typing would
        PumpMessages(50);
    }

    void PressArrow(const wchar_t* spin, bool up) {
        RECT rc;
        GetClientRect(Control(spin), &rc);
        ClickInWindow(Control(spin), rc.right / 2, up ? rc.bottom / 4 : rc.bottom * 3 / 4);
    }
};

TEST_F(CaptionsTest, ThePictureIsShownPixelForPixel) {
    // What the other checks compare against: the stripes at their places, outside the captions.
    Pixels shot = ClientPixels(main_);
    for (POINT p : {POINT{240, 50}, POINT{300, 120}, POINT{470, 250}, POINT{511, 261}})
        EXPECT_EQ(shot.At(p.x, p.y), Picture(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(CaptionsTest, TypingChangesOnlyItsOwnCaptionKeystrokeByKeystroke) {
    const wchar_t typed[] = L"中文字";
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << "typing into row of " << row.caption);
        SetFocus(Control(row.edit));
        PumpMessages(50);
        for (size_t n = 1; n <= 3; ++n) {
            TypeCharacter(typed[n - 1]);
            std::wstring prefix(typed, n);
            EXPECT_EQ(CaptionLabelText(Control(row.caption)), AsText(prefix.c_str()));
            EXPECT_EQ(CaptionLabelText(Control(row.other)), Text());
        }
        Coverage shown = CoverOf(row.caption, RGB(0, 0, 0));
        EXPECT_EQ(shown.wrong, 0);
        EXPECT_GT(shown.text, 30);
        // 28 pixels wide: one character per line; 200 wide: one line.
        EXPECT_EQ(shown.Lines(), row.caption == kRows[0].caption ? 3 : 1);
        EXPECT_EQ(CoverOf(row.other, RGB(0, 0, 0)).text, 0);

        // Cleared: nothing of the text is left; the picture shows where it was.
        SendMessageW(Control(row.edit), EM_SETSEL, 0, -1);
        TypeKey(VK_BACK);
        EXPECT_EQ(CaptionLabelText(Control(row.caption)), Text());
        RECT rc = PlaceInParent(Control(row.caption));
        EXPECT_EQ(CoverOf(row.caption, RGB(0, 0, 0)).beneath,
                  (rc.right - rc.left) * (rc.bottom - rc.top));
    }
}

TEST_F(CaptionsTest, ALongTextWrapsBetweenWordsAndTheRestIsNotSeen) {
    SetEditText(L"编辑框2", L"one two three four five six seven eight nine ten eleven");
    Coverage shown = CoverOf(L"透明标签2", RGB(0, 0, 0));
    EXPECT_EQ(shown.wrong, 0);
    // The first line is whole words, so it ends before the right edge; the next line starts
    // below the 24-pixel caption and shows at most its top.
    EXPECT_LT(shown.inkRight, 232 + 200 - 2);
    EXPECT_LE(shown.Lines(), 2);
    Pixels shot = ClientPixels(main_);
    for (int x = 232; x < 432; ++x)
        ASSERT_EQ(shot.At(x, 241), Picture(x, 241)) << "drawn below the caption at x " << x;
    for (int y = 217; y < 241; ++y)
        ASSERT_EQ(shot.At(432, y), Picture(432, y)) << "drawn beside the caption at y " << y;
}

TEST_F(CaptionsTest, APickedColourChangesOnlyItsOwnCaption) {
    SetEditText(L"编辑框1", L"中文");
    SetEditText(L"编辑框2", L"中文");
    const COLORREF colours[] = {RGB(220, 0, 40), RGB(0, 160, 60)};
    for (size_t i = 0; i < 2; ++i) {
        const Row& row = kRows[i];
        SCOPED_TRACE(testing::Message() << "picking for " << row.caption);
        COLORREF otherBefore = CaptionLabelColour(Control(row.other));
        ColourDialogAnswer answer;
        answer.colour = colours[i];
        AnswerNextColourDialog(answer);
        RECT rc;
        GetClientRect(Control(row.picker), &rc);
        ClickInWindow(Control(row.picker), rc.right / 2, rc.bottom / 2);
        PumpUntil([&] { return answer.opened && IsWindowEnabled(main_); });
        PumpMessages(100);
        StopAnsweringColourDialogs();
        ASSERT_TRUE(answer.opened);
        EXPECT_EQ(CaptionLabelColour(Control(row.caption)), colours[i]);
        EXPECT_EQ(CaptionLabelColour(Control(row.other)), otherBefore);
        Coverage shown = CoverOf(row.caption, colours[i]);
        EXPECT_EQ(shown.wrong, 0);
        EXPECT_GT(shown.text, 20);
        EXPECT_EQ(CoverOf(row.other, otherBefore).wrong, 0);
    }
}

TEST_F(CaptionsTest, SpinArrowsStepTheFontSizeOfTheirOwnCaptionByOnePoint) {
    WindowDc screen = WindowDc::Client(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 96);
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << "stepping " << row.caption);
        HWND caption = Control(row.caption), other = Control(row.other);
        EXPECT_EQ(CaptionLabelFontSize(caption), 15);
        LONG otherHeight = CaptionLabelFont(other).lfHeight;

        PressArrow(row.spin, true);
        EXPECT_EQ(CaptionLabelFontSize(caption), 16);
        EXPECT_EQ(CaptionLabelFont(caption).lfHeight, -21);
        EXPECT_EQ(CaptionLabelFont(other).lfHeight, otherHeight);

        // Down to 0 and no further: the height then stays at the font's default.
        for (int i = 0; i < 16; ++i)
            PressArrow(row.spin, false);
        EXPECT_EQ(CaptionLabelFontSize(caption), 0);
        EXPECT_EQ(CaptionLabelFont(caption).lfHeight, 0);
        PressArrow(row.spin, false);
        PressArrow(row.spin, false);
        EXPECT_EQ(CaptionLabelFont(caption).lfHeight, 0);
        PressArrow(row.spin, true);
        EXPECT_EQ(CaptionLabelFontSize(caption), 1);
        EXPECT_EQ(CaptionLabelFont(caption).lfHeight, -1);
        EXPECT_EQ(CaptionLabelFont(other).lfHeight, otherHeight);
        EXPECT_EQ(CaptionLabelFont(caption).lfCharSet, GB2312_CHARSET);
        SetCaptionLabelFontSize(caption, 15);
    }
}

TEST_F(CaptionsTest, TheBoldCheckBoxSetsBothCaptions) {
    HWND box = Control(L"选择框1");
    RECT rc;
    GetClientRect(box, &rc);
    ClickInWindow(box, 6, rc.bottom / 2);
    ASSERT_TRUE(ControlChecked(L"选择框1"));
    EXPECT_EQ(CaptionLabelFont(Control(L"透明标签1")).lfWeight, 700);
    EXPECT_EQ(CaptionLabelFont(Control(L"透明标签2")).lfWeight, 700);
    ClickInWindow(box, 6, rc.bottom / 2);
    ASSERT_FALSE(ControlChecked(L"选择框1"));
    EXPECT_EQ(CaptionLabelFont(Control(L"透明标签1")).lfWeight, 0);
    EXPECT_EQ(CaptionLabelFont(Control(L"透明标签2")).lfWeight, 0);
    EXPECT_FALSE(CaptionLabelBold(Control(L"透明标签1")));
}

TEST_F(CaptionsTest, TheSecondCaptionAndTheHandlesAreRoutedAtCreation) {
    SetEventHandlerForTesting(L"左上", On::LeftPress, EventLog::Record);
    SetEventHandlerForTesting(L"透明标签1", On::LeftPress, EventLog::Record);
    SetEventHandlerForTesting(L"透明标签1", On::MouseMove, EventLog::Record);
    const std::vector<std::wstring> pressed = {L"左上", L"左中", L"左下", L"中中",     L"中下",
                                               L"右上", L"右中", L"右下", L"透明标签2"};
    for (const std::wstring& name : pressed)
        SendMessageW(Control(name.c_str()), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Control(L"透明标签2"), WM_MOUSEMOVE, 0, 0);
    std::vector<std::wstring> expected = pressed;
    expected.push_back(L"透明标签2");
    EXPECT_EQ(EventLog::Names(), expected);
}

// Pressing a caption starts the system's move loop, as selecting it does; the drag comes
// from real mouse input on another thread while the loop runs here.
TEST_F(CaptionsTest, DraggedBySystemMoveLoopTheCaptionRepaintsAtBothPlaces) {
    SetEditText(L"编辑框2", L"中文字");
    // 透明标签1's handler serves both captions.
    SetEventHandlerForTesting(L"透明标签1", On::LeftPress, [](const ControlEvent& e) {
        SendMessageW(ControlHandle(e.control), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    });
    HWND caption = Control(L"透明标签2");
    RECT before = PlaceInParent(caption);
    POINT start{before.left + 30, before.top + 10};
    ClientToScreen(main_, &start);
    const DWORD guiThread = GetCurrentThreadId();
    bool loopSeen = false;
    std::thread drag([&] {
        SendPointerTo(start);
        Sleep(100);
        SendLeftButton(true);
        loopSeen = WaitForMoveSizeLoop(guiThread);
        for (int i = 1; i <= 10; ++i) {
            Sleep(30);
            SendPointerTo(POINT{start.x + 2 * i, start.y - 10 * i});
        }
        Sleep(100);
        SendLeftButton(false);
    });
    PumpUntil([&] { return PlaceInParent(caption).top == before.top - 100; }, 5000);
    drag.join();
    EXPECT_TRUE(loopSeen);
    PumpMessages(200);
    RECT after = PlaceInParent(caption);
    EXPECT_EQ(after.left, before.left + 20);
    EXPECT_EQ(after.top, before.top - 100);

    Pixels shot = ClientPixels(main_);
    Coverage oldPlace = Cover(shot, before, RGB(0, 0, 0), Picture);
    EXPECT_EQ(oldPlace.beneath, 200 * 24) << "text left at the old place";
    Coverage newPlace = CoverOf(L"透明标签2", RGB(0, 0, 0));
    EXPECT_EQ(newPlace.wrong, 0);
    EXPECT_GT(newPlace.text, 30);
}

TEST_F(CaptionsTest, ASnapshotOfTheGroupBoxShowsTheCaptionsAsDrawn) {
    SetEditText(L"编辑框1", L"中文字");
    SetEditText(L"编辑框2", L"Kaprino 中文");
    PumpMessages(100);
    Pixels snapshot = WindowDcPixels(Control(L"分组框1"));
    ASSERT_EQ(snapshot.width, kAreaWidth);
    ASSERT_EQ(snapshot.height, kAreaHeight);
    auto beneath = [](int x, int y) { return PatternPixel(x, y); };
    for (const wchar_t* name : {L"透明标签1", L"透明标签2"}) {
        SCOPED_TRACE(testing::Message() << "caption " << name);
        RECT rc = PlaceInParent(Control(name));
        OffsetRect(&rc, -kAreaLeft, -kAreaTop);
        RECT inside;
        RECT area{0, 0, kAreaWidth, kAreaHeight};
        IntersectRect(&inside, &rc, &area);
        Coverage c = Cover(snapshot, inside, RGB(0, 0, 0), beneath);
        EXPECT_EQ(c.wrong, 0);
        EXPECT_GT(c.text, 30);
    }
}

// Over any control of the window, an empty caption shows exactly what the screen showed
// there without it: each kind of control draws itself into the caption's picture of what
// lies beneath, frame and all.
TEST_F(CaptionsTest, AnEmptyCaptionOverAnyControlShowsExactlyWhatLiesBeneath) {
    SetEditText(L"编辑框1", L"Kaprino 中文");
    AppendRow(L"超级列表框1");
    SetCellText(L"超级列表框1", 0, 1, AsText(L"第一行"));
    SetProgressPosition(L"进度条1", 4);
    // No focus, caret or hot state that could change between the two pictures.
    SetFocus(main_);
    SendPointerTo(POINT{0, 0});
    PumpMessages(100);

    struct Beneath {
        const wchar_t* name;
        bool frameAsShown;
    };
    // Wine's list view draws its themed frame in its own WM_NCPAINT and Wine's WM_PRINT
    // leaves PRF_NONCLIENT undone, so over that frame the caption shows the classic sunken
    // edge instead; its client area must still match.
    const Beneath table[] = {
        {L"选择框1", true},     {L"按钮5", true},   {L"调节器1", true}, {L"按钮4", true},
        {L"颜色选择器1", true}, {L"编辑框1", true}, {L"按钮3", true},   {L"超级列表框1", false},
        {L"进度条1", true},     {L"分组框1", true},
    };
    HWND caption = Control(L"透明标签2");
    RECT client;
    GetClientRect(main_, &client);
    for (const Beneath& b : table) {
        SCOPED_TRACE(testing::Message() << "over " << AsText(b.name));
        HWND control = Control(b.name);
        RECT rc = PlaceInParent(control);
        InflateRect(&rc, 2, 2); // the frame and a little of what surrounds it
        IntersectRect(&rc, &rc, &client);
        ShowWindow(caption, SW_HIDE);
        MoveWindow(caption, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
        PumpMessages(50);
        Pixels without = ClientPixels(main_);
        RaiseControl(L"透明标签2");
        ShowWindow(caption, SW_SHOWNA);
        PumpMessages(50);
        Pixels with = ClientPixels(main_);

        RECT outer = PlaceInParent(control), inner;
        GetClientRect(control, &inner);
        MapWindowPoints(control, main_, reinterpret_cast<POINT*>(&inner), 2);
        int differing = 0;
        POINT first{-1, -1};
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) {
                const POINT p{x, y};
                if (!b.frameAsShown && PtInRect(&outer, p) && !PtInRect(&inner, p))
                    continue;
                if (with.At(x, y) != without.At(x, y) && differing++ == 0)
                    first = p;
            }
        EXPECT_EQ(differing, 0) << "first at " << first.x << "," << first.y;
    }
}

} // namespace
