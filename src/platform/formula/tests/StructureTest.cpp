// Rows and columns inserted and deleted: formulas move with their cells, references follow the
// cells they name, references into deleted cells become #REF!, ranges grow and shrink.
#include "FormulaTestSupport.h"

#include <string>
#include <vector>

namespace {

using kxformula::Value;
using kxtest::sameValue;
using kxtest::Sheet;

// What the grid does to its own cells before it tells the engine: moves every value of the rows
// (or columns) from `at` on by `delta` (negative: the cells from at to at-delta-1 are deleted).
void shiftCells(Sheet& sheet, bool rows, int at, int delta)
{
    const int columns = sheet.store.columnCount(), rowCount = sheet.store.rowCount();
    std::vector<std::vector<Value>> grid(static_cast<std::size_t>(columns + 1),
                                         std::vector<Value>(static_cast<std::size_t>(rowCount + 1)));
    for (int c = 1; c <= columns; ++c)
        for (int r = 1; r <= rowCount; ++r) {
            int nc = c, nr = r;
            int& axis = rows ? nr : nc;
            if (delta < 0 && axis >= at && axis < at - delta)
                continue;
            if (axis >= at)
                axis += delta;
            if (nc >= 1 && nr >= 1 && nc <= columns && nr <= rowCount)
                grid[static_cast<std::size_t>(nc)][static_cast<std::size_t>(nr)] = sheet.store.valueAt(c, r);
        }
    for (int c = 1; c <= columns; ++c)
        for (int r = 1; r <= rowCount; ++r)
            sheet.store.setValue(c, r, grid[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
}

TEST(Structure, InsertedRowsMoveFormulasAndTheirReferences)
{
    Sheet sheet(6, 30);
    for (int r = 1; r <= 10; ++r)
        sheet.number("A" + std::to_string(r), r);
    sheet.formula("B12", "=SUM(A1:A10)");
    sheet.formula("C1", "=A5*2");
    sheet.formula("D1", "=$A$8");
    sheet.formula("E1", "=SUM(A3:A5)");
    shiftCells(sheet, /*rows=*/true, 3, 2);
    ASSERT_TRUE(sheet.engine.insertRows(3, 2));
    EXPECT_FALSE(sheet.engine.hasFormula(2, 12));
    EXPECT_EQ(sheet.formulaText("B14"), "SUM(A1:A12)");
    EXPECT_EQ(sheet.formulaText("C1"), "A7*2");
    EXPECT_EQ(sheet.formulaText("D1"), "$A$10");
    EXPECT_EQ(sheet.formulaText("E1"), "SUM(A5:A7)") << "a range starting at the insertion moves whole";
    EXPECT_TRUE(sameValue(sheet.value("B14"), "55"));
    EXPECT_TRUE(sameValue(sheet.value("C1"), "10"));
    EXPECT_TRUE(sameValue(sheet.value("D1"), "8"));
    shiftCells(sheet, true, 6, 1);
    ASSERT_TRUE(sheet.engine.insertRows(6, 1)); // inside E1's range: it grows
    EXPECT_EQ(sheet.formulaText("E1"), "SUM(A5:A8)");
    EXPECT_TRUE(sameValue(sheet.value("E1"), "12"));
}

TEST(Structure, DeletedRowsLeaveRefErrorsAndShrinkRanges)
{
    Sheet sheet(6, 30);
    for (int r = 1; r <= 10; ++r)
        sheet.number("A" + std::to_string(r), r);
    sheet.formula("B12", "=SUM(A1:A10)");
    sheet.formula("C1", "=A5*2");
    sheet.formula("D1", "=SUM(A4:A6)+A9");
    sheet.formula("B5", "=1"); // in a deleted row
    shiftCells(sheet, true, 4, -3);
    ASSERT_TRUE(sheet.engine.deleteRows(4, 3));
    EXPECT_EQ(sheet.formulaText("B9"), "SUM(A1:A7)");
    EXPECT_TRUE(sameValue(sheet.value("B9"), "40"));
    EXPECT_EQ(sheet.formulaText("C1"), "#REF!*2");
    EXPECT_TRUE(sameValue(sheet.value("C1"), "#REF!"));
    EXPECT_EQ(sheet.formulaText("D1"), "SUM(#REF!)+A6");
    EXPECT_FALSE(sheet.engine.hasFormula(2, 5));
    EXPECT_EQ(sheet.engine.formulaCount(), 3u);
    // Cutting into a range from either end.
    sheet.formula("E1", "=SUM(A2:A5)");
    shiftCells(sheet, true, 1, -2);
    ASSERT_TRUE(sheet.engine.deleteRows(1, 2)); // E1 itself goes
    sheet.formula("E2", "=SUM(A3:A6)");
    shiftCells(sheet, true, 5, -4);
    ASSERT_TRUE(sheet.engine.deleteRows(5, 4));
    EXPECT_EQ(sheet.formulaText("E2"), "SUM(A3:A4)");
}

TEST(Structure, ColumnsMoveLikeRows)
{
    Sheet sheet(10, 5);
    sheet.number("A1", 1);
    sheet.number("C1", 3);
    sheet.formula("B1", "=A1+C1+$C$1");
    sheet.formula("E1", "=SUM(A1:D1)");
    shiftCells(sheet, /*rows=*/false, 2, 1);
    ASSERT_TRUE(sheet.engine.insertColumns(2, 1));
    EXPECT_EQ(sheet.formulaText("C1"), "A1+D1+$D$1");
    EXPECT_EQ(sheet.formulaText("F1"), "SUM(A1:E1)");
    EXPECT_EQ(sheet.formulaText("C1", kxformula::RefStyle::R1C1), "RC[-2]+RC[1]+R1C4");
    shiftCells(sheet, false, 1, -1);
    ASSERT_TRUE(sheet.engine.deleteColumns(1, 1));
    EXPECT_EQ(sheet.formulaText("B1"), "#REF!+C1+$C$1");
    EXPECT_EQ(sheet.formulaText("E1"), "SUM(A1:D1)");
    EXPECT_TRUE(sameValue(sheet.value("E1"), "#REF!")) << "the sum reads B1, which is #REF!";
}

TEST(Structure, BadRequestsChangeNothing)
{
    Sheet sheet;
    sheet.formula("B2", "=A1");
    EXPECT_FALSE(sheet.engine.insertRows(0, 1));
    EXPECT_FALSE(sheet.engine.insertRows(1, 0));
    EXPECT_FALSE(sheet.engine.deleteColumns(1, -5));
    EXPECT_EQ(sheet.formulaText("B2"), "A1");
    sheet.formula("C3", "=(");
    ASSERT_TRUE(sheet.engine.insertRows(1, 1));
    EXPECT_EQ(sheet.formulaText("C4"), "(") << "an unreadable formula moves as it is";
    EXPECT_EQ(sheet.formulaText("B3"), "A2");
}

} // namespace

namespace {

// Whole columns move and stretch with inserted and deleted columns; rows inserted or deleted leave
// them whole (and whole rows likewise).
TEST(Structure, WholeColumnsAndRowsMoveAlongOneAxisOnly)
{
    Sheet sheet(8, 20);
    for (int r = 1; r <= 4; ++r) {
        sheet.number("B" + std::to_string(r), r);
        sheet.number("C" + std::to_string(r), 10 * r);
    }
    ASSERT_TRUE(sheet.formula("F1", "SUM(B:C)").ok);
    ASSERT_TRUE(sheet.formula("F2", "SUM(2:3)").ok);
    EXPECT_TRUE(sameValue(sheet.value("F1"), "110"));

    // Rows inserted at 1: the columns stay whole, the rows move down.
    shiftCells(sheet, /*rows=*/true, 1, 1);
    sheet.engine.insertRows(1, 1);
    EXPECT_EQ(sheet.formulaText("F2"), "SUM(B:C)");
    EXPECT_EQ(sheet.formulaText("F3"), "SUM(3:4)");
    EXPECT_TRUE(sameValue(sheet.value("F2"), "110"));

    // A column inserted inside stretches the range; one deleted shrinks it; both gone is #REF!.
    shiftCells(sheet, /*rows=*/false, 3, 1);
    sheet.engine.insertColumns(3, 1);
    EXPECT_EQ(sheet.formulaText("G2"), "SUM(B:D)");
    EXPECT_EQ(sheet.formulaText("G3"), "SUM(3:4)");
    shiftCells(sheet, /*rows=*/false, 2, -1);
    sheet.engine.deleteColumns(2, 1);
    EXPECT_EQ(sheet.formulaText("F2"), "SUM(B:C)");
    EXPECT_TRUE(sameValue(sheet.value("F2"), "100"));
    shiftCells(sheet, /*rows=*/false, 2, -2);
    sheet.engine.deleteColumns(2, 2);
    EXPECT_EQ(sheet.formulaText("D2"), "SUM(#REF!)");
}

TEST(Structure, LookupIndexesFollowInsertedAndDeletedRows)
{
    Sheet sheet(4, 80);
    for (int r = 1; r <= 60; ++r) {
        sheet.text("A" + std::to_string(r), "p" + std::to_string(r));
        sheet.number("B" + std::to_string(r), r * 100);
    }
    sheet.formula("D1", "=MATCH(\"P40\",A1:A60,0)");
    sheet.formula("D2", "=VLOOKUP(\"p40\",A1:B60,2,FALSE)");
    EXPECT_TRUE(sameValue(sheet.value("D1"), "40"));
    shiftCells(sheet, /*rows=*/true, 10, 3);
    ASSERT_TRUE(sheet.engine.insertRows(10, 3)); // formulas in D1:D2 stay, their ranges grow
    EXPECT_TRUE(sameValue(sheet.value("D1"), "43"));
    EXPECT_TRUE(sameValue(sheet.value("D2"), "4000"));
    sheet.text("A11", "P40"); // a key typed into an inserted row comes first
    EXPECT_TRUE(sameValue(sheet.value("D1"), "11"));
    EXPECT_TRUE(sameValue(sheet.value("D2"), "0")) << "B11 of an inserted row is empty";
    shiftCells(sheet, true, 5, -8);
    ASSERT_TRUE(sheet.engine.deleteRows(5, 8)); // rows 5..12 go, the typed key with them
    EXPECT_TRUE(sameValue(sheet.value("D1"), "35"));
    EXPECT_TRUE(sameValue(sheet.value("D2"), "4000"));
}

} // namespace
