// The engine's public operations. They guard against exceptions (running out of memory) so that
// nothing is thrown at the caller; the work itself is in EnginePrivate.cpp, Recalculation.cpp and
// StructureChanges.cpp.
#include "platform/formula/Engine.h"

#include "platform/formula/EnginePrivate.h"
#include "platform/formula/Text.h"

namespace kxformula {

using namespace detail;

namespace {

// Runs an engine operation so that nothing is thrown at the caller: running out of memory makes
// the operation report its failure value; the formulas concerned stay due.
template <typename R, typename F>
R guarded(R failed, F&& operation)
{
    try {
        return operation();
    } catch (...) {
        return failed;
    }
}

bool validFunctionName(std::string_view name)
{
    if (name.empty() || name.size() > 255)
        return false;
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0]))
        return false;
    for (const char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '.')
            return false;
    return true;
}

bool insideLimits(int col, int row)
{
    return col >= 1 && row >= 1 && col <= kMaxColumn && row <= kMaxRow;
}

} // namespace

Engine::Engine(CellStore& store) : d_(std::make_unique<EnginePrivate>(store)) {}

Engine::~Engine() = default;

ParseStatus Engine::setFormula(int col, int row, std::string_view text, RefStyle style)
{
    if (!insideLimits(col, row))
        return ParseStatus{false, "the cell lies outside the sheet", 0};
    return guarded(ParseStatus{false, "out of memory", 0}, [&] {
        ParseStatus status = parseFormula(text, style, col, row, &d_->resolver_, d_->scratch_);
        d_->install(col, row, d_->intern(d_->scratch_));
        d_->recalcIfAutomatic();
        return status;
    });
}

bool Engine::removeFormula(int col, int row)
{
    return guarded(false, [&] {
        if (!d_->uninstall(col, row))
            return false;
        d_->recalcIfAutomatic();
        return true;
    });
}

bool Engine::copyFormula(int fromCol, int fromRow, int toCol, int toRow)
{
    return guarded(false, [&] {
        const auto id = d_->idAt(fromCol, fromRow);
        if (!id || !insideLimits(toCol, toRow))
            return false;
        d_->install(toCol, toRow, d_->formulas_[*id].program);
        d_->recalcIfAutomatic();
        return true;
    });
}

bool Engine::hasFormula(int col, int row) const
{
    return d_->idAt(col, row).has_value();
}

std::optional<std::string> Engine::formulaText(int col, int row, RefStyle style) const
{
    return guarded(std::optional<std::string>(), [&]() -> std::optional<std::string> {
        const auto id = d_->idAt(col, row);
        if (!id)
            return std::nullopt;
        return printFormula(*d_->formulas_[*id].program, style, col, row);
    });
}

std::size_t Engine::formulaCount() const
{
    return d_->byCell_.size();
}

bool Engine::clear()
{
    if (d_->recalculating_)
        return false;
    d_->clearAll();
    return true;
}

int Engine::loadFromStore(RefStyle style)
{
    if (d_->recalculating_)
        return -1;
    return guarded(-1, [&] {
        d_->clearAll();
        int failures = 0;
        {
            UpdateBatch batch(*this);
            d_->store_.forEachFormula([&](int col, int row, std::string_view text) {
                if (!setFormula(col, row, text, style).ok)
                    ++failures;
            });
        }
        return failures;
    });
}

void Engine::cellChanged(int col, int row)
{
    guarded(false, [&] {
        d_->lookups_.cellChanged(col, row);
        d_->markDependentsDue(col, row);
        d_->recalcIfAutomatic();
        return true;
    });
}

void Engine::setAutoRecalc(bool on)
{
    d_->autoRecalc_ = on;
}

bool Engine::autoRecalc() const
{
    return d_->autoRecalc_;
}

void Engine::recalculate()
{
    if (d_->recalculating_)
        return;
    guarded(false, [&] {
        d_->lookups_.clear();
        d_->markAllDue();
        d_->recalculateDue();
        return true;
    });
}

void Engine::recalculateDue()
{
    guarded(false, [&] {
        d_->recalculateDue();
        return true;
    });
}

