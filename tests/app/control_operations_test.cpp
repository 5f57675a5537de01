// The control operations on the real controls of the main window, the picture box with a
// real JPEG, and operations handed to the main thread by other threads.
#include "window_fixture.h"

#include "text/encodings.h"
#include "ui/picture_box.h"

#include <commctrl.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#ifndef KAPRINO_TEST_DATA
#error "KAPRINO_TEST_DATA must name the folder of the test data"
#endif

namespace {

Text T(const wchar_t* wide) {
    return TextFromWide(wide, std::wcslen(wide));
}

Bytes ReadTestFile(const char* name) {
    std::ifstream in(std::string(KAPRINO_TEST_DATA) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct PlaceCase {
    const wchar_t* control;
    void (*write)(const wchar_t* name);
    int left, top, width, height; // expected afterwards
};

// Each case starts from the designed place of its control.
const PlaceCase kPlaceCases[] = {
    {L"透明标签1", [](const wchar_t* n) { MoveControl(n, 10, 20); }, 10, 20, 28, 128},
    {L"透明标签1", [](const wchar_t* n) { SetControlLeft(n, -5); }, -5, 64, 28, 128},
    {L"透明标签1", [](const wchar_t* n) { SetControlTop(n, 300); }, 472, 300, 28, 128},
    {L"透明标签2", [](const wchar_t* n) { SetControlWidth(n, 150); }, 232, 217, 150, 24},
    {L"透明标签2", [](const wchar_t* n) { SetControlHeight(n, 0); }, 232, 217, 200, 0},
    {L"透明标签2", [](const wchar_t* n) { SetControlWidth(n, -1); }, 232, 217, 200, 24},
    {L"透明标签2", [](const wchar_t* n) { SetControlHeight(n, -1); }, 232, 217, 200, 24},
    {L"左上", [](const wchar_t* n) { MoveControl(n, -8, -8); }, -8, -8, 8, 8},
};

TEST_F(MainWindowTest, PlaceAndSizeAreReadAndWrittenInTheParentsCoordinates) {
    for (const PlaceCase& c : kPlaceCases) {
        SCOPED_TRACE(T(c.control));
        const ControlRow* row = FindControlRow(c.control);
        ASSERT_NE(row, nullptr);
        SetWindowPos(Control(c.control), nullptr, row->left, row->top, row->width, row->height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        c.write(c.control);
        EXPECT_EQ(ControlLeft(c.control), c.left);
        EXPECT_EQ(ControlTop(c.control), c.top);
        EXPECT_EQ(ControlWidth(c.control), c.width);
        EXPECT_EQ(ControlHeight(c.control), c.height);
    }
}

TEST_F(MainWindowTest, RaisingPutsAControlOnTopWithoutMovingOrActivatingIt) {
    RaiseControl(L"左上");
    RaiseControl(L"透明标签2");
    EXPECT_EQ(GetWindow(main_, GW_CHILD), Control(L"透明标签2"));
    EXPECT_EQ(GetWindow(Control(L"透明标签2"), GW_HWNDNEXT), Control(L"左上"));
    EXPECT_EQ(ControlLeft(L"透明标签2"), 232);
    EXPECT_EQ(ControlWidth(L"透明标签2"), 200);
    EXPECT_EQ(GetActiveWindow(), main_);
}

TEST_F(MainWindowTest, VisibilityEnabledStateAndCheckedStateFollowTheirWrites) {
    SetControlVisible(L"左上", true);
    EXPECT_TRUE(ControlVisible(L"左上"));
    EXPECT_TRUE(IsWindowVisible(Control(L"左上")));
    SetControlVisible(L"左上", false);
    EXPECT_FALSE(ControlVisible(L"左上"));

    SetControlDisabled(L"按钮2", false);
    EXPECT_TRUE(IsWindowEnabled(Control(L"按钮2")));
    SetControlDisabled(L"按钮2", true);
    EXPECT_FALSE(IsWindowEnabled(Control(L"按钮2")));

    SendMessageW(Control(L"选择框1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(ControlChecked(L"选择框1"));
    SendMessageW(Control(L"选择框1"), BM_CLICK, 0, 0);
    EXPECT_FALSE(ControlChecked(L"选择框1"));
}

TEST_F(MainWindowTest, EditContentComesBackInCodePage936WithoutALengthLimit) {
    SetWindowTextW(Control(L"编辑框1"), L"你好 world");
    EXPECT_EQ(EditContent(L"编辑框1"), T(L"你好 world"));
    EXPECT_EQ(EditContent(L"编辑框1"), "\xC4\xE3\xBA\xC3 world"); // 你好
    EXPECT_GT(SendMessageW(Control(L"编辑框2"), EM_GETLIMITTEXT, 0, 0), 32767);
    std::wstring longText(40000, L'字');
    SetWindowTextW(Control(L"编辑框2"), longText.c_str());
    EXPECT_EQ(EditContent(L"编辑框2").size(), 80000u);
}

TEST_F(MainWindowTest, ListRowsAreAppendedFilledReadSelectedAndDeleted) {
    const wchar_t* list = L"超级列表框1";
    const Text longTitle(3000, 'x');
    struct Row {
        Text id, title;
    };
    const Row rows[] = {{"101", T(L"熊猫头")}, {"2", longTitle}, {"", T(L"空的网址")}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(AppendRow(list), i);
        SetCellText(list, i, 0, rows[i].id);
        SetCellText(list, i, 1, rows[i].title);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CellText(list, i, 0), rows[i].id); // the width-0 column still holds it
        EXPECT_EQ(CellText(list, i, 1), rows[i].title);
    }
    EXPECT_EQ(CellText(list, 7, 1), "");
    EXPECT_EQ(SelectedRow(list), -1);

    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageW(Control(list), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(SelectedRow(list), 2);

    DeleteAllRows(list);
    EXPECT_EQ(SendMessageW(Control(list), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SelectedRow(list), -1);
    EXPECT_EQ(AppendRow(list), 0);
}

TEST_F(MainWindowTest, ProgressPositionAndMessagesReachTheControls) {
    SetProgressPosition(L"进度条1", 7);
    EXPECT_EQ(ProgressPosition(L"进度条1"), 7);
    EXPECT_EQ(SendMessageW(Control(L"进度条1"), PBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SendControlMessage(L"按钮1", WM_GETTEXTLENGTH, 0, 0), 4);
}

TEST_F(MainWindowTest, UnknownNamesAreNoControls) {
    const wchar_t* missing = L"无此控件";
    EXPECT_EQ(ControlHandle(missing), nullptr);
    EXPECT_FALSE(ControlCreated(missing));
    EXPECT_FALSE(ControlCreated(nullptr));
    MoveControl(missing, 1, 1);
    RaiseControl(missing);
    RouteEvents(missing, L"左上");
    EXPECT_EQ(SendControlMessage(missing, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(AppendRow(L"按钮1"), -1); // not a list
    EXPECT_EQ(EditContent(missing), "");
}

// --- The picture box ----------------------------------------------------------------------

bool Near(COLORREF a, COLORREF b) {
    auto close = [](int x, int y) { return x - y < 40 && y - x < 40; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
           close(GetBValue(a), GetBValue(b));
}

COLORREF PixelOf(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return pixel;
}

TEST_F(MainWindowTest, APictureFromJpegBytesIsStretchedOverTheWholeBox) {
    // 16 x 16 pixels: the left half red, the right half blue.
    const Bytes jpeg = ReadTestFile("halves.jpg");
    ASSERT_FALSE(jpeg.empty());
    SetPictureFromBytes(L"图片框1", jpeg);
    HWND box = Control(L"图片框1");
    EXPECT_TRUE(PictureBoxHasPicture(box));
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    const Probe probes[] = {
        {2, 2, RGB(255, 0, 0)},     {120, 110, RGB(255, 0, 0)}, {2, 217, RGB(255, 0, 0)},
        {160, 110, RGB(0, 0, 255)}, {277, 2, RGB(0, 0, 255)},   {277, 217, RGB(0, 0, 255)},
    };
    for (const Probe& p : probes) {
        const COLORREF pixel = PixelOf(box, p.x, p.y);
        EXPECT_TRUE(Near(pixel, p.colour)) << p.x << "," << p.y << " is " << std::hex << pixel;
    }

    // Printed into another DC, as a see-through caption above it asks for it.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 280, 220);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    EXPECT_TRUE(Near(GetPixel(memory, 2, 2), RGB(255, 0, 0)));
    EXPECT_TRUE(Near(GetPixel(memory, 277, 217), RGB(0, 0, 255)));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    // Empty bytes take the picture away again.
    SetPictureFromBytes(L"图片框1", Bytes());
    EXPECT_FALSE(PictureBoxHasPicture(box));
    EXPECT_EQ(PixelOf(box, 140, 110), GetSysColor(COLOR_3DFACE));
}

TEST_F(MainWindowTest, BytesThatAreNoPictureLeaveOnlyTheBackground) {
    const Bytes jpeg = ReadTestFile("halves.jpg");
    const Bytes cases[] = {
        ToBytes("not a picture at all"),
        Bytes(jpeg.begin(), jpeg.begin() + 4), // the start of a JPEG, nothing more
        Bytes(1, 0),
    };
    HWND box = Control(L"图片框1");
    for (const Bytes& bytes : cases) {
        SetPictureFromBytes(L"图片框1", jpeg);
        SetPictureFromBytes(L"图片框1", bytes);
        EXPECT_FALSE(PictureBoxHasPicture(box)) << bytes.size();
        for (POINT pt : {POINT{1, 1}, POINT{140, 110}, POINT{278, 218}})
            EXPECT_EQ(PixelOf(box, pt.x, pt.y), GetSysColor(COLOR_3DFACE));
    }
}

// --- Operations handed to the main thread ---------------------------------------------------

TEST_F(MainWindowTest, AnotherThreadsOperationRunsOnTheMainThreadAndTheCallerWaits) {
    const DWORD mainThread = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    std::atomic<int> positionSeenAfterReturn{-1};
    std::atomic<bool> done{false};
    std::atomic<bool> answered{false};
    std::thread loader([&] {
        answered = RunOnMainThread([&] {
            ranOn = GetCurrentThreadId();
            Sleep(100); // the caller must still be waiting afterwards
            SetProgressPosition(L"进度条1", 6);
        });
        // Read through the main thread too: the write above is already done.
        RunOnMainThread([&] { positionSeenAfterReturn = ProgressPosition(L"进度条1"); });
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    loader.join();
    EXPECT_EQ(ranOn.load(), mainThread);
    EXPECT_EQ(positionSeenAfterReturn.load(), 6);
    EXPECT_TRUE(answered);
}

TEST_F(MainWindowTest, OnTheMainThreadAnOperationRunsAtOnce) {
    bool ran = false;
    RunOnMainThread([&] {
        // Nested: still no waiting on anyone.
        RunOnMainThread([&] { ran = true; });
    });
    EXPECT_TRUE(ran);
}

TEST_F(MainWindowTest, OperationsAreServedWhileTheAboutBoxIsOpen) {
    std::atomic<bool> served{false};
    std::thread loader([&] {
        HWND box = nullptr;
        for (int i = 0; i < 300 && !box; ++i, Sleep(20))
            box = FindWindowW(L"#32770", L"关于");
        RunOnMainThread([&] {
            SetProgressPosition(L"进度条1", 3);
            served = true;
        });
        if (box)
            PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(Control(L"按钮5"), BM_CLICK, 0, 0); // returns when the box is closed
    loader.join();
    EXPECT_TRUE(served);
    EXPECT_EQ(ProgressPosition(L"进度条1"), 3);
}

TEST_F(MainWindowTest, AFailingOperationFailsInTheCallerNotOnTheMainThread) {
    std::atomic<bool> caught{false}, done{false};
    std::thread loader([&] {
        try {
            RunOnMainThread([] { throw std::runtime_error("operation failed"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    loader.join();
    EXPECT_TRUE(caught);
    EXPECT_TRUE(IsWindow(main_));
}

TEST_F(MainWindowTest, AfterTheWindowHasClosedAHandedOverOperationIsDropped) {
    DestroyWindow(main_);
    std::atomic<bool> ran{false}, done{false}, answered{true};
    std::thread loader([&] {
        answered = RunOnMainThread([&] { ran = true; });
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    loader.join();
    EXPECT_FALSE(ran);
    EXPECT_FALSE(answered); // the loader can tell that the window has gone
}

// A loader that has handed over its operation while the main thread was busy, and the
// window then closes before the main thread takes it: the loader is let go, the operation
// does not run, and no control is touched after the window has gone.
TEST_F(MainWindowTest, AnOperationHandedOverWhileTheWindowClosesIsDroppedAndTheCallerLetGo) {
    std::atomic<bool> ran{false}, waiting{false}, done{false}, answered{true};
    std::thread loader([&] {
        waiting = true;
        answered = RunOnMainThread([&] {
            ran = true;
            SetProgressPosition(L"进度条1", 5);
        });
        done = true;
    });
    // Busy, not taking messages, while the loader's call arrives.
    while (!waiting)
        Sleep(5);
    Sleep(200);
    SendMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main_));
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 5000));
    loader.join();
    EXPECT_FALSE(ran);
    EXPECT_FALSE(answered);
}

} // namespace
