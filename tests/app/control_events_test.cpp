// Events of the controls reach the handlers of their rows, told which control raised them;
// routed events reach the handlers of the control they are routed to.
#include "window_fixture.h"

#include "text/encodings.h"

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

std::wstring Name(const wchar_t* name) {
    return name;
}

struct EventCase {
    const wchar_t* control;
    On event;
    void (*raise)(HWND control);
};

const EventCase kEventCases[] = {
    {L"按钮1", On::Click, [](HWND h) { SendMessageW(h, BM_CLICK, 0, 0); }},
    {L"按钮5", On::Click, [](HWND h) { SendMessageW(h, BM_CLICK, 0, 0); }},
    {L"选择框1", On::Click, [](HWND h) { SendMessageW(h, BM_CLICK, 0, 0); }},
    {L"编辑框1", On::Changed, [](HWND h) { SetWindowTextW(h, L"字"); }},
    {L"编辑框2", On::Changed, [](HWND h) { SetWindowTextW(h, L"x"); }},
    {L"透明标签1", On::LeftPress, [](HWND h) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
    {L"透明标签1", On::MouseMove, [](HWND h) { SendMessageW(h, WM_MOUSEMOVE, 0, 0); }},
    {L"左上", On::LeftPress, [](HWND h) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
    {L"分组框1", On::LeftPress, [](HWND h) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
    {L"图片框1", On::LeftPress, [](HWND h) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
};

TEST_F(MainWindowTest, EachEventReachesItsRowsHandlerWithTheRaisingControl) {
    for (const EventCase& c : kEventCases) {
        SCOPED_TRACE(TextFromWide(c.control, std::wcslen(c.control)));
        EventLog::Events().clear();
        SetEventHandlerForTesting(c.control, c.event, EventLog::Record);
        c.raise(Control(c.control));
        PumpMessages(30);
        EXPECT_EQ(EventLog::Names(), std::vector<std::wstring>{c.control});
    }
}

TEST_F(MainWindowTest, TheTimerTicksWithItsPeriodAndStopsAtZero) {
    SetEventHandlerForTesting(L"时钟1", On::Tick, EventLog::Record);
    SetTimerPeriod(L"时钟1", 20);
    ASSERT_TRUE(PumpUntil([] { return EventLog::Events().size() >= 3; }));
    EXPECT_EQ(EventLog::Names()[0], L"时钟1");
    SetTimerPeriod(L"时钟1", 0);
    PumpMessages(30);
    const std::size_t ticks = EventLog::Events().size();
    PumpMessages(200);
    EXPECT_EQ(EventLog::Events().size(), ticks);
}

TEST_F(MainWindowTest, PressesWithTheMouseReachThePictureAndTheBackground) {
    SetEventHandlerForTesting(L"图片框1", On::LeftPress, EventLog::Record);
    SetEventHandlerForTesting(L"分组框1", On::LeftPress, EventLog::Record);
    SetEventHandlerForTesting(L"主窗口", On::LeftPress, EventLog::Record);

    ClickInWindow(Control(L"图片框1"), 140, 110);
    EXPECT_EQ(EventLog::Names(), std::vector<std::wstring>{L"图片框1"});

    // Unlike a BS_GROUPBOX button, the group box does not pass the mouse through.
    RECT rc;
    GetWindowRect(Control(L"分组框1"), &rc);
    EXPECT_EQ(
        SendMessageW(Control(L"分组框1"), WM_NCHITTEST, 0, MAKELPARAM(rc.left + 1, rc.top + 1)),
        HTCLIENT);

    EventLog::Events().clear();
    ClickInWindow(main_, 8, 300); // where no control lies
    EXPECT_EQ(EventLog::Names(), std::vector<std::wstring>{L"主窗口"});
}

struct KeyCase {
    WORD key;
    std::vector<WORD> held;
    int modifiers;
};

TEST_F(MainWindowTest, KeysPressedInTheWindowCarryTheKeyCodeAndModifiers) {
    SetEventHandlerForTesting(L"主窗口", On::KeyPressed, EventLog::Record);
    const KeyCase cases[] = {
        {VK_LEFT, {}, 0},
        {VK_LEFT, {VK_SHIFT}, 2},
        {VK_RIGHT, {VK_CONTROL}, 1},
        {VK_RIGHT, {VK_MENU}, 4},
        {VK_DOWN, {VK_CONTROL, VK_SHIFT}, 3},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.key);
        SetFocus(main_);
        EventLog::Events().clear();
        TypeKey(c.key, c.held);
        bool seen = false;
        for (const ControlEvent& e : EventLog::Events())
            if (e.argument == c.key) {
                seen = true;
                EXPECT_EQ(e.modifiers, c.modifiers);
                EXPECT_EQ(Name(e.control), L"主窗口");
            }
        EXPECT_TRUE(seen);
    }

    // A key typed into an edit box is the edit box's.
    SetFocus(Control(L"编辑框1"));
    EventLog::Events().clear();
    TypeKey(VK_LEFT);
    EXPECT_TRUE(EventLog::Events().empty());
}

TEST_F(MainWindowTest, EscapeDoesNotCloseTheWindowAndEnterDoesNotMoveTheFocus) {
    const wchar_t* focusTargets[] = {L"主窗口", L"编辑框1", L"按钮1", L"超级列表框1"};
    for (const wchar_t* target : focusTargets) {
        SCOPED_TRACE(TextFromWide(target, std::wcslen(target)));
        HWND hwnd = ControlHandle(target);
        SetFocus(hwnd);
        TypeKey(VK_ESCAPE);
        ASSERT_TRUE(IsWindow(main_));
        EXPECT_TRUE(IsWindowVisible(main_));
        TypeKey(VK_RETURN);
        EXPECT_EQ(GetFocus(), hwnd);
    }
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(MainWindowTest, TabMovesTheFocusThroughTheTabStops) {
    SetFocus(Control(L"选择框1"));
    TypeKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(L"按钮5"));
    TypeKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(L"按钮4")); // the spin controls are no tab stops
    TypeKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetFocus(), Control(L"按钮5"));
}

TEST_F(MainWindowTest, TheListReactsOnlyToALeftClickInsideIt) {
    const wchar_t* list = L"超级列表框1";
    for (const wchar_t* title : {L"甲", L"乙", L"丙"}) {
        const int row = AppendRow(list);
        SetCellText(list, row, 1, TextFromWide(title, 1));
    }
    SetEventHandlerForTesting(list, On::Click, EventLog::Record);
    HWND hwnd = Control(list);
    RECT item{};
    item.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(hwnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));

    ClickInWindow(hwnd, 100, (item.top + item.bottom) / 2);
    EXPECT_EQ(EventLog::Names(), std::vector<std::wstring>{list});
    EXPECT_EQ(SelectedRow(list), 1);

    // Moving the selection with the keyboard is no click.
    EventLog::Events().clear();
    SetFocus(hwnd);
    TypeKey(VK_DOWN);
    EXPECT_EQ(SelectedRow(list), 2);
    EXPECT_TRUE(EventLog::Events().empty());

    // Pressing the title header neither clicks nor sorts.
    HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
    RECT headerItem{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&headerItem)));
    ClickInWindow(header, (headerItem.left + headerItem.right) / 2,
                  (headerItem.top + headerItem.bottom) / 2);
    EXPECT_TRUE(EventLog::Events().empty());
    EXPECT_EQ(CellText(list, 0, 1), TextFromWide(L"甲", 1));
    EXPECT_EQ(CellText(list, 1, 1), TextFromWide(L"乙", 1));
    EXPECT_EQ(CellText(list, 2, 1), TextFromWide(L"丙", 1));
}

