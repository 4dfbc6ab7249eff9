// The dialog functions: filling lists, control states, finding a dialog's owner, and dialog sizes
// kept in the registry (restored, brought back on the screen, damaged values ignored).
#include "core/DialogFunctions.h"

#include "core/tests/DialogTestSupport.h"
#include "platform/host/HostWindow.h"
#include "platform/win/CommCtrl.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using kxtest::item;
using kxtest::screenRect;
using Strings = std::vector<std::string>;

constexpr int kListsDialog = 8301;
constexpr int kSizedDialog = 8302;
constexpr int kMainDialog = 8303;
constexpr int kPageDialog = 8304;

enum : int {
    kDropDown = 301,
    kDropList = 302,
    kListBox = 303,
    kLabel = 304,
    kTabs = 400,
};

Kx_StringArray texts(std::initializer_list<const char*> items)
{
    Kx_StringArray list;
    for (const char* s : items)
        list.append(Kx_String(s));
    return list;
}

class DialogFunctions : public kxtest::CoreDialogTest {
protected:
    void SetUp() override
    {
        CoreDialogTest::SetUp();
        kxwin::addDialogTemplate(
            module, kxtest::dialogTemplate(
                        kListsDialog, 200, 120,
                        {
                            item(kDropDown, "ComboBox", "", CBS_DROPDOWN | CBS_SORT | WS_TABSTOP, 7, 7, 100, 80),
                            item(kDropList, "ComboBox", "", CBS_DROPDOWNLIST | WS_TABSTOP, 7, 25, 100, 80),
                            item(kListBox, "ListBox", "", LBS_SORT | LBS_NOTIFY | WS_TABSTOP, 7, 43, 100, 50),
                            item(kLabel, "Static", "Label", SS_LEFT, 110, 7, 80, 10),
                            item(IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 100, 50, 14),
                        }));
        const DialogItemTemplate ok = item(IDOK, "Button", "OK", WS_TABSTOP, 160, 80, 50, 14);
        kxwin::addDialogTemplate(module, kxtest::dialogTemplate(kSizedDialog, 220, 100, {ok}));
        const DialogItemTemplate tabs = item(kTabs, WC_TABCONTROL, "", WS_TABSTOP, 5, 5, 290, 190);
        kxwin::addDialogTemplate(module, kxtest::dialogTemplate(kMainDialog, 300, 200, {tabs}));
        kxwin::addDialogTemplate(
            module, kxtest::dialogTemplate(kPageDialog, 200, 100, {item(1, "Button", "OK", WS_TABSTOP, 5, 5, 50, 14)},
                                           WS_CHILD | DS_CONTROL));
    }

