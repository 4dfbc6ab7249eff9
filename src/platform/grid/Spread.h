// The grid control's function interface: every call the module makes on a grid, each taking the
// grid window's handle first. A handle that is no live grid makes every call fail (FALSE, -1 or
// null) without side effects. Columns and rows count from 1; 0 and SS_HEADER address the headers.
// Numbers, codes and the type record are in GridTypes.h. The window itself (class
// kGridClassName) is registered when this library loads.
#pragma once

#include "platform/grid/GridTypes.h"
#include "platform/grid/KxGridExport.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Font.h"
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// --- Custom formula functions ----------------------------------------------------------------------
// One value passed to or returned by a custom function: a packed record of 24 bytes, the same
// layout on every build.
//
//   byte 0      status  SS_VALUESTATUS_OK (0) the record holds a value
//                       SS_VALUESTATUS_ERROR (1) reading the cell failed / an error value
//                       SS_VALUESTATUS_EMPTY (2) no value
//   byte 1      kind    which field holds the value:
//   byte 2, 4   SS_VALUE_LONG (0)    longValue, signed 32-bit
//   byte 2, 8   SS_VALUE_DOUBLE (1)  doubleValue
//   byte 2, 8   SS_VALUE_STRING (2)  stringHandle: a GMEM_MOVEABLE block (platform/win/Clipboard.h)
//                                    holding a zero-terminated UTF-8 string
//   byte 4, 4   SS_VALUE_CELL (3)    cell.col   column of the referenced cell
//   byte 8, 4                        cell.row   row of the referenced cell
//   SS_VALUE_RANGE (4), our own addition: cell.col at 4 and cell.row at 8 name the first cell,
//   cell.lastCol at 12 and cell.lastRow at 16 the last one.
//   bytes 20..23 are unused (zero).
//
// Further conventions of this grid:
//   - Booleans travel as SS_VALUE_LONG, 1 or 0.
//   - An error value argument has status SS_VALUESTATUS_ERROR, kind SS_VALUE_LONG and the error code
//     of the formula engine (SS_VALUEERROR_*) in longValue. A callback may answer an error the same
//     way; an error status with any other code makes the cell #VALUE!.
//   - An empty argument or an omitted one has status SS_VALUESTATUS_EMPTY (kind SS_VALUE_LONG, 0).
//   - A range written in the formula arrives as SS_VALUE_RANGE. A single cell written in the
//     formula arrives as SS_VALUE_CELL when the function was added with SS_CUSTFUNC_WANTCELLREF,
//     else as its value.
//
// String handles belong to the receiver, which copies the text and frees the handle:
//   - Arguments: the callback is the receiver and frees the string handles it reads. So that a
//     callback that ignores an argument leaks nothing, the grid frees every argument handle again
//     after the call returns; GlobalFree of a handle already freed is a harmless no-op in our window
//     layer (handles are never reused, a stale one is simply not found).
//   - The result: a string the callback returns is a block it allocated with GlobalAlloc; the grid
//     is the receiver, reads it and frees it.
#pragma pack(push, 1)
struct SS_VALUE {
    std::uint8_t status;  // SS_VALUESTATUS_*
    std::uint8_t kind;    // SS_VALUE_*
    union {
        std::int32_t longValue;
        double doubleValue;
        HGLOBAL stringHandle;
        struct {
            std::uint16_t unused;  // status and kind lie before it
            std::int32_t col, row;          // SS_VALUE_CELL, first cell of SS_VALUE_RANGE
            std::int32_t lastCol, lastRow;  // last cell of SS_VALUE_RANGE
        } cell;
    };
    std::uint8_t reserved[4];
};
#pragma pack(pop)
static_assert(sizeof(HGLOBAL) <= 8, "a string handle fits its 8 bytes");
static_assert(sizeof(SS_VALUE) == 24, "the value record is 24 bytes");
static_assert(offsetof(SS_VALUE, status) == 0 && offsetof(SS_VALUE, kind) == 1);
static_assert(offsetof(SS_VALUE, longValue) == 2);
static_assert(offsetof(SS_VALUE, doubleValue) == 2);
static_assert(offsetof(SS_VALUE, stringHandle) == 2);
static_assert(offsetof(SS_VALUE, cell.col) == 4 && offsetof(SS_VALUE, cell.row) == 8);
static_assert(offsetof(SS_VALUE, cell.lastCol) == 12 && offsetof(SS_VALUE, cell.lastRow) == 16);

