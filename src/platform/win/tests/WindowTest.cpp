// The window tree, message dispatch, focus, timers, dialogs from templates and the modal loop.
#include "platform/win/Backend.h"
#include "platform/win/CWnd.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& journal()
{
    static std::vector<std::string> j;
    return j;
}

// A plain class that records the messages it gets.
LRESULT recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        journal().push_back("create " + GetWindowText(hwnd));
        return 0;
    case WM_DESTROY:
        journal().push_back("destroy " + GetWindowText(hwnd));
        return 0;
    case WM_SETFOCUS:
        journal().push_back("setfocus " + GetWindowText(hwnd));
        return 0;
    case WM_KILLFOCUS:
        journal().push_back("killfocus " + GetWindowText(hwnd));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterRecording {
    RegisterRecording() { RegisterWindowClass("Recording", recordingProc); }
} registerRecording;

class WindowCore : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        journal().clear();
    }
    HWND make(const std::string& text, HWND parent = nullptr, int id = 0, DWORD style = WS_VISIBLE | WS_TABSTOP)
    {
        return CreateWindowEx(0, "Recording", text, style | (parent ? WS_CHILD : 0), 0, 0, 10, 10, parent, id);
    }
};

TEST_F(WindowCore, DestroyingAParentDestroysChildrenAfterItAndStaleHandlesDoNothing)
{
    HWND top = make("top");
    HWND a = make("a", top, 1);
    make("b", a, 2);
    journal().clear();
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_EQ(journal(), (std::vector<std::string>{"destroy top", "destroy a", "destroy b"}));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(DestroyWindow(a));
    EXPECT_EQ(SendMessage(a, WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(GetWindowText(a), "");
    EXPECT_FALSE(SetWindowText(a, "x"));
    EXPECT_EQ(kxwin::liveWindowCount(), 0);
}

TEST_F(WindowCore, UnknownClassesAndDeadParentsMakeNoWindow)
{
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, 0), nullptr);
    HWND top = make("top");
    DestroyWindow(top);
    EXPECT_EQ(make("orphan", top, 1), nullptr);
}

TEST_F(WindowCore, FocusMovesWithKillBeforeSetAndSkipsDisabledWindows)
{
    HWND top = make("top");
    HWND a = make("a", top, 1);
    HWND b = make("b", top, 2);
    SetFocus(a);
    journal().clear();
    SetFocus(b);
    EXPECT_EQ(journal(), (std::vector<std::string>{"killfocus a", "setfocus b"}));
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), b);
    EXPECT_EQ(GetFocus(), b);
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowCore, GeometryIsRelativeToTheParentAndScreenPointsConvert)
{
    HWND top = CreateWindowEx(0, "Recording", "top", WS_VISIBLE, 100, 50, 400, 300, nullptr, 0);
    HWND child = CreateWindowEx(0, "Recording", "c", WS_CHILD | WS_VISIBLE, 10, 20, 30, 40, top, 5);
    RECT r;
    GetWindowRect(child, r);
    EXPECT_EQ(r, (RECT{110, 70, 140, 110}));
    POINT p{115, 75};
    ScreenToClient(child, p);
    EXPECT_EQ(p, (POINT{5, 5}));
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{15, 25}), child);
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(WindowCore, PostedMessagesWaitForThePumpAndDieWithTheirWindow)
{
    HWND top = make("top");
    HWND gone = make("gone");
    PostMessage(top, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("posted"));
    PostMessage(gone, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("never"));
    DestroyWindow(gone);
    EXPECT_EQ(GetWindowText(top), "top");
    EXPECT_EQ(PumpMessages(), 1);
    EXPECT_EQ(GetWindowText(top), "posted");
    EXPECT_FALSE(PostMessage(gone, WM_NULL));
}

// A C++ window whose handlers log what they see.
class LoggingWnd : public CWnd {
public:
    std::vector<UINT_PTR> timers;
    bool swallowKeys = false;
    int keys = 0;

protected:
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    BOOL PreTranslateMessage(const MSG& msg) override
    {
        if (msg.message == WM_KEYDOWN)
            ++keys;
        return swallowKeys && msg.message == WM_KEYDOWN;
    }
};

TEST_F(WindowCore, TimersFireOnTheVirtualClockInDueOrderAndStopWhenKilled)
{
    kxwin::UserAgent agent;
    LoggingWnd wnd;
    ASSERT_TRUE(wnd.Create("Recording", "w", WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, 0));
    wnd.SetTimer(1, 50);
    wnd.SetTimer(2, 20);
    agent.advanceClock(49);
    EXPECT_EQ(wnd.timers, (std::vector<UINT_PTR>{2, 2}));
    agent.advanceClock(1);
    EXPECT_EQ(wnd.timers, (std::vector<UINT_PTR>{2, 2, 1}));
    wnd.KillTimer(2);
    agent.advanceClock(100);
    EXPECT_EQ(wnd.timers, (std::vector<UINT_PTR>{2, 2, 1, 1, 1}));
    wnd.DestroyWindow();
    EXPECT_EQ(ActiveTimerCount(), 0);
}

