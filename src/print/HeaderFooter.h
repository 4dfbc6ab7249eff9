// The header and footer files of a sheet's print settings: their small text format (see
// docs/sheet-printing.md) and the filling of their placeholders with the print variables, the page
// number and the page count. Drawing them on a page is SheetPrint's.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kxprint {

// One printed line: the parts shown at the left, in the centre and at the right of the page.
struct HeaderFooterLine {
    std::array<std::string, 3> parts;
};

struct HeaderFooter {
    std::vector<HeaderFooterLine> lines;
    bool empty() const { return lines.empty(); }
};

// The most lines a header or footer keeps, and the largest file read; more is refused, so a wrong
// file named as a header cannot fill the page.
inline constexpr size_t kMaxHeaderFooterLines = 10;
inline constexpr size_t kMaxHeaderFooterBytes = 64 * 1024;

// The print variables: name and value, in the sheet's order.
using PrintVariables = std::vector<std::pair<std::string, std::string>>;

// Splits a header or footer text into lines of up to three tab-separated parts (left, centre,
// right). Accepts LF, CRLF and CR line ends and a UTF-8 byte-order mark; text that is not UTF-8 is
// read as Windows-1252. Trailing empty lines are dropped. False with a message naming the line when
// the text has more than kMaxHeaderFooterLines lines, more than three parts on a line, or a NUL byte.
bool parseHeaderFooter(std::string_view text, HeaderFooter& out, std::string& error);

// Reads and parses the file at `path` (with "\" or "/" separators). False with a message naming the
// file when it is missing, unreadable, larger than kMaxHeaderFooterBytes or malformed.
bool readHeaderFooterFile(const std::string& path, HeaderFooter& out, std::string& error);

// The text with each "{Name}" replaced: "{Page}" by the page number, "{Pages}" by the page count,
// any other name by the value of the print variable of that name (names compared ignoring case;
// the first of equal names wins). "{{" gives "{". A name that is no variable stays as written, so
// a misspelt placeholder shows on the page instead of vanishing.
std::string fillPlaceholders(std::string_view text, const PrintVariables& variables, int page, int pages);
// The same with the page number and count given as texts, for a writer that leaves numbering to
// the program that prints (an office file's page codes).
std::string fillPlaceholders(std::string_view text, const PrintVariables& variables, std::string_view page,
                             std::string_view pages);

} // namespace kxprint
