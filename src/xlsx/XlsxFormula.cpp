// Formula texts of the grid rewritten for an .xlsx file (see XlsxFormula.h).
#include "xlsx/XlsxFormula.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>

namespace kxxlsx {

namespace {

// The grid's built-in functions: each one has the same name and meaning in an office program's
// formula language, so a formula using only these travels as a formula.
constexpr std::array<std::string_view, 51> kPortable = {
    "ABS",     "AND",    "ATAN",   "ATAN2",  "AVERAGE",     "CONCATENATE", "COS",     "COUNT",   "COUNTA",
    "COUNTIF", "DEGREES", "FIND",  "HLOOKUP", "IF",         "IFERROR",     "INDEX",   "INT",     "ISBLANK",
    "ISERROR", "ISNUMBER", "ISTEXT", "LEFT",  "LEN",        "LOWER",       "MATCH",   "MAX",     "MID",
    "MIN",     "MOD",    "NA",     "NOT",    "OR",          "PI",          "POWER",   "RADIANS", "RIGHT",
    "ROUND",   "ROUNDDOWN", "ROUNDUP", "SEARCH", "SIN",      "SQRT",        "SUBSTITUTE", "SUM",  "SUMIF",
    "TAN",     "TEXT",   "TRIM",   "UPPER",  "VALUE",       "VLOOKUP"};

bool isIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$';
}

std::string upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Column letters to a number; nothing for more than three letters.
std::optional<int> columnNumber(std::string_view letters)
{
    if (letters.empty() || letters.size() > 3)
        return std::nullopt;
    int n = 0;
    for (char c : letters)
        n = n * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
    return n;
}

// A whole number of a reference; nothing beyond +-2^30 (the engine's own row limit), so sums of
// a cell's place and an offset cannot overflow.
std::optional<long long> readNumber(std::string_view s)
{
    long long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size() || v > (1LL << 30) || v < -(1LL << 30))
        return std::nullopt;
    return v;
}

// The error literals an office program's formulas know.
bool isStandardError(std::string_view e)
{
    for (std::string_view known : {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"})
        if (e == known)
            return true;
    return false;
}

struct Ref {
    bool absCol, absRow;
    long long col, row;
};

std::string writeRef(const Ref& r)
{
    std::string out;
    if (r.absCol)
        out += '$';
    out += columnName(static_cast<int>(r.col));
    if (r.absRow)
        out += '$';
    out += std::to_string(r.row);
    return out;
}

// An A1 reference `$?letters$?digits` filling the whole token.
std::optional<Ref> readA1(std::string_view t)
{
    size_t i = 0;
    Ref r{};
    r.absCol = i < t.size() && t[i] == '$';
    if (r.absCol)
        ++i;
    const size_t letters = i;
    while (i < t.size() && std::isalpha(static_cast<unsigned char>(t[i])))
        ++i;
    const auto col = columnNumber(t.substr(letters, i - letters));
    if (!col)
        return std::nullopt;
    r.absRow = i < t.size() && t[i] == '$';
    if (r.absRow)
        ++i;
    const auto row = readNumber(t.substr(i));
    if (!row || *row < 1 || !std::isdigit(static_cast<unsigned char>(t[i])))
        return std::nullopt;
    r.col = *col;
    r.row = *row;
    return r;
}

// One part of an R1C1 reference after its letter: "[n]" relative, "n" absolute, nothing (offset 0).
bool readR1C1Part(std::string_view s, size_t& i, bool& absolute, long long& value)
{
    if (i < s.size() && s[i] == '[') {
        const size_t close = s.find(']', i);
        if (close == std::string_view::npos)
            return false;
        auto v = readNumber(s.substr(i + 1, close - i - 1));
        if (!v)
            return false;
        absolute = false;
        value = *v;
        i = close + 1;
        return true;
    }
    const size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i == start) {
        absolute = false;
        value = 0;
        return true;
    }
    auto v = readNumber(s.substr(start, i - start));
    if (!v)
        return false;
    absolute = true;
    value = *v;
    return true;
}

// An R1C1 reference starting at s[i] ('R' or 'r'); on success i is past it.
std::optional<Ref> readR1C1(std::string_view s, size_t& i, int col, int row)
{
    size_t j = i;
    if (j >= s.size() || std::toupper(static_cast<unsigned char>(s[j])) != 'R')
        return std::nullopt;
    ++j;
    Ref r{};
    long long rv = 0, cv = 0;
    if (!readR1C1Part(s, j, r.absRow, rv))
        return std::nullopt;
    if (j >= s.size() || std::toupper(static_cast<unsigned char>(s[j])) != 'C')
        return std::nullopt;
    ++j;
    if (!readR1C1Part(s, j, r.absCol, cv))
        return std::nullopt;
    if (j < s.size() && (isIdentChar(s[j]) || s[j] == '('))
        return std::nullopt;
    r.row = r.absRow ? rv : row + rv;
    r.col = r.absCol ? cv : col + cv;
    i = j;
    return r;
}

} // namespace

