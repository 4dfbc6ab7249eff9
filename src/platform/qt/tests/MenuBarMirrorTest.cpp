// Menu bars and toolbars under the Qt backend: a window's menu bar is a QMenuBar above its
// controls, a toolbar shows its painted buttons, and both send their picks back to the layer.
#include "QtTestSupport.h"

#include "platform/qt/MirrorControls.h"
#include "platform/qt/ShowcaseDialog.h"
#include "platform/win/Bitmap.h"
#include "platform/win/MenuBar.h"
#include "platform/win/MenuResource.h"
#include "platform/win/Toolbar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <vector>

namespace {

class MenuBarMirror : public kxqt::testing::QtTest {
protected:
    void SetUp() override
    {
        QtTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(dialog.createModeless());
        ::ShowWindow(dialog.m_hWnd, SW_SHOW);
        dialog.onMessage(WM_COMMAND, [this](WPARAM w, LPARAM) {
            commands.push_back(LOWORD(w));
            return LRESULT{0};
        });
        const auto parsed = kxwin::parseMenuResource("POPUP \"&File\"\n    MENUITEM \"&New\", 32811\n"
                                                     "    MENUITEM SEPARATOR\n    MENUITEM \"Print\", 32831, GRAYED\nEND\n"
                                                     "POPUP \"Edit\"\n    MENUITEM \"Paste\", 32844\nEND\n");
        ASSERT_TRUE(parsed) << parsed.message();
        ASSERT_TRUE(SetMenu(dialog.m_hWnd, kxwin::createMenuFromTemplate(*parsed.menu)));
    }
    QMenuBar* menuBar() { return widget(dialog.m_hWnd)->findChild<QMenuBar*>(); }
    QAction* action(const QString& menu, const QString& text)
    {
        for (QAction* top : menuBar()->actions())
            if (top->text() == menu && top->menu() != nullptr)
                for (QAction* item : top->menu()->actions())
                    if (item->text() == text)
                        return item;
        return nullptr;
    }
    kxqt::ShowcaseDialog dialog;
    std::vector<UINT> commands;
};

} // namespace

TEST_F(MenuBarMirror, TheMenuBarSitsAboveTheControlsAndPicksReachTheWindow)
{
    QWidget* window = widget(dialog.m_hWnd);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(menuBar(), nullptr);
    RECT client;
    GetClientRect(dialog.m_hWnd, client);
    EXPECT_EQ(window->height(), client.height() + kxqt::kMenuBarHeight);
    const HWND child = GetChildWindows(dialog.m_hWnd).back();
    const RECT r = GetWindowRectInParent(child);
    EXPECT_EQ(widget(child)->geometry(), QRect(r.left, r.top + kxqt::kMenuBarHeight, r.width(), r.height()));

    QAction* print = action("&File", "Print");
    ASSERT_NE(print, nullptr);
    EXPECT_FALSE(print->isEnabled()) << "greyed in the layer";
    QAction* create = action("&File", "&New");
    ASSERT_NE(create, nullptr);
    create->trigger();
    EXPECT_EQ(commands, (std::vector<UINT>{32811}));

    // The layer's menu changes; the bar follows.
    EnableMenuItem(GetMenu(dialog.m_hWnd), 32831, MF_BYCOMMAND | MF_ENABLED);
    DrawMenuBar(dialog.m_hWnd);
    kxqt::syncMirror();
    ASSERT_NE(action("&File", "Print"), nullptr);
    EXPECT_TRUE(action("&File", "Print")->isEnabled());

    // Without a bar the controls go back to their places.
    HMENU bar = GetMenu(dialog.m_hWnd);
    SetMenu(dialog.m_hWnd, nullptr);
    DestroyMenu(bar);
    kxqt::syncMirror();
    kxqt::syncMirror();
    EXPECT_EQ(widget(child)->geometry(), QRect(r.left, r.top, r.width(), r.height()));
    EXPECT_EQ(window->height(), client.height());
}

TEST_F(MenuBarMirror, ToolbarButtonsAreDrawnAndClicksReachTheParent)
{
    kxwin::BitmapPixels pixels(32, 15, RGB(192, 192, 192));
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 12; ++x)
            pixels.setPixel(x, y, RGB(200, 0, 0));
    HBITMAP strip = kxwin::createBitmap(pixels);
    kxwin::ToolbarTemplate layout;
    layout.items = {32811, 0, 32844};
    HWND bar = kxwin::createToolbar(dialog.m_hWnd, 0xE800, layout, strip);
    DeleteObject(strip);
    ASSERT_NE(bar, nullptr);
    QWidget* shown = widget(bar);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(kxqt::installedMirror()->kindOf(bar), kxqt::MirrorKind::Painted);
    EXPECT_EQ(shown->geometry().top(), kxqt::kMenuBarHeight) << "below the menu bar";

    RECT button{};
    SendMessage(bar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&button));
    QTest::mouseClick(shown, Qt::LeftButton, Qt::NoModifier,
                      QPoint((button.left + button.right) / 2, (button.top + button.bottom) / 2));
    EXPECT_EQ(commands, (std::vector<UINT>{32844}));
}
