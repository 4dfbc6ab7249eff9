// Private to the grid: one grid window's whole state (its sheet, options, colours, active cell,
// selection and in-cell editor) and the operations the SS functions and the window procedure share.
// The public surface is Spread.h; nothing outside platform/grid includes this.
#pragma once

#include "platform/grid/CellStore.h"
#include "platform/grid/Spread.h"

#include <bitset>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kxgrid::detail {

class SheetFormulas;

// Headless metrics: the default cell font is the 8-point dialog font (13 pixels, 6 per character).
inline constexpr int kDefaultFontHeight = 13;
inline constexpr int kCharWidth = 6;
// One column-width unit is one average character of the default font; one row-height unit one point.
inline constexpr int kDefaultColWidthPx = 64;
inline constexpr int kDefaultRowHeightPx = 17;
inline constexpr int kDefaultRowHeaderWidthPx = 40;
inline constexpr int kCellMarginPx = 2;  // left and right, top and bottom, inside a cell

struct EditorState {
    bool active = false;
    std::u32string text;
    int selStart = 0;
    int selEnd = 0;
    bool modified = false;  // the text differs from what the cell held
};

struct TextTip {
    WORD status = SS_TEXTTIP_OFF;
    DWORD delay = 500;
    LOGFONT font;
    COLORREF back = 0xFFFFE1;
    COLORREF fore = 0x000000;
};

struct CustomFunction {
    std::string name;
    short minArgs = 0;
    short maxArgs = 0;
    SSFUNCPROC proc = nullptr;
    long flags = 0;
};

class Grid {
public:
    explicit Grid(HWND hwnd);

    HWND hwnd() const { return m_hwnd; }
    Sheet& sheet() { return m_sheet; }
    const Sheet& sheet() const { return m_sheet; }

    // Replaces the sheet and the saved settings (loading a file); the view is reset to match.
    void replaceSheet(Sheet&& sheet);

    // Coordinates as callers give them: SS_HEADER becomes 0. False when outside the sheet.
    static int normalise(int index) { return index == SS_HEADER ? 0 : index; }
    bool cellArg(int& col, int& row) const;
    // A block: each corner normalised and checked; corners are ordered.
    bool blockArg(int& col1, int& row1, int& col2, int& row2) const;

    // --- Options -----------------------------------------------------------------------------
    bool option(int number) const { return number >= 0 && number < SSB_COUNT && m_options.test(number); }
    bool setOption(int number, bool on);
    const std::bitset<SSB_COUNT>& options() const { return m_options; }

    // --- Cell contents -----------------------------------------------------------------------
    // What a caller writes as data: coerced by the cell's type (CellValues.cpp). False when the
    // type cannot hold the text; the cell is unchanged then.
    bool setData(int col, int row, std::string_view text);
    bool setValue(int col, int row, std::string_view text);
    // What a person types: a leading "=" makes a formula when option 12 is on.
    bool enterText(int col, int row, std::string_view text);
    std::string data(int col, int row) const;   // kind 0: the display text
    std::string value(int col, int row) const;  // kind 3: the unformatted value
    bool setFormula(int col, int row, std::string_view formula);
    // A formula engine's result: the data slot, keeping the formula.
    bool setFormulaResult(int col, int row, std::string_view text);
    bool setTag(int col, int row, std::string_view tag);
    bool setNote(int col, int row, std::string_view note);
    // Applies a type to a block; existing data the new type cannot hold is cleared.
    void setType(int col1, int row1, int col2, int row2, const SS_CELLTYPE& type);
    const SS_CELLTYPE& typeOf(int col, int row) const { return m_sheet.type(m_sheet.styleOf(col, row).type); }
    bool isLocked(int col, int row) const { return m_sheet.styleOf(col, row).locked; }
    // Locked for the user: locked and protection on.
    bool isReadOnlyForUser(int col, int row) const;

    // --- Sizes ---------------------------------------------------------------------------------
    int colWidthPx(int col) const;
    int rowHeightPx(int row) const;
    LOGFONT cellFont(int col, int row) const;
    SIZE textSize(int col, int row) const;  // the cell's display text in its font, margins included

    // --- Changes -------------------------------------------------------------------------------
    // Every change of the sheet: marks option 30, asks for a repaint when option 8 is on, and
    // gives the formula hook the cell that changed (col/row -1: many cells).
    void changed(int col = -1, int row = -1);
    // Goes up with every change of what a cell holds or shows, recalculated results included
    // (kxgrid::contentVersion); never goes down.
    std::uint64_t contentVersion = 0;

