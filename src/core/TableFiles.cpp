// The table-file reader and writer.
#include "core/TableFiles.h"

#include "core/FileIO.h"
#include "core/Paths.h"
#include "core/StringLists.h"
#include "core/Utf8.h"
#include "platform/host/CommandLine.h"

#include <new>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

} // namespace

namespace kx {

static void linesToRows(Kx_StringArray& lines, Kx_Array<Kx_StringArray>& rows)
{
    bool utf8 = true;
    for (const Kx_String& line : lines) {
        if (!kxutf8::isValid(line.view())) {
            utf8 = false;
            break;
        }
    }
    if (!utf8) {
        // One decision for the whole file: a peer's file is single-byte text throughout, and
        // deciding per line could read the same name two ways.
        for (Kx_String& line : lines)
            line = Kx_String(windows1252ToUtf8(line.view()));
    }
    arrToArrArr(lines, '\t', rows);
}

void parseTableText(std::string_view bytes, Kx_Array<Kx_StringArray>& rows)
{
    Kx_StringArray lines;
    std::string error;
    if (!splitTextLines(bytes, kMaxTextLineBytes, lines, error)) {
        rows.setLogicalLength(0);
        return;
    }
    linesToRows(lines, rows);
}

std::optional<std::string> tableWriteProblem(const Kx_Array<Kx_StringArray>& rows)
{
    for (int r = 0; r < rows.length(); ++r) {
        const Kx_StringArray& row = rows[r];
        for (int c = 0; c < row.length(); ++c) {
            const std::string_view cell = row[c].view();
            const std::string where = "row " + std::to_string(r + 1) + ", column " + std::to_string(c + 1);
            if (cell.find('\t') != std::string_view::npos)
                return where + " holds a tab";
            if (cell.find_first_of("\r\n") != std::string_view::npos)
                return where + " holds a line break";
            if (!kxutf8::isValid(cell))
                return where + " is not UTF-8 text";
            if (r == 0 && c == 0 && cell.starts_with(kBom))
                return where + " starts with a byte-order mark";
        }
    }
    return std::nullopt;
}

std::optional<std::string> tablePathUnder(const Kx_String& folder, const Kx_String& name)
{
    if (name.isEmpty())
        return std::nullopt;
    return resolveUnderRoot(folder.view(), name.view());
}

} // namespace kx

namespace kx {

bool readTableRows(const Kx_String& path, Kx_Array<Kx_StringArray>& rows, std::string& error)
{
    try {
        const auto native = toNativePath(path.view());
        if (!native) {
            error = "Cannot read \"" + path.str() + "\": not a file name";
            return false;
        }
        Kx_StringArray lines;
        if (!readTextLines(*native, lines, error))
            return false;
        Kx_Array<Kx_StringArray> parsed;
        linesToRows(lines, parsed);
        rows = std::move(parsed);
        return true;
    } catch (const std::bad_alloc&) {
        error = "Cannot read \"" + path.str() + "\": out of memory";
        return false;
    }
}

} // namespace kx

bool readFile(const Kx_String& path, Kx_String& title, Kx_Array<Kx_StringArray>& rows)
{
    std::string error;
    if (!kx::readTableRows(path, rows, error)) {
        acutPrintf("*Error* %s\n", error.c_str());
        return false;
    }
    title = removeExtension(getFileName(path));
    return true;
}

bool writeFile(const Kx_String& path, const Kx_Array<Kx_StringArray>& rows)
{
    if (const auto problem = kx::tableWriteProblem(rows)) {
        acutPrintf("*Error* Cannot save \"%s\": %s.\n", path.c_str(), problem->c_str());
        return false;
    }
    Kx_StringArray lines;
    if (!arrArrToArr(rows, '\t', lines)) {
        acutPrintf("*Error* Cannot save \"%s\": a cell cannot be stored.\n", path.c_str());
        return false;
    }
    return ObjectExportWriteFile(path, lines);
}