inline constexpr std::uint8_t SS_VALUESTATUS_OK = 0;
inline constexpr std::uint8_t SS_VALUESTATUS_ERROR = 1;  // reading the cell failed, or an error value
inline constexpr std::uint8_t SS_VALUESTATUS_EMPTY = 2;  // "no value": the calling cell stays empty

inline constexpr std::uint8_t SS_VALUE_LONG = 0;
inline constexpr std::uint8_t SS_VALUE_DOUBLE = 1;
inline constexpr std::uint8_t SS_VALUE_STRING = 2;
inline constexpr std::uint8_t SS_VALUE_CELL = 3;
inline constexpr std::uint8_t SS_VALUE_RANGE = 4;

// Error codes of the formula engine (longValue of a record with status SS_VALUESTATUS_ERROR), as
// the cells show them.
inline constexpr std::int32_t SS_VALUEERROR_NULL = 1;   // #NULL!
inline constexpr std::int32_t SS_VALUEERROR_DIV0 = 2;   // #DIV/0!
inline constexpr std::int32_t SS_VALUEERROR_VALUE = 3;  // #VALUE!
inline constexpr std::int32_t SS_VALUEERROR_REF = 4;    // #REF!
inline constexpr std::int32_t SS_VALUEERROR_NAME = 5;   // #NAME?
inline constexpr std::int32_t SS_VALUEERROR_NUM = 6;    // #NUM!
inline constexpr std::int32_t SS_VALUEERROR_NA = 7;     // #N/A
inline constexpr std::int32_t SS_VALUEERROR_CYCLE = 8;  // #CYCLE!
inline constexpr std::int32_t SS_VALUEERROR_SYNTAX = 9; // #ERROR!

// A custom function's callback. `grid`, `col` and `row` name the calling sheet and the cell whose
// formula calls it; `args` holds argCount records (argCount may be 0, args then null). The callback
// fills `result` (it arrives with status SS_VALUESTATUS_EMPTY) and returns TRUE; FALSE makes the
// call #VALUE!. It may read and write cells of any grid, the calling one included.
using SSFUNCPROC = BOOL (*)(HWND grid, int col, int row, SS_VALUE* result, const SS_VALUE* args, short argCount);

// --- Counts ------------------------------------------------------------------------------------
// FALSE for a negative count or one above SS_MAX_ROWS / SS_MAX_COLS, and when memory runs out;
// the grid is unchanged then. Cutting drops the cells beyond the new count.
KXGRID_API BOOL SSSetMaxRows(HWND hwnd, int rows);
KXGRID_API BOOL SSSetMaxCols(HWND hwnd, int cols);
// -1 for a handle that is no grid.
KXGRID_API int SSGetMaxRows(HWND hwnd);
KXGRID_API int SSGetMaxCols(HWND hwnd);

