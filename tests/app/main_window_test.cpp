// The main window as designed: its own settings, every control's place, size, text, state
// and stacking order, and the settings that shape the list view and the progress bar.
#include "window_fixture.h"

#include "../ui/gdi_objects.h"

#include "text/encodings.h"
#include "ui/caption_label.h"
#include "ui/picture_box.h"

#include <commctrl.h>

namespace {

struct ExpectedControl {
    const wchar_t* name;
    const wchar_t* windowClass; // null: one of our own classes
    int left, top, width, height;
    const wchar_t* text; // window text; for labels, the label's text
    bool enabled, visible, tabStop;
};

// The design, in stacking order: first row on top. 图片框1 lies in 分组框1.
const ExpectedControl kExpected[] = {
    {L"选择框1", L"Button", 400, 313, 88, 16, L"加粗字体", true, true, true},
    {L"按钮5", L"Button", 448, 276, 56, 32, L"关于", true, true, true},
    {L"调节器2", L"msctls_updown32", 320, 301, 40, 32, L"", true, true, false},
    {L"调节器1", L"msctls_updown32", 320, 267, 40, 32, L"", true, true, false},
    {L"按钮4", L"Button", 376, 276, 64, 32, L"复制图片", true, true, true},
    {L"透明标签2", nullptr, 232, 217, 200, 24, L"", true, true, false},
    {L"透明标签1", nullptr, 472, 64, 28, 128, L"", true, true, false},
    {L"颜色选择器2", nullptr, 21, 305, 80, 24, L"", true, true, true},
    {L"编辑框2", L"Edit", 112, 306, 184, 24, L"", true, true, true},
    {L"编辑框1", L"Edit", 112, 269, 184, 24, L"", true, true, true},
    {L"按钮3", L"Button", 240, 8, 80, 32, L"上一页", false, true, true},
    {L"按钮2", L"Button", 432, 8, 80, 32, L"下一页", false, true, true},
    {L"分组框1", nullptr, 232, 42, 280, 220, L"", true, true, false},
    {L"颜色选择器1", nullptr, 22, 270, 80, 24, L"", true, true, true},
    {L"超级列表框1", L"SysListView32", 2, 0, 224, 264, L"", true, true, true},
    {L"按钮1", L"Button", 336, 8, 80, 32, L"读取表情", true, true, true},
    {L"进度条1", L"msctls_progress32", 0, 337, 512, 16, L"", true, true, false},
    {L"右下", nullptr, 88, 112, 8, 8, L"■", true, false, false},
    {L"右中", nullptr, 88, 96, 8, 8, L"■", true, false, false},
    {L"右上", nullptr, 88, 80, 8, 8, L"■", true, false, false},
    {L"中下", nullptr, 56, 112, 8, 8, L"■", true, false, false},
    {L"中中", nullptr, 56, 80, 8, 8, L"■", true, false, false},
    {L"左下", nullptr, 32, 112, 8, 8, L"■", true, false, false},
    {L"左中", nullptr, 32, 96, 8, 8, L"■", true, false, false},
    {L"左上", nullptr, 32, 80, 8, 8, L"■", true, false, false},
};

bool IsLabel(const wchar_t* name) {
    const ControlRow* row = FindControlRow(name);
    return row && (row->kind == ControlKind::Caption || row->kind == ControlKind::HandleLabel);
}

TEST_F(MainWindowTest, EveryControlHasItsDesignedPlaceSizeTextAndState) {
    for (const ExpectedControl& e : kExpected) {
        SCOPED_TRACE(TextFromWide(e.name, std::wcslen(e.name)));
        HWND hwnd = Control(e.name);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), main_);
        if (e.windowClass) {
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            EXPECT_EQ(_wcsicmp(cls, e.windowClass), 0) << TextFromWide(cls, std::wcslen(cls));
        }
        RECT rc = PlaceInParent(hwnd);
        EXPECT_EQ(rc.left, e.left);
        EXPECT_EQ(rc.top, e.top);
        EXPECT_EQ(rc.right - rc.left, e.width);
        EXPECT_EQ(rc.bottom - rc.top, e.height);
        if (IsLabel(e.name))
            EXPECT_EQ(CaptionLabelText(hwnd), TextFromWide(e.text, std::wcslen(e.text)));
        else
            EXPECT_EQ(WindowText(hwnd), e.text);
        EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, e.enabled);
        EXPECT_EQ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0, e.visible);
        EXPECT_EQ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0, e.tabStop);
        EXPECT_TRUE(ControlCreated(e.name));
    }
}

