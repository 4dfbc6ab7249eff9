// What the mirror shows beyond a control's text and state: tips from the layer's tooltip controls,
// list-view item pictures from their image lists, a rich edit's formatted runs, and a combo box's
// list opened and closed from either side.
#include "QtTestSupport.h"

#include "core/CButtonST.h"
#include "platform/qt/ShowcaseDialog.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/ImageList.h"
#include "platform/win/RichEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHelpEvent>
#include <QListWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

class ControlDetails : public kxqt::testing::QtTest {
protected:
    void SetUp() override
    {
        QtTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(dialog.createModeless());
        ::ShowWindow(dialog.m_hWnd, SW_SHOW);
        kxqt::syncMirror();
    }
    HWND item(int id) { return GetDlgItem(dialog.m_hWnd, id); }
    QString tipOf(int id) { return widget(item(id))->toolTip(); }
    bool commanded(int id, int code)
    {
        return count(id, code) > 0;
    }
    long count(int id, int code)
    {
        return std::count(dialog.commands.begin(), dialog.commands.end(), std::pair<int, int>{id, code});
    }
    // Asks a widget for its tip at a point as Qt does when the pointer rests there; the text shown,
    // or empty when none is.
    QString tipAt(QWidget* w, QPoint at)
    {
        QHelpEvent help(QEvent::ToolTip, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &help);
        return help.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    kxqt::ShowcaseDialog dialog;
};

TOOLINFO windowTool(HWND owner, HWND window, const char* text)
{
    TOOLINFO tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

TEST_F(ControlDetails, TipsFollowTheToolsOfTheLayersTooltipControl)
{
    HWND tip = CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP, 0, 0, 0, 0, dialog.m_hWnd, 0);
    ASSERT_NE(tip, nullptr);
    TOOLINFO name = windowTool(dialog.m_hWnd, item(kxqt::kShowcaseName), "Member name");
    ASSERT_TRUE(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&name)));
    EXPECT_EQ(tipOf(kxqt::kShowcaseName), "Member name");
    EXPECT_EQ(tipOf(kxqt::kShowcaseNotes), "") << "only the tool's own window has the tip";

    name.lpszText = const_cast<char*>("Name of the beam");
    SendMessage(tip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&name));
    EXPECT_EQ(tipOf(kxqt::kShowcaseName), "Name of the beam");

    // Rectangle tools answer for the point the pointer rests on.
    HWND swatch = item(kxqt::kShowcaseSwatch);
    TOOLINFO left;
    left.hwnd = swatch;
    left.uId = 1;
    left.rect = RECT{0, 0, 10, 10};
    left.lpszText = const_cast<char*>("Fill colour");
    TOOLINFO right = left;
    right.uId = 2;
    right.rect = RECT{10, 0, 20, 10};
    right.lpszText = const_cast<char*>("Line colour");
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&left));
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&right));
    QWidget* swatchWidget = widget(swatch);
    ASSERT_NE(swatchWidget, nullptr);
    EXPECT_EQ(swatchWidget->toolTip(), "") << "a rectangle is no tip for the whole window";
    EXPECT_EQ(tipAt(swatchWidget, QPoint(3, 3)), "Fill colour");
    EXPECT_EQ(tipAt(swatchWidget, QPoint(14, 3)), "Line colour");
    EXPECT_EQ(tipAt(swatchWidget, QPoint(3, 30)), "");
    EXPECT_EQ(tipAt(widget(item(kxqt::kShowcaseName)), QPoint(2, 2)), "Name of the beam");

    SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&name));
    EXPECT_EQ(tipOf(kxqt::kShowcaseName), "");
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&name));
    EXPECT_EQ(tipOf(kxqt::kShowcaseName), "Name of the beam");
    // The tips go with their tooltip control.
    DestroyWindow(tip);
    EXPECT_EQ(tipOf(kxqt::kShowcaseName), "");
    EXPECT_EQ(tipAt(swatchWidget, QPoint(3, 3)), "");
}

