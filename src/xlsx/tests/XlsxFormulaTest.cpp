// Formula texts rewritten for .xlsx files: references moved and turned into A1, functions the
// office program lacks found, texts and numbers left alone.
#include "xlsx/XlsxFormula.h"

#include <gtest/gtest.h>

using kxxlsx::translateFormula;

TEST(XlsxFormula, A1ReferencesMoveDownWithTheHeaderRowAbsoluteOnesToo)
{
    EXPECT_EQ(translateFormula("A1*2+$B$3-C$4+$D5", false, 1, 1, 1).text, "A2*2+$B$4-C$5+$D6");
    EXPECT_EQ(translateFormula("SUM(a1:b10)", false, 3, 3, 1).text, "SUM(A2:B11)");
    EXPECT_EQ(translateFormula("SUM(A1:B10)", false, 3, 3, 0).text, "SUM(A1:B10)");
}

TEST(XlsxFormula, TextsNumbersAndErrorsAreNoReferences)
{
    // A quoted text holding a reference and a doubled quote, an exponent whose digits follow a
    // letter, an error literal and a boolean.
    const auto x = translateFormula("IF(A1=\"A1 \"\"B2\"\"\",1E+20,#DIV/0!)&TRUE&1.5e3", false, 1, 1, 1);
    EXPECT_EQ(x.text, "IF(A2=\"A1 \"\"B2\"\"\",1E+20,#DIV/0!)&TRUE&1.5e3");
    EXPECT_TRUE(x.travels());
}

TEST(XlsxFormula, R1C1ReferencesBecomeA1RelativeToTheirCell)
{
    // At C5: R[-1]C[-2] is A4, RC is C5, R1C1 is $A$1, R2C[1] is D$2, R[1]C3 is $C6.
    EXPECT_EQ(translateFormula("R[-1]C[-2]+RC+R1C1+R2C[1]+R[1]C3", true, 3, 5, 0).text, "A4+C5+$A$1+D$2+$C6");
    EXPECT_EQ(translateFormula("SUM(R1C[-1]:R[-1]C[-1])", true, 2, 4, 1).text, "SUM(A$2:A4)");
    // Off the sheet's top or left edge.
    EXPECT_EQ(translateFormula("R[-5]C+1", true, 1, 2, 0).text, "#REF!+1");
    // Names that only look like the start of a reference stay as they are.
    EXPECT_EQ(translateFormula("ROUND(RC[1],2)", true, 1, 1, 0).text, "ROUND(B1,2)");
}

TEST(XlsxFormula, FunctionsTheOfficeLacksAreNamedOnce)
{
    const auto x = translateFormula("fromtable(\"t\",A1)+FROMTABLE(\"t\",A2)*MyFunc()+sum(A1)", false, 5, 5, 0);
    EXPECT_EQ(x.text, "FROMTABLE(\"t\",A1)+FROMTABLE(\"t\",A2)*MYFUNC()+SUM(A1)");
    EXPECT_EQ(x.foreignFunctions, (std::vector<std::string>{"FROMTABLE", "MYFUNC"}));
    EXPECT_FALSE(x.travels());
    // A function name inside a text is no call.
    EXPECT_TRUE(translateFormula("\"FROMTABLE(1)\"&VLOOKUP(A1,B1:C4,2)", false, 1, 1, 0).travels());
}

TEST(XlsxFormula, ReferencesBeyondTheFilesSizeDoNotTravel)
{
    EXPECT_TRUE(translateFormula("XFD1048576", false, 1, 1, 0).travels());
    EXPECT_TRUE(translateFormula("A1048576", false, 1, 1, 1).outOfRange);  // the header row pushes it out
    EXPECT_TRUE(translateFormula("XFE1", false, 1, 1, 0).outOfRange);
    EXPECT_EQ(kxxlsx::columnName(16384), "XFD");
    EXPECT_EQ(kxxlsx::columnName(27), "AA");
}

TEST(XlsxFormula, TextsAnOfficeProgramWouldRefuseDoNotTravel)
{
    // The grid's own error literals, and brackets left over from an offset too large to be one.
    EXPECT_FALSE(translateFormula("IF(A1,#CYCLE!,1)", false, 1, 1, 0).travels());
    EXPECT_FALSE(translateFormula("#error!", false, 1, 1, 0).travels());
    EXPECT_TRUE(translateFormula("IF(A1,#N/A,#NAME?)", false, 1, 1, 0).travels());
    const auto huge = translateFormula("R[99999999999999999999]C+R[-9223372036854775807]C", true, 1, 1, 0);
    EXPECT_TRUE(huge.unreadable);
    EXPECT_FALSE(huge.travels());
    // Brackets inside a text are the text's own.
    EXPECT_TRUE(translateFormula("\"[x]\"&A1", false, 1, 1, 0).travels());
}
