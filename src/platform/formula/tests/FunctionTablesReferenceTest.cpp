// Function tables of the functions about references (ROW, COLUMN, ROWS, COLUMNS), CHOOSE and
// COUNTBLANK. Cases evaluate as if the formula stood in Z50.
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(ROW,
    {N, "ROW(B7)", "7"}, {N, "ROW(C3:E9)", "3"}, {N, "ROW()", "50"}, {N, "ROW(4:6)", "4"}, {N, "ROW(B:B)", "1"},
    {T, "ROW(5)", "#VALUE!"}, {T, "ROW(\"A1\")", "#VALUE!"},
    {C, "ROW(INDEX(A1:A5,3))", "3"}, {C, "ROW(A1000000)", "1000000"},
    {K, "ROW(A1,A2)", "#VALUE!"},
    {E, "ROW(1/0)", "#DIV/0!"})

FUNCTION_TABLE(COLUMN,
    {N, "COLUMN(C7)", "3"}, {N, "COLUMN(D2:F3)", "4"}, {N, "COLUMN()", "26"}, {N, "COLUMN(B:D)", "2"},
    {T, "COLUMN(TRUE)", "#VALUE!"},
    {C, "COLUMN(INDEX(A1:C1,1,2))", "2"}, {C, "COLUMN(2:2)", "1"},
    {K, "COLUMN(A1,B1)", "#VALUE!"},
    {E, "COLUMN(D1)", "4"}, {E, "COLUMN(NA())", "#N/A"})

FUNCTION_TABLE(ROWS,
    {N, "ROWS(A1:C5)", "5"}, {N, "ROWS(B3)", "1"}, {N, "ROWS(2:4)", "3"}, {N, "ROWS(A:A)", "1073741824"},
    {T, "ROWS(\"abc\")", "1"},
    {C, "ROWS(7)", "1"}, {C, "ROWS(A5:A1)", "5"},
    {K, "ROWS()", "#VALUE!"},
    {E, "ROWS(D2)", "1"}, {E, "ROWS(1/0)", "#DIV/0!"})

FUNCTION_TABLE(COLUMNS,
    {N, "COLUMNS(A1:C5)", "3"}, {N, "COLUMNS(B:D)", "3"}, {N, "COLUMNS(1:1)", "18278"},
    {T, "COLUMNS(TRUE)", "1"},
    {C, "COLUMNS(C1:A1)", "3"},
    {K, "COLUMNS(A1,B1)", "#VALUE!"},
    {E, "COLUMNS(NA())", "#N/A"})

FUNCTION_TABLE(CHOOSE,
    {N, "CHOOSE(2,\"a\",\"b\",\"c\")", "\"b\""}, {N, "SUM(CHOOSE(1,A1:A5,G1:G4))", "15"},
    {T, "CHOOSE(\"x\",1,2)", "#VALUE!"}, {T, "CHOOSE(0,1,2)", "#VALUE!"}, {T, "CHOOSE(3,1,2)", "#VALUE!"},
    {C, "CHOOSE(2.9,1,2,3)", "2"}, {C, "CHOOSE(\"1\",\"one\")", "\"one\""}, {C, "CHOOSE(TRUE,5)", "5"},
    {C, "CHOOSE(1,E1)", "0"},
    {K, "CHOOSE(1)", "#VALUE!"},
    {E, "CHOOSE(D1,1)", "#N/A"}, {E, "CHOOSE(2,1,D2)", "#DIV/0!"}, {E, "CHOOSE(1,1,D2)", "1"})

FUNCTION_TABLE(COUNTBLANK,
    {N, "COUNTBLANK(E1:E5)", "5"}, {N, "COUNTBLANK(A1:B5)", "0"}, {N, "COUNTBLANK(A1:E2)", "2"},
    {T, "COUNTBLANK(5)", "#VALUE!"},
    {C, "COUNTBLANK(A99:A100)", "2"}, {C, "COUNTBLANK(IF(TRUE,E1:E2))", "2"},
    {K, "COUNTBLANK(E1,E2)", "#VALUE!"},
    {E, "COUNTBLANK(D1:D2)", "0"}, {E, "COUNTBLANK(1/0)", "#DIV/0!"})

} // namespace
