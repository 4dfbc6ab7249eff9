// Paper sizes and names.
#include "print/PageSetup.h"

#include <cctype>

namespace kxprint {

namespace {

// Portrait sizes in mm: ISO 216 A4, and US Letter (8.5 x 11 in).
constexpr double kA4Width = 210.0, kA4Height = 297.0;
constexpr double kLetterWidth = 215.9, kLetterHeight = 279.4;

} // namespace

double PageSetup::widthMm() const
{
    const double w = paper == Paper::A4 ? kA4Width : kLetterWidth;
    const double h = paper == Paper::A4 ? kA4Height : kLetterHeight;
    return landscape ? h : w;
}

double PageSetup::heightMm() const
{
    const double w = paper == Paper::A4 ? kA4Width : kLetterWidth;
    const double h = paper == Paper::A4 ? kA4Height : kLetterHeight;
    return landscape ? w : h;
}

std::optional<Paper> paperFromName(std::string_view name)
{
    if (equalsIgnoringCase(name, "A4"))
        return Paper::A4;
    if (equalsIgnoringCase(name, "Letter"))
        return Paper::Letter;
    return std::nullopt;
}

std::string paperName(Paper paper)
{
    return paper == Paper::A4 ? "A4" : "Letter";
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace kxprint
