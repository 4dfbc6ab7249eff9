// Menu bars of top-level windows and the toolbar control: picks and clicks reach the window as
// WM_COMMAND, greyed items and disabled buttons cannot be used, and the scripted user says so.
#include "platform/win/Bitmap.h"
#include "platform/win/CWnd.h"
#include "platform/win/Dialog.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/MenuBar.h"
#include "platform/win/MenuResource.h"
#include "platform/win/Resources.h"
#include "platform/win/Toolbar.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

LRESULT frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct RegisterFrame {
    RegisterFrame() { RegisterWindowClass("MenuBarTestFrame", frameProc); }
} registerFrame;

HMENU sampleBar()
{
    const auto parsed = kxwin::parseMenuResource("POPUP \"&File\"\n"
                                                 "    MENUITEM \"&New\", 32811\n"
                                                 "    MENUITEM \"&Print\", 32831, GRAYED\n"
                                                 "END\n"
                                                 "POPUP \"&Tools\", GRAYED\n"
                                                 "    MENUITEM \"Options\", 32845\n"
                                                 "END\n"
                                                 "POPUP \"&Edit\"\n"
                                                 "    MENUITEM \"Cut\", 32842\n"
                                                 "END\n");
    EXPECT_TRUE(parsed) << parsed.message();
    return kxwin::createMenuFromTemplate(*parsed.menu);
}

class MenuBarTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        ASSERT_TRUE(frame.Create("MenuBarTestFrame", "frame", WS_VISIBLE, RECT{0, 0, 300, 200}, nullptr, 0));
        frame.onMessage(WM_COMMAND, [this](WPARAM w, LPARAM l) {
            journal.push_back("command " + std::to_string(LOWORD(w)) + " code " + std::to_string(HIWORD(w)) +
                              (l != 0 ? " from control" : ""));
            return LRESULT{0};
        });
        frame.onMessage(WM_INITMENU, [this](WPARAM, LPARAM) {
            journal.push_back("init bar");
            return LRESULT{0};
        });
        frame.onMessage(WM_INITMENUPOPUP, [this](WPARAM w, LPARAM l) {
            journal.push_back("init popup " + std::to_string(LOWORD(static_cast<std::uintptr_t>(l))));
            if (onInitPopup)
                onInitPopup(reinterpret_cast<HMENU>(w));
            return LRESULT{0};
        });
    }
    CWnd frame;
    std::vector<std::string> journal;
    std::function<void(HMENU)> onInitPopup;
};

} // namespace

TEST_F(MenuBarTest, PicksOpenTheMenuThenSendTheCommand)
{
    ASSERT_TRUE(SetMenu(frame, sampleBar()));
    EXPECT_EQ(kxwin::pickMenuBarCommand(frame, 32842), kxwin::MenuBarPick::Picked);
    EXPECT_EQ(journal, (std::vector<std::string>{"init bar", "init popup 2", "command 32842 code 0"}));

    journal.clear();
    EXPECT_EQ(kxwin::pickMenuBarCommand(frame, 32831), kxwin::MenuBarPick::Disabled);
    EXPECT_EQ(kxwin::pickMenuBarCommand(frame, 32845), kxwin::MenuBarPick::Disabled) << "inside a greyed menu";
    EXPECT_EQ(kxwin::pickMenuBarCommand(frame, 4711), kxwin::MenuBarPick::NoItem);
    EXPECT_EQ(kxwin::pickMenuBarCommand(frame, 0), kxwin::MenuBarPick::NoItem);
    EXPECT_TRUE(journal.empty()) << "refused picks open nothing";
    EXPECT_EQ(kxwin::describeMenuBarPick(kxwin::MenuBarPick::Disabled, frame, 32831),
              "item 32831 \"&Print\" of the menu bar is greyed");

    // The window greys the item as its menu opens (nothing to cut): no command.
    onInitPopup = [](HMENU popup) { EnableMenuItem(popup, 32842, MF_BYCOMMAND | MF_GRAYED); };
    EXPECT_EQ(kxwin::pickMenuBarCommand(frame, 32842), kxwin::MenuBarPick::Disabled);
    EXPECT_EQ(journal, (std::vector<std::string>{"init bar", "init popup 2"}));
    EXPECT_FALSE(kxwin::isMenuBarCommandEnabled(frame, 32842));
    EXPECT_TRUE(kxwin::isMenuBarCommandEnabled(frame, 32811));
}

