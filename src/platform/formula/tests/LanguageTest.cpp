// The formula language: literals, operators and their precedence, comparisons across types,
// references and ranges, names, syntax errors, limits and hostile texts.
#include "FormulaTestSupport.h"

#include <string>

namespace {

using kxtest::fillSample;
using kxtest::sameValue;
using kxtest::Sheet;

struct Case {
    const char* formula;
    const char* expected;
};

void expectAll(std::initializer_list<Case> cases, const char* at = "Z50")
{
    Sheet sheet;
    fillSample(sheet);
    for (const Case& c : cases)
        EXPECT_TRUE(sameValue(sheet.eval(c.formula, at), c.expected)) << c.formula;
}

TEST(Operators, FollowSpreadsheetPrecedence)
{
    expectAll({
        {"1+2*3", "7"},
        {"(1+2)*3", "9"},
        {"-2^2", "4"},   // the sign binds tighter than ^
        {"2^3^2", "64"}, // ^ groups from the left
        {"2*-3", "-6"},
        {"--3", "3"},
        {"50%", "0.5"},
        {"10*50%", "5"},
        {"200%%", "0.02"},
        {"2^50%*4", "5.656854249492381"},
        {"1+2&3", "\"33\""},
        {"1&2=\"12\"", "TRUE"},
        {"1+1=2", "TRUE"},
        {"10-2-3", "5"},
        {"12/2/3", "2"},
        {"=1+2", "3"},
        {"+A1", "1"},
    });
}

TEST(Operators, CoerceTheirOperands)
{
    expectAll({
        {"\"3\"+1", "4"},
        {"TRUE+1", "2"},
        {"E1+1", "1"},
        {"\"a\"+1", "#VALUE!"},
        {"\"\"+1", "#VALUE!"},
        {"-\"a\"", "#VALUE!"},
        {"+\"a\"", "\"a\""},
        {"1&TRUE", "\"1TRUE\""},
        {"E1&\"x\"", "\"x\""},
        {"0.1+0.2&\"\"", "\"0.3\""},
        {"1/3&\"\"", "\"0.333333333333333\""},
        {"B4*2", "6"},
        {"\"1,000\"*2", "2000"},
        {"\"50%\"*2", "1"},
    });
}

TEST(Operators, ComparisonsOrderNumbersBeforeTextsBeforeBooleans)
{
    expectAll({
        {"\"a\"=\"A\"", "TRUE"},
        {"\"a\"<\"B\"", "TRUE"},
        {"\"\xC3\xA4\"=\"\xC3\x84\"", "TRUE"},
        {"1<\"a\"", "TRUE"},
        {"\"z\"<TRUE", "TRUE"},
        {"TRUE>1", "TRUE"},
        {"\"3\"=3", "FALSE"},
        {"E1=0", "TRUE"},
        {"E1=\"\"", "TRUE"},
        {"E1=FALSE", "TRUE"},
        {"E1=E2", "TRUE"},
        {"0.1+0.2=0.3", "TRUE"},
        {"1<>1.0000001", "TRUE"},
        {"\"abc\"<=\"abd\"", "TRUE"},
        {"FALSE<TRUE", "TRUE"},
    });
}

TEST(Operators, PropagateTheFirstError)
{
    expectAll({
        {"1/0", "#DIV/0!"},
        {"0/0", "#DIV/0!"},
        {"D2+D1", "#DIV/0!"},
        {"D1+D2", "#N/A"},
        {"1+#REF!", "#REF!"},
        {"(1/0)&\"x\"", "#DIV/0!"},
        {"D1=1", "#N/A"},
        {"-D1", "#N/A"},
        {"D1%", "#N/A"},
        {"1E+308*10", "#NUM!"},
        {"0^0", "#NUM!"},
        {"0^-1", "#DIV/0!"},
        {"(-8)^(1/3)", "#NUM!"},
        {"#cycle!", "#CYCLE!"},
    });
}

TEST(Literals, NumbersTextsBooleansAndErrors)
{
    expectAll({
        {"\"say \"\"hi\"\"\"", "\"say \"hi\"\""},
        {"\"\"", "\"\""},
        {"1E3", "1000"},
        {"1.5e-3", "0.0015"},
        {".5", "0.5"},
        {"1.", "1"},
        {"true", "TRUE"},
        {"False", "FALSE"},
        {"#N/A", "#N/A"},
        {"#div/0!", "#DIV/0!"},
        {"#NULL!", "#NULL!"},
        {"1E999", "#NUM!"},
        {"1E-999", "0"},
        {" 1 +\t2\r\n", "3"},
        {"SUM( 1 , 2 )", "3"},
    });
}

TEST(References, RelativeAbsoluteAndRanges)
{
    expectAll({
        {"A1+A2", "3"},
        {"$A$3", "3"},
        {"a$4+$a5", "9"},
        {"SUM(A1:A5)", "15"},
        {"SUM(A5:A1)", "15"},
        {"SUM($A$1:A5)", "15"},
        {"A1:A5", "#VALUE!"}, // a range in a one-value place outside its rows
        {"E3", "0"},          // an empty cell shows 0
    });
    expectAll({{"A1:A5*2", "6"}, {"A1:C1", "\"abc\""}, {"A1:C2", "#VALUE!"}}, "B3"); // implicit intersection
}

TEST(References, BeyondTheSheetAreEmptyCellsUpToTheGridsLimits)
{
    Sheet sheet(5, 10);
    sheet.number("A1", 1);
    // Single cells and ranges follow one rule: what lies beyond the sheet's size is empty.
    EXPECT_TRUE(sameValue(sheet.eval("F1"), "0"));              // beyond the last column
    EXPECT_TRUE(sameValue(sheet.eval("A11"), "0"));             // beyond the last row
    EXPECT_TRUE(sameValue(sheet.eval("ISBLANK(A500)"), "TRUE"));
    EXPECT_TRUE(sameValue(sheet.eval("A500&\"x\""), "\"x\""));
    EXPECT_TRUE(sameValue(sheet.eval("SUM(A1:A1000)"), "1"));   // a range reaching past the end
    EXPECT_TRUE(sameValue(sheet.eval("SUM(A20:A30)"), "0"));    // a range wholly beyond it
    EXPECT_TRUE(sameValue(sheet.eval("COUNTA(A20:Z30)"), "0"));
    EXPECT_TRUE(sameValue(sheet.eval("INDEX(A1:A1000,600)"), "0"));
    EXPECT_TRUE(sameValue(sheet.eval("VLOOKUP(1,A1:B1000,2,FALSE)"), "0"));
    EXPECT_TRUE(sameValue(sheet.eval("A1073741824"), "0"));     // the grid's last row
    EXPECT_TRUE(sameValue(sheet.eval("ZZZ1"), "0"));            // its last column
    // Only what no sheet can hold, or lies before the first cell, is #REF!.
    EXPECT_TRUE(sameValue(sheet.eval("A1073741825"), "#REF!"));
    EXPECT_TRUE(sameValue(sheet.eval("A99999999999"), "#REF!"));
    EXPECT_TRUE(sameValue(sheet.eval("R[-5]C", "A2"), "#ERROR!")); // A1 style reads no R1C1
    EXPECT_TRUE(sameValue(sheet.engine.evaluate("R[-5]C", 1, 2, kxformula::RefStyle::R1C1), "#REF!"));
    EXPECT_TRUE(sameValue(sheet.engine.evaluate("R1C1+R[-1]C", 1, 2, kxformula::RefStyle::R1C1), "2"));
    EXPECT_TRUE(sameValue(sheet.engine.evaluate("R99999999999C1", 1, 2, kxformula::RefStyle::R1C1), "#REF!"));
}

TEST(References, ASheetThatGrowsFillsWhatTheyReadBeyondIt)
{
    Sheet sheet(5, 10);
    ASSERT_TRUE(sheet.formula("B1", "A20*2+SUM(A15:A25)").ok);
    EXPECT_TRUE(sameValue(sheet.value("B1"), "0"));
    sheet.store.resize(5, 30);
    sheet.engine.recalculate();
    sheet.number("A20", 4);
    EXPECT_TRUE(sameValue(sheet.value("B1"), "12"));
    sheet.store.resize(5, 10);
    sheet.engine.recalculate();
    EXPECT_TRUE(sameValue(sheet.value("B1"), "0")) << "cut off again: empty, not an error";
}

TEST(Names, UnknownNamesAndFunctionsGiveNameErrors)
{
    expectAll({
        {"foo", "#NAME?"},
        {"FOO(1)", "#NAME?"},
        {"ABCD1", "#NAME?"}, // four column letters are not a reference
        {"A0", "#NAME?"},
        {"A1B", "#NAME?"},
        {"R1C1", "#NAME?"},
        {"IFERROR(nothing,7)", "7"},
    });
}

struct SyntaxCase {
    const char* formula;
    std::size_t offset;
};

TEST(Syntax, UnreadableTextsGiveErrorValuesAndTheirPlace)
{
    const SyntaxCase cases[] = {
        {"=1+", 3}, {"(1", 2}, {"1)", 1}, {"=SUM(1", 6}, {"\"abc", 4}, {"#FOO!", 0}, {"1 2", 2}, {"$", 0},
        {"", 0},    {"=", 1},  {",", 0},  {"SUM(1;2)", 5}, {"A1:", 3}, {"A1:foo", 3}, {"1+*2", 2}, {"=$A", 1},
    };
    for (const SyntaxCase& c : cases) {
        Sheet sheet;
        const kxformula::ParseStatus status = sheet.formula("B2", c.formula);
        EXPECT_FALSE(status.ok) << c.formula;
        EXPECT_FALSE(status.message.empty()) << c.formula;
        EXPECT_EQ(status.offset, c.offset) << c.formula << ": " << status.message;
        EXPECT_TRUE(sameValue(sheet.value("B2"), "#ERROR!")) << c.formula;
        EXPECT_EQ(sheet.formulaText("B2"), c.formula[0] == '=' ? c.formula + 1 : c.formula)
            << "an unreadable formula comes back as typed";
    }
}

TEST(Limits, NestingUpToSixtyFourLevels)
{
    const auto nested = [](int levels) {
        std::string text;
        for (int i = 0; i < levels; ++i)
            text += i % 2 ? "(" : "ABS(";
        text += "-1";
        for (int i = 0; i < levels; ++i)
            text += ")";
        return text;
    };
    Sheet sheet;
    EXPECT_TRUE(sheet.formula("A1", nested(64)).ok);
    EXPECT_TRUE(sameValue(sheet.value("A1"), "1"));
    const kxformula::ParseStatus deeper = sheet.formula("A2", nested(65));
    EXPECT_FALSE(deeper.ok);
    EXPECT_NE(deeper.message.find("64"), std::string::npos);
    EXPECT_TRUE(sameValue(sheet.value("A2"), "#ERROR!"));
    // Ten thousand levels are refused without exhausting the stack.
    EXPECT_FALSE(sheet.formula("A3", std::string(10000, '(') + "1" + std::string(10000, ')')).ok);
    EXPECT_TRUE(sameValue(sheet.value("A3"), "#ERROR!"));
}

TEST(Limits, FormulaOfAtMost8192Characters)
{
    // "1+1+...": 4,096 terms of operators need no nesting and evaluate without recursion.
    std::string text = "1";
    while (text.size() + 2 <= 8192)
        text += "+1";
    ASSERT_EQ(text.size(), 8191u);
    text += "0";
    Sheet sheet;
    EXPECT_TRUE(sheet.formula("A1", "=" + text).ok) << "the '=' does not count";
    EXPECT_TRUE(sameValue(sheet.value("A1"), "4105"));
    EXPECT_FALSE(sheet.formula("A2", text + "0").ok);
    // Counted in characters, not bytes: 5,000 two-byte letters in a formula of 5,007 characters.
    std::string umlauts = "\"";
    for (int i = 0; i < 5000; ++i)
        umlauts += "\xC3\xA4";
    umlauts += "\"";
    EXPECT_TRUE(sheet.formula("A3", "LEN(" + umlauts + ")").ok);
    EXPECT_TRUE(sameValue(sheet.value("A3"), "5000"));
    // A long chain of signs and percents does not nest either.
    EXPECT_TRUE(sheet.formula("A4", std::string(8000, '-') + "1" + std::string(100, '%')).ok);
}

TEST(Limits, TextsLongerThan32767CharactersAreValueErrors)
{
    Sheet sheet;
    sheet.text("A1", std::string(10000, 'x'));
    sheet.formula("B1", "=A1&A1&A1");
    EXPECT_EQ(sheet.value("B1").asText().size(), 30000u);
    sheet.formula("B2", "=A1&A1&A1&A1");
    EXPECT_TRUE(sameValue(sheet.value("B2"), "#VALUE!"));
    sheet.formula("B3", "=SUBSTITUTE(A1,\"x\",\"xxxx\")");
    EXPECT_TRUE(sameValue(sheet.value("B3"), "#VALUE!"));
    sheet.formula("B4", "=LEN(CONCATENATE(A1,A1,A1,A1))");
    EXPECT_TRUE(sameValue(sheet.value("B4"), "#VALUE!"));
}

TEST(HostileInput, NeverCrashesAndGivesAnErrorValue)
{
    Sheet sheet;
    const std::string texts[] = {
        std::string("=\"a\xFF\""),                // invalid UTF-8 in a text
        std::string("=A1\xC3"),                   // a cut character
        std::string("=1+\0+1", 6),                // a NUL byte
        std::string("=\xED\xA0\x80"),             // an encoded surrogate
        std::string(100000, '('),                 // far beyond every limit
        "=" + std::string(5000, '1'),             // a 5,000-digit number
        "=IF(" + std::string(200, ',') + ")",     // 201 empty arguments
        "=SUM(" + std::string(400, ',') + ")",    // more than 255 arguments
    };
    for (const std::string& text : texts) {
        sheet.formula("C3", text);
        EXPECT_TRUE(sheet.value("C3").isError()) << text.substr(0, 40);
    }
    EXPECT_FALSE(sheet.formula("A1", "=\"\xFF\"").ok);
    EXPECT_EQ(sheet.formula("A1", "=\"ok\xFF\"").offset, 4u);
}

} // namespace

