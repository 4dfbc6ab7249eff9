// The core module's custom controls in a dialog driven as a person would: picture buttons, the
// check-mark drop-down, the thumbnail list, the picture drop-down and the colour label. What the
// person sees is read from the controls and their paint records; what the dialog heard from its
// journal.
#include "core/CBitmapPickerCombo.h"
#include "core/CButtonST.h"
#include "core/CCheckComboBox.h"
#include "core/CColorStatic.h"
#include "core/CImageListCtrl.h"
#include "core/ImageListData.h"
#include "core/tests/FileTestSupport.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/ImageList.h"
#include "platform/win/UserInput.h"
#include "platform/win/tests/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using kxwin::BitmapPixels;
using kxwin::DialogDriver;
using kxwin::DrawOp;
using kxwin::DrawOpKind;
using kxwin::testing::control;
using Strings = std::vector<std::string>;

constexpr int kDialog = 4610;
enum : int {
    kPicture = 100,
    kClashSwitch = 101,
    kTextButton = 102,
    kGroups = 110,
    kThumbs = 120,
    kImages = 130,
    kLabel = 140,
    kHoleUsed = 141,
};

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kWhite = RGB(255, 255, 255);

DialogTemplate customTemplate(DWORD comboStyle = 0)
{
    return kxwin::testing::dialogTemplate(
        kDialog, {
                     control(kPicture, "Button", "", BS_PUSHBUTTON | WS_TABSTOP, 5, 5, 16, 14),
                     control(kClashSwitch, "Button", "", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 25, 5, 16, 14),
                     control(kTextButton, "Button", "Apply", BS_PUSHBUTTON | WS_TABSTOP, 45, 5, 50, 14),
                     control(kGroups, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | comboStyle, 5, 25,
                             100, 80),
                     control(kThumbs, WC_LISTVIEW, "", LVS_REPORT | LVS_SORTASCENDING | WS_TABSTOP | WS_BORDER, 5, 45,
                             300, 120),
                     control(kImages, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 110, 25, 100, 80),
                     control(kLabel, "Static", "Hole 1", SS_LEFT, 215, 25, 40, 10),
                     control(kHoleUsed, "Button", "", BS_AUTOCHECKBOX | WS_TABSTOP, 260, 25, 10, 10),
                     control(IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 200, 222, 50, 14),
                     control(IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 255, 222, 50, 14),
                 });
}

// A dialog written as the module's dialogs use these controls: each taken over in OnInitDialog.
class CustomDialog : public kxwin::testing::JournalDialog {
public:
    CustomDialog() : JournalDialog(kDialog) {}

    CButtonST picture;
    CButtonST clashSwitch;
    CButtonST textButton;
    CCheckComboBox groups;
    CImageListCtrl thumbs;
    CBitmapPickerCombo images;
    CColorStatic label;
    std::function<void(CustomDialog&)> setUp;

protected:
    BOOL OnInitDialog() override
    {
        EXPECT_TRUE(picture.SubclassDlgItem(kPicture, m_hWnd));
        EXPECT_TRUE(clashSwitch.SubclassDlgItem(kClashSwitch, m_hWnd));
        EXPECT_TRUE(textButton.SubclassDlgItem(kTextButton, m_hWnd));
        EXPECT_TRUE(groups.SubclassDlgItem(kGroups, m_hWnd));
        EXPECT_TRUE(thumbs.initialize(m_hWnd, kThumbs));
        EXPECT_TRUE(images.SubclassDlgItem(kImages, m_hWnd));
        EXPECT_TRUE(label.SubclassDlgItem(kLabel, m_hWnd));
        if (setUp)
            setUp(*this);
        return JournalDialog::OnInitDialog();
    }
};

class CustomControlsTest : public kxwin::testing::ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        icons = kxwin::liveIconCount();
        bitmaps = kxwin::liveBitmapCount();
        kxwin::addDialogTemplate(module, customTemplate());
    }
    void TearDown() override
    {
        dialog.reset();
        EXPECT_EQ(kxwin::liveImageListCount(), 0) << "every image list goes with its control";
        EXPECT_EQ(kxwin::liveIconCount(), icons) << "every picture copy goes with its control";
        EXPECT_EQ(kxwin::liveBitmapCount(), bitmaps);
        ControlsTest::TearDown();
    }
    // Opens the dialog modeless; the test drives it directly.
    CustomDialog& openDialog(std::function<void(CustomDialog&)> setUp = {})
    {
        dialog = std::make_unique<CustomDialog>();
        dialog->setUp = std::move(setUp);
        EXPECT_TRUE(dialog->Create(kDialog));
        dialog->journal.clear();
        return *dialog;
    }
    DialogDriver driver() { return DialogDriver(dialog->m_hWnd); }

    // The window's paint as a person would see it now.
    static std::vector<DrawOp> paint(HWND hwnd)
    {
        kxwin::paintWindow(hwnd);
        return kxwin::lastPaintRecord(hwnd);
    }
    static std::vector<DrawOp> opsOf(const std::vector<DrawOp>& ops, DrawOpKind kind)
    {
        std::vector<DrawOp> out;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(out), [kind](const DrawOp& op) { return op.kind == kind; });
        return out;
    }

    std::unique_ptr<CustomDialog> dialog;
    int icons = 0;
    int bitmaps = 0;
};

