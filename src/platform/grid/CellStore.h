// Private to the grid: the cell store of one sheet. Cells live per column in vectors indexed by a
// physical row number; a row map turns the rows the user sees into physical rows, so inserting or
// deleting a row moves 4-byte map entries instead of cell records. Styles (type, lock, font,
// colours, borders) are interned: a cell holds a small index, and cells that look alike share one
// record. Formula, tag and note live in a side record that exists only when one of them is set.
// Nothing here knows windows, options or the selection; GridControl.h does.
#pragma once

#include "platform/formula/Value.h"
#include "platform/grid/GridTypes.h"
#include "platform/win/Font.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kxgrid::detail {

struct Border {
    WORD style = SS_BORDERSTYLE_NONE;
    COLORREF color = 0;
    friend bool operator==(const Border&, const Border&) = default;
};

enum BorderSide { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

// What a cell looks like and how it takes input. Index 0 of every table is the default.
struct CellStyle {
    std::uint32_t type = 0;               // index into the type table; 0: the default edit cell
    std::uint32_t font = 0;               // index into the font table; 0: the grid's font
    COLORREF back = SS_COLOR_KEEP;        // SS_COLOR_KEEP: the grid's colour
    COLORREF fore = SS_COLOR_KEEP;
    Border borders[4];
    bool locked = false;
    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

struct CellExtra {
    std::string formula;  // as typed, without the leading "=" (with the engine: its text in the grid's style)
    kxformula::Value result;  // the formula's last result, as the engine delivered it

    CellExtra() = default;
    CellExtra(const CellExtra& other)
        : formula(other.formula), result(other.result),
          labels(other.labels ? std::make_unique<Labels>(*other.labels) : nullptr)
    {
    }
    CellExtra& operator=(const CellExtra&) = delete;

    const std::string& tag() const;
    const std::string& note() const;
    // An empty tag and note take no memory: a sheet of formulas holds few of either.
    void setTag(std::string_view tag);
    void setNote(std::string_view note);
    bool empty() const { return formula.empty() && !labels; }

private:
    struct Labels {
        std::string tag;
        std::string note;
    };
    std::unique_ptr<Labels> labels;
    Labels& ownLabels();
    void dropEmptyLabels();
};

struct Cell {
    std::string data;  // the value form: what the user typed, normalised by the cell's type
    std::unique_ptr<CellExtra> extra;
    std::uint32_t style = 0;