namespace {

// Whole columns and rows: read as ranges of every row (column) of the sheet, costing only the part
// the sheet has; written back as typed, in either style.
using kxformula::RefStyle;

TEST(References, WholeColumnsAndRowsReadTheWholeSheetAndWriteBackAsTyped)
{
    Sheet sheet(5, 10);
    sheet.number("A1", 1);
    sheet.number("A2", 2);
    sheet.number("A3", 3);
    sheet.number("B2", 10);
    sheet.text("C2", "x");
    struct Case {
        const char* formula;
        const char* value;
    };
    const Case cases[] = {
        {"SUM(A:A)", "6"},          {"SUM(A:B)", "16"},          {"SUM(B:A)", "16"},
        {"SUM(2:2)", "12"},         {"SUM($1:$3)", "16"},        {"COUNTA(2:2)", "3"},
        {"COUNTA(C:C)", "1"},       {"MATCH(3,A:A,0)", "3"},     {"INDEX(A:A,2)", "2"},
        {"VLOOKUP(2,A:B,2,FALSE)", "10"}, {"SUMIF(A:A,\">1\",B:B)", "10"}, {"SUM(E:E)", "0"},
        {"A:A", "0"} /* row 50 of column A */, {"SUM(A:XFE)", "16"},  {"SUM(ZZZ:ZZZ)", "0"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(sameValue(sheet.eval(c.formula), c.value)) << c.formula;
    // Beyond the grid's limits there is no such line.
    EXPECT_TRUE(sheet.eval("SUM(A:AAAA)").isError());
    EXPECT_TRUE(sheet.eval("SUM(1:1073741825)").isError());

    struct Text {
        const char* typed;
        const char* a1;
        const char* r1c1;
    };
    const Text texts[] = {
        {"SUM(A:A)", "SUM(A:A)", "SUM(C[-1])"},     {"SUM($A:$C)", "SUM($A:$C)", "SUM(C1:C3)"},
        {"SUM(C:A)", "SUM(A:C)", "SUM(C[-1]:C[1])"}, {"SUM(1:1)", "SUM(1:1)", "SUM(R[-1])"},
        {"SUM($2:$5)", "SUM($2:$5)", "SUM(R2:R5)"},  {"SUM(B:B,2:2)", "SUM(B:B,2:2)", "SUM(C,R)"},
    };
    for (const Text& t : texts) {
        ASSERT_TRUE(sheet.formula("B2", t.typed).ok) << t.typed;
        EXPECT_EQ(sheet.formulaText("B2"), t.a1) << t.typed;
        EXPECT_EQ(sheet.formulaText("B2", RefStyle::R1C1), t.r1c1) << t.typed;
        ASSERT_TRUE(sheet.formula("D4", t.r1c1, RefStyle::R1C1).ok) << t.r1c1;
        EXPECT_EQ(sheet.formulaText("D4", RefStyle::R1C1), t.r1c1) << "R1C1 reads back";
    }
    // R1C1 letters alone stay what they were elsewhere: RC is a cell, a name is a name.
    EXPECT_TRUE(sameValue(sheet.engine.evaluate("RC[-1]", 2, 2, RefStyle::R1C1), "2"));
    EXPECT_TRUE(sameValue(sheet.engine.evaluate("COS(0)", 2, 2, RefStyle::R1C1), "1"));
}

TEST(References, WholeColumnsFollowTheSheetAsItGrowsAndChanges)
{
    Sheet sheet(3, 10);
    sheet.number("A1", 1);
    ASSERT_TRUE(sheet.formula("C1", "SUM(A:A)").ok);
    sheet.store.resize(3, 500);
    sheet.engine.recalculate();
    sheet.number("A400", 41);
    EXPECT_TRUE(sameValue(sheet.value("C1"), "42"));
}

} // namespace
