// UTF-8 decoding, case mapping and wildcard matching for the text functions and comparisons.
#include "platform/formula/Text.h"

#include <vector>

namespace kxformula::detail {

namespace {

// A wildcard match may backtrack; past this many steps it gives up, so that a hostile pattern
// against a long text costs milliseconds, not minutes.
constexpr std::size_t kWildcardBudget = 4'000'000;

std::u32string decodeAll(std::string_view text) { return kxutf8::decodeAll(text, kxutf8::BadByte::Replacement); }

char32_t fold(char32_t c)
{
    return toLower(toUpper(c));
}

// Matches pattern[pi..] against text[ti..] as a whole, with the classic single-backtrack-point
// algorithm (each * remembers where it may grow). Returns false when the budget runs out.
bool matchFrom(const std::u32string& pattern, std::size_t pi, const std::u32string& text, std::size_t ti,
               bool prefixOnly, std::size_t& budget)
{
    std::size_t starP = std::u32string::npos, starT = 0;
    while (true) {
        if (budget == 0)
            return false;
        --budget;
        if (pi == pattern.size()) {
            if (prefixOnly || ti == text.size())
                return true;
        } else if (pattern[pi] == U'*') {
            starP = pi++;
            starT = ti;
            continue;
        } else if (ti < text.size()) {
            char32_t p = pattern[pi];
            std::size_t step = 1;
            bool any = false;
            if (p == U'~' && pi + 1 < pattern.size()) {
                p = pattern[pi + 1];
                step = 2;
            } else if (p == U'?') {
                any = true;
            }
            if (any || fold(p) == fold(text[ti])) {
                pi += step;
                ++ti;
                continue;
            }
        }
        if (starP == std::u32string::npos || starT >= text.size())
            return false;
        pi = starP + 1;
        ti = ++starT;
    }
}

} // namespace

std::size_t charCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        decodeUtf8(text, pos);
    return count;
}

std::size_t byteOffset(std::string_view text, std::size_t chars)
{
    std::size_t pos = 0;
    for (std::size_t i = 0; i < chars && pos < text.size(); ++i)
        decodeUtf8(text, pos);
    return pos;
}

bool tooLong(std::string_view text)
{
    return text.size() > kMaxTextChars && charCount(text) > kMaxTextChars;
}

// Latin as everywhere in the program (kxutf8), then Greek and Cyrillic, which the text functions
// map too.
char32_t toUpper(char32_t c)
{
    if (c < 0x180)
        return kxutf8::toUpperChar(c);
    if (c >= 0x3B1 && c <= 0x3C9)
        return c == 0x3C2 ? 0x3A3 : c - 32;
    if (c == 0x3AC)
        return 0x386;
    if (c >= 0x3AD && c <= 0x3AF)
        return c - 37;
    if (c == 0x3CC)
        return 0x38C;
    if (c == 0x3CD || c == 0x3CE)
        return c - 63;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

char32_t toLower(char32_t c)
{
    if (c < 0x180)
        return kxutf8::toLowerChar(c);
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 32;
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 63;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

namespace {

template <typename Map>
std::string mapText(std::string_view text, Map map)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = decodeUtf8(text, pos);
        if (c < 0x80 || (c == 0xFFFD && pos - start == 1)) {
            // ASCII fast path; invalid bytes pass through unchanged.
            out += c < 0x80 ? static_cast<char>(map(c)) : text[start];
            continue;
        }
        appendUtf8(out, map(c));
    }
    return out;
}

} // namespace

std::string upperCase(std::string_view text)
{
    return mapText(text, [](char32_t c) { return toUpper(c); });
}

std::string lowerCase(std::string_view text)
{
    return mapText(text, [](char32_t c) { return toLower(c); });
}

std::string foldCase(std::string_view text)
{
    return mapText(text, [](char32_t c) { return fold(c); });
}

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
        char32_t cx, cy;
        if (x < 0x80 && y < 0x80) {
            cx = (x >= 'A' && x <= 'Z') ? x + 32u : x;
            cy = (y >= 'A' && y <= 'Z') ? y + 32u : y;
            ++i;
            ++j;
        } else {
            cx = fold(decodeUtf8(a, i));
            cy = fold(decodeUtf8(b, j));
        }
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool hasWildcards(std::string_view pattern)
{
    return pattern.find_first_of("*?~") != std::string_view::npos;
}

bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    std::size_t budget = kWildcardBudget;
    return matchFrom(decodeAll(pattern), 0, decodeAll(text), 0, /*prefixOnly=*/false, budget);
}

std::size_t wildcardSearch(std::string_view pattern, std::string_view text, std::size_t from)
{
    const std::u32string p = decodeAll(pattern);
    const std::u32string t = decodeAll(text);
    std::size_t budget = kWildcardBudget;
    for (std::size_t start = from; start <= t.size(); ++start) {
        if (matchFrom(p, 0, t, start, /*prefixOnly=*/true, budget))
            return start;
        if (budget == 0)
            break;
    }
    return std::string_view::npos;
}

} // namespace kxformula::detail
