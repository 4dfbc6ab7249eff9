// Sheets written as .xlsx and read back with openpyxl (read_xlsx.py prints what the file holds).
#include "xlsx/SheetXlsxExport.h"

#include "platform/grid/Spread.h"
#include "platform/win/Font.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

struct TempDir {
    fs::path path;
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "kxxlsx.XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

struct Grid {
    HWND hwnd;
    Grid(int cols, int rows) : hwnd(kxgrid::createStandaloneGrid(cols, rows)) {}
    ~Grid() { DestroyWindow(hwnd); }
};

// What read_xlsx.py prints, by the item's first two words ("cell C2", "merged A4:B5", "sheet Sheet1").
std::map<std::string, std::string> readBack(const fs::path& file)
{
    const std::string command = std::string("/usr/bin/python3 ") + KX_READ_XLSX + " '" + file.string() + "' 2>&1";
    std::map<std::string, std::string> items;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return items;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << text;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t first = line.find(' ');
        const size_t second = line.find(' ', first + 1);
        items[line.substr(0, second)] = line;
    }
    return items;
}

BOOL fromTable(HWND, int, int, SS_VALUE* result, const SS_VALUE*, short)
{
    result->status = SS_VALUESTATUS_OK;
    result->kind = SS_VALUE_DOUBLE;
    result->doubleValue = 7.5;
    return TRUE;
}

// A sheet with every kind of cell and look, column headers named.
void fillEveryKind(HWND g, const fs::path& pictureFile)
{
    SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetData(g, 1, 0, "Name");
    SSSetData(g, 2, 0, "Length");
    SS_CELLTYPE t;
    // Row 1: text in its own font and colours, a number with 3 decimals, a formula, a check box,
    // a combo box, centred static text.
    SSSetData(g, 1, 1, "IPE 80");
    HFONT font = CreateFont(20, 0, FW_BOLD, true, false, "Arial");
    SSSetFont(g, 1, 1, font, FALSE);
    DeleteObject(font);
    SSSetColor(g, 1, 1, RGB(255, 255, 0), RGB(255, 0, 0));
    SSSetCellType(g, 2, 1, SSSetTypeNumber(g, &t, SS_NUMBER_RIGHT, 3, 0, 1e6));
    SSSetData(g, 2, 1, "12.5");
    kxgrid::enterText(g, 3, 1, "=B1*2");
    SSSetCellType(g, 4, 1, SSSetTypeCheckBox(g, &t, 0, "", nullptr, nullptr));
    SSSetData(g, 4, 1, "1");
    SSSetCellType(g, 5, 1, SSSetTypeComboBox(g, &t, 0, "S235\tS355"));
    SSSetData(g, 5, 1, "S355");
    SSSetCellType(g, 6, 1, SSSetTypeStaticText(g, &t, SS_STATIC_CENTRE));
    SSSetData(g, 6, 1, "Note");
    // Row 2: texts that look like numbers, a number typed into a text cell, a boolean, a button,
    // a custom function and a sum over a range.
    SSSetData(g, 1, 2, "007");
    SSSetData(g, 2, 2, "42");
    SSSetData(g, 3, 2, "true");
    SSSetCellType(g, 4, 2, SSSetTypeButton(g, &t, 0, "Go"));
    SSAddCustomFunctionExt(g, "FROMTABLE", 0, 3, fromTable, 0);
    kxgrid::enterText(g, 5, 2, "=FROMTABLE(\"t\",A1)+1");
    kxgrid::enterText(g, 6, 2, "=SUM(B1:B2)");
    // Rows 3-4: a joined block, a bottom border, an unlocked cell, a picture.
    SSAddCellSpan(g, 1, 3, 2, 2);
    SSSetData(g, 1, 3, "joined");
    SSSetBorder(g, 3, 3, SS_BORDERTYPE_BOTTOM, SS_BORDERSTYLE_SOLID, RGB(0, 0, 255));
    SSSetLock(g, 4, 3, TRUE);
    SSSetData(g, 4, 3, "locked");
    SSSetLock(g, 4, 4, FALSE);
    SSSetData(g, 4, 4, "open");
    SSSetCellType(g, 5, 4, SSSetTypePicture(g, &t, 0, pictureFile.string().c_str()));
    // Sizes: a wide column, a hidden column, a tall row, a hidden row.
    SSSetColWidthInPixels(g, 2, 100);
    SSSetColWidthInPixels(g, 6, 0);
    SSSetRowHeightInPixels(g, 4, 40);
    SSSetRowHeightInPixels(g, 5, 0);
    SSSetData(g, 1, 5, "hidden row");
    // System colours as the grid paints them: the 3-D face and window text.
    SSSetColor(g, 2, 6, SS_SYSCOLOR_FLAG | 15, SS_SYSCOLOR_FLAG | 8);
    SSReCalc(g);
}

fs::path writePicture(const fs::path& folder)
{
    const std::vector<BYTE> bmp = kxwin::encodeBmp(kxwin::BitmapPixels(8, 6, RGB(200, 0, 0)));
    const fs::path file = folder / "part.bmp";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), std::ssize(bmp));
    return file;
}

