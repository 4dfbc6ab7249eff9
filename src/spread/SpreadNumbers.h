// Numbers read from cell texts the way the wrapper's callers always read them (a number at the
// start of the text, 0 when there is none), without the process locale: a host that set a
// decimal-comma locale must read "22.40" as 22.4, not 22. Private to this folder.
#pragma once

#include <string_view>

namespace kxss {

// The number at the start of `text` as the C library's atof reads it in the "C" locale: leading
// blanks, a sign, digits with one decimal point, an exponent; what follows is ignored ("12abc" is
// 12) and a text without a number gives 0. Unlike atof, never reads "nan", "inf" or hexadecimal
// ("0x10" is 0); a number beyond the double range gives the largest double of its sign, one too
// small for a double gives 0.
double leadingDouble(std::string_view text);

} // namespace kxss
