// The printed page: paper size, orientation and margins in millimetres, and the device units the
// printing code draws in. Nothing here knows about sheets.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kxprint {

enum class Paper { A4, Letter };

// Page coordinates are in dots of this resolution, from the paper's top-left corner. 300 per inch
// keeps a one-pixel grid line visible and fonts of a few screen pixels distinct after rounding.
inline constexpr int kDotsPerInch = 300;
// The screen resolution the grid's pixel sizes are meant for.
inline constexpr int kScreenDotsPerInch = 96;

struct PageSetup {
    Paper paper = Paper::A4;
    bool landscape = false;
    // Margins in millimetres (the sheet's settings carry plain integers; printing reads them as mm).
    int marginLeft = 9;
    int marginRight = 5;
    int marginTop = 5;
    int marginBottom = 5;

    // The sheet of paper as it is printed (width and height swapped for landscape), in mm.
    double widthMm() const;
    double heightMm() const;
};

// "A4" or "Letter", any case; nothing for other names.
std::optional<Paper> paperFromName(std::string_view name);
std::string paperName(Paper paper);

inline int mmToDots(double mm)
{
    return static_cast<int>(mm * kDotsPerInch / 25.4 + 0.5);
}

// Whether a and b hold the same text, ASCII letters compared without regard to case (paper names,
// header and footer placeholders).
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace kxprint
