// Dates and times as serial numbers: day 1 is 1 January 1900, the fraction is the time of day.
// Like desktop spreadsheets the count takes 1900 for a leap year, so day 60 is 29 February 1900
// and the weekdays before it are one off; from 1 March 1900 on every serial is the real date.
// Days run to 31 December 9999 (2,958,465); negative serials and dates beyond are #NUM!.
#include "platform/formula/Functions.h"

#include "platform/formula/Text.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>

namespace kxformula::detail {

namespace {

Operand number(double x)
{
    return Operand::of(Value::number(x));
}

Operand error(ErrorCode code)
{
    return Operand::error(code);
}

constexpr long long kLastSerial = 2958465; // 9999-12-31

// Days from 1970-01-01 of a proleptic Gregorian date (month 1..12, any day).
long long daysFromCivil(long long y, long long m, long long d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    long long y, m, d;
};

Civil civilFromDays(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp + (mp < 10 ? 3 : -9);
    return {y + (m <= 2), m, d};
}

const long long kBefore1900March = daysFromCivil(1899, 12, 31); // day 0 counted from here
const long long kFrom1900March = daysFromCivil(1899, 12, 30);   // one day more: the phantom 29 Feb

// The serial of a date whose month is 1..12 (the day may run over).
long long serialOf(long long y, long long m, long long d)
{
    const long long days = daysFromCivil(y, m, 1) + d - 1;
    const long long march1900 = daysFromCivil(1900, 3, 1);
    return days < march1900 ? days - kBefore1900March : days - kFrom1900March;
}

Civil dateOf(long long serial)
{
    if (serial == 60)
        return {1900, 2, 29};
    if (serial == 0)
        return {1900, 1, 0};
    return civilFromDays(serial + (serial < 60 ? kBefore1900March : kFrom1900March));
}

bool isLeap(long long y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

long long daysInMonth(long long y, long long m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// A serial argument: truncated to its day; negative or beyond the last day is nothing.
std::optional<long long> dayOf(double serial)
{
    if (!(serial >= 0) || serial >= static_cast<double>(kLastSerial + 1))
        return std::nullopt;
    return static_cast<long long>(std::floor(serial));
}

Operand serialResult(long long serial)
{
    if (serial < 0 || serial > kLastSerial)
        return error(ErrorCode::Num);
    return number(static_cast<double>(serial));
}

// Year and month moved by `months`, month kept in 1..12.
void addMonths(long long& y, long long& m, long long months)
{
    const long long total = y * 12 + (m - 1) + months;
    y = total >= 0 ? total / 12 : -((-total + 11) / 12);
    m = total - y * 12 + 1;
}

// Seconds of the day of a serial, rounded to the nearest second as spreadsheets show them.
long long secondsOfDay(double serial)
{
    const double fraction = serial - std::floor(serial);
    const long long s = std::llround(fraction * 86400.0);
    return s >= 86400 ? 0 : s;
}

// The local date and time now as a serial.
double nowSerial()
{
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&t, &local);
    const long long day = serialOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return static_cast<double>(day) + (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec) / 86400.0;
}

} // namespace

// DATE(year, month, day): years 0 to 1899 count from 1900; months and days beyond their range run
// over into the next (or back into the previous) month and year.
Operand fnDate(Args& args, EvalContext&)
{
    double y = std::trunc(args.number(0));
    const double m = std::trunc(args.number(1)), d = std::trunc(args.number(2));
    if (y < 0 || y >= 10000 || std::fabs(m) > 1e6 || std::fabs(d) > 1e8)
        return error(ErrorCode::Num);
    if (y < 1900)
        y += 1900;
    long long year = static_cast<long long>(y), month = 1;
    addMonths(year, month, static_cast<long long>(m) - 1);
    if (year < 1899 || year > 10000)
        return error(ErrorCode::Num);
    return serialResult(serialOf(year, month, 1) + static_cast<long long>(d) - 1);
}

// TIME(hour, minute, second): the fraction of a day, past midnight wrapping round; a negative total
// is #NUM!.
Operand fnTime(Args& args, EvalContext&)
{
    const double h = std::trunc(args.number(0)), m = std::trunc(args.number(1)), s = std::trunc(args.number(2));
    if (h > 32767 || m > 32767 || s > 32767)
        return error(ErrorCode::Num);
    const double total = h * 3600 + m * 60 + s;
    if (total < 0)
        return error(ErrorCode::Num);
    return number(std::fmod(total, 86400.0) / 86400.0);
}

Operand fnToday(Args&, EvalContext&)
{
    return number(std::floor(nowSerial()));
}

Operand fnNow(Args&, EvalContext&)
{
    return number(nowSerial());
}

Operand fnYear(Args& args, EvalContext&)
{
    const auto day = dayOf(args.number(0));
    return day ? number(static_cast<double>(dateOf(*day).y)) : error(ErrorCode::Num);
}

Operand fnMonth(Args& args, EvalContext&)
{
    const auto day = dayOf(args.number(0));
    return day ? number(static_cast<double>(dateOf(*day).m)) : error(ErrorCode::Num);
}

Operand fnDay(Args& args, EvalContext&)
{
    const auto day = dayOf(args.number(0));
    return day ? number(static_cast<double>(dateOf(*day).d)) : error(ErrorCode::Num);
}

Operand fnHour(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return dayOf(x) ? number(static_cast<double>(secondsOfDay(x) / 3600)) : error(ErrorCode::Num);
}

Operand fnMinute(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return dayOf(x) ? number(static_cast<double>(secondsOfDay(x) / 60 % 60)) : error(ErrorCode::Num);
}

Operand fnSecond(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return dayOf(x) ? number(static_cast<double>(secondsOfDay(x) % 60)) : error(ErrorCode::Num);
}

// WEEKDAY(serial, [type=1]): 1 Sunday=1..Saturday=7, 2 Monday=1..Sunday=7, 3 Monday=0..Sunday=6,
// 11 to 17 the week starting Monday to Sunday counted from 1.
Operand fnWeekday(Args& args, EvalContext&)
{
    const auto day = dayOf(args.number(0));
    if (!day)
        return error(ErrorCode::Num);
    const double type = args.size() > 1 ? std::trunc(args.number(1)) : 1;
    long long shift; // weekday = (day + shift) mod 7, plus base
    long long base = 1;
    if (type == 1 || type == 17)
        shift = 6;
    else if (type == 2 || type == 11)
        shift = 5;
    else if (type == 3)
        shift = 5, base = 0;
    else if (type >= 12 && type <= 16)
        shift = 6 - static_cast<long long>(type - 10);
    else
        return error(ErrorCode::Num);
    return number(static_cast<double>((*day + shift) % 7 + base));
}

// The date of EDATE's and EOMONTH's arguments (start, months) with its year and month moved so
// many months on; nothing when the start is no date or the result leaves the years 1900-9999.
std::optional<Civil> monthsOn(Args& args)
{
    const auto day = dayOf(args.number(0));
    const double months = std::trunc(args.number(1));
    if (!day || std::fabs(months) > 120000)
        return std::nullopt;
    Civil c = dateOf(*day);
    addMonths(c.y, c.m, static_cast<long long>(months));
    if (c.y < 1900 || c.y > 9999)
        return std::nullopt;
    return c;
}

// EDATE(start, months) and EOMONTH(start, months): the same day (at most the month's last) or the
// last day of the month so many months on.
Operand fnEDate(Args& args, EvalContext&)
{
    const auto c = monthsOn(args);
    if (!c)
        return error(ErrorCode::Num);
    const long long day = std::min(std::max(c->d, 1LL), daysInMonth(c->y, c->m));
    return serialResult(serialOf(c->y, c->m, day) - (c->d == 0 ? 1 : 0));
}

Operand fnEOMonth(Args& args, EvalContext&)
{
    const auto c = monthsOn(args);
    if (!c)
        return error(ErrorCode::Num);
    return serialResult(serialOf(c->y, c->m, daysInMonth(c->y, c->m)));
}

// DATEDIF(start, end, unit): whole years "Y", months "M", days "D"; "YM" months and "YD" days
// leaving the years out, "MD" days leaving months and years out. A start after the end is #NUM!.
Operand fnDateDif(Args& args, EvalContext&)
{
    const auto start = dayOf(args.number(0)), end = dayOf(args.number(1));
    if (!start || !end || *start > *end)
        return error(ErrorCode::Num);
    const std::string unit = upperCase(args.text(2));
    const Civil a = dateOf(*start), b = dateOf(*end);
    const long long months = (b.y - a.y) * 12 + (b.m - a.m) - (b.d < a.d ? 1 : 0);
    if (unit == "Y")
        return number(static_cast<double>(months / 12));
    if (unit == "M")
        return number(static_cast<double>(months));
    if (unit == "D")
        return number(static_cast<double>(*end - *start));
    if (unit == "YM")
        return number(static_cast<double>(months % 12));
    if (unit == "MD") {
        if (b.d >= a.d)
            return number(static_cast<double>(b.d - a.d));
        long long y = b.y, m = b.m;
        addMonths(y, m, -1);
        return number(static_cast<double>(daysInMonth(y, m) - a.d + b.d < 0 ? 0 : daysInMonth(y, m) - a.d + b.d));
    }
    if (unit == "YD") {
        long long y = b.y;
        if (a.m > b.m || (a.m == b.m && a.d > b.d))
            --y;
        const long long d = std::min(a.d, daysInMonth(y, a.m));
        return number(static_cast<double>(*end - serialOf(y, a.m, d)));
    }
    return error(ErrorCode::Num);
}

// DAYS(end, start): whole days from start to end.
Operand fnDays(Args& args, EvalContext&)
{
    const auto end = dayOf(args.number(0)), start = dayOf(args.number(1));
    if (!start || !end)
        return error(ErrorCode::Num);
    return number(static_cast<double>(*end - *start));
}

} // namespace kxformula::detail

namespace kxformula::detail {

namespace {

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

struct DateToken {
    char code = 0;  // y m d h s (n: minute), a (AM/PM), p (A/P), f (fraction), H M S (elapsed), 0 literal
    int count = 0;
    std::string text;
};

std::string twoDigits(long long v)
{
    return (v < 10 ? "0" : "") + std::to_string(v);
}

std::optional<std::vector<DateToken>> tokenizeDate(std::string_view f)
{
    std::vector<DateToken> tokens;
    const auto literal = [&](std::string_view s) {
        if (tokens.empty() || tokens.back().code != 0)
            tokens.push_back({});
        tokens.back().text += s;
    };
    bool anyCode = false;
    for (std::size_t i = 0; i < f.size();) {
        const char c = f[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '"') {
            const std::size_t end = f.find('"', i + 1);
            if (end == std::string_view::npos)
                return std::nullopt;
            literal(f.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == '\\' && i + 1 < f.size()) {
            literal(f.substr(i + 1, 1));
            i += 2;
        } else if (c == '[') {
            const std::size_t end = f.find(']', i);
            if (end == std::string_view::npos)
                return std::nullopt;
            const std::string inside = upperCase(f.substr(i + 1, end - i - 1));
            if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string::npos
                && (inside[0] == 'H' || inside[0] == 'M' || inside[0] == 'S')) {
                tokens.push_back({inside[0], static_cast<int>(inside.size()), {}});
                anyCode = true;
            } // colours and locale codes ([Red], [$-409]) are left out
            i = end + 1;
        } else if (upperCase(f.substr(i, 5)) == "AM/PM") {
            tokens.push_back({'a', 1, {}});
            i += 5;
        } else if (upperCase(f.substr(i, 3)) == "A/P") {
            tokens.push_back({'p', 1, {}});
            i += 3;
        } else if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 's') {
            std::size_t j = i;
            while (j < f.size() && std::tolower(static_cast<unsigned char>(f[j])) == lower)
                ++j;
            tokens.push_back({lower, static_cast<int>(j - i), {}});
            anyCode = true;
            i = j;
        } else if (c == '.' && i + 1 < f.size() && f[i + 1] == '0' && !tokens.empty()
                   && (tokens.back().code == 's' || tokens.back().code == 'S')) {
            std::size_t j = i + 1;
            while (j < f.size() && f[j] == '0')
                ++j;
            tokens.push_back({'f', static_cast<int>(std::min<std::size_t>(j - i - 1, 3)), {}});
            i = j;
        } else if (c == '0' || c == '#' || c == '?' || c == '@' || c == '*' || c == '_') {
            return std::nullopt; // number placeholders mixed with dates: not a date format
        } else {
            literal(f.substr(i, 1));
            ++i;
        }
    }
    if (!anyCode)
        return std::nullopt;
    // m is a minute right after an hour or right before a second (literals between do not count).
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].code != 'm' || tokens[i].count > 2)
            continue;
        std::size_t k = i;
        while (k > 0 && tokens[k - 1].code == 0)
            --k;
        const bool afterHour = k > 0 && (tokens[k - 1].code == 'h' || tokens[k - 1].code == 'H');
        std::size_t n = i + 1;
        while (n < tokens.size() && tokens[n].code == 0)
            ++n;
        const bool beforeSecond = n < tokens.size() && (tokens[n].code == 's' || tokens[n].code == 'S');
        if (afterHour || beforeSecond)
            tokens[i].code = 'n';
    }
    return tokens;
}

} // namespace

