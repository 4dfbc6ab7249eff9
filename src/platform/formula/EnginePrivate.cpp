// The engine's table of formulas by cell and its dependency edges, shared programs, and custom
// function slots and calls.
#include "platform/formula/EnginePrivate.h"

#include "platform/formula/Text.h"

#include <algorithm>
#include <cstring>

namespace kxformula {

using namespace detail;

namespace {

// Nesting of custom function calls over every engine of the thread (see kMaxCustomNesting).
thread_local int customDepth = 0;

std::uint64_t hashProgram(const Program& p)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    // Eight bytes a step: every formula entered is hashed, and a byte at a time was a good part of
    // entering one.
    const auto mix = [&h](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            h = (h ^ word) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        for (; i < size; ++i)
            h = (h ^ bytes[i]) * 0x100000001b3ull;
    };
    if (!p.code.empty())
        mix(p.code.data(), p.code.size() * sizeof(Instr));
    for (const std::string& t : p.texts) {
        mix(t.data(), t.size());
        h = (h ^ 0xFF) * 0x100000001b3ull;
    }
    mix(p.raw.data(), p.raw.size());
    return h;
}

bool samePrograms(const Program& a, const Program& b)
{
    return a.unparsed == b.unparsed && a.callsCustom == b.callsCustom && a.code.size() == b.code.size()
           && (a.code.empty() || std::memcmp(a.code.data(), b.code.data(), a.code.size() * sizeof(Instr)) == 0)
           && a.texts == b.texts && a.raw == b.raw;
}

} // namespace

std::uint32_t EnginePrivate::slotFor(std::string_view upperName)
{
    const auto found = slotIds_.find(std::string(upperName));
    if (found != slotIds_.end())
        return found->second;
    const auto slot = static_cast<std::uint32_t>(slots_.size());
    CustomSlot fresh;
    fresh.name = std::string(upperName);
    slots_.push_back(std::move(fresh));
    slotIds_.emplace(std::string(upperName), slot);
    return slot;
}

Value EnginePrivate::callCustom(std::uint32_t slot, std::span<Operand> args, int col, int row)
{
    if (slot >= slots_.size() || !slots_[slot].function)
        return Value::error(ErrorCode::Name);
    const CustomSlot& s = slots_[slot];
    if (static_cast<int>(args.size()) < s.minArgs || static_cast<int>(args.size()) > s.maxArgs)
        return Value::error(ErrorCode::Value);
    if (customDepth >= kMaxCustomNesting)
        return Value::error(ErrorCode::Cycle);
    std::vector<CustomArgument> list(args.size());
    EvalContext ctx = context();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Operand& o = args[i];
        CustomArgument& a = list[i];
        if (o.isRef) {
            a.isReference = true;
            a.column = o.area.c1;
            a.row = o.area.r1;
            a.lastColumn = o.area.c2;
            a.lastRow = o.area.r2;
            if (o.area.single())
                a.value = ctx.cell(o.area.c1, o.area.r1);
        } else {
            a.value = o.value;
        }
    }
    // Copy the function: the callback may register or remove functions while it runs.
    const CustomFunction function = s.function;
    struct DepthGuard {
        DepthGuard() { ++customDepth; }
        ~DepthGuard() { --customDepth; }
    } guard;
    try {
        return function(std::span<const CustomArgument>(list), col, row);
    } catch (...) {
        return Value::error(ErrorCode::Value);
    }
}

void EnginePrivate::markCustomCallersDue(std::uint32_t slot)
{
    std::vector<bool> which(slots_.size(), false);
    which[slot] = true;
    markCustomCallersDue(which);
}

void EnginePrivate::markCustomCallersDue(const std::vector<bool>& which)
{
    for (std::uint32_t id = 0; id < formulas_.size(); ++id) {
        const FormulaCell& f = formulas_[id];
        if (!f.alive || !f.program->callsCustom)
            continue;
        const bool calls = std::any_of(f.program->code.begin(), f.program->code.end(), [&which](const Instr& i) {
            return i.op == Op::CallCustom && static_cast<std::uint32_t>(i.a) < which.size()
                   && which[static_cast<std::uint32_t>(i.a)];
        });
        if (calls)
            markDueFrom(id);
    }
}

