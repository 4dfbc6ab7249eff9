// What each cell type makes of a text: the value form it keeps, the text it shows, and what it
// refuses. Numbers are read and written with from_chars/to_chars, never the process locale.
#include "platform/grid/GridControl.h"

#include "platform/win/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kxgrid::detail {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> splitItems(std::string_view items)
{
    std::vector<std::string_view> out;
    if (items.empty())
        return out;
    size_t start = 0;
    for (;;) {
        const size_t tab = items.find('\t', start);
        out.push_back(items.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    return out;
}

// The grid maps the case of Latin-1 letters only; ÿ keeps its case, as its capital lies beyond.
char32_t asciiLower(char32_t c) { return c < 0x100 ? kxutf8::toLowerChar(c) : c; }
char32_t asciiUpper(char32_t c) { return c < 0xFF ? kxutf8::toUpperChar(c) : c; }

bool isLetter(char32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c < 0xDC80) || c > 0xDCFF;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    const std::u32string x = decodeUtf8(a), y = decodeUtf8(b);
    if (x.size() != y.size())
        return false;
    for (size_t i = 0; i < x.size(); ++i)
        if (asciiLower(x[i]) != asciiLower(y[i]))
            return false;
    return true;
}

std::optional<std::string> coerceEdit(const SS_CELLTYPE& t, std::string_view text)
{
    // The common case, a plain edit cell, keeps the bytes as they are without decoding.
    if (t.charSet == SS_CHRSET_ANY && t.charCase == SS_CASE_ASTYPED &&
        (t.maxLength <= 0 || text.size() <= static_cast<size_t>(t.maxLength)))
        return std::string(text);
    std::u32string chars = decodeUtf8(text);
    for (char32_t& c : chars) {
        if (t.charSet == SS_CHRSET_ALPHA && !isLetter(c))
            return std::nullopt;
        if (t.charSet == SS_CHRSET_ALNUM && !isLetter(c) && !(c >= '0' && c <= '9'))
            return std::nullopt;
        if (t.charCase == SS_CASE_LOWER)
            c = asciiLower(c);
        else if (t.charCase == SS_CASE_UPPER)
            c = asciiUpper(c);
    }
    if (t.maxLength > 0 && chars.size() > static_cast<size_t>(t.maxLength))
        chars.resize(static_cast<size_t>(t.maxLength));
    return encodeUtf8(chars);
}

std::optional<std::string> coerceNumber(const SS_CELLTYPE& t, std::string_view text)
{
    if (trim(text).empty())
        return std::string();
    const std::optional<double> v = parseNumber(text);
    if (!v || *v < t.minValue || *v > t.maxValue)
        return std::nullopt;
    return shortestNumber(*v);
}

std::optional<std::string> coerceCombo(const SS_CELLTYPE& t, std::string_view text)
{
    if (text.empty())
        return std::string();
    const auto items = splitItems(t.items);
    for (std::string_view item : items)
        if (item == text)
            return std::string(item);
    if (t.style & SS_COMBO_EDITABLE)
        return std::string(text);
    for (std::string_view item : items)
        if (equalsNoCase(item, text))
            return std::string(item);
    return std::nullopt;
}

std::optional<std::string> coerceCheck(std::string_view text)
{
    const std::string_view t = trim(text);
    if (t.empty())
        return std::string();
    if (t == "1" || equalsNoCase(t, "true"))
        return std::string("1");
    if (t == "0" || equalsNoCase(t, "false"))
        return std::string("0");
    return std::nullopt;
}

} // namespace

std::optional<double> parseNumber(std::string_view text)
{
    std::string_view t = trim(text);
    if (t.empty())
        return std::nullopt;
    std::string buffer(t);
    // A decimal comma is what a person in most of Europe types; take it when it is the only
    // separator. "1,234.5" (a thousands comma) is refused rather than guessed at.
    if (buffer.find('.') == std::string::npos) {
        const size_t comma = buffer.find(',');
        if (comma != std::string::npos && buffer.find(',', comma + 1) == std::string::npos)
            buffer[comma] = '.';
    }
    const char* first = buffer.data();
    const char* last = first + buffer.size();
    if (*first == '+')
        ++first;
    double v = 0;
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || !std::isfinite(v))
        return std::nullopt;
    return v == 0 ? 0.0 : v;  // no negative zero
}

