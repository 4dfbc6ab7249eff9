// Values, error texts and the number-text conversions. All number formatting goes through
// std::to_chars/std::from_chars so that a host process with a decimal-comma locale changes nothing.
#include "platform/formula/Value.h"

#include "platform/formula/Numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kxformula {

namespace {

struct ErrorName {
    ErrorCode code;
    std::string_view text;
};

constexpr std::array<ErrorName, 9> kErrorNames{{
    {ErrorCode::Null, "#NULL!"},
    {ErrorCode::Div0, "#DIV/0!"},
    {ErrorCode::Value, "#VALUE!"},
    {ErrorCode::Ref, "#REF!"},
    {ErrorCode::Name, "#NAME?"},
    {ErrorCode::Num, "#NUM!"},
    {ErrorCode::NA, "#N/A"},
    {ErrorCode::Cycle, "#CYCLE!"},
    {ErrorCode::Syntax, "#ERROR!"},
}};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view errorText(ErrorCode code)
{
    for (const ErrorName& e : kErrorNames)
        if (e.code == code)
            return e.text;
    return "#VALUE!";
}

std::optional<ErrorCode> errorFromText(std::string_view text)
{
    for (const ErrorName& e : kErrorNames)
        if (equalsIgnoringAsciiCase(e.text, text))
            return e.code;
    return std::nullopt;
}

Value Value::number(double number)
{
    if (!std::isfinite(number))
        return error(ErrorCode::Num);
    Value v;
    v.type_ = ValueType::Number;
    v.number_ = number == 0 ? 0.0 : number; // no negative zero in cells
    return v;
}

bool operator==(const Value& a, const Value& b)
{
    if (a.type_ != b.type_)
        return false;
    switch (a.type_) {
    case ValueType::Empty:
        return true;
    case ValueType::Number:
        return std::memcmp(&a.number_, &b.number_, sizeof(double)) == 0;
    case ValueType::Text:
        return a.text_ == b.text_;
    case ValueType::Boolean:
        return a.bool_ == b.bool_;
    case ValueType::Error:
        return a.error_ == b.error_;
    }
    return false;
}

std::string formatGeneral(double number)
{
    if (!std::isfinite(number))
        return std::string(errorText(ErrorCode::Num));
    // Whole numbers of up to 15 digits read the same with 15 significant digits: written directly
    // (most results of a sheet are such numbers).
    if (std::fabs(number) < 1e15 && number == std::trunc(number)) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(number));
        return std::string(buf, r.ptr);
    }
    const detail::Decimal d = detail::toDecimal15(number);
    if (d.digits.empty())
        return "0";
    std::string out = d.negative ? "-" : "";
    const int exponent = d.pointPos - 1;
    const int length = static_cast<int>(d.digits.size());
    if (exponent >= -9 && exponent < 15) {
        if (d.pointPos <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-d.pointPos), '0');
            out += d.digits;
        } else if (d.pointPos >= length) {
            out += d.digits;
            out.append(static_cast<std::size_t>(d.pointPos - length), '0');
        } else {
            out.append(d.digits, 0, static_cast<std::size_t>(d.pointPos));
            out += '.';
            out.append(d.digits, static_cast<std::size_t>(d.pointPos));
        }
        return out;
    }
    out += d.digits[0];
    if (length > 1) {
        out += '.';
        out.append(d.digits, 1);
    }
    out += exponent < 0 ? "E-" : "E+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        out += '0';
    out += std::to_string(magnitude);
    return out;
}

