// FROMTABLE: key lookups, positions, results by cell type, writing into the calling sheet, the
// table cache and the bound on table files that look into each other.
#include "spread/tests/SpreadTestSupport.h"

#include <filesystem>

using kxtest::CallRecords;
using kxtest::SpreadTest;

namespace {

// The profile table: Name in column 2, Weight (a number) in column 5; ipe200 in row 7, a second
// IPE200 in row 9 that must never win.
void writeProfiles(const std::string& path, const char* weight = "22.4")
{
    kxtest::writeSheet(path, 6, 10, [&](HWND g) {
        SSSetData(g, 2, 0, "Name");
        SSSetData(g, 5, 0, "Weight");
        SS_CELLTYPE number;
        SSSetTypeNumber(g, &number, 0, 2, -1e6, 1e6);
        SSSetCellTypeRange(g, 5, 1, 5, 10, &number);
        SSSetData(g, 2, 7, "ipe200");
        SSSetData(g, 5, 7, weight);
        SSSetData(g, 2, 8, "200");
        SSSetData(g, 5, 8, "7");
        SSSetData(g, 2, 9, "IPE200");
        SSSetData(g, 5, 9, "99");
        SSSetData(g, 2, 3, "t23");
        SS_CELLTYPE check;
        SSSetTypeCheckBox(g, &check, 0, "", nullptr, nullptr);
        SSSetCellType(g, 4, 4, &check);
        SSSetData(g, 4, 4, "1");
    });
}

class FromTable : public SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        table = folder.file("profiles.sss");
        writeProfiles(table);
        calling = kxgrid::createStandaloneGrid(6, 6);
        SSSetData(calling, 2, 3, "calling sheet");
    }
    std::string table;
    HWND calling = nullptr;
};