TEST_F(MenuBarTest, TheWindowOwnsItsBarUntilItIsReplacedOrGone)
{
    const int before = kxwin::liveMenuCount();
    HMENU bar = sampleBar();
    ASSERT_TRUE(SetMenu(frame, bar));
    EXPECT_EQ(GetMenu(frame), bar);
    EXPECT_TRUE(DrawMenuBar(frame));

    CWnd other;
    ASSERT_TRUE(other.Create("MenuBarTestFrame", "other", WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, 0));
    EXPECT_FALSE(SetMenu(other, bar)) << "one bar, one window";
    CWnd child;
    ASSERT_TRUE(child.Create("MenuBarTestFrame", "child", WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, frame, 5));
    HMENU refused = sampleBar();
    EXPECT_FALSE(SetMenu(child, refused));
    EXPECT_EQ(GetMenu(child), nullptr);
    EXPECT_EQ(kxwin::pickMenuBarCommand(other, 32811), kxwin::MenuBarPick::NoMenuBar);

    // Taking the bar away gives it back to the caller; a destroyed window takes its bar along.
    EXPECT_TRUE(SetMenu(frame, nullptr));
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_TRUE(SetMenu(other, bar));
    other.DestroyWindow();
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_EQ(kxwin::pickMenuBarCommand(other, 32811), kxwin::MenuBarPick::NoWindow);
    kxwin::resetWindowLayer();
    EXPECT_TRUE(IsMenu(refused)) << "a refused bar stays the caller's";
    DestroyMenu(refused);
    EXPECT_EQ(kxwin::liveMenuCount(), before);
}

TEST_F(MenuBarTest, TheScriptedUserFailsVisiblyOnMissingOrGreyedItems)
{
    std::vector<std::string> failures;
    kxwin::UserAgent::setFailureHandler([&](const std::string& what) { failures.push_back(what); });
    ASSERT_TRUE(SetMenu(frame, sampleBar()));
    kxwin::DialogDriver driver(frame);
    driver.menuCommand(32811).menuCommand(32831).menuCommand(999);
    EXPECT_EQ(journal.back(), "command 32811 code 0");
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0], "cannot pick from dialog \"frame\": item 32831 \"&Print\" of the menu bar is greyed");
    EXPECT_EQ(failures[1], "cannot pick from dialog \"frame\": no item 999 in the menu bar");
    EXPECT_FALSE(driver.isMenuCommandEnabled(32831));
}

TEST(ToolbarResource, ParsesButtonsSeparatorsAndRejectsBadLinesWithTheirNumber)
{
    const auto ok = kxwin::parseToolbarResource("\xEF\xBB\xBF# editor\r\nTOOLBAR 16, 15\r\n  BUTTON 32811\r\n"
                                                "  SEPARATOR # between\r\n  BUTTON 32842\r\nEND\r\n");
    ASSERT_TRUE(ok.ok) << ok.message();
    EXPECT_EQ(ok.toolbar.buttonWidth, 16);
    EXPECT_EQ(ok.toolbar.buttonHeight, 15);
    EXPECT_EQ(ok.toolbar.items, (std::vector<UINT>{32811, 0, 32842}));

    const std::vector<std::pair<std::string, std::string>> bad = {
        {"", "no TOOLBAR line"},
        {"TOOLBAR 16 15\nEND\n", "line 1: TOOLBAR needs a width and a height from 1 to 256"},
        {"TOOLBAR 0, 15\nEND\n", "line 1: TOOLBAR needs a width and a height from 1 to 256"},
        {"TOOLBAR 16, 15\nBUTTON\nEND\n", "line 2: BUTTON needs a command id from 1 to 65535"},
        {"TOOLBAR 16, 15\nBUTTON 65536\nEND\n", "line 2: BUTTON needs a command id from 1 to 65535"},
        {"TOOLBAR 16, 15\nBUTTON 12abc\nEND\n", "line 2: BUTTON needs a command id from 1 to 65535"},
        {"TOOLBAR 16, 15\nBUTTON 1\n", "line 2: TOOLBAR without its END"},
        {"TOOLBAR 16, 15\nEND\nBUTTON 1\n", "line 3: text after END"},
        {"TOOLBAR 16, 15\nMENUITEM 1\nEND\n", "line 2: unknown line \"MENUITEM 1\""},
        {std::string("TOOLBAR 16, 15\nBUTTON 1\0\nEND\n", 27), "line 2: NUL byte"},
    };
    for (const auto& [text, message] : bad) {
        const auto result = kxwin::parseToolbarResource(text);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.message(), message) << text;
    }
    // Every prefix of a good resource fails with a reason: never a crash, never half a toolbar.
    const std::string good = "TOOLBAR 16, 15\nBUTTON 32811\nSEPARATOR\nEND\n";
    for (std::size_t n = 0; n + 1 < good.size(); ++n)
        EXPECT_FALSE(kxwin::parseToolbarResource(good.substr(0, n)).ok) << n;
}

TEST(ToolbarResource, LoadsFromTheCurrentResourceHandleOnly)
{
    HINSTANCE module = kxwin::resourceModule("toolbar-test");
    const std::string text = "TOOLBAR 16, 15\nBUTTON 7\nEND\n";
    kxwin::addResourceData(module, "TOOLBAR", 128, std::vector<BYTE>(text.begin(), text.end()));
    std::string error;
    EXPECT_FALSE(kxwin::loadToolbarResource(128, &error));
    EXPECT_EQ(error, "TOOLBAR resource 128 does not exist");
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    const auto toolbar = kxwin::loadToolbarResource(128, &error);
    AfxSetResourceHandle(previous);
    ASSERT_TRUE(toolbar) << error;
    EXPECT_EQ(toolbar->items, (std::vector<UINT>{7}));
}

