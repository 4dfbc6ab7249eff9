// The grid shown as a QTableView over its own cell store: cells and headers read from the grid,
// clicks and typing through Qt reach the grid as the scripted user's input, with its notifications.
#include "QtTestSupport.h"

#include "platform/grid/Spread.h"
#include "platform/qt/ShowcaseDialog.h"
#include "platform/win/Bitmap.h"
#include "platform/win/UserAgent.h"
#include "platform/win/UserInput.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kGridId = 1900;

class GridInDialog : public kxqt::testing::QtTest {
protected:
    void SetUp() override
    {
        QtTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(dialog.createModeless());
        grid = CreateWindowEx(0, kGridClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 4, 300, 160,
                              dialog.m_hWnd, kGridId);
        ASSERT_NE(grid, nullptr);
        ::ShowWindow(dialog.m_hWnd, SW_SHOW);
    }
    QTableView* view()
    {
        auto* v = qobject_cast<QTableView*>(widget(grid));
        EXPECT_NE(v, nullptr);
        return v;
    }
    std::string data(int col, int row)
    {
        char buffer[256] = {};
        SSGetData(grid, col, row, buffer, sizeof buffer);
        return buffer;
    }
    bool commanded(int code)
    {
        return std::find(dialog.commands.begin(), dialog.commands.end(), std::pair{kGridId, code}) !=
               dialog.commands.end();
    }
    QPoint centre(QTableView* v, int col, int row)
    {
        return v->visualRect(v->model()->index(row - 1, col - 1)).center();
    }
    kxqt::ShowcaseDialog dialog;
    HWND grid = nullptr;
};

TEST_F(GridInDialog, TheTableShowsTheCellsAndHeaderTextsOfTheGrid)
{
    SSSetMaxCols(grid, 3);
    SSSetMaxRows(grid, 4);
    SSSetData(grid, 1, 1, "Beam");
    SSSetData(grid, 2, 3, "Column 7");
    SSSetData(grid, 2, 0, "Member");
    SSSetData(grid, 0, 3, "Third");
    ASSERT_TRUE(SSAddCellSpan(grid, 1, 4, 2, 1));
    QTableView* v = view();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(mirror->kindOf(grid), kxqt::MirrorKind::Adapter);
    QAbstractItemModel* model = v->model();
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->index(0, 0).data().toString(), "Beam");
    EXPECT_EQ(model->index(2, 1).data().toString(), "Column 7");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Member");
    EXPECT_EQ(model->headerData(2, Qt::Vertical).toString(), "Third");
    EXPECT_EQ(v->columnSpan(3, 0), 2);
    int width = 0;
    SSGetColWidthInPixels(grid, 2, &width);
    EXPECT_EQ(v->columnWidth(1), width);
    // A change in the layer shows after the next sync.
    SSSetData(grid, 3, 2, "Plate");
    kxqt::syncMirror();
    EXPECT_EQ(model->index(1, 2).data().toString(), "Plate");
    EXPECT_TRUE(v->selectionModel()->isSelected(model->index(0, 0)));
    SSSetActiveCell(grid, 2, 3);
    kxqt::syncMirror();
    EXPECT_EQ(v->currentIndex(), model->index(2, 1));
}

TEST_F(GridInDialog, ACheckBoxCellClickedInQtTogglesInTheGridWithItsNotifications)
{
    SSSetMaxCols(grid, 3);
    SSSetMaxRows(grid, 3);
    SS_CELLTYPE box;
    SSSetTypeCheckBox(grid, &box, 0, "Welded", nullptr, nullptr);
    ASSERT_TRUE(SSSetCellType(grid, 2, 2, &box));
    SSSetData(grid, 2, 2, "0");
    QTableView* v = view();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->model()->index(1, 1).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, centre(v, 2, 2));
    EXPECT_EQ(data(2, 2), "1");
    EXPECT_TRUE(commanded(SSN_BUTTONCLICKED));
    EXPECT_TRUE(commanded(SSN_CELLCHANGED));
    kxqt::syncMirror();
    EXPECT_EQ(v->model()->index(1, 1).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(v->currentIndex(), v->model()->index(1, 1));
}

