// The smaller dialog helpers: a dialog's flags kept beside its size, moving a control's edges, and
// the picture check box of the tool rows (the macro dialog's clash-check switch).
#include "core/CButtonST.h"
#include "core/DialogFunctions.h"

#include "core/tests/DialogTestSupport.h"
#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using kxtest::item;
using kxtest::rectInParent;

constexpr int kDialog = 8311;
constexpr int kClashIcon = 237;
constexpr COLORREF kRed = RGB(200, 30, 30);

enum : int {
    kClashSwitch = 1292,
    kPushButton = 1293,
    kRadio = 1294,
    kLabel = 1175,
    kThumbnails = 9091,
};

class DialogHelpers : public kxtest::CoreDialogTest {
protected:
    void SetUp() override
    {
        CoreDialogTest::SetUp();
        kxwin::addDialogTemplate(
            module, kxtest::dialogTemplate(
                        kDialog, 300, 200,
                        {
                            item(kClashSwitch, "Button", "", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 5, 16, 14),
                            item(kPushButton, "Button", "Apply", BS_PUSHBUTTON | WS_TABSTOP, 25, 5, 16, 14),
                            item(kRadio, "Button", "One", BS_AUTORADIOBUTTON | WS_TABSTOP, 45, 5, 40, 10),
                            item(kLabel, "Static", "Macros", SS_LEFT, 5, 30, 100, 10),
                            item(kThumbnails, "ListBox", "", WS_TABSTOP, 5, 42, 290, 150),
                        }));
        // The clash icon: a red square on white, the transparent colour.
        kxwin::BitmapPixels icon(16, 16, RGB(255, 255, 255));
        for (int y = 4; y < 12; ++y)
            for (int x = 4; x < 12; ++x)
                icon.setPixel(x, y, kRed);
        kxwin::addResourceData(module, "ICON", kClashIcon, kxwin::encodeBmp(icon));
        icons = kxwin::liveIconCount();
    }
    void TearDown() override
    {
        dialog.reset();
        EXPECT_EQ(kxwin::liveIconCount(), icons) << "no icon is left behind";
        CoreDialogTest::TearDown();
    }

    CDialog& open()
    {
        dialog = std::make_unique<CDialog>(kDialog);
        EXPECT_TRUE(dialog->Create(kDialog));
        return *dialog;
    }

    void storeRaw(const std::string& key, const char* name, DWORD type, const std::vector<BYTE>& bytes)
    {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                 nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueEx(k, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())), ERROR_SUCCESS);
        RegCloseKey(k);
    }

    std::unique_ptr<CDialog> dialog;
    int icons = 0;
};

std::string flagsKey(const std::string& dialogKey)
{
    return std::string(kxcore::kDialogSizesKey) + "\\" + dialogKey;
}

// --- Flags -------------------------------------------------------------------------------------