class EveryKind : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillEveryKind(grid.hwnd, writePicture(dir.path));
        result = kxxlsx::exportSheetToXlsx(grid.hwnd, (dir.path / "every.xlsx").string());
        ASSERT_TRUE(result.ok) << result.error;
        items = readBack(dir.path / "every.xlsx");
    }
    std::string item(const std::string& key) { return items.count(key) ? items[key] : "(missing " + key + ")"; }

    TempDir dir;
    Grid grid{6, 6};
    kxxlsx::XlsxExportResult result;
    std::map<std::string, std::string> items;
};

TEST_F(EveryKind, HeadersMakeAFrozenBoldFirstRowAndMoveTheSheetDown)
{
    EXPECT_TRUE(result.headerRow);
    EXPECT_THAT(item("sheet Sheet1"), HasSubstr("freeze=A2"));
    EXPECT_THAT(item("cell A1"), HasSubstr("v='Name'"));
    EXPECT_THAT(item("cell A1"), HasSubstr("/b"));
    EXPECT_THAT(item("cell B1"), HasSubstr("v='Length'"));
    EXPECT_THAT(item("cell A2"), HasSubstr("v='IPE 80'"));
}

TEST_F(EveryKind, ValuesKeepTheirTypesAsTheCellsShowThem)
{
    EXPECT_THAT(item("cell B2"), HasSubstr("t=n v=12.5 nf=0.000"));
    EXPECT_THAT(item("cell B2"), HasSubstr("align=right"));
    EXPECT_THAT(item("cell D2"), HasSubstr("t=b v=True"));
    EXPECT_THAT(item("cell E2"), HasSubstr("t=s v='S355'"));
    EXPECT_THAT(item("cell F2"), HasSubstr("v='Note'"));
    EXPECT_THAT(item("cell F2"), HasSubstr("align=center"));
    EXPECT_THAT(item("cell A3"), HasSubstr("t=s v='007'"));  // leading zeros kept: a text
    EXPECT_THAT(item("cell B3"), HasSubstr("t=n v=42 "));
    EXPECT_THAT(item("cell C3"), HasSubstr("t=b v=True"));
    EXPECT_THAT(item("cell D3"), HasSubstr("v='Go'"));
    EXPECT_THAT(item("cell A6"), HasSubstr("v='hidden row'"));
}

TEST_F(EveryKind, FormulasTravelInA1WithTheirResultsUnlessTheOfficeLacksAFunction)
{
    EXPECT_THAT(item("cell C2"), HasSubstr("t=f v='=B2*2' cached=25"));
    EXPECT_THAT(item("cell F3"), HasSubstr("t=f v='=SUM(B2:B3)' cached=54.5"));
    // FROMTABLE: its last value, named for standard error as the grid names the cell.
    EXPECT_THAT(item("cell E3"), HasSubstr("t=n v=8.5 "));
    ASSERT_EQ(result.lastValueCells.size(), 1u);
    EXPECT_EQ(result.lastValueCells[0], "E2 (FROMTABLE)");
    EXPECT_THAT(kxxlsx::lastValueNotice(result), HasSubstr("1 cell written as the last value"));
    EXPECT_THAT(kxxlsx::lastValueNotice(result), HasSubstr("E2 (FROMTABLE)"));
}

TEST_F(EveryKind, LooksSizesBlocksLocksAndPicturesTravel)
{
    EXPECT_THAT(item("cell A2"), HasSubstr("font=Arial/15.0/b/i color=FF0000 fill=FFFF00"));
    EXPECT_THAT(item("cell C4"), HasSubstr("bottom=thin:0000FF"));
    EXPECT_THAT(item("cell B7"), HasSubstr("color=000000 fill=C0C0C0"));
    EXPECT_THAT(item("merged A4:B5"), HasSubstr("merged"));
    EXPECT_THAT(item("cell A4"), HasSubstr("v='joined'"));
    EXPECT_THAT(item("cell D4"), HasSubstr("lock=1"));
    EXPECT_THAT(item("cell D5"), HasSubstr("lock=0"));
    EXPECT_THAT(item("col F"), HasSubstr("hidden"));
    EXPECT_THAT(item("col B"), Not(HasSubstr("hidden")));
    EXPECT_THAT(item("col B"), HasSubstr("width="));
    EXPECT_THAT(item("row 5"), HasSubstr("height=30"));  // 40 pixels are 30 points
    EXPECT_THAT(item("row 6"), HasSubstr("hidden"));
    EXPECT_THAT(item("image E5"), HasSubstr("image"));
    EXPECT_EQ(result.pictures, 1);
    EXPECT_THAT(item("sheet Sheet1"), HasSubstr("protected=0"));
}

