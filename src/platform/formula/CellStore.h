// The engine's view of a sheet: the interface a cell store (the grid, or the in-memory store of the
// tests) implements so that formulas can read cells and the engine can hand back what it computed.
// The store keeps the cells; the engine keeps the parsed formulas and their dependencies.
#pragma once

#include "platform/formula/KxFormulaExport.h"
#include "platform/formula/Value.h"

#include <functional>
#include <string>
#include <string_view>

namespace kxformula {

// Columns and rows count from 1, as in the grid. Row 0 and column 0 (the grid's headers) are
// outside the sheet: formulas referring there get #REF!. Cells beyond the sheet size, up to
// kMaxColumn and kMaxRow, read as empty cells; the store is never asked for them.
//
// How a store works with the engine:
// - valueAt(col, row) returns the typed value of a cell: for a constant cell what the user
//   entered (a number, a text, a boolean, possibly an error), for a formula cell the value the engine
//   last passed to setComputedValue, and an empty Value for an empty cell. It is called for cells
//   inside the sheet only, very often and during evaluation, so it must be cheap and must not call
//   back into the engine.
// - setComputedValue(col, row, value) is how the engine delivers the result of the formula in that
//   cell. The store keeps it as that cell's value (and formats it for display as it likes). It may not
//   call back into the engine either.
// - Every change of a constant cell is reported to the engine with Engine::cellChanged, and formulas
//   are given to the engine with Engine::setFormula/removeFormula; the engine relies on these calls
//   to know what to recalculate and to keep its lookup indexes valid. A store that changes many
//   cells at once (a paste, a file load) wraps them in Engine::UpdateBatch. A change of the sheet
//   size is followed by Engine::recalculate().
// - formulaAt / forEachFormula are only used by Engine::loadFromStore, for a store that keeps formula
//   texts itself (for example after reading a file).
class KXFORMULA_API CellStore {
public:
    virtual ~CellStore();

    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;

    virtual Value valueAt(int col, int row) const = 0;
    virtual void setComputedValue(int col, int row, Value value) = 0;

    // Optional fast path: a pointer to the cell's value when the store keeps Values in memory,
    // valid until the store changes; nullptr (the default) makes the engine call valueAt. Ranges of
    // 100,000 cells are read through here without copying a value per cell.
    virtual const Value* peekValue(int col, int row) const;

    // The formula text stored for a cell ("" for none), in the style given to loadFromStore.
    virtual std::string formulaAt(int col, int row) const;
    // Calls visit(col, row, text) for every cell with a formula. The default asks formulaAt for
    // every cell of the sheet; a store that knows its formula cells overrides it.
    virtual void forEachFormula(const std::function<void(int col, int row, std::string_view text)>& visit) const;
};

} // namespace kxformula