std::optional<double> parseNumber(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    bool percent = false;
    if (end > begin && text[end - 1] == '%') {
        percent = true;
        --end;
        while (end > begin && text[end - 1] == ' ')
            --end;
    }
    std::string clean;
    clean.reserve(end - begin);
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            clean += '-';
        ++i;
    }
    // Integer part, with optional thousands groups: "1,234,567" but not "1,23".
    std::size_t intDigits = 0, groupDigits = 0;
    bool grouped = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            clean += c;
            ++intDigits;
            ++groupDigits;
        } else if (c == ',') {
            if (intDigits == 0 || (grouped && groupDigits != 3) || (!grouped && groupDigits > 3))
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3)
        return std::nullopt;
    std::size_t fracDigits = 0;
    if (i < end && text[i] == '.') {
        clean += '.';
        for (++i; i < end && isDigit(text[i]); ++i) {
            clean += text[i];
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        clean += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            clean += text[i++];
        std::size_t expDigits = 0;
        for (; i < end && isDigit(text[i]); ++i, ++expDigits)
            clean += text[i];
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    bool overflow = false;
    double value = detail::readDecimal(clean, overflow);
    if (overflow)
        return std::nullopt;
    if (percent)
        value /= 100;
    if (!std::isfinite(value))
        return std::nullopt;
    return value == 0 ? 0.0 : value;
}

Value valueFromTyped(std::string_view typed)
{
    if (typed.empty())
        return {};
    if (typed.front() == '\'')
        return Value::text(std::string(typed.substr(1)));
    if (equalsIgnoringAsciiCase(typed, "TRUE") || equalsIgnoringAsciiCase(typed, "FALSE"))
        return Value::boolean(typed.size() == 4);
    if (const auto code = errorFromText(typed))
        return Value::error(*code);
    if (const auto number = parseNumber(typed))
        return Value::number(*number);
    return Value::text(std::string(typed));
}

std::string displayText(const Value& value)
{
    switch (value.type()) {
    case ValueType::Empty:
        return {};
    case ValueType::Number:
        return formatGeneral(value.asNumber());
    case ValueType::Text:
        return value.asText();
    case ValueType::Boolean:
        return value.asBoolean() ? "TRUE" : "FALSE";
    case ValueType::Error:
        return std::string(errorText(value.asError()));
    }
    return {};
}

namespace detail {

Decimal toDecimal15(double number)
{
    Decimal d;
    if (!std::isfinite(number) || number == 0)
        return d;
    char buf[64];
    // "-d.dddddddddddddde+XXX": 15 significant digits, correctly rounded.
    const auto res = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::scientific, 14);
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    std::string digits;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (isDigit(*p))
            digits += *p;
    int exponent = 0;
    if (p < res.ptr && *p == 'e') {
        ++p;
        std::from_chars(*p == '+' ? p + 1 : p, res.ptr, exponent);
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    std::size_t lead = 0;
    while (lead < digits.size() && digits[lead] == '0')
        ++lead;
    digits.erase(0, lead);
    d.digits = std::move(digits);
    d.pointPos = exponent + 1;
    if (d.digits.empty())
        d.negative = false;
    return d;
}

Decimal roundDecimal(Decimal d, long decimals, RoundMode mode)
{
    if (d.digits.empty())
        return d;
    const long length = static_cast<long>(d.digits.size());
    const long keep = static_cast<long>(d.pointPos) + decimals;
    if (keep >= length)
        return d;
    bool up = false;
    if (keep < 0)
        up = mode == RoundMode::AwayFromZero;
    else if (mode == RoundMode::Nearest)
        up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    else
        up = mode == RoundMode::AwayFromZero; // the cut digits hold a non-zero one: no trailing zeros
    if (keep <= 0) {
        if (!up) {
            d.digits.clear();
            d.negative = false;
            d.pointPos = 0;
            return d;
        }
        d.digits = "1";
        d.pointPos = static_cast<int>(1 - decimals);
        return d;
    }
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        long i = keep - 1;
        for (; i >= 0; --i) {
            char& c = d.digits[static_cast<std::size_t>(i)];
            if (c == '9') {
                c = '0';
            } else {
                ++c;
                break;
            }
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty()) {
        d.negative = false;
        d.pointPos = 0;
    }
    return d;
}

double fromDecimal(const Decimal& d)
{
    if (d.digits.empty())
        return 0;
    std::string text = d.negative ? "-0." : "0.";
    text += d.digits;
    text += 'e';
    text += std::to_string(d.pointPos);
    double value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range)
        return d.pointPos > 0 ? (d.negative ? -HUGE_VAL : HUGE_VAL) : 0.0;
    return value;
}

double readDecimal(std::string_view text, bool& overflow)
{
    overflow = false;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::invalid_argument) {
        overflow = true;
        return 0;
    }
    if (ec != std::errc::result_out_of_range)
        return value;
    // Out of range: overflow or underflow, told apart by the decimal exponent of the first
    // significant digit.
    long magnitude = 0;
    bool seenPoint = false, seenDigit = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    long intDigits = 0, leadingFracZeros = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        const char c = text[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenPoint) {
            if (seenDigit || c != '0') {
                seenDigit = true;
                ++intDigits;
            }
        } else if (!seenDigit) {
            if (c == '0')
                ++leadingFracZeros;
            else
                seenDigit = true;
        }
    }
    magnitude = intDigits > 0 ? intDigits - 1 : -leadingFracZeros - 1;
    if (i < text.size()) {
        long exponent = 0;
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            exponent = exponent > 100000 ? exponent : exponent * 10 + (text[i] - '0');
        magnitude += negative ? -exponent : exponent;
    }
    if (magnitude >= 0) {
        overflow = true;
        return 0;
    }
    return 0;
}

double round15(double number)
{
    if (!std::isfinite(number) || number == 0)
        return number == 0 ? 0.0 : number;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::scientific, 14);
    double value = number;
    std::from_chars(buf, res.ptr, value);
    return value;
}

bool sameNumber(double a, double b)
{
    if (a == b)
        return true;
    const double scale = std::fabs(a) > std::fabs(b) ? std::fabs(a) : std::fabs(b);
    if (std::fabs(a - b) > scale * 1e-13)
        return false; // differs well before the 15th digit
    return round15(a) == round15(b);
}

std::string formatShortest(double number)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, number);
    std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    if (e != std::string::npos)
        text[e] = 'E';
    return text;
}

} // namespace detail

} // namespace kxformula
