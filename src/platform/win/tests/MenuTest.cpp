// Menus: building and changing items, pop-up menus through the scripted user, and the MENU
// resource format.
#include "platform/win/CWnd.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuResource.h"
#include "platform/win/Resources.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

UINT_PTR asId(HMENU menu)
{
    return reinterpret_cast<UINT_PTR>(menu);
}

// File (Open, separator, Recent > a b), Edit greyed item.
HMENU sampleMenu()
{
    HMENU recent = CreatePopupMenu();
    AppendMenu(recent, MF_STRING, 201, "a.txt");
    AppendMenu(recent, MF_STRING | MF_CHECKED, 202, "b.txt");
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 101, "&Open...\tCtrl+O");
    AppendMenu(file, MF_SEPARATOR, 0, nullptr);
    AppendMenu(file, MF_POPUP, asId(recent), "Recent");
    AppendMenu(file, MF_STRING | MF_GRAYED, 102, "&Print");
    return file;
}

} // namespace

TEST(MenuBuild, ItemsAreCountedIdentifiedAndDescribed)
{
    const int before = kxwin::liveMenuCount();
    HMENU file = sampleMenu();
    EXPECT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuItemID(file, 0), 101u);
    EXPECT_EQ(GetMenuItemID(file, 1), 0u) << "a separator";
    EXPECT_EQ(GetMenuItemID(file, 2), kNoMenuItem) << "a sub-menu";
    EXPECT_EQ(GetMenuItemID(file, 9), kNoMenuItem);
    HMENU recent = GetSubMenu(file, 2);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(GetSubMenu(file, 0), nullptr);
    EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION), (2u << 8) | MF_POPUP);
    EXPECT_EQ(GetMenuState(file, 202, MF_BYCOMMAND), MF_CHECKED) << "found inside the sub-menu";
    EXPECT_EQ(GetMenuState(file, 999, MF_BYCOMMAND), kNoMenuItem);

    char buffer[6];
    EXPECT_EQ(GetMenuString(file, 101, buffer, sizeof buffer, MF_BYCOMMAND), 5);
    EXPECT_STREQ(buffer, "&Open");
    EXPECT_EQ(GetMenuString(file, 101, nullptr, 0, MF_BYCOMMAND), 15);
    EXPECT_EQ(kxwin::menuString(file, 3, MF_BYPOSITION), "&Print");

    EXPECT_EQ(kxwin::describeMenu(file),
              "MENUITEM \"&Open...\\tCtrl+O\", 101\n"
              "MENUITEM SEPARATOR\n"
              "POPUP \"Recent\"\n"
              "    MENUITEM \"a.txt\", 201\n"
              "    MENUITEM \"b.txt\", 202, CHECKED\n"
              "END\n"
              "MENUITEM \"&Print\", 102, GRAYED\n");
    EXPECT_EQ(kxwin::liveMenuCount(), before + 2);
    EXPECT_TRUE(DestroyMenu(file));
    EXPECT_FALSE(IsMenu(recent)) << "sub-menus go with their menu";
    EXPECT_EQ(kxwin::liveMenuCount(), before);
}

