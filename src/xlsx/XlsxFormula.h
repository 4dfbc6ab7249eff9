// Formula texts of the grid rewritten for an .xlsx file: references in A1 form (R1C1 texts are
// turned round, every row moved down when the file gains a header row), and the functions named
// so that the caller can tell which of them an office program does not know. No grid here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kxxlsx {

// The largest sheet an .xlsx file holds.
inline constexpr int kXlsxMaxRows = 1'048'576;
inline constexpr int kXlsxMaxCols = 16'384;

struct XlsxFormula {
    std::string text;  // without the leading '='
    // Functions called that an office program does not have (upper case, each once, in order of
    // appearance): the grid's custom functions such as FROMTABLE.
    std::vector<std::string> foreignFunctions;
    // A reference lies beyond the file's last row or column: the formula cannot travel.
    bool outOfRange = false;
    // The text holds what no office program reads (this grid's own error literals #CYCLE! and
    // #ERROR!, brackets of a reference that could not be read): a file with it would be refused.
    bool unreadable = false;
    bool travels() const { return foreignFunctions.empty() && !outOfRange && !unreadable; }
};

// Rewrites `formula` (as the grid shows it, without '=') typed at column `col`, row `row` (both
// from 1). `r1c1`: the text is in R1C1 style. `rowShift` is added to every row reference, absolute
// ones included, because the whole sheet moves. Texts in quotes and error literals pass unchanged;
// a relative R1C1 reference that leaves the sheet becomes #REF!.
XlsxFormula translateFormula(std::string_view formula, bool r1c1, int col, int row, int rowShift);

// Whether an office program's formula language has a function of this name (any case).
bool isPortableFunction(std::string_view name);

// "A", "Z", "AA", ... for columns from 1.
std::string columnName(int col);

} // namespace kxxlsx
