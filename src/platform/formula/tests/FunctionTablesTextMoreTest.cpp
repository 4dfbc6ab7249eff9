// Function tables of REPT, EXACT, REPLACE, CHAR, CODE, PROPER, FIXED, DOLLAR, CLEAN, TEXTJOIN and
// NUMBERVALUE, with the rows where a spreadsheet's answer is not the obvious one (the code page
// behind CHAR and CODE, PROPER after an apostrophe or a digit, FIXED rounding left of the point,
// TEXTJOIN keeping empty cells, group separators anywhere in NUMBERVALUE).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(REPT,
    {N, "REPT(\"ab\",3)", "\"ababab\""}, {N, "REPT(\"-\",0)", "\"\""},
    {T, "REPT(\"x\",-1)", "#VALUE!"}, {T, "REPT(\"ab\",20000)", "#VALUE!"},
    {C, "REPT(1,2.9)", "\"11\""}, {C, "REPT(TRUE,2)", "\"TRUETRUE\""}, {C, "REPT(\"é\",3)", "\"ééé\""},
    {K, "REPT(\"a\")", "#VALUE!"},
    {E, "REPT(D1,2)", "#N/A"})

FUNCTION_TABLE(EXACT,
    {N, "EXACT(\"abc\",B1)", "TRUE"}, {N, "EXACT(B1,B5)", "FALSE"},
    {T, "EXACT(\"a \",\"a\")", "FALSE"},
    {C, "EXACT(1,\"1\")", "TRUE"}, {C, "EXACT(TRUE,\"TRUE\")", "TRUE"}, {C, "EXACT(E1,\"\")", "TRUE"},
    {K, "EXACT(\"a\")", "#VALUE!"},
    {E, "EXACT(D1,\"a\")", "#N/A"})

FUNCTION_TABLE(REPLACE,
    {N, "REPLACE(\"abcdef\",2,3,\"X\")", "\"aXef\""}, {N, "REPLACE(B2,7,5,\"there\")", "\"Hello there\""},
    {T, "REPLACE(\"abc\",0,1,\"x\")", "#VALUE!"}, {T, "REPLACE(\"abc\",1,-1,\"x\")", "#VALUE!"},
    {C, "REPLACE(\"abc\",9,1,\"x\")", "\"abcx\""}, {C, "REPLACE(12345,2,2,0)", "\"1045\""},
    {C, "REPLACE(\"äöü\",2,1,\"o\")", "\"äoü\""},
    {K, "REPLACE(\"a\",1,1)", "#VALUE!"},
    {E, "REPLACE(D1,1,1,\"x\")", "#N/A"})

FUNCTION_TABLE(CHAR,
    {N, "CHAR(65)", "\"A\""}, {N, "CHAR(128)", "\"€\""}, {N, "CHAR(233)", "\"é\""},
    {T, "CHAR(0)", "#VALUE!"}, {T, "CHAR(256)", "#VALUE!"},
    {C, "CHAR(\"66.9\")", "\"B\""},
    {K, "CHAR()", "#VALUE!"},
    {E, "CHAR(D2)", "#DIV/0!"})

FUNCTION_TABLE(CODE,
    {N, "CODE(\"A\")", "65"}, {N, "CODE(\"€uro\")", "128"}, {N, "CODE(\"é\")", "233"},
    {T, "CODE(\"\")", "#VALUE!"},
    {C, "CODE(1)", "49"}, {C, "CODE(TRUE)", "84"}, {C, "CODE(\"Ω\")", "63"},
    {K, "CODE()", "#VALUE!"},
    {E, "CODE(D1)", "#N/A"})

FUNCTION_TABLE(PROPER,
    {N, "PROPER(\"hello world\")", "\"Hello World\""}, {N, "PROPER(\"IPE 200 steel\")", "\"Ipe 200 Steel\""},
    {T, "PROPER(\"it's\")", "\"It'S\""}, {T, "PROPER(\"2nd floor\")", "\"2Nd Floor\""},
    {C, "PROPER(TRUE)", "\"True\""}, {C, "PROPER(\"élan über\")", "\"Élan Über\""},
    {K, "PROPER()", "#VALUE!"},
    {E, "PROPER(D1)", "#N/A"})