// A picture of the given size: a frame of white (the transparent colour of the module's pictures)
// around a block of `colour`.
BitmapPixels framedPicture(int w, int h, COLORREF colour)
{
    BitmapPixels p(w, h, kWhite);
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x)
            p.setPixel(x, y, colour);
    }
    return p;
}

// Owns a bitmap for the length of a test.
struct Bitmap {
    explicit Bitmap(BitmapPixels p) : handle(kxwin::createBitmap(std::move(p))) {}
    ~Bitmap() { DeleteObject(handle); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP handle;
};

// --- Picture buttons -------------------------------------------------------------------------------

using PictureButton = CustomControlsTest;

TEST_F(PictureButton, ClickNotifiesAndThePaintShowsThePictureWithItsTransparentFrameLeftOut)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        Bitmap picture(framedPicture(12, 10, kRed));
        EXPECT_TRUE(dlg.picture.SetBitmaps(picture.handle, kWhite));
        dlg.picture.DrawFlatFocus(false);
    });
    driver().click(kPicture);
    EXPECT_EQ(d.of(kPicture), Strings{"BN_CLICKED"});
    ASSERT_EQ(GetFocus(), d.picture.m_hWnd);

    const auto ops = paint(d.picture);
    const auto pictures = opsOf(ops, DrawOpKind::Icon);
    ASSERT_EQ(pictures.size(), 1u) << kxwin::describeDrawOps(ops);
    const DrawOp& shown = pictures.front();
    EXPECT_EQ(shown.pixels->colorAt(5, 5), kRed);
    EXPECT_EQ(shown.pixels->alphaAt(5, 5), 255);
    EXPECT_EQ(shown.pixels->alphaAt(0, 0), 0) << "the white frame is the transparent colour";
    RECT client;
    GetClientRect(d.picture, client);
    EXPECT_NEAR(shown.rect.left + shown.rect.right, client.right, 1) << "centred across";
    EXPECT_TRUE(opsOf(ops, DrawOpKind::FocusRect).empty()) << "no flat focus rectangle";
    EXPECT_TRUE(std::none_of(ops.begin(), ops.end(), [](const DrawOp& op) {
        return op.kind == DrawOpKind::FillRect && op.color == CButtonST::kShadow;
    })) << "a flat button shows no frame while up";

    d.picture.DrawFlatFocus(true);
    d.picture.SetFlat(false);
    const auto raised = paint(d.picture);
    EXPECT_EQ(opsOf(raised, DrawOpKind::FocusRect).size(), 1u);
    EXPECT_TRUE(std::any_of(raised.begin(), raised.end(), [](const DrawOp& op) {
        return op.kind == DrawOpKind::FillRect && op.color == CButtonST::kShadow;
    })) << "a raised button has its frame";
}

TEST_F(PictureButton, DisabledLookIsDerivedFromThePictureUnlessOneIsGiven)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        Bitmap picture(framedPicture(12, 10, kRed));
        dlg.picture.SetBitmaps(picture.handle, kWhite);
    });
    EnableWindow(d.picture, FALSE);
    auto greyed = opsOf(paint(d.picture), DrawOpKind::Icon);
    ASSERT_EQ(greyed.size(), 1u);
    const COLORREF grey = greyed[0].pixels->colorAt(5, 5);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_GE(GetRValue(grey), 128) << "lightened";
    EXPECT_EQ(greyed[0].pixels->alphaAt(0, 0), 0) << "the transparent part stays transparent";

    d.picture.SetDisabledLook(CButtonST::DisabledLook::FadedColour);
    auto faded = opsOf(paint(d.picture), DrawOpKind::Icon);
    ASSERT_EQ(faded.size(), 1u);
    const COLORREF washed = faded[0].pixels->colorAt(5, 5);
    EXPECT_GT(GetRValue(washed), GetGValue(washed)) << "still red";
    EXPECT_GT(GetGValue(washed), 0) << "but washed towards the face";

    Bitmap off(framedPicture(12, 10, kBlue));
    Bitmap on(framedPicture(12, 10, kRed));
    ASSERT_TRUE(d.picture.SetBitmaps(on.handle, kWhite, off.handle, kWhite));
    EXPECT_EQ(opsOf(paint(d.picture), DrawOpKind::Icon).at(0).pixels->colorAt(5, 5), kBlue);
    EnableWindow(d.picture, TRUE);
    EXPECT_EQ(opsOf(paint(d.picture), DrawOpKind::Icon).at(0).pixels->colorAt(5, 5), kRed);
}