    // Writes a raw value under the dialog sizes key, as a damaged or foreign registry would hold it.
    void storeRaw(const char* name, DWORD type, const std::vector<BYTE>& bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kxcore::kDialogSizesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueEx(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    void storeBox(const char* name, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
    {
        std::vector<BYTE> bytes;
        for (std::int32_t v : {l, t, r, b}) {
            const auto u = static_cast<std::uint32_t>(v);
            for (int i = 0; i < 4; ++i)
                bytes.push_back(static_cast<BYTE>(u >> (8 * i)));
        }
        storeRaw(name, REG_BINARY, bytes);
    }

    std::vector<BYTE> storedBytes(const char* name, DWORD& type)
    {
        HKEY key = nullptr;
        std::vector<BYTE> bytes(64);
        DWORD size = static_cast<DWORD>(bytes.size());
        if (RegOpenKeyEx(HKEY_CURRENT_USER, kxcore::kDialogSizesKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {};
        const LONG rc = RegQueryValueEx(key, name, nullptr, &type, bytes.data(), &size);
        RegCloseKey(key);
        bytes.resize(rc == ERROR_SUCCESS ? size : 0);
        return bytes;
    }

    // A dialog of the sized template, made modeless.
    std::unique_ptr<CDialog> sized(HWND owner = nullptr)
    {
        auto d = std::make_unique<CDialog>(kSizedDialog);
        EXPECT_TRUE(d->Create(kSizedDialog, owner));
        return d;
    }
};

// --- Lists -------------------------------------------------------------------------------------

TEST_F(DialogFunctions, FillingKeepsTheCallersOrderAndReplacesWhatWasThere)
{
    CDialog dlg(kListsDialog);
    ASSERT_TRUE(dlg.Create(kListsDialog));
    kxwin::DialogDriver d(dlg.m_hWnd);

    // The controls sort, the callers pair positions with their own data: the order must hold.
    ASSERT_TRUE(FillCombo(&dlg, kDropDown, texts({"old"})));
    EXPECT_TRUE(FillCombo(&dlg, kDropDown, texts({"Zeta", "alpha", "Mid"})));
    EXPECT_EQ(d.items(kDropDown), (Strings{"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(d.selectedIndex(kDropDown), -1);
    EXPECT_TRUE(FillList(&dlg, kListBox, texts({"c", "a", "b"})));
    EXPECT_EQ(d.items(kListBox), (Strings{"c", "a", "b"}));

    EXPECT_TRUE(FillList(&dlg, kListBox, Kx_StringArray()));
    EXPECT_TRUE(d.items(kListBox).empty());
}

TEST_F(DialogFunctions, FillingSelectsTheGivenEntryOrNothing)
{
    CDialog dlg(kListsDialog);
    ASSERT_TRUE(dlg.Create(kListsDialog));
    kxwin::DialogDriver d(dlg.m_hWnd);
    const Kx_StringArray grades = texts({"S235", "S275", "S355"});

    EXPECT_TRUE(FillCombo(&dlg, kDropList, grades, 2));
    EXPECT_EQ(d.selectedIndex(kDropList), 2);
    EXPECT_EQ(d.text(kDropList), "S355");
    EXPECT_TRUE(FillCombo(&dlg, kDropList, grades, 3));
    EXPECT_EQ(d.selectedIndex(kDropList), -1);
    EXPECT_TRUE(FillCombo(&dlg, kDropList, grades, -1));
    EXPECT_EQ(d.selectedIndex(kDropList), -1);
    EXPECT_TRUE(FillList(&dlg, kListBox, grades, 1));
    EXPECT_EQ(d.selectedIndex(kListBox), 1);

    // By text: the matching entry, or in a combo with an edit the text itself.
    EXPECT_TRUE(FillCombo(&dlg, kDropList, grades, Kx_String("S275")));
    EXPECT_EQ(d.selectedIndex(kDropList), 1);
    EXPECT_TRUE(FillCombo(&dlg, kDropList, grades, Kx_String("S460")));
    EXPECT_EQ(d.selectedIndex(kDropList), -1);
    EXPECT_TRUE(FillCombo(&dlg, kDropDown, grades, Kx_String("S460")));
    EXPECT_EQ(d.selectedIndex(kDropDown), -1);
    EXPECT_EQ(d.text(kDropDown), "S460");
}

TEST_F(DialogFunctions, MissingDeadOrUnsuitableControlsAreRefused)
{
    CDialog dlg(kListsDialog);
    ASSERT_TRUE(dlg.Create(kListsDialog));
    const Kx_StringArray list = texts({"a"});

    EXPECT_FALSE(FillCombo(&dlg, 999, list));
    EXPECT_FALSE(FillCombo(&dlg, kLabel, list));
    EXPECT_FALSE(FillList(nullptr, kListBox, list));
    EXPECT_FALSE(EnDisCtrl(&dlg, 999, false));
    EXPECT_FALSE(ShowOrHideCtrl(nullptr, kLabel, false));
    EXPECT_EQ(GetWindowText(GetDlgItem(dlg.m_hWnd, kLabel)), "Label");

    CDialog never(kListsDialog);  // no window
    EXPECT_FALSE(FillCombo(&never, kDropDown, list));
    dlg.DestroyWindow();
    EXPECT_FALSE(FillCombo(&dlg, kDropDown, list));
    EXPECT_FALSE(EnDisCtrl(&dlg, kDropDown, true));
}

// --- Owners ------------------------------------------------------------------------------------

TEST_F(DialogFunctions, APageFindsTheDialogThatHoldsIt)
{
    CDialog main(kMainDialog);
    ASSERT_TRUE(main.Create(kMainDialog));
    CDialog page(kPageDialog);
    ASSERT_TRUE(page.Create(kPageDialog, GetDlgItem(main.m_hWnd, kTabs)));  // a page sits in the tab control
    CDialog inner(kPageDialog);
    ASSERT_TRUE(inner.Create(kPageDialog, page.m_hWnd));

    EXPECT_EQ(getDlgOwner(&page), &main);
    EXPECT_EQ(getDlgOwner(&inner), &page);
}

TEST_F(DialogFunctions, AModelessDialogFindsItsOwnerWindow)
{
    HWND host = adsw_acadMainWnd();
    auto modeless = sized(host);
    EXPECT_EQ(getDlgOwnerWindow(modeless->m_hWnd), host);
    EXPECT_EQ(getDlgOwner(modeless.get()), nullptr);  // the host's window has no object

    CDialog main(kMainDialog);
    ASSERT_TRUE(main.Create(kMainDialog));
    auto sub = sized(main.m_hWnd);
    EXPECT_EQ(getDlgOwner(sub.get()), &main);

    auto alone = sized();
    EXPECT_EQ(getDlgOwner(alone.get()), nullptr);
    EXPECT_EQ(getDlgOwner(nullptr), nullptr);
    alone->DestroyWindow();
    EXPECT_EQ(getDlgOwner(alone.get()), nullptr);
}

// --- Sizes -------------------------------------------------------------------------------------

TEST_F(DialogFunctions, StoredSizeAndPlaceComeBackInTheNextRun)
{
    for (const char* key :
         {"DLG_EDIT_MACRO", "DLG_MACRO_EDITVARS_GROUP_Base plates\\2", "DLG_MACRO_EDITVARS_3_MACROS"}) {
        SCOPED_TRACE(key);
        auto first = sized();
        MoveWindow(first->m_hWnd, 100, 120, 500, 300);
        EXPECT_TRUE(WriteDlgSize(first.get(), key));
        first->DestroyWindow();

        auto second = sized();
        EXPECT_TRUE(ChangeDlgSize(second.get(), key, /*sizeOnly=*/false));
        EXPECT_EQ(screenRect(second->m_hWnd), (RECT{100, 120, 600, 420}));
        int w = 0, h = 0;
        EXPECT_TRUE(getDlgSize(second.get(), w, h));
        EXPECT_EQ(w, 500);
        EXPECT_EQ(h, 300);
    }
    // The stored form other tools read: four 32-bit little-endian integers.
    DWORD type = REG_NONE;
    const std::vector<BYTE> bytes = storedBytes("DLG_EDIT_MACRO", type);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(bytes, (std::vector<BYTE>{100, 0, 0, 0, 120, 0, 0, 0, 0x58, 2, 0, 0, 0xA4, 1, 0, 0}));
}

TEST_F(DialogFunctions, SizeOnlyKeepsTheDialogCentredOnItsOwner)
{
    storeBox("DLG_MACRO_CUTS", 10, 20, 510, 320);
    CDialog main(kMainDialog);
    ASSERT_TRUE(main.Create(kMainDialog));
    MoveWindow(main.m_hWnd, 200, 100, 800, 600);

    auto sub = sized(main.m_hWnd);
    EXPECT_TRUE(ChangeDlgSize(sub.get(), "DLG_MACRO_CUTS", /*sizeOnly=*/true));
    EXPECT_EQ(screenRect(sub->m_hWnd), (RECT{350, 250, 850, 550}));

    auto alone = sized();
    EXPECT_TRUE(ChangeDlgSize(alone.get(), "DLG_MACRO_CUTS", /*sizeOnly=*/true));
    EXPECT_EQ(screenRect(alone->m_hWnd), (RECT{710, 390, 1210, 690}));  // centred on the 1920 x 1080 screen
}

TEST_F(DialogFunctions, APlaceOffTheScreenIsBroughtBack)
{
    struct Case {
        std::int32_t l, t;
        RECT expected;
    };
    SetScreenRect(RECT{0, 0, 1920, 1080});
    const Case cases[] = {
        {5000, 3000, RECT{1520, 780, 1920, 1080}},
        {-3000, -2000, RECT{0, 0, 400, 300}},
        {1800, 50, RECT{1520, 50, 1920, 350}},
        {INT_MIN, INT_MAX - 300, RECT{0, 780, 400, 1080}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.l);
        storeBox("DLG_SELECT_IMAGE", c.l, c.t, c.l + 400, c.t + 300);
        auto d = sized();
        EXPECT_TRUE(ChangeDlgSize(d.get(), "DLG_SELECT_IMAGE", false));
        EXPECT_EQ(screenRect(d->m_hWnd), c.expected);
    }

    // Stored on a large screen, restored on a smaller one.
    SetScreenRect(RECT{0, 0, 2560, 1440});
    auto wide = sized();
    MoveWindow(wide->m_hWnd, 2000, 1000, 500, 400);
    ASSERT_TRUE(WriteDlgSize(wide.get(), "DLG_OPTIMIZECSP2"));
    SetScreenRect(RECT{0, 0, 1024, 768});
    auto small = sized();
    EXPECT_TRUE(ChangeDlgSize(small.get(), "DLG_OPTIMIZECSP2", false));
    EXPECT_EQ(screenRect(small->m_hWnd), (RECT{524, 368, 1024, 768}));
}

TEST_F(DialogFunctions, SizeIsRaisedToTheTemplateAndCutToTheScreen)
{
    auto d = sized();
    const SIZE minimum = d->templateSize();
    ASSERT_GT(minimum.cx, 100);

    storeBox("DLG_FINDREPLACE", 300, 200, 310, 210);
    EXPECT_TRUE(ChangeDlgSize(d.get(), "DLG_FINDREPLACE", false));
    EXPECT_EQ(screenRect(d->m_hWnd), (RECT{300, 200, 300 + minimum.cx, 200 + minimum.cy}));

    storeBox("DLG_FINDREPLACE", -100, -100, 5000, 4000);
    EXPECT_TRUE(ChangeDlgSize(d.get(), "DLG_FINDREPLACE", false));
    EXPECT_EQ(screenRect(d->m_hWnd), (RECT{0, 0, 1920, 1080}));

    storeBox("DLG_FINDREPLACE", INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_TRUE(ChangeDlgSize(d.get(), "DLG_FINDREPLACE", false));
    EXPECT_EQ(screenRect(d->m_hWnd), (RECT{0, 0, 1920, 1080}));
}

TEST_F(DialogFunctions, DamagedValuesAreIgnoredAndLeaveTheDialogAsItWas)
{
    struct Damage {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> good(16, 0);
    good[0] = 10;
    good[8] = 200;  // right 200
    good[12] = 150;  // bottom 150
    std::vector<BYTE> shortValue(good.begin(), good.end() - 1);
    std::vector<BYTE> longValue = good;
    longValue.push_back(0);
    const std::vector<Damage> damages = {
        {"a DWORD", REG_DWORD, {1, 2, 3, 4}},
        {"one byte short", REG_BINARY, shortValue},
        {"one byte long", REG_BINARY, longValue},
        {"empty", REG_BINARY, {}},
        {"text of the right size", REG_SZ, std::vector<BYTE>(16, 'a')},
        {"sixteen bytes of another type", REG_QWORD + 0, std::vector<BYTE>(8, 1)},
        {"right of type, wrong kind", REG_NONE, good},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        storeRaw("DLG_SS_STRINGARRAY", damage.type, damage.bytes);
        auto d = sized();
        const RECT before = screenRect(d->m_hWnd);
        EXPECT_FALSE(ChangeDlgSize(d.get(), "DLG_SS_STRINGARRAY", false));
        EXPECT_EQ(screenRect(d->m_hWnd), before);
    }
    for (const RECT& box : {RECT{10, 10, 10, 50}, RECT{50, 50, 10, 10}, RECT{10, 10, 300, -5}}) {
        SCOPED_TRACE(box.left);
        storeBox("DLG_SS_STRINGARRAY", box.left, box.top, box.right, box.bottom);
        auto d = sized();
        const RECT before = screenRect(d->m_hWnd);
        EXPECT_FALSE(ChangeDlgSize(d.get(), "DLG_SS_STRINGARRAY", false));
        EXPECT_EQ(screenRect(d->m_hWnd), before);
    }
}

TEST_F(DialogFunctions, NothingStoredNoKeyOrNoWindowChangesNothing)
{
    auto d = sized();
    const RECT before = screenRect(d->m_hWnd);
    EXPECT_FALSE(ChangeDlgSize(d.get(), "DLG_NEVER_STORED", false));
    EXPECT_FALSE(ChangeDlgSize(d.get(), "", false));
    EXPECT_FALSE(WriteDlgSize(d.get(), ""));
    EXPECT_FALSE(ChangeDlgSize(nullptr, "DLG_EDIT_MACRO", false));
    EXPECT_FALSE(WriteDlgSize(nullptr, "DLG_EDIT_MACRO"));
    EXPECT_EQ(screenRect(d->m_hWnd), before);

    d->DestroyWindow();
    EXPECT_FALSE(WriteDlgSize(d.get(), "DLG_EDIT_MACRO"));
    int w = -1, h = -1;
    EXPECT_FALSE(getDlgSize(d.get(), w, h));
    EXPECT_EQ(w, -1);
    DWORD type = REG_NONE;
    EXPECT_TRUE(storedBytes("DLG_EDIT_MACRO", type).empty());
}

TEST_F(DialogFunctions, AChildWindowGetsTheStoredSizeOnly)
{
    storeBox("DLG_PAGE", 900, 700, 1300, 900);
    CDialog main(kMainDialog);
    ASSERT_TRUE(main.Create(kMainDialog));
    CDialog page(kPageDialog);
    ASSERT_TRUE(page.Create(kPageDialog, main.m_hWnd));
    MoveWindow(page.m_hWnd, 5, 6, 100, 100);
    EXPECT_TRUE(ChangeDlgSize(&page, "DLG_PAGE", false));
    const RECT r = GetWindowRectInParent(page.m_hWnd);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.width(), std::max<LONG>(400, page.templateSize().cx));
    EXPECT_EQ(r.height(), std::max<LONG>(200, page.templateSize().cy));
}

} // namespace
