// Function tables of the text and lookup functions.
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(LEFT,
    {N, "LEFT(\"Hello\",2)", "\"He\""}, {N, "LEFT(\"Hello\")", "\"H\""}, {N, "LEFT(\"Hi\",10)", "\"Hi\""},
    {N, "LEFT(\"\xC3\xA4\xC3\xB6\xC3\xBC\",2)", "\"\xC3\xA4\xC3\xB6\""}, {N, "LEFT(\"abc\",0)", "\"\""},
    {T, "LEFT(\"abc\",\"x\")", "#VALUE!"}, {T, "LEFT(\"abc\",-1)", "#VALUE!"},
    {C, "LEFT(12345,3)", "\"123\""}, {C, "LEFT(TRUE,1)", "\"T\""}, {C, "LEFT(B2,\"5\")", "\"Hello\""},
    {K, "LEFT()", "#VALUE!"}, {K, "LEFT(\"a\",1,2)", "#VALUE!"},
    {E, "LEFT(D1,1)", "#N/A"}, {E, "LEFT(\"a\",D2)", "#DIV/0!"})

FUNCTION_TABLE(RIGHT,
    {N, "RIGHT(\"Hello\",3)", "\"llo\""}, {N, "RIGHT(\"Hello\")", "\"o\""},
    {N, "RIGHT(\"\xC3\xA4\xC3\xB6\xC3\xBC\",2)", "\"\xC3\xB6\xC3\xBC\""}, {N, "RIGHT(\"Hi\",5)", "\"Hi\""},
    {T, "RIGHT(\"abc\",-2)", "#VALUE!"},
    {C, "RIGHT(12345,2)", "\"45\""}, {C, "RIGHT(FALSE,2)", "\"SE\""},
    {K, "RIGHT()", "#VALUE!"},
    {E, "RIGHT(D1)", "#N/A"})

FUNCTION_TABLE(MID,
    {N, "MID(\"Hello World\",7,5)", "\"World\""}, {N, "MID(\"abc\",5,2)", "\"\""},
    {N, "MID(\"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\",2,2)", "\"\xC3\xB6\xC3\xBC\""},
    {T, "MID(\"abc\",0,1)", "#VALUE!"}, {T, "MID(\"abc\",1,-1)", "#VALUE!"},
    {C, "MID(123456,2,3)", "\"234\""}, {C, "MID(B2,\"1\",TRUE)", "\"H\""},
    {K, "MID(\"a\",1)", "#VALUE!"},
    {E, "MID(D1,1,1)", "#N/A"}, {E, "MID(\"a\",1/0,1)", "#DIV/0!"})

FUNCTION_TABLE(LEN,
    {N, "LEN(\"Hello\")", "5"}, {N, "LEN(\"\")", "0"}, {N, "LEN(\"\xC3\xA4\xC3\xB6\xC3\xBC\")", "3"},
    {T, "LEN(A1:A5)", "#VALUE!"},
    {C, "LEN(12.5)", "4"}, {C, "LEN(TRUE)", "4"}, {C, "LEN(E1)", "0"},
    {K, "LEN()", "#VALUE!"}, {K, "LEN(\"a\",\"b\")", "#VALUE!"},
    {E, "LEN(D1)", "#N/A"})

FUNCTION_TABLE(UPPER,
    {N, "UPPER(\"abc\")", "\"ABC\""}, {N, "UPPER(\"stra\xC3\x9F" "e\")", "\"STRA\xC3\x9F" "E\""},
    {N, "UPPER(\"\xC3\xA4\xC3\xB6\xC3\xBC\")", "\"\xC3\x84\xC3\x96\xC3\x9C\""},
    {N, "UPPER(\"\xC5\xBE\xD0\xBB\xCF\x83\")", "\"\xC5\xBD\xD0\x9B\xCE\xA3\""},
    {T, "UPPER(A1:A5)", "#VALUE!"},
    {C, "UPPER(1.5)", "\"1.5\""}, {C, "UPPER(TRUE)", "\"TRUE\""},
    {K, "UPPER()", "#VALUE!"},
    {E, "UPPER(D1)", "#N/A"})

