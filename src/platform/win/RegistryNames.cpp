// Name rules of the registry: UTF-8 decoding, the capital-letter fold and key path splitting.
#include "platform/win/RegistryNames.h"

namespace kxwin::detail {

namespace {

// Decodes one character at text[pos]; returns the code point and advances pos, or returns nullopt
// for a malformed sequence.
std::optional<char32_t> decode(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t count = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        count = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos <= count)
        return std::nullopt;
    for (std::size_t i = 1; i <= count; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += count + 1;
    return cp;
}

void encode(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// In the ranges where capitals and small letters alternate, the small letter is the one with the
// other parity than the range's first capital.
char32_t alternating(char32_t cp, char32_t first, char32_t last)
{
    if (cp < first || cp > last)
        return 0;
    return ((cp - first) % 2 == 1) ? cp - 1 : cp;
}

char32_t capital(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'a' && cp <= 'z') ? cp - 0x20 : cp;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)
        return cp - 0x20;
    if (cp == 0xFF)
        return 0x178;
    // Latin Extended-A, leaving out the dotted and dotless i (0x130, 0x131) whose pairing depends on
    // the language, and the long s.
    if (cp >= 0x100 && cp <= 0x12F)
        return alternating(cp, 0x100, 0x12F);
    if (cp >= 0x132 && cp <= 0x137)
        return alternating(cp, 0x132, 0x137);
    if (cp >= 0x139 && cp <= 0x148)
        return alternating(cp, 0x139, 0x148);
    if (cp >= 0x14A && cp <= 0x177)
        return alternating(cp, 0x14A, 0x177);
    if (cp >= 0x179 && cp <= 0x17E)
        return alternating(cp, 0x179, 0x17E);
    // Greek.
    if (cp == 0x3AC)
        return 0x386;
    if (cp >= 0x3AD && cp <= 0x3AF)
        return cp - 0x25;
    if (cp == 0x3C2)
        return 0x3A3;
    if (cp >= 0x3B1 && cp <= 0x3CB)
        return cp - 0x20;
    if (cp == 0x3CC)
        return 0x38C;
    if (cp == 0x3CD || cp == 0x3CE)
        return cp - 0x3F;
    // Cyrillic.
    if (cp >= 0x430 && cp <= 0x44F)
        return cp - 0x20;
    if (cp >= 0x450 && cp <= 0x45F)
        return cp - 0x50;
    if (cp >= 0x460 && cp <= 0x481)
        return alternating(cp, 0x460, 0x481);
    if (cp >= 0x48A && cp <= 0x4BF)
        return alternating(cp, 0x48A, 0x4BF);
    if (cp >= 0x4C1 && cp <= 0x4CE)
        return alternating(cp, 0x4C1, 0x4CE);
    if (cp == 0x4CF)
        return 0x4C0;
    if (cp >= 0x4D0 && cp <= 0x52F)
        return alternating(cp, 0x4D0, 0x52F);
    // Armenian.
    if (cp >= 0x561 && cp <= 0x586)
        return cp - 0x30;
    // Latin Extended Additional.
    if (cp >= 0x1E00 && cp <= 0x1E95)
        return alternating(cp, 0x1E00, 0x1E95);
    if (cp >= 0x1EA0 && cp <= 0x1EFF)
        return alternating(cp, 0x1EA0, 0x1EFF);
    // Full-width Latin letters.
    if (cp >= 0xFF41 && cp <= 0xFF5A)
        return cp - 0x20;
    return cp;
}

} // namespace

std::optional<std::size_t> utf8Length(std::string_view text)
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!decode(text, pos))
            return std::nullopt;
        ++count;
    }
    return count;
}

std::string foldName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    std::size_t pos = 0;
    while (pos < name.size()) {
        const unsigned char lead = static_cast<unsigned char>(name[pos]);
        if (lead < 0x80) {
            out += static_cast<char>((lead >= 'a' && lead <= 'z') ? lead - 0x20 : lead);
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const std::optional<char32_t> cp = decode(name, pos);
        if (!cp) {
            // Malformed input is not expected here; keep the byte so the fold stays total.
            out += name[start];
            pos = start + 1;
            continue;
        }
        encode(capital(*cp), out);
    }
    return out;
}

std::optional<std::vector<std::string_view>> splitKeyPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (path.empty())
        return parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty())
            return std::nullopt;
        parts.push_back(part);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

} // namespace kxwin::detail
