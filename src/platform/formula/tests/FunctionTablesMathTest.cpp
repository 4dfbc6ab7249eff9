// Function tables of the aggregates, the mathematical, logical and information functions, and the
// check that every built-in function has a table covering the whole checklist.
#include "FunctionCases.h"

#include <algorithm>
#include <set>

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(SUM,
    {N, "SUM(1,2,3)", "6"}, {N, "SUM(A1:A5)", "15"}, {N, "SUM(A1:A5,10)", "25"}, {N, "SUM(E1:E5)", "0"},
    {T, "SUM(\"abc\")", "#VALUE!"},
    {C, "SUM(\"3\",TRUE)", "4"}, {C, "SUM(B1:C2,B4)", "0"}, {C, "SUM(,1)", "1"},
    {K, "SUM()", "#VALUE!"},
    {E, "SUM(A1:A5,D1)", "#N/A"}, {E, "SUM(1,1/0)", "#DIV/0!"}, {E, "SUM(D1:D2)", "#N/A"})

FUNCTION_TABLE(AVERAGE,
    {N, "AVERAGE(A1:A5)", "3"}, {N, "AVERAGE(1,2)", "1.5"}, {N, "AVERAGE(A1:B5)", "3"},
    {T, "AVERAGE(\"x\")", "#VALUE!"},
    {C, "AVERAGE(\"4\",TRUE)", "2.5"},
    {K, "AVERAGE()", "#VALUE!"},
    {E, "AVERAGE(E1:E5)", "#DIV/0!"}, {E, "AVERAGE(A1,D2)", "#DIV/0!"}, {E, "AVERAGE(D1)", "#N/A"})

FUNCTION_TABLE(MIN,
    {N, "MIN(A1:A5)", "1"}, {N, "MIN(3,-2,7)", "-2"}, {N, "MIN(E1:E5)", "0"},
    {T, "MIN(\"x\")", "#VALUE!"},
    {C, "MIN(\"-4\",A1:A5)", "-4"}, {C, "MIN(FALSE,5)", "0"}, {C, "MIN(B1:C2,7)", "7"},
    {K, "MIN()", "#VALUE!"},
    {E, "MIN(A1,D1)", "#N/A"})

FUNCTION_TABLE(MAX,
    {N, "MAX(A1:A5)", "5"}, {N, "MAX(-3,-2)", "-2"}, {N, "MAX(B1:C2)", "0"},
    {T, "MAX(\"x\",1)", "#VALUE!"},
    {C, "MAX(\"9\",1)", "9"}, {C, "MAX(TRUE,0.5)", "1"},
    {K, "MAX()", "#VALUE!"},
    {E, "MAX(D2)", "#DIV/0!"}, {E, "MAX(1,NA())", "#N/A"})

FUNCTION_TABLE(COUNT,
    {N, "COUNT(A1:A5)", "5"}, {N, "COUNT(A1:H5)", "11"}, {N, "COUNT(1,2,\"a\")", "2"},
    {T, "COUNT(B1:B5)", "0"},
    {C, "COUNT(\"3\",TRUE)", "2"}, {C, "COUNT(B4,C1)", "0"},
    {K, "COUNT()", "#VALUE!"},
    {E, "COUNT(D1:D2,1/0)", "0"})

FUNCTION_TABLE(COUNTA,
    {N, "COUNTA(A1:A5)", "5"}, {N, "COUNTA(A1:E2)", "8"}, {N, "COUNTA(1,\"a\")", "2"},
    {T, "COUNTA(E1:E5)", "0"},
    {C, "COUNTA(\"\",FALSE)", "2"},
    {K, "COUNTA()", "#VALUE!"},
    {E, "COUNTA(D1:D2,NA())", "3"})

FUNCTION_TABLE(COUNTIF,
    {N, "COUNTIF(A1:A5,\">2\")", "3"}, {N, "COUNTIF(F1:F4,\"IPE*\")", "2"}, {N, "COUNTIF(F1:F4,\"hea100\")", "1"},
    {N, "COUNTIF(A1:A5,3)", "1"}, {N, "COUNTIF(A1:A5,\"<>3\")", "4"}, {N, "COUNTIF(E1:E5,\"\")", "5"},
    {N, "COUNTIF(A1:E5,\"=\")", "11"}, {N, "COUNTIF(F1:F4,\"ipe2?0\")", "2"},
    {T, "COUNTIF(5,\">1\")", "#VALUE!"},
    {C, "COUNTIF(A1:B5,\"3\")", "2"}, {C, "COUNTIF(C1:C2,\"true\")", "1"}, {C, "COUNTIF(A1:A5,\"<=2.5\")", "2"},
    {K, "COUNTIF(A1:A5)", "#VALUE!"}, {K, "COUNTIF(A1:A5,1,2)", "#VALUE!"},
    {N, "COUNTIF(A:A,\"\")", "1073741817"}, {N, "COUNTIF(Y99:Z101,\"<>x\")", "6"},
    {E, "COUNTIF(A1:A5,D1)", "#N/A"}, {E, "COUNTIF(D1:D2,1)", "0"})

