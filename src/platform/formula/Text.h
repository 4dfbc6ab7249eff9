// UTF-8 text helpers of the formula engine: characters counted as code points, case mapping for
// Latin, Greek and Cyrillic letters, case-insensitive comparison and wildcard matching (* ? ~).
// Texts from cells may hold invalid UTF-8: every helper takes a bad byte as one character (U+FFFD)
// and never reads past the end. Decoding is the program's one decoder, header-only, so the engine
// still links nothing but the standard library. Private to platform/formula.
#pragma once

#include "platform/win/Utf8.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kxformula::detail {

// The longest text a formula produces, in characters; longer results are #VALUE!.
inline constexpr std::size_t kMaxTextChars = 32767;

inline bool isValidUtf8(std::string_view text) { return kxutf8::isValid(text); }
// Decodes the character at pos and moves pos past it; a bad byte gives U+FFFD and moves one byte.
inline char32_t decodeUtf8(std::string_view text, std::size_t& pos)
{
    return kxutf8::next(text, pos, kxutf8::BadByte::Replacement);
}
inline void appendUtf8(std::string& out, char32_t c) { kxutf8::encode(c, out); }

std::size_t charCount(std::string_view text);
// Byte offset of the character with index `chars` (0-based), or text.size() when past the end.
std::size_t byteOffset(std::string_view text, std::size_t chars);
// True when the text is longer than kMaxTextChars characters.
bool tooLong(std::string_view text);

char32_t toUpper(char32_t c);
char32_t toLower(char32_t c);
std::string upperCase(std::string_view text);
std::string lowerCase(std::string_view text);
// The text with every letter in one case, for comparisons that ignore case.
std::string foldCase(std::string_view text);

// <0, 0, >0 comparing character by character without regard to case.
int compareIgnoringCase(std::string_view a, std::string_view b);

bool hasWildcards(std::string_view pattern);
// Whether the pattern matches the whole text, ignoring case; * any run, ? one character, ~ takes
// the next character literally. Gives up (false) after a bounded amount of work.
bool wildcardMatch(std::string_view pattern, std::string_view text);
// Character index (0-based) of the first place at or after `from` where the pattern matches a
// part of the text, ignoring case; npos when there is none.
std::size_t wildcardSearch(std::string_view pattern, std::string_view text, std::size_t from);

} // namespace kxformula::detail