std::shared_ptr<const Program> EnginePrivate::intern(const Program& program)
{
    const std::uint64_t h = hashProgram(program);
    const auto [first, last] = interned_.equal_range(h);
    for (auto it = first; it != last; ++it)
        if (samePrograms(*it->second, program))
            return it->second;
    auto shared = std::make_shared<const Program>(program);
    interned_.emplace(h, shared);
    if (interned_.size() > 2 * byCell_.size() + 4096)
        std::erase_if(interned_, [](const auto& entry) { return entry.second.use_count() == 1; });
    return shared;
}

void EnginePrivate::unregister(FormulaCell& f)
{
    precedentsOf(*f.program, f.col, f.row, precedents_);
    graph_.remove(precedents_);
    for (const Area& a : precedents_) {
        const std::size_t edges = static_cast<std::size_t>(a.width()) * a.height() <= 16
                                      ? static_cast<std::size_t>(a.width()) * a.height()
                                      : 1;
        staleEdges_ += edges;
        liveEdges_ -= std::min(liveEdges_, edges);
    }
    ++f.version;
}

void EnginePrivate::registerEdges(std::uint32_t id)
{
    FormulaCell& f = formulas_[id];
    precedentsOf(*f.program, f.col, f.row, precedents_);
    graph_.add(id, f.version, precedents_);
    for (const Area& a : precedents_) {
        const std::size_t cells = static_cast<std::size_t>(a.width()) * a.height();
        liveEdges_ += cells <= 16 ? cells : 1;
    }
}

void EnginePrivate::rebuildGraphIfStale()
{
    if (staleEdges_ <= liveEdges_ + 65536)
        return;
    graph_.clear();
    liveEdges_ = staleEdges_ = 0;
    for (std::uint32_t id = 0; id < formulas_.size(); ++id)
        if (formulas_[id].alive)
            registerEdges(id);
}

void EnginePrivate::install(int col, int row, std::shared_ptr<const Program> program)
{
    std::uint32_t id;
    if (const auto existing = idAt(col, row)) {
        id = *existing;
        unregister(formulas_[id]);
    } else if (!freeIds_.empty()) {
        id = freeIds_.back();
        freeIds_.pop_back();
        byCell_[cellKey(col, row)] = id;
    } else {
        id = static_cast<std::uint32_t>(formulas_.size());
        formulas_.emplace_back();
        byCell_[cellKey(col, row)] = id;
    }
    FormulaCell& f = formulas_[id];
    f.col = col;
    f.row = row;
    f.program = std::move(program);
    mayHaveVolatile_ = mayHaveVolatile_ || f.program->isVolatile;
    f.alive = true;
    ++f.version;
    f.due = false; // listed again below: the list may have been emptied by a running pass
    registerEdges(id);
    rebuildGraphIfStale();
    lookups_.cellChanged(col, row);
    markDueFrom(id);
}

bool EnginePrivate::uninstall(int col, int row)
{
    const auto id = idAt(col, row);
    if (!id)
        return false;
    FormulaCell& f = formulas_[*id];
    unregister(f);
    f.alive = false;
    f.due = false;
    f.program.reset();
    byCell_.erase(cellKey(col, row));
    freeIds_.push_back(*id);
    rebuildGraphIfStale();
    lookups_.cellChanged(col, row);
    markDependentsDue(col, row);
    return true;
}

void EnginePrivate::clearAll()
{
    formulas_.clear();
    freeIds_.clear();
    byCell_.clear();
    graph_.clear();
    liveEdges_ = staleEdges_ = 0;
    dueList_.clear();
    lookups_.clear();
}

} // namespace kxformula
