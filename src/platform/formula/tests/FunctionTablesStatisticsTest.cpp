// Function tables of the statistical functions and of the conditional aggregates, with the rows
// where a spreadsheet's answer is not the obvious one (ties in MODE, k rounded up in LARGE, texts
// counted by AVERAGEA but not by AVERAGE, variances of large close numbers, the value range of
// AVERAGEIF taking the shape of the criteria range, whole columns in the *IFS functions).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(MEDIAN,
    {N, "MEDIAN(A1:A5)", "3"}, {N, "MEDIAN(1,2,3,10)", "2.5"}, {N, "MEDIAN(J:J)", "20.5"},
    {T, "MEDIAN(\"x\")", "#VALUE!"}, {T, "MEDIAN(B1:B2)", "#NUM!"},
    {C, "MEDIAN(A1:A4,B1:C2)", "2.5"}, {C, "MEDIAN(\"4\",TRUE,2)", "2"},
    {K, "MEDIAN()", "#VALUE!"},
    {E, "MEDIAN(A1:D1)", "#N/A"})

FUNCTION_TABLE(MODE,
    {N, "MODE(1,2,2,3,3)", "2"}, {N, "MODE(3,3,2,2,1)", "3"}, {N, "MODE(A1:A5,4)", "4"},
    {T, "MODE(A1:A5)", "#N/A"}, {T, "MODE(\"x\")", "#VALUE!"},
    {C, "MODE(C1:C2,1,\"1\")", "1"}, {C, "MODE(B4,3,4)", "#N/A"},
    {K, "MODE()", "#VALUE!"},
    {E, "MODE(D2,1,1)", "#DIV/0!"})

FUNCTION_TABLE(LARGE,
    {N, "LARGE(A1:A5,1)", "5"}, {N, "LARGE(G1:G5,2)", "22.4"}, {N, "LARGE(J:J,3)", "38"},
    {T, "LARGE(A1:A5,6)", "#NUM!"}, {T, "LARGE(A1:A5,0)", "#NUM!"}, {T, "LARGE(B1:C2,1)", "#NUM!"},
    {C, "LARGE(A1:A5,1.5)", "4"}, {C, "LARGE(A1:A5,TRUE)", "5"},
    {K, "LARGE(A1:A5)", "#VALUE!"},
    {E, "LARGE(A1:D1,1)", "#N/A"})

FUNCTION_TABLE(SMALL,
    {N, "SMALL(A1:A5,2)", "2"}, {N, "SMALL(J:J,40)", "40"}, {N, "SMALL(G1:G5,1)", "16.7"},
    {T, "SMALL(A1:A5,\"x\")", "#VALUE!"},
    {C, "SMALL(A1:A5,\"1\")", "1"}, {C, "SMALL(A1:A5,0.2)", "1"},
    {K, "SMALL(A1:A5,1,2)", "#VALUE!"},
    {E, "SMALL(A1:A5,D1)", "#N/A"})

FUNCTION_TABLE(RANK,
    {N, "RANK(3,A1:A5)", "3"}, {N, "RANK(5,A1:A5)", "1"}, {N, "RANK(5,A1:A5,1)", "5"}, {N, "RANK(19.9,G1:G5)", "3"},
    {T, "RANK(6,A1:A5)", "#N/A"}, {T, "RANK(\"x\",A1:A5)", "#VALUE!"},
    {C, "RANK(\"4\",A1:A5)", "2"}, {C, "RANK(3,B4:B5)", "#N/A"}, {C, "RANK(2,A1:A5,-1)", "2"},
    {K, "RANK(1)", "#VALUE!"},
    {E, "RANK(D1,A1:A5)", "#N/A"})

FUNCTION_TABLE(STDEV,
    {N, "ROUND(STDEV(A1:A5),9)", "1.58113883"}, {N, "STDEV(1E9+1,1E9+2,1E9+3)", "1"},
    {T, "STDEV(1)", "#DIV/0!"}, {T, "STDEV(\"x\",1)", "#VALUE!"},
    {C, "ROUND(STDEV(A1:A2,B1:C2),9)", "0.707106781"}, {C, "ROUND(STDEV(TRUE,3),9)", "1.414213562"},
    {K, "STDEV()", "#VALUE!"},
    {E, "STDEV(A1:A5,D2)", "#DIV/0!"})

FUNCTION_TABLE(STDEVP,
    {N, "ROUND(STDEVP(A1:A5),9)", "1.414213562"}, {N, "STDEVP(7)", "0"},
    {T, "STDEVP(\"x\")", "#VALUE!"}, {T, "STDEVP(B1:B2)", "#DIV/0!"},
    {C, "STDEVP(C1:C2,2,4)", "1"},
    {K, "STDEVP()", "#VALUE!"},
    {E, "STDEVP(D1)", "#N/A"})

FUNCTION_TABLE(VAR,
    {N, "VAR(A1:A5)", "2.5"}, {N, "VAR(1E9+1,1E9+2,1E9+3)", "1"},
    {T, "VAR(5)", "#DIV/0!"},
    {C, "VAR(\"1\",TRUE,4)", "3"},
    {K, "VAR()", "#VALUE!"},
    {E, "VAR(D1,1,2)", "#N/A"})

FUNCTION_TABLE(VARP,
    {N, "VARP(A1:A5)", "2"},
    {T, "VARP(B1:B5)", "#DIV/0!"},
    {C, "VARP(2,TRUE)", "0.25"},
    {K, "VARP()", "#VALUE!"},
    {E, "VARP(A1:A5,D2)", "#DIV/0!"})