std::optional<std::string> formatDateTime(double serial, std::string_view format)
{
    const std::string_view section = format.substr(0, format.find(';'));
    const auto tokens = tokenizeDate(section);
    if (!tokens || !(serial >= 0) || serial >= static_cast<double>(kLastSerial + 1))
        return std::nullopt;
    int fraction = 0;
    bool twelveHour = false;
    for (const DateToken& t : *tokens) {
        fraction = t.code == 'f' ? std::max(fraction, t.count) : fraction;
        twelveHour = twelveHour || t.code == 'a' || t.code == 'p';
    }
    // Everything is rounded once, at the finest unit shown, so 23:59:59.7 shown to the second is
    // the next day's midnight.
    const long long unitsPerSecond = fraction == 0 ? 1 : fraction == 1 ? 10 : fraction == 2 ? 100 : 1000;
    const long long units = std::llround(serial * 86400.0 * static_cast<double>(unitsPerSecond));
    const long long perDay = 86400 * unitsPerSecond;
    const long long day = units / perDay;
    const long long inDay = units % perDay;
    const long long seconds = inDay / unitsPerSecond;
    const long long part = inDay % unitsPerSecond;
    const Civil date = dateOf(day);
    const long long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
    std::string out;
    for (const DateToken& t : *tokens) {
        switch (t.code) {
        case 0: out += t.text; break;
        case 'y': out += t.count <= 2 ? twoDigits(date.y % 100) : std::to_string(date.y); break;
        case 'm':
            if (t.count == 1)
                out += std::to_string(date.m);
            else if (t.count == 2)
                out += twoDigits(date.m);
            else if (t.count == 3)
                out += std::string(kMonthNames[date.m - 1]).substr(0, 3);
            else if (t.count == 4)
                out += kMonthNames[date.m - 1];
            else
                out += kMonthNames[date.m - 1][0];
            break;
        case 'd': {
            const int weekday = static_cast<int>((day + 6) % 7);
            if (t.count == 1)
                out += std::to_string(date.d);
            else if (t.count == 2)
                out += twoDigits(date.d);
            else if (t.count == 3)
                out += std::string(kDayNames[weekday]).substr(0, 3);
            else
                out += kDayNames[weekday];
            break;
        }
        case 'h': {
            long long h = hour;
            if (twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            out += t.count >= 2 ? twoDigits(h) : std::to_string(h);
            break;
        }
        case 'n': out += t.count >= 2 ? twoDigits(minute) : std::to_string(minute); break;
        case 's': out += t.count >= 2 ? twoDigits(second) : std::to_string(second); break;
        case 'H': out += std::to_string(day * 24 + hour); break;
        case 'M': out += std::to_string((day * 24 + hour) * 60 + minute); break;
        case 'S': out += std::to_string(((day * 24 + hour) * 60 + minute) * 60 + second); break;
        case 'a': out += hour < 12 ? "AM" : "PM"; break;
        case 'p': out += hour < 12 ? "A" : "P"; break;
        case 'f': {
            std::string digits = std::to_string(part);
            digits.insert(0, static_cast<std::size_t>(fraction) - std::min<std::size_t>(digits.size(), fraction), '0');
            out += "." + digits.substr(0, static_cast<std::size_t>(t.count));
            break;
        }
        default: break;
        }
    }
    return out;
}

} // namespace kxformula::detail
