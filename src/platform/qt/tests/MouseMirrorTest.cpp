// The mouse through Qt widgets as a form designer needs it: Ctrl and Shift reach the layer with the
// mouse messages, a press over a disabled control goes to its parent, and the layer's cursor shows.
#include "QtTestSupport.h"

#include "platform/win/Cursor.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>

#include <string>
#include <vector>

namespace {

using kxqt::testing::QtTest;

struct Press {
    WPARAM keys;
    int x;
    int y;
    bool ctrlDown;
    bool shiftDown;
};

std::vector<Press>& presses()
{
    static std::vector<Press> p;
    return p;
}

// A top-level window that records its presses and shows the move cursor over its whole client area.
LRESULT probeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        presses().push_back({wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                             (GetKeyState(VK_CONTROL) & 0x8000) != 0, (GetKeyState(VK_SHIFT) & 0x8000) != 0});
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
        return TRUE;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

class MouseMirror : public QtTest {
protected:
    void SetUp() override
    {
        QtTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        presses().clear();
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        RegisterWindowClass("MouseProbe", probeProc);
        top = CreateWindowEx(0, "MouseProbe", "probe", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, 0);
        disabled = CreateWindowEx(0, "Button", "off", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 50, 80, 24, top, 10);
        EnableWindow(disabled, FALSE);
        kxqt::syncMirror();
    }
    void TearDown() override
    {
        while (QGuiApplication::overrideCursor() != nullptr)
            QGuiApplication::restoreOverrideCursor();
        QtTest::TearDown();
    }
    HWND top = nullptr;
    HWND disabled = nullptr;
};

TEST_F(MouseMirror, APressOverADisabledControlReachesItsParentWithTheModifiersHeld)
{
    QWidget* button = widget(disabled);
    ASSERT_NE(button, nullptr);
    QTest::mousePress(button, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, QPoint(5, 6));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, QPoint(5, 6));
    ASSERT_EQ(presses().size(), 1u);
    const Press& p = presses()[0];
    EXPECT_EQ(p.keys & (MK_LBUTTON | MK_CONTROL | MK_SHIFT), MK_LBUTTON | MK_CONTROL | MK_SHIFT);
    // In the parent's pixels: the button lies at (40, 50).
    EXPECT_EQ(p.x, 45);
    EXPECT_EQ(p.y, 56);
    EXPECT_TRUE(p.ctrlDown);
    EXPECT_TRUE(p.shiftDown);
    // Released after the message.
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);

    QTest::mouseClick(widget(top), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    ASSERT_EQ(presses().size(), 2u);
    EXPECT_EQ(presses()[1].keys & (MK_CONTROL | MK_SHIFT), 0u);
    EXPECT_EQ(presses()[1].x, 200);
}

TEST_F(MouseMirror, TheLayersCursorOverridesQtsUntilTheArrowComesBack)
{
    QTest::mousePress(widget(top), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(widget(top), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeAllCursor);
    SetCursor(LoadCursor(nullptr, IDC_SIZENS));
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeVerCursor);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A dialog of the layer, followed without a button: hovering over a disabled control asks the dialog
// for the cursor, as the designer needs over its drawn controls.
TEST_F(MouseMirror, HoveringOverADialogLetsItSetTheCursor)
{
    CDialog dialog;
    DialogTemplate t;
    t.id = 4321;
    t.title = "Hover";
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.cx = 200;
    t.cy = 100;
    t.items.push_back({10, "Button", "off", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 0, 10, 10, 50, 14});
    HINSTANCE module = kxwin::resourceModule("mouse-mirror-tests");
    kxwin::addDialogTemplate(module, t);
    HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    ASSERT_TRUE(dialog.Create(4321));
    AfxSetResourceHandle(previous);
    std::vector<HWND> asked;
    dialog.onMessage(WM_SETCURSOR, [&](WPARAM over, LPARAM) -> LRESULT {
        asked.push_back(reinterpret_cast<HWND>(over));
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
    });
    ::ShowWindow(dialog.m_hWnd, SW_SHOW);
    kxqt::syncMirror();
    QWidget* button = widget(GetDlgItem(dialog.m_hWnd, 10));
    ASSERT_NE(button, nullptr);
    // A move without a button, as the platform delivers it (QTest only moves the pointer for one).
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), button->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), dialog.m_hWnd);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
}

} // namespace