FUNCTION_TABLE(SUMIF,
    {N, "SUMIF(A1:A5,\">2\")", "12"}, {N, "SUMIF(F1:F4,\"ipe*\",G1:G4)", "48.6"},
    {N, "SUMIF(F1:F4,\"HEA120\",G1)", "19.9"},
    {T, "SUMIF(1,\">0\")", "#VALUE!"}, {T, "SUMIF(A1:A5,\">0\",5)", "#VALUE!"},
    {C, "SUMIF(A1:A5,\"3\")", "3"}, {C, "SUMIF(A1:A5,TRUE)", "0"},
    {K, "SUMIF(A1:A5)", "#VALUE!"}, {K, "SUMIF(A1:A5,1,A1:A5,1)", "#VALUE!"},
    {E, "SUMIF(A1:A5,1/0)", "#DIV/0!"}, {E, "SUMIF(F1:F2,\"ipe*\",D1)", "#N/A"})

FUNCTION_TABLE(IF,
    {N, "IF(TRUE,1,2)", "1"}, {N, "IF(A1>3,\"big\",\"small\")", "\"small\""}, {N, "IF(FALSE,1)", "FALSE"},
    {N, "IF(TRUE,,2)", "0"}, {N, "IF(A5>3,A1:A5,0)", "#VALUE!"},
    {T, "IF(\"abc\",1,2)", "#VALUE!"},
    {C, "IF(\"true\",1,2)", "1"}, {C, "IF(0,1,2)", "2"}, {C, "IF(E1,1,2)", "2"}, {C, "IF(A3,\"x\")", "\"x\""},
    {K, "IF(TRUE)", "#VALUE!"}, {K, "IF(1,2,3,4)", "#VALUE!"},
    {E, "IF(D1,1,2)", "#N/A"}, {E, "IF(TRUE,1,1/0)", "1"}, {E, "IF(FALSE,1,1/0)", "#DIV/0!"})

FUNCTION_TABLE(IFERROR,
    {N, "IFERROR(1/0,\"x\")", "\"x\""}, {N, "IFERROR(5,\"x\")", "5"}, {N, "IFERROR(D1,0)", "0"},
    {T, "IFERROR(A1:A5,-1)", "-1"},
    {C, "IFERROR(E1,\"x\")", "0"}, {C, "IFERROR(\"a\",1)", "\"a\""},
    {K, "IFERROR(1)", "#VALUE!"}, {K, "IFERROR(1,2,3)", "#VALUE!"},
    {E, "IFERROR(1/0,NA())", "#N/A"})

FUNCTION_TABLE(AND,
    {N, "AND(TRUE,1)", "TRUE"}, {N, "AND(TRUE,FALSE)", "FALSE"}, {N, "AND(A1:A5)", "TRUE"}, {N, "AND(C1:C2)", "FALSE"},
    {T, "AND(\"abc\")", "#VALUE!"}, {T, "AND(B1:B2)", "#VALUE!"},
    {C, "AND(\"TRUE\",1)", "TRUE"}, {C, "AND(A1:B5)", "TRUE"}, {C, "AND(0)", "FALSE"},
    {K, "AND()", "#VALUE!"},
    {E, "AND(TRUE,D1)", "#N/A"}, {E, "AND(A1:D2)", "#N/A"})

FUNCTION_TABLE(OR,
    {N, "OR(FALSE,1)", "TRUE"}, {N, "OR(FALSE,FALSE)", "FALSE"}, {N, "OR(C1:C2)", "TRUE"},
    {T, "OR(\"x\")", "#VALUE!"},
    {C, "OR(\"false\",0)", "FALSE"}, {C, "OR(B1:C2)", "TRUE"},
    {K, "OR()", "#VALUE!"},
    {E, "OR(TRUE,1/0)", "#DIV/0!"})

