// Utf8: the one UTF-8 decoder and encoder of the program, header-only so that every library can
// use it, the formula engine too, which links nothing but the standard library. Case mapping here
// covers Latin-1 and Latin Extended-A; callers that map more scripts extend it for themselves.
//
// One rule defines a character everywhere: a well-formed UTF-8 sequence (no overlong forms, no
// surrogates, nothing above U+10FFFF, not cut short), or else one single byte. So a stray byte of a
// damaged file is a character of its own, counts 1, and cannot swallow the bytes after it. What
// that byte decodes to is the caller's choice (BadByte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kxutf8 {

// Code given to a byte that does not start a well-formed sequence: U+DC00 plus the byte. Those are
// surrogates, which a well-formed sequence never decodes to, so a stray byte equals only itself.
inline constexpr char32_t kStrayBase = 0xDC00;
inline constexpr char32_t kReplacementChar = 0xFFFD;

// What a byte that starts no well-formed sequence decodes to; either way it is one character of
// one byte.
enum class BadByte {
    Stray,        // kStrayBase + the byte: encode() gives the byte back, so text survives unchanged
    Replacement,  // U+FFFD, for text where a bad byte is only something unreadable
};

inline bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

inline unsigned char byteAt(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

inline bool isStray(char32_t c) { return c >= kStrayBase + 0x80 && c <= kStrayBase + 0xFF; }

// Byte length of the well-formed sequence that starts at s[i] (i < s.size()), or 0 when the byte
// there starts none.
inline int sequenceLength(std::string_view s, size_t i)
{
    const unsigned char b0 = byteAt(s, i);
    if (b0 < 0x80)
        return 1;
    const size_t left = s.size() - i;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return left >= 2 && isContinuation(byteAt(s, i + 1)) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3)
            return 0;
        const unsigned char b1 = byteAt(s, i + 1);
        const unsigned char lo = b0 == 0xE0 ? 0xA0 : 0x80;  // E0 80..9F would be overlong
        const unsigned char hi = b0 == 0xED ? 0x9F : 0xBF;  // ED A0..BF would be a surrogate
        return b1 >= lo && b1 <= hi && isContinuation(byteAt(s, i + 2)) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4)
            return 0;
        const unsigned char b1 = byteAt(s, i + 1);
        const unsigned char lo = b0 == 0xF0 ? 0x90 : 0x80;  // F0 80..8F would be overlong
        const unsigned char hi = b0 == 0xF4 ? 0x8F : 0xBF;  // F4 90.. would pass U+10FFFF
        return b1 >= lo && b1 <= hi && isContinuation(byteAt(s, i + 2)) && isContinuation(byteAt(s, i + 3))
                   ? 4
                   : 0;
    }
    return 0;
}

// Byte length of the character that starts at s[i] (i < s.size()): a bad byte is a character of 1.
inline int charLength(std::string_view s, size_t i)
{
    const int n = sequenceLength(s, i);
    return n == 0 ? 1 : n;
}

// The code point of the character at s[i] (i < s.size()); len receives its byte length.
inline char32_t decode(std::string_view s, size_t i, int& len, BadByte bad = BadByte::Stray)
{
    len = sequenceLength(s, i);
    const unsigned char b0 = byteAt(s, i);
    switch (len) {
    case 0:
        len = 1;
        return bad == BadByte::Stray ? kStrayBase + b0 : kReplacementChar;
    case 1:
        return b0;
    case 2:
        return (char32_t(b0 & 0x1F) << 6) | (byteAt(s, i + 1) & 0x3F);
    case 3:
        return (char32_t(b0 & 0x0F) << 12) | (char32_t(byteAt(s, i + 1) & 0x3F) << 6) | (byteAt(s, i + 2) & 0x3F);
    default:
        return (char32_t(b0 & 0x07) << 18) | (char32_t(byteAt(s, i + 1) & 0x3F) << 12) |
               (char32_t(byteAt(s, i + 2) & 0x3F) << 6) | (byteAt(s, i + 3) & 0x3F);
    }
}

// Decodes the character at s[pos] (pos < s.size()) and moves pos past it.
inline char32_t next(std::string_view s, size_t& pos, BadByte bad = BadByte::Stray)
{
    int len = 0;
    const char32_t c = decode(s, pos, len, bad);
    pos += static_cast<size_t>(len);
    return c;
}

// Whether s is well-formed UTF-8 throughout.
inline bool isValid(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const int n = sequenceLength(s, i);
        if (n == 0)
            return false;
        i += static_cast<size_t>(n);
    }
    return true;
}

// Appends the UTF-8 form of c. A stray (see kStrayBase) becomes its byte again, so decoding with
// BadByte::Stray and encoding gives back the bytes exactly. Callers that take code points from
// outside (typed characters) check them first: other surrogates and values past U+10FFFF are
// written in the pattern's form and do not make well-formed UTF-8.
inline void encode(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (isStray(c)) {
        out += static_cast<char>(c - kStrayBase);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Whether c is a Unicode scalar value (no surrogate, nothing past U+10FFFF): what typing gives.
inline bool isScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Every character of s, one code point each (bad bytes as `bad` says).
inline std::u32string decodeAll(std::string_view s, BadByte bad = BadByte::Stray)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();)
        out += next(s, pos, bad);
    return out;
}