TEST_F(PictureButton, KeepsItsOwnCopyWhenTheCallerDeletesTheBitmapAndRefusesDeadOnes)
{
    CustomDialog& d = openDialog();
    HBITMAP bitmap = kxwin::createBitmap(framedPicture(8, 8, kBlue));
    ASSERT_TRUE(d.picture.SetBitmaps(bitmap, kWhite));
    DeleteObject(bitmap);
    EXPECT_FALSE(d.picture.SetBitmaps(bitmap, kWhite)) << "a dead bitmap";
    EXPECT_FALSE(d.picture.SetBitmaps(nullptr, kWhite));
    const auto shown = opsOf(paint(d.picture), DrawOpKind::Icon);
    ASSERT_EQ(shown.size(), 1u) << "the first picture stays";
    EXPECT_EQ(shown[0].pixels->colorAt(4, 4), kBlue);
}

TEST_F(PictureButton, PictureFromFileOrResourceAndTooLargePicturesFitInside)
{
    kxtest::TempFolder folder;
    kxtest::writeBytes(folder.file("big.bmp"), [] {
        auto bytes = kxwin::encodeBmp(framedPicture(200, 100, kRed));
        return std::string(bytes.begin(), bytes.end());
    }());
    kxtest::writeBytes(folder.file("broken.bmp"), "BM this is no picture");
    auto icon = kxwin::encodeBmp(framedPicture(16, 16, kBlue));
    kxwin::addResourceData(module, "ICON", 217, std::vector<BYTE>(icon.begin(), icon.end()));

    CustomDialog& d = openDialog();
    EXPECT_FALSE(d.picture.SetBitmapFile(folder.file("missing.bmp"), kWhite));
    EXPECT_FALSE(d.picture.SetBitmapFile(folder.file("broken.bmp"), kWhite));
    EXPECT_FALSE(d.picture.hasPicture());
    ASSERT_TRUE(d.picture.SetBitmapFile(folder.file("big.bmp"), kWhite));
    RECT client;
    GetClientRect(d.picture, client);
    const auto big = opsOf(paint(d.picture), DrawOpKind::Icon);
    ASSERT_EQ(big.size(), 1u);
    EXPECT_GE(big[0].rect.left, 0);
    EXPECT_LE(big[0].rect.right, client.right);
    EXPECT_LE(big[0].rect.bottom, client.bottom);
    EXPECT_EQ(big[0].rect.width(), 2 * big[0].rect.height()) << "proportions kept";

    EXPECT_FALSE(d.clashSwitch.SetIcon(999));
    ASSERT_TRUE(d.clashSwitch.SetIcon(217));
    EXPECT_EQ(opsOf(paint(d.clashSwitch), DrawOpKind::Icon).at(0).pixels->colorAt(8, 8), kBlue);
}

TEST_F(PictureButton, TooltipIsShownOnlyForANonEmptyTextAndGoesWithTheButton)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        dlg.picture.SetTooltipText("Select other macros");
        dlg.clashSwitch.SetTooltipText("");
    });
    EXPECT_EQ(driver().tooltip(kPicture), "Select other macros");
    EXPECT_EQ(driver().tooltip(kClashSwitch), "");
    d.picture.SetTooltipText("Front view");
    EXPECT_EQ(driver().tooltip(kPicture), "Front view");
    d.picture.ActivateTooltip(false);
    EXPECT_EQ(driver().tooltip(kPicture), "");
    d.picture.ActivateTooltip(true);
    d.picture.SetTooltipText("");
    EXPECT_EQ(driver().tooltip(kPicture), "") << "an empty text removes the tip";

    const auto tooltips = [] {
        const auto windows = GetTopLevelWindows();
        return std::count_if(windows.begin(), windows.end(),
                             [](HWND w) { return GetClassName(w) == TOOLTIPS_CLASS; });
    };
    EXPECT_EQ(tooltips(), 1) << "one tooltip control, made by the button that has a tip";
    DestroyWindow(d.m_hWnd);
    EXPECT_EQ(tooltips(), 0);
}

