// The bill output into a spreadsheet window: growth and trimming, sub-totals, widening, pictures,
// the end step (variables, title, save) and the faults mended on the way (looks copied into grown
// rows, a failed save reported as success, a title cut inside a character, one window destroyed
// twice by copies, a second bill on top of the first). Also the empty-grid row insertion.
#include "spread/ZnSSBillOutput.h"

#include "core/BillPictures.h"
#include "core/Kx_Bill.h"
#include "core/ZnTempResourceOverride.h"
#include "core/tests/FileTestSupport.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/SaveFile.h"
#include "platform/win/Window.h"
#include "platform/win/testing/AgentFailures.h"
#include "sheetedit/SheetSettings.h"
#include "spread/Kx_Spread.h"
#include "spread/tests/KxSpreadTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class BillOutputTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        kxss::attachModule();
        kxhost::takeCommandLineText();
    }

    // init with three columns: whole number, one decimal, text.
    Acad::ErrorStatus start(ZnSSBillOutput& out, const std::string& name = "bill.sss")
    {
        return out.init(Kx_String(folder.file(name)), Kx_StringArray{"Pos.", "Weight", "Profile"}, {},
                        Kx_Array<int>{1, 2, 3}, Kx_String(), Kx_StringArray{"Project"}, Kx_StringArray{"Hall 3"});
    }
    static HWND gridOf(const ZnSSBillOutput& out) { return out.grid() ? out.grid()->GetSafeHwnd() : nullptr; }
    static std::string data(HWND g, int col, int row)
    {
        const int n = SSGetDataLen(g, col, row);
        std::string s(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
        SSGetData(g, col, row, s.data(), static_cast<int>(s.size()));
        s.resize(static_cast<size_t>(std::max(n, 0)));
        return s;
    }
    static COLORREF back(HWND g, int col, int row)
    {
        COLORREF b = 0, f = 0;
        SSGetColor(g, col, row, &b, &f);
        return b;
    }

    kxtest::TempFolder folder;
};

TEST_F(BillOutputTest, RowsGrowInStepsOfAHundredBlankFormattedRowsAndAreCutAtTheEnd)
{
    ZnSSBillOutput out;
    ASSERT_EQ(start(out), Acad::eOk);
    const HWND g = gridOf(out);
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(IsWindowVisible(out.window()));
    EXPECT_EQ(SSGetMaxCols(g), 3);
    EXPECT_EQ(SSGetMaxRows(g), 0);
    ASSERT_EQ(out.onStartFeed(), Acad::eOk);
    std::vector<int> counts;
    for (int i = 1; i <= 250; ++i) {
        if (i == 100)
            out.onAddSubTotals(Kx_StringArray{"", "12.5", ""}, {}, false, 1);
        else
            out.onAddRow(Kx_StringArray{Kx_String(i), "1.26", "IPE 200"});
        if (counts.empty() || counts.back() != SSGetMaxRows(g))
            counts.push_back(SSGetMaxRows(g));
    }
    EXPECT_EQ(counts, (std::vector<int>{101, 201, 301}));
    // Row 101 came with the growth after the sub-total in row 100: none of its look is repeated.
    EXPECT_EQ(back(g, 2, 100), ZnSSBillOutput::kSubTotalBack);
    EXPECT_NE(back(g, 2, 101), ZnSSBillOutput::kSubTotalBack);
    EXPECT_EQ(SSGetCellType(g, 1, 150), SS_TYPE_NUMBER) << "grown rows take the columns' formats";
    EXPECT_EQ(SSGetCellType(g, 3, 150), SS_TYPE_EDIT);
    EXPECT_EQ(data(g, 2, 101), "1.3") << "one decimal";
    EXPECT_FALSE(SSGetBool(g, SSB_REDRAW)) << "redraw is held during the feed";
    EXPECT_TRUE(IsWindowVisible(out.window())) << "while the window stays visible";
    EXPECT_EQ(out.onEndFeed(), Acad::eOk);
    EXPECT_TRUE(SSGetBool(g, SSB_REDRAW));
    EXPECT_EQ(SSGetMaxRows(g), 250);
    EXPECT_EQ(out.currentRow(), 250);
}

