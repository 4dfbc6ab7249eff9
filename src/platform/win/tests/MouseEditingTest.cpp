// The mouse as a form designer uses it: clicks and drags at points of a dialog's client area with
// Ctrl and Shift held, who gets the mouse over disabled and transparent controls, and the cursor.
#include "platform/win/Cursor.h"
#include "platform/win/tests/ControlsTestSupport.h"

#include <gtest/gtest.h>

namespace kxwin::testing {
namespace {

class MouseEditing : public ControlsTest {
protected:
    // A dialog that journals the mouse messages it gets itself, with the keys and the point.
    JournalDialog& openRecording()
    {
        JournalDialog& d = open({});
        for (UINT message : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) {
            d.onMessage(message, [&d, message](WPARAM keys, LPARAM at) {
                const char* name = message == WM_LBUTTONDOWN ? "down" : message == WM_MOUSEMOVE ? "move" : "up";
                std::string entry = std::string("dialog ") + name + " " + std::to_string(GET_X_LPARAM(at)) + "," +
                                    std::to_string(GET_Y_LPARAM(at));
                if (keys & MK_CONTROL)
                    entry += " ctrl";
                if (keys & MK_SHIFT)
                    entry += " shift";
                if (GetKeyState(VK_CONTROL) & 0x8000)
                    entry += " ctrl-down";
                if (GetKeyState(VK_SHIFT) & 0x8000)
                    entry += " shift-down";
                d.journal.push_back(entry);
                return 0;
            });
        }
        return d;
    }
    HWND child(JournalDialog& d, const char* cls, int id, DWORD style, RECT r)
    {
        return CreateWindowEx(0, cls, "c" + std::to_string(id), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                              r.width(), r.height(), d.m_hWnd, id);
    }
};

TEST_F(MouseEditing, DisabledControlsAndPlainLabelsHandTheMouseToWhatLiesBeneath)
{
    JournalDialog& d = openRecording();
    HWND edit = child(d, "Edit", 101, 0, {10, 10, 60, 30});
    EnableWindow(edit, FALSE);
    // A plain label over a button: the button beneath it is clicked.
    child(d, "Static", 102, SS_LEFT, {100, 10, 150, 30});
    child(d, "Button", 103, BS_PUSHBUTTON, {100, 10, 150, 30});
    // A label that notifies takes the click itself.
    child(d, "Static", 104, SS_NOTIFY, {200, 10, 250, 30});
    // A plain label over nothing: the dialog gets the click.
    child(d, "Static", 105, SS_LEFT, {10, 100, 60, 120});

    EXPECT_EQ(MouseTargetFromPoint(d.m_hWnd, {20, 20}), d.m_hWnd);
    POINT local{};
    EXPECT_EQ(MouseTargetFromPoint(d.m_hWnd, {110, 15}, &local), GetDlgItem(d.m_hWnd, 103));
    EXPECT_EQ(local.x, 10);
    EXPECT_EQ(local.y, 5);

    DialogDriver drive = driver(d);
    drive.clickPoint({20, 20}).clickPoint({110, 15}).clickPoint({210, 15}).clickPoint({20, 110});
    EXPECT_EQ(d.journal, (std::vector<std::string>{"dialog down 20,20", "dialog up 20,20", "103 BN_CLICKED",
                                                    "104 STN_CLICKED", "dialog down 20,110", "dialog up 20,110"}));
}

TEST_F(MouseEditing, CtrlAndShiftTravelWithEveryMessageOfADragAndAreReleasedAfter)
{
    JournalDialog& d = openRecording();
    driver(d).dragPoint({10, 10}, {30, 50}, /*ctrl=*/true, /*shift=*/false, /*steps=*/2);
    EXPECT_EQ(d.journal, (std::vector<std::string>{"dialog down 10,10 ctrl ctrl-down", "dialog move 20,30 ctrl ctrl-down",
                                                    "dialog move 30,50 ctrl ctrl-down", "dialog up 30,50 ctrl ctrl-down"}));
    d.journal.clear();
    driver(d).clickPoint({5, 6}, /*ctrl=*/false, /*shift=*/true).clickPoint({7, 8});
    EXPECT_EQ(d.journal, (std::vector<std::string>{"dialog down 5,6 shift shift-down", "dialog up 5,6 shift shift-down",
                                                    "dialog down 7,8", "dialog up 7,8"}));
}

TEST_F(MouseEditing, AWindowHoldingTheCaptureGetsTheDragInItsOwnPixels)
{
    JournalDialog& d = openRecording();
    HWND button = child(d, "Button", 103, BS_PUSHBUTTON, {100, 100, 150, 130});
    // The dialog captures on the press (as a designer does to drag); the moves over the button and
    // the release still come to it.
    d.onMessage(WM_LBUTTONDOWN, [&d](WPARAM, LPARAM at) {
        d.journal.push_back("dialog down " + std::to_string(GET_X_LPARAM(at)) + "," + std::to_string(GET_Y_LPARAM(at)));
        SetCapture(d.m_hWnd);
        return 0;
    });
    d.onMessage(WM_LBUTTONUP, [&d](WPARAM, LPARAM at) {
        d.journal.push_back("dialog up " + std::to_string(GET_X_LPARAM(at)) + "," + std::to_string(GET_Y_LPARAM(at)));
        ReleaseCapture();
        return 0;
    });
    driver(d).dragPoint({10, 10}, {110, 110}, false, false, 1);
    EXPECT_EQ(d.journal, (std::vector<std::string>{"dialog down 10,10", "dialog move 110,110", "dialog up 110,110"}));
    EXPECT_EQ(SendMessage(button, BM_GETSTATE) & BST_PUSHED, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseEditing, TheCursorIsWhatTheWindowUnderTheMouseSetsAndTheArrowElsewhere)
{
    JournalDialog& d = openRecording();
    HCURSOR size = LoadCursor(nullptr, IDC_SIZENWSE);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size, LoadCursor(nullptr, IDC_SIZENWSE));
    EXPECT_EQ(kxwin::cursorId(size), IDC_SIZENWSE);
    EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);

    struct Recorder : WindowObserver {
        std::vector<int> shown;
        void windowChanged(HWND, WindowChange) override {}
        void cursorChanged(HCURSOR cursor) override { shown.push_back(kxwin::cursorId(cursor)); }
    } recorder;
    addWindowObserver(&recorder);
    SetCursor(size);
    driver(d).hoverPoint({10, 10});
    removeWindowObserver(&recorder);
    // Nobody chose a cursor: the arrow.
    EXPECT_EQ(kxwin::cursorId(GetCursor()), IDC_ARROW);
    EXPECT_EQ(recorder.shown, (std::vector<int>{IDC_SIZENWSE, IDC_ARROW}));

    std::vector<HWND> asked;
    d.onMessage(WM_SETCURSOR, [&](WPARAM over, LPARAM) -> LRESULT {
        asked.push_back(reinterpret_cast<HWND>(over));
        SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
        return TRUE;
    });
    child(d, "Edit", 101, 0, {50, 50, 100, 70});
    driver(d).hoverPoint({60, 60});
    // The edit asks its parent first, and the parent chose.
    EXPECT_EQ(kxwin::cursorId(GetCursor()), IDC_SIZEALL);
    EXPECT_EQ(asked, std::vector<HWND>{GetDlgItem(d.m_hWnd, 101)});
}

} // namespace
} // namespace kxwin::testing
