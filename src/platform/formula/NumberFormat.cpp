// The number formats TEXT understands: digit placeholders 0 # ?, the decimal point, thousands
// separators and scaling commas, percent, scientific E+/E-, literal texts ("..." and \x), up to three
// sections (positive;negative;zero) and "General". Date and time codes are not read here: such a
// format gives nothing, and TEXT tries formatDateTime (FunctionsDate.cpp).
#include "platform/formula/Functions.h"

#include "platform/formula/Numbers.h"
#include "platform/formula/Text.h"

#include <cmath>
#include <vector>

namespace kxformula::detail {

namespace {

struct Token {
    enum Kind { Literal, Digit, Point, Percent, Exponent } kind;
    char ch = 0;      // the placeholder (0 # ?) or the exponent sign
    std::string text; // literal text
};

std::vector<std::string_view> splitSections(std::string_view format)
{
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '\\')
            ++i;
        else if (!quoted && c == ';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

bool isGeneral(std::string_view s)
{
    return upperCase(s) == "GENERAL";
}

struct Pattern {
    std::vector<Token> tokens;
    bool grouping = false;
    int scaleThousands = 0;
    int percents = 0;
    bool hasExponent = false;
    bool textOnly = false; // '@'
};

bool isPlaceholder(char c)
{
    return c == '0' || c == '#' || c == '?';
}

std::optional<Pattern> parsePattern(std::string_view s)
{
    Pattern p;
    bool afterPoint = false, afterExponent = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            const std::size_t end = s.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? s.size() : end;
            p.tokens.push_back({Token::Literal, 0, std::string(s.substr(i + 1, stop - i - 1))});
            i = stop;
        } else if (c == '\\' || c == '_' || c == '*') {
            if (i + 1 < s.size()) {
                std::size_t next = i + 1;
                const std::size_t before = next;
                decodeUtf8(s, next);
                if (c == '\\')
                    p.tokens.push_back({Token::Literal, 0, std::string(s.substr(before, next - before))});
                else if (c == '_')
                    p.tokens.push_back({Token::Literal, 0, " "});
                i = next - 1;
            }
        } else if (isPlaceholder(c)) {
            p.tokens.push_back({Token::Digit, c, {}});
        } else if (c == '.' && !afterPoint && !afterExponent) {
            afterPoint = true;
            p.tokens.push_back({Token::Point, c, {}});
        } else if (c == ',') {
            const bool prevDigit = !p.tokens.empty() && p.tokens.back().kind == Token::Digit;
            const bool nextDigit = i + 1 < s.size() && isPlaceholder(s[i + 1]);
            if (prevDigit && nextDigit && !afterPoint)
                p.grouping = true;
            else if (prevDigit)
                ++p.scaleThousands; // a comma after the last digit divides by a thousand
            else
                p.tokens.push_back({Token::Literal, 0, ","});
        } else if (c == '%') {
            ++p.percents;
            p.tokens.push_back({Token::Percent, c, {}});
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')
                   && !afterExponent) {
            afterExponent = true;
            p.hasExponent = true;
            p.tokens.push_back({Token::Exponent, s[i + 1], {}});
            ++i;
        } else if (c == '@') {
            p.textOnly = true;
        } else if (c == '[' || std::string_view("dDmMyYhHsS").find(c) != std::string_view::npos) {
            return std::nullopt; // dates, times, colours, conditions
        } else {
            std::size_t next = i;
            decodeUtf8(s, next);
            p.tokens.push_back({Token::Literal, 0, std::string(s.substr(i, next - i))});
            i = next - 1;
        }
    }
    return p;
}

std::string groupThousands(const std::string& digits)
{
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// The k-th digit of a decimal's digit string, zeros outside it.
char digitAt(const Decimal& d, long k)
{
    return k >= 0 && k < static_cast<long>(d.digits.size()) ? d.digits[static_cast<std::size_t>(k)] : '0';
}

std::string fillerFor(char placeholder)
{
    return placeholder == '0' ? "0" : placeholder == '?' ? " " : "";
}

} // namespace

std::optional<std::string> formatWithPattern(double number, std::string_view format)
{
    if (format.empty())
        return std::string();
    const std::vector<std::string_view> sections = splitSections(format);
    std::size_t which = 0;
    bool minus = false;
    if (number < 0 && sections.size() >= 2) {
        which = 1;
        number = -number;
    } else if (number == 0 && sections.size() >= 3) {
        which = 2;
    } else if (number < 0) {
        minus = true;
        number = -number;
    }
    const std::string_view section = sections[which];
    if (isGeneral(section))
        return (minus ? "-" : "") + formatGeneral(number);
    const auto parsed = parsePattern(section);
    if (!parsed)
        return std::nullopt;
    const Pattern& p = *parsed;
    if (p.textOnly && p.tokens.empty())
        return (minus ? "-" : "") + formatGeneral(number);

    for (int k = 0; k < p.percents; ++k)
        number *= 100;
    for (int k = 0; k < p.scaleThousands; ++k)
        number /= 1000;
    if (!std::isfinite(number))
        return std::nullopt;

    // Placeholders by part.
    std::vector<std::size_t> intSlots, decSlots, expSlots;
    int part = 0; // 0 integer, 1 decimals, 2 exponent
    for (std::size_t t = 0; t < p.tokens.size(); ++t) {
        const Token& tok = p.tokens[t];
        if (tok.kind == Token::Point && part == 0)
            part = 1;
        else if (tok.kind == Token::Exponent)
            part = 2;
        else if (tok.kind == Token::Digit)
            (part == 0 ? intSlots : part == 1 ? decSlots : expSlots).push_back(t);
    }
    const long decimals = static_cast<long>(decSlots.size());

    std::string intDigits, fracDigits, expDigits;
    bool expNegative = false;
    if (p.hasExponent) {
        int exponent = 0;
        const long intCount = intSlots.empty() ? 1 : static_cast<long>(intSlots.size());
        Decimal d = toDecimal15(number);
        if (!d.digits.empty()) {
            exponent = d.pointPos - static_cast<int>(intCount);
            d.pointPos = static_cast<int>(intCount);
            d = roundDecimal(d, decimals, RoundMode::Nearest);
            if (d.pointPos > intCount) { // 9.99 rounded up to 10.0
                ++exponent;
                --d.pointPos;
            }
        }
        for (long k = 0; k < d.pointPos; ++k)
            intDigits += digitAt(d, k);
        for (long k = 0; k < decimals; ++k) {
            const long at = d.pointPos + k;
            fracDigits += digitAt(d, at);
        }
        expNegative = exponent < 0;
        expDigits = std::to_string(exponent < 0 ? -exponent : exponent);
        std::size_t minDigits = 0;
        for (const std::size_t t : expSlots)
            minDigits += p.tokens[t].ch == '0';
        while (expDigits.size() < minDigits)
            expDigits.insert(expDigits.begin(), '0');
    } else {
        const Decimal d = roundDecimal(toDecimal15(number), decimals, RoundMode::Nearest);
        for (long k = 0; k < d.pointPos; ++k)
            intDigits += digitAt(d, k);
        for (long k = 0; k < decimals; ++k) {
            const long at = d.pointPos + k;
            fracDigits += digitAt(d, at);
        }
        if (d.digits.empty())
            minus = false; // rounded to zero: no "-0"
    }

    // Decimal places: trailing zeros under '#' vanish, under '?' become spaces.
    std::vector<std::string> decOut(decSlots.size());
    bool trailing = true;
    for (std::size_t k = decSlots.size(); k-- > 0;) {
        const char ph = p.tokens[decSlots[k]].ch;
        const char digit = fracDigits[k];
        if (trailing && digit == '0' && ph != '0')
            decOut[k] = ph == '?' ? " " : "";
        else {
            trailing = false;
            decOut[k] = std::string(1, digit);
        }
    }

    // Integer places, filled from the right; the leftmost takes all further digits.
    std::vector<std::string> intOut(intSlots.size());
    if (!intSlots.empty()) {
        if (p.grouping) {
            std::size_t zeros = 0;
            for (const std::size_t t : intSlots)
                zeros += p.tokens[t].ch == '0';
            std::string digits = intDigits;
            while (digits.size() < zeros)
                digits.insert(digits.begin(), '0');
            intOut[0] = groupThousands(digits);
        } else {
            std::size_t taken = 0;
            for (std::size_t k = intSlots.size(); k-- > 0;) {
                const char ph = p.tokens[intSlots[k]].ch;
                if (k == 0) {
                    const std::string rest = intDigits.substr(0, intDigits.size() - taken);
                    intOut[k] = rest.empty() ? fillerFor(ph) : rest;
                } else if (taken < intDigits.size()) {
                    intOut[k] = std::string(1, intDigits[intDigits.size() - 1 - taken]);
                    ++taken;
                } else {
                    intOut[k] = fillerFor(ph);
                }
            }
        }
    }

    std::string out = minus ? "-" : "";
    std::size_t intIndex = 0, decIndex = 0, expIndex = 0;
    part = 0;
    for (std::size_t t = 0; t < p.tokens.size(); ++t) {
        const Token& tok = p.tokens[t];
        switch (tok.kind) {
        case Token::Literal:
            out += tok.text;
            break;
        case Token::Percent:
            out += '%';
            break;
        case Token::Point:
            out += '.';
            part = 1;
            break;
        case Token::Exponent: {
            part = 2;
            out += 'E';
            if (expNegative)
                out += '-';
            else if (tok.ch == '+')
                out += '+';
            break;
        }
        case Token::Digit:
            if (part == 0)
                out += intOut[intIndex++];
            else if (part == 1)
                out += decOut[decIndex++];
            else if (expIndex++ == 0)
                out += expDigits; // all of the exponent goes where its first placeholder is
            break;
        }
    }
    return out;
}

} // namespace kxformula::detail