// --- Texts ---------------------------------------------------------------------------------------
// Readers copy into buffer (size bytes, zero-terminated, cut at a character boundary) and return
// the bytes copied; -1 for a cell outside the sheet or a handle that is no grid. The Len functions
// return the full length in bytes (-1 likewise): a buffer of length + 1 holds the whole text.
// Data (kind 0): what the cell shows; a number cell's value formatted with its decimals, a formula
// cell's computed result. Writing data coerces the text to the cell's type or refuses it (FALSE,
// cell unchanged); GridTypes.h and docs/sheet-file-format.md list the rules. Writing data over a
// formula removes the formula.
KXGRID_API BOOL SSSetData(HWND hwnd, int col, int row, LPCSTR text);
KXGRID_API int SSGetData(HWND hwnd, int col, int row, LPSTR buffer, int size);
KXGRID_API int SSGetDataLen(HWND hwnd, int col, int row);
// Value (kind 3): the unformatted form (a number as typed, a combo box's item index when its
// style says so, "1"/"0" for check boxes).
KXGRID_API BOOL SSSetValue(HWND hwnd, int col, int row, LPCSTR text);
KXGRID_API int SSGetValue(HWND hwnd, int col, int row, LPSTR buffer, int size);
KXGRID_API int SSGetValueLen(HWND hwnd, int col, int row);
// Formula (kind 1): the text as typed, without the leading "="; an empty text removes it.
KXGRID_API BOOL SSSetFormula(HWND hwnd, int col, int row, LPCSTR formula, BOOL buildDependencies);
KXGRID_API int SSGetFormula(HWND hwnd, int col, int row, LPSTR buffer, int size);
KXGRID_API int SSGetFormulaLen(HWND hwnd, int col, int row);
// Tag (kind 2) and note: hidden texts of a cell.
KXGRID_API BOOL SSSetCellTag(HWND hwnd, int col, int row, LPCSTR tag);
KXGRID_API int SSGetCellTag(HWND hwnd, int col, int row, LPSTR buffer, int size);
KXGRID_API int SSGetCellTagLen(HWND hwnd, int col, int row);
KXGRID_API BOOL SSSetCellNote(HWND hwnd, int col, int row, LPCSTR note);
KXGRID_API int SSGetCellNote(HWND hwnd, int col, int row, LPSTR buffer, int size);
KXGRID_API BOOL SSSetCellNoteIndicator(HWND hwnd, int indicator);
// Numbers: SSGetFloat reads the value form as a number (FALSE when it is none); SSSetFloat writes
// the shortest text that reads back the same, as a value.
KXGRID_API BOOL SSGetFloat(HWND hwnd, int col, int row, double* value);
KXGRID_API BOOL SSSetFloat(HWND hwnd, int col, int row, double value);
// Empties the data, formula, tag and note of every cell of the block (types and looks stay).
KXGRID_API BOOL SSClearData(HWND hwnd, int col1, int row1, int col2, int row2);

// --- Cell types ----------------------------------------------------------------------------------
// The SSSetType* functions fill the record (and return it; null for a null record) without touching
// any cell; SSSetCellType(Range) applies it. Data the new type cannot hold is cleared.
KXGRID_API SS_CELLTYPE* SSSetTypeEdit(HWND hwnd, SS_CELLTYPE* type, long style, int maxLength, short charSet,
                                      short charCase);
// min and max may come in either order; decimals are held to 0..15.
KXGRID_API SS_CELLTYPE* SSSetTypeNumber(HWND hwnd, SS_CELLTYPE* type, long style, short decimals, double min,
                                        double max);
// items: separated by a tab character.
KXGRID_API SS_CELLTYPE* SSSetTypeComboBox(HWND hwnd, SS_CELLTYPE* type, long style, LPCSTR items);
KXGRID_API SS_CELLTYPE* SSSetTypeCheckBox(HWND hwnd, SS_CELLTYPE* type, long style, LPCSTR text,
                                          HBITMAP checked, HBITMAP unchecked);
KXGRID_API SS_CELLTYPE* SSSetTypeButton(HWND hwnd, SS_CELLTYPE* type, long style, LPCSTR text);
KXGRID_API SS_CELLTYPE* SSSetTypeStaticText(HWND hwnd, SS_CELLTYPE* type, long style);
KXGRID_API SS_CELLTYPE* SSSetTypePicture(HWND hwnd, SS_CELLTYPE* type, long style, LPCSTR file);
KXGRID_API SS_CELLTYPE* SSSetTypePictureHandle(HWND hwnd, SS_CELLTYPE* type, long style, void* handle);
KXGRID_API BOOL SSSetCellType(HWND hwnd, int col, int row, const SS_CELLTYPE* type);
KXGRID_API BOOL SSSetCellTypeRange(HWND hwnd, int col1, int row1, int col2, int row2, const SS_CELLTYPE* type);
// The type code (GridTypes.h); -1 for a cell outside the sheet.
KXGRID_API int SSGetCellType(HWND hwnd, int col, int row);
KXGRID_API BOOL SSGetCellTypeRecord(HWND hwnd, int col, int row, SS_CELLTYPE* type);