TEST(MenuBuild, ChecksGreysAndRadioGroupsReportThePreviousState)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (UINT id = 1; id <= 4; ++id)
        menu.AppendMenu(MF_STRING, id, "item " + std::to_string(id));
    EXPECT_EQ(menu.CheckMenuItem(2, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(menu.CheckMenuItem(2, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.CheckMenuItem(9, MF_CHECKED), kNoMenuItem);
    EXPECT_EQ(menu.EnableMenuItem(3, MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(menu.EnableMenuItem(3, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(menu.EnableMenuItem(0, MF_BYPOSITION | MF_DISABLED), MF_ENABLED);
    EXPECT_EQ(menu.GetMenuState(1, MF_BYCOMMAND), MF_DISABLED);
    EXPECT_EQ(EnableMenuItem(menu, 9, MF_GRAYED), -1);

    EXPECT_TRUE(menu.CheckMenuRadioItem(1, 4, 3, MF_BYCOMMAND));
    EXPECT_EQ(menu.GetMenuState(3, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    menu.CheckMenuItem(1, MF_CHECKED);
    EXPECT_TRUE(menu.CheckMenuRadioItem(0, 1, 1, MF_BYPOSITION));
    EXPECT_EQ(menu.GetMenuState(1, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(menu.GetMenuState(2, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_EQ(menu.GetMenuState(3, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK) << "outside the range";
    EXPECT_FALSE(menu.CheckMenuRadioItem(0, 2, 3, MF_BYPOSITION)) << "the checked item must be in the range";
    EXPECT_FALSE(menu.CheckMenuRadioItem(1, 99, 2, MF_BYCOMMAND));
}

TEST(MenuBuild, InsertModifyRemoveAndDeleteKeepSubMenusStraight)
{
    const int before = kxwin::liveMenuCount();
    HMENU file = sampleMenu();
    HMENU recent = GetSubMenu(file, 2);
    EXPECT_TRUE(InsertMenu(file, 201, MF_BYCOMMAND | MF_STRING, 200, "new.txt")) << "into the sub-menu, before 201";
    EXPECT_EQ(GetMenuItemID(recent, 0), 200u);
    EXPECT_TRUE(InsertMenu(file, 0, MF_BYPOSITION | MF_STRING, 100, "first"));
    EXPECT_TRUE(InsertMenu(file, static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 103, "last"));
    EXPECT_EQ(GetMenuItemID(file, 0), 100u);
    EXPECT_EQ(GetMenuItemID(file, GetMenuItemCount(file) - 1), 103u);
    EXPECT_FALSE(InsertMenu(file, 999, MF_BYCOMMAND, 1, "x"));

    EXPECT_TRUE(ModifyMenu(file, 102, MF_BYCOMMAND | MF_STRING, 104, "&Print..."));
    EXPECT_EQ(GetMenuState(file, 104, MF_BYCOMMAND), MF_STRING) << "the new item has its own flags";

    // Removing keeps the sub-menu alive for the caller; it can then go elsewhere.
    EXPECT_TRUE(RemoveMenu(file, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(recent));
    HMENU other = CreatePopupMenu();
    EXPECT_TRUE(AppendMenu(other, MF_POPUP, asId(recent), "Moved"));
    EXPECT_FALSE(AppendMenu(file, MF_POPUP, asId(recent), "Twice")) << "a sub-menu has one parent";
    EXPECT_FALSE(AppendMenu(recent, MF_POPUP, asId(other), "Cycle")) << "a menu cannot hold its ancestor";
    EXPECT_FALSE(AppendMenu(other, MF_POPUP, asId(other), "Itself"));
    EXPECT_FALSE(AppendMenu(other, MF_POPUP, 0x12345, "Stale"));

    // Replacing a sub-menu item destroys the sub-menu; deleting does too.
    EXPECT_TRUE(ModifyMenu(other, 0, MF_BYPOSITION | MF_STRING, 7, "plain"));
    EXPECT_FALSE(IsMenu(recent));
    HMENU again = CreatePopupMenu();
    AppendMenu(other, MF_POPUP, asId(again), "Again");
    EXPECT_TRUE(DeleteMenu(other, 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(again));
    EXPECT_FALSE(DeleteMenu(other, 5, MF_BYPOSITION));

    DestroyMenu(file);
    DestroyMenu(other);
    EXPECT_EQ(kxwin::liveMenuCount(), before);
}

TEST(MenuBuild, StaleHandlesAreHarmless)
{
    HMENU menu = sampleMenu();
    HMENU recent = GetSubMenu(menu, 2);
    EXPECT_TRUE(DestroyMenu(recent)) << "a sub-menu destroyed on its own";
    EXPECT_EQ(GetSubMenu(menu, 2), nullptr);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), MF_POPUP);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(AppendMenu(menu, MF_STRING, 1, "x"));
    EXPECT_EQ(CheckMenuItem(menu, 101, MF_CHECKED), kNoMenuItem);
    EXPECT_EQ(kxwin::describeMenu(menu), "");
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, nullptr, nullptr));

    CMenu view = CMenu::FromHandle(sampleMenu());
    const HMENU viewed = view.m_hMenu;
    { CMenu gone = std::move(view); }
    EXPECT_TRUE(IsMenu(viewed)) << "a reference does not destroy";
    CMenu owner;
    owner.Attach(viewed);
    CMenu moved(std::move(owner));
    EXPECT_EQ(owner.m_hMenu, nullptr);
    EXPECT_TRUE(moved.DestroyMenu());
    EXPECT_FALSE(IsMenu(viewed));
}

namespace {

LRESULT ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct RegisterOwner {
    RegisterOwner() { RegisterWindowClass("MenuTestOwner", ownerProc); }
} registerOwner;

class MenuTrack : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        ASSERT_TRUE(owner.Create("MenuTestOwner", "owner", WS_VISIBLE, RECT{0, 0, 200, 100}, nullptr, 0));
        owner.onMessage(WM_COMMAND, [this](WPARAM w, LPARAM) {
            journal.push_back("command " + std::to_string(LOWORD(w)) + " code " + std::to_string(HIWORD(w)));
            return LRESULT{0};
        });
        owner.onMessage(WM_INITMENUPOPUP, [this](WPARAM w, LPARAM l) {
            HMENU popup = reinterpret_cast<HMENU>(w);
            journal.push_back("init " + std::string(popup == menu.m_hMenu ? "root" : "sub") + " " +
                              std::to_string(LOWORD(static_cast<std::uintptr_t>(l))));
            if (onInit)
                onInit(popup);
            return LRESULT{0};
        });
        menu.Attach(sampleMenu());
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        WindowLayerTest::TearDown();
    }
    CWnd owner;
    CMenu menu;
    std::vector<std::string> journal;
    std::function<void(HMENU)> onInit;
};

} // namespace

TEST_F(MenuTrack, ThePickedCommandIsPostedToTheOwner)
{
    kxwin::UserAgent agent;
    std::string shown;
    agent.onMenu([&](const PopupMenuRequest& request) {
        shown = kxwin::describeMenu(request.menu);
        EXPECT_EQ(request.at, (POINT{30, 40}));
        EXPECT_EQ(request.owner, owner.m_hWnd);
        return UINT{101};
    });
    onInit = [](HMENU popup) { CheckMenuItem(popup, 101, MF_CHECKED); };
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 30, 40, &owner));
    EXPECT_NE(shown.find("\"&Open...\\tCtrl+O\", 101, CHECKED"), std::string::npos)
        << "the owner prepared the menu before it was shown:\n" << shown;
    EXPECT_EQ(journal, (std::vector<std::string>{"init root 0"})) << "posted, not sent";
    PumpMessages();
    EXPECT_EQ(journal, (std::vector<std::string>{"init root 0", "command 101 code 0"}));
}

TEST_F(MenuTrack, ReturnCmdReturnsTheCommandAndPostsNothing)
{
    kxwin::UserAgent agent;
    agent.pickMenuCommand(202);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 202);
    EXPECT_EQ(journal, (std::vector<std::string>{"init root 0", "init sub 2"})) << "the sub-menu was opened on the way";
    EXPECT_EQ(QueuedMessageCount(), 0);

    agent.pickMenuCommand(201);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, owner, nullptr), 201);
    EXPECT_EQ(journal.size(), 2u) << "no notification asked";
}

TEST_F(MenuTrack, GreyedDisabledOrForeignPicksAreDismissed)
{
    kxwin::UserAgent agent;
    agent.pickMenuCommand(102);  // greyed
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, &owner));
    agent.pickMenuCommand(555);  // not in the menu
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);
    agent.pickMenuCommand(0);  // dismissed
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, &owner));

    EnableMenuItem(menu, 2, MF_BYPOSITION | MF_GRAYED);
    agent.pickMenuCommand(201);  // inside a greyed sub-menu
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, &owner));
    EnableMenuItem(menu, 2, MF_BYPOSITION | MF_ENABLED);

    onInit = [](HMENU popup) { EnableMenuItem(popup, 202, MF_DISABLED); };
    agent.pickMenuCommand(202);  // disabled by the owner as the sub-menu opened
    EXPECT_FALSE(menu.TrackPopupMenu(0, 0, 0, &owner));
    PumpMessages();
    for (const std::string& entry : journal)
        EXPECT_EQ(entry.find("command"), std::string::npos) << entry;

    EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, nullptr, nullptr)) << "no owner window";
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST(MenuResource, ParsesNestedPopupsOptionsAndEscapes)
{
    const std::string text = "\xEF\xBB\xBF# Main menu\r\n"
                             "POPUP \"&File\"\r\n"
                             "    MENUITEM \"&Open...\\tCtrl+O\", 57601\r\n"
                             "    MENUITEM \"Say \\\"hi\\\" \\\\ there\" 2 GRAYED, CHECKED RADIO\r\n"
                             "    MENUITEM SEPARATOR   # a comment\r"
                             "    POPUP \"Größe\", INACTIVE\n"
                             "        MENUITEM \"x\\x01\", 65535, MENUBREAK\n"
                             "    END\n"
                             "END\n"
                             "MENUITEM \"Help\", 9, HELP\n";
    auto parsed = kxwin::parseMenuResource(text);
    ASSERT_TRUE(parsed) << parsed.message();
    const auto& items = parsed.menu->items;
    ASSERT_EQ(items.size(), 2u);
    ASSERT_EQ(items[0].items.size(), 4u);
    EXPECT_EQ(items[0].items[0].text, "&Open...\tCtrl+O");
    EXPECT_EQ(items[0].items[1].text, "Say \"hi\" \\ there");
    EXPECT_EQ(items[0].items[1].flags, MF_GRAYED | MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_EQ(items[0].items[2].kind, kxwin::MenuTemplateItem::Kind::Separator);
    EXPECT_EQ(items[0].items[3].flags, MF_DISABLED);
    EXPECT_EQ(items[0].items[3].items[0].text, "x\x01");
    EXPECT_EQ(items[0].items[3].items[0].id, 65535u);
    EXPECT_EQ(items[1].flags, MF_RIGHTJUSTIFY);

    // Write, read again, compare; and the same through menu handles.
    const std::string written = kxwin::writeMenuResource(*parsed.menu);
    auto again = kxwin::parseMenuResource(written);
    ASSERT_TRUE(again) << again.message() << "\n" << written;
    EXPECT_EQ(*again.menu, *parsed.menu);
    HMENU bar = kxwin::createMenuFromTemplate(*parsed.menu);
    EXPECT_EQ(kxwin::describeMenu(bar), written);
    EXPECT_EQ(GetMenuState(bar, 57601, MF_BYCOMMAND), MF_STRING);
    DestroyMenu(bar);
}

TEST(MenuResource, ErrorsNameTheLineAndTheReason)
{
    struct Case {
        std::string text;
        int line;
        std::string reason;
    };
    const Case cases[] = {
        {"", 1, "no items"},
        {"# only a comment\n\n", 2, "no items"},
        {"MENUITEM \"a\", 1\nEND\n", 2, "END without a POPUP"},
        {"POPUP \"File\"\nMENUITEM \"a\", 1\n", 2, "POPUP \"File\" of line 1 has no END"},
        {"MENUITEM \"a\"\n", 1, "needs a command id"},
        {"MENUITEM \"a\", 0\n", 1, "not a number from 1 to 65535"},
        {"MENUITEM \"a\", 65536\n", 1, "not a number from 1 to 65535"},
        {"MENUITEM \"a\", -1\n", 1, "not a number from 1 to 65535"},
        {"MENUITEM \"a\", 12abc\n", 1, "12abc"},
        {"MENUITEM \"a\", 04\n", 1, "leading zero"},
        {"MENUITEM \"a\", 1, BOLD\n", 1, "unknown option \"BOLD\""},
        {"\n\nMENUITEM \"a, 1\n", 3, "closing quote"},
        {"MENUITEM \"a\\q\", 1\n", 1, "unknown escape \\q"},
        {"MENUITEM \"a\xFF\", 1\n", 1, "invalid UTF-8"},
        {"MENUITEM \"a\x01\", 1\n", 1, "control byte 0x01"},
        {std::string("MENUITEM \"a\", 1\r\nMENU\0ITEM\r\n", 28), 2, "NUL byte"},
        {"menuitem \"a\", 1\n", 1, "starts with POPUP, MENUITEM or END"},
        {"MENUITEM SEPARATOR, 3\n", 1, "nothing may follow"},
        {"POPUP File\nEND\n", 1, "POPUP needs its text"},
        {"MENUITEM \"a\", 1 \"b\"\n", 1, "unexpected text"},
        {"MENUITEM \"a\", 1 @\n", 1, "unexpected character '@'"},
    };
    for (const Case& c : cases) {
        auto parsed = kxwin::parseMenuResource(c.text);
        EXPECT_FALSE(parsed) << c.text;
        EXPECT_EQ(parsed.line, c.line) << c.text << ": " << parsed.message();
        EXPECT_NE(parsed.error.find(c.reason), std::string::npos) << c.text << ": " << parsed.message();
    }

    std::string deep;
    for (int i = 0; i < kxwin::kMaxMenuResourceDepth; ++i)
        deep += "POPUP \"p\"\n";
    deep += "MENUITEM \"a\", 1\n";
    for (int i = 0; i < kxwin::kMaxMenuResourceDepth; ++i)
        deep += "END\n";
    EXPECT_TRUE(kxwin::parseMenuResource(deep)) << "sixteen levels";
    auto tooDeep = kxwin::parseMenuResource("POPUP \"p\"\n" + deep + "END\n");
    EXPECT_EQ(tooDeep.line, kxwin::kMaxMenuResourceDepth + 1);
    EXPECT_NE(tooDeep.error.find("deeper than 16"), std::string::npos);
    EXPECT_FALSE(kxwin::parseMenuResource(std::string(kxwin::kMaxMenuResourceBytes + 1, ' ')));
}

TEST(MenuResource, EveryPrefixOfAResourceParsesOrFailsWithALine)
{
    const std::string text = "POPUP \"Context menu\"\n"
                             "    MENUITEM \"Nota wijzigen\", 32822\n"
                             "    MENUITEM \"Variabele ...\", 32823, GRAYED\n"
                             "END\n";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        auto parsed = kxwin::parseMenuResource(text.substr(0, n));
        if (!parsed) {
            EXPECT_GE(parsed.line, 1);
            EXPECT_LE(parsed.line, 4);
            EXPECT_FALSE(parsed.error.empty());
        }
    }
    EXPECT_TRUE(kxwin::parseMenuResource(text));
}