FUNCTION_TABLE(NOT,
    {N, "NOT(TRUE)", "FALSE"}, {N, "NOT(FALSE)", "TRUE"},
    {T, "NOT(\"abc\")", "#VALUE!"}, {T, "NOT(A1:A5)", "#VALUE!"},
    {C, "NOT(0)", "TRUE"}, {C, "NOT(\"true\")", "FALSE"}, {C, "NOT(E1)", "TRUE"},
    {K, "NOT()", "#VALUE!"}, {K, "NOT(1,2)", "#VALUE!"},
    {E, "NOT(D1)", "#N/A"})

FUNCTION_TABLE(ROUND,
    {N, "ROUND(2.675,2)", "2.68"}, {N, "ROUND(-2.5,0)", "-3"}, {N, "ROUND(1234.5,-2)", "1200"},
    {N, "ROUND(1.005,2)", "1.01"}, {N, "ROUND(0.5,0)", "1"}, {N, "ROUND(1E+300,2)", "1E+300"},
    {T, "ROUND(\"x\",1)", "#VALUE!"},
    {C, "ROUND(\"2.5\",0)", "3"}, {C, "ROUND(2.45,TRUE)", "2.5"}, {C, "ROUND(2.46,1.9)", "2.5"},
    {K, "ROUND(1)", "#VALUE!"}, {K, "ROUND(1,2,3)", "#VALUE!"},
    {E, "ROUND(D1,1)", "#N/A"}, {E, "ROUND(1,1/0)", "#DIV/0!"})

FUNCTION_TABLE(ROUNDUP,
    {N, "ROUNDUP(3.2,0)", "4"}, {N, "ROUNDUP(-3.2,0)", "-4"}, {N, "ROUNDUP(3.14159,3)", "3.142"},
    {N, "ROUNDUP(31415,-2)", "31500"}, {N, "ROUNDUP(0.1+0.2,1)", "0.3"}, {N, "ROUNDUP(0.004,2)", "0.01"},
    {T, "ROUNDUP(\"a\",0)", "#VALUE!"},
    {C, "ROUNDUP(\"1.01\",1)", "1.1"}, {C, "ROUNDUP(TRUE,0)", "1"},
    {K, "ROUNDUP(1)", "#VALUE!"},
    {E, "ROUNDUP(1/0,1)", "#DIV/0!"})

FUNCTION_TABLE(ROUNDDOWN,
    {N, "ROUNDDOWN(3.9,0)", "3"}, {N, "ROUNDDOWN(-3.9,0)", "-3"}, {N, "ROUNDDOWN(3.14159,3)", "3.141"},
    {N, "ROUNDDOWN(31415,-2)", "31400"}, {N, "ROUNDDOWN(0.3,5)", "0.3"},
    {T, "ROUNDDOWN(\"a\",0)", "#VALUE!"},
    {C, "ROUNDDOWN(\"9.99\",1)", "9.9"}, {C, "ROUNDDOWN(5.5,E1)", "5"},
    {K, "ROUNDDOWN(1,2,3)", "#VALUE!"},
    {E, "ROUNDDOWN(D2,1)", "#DIV/0!"})

FUNCTION_TABLE(INT,
    {N, "INT(8.9)", "8"}, {N, "INT(-8.1)", "-9"}, {N, "INT(5)", "5"},
    {T, "INT(\"x\")", "#VALUE!"},
    {C, "INT(\"7.5\")", "7"}, {C, "INT(TRUE)", "1"}, {C, "INT(E1)", "0"},
    {K, "INT()", "#VALUE!"}, {K, "INT(1,2)", "#VALUE!"},
    {E, "INT(D2)", "#DIV/0!"})

FUNCTION_TABLE(MOD,
    {N, "MOD(10,3)", "1"}, {N, "MOD(-1,3)", "2"}, {N, "MOD(1,-3)", "-2"}, {N, "MOD(5.5,2)", "1.5"},
    {T, "MOD(\"a\",2)", "#VALUE!"},
    {C, "MOD(\"10\",\"4\")", "2"}, {C, "MOD(TRUE,2)", "1"},
    {K, "MOD(1)", "#VALUE!"},
    {E, "MOD(1,0)", "#DIV/0!"}, {E, "MOD(D1,2)", "#N/A"}, {E, "MOD(1E+300,7)", "#NUM!"})

FUNCTION_TABLE(ABS,
    {N, "ABS(-2.5)", "2.5"}, {N, "ABS(3)", "3"},
    {T, "ABS(\"x\")", "#VALUE!"},
    {C, "ABS(\"-4\")", "4"}, {C, "ABS(B4)", "3"},
    {K, "ABS()", "#VALUE!"}, {K, "ABS(1,2)", "#VALUE!"},
    {E, "ABS(D1)", "#N/A"})

