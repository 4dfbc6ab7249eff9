// CTime: conversion to local calendar fields and a locale-free strftime.
#include "core/CTime.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr std::array<const char*, 7> kDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonthNames = {"January", "February", "March", "April", "May", "June", "July",
                                                     "August", "September", "October", "November", "December"};

std::optional<std::tm> localFields(std::int64_t seconds)
{
    const auto t = static_cast<std::time_t>(seconds);
    std::tm fields {};
    if (static_cast<std::int64_t>(t) != seconds || !::localtime_r(&t, &fields))
        return std::nullopt;
    return fields;
}

void appendNumber(std::string& out, long long value, int width, bool dropZeros, char pad = '0')
{
    char digits[32];
    const int n = std::snprintf(digits, sizeof digits, "%lld", value);
    if (!dropZeros) {
        for (int i = n; i < width; ++i)
            out += pad;
    }
    out.append(digits, static_cast<size_t>(n > 0 ? n : 0));
}

void appendShort(std::string& out, const char* name) { out.append(name, 3); }

void formatInto(std::string& out, const char* format, const std::tm& tm);

void formatOne(std::string& out, char conversion, bool dropZeros, const std::tm& tm)
{
    const int weekday = (tm.tm_wday >= 0 && tm.tm_wday < 7) ? tm.tm_wday : 0;
    const int month = (tm.tm_mon >= 0 && tm.tm_mon < 12) ? tm.tm_mon : 0;
    const long long year = static_cast<long long>(tm.tm_year) + 1900;
    switch (conversion) {
    case 'a': appendShort(out, kDayNames[weekday]); break;
    case 'A': out += kDayNames[weekday]; break;
    case 'b': appendShort(out, kMonthNames[month]); break;
    case 'B': out += kMonthNames[month]; break;
    case 'd': appendNumber(out, tm.tm_mday, 2, dropZeros); break;
    case 'e': appendNumber(out, tm.tm_mday, 2, dropZeros, ' '); break;
    case 'H': appendNumber(out, tm.tm_hour, 2, dropZeros); break;
    case 'I': appendNumber(out, (tm.tm_hour % 12 == 0) ? 12 : tm.tm_hour % 12, 2, dropZeros); break;
    case 'M': appendNumber(out, tm.tm_min, 2, dropZeros); break;
    case 'S': appendNumber(out, tm.tm_sec, 2, dropZeros); break;
    case 'm': appendNumber(out, month + 1, 2, dropZeros); break;
    case 'y': appendNumber(out, ((year % 100) + 100) % 100, 2, dropZeros); break;
    case 'Y': appendNumber(out, year, 4, dropZeros); break;
    case 'j': appendNumber(out, tm.tm_yday + 1, 3, dropZeros); break;
    case 'w': appendNumber(out, weekday, 1, dropZeros); break;
    case 'p': out += tm.tm_hour < 12 ? "AM" : "PM"; break;
    case 'c': formatInto(out, "%a %b %e %H:%M:%S %Y", tm); break;
    case 'x': formatInto(out, "%m/%d/%y", tm); break;
    case 'X': formatInto(out, "%H:%M:%S", tm); break;
    case '%': out += '%'; break;
    default:
        out += '%';
        if (dropZeros)
            out += '#';
        out += conversion;
        break;
    }
}

void formatInto(std::string& out, const char* format, const std::tm& tm)
{
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const bool dropZeros = p[1] == '#';
        const char conversion = dropZeros ? p[2] : p[1];
        if (conversion == '\0') {
            // A lone '%' (or "%#") at the end stays as written.
            out.append(p);
            return;
        }
        formatOne(out, conversion, dropZeros, tm);
        p += dropZeros ? 2 : 1;
    }
}

} // namespace

CTime::CTime(std::time_t seconds, long nanoseconds)
{
    // Keep 0 <= nanoseconds < 1e9 so that the member-wise ordering is the order in time.
    constexpr long kPerSecond = 1'000'000'000;
    std::int64_t s = seconds;
    long ns = nanoseconds % kPerSecond;
    s += nanoseconds / kPerSecond;
    if (ns < 0) {
        ns += kPerSecond;
        --s;
    }
    m_seconds = s;
    m_nanoseconds = static_cast<std::int32_t>(ns);
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const std::time_t t = std::mktime(&fields);
    // mktime also answers -1 for one second before the epoch; a valid date there is rare enough
    // to accept the ambiguity, and anything else is normalised by mktime itself.
    m_seconds = (t == static_cast<std::time_t>(-1)) ? 0 : static_cast<std::int64_t>(t);
}

CTime CTime::GetCurrentTime()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now);
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now - seconds);
    return CTime(static_cast<std::time_t>(seconds.count()), static_cast<long>(nanoseconds.count()));
}

int CTime::GetYear() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_year + 1900 : 0;
}

int CTime::GetMonth() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_mon + 1 : 0;
}

int CTime::GetDay() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_mday : 0;
}

int CTime::GetHour() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_hour : 0;
}

int CTime::GetMinute() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_min : 0;
}

int CTime::GetSecond() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_sec : 0;
}

int CTime::GetDayOfWeek() const
{
    const auto f = localFields(m_seconds);
    return f ? f->tm_wday + 1 : 0;
}

Kx_String CTime::Format(const char* format) const
{
    if (!format)
        return Kx_String();
    const auto fields = localFields(m_seconds);
    if (!fields)
        return Kx_String();
    try {
        std::string out;
        formatInto(out, format, *fields);
        return Kx_String(std::move(out));
    } catch (...) {
        return Kx_String();
    }
}

bool getCurrentTime(CTime& time)
{
    time = CTime::GetCurrentTime();
    return true;
}