TEST_F(MainWindowTest, SpinArrowsReportOneStepEach) {
    SetEventHandlerForTesting(L"调节器1", On::SpinStep, EventLog::Record);
    HWND spin = Control(L"调节器1");
    RECT rc;
    GetClientRect(spin, &rc);
    ClickInWindow(spin, rc.right / 2, rc.bottom / 4);
    ClickInWindow(spin, rc.right / 2, rc.bottom * 3 / 4);
    ASSERT_EQ(EventLog::Events().size(), 2u);
    EXPECT_EQ(Name(EventLog::Events()[0].control), L"调节器1");
    // Which sign each arrow gives is the spin control's own business; one step each way.
    EXPECT_EQ(std::abs(EventLog::Events()[0].argument), 1);
    EXPECT_EQ(EventLog::Events()[1].argument, -EventLog::Events()[0].argument);
}

TEST_F(MainWindowTest, RoutedEventsAreServedByTheTargetAndNameTheRaisingControl) {
    SetEventHandlerForTesting(L"左上", On::LeftPress, EventLog::Record);
    SetEventHandlerForTesting(L"透明标签1", On::LeftPress, EventLog::Record);
    // The window's created event has already routed the other handles and the second
    // caption to these handlers.
    SendMessageW(Control(L"右下"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Control(L"透明标签2"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(EventLog::Names(), (std::vector<std::wstring>{L"右下", L"透明标签2"}));
    EventLog::Events().clear();

    RouteEvents(L"右下", L"左上");
    RouteEvents(L"透明标签2", L"透明标签1");
    SendMessageW(Control(L"右下"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Control(L"透明标签2"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Control(L"左上"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(EventLog::Names(), (std::vector<std::wstring>{L"右下", L"透明标签2", L"左上"}));

    // A route to a routed control ends at the handlers that serve it.
    EventLog::Events().clear();
    SetEventHandlerForTesting(L"按钮1", On::Click, EventLog::Record);
    EnableWindow(Control(L"按钮2"), TRUE);
    EnableWindow(Control(L"按钮3"), TRUE);
    RouteEvents(L"按钮3", L"按钮1");
    RouteEvents(L"按钮2", L"按钮3");
    SendMessageW(Control(L"按钮2"), BM_CLICK, 0, 0);
    SendMessageW(Control(L"按钮3"), BM_CLICK, 0, 0);
    EXPECT_EQ(EventLog::Names(), (std::vector<std::wstring>{L"按钮2", L"按钮3"}));
}

void Throw(const ControlEvent&) {
    throw std::runtime_error("handler failed");
}

TEST_F(MainWindowTest, AFailingHandlerDoesNotTakeTheWindowDown) {
    SetEventHandlerForTesting(L"按钮1", On::Click, Throw);
    SendMessageW(Control(L"按钮1"), BM_CLICK, 0, 0);
    PumpMessages(30);
    EXPECT_TRUE(IsWindow(main_));
    SetEventHandlerForTesting(L"按钮1", On::Click, EventLog::Record);
    SendMessageW(Control(L"按钮1"), BM_CLICK, 0, 0);
    EXPECT_EQ(EventLog::Names(), std::vector<std::wstring>{L"按钮1"});
}

TEST_F(MainWindowTest, TheAboutBoxIsModalAndOwnedByTheWindow) {
    struct Seen {
        std::atomic<bool> found{false};
        std::atomic<bool> mainEnabled{true};
        std::atomic<bool> ownedByMain{false};
        std::wstring text;
    } seen;
    HWND main = main_;
    std::thread watcher([&] {
        for (int i = 0; i < 300 && !seen.found; ++i) {
            HWND box = FindWindowW(L"#32770", L"关于");
            if (box && IsWindowVisible(box)) {
                seen.found = true;
                Sleep(100);
                seen.mainEnabled = IsWindowEnabled(main) != FALSE;
                seen.ownedByMain = GetWindow(box, GW_OWNER) == main;
                wchar_t text[128] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 128);
                seen.text = text;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    });
    // The click runs the box's modal loop and returns once the box has been closed.
    SendMessageW(Control(L"按钮5"), BM_CLICK, 0, 0);
    watcher.join();
    EXPECT_TRUE(seen.found);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_TRUE(seen.ownedByMain);
    EXPECT_NE(seen.text.find(L"KaprinoV3.1"), std::wstring::npos);
    EXPECT_TRUE(IsWindowEnabled(main_));
    EXPECT_EQ(FindWindowW(L"#32770", L"关于"), nullptr);
}

} // namespace