TEST_F(DialogHelpers, AFlagComesBackInTheNextRunBesideTheDialogsSize)
{
    CDialog& dlg = open();
    MoveWindow(dlg.m_hWnd, 100, 100, 600, 400);
    ASSERT_TRUE(WriteDlgSize(&dlg, "DLG_SELECT_MACRO"));
    EXPECT_TRUE(writeDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", true));
    EXPECT_TRUE(writeDlgRegBool("DLG_SELECT_MACRO", "OTHER", false));

    bool large = false;
    EXPECT_TRUE(readDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", large));
    EXPECT_TRUE(large);
    bool other = true;
    EXPECT_TRUE(readDlgRegBool("DLG_SELECT_MACRO", "OTHER", other));
    EXPECT_FALSE(other);

    // The flag lives beside the size without disturbing it, and changes when written again.
    dlg.DestroyWindow();
    CDialog& again = open();
    EXPECT_TRUE(ChangeDlgSize(&again, "DLG_SELECT_MACRO", /*sizeOnly=*/false));
    EXPECT_EQ(kxtest::screenRect(again.m_hWnd), (RECT{100, 100, 700, 500}));
    EXPECT_TRUE(writeDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", false));
    EXPECT_TRUE(readDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", large));
    EXPECT_FALSE(large);

    // The stored form: a DWORD in the dialog's own sub-key.
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, flagsKey("DLG_SELECT_MACRO").c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    DWORD type = REG_NONE;
    BYTE bytes[8] = {};
    DWORD size = sizeof bytes;
    EXPECT_EQ(RegQueryValueEx(k, "LARGE_DLG", nullptr, &type, bytes, &size), ERROR_SUCCESS);
    RegCloseKey(k);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
}

TEST_F(DialogHelpers, AFlagNotStoredOrDamagedLeavesTheCallersValue)
{
    for (const bool start : {false, true}) {
        bool value = start;
        EXPECT_FALSE(readDlgRegBool("DLG_NEVER_OPENED", "LARGE_DLG", value));
        EXPECT_EQ(value, start);
    }
    const std::string key = flagsKey("DLG_DAMAGED");
    storeRaw(key, "text", REG_SZ, {'1', 0});
    storeRaw(key, "short", REG_BINARY, {1});
    storeRaw(key, "long", REG_BINARY, {1, 0, 0, 0, 0});
    storeRaw(key, "high", REG_DWORD, {0, 0, 0, 0x80});
    for (const char* name : {"text", "short", "long", "missing"}) {
        SCOPED_TRACE(name);
        bool value = false;
        EXPECT_FALSE(readDlgRegBool("DLG_DAMAGED", name, value));
        EXPECT_FALSE(value);
    }
    bool high = false;
    EXPECT_TRUE(readDlgRegBool("DLG_DAMAGED", "high", high)) << "any non-zero number is set";
    EXPECT_TRUE(high);

    bool value = true;
    EXPECT_FALSE(writeDlgRegBool("", "LARGE_DLG", false));
    EXPECT_FALSE(writeDlgRegBool("DLG_SELECT_MACRO", "", false));
    EXPECT_FALSE(readDlgRegBool("", "LARGE_DLG", value));
    EXPECT_FALSE(writeDlgRegBool(std::string(300, 'K'), "LARGE_DLG", false)) << "key path past the registry's limit";
    EXPECT_TRUE(value);
}

TEST_F(DialogHelpers, FlagsOfDialogKeysWithFolderPartsStayApart)
{
    EXPECT_TRUE(writeDlgRegBool("DLG_MACRO_EDITVARS_GROUP_Base plates\\2", "LARGE_DLG", true));
    EXPECT_TRUE(writeDlgRegBool("DLG_MACRO_EDITVARS_GROUP_Base plates", "LARGE_DLG", false));
    bool a = false, b = true;
    EXPECT_TRUE(readDlgRegBool("DLG_MACRO_EDITVARS_GROUP_Base plates\\2", "LARGE_DLG", a));
    EXPECT_TRUE(readDlgRegBool("DLG_MACRO_EDITVARS_GROUP_Base plates", "LARGE_DLG", b));
    EXPECT_TRUE(a);
    EXPECT_FALSE(b);
}

// --- Moving a control's edges --------------------------------------------------------------------

TEST_F(DialogHelpers, EdgesMoveByTheirDeltas)
{
    CDialog& dlg = open();
    const RECT label = rectInParent(dlg.m_hWnd, kLabel);
    const RECT list = rectInParent(dlg.m_hWnd, kThumbnails);

    // Showing the filter area: the label moves down by 140, the list's top with it (it gets shorter).
    EXPECT_TRUE(resizeCtrl(&dlg, kLabel, 0, 140, 0, 140));
    EXPECT_TRUE(resizeCtrl(&dlg, kThumbnails, 0, 140, 0, 0));
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kLabel),
              (RECT{label.left, label.top + 140, label.right, label.bottom + 140}));
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kThumbnails), (RECT{list.left, list.top + 140, list.right, list.bottom}));
    // Hiding it again gives the places back exactly.
    EXPECT_TRUE(resizeCtrl(&dlg, kLabel, 0, -140, 0, -140));
    EXPECT_TRUE(resizeCtrl(&dlg, kThumbnails, 0, -140, 0, 0));
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kLabel), label);
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kThumbnails), list);
    // Left and right edges as well.
    EXPECT_TRUE(resizeCtrl(&dlg, kThumbnails, 10, 0, -20, 0));
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kThumbnails), (RECT{list.left + 10, list.top, list.right - 20, list.bottom}));
}

