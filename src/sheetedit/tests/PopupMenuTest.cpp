// Pop-up menus from level lists: the identifier pool, skipped levels, sub-menus, item states and
// the pick reaching the owner; and the editor's menus and toolbar carried as resources.
#include "platform/win/Bitmap.h"
#include "platform/win/CWnd.h"
#include "platform/win/Menu.h"
#include "platform/win/Resources.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"
#include "sheetedit/PopupMenuBuilder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Description {
    std::vector<int> levels;
    std::vector<PopupMenuEntry> entries;
    Description& add(int level, const char* text, int kind = 1)
    {
        levels.push_back(level);
        entries.push_back({text, kind});
        return *this;
    }
};

class PopupMenus : public kxwin::testing::WindowLayerTest {};

// The top-level items of a menu as "text=id" (sub-menus "text>").
std::vector<std::string> itemsOf(HMENU menu)
{
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const std::string text = kxwin::menuString(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (GetSubMenu(menu, i) != nullptr)
            items.push_back(text + ">");
        else if (GetMenuItemID(menu, i) == 0)
            items.push_back("-");
        else
            items.push_back(text + "=" + std::to_string(GetMenuItemID(menu, i)));
    }
    return items;
}

} // namespace

TEST_F(PopupMenus, ElevenItemsShowTenWithThePoolIdentifiersInOrder)
{
    Description d;
    for (int i = 0; i < 11; ++i)
        d.add(1, ("item " + std::to_string(i)).c_str());
    PopupMenuBuilder builder;
    ASSERT_TRUE(builder.build(d.levels, d.entries));
    EXPECT_EQ(itemsOf(builder.menu()),
              (std::vector<std::string>{"item 0=32811", "item 1=32812", "item 2=32816", "item 3=32817", "item 4=32818",
                                        "item 5=32800", "item 6=32801", "item 7=32802", "item 8=32803",
                                        "item 9=32804"}));
    EXPECT_EQ(PopupMenuBuilder::poolPosition(32800), 5);
    EXPECT_EQ(PopupMenuBuilder::poolPosition(32811), 0);
    EXPECT_EQ(PopupMenuBuilder::poolPosition(32805), -1);
    EXPECT_EQ(builder.itemText(32800), Kx_String("item 5"));
    EXPECT_EQ(builder.itemText(32805), Kx_String());

    // Once the pool is used up nothing more is added, separators and sub-menus included.
    d.add(1, "", 5).add(1, "more", 6).add(2, "inside");
    ASSERT_TRUE(builder.build(d.levels, d.entries));
    EXPECT_EQ(GetMenuItemCount(builder.menu()), 10);
}

TEST_F(PopupMenus, HiddenItemsUseAnIdentifierSeparatorsAndSubMenusDoNot)
{
    const Description d = Description()
                              .add(1, "first")
                              .add(1, "hidden", 7)
                              .add(1, "second")
                              .add(1, "", 5)
                              .add(1, "More", 6)
                              .add(2, "inner")
                              .add(1, "last");
    PopupMenuBuilder builder;
    ASSERT_TRUE(builder.build(d.levels, d.entries));
    EXPECT_EQ(itemsOf(builder.menu()), (std::vector<std::string>{"first=32811", "second=32816", "-", "More>",
                                                                 "last=32818"}));
    EXPECT_EQ(PopupMenuBuilder::poolPosition(32816), 2) << "the second visible item reports position 2";
    EXPECT_EQ(itemsOf(GetSubMenu(builder.menu(), 3)), (std::vector<std::string>{"inner=32817"}));
}

