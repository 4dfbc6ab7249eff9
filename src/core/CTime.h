// CTime: a moment in time to the nanosecond, shown as local time and formatted with English month
// and day names whatever locale the host process set. File times and the date printed on bills
// use it. Calendar arithmetic and time spans do not belong here.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"

#include <compare>
#include <cstdint>
#include <ctime>

class KXCORE_API CTime {
public:
    // The epoch, 1 January 1970 00:00:00 UTC.
    CTime() = default;
    explicit CTime(std::time_t seconds, long nanoseconds = 0);
    // A local time. Fields out of range carry over as the C library's mktime does (31 April is
    // 1 May); a time the C library cannot represent gives the epoch.
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();

    std::time_t GetTime() const { return static_cast<std::time_t>(m_seconds); }
    long GetNanoseconds() const { return m_nanoseconds; }

    // Local calendar fields; month 1 to 12, day of week 1 (Sunday) to 7. All 0 when the time is
    // outside what the C library can convert.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;

    // strftime-like, with English names and no dependence on the process locale:
    //   %a %A  day name short/long     %b %B  month name short/long    %d %e  day 01-31 / " 1"-31
    //   %H %I  hour 00-23 / 01-12      %M %S  minute, second           %m     month 01-12
    //   %y %Y  year 2 / 4+ digits      %j     day of year 001-366      %w     weekday 0 (Sunday)-6
    //   %p     AM/PM                   %c %x %X  "%a %b %e %H:%M:%S %Y", "%m/%d/%y", "%H:%M:%S"
    //   %%     a percent sign
    // A '#' after '%' drops leading zeros of a number ("%#d" gives "5"). Other sequences are copied
    // unchanged. Empty when format is null or the time cannot be converted.
    Kx_String Format(const char* format) const;

    friend bool operator==(const CTime&, const CTime&) = default;
    friend std::strong_ordering operator<=>(const CTime&, const CTime&) = default;

private:
    std::int64_t m_seconds = 0;
    std::int32_t m_nanoseconds = 0;
};

// Sets time to now; true (the clock cannot fail here, the result exists for callers that check).
KXCORE_API bool getCurrentTime(CTime& time);
