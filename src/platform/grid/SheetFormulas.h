// Private to the grid: the formula engine of one grid. It is the grid's own FormulaHook (installed
// on every grid unless a hook factory or setFormulaHook replaces it) and the engine's cell store:
// constants are read from the cells' value forms, formula results are kept typed in the cell's
// side record and shown in its data text. Besides the hook calls, the grid tells it of the changes
// the hook interface does not carry (structure, copies, sizes, batches, loads).
#pragma once

#include "platform/formula/CellStore.h"
#include "platform/formula/Engine.h"
#include "platform/formula/FormulaTypes.h"
#include "platform/grid/Spread.h"

#include <string>
#include <vector>

namespace kxgrid::detail {

class Grid;

class SheetFormulas final : public FormulaHook, public kxformula::CellStore {
public:
    explicit SheetFormulas(HWND grid);
    ~SheetFormulas() override;

    // --- FormulaHook ------------------------------------------------------------------------------
    void formulaChanged(HWND grid, int col, int row, const std::string& formula) override;
    void dataChanged(HWND grid, int col, int row) override;
    bool recalculate(HWND grid) override;
    bool recalculateCell(HWND grid, int col, int row) override;
    void refStyleChanged(HWND grid, short style) override;
    void customFunctionAdded(HWND grid, const std::string& name, short minArgs, short maxArgs, SSFUNCPROC proc,
                             long flags) override;
    bool formulaText(HWND grid, int col, int row, std::string& text) override;

    // --- What else the grid reports ---------------------------------------------------------------
    // The constant of a cell changed (whatever option 7 says).
    void valueChanged(int col, int row);
    void blockChanged(int col1, int row1, int col2, int row2);
    void autoRecalcChanged(bool on);
    // After the sheet moved its cells.
    void rowInserted(int row);
    void rowDeleted(int row);
    void colInserted(int col);
    void colDeleted(int col);
    // Before a block copy or swap: remembers the formulas of the blocks involved; after it, the
    // formulas are entered again at their new places (relative references move along).
    void beforeMove(int col1, int row1, int col2, int row2, int destCol, int destRow, bool swap);
    void afterMove();
    void sizeChanged();
    // A file was loaded: custom functions are forgotten and the formulas read again.
    void sheetLoaded();
    // Rewrites a formula text typed at (fromCol, fromRow) as it reads at (toCol, toRow), in the
    // grid's reference style (a paste of the grid's own copy).
    std::string moveFormulaText(const std::string& text, int fromCol, int fromRow, int toCol, int toRow) const;

    kxformula::Engine& engine() { return m_engine; }
    kxformula::RefStyle style() const;

    // --- kxformula::CellStore ---------------------------------------------------------------------
    int columnCount() const override;
    int rowCount() const override;
    kxformula::Value valueAt(int col, int row) const override;
    void setComputedValue(int col, int row, kxformula::Value value) override;
    const kxformula::Value* peekValue(int col, int row) const override;
    std::string formulaAt(int col, int row) const override;
    void forEachFormula(const std::function<void(int col, int row, std::string_view text)>& visit) const override;

private:
    Grid* grid() const;
    // Writes the engine's text of every formula back into the cells (after the style or the
    // references changed), so that what is saved reads back the same.
    void syncTexts();
    void syncText(int col, int row);
    void reload();

    HWND m_hwnd;
    // The grid of m_hwnd once it exists: the engine asks for cells far too often to look the
    // window up each time. The grid owns this hook, so it outlives every call made through it.
    mutable Grid* m_grid = nullptr;
    kxformula::Engine m_engine;
    struct Moved {
        int col, row;
        std::string r1c1;  // empty: no formula
    };
    std::vector<Moved> m_moved;
    std::vector<std::pair<int, int>> m_movedTargets;
};

} // namespace kxgrid::detail
