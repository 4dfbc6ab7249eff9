// kestra-ss sheet show|import|export: the grid's files for scripts. Texts in the line formats are
// escaped so one cell is one line: backslash, tab, line feed and carriage return appear as \\, \t,
// \n and \r, in what show prints and in what import reads.
#include "app/SheetCommand.h"

#include "platform/grid/Spread.h"
#include "platform/win/Window.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kxapp {

namespace {

std::string escapeField(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

bool unescapeField(std::string_view s, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i >= s.size())
            return false;
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return false;
        }
    }
    return true;
}

bool readIndex(std::string_view s, int limit, int& out)
{
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size() && out >= 0 && out <= limit;
}

// A grid window that goes away with the scope.
struct ScopedGrid {
    HWND hwnd = kxgrid::createStandaloneGrid();
    ~ScopedGrid()
    {
        if (hwnd)
            DestroyWindow(hwnd);
    }
};

int fail(const std::string& message)
{
    std::fprintf(stderr, "kestra-ss sheet: %s\n", message.c_str());
    return 1;
}

int show(const char* file)
{
    ScopedGrid g;
    if (!g.hwnd)
        return fail("cannot create a grid");
    if (!SSLoadFromFile(g.hwnd, file))
        return fail(kxgrid::lastError(g.hwnd));
    const int rows = SSGetMaxRows(g.hwnd), cols = SSGetMaxCols(g.hwnd);
    std::string out, text;
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) {
            const int n = SSGetDataLen(g.hwnd, c, r);
            if (n <= 0)
                continue;
            text.assign(static_cast<size_t>(n) + 1, '\0');
            SSGetData(g.hwnd, c, r, text.data(), n + 1);
            text.resize(static_cast<size_t>(n));
            out += std::to_string(r) + '\t' + std::to_string(c) + '\t' + escapeField(text) + '\n';
            if (out.size() > (1u << 20)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
}

int import(const char* cellsFile, const char* outFile)
{
    std::ifstream in(cellsFile, std::ios::binary);
    if (!in)
        return fail(std::string("cannot open \"") + cellsFile + "\"");
    struct Entry {
        int row, col;
        std::string content;
    };
    std::vector<Entry> entries;
    int maxRow = 0, maxCol = 0;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const size_t t1 = line.find('\t');
        const size_t t2 = t1 == std::string::npos ? std::string::npos : line.find('\t', t1 + 1);
        const std::string where = std::string(cellsFile) + " line " + std::to_string(lineNo) + ": ";
        if (t2 == std::string::npos)
            return fail(where + "expected row<TAB>column<TAB>content");
        Entry e;
        if (!readIndex(std::string_view(line).substr(0, t1), SS_MAX_ROWS, e.row))
            return fail(where + "the row \"" + line.substr(0, t1) + "\" is no number from 0 to " + std::to_string(SS_MAX_ROWS));
        if (!readIndex(std::string_view(line).substr(t1 + 1, t2 - t1 - 1), SS_MAX_COLS, e.col))
            return fail(where + "the column \"" + line.substr(t1 + 1, t2 - t1 - 1) + "\" is no number from 0 to " +
                        std::to_string(SS_MAX_COLS));
        if (!unescapeField(std::string_view(line).substr(t2 + 1), e.content))
            return fail(where + "a backslash must be followed by \\, t, n or r");
        maxRow = std::max(maxRow, e.row);
        maxCol = std::max(maxCol, e.col);
        entries.push_back(std::move(e));
    }
    if (in.bad())
        return fail(std::string("cannot read \"") + cellsFile + "\"");
    ScopedGrid g;
    if (!g.hwnd || !SSSetMaxRows(g.hwnd, maxRow) || !SSSetMaxCols(g.hwnd, maxCol))
        return fail("not enough memory for a sheet of " + std::to_string(maxRow) + " rows");
    SSSetBool(g.hwnd, SSB_ALLOWUSERFORMULAS, TRUE);
    for (const Entry& e : entries)
        if (!kxgrid::enterText(g.hwnd, e.col, e.row, e.content))
            return fail("row " + std::to_string(e.row) + " column " + std::to_string(e.col) + ": the cell refuses its content");
    if (!SSSaveToFile(g.hwnd, outFile, FALSE))
        return fail(kxgrid::lastError(g.hwnd));
    return 0;
}

int exportCsv(const char* file, const char* outFile)
{
    ScopedGrid g;
    if (!g.hwnd)
        return fail("cannot create a grid");
    if (!SSLoadFromFile(g.hwnd, file))
        return fail(kxgrid::lastError(g.hwnd));
    if (!SSExportToCSV(g.hwnd, outFile))
        return fail(kxgrid::lastError(g.hwnd));
    return 0;
}

} // namespace

void printSheetUsage(bool toStderr)
{
    std::fputs("       kestra-ss sheet show FILE\n"
               "           print every non-empty cell as row<TAB>column<TAB>data (headers are row or column 0)\n"
               "       kestra-ss sheet import CELLS OUT\n"
               "           build a sheet from lines row<TAB>column<TAB>content, typed as a user would\n"
               "           (a leading = makes a formula), and save it as OUT\n"
               "       kestra-ss sheet export FILE OUT.csv\n"
               "           write the sheet's cells as CSV\n"
               "       In cell texts \\\\, \\t, \\n and \\r stand for a backslash, tab, line feed and return.\n",
               toStderr ? stderr : stdout);
}

int runSheetCommand(int argc, char** argv)
{
    const std::string sub = argc > 1 ? argv[1] : "";
    if (sub == "show" && argc == 3)
        return show(argv[2]);
    if (sub == "import" && argc == 4)
        return import(argv[2], argv[3]);
    if (sub == "export" && argc == 4)
        return exportCsv(argv[2], argv[3]);
    std::fputs("usage:\n", stderr);
    printSheetUsage(true);
    return 2;
}

} // namespace kxapp
