// A plain in-memory cell store: columns of typed values plus formula texts. Used by the engine's
// tests, benchmarks and fuzz target, and usable wherever a sheet without a window is enough.
#pragma once

#include "platform/formula/CellStore.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kxformula {

class KXFORMULA_API MemoryCellStore final : public CellStore {
public:
    MemoryCellStore(int columns, int rows);

    // Changes the sheet size; cells outside the new size are dropped. Negative sizes count as 0.
    void resize(int columns, int rows);

    // Sets a constant value (no engine involved: tell the engine with cellChanged). Cells outside
    // the sheet are ignored and return false.
    bool setValue(int col, int row, Value value);
    // Keeps a formula text for loadFromStore; an empty text removes it.
    void setFormulaText(int col, int row, std::string text);

    // How many values the engine has delivered since construction or the last resetCounters: a
    // test's measure of how much a recalculation touched.
    std::size_t computedWrites() const { return computedWrites_; }
    void resetCounters() { computedWrites_ = 0; }

    int columnCount() const override { return columns_; }
    int rowCount() const override { return rows_; }
    Value valueAt(int col, int row) const override;
    const Value* peekValue(int col, int row) const override;
    void setComputedValue(int col, int row, Value value) override;
    std::string formulaAt(int col, int row) const override;
    void forEachFormula(const std::function<void(int col, int row, std::string_view text)>& visit) const override;

private:
    bool inside(int col, int row) const { return col >= 1 && row >= 1 && col <= columns_ && row <= rows_; }
    Value* slot(int col, int row);

    int columns_ = 0;
    int rows_ = 0;
    // One vector per column, grown to the last row written, so that a long column of numbers costs
    // one value per cell and nothing for the untouched columns.
    std::vector<std::vector<Value>> cells_;
    std::map<std::pair<int, int>, std::string> formulas_;
    std::size_t computedWrites_ = 0;
};

} // namespace kxformula