TEST_F(BillOutputTest, SubTotalsColourAndFrameOnlyTheirFilledCells)
{
    ZnSSBillOutput out;
    ASSERT_EQ(out.init(Kx_String(folder.file("b.sss")), Kx_StringArray{"A", "B", "C", "D", "E"}, {}, {}, Kx_String(),
                       {}, {}),
              Acad::eOk);
    const HWND g = gridOf(out);
    out.onAddRow(Kx_StringArray{"1", "2", "3", "4", "5"});
    out.onAddSubTotals(Kx_StringArray{"", "", "7", "", "9"}, {}, false, 1);
    for (int c = 1; c <= 5; ++c) {
        WORD style = 0;
        COLORREF colour = 0;
        SSGetBorder(g, c, 2, SS_BORDERTYPE_TOP, &style, &colour);
        const bool filled = c == 3 || c == 5;
        EXPECT_EQ(back(g, c, 2) == ZnSSBillOutput::kSubTotalBack, filled) << "column " << c;
        EXPECT_EQ(style == SS_BORDERSTYLE_SOLID, filled) << "column " << c;
        EXPECT_NE(back(g, c, 1), ZnSSBillOutput::kSubTotalBack);
    }
}

TEST_F(BillOutputTest, ALongerLineAddsColumnsWithTheLastFormatButNoTitleOrData)
{
    ZnSSBillOutput out;
    ASSERT_EQ(start(out), Acad::eOk);
    const HWND g = gridOf(out);
    out.onAddRow(Kx_StringArray{"1", "2.5", "IPE 200"});
    out.onAddRow(Kx_StringArray{"2", "3.5", "HEA 100", "extra", "more"});
    ASSERT_EQ(SSGetMaxCols(g), 5);
    EXPECT_EQ(data(g, 4, 0), "") << "no copy of the last column's title";
    EXPECT_EQ(data(g, 3, 0), "Profile");
    EXPECT_EQ(data(g, 4, 1), "") << "no copy of the other lines' texts";
    EXPECT_EQ(data(g, 4, 2), "extra");
    EXPECT_EQ(data(g, 5, 2), "more");
    EXPECT_EQ(SSGetCellType(g, 5, 1), SS_TYPE_EDIT) << "the last column's format";
    out.onAddRow(Kx_StringArray{"3"});
    EXPECT_EQ(SSGetMaxCols(g), 5) << "a shorter line leaves the columns";
}

TEST_F(BillOutputTest, EndStoresVariablesInOrderAndSavesUnderTheFileName)
{
    ZnSSBillOutput out;
    ASSERT_EQ(start(out, "proj\xC2\xBFmain list.sss"), Acad::eOk);
    out.onStartFeed();
    out.onAddRow(Kx_StringArray{"1", "2.25", "IPE 200"});
    ASSERT_EQ(out.onEndFeed(), Acad::eOk);
    SheetSettings settings;
    ASSERT_TRUE(settings.readFromSheet(gridOf(out)));
    ASSERT_EQ(settings.varNames.length(), 4);
    EXPECT_EQ(settings.varNames[0], Kx_String("Date"));
    EXPECT_EQ(settings.varNames[1], Kx_String("Title"));
    EXPECT_EQ(settings.varNames[2], Kx_String("BillFilename"));
    EXPECT_EQ(settings.varNames[3], Kx_String("Project"));
    EXPECT_EQ(settings.varValues[1], Kx_String("main list"));
    EXPECT_EQ(settings.varValues[2], out.fileName());
    EXPECT_EQ(settings.varValues[3], Kx_String("Hall 3"));
    EXPECT_NE(settings.varValues[0].str().find(", 20"), std::string::npos) << settings.varValues[0].str();

    HWND loaded = kxgrid::createStandaloneGrid();
    ASSERT_EQ(SSLoadFromFile(loaded, out.fileName().c_str()), TRUE) << kxgrid::lastError(loaded);
    EXPECT_EQ(data(loaded, 3, 1), "IPE 200");
    EXPECT_EQ(data(loaded, 1, 0), "Pos.");
    DestroyWindow(loaded);
}

