// Lists: index errors of Kx_Array, finding in Kx_StringArray, splitting and joining, rows to lines,
// unique names and the natural order of names.
#include "core/Kx_Array.h"
#include "core/Kx_StringArray.h"
#include "core/StringLists.h"
#include "platform/host/AcDb.h"
#include "platform/host/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr char kStockSeparator = '\xBF';

Kx_StringArray names(std::initializer_list<const char*> texts)
{
    Kx_StringArray list;
    for (const char* t : texts)
        list.append(Kx_String(t));
    return list;
}

} // namespace

TEST(ArrayIndexErrors, BadInsertPrintsTheMessageAndChangesNothing)
{
    kxhost::takeCommandLineText();
    Kx_Array<int> a{1, 2, 3};
    a.insertAt(-1, 9);
    a.insertAt(4, 9);
    EXPECT_EQ(kxhost::takeCommandLineText(),
              "*Error* Invalid index passed to insert.\n*Error* Invalid index passed to insert.\n");
    EXPECT_EQ(a, (Kx_Array<int>{1, 2, 3}));

    a.insertAt(3, 4);  // the end is a valid place
    a.insertAt(0, 0);
    EXPECT_EQ(a, (Kx_Array<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST(ArrayIndexErrors, BadRemovePrintsTheMessageAndChangesNothing)
{
    kxhost::takeCommandLineText();
    Kx_StringArray list = names({"a", "b"});
    list.removeAt(2);
    list.removeAt(-1);
    Kx_StringArray empty;
    empty.removeAt(0);
    EXPECT_EQ(kxhost::takeCommandLineText(), "*Error* Invalid index passed to remove.\n"
                                             "*Error* Invalid index passed to remove.\n"
                                             "*Error* Invalid index passed to remove.\n");
    EXPECT_EQ(list, names({"a", "b"}));
    list.removeAt(1);
    EXPECT_EQ(list, names({"a"}));
}

TEST(ArrayIndexErrors, ElementAccessOutsideTheListThrowsInsteadOfCorruptingMemory)
{
    Kx_Array<int> a{1};
    EXPECT_THROW(a[1], std::out_of_range);
    EXPECT_THROW(a[-1], std::out_of_range);
    Kx_Array<int> empty;
    EXPECT_THROW(empty.first(), std::out_of_range);
    EXPECT_THROW(empty.last(), std::out_of_range);
}

TEST(ArrayLengths, FillArrMakesNCopiesForEveryListType)
{
    Kx_StringArray macros = names({"m1", "m2", "m3"});
    AcArray<bool> enabled{false};
    fillArr(enabled, macros.length(), true);
    EXPECT_EQ(enabled, (AcArray<bool>{true, true, true}));

    Kx_Array<bool> flags;
    fillArr(flags, 2, false);
    flags[1] = true;
    EXPECT_EQ(flags, (Kx_Array<bool>{false, true}));

    Kx_StringArray texts = names({"old"});
    fillArr(texts, -3, "x");
    EXPECT_TRUE(texts.isEmpty());
}

TEST(StringArrayFind, CaseFlagAndStart)
{
    const Kx_StringArray list = names({"IPE 80", "HEA 100", "\xC3\x89" "crou", "ipe 80"});
    int index = -1;
    EXPECT_FALSE(list.find("\xC3\xA9" "crou", index, true));
    ASSERT_TRUE(list.find("\xC3\xA9" "CROU", index, false));
    EXPECT_EQ(index, 2);
    ASSERT_TRUE(list.find("ipe 80", index, false));
    EXPECT_EQ(index, 0);
    ASSERT_TRUE(list.find("ipe 80", index, false, 1));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(list.find("ipe 80", index, false, 4));
    EXPECT_TRUE(list.contains("hea 100", false));
    EXPECT_FALSE(list.contains("hea 100"));
}

TEST(SplitJoin, SplittingThenJoiningGivesTheTextBack)
{
    for (const char* text : {"", ",", ",,", "a", "a,b", "a,,b", ",a,", "\xC3\xA9,\xC3\xBF"}) {
        Kx_StringArray fields;
        strToArr(Kx_String(text), ',', fields);
        EXPECT_EQ(arrToStr(fields, ',').str(), text);
    }
}

TEST(SplitJoin, EmptyFieldsAreKeptAndEmptyTextIsAnEmptyList)
{
    Kx_StringArray fields = names({"stale"});
    strToArr(Kx_String(""), ';', fields);
    EXPECT_TRUE(fields.isEmpty());
    strToArr(Kx_String("a;;b;"), ';', fields);
    EXPECT_EQ(fields, names({"a", "", "b", ""}));
    strToArr(Kx_String(";"), ';', fields);
    EXPECT_EQ(fields, names({"", ""}));
    EXPECT_EQ(arrToStr(Kx_StringArray(), ';').str(), "");
}

TEST(SplitJoin, HighByteSeparatorNeverSplitsACharacter)
{
    // ÿ is C3 BF and ¿ is C2 BF: both end in the separator byte.
    const Kx_StringArray cells = names({"\xC3\xBF", "a\xC2\xBF", "", "HEA \xC3\xBF\xC3\xBF"});
    const Kx_String line = arrToStr(cells, kStockSeparator);
    Kx_StringArray back;
    strToArr(line, kStockSeparator, back);
    EXPECT_EQ(back, cells);

    strToArr(Kx_String("\xBF\xC3\xBF\xBF"), kStockSeparator, back);
    EXPECT_EQ(back, names({"", "\xC3\xBF", ""}));
}

TEST(SplitJoin, StringArrDropsOnlyTrailingEmptyTexts)
{
    EXPECT_EQ(stringArr("a", "b", "c", "", ""), names({"a", "b", "c"}));
    EXPECT_EQ(stringArr("a", "", "c"), names({"a", "", "c"}));
    EXPECT_EQ(stringArr("1", "2", "3", "4", "5"), names({"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(stringArr().isEmpty());
}

TEST(RowsToLines, StockRowsRoundTripWithTheSeparatorByte)
{
    Kx_Array<Kx_StringArray> rows;
    rows.append(names({"IPE 80", "6000", "12", "S235 \xC3\xBF"}));
    rows.append(names({"", "", ""}));
    rows.append(Kx_StringArray());
    rows.append(names({"L 50x50x5", "\xC2\xBF?"}));
    Kx_StringArray lines;
    ASSERT_TRUE(arrArrToArr(rows, kStockSeparator, lines));
    ASSERT_EQ(lines.length(), 4);
    EXPECT_EQ(lines[1].str(), "\xBF\xBF");

    Kx_Array<Kx_StringArray> back;
    arrToArrArr(lines, kStockSeparator, back);
    EXPECT_EQ(back, rows);
}

TEST(RowsToLines, RefusesRowsThatWouldReadBackDifferently)
{
    const Kx_StringArray before = names({"keep"});
    for (const Kx_StringArray& bad : {names({"a\xBF", "b"}),             // holds the separator
                                      names({"a", "two\nlines"}),         // would become two lines
                                      names({"cr\r", "x"}),
                                      names({"\xC3", "x"})}) {            // C3 + BF would read as ÿ
        Kx_Array<Kx_StringArray> rows;
        rows.append(names({"fine", "row"}));
        rows.append(bad);
        Kx_StringArray lines = before;
        EXPECT_FALSE(arrArrToArr(rows, kStockSeparator, lines)) << bad[0].str();
        EXPECT_EQ(lines, before);
    }
    Kx_Array<Kx_StringArray> commas;
    commas.append(names({"a,b", "c"}));
    Kx_StringArray lines;
    EXPECT_FALSE(arrArrToArr(commas, ',', lines));
}

TEST(RowsToLines, OneEmptyCellBecomesAnEmptyRow)
{
    Kx_Array<Kx_StringArray> rows;
    rows.append(names({""}));
    Kx_StringArray lines;
    ASSERT_TRUE(arrArrToArr(rows, kStockSeparator, lines));
    EXPECT_EQ(lines, names({""}));
    Kx_Array<Kx_StringArray> back;
    arrToArrArr(lines, kStockSeparator, back);
    ASSERT_EQ(back.length(), 1);
    EXPECT_TRUE(back[0].isEmpty());
}

TEST(UniqueNames, AppendsTheFirstFreeNumberIgnoringCase)
{
    EXPECT_EQ(findNonExistingString(names({"Other"}), "Table").str(), "Table");
    EXPECT_EQ(findNonExistingString(names({"table", "TABLE1", "Table3"}), "Table").str(), "Table2");
    EXPECT_EQ(findNonExistingString(names({"\xC3\xA9" "crou"}), "\xC3\x89" "CROU").str(), "\xC3\x89" "CROU1");
    EXPECT_EQ(findNonExistingString(Kx_StringArray(), "").str(), "1");
    EXPECT_EQ(findNonExistingString(names({"1", "2"}), "").str(), "3");

    Kx_StringArray crowded;
    crowded.append("N");
    for (int i = 1; i <= 500; ++i)
        crowded.append(Kx_String("n").append(i));
    EXPECT_EQ(findNonExistingString(crowded, "N").str(), "N501");
}

TEST(UniqueNames, StripNumbersAndDuplicates)
{
    EXPECT_EQ(stripNumbersAtEnd(Kx_String("Stair 12")).str(), "Stair");
    EXPECT_EQ(stripNumbersAtEnd(Kx_String("Beam2")).str(), "Beam");
    EXPECT_EQ(stripNumbersAtEnd(Kx_String("Base plate ")).str(), "Base plate ");
    EXPECT_EQ(stripNumbersAtEnd(Kx_String("HEA 100 a")).str(), "HEA 100 a");
    EXPECT_EQ(stripNumbersAtEnd(Kx_String(" 42")).str(), " 42");
    EXPECT_EQ(stripNumbersAtEnd(Kx_String("")).str(), "");
    EXPECT_EQ(stripNumbersAtEnd(Kx_String("\xC3\xA9tage3")).str(), "\xC3\xA9tage");

    const Kx_StringArray display = stripNumbersAtEnd(names({"Stair 1", "Stair 2", "Beam"}));
    EXPECT_EQ(display, names({"Stair", "Stair", "Beam"}));
    EXPECT_TRUE(hasDuplicates(display));
    EXPECT_FALSE(hasDuplicates(names({"Stair", "stair"})));
    EXPECT_TRUE(hasDuplicates(names({"Stair", "stair"}), false));
    EXPECT_FALSE(hasDuplicates(Kx_StringArray()));
}

TEST(NaturalOrder, NumbersCompareByValue)
{
    EXPECT_LT(naturalCompare("IPE 80", "IPE 100"), 0);
    EXPECT_GT(naturalCompare("IPE 100", "IPE 80"), 0);
    EXPECT_LT(naturalCompare("L 50x50x5", "L 50x50x10"), 0);
    EXPECT_LT(naturalCompare("L 8x8", "L 10x10"), 0);
    EXPECT_LT(naturalCompare("RHS 50x30x2.25", "RHS 50x30x2.5"), 0);
    EXPECT_LT(naturalCompare("RR 40x40x2,5", "RR 40x40x3"), 0);
    EXPECT_LT(naturalCompare("HEA 99999999999999999999", "HEA 100000000000000000000"), 0);
    EXPECT_LT(naturalCompare("hea 100", "HEB 100"), 0);
    EXPECT_LT(naturalCompare("IPE", "IPE 80"), 0);
    EXPECT_LT(naturalCompare("\xC3\xA9" "crou 9", "\xC3\x89" "CROU 10"), 0);
    EXPECT_EQ(naturalCompare("IPE 80", "IPE 80"), 0);
    EXPECT_NE(naturalCompare("IPE 080", "IPE 80"), 0);  // only identical texts compare equal
    EXPECT_NE(naturalCompare("ipe 80", "IPE 80"), 0);
}

TEST(NaturalOrder, IsATotalOrderOnMixedNames)
{
    // Sorting with an inconsistent comparison gives an order that some pair contradicts; check every
    // pair of a shuffled set of awkward names after sorting, and antisymmetry.
    std::vector<Kx_String> all;
    for (const char* t : {"IPE 80", "ipe 80", "IPE 080", "IPE 100", "IPE", "IPE 8.5", "IPE 8.50", "IPE 8,5",
                          "IPE 8.05", "IPE a", "IPE 8a", "IPE 8 a", "1", "01", "001", "", "\xC3\xA9", "\xC3\x89",
                          "e", "f", "\xBF", "\xC3", "x0.5", "x.5", "10", "9", "9.9", "9.10", "a1b2", "a01b3", "z"})
        all.emplace_back(t);
    std::mt19937 rng(7);
    for (int round = 0; round < 5; ++round) {
        std::shuffle(all.begin(), all.end(), rng);
        std::vector<Kx_String> sorted = all;
        std::sort(sorted.begin(), sorted.end(),
                  [](const Kx_String& a, const Kx_String& b) { return naturalCompare(a, b) < 0; });
        for (size_t i = 0; i < sorted.size(); ++i) {
            for (size_t j = i + 1; j < sorted.size(); ++j)
                EXPECT_LT(naturalCompare(sorted[i], sorted[j]), 0) << sorted[i].str() << " / " << sorted[j].str();
        }
    }
    for (const Kx_String& a : all) {
        for (const Kx_String& b : all)
            EXPECT_EQ(naturalCompare(a, b), -naturalCompare(b, a));
    }
}

TEST(NaturalOrder, AddToSortedInsertsAfterEqualsAndReturnsThePlace)
{
    Kx_StringArray list = names({"IPE 80", "IPE 100", "IPE 200"});
    EXPECT_EQ(ObjectExportAddToSorted(list, "IPE 120"), 2);
    EXPECT_EQ(ObjectExportAddToSorted(list, "IPE 60"), 0);
    EXPECT_EQ(ObjectExportAddToSorted(list, "IPE 300"), 5);
    EXPECT_EQ(list, names({"IPE 60", "IPE 80", "IPE 100", "IPE 120", "IPE 200", "IPE 300"}));
    EXPECT_EQ(ObjectExportAddToSorted(list, "IPE 100"), 3);  // after the equal entry
    EXPECT_EQ(list[2].str(), "IPE 100");
    EXPECT_EQ(list[3].str(), "IPE 100");

    Kx_StringArray empty;
    EXPECT_EQ(ObjectExportAddToSorted(empty, "x"), 0);
    EXPECT_EQ(empty, names({"x"}));
}

TEST(NaturalOrder, RepeatedAddToSortedKeepsTheListSorted)
{
    std::vector<std::string> input;
    std::mt19937 rng(11);
    const char* prefixes[] = {"L ", "l ", "IPE ", "HEA ", "RHS "};
    for (int i = 0; i < 200; ++i) {
        std::string name = prefixes[rng() % 5] + std::to_string(rng() % 300);
        if (rng() % 3 == 0)
            name += "x" + std::to_string(rng() % 20);
        input.push_back(name);
    }
    Kx_StringArray list;
    for (const std::string& name : input) {
        const int pos = ObjectExportAddToSorted(list, Kx_String(name));
        ASSERT_EQ(list[pos].str(), name);
    }
    ASSERT_EQ(list.length(), 200);
    for (int i = 1; i < list.length(); ++i)
        EXPECT_LE(naturalCompare(list[i - 1], list[i]), 0) << list[i - 1].str() << " / " << list[i].str();
}
