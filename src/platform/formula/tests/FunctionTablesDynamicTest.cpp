// Function tables of OFFSET and INDIRECT, with the rows where a spreadsheet's answer is not the
// obvious one (a size left empty keeps the reference's own, texts that are more than a reference,
// R1C1 texts relative to the formula's cell, references to nowhere).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(OFFSET,
    {N, "OFFSET(A1,2,0)", "3"}, {N, "SUM(OFFSET(A1,1,0,3,1))", "9"}, {N, "OFFSET(A1,9,1)", "20"},
    {N, "SUM(OFFSET(A10,0,0,1,5))", "150"}, {N, "ROWS(OFFSET(A1:B2,1,1))", "2"},
    {T, "OFFSET(A1,-1,0)", "#REF!"}, {T, "OFFSET(5,1,1)", "#VALUE!"}, {T, "OFFSET(A1,0,0,0)", "#REF!"},
    {T, "OFFSET(A1,0,-1)", "#REF!"}, {T, "OFFSET(A1,1073741824,0)", "#REF!"},
    {C, "OFFSET(A1,\"1\",FALSE)", "2"}, {C, "COLUMNS(OFFSET(A1,0,0,2,\"3\"))", "3"},
    {C, "SUM(OFFSET(A1:A5,0,0,,1))", "15"}, {C, "OFFSET(E1,0,0)", "0"}, {C, "OFFSET(A1,2.9,0)", "3"},
    {K, "OFFSET(A1,1)", "#VALUE!"}, {K, "OFFSET(A1,1,1,1,1,1)", "#VALUE!"},
    {E, "OFFSET(A1,D1,0)", "#N/A"}, {E, "SUM(OFFSET(A1,0,0,D2))", "#DIV/0!"}, {E, "OFFSET(D1:D2,0,0,1,1)", "#N/A"})

FUNCTION_TABLE(INDIRECT,
    {N, "INDIRECT(\"A3\")", "3"}, {N, "SUM(INDIRECT(\"A1:A5\"))", "15"}, {N, "INDIRECT(\"B\"&2)", "\"Hello World\""},
    {N, "SUM(INDIRECT(\"J:J\"))", "820"}, {N, "INDIRECT(\"R2C1\",FALSE)", "2"},
    {N, "INDIRECT(\"R[-49]C[-25]\",FALSE)", "1"},
    {T, "INDIRECT(\"nowhere\")", "#REF!"}, {T, "INDIRECT(\"A1+1\")", "#REF!"}, {T, "INDIRECT(\"\")", "#REF!"},
    {T, "INDIRECT(\"=A1\")", "#REF!"}, {T, "INDIRECT(\"A0\")", "#REF!"}, {T, "INDIRECT(\"A1\",FALSE)", "#REF!"},
    {T, "INDIRECT(\"SUM(A1)\")", "#REF!"},
    {C, "INDIRECT(\"a3\")", "3"}, {C, "INDIRECT(\"$A$2\")", "2"}, {C, "INDIRECT(\"R2C1\",0)", "2"},
    {C, "INDIRECT(B1)", "#REF!"},
    {K, "INDIRECT()", "#VALUE!"}, {K, "INDIRECT(\"A1\",TRUE,1)", "#VALUE!"},
    {E, "INDIRECT(D1)", "#N/A"}, {E, "INDIRECT(\"D2\")", "#DIV/0!"})

} // namespace