TEST_F(BillOutputTest, AFailedSaveReturnsTheFileAccessErrorAndSaysWhy)
{
    ZnSSBillOutput out;
    ASSERT_EQ(start(out, "kept.sss"), Acad::eOk);
    {
        std::ofstream old(folder.file("kept.sss"));
        old << "old bill";
    }
    out.onAddRow(Kx_StringArray{"1", "2", "x"});
    {
        kxwin::FailingFileOps failing(/*failAt=*/3);
        kxwin::ScopedFileOps scope(failing);
        kxhost::takeCommandLineText();
        EXPECT_EQ(out.onEndFeed(), Acad::eFileAccessErr);
    }
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find("*Error* The bill could not be saved to"), std::string::npos) << printed;
    EXPECT_NE(printed.find("kept.sss"), std::string::npos);
    std::ifstream in(folder.file("kept.sss"));
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), "old bill") << "the old file is left as it was";

    ZnSSBillOutput nameless;
    ASSERT_EQ(nameless.init(Kx_String(), Kx_StringArray{"A"}, {}, {}, Kx_String(), {}, {}), Acad::eOk);
    EXPECT_EQ(nameless.onEndFeed(), Acad::eFileAccessErr);
    EXPECT_NE(kxhost::takeCommandLineText().find("no file name"), std::string::npos);
}

TEST_F(BillOutputTest, TitleIsCutAtTheLastInvertedQuestionMarkOnly)
{
    EXPECT_EQ(kxss::billTitle("C:\\bills\\proj\xC2\xBFmain list.sss"), Kx_String("main list"));
    EXPECT_EQ(kxss::billTitle("/b/a\xC2\xBF" "b\xC2\xBF" "c.x.sss"), Kx_String("c.x"));
    EXPECT_EQ(kxss::billTitle("proj\xBFmain.sss"), Kx_String("main")) << "single-byte text of peers";
    // y with diaeresis is C3 BF: its second byte is no cut.
    EXPECT_EQ(kxss::billTitle("caf\xC3\xBF-list.sss"), Kx_String("caf\xC3\xBF-list"));
    EXPECT_EQ(kxss::billTitle("\xEF\xBD\xBF" "x.sss"), Kx_String("\xEF\xBD\xBF" "x"));
    EXPECT_EQ(kxss::billTitle("plain"), Kx_String("plain"));
    EXPECT_EQ(kxss::billTitle("ends\xC2\xBF.sss"), Kx_String(""));
}

TEST_F(BillOutputTest, CopiesShareOneWindowThatGoesWithTheLast)
{
    auto first = std::make_unique<ZnSSBillOutput>();
    ASSERT_EQ(start(*first), Acad::eOk);
    const HWND window = first->window();
    first->onAddRow(Kx_StringArray{"1", "2", "a"});
    ZnSSBillOutput copy(*first);
    EXPECT_EQ(copy.window(), window);
    ZnSSBillOutput assigned;
    ASSERT_EQ(start(assigned, "other.sss"), Acad::eOk);
    const HWND otherWindow = assigned.window();
    assigned = copy;
    EXPECT_FALSE(IsWindow(otherWindow)) << "the window no output holds any more is closed";
    assigned.onAddRow(Kx_StringArray{"2", "3", "b"});
    EXPECT_EQ(first->currentRow(), 2) << "copies write on in the same sheet";
    first.reset();
    EXPECT_TRUE(IsWindow(window));
    copy = ZnSSBillOutput(copy);
    EXPECT_TRUE(IsWindow(window));
    {
        ZnSSBillOutput another(assigned);
    }
    EXPECT_TRUE(IsWindow(window)) << "`copy` and `assigned` still hold it";
    copy = ZnSSBillOutput();
    EXPECT_TRUE(IsWindow(window));
    assigned = ZnSSBillOutput();
    EXPECT_FALSE(IsWindow(window)) << "gone with the last holder, destroyed once";
}