TEST(MenuResource, LoadMenuReadsTheCurrentResourceHandleOnly)
{
    HINSTANCE module = kxwin::resourceModule("menu-test");
    const std::string text = "POPUP \"Context menu\"\n    MENUITEM \"Nota wijzigen\", 32822\nEND\n";
    kxwin::addResourceData(module, "MENU", 179, std::vector<BYTE>(text.begin(), text.end()));
    const std::string broken = "POPUP \"x\"\n    MENUITEM \"y\" 1\n    MENUITEM \"z\", 1, SHINY\nEND\n";
    kxwin::addResourceData(module, "MENU", 180, std::vector<BYTE>(broken.begin(), broken.end()));

    EXPECT_EQ(LoadMenu(179), nullptr);
    EXPECT_NE(kxwin::lastMenuError().find("MENU resource 179 of module"), std::string::npos) << kxwin::lastMenuError();
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    CMenu menu;
    EXPECT_TRUE(menu.LoadMenu(179)) << kxwin::lastMenuError();
    EXPECT_EQ(LoadMenu(180), nullptr);
    const std::string error = kxwin::lastMenuError();
    AfxSetResourceHandle(previous);
    EXPECT_EQ(error, "MENU resource 180 of module menu-test, line 3: unknown option \"SHINY\"");

    EXPECT_EQ(menu.GetMenuItemCount(), 1);
    CMenu popup = menu.GetSubMenu(0);
    EXPECT_EQ(popup.GetMenuItemID(0), 32822u);
    std::string caption;
    EXPECT_EQ(menu.GetMenuString(0, caption, MF_BYPOSITION), 12);
    EXPECT_EQ(caption, "Context menu");
}
