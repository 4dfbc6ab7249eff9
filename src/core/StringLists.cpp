// Splitting, joining, unique names and the natural order of names.
#include "core/StringLists.h"

#include "core/Utf8.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Whether the byte at i is the separator c as a character of its own. ASCII bytes always are whole
// characters; any other byte only when it stands alone (a stray byte, see Utf8.h).
bool isSeparatorAt(std::string_view text, size_t i, char c)
{
    if (text[i] != c)
        return false;
    if (static_cast<unsigned char>(c) < 0x80)
        return true;
    return kxutf8::isCharStart(text, i) && kxutf8::charLength(text, i) == 1;
}

// Whether a digit run starting at i is the fraction of a decimal number: after '.' or ',' that
// follows a digit.
bool isFractionRun(std::string_view s, size_t i)
{
    return i >= 2 && (s[i - 1] == '.' || s[i - 1] == ',') && isDigit(kxutf8::byteAt(s, i - 2));
}

size_t digitRunEnd(std::string_view s, size_t i)
{
    while (i < s.size() && isDigit(kxutf8::byteAt(s, i)))
        ++i;
    return i;
}

int sign(int v) { return (v > 0) - (v < 0); }

// Compares the digit runs a[ia, ea) and b[ib, eb) by value; both are whole numbers or both fractions.
int compareDigitRuns(std::string_view a, size_t ia, size_t ea, std::string_view b, size_t ib, size_t eb,
                     bool fraction)
{
    if (fraction) {
        // Digit by digit, a missing digit counting as 0: "5" == "50" < "55".
        const size_t n = std::max(ea - ia, eb - ib);
        for (size_t k = 0; k < n; ++k) {
            const char da = ia + k < ea ? a[ia + k] : '0';
            const char db = ib + k < eb ? b[ib + k] : '0';
            if (da != db)
                return da < db ? -1 : 1;
        }
        return 0;
    }
    // Leading zeros do not count; then the longer number is the larger, and equal lengths compare
    // digit by digit. No conversion, so any length works.
    while (ia < ea && a[ia] == '0')
        ++ia;
    while (ib < eb && b[ib] == '0')
        ++ib;
    if (ea - ia != eb - ib)
        return ea - ia < eb - ib ? -1 : 1;
    return sign(a.substr(ia, ea - ia).compare(b.substr(ib, eb - ib)));
}

} // namespace

void strToArr(const Kx_String& text, char c, Kx_StringArray& out)
{
    Kx_StringArray fields;
    const std::string_view s = text.view();
    if (!s.empty()) {
        size_t fieldStart = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            if (isSeparatorAt(s, i, c)) {
                fields.append(Kx_String(s.substr(fieldStart, i - fieldStart)));
                fieldStart = i + 1;
            }
        }
        fields.append(Kx_String(s.substr(fieldStart)));
    }
    out = std::move(fields);
}

Kx_String arrToStr(const Kx_StringArray& list, char c)
{
    std::string joined;
    for (int i = 0; i < list.length(); ++i) {
        if (i > 0)
            joined += c;
        joined += list[i].str();
    }
    return Kx_String(std::move(joined));
}

Kx_StringArray stringArr(const Kx_String& s1, const Kx_String& s2, const Kx_String& s3, const Kx_String& s4,
                         const Kx_String& s5)
{
    Kx_StringArray list{s1, s2, s3, s4, s5};
    while (!list.isEmpty() && list.last().isEmpty())
        list.removeAt(list.length() - 1);
    return list;
}

bool arrArrToArr(const Kx_Array<Kx_StringArray>& rows, char c, Kx_StringArray& lines)
{
    Kx_StringArray joined;
    Kx_StringArray check;
    for (const Kx_StringArray& row : rows) {
        for (const Kx_String& cell : row) {
            if (cell.str().find_first_of("\r\n") != std::string::npos)
                return false;
        }
        Kx_String line = arrToStr(row, c);
        strToArr(line, c, check);
        const bool oneEmptyCell = row.length() == 1 && row[0].isEmpty();
        if (!(check == row) && !(oneEmptyCell && check.isEmpty()))
            return false;
        joined.append(std::move(line));
    }
    lines = std::move(joined);
    return true;
}

