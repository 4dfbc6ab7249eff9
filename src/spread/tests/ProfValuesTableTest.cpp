// Tests of Kx_ProfValuesTable: its file, the filtered names and indices, new entries, and the trip
// through a grid and back.
#include "spread/Kx_ProfValuesTable.h"

#include "KxSpreadTestSupport.h"
#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"

#include <filesystem>

namespace {

Kx_StringArray cells(std::initializer_list<const char*> items)
{
    Kx_StringArray out;
    for (const char* item : items)
        out.append(item);
    return out;
}

// An HEB table as the library holds it: name part, flag, the three descriptions, h and b.
Kx_ProfValuesTable hebTable()
{
    Kx_ProfValuesTable t;
    t.title = "HEB";
    t.typeName = "1";
    t.columnNames = cells({"SysName", "Active", "Dutch", "English", "French", "h", "b"});
    t.rows.append(cells({"100", "1", "HEB 100", "HEB 100", "HEB 100", "100", "100"}));
    t.rows.append(cells({"200", "0", "HEB 200", "HEB 200", "HEB 200", "200", "200"}));
    t.rows.append(cells({"300", "1", "HEB 300", "HEB 300", "HEB 300", "300", "300"}));
    return t;
}

std::vector<std::string> plain(const Kx_StringArray& list)
{
    std::vector<std::string> out;
    for (const Kx_String& s : list)
        out.push_back(s.str());
    return out;
}

class ProfTableFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        kxhost::takeCommandLineText();
        std::filesystem::create_directories(lib.path() / "prof");
        Kx_Settings::setLibDir(Kx_String(lib.path().string() + "/"));
    }
    void TearDown() override { Kx_Settings::setLibDir(""); }
    std::string profFile(const std::string& name) const { return (lib.path() / "prof" / name).string(); }
    kxtest::TempFolder lib;
};

TEST_F(ProfTableFile, WriteThenReadGivesTheSameTable)
{
    const Kx_ProfValuesTable t = hebTable();
    ASSERT_TRUE(t.writeToFile("HEB.pr"));
    EXPECT_EQ(kxtest::readBytes(profFile("HEB.pr")).substr(0, 51),
              "1\nSysName\tActive\tDutch\tEnglish\tFrench\th\tb\n100\t1\tHEB");
    Kx_ProfValuesTable back;
    ASSERT_TRUE(back.readFromFile("HEB.pr"));
    EXPECT_EQ(back.title, Kx_String("HEB"));
    EXPECT_EQ(back.typeName, t.typeName);
    EXPECT_EQ(back.columnNames, t.columnNames);
    EXPECT_EQ(back.rows, t.rows);
}

