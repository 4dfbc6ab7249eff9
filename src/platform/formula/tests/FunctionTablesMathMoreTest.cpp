// Function tables of the exponential, logarithmic and rounding-like functions and of PRODUCT and
// SUMSQ, with the rows where a spreadsheet's answer is not the obvious one (ODD(0), FACT(2.9),
// PRODUCT of nothing, LOG to base 1).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(EXP,
    {N, "EXP(0)", "1"}, {N, "ROUND(EXP(1),9)", "2.718281828"},
    {T, "EXP(\"x\")", "#VALUE!"}, {T, "EXP(1000)", "#NUM!"},
    {C, "EXP(E1)", "1"}, {C, "EXP(FALSE)", "1"},
    {K, "EXP()", "#VALUE!"},
    {E, "EXP(D2)", "#DIV/0!"})

FUNCTION_TABLE(LN,
    {N, "LN(1)", "0"}, {N, "ROUND(LN(10),6)", "2.302585"},
    {T, "LN(0)", "#NUM!"}, {T, "LN(-1)", "#NUM!"},
    {C, "LN(\"1\")", "0"}, {C, "LN(TRUE)", "0"},
    {K, "LN(1,2)", "#VALUE!"},
    {E, "LN(D1)", "#N/A"})

FUNCTION_TABLE(LOG10,
    {N, "LOG10(1000)", "3"}, {N, "LOG10(0.01)", "-2"},
    {T, "LOG10(0)", "#NUM!"},
    {C, "LOG10(A1)", "0"},
    {K, "LOG10()", "#VALUE!"},
    {E, "LOG10(D2)", "#DIV/0!"})

FUNCTION_TABLE(LOG,
    {N, "LOG(100)", "2"}, {N, "LOG(8,2)", "3"},
    {T, "LOG(8,1)", "#DIV/0!"}, {T, "LOG(8,0)", "#NUM!"}, {T, "LOG(-8,2)", "#NUM!"},
    {C, "LOG(\"1000\")", "3"},
    {K, "LOG(1,2,3)", "#VALUE!"},
    {E, "LOG(D1,2)", "#N/A"})

FUNCTION_TABLE(SIGN,
    {N, "SIGN(-2.5)", "-1"}, {N, "SIGN(0)", "0"}, {N, "SIGN(7)", "1"},
    {T, "SIGN(\"a\")", "#VALUE!"},
    {C, "SIGN(TRUE)", "1"}, {C, "SIGN(E1)", "0"},
    {K, "SIGN()", "#VALUE!"},
    {E, "SIGN(D1)", "#N/A"})

FUNCTION_TABLE(TRUNC,
    {N, "TRUNC(8.9)", "8"}, {N, "TRUNC(-8.9)", "-8"}, {N, "TRUNC(3.14159,2)", "3.14"}, {N, "TRUNC(1234,-2)", "1200"},
    {T, "TRUNC(\"x\")", "#VALUE!"},
    {C, "TRUNC(\"2.5\")", "2"}, {C, "TRUNC(5.55,1.9)", "5.5"},
    {K, "TRUNC()", "#VALUE!"}, {K, "TRUNC(1,2,3)", "#VALUE!"},
    {E, "TRUNC(D2)", "#DIV/0!"})

FUNCTION_TABLE(EVEN,
    {N, "EVEN(1.5)", "2"}, {N, "EVEN(3)", "4"}, {N, "EVEN(2)", "2"}, {N, "EVEN(-1)", "-2"}, {N, "EVEN(0)", "0"},
    {T, "EVEN(\"x\")", "#VALUE!"},
    {C, "EVEN(TRUE)", "2"},
    {K, "EVEN()", "#VALUE!"},
    {E, "EVEN(D1)", "#N/A"})

FUNCTION_TABLE(ODD,
    {N, "ODD(1.5)", "3"}, {N, "ODD(2)", "3"}, {N, "ODD(3)", "3"}, {N, "ODD(-1)", "-1"}, {N, "ODD(0)", "1"},
    {T, "ODD(\"x\")", "#VALUE!"},
    {C, "ODD(E1)", "1"},
    {K, "ODD(1,2)", "#VALUE!"},
    {E, "ODD(D2)", "#DIV/0!"})

FUNCTION_TABLE(FACT,
    {N, "FACT(5)", "120"}, {N, "FACT(0)", "1"}, {N, "FACT(2.9)", "2"},
    {T, "FACT(-1)", "#NUM!"}, {T, "FACT(171)", "#NUM!"},
    {C, "FACT(\"3\")", "6"},
    {K, "FACT()", "#VALUE!"},
    {E, "FACT(D1)", "#N/A"})

FUNCTION_TABLE(QUOTIENT,
    {N, "QUOTIENT(7,2)", "3"}, {N, "QUOTIENT(-7,2)", "-3"}, {N, "QUOTIENT(5,-2.5)", "-2"},
    {T, "QUOTIENT(1,0)", "#DIV/0!"},
    {C, "QUOTIENT(\"9\",TRUE)", "9"},
    {K, "QUOTIENT(1)", "#VALUE!"},
    {E, "QUOTIENT(D1,1)", "#N/A"})

FUNCTION_TABLE(PRODUCT,
    {N, "PRODUCT(A1:A5)", "120"}, {N, "PRODUCT(2,3,A2)", "12"},
    {T, "PRODUCT(\"x\")", "#VALUE!"},
    {C, "PRODUCT(B1:B5)", "0"}, {C, "PRODUCT(\"2\",TRUE,3)", "6"}, {C, "PRODUCT(E1:E5,4)", "4"},
    {K, "PRODUCT()", "#VALUE!"},
    {E, "PRODUCT(A1:D1)", "#N/A"})

FUNCTION_TABLE(SUMSQ,
    {N, "SUMSQ(3,4)", "25"}, {N, "SUMSQ(A1:A3)", "14"},
    {T, "SUMSQ(\"x\")", "#VALUE!"},
    {C, "SUMSQ(B1:B5,2)", "4"}, {C, "SUMSQ(TRUE,\"3\")", "10"},
    {K, "SUMSQ()", "#VALUE!"},
    {E, "SUMSQ(D2)", "#DIV/0!"})

} // namespace