FUNCTION_TABLE(LOWER,
    {N, "LOWER(\"ABC\")", "\"abc\""}, {N, "LOWER(\"\xC3\x84\xC3\x96\xC3\x9C\")", "\"\xC3\xA4\xC3\xB6\xC3\xBC\""},
    {N, "LOWER(\"\xCE\xA3\xCE\x9B\")", "\"\xCF\x83\xCE\xBB\""},
    {T, "LOWER(A1:A5)", "#VALUE!"},
    {C, "LOWER(FALSE)", "\"false\""},
    {K, "LOWER(\"a\",\"b\")", "#VALUE!"},
    {E, "LOWER(D2)", "#DIV/0!"})

FUNCTION_TABLE(TRIM,
    {N, "TRIM(B3)", "\"lots of space\""}, {N, "TRIM(\"  a  \")", "\"a\""}, {N, "TRIM(\"\")", "\"\""},
    {T, "TRIM(A1:A5)", "#VALUE!"},
    {C, "TRIM(12)", "\"12\""},
    {K, "TRIM()", "#VALUE!"},
    {E, "TRIM(D1)", "#N/A"})

FUNCTION_TABLE(CONCATENATE,
    {N, "CONCATENATE(\"a\",\"b\",\"c\")", "\"abc\""}, {N, "CONCATENATE(B1,\" \",A1)", "\"abc 1\""},
    {T, "CONCATENATE(A1:A5)", "#VALUE!"},
    {C, "CONCATENATE(1.5,TRUE,E1)", "\"1.5TRUE\""},
    {K, "CONCATENATE()", "#VALUE!"},
    {E, "CONCATENATE(\"a\",D1)", "#N/A"})

FUNCTION_TABLE(VALUE,
    {N, "VALUE(\"12.5\")", "12.5"}, {N, "VALUE(\"1,234\")", "1234"}, {N, "VALUE(\"50%\")", "0.5"},
    {N, "VALUE(\" -3e2 \")", "-300"}, {N, "VALUE(7)", "7"},
    {T, "VALUE(\"abc\")", "#VALUE!"}, {T, "VALUE(TRUE)", "#VALUE!"}, {T, "VALUE(\"1,23\")", "#VALUE!"},
    {T, "VALUE(\"inf\")", "#VALUE!"},
    {C, "VALUE(B4)", "3"}, {C, "VALUE(E1)", "0"},
    {K, "VALUE()", "#VALUE!"},
    {E, "VALUE(D1)", "#N/A"})

FUNCTION_TABLE(TEXT,
    {N, "TEXT(1234.567,\"#,##0.00\")", "\"1,234.57\""}, {N, "TEXT(0.256,\"0.0%\")", "\"25.6%\""},
    {N, "TEXT(5,\"000\")", "\"005\""}, {N, "TEXT(1234.5,\"0.00E+00\")", "\"1.23E+03\""},
    {N, "TEXT(-1.5,\"0.0;(0.0)\")", "\"(1.5)\""}, {N, "TEXT(0.5,\"#.##\")", "\".5\""},
    {N, "TEXT(3,\"\"\"No. \"\"0\")", "\"No. 3\""}, {N, "TEXT(1234567,\"#,##0,\")", "\"1,235\""},
    {N, "TEXT(2.5,\"General\")", "\"2.5\""}, {N, "TEXT(-2,\"0\")", "\"-2\""},
    {N, "TEXT(0,\"0;-0;\"\"zero\"\"\")", "\"zero\""},
    {N, "TEXT(5551234,\"000-0000\")", "\"555-1234\""}, {N, "TEXT(0.000123,\"0.0E+0\")", "\"1.2E-4\""},
    {T, "TEXT(-1,\"yyyy\")", "#VALUE!"},
    {C, "TEXT(\"12.345\",\"0.0\")", "\"12.3\""}, {C, "TEXT(TRUE,\"0\")", "\"TRUE\""},
    {C, "TEXT(\"abc\",\"@\")", "\"abc\""},
    {K, "TEXT(1)", "#VALUE!"},
    {E, "TEXT(D1,\"0\")", "#N/A"}, {E, "TEXT(1,D2)", "#DIV/0!"})