TEST_F(MainWindowTest, ThePictureBoxIsTheOnlyChildOfTheGroupBoxAndCoversIt) {
    HWND group = Control(L"分组框1");
    HWND picture = Control(L"图片框1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(GetParent(picture), group);
    EXPECT_EQ(GetWindow(group, GW_CHILD), picture);
    EXPECT_EQ(GetWindow(picture, GW_HWNDNEXT), nullptr);
    RECT rc = PlaceInParent(picture);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, 280);
    EXPECT_EQ(rc.bottom, 220);
    EXPECT_EQ(GetWindowLongPtrW(picture, GWL_STYLE) & (WS_BORDER | WS_DLGFRAME), 0);
    EXPECT_EQ(GetWindowLongPtrW(picture, GWL_EXSTYLE) &
                  (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE),
              0);
    EXPECT_FALSE(PictureBoxHasPicture(picture));
    EXPECT_TRUE(ControlCreated(L"图片框1"));
}

TEST_F(MainWindowTest, ControlsAreStackedInTheDesignedOrder) {
    std::vector<std::wstring> expected;
    for (const ExpectedControl& e : kExpected)
        expected.push_back(e.name);
    std::vector<std::wstring> actual;
    for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        actual.push_back(NameOfWindow(child));
    EXPECT_EQ(actual, expected);
}

TEST_F(MainWindowTest, TheMainWindowHasItsTitleSizeAndFixedFrameAndIsCentred) {
    EXPECT_EQ(WindowText(main_), L"KaprinoV3.1     By：Lumis      Qq：4812693071");
    RECT rc;
    GetWindowRect(main_, &rc);
    EXPECT_EQ(rc.right - rc.left, 519);
    EXPECT_EQ(rc.bottom - rc.top, 382);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 519) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - 382) / 2);

    const LONG_PTR style = GetWindowLongPtrW(main_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(main_, GW_OWNER), nullptr); // its own taskbar button

    // No edge or corner of the frame offers sizing.
    const POINT edges[] = {
        {rc.left, (rc.top + rc.bottom) / 2},
        {rc.right - 1, (rc.top + rc.bottom) / 2},
        {(rc.left + rc.right) / 2, rc.bottom - 1},
        {rc.left, rc.top},
        {rc.right - 1, rc.bottom - 1},
        {rc.right - 1, rc.top},
    };
    for (const POINT& pt : edges) {
        const LRESULT hit = SendMessageW(main_, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        EXPECT_FALSE(hit >= HTLEFT && hit <= HTBOTTOMRIGHT) << pt.x << "," << pt.y << " " << hit;
    }
    // A request to size the window through the system menu changes nothing.
    PostMessageW(main_, WM_KEYDOWN, VK_ESCAPE, 0); // ends a size loop, should one start
    SendMessageW(main_, WM_SYSCOMMAND, SC_SIZE, 0);
    PumpMessages(50);
    RECT after;
    GetWindowRect(main_, &after);
    EXPECT_TRUE(EqualRect(&rc, &after));

    // A double click on the title bar does not maximise it.
    SendMessageW(main_, WM_NCLBUTTONDBLCLK, HTCAPTION,
                 MAKELPARAM((rc.left + rc.right) / 2, rc.top + 5));
    PumpMessages(50);
    EXPECT_FALSE(IsZoomed(main_));
    GetWindowRect(main_, &after);
    EXPECT_TRUE(EqualRect(&rc, &after));
}

TEST_F(MainWindowTest, TheBackgroundIsCyanOnScreenAndWhenPrinted) {
    // A client point where no control lies.
    HDC dc = GetDC(main_);
    const COLORREF pixel = GetPixel(dc, 8, 300);
    ReleaseDC(main_, dc);
    EXPECT_EQ(pixel, static_cast<COLORREF>(0x00FFFF00));

    // Children that draw what lies beneath them ask the window to print its background.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 519, 382);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(main_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    EXPECT_EQ(GetPixel(memory, 300, 100), static_cast<COLORREF>(0x00FFFF00));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(MainWindowTest, TheListHasAHiddenIdColumnAndACentredTitleColumn) {
    HWND list = Control(L"超级列表框1");
    const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_FALSE(style & LVS_SHOWSELALWAYS); // no selection drawn without the focus
    EXPECT_FALSE(style & LVS_NOSORTHEADER);  // headers can be pressed
    EXPECT_FALSE(style & LVS_NOCOLUMNHEADER);
    EXPECT_FALSE(style & (LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING));
    EXPECT_TRUE(GetWindowLongPtrW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    const LRESULT extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
    EXPECT_FALSE(extended & (LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT));

    struct Column {
        const wchar_t* title;
        int width;
        int format;
    };
    const Column expected[] = {{L"网址", 0, LVCFMT_LEFT}, {L"标题", 200, LVCFMT_CENTER}};
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    for (int i = 0; i < 2; ++i) {
        wchar_t title[32] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, expected[i].title);
        EXPECT_EQ(column.cx, expected[i].width);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, expected[i].format);
    }
}