bool isPortableFunction(std::string_view name)
{
    const std::string u = upper(name);
    return std::find(kPortable.begin(), kPortable.end(), u) != kPortable.end();
}

std::string columnName(int col)
{
    std::string out;
    while (col > 0) {
        --col;
        out.insert(out.begin(), static_cast<char>('A' + col % 26));
        col /= 26;
    }
    return out;
}

XlsxFormula translateFormula(std::string_view s, bool r1c1, int col, int row, int rowShift)
{
    XlsxFormula out;
    std::string& t = out.text;
    t.reserve(s.size() + 8);
    auto emitRef = [&](Ref r) {
        if (r.row < 1 || r.col < 1) {
            t += "#REF!";
            return;
        }
        r.row += rowShift;
        if (r.row > kXlsxMaxRows || r.col > kXlsxMaxCols)
            out.outOfRange = true;
        t += writeRef(r);
    };
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"') {
            // A text: copied to its closing quote, doubled quotes included.
            size_t j = i + 1;
            while (j < s.size()) {
                if (s[j] == '"') {
                    if (j + 1 < s.size() && s[j + 1] == '"') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            t.append(s.substr(i, j - i));
            i = j;
            continue;
        }
        if (c == '#') {
            // An error literal such as #DIV/0!, #N/A or #NAME?.
            size_t j = i + 1;
            while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '/'))
                ++j;
            if (j < s.size() && (s[j] == '!' || s[j] == '?'))
                ++j;
            const std::string literal = upper(s.substr(i, j - i));
            if (!isStandardError(literal))
                out.unreadable = true;
            t.append(literal);
            i = j;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || (c == '.' && i + 1 < s.size() &&
                                                             std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            // A number, exponent included (1E+20), so that its digits are never taken for a row.
            size_t j = i;
            while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.'))
                ++j;
            if (j < s.size() && (s[j] == 'E' || s[j] == 'e')) {
                size_t k = j + 1;
                if (k < s.size() && (s[k] == '+' || s[k] == '-'))
                    ++k;
                if (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
                    j = k;
                    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                        ++j;
                }
            }
            t.append(s.substr(i, j - i));
            i = j;
            continue;
        }
        if (isIdentChar(c)) {
            if (r1c1) {
                size_t j = i;
                if (auto ref = readR1C1(s, j, col, row)) {
                    emitRef(*ref);
                    i = j;
                    continue;
                }
            }
            size_t j = i;
            while (j < s.size() && isIdentChar(s[j]))
                ++j;
            const std::string_view token = s.substr(i, j - i);
            size_t k = j;
            while (k < s.size() && (s[k] == ' ' || s[k] == '\t' || s[k] == '\n' || s[k] == '\r'))
                ++k;
            if (k < s.size() && s[k] == '(') {
                const std::string name = upper(token);
                if (!isPortableFunction(name) &&
                    std::find(out.foreignFunctions.begin(), out.foreignFunctions.end(), name) ==
                        out.foreignFunctions.end())
                    out.foreignFunctions.push_back(name);
                t += name;
            } else if (auto ref = r1c1 ? std::nullopt : readA1(token)) {
                emitRef(*ref);
            } else {
                t.append(upper(token));
            }
            i = j;
            continue;
        }
        if (c == '[' || c == ']' || c == '{' || c == '}')
            out.unreadable = true;
        t += c;
        ++i;
    }
    return out;
}

} // namespace kxxlsx