    // --- Active cell, selection, editor ----------------------------------------------------------
    int activeCol = 1, activeRow = 1;
    bool hasBlock = false;
    int blockCol1 = 0, blockRow1 = 0, blockCol2 = 0, blockRow2 = 0;
    EditorState editor;
    bool cellEdited = false;  // the active cell's contents were changed since it became active
    int notifyCol = 0, notifyRow = 0;
    // Keeps the active cell and the block inside the sheet after a count or structure change.
    void clampView();
    bool startEdit(bool selectAll, std::u32string_view initial = {}, bool replace = false);
    // Writes the editor's text into the active cell; false when the type refused it (the editor
    // stays open then, as a person would expect to correct the entry).
    bool commitEdit();
    void cancelEdit();
    // Moves the active cell, committing an edit first; sends the leave notifications.
    bool moveActive(int col, int row, bool extend = false);
    void notify(WORD code, int col, int row);

    // --- Look ----------------------------------------------------------------------------------
    int appearance = 0;
    COLORREF grayBack = 0xC0C0C0, grayFore = 0x000000;
    COLORREF selBack = 0x6A240A, selFore = 0xFFFFFF;
    COLORREF lockBack = 0xE6E6E6, lockFore = 0x000000;
    COLORREF gridColor = 0xC0C0C0;
    WORD gridType = SS_GRID_HORIZONTAL | SS_GRID_VERTICAL | SS_GRID_SOLID;
    int cursorType = 0;
    long cursorHandle = 0;
    int enterAction = SS_ENTERACTION_NONE;
    int noteIndicator = 1;
    // Empty header cells show the column letters and row numbers (kxgrid::setDefaultHeaderLabels).
    bool defaultHeaderLabels = false;
    int autoSizeCols = 0, autoSizeRows = 0;
    struct ActionKey {
        bool set = false;
        bool shift = false, ctrl = false;
        WORD key = 0;
    } actionKeys[8];
    TextTip textTip;
    short refStyle = SS_REFSTYLE_DEFAULT;
    std::vector<CustomFunction> customFunctions;
    // Not owned: the grid's formula engine (null: formulas are kept but not evaluated).
    FormulaHook* hook = nullptr;
    std::unique_ptr<FormulaHook> ownedHook;
    // The grid's own formula engine when it is the installed hook; null otherwise.
    SheetFormulas* formulas() const;
    std::string lastError;

    // Pixel layout: the left of column `col` and the top of row `row` relative to the first
    // column/row drawn (headers first when shown); scrolling starts at topRow/leftCol.
    int leftCol = 1, topRow = 1;
    bool cellAtPoint(POINT p, int& col, int& row) const;
    RECT cellRect(int col, int row) const;

private:
    HWND m_hwnd;
    Sheet m_sheet;
    std::bitset<SSB_COUNT> m_options;
};

// The grid of a window; null when hwnd is no live grid.
Grid* gridOf(HWND hwnd);

// CellValues.cpp: turning texts into a type's value form and back.
// The value form a type keeps for `text` written as data; nothing when refused.
std::optional<std::string> coerceData(const SS_CELLTYPE& type, std::string_view text);
// The value form for `text` written as a value (combo index, unformatted number).
std::optional<std::string> coerceValue(const SS_CELLTYPE& type, std::string_view text);
// Resets the members that do not belong to the record's type, so that equal types compare equal.
void normaliseType(SS_CELLTYPE& type);
// The display text of a stored value.
std::string displayText(const SS_CELLTYPE& type, const std::string& value);
// The value form read back (kind 3).
std::string valueText(const SS_CELLTYPE& type, const std::string& value);
std::optional<double> parseNumber(std::string_view text);
std::string formatNumber(double v, int decimals);
std::string shortestNumber(double v);
// UTF-8 helpers: invalid bytes survive a round trip as U+DC80..U+DCFF.
std::u32string decodeUtf8(std::string_view text);
std::string encodeUtf8(std::u32string_view text);
// Copies text into a caller's buffer (cut at a character boundary, zero-terminated). Returns the
// bytes copied, without the zero.
int copyOut(const std::string& text, char* buffer, int size);

// GridPictures.cpp: the pixels a picture cell keeps. Null when the file cannot be read or decoded
// (the cell then shows nothing) or the handle is dead.
std::shared_ptr<const kxwin::BitmapPixels> picturePixelsOfFile(const std::string& path);
std::shared_ptr<const kxwin::BitmapPixels> picturePixelsOfHandle(void* handle, bool isIcon);
// A picture's pixels as PNG bytes, and back; the record of a picture in the sheet file.
std::string encodePicturePng(const kxwin::BitmapPixels& pixels);
std::optional<kxwin::BitmapPixels> decodePicturePng(std::string_view bytes, std::string& error);
std::string encodeBase64(std::string_view bytes);
// Appends the bytes of `text` to out; false for a character outside the alphabet or a bad length.
bool decodeBase64(std::string_view text, std::string& out);

// True while an owner handles one of the grids' notifications: a grid destroyed meanwhile is still
// running the code that sent it, so grid objects are freed only when none is running.
bool notificationRunning();

} // namespace kxgrid::detail
