// Function tables of CEILING, FLOOR, MROUND, SUMPRODUCT, GCD, LCM, the random numbers and the
// inverse and hyperbolic trigonometric functions, with the rows where a spreadsheet's answer is not
// the obvious one (a negative number with a positive step, multiples that binary fractions miss,
// booleans in SUMPRODUCT's cells, TANH of a large number).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(CEILING,
    {N, "CEILING(2.5,1)", "3"}, {N, "CEILING(-2.5,2)", "-2"}, {N, "CEILING(-2.5,-2)", "-4"},
    {N, "CEILING(1.1,0.1)", "1.1"}, {N, "CEILING(4.42,0.05)", "4.45"},
    {T, "CEILING(2.5,-1)", "#NUM!"}, {T, "CEILING(\"x\",1)", "#VALUE!"},
    {C, "CEILING(2.5,0)", "0"}, {C, "CEILING(\"2.1\",TRUE)", "3"},
    {K, "CEILING(2.5)", "#VALUE!"},
    {E, "CEILING(D1,1)", "#N/A"})

FUNCTION_TABLE(FLOOR,
    {N, "FLOOR(2.5,1)", "2"}, {N, "FLOOR(-2.5,2)", "-4"}, {N, "FLOOR(-2.5,-2)", "-2"}, {N, "FLOOR(0.3,0.1)", "0.3"},
    {T, "FLOOR(2.5,-2)", "#NUM!"}, {T, "FLOOR(2.5,0)", "#DIV/0!"},
    {C, "FLOOR(\"7\",TRUE)", "7"}, {C, "FLOOR(E1,5)", "0"},
    {K, "FLOOR(1)", "#VALUE!"},
    {E, "FLOOR(1,D2)", "#DIV/0!"})

FUNCTION_TABLE(MROUND,
    {N, "MROUND(10,3)", "9"}, {N, "MROUND(5,2)", "6"}, {N, "MROUND(-10,-3)", "-9"}, {N, "MROUND(1.3,0.2)", "1.4"},
    {T, "MROUND(5,-2)", "#NUM!"}, {T, "MROUND(\"x\",2)", "#VALUE!"},
    {C, "MROUND(\"7\",TRUE)", "7"}, {C, "MROUND(5,0)", "0"},
    {K, "MROUND(5)", "#VALUE!"},
    {E, "MROUND(D1,2)", "#N/A"})

FUNCTION_TABLE(SUMPRODUCT,
    {N, "SUMPRODUCT(A1:A3,A1:A3)", "14"}, {N, "SUMPRODUCT(A1:A5)", "15"}, {N, "SUMPRODUCT(A1:A2,G1:G2)", "74.8"},
    {N, "SUMPRODUCT(A:A,J:J)", "155"},
    {T, "SUMPRODUCT(A1:A3,A1:A2)", "#VALUE!"}, {T, "SUMPRODUCT(A1:B2,A1:A4)", "#VALUE!"},
    {C, "SUMPRODUCT(A1:A2,C1:C2)", "0"}, {C, "SUMPRODUCT(G4:G5,A4:A5)", "79.6"}, {C, "SUMPRODUCT(3,4)", "12"},
    {K, "SUMPRODUCT()", "#VALUE!"},
    {E, "SUMPRODUCT(D1:D2,A1:A2)", "#N/A"}, {E, "SUMPRODUCT(A1:A2,D1)", "#VALUE!"})

FUNCTION_TABLE(GCD,
    {N, "GCD(24,36)", "12"}, {N, "GCD(A10:E10)", "10"}, {N, "GCD(7,0)", "7"},
    {T, "GCD(-4,2)", "#NUM!"}, {T, "GCD(\"x\")", "#VALUE!"}, {T, "GCD(2^53,2)", "#NUM!"},
    {C, "GCD(5.9,10)", "5"}, {C, "GCD(\"12\",TRUE)", "1"}, {C, "GCD(0,0)", "0"},
    {K, "GCD()", "#VALUE!"},
    {E, "GCD(D1,2)", "#N/A"})