FUNCTION_TABLE(AVERAGEA,
    {N, "AVERAGEA(A1:A5)", "3"}, {N, "ROUND(AVERAGEA(A1:A4,C1:C2),6)", "1.833333"},
    {T, "AVERAGEA(E1:E5)", "#DIV/0!"}, {T, "AVERAGEA(\"x\")", "#VALUE!"},
    {C, "AVERAGEA(G1:G5)", "17.04"}, {C, "AVERAGEA(B4,A1)", "0.5"}, {C, "AVERAGEA(\"3\",TRUE)", "2"},
    {K, "AVERAGEA()", "#VALUE!"},
    {E, "AVERAGEA(A1:D2)", "#N/A"})

FUNCTION_TABLE(AVERAGEIF,
    {N, "AVERAGEIF(A1:A5,\">2\")", "4"}, {N, "AVERAGEIF(F1:F4,\"ipe*\",G1:G4)", "24.3"},
    {T, "AVERAGEIF(A1:A5,\">9\")", "#DIV/0!"}, {T, "AVERAGEIF(1,1)", "#VALUE!"},
    {C, "AVERAGEIF(A1:A5,\"3\")", "3"}, {C, "AVERAGEIF(F1:F5,\"hea*\",G1)", "18.3"},
    {C, "AVERAGEIF(A1:A5,\">0\",G1:G5)", "21.3"},
    {K, "AVERAGEIF(A1:A5)", "#VALUE!"},
    {E, "AVERAGEIF(A1:A5,\">0\",D1:D5)", "#N/A"}, {E, "AVERAGEIF(A1:A5,D2)", "#DIV/0!"})

FUNCTION_TABLE(AVERAGEIFS,
    {N, "AVERAGEIFS(G1:G4,F1:F4,\"ipe*\",G1:G4,\">23\")", "26.2"}, {N, "AVERAGEIFS(A1:A5,A1:A5,\">1\",A1:A5,\"<5\")", "3"},
    {T, "AVERAGEIFS(A1:A5,A1:A4,\">1\")", "#VALUE!"}, {T, "AVERAGEIFS(A1:A5,A1:A5,\">9\")", "#DIV/0!"},
    {C, "AVERAGEIFS(G1:G5,A1:A5,\">0\")", "21.3"},
    {K, "AVERAGEIFS(A1:A5,A1:A5)", "#VALUE!"},
    {E, "AVERAGEIFS(A1:A5,A1:A5,D1)", "#N/A"})

FUNCTION_TABLE(COUNTIFS,
    {N, "COUNTIFS(A1:A5,\">1\",G1:G5,\">20\")", "1"}, {N, "COUNTIFS(F1:F5,\"hea*\")", "2"},
    {N, "COUNTIFS(A:A,\">2\")", "4"}, {N, "COUNTIFS(A:A,\"\")", "1073741817"},
    {N, "COUNTIFS(E:E,\"<>x\",A:A,\"\")", "1073741817"},
    {T, "COUNTIFS(A1:A5,\">1\",A1:A4,\">1\")", "#VALUE!"}, {T, "COUNTIFS(5,5)", "#VALUE!"},
    {C, "COUNTIFS(B4:B5,3)", "1"}, {C, "COUNTIFS(E1:E5,\"\")", "5"}, {C, "COUNTIFS(A1:B5,\"<>abc\")", "8"},
    {K, "COUNTIFS(A1:A5)", "#VALUE!"}, {K, "COUNTIFS(A1:A5,\">1\",A1:A5)", "#VALUE!"},
    {E, "COUNTIFS(A1:A5,D2)", "#DIV/0!"})

FUNCTION_TABLE(SUMIFS,
    {N, "SUMIFS(G1:G4,F1:F4,\"ipe*\")", "48.6"}, {N, "SUMIFS(A1:A5,A1:A5,\">=2\",A1:A5,\"<=4\")", "9"},
    {N, "SUMIFS(J:J,K:K,\"k1*\")", "146"}, {N, "SUMIFS(J:J,E:E,\"\")", "799"},
    {T, "SUMIFS(A1:A5,A1:A4,\">1\")", "#VALUE!"}, {T, "SUMIFS(5,A1:A5,\">1\")", "#VALUE!"},
    {C, "SUMIFS(G1:G5,A1:A5,\">0\")", "85.2"},
    {K, "SUMIFS(A1:A5,A1:A5)", "#VALUE!"},
    {E, "SUMIFS(D1:D2,A1:A2,\">0\")", "#N/A"})

FUNCTION_TABLE(MAXIFS,
    {N, "MAXIFS(G1:G4,F1:F4,\"hea*\")", "19.9"}, {N, "MAXIFS(J:J,K:K,\"k2?\")", "29"},
    {T, "MAXIFS(A1:A5,A1:A5,\">9\")", "0"}, {T, "MAXIFS(A1:A5,A1:A3,\">0\")", "#VALUE!"},
    {C, "MAXIFS(G1:G5,A1:A5,\">4\")", "0"},
    {K, "MAXIFS(A1:A5,A1:A5)", "#VALUE!"},
    {E, "MAXIFS(D1:D2,A1:A2,\">0\")", "#N/A"})

FUNCTION_TABLE(MINIFS,
    {N, "MINIFS(G1:G4,F1:F4,\"ipe*\")", "22.4"}, {N, "MINIFS(J:J,J:J,\">35\")", "36"},
    {T, "MINIFS(A1:A5,A1:A5,\"<0\")", "0"},
    {C, "MINIFS(A1:A5,B1:B5,\"abc\")", "1"}, {C, "MINIFS(A1:A5,B1:B5,3)", "4"},
    {K, "MINIFS(A1:A5,A1:A5)", "#VALUE!"},
    {E, "MINIFS(A1:A5,A1:A5,D1)", "#N/A"})

} // namespace