TEST_F(GridInDialog, TypingIntoACellThroughQtChangesTheGridsData)
{
    SSSetMaxCols(grid, 3);
    SSSetMaxRows(grid, 5);
    SS_CELLTYPE number;
    SSSetTypeNumber(grid, &number, 0, 2, 0, 1000);
    ASSERT_TRUE(SSSetCellType(grid, 3, 4, &number));
    QTableView* v = view();
    ASSERT_NE(v, nullptr);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, centre(v, 3, 4));
    auto* editor = v->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "no editor opened on the number cell";
    editor->selectAll();
    QTest::keyClicks(editor, "12.5");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits its editor through a queued call
    EXPECT_EQ(data(3, 4), "12.50");
    EXPECT_TRUE(commanded(SSN_CELLCHANGED));
    EXPECT_FALSE(SSGetEditMode(grid));
    kxqt::syncMirror();
    EXPECT_EQ(v->model()->index(3, 2).data().toString(), "12.50");
}

TEST_F(GridInDialog, TheViewFollowsTheGridsScrollingAndClicksLandOnTheCellsShown)
{
    ASSERT_TRUE(SSSetMaxCols(grid, 12));
    ASSERT_TRUE(SSSetMaxRows(grid, 300));
    QTableView* v = view();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->rowAt(0), 0);
    // The grid scrolls when a person moves the active cell out of its sight (Down, then Right).
    SSSetActiveCell(grid, 11, 199);
    SetFocus(grid);
    for (int vk : {VK_DOWN, VK_RIGHT}) {
        kxwin::sendUserInput(grid, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        kxwin::sendUserInput(grid, WM_KEYUP, static_cast<WPARAM>(vk), 1);
    }
    int left = 0, top = 0;
    ASSERT_TRUE(kxgrid::topLeftCell(grid, &left, &top));
    ASSERT_GT(top, 150) << "the grid did not scroll";
    ASSERT_GT(left, 1);
    kxqt::syncMirror();
    EXPECT_EQ(v->rowAt(0), top - 1);
    EXPECT_EQ(v->columnAt(0), left - 1);
    // A click on the second row and column shown is a click on that cell of the grid.
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, centre(v, left + 1, top + 1));
    int col = 0, row = 0;
    ASSERT_TRUE(SSGetActiveCell(grid, &col, &row));
    EXPECT_EQ(col, left + 1);
    EXPECT_EQ(row, top + 1);
    // The owner placing the active cell far away does not scroll the grid, so the view stays where
    // the grid is and a click still lands on the cell under the pointer.
    ASSERT_TRUE(SSSetActiveCell(grid, 2, 290));
    kxqt::syncMirror();
    EXPECT_EQ(v->rowAt(0), top - 1);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, centre(v, left, top + 2));
    ASSERT_TRUE(SSGetActiveCell(grid, &col, &row));
    EXPECT_EQ(std::pair(col, row), std::pair(left, top + 2));
    // Back at the top left.
    SSSetActiveCell(grid, 1, 2);
    kxwin::sendUserInput(grid, WM_KEYDOWN, VK_UP, 1);
    kxgrid::topLeftCell(grid, &left, &top);
    EXPECT_EQ(std::pair(left, top), std::pair(1, 1));
    kxqt::syncMirror();
    EXPECT_EQ(v->rowAt(0), 0);
    EXPECT_EQ(v->columnAt(0), 0);
}

