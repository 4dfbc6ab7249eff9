// Tests of CTime: formatting in English whatever the locale, and ordering to the nanosecond.
#include "core/CTime.h"

#include "FileTestSupport.h"

#include <limits>

namespace {

TEST(CTimeFormat, BillDateIsEnglishEvenUnderAGermanLocale)
{
    const CTime t(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(t.Format("%d %B, %Y (%H:%M)").str(), "05 March, 2024 (14:07)");
    kxtest::GermanLocale german;
    if (!german.isActive())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/deps generates it)";
    EXPECT_EQ(t.Format("%d %B, %Y (%H:%M)").str(), "05 March, 2024 (14:07)");
    EXPECT_EQ(t.Format("%a %A %b %c").str(), "Tue Tuesday Mar Tue Mar  5 14:07:09 2024");
}

TEST(CTimeFormat, FieldsAndFlagsFollowTheDocumentedTable)
{
    const CTime t(2009, 12, 31, 0, 5, 3);
    EXPECT_EQ(t.Format("%#d.%#m.%y %I%p %j %w %x %X %%").str(), "31.12.09 12AM 365 4 12/31/09 00:05:03 %");
    EXPECT_EQ(CTime(2009, 1, 2, 13, 0, 0).Format("%#d|%e|%#H|%I%p").str(), "2| 2|13|01PM");
    EXPECT_EQ(t.Format("%q %#q 100%").str(), "%q %#q 100%");
    EXPECT_EQ(t.Format(nullptr).str(), "");
    EXPECT_EQ(t.GetYear(), 2009);
    EXPECT_EQ(t.GetMonth(), 12);
    EXPECT_EQ(t.GetDayOfWeek(), 5); // Thursday, counting Sunday as 1
}

TEST(CTimeFormat, OutOfRangeFieldsCarryOverAndHugeTimesFormatAsEmpty)
{
    EXPECT_EQ(CTime(2023, 4, 31, 0, 0, 0).Format("%d %B").str(), "01 May");
    EXPECT_EQ(CTime(std::numeric_limits<std::time_t>::max()).Format("%Y").str(), "");
    EXPECT_EQ(CTime(std::numeric_limits<std::time_t>::max()).GetYear(), 0);
}

TEST(CTimeOrder, NanosecondsCountAndAreNormalised)
{
    EXPECT_LT(CTime(100, 1), CTime(100, 2));
    EXPECT_EQ(CTime(100, 1'500'000'000), CTime(101, 500'000'000));
    EXPECT_EQ(CTime(100, -1), CTime(99, 999'999'999));
    CTime now;
    EXPECT_TRUE(getCurrentTime(now));
    EXPECT_GT(now, CTime(1'600'000'000));
}

} // namespace
