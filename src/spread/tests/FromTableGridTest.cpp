// FROMTABLE as users meet it: typed into a formula of a grid of the module (the wrapper registers it
// on every grid it attaches), its three- and five-argument forms writing into the calling sheet, an
// argument left out, and kept tables whose key column is computed from another table file.
#include "spread/tests/KxSpreadTestSupport.h"
#include "spread/tests/SpreadTestSupport.h"

#include <chrono>
#include <filesystem>

namespace {

using kxtest::KxSpreadTest;

// Profiles: Name in column 2, Weight (a number cell) in column 5; ipe200 in row 7; t23 at (2, 3).
void writeProfiles(const std::string& path)
{
    kxtest::writeSheet(path, 6, 10, [&](HWND g) {
        SSSetData(g, 2, 0, "Name");
        SSSetData(g, 5, 0, "Weight");
        SS_CELLTYPE number;
        SSSetTypeNumber(g, &number, 0, 2, -1e6, 1e6);
        SSSetCellTypeRange(g, 5, 1, 5, 10, &number);
        SSSetData(g, 2, 7, "ipe200");
        SSSetData(g, 5, 7, "22.4");
        SSSetData(g, 2, 3, "t23");
    });
}

// A table whose only key is the text at (3, 1) of `keysFile`, looked up by a formula: Key in
// column 1, Val in column 2 ("found").
void writeComputedKeyTable(const std::string& path, const std::string& keysFile)
{
    kxtest::writeSheet(path, 3, 1, [&](HWND g) {
        SSSetData(g, 1, 0, "Key");
        SSSetData(g, 2, 0, "Val");
        SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
        SSSetFormula(g, 1, 1, ("FROMTABLE(\"" + keysFile + "\",C1)").c_str(), TRUE);
        SSSetData(g, 2, 1, "found");
    });
}

void writeKeys(const std::string& path, const char* key)
{
    kxtest::writeSheet(path, 3, 1, [&](HWND g) { SSSetData(g, 3, 1, key); });
}

class FromTableOnGrids : public KxSpreadTest {
protected:
    void SetUp() override
    {
        KxSpreadTest::SetUp();
        kxss::TableCache::instance().clear();
        table = folder.file("profiles.sss");
        writeProfiles(table);
        ASSERT_TRUE(spread->setColCount(6));
        ASSERT_TRUE(spread->setRowCount(6));
        SSSetBool(grid(), SSB_ALLOWUSERFORMULAS, TRUE);
        SSSetBool(grid(), SSB_AUTOCALC, TRUE);
    }
    void TearDown() override
    {
        kxss::TableCache::instance().clear();
        KxSpreadTest::TearDown();
    }
    void type(int col, int row, const std::string& text) { ASSERT_TRUE(kxgrid::enterText(grid(), col, row, text)); }
    std::string quoted(const std::string& path) const { return "\"" + path + "\""; }

    std::string table;
};

TEST_F(FromTableOnGrids, EveryAttachedGridKnowsTheFunction)
{
    // Nothing registered by hand: the wrapper did it when it attached the grid.
    type(1, 1, "=FROMTABLE(" + quoted(table) + ",\"name\",\"WEIGHT\",\"IPE200\")");
    EXPECT_EQ(data(1, 1), "22.4");
    type(1, 2, "=FROMTABLE(" + quoted(table) + ",B3)");
    EXPECT_EQ(data(1, 2), "t23");
    kxhost::takeCommandLineText();
}

TEST_F(FromTableOnGrids, TheLastArgumentOfThreeOrFiveNamesTheCellThatReceivesTheValue)
{
    type(1, 1, "=FROMTABLE(" + quoted(table) + ",B3,C4)");
    EXPECT_EQ(data(3, 4), "t23") << "the table's cell (2, 3), written into C4 of the calling sheet";
    EXPECT_EQ(data(1, 1), "") << "the call itself gives no value";

    type(1, 2, "=FROMTABLE(" + quoted(table) + ",\"Name\",\"Weight\",\"ipe200\",D5)");
    EXPECT_EQ(data(4, 5), "22.40");
    EXPECT_EQ(data(1, 2), "");
    kxhost::takeCommandLineText();
}

TEST_F(FromTableOnGrids, AnArgumentLeftOutGivesNoValue)
{
    // Row 1 of the table has an empty name: an omitted key must not stand for the empty text and
    // find it.
    type(1, 1, "=FROMTABLE(" + quoted(table) + ",\"Name\",\"Weight\",)");
    EXPECT_EQ(data(1, 1), "");
    type(1, 2, "=FROMTABLE(" + quoted(table) + ",,\"Weight\",\"ipe200\")");
    EXPECT_EQ(data(1, 2), "");
    // An empty cell named as the key is a cell, and stands for the empty text: row 1 is found, and
    // its empty number cell cannot be read as a number.
    type(1, 3, "=FROMTABLE(" + quoted(table) + ",\"Name\",\"Weight\",F6)");
    EXPECT_NE(data(1, 3), "");
    kxhost::takeCommandLineText();
}

TEST_F(FromTableOnGrids, AKeptTableWhoseKeysComeFromAnotherFileFollowsThatFile)
{
    const std::string keys = folder.file("keys.sss");
    const std::string computed = folder.file("computed.sss");
    writeKeys(keys, "k1");
    writeComputedKeyTable(computed, keys);
    const std::string lookup = "=FROMTABLE(" + quoted(computed) + ",\"Key\",\"Val\",A6)";

    SSSetData(grid(), 1, 6, "k1");
    type(2, 1, lookup);
    EXPECT_EQ(data(2, 1), "found");

    // The key file changes; the kept table's own file does not.
    const auto stamp = std::filesystem::last_write_time(keys);
    writeKeys(keys, "k2");
    std::filesystem::last_write_time(keys, stamp + std::chrono::seconds(5));
    const int loadsBefore = kxss::TableCache::instance().loads();

    SSSetData(grid(), 1, 6, "k2");
    EXPECT_EQ(data(2, 1), "found") << "the computed key column follows the changed key file";
    SSSetData(grid(), 1, 6, "k1");
    EXPECT_EQ(data(2, 1), "") << "the old key is gone";
    EXPECT_EQ(kxss::TableCache::instance().loads() - loadsBefore, 1) << "only the changed key file is read again";
    EXPECT_EQ(kxss::tableChainDepth(), 0);
    kxhost::takeCommandLineText();
}

} // namespace