// --- Locks, fonts, colours, borders --------------------------------------------------------------
KXGRID_API BOOL SSSetLock(HWND hwnd, int col, int row, BOOL locked);
KXGRID_API BOOL SSSetLockRange(HWND hwnd, int col1, int row1, int col2, int row2, BOOL locked);
KXGRID_API BOOL SSGetLock(HWND hwnd, int col, int row);
// The grid keeps the font's description: the caller may delete the font afterwards.
KXGRID_API BOOL SSSetFont(HWND hwnd, int col, int row, HFONT font, BOOL redraw);
KXGRID_API BOOL SSSetFontRange(HWND hwnd, int col1, int row1, int col2, int row2, HFONT font, BOOL redraw);
KXGRID_API BOOL SSGetFont(HWND hwnd, int col, int row, LOGFONT* font);
// SS_COLOR_KEEP leaves a colour as it is.
KXGRID_API BOOL SSSetColor(HWND hwnd, int col, int row, COLORREF back, COLORREF fore);
KXGRID_API BOOL SSSetColorRange(HWND hwnd, int col1, int row1, int col2, int row2, COLORREF back, COLORREF fore);
// SS_COLOR_KEEP when the cell has the grid's colour.
KXGRID_API BOOL SSGetColor(HWND hwnd, int col, int row, COLORREF* back, COLORREF* fore);
// type: SS_BORDERTYPE_* sides; the outline bit in a range call draws only the block's outer edge.
KXGRID_API BOOL SSSetBorder(HWND hwnd, int col, int row, WORD type, WORD style, COLORREF color);
KXGRID_API BOOL SSSetBorderRange(HWND hwnd, int col1, int row1, int col2, int row2, WORD type, WORD style,
                                 COLORREF color);
// side: one of LEFT, RIGHT, TOP, BOTTOM.
KXGRID_API BOOL SSGetBorder(HWND hwnd, int col, int row, WORD side, WORD* style, COLORREF* color);

// --- Joined cells --------------------------------------------------------------------------------
// FALSE for a block leaving the sheet, a single cell, or one overlapping another joined block
// (joining again at the same anchor replaces that block).
KXGRID_API BOOL SSAddCellSpan(HWND hwnd, int col, int row, int numCols, int numRows);
KXGRID_API BOOL SSRemoveCellSpan(HWND hwnd, int col, int row);
// SS_SPAN_NO, SS_SPAN_ANCHOR or SS_SPAN_YES (-1 outside the sheet); the out values describe the
// block (the cell itself, 1 x 1, when in none). Out pointers may be null.
KXGRID_API int SSGetCellSpan(HWND hwnd, int col, int row, int* anchorCol, int* anchorRow, int* numCols, int* numRows);

// --- Sizes ---------------------------------------------------------------------------------------
// Widths in characters of the default font (6 pixels), heights in points (4/3 pixel); both also
// in pixels. A negative size restores the default. Index 0 or SS_HEADER: the header column/row.
KXGRID_API BOOL SSSetColWidth(HWND hwnd, int col, double width);
KXGRID_API BOOL SSGetColWidth(HWND hwnd, int col, double* width);
KXGRID_API BOOL SSSetColWidthInPixels(HWND hwnd, int col, int pixels);
KXGRID_API BOOL SSGetColWidthInPixels(HWND hwnd, int col, int* pixels);
KXGRID_API BOOL SSSetRowHeight(HWND hwnd, int row, double height);
KXGRID_API BOOL SSGetRowHeight(HWND hwnd, int row, double* height);
KXGRID_API BOOL SSSetRowHeightInPixels(HWND hwnd, int row, int pixels);
KXGRID_API BOOL SSGetRowHeightInPixels(HWND hwnd, int row, int* pixels);
// Width (column units) and height (row units) the cell's display text needs in its font.
KXGRID_API BOOL SSGetMaxTextCellSize(HWND hwnd, int col, int row, double* width, double* height);
// The widest text of the column over the header and every row, in column units.
KXGRID_API BOOL SSGetMaxTextColWidth(HWND hwnd, int col, double* width);
KXGRID_API BOOL SSGetMaxTextRowHeight(HWND hwnd, int row, double* height);
// The client rectangle of the grid window.
KXGRID_API BOOL SSGetClientRect(HWND hwnd, RECT* rect);
// Remembers how many columns and rows the owner wants visible; the window is not resized.
KXGRID_API BOOL SSSetAutoSizeVisible(HWND hwnd, int visibleCols, int visibleRows);

