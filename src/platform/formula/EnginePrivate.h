// The engine's private state and the operations its files share: the table of formulas by cell,
// the dependency graph, due marks and recalculation (Recalculation.cpp), rows and columns
// (StructureChanges.cpp), custom function slots and shared programs (EnginePrivate.cpp). Only the
// engine's own files include this header.
#pragma once

#include "platform/formula/DependencyGraph.h"
#include "platform/formula/Engine.h"
#include "platform/formula/FlatMap.h"
#include "platform/formula/Functions.h"
#include "platform/formula/Program.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kxformula {

namespace detail {

struct FormulaCell {
    int col = 0;
    int row = 0;
    std::shared_ptr<const Program> program;
    std::uint32_t version = 0;
    std::uint32_t mark = 0; // epoch of the set being evaluated or visited
    std::uint32_t pos = 0;  // position in that set
    bool alive = false;
    bool due = false;
};

struct CustomSlot {
    std::string name;
    int minArgs = 0;
    int maxArgs = 0;
    CustomFunction function;
};

} // namespace detail

class EnginePrivate final : public detail::CustomCaller {
public:
    using Area = detail::Area;
    using CustomSlot = detail::CustomSlot;
    using CustomSlotResolver = detail::CustomSlotResolver;
    using DependencyGraph = detail::DependencyGraph;
    using EvalContext = detail::EvalContext;
    using FlatMap = detail::FlatMap;
    using FormulaCell = detail::FormulaCell;
    using LookupCache = detail::LookupCache;
    using Operand = detail::Operand;
    using Program = detail::Program;

    explicit EnginePrivate(CellStore& store) : store_(store)
    {
        resolver_ = [this](std::string_view upperName) { return slotFor(upperName); };
    }

    CellStore& store_;
    std::vector<FormulaCell> formulas_;
    std::vector<std::uint32_t> freeIds_;
    FlatMap byCell_;
    DependencyGraph graph_;
    std::size_t liveEdges_ = 0;
    std::size_t staleEdges_ = 0;
    std::vector<std::uint32_t> dueList_;
    LookupCache lookups_;
    std::vector<CustomSlot> slots_;
    std::unordered_map<std::string, std::uint32_t> slotIds_;
    CustomSlotResolver resolver_;
    // Programs are shared between cells: formulas copied down a column read the same in R1C1 and
    // so are one program. Keyed by content hash; entries nobody else uses are purged now and then.
    std::unordered_multimap<std::uint64_t, std::shared_ptr<const Program>> interned_;
    Program scratch_;

    // Set when a formula calling a volatile function is installed; cleared by a recalculation that
    // finds none, so that sheets without them pay nothing.
    bool mayHaveVolatile_ = false;
    bool mayHaveDynamic_ = false; // the same for OFFSET and INDIRECT (set by markVolatileDue)
    bool autoRecalc_ = true;
    int batchDepth_ = 0;
    bool recalculating_ = false;
    std::uint32_t epoch_ = 0;
    std::size_t evaluations_ = 0;

    // Working memory of a recalculation, kept between passes.
    std::vector<Operand> stack_;
    std::vector<Area> precedents_;
    std::vector<std::uint32_t> set_, setVersions_, offsets_, targets_, indegree_, queue_;
    std::vector<std::uint32_t> work_;
    std::vector<std::pair<int, int>> cellWork_;

    // --- Formula table and graph ----------------------------------------------------------------
    EvalContext context()
    {
        EvalContext ctx{store_};
        ctx.columns = store_.columnCount();
        ctx.rows = store_.rowCount();
        ctx.lookups = &lookups_;
        ctx.customs = this;
        return ctx;
    }

    std::optional<std::uint32_t> idAt(int col, int row) const
    {
        if (const std::uint32_t* id = byCell_.find(detail::cellKey(col, row)))
            return *id;
        return std::nullopt;
    }

    bool valid(std::uint32_t id, std::uint32_t version) const
    {
        return formulas_[id].alive && formulas_[id].version == version;
    }

    // Sets a flag for the length of a recalculation, also when it ends by an exception.
    struct RecalcScope {
        explicit RecalcScope(bool& flag) : flag_(flag) { flag_ = true; }
        ~RecalcScope() { flag_ = false; }
        bool& flag_;
    };

    // --- Custom function slots ------------------------------------------------------------------
    std::uint32_t slotFor(std::string_view upperName);

    Value callCustom(std::uint32_t slot, std::span<Operand> args, int col, int row) override;

    void markCustomCallersDue(std::uint32_t slot);

    // Marks due every formula that calls one of the slots flagged in `which`.
    void markCustomCallersDue(const std::vector<bool>& which);

    // --- Shared programs ------------------------------------------------------------------------
    std::shared_ptr<const Program> intern(const Program& program);

    void unregister(FormulaCell& f);

    void registerEdges(std::uint32_t id);

    void rebuildGraphIfStale();

    void install(int col, int row, std::shared_ptr<const Program> program);

    bool uninstall(int col, int row);

    void clearAll();

    // --- Due marks ------------------------------------------------------------------------------
    // Marks a formula and everything downstream of it due. What is already due is not walked
    // again: the due set is always closed downstream, so its followers are due already.
    void markDueFrom(std::uint32_t id);

    void markDependentsDue(int col, int row);

    // The due list may name a formula more than once (a formula replaced while due); it is
    // squeezed when it grows beyond twice the formulas, so that it stays bounded while automatic
    // recalculation is off.
    void listDue(std::uint32_t id);

    void spreadDue();

    void recalcIfAutomatic();

    // --- Recalculation --------------------------------------------------------------------------
    // Marks every formula that calls a volatile function due, with what depends on it.
    void markVolatileDue();
    // Marks every formula that calls OFFSET or INDIRECT due, with what depends on it.
    void markDynamicDue();
    // Evaluates the due list, again while evaluation makes more formulas due (custom functions).
    void evaluateDuePasses();

    void recalculateDue();

    // Evaluates the formulas in set_ in dependency order (Kahn's algorithm over the edges inside
    // the set). What is left when no formula is ready sits on or behind a cycle: strongly connected
    // components with more than one member or a self-reference get #CYCLE!, the rest is evaluated
    // after them, so that IFERROR around a cyclic cell still works.
    void evaluateSet();

    // Tarjan's strongly connected components over the nodes still waiting (indegree > 0), without
    // recursion. Returns which of them are on a cycle.
    std::vector<bool> findCycles(std::size_t n);

    void evaluateOne(std::uint32_t id, std::uint32_t version, EvalContext& ctx);

    void deliver(std::uint32_t id, std::uint32_t version, Value value);

    // The formulas a cell's formula depends on that are due, found by walking precedents; the cell
    // itself first. Fills set_.
    void collectUpstream(std::uint32_t start);

    // --- Rows and columns -----------------------------------------------------------------------
    // Moves one coordinate of a reference part: inserting `count` at `at`, or deleting `count` from
    // `at` on. `low`/`high` say which end of a range the part is (a single reference is both).
    // Returns false when the part's cell is deleted.
    static bool moveCoordinate(long long& v, int at, int count, bool deleting, bool isLow, bool isHigh, int limit);

    std::shared_ptr<const Program> movedProgram(const Program& program, int col, int row, int newCol, int newRow,
                                                bool rows, int at, int count, bool deleting);

    bool moveCells(bool rows, int at, int count, bool deleting);

    void markAllDue();
};

} // namespace kxformula
