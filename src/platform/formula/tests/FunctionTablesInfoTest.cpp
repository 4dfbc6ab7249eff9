// Function tables of the information functions and the logical ones beyond IF, AND and OR. The
// rows are where a mainstream desktop spreadsheet's answer differs from a naive reading: empty
// cells, booleans given to number tests, errors that are answered rather than passed on.
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(ISNA,
    {N, "ISNA(D1)", "TRUE"}, {N, "ISNA(D2)", "FALSE"}, {N, "ISNA(A1)", "FALSE"},
    {T, "ISNA(\"#N/A\")", "FALSE"},
    {C, "ISNA(E1)", "FALSE"}, {C, "ISNA(VLOOKUP(99,A1:B5,2,FALSE))", "TRUE"},
    {K, "ISNA()", "#VALUE!"}, {K, "ISNA(1,2)", "#VALUE!"},
    {E, "ISNA(1/0)", "FALSE"})

FUNCTION_TABLE(ISERR,
    {N, "ISERR(D2)", "TRUE"}, {N, "ISERR(D1)", "FALSE"}, {N, "ISERR(1)", "FALSE"},
    {T, "ISERR(\"#DIV/0!\")", "FALSE"},
    {C, "ISERR(E1)", "FALSE"},
    {K, "ISERR()", "#VALUE!"},
    {E, "ISERR(SQRT(-1))", "TRUE"})

FUNCTION_TABLE(ISLOGICAL,
    {N, "ISLOGICAL(C1)", "TRUE"}, {N, "ISLOGICAL(TRUE())", "TRUE"}, {N, "ISLOGICAL(1)", "FALSE"},
    {T, "ISLOGICAL(\"TRUE\")", "FALSE"},
    {C, "ISLOGICAL(E1)", "FALSE"}, {C, "ISLOGICAL(1=1)", "TRUE"},
    {K, "ISLOGICAL()", "#VALUE!"},
    {E, "ISLOGICAL(D1)", "FALSE"})

FUNCTION_TABLE(ISNONTEXT,
    {N, "ISNONTEXT(A1)", "TRUE"}, {N, "ISNONTEXT(B1)", "FALSE"},
    {T, "ISNONTEXT(\"\")", "FALSE"},
    {C, "ISNONTEXT(E1)", "TRUE"}, {C, "ISNONTEXT(C1)", "TRUE"},
    {K, "ISNONTEXT(1,2)", "#VALUE!"},
    {E, "ISNONTEXT(D1)", "TRUE"})

FUNCTION_TABLE(ISEVEN,
    {N, "ISEVEN(2)", "TRUE"}, {N, "ISEVEN(3)", "FALSE"}, {N, "ISEVEN(-2.9)", "TRUE"}, {N, "ISEVEN(0)", "TRUE"},
    {T, "ISEVEN(\"abc\")", "#VALUE!"}, {T, "ISEVEN(TRUE)", "#VALUE!"},
    {C, "ISEVEN(\"4\")", "TRUE"}, {C, "ISEVEN(E1)", "TRUE"}, {C, "ISEVEN(B4)", "FALSE"},
    {K, "ISEVEN()", "#VALUE!"},
    {E, "ISEVEN(D2)", "#DIV/0!"})

FUNCTION_TABLE(ISODD,
    {N, "ISODD(3)", "TRUE"}, {N, "ISODD(2)", "FALSE"}, {N, "ISODD(-3.5)", "TRUE"},
    {T, "ISODD(C1)", "#VALUE!"},
    {C, "ISODD(\"5\")", "TRUE"}, {C, "ISODD(E1)", "FALSE"},
    {K, "ISODD(1,2)", "#VALUE!"},
    {E, "ISODD(D1)", "#N/A"})

FUNCTION_TABLE(ISREF,
    {N, "ISREF(A1)", "TRUE"}, {N, "ISREF(A1:B5)", "TRUE"}, {N, "ISREF(1)", "FALSE"},
    {T, "ISREF(\"A1\")", "FALSE"},
    {C, "ISREF(E1)", "TRUE"}, {C, "ISREF(INDEX(A1:A5,2))", "TRUE"},
    {K, "ISREF()", "#VALUE!"},
    {E, "ISREF(1/0)", "FALSE"}, {E, "ISREF(D1)", "TRUE"})

FUNCTION_TABLE_NAMED(ErrorType, "ERROR.TYPE",
    {N, "ERROR.TYPE(D2)", "2"}, {N, "ERROR.TYPE(D1)", "7"}, {N, "ERROR.TYPE(\"x\"+1)", "3"},
    {N, "ERROR.TYPE(foo)", "5"}, {N, "ERROR.TYPE(SQRT(-1))", "6"},
    {T, "ERROR.TYPE(1)", "#N/A"}, {T, "ERROR.TYPE(\"#N/A\")", "#N/A"},
    {C, "ERROR.TYPE(E1)", "#N/A"},
    {K, "ERROR.TYPE()", "#VALUE!"},
    {E, "ERROR.TYPE(INDEX(A1:A5,9))", "4"})