FUNCTION_TABLE(FIXED,
    {N, "FIXED(1234.567)", "\"1,234.57\""}, {N, "FIXED(1234.567,1,TRUE)", "\"1234.6\""},
    {N, "FIXED(1234.567,-1)", "\"1,230\""}, {N, "FIXED(-0.5,0)", "\"-1\""},
    {T, "FIXED(\"x\")", "#VALUE!"}, {T, "FIXED(1,128)", "#VALUE!"},
    {C, "FIXED(\"2.675\",2)", "\"2.68\""}, {C, "FIXED(TRUE,0)", "\"1\""}, {C, "FIXED(1234567,0,1)", "\"1234567\""},
    {K, "FIXED()", "#VALUE!"},
    {E, "FIXED(D1)", "#N/A"})

FUNCTION_TABLE(DOLLAR,
    {N, "DOLLAR(1234.567)", "\"$1,234.57\""}, {N, "DOLLAR(-1234.567,0)", "\"-$1,235\""}, {N, "DOLLAR(99.5,-1)", "\"$100\""},
    {T, "DOLLAR(\"x\")", "#VALUE!"},
    {C, "DOLLAR(\"5\")", "\"$5.00\""},
    {K, "DOLLAR(1,2,3)", "#VALUE!"},
    {E, "DOLLAR(D2)", "#DIV/0!"})

FUNCTION_TABLE(CLEAN,
    {N, "CLEAN(\"a\"&CHAR(10)&\"b\")", "\"ab\""}, {N, "CLEAN(B2)", "\"Hello World\""},
    {T, "LEN(CLEAN(CHAR(127)&CHAR(9)))", "1"},
    {C, "CLEAN(12)", "\"12\""},
    {K, "CLEAN()", "#VALUE!"},
    {E, "CLEAN(D1)", "#N/A"})

FUNCTION_TABLE(TEXTJOIN,
    {N, "TEXTJOIN(\", \",TRUE,A1:A3)", "\"1, 2, 3\""}, {N, "TEXTJOIN(\"-\",TRUE,A10:E11)", "\"10-20-30-40-50-a-b-c-d-e\""},
    {N, "TEXTJOIN(\"\",TRUE,\"a\",E1:E5,\"b\")", "\"ab\""}, {N, "TEXTJOIN(\",\",TRUE,A:A)", "\"1,2,3,4,5,10,a\""},
    {T, "TEXTJOIN(\",\",FALSE,E1:E3)", "\",,\""}, {T, "TEXTJOIN(\",\",FALSE,A:A)", "#VALUE!"},
    {C, "TEXTJOIN(\"/\",TRUE,C1:C2,1.5)", "\"TRUE/FALSE/1.5\""}, {C, "TEXTJOIN(1,TRUE,\"a\",\"b\")", "\"a1b\""},
    {K, "TEXTJOIN(\",\",TRUE)", "#VALUE!"},
    {E, "TEXTJOIN(\",\",TRUE,A1,D1)", "#N/A"}, {E, "TEXTJOIN(\",\",TRUE,A1:D1)", "#N/A"})

FUNCTION_TABLE(NUMBERVALUE,
    {N, "NUMBERVALUE(\"2.500,27\",\",\",\".\")", "2500.27"}, {N, "NUMBERVALUE(\"1,234.5\")", "1234.5"},
    {N, "NUMBERVALUE(\"3.5%\")", "0.035"}, {N, "NUMBERVALUE(\" 1 000 \")", "1000"},
    {T, "NUMBERVALUE(\"1.2.3\")", "#VALUE!"}, {T, "NUMBERVALUE(\"1.5,3\")", "#VALUE!"}, {T, "NUMBERVALUE(\"x\")", "#VALUE!"},
    {C, "NUMBERVALUE(\"\")", "0"}, {C, "NUMBERVALUE(12)", "12"}, {C, "NUMBERVALUE(\"12,,3\")", "123"},
    {C, "NUMBERVALUE(\"5%%\")", "0.0005"}, {C, "NUMBERVALUE(\"1,5\",\",\")", "1.5"},
    {K, "NUMBERVALUE()", "#VALUE!"},
    {E, "NUMBERVALUE(D1)", "#N/A"})

} // namespace
