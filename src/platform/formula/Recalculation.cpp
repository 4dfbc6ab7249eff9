// Due marks and recalculation: what a change makes due, the order in which due formulas are
// evaluated, circular references, and the recalculation of one cell after what it depends on.
#include "platform/formula/EnginePrivate.h"

#include <algorithm>

namespace kxformula {

using namespace detail;

namespace {

// Custom functions may change cells while a recalculation runs; the changes are recalculated in
// further passes, at most this many, so that two functions feeding each other cannot loop forever.
constexpr int kMaxRecalcPasses = 16;

} // namespace

void EnginePrivate::markDueFrom(std::uint32_t id)
{
    if (!formulas_[id].due) {
        formulas_[id].due = true;
        listDue(id);
    }
    cellWork_.clear();
    cellWork_.emplace_back(formulas_[id].col, formulas_[id].row);
    spreadDue();
}

void EnginePrivate::markDependentsDue(int col, int row)
{
    cellWork_.clear();
    cellWork_.emplace_back(col, row);
    spreadDue();
}

void EnginePrivate::listDue(std::uint32_t id)
{
    dueList_.push_back(id);
    if (dueList_.size() <= 2 * formulas_.size() + 1024)
        return;
    const std::uint32_t epoch = ++epoch_;
    std::size_t kept = 0;
    for (const std::uint32_t listed : dueList_) {
        FormulaCell& f = formulas_[listed];
        if (f.alive && f.due && f.mark != epoch) {
            f.mark = epoch;
            dueList_[kept++] = listed;
        }
    }
    dueList_.resize(kept);
}

void EnginePrivate::spreadDue()
{
    while (!cellWork_.empty()) {
        const auto [col, row] = cellWork_.back();
        cellWork_.pop_back();
        graph_.forEachDependent(col, row, [this](std::uint32_t id, std::uint32_t version) {
            if (!valid(id, version) || formulas_[id].due)
                return;
            formulas_[id].due = true;
            listDue(id);
            cellWork_.emplace_back(formulas_[id].col, formulas_[id].row);
        });
    }
}

void EnginePrivate::recalcIfAutomatic()
{
    if (autoRecalc_ && batchDepth_ == 0 && !recalculating_)
        recalculateDue();
}

void EnginePrivate::markVolatileDue()
{
    bool any = false, dynamic = false;
    for (std::uint32_t id = 0; id < formulas_.size(); ++id)
        if (formulas_[id].alive && formulas_[id].program->isVolatile) {
            any = true;
            dynamic = dynamic || formulas_[id].program->readsDynamic;
            markDueFrom(id);
        }
    mayHaveVolatile_ = any;
    mayHaveDynamic_ = dynamic;
}

void EnginePrivate::markDynamicDue()
{
    for (std::uint32_t id = 0; id < formulas_.size(); ++id)
        if (formulas_[id].alive && formulas_[id].program->readsDynamic)
            markDueFrom(id);
}

void EnginePrivate::recalculateDue()
{
    if (recalculating_)
        return;
    if (mayHaveVolatile_)
        markVolatileDue();
    RecalcScope scope(recalculating_);
    evaluateDuePasses();
    // OFFSET and INDIRECT read cells the graph does not know of, so they may have run before those
    // cells were brought up to date: now that everything else is, they run again with what reads them.
    if (mayHaveDynamic_) {
        markDynamicDue();
        evaluateDuePasses();
    }
}

void EnginePrivate::evaluateDuePasses()
{
    for (int pass = 0; pass < kMaxRecalcPasses && !dueList_.empty(); ++pass) {
        const std::uint32_t epoch = ++epoch_;
        set_.clear();
        for (const std::uint32_t id : dueList_) {
            FormulaCell& f = formulas_[id];
            if (f.alive && f.due && f.mark != epoch) {
                f.mark = epoch;
                set_.push_back(id);
            }
        }
        dueList_.clear();
        try {
            evaluateSet();
        } catch (...) {
            // Out of memory halfway: what was not delivered stays due for the next attempt.
            for (const std::uint32_t id : set_)
                if (formulas_[id].alive && formulas_[id].due)
                    dueList_.push_back(id);
            throw;
        }
    }
}

void EnginePrivate::evaluateSet()
{
    const std::uint32_t epoch = ++epoch_;
    const std::size_t n = set_.size();
    setVersions_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        FormulaCell& f = formulas_[set_[i]];
        f.mark = epoch;
        f.pos = static_cast<std::uint32_t>(i);
        setVersions_[i] = f.version;
    }
    offsets_.assign(n + 1, 0);
    targets_.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const FormulaCell& f = formulas_[set_[i]];
        graph_.forEachDependent(f.col, f.row, [this, epoch](std::uint32_t id, std::uint32_t version) {
            if (valid(id, version) && formulas_[id].mark == epoch)
                targets_.push_back(formulas_[id].pos);
        });
        offsets_[i + 1] = static_cast<std::uint32_t>(targets_.size());
    }
    indegree_.assign(n, 0);
    for (const std::uint32_t t : targets_)
        ++indegree_[t];
    queue_.clear();
    for (std::size_t i = 0; i < n; ++i)
        if (indegree_[i] == 0)
            queue_.push_back(static_cast<std::uint32_t>(i));

    EvalContext ctx = context();
    std::size_t head = 0;
    const auto drain = [&]() {
        while (head < queue_.size()) {
            const std::uint32_t i = queue_[head++];
            evaluateOne(set_[i], setVersions_[i], ctx);
            for (std::uint32_t e = offsets_[i]; e < offsets_[i + 1]; ++e)
                if (--indegree_[targets_[e]] == 0)
                    queue_.push_back(targets_[e]);
        }
    };
    drain();
    if (queue_.size() == n)
        return;

    std::vector<bool> cyclic = findCycles(n);
    for (std::size_t i = 0; i < n; ++i)
        if (cyclic[i])
            deliver(set_[i], setVersions_[i], Value::error(ErrorCode::Cycle));
    for (std::size_t i = 0; i < n; ++i) {
        if (!cyclic[i])
            continue;
        for (std::uint32_t e = offsets_[i]; e < offsets_[i + 1]; ++e) {
            const std::uint32_t t = targets_[e];
            if (!cyclic[t] && indegree_[t] > 0 && --indegree_[t] == 0)
                queue_.push_back(t);
        }
    }
    drain();
}