TEST_F(PopupMenus, LevelsThatDoNotFitAreSkipped)
{
    const Description d = Description()
                              .add(1, "top")
                              .add(2, "no sub-menu open")   // skipped
                              .add(0, "level 0")            // skipped
                              .add(-3, "negative")          // skipped
                              .add(1, "A", 6)
                              .add(2, "a1")
                              .add(3, "too deep")           // skipped
                              .add(2, "B", 6)
                              .add(3, "b1")
                              .add(2, "a2")                 // back in A, not in B
                              .add(2, "a3")
                              .add(1, "end");
    PopupMenuBuilder builder;
    ASSERT_TRUE(builder.build(d.levels, d.entries));
    HMENU root = builder.menu();
    EXPECT_EQ(itemsOf(root), (std::vector<std::string>{"top=32811", "A>", "end=32800"}));
    HMENU a = GetSubMenu(root, 1);
    EXPECT_EQ(itemsOf(a), (std::vector<std::string>{"a1=32812", "B>", "a2=32817", "a3=32818"}))
        << "entries after a closed sub-menu go back to the menu that holds it";
    EXPECT_EQ(itemsOf(GetSubMenu(a, 1)), (std::vector<std::string>{"b1=32816"}));
    EXPECT_EQ(builder.itemText(32816), Kx_String("b1")) << "captions are found in sub-menus too";

    PopupMenuBuilder unequal;
    EXPECT_FALSE(unequal.build({1, 1}, {{"only one", 1}})) << "the two lists must be parallel";
}