void arrToArrArr(const Kx_StringArray& lines, char c, Kx_Array<Kx_StringArray>& rows)
{
    Kx_Array<Kx_StringArray> result;
    result.setPhysicalLength(lines.length());
    Kx_StringArray row;
    for (const Kx_String& line : lines) {
        strToArr(line, c, row);
        result.append(std::move(row));
    }
    rows = std::move(result);
}

Kx_String findNonExistingString(const Kx_StringArray& list, const Kx_String& base)
{
    std::unordered_set<std::string> taken;
    for (const Kx_String& name : list)
        taken.insert(kxutf8::foldCase(name.view()));
    const std::string foldedBase = kxutf8::foldCase(base.view());
    if (!base.isEmpty() && !taken.contains(foldedBase))
        return base;
    // At most list.length() numbers can be taken, so this ends by length() + 1.
    for (int n = 1;; ++n) {
        if (!taken.contains(foldedBase + std::to_string(n)))
            return Kx_String(base).append(n);
    }
}

Kx_String stripNumbersAtEnd(const Kx_String& text)
{
    const std::string_view s = text.view();
    size_t end = s.size();
    while (end > 0 && isDigit(kxutf8::byteAt(s, end - 1)))
        --end;
    if (end == s.size())
        return text;
    while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\t'))
        --end;
    if (end == 0)
        return text;
    return Kx_String(s.substr(0, end));
}

Kx_StringArray stripNumbersAtEnd(const Kx_StringArray& list)
{
    Kx_StringArray result;
    result.setPhysicalLength(list.length());
    for (const Kx_String& text : list)
        result.append(stripNumbersAtEnd(text));
    return result;
}

bool hasDuplicates(const Kx_StringArray& list, bool exact)
{
    std::unordered_set<std::string> seen;
    for (const Kx_String& text : list) {
        if (!seen.insert(exact ? text.str() : kxutf8::foldCase(text.view())).second)
            return true;
    }
    return false;
}

int naturalCompare(const Kx_String& textA, const Kx_String& textB)
{
    const std::string_view a = textA.view();
    const std::string_view b = textB.view();
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned char ca = kxutf8::byteAt(a, i);
        const unsigned char cb = kxutf8::byteAt(b, j);
        if (isDigit(ca) && isDigit(cb)) {
            // Everything before compared equal, so both runs are fractions or neither is.
            const size_t ea = digitRunEnd(a, i);
            const size_t eb = digitRunEnd(b, j);
            if (const int r = compareDigitRuns(a, i, ea, b, j, eb, isFractionRun(a, i) && isFractionRun(b, j)))
                return r;
            i = ea;
            j = eb;
            continue;
        }
        if (ca < 0x80 && cb < 0x80) {
            const unsigned char la = kxutf8::asciiLower(ca);
            const unsigned char lb = kxutf8::asciiLower(cb);
            if (la != lb)
                return la < lb ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        int lenA = 0;
        int lenB = 0;
        const char32_t fa = kxutf8::toLowerChar(kxutf8::decode(a, i, lenA));
        const char32_t fb = kxutf8::toLowerChar(kxutf8::decode(b, j, lenB));
        if (fa != fb)
            return fa < fb ? -1 : 1;
        i += static_cast<size_t>(lenA);
        j += static_cast<size_t>(lenB);
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return sign(a.compare(b));
}

int ObjectExportAddToSorted(Kx_StringArray& list, const Kx_String& text)
{
    int pos = 0;
    while (pos < list.length() && naturalCompare(list[pos], text) <= 0)
        ++pos;
    list.insertAt(pos, text);
    return pos;
}

std::string escapeLineField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}