// --- Options and look ----------------------------------------------------------------------------
// Options 0..SSB_COUNT-1; FALSE for other numbers.
KXGRID_API BOOL SSSetBool(HWND hwnd, int option, BOOL value);
KXGRID_API BOOL SSGetBool(HWND hwnd, int option);
KXGRID_API BOOL SSSetAppearance(HWND hwnd, int appearance);
// Action keys 0..7: the key combination that triggers action n (0: clear).
KXGRID_API BOOL SSSetActionKey(HWND hwnd, int action, BOOL shift, BOOL ctrl, WORD key);
KXGRID_API BOOL SSSetGrayAreaColor(HWND hwnd, COLORREF back, COLORREF fore);
KXGRID_API BOOL SSSetCursor(HWND hwnd, int type, long cursor);
KXGRID_API BOOL SSSetSelColor(HWND hwnd, COLORREF back, COLORREF fore);
KXGRID_API BOOL SSSetLockColor(HWND hwnd, COLORREF back, COLORREF fore);
KXGRID_API BOOL SSSetEditEnterAction(HWND hwnd, int action);
KXGRID_API BOOL SSSetGridType(HWND hwnd, WORD type);
KXGRID_API BOOL SSSetGridColor(HWND hwnd, COLORREF color);
// font: null keeps the current tip font.
KXGRID_API BOOL SSGetTextTip(HWND hwnd, WORD* status, DWORD* delay, LOGFONT* font, COLORREF* back, COLORREF* fore);
KXGRID_API BOOL SSSetTextTip(HWND hwnd, WORD status, DWORD delay, const LOGFONT* font, COLORREF back, COLORREF fore);

// --- Active cell, selection, editing -------------------------------------------------------------
KXGRID_API BOOL SSGetActiveCell(HWND hwnd, int* col, int* row);
// Commits an open edit first. FALSE outside rows/columns 1..count.
KXGRID_API BOOL SSSetActiveCell(HWND hwnd, int col, int row);
// FALSE when no block is selected (the active cell alone is no block).
KXGRID_API BOOL SSGetSelectBlock(HWND hwnd, int* col1, int* row1, int* col2, int* row2);
// Corners may be headers (a whole row or column); FALSE outside the sheet.
KXGRID_API BOOL SSSetSelectBlock(HWND hwnd, int col1, int row1, int col2, int row2);
KXGRID_API BOOL SSClearSelection(HWND hwnd);
KXGRID_API BOOL SSGetEditMode(HWND hwnd);
// TRUE opens the editor on the active cell (FALSE for a locked cell under protection, a check box,
// button or picture); FALSE commits and closes it.
KXGRID_API BOOL SSSetEditMode(HWND hwnd, BOOL on);
// The editor's selection in characters; only in edit mode. end -1 means the end of the text.
KXGRID_API BOOL SSGetSel(HWND hwnd, int* start, int* end);
KXGRID_API BOOL SSSetSel(HWND hwnd, int start, int end);
// The cell the last notification was about.
KXGRID_API BOOL SSGetNotifyCell(HWND hwnd, int* col, int* row);

// --- Structure -----------------------------------------------------------------------------------
// Rows 1..count. An inserted row pushes the last row out; a deleted row leaves a blank last row:
// the counts do not change (the caller changes them).
KXGRID_API BOOL SSInsRow(HWND hwnd, int row);
KXGRID_API BOOL SSDelRow(HWND hwnd, int row);
KXGRID_API BOOL SSInsCol(HWND hwnd, int col);
KXGRID_API BOOL SSDelCol(HWND hwnd, int col);
// Everything the cells hold (data, formula, tag, note, type, lock, font, colours, borders); joined
// blocks and sizes stay. Overlapping blocks copy as through a buffer. FALSE when a block leaves
// the sheet.
KXGRID_API BOOL SSCopyRange(HWND hwnd, int col1, int row1, int col2, int row2, int destCol, int destRow);
// FALSE also for overlapping blocks.
KXGRID_API BOOL SSSwapRange(HWND hwnd, int col1, int row1, int col2, int row2, int destCol, int destRow);