// A window that answers the smallest and largest size it may take, and can go away while asked.
class BoundedWnd : public CWnd {
public:
    int asked = 0;
    bool destroyWhenAsked = false;

protected:
    void OnGetMinMaxInfo(MINMAXINFO* info) override
    {
        ++asked;
        info->ptMinTrackSize = POINT{200, 100};
        info->ptMaxTrackSize = POINT{800, 600};
        if (destroyWhenAsked)
            DestroyWindow();
    }
};

TEST_F(WindowCore, ProgramSizingOfATopLevelWindowKeepsToTheSizesItAnswers)
{
    BoundedWnd wnd;
    ASSERT_TRUE(wnd.Create("Recording", "w", WS_VISIBLE, RECT{0, 0, 300, 200}, nullptr, 0));
    MoveWindow(wnd.m_hWnd, 10, 20, 50, 40);
    EXPECT_EQ(GetWindowRectInParent(wnd.m_hWnd), (RECT{10, 20, 210, 120}));
    SetWindowPos(wnd.m_hWnd, nullptr, 0, 0, 5000, 5000, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(GetWindowRectInParent(wnd.m_hWnd), (RECT{10, 20, 810, 620}));
    // A move that leaves the size alone does not ask; a size between the limits is kept.
    const int asked = wnd.asked;
    SetWindowPos(wnd.m_hWnd, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(wnd.asked, asked);
    MoveWindow(wnd.m_hWnd, 30, 40, 400, 300);
    EXPECT_EQ(GetWindowRectInParent(wnd.m_hWnd), (RECT{30, 40, 430, 340}));

    // Only top-level windows are held: a child control takes the size its dialog gives it.
    BoundedWnd child;
    ASSERT_TRUE(child.Create("Recording", "c", WS_VISIBLE | WS_CHILD, RECT{0, 0, 300, 200}, wnd.m_hWnd, 3));
    MoveWindow(child.m_hWnd, 0, 0, 20, 10);
    EXPECT_EQ(GetWindowRectInParent(child.m_hWnd), (RECT{0, 0, 20, 10}));
    EXPECT_EQ(child.asked, 0);

    // A window that goes away while it answers is not sized, and the call says so.
    wnd.destroyWhenAsked = true;
    const HWND handle = wnd.m_hWnd;
    EXPECT_FALSE(MoveWindow(handle, 0, 0, 500, 500));
    EXPECT_FALSE(IsWindow(handle));
}

// A control that looks at its own notifications first and may keep some from its parent.
class SelfNotifyingWnd : public CWnd {
public:
    std::vector<WORD> seen;
    WORD keep = 0;

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        seen.push_back(HIWORD(wParam));
        return HIWORD(wParam) == keep;
    }
};

TEST_F(WindowCore, AControlSeesItsOwnNotificationsBeforeItsParentAndMayKeepThem)
{
    LoggingWnd parent;
    ASSERT_TRUE(parent.Create("Recording", "p", WS_VISIBLE, RECT{0, 0, 300, 200}, nullptr, 0));
    SelfNotifyingWnd control;
    ASSERT_TRUE(control.Create("Recording", "c", WS_VISIBLE | WS_CHILD, RECT{0, 0, 50, 20}, parent.m_hWnd, 7));
    std::vector<WORD> parentHeard;
    parent.onCommandRange(7, 7, 1, [&](int) { parentHeard.push_back(1); });
    parent.onCommandRange(7, 7, 2, [&](int) { parentHeard.push_back(2); });
    control.keep = 2;
    const auto send = [&](HWND to, WORD code, HWND from) {
        SendMessage(to, WM_COMMAND, MAKEWPARAM(7, code), reinterpret_cast<LPARAM>(from));
    };
    send(parent.m_hWnd, 1, control.m_hWnd);
    send(parent.m_hWnd, 2, control.m_hWnd);
    EXPECT_EQ(control.seen, (std::vector<WORD>{1, 2}));
    EXPECT_EQ(parentHeard, (std::vector<WORD>{1})) << "code 2 was kept by the control";

    // A command from a window that is not the parent's child, or from a menu, is not reflected.
    LoggingWnd stranger;
    ASSERT_TRUE(stranger.Create("Recording", "s", WS_VISIBLE, RECT{0, 0, 50, 20}, nullptr, 0));
    send(stranger.m_hWnd, 1, control.m_hWnd);
    send(parent.m_hWnd, 1, nullptr);
    EXPECT_EQ(control.seen.size(), 2u);
}

int g_windowlessTicks = 0;

TEST_F(WindowCore, AWindowlessTimerGetsAFreshIdAndCallsItsProcedure)
{
    kxwin::UserAgent agent;
    g_windowlessTicks = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++g_windowlessTicks; });
    EXPECT_NE(id, 0u);
    agent.advanceClock(120);
    EXPECT_EQ(g_windowlessTicks, 2);
    EXPECT_TRUE(KillTimer(nullptr, id));
    agent.advanceClock(100);
    EXPECT_EQ(g_windowlessTicks, 2);
}