TEST_F(GridInDialog, LockedCellsTakeTheLockColoursAndBordersAreDrawn)
{
    SSSetMaxCols(grid, 4);
    SSSetMaxRows(grid, 5);
    SSSetColor(grid, 2, 2, RGB(0, 200, 0), SS_COLOR_KEEP);
    SSSetColor(grid, 2, 3, RGB(0, 200, 0), SS_COLOR_KEEP);
    SSSetLock(grid, 2, 2, TRUE);
    SSSetLockColor(grid, RGB(255, 255, 0), RGB(0, 0, 255));
    SSSetBool(grid, SSB_PROTECT, TRUE);
    SSSetBorder(grid, 3, 4, SS_BORDERTYPE_LEFT | SS_BORDERTYPE_BOTTOM, SS_BORDERSTYLE_SOLID, RGB(255, 0, 0));
    QTableView* v = view();
    ASSERT_NE(v, nullptr);
    QAbstractItemModel* model = v->model();
    EXPECT_EQ(model->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 0));
    EXPECT_EQ(model->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_EQ(model->index(2, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 200, 0)) << "not locked";
    // A colour the grid keeps (SS_COLOR_KEEP) leaves the cell's own.
    SSSetLockColor(grid, SS_COLOR_KEEP, RGB(0, 0, 255));
    kxqt::syncMirror();
    EXPECT_EQ(model->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 200, 0));
    SSSetBool(grid, SSB_PROTECT, FALSE);
    kxqt::syncMirror();
    EXPECT_FALSE(model->index(1, 1).data(Qt::ForegroundRole).isValid()) << "unprotected: no lock colours";

    const QImage picture = v->viewport()->grab().toImage();
    const QRect cell = v->visualRect(model->index(3, 2));
    const QColor red(255, 0, 0);
    EXPECT_EQ(picture.pixelColor(cell.left(), cell.center().y()), red);
    EXPECT_EQ(picture.pixelColor(cell.center().x(), cell.bottom()), red);
    EXPECT_NE(picture.pixelColor(cell.right(), cell.center().y()), red);
    EXPECT_NE(picture.pixelColor(cell.center().x(), cell.top()), red);
    EXPECT_NE(picture.pixelColor(cell.center()), red);
}

TEST_F(GridInDialog, APictureCellShowsItsPictureAfterTheFileIsGone)
{
    SSSetMaxCols(grid, 2);
    SSSetMaxRows(grid, 2);
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("kxqt_picture_" + std::to_string(::getpid()) + ".bmp")).string();
    const std::vector<BYTE> bytes = kxwin::encodeBmp(kxwin::BitmapPixels(8, 6, RGB(255, 0, 0)));
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    SS_CELLTYPE type;
    SSSetTypePicture(grid, &type, 0x24, file.c_str());
    ASSERT_TRUE(SSSetCellType(grid, 1, 1, &type));
    std::filesystem::remove(file);
    kxqt::syncMirror();
    QTableView* v = view();
    ASSERT_NE(v, nullptr);
    const QImage shown = v->viewport()->grab().toImage();
    const QRect cell = v->visualRect(v->model()->index(0, 0));
    EXPECT_EQ(shown.pixelColor(cell.left() + 3, cell.top() + 3), QColor(255, 0, 0));
}

TEST_F(GridInDialog, AHundredThousandRowsCostNothingUpFront)
{
    ASSERT_TRUE(SSSetMaxCols(grid, 10));
    ASSERT_TRUE(SSSetMaxRows(grid, 100'000));
    SSSetData(grid, 1, 1, "first");
    SSSetData(grid, 10, 100'000, "last");
    QElapsedTimer clock;
    clock.start();
    QTableView* v = view();
    const qint64 setup = clock.elapsed();
    ASSERT_NE(v, nullptr);
    clock.restart();
    const QPixmap picture = v->grab();
    const qint64 paint = clock.elapsed();
    std::printf("[ measure  ] grid 100000 x 10: model and view set up in %lld ms (target 30 ms)\n",
                static_cast<long long>(setup));
    std::printf("[ measure  ] grid 100000 x 10: one paint in %lld ms (target 10 ms)\n", static_cast<long long>(paint));
    EXPECT_FALSE(picture.isNull());
    EXPECT_EQ(v->model()->rowCount(), 100'000);
    EXPECT_EQ(v->model()->index(99'999, 9).data().toString(), "last");
}

} // namespace
