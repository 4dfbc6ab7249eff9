// Windows-1252, the single-byte code page the settings files of peer installations are written in,
// and the UTF-8 the program holds. Private to src/sheetedit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kxsheet {

// Code points of the bytes 0x80-0x9F. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same number, as the platform's own
// conversion does, so that every byte reads and writes back unchanged.
inline constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline void appendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Every byte as its Windows-1252 character, in UTF-8.
inline std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(kCp1252High[b - 0x80], out);
        else
            appendUtf8(b, out);
    }
    return out;
}

// The byte of code point c, or nothing when the code page has no such character.
inline std::optional<unsigned char> cp1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (unsigned i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

// Length of the well-formed UTF-8 sequence at s[i], 0 when the bytes there are none (a stray byte,
// an overlong form, a surrogate, beyond U+10FFFF, cut short). c receives the code point.
inline int utf8Sequence(std::string_view s, std::size_t i, char32_t& c)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = at(i);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    int n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        c = b0 & 0x0F;
        lo = b0 == 0xE0 ? 0xA0 : 0x80;
        hi = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        c = b0 & 0x07;
        lo = b0 == 0xF0 ? 0x90 : 0x80;
        hi = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + static_cast<std::size_t>(n) > s.size() || at(i + 1) < lo || at(i + 1) > hi)
        return 0;
    for (int k = 1; k < n; ++k) {
        const unsigned char b = at(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    return n;
}

inline bool isValidUtf8(std::string_view s)
{
    char32_t c = 0;
    for (std::size_t i = 0; i < s.size();) {
        const int n = utf8Sequence(s, i, c);
        if (n == 0)
            return false;
        i += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace kxsheet
