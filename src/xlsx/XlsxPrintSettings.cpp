// A sheet's print settings as an .xlsx page setup (see XlsxPrintSettings.h).
#include "xlsx/XlsxPrintSettings.h"

#include <algorithm>
#include <cmath>

namespace kxxlsx {

namespace {

// Stand-ins for the page codes while the placeholders are filled; control characters never
// shown in a header, so they are dropped from the text first.
constexpr char kPageMark = '\x01';
constexpr char kPagesMark = '\x02';

// The printed header's measures (SheetPrint): line height per text height, gap to the cells.
constexpr double kLineSpacing = 1.25;
constexpr double kHeaderGapMm = 2.0;

size_t utf8Length(const std::string& s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string withoutMarks(std::string_view s)
{
    std::string out;
    for (char c : s)
        if (c != kPageMark && c != kPagesMark)
            out += c;
    return out;
}

std::string sectionText(const std::string& filled)
{
    std::string out;
    for (char c : filled) {
        if (c == '&')
            out += "&&";
        else if (c == kPageMark)
            out += "&P";
        else if (c == kPagesMark)
            out += "&N";
        else
            out += c;
    }
    return out;
}

double blockInches(const kxprint::HeaderFooter& block, int textHeight)
{
    if (block.empty())
        return 0;
    return static_cast<double>(block.lines.size()) * textHeight * kLineSpacing / kxprint::kScreenDotsPerInch +
           kHeaderGapMm / 25.4;
}

} // namespace

std::string xlsxHeaderFooter(const kxprint::HeaderFooter& block, const kxprint::PrintOptions& options)
{
    if (block.empty())
        return std::string();
    const kxprint::PrintVariables variables = [&] {
        kxprint::PrintVariables v;
        for (const auto& [name, value] : options.variables)
            v.emplace_back(name, withoutMarks(value));
        return v;
    }();
    // The printed header's font: the size first, so a text starting with a digit is not read as
    // part of it; "-" (the reader's own face) for a name that does not fit the code's quotes.
    const int points = std::max(1, static_cast<int>(std::lround(options.textHeight * 0.75)));
    const bool faceFits = !options.fontFace.empty() && options.fontFace.find('"') == std::string::npos;
    const std::string font =
        "&" + std::to_string(points) + "&\"" + (faceFits ? options.fontFace : std::string("-")) + ",Regular\"";

    static constexpr const char* codes[3] = {"&L", "&C", "&R"};
    std::string out;
    for (size_t part = 0; part < 3; ++part) {
        // Lines keep their places: an empty part on one line still takes its line in the section.
        std::vector<std::string> lines;
        for (const kxprint::HeaderFooterLine& line : block.lines)
            lines.push_back(sectionText(kxprint::fillPlaceholders(withoutMarks(line.parts[part]), variables,
                                                                  std::string_view(&kPageMark, 1),
                                                                  std::string_view(&kPagesMark, 1))));
        while (!lines.empty() && lines.back().empty())
            lines.pop_back();
        if (lines.empty())
            continue;
        out += codes[part] + font;
        for (size_t i = 0; i < lines.size(); ++i)
            out += (i ? "\n" : "") + lines[i];
    }
    return out;
}

XlsxPageSetup xlsxPageSetup(const kxprint::PrintOptions& options, bool headerRow, bool paperKnown,
                            long long sheetPixels)
{
    XlsxPageSetup s;
    const kxprint::PageSetup& page = options.page;
    // As printing takes them: a margin outside 0 to a quarter of the page is that limit.
    auto inches = [](int mm, double pageMm) { return std::clamp(static_cast<double>(mm), 0.0, pageMm / 4) / 25.4; };
    s.left = inches(page.marginLeft, page.widthMm());
    s.right = inches(page.marginRight, page.widthMm());
    s.header = inches(page.marginTop, page.heightMm());
    s.footer = inches(page.marginBottom, page.heightMm());
    s.top = s.header + blockInches(options.header, options.textHeight);
    s.bottom = s.footer + blockInches(options.footer, options.textHeight);
    if (paperKnown) {
        s.paper = page.paper == kxprint::Paper::Letter ? kXlsxPaperLetter : kXlsxPaperA4;
        s.landscape = page.landscape;
    }
    // Printing splits a sheet that would need less than half size across pages at full size.
    const double widthPixels = (page.widthMm() / 25.4 - s.left - s.right) * kxprint::kScreenDotsPerInch;
    s.fitToWidth = options.smartPrint &&
                   (sheetPixels <= widthPixels || widthPixels >= sheetPixels * kxprint::kMinSmartScale);
    s.printGridLines = options.cellSeparators;

    // Column headers: the file's header row repeated on every page; without named headers the
    // grid's letters are the file's own, printed with its row numbers when both are on.
    if (options.colHeader && headerRow)
        s.repeatHeaderRow = true;
    if (!headerRow && options.colHeader && options.rowHeader)
        s.printHeadings = true;
    if (!headerRow && options.colHeader && !options.rowHeader)
        s.notHeld.push_back("column headers without row headers");
    if (options.rowHeader && !s.printHeadings)
        s.notHeld.push_back("row headers");
    if (!options.colors)
        s.notHeld.push_back("printing without colours");
    if (options.border)
        s.notHeld.push_back("border around the cells");

    s.headerText = xlsxHeaderFooter(options.header, options);
    s.footerText = xlsxHeaderFooter(options.footer, options);
    if (utf8Length(s.headerText) > kXlsxHeaderFooterMax) {
        s.headerText.clear();
        s.notHeld.push_back("header (longer than the " + std::to_string(kXlsxHeaderFooterMax) +
                            " characters an .xlsx header holds)");
    }
    if (utf8Length(s.footerText) > kXlsxHeaderFooterMax) {
        s.footerText.clear();
        s.notHeld.push_back("footer (longer than the " + std::to_string(kXlsxHeaderFooterMax) +
                            " characters an .xlsx footer holds)");
    }
    return s;
}

} // namespace kxxlsx
