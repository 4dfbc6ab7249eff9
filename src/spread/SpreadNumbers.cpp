// The locale-independent reading of a number at the start of a cell text.
#include "spread/SpreadNumbers.h"

#include <charconv>
#include <limits>
#include <string>

namespace kxss {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

double leadingDouble(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when digits follow it ("2e" is 2, "2e+" is 2).
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        } else {
            negativeExponent = false;
        }
    }
    // from_chars refuses a leading '+', and the sign was taken off above anyway.
    std::string body(text.substr(start, i - start));
    double value = 0.0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::max();
    else if (result.ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

} // namespace kxss