TEST_F(PictureButton, PushLikeSwitchLooksPressedWhileCheckedAndTellsEveryClick)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        Bitmap picture(framedPicture(8, 8, kRed));
        dlg.clashSwitch.SetBitmaps(picture.handle, kWhite);
        dlg.CheckDlgButton(kClashSwitch, BST_CHECKED);
    });
    EXPECT_EQ(paint(d.clashSwitch).front().color, CButtonST::kPressedFace) << "checked from the data";
    driver().click(kClashSwitch);
    EXPECT_EQ(driver().checkState(kClashSwitch), BST_UNCHECKED);
    EXPECT_EQ(paint(d.clashSwitch).front().color, CButtonST::kFace);
    const auto shown = opsOf(paint(d.clashSwitch), DrawOpKind::Icon);
    ASSERT_EQ(shown.size(), 1u);
    driver().click(kClashSwitch);
    EXPECT_EQ(driver().checkState(kClashSwitch), BST_CHECKED);
    const auto pressed = opsOf(paint(d.clashSwitch), DrawOpKind::Icon);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0].rect.left, shown[0].rect.left + 1) << "a pressed picture moves down and right";
    EXPECT_EQ(d.of(kClashSwitch), (Strings{"BN_CLICKED", "BN_CLICKED"}));
}

TEST_F(PictureButton, TextIsDrawnBesideThePictureAndGreyWhenDisabled)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        Bitmap picture(framedPicture(8, 8, kRed));
        dlg.textButton.SetBitmaps(picture.handle, kWhite);
    });
    EnableWindow(d.textButton, FALSE);
    const auto ops = paint(d.textButton);
    const auto texts = opsOf(ops, DrawOpKind::DrawText);
    const auto pictures = opsOf(ops, DrawOpKind::Icon);
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(texts[0].text, "Apply");
    EXPECT_EQ(texts[0].color, CButtonST::kDisabledText);
    EXPECT_GT(texts[0].rect.left, pictures[0].rect.right - 1);
}

// --- Check-mark drop-down ---------------------------------------------------------------------------

using CheckCombo = CustomControlsTest;

TEST_F(CheckCombo, TogglingAnEntryNotifiesAndTheFieldShowsTheCheckedNames)
{
    std::vector<std::pair<int, bool>> heard;
    CustomDialog& d = openDialog([&](CustomDialog& dlg) {
        for (const char* name : {"Plates", "Bolts", "Welds"})
            dlg.groups.AddString(name);
        dlg.groups.SetCheck(2, true);
        dlg.groups.setCheckChangedHandler([&](int index, bool checked) {
            heard.emplace_back(index, checked);
            // The handler sees the new state already.
            EXPECT_EQ(dlg.groups.GetCheck(index), checked);
        });
    });
    EXPECT_EQ(driver().text(kGroups), "Welds") << "set from the program, without a notification";
    EXPECT_TRUE(d.journal.empty());

    driver().toggleItem(kGroups, 0);
    EXPECT_TRUE(d.groups.GetCheck(0));
    EXPECT_EQ(driver().text(kGroups), "Plates, Welds");
    EXPECT_EQ(d.groups.lastToggledItem(), 0);
    driver().toggleItem(kGroups, 2);
    EXPECT_EQ(driver().text(kGroups), "Plates");
    EXPECT_EQ(d.groups.GetCheckedCount(), 1);
    EXPECT_EQ(heard, (std::vector<std::pair<int, bool>>{{0, true}, {2, false}}));
    EXPECT_EQ(std::count(d.journal.begin(), d.journal.end(), "110 ComboBox code " + std::to_string(CBN_CHECKCHANGE)), 2);
    EXPECT_EQ(driver().items(kGroups), (Strings{"Plates", "Bolts", "Welds"})) << "the entries keep their texts";
}

TEST_F(CheckCombo, SelectionStaysTheComboBoxsAndIsIndependentOfTheMarks)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        dlg.groups.AddString("Standard", true);
        dlg.groups.AddString("Holes");
        dlg.groups.SetCurSel(0);
    });
    driver().pick(kGroups, 1);
    EXPECT_EQ(driver().selectedIndex(kGroups), 1);
    const Strings heard = d.of(kGroups);
    EXPECT_NE(std::find(heard.begin(), heard.end(), "CBN_SELCHANGE"), heard.end());
    EXPECT_TRUE(d.groups.GetCheck(0));
    EXPECT_FALSE(d.groups.GetCheck(1));
    driver().toggleItem(kGroups, 0);
    EXPECT_EQ(driver().selectedIndex(kGroups), 1) << "a toggle leaves the selection";
    EXPECT_EQ(driver().text(kGroups), "");

    // Space in the opened list marks the highlighted entry.
    driver().openDropDown(kGroups).type(" ");
    EXPECT_TRUE(d.groups.GetCheck(1));
    EXPECT_EQ(driver().selectedIndex(kGroups), 1);
}

