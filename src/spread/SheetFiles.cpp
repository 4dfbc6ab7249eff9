// File names, the current sheet and the FROMTABLE lookup.
#include "spread/SheetFiles.h"

#include "core/Kx_Settings.h"
#include "core/Kx_String.h"
#include "core/Paths.h"
#include "platform/formula/Value.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "spread/TableCache.h"
#include "platform/win/Clipboard.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <utility>
#include <string>
#include <vector>

namespace kxss {

// ---- File names ----------------------------------------------------------------------------------

std::string driveCFolder()
{
    const char* configured = std::getenv("KESTRA_SS_DRIVE_C");
    if (configured != nullptr && *configured != '\0')
        return configured;
    return Kx_Settings::libDir().str() + "drive-c";
}

std::string sheetFileName(std::string_view name)
{
    if (name.empty() || name.find('\0') != std::string_view::npos)
        return {};
    std::string result;
    if (name.size() >= 3 && (name[0] == 'c' || name[0] == 'C') && name[1] == ':' && (name[2] == '\\' || name[2] == '/')) {
        result = driveCFolder();
        name.remove_prefix(2);
    }
    result.append(name);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

// ---- The current sheet -------------------------------------------------------------------------------

namespace {
HWND g_currentSheet = nullptr;
}

HWND currentSheet()
{
    return g_currentSheet;
}

CurrentSheetScope::CurrentSheetScope(HWND sheet) : m_previous(g_currentSheet)
{
    g_currentSheet = sheet;
}

CurrentSheetScope::~CurrentSheetScope()
{
    g_currentSheet = m_previous;
}

// ---- FROMTABLE ---------------------------------------------------------------------------------------

namespace {

// The canonical paths of the table files being evaluated, outermost first. A table whose formulas
// look into itself, or tables that look into each other in a circle, would otherwise open one
// evaluation inside the other without end.
std::vector<std::string> g_tableChain;

// A cell argument: FROMTABLE is added with SS_CUSTFUNC_WANTCELLREF, so a single cell written in the
// formula arrives as a cell reference; a range of one cell names that cell too.
std::optional<std::pair<int, int>> cellOf(const SS_VALUE& a)
{
    if (a.status != SS_VALUESTATUS_OK)
        return std::nullopt;
    if (a.kind == SS_VALUE_CELL)
        return std::pair<int, int>{a.cell.col, a.cell.row};
    if (a.kind == SS_VALUE_RANGE && a.cell.col == a.cell.lastCol && a.cell.row == a.cell.lastRow)
        return std::pair<int, int>{a.cell.col, a.cell.row};
    return std::nullopt;
}

// The string handle of a string record; null for any other record.
HGLOBAL stringHandleOf(const SS_VALUE& a)
{
    return a.status == SS_VALUESTATUS_OK && a.kind == SS_VALUE_STRING ? a.stringHandle : nullptr;
}

std::optional<std::string> stringOf(const SS_VALUE& a)
{
    const HGLOBAL handle = stringHandleOf(a);
    if (handle == nullptr)
        return std::nullopt;
    const std::size_t size = GlobalSize(handle);
    const auto* bytes = static_cast<const char*>(GlobalLock(handle));
    if (bytes == nullptr || size == 0)
        return std::nullopt;
    std::string text(bytes, strnlen(bytes, size));
    GlobalUnlock(handle);
    return text;
}

// The text an argument stands for in a key search; no value when it cannot be formed. A boolean
// arrives as the long 1 or 0.
std::optional<std::string> argumentText(const SS_VALUE& a, HWND calling)
{
    if (a.status != SS_VALUESTATUS_OK)
        return std::nullopt;
    switch (a.kind) {
    case SS_VALUE_LONG: return std::to_string(std::int32_t{a.longValue});
    // A number key (=FROMTABLE(f,"Size","Weight",200)) means the text it shows.
    case SS_VALUE_DOUBLE: return kxformula::formatGeneral(a.doubleValue);
    case SS_VALUE_STRING: return stringOf(a);
    case SS_VALUE_CELL:
    case SS_VALUE_RANGE:
        // A cell of the calling sheet means its data text; a range of several cells the empty text.
        if (const auto cell = cellOf(a))
            return cellData(calling, cell->first, cell->second);
        return std::string();
    default: return std::nullopt;
    }
}

// atoi without its undefined overflow: leading blanks, a sign, digits; held to the int range.
std::int32_t leadingInteger(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void setReadFailed(SS_VALUE& result)
{
    result.status = SS_VALUESTATUS_ERROR;
    result.kind = SS_VALUE_LONG;
    result.longValue = SS_VALUEERROR_REF;
}

// A table cell into the result record, by the cell's type code.
void cellToResult(HWND grid, int col, int row, SS_VALUE& result)
{
    const int type = SSGetCellType(grid, col, row);
    const std::optional<std::string> text = cellData(grid, col, row);
    if (!text) {
        setReadFailed(result);
        return;
    }
    result.status = SS_VALUESTATUS_OK;
    if (type == 10 || type == 12) {
        result.kind = SS_VALUE_LONG;
        result.longValue = leadingInteger(*text);
    } else if (type == 14 || type == 15 || type == 16) {
        double value = 0;
        if (!SSGetFloat(grid, col, row, &value)) {
            setReadFailed(result);
            return;
        }
        result.kind = SS_VALUE_DOUBLE;
        result.doubleValue = value;
    } else {
        result.kind = SS_VALUE_STRING;
        result.stringHandle = nullptr;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text->size() + 1);
        void* bytes = h ? GlobalLock(h) : nullptr;
        if (bytes == nullptr) {
            if (h)
                GlobalFree(h);
            acutPrintf("Reallocate failed\n");
            return;
        }
        std::memcpy(bytes, text->c_str(), text->size() + 1);
        GlobalUnlock(h);
        result.stringHandle = h;
    }
}

// The result line. Printing copies the text and leaves the handle alone: the result goes back to
// the grid, the receiver, which frees it.
void printResult(const SS_VALUE& result)
{
    if (result.status != SS_VALUESTATUS_OK)
        return;
    switch (result.kind) {
    case SS_VALUE_LONG: acutPrintf("Result is long: %i\n", static_cast<int>(result.longValue)); break;
    // Six decimals as "%f" prints them, but with a decimal point whatever locale the host set.
    case SS_VALUE_DOUBLE:
        acutPrintf("Result is double: %s\n", Kx_String(static_cast<double>(result.doubleValue), 6).c_str());
        break;
    case SS_VALUE_STRING: acutPrintf("Result is string: %s\n", stringOf(result).value_or("").c_str()); break;
    case SS_VALUE_CELL: acutPrintf("Result is cell\n"); break;
    case SS_VALUE_RANGE: acutPrintf("Result is range\n"); break;
    default: break;
    }
}

} // namespace

TableChainScope::TableChainScope(const std::string& canonical)
{
    g_tableChain.push_back(canonical);
}

TableChainScope::~TableChainScope()
{
    g_tableChain.pop_back();
}

bool inTableChain(const std::string& canonical)
{
    return std::find(g_tableChain.begin(), g_tableChain.end(), canonical) != g_tableChain.end();
}

int tableChainDepth()
{
    return static_cast<int>(g_tableChain.size());
}

const std::string& tableChainTop()
{
    static const std::string none;
    return g_tableChain.empty() ? none : g_tableChain.back();
}

bool registerFromTable(HWND grid)
{
    return SSAddCustomFunctionExt(grid, kFromTableName, kFromTableMinArgs, kFromTableMaxArgs, &fromTableCallback,
                                  SS_CUSTFUNC_WANTCELLREF) != FALSE;
}

BOOL fromTableCallback(HWND grid, int, int, SS_VALUE* result, const SS_VALUE* args, short count)
{
    // Nothing may escape into the grid's recalculation; a failure leaves the result without value.
    try {
        acutPrintf("Loading spreadsheet:%s\n", "");
        answerFromTable(result, args, count, grid != nullptr ? grid : currentSheet());
    } catch (...) {
    }
    // The callback receives the argument strings: it frees them once the lookup is done.
    if (args != nullptr)
        for (short i = 0; i < count; ++i)
            if (const HGLOBAL h = stringHandleOf(args[i]))
                GlobalFree(h);
    return TRUE;
}

void answerFromTable(SS_VALUE* result, const SS_VALUE* args, int count, HWND calling)
{
    if (result == nullptr || args == nullptr || calling == nullptr)
        return;
    result->status = SS_VALUESTATUS_EMPTY;
    if (count < 1)
        return;
    const std::span<const SS_VALUE> a(args, static_cast<std::size_t>(count));
    // An argument without a value (an error, or one left out: FROMTABLE(f,,"Weight",k)) gives no
    // value. An empty cell named as a key is a cell reference, and stands for the empty text.
    if (std::any_of(a.begin(), a.end(), [](const SS_VALUE& x) { return x.status != SS_VALUESTATUS_OK; }))
        return;
    const std::optional<std::string> fileName = stringOf(a[0]);
    if (!fileName)
        return;

    TableCache::Table* table = TableCache::instance().open(sheetFileName(*fileName));
    if (table == nullptr)
        return;
    TableChainScope chain(table->canonical);
    const HWND grid = table->grid;
    // The table's own formulas (FROMTABLE among them) are evaluated with the table as their sheet.
    CurrentSheetScope current(grid);

    int col = -1;
    int row = -1;
    if (count == 2 || count == 3) {
        if (const auto cell = cellOf(a[1])) {
            col = cell->first;
            row = cell->second;
        }
    } else if (count == 4 || count == 5) {
        const std::optional<std::string> keyName = argumentText(a[1], calling);
        const std::optional<std::string> resultName = argumentText(a[2], calling);
        const std::optional<std::string> key = argumentText(a[3], calling);
        const int keyCol = keyName ? table->findColumn(*keyName) : -1;
        const int resultCol = resultName ? table->findColumn(*resultName) : -1;
        const int keyRow = (key && keyCol > 0) ? table->findRow(keyCol, *key) : -1;
        if (keyCol > 0 && resultCol > 0 && keyRow > 0) {
            col = resultCol;
            row = keyRow;
        }
    }
    if (col == -1 || row == -1)
        return;

    SSReCalcCell(grid, col, row);
    if (count == 3 || count == 5) {
        if (const auto target = cellOf(a[static_cast<std::size_t>(count - 1)]))
            if (const std::optional<std::string> text = cellData(grid, col, row))
                SSSetData(calling, target->first, target->second, text->c_str());
        return;
    }
    cellToResult(grid, col, row, *result);
    printResult(*result);
}

} // namespace kxss