TEST_F(BillOutputTest, ASecondInitStartsAFreshBillAndAClosedWindowLeavesNothingToWrite)
{
    ZnSSBillOutput out;
    ASSERT_EQ(start(out), Acad::eOk);
    const HWND g = gridOf(out);
    out.onStartFeed();
    out.onAddRow(Kx_StringArray{"1", "2", "a"});
    out.onAddSubTotals(Kx_StringArray{"", "9", ""}, {}, true, 0);
    SSAddCellSpan(g, 1, 1, 2, 1);
    SSSetRowHeightInPixels(g, 1, 80);
    ASSERT_EQ(start(out, "second.sss"), Acad::eOk);
    EXPECT_EQ(gridOf(out), g) << "the same window";
    EXPECT_EQ(out.currentRow(), 0);
    EXPECT_TRUE(SSGetBool(g, SSB_REDRAW)) << "the first feed's hold is let go";
    out.onAddRow(Kx_StringArray{"7", "8", "b"});
    out.onAddRow(Kx_StringArray{"8", "9", "c"});
    EXPECT_EQ(data(g, 3, 1), "b");
    EXPECT_NE(back(g, 2, 2), ZnSSBillOutput::kSubTotalBack);
    int col = 0, row = 0, cols = 0, rows = 0;
    EXPECT_EQ(SSGetCellSpan(g, 1, 1, &col, &row, &cols, &rows), SS_SPAN_NO);
    int height = 0;
    SSGetRowHeightInPixels(g, 1, &height);
    EXPECT_NE(height, 80);

    // The user closes the window: the lines that still come find no grid, the end reports it.
    SendMessage(out.window(), WM_COMMAND, IDCANCEL);
    EXPECT_EQ(out.window(), nullptr);
    out.onAddRow(Kx_StringArray{"9"});
    EXPECT_EQ(out.onEndFeed(), Acad::eInvalidInput);
}

TEST_F(BillOutputTest, PicturesOfTheSampleFrameSurviveTheirFilesAndTheSave)
{
    kxhost::SimulatedDrawing drawing;
    drawing.addSampleFrame();
    AcTransaction transaction(drawing);
    Kx_Bill bill;
    bill.collect(transaction, Kx_Bill::partsOf(drawing));
    ZnSSBillOutput out;
    out.setVars(-1, 0, 0, true, true, &bill, &transaction);
    ASSERT_EQ(out.init(Kx_String(folder.file("pictures.sss")), Kx_Bill::columnTitles(), {}, Kx_Bill::columnFormats(),
                       Kx_String(), {}, {}),
              Acad::eOk);
    ASSERT_EQ(bill.feed(out), Acad::eOk);
    const HWND g = gridOf(out);
    // Three positions, each with its picture row, three sub-totals and the total.
    EXPECT_EQ(SSGetMaxRows(g), 10);
    SS_CELLTYPE picture;
    ASSERT_TRUE(SSGetCellTypeRecord(g, 2, 2, &picture));
    EXPECT_EQ(picture.type, SS_TYPE_PICTURE);
    ASSERT_TRUE(picture.pixels);
    EXPECT_EQ(picture.pixels->height, 48);
    EXPECT_FALSE(std::filesystem::exists(picture.pictureFile)) << "the temporary file is deleted";
    EXPECT_EQ(SSGetCellType(g, 1, 2), SS_TYPE_PICTURE) << "bitmap 251 marks the row";
    int height = 0;
    SSGetRowHeightInPixels(g, 2, &height);
    EXPECT_EQ(height, 48);
    EXPECT_FALSE(isBMPDialogOpen()) << "the progress window is closed at the end";

    HWND loaded = kxgrid::createStandaloneGrid();
    ASSERT_EQ(SSLoadFromFile(loaded, folder.file("pictures.sss").c_str()), TRUE) << kxgrid::lastError(loaded);
    SS_CELLTYPE reloaded;
    ASSERT_TRUE(SSGetCellTypeRecord(loaded, 2, 2, &reloaded));
    ASSERT_TRUE(reloaded.pixels) << "the saved bill shows its pictures";
    EXPECT_EQ(reloaded.pixels->rgba, picture.pixels->rgba);
    SS_CELLTYPE marker;
    ASSERT_TRUE(SSGetCellTypeRecord(loaded, 1, 2, &marker));
    ASSERT_TRUE(marker.pixels);
    EXPECT_EQ(marker.pixels->width, 16);
    DestroyWindow(loaded);
}