TEST_F(ControlDetails, AnIconButtonsTipShowsWhileActiveAndGoesWhenCleared)
{
    CButtonST button;
    ASSERT_TRUE(button.SubclassDlgItem(kxqt::kShowcasePushLike, dialog.m_hWnd));
    button.SetTooltipText("Hold the member");
    EXPECT_EQ(tipOf(kxqt::kShowcasePushLike), "Hold the member");
    button.ActivateTooltip(false);
    EXPECT_EQ(tipOf(kxqt::kShowcasePushLike), "");
    button.ActivateTooltip(true);
    EXPECT_EQ(tipOf(kxqt::kShowcasePushLike), "Hold the member");
    button.SetTooltipText("Release the member");
    EXPECT_EQ(tipOf(kxqt::kShowcasePushLike), "Release the member");
    button.SetTooltipText("");
    EXPECT_EQ(tipOf(kxqt::kShowcasePushLike), "");
}

// --- List-view pictures ----------------------------------------------------------------------------

HBITMAP solidBitmap(int size, COLORREF colour, COLORREF border)
{
    kxwin::BitmapPixels pixels(size, size, colour);
    for (int i = 0; i < size; ++i) {
        pixels.setPixel(i, 0, border);
        pixels.setPixel(0, i, border);
    }
    return kxwin::createBitmap(std::move(pixels));
}

int addPicture(HIMAGELIST list, int size, COLORREF colour)
{
    HBITMAP bitmap = solidBitmap(size, colour, kMagenta);
    const int index = ImageList_AddMasked(list, bitmap, kMagenta);
    DeleteObject(bitmap);
    return index;
}

void setItemImage(HWND listView, int item, int image)
{
    LVITEM entry;
    entry.mask = LVIF_IMAGE;
    entry.iItem = item;
    entry.iImage = image;
    ASSERT_TRUE(SendMessage(listView, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&entry)));
}

