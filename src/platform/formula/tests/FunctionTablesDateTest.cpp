// Function tables of the date and time functions over serial numbers, with the rows where a
// spreadsheet's answer is not the obvious one (the phantom 29 February 1900, day 0, years below
// 1900, months and days running over, month ends in EDATE, the day-leaving units of DATEDIF).
#include "FunctionCases.h"

namespace {

using namespace kxtest::checks;

FUNCTION_TABLE(DATE,
    {N, "DATE(2024,1,15)", "45306"}, {N, "DATE(1900,1,1)", "1"}, {N, "DATE(1900,2,29)", "60"}, {N, "DATE(1900,3,1)", "61"},
    {N, "DATE(2024,14,1)", "45689"}, {N, "DATE(2024,1,0)", "45291"}, {N, "DATE(2024,0,1)", "45261"},
    {T, "DATE(-1,1,1)", "#NUM!"}, {T, "DATE(10000,1,1)", "#NUM!"}, {T, "DATE(1900,1,-1)", "#NUM!"},
    {C, "DATE(99,1,1)", "36161"}, {C, "DATE(\"2024\",1.9,15.5)", "45306"},
    {K, "DATE(2024,1)", "#VALUE!"},
    {E, "DATE(D1,1,1)", "#N/A"})

FUNCTION_TABLE(TIME,
    {N, "TIME(12,0,0)", "0.5"}, {N, "TIME(0,90,0)", "0.0625"},
    {T, "TIME(0,-1,0)", "#NUM!"}, {T, "TIME(\"x\",0,0)", "#VALUE!"},
    {C, "TIME(25,0,0)", "0.041666666666666664"}, {C, "TIME(\"6\",0,0)", "0.25"}, {C, "TIME(1,-30,0)", "0.020833333333333332"},
    {K, "TIME(1,2)", "#VALUE!"},
    {E, "TIME(0,0,D2)", "#DIV/0!"})

FUNCTION_TABLE(YEAR,
    {N, "YEAR(45306)", "2024"}, {N, "YEAR(DATE(1987,6,30))", "1987"},
    {T, "YEAR(-1)", "#NUM!"}, {T, "YEAR(2958466)", "#NUM!"}, {T, "YEAR(\"x\")", "#VALUE!"},
    {C, "YEAR(0)", "1900"}, {C, "YEAR(TRUE)", "1900"},
    {K, "YEAR()", "#VALUE!"},
    {E, "YEAR(D1)", "#N/A"})

FUNCTION_TABLE(MONTH,
    {N, "MONTH(45306)", "1"}, {N, "MONTH(60)", "2"}, {N, "MONTH(61)", "3"},
    {T, "MONTH(-0.5)", "#NUM!"},
    {C, "MONTH(0)", "1"}, {C, "MONTH(\"45351\")", "2"},
    {K, "MONTH(1,2)", "#VALUE!"},
    {E, "MONTH(D2)", "#DIV/0!"})

FUNCTION_TABLE(DAY,
    {N, "DAY(45306)", "15"}, {N, "DAY(60)", "29"}, {N, "DAY(45306.99)", "15"},
    {T, "DAY(-1)", "#NUM!"},
    {C, "DAY(0)", "0"}, {C, "DAY(E1)", "0"},
    {K, "DAY()", "#VALUE!"},
    {E, "DAY(D1)", "#N/A"})

FUNCTION_TABLE(HOUR,
    {N, "HOUR(0.5)", "12"}, {N, "HOUR(45306.75)", "18"},
    {T, "HOUR(-0.5)", "#NUM!"},
    {C, "HOUR(TIME(25,0,0))", "1"}, {C, "HOUR(\"0.25\")", "6"},
    {K, "HOUR()", "#VALUE!"},
    {E, "HOUR(D1)", "#N/A"})

FUNCTION_TABLE(MINUTE,
    {N, "MINUTE(TIME(10,30,59))", "30"}, {N, "MINUTE(0.5)", "0"},
    {T, "MINUTE(\"x\")", "#VALUE!"},
    {C, "MINUTE(TIME(10,59,59.9)+0.6/86400)", "0"},
    {K, "MINUTE(1,2)", "#VALUE!"},
    {E, "MINUTE(D2)", "#DIV/0!"})

FUNCTION_TABLE(SECOND,
    {N, "SECOND(TIME(10,30,59))", "59"}, {N, "SECOND(1.4/86400)", "1"},
    {T, "SECOND(-1)", "#NUM!"},
    {C, "SECOND(1.6/86400)", "2"}, {C, "SECOND(FALSE)", "0"},
    {K, "SECOND()", "#VALUE!"},
    {E, "SECOND(D1)", "#N/A"})

FUNCTION_TABLE(WEEKDAY,
    {N, "WEEKDAY(45306)", "2"}, {N, "WEEKDAY(45306,2)", "1"}, {N, "WEEKDAY(45306,3)", "0"}, {N, "WEEKDAY(45311)", "7"},
    {N, "WEEKDAY(45311,2)", "6"}, {N, "WEEKDAY(45306,16)", "3"}, {N, "WEEKDAY(45306,11)", "1"},
    {T, "WEEKDAY(45306,4)", "#NUM!"}, {T, "WEEKDAY(-1)", "#NUM!"},
    {C, "WEEKDAY(1)", "1"}, {C, "WEEKDAY(0)", "7"}, {C, "WEEKDAY(45306.9,\"2\")", "1"},
    {K, "WEEKDAY()", "#VALUE!"},
    {E, "WEEKDAY(D1)", "#N/A"})

FUNCTION_TABLE(EDATE,
    {N, "EDATE(45306,-1)", "45275"}, {N, "EDATE(DATE(2024,1,31),1)", "45351"}, {N, "EDATE(45306,12)", "45672"},
    {T, "EDATE(-1,1)", "#NUM!"}, {T, "EDATE(45306,\"x\")", "#VALUE!"},
    {C, "EDATE(45306.7,1.9)", "45337"},
    {K, "EDATE(45306)", "#VALUE!"},
    {E, "EDATE(D1,1)", "#N/A"})

FUNCTION_TABLE(EOMONTH,
    {N, "EOMONTH(45306,0)", "45322"}, {N, "EOMONTH(45306,1)", "45351"}, {N, "EOMONTH(45306,-2)", "45260"},
    {T, "EOMONTH(45306,-1500000)", "#NUM!"},
    {C, "EOMONTH(\"45306\",TRUE)", "45351"},
    {K, "EOMONTH()", "#VALUE!"},
    {E, "EOMONTH(45306,D2)", "#DIV/0!"})

FUNCTION_TABLE(DATEDIF,
    {N, "DATEDIF(43966,45426,\"Y\")", "3"}, {N, "DATEDIF(43966,45426,\"M\")", "47"}, {N, "DATEDIF(43966,45426,\"D\")", "1460"},
    {N, "DATEDIF(43966,45426,\"YM\")", "11"}, {N, "DATEDIF(43966,45426,\"MD\")", "29"},
    {N, "DATEDIF(43966,45426,\"YD\")", "365"},
    {T, "DATEDIF(45426,43966,\"Y\")", "#NUM!"}, {T, "DATEDIF(1,2,\"W\")", "#NUM!"},
    {C, "DATEDIF(43966,45426,\"y\")", "3"}, {C, "DATEDIF(\"43966\",45426.9,\"d\")", "1460"},
    {K, "DATEDIF(1,2)", "#VALUE!"},
    {E, "DATEDIF(D1,2,\"D\")", "#N/A"})

FUNCTION_TABLE(DAYS,
    {N, "DAYS(DATE(2024,3,1),DATE(2024,2,1))", "29"}, {N, "DAYS(1,10)", "-9"},
    {T, "DAYS(-1,1)", "#NUM!"},
    {C, "DAYS(10.9,1.1)", "9"}, {C, "DAYS(\"5\",TRUE)", "4"},
    {K, "DAYS(1)", "#VALUE!"},
    {E, "DAYS(D2,1)", "#DIV/0!"})

// NOW and TODAY change with the clock; their rows test what holds at any time.
FUNCTION_TABLE(NOW,
    {N, "NOW()>=TODAY()", "TRUE"}, {N, "NOW()>45000", "TRUE"},
    {T, "NOW()-TODAY()<1", "TRUE"},
    {C, "ISNUMBER(NOW())", "TRUE"},
    {K, "NOW(1)", "#VALUE!"},
    {E, "NOW()+D1", "#N/A"})

FUNCTION_TABLE(TODAY,
    {N, "TODAY()=INT(TODAY())", "TRUE"}, {N, "YEAR(TODAY())>=2024", "TRUE"},
    {T, "TODAY()&\"\"=\"\"", "FALSE"},
    {C, "ISNUMBER(TODAY())", "TRUE"},
    {K, "TODAY(1)", "#VALUE!"},
    {E, "TODAY()+D2", "#DIV/0!"})

} // namespace