TEST_F(BillOutputTest, RowsGrownAfterAPictureRowAreNeitherPicturesNorTall)
{
    kxhost::SimulatedDrawing drawing;
    drawing.addSampleFrame();
    AcTransaction transaction(drawing);
    Kx_Bill bill;
    bill.collect(transaction, Kx_Bill::partsOf(drawing));
    ZnSSBillOutput out;
    out.setVars(-1, 0, 0, true, true, &bill, &transaction);
    ASSERT_EQ(start(out), Acad::eOk);
    const HWND g = gridOf(out);
    for (int i = 0; i < 99; ++i)
        out.onAddRow(Kx_StringArray{"no part", "1", "x"});
    out.onAddRow(Kx_StringArray{"2", "1", "IPE300"});  // the beam: line in row 100, picture in row 101
    ASSERT_EQ(SSGetMaxRows(g), 101);
    ASSERT_EQ(SSGetCellType(g, 2, 101), SS_TYPE_PICTURE);
    out.onAddRow(Kx_StringArray{"no part", "1", "y"});
    ASSERT_EQ(SSGetMaxRows(g), 201);
    int pictureHeight = 0, grownHeight = 0;
    SSGetRowHeightInPixels(g, 101, &pictureHeight);
    SSGetRowHeightInPixels(g, 150, &grownHeight);
    EXPECT_EQ(pictureHeight, 48);
    EXPECT_NE(grownHeight, 48);
    EXPECT_EQ(SSGetCellType(g, 2, 150), SS_TYPE_NUMBER);
    EXPECT_EQ(SSGetCellType(g, 1, 150), SS_TYPE_NUMBER);
    int col = 0, row = 0, cols = 0, rows = 0;
    EXPECT_EQ(SSGetCellSpan(g, 2, 150, &col, &row, &cols, &rows), SS_SPAN_NO);
    EXPECT_EQ(data(g, 3, 102), "y");
}

TEST_F(BillOutputTest, WithoutItsWindowNothingIsWrittenAndTheEndSaysSo)
{
    // The module's resources are not found: template 248 cannot be made.
    const HINSTANCE module = ZnTempResourceOverride::defaultResource();
    ZnTempResourceOverride::SaveDefaultResource(nullptr);
    ZnSSBillOutput out;
    EXPECT_EQ(start(out), Acad::eNotInDatabase);
    ZnTempResourceOverride::SaveDefaultResource(module);
    EXPECT_EQ(out.window(), nullptr);
    EXPECT_EQ(out.onStartFeed(), Acad::eOk);
    out.onAddRow(Kx_StringArray{"1", "2", "a"});
    out.onAddSubTotals(Kx_StringArray{"", "2", ""}, {}, true, 0);
    EXPECT_EQ(out.currentRow(), 0);
    EXPECT_EQ(out.onEndFeed(), Acad::eInvalidInput);
    EXPECT_FALSE(std::filesystem::exists(folder.file("bill.sss")));
}

using EmptyGridRows = kxtest::KxSpreadTest;

TEST_F(EmptyGridRows, InsertBelowSelectionOnAnEmptyGridMakesRowOne)
{
    spread->setColCount(3);
    ASSERT_EQ(spread->getRowCount(), 0);
    EXPECT_TRUE(spread->insertRowBelowSelection());
    EXPECT_EQ(spread->getRowCount(), 1);
    SSSetData(grid(), 1, 1, "x");
    SSSetActiveCell(grid(), 1, 1);
    EXPECT_TRUE(spread->insertRowBelowSelection());
    EXPECT_EQ(spread->getRowCount(), 2);
}

} // namespace
