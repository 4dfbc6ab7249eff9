// The in-memory cell store and the defaults of the CellStore interface.
#include "platform/formula/MemoryCellStore.h"

namespace kxformula {

CellStore::~CellStore() = default;

const Value* CellStore::peekValue(int, int) const
{
    return nullptr;
}

std::string CellStore::formulaAt(int, int) const
{
    return {};
}

void CellStore::forEachFormula(const std::function<void(int, int, std::string_view)>& visit) const
{
    const int columns = columnCount(), rows = rowCount();
    for (int col = 1; col <= columns; ++col)
        for (int row = 1; row <= rows; ++row) {
            const std::string text = formulaAt(col, row);
            if (!text.empty())
                visit(col, row, text);
        }
}

MemoryCellStore::MemoryCellStore(int columns, int rows)
{
    resize(columns, rows);
}

void MemoryCellStore::resize(int columns, int rows)
{
    columns_ = columns < 0 ? 0 : columns;
    rows_ = rows < 0 ? 0 : rows;
    if (cells_.size() > static_cast<std::size_t>(columns_))
        cells_.resize(static_cast<std::size_t>(columns_));
    for (auto& column : cells_)
        if (column.size() > static_cast<std::size_t>(rows_))
            column.resize(static_cast<std::size_t>(rows_));
    for (auto it = formulas_.begin(); it != formulas_.end();)
        it = inside(it->first.first, it->first.second) ? std::next(it) : formulas_.erase(it);
}

Value* MemoryCellStore::slot(int col, int row)
{
    if (!inside(col, row))
        return nullptr;
    const auto c = static_cast<std::size_t>(col - 1), r = static_cast<std::size_t>(row - 1);
    if (cells_.size() <= c)
        cells_.resize(c + 1);
    auto& column = cells_[c];
    if (column.size() <= r)
        column.resize(r + 1);
    return &column[r];
}

bool MemoryCellStore::setValue(int col, int row, Value value)
{
    Value* cell = slot(col, row);
    if (!cell)
        return false;
    *cell = std::move(value);
    return true;
}

void MemoryCellStore::setFormulaText(int col, int row, std::string text)
{
    if (!inside(col, row))
        return;
    if (text.empty())
        formulas_.erase({col, row});
    else
        formulas_[{col, row}] = std::move(text);
}

Value MemoryCellStore::valueAt(int col, int row) const
{
    if (!inside(col, row))
        return {};
    const auto c = static_cast<std::size_t>(col - 1), r = static_cast<std::size_t>(row - 1);
    if (c >= cells_.size() || r >= cells_[c].size())
        return {};
    return cells_[c][r];
}

const Value* MemoryCellStore::peekValue(int col, int row) const
{
    static const Value empty;
    if (!inside(col, row))
        return &empty;
    const auto c = static_cast<std::size_t>(col - 1), r = static_cast<std::size_t>(row - 1);
    if (c >= cells_.size() || r >= cells_[c].size())
        return &empty;
    return &cells_[c][r];
}

void MemoryCellStore::setComputedValue(int col, int row, Value value)
{
    if (Value* cell = slot(col, row)) {
        *cell = std::move(value);
        ++computedWrites_;
    }
}

std::string MemoryCellStore::formulaAt(int col, int row) const
{
    const auto it = formulas_.find({col, row});
    return it == formulas_.end() ? std::string() : it->second;
}

void MemoryCellStore::forEachFormula(const std::function<void(int, int, std::string_view)>& visit) const
{
    for (const auto& [cell, text] : formulas_)
        visit(cell.first, cell.second, text);
}

} // namespace kxformula