QImage pictureOf(const QIcon& icon, int size)
{
    return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

QColor centreOf(const QIcon& icon, int size)
{
    return pictureOf(icon, size).pixelColor(size / 2, size / 2);
}

TEST_F(ControlDetails, ListViewItemsShowThePicturesOfTheirViewsImageList)
{
    HIMAGELIST large = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 2, 2);
    HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
    ASSERT_EQ(addPicture(large, 32, kRed), 0);
    ASSERT_EQ(addPicture(large, 32, kBlue), 1);
    ASSERT_EQ(addPicture(small, 16, kBlue), 0);
    HWND icons = item(kxqt::kShowcaseIcons);
    HWND report = item(kxqt::kShowcaseReport);
    SendMessage(icons, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    SendMessage(icons, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessage(report, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    SendMessage(report, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    setItemImage(icons, 0, 0);
    setItemImage(icons, 1, 1);
    setItemImage(icons, 2, 7);  // no such picture: no icon
    setItemImage(report, 0, 0);

    // The icon view draws from the normal list, the report view from the small one.
    auto* list = qobject_cast<QListWidget*>(widget(icons));
    auto* tree = qobject_cast<QTreeWidget*>(widget(report));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(list->iconSize(), QSize(32, 32));
    EXPECT_EQ(centreOf(list->item(0)->icon(), 32), QColor(255, 0, 0));
    EXPECT_EQ(centreOf(list->item(1)->icon(), 32), QColor(0, 0, 255));
    EXPECT_EQ(pictureOf(list->item(0)->icon(), 32).pixelColor(5, 0).alpha(), 0) << "the masked colour is transparent";
    EXPECT_TRUE(list->item(2)->icon().isNull());
    EXPECT_EQ(centreOf(tree->topLevelItem(0)->icon(0), 16), QColor(0, 0, 255));
    setItemImage(report, 1, -1);
    EXPECT_TRUE(qobject_cast<QTreeWidget*>(widget(report))->topLevelItem(1)->icon(0).isNull());

    // An unrelated change keeps the icons made; a replaced picture shows once the view repaints.
    const qint64 made = list->item(0)->icon().cacheKey();
    SetWindowText(item(kxqt::kShowcaseName), "Column 3");
    kxqt::syncMirror();
    EXPECT_EQ(list->item(0)->icon().cacheKey(), made);
    HBITMAP green = solidBitmap(32, kGreen, kGreen);
    ASSERT_TRUE(ImageList_Replace(large, 0, green, nullptr));
    DeleteObject(green);
    InvalidateRect(icons, nullptr, TRUE);
    EXPECT_EQ(centreOf(qobject_cast<QListWidget*>(widget(icons))->item(0)->icon(), 32), QColor(0, 160, 0));

    // Another list for the view, and a view switched to the small pictures.
    HIMAGELIST other = ImageList_Create(24, 24, ILC_COLOR32, 1, 1);
    ASSERT_EQ(addPicture(other, 24, kBlue), 0);
    SendMessage(icons, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(other));
    list = qobject_cast<QListWidget*>(widget(icons));
    EXPECT_EQ(list->iconSize(), QSize(24, 24));
    EXPECT_EQ(centreOf(list->item(0)->icon(), 24), QColor(0, 0, 255));
    EXPECT_TRUE(list->item(1)->icon().isNull());
    SetWindowLong(icons, GWL_STYLE, (GetWindowLong(icons, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_SMALLICON);
    InvalidateRect(icons, nullptr, TRUE);
    list = qobject_cast<QListWidget*>(widget(icons));
    EXPECT_EQ(list->iconSize(), QSize(16, 16));
    EXPECT_EQ(centreOf(list->item(0)->icon(), 16), QColor(0, 0, 255));

    // A list destroyed while the view still names it leaves the items without pictures.
    ImageList_Destroy(small);
    InvalidateRect(icons, nullptr, TRUE);
    EXPECT_TRUE(qobject_cast<QListWidget*>(widget(icons))->item(0)->icon().isNull());
    ImageList_Destroy(large);
    ImageList_Destroy(other);
}

// --- Rich text -----------------------------------------------------------------------------------

void formatRange(HWND rich, int from, int to, const CHARFORMAT& format)
{
    SendMessage(rich, EM_SETSEL, static_cast<WPARAM>(from), to);
    SendMessage(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

QTextCharFormat formatAt(QTextEdit* edit, int position)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(position + 1);  // the format of the character before the cursor
    return cursor.charFormat();
}

TEST_F(ControlDetails, ARichEditsFormatRunsShowAsCharacterFormats)
{
    HWND rich = item(kxqt::kShowcaseRich);
    SetWindowText(rich, "Plate 10 mm\r\nBolts M20");
    CHARFORMAT bold;
    bold.dwMask = CFM_BOLD | CFM_COLOR;
    bold.dwEffects = CFE_BOLD;
    bold.crTextColor = kRed;
    formatRange(rich, 0, 5, bold);
    CHARFORMAT mono;
    mono.dwMask = CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_SIZE;
    mono.dwEffects = CFE_ITALIC | CFE_UNDERLINE;
    mono.yHeight = 200;  // 10 points
    std::strcpy(mono.szFaceName, "Courier New");
    formatRange(rich, 6, 8, mono);
    // A run that starts after a line break: "M20" in blue.
    CHARFORMAT blue;
    blue.dwMask = CFM_COLOR;
    blue.crTextColor = kBlue;
    formatRange(rich, 19, 22, blue);

    auto* edit = qobject_cast<QTextEdit*>(widget(rich));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->toPlainText(), "Plate 10 mm\nBolts M20");
    EXPECT_EQ(edit->document()->blockCount(), 2);
    const QTextCharFormat plate = formatAt(edit, 2);
    EXPECT_EQ(plate.fontWeight(), QFont::Bold);
    EXPECT_EQ(plate.foreground().color(), QColor(255, 0, 0));
    const QTextCharFormat ten = formatAt(edit, 7);
    EXPECT_TRUE(ten.fontItalic());
    EXPECT_TRUE(ten.fontUnderline());
    EXPECT_EQ(ten.fontWeight(), QFont::Normal);
    EXPECT_EQ(ten.font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(ten.font().pixelSize(), 13);
    const QTextCharFormat mm = formatAt(edit, 9);
    EXPECT_FALSE(mm.fontItalic());
    EXPECT_EQ(mm.font().pixelSize(), 11) << "8 points, the dialog font's size";
    EXPECT_EQ(mm.foreground().style(), Qt::NoBrush) << "the automatic colour is the palette's";
    // Qt counts the line break as one character, the layer as two.
    EXPECT_EQ(formatAt(edit, 18).foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(edit, 15).foreground().style(), Qt::NoBrush);

    // A format change alone (same text) shows too.
    CHARFORMAT plain;
    plain.dwMask = CFM_BOLD;
    formatRange(rich, 0, 5, plain);
    kxqt::syncMirror();
    EXPECT_EQ(formatAt(edit, 2).fontWeight(), QFont::Normal);
    EXPECT_EQ(formatAt(edit, 2).foreground().color(), QColor(255, 0, 0));
}

// --- The combo box's list ----------------------------------------------------------------------------

TEST_F(ControlDetails, TheComboListOpensAndClosesWithTheLayersAndReportsQtsAsInput)
{
    HWND profile = item(kxqt::kShowcaseProfile);
    auto* combo = qobject_cast<QComboBox*>(widget(profile));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->view()->isVisible());

    // Opened and closed by the layer (the module's own CB_SHOWDROPDOWN).
    SendMessage(profile, CB_SHOWDROPDOWN, TRUE);
    kxqt::syncMirror();
    EXPECT_TRUE(combo->view()->isVisible());
    SendMessage(profile, CB_SHOWDROPDOWN, FALSE);
    kxqt::syncMirror();
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(SendMessage(profile, CB_GETDROPPEDSTATE), FALSE);

    // Opened in Qt: the layer's list opens (its owner hears CBN_DROPDOWN); dismissed in Qt: it closes.
    dialog.commands.clear();
    combo->showPopup();
    EXPECT_EQ(SendMessage(profile, CB_GETDROPPEDSTATE), TRUE);
    EXPECT_TRUE(commanded(kxqt::kShowcaseProfile, CBN_DROPDOWN));
    combo->hidePopup();
    QApplication::processEvents();
    EXPECT_EQ(SendMessage(profile, CB_GETDROPPEDSTATE), FALSE);
    EXPECT_TRUE(commanded(kxqt::kShowcaseProfile, CBN_CLOSEUP));

    // A pick in Qt's open list is the layer's pick: accepted, not a dismissal followed by a pick.
    dialog.commands.clear();
    combo->showPopup();
    ASSERT_TRUE(combo->view()->isVisible());
    combo->view()->setCurrentIndex(combo->model()->index(2, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(SendMessage(profile, CB_GETCURSEL), 2);
    EXPECT_EQ(SendMessage(profile, CB_GETDROPPEDSTATE), FALSE);
    EXPECT_TRUE(commanded(kxqt::kShowcaseProfile, CBN_SELENDOK));
    EXPECT_FALSE(commanded(kxqt::kShowcaseProfile, CBN_SELENDCANCEL));
    EXPECT_EQ(count(kxqt::kShowcaseProfile, CBN_DROPDOWN), 1);
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(combo->currentIndex(), 2);

    // A disabled combo box's list does not open from Qt.
    EnableWindow(profile, FALSE);
    kxqt::syncMirror();
    combo->showPopup();
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(SendMessage(profile, CB_GETDROPPEDSTATE), FALSE);
}

} // namespace