class ToolbarTest : public MenuBarTest {
protected:
    void SetUp() override
    {
        MenuBarTest::SetUp();
        // Three 16 x 15 pictures: red, green, blue on a white (transparent) ground.
        kxwin::BitmapPixels pixels(48, 15, RGB(255, 255, 255));
        for (int i = 0; i < 3; ++i)
            for (int y = 3; y < 12; ++y)
                for (int x = 3; x < 12; ++x)
                    pixels.setPixel(16 * i + x, y, i == 0 ? RGB(255, 0, 0) : i == 1 ? RGB(0, 255, 0) : RGB(0, 0, 255));
        HBITMAP strip = kxwin::createBitmap(pixels);
        kxwin::ToolbarTemplate layout;
        layout.items = {32811, 0, 32842, 32843};
        bar = kxwin::createToolbar(frame, 59392, layout, strip);
        DeleteObject(strip);  // the toolbar keeps its own copy
    }
    RECT buttonRect(UINT command)
    {
        RECT r{};
        SendMessage(bar, TB_GETITEMRECT, static_cast<WPARAM>(SendMessage(bar, TB_COMMANDTOINDEX, command)),
                    reinterpret_cast<LPARAM>(&r));
        return r;
    }
    HWND bar = nullptr;
};

TEST_F(ToolbarTest, ButtonsAreLaidOutAcrossTheParentsTopAndClicksSendTheirCommand)
{
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetWindowRectInParent(bar), (RECT{0, 0, 300, kxwin::toolbarHeight(15)}));
    EXPECT_EQ(SendMessage(bar, TB_BUTTONCOUNT), 4);
    EXPECT_EQ(buttonRect(32811), (RECT{0, 2, 23, 24})) << "16 x 15 pictures make 23 x 22 buttons";
    EXPECT_EQ(buttonRect(32842), (RECT{31, 2, 54, 24})) << "after an 8-pixel separator";
    EXPECT_EQ(SendMessage(bar, TB_COMMANDTOINDEX, 4711), -1);

    kxwin::DialogDriver driver(frame);
    driver.clickToolbarButton(32843);
    EXPECT_EQ(journal, (std::vector<std::string>{"command 32843 code 0 from control"}));

    // A press dragged off its button is no click.
    const RECT r = buttonRect(32811);
    driver.drag(59392, POINT{r.left + 5, r.top + 5}, POINT{r.left + 5, r.bottom + 20});
    EXPECT_EQ(journal.size(), 1u);
}

TEST_F(ToolbarTest, DisabledButtonsAreGreyedAndCannotBeClicked)
{
    std::vector<std::string> failures;
    kxwin::UserAgent::setFailureHandler([&](const std::string& what) { failures.push_back(what); });
    EXPECT_TRUE(SendMessage(bar, TB_ENABLEBUTTON, 32842, FALSE));
    EXPECT_FALSE(SendMessage(bar, TB_ENABLEBUTTON, 4711, FALSE));
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONENABLED, 32842));

    kxwin::DialogDriver driver(frame);
    EXPECT_FALSE(driver.isToolbarButtonEnabled(32842));
    driver.clickToolbarButton(32842).clickToolbarButton(4711);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0], "cannot click toolbar button 32842 of dialog \"frame\": it is disabled");
    EXPECT_EQ(failures[1], "cannot click toolbar button 4711 of dialog \"frame\": there is no such button");
    // A real click on the greyed button does nothing either.
    const RECT r = buttonRect(32842);
    driver.clickAt(59392, POINT{r.left + 5, r.top + 5});
    EXPECT_TRUE(journal.empty());

    // The paint record draws each picture from the strip; the disabled one washed out.
    ASSERT_TRUE(kxwin::paintWindow(bar));
    std::vector<kxwin::DrawOp> pictures;
    for (const auto& op : kxwin::lastPaintRecord(bar))
        if (op.kind == kxwin::DrawOpKind::TransparentBlit)
            pictures.push_back(op);
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].source, (RECT{0, 0, 16, 15}));
    EXPECT_EQ(pictures[2].source, (RECT{32, 0, 48, 15}));
    EXPECT_EQ(pictures[0].transparent, RGB(255, 255, 255));
    ASSERT_NE(pictures[0].pixels, nullptr);
    ASSERT_NE(pictures[1].pixels, nullptr);
    EXPECT_EQ(pictures[0].pixels->colorAt(20, 5), RGB(0, 255, 0)) << "enabled: the strip as given";
    const COLORREF grey = pictures[1].pixels->colorAt(20, 5);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_EQ(pictures[1].pixels->colorAt(0, 0), RGB(255, 255, 255)) << "the ground stays transparent";
}
