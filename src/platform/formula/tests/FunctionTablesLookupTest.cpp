// Function tables of LOOKUP, ADDRESS, XMATCH and XLOOKUP, with the rows where a spreadsheet's
// answer is not the obvious one (a result line lying the other way, the array form searching the
// longer side, wildcards only in XMATCH's mode 2, a text key never matching a number, XLOOKUP
// giving a whole row of its results).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(LOOKUP,
    {N, "LOOKUP(3,A1:A5,J1:J5)", "3"}, {N, "LOOKUP(3.7,A1:A5,A10:E10)", "30"}, {N, "LOOKUP(25,A10:E11)", "\"b\""},
    {N, "LOOKUP(7.5,J1:K40)", "\"k7\""}, {N, "LOOKUP(9,A1:A5)", "5"},
    {T, "LOOKUP(0,A1:A5)", "#N/A"}, {T, "LOOKUP(\"x\",A1:A5)", "#N/A"}, {T, "LOOKUP(1,5)", "#VALUE!"},
    {C, "LOOKUP(\"3\",A1:A5)", "#N/A"}, {C, "LOOKUP(2,A1:A5,G1)", "26.2"}, {C, "LOOKUP(5,A1:A5,E1:E5)", "0"},
    {K, "LOOKUP(1)", "#VALUE!"},
    {E, "LOOKUP(D1,A1:A5)", "#N/A"}, {E, "LOOKUP(D2,A1:A5)", "#DIV/0!"})

FUNCTION_TABLE(ADDRESS,
    {N, "ADDRESS(2,3)", "\"$C$2\""}, {N, "ADDRESS(2,3,2)", "\"C$2\""}, {N, "ADDRESS(2,3,3)", "\"$C2\""},
    {N, "ADDRESS(2,3,4)", "\"C2\""}, {N, "ADDRESS(2,3,1,FALSE)", "\"R2C3\""}, {N, "ADDRESS(2,3,4,FALSE)", "\"R[2]C[3]\""},
    {N, "ADDRESS(1,28)", "\"$AB$1\""},
    {T, "ADDRESS(0,1)", "#VALUE!"}, {T, "ADDRESS(1,1,5)", "#VALUE!"}, {T, "ADDRESS(1,1,1,\"x\")", "#VALUE!"},
    {C, "ADDRESS(\"2\",TRUE)", "\"$A$2\""}, {C, "ADDRESS(2.9,1.9)", "\"$A$2\""},
    {C, "ADDRESS(1,1,1,TRUE,\"Sheet1\")", "\"Sheet1!$A$1\""}, {C, "ADDRESS(1,1,4,1,\"My Sheet\")", "\"'My Sheet'!A1\""},
    {C, "ADDRESS(1,1,1,0,\"it's\")", "\"'it''s'!R1C1\""},
    {K, "ADDRESS(1)", "#VALUE!"},
    {E, "ADDRESS(D1,1)", "#N/A"}, {E, "ADDRESS(1,1,1,D2)", "#DIV/0!"})

FUNCTION_TABLE(XMATCH,
    {N, "XMATCH(3,A1:A5)", "3"}, {N, "XMATCH(\"HEA100\",F1:F4)", "3"}, {N, "XMATCH(25,A10:E10,1)", "3"},
    {N, "XMATCH(25,A10:E10,-1)", "2"}, {N, "XMATCH(\"ipe*\",F1:F4,2)", "1"}, {N, "XMATCH(\"k1*\",K1:K40,2,-1)", "19"},
    {T, "XMATCH(\"ipe*\",F1:F4)", "#N/A"}, {T, "XMATCH(1,A1:B2)", "#VALUE!"}, {T, "XMATCH(1,A1:A5,3)", "#VALUE!"},
    {C, "XMATCH(\"3\",A1:A5)", "#N/A"}, {C, "XMATCH(TRUE,C1:C2)", "1"}, {C, "XMATCH(2.5,A1:A5,\"1\")", "3"},
    {C, "XMATCH(17,G1:G5,-1)", "3"},
    {K, "XMATCH(1)", "#VALUE!"},
    {E, "XMATCH(D1,A1:A5)", "#N/A"}, {E, "XMATCH(1,A1:A5,D2)", "#DIV/0!"})

FUNCTION_TABLE(XLOOKUP,
    {N, "XLOOKUP(\"hea120\",F1:F4,G1:G4)", "19.9"}, {N, "XLOOKUP(30,A10:E10,A11:E11)", "\"c\""},
    {N, "SUM(XLOOKUP(2,A1:A5,F1:G5))", "26.2"}, {N, "XLOOKUP(99,A1:A5,G1:G5,\"none\")", "\"none\""},
    {N, "XLOOKUP(3.5,A1:A5,J1:J5,,-1)", "3"},
    {T, "XLOOKUP(99,A1:A5,G1:G5)", "#N/A"}, {T, "XLOOKUP(1,A1:A5,G1:G4)", "#VALUE!"},
    {C, "XLOOKUP(5,A1:A5,E1:E5)", "0"}, {C, "XLOOKUP(\"ipe*\",F1:F4,G1:G4,,2)", "22.4"},
    {C, "XLOOKUP(\"K5\",K1:K40,J1:J40)", "5"}, {C, "XLOOKUP(\"ipe*\",F1:F4,G1:G4)", "#N/A"},
    {K, "XLOOKUP(1,A1:A5)", "#VALUE!"},
    {E, "XLOOKUP(D1,A1:A5,G1:G5)", "#N/A"}, {E, "XLOOKUP(9,A1:A5,G1:G5,D2)", "#DIV/0!"},
    {E, "XLOOKUP(1,A1:A5,D1:D5)", "#N/A"})

} // namespace