    Cell() = default;
    Cell(Cell&&) noexcept = default;
    Cell& operator=(Cell&&) noexcept = default;
    Cell(const Cell& other) : data(other.data), style(other.style)
    {
        if (other.extra)
            extra = std::make_unique<CellExtra>(*other.extra);
    }
    Cell& operator=(const Cell& other)
    {
        if (this != &other) {
            Cell copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    bool isBlank() const { return data.empty() && !extra && style == 0; }
    const std::string& formula() const;
    const std::string& tag() const;
    const std::string& note() const;
};

struct Span {
    int col = 0, row = 0, cols = 1, rows = 1;
    bool contains(int c, int r) const { return c >= col && c < col + cols && r >= row && r < row + rows; }
    friend bool operator==(const Span&, const Span&) = default;
};

// Interns records: equal records get one index. Index 0 is the default record.
template <typename T>
class InternTable {
public:
    InternTable() { m_items.emplace_back(); }
    const T& operator[](std::uint32_t i) const { return i < m_items.size() ? m_items[i] : m_items[0]; }
    std::uint32_t intern(const T& item, const std::string& key);
    std::size_t size() const { return m_items.size(); }

private:
    std::vector<T> m_items;
    std::unordered_map<std::string, std::uint32_t> m_index;
};

class Sheet {
public:
    Sheet();

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    bool validCell(int col, int row) const { return col >= 0 && col <= m_cols && row >= 0 && row <= m_rows; }

    // Counts from 0 to the limits; false (nothing changed) otherwise or when memory runs out.
    bool setRows(int rows);
    bool setCols(int cols);

    // The cell, or null when it was never written (it reads as blank). No range check beyond
    // validCell, which callers make.
    const Cell* find(int col, int row) const;
    Cell& at(int col, int row);
    void clearCell(int col, int row);

    // Structure. A row (column) inserted at `row` pushes the rows below down; the last row falls
    // off, so the count stays. A deleted row leaves a blank row at the end. Rows 1..rows only.
    bool insertRow(int row);
    bool deleteRow(int row);
    bool insertCol(int col);
    bool deleteCol(int col);
    // Copies (everything a cell holds) the block onto the block at dest, as if through a buffer,
    // so overlapping blocks copy right. False when either block leaves the sheet.
    bool copyRange(int col1, int row1, int col2, int row2, int destCol, int destRow);
    // Swaps two blocks of the same size; false when they overlap or leave the sheet.
    bool swapRange(int col1, int row1, int col2, int row2, int destCol, int destRow);

    // Styles.
    const CellStyle& style(std::uint32_t index) const { return m_styles[index]; }
    const CellStyle& styleOf(int col, int row) const;
    std::uint32_t internStyle(const CellStyle& style);
    const SS_CELLTYPE& type(std::uint32_t index) const { return m_types[index]; }
    // Picture pixels are shared by content first: cells showing equal pictures share one pixels
    // object (and so one type record, if nothing else differs), however often the picture was read.
    std::uint32_t internType(const SS_CELLTYPE& type);
    const LOGFONT& font(std::uint32_t index) const { return m_fonts[index]; }
    std::uint32_t internFont(const LOGFONT& font);
    // Changes the style of every cell of the block through `change`; equal inputs are changed once.
    void restyle(int col1, int row1, int col2, int row2, const std::function<void(CellStyle&)>& change);

    // Joined blocks. add: false when the block leaves the sheet, is a single cell, or overlaps
    // another block (a block with the same anchor is replaced).
    bool addSpan(const Span& span);
    bool removeSpan(int col, int row);
    std::optional<Span> spanAt(int col, int row) const;
    const std::vector<Span>& spans() const { return m_spans; }

    // Sizes in pixels; -1 means the default.
    int rowHeight(int row) const;
    void setRowHeight(int row, int px);
    int colWidth(int col) const;
    void setColWidth(int col, int px);

    // Visits every cell that holds something, row by row, left to right.
    void forEachCell(const std::function<void(int col, int row, const Cell&)>& visit) const;
    // Cells in use (debug and tests).
    std::size_t storedCellCount() const;

private:
    std::uint32_t physicalRow(int row) const { return m_rowMap.empty() ? static_cast<std::uint32_t>(row) : m_rowMap[row]; }
    std::uint32_t physicalCount() const { return m_rowMap.empty() ? static_cast<std::uint32_t>(m_rows) + 1 : m_nextPhysical; }
    void materialiseRowMap();
    void clearPhysicalRow(std::uint32_t physical);
    std::uint32_t takePhysicalRow();
    void shiftSpansForRow(int row, int delta);
    void shiftSpansForCol(int col, int delta);
    void clipSpans();

    struct Column {
        std::vector<Cell> cells;  // indexed by physical row; shorter than the sheet: the rest is blank
        int widthPx = -1;
    };

    int m_rows = 0;
    int m_cols = 0;
    std::vector<Column> m_columns;         // 0..cols, column 0 the row headers
    std::vector<std::uint32_t> m_rowMap;   // empty: row r is physical row r
    std::vector<std::uint32_t> m_freeRows; // physical rows not in the map, all blank
    std::uint32_t m_nextPhysical = 0;
    std::vector<int> m_rowHeights;         // by physical row
    std::vector<Span> m_spans;
    std::shared_ptr<const kxwin::BitmapPixels> sharedPixels(const std::shared_ptr<const kxwin::BitmapPixels>& pixels);

    InternTable<CellStyle> m_styles;
    InternTable<SS_CELLTYPE> m_types;
    std::unordered_map<std::size_t, std::vector<std::shared_ptr<const kxwin::BitmapPixels>>> m_pictures;
    InternTable<LOGFONT> m_fonts;
};

// Keys for interning (also the records' identity in the file writer).
std::string styleKey(const CellStyle& style);
std::string typeKey(const SS_CELLTYPE& type);
std::string fontKey(const LOGFONT& font);

} // namespace kxgrid::detail
