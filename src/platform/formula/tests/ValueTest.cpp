// Values and their texts: error texts both ways, the general number format, reading numbers from
// texts, and independence from the process locale.
#include "FormulaTestSupport.h"

#include <clocale>
#include <cmath>
#include <limits>

namespace {

using kxformula::ErrorCode;
using kxformula::Value;

TEST(Values, ErrorTextsReadBack)
{
    for (const ErrorCode code : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref, ErrorCode::Name,
                                 ErrorCode::Num, ErrorCode::NA, ErrorCode::Cycle, ErrorCode::Syntax}) {
        const auto text = kxformula::errorText(code);
        EXPECT_EQ(kxformula::errorFromText(text), code) << text;
    }
    EXPECT_EQ(kxformula::errorText(ErrorCode::Cycle), "#CYCLE!");
    EXPECT_EQ(kxformula::errorText(ErrorCode::Syntax), "#ERROR!");
    EXPECT_EQ(kxformula::errorFromText("#n/a"), ErrorCode::NA);
    EXPECT_FALSE(kxformula::errorFromText("#N/A!").has_value());
}

TEST(Values, NumbersAreAlwaysFinite)
{
    EXPECT_EQ(Value::number(std::numeric_limits<double>::infinity()), Value::error(ErrorCode::Num));
    EXPECT_EQ(Value::number(std::nan("")), Value::error(ErrorCode::Num));
    EXPECT_EQ(kxformula::displayText(Value::number(-0.0)), "0");
    EXPECT_EQ(kxformula::displayText(Value::boolean(true)), "TRUE");
    EXPECT_EQ(kxformula::displayText(Value()), "");
}

TEST(Values, GeneralFormatShowsUpTo15SignificantDigits)
{
    const struct {
        double number;
        const char* text;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345, "123456789012345"},
        {1234567890123456, "1.23456789012346E+15"},
        {1e15, "1E+15"},
        {1e20, "1E+20"},
        {1e100, "1E+100"},
        {0.0001, "0.0001"},
        {1e-9, "0.000000001"},
        {1.5e-10, "1.5E-10"},
        {-1e-300, "-1E-300"},
        {999999999999999.9, "1E+15"},
        {100, "100"},
        {12.5, "12.5"},
        // Whole numbers on both sides of the 15-digit limit.
        {-7, "-7"},
        {-123456789012345, "-123456789012345"},
        {999999999999999, "999999999999999"},
        {-999999999999999, "-999999999999999"},
        {-1e15, "-1E+15"},
        {9007199254740992, "9.00719925474099E+15"},
        {1e14, "100000000000000"},
        {999999999999999.5, "1E+15"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kxformula::formatGeneral(c.number), c.text);
}

TEST(Values, TextsReadAsNumbersLikeValue)
{
    const struct {
        const char* text;
        double number;
    } good[] = {
        {"12", 12},       {" 12 ", 12},   {"-3.5", -3.5}, {"+4", 4},     {".5", 0.5},       {"5.", 5},
        {"1e3", 1000},    {"1E-2", 0.01}, {"50%", 0.5},   {"50 %", 0.5}, {"1,234", 1234},
        {"12,345,678.9", 12345678.9},
        {"1e-400", 0},    {"007", 7},
    };
    for (const auto& g : good) {
        const auto n = kxformula::parseNumber(g.text);
        ASSERT_TRUE(n.has_value()) << g.text;
        EXPECT_DOUBLE_EQ(*n, g.number) << g.text;
    }
    const char* bad[] = {"", " ", "abc", "1a", "12abc", "1,23", "1,2345", ",123", "1e", "1e+", "--1", "inf", "nan",
                         "1e999", "0x10", "1.2.3", "2,5", "%", "TRUE", "1 000"};
    for (const char* b : bad)
        EXPECT_FALSE(kxformula::parseNumber(b).has_value()) << b;
}

TEST(Values, TypedTextsBecomeTheirValues)
{
    EXPECT_EQ(kxformula::valueFromTyped(""), Value());
    EXPECT_EQ(kxformula::valueFromTyped("3"), Value::number(3));
    EXPECT_EQ(kxformula::valueFromTyped(" -1.5e2 "), Value::number(-150));
    EXPECT_EQ(kxformula::valueFromTyped("12%"), Value::number(0.12));
    EXPECT_EQ(kxformula::valueFromTyped("'5"), Value::text("5"));
    EXPECT_EQ(kxformula::valueFromTyped("'"), Value::text(""));
    EXPECT_EQ(kxformula::valueFromTyped("true"), Value::boolean(true));
    EXPECT_EQ(kxformula::valueFromTyped("FALSE"), Value::boolean(false));
    EXPECT_EQ(kxformula::valueFromTyped("#n/a"), Value::error(ErrorCode::NA));
    EXPECT_EQ(kxformula::valueFromTyped("IPE 200"), Value::text("IPE 200"));
    EXPECT_EQ(kxformula::valueFromTyped("2,5"), Value::text("2,5")) << "no decimal comma";
    EXPECT_EQ(kxformula::valueFromTyped("=A1"), Value::text("=A1")) << "formulas are the caller's";
}

TEST(Values, TheProcessLocaleChangesNothing)
{
    const char* german = std::setlocale(LC_ALL, "de_DE.utf8");
    if (!german)
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(kxformula::formatGeneral(1.5), "1.5");
    EXPECT_EQ(kxformula::parseNumber("1.5"), 1.5);
    EXPECT_FALSE(kxformula::parseNumber("1,5").has_value());
    kxtest::Sheet sheet;
    sheet.formula("A1", "=1.5*2&\"|\"&TEXT(1234.5,\"#,##0.00\")&\"|\"&ROUND(2.675,2)");
    EXPECT_EQ(sheet.value("A1").asText(), "3|1,234.50|2.68");
    EXPECT_EQ(sheet.formulaText("A1"), "1.5*2&\"|\"&TEXT(1234.5,\"#,##0.00\")&\"|\"&ROUND(2.675,2)");
    std::setlocale(LC_ALL, "C");
}

} // namespace
