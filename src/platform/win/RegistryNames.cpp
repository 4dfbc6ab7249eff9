// Name rules of the registry: UTF-8 decoding, the capital-letter fold and key path splitting.
#include "platform/win/RegistryNames.h"

#include "platform/win/Utf8.h"

namespace kxwin::detail {

namespace {

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
    // ASCII, Latin-1 and Latin Extended-A as everywhere (the dotted and dotless i, whose pairing
    // depends on the language, and the long s stay as they are).
    if (cp < 0x180)
        return kxutf8::toUpperChar(cp);
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
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        const int n = kxutf8::sequenceLength(text, pos);
        if (n == 0)
            return std::nullopt;
        pos += static_cast<std::size_t>(n);
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
        if (kxutf8::sequenceLength(name, pos) == 0) {
            // Malformed input is not expected here; keep the byte so the fold stays total.
            out += name[pos++];
            continue;
        }
        kxutf8::encode(capital(kxutf8::next(name, pos)), out);
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