FUNCTION_TABLE(FIND,
    {N, "FIND(\"o\",\"Hello World\")", "5"}, {N, "FIND(\"o\",\"Hello World\",6)", "8"}, {N, "FIND(\"\",\"abc\")", "1"},
    {N, "FIND(\"\xC3\xB6\",\"\xC3\xA4\xC3\xB6\xC3\xBC\")", "2"},
    {T, "FIND(\"O\",\"Hello\")", "#VALUE!"}, {T, "FIND(\"a\",\"abc\",0)", "#VALUE!"},
    {T, "FIND(\"a\",\"abc\",5)", "#VALUE!"},
    {C, "FIND(1,12341,2)", "5"}, {C, "FIND(\"T\",TRUE)", "1"},
    {K, "FIND(\"a\")", "#VALUE!"},
    {E, "FIND(D1,\"a\")", "#N/A"})

FUNCTION_TABLE(SEARCH,
    {N, "SEARCH(\"O\",\"Hello World\")", "5"}, {N, "SEARCH(\"w?r\",\"Hello World\")", "7"},
    {N, "SEARCH(\"l*d\",\"Hello World\")", "3"}, {N, "SEARCH(\"~*\",\"a*b\")", "2"},
    {N, "SEARCH(\"o\",\"Hello World\",6)", "8"},
    {T, "SEARCH(\"z\",\"abc\")", "#VALUE!"}, {T, "SEARCH(\"a\",\"abc\",-1)", "#VALUE!"},
    {C, "SEARCH(3,B4)", "1"}, {C, "SEARCH(\"true\",C1)", "1"},
    {K, "SEARCH(\"a\")", "#VALUE!"},
    {E, "SEARCH(\"a\",D2)", "#DIV/0!"})

FUNCTION_TABLE(SUBSTITUTE,
    {N, "SUBSTITUTE(\"a-b-c\",\"-\",\"+\")", "\"a+b+c\""}, {N, "SUBSTITUTE(\"a-b-c\",\"-\",\"+\",2)", "\"a-b+c\""},
    {N, "SUBSTITUTE(\"abc\",\"\",\"x\")", "\"abc\""}, {N, "SUBSTITUTE(\"aaa\",\"a\",\"aa\")", "\"aaaaaa\""},
    {T, "SUBSTITUTE(\"a\",\"a\",\"b\",0)", "#VALUE!"},
    {C, "SUBSTITUTE(1231,1,9)", "\"9239\""},
    {K, "SUBSTITUTE(\"a\",\"b\")", "#VALUE!"},
    {E, "SUBSTITUTE(D1,\"a\",\"b\")", "#N/A"})

FUNCTION_TABLE(VLOOKUP,
    {N, "VLOOKUP(\"ipe220\",F1:G5,2,FALSE)", "26.2"}, {N, "VLOOKUP(\"HEA120\",F1:G5,2,FALSE)", "19.9"},
    {N, "VLOOKUP(3.5,A1:A5,1)", "3"}, {N, "VLOOKUP(10,F1:G5,2,FALSE)", "\"ten\""},
    {N, "VLOOKUP(\"ipe*\",F1:G4,2,FALSE)", "22.4"}, {N, "VLOOKUP(\"K25\",K1:K40,1,FALSE)", "\"k25\""},
    {N, "VLOOKUP(33,J1:K40,2,FALSE)", "\"k33\""}, {N, "VLOOKUP(2,A1:E5,5,FALSE)", "0"},
    {T, "VLOOKUP(\"x\",5,1)", "#VALUE!"}, {T, "VLOOKUP(1,A1:A5,0)", "#VALUE!"}, {T, "VLOOKUP(1,A1:A5,2)", "#REF!"},
    {T, "VLOOKUP(\"3\",A1:A5,1,FALSE)", "#N/A"},
    {C, "VLOOKUP(2,A1:B5,\"2\",FALSE)", "\"Hello World\""}, {C, "VLOOKUP(2,A1:A5,1,0)", "2"},
    {C, "VLOOKUP(TRUE,C1:C2,1,FALSE)", "TRUE"},
    {K, "VLOOKUP(1,A1:A5)", "#VALUE!"},
    {E, "VLOOKUP(D1,A1:A5,1)", "#N/A"}, {E, "VLOOKUP(1,A1:A5,1/0)", "#DIV/0!"}, {E, "VLOOKUP(9,A1:A5,1,FALSE)", "#N/A"},
    {E, "VLOOKUP(0,A1:A5,1)", "#N/A"}, {E, "VLOOKUP(1,D1:D2,1,FALSE)", "#N/A"})