TEST_F(PopupMenus, KindsTwoToFourSetTheItemStates)
{
    const Description d =
        Description().add(1, "checked", 2).add(1, "radio", 3).add(1, "greyed", 4).add(1, "plain").add(1, "odd", 42);
    PopupMenuBuilder builder;
    ASSERT_TRUE(builder.build(d.levels, d.entries));
    HMENU m = builder.menu();
    EXPECT_EQ(GetMenuState(m, 32811, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(m, 32812, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_EQ(GetMenuState(m, 32816, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(GetMenuState(m, 32817, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuState(m, 32818, MF_BYCOMMAND), 0u) << "an unknown kind is a plain item";
}

namespace {

LRESULT ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct RegisterOwner {
    RegisterOwner() { RegisterWindowClass("PopupMenuTestOwner", ownerProc); }
} registerOwner;

} // namespace

TEST_F(PopupMenus, ThePickReachesTheOwnerAsACommandAndTheMenusGoWithTheBuilder)
{
    const int before = kxwin::liveMenuCount();
    CWnd owner;
    ASSERT_TRUE(owner.Create("PopupMenuTestOwner", "owner", WS_VISIBLE, RECT{0, 0, 200, 100}, nullptr, 0));
    std::vector<int> positions;
    owner.onMessage(WM_COMMAND, [&](WPARAM w, LPARAM) {
        positions.push_back(PopupMenuBuilder::poolPosition(LOWORD(w)));
        return LRESULT{0};
    });
    {
        Description d;
        for (int i = 0; i < 8; ++i)
            d.add(1, ("item " + std::to_string(i)).c_str());
        d.add(1, "Sub", 6).add(2, "deep");
        kxwin::UserAgent agent;
        agent.pickMenuCommand(32800);
        PopupMenuBuilder builder;
        EXPECT_TRUE(builder.track(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 10, 20, owner.m_hWnd, d.levels, d.entries));
        PumpMessages();
        EXPECT_EQ(positions, (std::vector<int>{5})) << "the sixth item";
        agent.pickMenuCommand(32803);  // "deep", inside the sub-menu
        EXPECT_TRUE(builder.track(0, 10, 20, owner.m_hWnd, d.levels, d.entries));
        PumpMessages();
        EXPECT_EQ(positions, (std::vector<int>{5, 8}));
        agent.pickMenuCommand(0);  // dismissed
        EXPECT_FALSE(builder.track(0, 10, 20, owner.m_hWnd, d.levels, d.entries));
        EXPECT_GT(kxwin::liveMenuCount(), before);
    }
    EXPECT_EQ(kxwin::liveMenuCount(), before) << "root and sub-menus destroyed with the builder";
    owner.DestroyWindow();
}

TEST_F(PopupMenus, TheEditorsMenusAndToolbarAreModuleResources)
{
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(kxwin::resourceModule("kestra_ss"));

    CMenu main;
    ASSERT_TRUE(main.LoadMenu(139)) << kxwin::lastMenuError();
    EXPECT_EQ(itemsOf(main), (std::vector<std::string>{"File>", "Edit>", "Cell>", "Tools>"}));
    EXPECT_EQ(itemsOf(GetSubMenu(main, 0)),
              (std::vector<std::string>{"New=32811", "Open...=32812", "Save=32816", "Save As...=32817", "-",
                                        "Export...=32818", "-", "Print=32831", "Print Preview=32832",
                                        "Print Setup=32830"}));
    // Edit also holds Undo and Redo and the row and column commands of the editor.
    EXPECT_EQ(itemsOf(GetSubMenu(main, 1)),
              (std::vector<std::string>{"Undo\tCtrl+Z=32850", "Redo\tCtrl+Y=32851", "-", "Cut=32842", "Copy=32843",
                                        "Paste=32844", "-", "Insert Row=32852", "Delete Row=32853",
                                        "Insert Column=32854", "Delete Column=32855"}));
    EXPECT_EQ(itemsOf(GetSubMenu(main, 2)), (std::vector<std::string>{"Note...=32806", "Font...=32815",
                                                                      "Borders...=32813", "Cell Type...=32807"}));
    EXPECT_EQ(itemsOf(GetSubMenu(main, 3)),
              (std::vector<std::string>{"SpreadSheet Options=32845", "Change Language=32846"}));

    CMenu cell;
    ASSERT_TRUE(cell.LoadMenu(138)) << kxwin::lastMenuError();
    EXPECT_EQ(itemsOf(GetSubMenu(cell, 0)),
              (std::vector<std::string>{"Nota wijzigen=32806", "Lettertype en kleuren=32815", "Kaderlijnen ...=32813",
                                        "Celltype wijzigen ...=32807", "-", "Rij invoegen=32852",
                                        "Rij verwijderen=32853", "Kolom invoegen=32854", "Kolom verwijderen=32855"}));
    CMenu variables;
    ASSERT_TRUE(variables.LoadMenu(179)) << kxwin::lastMenuError();
    EXPECT_EQ(itemsOf(variables), (std::vector<std::string>{"Context menu>"}));
    EXPECT_EQ(itemsOf(GetSubMenu(variables, 0)),
              (std::vector<std::string>{"Nota wijzigen=32822", "Variabele ...=32823", "Lettertype en kleuren=32824",
                                        "Kaderlijnen ...=32825", "Celltype wijzigen ...=32826"}));

    // The toolbar's slots, read from its resource text (the toolbar control reads the same text).
    const std::vector<BYTE>* toolbar = FindResourceData("TOOLBAR", 128);
    ASSERT_NE(toolbar, nullptr);
    std::istringstream lines(std::string(toolbar->begin(), toolbar->end()));
    std::vector<std::string> slots;
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find('#'));
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (!line.empty())
            slots.push_back(line);
    }
    EXPECT_EQ(slots, (std::vector<std::string>{"TOOLBAR 16, 15", "BUTTON 32811", "BUTTON 32812", "BUTTON 32816",
                                               "SEPARATOR", "BUTTON 32842", "BUTTON 32843", "BUTTON 32844",
                                               "SEPARATOR", "BUTTON 32818", "SEPARATOR", "BUTTON 32832",
                                               "BUTTON 32831", "BUTTON 32830", "END"}));
    HBITMAP strip = LoadBitmap(128);
    ASSERT_NE(strip, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObject(strip, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 10 * 16) << "one picture for each of the ten buttons";
    EXPECT_EQ(info.bmHeight, 15);
    DeleteObject(strip);

    AfxSetResourceHandle(previous);
}