TEST_F(CheckCombo, MarksFollowEntriesAddedAndRemovedByRawMessages)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        for (const char* name : {"A", "B", "C"})
            dlg.groups.AddString(name);
        dlg.groups.SetCheck(1, true);
    });
    HWND combo = d.groups;
    SendMessage(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first"));
    EXPECT_FALSE(d.groups.GetCheck(0)) << "a new entry starts unchecked";
    EXPECT_TRUE(d.groups.GetCheck(2)) << "B moved down with its mark";
    SendMessage(combo, CB_DELETESTRING, 0);
    EXPECT_TRUE(d.groups.GetCheck(1));
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 7), CB_ERR);
    EXPECT_EQ(d.groups.GetCount(), 3);
    EXPECT_EQ(d.groups.checkedText(), "B");
    d.groups.ResetContent();
    EXPECT_EQ(d.groups.checkedText(), "");
    EXPECT_FALSE(d.groups.GetCheck(0));
    EXPECT_EQ(d.groups.SetCheck(0, true), CB_ERR);
    EXPECT_EQ(d.groups.SetCheck(-1, true), CB_ERR);
}

TEST_F(CheckCombo, SortedEntriesAndEntriesMadeBeforeTakeOverKeepTheRightMarks)
{
    DialogTemplate sorted = customTemplate(CBS_SORT);
    kxwin::addDialogTemplate(module, sorted);
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        dlg.groups.AddString("Weld", true);
        dlg.groups.AddString("Angle");
        dlg.groups.AddString("Plate", true);
    });
    EXPECT_EQ(driver().items(kGroups), (Strings{"Angle", "Plate", "Weld"}));
    EXPECT_EQ(driver().text(kGroups), "Plate, Weld");

    // A check combo taking over a combo that was filled before.
    CCheckComboBox late;
    HWND images = d.images.UnsubclassWindow();
    SendMessage(images, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
    SendMessage(images, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("y"));
    ASSERT_TRUE(late.SubclassWindow(images));
    EXPECT_FALSE(late.GetCheck(1));
    EXPECT_EQ(late.SetCheck(1, true), 1);
    EXPECT_EQ(late.checkedText(), "y");
}

TEST_F(CheckCombo, NoToggleOutOfRangeOrWhileDisabledAndNoNotificationAfterTheDialogWentAway)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) { dlg.groups.AddString("Only"); });
    HWND combo = d.groups;
    EXPECT_EQ(SendMessage(combo, KXM_USER_TOGGLE_ITEM, 1), 0);
    EXPECT_EQ(SendMessage(combo, KXM_USER_TOGGLE_ITEM, static_cast<WPARAM>(-1)), 0);
    EnableWindow(combo, FALSE);
    EXPECT_EQ(SendMessage(combo, KXM_USER_TOGGLE_ITEM, 0), 0);
    EXPECT_FALSE(d.groups.GetCheck(0));
    EnableWindow(combo, TRUE);

    // A caller that closes the dialog from the handler: the parent is not told afterwards.
    d.groups.setCheckChangedHandler([&](int, bool) { DestroyWindow(d.m_hWnd); });
    EXPECT_EQ(SendMessage(combo, KXM_USER_TOGGLE_ITEM, 0), 1);
    EXPECT_FALSE(IsWindow(combo));
    EXPECT_TRUE(d.journal.empty());
}