FUNCTION_TABLE(SQRT,
    {N, "SQRT(16)", "4"}, {N, "SQRT(2)", "1.4142135623730951"},
    {T, "SQRT(\"x\")", "#VALUE!"},
    {C, "SQRT(\"9\")", "3"}, {C, "SQRT(TRUE)", "1"},
    {K, "SQRT()", "#VALUE!"},
    {E, "SQRT(-1)", "#NUM!"}, {E, "SQRT(D2)", "#DIV/0!"})

FUNCTION_TABLE(POWER,
    {N, "POWER(2,10)", "1024"}, {N, "POWER(4,0.5)", "2"}, {N, "POWER(-8,3)", "-512"},
    {T, "POWER(\"a\",2)", "#VALUE!"},
    {C, "POWER(\"2\",\"3\")", "8"}, {C, "POWER(TRUE,5)", "1"},
    {K, "POWER(2)", "#VALUE!"},
    {E, "POWER(0,0)", "#NUM!"}, {E, "POWER(0,-1)", "#DIV/0!"}, {E, "POWER(-8,1/3)", "#NUM!"},
    {E, "POWER(10,400)", "#NUM!"}, {E, "POWER(D1,2)", "#N/A"})

FUNCTION_TABLE(PI,
    {N, "PI()", "3.141592653589793"},
    {T, "PI()+\"x\"", "#VALUE!"},
    {C, "PI()&\"\"", "\"3.14159265358979\""},
    {K, "PI(1)", "#VALUE!"},
    {E, "PI()/0", "#DIV/0!"})

FUNCTION_TABLE(SIN,
    {N, "SIN(0)", "0"}, {N, "SIN(PI()/2)", "1"},
    {T, "SIN(\"x\")", "#VALUE!"},
    {C, "SIN(\"0\")", "0"}, {C, "SIN(FALSE)", "0"},
    {K, "SIN()", "#VALUE!"},
    {E, "SIN(D1)", "#N/A"}, {E, "SIN(1E+10)", "#NUM!"})

FUNCTION_TABLE(COS,
    {N, "COS(0)", "1"}, {N, "COS(PI())", "-1"},
    {T, "COS(\"x\")", "#VALUE!"},
    {C, "COS(\"0\")", "1"}, {C, "COS(E1)", "1"},
    {K, "COS(1,2)", "#VALUE!"},
    {E, "COS(D2)", "#DIV/0!"}, {E, "COS(-1E+10)", "#NUM!"})

FUNCTION_TABLE(TAN,
    {N, "TAN(0)", "0"}, {N, "TAN(PI()/4)", "1"},
    {T, "TAN(\"x\")", "#VALUE!"},
    {C, "TAN(\"0\")", "0"},
    {K, "TAN()", "#VALUE!"},
    {E, "TAN(D1)", "#N/A"})

FUNCTION_TABLE(ATAN,
    {N, "ATAN(1)", "0.7853981633974483"}, {N, "ATAN(0)", "0"},
    {T, "ATAN(\"x\")", "#VALUE!"},
    {C, "ATAN(TRUE)", "0.7853981633974483"},
    {K, "ATAN()", "#VALUE!"},
    {E, "ATAN(D1)", "#N/A"})

FUNCTION_TABLE(ATAN2,
    {N, "ATAN2(1,1)", "0.7853981633974483"}, {N, "ATAN2(-1,0)", "3.141592653589793"},
    {N, "ATAN2(0,1)", "1.5707963267948966"},
    {T, "ATAN2(\"x\",1)", "#VALUE!"},
    {C, "ATAN2(\"1\",TRUE)", "0.7853981633974483"},
    {K, "ATAN2(1)", "#VALUE!"},
    {E, "ATAN2(0,0)", "#DIV/0!"}, {E, "ATAN2(1,D1)", "#N/A"})

FUNCTION_TABLE(RADIANS,
    {N, "RADIANS(180)", "3.141592653589793"}, {N, "RADIANS(90)", "1.5707963267948966"},
    {T, "RADIANS(\"x\")", "#VALUE!"},
    {C, "RADIANS(\"180\")", "3.141592653589793"},
    {K, "RADIANS()", "#VALUE!"},
    {E, "RADIANS(D1)", "#N/A"})