TEST_F(ProfTableFile, ReadingReplacesEveryFieldAndNeverTakesTheHeaderLinesAsEntries)
{
    Kx_ProfValuesTable t = hebTable();
    kxtest::writeBytes(profFile("only-type.pr"), "7\n");
    ASSERT_TRUE(t.readFromFile("only-type.pr"));
    EXPECT_EQ(t.typeName, Kx_String("7"));
    EXPECT_TRUE(t.columnNames.isEmpty());
    EXPECT_TRUE(t.rows.isEmpty());
    EXPECT_EQ(t.title, Kx_String("only-type"));

    t = hebTable();
    kxtest::writeBytes(profFile("empty.pr"), "");
    ASSERT_TRUE(t.readFromFile("empty.pr"));
    EXPECT_TRUE(t.typeName.isEmpty());
    EXPECT_TRUE(t.rows.isEmpty());

    // Only the two header lines: no rows, and the grid stays empty.
    kxtest::writeBytes(profFile("headers.pr"), "1\nSysName\tActive\n");
    ASSERT_TRUE(t.readFromFile("headers.pr"));
    EXPECT_EQ(plain(t.columnNames), (std::vector<std::string>{"SysName", "Active"}));
    EXPECT_TRUE(t.rows.isEmpty());
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(ProfTableFile, AFailedReadOrANameOutsideTheFolderLeavesTheTable)
{
    Kx_ProfValuesTable t = hebTable();
    EXPECT_FALSE(t.readFromFile("missing.pr"));
    kxtest::writeBytes((lib.path() / "outside.pr").string(), "1\nSysName\n");
    EXPECT_FALSE(t.readFromFile("..\\outside.pr"));
    EXPECT_FALSE(t.readFromFile("/etc/hostname"));
    EXPECT_FALSE(t.writeToFile("../outside.pr"));
    EXPECT_EQ(kxtest::readBytes((lib.path() / "outside.pr").string()), "1\nSysName\n");
    EXPECT_EQ(t.rows, hebTable().rows);
    EXPECT_EQ(t.title, Kx_String("HEB"));
}

TEST(ProfTable, InactiveHasOneMeaningInTheNamesAndTheIndex)
{
    Kx_ProfValuesTable t = hebTable();
    // A flag that is neither "1" nor "0" counts as active in both.
    t.rows.append(cells({"400", "", "HEB 400", "HEB 400", "HEB 400", "400", "400"}));
    t.rows.append(cells({"500", "1"}));
    Kx_StringArray names;
    t.getFilteredSysNames(names);
    EXPECT_EQ(plain(names), (std::vector<std::string>{"HEB-100", "HEB-300", "HEB-400", "HEB-500"}));
    names.setLogicalLength(0);
    t.getSysNames(names);
    EXPECT_EQ(names.length(), 5);
    // The filtered index of every active row is its position in the filtered names.
    EXPECT_EQ(t.getfilteredIdx(0), 0);
    EXPECT_EQ(t.getfilteredIdx(2), 1);
    EXPECT_EQ(t.getfilteredIdx(3), 2);
    EXPECT_EQ(t.getfilteredIdx(4), 3);
    EXPECT_EQ(t.getfilteredIdx(-1), -1);
    EXPECT_EQ(t.getfilteredIdx(5), -1);
}

TEST(ProfTable, ColumnsAndNamesAreFoundAsAUserTypesThem)
{
    const Kx_ProfValuesTable t = hebTable();
    EXPECT_EQ(t.getColumnIdx("english"), 3);
    EXPECT_EQ(t.getColumnIdx("Mass"), -1);
    Kx_StringArray column;
    EXPECT_TRUE(t.getColumn(column, "H"));
    EXPECT_EQ(plain(column), (std::vector<std::string>{"100", "200", "300"}));
    EXPECT_FALSE(t.getColumn(column, 7));
    EXPECT_FALSE(t.getColumn(column, -1));
    int index = -1;
    EXPECT_TRUE(t.findSysName("300", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(t.findSysName("HEB-300", index));
    Kx_StringArray row;
    EXPECT_FALSE(t.getRow(row, 3));
}

TEST(ProfTable, ANewEntryGetsAFreeNameAndADescriptionInTheCurrentLanguage)
{
    const int language = MacroLangs::GetCurLanguageIndex();
    MacroLangs::SetCurLanguage(MacroLangs::French);
    Kx_ProfValuesTable t = hebTable();
    t.rows[1][4] = "HEB 200 spécial";
    ASSERT_TRUE(t.insertRow(1));
    ASSERT_EQ(t.rows.length(), 4);
    const Kx_StringArray& added = t.rows[2];
    EXPECT_EQ(added[0], Kx_String("2001"));
    // The text before the first digit is kept, blank included.
    EXPECT_EQ(added[4], Kx_String("HEB 2001"));
    // The other languages and the values are the copied row's.
    EXPECT_EQ(added[3], Kx_String("HEB 200"));
    EXPECT_EQ(added[5], Kx_String("200"));
    MacroLangs::SetCurLanguage(language);

    EXPECT_FALSE(t.insertRow(-1));
    EXPECT_FALSE(t.insertRow(4));
    EXPECT_EQ(t.rows.length(), 4);
}

TEST(ProfTable, TheFirstEntryOfAnEmptyTableComesFromTheDefaults)
{
    const int language = MacroLangs::GetCurLanguageIndex();
    MacroLangs::SetCurLanguage(MacroLangs::English);
    Kx_ProfValuesTable t = hebTable();
    t.rows.removeAll();
    EXPECT_FALSE(t.insertRow(1));
    ASSERT_TRUE(t.insertRow(0));
    ASSERT_EQ(t.rows.length(), 1);
    EXPECT_EQ(t.rows[0].length(), t.columnNames.length());
    EXPECT_EQ(t.rows[0][0], Kx_String("1"));
    EXPECT_EQ(t.rows[0][1], Kx_String("1"));
    EXPECT_EQ(t.rows[0][3], Kx_String("HEB1"));
    MacroLangs::SetCurLanguage(language);
}

TEST(ProfTable, DeletingAndRemovingInactiveEntries)
{
    Kx_ProfValuesTable t = hebTable();
    t.rows.append(cells({"0"}));
    EXPECT_FALSE(t.deleteRow(-1));
    EXPECT_FALSE(t.deleteRow(4));
    t.removeInactiveEntries();
    Kx_StringArray names;
    t.getSysNames(names);
    EXPECT_EQ(plain(names), (std::vector<std::string>{"HEB-100", "HEB-300", "HEB-0"}));
    EXPECT_TRUE(t.deleteRow(0));
    EXPECT_EQ(t.rows[0][0], Kx_String("300"));
}

class ProfTableGrid : public kxtest::KxSpreadTest {};

TEST_F(ProfTableGrid, TheTableGoesIntoTheGridAndComesBackTheSame)
{
    const Kx_ProfValuesTable t = hebTable();
    ASSERT_TRUE(t.setToSS(*spread));
    EXPECT_EQ(spread->getRowCount(), 3);
    EXPECT_EQ(spread->getColCount(), 7);
    EXPECT_EQ(spread->getCellType(2, 1), Kx_Spread::kTypeCheckBox);
    EXPECT_EQ(data(Kx_Spread::HEADER, 3), "HEB");
    EXPECT_EQ(data(4, Kx_Spread::HEADER), "English");
    bool checked = true;
    ASSERT_TRUE(spread->getCheck(2, 2, checked));
    EXPECT_FALSE(checked);

    Kx_ProfValuesTable back;
    ASSERT_TRUE(back.getFromSS(*spread));
    EXPECT_EQ(back.title, t.title);
    EXPECT_EQ(back.columnNames, t.columnNames);
    EXPECT_EQ(back.rows, t.rows);
}

TEST_F(ProfTableGrid, AnEmptyTableLeavesTheGridEmptyAndAnEmptyGridTheTable)
{
    fill(3, 3);
    Kx_ProfValuesTable t = hebTable();
    t.rows.removeAll();
    EXPECT_FALSE(t.setToSS(*spread));
    EXPECT_EQ(spread->getRowCount(), 0);
    Kx_ProfValuesTable keep = hebTable();
    EXPECT_FALSE(keep.getFromSS(*spread));
    EXPECT_EQ(keep.rows, hebTable().rows);
}

} // namespace