TEST_F(WindowCore, PreTranslateRunsFromTheTargetUpAndCanSwallowTheMessage)
{
    LoggingWnd parent;
    ASSERT_TRUE(parent.Create("Recording", "p", WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0));
    LoggingWnd child;
    ASSERT_TRUE(child.Create("Recording", "c", WS_VISIBLE | WS_CHILD, RECT{0, 0, 10, 10}, parent, 7));
    parent.swallowKeys = true;
    kxwin::sendUserInput(child, WM_KEYDOWN, VK_F3, 0);
    EXPECT_EQ(child.keys, 1);
    EXPECT_EQ(parent.keys, 1);
}

// A dialog from a template with two tab stops and OK/Cancel of the recording class.
DialogTemplate testTemplate()
{
    DialogTemplate t;
    t.id = 4242;
    t.title = "Test dialog";
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.cx = 200;
    t.cy = 100;
    t.items = {
        {10, "Recording", "first", WS_TABSTOP | WS_VISIBLE, 0, 4, 4, 50, 10},
        {11, "Recording", "hidden", WS_TABSTOP, 0, 4, 20, 50, 10},
        {12, "Recording", "second", WS_TABSTOP | WS_VISIBLE, 0, 4, 36, 50, 10},
    };
    return t;
}

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(4242) {}
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        initialised = true;
        return TRUE;
    }
};

class Dialogs : public WindowCore {
protected:
    void SetUp() override
    {
        WindowCore::SetUp();
        module = kxwin::resourceModule("tests");
        kxwin::addDialogTemplate(module, testTemplate());
        previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(previous);
        WindowCore::TearDown();
    }
    HINSTANCE module = nullptr;
    HINSTANCE previous = nullptr;
};

TEST_F(Dialogs, ATemplateOutsideTheCurrentResourcesIsNotFound)
{
    AfxSetResourceHandle(kxwin::resourceModule("host"));
    TestDialog dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.initialised);
}

TEST_F(Dialogs, ModalDialogRunsItsScriptWithFocusOnTheFirstTabStopAndTabSkipsHiddenControls)
{
    kxwin::UserAgent agent;
    std::vector<std::string> seen;
    agent.onDialog(4242, [&](kxwin::DialogDriver& d) {
        seen.push_back(GetWindowText(GetFocus()));
        d.tab();
        seen.push_back(GetWindowText(GetFocus()));
        d.tab();
        seen.push_back(GetWindowText(GetFocus()));
        d.tab(/*back=*/true);
        seen.push_back(GetWindowText(GetFocus()));
        d.pressKey(VK_RETURN);
    });
    TestDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "first", "second"}));
    EXPECT_FALSE(IsWindow(dialog.m_hWnd));
}

TEST_F(Dialogs, EscapeAndTheCloseBoxCancel)
{
    kxwin::UserAgent agent;
    agent.onDialog(4242, [](kxwin::DialogDriver& d) { d.escape(); });
    agent.onDialog(4242, [](kxwin::DialogDriver& d) { d.closeBox(); });
    TestDialog first;
    EXPECT_EQ(first.DoModal(), IDCANCEL);
    TestDialog second;
    EXPECT_EQ(second.DoModal(), IDCANCEL);
}

TEST_F(Dialogs, AnUnexpectedDialogOrAScriptThatLeavesItOpenIsReportedNotHung)
{
    std::vector<std::string> failures;
    kxwin::UserAgent::setFailureHandler([&](const std::string& what) { failures.push_back(what); });
    {
        kxwin::UserAgent agent;
        TestDialog unexpected;
        EXPECT_EQ(unexpected.DoModal(), IDCANCEL);
        agent.onDialog(4242, [](kxwin::DialogDriver&) {});
        TestDialog leftOpen;
        EXPECT_EQ(leftOpen.DoModal(), IDCANCEL);
        agent.answerMessageBox(IDYES);
    }
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_NE(failures[0].find("unexpected dialog 4242 \"Test dialog\""), std::string::npos);
    EXPECT_NE(failures[1].find("still open after its script"), std::string::npos);
    EXPECT_NE(failures[2].find("never used"), std::string::npos);
}

TEST_F(Dialogs, MessageBoxesAreAnsweredInOrderAndRecorded)
{
    kxwin::UserAgent agent;
    agent.answerMessageBox(IDNO, "replace").answerMessageBox(IDYES);
    EXPECT_EQ(MessageBox(nullptr, "Do you want to replace it?", "Save", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Sure?", "Save", MB_YESNO), IDYES);
    ASSERT_EQ(agent.messageBoxes().size(), 2u);
    EXPECT_EQ(agent.messageBoxes()[1].text, "Sure?");
}

TEST_F(Dialogs, DialogUnitsFollowTheFont)
{
    const SIZE base = DialogBaseUnits("MS Shell Dlg", 8);
    EXPECT_EQ(DialogUnitsToPixels(RECT{0, 0, 4, 8}, base), (RECT{0, 0, 6, 13}));
    const SIZE bigger = DialogBaseUnits("MS Shell Dlg", 10);
    EXPECT_GT(DialogUnitsToPixels(RECT{0, 0, 100, 100}, bigger).right, 150);
}

} // namespace