std::vector<bool> EnginePrivate::findCycles(std::size_t n)
{
    std::vector<bool> cyclic(n, false);
    const auto waiting = [this](std::uint32_t i) { return indegree_[i] > 0; };
    constexpr std::uint32_t kUnvisited = 0xFFFFFFFFu;
    std::vector<std::uint32_t> index(n, kUnvisited), low(n, 0);
    std::vector<bool> onStack(n, false);
    std::vector<std::uint32_t> stack;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> calls; // node, next edge
    std::uint32_t counter = 0;
    for (std::uint32_t root = 0; root < n; ++root) {
        if (!waiting(root) || index[root] != kUnvisited)
            continue;
        const auto open = [&](std::uint32_t v) {
            index[v] = low[v] = counter++;
            stack.push_back(v);
            onStack[v] = true;
            calls.emplace_back(v, offsets_[v]);
        };
        open(root);
        while (!calls.empty()) {
            auto& [v, edge] = calls.back();
            if (edge < offsets_[v + 1]) {
                const std::uint32_t w = targets_[edge++];
                if (!waiting(w))
                    continue;
                if (index[w] == kUnvisited)
                    open(w);
                else if (onStack[w])
                    low[v] = std::min(low[v], index[w]);
                continue;
            }
            const std::uint32_t done = v;
            calls.pop_back();
            if (!calls.empty())
                low[calls.back().first] = std::min(low[calls.back().first], low[done]);
            if (low[done] != index[done])
                continue;
            std::size_t first = stack.size();
            while (stack[--first] != done) {
            }
            bool cycle = stack.size() - first > 1;
            if (!cycle)
                for (std::uint32_t e = offsets_[done]; e < offsets_[done + 1]; ++e)
                    cycle = cycle || targets_[e] == done;
            for (std::size_t k = first; k < stack.size(); ++k) {
                onStack[stack[k]] = false;
                cyclic[stack[k]] = cycle;
            }
            stack.resize(first);
        }
    }
    return cyclic;
}

void EnginePrivate::evaluateOne(std::uint32_t id, std::uint32_t version, EvalContext& ctx)
{
    if (!valid(id, version))
        return; // replaced or removed by a custom function during this pass
    FormulaCell& f = formulas_[id];
    ctx.col = f.col;
    ctx.row = f.row;
    // A custom function may replace this very formula while it runs: hold the program.
    std::shared_ptr<const Program> holder;
    if (f.program->callsCustom)
        holder = f.program;
    Operand result = run(*f.program, ctx, stack_);
    ++evaluations_;
    deliver(id, version, finalValue(std::move(result), ctx));
}

void EnginePrivate::deliver(std::uint32_t id, std::uint32_t version, Value value)
{
    if (!valid(id, version))
        return;
    FormulaCell& f = formulas_[id];
    f.due = false;
    const int col = f.col, row = f.row;
    store_.setComputedValue(col, row, std::move(value));
    lookups_.cellChanged(col, row);
}

void EnginePrivate::collectUpstream(std::uint32_t start)
{
    const std::uint32_t epoch = ++epoch_;
    set_.clear();
    work_.clear();
    formulas_[start].mark = epoch;
    set_.push_back(start);
    work_.push_back(start);
    const EvalContext ctx = context();
    const auto visit = [&](std::uint32_t id) {
        FormulaCell& g = formulas_[id];
        if (g.mark == epoch || !g.due)
            return;
        g.mark = epoch;
        set_.push_back(id);
        work_.push_back(id);
    };
    std::vector<Area> areas;
    while (!work_.empty()) {
        const std::uint32_t id = work_.back();
        work_.pop_back();
        precedentsOf(*formulas_[id].program, formulas_[id].col, formulas_[id].row, areas);
        for (const Area& a : areas) {
            const auto clipped = clipToSheet(a, ctx);
            if (!clipped)
                continue;
            const long long cells = static_cast<long long>(clipped->width()) * clipped->height();
            if (cells > static_cast<long long>(byCell_.size())) {
                for (std::uint32_t other = 0; other < formulas_.size(); ++other)
                    if (formulas_[other].alive && clipped->contains(formulas_[other].col, formulas_[other].row))
                        visit(other);
                continue;
            }
            for (int r = clipped->r1; r <= clipped->r2; ++r)
                for (int c = clipped->c1; c <= clipped->c2; ++c)
                    if (const auto other = idAt(c, r))
                        visit(*other);
        }
    }
}

void EnginePrivate::markAllDue()
{
    for (std::uint32_t id = 0; id < formulas_.size(); ++id)
        if (formulas_[id].alive && !formulas_[id].due) {
            formulas_[id].due = true;
            listDue(id);
        }
}

} // namespace kxformula