TEST_F(DialogHelpers, AMoveThatTurnsAControlInsideOutOrMissesItChangesNothing)
{
    CDialog& dlg = open();
    const RECT list = rectInParent(dlg.m_hWnd, kThumbnails);
    const int height = list.bottom - list.top;

    EXPECT_FALSE(resizeCtrl(&dlg, kThumbnails, 0, height + 1, 0, 0));
    EXPECT_FALSE(resizeCtrl(&dlg, kThumbnails, 0, 0, -(list.right - list.left) - 1, 0));
    EXPECT_FALSE(resizeCtrl(&dlg, kThumbnails, INT_MAX, 0, INT_MAX, 0)) << "past the coordinates' range";
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kThumbnails), list);
    EXPECT_TRUE(resizeCtrl(&dlg, kThumbnails, 0, height, 0, 0)) << "down to nothing is still a control";
    EXPECT_EQ(rectInParent(dlg.m_hWnd, kThumbnails).bottom - rectInParent(dlg.m_hWnd, kThumbnails).top, 0);

    EXPECT_FALSE(resizeCtrl(&dlg, 4711, 0, 10, 0, 10));
    EXPECT_FALSE(resizeCtrl(nullptr, kLabel, 0, 10, 0, 10));
}

// --- The picture check box ---------------------------------------------------------------------

TEST_F(DialogHelpers, ThePictureCheckBoxShowsItsIconAndTipAndTogglesOnEachClick)
{
    CDialog& dlg = open();
    CButtonST clash;
    ASSERT_TRUE(CreateImageCheck(&dlg, kClashSwitch, clash, kClashIcon, "Clash check on/off"));
    kxwin::DialogDriver d(dlg.m_hWnd);
    EXPECT_EQ(d.tooltip(kClashSwitch), "Clash check on/off");
    EXPECT_TRUE(clash.hasPicture());
    EXPECT_TRUE(clash.isFlat());
    const DWORD style = static_cast<DWORD>(GetWindowLong(clash.m_hWnd, GWL_STYLE));
    EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_NE(style & BS_PUSHLIKE, 0u);
    EXPECT_NE(style & WS_TABSTOP, 0u) << "the template's other styles are kept";

    // The caller sets the state (from the clash setting); each click turns it over.
    dlg.CheckDlgButton(kClashSwitch, BST_CHECKED);
    d.click(kClashSwitch);
    EXPECT_EQ(d.checkState(kClashSwitch), BST_UNCHECKED);
    d.click(kClashSwitch);
    EXPECT_EQ(d.checkState(kClashSwitch), BST_CHECKED);

    // The red square of the icon is what the button paints, with white left out.
    kxwin::paintWindow(clash.m_hWnd);
    const auto ops = kxwin::lastPaintRecord(clash.m_hWnd);
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](const kxwin::DrawOp& op) { return op.kind == kxwin::DrawOpKind::Icon; }), 1);

    // A push button of the template becomes a check box too; no tip when the text is empty.
    CButtonST other;
    EXPECT_TRUE(CreateImageCheck(&dlg, kPushButton, other, kClashIcon, ""));
    EXPECT_EQ(d.tooltip(kPushButton), "");
    d.click(kPushButton);
    EXPECT_EQ(d.checkState(kPushButton), BST_CHECKED);
}

TEST_F(DialogHelpers, APictureCheckBoxThatCannotBeMadeLeavesTheControlAsItWas)
{
    CDialog& dlg = open();
    const DWORD before = static_cast<DWORD>(GetWindowLong(GetDlgItem(dlg.m_hWnd, kClashSwitch), GWL_STYLE));
    CButtonST button;
    EXPECT_FALSE(CreateImageCheck(&dlg, kClashSwitch, button, 4711, "tip")) << "no such icon";
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(GetDlgItem(dlg.m_hWnd, kClashSwitch), GWL_STYLE)), before);
    EXPECT_EQ(button.m_hWnd, nullptr);
    EXPECT_FALSE(CreateImageCheck(&dlg, kRadio, button, kClashIcon, "tip")) << "a radio button";
    EXPECT_FALSE(CreateImageCheck(&dlg, kLabel, button, kClashIcon, "tip")) << "not a button";
    EXPECT_FALSE(CreateImageCheck(&dlg, 4711, button, kClashIcon, "tip"));
    EXPECT_FALSE(CreateImageCheck(nullptr, kClashSwitch, button, kClashIcon, "tip"));

    ASSERT_TRUE(CreateImageCheck(&dlg, kClashSwitch, button, kClashIcon, "tip"));
    CButtonST second;
    EXPECT_FALSE(CreateImageCheck(&dlg, kPushButton, button, kClashIcon, "tip")) << "the button is taken";
    EXPECT_EQ(GetWindowLong(GetDlgItem(dlg.m_hWnd, kPushButton), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

    // The module's resources must be current, as inside a launcher.
    AfxSetResourceHandle(previousResources);
    EXPECT_FALSE(CreateImageCheck(&dlg, kPushButton, second, kClashIcon, "tip"));
    AfxSetResourceHandle(module);
}

} // namespace
