// Windows-1252, the single-byte code page the settings files of peer installations are written in,
// and the UTF-8 the program holds (decoded and encoded by platform/win/Utf8.h). Private to
// src/sheetedit.
#pragma once

#include "platform/win/Utf8.h"

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
            kxutf8::encode(kCp1252High[b - 0x80], out);
        else
            kxutf8::encode(b, out);
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

} // namespace kxsheet
