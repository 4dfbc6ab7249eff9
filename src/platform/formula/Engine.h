// The formula engine of one sheet: keeps each formula parsed once, knows which cells depend on
// which, recalculates what a change affects in dependency order, reports circular references as
// #CYCLE!, and calls custom functions registered by name. Cells themselves live in a CellStore.
#pragma once

#include "platform/formula/CellStore.h"
#include "platform/formula/FormulaTypes.h"
#include "platform/formula/KxFormulaExport.h"
#include "platform/formula/Value.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxformula {

class EnginePrivate;

// One engine serves one store (one grid); the store must outlive it. Not thread-safe: one thread
// (the user-interface thread) drives an engine and its store. No operation throws.
class KXFORMULA_API Engine {
public:
    explicit Engine(CellStore& store);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- Formulas -------------------------------------------------------------------------------
    // Gives the cell a formula (text as a user types it, with or without the leading '=', references
    // in `style`), replacing any formula it had. A text that cannot be read is kept as typed and the
    // cell computes #ERROR!; the returned status says why. Cells outside 1..kMaxColumn and
    // 1..kMaxRow are refused (status not ok, nothing kept). With automatic recalculation on (and no
    // batch open) the cell and everything depending on it are recalculated before returning.
    ParseStatus setFormula(int col, int row, std::string_view text, RefStyle style = RefStyle::A1);
    // The cell no longer has a formula (its value is the store's business); what depended on it is
    // recalculated. False when it had none.
    bool removeFormula(int col, int row);
    // Gives (toCol, toRow) the formula of (fromCol, fromRow), relative references moving along as
    // when a user copies a cell. False when the source has no formula.
    bool copyFormula(int fromCol, int fromRow, int toCol, int toRow);
    bool hasFormula(int col, int row) const;
    // The formula text (without '=') written in `style`: function names in upper case, references
    // in that style, numbers in their shortest form, the user's parentheses kept. A text that could
    // not be read comes back as it was given. Nothing when the cell has no formula.
    std::optional<std::string> formulaText(int col, int row, RefStyle style) const;
    std::size_t formulaCount() const;
    // Forgets every formula (not allowed while a recalculation runs: false).
    bool clear();
    // Replaces the engine's formulas with the store's (CellStore::forEachFormula), read in `style`.
    // Returns how many texts could not be read (-1 while a recalculation runs).
    int loadFromStore(RefStyle style);

    // --- Changes and recalculation --------------------------------------------------------------
    // The constant value of a cell changed: what depends on it becomes due (and with automatic
    // recalculation is recalculated now).
    void cellChanged(int col, int row);
    void setAutoRecalc(bool on);
    bool autoRecalc() const;
    // Recalculates every formula of the sheet (also the sheet size may have changed).
    void recalculate();
    // Recalculates what is due: the formulas whose inputs changed since they were last computed.
    void recalculateDue();
    // Recalculates one cell's formula, after the formulas it depends on that are due. False when
    // the cell has no formula or a recalculation is already running.
    bool recalculateCell(int col, int row);
    // Whether the cell's formula waits for recalculation.
    bool isDue(int col, int row) const;
    // How many formula evaluations the engine has run so far.
    std::size_t evaluationCount() const;

    // Changes made between beginUpdate and the matching endUpdate are recalculated once, at the end.
    void beginUpdate();
    void endUpdate();
    class UpdateBatch {
    public:
        explicit UpdateBatch(Engine& engine) : engine_(engine) { engine_.beginUpdate(); }
        ~UpdateBatch() { engine_.endUpdate(); }
        UpdateBatch(const UpdateBatch&) = delete;
        UpdateBatch& operator=(const UpdateBatch&) = delete;

    private:
        Engine& engine_;
    };

    // --- Rows and columns -----------------------------------------------------------------------
    // After the store inserted or deleted rows/columns, moves the formulas along and adjusts every
    // reference as a spreadsheet does: references into deleted cells become #REF!, ranges shrink or
    // grow. Formulas in deleted cells are dropped. Everything is recalculated (with automatic
    // recalculation). False (and nothing changed) for a count below 1, a position below 1, or while a
    // recalculation runs.
    bool insertRows(int before, int count);
    bool deleteRows(int first, int count);
    bool insertColumns(int before, int count);
    bool deleteColumns(int first, int count);

    // --- Custom functions -----------------------------------------------------------------------
    // Registers (or replaces) a custom function under `name` (letters, digits, '_' and '.', starting
    // with a letter or '_', at most 255 characters; case does not matter) taking minArgs to maxArgs
    // arguments (0 <= minArgs <= maxArgs <= 255). Formulas may name it before it is registered: they
    // give #NAME? until then. Formulas calling it become due. False for a bad name or counts, an
    // empty function, or a built-in function's name.
    bool registerFunction(std::string_view name, int minArgs, int maxArgs, CustomFunction function);
    bool unregisterFunction(std::string_view name);
    void clearCustomFunctions();
    bool isFunctionRegistered(std::string_view name) const;

    // --- One-off evaluation ---------------------------------------------------------------------
    // Evaluates a formula text as if it were in (col, row), without storing it.
    Value evaluate(std::string_view text, int col, int row, RefStyle style = RefStyle::A1);

    // Upper-case names of the built-in functions, sorted.
    static std::vector<std::string> builtinFunctionNames();

private:
    std::unique_ptr<EnginePrivate> d_;
};

} // namespace kxformula
