// Spreadsheet files as the module names them, the sheet whose formulas are being evaluated, and
// the table lookup "FROMTABLE" that one sheet's formulas use to draw values from another file.
// The Formulas dialog (ZnDlgFormulas.h) and the exported readers (SpreadLaunchers.h) build on it.
#pragma once

#include "platform/grid/Spread.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <string_view>

namespace kxss {

// ---- File names ----------------------------------------------------------------------------------
// The folder that stands for drive C: $KESTRA_SS_DRIVE_C when set and not empty, else "drive-c"
// in the library folder. Names written for the Windows host ("c:\a\t3.sss") open below it.
std::string driveCFolder();
// The name the grid is given for a file name from a caller, a sheet or the dialog: "c:" or "C:"
// followed by a separator is replaced by driveCFolder(), every '\' becomes '/'. Other names are
// kept (relative ones open from the current folder). Empty for an empty name or one with a NUL.
std::string sheetFileName(std::string_view name);

// ---- The current sheet -----------------------------------------------------------------------------
// The grid whose formulas are being evaluated (null until an evaluation starts). A FROMTABLE call
// reads it to know which sheet called it.
HWND currentSheet();

// Makes a grid the current sheet for its lifetime and restores the previous one on every path out,
// so that nested evaluations hand each level's sheet back to its caller.
class CurrentSheetScope {
public:
    explicit CurrentSheetScope(HWND sheet);
    ~CurrentSheetScope();
    CurrentSheetScope(const CurrentSheetScope&) = delete;
    CurrentSheetScope& operator=(const CurrentSheetScope&) = delete;
    HWND previous() const { return m_previous; }

private:
    HWND m_previous;
};

// ---- FROMTABLE ---------------------------------------------------------------------------------------
inline constexpr const char* kFromTableName = "FROMTABLE";
inline constexpr short kFromTableMinArgs = 2;
// The 5-argument form (key lookup written into a cell) has to pass the grid's argument count.
inline constexpr short kFromTableMaxArgs = 5;
// Table files evaluated inside each other (a table whose formulas use FROMTABLE) nest at most this
// deep; a file already being evaluated further out is never entered again.
inline constexpr int kMaxTableChain = 8;

// Registers FROMTABLE on a grid (loading a file forgets a grid's functions: register again after).
bool registerFromTable(HWND grid);

// The callback the grid calls. The calling sheet is the grid that calls (currentSheet() when the
// grid gives none). Always TRUE: a lookup that finds nothing answers "no value".
BOOL fromTableCallback(HWND grid, int col, int row, SS_VALUE* result, const SS_VALUE* args, short count);

// Answers one FROMTABLE call made from the sheet `calling`. result gets status "no value" unless a
// cell of the table becomes the result. The argument strings stay the caller's. Nothing happens
// when result, args or calling is null.
void answerFromTable(SS_VALUE* result, const SS_VALUE* args, int count, HWND calling);

// How many table files are being evaluated inside each other right now, and whether a file (by
// its canonical path) is one of them.
int tableChainDepth();
// The canonical path of the table evaluated innermost; empty when none is.
const std::string& tableChainTop();
bool inTableChain(const std::string& canonical);
// Marks a table file as being evaluated for the scope's lifetime.
class TableChainScope {
public:
    explicit TableChainScope(const std::string& canonical);
    ~TableChainScope();
    TableChainScope(const TableChainScope&) = delete;
    TableChainScope& operator=(const TableChainScope&) = delete;
};

} // namespace kxss