// --- Clipboard -----------------------------------------------------------------------------------
// The selected block (or the active cell) as tab-separated lines ("\r\n"), fields with a tab, line
// break or quote in double quotes with quotes doubled: what spreadsheet programs exchange.
KXGRID_API BOOL SSClipboardCopy(HWND hwnd);
// Writes the clipboard's table from the selection's top-left cell as typed data, clipped at the
// sheet's edge; cells locked under protection and values a cell's type refuses are skipped.
// FALSE when the clipboard holds no text or nothing was written.
KXGRID_API BOOL SSClipboardPaste(HWND hwnd);

// --- Files ---------------------------------------------------------------------------------------
// The grid's own text format (docs/sheet-file-format.md), saved atomically. Returns TRUE (1) on
// success; on failure the old file (saving) or the grid (loading) is unchanged and
// kxgrid::lastError tells why. dataOnly: cells' texts only, without looks and settings.
KXGRID_API BOOL SSSaveToFile(HWND hwnd, LPCSTR fileName, BOOL dataOnly);
KXGRID_API BOOL SSLoadFromFile(HWND hwnd, LPCSTR fileName);
// Data texts of rows and columns 1..count (trailing empty rows and columns left out) as CSV.
KXGRID_API BOOL SSExportToCSV(HWND hwnd, LPCSTR fileName);

// --- Formulas ------------------------------------------------------------------------------------
// Reference style 0, 1 or 2 (SS_REFSTYLE_*); FALSE for others.
KXGRID_API BOOL SSSetRefStyle(HWND hwnd, short style);
KXGRID_API short SSGetRefStyle(HWND hwnd);
// Every grid has the formula engine (docs/formulas.md) unless a hook replaces it; without any
// engine these keep their records and return TRUE, changing no result. SSReCalcCell is FALSE for a
// cell without a formula.
KXGRID_API BOOL SSReCalc(HWND hwnd);
KXGRID_API BOOL SSReCalcCell(HWND hwnd, int col, int row);
// Registers (or replaces, by name without regard to case) a custom function; formulas calling it
// are recalculated. FALSE for a bad name or counts, a null callback, or a built-in function's name.
// Loading a file forgets the registered functions: register them after SSLoadFromFile.
// Flags of SSAddCustomFunctionExt: single cells written as arguments arrive as one-cell ranges
// (for functions that need to know where a value came from, or where to write).
inline constexpr long SS_CUSTFUNC_WANTCELLREF = 1;
KXGRID_API BOOL SSAddCustomFunctionExt(HWND hwnd, LPCSTR name, short minArgs, short maxArgs, SSFUNCPROC proc,
                                       long flags);