FUNCTION_TABLE(LCM,
    {N, "LCM(4,6)", "12"}, {N, "LCM(A1:A5)", "60"},
    {T, "LCM(-1,2)", "#NUM!"}, {T, "LCM(\"x\",2)", "#VALUE!"},
    {C, "LCM(4.9,6)", "12"}, {C, "LCM(0,5)", "0"}, {C, "LCM(\"3\",B1:C2)", "3"},
    {K, "LCM()", "#VALUE!"},
    {E, "LCM(2,D2)", "#DIV/0!"})

// The random functions' rows test properties that hold for every draw.
FUNCTION_TABLE(RAND,
    {N, "AND(RAND()>=0,RAND()<1)", "TRUE"}, {N, "INT(RAND())", "0"},
    {T, "RAND()&\"\"=\"x\"", "FALSE"},
    {C, "ISNUMBER(RAND())", "TRUE"},
    {K, "RAND(1)", "#VALUE!"},
    {E, "RAND()+D1", "#N/A"})

FUNCTION_TABLE(RANDBETWEEN,
    {N, "RANDBETWEEN(3,3)", "3"}, {N, "AND(RANDBETWEEN(1,2)>=1,RANDBETWEEN(1,2)<=2)", "TRUE"},
    {N, "RANDBETWEEN(-2,-2)", "-2"},
    {T, "RANDBETWEEN(5,1)", "#NUM!"}, {T, "RANDBETWEEN(\"x\",1)", "#VALUE!"},
    {C, "RANDBETWEEN(\"4\",4)", "4"}, {C, "RANDBETWEEN(1.5,2)", "2"},
    {K, "RANDBETWEEN(1)", "#VALUE!"},
    {E, "RANDBETWEEN(D1,2)", "#N/A"})

FUNCTION_TABLE(ACOS,
    {N, "ACOS(1)", "0"}, {N, "ROUND(ACOS(-1),9)", "3.141592654"},
    {T, "ACOS(1.5)", "#NUM!"}, {T, "ACOS(\"x\")", "#VALUE!"},
    {C, "ACOS(TRUE)", "0"},
    {K, "ACOS()", "#VALUE!"},
    {E, "ACOS(D1)", "#N/A"})

FUNCTION_TABLE(ASIN,
    {N, "ASIN(0)", "0"}, {N, "ROUND(ASIN(1),9)", "1.570796327"},
    {T, "ASIN(-1.01)", "#NUM!"},
    {C, "ASIN(E1)", "0"},
    {K, "ASIN(1,2)", "#VALUE!"},
    {E, "ASIN(D2)", "#DIV/0!"})

FUNCTION_TABLE(SINH,
    {N, "SINH(0)", "0"}, {N, "ROUND(SINH(1),9)", "1.175201194"}, {N, "ROUND(SINH(-1),9)", "-1.175201194"},
    {T, "SINH(1000)", "#NUM!"},
    {C, "SINH(FALSE)", "0"},
    {K, "SINH()", "#VALUE!"},
    {E, "SINH(D1)", "#N/A"})

FUNCTION_TABLE(COSH,
    {N, "COSH(0)", "1"}, {N, "ROUND(COSH(-1),9)", "1.543080635"},
    {T, "COSH(\"x\")", "#VALUE!"},
    {C, "COSH(\"0\")", "1"},
    {K, "COSH(1,2)", "#VALUE!"},
    {E, "COSH(D2)", "#DIV/0!"})

FUNCTION_TABLE(TANH,
    {N, "TANH(0)", "0"}, {N, "TANH(1000)", "1"}, {N, "ROUND(TANH(0.5),9)", "0.462117157"},
    {T, "TANH(\"x\")", "#VALUE!"},
    {C, "TANH(C2)", "0"},
    {K, "TANH()", "#VALUE!"},
    {E, "TANH(D1)", "#N/A"})

} // namespace