TEST(XlsxExport, R1C1FormulasAndSheetsWithoutHeadersStayInPlace)
{
    TempDir dir;
    Grid grid(3, 3);
    HWND g = grid.hwnd;
    SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetRefStyle(g, SS_REFSTYLE_R1C1);
    SSSetData(g, 1, 1, "4");
    kxgrid::enterText(g, 2, 2, "=R[-1]C[-1]*R1C1");
    SSSetBool(g, SSB_PROTECT, TRUE);
    SSReCalc(g);
    const auto result = kxxlsx::exportSheetToXlsx(g, (dir.path / "r1c1.xlsx").string());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.headerRow);
    auto items = readBack(dir.path / "r1c1.xlsx");
    EXPECT_THAT(items["sheet Sheet1"], HasSubstr("freeze=None protected=1"));
    EXPECT_THAT(items["cell B2"], HasSubstr("v='=A1*$A$1' cached=16"));
    EXPECT_TRUE(result.lastValueCells.empty());
    EXPECT_EQ(kxxlsx::lastValueNotice(result), "");
}

TEST(XlsxExport, AFailedExportLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const fs::path target = dir.path / "old.xlsx";
    std::ofstream(target) << "old bytes";
    {
        // More columns than the format holds.
        Grid wide(16385, 1);
        const auto result = kxxlsx::exportSheetToXlsx(wide.hwnd, target.string());
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("16385 columns"));
    }
    {
        // 1,048,576 rows fit; with a header row they do not.
        Grid tall(1, 1'048'576);
        SSSetData(tall.hwnd, 1, 0, "Head");
        const auto result = kxxlsx::exportSheetToXlsx(tall.hwnd, target.string());
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("and a header row"));
    }
    {
        Grid small(1, 1);
        SSSetData(small.hwnd, 1, 1, "x");
        const auto result = kxxlsx::exportSheetToXlsx(small.hwnd, (dir.path / "no such folder" / "x.xlsx").string());
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("no such folder"));
    }
    std::ifstream in(target);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "old bytes");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"old.xlsx"}));
}

TEST(XlsxExport, ASuccessfulExportReplacesTheOldFileAndLeavesNothingElse)
{
    TempDir dir;
    const fs::path target = dir.path / "out.xlsx";
    std::ofstream(target) << "old bytes";
    Grid grid(2, 2);
    SSSetData(grid.hwnd, 2, 2, "x");
    const auto result = kxxlsx::exportSheetToXlsx(grid.hwnd, target.string());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"out.xlsx"}));
    auto items = readBack(target);
    EXPECT_THAT(items["cell B2"], HasSubstr("v='x'"));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::others_read, fs::perms::others_read);
}

} // namespace

namespace {

TEST(XlsxExport, AFormulaTheEngineCannotReadTravelsAsItsErrorText)
{
    TempDir dir;
    Grid grid(2, 1);
    SSSetBool(grid.hwnd, SSB_ALLOWUSERFORMULAS, TRUE);
    kxgrid::enterText(grid.hwnd, 1, 1, "=1+(");
    kxgrid::enterText(grid.hwnd, 2, 1, "=A1");
    SSReCalc(grid.hwnd);
    const auto result = kxxlsx::exportSheetToXlsx(grid.hwnd, (dir.path / "bad.xlsx").string());
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.lastValueCells.size(), 1u);
    EXPECT_THAT(result.lastValueCells[0], HasSubstr("A1 (a formula text an office program cannot read)"));
    auto items = readBack(dir.path / "bad.xlsx");
    EXPECT_THAT(items["cell A1"], HasSubstr("t=s v='#ERROR!'"));
    EXPECT_THAT(items["cell B1"], HasSubstr("t=f v='=A1'"));
}

} // namespace

namespace {

// The host process may run with a decimal comma; numbers, sizes and scales in the file must not.
TEST(XlsxExport, ADecimalCommaLocaleChangesNoNumberInTheFile)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr)
        GTEST_SKIP() << "no German locale on this machine";
    TempDir dir;
    Grid grid(2, 2);
    SS_CELLTYPE t;
    SSSetBool(grid.hwnd, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetCellType(grid.hwnd, 1, 1, SSSetTypeNumber(grid.hwnd, &t, 0, 2, -1e6, 1e6));
    SSSetData(grid.hwnd, 1, 1, "12.5");
    kxgrid::enterText(grid.hwnd, 2, 1, "=A1/4");
    SSSetRowHeightInPixels(grid.hwnd, 2, 23);
    HFONT font = CreateFont(13, 0, FW_NORMAL, false, false, "Arial");
    SSSetFont(grid.hwnd, 1, 2, font, FALSE);
    DeleteObject(font);
    SSSetData(grid.hwnd, 1, 2, "x");
    SSReCalc(grid.hwnd);
    const auto result = kxxlsx::exportSheetToXlsx(grid.hwnd, (dir.path / "comma.xlsx").string());
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(result.ok) << result.error;
    auto items = readBack(dir.path / "comma.xlsx");
    EXPECT_THAT(items["cell A1"], HasSubstr("t=n v=12.5 nf=0.00"));
    EXPECT_THAT(items["cell B1"], HasSubstr("v='=A1/4' cached=3.125"));
    EXPECT_THAT(items["row 2"], HasSubstr("height=17.25"));
    EXPECT_THAT(items["cell A2"], HasSubstr("font=Arial/9.75"));
}

} // namespace
