// kestra-ss sheet show|import|export|eval|bench: the grid's files and formulas for scripts. Texts in the
// line formats are escaped so one cell is one line: backslash, tab, line feed and carriage return
// appear as \\, \t, \n and \r, in what show and eval print and in what import, eval and bench read.
// kestra-ss sheet edit opens the module's spreadsheet editor on a display.
#include "app/SheetCommand.h"

#include "app/SheetPrintCommand.h"

#include "core/FileIO.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "core/StringLists.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "spread/SheetFiles.h"
#include "xlsx/SheetXlsxExport.h"
#ifdef KX_HAVE_QT
#include "app/HostedModule.h"
#include "core/Kx_String.h"
#include "platform/qt/QtBackend.h"
#endif

#include <sys/resource.h>

#include <chrono>
#include <charconv>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kxapp {

namespace {

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
    kxss::registerFromTable(g.hwnd);
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
            out += std::to_string(r) + '\t' + std::to_string(c) + '\t' + escapeLineField(text) + '\n';
            if (out.size() > (1u << 20)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
}

struct Entry {
    int row, col;
    std::string content;
};

// Reads lines row<TAB>column<TAB>content; 0 or the exit code of a failure (message printed).
int readCells(const char* cellsFile, std::vector<Entry>& entries, int& maxRow, int& maxCol)
{
    std::ifstream in(cellsFile, std::ios::binary);
    if (!in)
        return fail(std::string("cannot open \"") + cellsFile + "\"");
    maxRow = maxCol = 0;
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
    return 0;
}

// A sheet of the cells' size with every cell entered as a user types it; automatic recalculation
// is off while the cells are entered and the sheet is recalculated once at the end.
int buildSheet(HWND g, const std::vector<Entry>& entries, int maxRow, int maxCol, bool r1c1)
{
    if (!g || !SSSetMaxRows(g, maxRow) || !SSSetMaxCols(g, maxCol))
        return fail("not enough memory for a sheet of " + std::to_string(maxRow) + " rows");
    SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetBool(g, SSB_REDRAW, FALSE);
    SSSetBool(g, SSB_AUTOCALC, FALSE);
    if (r1c1)
        SSSetRefStyle(g, SS_REFSTYLE_R1C1);
    // The module's sheets all know the table lookup; so does a sheet built here.
    kxss::registerFromTable(g);
    for (const Entry& e : entries)
        if (!kxgrid::enterText(g, e.col, e.row, e.content))
            return fail("row " + std::to_string(e.row) + " column " + std::to_string(e.col) + ": the cell refuses its content");
    SSReCalc(g);
    SSSetBool(g, SSB_AUTOCALC, TRUE);
    return 0;
}

std::string dataText(HWND g, int c, int r, std::string& text)
{
    const int n = SSGetDataLen(g, c, r);
    if (n <= 0)
        return std::string();
    text.assign(static_cast<size_t>(n) + 1, '\0');
    SSGetData(g, c, r, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

int eval(const char* cellsFile, bool r1c1)
{
    std::vector<Entry> entries;
    int maxRow = 0, maxCol = 0;
    if (int rc = readCells(cellsFile, entries, maxRow, maxCol))
        return rc;
    ScopedGrid g;
    if (int rc = buildSheet(g.hwnd, entries, maxRow, maxCol, r1c1))
        return rc;
    std::string out, text;
    for (int r = 0; r <= maxRow; ++r)
        for (int c = 0; c <= maxCol; ++c) {
            if (dataText(g.hwnd, c, r, text).empty())
                continue;
            out += std::to_string(r) + '\t' + std::to_string(c) + '\t' + escapeLineField(text) + '\n';
            if (out.size() > (1u << 20)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// content: what the edited cell gets as typed (a text, a number or a formula); without it the
// cell's number plus 1.
int bench(const char* cellsFile, int editRow, int editCol, const std::optional<std::string>& content)
{
    std::vector<Entry> entries;
    int maxRow = 0, maxCol = 0;
    if (int rc = readCells(cellsFile, entries, maxRow, maxCol))
        return rc;
    const auto buildStart = std::chrono::steady_clock::now();
    ScopedGrid g;
    if (int rc = buildSheet(g.hwnd, entries, maxRow, maxCol, false))
        return rc;
    const double buildMs = msSince(buildStart);

    const std::string where = "the cell at row " + std::to_string(editRow) + " column " + std::to_string(editCol);
    double recalcMs = 0;
    if (content) {
        if (editRow > maxRow || editCol > maxCol)
            return fail(where + " lies outside the sheet");
        const auto recalcStart = std::chrono::steady_clock::now();
        if (!kxgrid::enterText(g.hwnd, editCol, editRow, *content))
            return fail(where + " refuses its new content");
        recalcMs = msSince(recalcStart);
    } else {
        double value = 0;
        if (editRow > maxRow || editCol > maxCol || SSGetFormulaLen(g.hwnd, editCol, editRow) > 0 ||
            !SSGetFloat(g.hwnd, editCol, editRow, &value))
            return fail(where + " holds no number");
        const auto recalcStart = std::chrono::steady_clock::now();
        if (!SSSetFloat(g.hwnd, editCol, editRow, value + 1))
            return fail(where + " refuses the new number");
        recalcMs = msSince(recalcStart);
    }

    const auto readStart = std::chrono::steady_clock::now();
    std::string text;
    std::size_t bytes = 0;
    for (int r = 1; r <= maxRow; ++r)
        for (int c = 1; c <= maxCol; ++c)
            bytes += dataText(g.hwnd, c, r, text).size();
    const double readMs = msSince(readStart);
    (void)bytes;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    // Numbers with a decimal point whatever locale the process runs under: the line is JSON.
    std::printf("{\"build_ms\": %s, \"recalc_ms\": %s, \"read_ms\": %s, \"peak_memory_mb\": %s}\n",
                Kx_String(buildMs, 3).c_str(), Kx_String(recalcMs, 3).c_str(), Kx_String(readMs, 3).c_str(),
                Kx_String(peakMb, 1).c_str());
    return std::fflush(stdout) == 0 ? 0 : fail("cannot write the output");
}

int import(const char* cellsFile, const char* outFile)
{
    std::vector<Entry> entries;
    int maxRow = 0, maxCol = 0;
    if (int rc = readCells(cellsFile, entries, maxRow, maxCol))
        return rc;
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
    kxss::registerFromTable(g.hwnd);
    if (!SSExportToCSV(g.hwnd, outFile))
        return fail(kxgrid::lastError(g.hwnd));
    return 0;
}

// The sheet as an .xlsx workbook; formulas that cannot travel are named on standard error.
int exportXlsx(const char* file, const char* outFile)
{
    ScopedGrid g;
    if (!g.hwnd)
        return fail("cannot create a grid");
    // Without its formula engine the grid keeps the results the file stored: the values the user
    // last saw, also of formulas whose custom functions (FROMTABLE) only the module registers and
    // that a recalculation here would turn into #NAME?.
    kxgrid::setFormulaHook(g.hwnd, nullptr);
    if (!SSLoadFromFile(g.hwnd, file))
        return fail(kxgrid::lastError(g.hwnd));
    kxxlsx::XlsxExportOptions options;
    options.sheetPath = file;
    const kxxlsx::XlsxExportResult result = kxxlsx::exportSheetToXlsx(g.hwnd, outFile, options);
    if (!result.ok)
        return fail(result.error);
    const std::string notice = kxxlsx::lastValueNotice(result);
    if (!notice.empty())
        std::fprintf(stderr, "kestra-ss sheet export: %s\n", notice.c_str());
    const std::string printNotice = kxxlsx::printSettingsNotice(result);
    if (!printNotice.empty())
        std::fprintf(stderr, "kestra-ss sheet export: %s\n", printNotice.c_str());
    return 0;
}

bool endsWithXlsx(std::string_view name)
{
    if (name.size() < 5)
        return false;
    std::string ext(name.substr(name.size() - 5));
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext == ".xlsx";
}

int editFail(const std::string& message)
{
    std::fprintf(stderr, "kestra-ss sheet edit: %s\n", message.c_str());
    return 1;
}

// Opens the spreadsheet editor through the module, as the host would, and returns when the user
// closed it. The file is checked before any window opens.
int edit(const char* programPath, const char* file)
{
    std::string path;
    if (file != nullptr) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            return editFail(std::string("cannot open \"") + file + "\": there is no such file");
        std::string ext = std::filesystem::path(file).extension().string();
        for (char& ch : ext)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (ext == ".tsv" || ext == ".txt") {
            // A tab-separated text table: the editor reads it as a table.
            Kx_StringArray lines;
            std::string error;
            if (!kx::readTextLines(file, lines, error))
                return editFail(error);
        } else {
            ScopedGrid g;
            if (!g.hwnd)
                return editFail("cannot create a grid");
            if (!SSLoadFromFile(g.hwnd, file))
                return editFail(kxgrid::lastError(g.hwnd));
        }
        path = std::filesystem::absolute(file, ec).string();
        if (ec)
            path = file;
    }
#ifdef KX_HAVE_QT
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool offscreen = platform != nullptr && std::string_view(platform) == "offscreen";
    if (!offscreen && !kxqt::hasDisplay())
        return editFail("no display (set DISPLAY or use QT_QPA_PLATFORM=offscreen)");
    std::string error;
    if (!kxqt::startQt(offscreen ? kxqt::QtDisplay::Offscreen : kxqt::QtDisplay::Screen, &error) ||
        !kxqt::installQtBackend())
        return editFail(error.empty() ? "Qt cannot start" : error);
    // The backend goes before the module and before Qt's own globals at exit.
    struct BackendGuard {
        ~BackendGuard() { kxqt::removeQtBackend(); }
    } backendGuard;
    HostedModule module;
    if (!module.load(programPath != nullptr ? programPath : "kestra-ss", error))
        return editFail(error);
    auto* start = module.function<bool(const Kx_String&)>(kStartSheetEditor);
    if (start == nullptr)
        return editFail("the module does not export StartSheetEditor");
    return start(Kx_String(path)) ? 0 : 1;
#else
    (void)programPath;
    return editFail("no display (set DISPLAY or use QT_QPA_PLATFORM=offscreen)");
#endif
}

} // namespace

void printSheetUsage(bool toStderr)
{
    std::fputs("       kestra-ss sheet show FILE\n"
               "           print every non-empty cell as row<TAB>column<TAB>data (headers are row or column 0)\n"
               "       kestra-ss sheet import CELLS OUT\n"
               "           build a sheet from lines row<TAB>column<TAB>content, typed as a user would\n"
               "           (a leading = makes a formula), and save it as OUT\n"
               "       kestra-ss sheet export FILE OUT.csv|OUT.xlsx\n"
               "           write the sheet's cells as CSV, or as an .xlsx workbook with formulas, looks,\n"
               "           joined cells, sizes and pictures (the extension chooses); formulas an .xlsx\n"
               "           file cannot hold are written as their last value and named on standard error\n"
               "       kestra-ss sheet eval CELLS [--r1c1]\n"
               "           build a sheet from CELLS as import does, recalculate it and print every non-empty\n"
               "           cell as row<TAB>column<TAB>data; --r1c1 reads formulas in R1C1 style\n"
               "       kestra-ss sheet bench CELLS [--edit ROW,COL[=CONTENT]]\n"
               "           build the sheet, add 1 to the number in ROW,COL (default 1,1) with automatic\n"
               "           recalculation on, read every cell back and print one JSON line:\n"
               "           {\"build_ms\", \"recalc_ms\", \"read_ms\", \"peak_memory_mb\"}\n"
               "       kestra-ss sheet edit [FILE]\n"
               "           open FILE (or a new sheet) in the spreadsheet editor; needs a display\n"
               "           (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM=offscreen); exits when it is closed\n"
               "       kestra-ss sheet print FILE OUT.pdf [--paper A4|Letter] [--landscape]\n"
               "           print the sheet to PDF with its print settings (docs/sheet-printing.md);\n"
               "           paper A4 (default) or Letter, portrait unless --landscape\n"
               "       In cell texts \\\\, \\t, \\n and \\r stand for a backslash, tab, line feed and return.\n",
               toStderr ? stderr : stdout);
}

int runSheetCommand(int argc, char** argv, const char* programPath)
{
    const std::string sub = argc > 1 ? argv[1] : "";
    if (sub == "edit" && (argc == 2 || argc == 3))
        return edit(programPath, argc == 3 ? argv[2] : nullptr);
    if (sub == "print")
        return runSheetPrint(argc, argv);
    if (sub == "show" && argc == 3)
        return show(argv[2]);
    if (sub == "import" && argc == 4)
        return import(argv[2], argv[3]);
    if (sub == "export" && argc == 4)
        return endsWithXlsx(argv[3]) ? exportXlsx(argv[2], argv[3]) : exportCsv(argv[2], argv[3]);
    if (sub == "eval" && (argc == 3 || (argc == 4 && std::string_view(argv[3]) == "--r1c1")))
        return eval(argv[2], argc == 4);
    if (sub == "bench" && (argc == 3 || (argc == 5 && std::string_view(argv[3]) == "--edit"))) {
        int row = 1, col = 1;
        std::optional<std::string> content;
        if (argc == 5) {
            std::string_view where = argv[4];
            // ROW,COL=CONTENT: the content is everything after the first '=' ("1,1==A2*3" types =A2*3).
            if (const size_t equals = where.find('='); equals != std::string_view::npos) {
                content = std::string(where.substr(equals + 1));
                where = where.substr(0, equals);
            }
            const size_t comma = where.find(',');
            if (comma == std::string_view::npos || !readIndex(where.substr(0, comma), SS_MAX_ROWS, row) ||
                !readIndex(where.substr(comma + 1), SS_MAX_COLS, col) || row < 1 || col < 1) {
                std::fputs("usage:\n", stderr);
                printSheetUsage(true);
                return 2;
            }
        }
        return bench(argv[2], row, col, content);
    }
    std::fputs("usage:\n", stderr);
    printSheetUsage(true);
    return 2;
}

} // namespace kxapp