std::string shortestNumber(double v)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v == 0 ? 0.0 : v);
    return std::string(buf, r.ptr);
}

std::string formatNumber(double v, int decimals)
{
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, std::clamp(decimals, 0, 15));
    if (r.ec != std::errc())
        return shortestNumber(v);
    std::string s(buf, r.ptr);
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);  // -0.00 shows as 0.00
    return s;
}

std::optional<std::string> coerceData(const SS_CELLTYPE& t, std::string_view text)
{
    // A cell text never holds a zero byte: the C callers and the clipboard could not carry it.
    if (text.size() > static_cast<size_t>(SS_MAX_TEXT) || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    switch (static_cast<SSCellType>(t.type)) {
    case SSCellType::Edit:
        return coerceEdit(t, text);
    case SSCellType::Number:
        return coerceNumber(t, text);
    case SSCellType::ComboBox:
        return coerceCombo(t, text);
    case SSCellType::CheckBox:
        return coerceCheck(text);
    default:
        return std::string(text);
    }
}

std::optional<std::string> coerceValue(const SS_CELLTYPE& t, std::string_view text)
{
    if (t.type == SS_TYPE_COMBOBOX && (t.style & SS_COMBO_VALUE_INDEX) && !text.empty()) {
        const auto items = splitItems(t.items);
        int index = -1;
        const std::string_view s = trim(text);
        auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), index);
        if (ec == std::errc() && ptr == s.data() + s.size()) {
            if (index < 0 || static_cast<size_t>(index) >= items.size())
                return std::nullopt;
            return std::string(items[static_cast<size_t>(index)]);
        }
        return coerceCombo(t, text);
    }
    return coerceData(t, text);
}

void normaliseType(SS_CELLTYPE& t)
{
    const SS_CELLTYPE d;
    const auto type = static_cast<SSCellType>(t.type);
    if (type != SSCellType::Edit) {
        t.maxLength = d.maxLength;
        t.charSet = d.charSet;
        t.charCase = d.charCase;
    }
    if (type != SSCellType::Number) {
        t.decimals = d.decimals;
        t.minValue = d.minValue;
        t.maxValue = d.maxValue;
    }
    if (type != SSCellType::ComboBox)
        t.items.clear();
    if (type != SSCellType::CheckBox && type != SSCellType::Button)
        t.text.clear();
    if (type != SSCellType::Picture) {
        t.pictureFile.clear();
        t.pixels.reset();
    }
    if (type != SSCellType::Picture && type != SSCellType::CheckBox)
        t.picture1 = nullptr;
    if (type != SSCellType::CheckBox)
        t.picture2 = nullptr;
}

std::string displayText(const SS_CELLTYPE& t, const std::string& value)
{
    if (t.type == SS_TYPE_NUMBER && !value.empty()) {
        if (const auto v = parseNumber(value))
            return formatNumber(*v, t.decimals);
    }
    return value;
}

std::string valueText(const SS_CELLTYPE& t, const std::string& value)
{
    if (t.type == SS_TYPE_COMBOBOX && (t.style & SS_COMBO_VALUE_INDEX) && !value.empty()) {
        const auto items = splitItems(t.items);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == value)
                return std::to_string(i);
    }
    return value;
}

std::u32string decodeUtf8(std::string_view s) { return kxutf8::decodeAll(s, kxutf8::BadByte::Stray); }

std::string encodeUtf8(std::u32string_view text) { return kxutf8::encodeAll(text); }

int copyOut(const std::string& text, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
    // Never end inside a multi-byte character.
    if (n < text.size()) {
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

} // namespace kxgrid::detail
