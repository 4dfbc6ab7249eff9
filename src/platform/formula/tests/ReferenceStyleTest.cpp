// Formula texts written back: A1 and R1C1 styles, the writer's form of names, numbers, texts and
// parentheses, round trips between the styles, and formulas copied to other cells.
#include "FormulaTestSupport.h"

namespace {

using kxformula::RefStyle;
using kxtest::sameValue;
using kxtest::Sheet;

TEST(ReferenceStyle, ReferencesAreWrittenInEitherStyle)
{
    Sheet sheet;
    ASSERT_TRUE(sheet.formula("C5", "=A1+$B$2*C$3-$D4").ok);
    EXPECT_EQ(sheet.formulaText("C5", RefStyle::A1), "A1+$B$2*C$3-$D4");
    EXPECT_EQ(sheet.formulaText("C5", RefStyle::R1C1), "R[-4]C[-2]+R2C2*R3C-R[-1]C4");

    ASSERT_TRUE(sheet.formula("C6", "=R[-4]C[-2]+R2C2*R3C-R[-1]C4+RC[1]+R[1]C:R[2]C[3]", RefStyle::R1C1).ok);
    EXPECT_EQ(sheet.formulaText("C6", RefStyle::A1), "A2+$B$2*C$3-$D5+D6+C7:F8");

    ASSERT_TRUE(sheet.formula("B2", "=SUM(b10:a1)").ok);
    EXPECT_EQ(sheet.formulaText("B2"), "SUM(A1:B10)") << "corners in order";
    EXPECT_EQ(sheet.formulaText("B2", RefStyle::R1C1), "SUM(R[-1]C[-1]:R[8]C)");
}

TEST(ReferenceStyle, TheWritersFormOfNamesNumbersTextsAndParentheses)
{
    struct Case {
        const char* typed;
        const char* written;
    } cases[] = {
        {"=sum( a1 , 2 )", "SUM(A1,2)"},
        {"=((1+2))*3", "((1+2))*3"},
        {"=1.50+1e3+1E+20+.5", "1.5+1000+1E+20+0.5"},
        {"=\"say \"\"hi\"\"\"&\"\"", "\"say \"\"hi\"\"\"&\"\""},
        {"=true<>false", "TRUE<>FALSE"},
        {"=#n/a", "#N/A"},
        {"=-(-2)^2%", "-(-2)^2%"},
        {"=IF(A1,,)", "IF(A1,,)"},
        {"=IF(A1,1)", "IF(A1,1)"},
        {"=IFERROR(A1,\"\")", "IFERROR(A1,\"\")"},
        {"=IF(1)", "IF(1)"},
        {"=myFunc(1,A2)", "MYFUNC(1,A2)"},
        {"=foo+1", "foo+1"},
        {"=1E999", "1E999"},
        {"=A99999999999", "#REF!"},
        {"=PI()", "PI()"},
    };
    Sheet sheet;
    for (const Case& c : cases) {
        sheet.formula("D4", c.typed);
        EXPECT_EQ(sheet.formulaText("D4"), c.written) << c.typed;
    }
}

TEST(ReferenceStyle, TextsRoundTripBetweenTheStyles)
{
    const char* formulas[] = {
        "SUM($A$1:B2)*IF(C3>0,D$4,E5%)",
        "VLOOKUP(\"ipe\",$F$1:G20,2,FALSE)&TEXT(A1,\"0.00\")",
        "-A1^2+AB100-ZZ7/$XFD1",
        "ROUND(INDEX(A1:C3,2,2),2)<>MATCH(1,A1:A3,0)",
    };
    for (const char* text : formulas) {
        Sheet sheet;
        ASSERT_TRUE(sheet.formula("E7", text).ok) << text;
        const std::string a1 = sheet.formulaText("E7", RefStyle::A1);
        const std::string r1c1 = sheet.formulaText("E7", RefStyle::R1C1);
        EXPECT_EQ(a1, text);
        ASSERT_TRUE(sheet.formula("E7", r1c1, RefStyle::R1C1).ok) << r1c1;
        EXPECT_EQ(sheet.formulaText("E7", RefStyle::A1), a1);
        EXPECT_EQ(sheet.formulaText("E7", RefStyle::R1C1), r1c1);
    }
}

TEST(ReferenceStyle, CopiedFormulasMoveTheirRelativeReferences)
{
    Sheet sheet;
    sheet.number("A1", 10);
    sheet.number("B3", 7);
    ASSERT_TRUE(sheet.formula("C5", "=A1+$A$1").ok);
    EXPECT_TRUE(sheet.engine.copyFormula(3, 5, 4, 7)); // to D7
    EXPECT_EQ(sheet.formulaText("D7"), "B3+$A$1");
    EXPECT_TRUE(sameValue(sheet.value("D7"), "17"));
    EXPECT_TRUE(sheet.engine.copyFormula(3, 5, 2, 1)); // to B1: the relative part leaves the sheet
    EXPECT_EQ(sheet.formulaText("B1"), "#REF!+$A$1");
    EXPECT_TRUE(sameValue(sheet.value("B1"), "#REF!"));
    EXPECT_FALSE(sheet.engine.copyFormula(9, 9, 1, 2)) << "no formula to copy";
}

TEST(ReferenceStyle, FormulasWithoutTheirCellAreAskedForNothing)
{
    Sheet sheet;
    EXPECT_FALSE(sheet.engine.formulaText(1, 1, RefStyle::A1).has_value());
    EXPECT_FALSE(sheet.engine.setFormula(0, 1, "=1").ok) << "row and column 0 are the headers";
    EXPECT_FALSE(sheet.engine.setFormula(1, kxformula::kMaxRow + 1, "=1").ok);
    EXPECT_EQ(sheet.engine.formulaCount(), 0u);
}

} // namespace