FUNCTION_TABLE(HLOOKUP,
    {N, "HLOOKUP(30,A10:E11,2,FALSE)", "\"c\""}, {N, "HLOOKUP(35,A10:E11,2)", "\"c\""},
    {N, "HLOOKUP(50,A10:E11,1,FALSE)", "50"},
    {T, "HLOOKUP(1,2,1)", "#VALUE!"}, {T, "HLOOKUP(10,A10:E11,3)", "#REF!"},
    {C, "HLOOKUP(20,A10:E11,\"2\",FALSE)", "\"b\""}, {C, "HLOOKUP(\"20\",A10:E11,2,FALSE)", "#N/A"},
    {K, "HLOOKUP(1,A10:E11)", "#VALUE!"},
    {E, "HLOOKUP(1/0,A10:E11,2)", "#DIV/0!"}, {E, "HLOOKUP(5,A10:E11,2)", "#N/A"})

FUNCTION_TABLE(MATCH,
    {N, "MATCH(3,A1:A5,0)", "3"}, {N, "MATCH(3.7,A1:A5)", "3"}, {N, "MATCH(\"HEA100\",F1:F4,0)", "3"},
    {N, "MATCH(\"e\",A11:E11,0)", "5"}, {N, "MATCH(\"k3?\",K1:K40,0)", "30"},
    {T, "MATCH(1,5,0)", "#VALUE!"}, {T, "MATCH(1,A1:B5,0)", "#N/A"},
    {C, "MATCH(\"3\",A1:A5,0)", "#N/A"}, {C, "MATCH(2,A1:A5,\"0\")", "2"}, {C, "MATCH(TRUE,C1:C2,0)", "1"},
    {K, "MATCH(1)", "#VALUE!"},
    {E, "MATCH(D1,A1:A5,0)", "#N/A"}, {E, "MATCH(9,A1:A5,0)", "#N/A"}, {E, "MATCH(1,A1:A5,1/0)", "#DIV/0!"})

FUNCTION_TABLE(INDEX,
    {N, "INDEX(A1:B5,2,2)", "\"Hello World\""}, {N, "INDEX(A1:A5,4)", "4"}, {N, "INDEX(A10:E10,3)", "30"},
    {N, "INDEX(A1:A5,3,1)", "3"}, {N, "SUM(INDEX(A1:B5,0,1))", "15"}, {N, "INDEX(E1:E5,2)", "0"},
    {T, "INDEX(A1:A5,-1)", "#VALUE!"}, {T, "INDEX(A1:A5,6)", "#REF!"}, {T, "INDEX(A1:B5,1,3)", "#REF!"},
    {C, "INDEX(A1:A5,\"2\")", "2"}, {C, "INDEX(A1:A5,TRUE)", "1"}, {C, "INDEX(7,1)", "7"},
    {K, "INDEX(A1:A5)", "#VALUE!"},
    {E, "INDEX(A1:A5,D1)", "#N/A"}, {E, "INDEX(D1:D2,1)", "#N/A"})

} // namespace