TEST_F(FromTable, KeyMatchIgnoresCaseButNotLength)
{
    CallRecords call;
    call.text(table).text("name").text("WEIGHT").text("IPE200");
    call.answer(calling);
    ASSERT_EQ(call.result.status, SS_VALUESTATUS_OK);
    ASSERT_EQ(call.result.kind, SS_VALUE_DOUBLE);
    EXPECT_DOUBLE_EQ(double{call.result.doubleValue}, 22.4);
    EXPECT_EQ(kxhost::takeCommandLineText(), "Result is double: 22.400000\n");

    CallRecords prefix;
    prefix.text(table).text("Name").text("Weight").text("IPE20");
    prefix.answer(calling);
    EXPECT_EQ(prefix.result.status, SS_VALUESTATUS_EMPTY);

    CallRecords longer;
    longer.text(table).text("Names").text("Weight").text("IPE200");
    longer.answer(calling);
    EXPECT_EQ(longer.result.status, SS_VALUESTATUS_EMPTY);
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(FromTable, KeysFromNumbersAndCellsOfTheCallingSheet)
{
    // A long and a double key mean the text they show; a cell key is read in the calling sheet.
    CallRecords byLong;
    byLong.text(table).text("Name").text("Weight").integer(200);
    byLong.answer(calling);
    ASSERT_EQ(byLong.result.status, SS_VALUESTATUS_OK);
    EXPECT_DOUBLE_EQ(double{byLong.result.doubleValue}, 7);

    CallRecords byDouble;
    byDouble.text(table).text("Name").text("Weight").number(200.0);
    byDouble.answer(calling);
    ASSERT_EQ(byDouble.result.status, SS_VALUESTATUS_OK);
    EXPECT_DOUBLE_EQ(double{byDouble.result.doubleValue}, 7);

    SSSetData(calling, 1, 1, "Ipe200");
    CallRecords byCell;
    byCell.text(table).text("Name").text("Weight").cell(1, 1);
    byCell.answer(calling);
    ASSERT_EQ(byCell.result.status, SS_VALUESTATUS_OK);
    EXPECT_DOUBLE_EQ(double{byCell.result.doubleValue}, 22.4);
}

TEST_F(FromTable, LastArgumentWritesTheValueIntoTheCallingSheet)
{
    CallRecords five;
    five.text(table).text("name").text("WEIGHT").text("IPE200").cell(3, 4);
    five.answer(calling);
    EXPECT_EQ(five.result.status, SS_VALUESTATUS_EMPTY);
    EXPECT_EQ(kxss::cellData(calling, 3, 4).value_or("?"), "22.40");
    EXPECT_EQ(kxhost::takeCommandLineText(), "");

    CallRecords three;
    three.text(table).cell(2, 3).cell(1, 2);
    three.answer(calling);
    EXPECT_EQ(three.result.status, SS_VALUESTATUS_EMPTY);
    EXPECT_EQ(kxss::cellData(calling, 1, 2).value_or("?"), "t23");
}

TEST_F(FromTable, PositionIsTakenInTheTableAndTheCellTypeChoosesTheKind)
{
    CallRecords text;
    text.text(table).cell(2, 3);
    text.answer(calling);
    ASSERT_EQ(text.result.status, SS_VALUESTATUS_OK);
    ASSERT_EQ(text.result.kind, SS_VALUE_STRING);
    // Printing leaves the string to the receiver: the handle is still there to take.
    EXPECT_EQ(kxhost::takeCommandLineText(), "Result is string: t23\n");
    EXPECT_EQ(text.takeString(), "t23");

    CallRecords check;
    check.text(table).cell(4, 4);
    check.answer(calling);
    ASSERT_EQ(check.result.status, SS_VALUESTATUS_OK);
    ASSERT_EQ(check.result.kind, SS_VALUE_LONG);
    EXPECT_EQ(std::int32_t{check.result.longValue}, 1);
    EXPECT_EQ(kxhost::takeCommandLineText(), "Result is long: 1\n");

    CallRecords outside;
    outside.text(table).cell(40, 4);
    outside.answer(calling);
    EXPECT_EQ(outside.result.status, SS_VALUESTATUS_ERROR);
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(FromTable, AOneCellRangeNamesItsCellAndALargerRangeNothing)
{
    CallRecords one;
    one.text(table).range(2, 3, 2, 3);
    one.answer(calling);
    ASSERT_EQ(one.result.status, SS_VALUESTATUS_OK);
    EXPECT_EQ(one.takeString(), "t23");

    CallRecords two;
    two.text(table).range(2, 3, 3, 3);
    two.answer(calling);
    EXPECT_EQ(two.result.status, SS_VALUESTATUS_EMPTY);
    kxhost::takeCommandLineText();
}

TEST_F(FromTable, TheCallbackFreesTheArgumentStringsItReceives)
{
    CallRecords call;
    call.text(table).text("Name").text("Weight").text("ipe200");
    const int before = kxwin::liveGlobalBlockCount();
    call.call(calling);
    ASSERT_EQ(call.result.status, SS_VALUESTATUS_OK);
    EXPECT_DOUBLE_EQ(double{call.result.doubleValue}, 22.4);
    EXPECT_EQ(kxwin::liveGlobalBlockCount(), before - 4);
    for (const SS_VALUE& a : call.args) {
        if (a.kind == SS_VALUE_STRING && a.stringHandle != nullptr) {
            EXPECT_EQ(GlobalSize(a.stringHandle), 0u) << "freed";
        }
    }
    kxhost::takeCommandLineText();
}

TEST_F(FromTable, UnusableCallsGiveNoValue)
{
    CallRecords missing;
    missing.text(folder.file("none.sss")).cell(1, 1);
    missing.answer(calling);
    EXPECT_EQ(missing.result.status, SS_VALUESTATUS_EMPTY);

    CallRecords notText;
    notText.integer(3).cell(1, 1);
    notText.answer(calling);
    EXPECT_EQ(notText.result.status, SS_VALUESTATUS_EMPTY);

    CallRecords failed;
    failed.text(table).text("Name").failedStatus().text("Weight").text("ipe200");
    failed.answer(calling);
    EXPECT_EQ(failed.result.status, SS_VALUESTATUS_EMPTY);

    CallRecords twoNoCell;
    twoNoCell.text(table).text("B3");
    twoNoCell.answer(calling);
    EXPECT_EQ(twoNoCell.result.status, SS_VALUESTATUS_EMPTY);

    // No calling sheet: the result is not touched at all.
    CallRecords orphan;
    orphan.text(table).cell(2, 3);
    orphan.result.status = 0x55;
    orphan.answer(nullptr);
    EXPECT_EQ(orphan.result.status, 0x55);
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(FromTable, DriveCNamesOpenBelowTheConfiguredFolder)
{
    writeProfiles(drive + "/a/lib.sss");
    CallRecords call;
    call.text("C:\\a\\lib.sss").cell(2, 3);
    call.answer(calling);
    ASSERT_EQ(call.result.status, SS_VALUESTATUS_OK);
    EXPECT_EQ(call.takeString(), "t23");
    EXPECT_EQ(kxss::sheetFileName("c:/a/x.sss"), drive + "/a/x.sss");
    EXPECT_EQ(kxss::sheetFileName("d:\\a\\x.sss"), "d:/a/x.sss");
}

TEST_F(FromTable, TableIsLoadedOnceAndReadAgainWhenTheFileChanges)
{
    auto& cache = kxss::TableCache::instance();
    const int before = cache.loads();
    auto lookup = [&] {
        CallRecords call;
        call.text(table).text("Name").text("Weight").text("ipe200");
        call.answer(calling);
        return call.result.status == SS_VALUESTATUS_OK ? call.result.doubleValue : -1.0;
    };
    EXPECT_DOUBLE_EQ(lookup(), 22.4);
    EXPECT_DOUBLE_EQ(lookup(), 22.4);
    EXPECT_EQ(cache.loads() - before, 1);

    // Same size, new contents: the modification time tells.
    const auto stamp = std::filesystem::last_write_time(table);
    writeProfiles(table, "33.3");
    std::filesystem::last_write_time(table, stamp + std::chrono::seconds(5));
    EXPECT_DOUBLE_EQ(lookup(), 33.3);
    EXPECT_EQ(cache.loads() - before, 2);

    // Replaced by a file of another size.
    writeProfiles(table, "1234.5");
    EXPECT_DOUBLE_EQ(lookup(), 1234.5);
    EXPECT_EQ(cache.loads() - before, 3);
}

// A one-row table: header Key and Val; the key "k" in row 1, and in Val a formula.
void writeLookupTable(const std::string& path, const std::string& valFormula, const char* val = "")
{
    kxtest::writeSheet(path, 2, 1, [&](HWND g) {
        SSSetData(g, 1, 0, "Key");
        SSSetData(g, 2, 0, "Val");
        SSSetData(g, 1, 1, "k");
        if (!valFormula.empty())
            SSSetFormula(g, 2, 1, valFormula.c_str(), TRUE);
        else
            SSSetData(g, 2, 1, val);
    });
}

std::string lookupOf(const std::string& path)
{
    return "FROMTABLE(\"" + path + "\",\"Key\",\"Val\",\"k\")";
}

TEST_F(FromTable, TablesLookingIntoThemselvesOrEachOtherEndWithNoValue)
{
    std::filesystem::create_directories(folder.path() / "sub");
    // Itself, under another spelling of its name.
    const std::string self = folder.file("self.sss");
    writeLookupTable(self, lookupOf(folder.file("sub/../self.sss")));
    CallRecords call;
    call.text(self).text("Key").text("Val").text("k");
    call.answer(calling);
    // The inner lookup found the file being evaluated and answered no value: the cell is empty.
    ASSERT_EQ(call.result.status, SS_VALUESTATUS_OK);
    EXPECT_EQ(call.takeString(), "");
    EXPECT_EQ(kxss::tableChainDepth(), 0);
    EXPECT_EQ(kxss::currentSheet(), nullptr);

    // A and B in a circle.
    const std::string a = folder.file("a.sss");
    const std::string b = folder.file("b.sss");
    writeLookupTable(a, lookupOf(b));
    writeLookupTable(b, lookupOf(a));
    CallRecords circle;
    circle.text(a).text("Key").text("Val").text("k");
    circle.answer(calling);
    ASSERT_EQ(circle.result.status, SS_VALUESTATUS_OK);
    EXPECT_EQ(circle.takeString(), "");
    EXPECT_EQ(kxss::tableChainDepth(), 0);
}

TEST_F(FromTable, ChainsOfTablesNestEightDeep)
{
    // t0 -> t1 -> ... -> t(n-1), whose value is "end".
    auto writeChain = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const std::string path = folder.file("t" + std::to_string(i) + ".sss");
            if (i + 1 < n)
                writeLookupTable(path, lookupOf(folder.file("t" + std::to_string(i + 1) + ".sss")));
            else
                writeLookupTable(path, "", "end");
        }
    };
    auto run = [&] {
        kxss::TableCache::instance().clear();
        CallRecords call;
        call.text(folder.file("t0.sss")).text("Key").text("Val").text("k");
        call.answer(calling);
        return call.result.status == SS_VALUESTATUS_OK ? call.takeString() : std::string("<no value>");
    };
    writeChain(kxss::kMaxTableChain);
    EXPECT_EQ(run(), "end");
    writeChain(kxss::kMaxTableChain + 1);
    EXPECT_EQ(run(), "");
    EXPECT_EQ(kxss::tableChainDepth(), 0);
}

} // namespace

namespace {

// Through a real formula: a cell written as the position arrives as a reference, so the lookup
// reads that cell of the table, not the calling sheet's value there.
TEST_F(FromTable, AFormulaWithACellPositionReadsThatCellOfTheTable)
{
    ASSERT_TRUE(kxss::registerFromTable(calling));
    SSSetFormula(calling, 1, 1, ("FROMTABLE(\"" + table + "\",B3)").c_str(), TRUE);
    char text[64] = {};
    SSGetData(calling, 1, 1, text, sizeof text);
    EXPECT_STREQ(text, "t23");
    kxhost::takeCommandLineText();
}

} // namespace

namespace {

TEST_F(FromTable, TheModulesUnloadDropsTheCachedTables)
{
    CallRecords lookup;
    lookup.text(table).cell(2, 3);
    lookup.answer(calling);
    lookup.takeString();
    kxhost::takeCommandLineText();
    const int windowsWithCache = kxwin::liveWindowCount();
    kxss::runUnloadSteps();
    EXPECT_LT(kxwin::liveWindowCount(), windowsWithCache) << "the cached table's grid is gone";
}

} // namespace