TEST_F(MainWindowTest, StartsEmptyIdleAndWithOnlyTheLoadButtonEnabled) {
    EXPECT_EQ(SendMessageW(Control(L"超级列表框1"), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SelectedRow(L"超级列表框1"), -1);
    EXPECT_FALSE(PictureBoxHasPicture(Control(L"图片框1")));
    EXPECT_EQ(CaptionLabelText(Control(L"透明标签1")), "");
    EXPECT_EQ(CaptionLabelText(Control(L"透明标签2")), "");
    EXPECT_EQ(EditContent(L"编辑框1"), "");
    EXPECT_EQ(EditContent(L"编辑框2"), "");
    EXPECT_FALSE(ControlChecked(L"选择框1"));

    HWND bar = Control(L"进度条1");
    EXPECT_EQ(ProgressPosition(L"进度条1"), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 10);
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_SMOOTH);
    EXPECT_FALSE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_VERTICAL);

    EXPECT_TRUE(IsWindowEnabled(Control(L"按钮1")));
    EXPECT_FALSE(IsWindowEnabled(Control(L"按钮2")));
    EXPECT_FALSE(IsWindowEnabled(Control(L"按钮3")));
    for (const wchar_t* handle :
         {L"左上", L"左中", L"左下", L"中中", L"中下", L"右上", L"右中", L"右下"})
        EXPECT_FALSE(ControlVisible(handle));

    // The timer exists but does not tick.
    EXPECT_TRUE(ControlCreated(L"时钟1"));
    SetEventHandlerForTesting(L"时钟1", On::Tick, EventLog::Record);
    PumpMessages(300);
    EXPECT_TRUE(EventLog::Events().empty());
}

TEST_F(MainWindowTest, CaptionsAndHandlesHaveTheirDesignedLook) {
    for (const wchar_t* caption : {L"透明标签1", L"透明标签2"}) {
        HWND hwnd = Control(caption);
        LOGFONTW font = CaptionLabelFont(hwnd);
        EXPECT_EQ(font.lfHeight, -20);
        EXPECT_EQ(font.lfWeight, 400);
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
        EXPECT_EQ(font.lfFaceName[0], L'\0');
        EXPECT_EQ(CaptionLabelColour(hwnd), RGB(0, 0, 0));
    }
    struct HandleCursor {
        const wchar_t* name;
        LPCWSTR cursor;
    };
    const HandleCursor handles[] = {
        {L"左上", IDC_SIZENWSE}, {L"右下", IDC_SIZENWSE}, {L"右上", IDC_SIZENESW},
        {L"左下", IDC_SIZENESW}, {L"左中", IDC_SIZEWE},   {L"右中", IDC_SIZEWE},
        {L"中中", IDC_SIZENS},   {L"中下", IDC_SIZENS},
    };
    for (const HandleCursor& h : handles) {
        SCOPED_TRACE(TextFromWide(h.name, std::wcslen(h.name)));
        HWND hwnd = Control(h.name);
        EXPECT_EQ(CaptionLabelColour(hwnd), RGB(0, 0, 255));
        // The label sets the cursor it was made with when the pointer is over it.
        ShowWindow(hwnd, SW_SHOWNA);
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, h.cursor));
        ShowWindow(hwnd, SW_HIDE);
    }
}

TEST_F(MainWindowTest, OpeningAndClosingTheWindowAgainHoldsNoMoreGdiObjectsOrWindows) {
    DestroyWindow(main_);
    PumpMessages(50);
    const DWORD before = GdiObjectCount();
    for (int i = 0; i < 10; ++i) {
        HWND again = CreateMainWindow(GetModuleHandleW(nullptr));
        ASSERT_NE(again, nullptr);
        SetCaptionLabelText(ControlHandle(L"透明标签2"), "Kaprino");
        SetCaptionLabelFontSize(ControlHandle(L"透明标签2"), 20 + i);
        SetPictureFromBytes(L"图片框1", ToBytes("BM not a picture"));
        PumpMessages(20);
        EXPECT_NE(FindWindowExW(HWND_MESSAGE, nullptr, L"KaprinoMainThreadCalls", nullptr),
                  nullptr);
        DestroyWindow(again);
        PumpMessages(20);
    }
    EXPECT_LE(GdiObjectCount(), before + 3);
    // Nor windows: the window that serves other threads' calls goes with the main window.
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"KaprinoMainThreadCalls", nullptr), nullptr);
    EXPECT_EQ(FindWindowW(L"KaprinoMainWindow", nullptr), nullptr);
}

} // namespace
