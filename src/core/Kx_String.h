// Kx_String: the core module's text type. UTF-8 inside; positions and lengths count characters
// (code points), so no operation can cut a multi-byte character in two. A byte that does not belong
// to a well-formed UTF-8 sequence (a damaged or Latin-1 file) is one character of its own: it is
// kept, counted and matched like any other and never crashes anything.
#pragma once

#include "core/KxCoreExport.h"

#include <compare>
#include <string>
#include <string_view>

class KXCORE_API Kx_String {
public:
    Kx_String() = default;
    Kx_String(const char* text);  // NOLINT: implicit, texts are passed as literals everywhere
    Kx_String(std::string_view text);
    Kx_String(std::string text);
    // The decimal digits of value.
    explicit Kx_String(int value);
    // value with exactly `decimals` digits after the point (0 to 15; out of range is clamped),
    // always with '.' whatever the process locale. Rounds the stored binary value to nearest, halves
    // away from zero (2.5 -> "3", 0.125 -> "0.13"; 2.675 is stored just below and gives "2.67"); a
    // value that rounds to zero has no minus sign ("0.00", never "-0.00"). NaN gives "nan" and the
    // infinities "inf" and "-inf", texts that toDouble refuses, so they never read back as numbers.
    Kx_String(double value, int decimals);

    // Number of characters.
    int length() const;
    bool isEmpty() const { return m_text.empty(); }
    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }
    std::string_view view() const { return m_text; }

    void set(std::string_view text) { m_text.assign(text); }
    void clear() { m_text.clear(); }

    Kx_String& append(const Kx_String& text);
    Kx_String& append(const char* text);
    Kx_String& append(char c);
    // Adds the decimal digits of value.
    Kx_String& append(int value);
    Kx_String& operator+=(const Kx_String& text) { return append(text); }

    // Inserts text before character pos; pos is clamped to 0..length().
    void insertAt(int pos, const Kx_String& text);
    // Removes count characters from pos; out-of-range parts are ignored (removeAt(-1, 2) removes
    // character 0 only; count <= 0 removes nothing).
    void removeAt(int pos, int count = 1);
    // count characters from pos (to the end when count < 0); empty when pos is out of range.
    Kx_String getSubStringAt(int pos, int count = -1) const;

    // exact == true compares byte for byte; false ignores case (ASCII and the Latin-1 letters), as
    // when a user-typed name is matched. Ignoring case maps each letter of ASCII, Latin-1 and Latin
    // Extended-A to its one-to-one partner (É/é, Ÿ/ÿ, Œ/œ, Ž/ž); ß and the dotted/dotless i are
    // left as they are. A match always starts and ends on character boundaries.
    // Every text has the empty text as substring, prefix and suffix.
    bool hasSubString(const Kx_String& pattern, bool exact = true) const;
    // Replaces every occurrence of oldText by newText, left to right without rescanning what was
    // inserted; returns the number of replacements (0 when oldText is empty).
    int replaceSubString(const Kx_String& oldText, const Kx_String& newText, bool exact = true);
    // Character position of the first occurrence at or after start (start < 0 counts as 0); false
    // when there is none. An empty pattern is never found, so search loops always end.
    bool findFirst(const Kx_String& pattern, bool exact, int& pos, int start = 0) const;
    // Character position of the last occurrence that begins at or before start (start < 0 or past
    // the end: anywhere); false when there is none or the pattern is empty.
    bool findLast(const Kx_String& pattern, bool exact, int& pos, int start = -1) const;
    // Position of the first decimal digit (ASCII 0-9); false when the text holds none.
    bool findFirstNumbers(int& pos) const;
    bool startsWith(const Kx_String& prefix, bool exact = true) const;
    bool endsWith(const Kx_String& suffix, bool exact = true) const;
    bool equal(const Kx_String& other, bool exact) const;

    // The letters that ignoring case pairs up, mapped to one case; everything else, ß included, as it
    // is. Byte and character lengths never change.
    Kx_String toUpper() const;
    Kx_String toLower() const;
    // Leading and trailing blanks (space, tab, CR, LF) removed.
    Kx_String trimmed() const;

    // The whole text as a number, locale-independent; false (value untouched) when it is not one.
    // Blanks around the number are allowed (values come from grids and files with CR LF ends); so is
    // one sign, '+' or '-', directly before the digits. Decimal point only, exponents for doubles
    // ("1.5e3"); refused: "", "2,5", "12abc", "0x10", "nan", "inf", values beyond the type's range
    // ("1e999", "2147483648", and "1e-400", which a double cannot tell from 0), and for toInt anything
    // with a point or exponent.
    bool toInt(int& value) const;
    bool toDouble(double& value) const;

    friend bool operator==(const Kx_String& a, const Kx_String& b) { return a.m_text == b.m_text; }
    friend std::strong_ordering operator<=>(const Kx_String& a, const Kx_String& b)
    {
        return a.m_text.compare(b.m_text) <=> 0;
    }
    friend Kx_String operator+(Kx_String a, const Kx_String& b) { return a.append(b); }

private:
    std::string m_text;
};