FUNCTION_TABLE(DEGREES,
    {N, "DEGREES(PI())", "180"}, {N, "DEGREES(1)", "57.29577951308232"},
    {T, "DEGREES(\"x\")", "#VALUE!"},
    {C, "DEGREES(FALSE)", "0"},
    {K, "DEGREES(1,2)", "#VALUE!"},
    {E, "DEGREES(D2)", "#DIV/0!"})

FUNCTION_TABLE(ISBLANK,
    {N, "ISBLANK(E1)", "TRUE"}, {N, "ISBLANK(A1)", "FALSE"}, {N, "ISBLANK(\"\")", "FALSE"},
    {T, "ISBLANK(A1:A5)", "FALSE"},
    {C, "ISBLANK(0)", "FALSE"},
    {K, "ISBLANK()", "#VALUE!"},
    {E, "ISBLANK(D1)", "FALSE"})

FUNCTION_TABLE(ISNUMBER,
    {N, "ISNUMBER(A1)", "TRUE"}, {N, "ISNUMBER(B1)", "FALSE"},
    {T, "ISNUMBER(A1:A5)", "FALSE"},
    {C, "ISNUMBER(B4)", "FALSE"}, {C, "ISNUMBER(\"3\")", "FALSE"}, {C, "ISNUMBER(E1)", "FALSE"},
    {K, "ISNUMBER(1,2)", "#VALUE!"},
    {E, "ISNUMBER(D1)", "FALSE"})

FUNCTION_TABLE(ISTEXT,
    {N, "ISTEXT(B1)", "TRUE"}, {N, "ISTEXT(A1)", "FALSE"},
    {T, "ISTEXT(B1:B5)", "FALSE"},
    {C, "ISTEXT(\"\")", "TRUE"}, {C, "ISTEXT(E1)", "FALSE"}, {C, "ISTEXT(C1)", "FALSE"},
    {K, "ISTEXT()", "#VALUE!"},
    {E, "ISTEXT(D1)", "FALSE"})

FUNCTION_TABLE(ISERROR,
    {N, "ISERROR(D1)", "TRUE"}, {N, "ISERROR(1/0)", "TRUE"}, {N, "ISERROR(1)", "FALSE"},
    {T, "ISERROR(A1:A5)", "TRUE"},
    {C, "ISERROR(E1)", "FALSE"}, {C, "ISERROR(\"#N/A\")", "FALSE"},
    {K, "ISERROR()", "#VALUE!"},
    {E, "ISERROR(NA())", "TRUE"})

FUNCTION_TABLE(NA,
    {N, "NA()", "#N/A"},
    {T, "NA()+1", "#N/A"},
    {C, "ISERROR(NA())", "TRUE"},
    {K, "NA(1)", "#VALUE!"},
    {E, "IFERROR(NA(),5)", "5"})

TEST(FunctionTables, EveryBuiltinHasATableWithTheWholeChecklist)
{
    std::set<std::string> tabled;
    for (const kxtest::FunctionCases* table : kxtest::functionTables()) {
        tabled.insert(table->name);
        std::set<kxtest::Check> covered;
        for (const kxtest::FunctionCase& c : table->cases)
            covered.insert(c.check);
        EXPECT_EQ(covered.size(), 5u) << table->name << " misses part of the checklist";
    }
    for (const std::string& name : kxformula::Engine::builtinFunctionNames())
        EXPECT_TRUE(tabled.count(name)) << name << " has no table";
}

TEST(FunctionTables, TheIssueListIsBuiltIn)
{
    const char* required[] = {"SUM", "AVERAGE", "MIN", "MAX", "COUNT", "COUNTA", "COUNTIF", "SUMIF", "IF", "IFERROR",
                              "AND", "OR", "NOT", "ROUND", "ROUNDUP", "ROUNDDOWN", "INT", "MOD", "ABS", "SQRT",
                              "POWER", "PI", "SIN", "COS", "TAN", "ATAN", "ATAN2", "RADIANS", "DEGREES", "LEFT",
                              "RIGHT", "MID", "LEN", "UPPER", "LOWER", "TRIM", "CONCATENATE", "VALUE", "TEXT",
                              "FIND", "SEARCH", "SUBSTITUTE", "VLOOKUP", "HLOOKUP", "MATCH", "INDEX", "ISBLANK",
                              "ISNUMBER", "ISTEXT", "ISERROR", "NA"};
    const auto names = kxformula::Engine::builtinFunctionNames();
    for (const char* name : required)
        EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << "the table must stay sorted for the name lookup";
}

} // namespace