namespace {

// TEXT with date and time codes; the rows a naive reading gets wrong are the m that is a minute
// (after an hour, before a second), rounding to the finest unit shown, the 12-hour clock, elapsed
// hours and the phantom 29 February 1900.
TEST(FunctionTables, TextWithDateAndTimeCodes)
{
    const struct {
        const char* formula;
        const char* expected;
    } cases[] = {
        {"TEXT(45306,\"yyyy-mm-dd\")", "\"2024-01-15\""},
        {"TEXT(45306,\"dd.mm.yy\")", "\"15.01.24\""},
        {"TEXT(45306,\"d mmm yyyy\")", "\"15 Jan 2024\""},
        {"TEXT(45306,\"dddd, mmmm d\")", "\"Monday, January 15\""},
        {"TEXT(45306,\"ddd mmmmm\")", "\"Mon J\""},
        {"TEXT(45306.75,\"hh:mm\")", "\"18:00\""},
        {"TEXT(TIME(9,5,7),\"h:m:s\")", "\"9:5:7\""},
        {"TEXT(TIME(9,5,7),\"mm:ss\")", "\"05:07\""},
        {"TEXT(TIME(13,5,0),\"h:mm AM/PM\")", "\"1:05 PM\""},
        {"TEXT(TIME(0,30,0),\"hh:mm a/p\")", "\"12:30 A\""},
        {"TEXT(1.5,\"[h]:mm\")", "\"36:00\""},
        {"TEXT(45306+TIME(23,59,59)+0.7/86400,\"yyyy-mm-dd hh:mm:ss\")", "\"2024-01-16 00:00:00\""},
        {"TEXT(TIME(1,2,3)+0.25/86400,\"hh:mm:ss.00\")", "\"01:02:03.25\""},
        {"TEXT(60,\"d mmmm yyyy\")", "\"29 February 1900\""},
        {"TEXT(45306,\"\"\"Week of\"\" d/m\")", "\"Week of 15/1\""},
        {"TEXT(\"45306\",\"[$-409]yyyy\")", "\"2024\""},
        {"TEXT(3000000,\"yyyy\")", "#VALUE!"},
        {"TEXT(45306,\"yyyy 0\")", "#VALUE!"},
    };
    for (const auto& c : cases) {
        kxtest::Sheet sheet;
        EXPECT_TRUE(kxtest::sameValue(sheet.eval(c.formula), c.expected)) << c.formula;
    }
}

} // namespace