FUNCTION_TABLE(N,
    {N, "N(7)", "7"}, {N, "N(A3)", "3"},
    {T, "N(\"7\")", "0"}, {T, "N(B1)", "0"},
    {C, "N(TRUE)", "1"}, {C, "N(C2)", "0"}, {C, "N(E1)", "0"},
    {K, "N()", "#VALUE!"}, {K, "N(1,2)", "#VALUE!"},
    {E, "N(D1)", "#N/A"})

FUNCTION_TABLE(T,
    {N, "T(\"abc\")", "\"abc\""}, {N, "T(B2)", "\"Hello World\""},
    {T, "T(1)", "\"\""}, {T, "T(TRUE)", "\"\""},
    {C, "T(B4)", "\"3\""}, {C, "T(E1)", "\"\""},
    {K, "T()", "#VALUE!"},
    {E, "T(D2)", "#DIV/0!"})

FUNCTION_TABLE(TYPE,
    {N, "TYPE(1)", "1"}, {N, "TYPE(\"a\")", "2"}, {N, "TYPE(TRUE)", "4"}, {N, "TYPE(A1:A5)", "64"},
    {T, "TYPE(B1)", "2"},
    {C, "TYPE(E1)", "1"}, {C, "TYPE(C1)", "4"},
    {K, "TYPE()", "#VALUE!"},
    {E, "TYPE(D1)", "16"}, {E, "TYPE(1/0)", "16"})

FUNCTION_TABLE(IFNA,
    {N, "IFNA(D1,\"none\")", "\"none\""}, {N, "IFNA(A2,\"none\")", "2"},
    {T, "IFNA(\"#N/A\",1)", "\"#N/A\""},
    {C, "IFNA(E1,1)", "0"}, {C, "IFNA(VLOOKUP(\"x\",F1:G5,2,FALSE),0)", "0"},
    {K, "IFNA(1)", "#VALUE!"}, {K, "IFNA(1,2,3)", "#VALUE!"},
    {E, "IFNA(D2,0)", "#DIV/0!"})

FUNCTION_TABLE(IFS,
    {N, "IFS(A1>1,\"a\",A2>1,\"b\")", "\"b\""}, {N, "IFS(FALSE,1,TRUE,A5)", "5"},
    {N, "IFS(FALSE,1)", "#N/A"},
    {T, "IFS(\"x\",1)", "#VALUE!"},
    {C, "IFS(0,1,2,2)", "2"}, {C, "IFS(\"TRUE\",7)", "7"}, {C, "IFS(E1,1,1,E2)", "0"},
    {K, "IFS(TRUE)", "#VALUE!"}, {K, "IFS(TRUE,1,FALSE)", "#VALUE!"},
    {E, "IFS(D1,1,TRUE,2)", "#N/A"}, {E, "IFS(TRUE,D2)", "#DIV/0!"})

FUNCTION_TABLE(SWITCH,
    {N, "SWITCH(2,1,\"one\",2,\"two\")", "\"two\""}, {N, "SWITCH(3,1,\"one\",\"other\")", "\"other\""},
    {N, "SWITCH(3,1,\"one\",2,\"two\")", "#N/A"},
    {T, "SWITCH(\"2\",2,\"number\",\"text\")", "\"text\""},
    {C, "SWITCH(\"abc\",\"ABC\",1,2)", "1"}, {C, "SWITCH(B1,B5,\"same\")", "\"same\""}, {C, "SWITCH(TRUE,1,\"x\",C1,\"y\")", "\"y\""},
    {K, "SWITCH(1,2)", "#VALUE!"},
    {E, "SWITCH(D1,1,2,3)", "#N/A"}, {E, "SWITCH(1,D2,1,2)", "#DIV/0!"}, {E, "SWITCH(1,1,D2)", "#DIV/0!"})

FUNCTION_TABLE(XOR,
    {N, "XOR(TRUE,FALSE)", "TRUE"}, {N, "XOR(TRUE,TRUE)", "FALSE"}, {N, "XOR(TRUE,TRUE,TRUE)", "TRUE"},
    {T, "XOR(\"x\")", "#VALUE!"},
    {C, "XOR(1,0)", "TRUE"}, {C, "XOR(C1:C2)", "TRUE"}, {C, "XOR(A1:A2)", "FALSE"}, {C, "XOR(B1:B2)", "#VALUE!"},
    {K, "XOR()", "#VALUE!"},
    {E, "XOR(TRUE,D2)", "#DIV/0!"})

FUNCTION_TABLE_NAMED(TrueFunction, "TRUE",
    {N, "TRUE()", "TRUE"},
    {T, "TRUE()+1", "2"},
    {C, "IF(TRUE(),\"y\",\"n\")", "\"y\""},
    {K, "TRUE(1)", "#VALUE!"},
    {E, "AND(TRUE(),D1)", "#N/A"})

FUNCTION_TABLE_NAMED(FalseFunction, "FALSE",
    {N, "FALSE()", "FALSE"},
    {T, "FALSE()&\"\"", "\"FALSE\""},
    {C, "FALSE()*5", "0"},
    {K, "FALSE(0)", "#VALUE!"},
    {E, "OR(FALSE(),D2)", "#DIV/0!"})

} // namespace
