// Decimal helpers shared by the engine's files: numbers cut to the 15 significant digits a
// spreadsheet shows, decimal rounding that does not trip over binary fractions (2.675 rounds to
// 2.68), and the shortest text that reads back as the same number. Private to platform/formula.
#pragma once

#include <string>
#include <string_view>

namespace kxformula::detail {

// value = 0.digits x 10^pointPos; digits has no leading or trailing zeros and is empty for zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int pointPos = 0;
};

enum class RoundMode { Nearest, AwayFromZero, TowardZero };

// A finite number cut to 15 significant digits.
Decimal toDecimal15(double number);
// Rounds to `decimals` places after the point (negative: before it); half goes away from zero.
Decimal roundDecimal(Decimal d, long decimals, RoundMode mode);
double fromDecimal(const Decimal& d);

// A decimal number in C syntax ("-12.5e3"); sets overflow when it is too large for a double (or
// not a number at all) and gives 0 when it is too small.
double readDecimal(std::string_view text, bool& overflow);

// The number cut to 15 significant digits, as a spreadsheet compares and looks numbers up.
double round15(double number);
// Equal as a spreadsheet compares numbers: the same in their first 15 significant digits.
bool sameNumber(double a, double b);
// The shortest text that reads back as exactly this number ("0.1", "1E+20"); for formula texts.
std::string formatShortest(double number);

} // namespace kxformula::detail
