// Kx_String: UTF-8 text with character positions and case-insensitive matching. Characters are
// stepped as Utf8.h defines them, so damaged bytes count as one character each and never crash.
#include "core/Kx_String.h"

#include "core/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr size_t npos = std::string_view::npos;

bool isAscii(std::string_view s) { return kxutf8::asciiPrefix(s) == s.size(); }

// Whether pattern matches text at byte offset at (a character start), character for character, so
// that the match also ends where a character of text ends. Ignoring case keeps byte lengths (see
// toLowerChar), so a match always covers exactly pattern.size() bytes of text.
bool matchesAt(std::string_view text, size_t at, std::string_view pattern, bool exact)
{
    if (pattern.size() > text.size() - at)
        return false;
    if (exact)
        return text.compare(at, pattern.size(), pattern) == 0 && kxutf8::isCharStart(text, at + pattern.size());
    size_t i = 0;
    while (i < pattern.size()) {
        const unsigned char a = kxutf8::byteAt(text, at + i);
        const unsigned char b = kxutf8::byteAt(pattern, i);
        if (a < 0x80 && b < 0x80) {
            if (kxutf8::asciiLower(a) != kxutf8::asciiLower(b))
                return false;
            ++i;
            continue;
        }
        int lenA = 0;
        int lenB = 0;
        const char32_t ca = kxutf8::decode(text, at + i, lenA);
        const char32_t cb = kxutf8::decode(pattern, i, lenB);
        if (lenA != lenB || kxutf8::toLowerChar(ca) != kxutf8::toLowerChar(cb))
            return false;
        i += static_cast<size_t>(lenA);
    }
    return true;
}

// Byte offset of the first match at or after byte offset from (a character start); npos if none.
// pattern is not empty.
size_t findFrom(std::string_view text, std::string_view pattern, bool exact, size_t from)
{
    if (exact) {
        // An ASCII pattern can only match at character starts and end on one: ASCII bytes are whole
        // characters, and a continuation byte after one is a stray character of its own.
        const bool checkBounds = !isAscii(pattern);
        for (size_t at = text.find(pattern, from); at != npos; at = text.find(pattern, at + 1)) {
            if (!checkBounds ||
                (kxutf8::isCharStart(text, at) && kxutf8::isCharStart(text, at + pattern.size())))
                return at;
        }
        return npos;
    }
    for (size_t at = from; at + pattern.size() <= text.size();
         at += static_cast<size_t>(kxutf8::charLength(text, at))) {
        if (matchesAt(text, at, pattern, false))
            return at;
    }
    return npos;
}

// Byte offset of the last match that starts at or before byte offset limit; npos if none.
size_t findLastUpTo(std::string_view text, std::string_view pattern, bool exact, size_t limit)
{
    if (pattern.size() > text.size())
        return npos;
    if (exact) {
        const bool checkBounds = !isAscii(pattern);
        for (size_t at = text.rfind(pattern, limit); at != npos; at = at ? text.rfind(pattern, at - 1) : npos) {
            if (!checkBounds ||
                (kxutf8::isCharStart(text, at) && kxutf8::isCharStart(text, at + pattern.size())))
                return at;
        }
        return npos;
    }
    size_t found = npos;
    for (size_t at = 0; at <= limit && at + pattern.size() <= text.size();
         at += static_cast<size_t>(kxutf8::charLength(text, at))) {
        if (matchesAt(text, at, pattern, false))
            found = at;
    }
    return found;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text of a number as toInt and toDouble accept it: blanks around it removed, then an optional
// sign that must be followed by a digit (or by '.' for a double); a leading '+' is dropped because
// from_chars refuses it. Empty when the text cannot be a number.
std::string_view numberText(std::string_view s, bool allowPoint)
{
    s = trimBlanks(s);
    std::string_view body = s;
    if (!body.empty() && (body.front() == '+' || body.front() == '-'))
        body.remove_prefix(1);
    if (body.empty())
        return {};
    if (!isDigit(body.front()) && !(allowPoint && body.front() == '.' && body.size() > 1 && isDigit(body[1])))
        return {};
    return s.front() == '+' ? body : s;
}

// Fixed-point text of a finite value with `decimals` digits after the point. from_chars-style
// formatting rounds the exact binary value correctly but breaks exact ties to even; people round
// halves away from zero (2.5 -> 3, 0.125 -> 0.13), so a tie is nudged one step outwards first. A
// value is a tie at d decimals exactly when it has d + 1 binary fraction digits: m / 2^k with m odd
// has k decimal fraction digits, the last of them 5.
std::string formatFixed(double value, int decimals)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    if (std::fabs(value) < 9007199254740992.0) {  // 2^53: above it every double is an integer
        const double scaledUp = std::ldexp(value, decimals + 1);
        const double scaled = std::ldexp(value, decimals);
        if (scaledUp == std::trunc(scaledUp) && scaled != std::trunc(scaled))
            value = std::nextafter(value, value > 0 ? std::numeric_limits<double>::infinity()
                                                     : -std::numeric_limits<double>::infinity());
    }
    char buffer[400];  // 309 integer digits, sign, point and 15 decimals at most
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // A small negative value that rounds to zero reads as zero, not "-0.00".
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    return text;
}

} // namespace

Kx_String::Kx_String(const char* text) : m_text(text ? text : "") {}
Kx_String::Kx_String(std::string_view text) : m_text(text) {}
Kx_String::Kx_String(std::string text) : m_text(std::move(text)) {}
Kx_String::Kx_String(int value) : m_text(std::to_string(value)) {}
Kx_String::Kx_String(double value, int decimals) : m_text(formatFixed(value, std::clamp(decimals, 0, 15))) {}