// The UTF-8 form of text, strays as their bytes, so that decodeAll(s) gives back s. Other
// surrogates and values past U+10FFFF have no UTF-8 form and are left out.
inline std::string encodeAll(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (isScalarValue(c) || isStray(c))
            encode(c, out);
    }
    return out;
}

// Whether byte offset i is where a character starts (the end of s counts as one). Only the three
// bytes before i matter: a byte that is not a continuation byte always starts a character, and no
// character is longer than four bytes.
inline bool isCharStart(std::string_view s, size_t i)
{
    if (i == 0 || i >= s.size() || !isContinuation(byteAt(s, i)))
        return true;
    const size_t lowest = i >= 3 ? i - 3 : 0;
    for (size_t j = i; j-- > lowest;) {
        if (!isContinuation(byteAt(s, j)))
            return j + static_cast<size_t>(charLength(s, j)) <= i;
    }
    return true;
}

// Length of the leading run of ASCII bytes, eight at a time: nearly every text the add-on handles is
// ASCII, and this keeps counting and positioning as cheap as for plain bytes.
inline size_t asciiPrefix(std::string_view s, size_t from = 0)
{
    size_t i = from;
    const size_t n = s.size();
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
        i += 8;
    }
    while (i < n && byteAt(s, i) < 0x80)
        ++i;
    return i;
}

// Number of characters in s[from, to); from must be a character start.
inline int countChars(std::string_view s, size_t from = 0, size_t to = std::string_view::npos)
{
    if (to > s.size())
        to = s.size();
    std::string_view part = s.substr(0, to);
    size_t count = 0;
    size_t i = from;
    while (i < to) {
        const size_t ascii = asciiPrefix(part, i);
        count += ascii - i;
        i = ascii;
        if (i < to) {
            i += static_cast<size_t>(charLength(part, i));
            ++count;
        }
    }
    return static_cast<int>(count);
}

// Byte offset of character pos (pos >= 0); s.size() when pos is at or past the end.
inline size_t byteOffset(std::string_view s, int pos)
{
    size_t i = 0;
    size_t left = static_cast<size_t>(pos);
    while (left > 0 && i < s.size()) {
        const size_t ascii = asciiPrefix(s.substr(0, i + left), i);
        left -= ascii - i;
        i = ascii;
        if (left > 0 && i < s.size()) {
            i += static_cast<size_t>(charLength(s, i));
            --left;
        }
    }
    return i;
}

inline bool isAsciiUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
inline bool isAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
inline unsigned char asciiLower(unsigned char c) { return isAsciiUpper(c) ? c + ('a' - 'A') : c; }

// Lower-case partner of a letter of ASCII, Latin-1 or Latin Extended-A; other code points map to
// themselves. Every pair has the same UTF-8 length, so folding never moves a character boundary.
// Letters without a one-to-one partner (ß, ı, İ, ĸ, ŉ, ſ) are left alone.
inline char32_t toLowerChar(char32_t c)
{
    if (c < 0x80)
        return isAsciiUpper(static_cast<unsigned char>(c)) ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE)
        return c == 0xD7 ? c : c + 0x20;  // 0xD7 is the multiplication sign
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;  // upper case even, lower case odd
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c + 1 : c;  // upper case odd, lower case even
    if (c == 0x178)
        return 0xFF;  // Ÿ -> ÿ
    return c;
}

inline char32_t toUpperChar(char32_t c)
{
    if (c < 0x80)
        return isAsciiLower(static_cast<unsigned char>(c)) ? c - 0x20 : c;
    if (c >= 0xE0 && c <= 0xFE)
        return c == 0xF7 ? c : c - 0x20;  // 0xF7 is the division sign
    if (c == 0xFF)
        return 0x178;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c & ~char32_t(1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c : c - 1;
    return c;
}

// s with every character mapped by map (toLowerChar or toUpperChar); byte length is unchanged.
template <typename Map>
std::string mapChars(std::string_view s, Map map)
{
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = byteAt(s, i);
        if (b < 0x80) {
            out += static_cast<char>(map(char32_t(b)));
            ++i;
            continue;
        }
        int len = 0;
        const char32_t c = decode(s, i, len);
        const char32_t mapped = map(c);
        if (mapped == c)
            out.append(s.substr(i, static_cast<size_t>(len)));
        else
            encode(mapped, out);
        i += static_cast<size_t>(len);
    }
    return out;
}

// The form in which two texts compare equal when case is ignored.
inline std::string foldCase(std::string_view s) { return mapChars(s, toLowerChar); }

} // namespace kxutf8
