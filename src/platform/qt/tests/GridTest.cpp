// The grid shown as a QTableView over its own cell store: cells and headers read from the grid,
// clicks and typing through Qt reach the grid as the scripted user's input, with its notifications.
#include "QtTestSupport.h"

#include "platform/grid/Spread.h"
#include "platform/qt/ShowcaseDialog.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
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