int Kx_String::length() const
{
    return kxutf8::countChars(m_text);
}

Kx_String& Kx_String::append(const Kx_String& text)
{
    m_text += text.m_text;
    return *this;
}

Kx_String& Kx_String::append(const char* text)
{
    if (text)
        m_text += text;
    return *this;
}

Kx_String& Kx_String::append(char c)
{
    m_text += c;
    return *this;
}

Kx_String& Kx_String::append(int value)
{
    m_text += std::to_string(value);
    return *this;
}

void Kx_String::insertAt(int pos, const Kx_String& text)
{
    const size_t at = pos <= 0 ? 0 : kxutf8::byteOffset(m_text, pos);
    m_text.insert(at, text.m_text);
}

void Kx_String::removeAt(int pos, int count)
{
    // Keep only the part of [pos, pos + count) that lies inside the text; 64 bits so that
    // pos + count cannot overflow.
    std::int64_t first = pos;
    std::int64_t last = static_cast<std::int64_t>(pos) + count;
    first = std::max<std::int64_t>(first, 0);
    if (last <= first)
        return;
    const size_t from = kxutf8::byteOffset(m_text, static_cast<int>(first));
    if (from >= m_text.size())
        return;
    const std::int64_t n = last - first;
    const size_t to = n >= std::numeric_limits<int>::max()
                          ? m_text.size()
                          : from + kxutf8::byteOffset(std::string_view(m_text).substr(from), static_cast<int>(n));
    m_text.erase(from, to - from);
}

Kx_String Kx_String::getSubStringAt(int pos, int count) const
{
    if (pos < 0 || count == 0)
        return {};
    const size_t from = kxutf8::byteOffset(m_text, pos);
    if (from >= m_text.size())
        return {};
    const std::string_view rest = std::string_view(m_text).substr(from);
    if (count < 0)
        return Kx_String(rest);
    return Kx_String(rest.substr(0, kxutf8::byteOffset(rest, count)));
}

bool Kx_String::hasSubString(const Kx_String& pattern, bool exact) const
{
    return pattern.isEmpty() || findFrom(m_text, pattern.m_text, exact, 0) != npos;
}

int Kx_String::replaceSubString(const Kx_String& oldText, const Kx_String& newText, bool exact)
{
    if (oldText.isEmpty())
        return 0;
    std::string result;
    int count = 0;
    size_t done = 0;
    for (size_t at = findFrom(m_text, oldText.m_text, exact, 0); at != npos;
         at = findFrom(m_text, oldText.m_text, exact, done)) {
        if (count == 0)
            result.reserve(m_text.size());
        result.append(m_text, done, at - done);
        result += newText.m_text;
        done = at + oldText.m_text.size();
        ++count;
    }
    if (count > 0) {
        result.append(m_text, done, npos);
        m_text = std::move(result);
    }
    return count;
}

bool Kx_String::findFirst(const Kx_String& pattern, bool exact, int& pos, int start) const
{
    if (pattern.isEmpty())
        return false;
    const int first = std::max(start, 0);
    const size_t from = kxutf8::byteOffset(m_text, first);
    const size_t at = findFrom(m_text, pattern.m_text, exact, from);
    if (at == npos)
        return false;
    pos = first + kxutf8::countChars(m_text, from, at);
    return true;
}

bool Kx_String::findLast(const Kx_String& pattern, bool exact, int& pos, int start) const
{
    if (pattern.isEmpty())
        return false;
    const size_t limit = start < 0 ? m_text.size() : kxutf8::byteOffset(m_text, start);
    const size_t at = findLastUpTo(m_text, pattern.m_text, exact, limit);
    if (at == npos)
        return false;
    pos = kxutf8::countChars(m_text, 0, at);
    return true;
}

bool Kx_String::findFirstNumbers(int& pos) const
{
    const auto it = std::find_if(m_text.begin(), m_text.end(), isDigit);
    if (it == m_text.end())
        return false;
    pos = kxutf8::countChars(m_text, 0, static_cast<size_t>(it - m_text.begin()));
    return true;
}

bool Kx_String::startsWith(const Kx_String& prefix, bool exact) const
{
    return matchesAt(m_text, 0, prefix.m_text, exact);
}

bool Kx_String::endsWith(const Kx_String& suffix, bool exact) const
{
    if (suffix.m_text.size() > m_text.size())
        return false;
    const size_t at = m_text.size() - suffix.m_text.size();
    return kxutf8::isCharStart(m_text, at) && matchesAt(m_text, at, suffix.m_text, exact);
}

bool Kx_String::equal(const Kx_String& other, bool exact) const
{
    if (exact)
        return m_text == other.m_text;
    return m_text.size() == other.m_text.size() && matchesAt(m_text, 0, other.m_text, false);
}

Kx_String Kx_String::toUpper() const
{
    return Kx_String(kxutf8::mapChars(m_text, kxutf8::toUpperChar));
}

Kx_String Kx_String::toLower() const
{
    return Kx_String(kxutf8::mapChars(m_text, kxutf8::toLowerChar));
}

Kx_String Kx_String::trimmed() const
{
    return Kx_String(trimBlanks(m_text));
}

bool Kx_String::toInt(int& value) const
{
    const std::string_view text = numberText(m_text, /*allowPoint=*/false);
    if (text.empty())
        return false;
    int parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

bool Kx_String::toDouble(double& value) const
{
    const std::string_view text = numberText(m_text, /*allowPoint=*/true);
    if (text.empty())
        return false;
    double parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}