bool Engine::recalculateCell(int col, int row)
{
    const auto id = d_->idAt(col, row);
    if (!id || d_->recalculating_)
        return false;
    return guarded(false, [&] {
        EnginePrivate::RecalcScope scope(d_->recalculating_);
        d_->collectUpstream(*id);
        d_->evaluateSet();
        return true;
    });
}

bool Engine::isDue(int col, int row) const
{
    const auto id = d_->idAt(col, row);
    return id && d_->formulas_[*id].due;
}

std::size_t Engine::evaluationCount() const
{
    return d_->evaluations_;
}

void Engine::beginUpdate()
{
    ++d_->batchDepth_;
}

void Engine::endUpdate()
{
    if (d_->batchDepth_ > 0 && --d_->batchDepth_ == 0)
        guarded(false, [&] {
            d_->recalcIfAutomatic();
            return true;
        });
}

bool Engine::insertRows(int before, int count)
{
    return guarded(false, [&] { return d_->moveCells(/*rows=*/true, before, count, /*deleting=*/false); });
}

bool Engine::deleteRows(int first, int count)
{
    return guarded(false, [&] { return d_->moveCells(/*rows=*/true, first, count, /*deleting=*/true); });
}

bool Engine::insertColumns(int before, int count)
{
    return guarded(false, [&] { return d_->moveCells(/*rows=*/false, before, count, /*deleting=*/false); });
}

bool Engine::deleteColumns(int first, int count)
{
    return guarded(false, [&] { return d_->moveCells(/*rows=*/false, first, count, /*deleting=*/true); });
}

bool Engine::registerFunction(std::string_view name, int minArgs, int maxArgs, CustomFunction function)
{
    if (!validFunctionName(name) || minArgs < 0 || maxArgs < minArgs || maxArgs > kMaxArguments || !function)
        return false;
    return guarded(false, [&] {
        const std::string upper = upperCase(name);
        if (findBuiltin(upper))
            return false;
        const std::uint32_t slot = d_->slotFor(upper);
        CustomSlot& s = d_->slots_[slot];
        s.minArgs = minArgs;
        s.maxArgs = maxArgs;
        s.function = std::move(function);
        d_->markCustomCallersDue(slot);
        d_->recalcIfAutomatic();
        return true;
    });
}

bool Engine::unregisterFunction(std::string_view name)
{
    return guarded(false, [&] {
        const auto found = d_->slotIds_.find(upperCase(name));
        if (found == d_->slotIds_.end() || !d_->slots_[found->second].function)
            return false;
        d_->slots_[found->second].function = nullptr;
        d_->markCustomCallersDue(found->second);
        d_->recalcIfAutomatic();
        return true;
    });
}

void Engine::clearCustomFunctions()
{
    std::vector<bool> cleared(d_->slots_.size(), false);
    for (std::size_t slot = 0; slot < d_->slots_.size(); ++slot) {
        cleared[slot] = d_->slots_[slot].function != nullptr;
        d_->slots_[slot].function = nullptr;
    }
    guarded(false, [&] {
        d_->markCustomCallersDue(cleared);
        d_->recalcIfAutomatic();
        return true;
    });
}

bool Engine::isFunctionRegistered(std::string_view name) const
{
    const auto found = d_->slotIds_.find(upperCase(name));
    return found != d_->slotIds_.end() && d_->slots_[found->second].function != nullptr;
}

Value Engine::evaluate(std::string_view text, int col, int row, RefStyle style)
{
    return guarded(Value::error(ErrorCode::Num), [&] {
        Program program;
        parseFormula(text, style, col, row, &d_->resolver_, program);
        EvalContext ctx = d_->context();
        ctx.col = col;
        ctx.row = row;
        std::vector<Operand> stack; // its own: this may run inside a custom function
        return finalValue(run(program, ctx, stack), ctx);
    });
}

std::vector<std::string> Engine::builtinFunctionNames()
{
    std::vector<std::string> names;
    for (const FunctionSpec& f : builtinFunctions())
        names.emplace_back(f.name);
    return names;
}

} // namespace kxformula
