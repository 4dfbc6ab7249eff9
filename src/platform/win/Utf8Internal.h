// Private to the window layer: UTF-8 sequence checks shared by text measurement and the parsers.
#pragma once

#include <cstddef>
#include <string_view>

namespace kxwin::detail {

// Length of the valid UTF-8 sequence that starts at text[i] (1 for ASCII), or 0 when the byte
// starts none: overlong forms, surrogates, code points past U+10FFFF and cut sequences are invalid.
inline std::size_t utf8SequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    unsigned char lowMin = 0x80;
    unsigned char lowMax = 0xBF;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            lowMin = 0xA0;
        if (c == 0xED)
            lowMax = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            lowMin = 0x90;
        if (c == 0xF4)
            lowMax = 0x8F;
    } else {
        return 0;
    }
    if (i + n > text.size() || byte(i + 1) < lowMin || byte(i + 1) > lowMax)
        return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return n;
}

} // namespace kxwin::detail