TEST_F(CheckCombo, FieldTextIsNeverCutInsideACharacter)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) { dlg.groups.AddString("\xC3\xA4x", true); });
    char buffer[3] = {'?', '?', '?'};
    // Room for "ä" and the zero but not for "äx": the whole "ä" or nothing of it.
    EXPECT_EQ(SendMessage(d.groups, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_EQ(std::string(buffer), "\xC3\xA4");
    EXPECT_EQ(SendMessage(d.groups, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], '\0');
}

// --- Thumbnail list ---------------------------------------------------------------------------------

class Thumbnails : public CustomControlsTest {
protected:
    void SetUp() override
    {
        CustomControlsTest::SetUp();
        writePicture("beam.bmp", BitmapPixels(40, 20, kRed));
        writePicture("column.bmp", BitmapPixels(20, 40, kBlue));
        kxtest::writeBytes(folder.file("garbage.bmp"), std::string("BM\x10\0\0\0garbage", 13));
    }
    void writePicture(const std::string& name, const BitmapPixels& pixels)
    {
        const auto bytes = kxwin::encodeBmp(pixels);
        kxtest::writeBytes(folder.file(name), std::string(bytes.begin(), bytes.end()));
    }
    ImageListData data(const Strings& files)
    {
        ImageListData out;
        for (const std::string& f : files)
            out.append(folder.file(f));
        return out;
    }
    kxtest::TempFolder folder;
};

TEST_F(Thumbnails, PicturesBecomeThumbnailsOfTheFirstPicturesSizeAndBadFilesPlaceholders)
{
    CustomDialog& d = openDialog();
    const int read = d.thumbs.setData(data({"beam.bmp", "column.bmp", "missing.bmp", "garbage.bmp"}));
    EXPECT_EQ(read, 2);
    EXPECT_EQ(driver().items(kThumbs), (Strings{"beam", "column", "missing", "garbage"}));
    EXPECT_EQ(d.thumbs.thumbnailSize(), (SIZE{40, 20}));
    EXPECT_EQ(GetWindowLong(d.thumbs, GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);

    HIMAGELIST images = d.thumbs.imageList();
    ASSERT_EQ(reinterpret_cast<HIMAGELIST>(SendMessage(d.thumbs, LVM_GETIMAGELIST, LVSIL_NORMAL)), images);
    ASSERT_EQ(ImageList_GetImageCount(images), 4);
    EXPECT_EQ(kxwin::imageListPixels(images, 0)->colorAt(0, 0), kRed);
    // 20 x 40 in a 40 x 20 cell: 10 x 20, centred.
    const auto column = kxwin::imageListPixels(images, 1);
    EXPECT_EQ(column->alphaAt(14, 10), 0);
    EXPECT_EQ(column->colorAt(15, 10), kBlue);
    EXPECT_EQ(column->colorAt(24, 10), kBlue);
    EXPECT_EQ(column->alphaAt(25, 10), 0);
    for (int i : {2, 3}) {
        EXPECT_TRUE(d.thumbs.isPlaceholder(i));
        const auto empty = kxwin::imageListPixels(images, i);
        EXPECT_EQ(empty->colorAt(0, 0), CImageListCtrl::kPlaceholderFrame);
        EXPECT_EQ(empty->colorAt(20, 10), CImageListCtrl::kPlaceholderFill);
    }
    EXPECT_FALSE(d.thumbs.isPlaceholder(0));

    // Each item shows its own thumbnail, whatever the template's sort order would have done.
    LVITEM item;
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 3;
    SendMessage(d.thumbs, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 3);
    EXPECT_EQ(item.lParam, 3);
}

TEST_F(Thumbnails, SizeComesFromTheFirstReadablePictureOrTheDataAndIsLimited)
{
    CustomDialog& d = openDialog();
    d.thumbs.setData(data({"missing.bmp", "column.bmp"}));
    EXPECT_EQ(d.thumbs.thumbnailSize(), (SIZE{20, 40}));
    EXPECT_TRUE(d.thumbs.isPlaceholder(0));
    EXPECT_EQ(kxwin::imageListPixels(d.thumbs.imageList(), 0)->width, 20);

    d.thumbs.setData(data({"missing.bmp", "garbage.bmp"}));
    EXPECT_EQ(d.thumbs.thumbnailSize(), (SIZE{CImageListCtrl::kDefaultThumbnailSide, CImageListCtrl::kDefaultThumbnailSide}));

    ImageListData huge = data({"beam.bmp"});
    huge.setThumbnailSize(1000, 500);
    d.thumbs.setData(huge);
    EXPECT_EQ(d.thumbs.thumbnailSize(), (SIZE{256, 128}));
    EXPECT_EQ(kxwin::liveImageListCount(), 1) << "each fill replaces the previous image list";
}

TEST_F(Thumbnails, ChoosingAThumbnailAndDoubleClickingItAsTheSelectionDialogsDo)
{
    Strings dblClicked;
    CustomDialog d;
    d.setUp = [&](CustomDialog& dlg) {
        ImageListData entries;
        entries.append(folder.file("beam.bmp"), "Beam");
        entries.append(folder.file("column.bmp"), "Column");
        dlg.thumbs.setData(entries);
    };
    // A double click acts as OK when a thumbnail is chosen.
    d.notifyHook = [&](NMHDR& header) -> LRESULT {
        if (header.idFrom == kThumbs && header.code == NM_DBLCLK) {
            dblClicked.push_back(d.thumbs.getSelectedName().str());
            if (!d.thumbs.getSelectedFile().isEmpty())
                d.EndDialog(IDOK);
        }
        return 0;
    };
    Kx_String chosen;
    agent.onDialog(kDialog, [&](DialogDriver& driver) {
        EXPECT_EQ(driver.selectedIndex(kThumbs), -1);
        driver.pick(kThumbs, 1);
        EXPECT_EQ(d.thumbs.getSelectedIndex(), 1);
        EXPECT_EQ(d.thumbs.getSelectedName(), Kx_String("Column"));
        driver.doubleClickItem(kThumbs, 0);
        chosen = d.thumbs.getSelectedFile();
    });
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(chosen, Kx_String(folder.file("beam.bmp")));
    EXPECT_EQ(dblClicked, Strings{"Beam"});
    EXPECT_NE(std::find(d.journal.begin(), d.journal.end(), "120 LVN_ITEMCHANGED"), d.journal.end());
    EXPECT_EQ(kxwin::liveImageListCount(), 0) << "the image list went with the dialog";
}

TEST_F(Thumbnails, SelectingFromTheProgramAndNothingSelected)
{
    CustomDialog& d = openDialog();
    d.thumbs.setData(data({"beam.bmp", "column.bmp"}));
    EXPECT_EQ(d.thumbs.getSelectedIndex(), -1);
    EXPECT_TRUE(d.thumbs.getSelectedFile().isEmpty());
    EXPECT_TRUE(d.thumbs.getSelectedName().isEmpty());
    std::string typed = folder.file("COLUMN.BMP");
    std::replace(typed.begin(), typed.end(), '/', '\\');
    EXPECT_TRUE(d.thumbs.selectFile(Kx_String(typed))) << "file names match whatever their case and separators";
    EXPECT_EQ(d.thumbs.getSelectedIndex(), 1);
    EXPECT_FALSE(d.thumbs.selectFile(Kx_String(folder.file("other.bmp"))));
    EXPECT_FALSE(d.thumbs.setSelectedIndex(2));
    EXPECT_EQ(d.thumbs.getSelectedIndex(), 1);
    EXPECT_TRUE(d.thumbs.setSelectedIndex(-1));
    EXPECT_EQ(d.thumbs.getSelectedIndex(), -1);

    d.thumbs.setData(data({"beam.bmp"}));
    EXPECT_EQ(d.thumbs.getSelectedIndex(), -1) << "new data clears the selection";
}

TEST_F(Thumbnails, OnlyAListViewBecomesAThumbnailList)
{
    CustomDialog& d = openDialog();
    CImageListCtrl wrong;
    EXPECT_FALSE(wrong.initialize(d.m_hWnd, kLabel));
    EXPECT_FALSE(wrong.initialize(d.m_hWnd, 9999));
    EXPECT_FALSE(wrong.initialize(d.m_hWnd, kThumbs)) << "already taken over";
    EXPECT_EQ(wrong.setData(data({"beam.bmp"})), -1);
    EXPECT_EQ(wrong.getSelectedIndex(), -1);
}

TEST(ImageListEntries, NamesDefaultToTheFileNameAndFilesAreFoundAsTyped)
{
    ImageListData data;
    EXPECT_EQ(data.append("C:\\Lib\\icons\\HEA-big.bmp"), 0);
    data.append("lib/macros/Base plate 2.bmp", "Base plate");
    EXPECT_EQ(data.getName(0), Kx_String("HEA-big"));
    EXPECT_EQ(data.getName(1), Kx_String("Base plate"));
    EXPECT_TRUE(data.getFile(2).isEmpty());
    EXPECT_TRUE(data.getName(-1).isEmpty());
    EXPECT_EQ(data.findFile("c:/lib/ICONS/hea-big.bmp"), 0);
    EXPECT_EQ(data.findFile("C:\\Lib\\icons\\HEA-big.bm"), -1);

    Kx_StringArray files{"a.bmp", "b.bmp", "c.bmp"};
    Kx_StringArray names{"Alpha", ""};
    data.set(files, names);
    EXPECT_EQ(data.length(), 3);
    EXPECT_EQ(data.getName(0), Kx_String("Alpha"));
    EXPECT_EQ(data.getName(1), Kx_String("b"));
    EXPECT_EQ(data.getName(2), Kx_String("c"));
    data.setThumbnailSize(-4, 30);
    EXPECT_EQ(data.thumbnailWidth(), 0);
    EXPECT_EQ(data.thumbnailHeight(), 30);
}

// --- Picture drop-down ------------------------------------------------------------------------------

using PicturePicker = CustomControlsTest;

TEST_F(PicturePicker, PersonPicksAPictureByItsTextAndTheFieldShowsIt)
{
    kxtest::TempFolder folder;
    const auto bytes = kxwin::encodeBmp(BitmapPixels(6, 6, RGB(0, 150, 0)));
    kxtest::writeBytes(folder.file("green.bmp"), std::string(bytes.begin(), bytes.end()));
    CustomDialog& d = openDialog([&](CustomDialog& dlg) {
        Bitmap red(BitmapPixels(12, 12, kRed));
        Bitmap blue(BitmapPixels(24, 12, kBlue));
        EXPECT_EQ(dlg.images.AddBitmap(red.handle, "red.bmp"), 0);
        EXPECT_EQ(dlg.images.AddBitmap(blue.handle, "blue.bmp"), 1);
        EXPECT_EQ(dlg.images.AddBitmapFile(folder.file("green.bmp"), "green.bmp"), 2);
        EXPECT_EQ(dlg.images.AddBitmapFile(folder.file("gone.bmp"), "gone.bmp"), 3);
    });
    EXPECT_EQ(driver().items(kImages), (Strings{"red.bmp", "blue.bmp", "green.bmp", "gone.bmp"}));
    EXPECT_EQ(d.images.GetItemPicture(3), nullptr) << "a missing file gives an entry without a picture";
    EXPECT_EQ(d.images.GetItemPicture(2)->colorAt(0, 0), RGB(0, 150, 0));

    driver().pick(kImages, "blue.bmp");
    EXPECT_EQ(d.images.GetCurSel(), 1);
    EXPECT_NE(std::find(d.journal.begin(), d.journal.end(), "130 CBN_SELCHANGE"), d.journal.end());
    const auto ops = paint(d.images);
    const auto pictures = opsOf(ops, DrawOpKind::Icon);
    ASSERT_EQ(pictures.size(), 1u) << kxwin::describeDrawOps(ops);
    EXPECT_EQ(pictures[0].pixels->colorAt(0, 0), kBlue);
    EXPECT_EQ(pictures[0].rect.width(), 2 * pictures[0].rect.height()) << "proportions kept in the field";
    const auto texts = opsOf(ops, DrawOpKind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "blue.bmp");

    driver().pick(kImages, "gone.bmp");
    EXPECT_TRUE(opsOf(paint(d.images), DrawOpKind::Icon).empty());
    EXPECT_EQ(opsOf(paint(d.images), DrawOpKind::DrawText).at(0).text, "gone.bmp");
}

TEST_F(PicturePicker, PicturesStayWithTheirEntriesWhateverChangesTheList)
{
    CustomDialog& d = openDialog();
    HBITMAP red = kxwin::createBitmap(BitmapPixels(4, 4, kRed));
    d.images.AddBitmap(red, "red");
    DeleteObject(red);  // the combo keeps its own copy
    d.images.AddBitmap(nullptr, "none");
    SendMessage(d.images, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("raw"));
    EXPECT_EQ(d.images.GetItemPicture(0), nullptr);
    ASSERT_NE(d.images.GetItemPicture(1), nullptr);
    EXPECT_EQ(d.images.GetItemPicture(1)->colorAt(1, 1), kRed);
    EXPECT_EQ(d.images.DeleteItem(0), 2);
    EXPECT_EQ(d.images.GetItemText(0), "red");
    EXPECT_NE(d.images.GetItemPicture(0), nullptr);
    EXPECT_EQ(d.images.DeleteItem(5), CB_ERR);
    EXPECT_EQ(d.images.InsertBitmap(9, nullptr, "beyond"), CB_ERR);

    EXPECT_EQ(d.images.SelectText("NONE"), 1);
    EXPECT_EQ(d.images.SelectText("absent"), CB_ERR);
    EXPECT_EQ(d.images.GetCurSel(), 1) << "an unknown text leaves the selection";
    d.images.ResetContent();
    EXPECT_EQ(d.images.GetItemPicture(0), nullptr);
    EXPECT_TRUE(opsOf(paint(d.images), DrawOpKind::DrawText).empty());
}

// --- Colour label -----------------------------------------------------------------------------------

using ColourLabel = CustomControlsTest;

TEST_F(ColourLabel, ClickTellsTheParentOnceWithOrWithoutNotifyStyle)
{
    CustomDialog& d = openDialog();
    // As the bolt dialog does: a click on the label toggles its check button.
    d.commandHook = [&](int id, WORD code) {
        if (id == kLabel && code == STN_CLICKED)
            d.CheckDlgButton(kHoleUsed, d.IsDlgButtonChecked(kHoleUsed) ? BST_UNCHECKED : BST_CHECKED);
    };
    driver().click(kLabel);
    EXPECT_EQ(d.of(kLabel), Strings{"STN_CLICKED"});
    EXPECT_EQ(driver().checkState(kHoleUsed), BST_CHECKED);

    d.label.ModifyStyle(0, SS_NOTIFY);
    driver().click(kLabel);
    EXPECT_EQ(d.of(kLabel), (Strings{"STN_CLICKED", "STN_CLICKED"})) << "never twice for one click";
    EXPECT_EQ(driver().checkState(kHoleUsed), BST_UNCHECKED);
    driver().doubleClick(kLabel);
    EXPECT_EQ(d.of(kLabel).back(), "STN_DBLCLK");

    EnableWindow(d.label, FALSE);
    d.journal.clear();
    SendMessage(d.label, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(d.journal.empty()) << "a disabled label is not clickable";
}

TEST_F(ColourLabel, PaintsItsTextInItsColoursAndGreyWhenDisabled)
{
    CustomDialog& d = openDialog([](CustomDialog& dlg) {
        EXPECT_EQ(dlg.label.SetTextColor(RGB(200, 0, 0)), CColorStatic::kDefaultText);
        EXPECT_EQ(dlg.label.SetBkColor(RGB(255, 255, 0)), CColorStatic::kDefaultBackground);
    });
    auto ops = paint(d.label);
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front().kind, DrawOpKind::FillRect);
    EXPECT_EQ(ops.front().color, RGB(255, 255, 0));
    auto texts = opsOf(ops, DrawOpKind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hole 1");
    EXPECT_EQ(texts[0].color, RGB(200, 0, 0));
    EnableWindow(d.label, FALSE);
    texts = opsOf(paint(d.label), DrawOpKind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].color, CColorStatic::kDisabledText);
}

} // namespace