namespace kxgrid {

// ==================================================================================================
// FORMULA INTEGRATION POINT. The grid keeps each cell's formula text and knows nothing of its
// language. A formula engine implements this interface; the grid calls it at exactly these points.
// With no hook installed formulas are stored, saved and loaded, and results stay as last set.
class KXGRID_API FormulaHook {
public:
    virtual ~FormulaHook();
    // A cell's formula was set, changed or removed (empty). Called for every change.
    virtual void formulaChanged(HWND grid, int col, int row, const std::string& formula) = 0;
    // A cell's data changed (col/row -1: many cells, e.g. after a structure change or a load).
    // Called only while option 7 (automatic recalculation) is on.
    virtual void dataChanged(HWND grid, int col, int row) = 0;
    // SSReCalc and SSReCalcCell. Return FALSE on failure.
    virtual bool recalculate(HWND grid) = 0;
    virtual bool recalculateCell(HWND grid, int col, int row) = 0;
    // The reference style changed (formulas are kept as typed; the engine shows them in the style).
    virtual void refStyleChanged(HWND grid, short style) = 0;
    // A custom function was registered.
    virtual void customFunctionAdded(HWND grid, const std::string& name, short minArgs, short maxArgs,
                                     SSFUNCPROC proc, long flags) = 0;
    // The formula text kind 1 shows for a cell, in the current reference style; the stored text
    // when the engine returns nothing.
    virtual bool formulaText(HWND grid, int col, int row, std::string& text);
};
// Installs the hook of one grid (not owned; null removes it).
KXGRID_API bool setFormulaHook(HWND grid, FormulaHook* hook);
// Makes the hook of every grid created from now on.
using FormulaHookFactory = std::unique_ptr<FormulaHook> (*)(HWND grid);
KXGRID_API void setFormulaHookFactory(FormulaHookFactory factory);
// An engine's result for a formula cell: sets the data slot and keeps the formula.
KXGRID_API bool setFormulaResult(HWND grid, int col, int row, std::string_view text);
// ==================================================================================================

// Writes a text as a person types it into a cell (a leading "=" makes a formula when option 12 is
// on); false when the cell's type refuses it.
KXGRID_API bool enterText(HWND grid, int col, int row, std::string_view text);
// Why the last file call of this grid failed; empty after a success.
KXGRID_API std::string lastError(HWND grid);
// The sheet file as text, and loading it from text (what SSSaveToFile and SSLoadFromFile use).
KXGRID_API bool sheetText(HWND grid, std::string& out, bool dataOnly = false);
KXGRID_API bool loadSheetText(HWND grid, std::string_view text, std::string* error = nullptr,
                              const std::string& name = "sheet");
// The CSV text of the sheet.
KXGRID_API bool csvText(HWND grid, std::string& out);
// Pastes tab-separated text at a cell (what SSClipboardPaste does with the clipboard's text).
// Returns the number of cells written, -1 for a handle that is no grid.
KXGRID_API int pasteText(HWND grid, int col, int row, std::string_view text);
// The tab-separated text of a block (what SSClipboardCopy puts on the clipboard).
KXGRID_API bool copyText(HWND grid, int col1, int row1, int col2, int row2, std::string& out);
// A top-level grid window for tools and tests without a dialog (destroy it with DestroyWindow).
KXGRID_API HWND createStandaloneGrid(int cols = 0, int rows = 0);

// Visits the value texts (kind 3, exactly what SSGetValue gives) of the block's cells in row order,
// left to right, empty cells included, without a call per cell: for callers that read or search
// whole columns and rows of large sheets. `visit` returns false to stop. Corners as for the SS
// functions (0 or SS_HEADER address the headers). Returns the number of cells visited; -1 for a
// handle that is no grid or a block outside the sheet. The visitor must not change the grid.
using ValueVisitor = bool (*)(void* context, int col, int row, std::string_view value);
KXGRID_API int visitValues(HWND grid, int col1, int row1, int col2, int row2, ValueVisitor visit, void* context);

// The first column and row the grid draws after its headers: where it has scrolled to (it scrolls
// to keep the active cell in view). Out pointers may be null; false for a handle that is no grid.
KXGRID_API bool topLeftCell(HWND grid, int* col, int* row);
// The colours of locked cells while protection is on (SSSetLockColor; SS_COLOR_KEEP keeps the
// cell's own). Out pointers may be null; false for a handle that is no grid.
KXGRID_API bool lockColors(HWND grid, COLORREF* back, COLORREF* fore);

// The text of the in-cell editor while a cell is being edited (what the person sees in it, the
// positions of SSGetSel count in it); false when no cell is being edited or for no grid.
KXGRID_API bool editText(HWND grid, std::string& out);
// A number that goes up with every change of what a cell holds or shows, recalculated formula
// results included, so that a reader who keeps what it read (an index of a column) can tell
// whether it still holds; 0 for a handle that is no grid.
KXGRID_API std::uint64_t contentVersion(HWND grid);

// Whether empty header cells show the column letters (A, B, ... Z, AA, ...) and the row numbers, as
// a spreadsheet shows them; off by default, so dialogs show exactly the header texts they set. Only
// the display changes: reading a header cell still gives its own text. False for no grid.
KXGRID_API bool setDefaultHeaderLabels(HWND grid, bool on);
// The text a header cell shows: its own data, else (when the labels are on) its letter or number.
// Empty for a cell outside the headers or a handle that is no grid.
KXGRID_API std::string headerLabel(HWND grid, int col, int row);
// The letters of column `col` (1 -> "A", 27 -> "AA"); empty below 1.
KXGRID_API std::string columnLetters(int col);

} // namespace kxgrid
