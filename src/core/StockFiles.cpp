// The cutting-stock files.
#include "core/StockFiles.h"

#include "core/Cp1252.h"
#include "core/FileIO.h"
#include "core/SaveFile.h"
#include "core/StringLists.h"
#include "core/Utf8.h"

namespace kx {

namespace {

// Splits a single-byte line at every separator byte.
Kx_StringArray splitSingleByte(std::string_view line)
{
    Kx_StringArray cells;
    if (line.empty())
        return cells;
    size_t start = 0;
    for (;;) {
        const size_t at = line.find(kStockSeparator, start);
        const std::string_view cell = line.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        cells.append(Kx_String(windows1252ToUtf8(cell)));
        if (at == std::string_view::npos)
            break;
        start = at + 1;
    }
    return cells;
}

void linesToRows(const Kx_StringArray& lines, Kx_Array<Kx_StringArray>& rows)
{
    // As UTF-8 first: there a 0xBF byte separates only where it is not part of a character. The file
    // as a whole is never valid UTF-8 once it holds a separator, so the cells decide.
    Kx_Array<Kx_StringArray> split;
    arrToArrArr(lines, kStockSeparator, split);
    bool utf8 = true;
    for (const Kx_StringArray& row : split) {
        for (const Kx_String& cell : row)
            utf8 = utf8 && kxutf8::isValid(cell.view());
        if (!utf8)
            break;
    }
    if (utf8) {
        rows = std::move(split);
        return;
    }
    // One decision for the whole file: a peer writes single-byte text throughout, and deciding per
    // line could read the same length or name two ways.
    Kx_Array<Kx_StringArray> out;
    out.setPhysicalLength(lines.length());
    for (const Kx_String& line : lines)
        out.append(splitSingleByte(line.view()));
    rows = std::move(out);
}

} // namespace

bool parseStockText(std::string_view bytes, Kx_Array<Kx_StringArray>& rows, std::string& error)
{
    Kx_StringArray lines;
    if (!splitTextLines(bytes, kMaxTextLineBytes, lines, error))
        return false;
    linesToRows(lines, rows);
    return true;
}

bool readStockFile(const Kx_String& path, Kx_Array<Kx_StringArray>& rows, std::string& error)
{
    Kx_StringArray lines;
    if (!readTextLines(path.view(), lines, error))
        return false;
    linesToRows(lines, rows);
    return true;
}

std::optional<std::string> stockWriteProblem(const Kx_Array<Kx_StringArray>& rows)
{
    for (int r = 0; r < rows.length(); ++r) {
        const Kx_StringArray& row = rows[r];
        for (int c = 0; c < row.length(); ++c) {
            const std::string_view cell = row[c].view();
            const std::string where = "row " + std::to_string(r + 1) + ", cell " + std::to_string(c + 1);
            if (!kxutf8::isValid(cell))
                return where + " is not valid UTF-8 text";
            if (cell.find_first_of("\r\n") != std::string_view::npos)
                return where + " holds a line break";
            if (cell.find('\0') != std::string_view::npos)
                return where + " holds a NUL character";
        }
        // A row of one empty cell and an empty row are the same line: both read back as an empty
        // row, which is what the grids make of them too, so that is not refused.
    }
    // In valid UTF-8 a lone 0xBF byte cannot occur, so no cell holds the separator itself; the
    // character U+00BF (C2 BF) stays whole when read back.
    if (!rows.isEmpty() && rows[0].length() > 0 && rows[0][0].view().starts_with("\xEF\xBB\xBF"))
        return std::string("row 1, cell 1 starts with a byte-order mark");
    return std::nullopt;
}

bool writeStockFile(const Kx_String& path, const Kx_Array<Kx_StringArray>& rows, std::string& error)
{
    if (const auto problem = stockWriteProblem(rows)) {
        error = path.str() + ": " + *problem;
        return false;
    }
    Kx_StringArray lines;
    if (!arrArrToArr(rows, kStockSeparator, lines)) {
        error = path.str() + ": a cell cannot be written";
        return false;
    }
    std::string bytes;
    for (const Kx_String& line : lines) {
        if (line.view().size() > kMaxTextLineBytes) {
            error = path.str() + ": a row is longer than the 1 MiB a line may hold";
            return false;
        }
        bytes += line.str();
        bytes += '\n';
    }
    if (bytes.size() > kMaxTextFileBytes) {
        error = path.str() + ": the list is larger than the 16 MiB a file may hold";
        return false;
    }
    return saveFileAtomically(path.str(), bytes, &error);
}

} // namespace kx
