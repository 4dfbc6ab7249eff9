// VLOOKUP, HLOOKUP, MATCH and INDEX, and the exact-match index cache behind them. Approximate
// matching is a binary search over data the user keeps sorted, as spreadsheets do it; exact
// matching uses a hash index for long lines.
#include "platform/formula/Functions.h"

#include "platform/formula/Numbers.h"
#include "platform/formula/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace kxformula::detail {

namespace {

// Lines shorter than this are searched directly; building an index would cost more.
constexpr long kIndexMinLength = 32;
// Indexes kept at once; the least recently used goes first.
constexpr std::size_t kMaxIndexes = 16;
// Changed cells an index takes as patches at least; beyond them (or an eighth of the line) it is
// dropped and built again on its next use.
constexpr std::size_t kMaxPendingCells = 64;

// The key under which exact matching files a value: numbers by their 15-digit value, texts by
// their case-folded form, booleans; empty cells and errors match nothing.
std::optional<std::string> lookupKey(const Value& v)
{
    switch (v.type()) {
    case ValueType::Number: {
        const double x = round15(v.asNumber());
        std::string key(1 + sizeof x, 'n');
        std::memcpy(key.data() + 1, &x, sizeof x);
        return key;
    }
    case ValueType::Text: {
        std::string key(1, 't');
        key += foldCase(v.asText());
        return key;
    }
    case ValueType::Boolean:
        return v.asBoolean() ? std::string("b1") : std::string("b0");
    default:
        return std::nullopt;
    }
}

Operand notAvailable()
{
    return Operand::error(ErrorCode::NA);
}

Value orZero(Value v)
{
    return v.isEmpty() ? Value::number(0) : v;
}

// VLOOKUP and HLOOKUP: `vertical` searches the first column and returns from the index-th column.
Operand tableLookup(Args& args, EvalContext& ctx, bool vertical)
{
    const Value& key = args.value(0);
    if (key.isEmpty())
        return notAvailable();
    Operand& table = args.operand(1);
    if (!table.isRef)
        return Operand::error(ErrorCode::Value);
    const auto area = clipToSheet(table.area, ctx);
    if (!area)
        return Operand::error(ErrorCode::Ref);
    const double index = std::trunc(args.number(2));
    if (index < 1)
        return Operand::error(ErrorCode::Value);
    if (index > (vertical ? area->width() : area->height()))
        return Operand::error(ErrorCode::Ref);
    const bool approximate = args.size() > 3 ? args.boolean(3) : true;
    const Area line = vertical ? Area{area->c1, area->r1, area->c1, area->r2}
                               : Area{area->c1, area->r1, area->c2, area->r1};
    const long pos = approximate ? approximateFind(line, key, /*ascending=*/true, ctx)
                                 : ctx.lookups ? ctx.lookups->findExact(line, key, ctx)
                                               : LookupCache().findExact(line, key, ctx);
    if (pos < 0)
        return notAvailable();
    const int offset = static_cast<int>(index) - 1;
    return Operand::of(orZero(vertical ? ctx.cell(area->c1 + offset, area->r1 + static_cast<int>(pos))
                                       : ctx.cell(area->c1 + static_cast<int>(pos), area->r1 + offset)));
}

} // namespace

bool exactEqual(const Value& cell, const Value& key)
{
    if (cell.type() != key.type())
        return false;
    switch (key.type()) {
    case ValueType::Number: return sameNumber(cell.asNumber(), key.asNumber());
    case ValueType::Text: return compareIgnoringCase(cell.asText(), key.asText()) == 0;
    case ValueType::Boolean: return cell.asBoolean() == key.asBoolean();
    default: return false;
    }
}

long lineLength(const Area& a)
{
    return a.c1 == a.c2 ? a.height() : a.width();
}

Value lineCell(const Area& a, long i, const EvalContext& ctx)
{
    return a.c1 == a.c2 ? ctx.cell(a.c1, a.r1 + static_cast<int>(i)) : ctx.cell(a.c1 + static_cast<int>(i), a.r1);
}

// Order for the binary search: empty cells and errors after everything.
static int searchOrder(const Value& cell, const Value& key)
{
    if (cell.isEmpty() || cell.isError())
        return 1;
    return compareValues(cell, key);
}

// Approximate match: in ascending data the last cell <= key; in descending data the last cell >=
// key. The cell found must be of the key's type.
long approximateFind(const Area& line, const Value& key, bool ascending, const EvalContext& ctx)
{
    long lo = 0, hi = lineLength(line) - 1, found = -1;
    while (lo <= hi) {
        const long mid = lo + (hi - lo) / 2;
        const Value v = lineCell(line, mid, ctx);
        const int c = searchOrder(v, key);
        const bool goesRight = ascending ? c <= 0 : (c >= 0 && !v.isEmpty() && !v.isError());
        if (goesRight) {
            found = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    if (found < 0 || lineCell(line, found, ctx).type() != key.type())
        return -1;
    return found;
}

// One line's index. `positions` holds, for every key, the first position that has it; `keys` holds
// the key of every position as last read, so that a changed cell can be taken out again. Cells
// reported changed wait in `pending` and are read again before the next search.
struct LookupCache::Index {
    Area area;
    std::unordered_map<std::string, std::uint32_t> positions;
    std::vector<std::optional<std::string>> keys;
    std::vector<std::uint32_t> pending;
    std::uint64_t lastUse = 0;
};

namespace {

// Reads the pending cells again and moves their keys in the index. A key that leaves a position
// which was its first goes to its next position further on, if any.
void applyPending(LookupCache::Index& index, const EvalContext& ctx)
{
    for (const std::uint32_t p : index.pending) {
        std::optional<std::string> fresh = lookupKey(lineCell(index.area, p, ctx));
        std::optional<std::string>& old = index.keys[p];
        if (fresh == old)
            continue;
        if (old) {
            const auto it = index.positions.find(*old);
            if (it != index.positions.end() && it->second == p) {
                std::uint32_t next = p + 1;
                while (next < index.keys.size() && index.keys[next] != old)
                    ++next;
                if (next < index.keys.size())
                    it->second = next;
                else
                    index.positions.erase(it);
            }
        }
        old = std::move(fresh);
        if (old) {
            const auto [it, added] = index.positions.emplace(*old, p);
            if (!added && p < it->second)
                it->second = p;
        }
    }
    index.pending.clear();
}

} // namespace

LookupCache::LookupCache() = default;
LookupCache::~LookupCache() = default;

long LookupCache::findExact(const Area& line, const Value& key, const EvalContext& ctx)
{
    const auto clipped = clipToSheet(line, ctx);
    if (!clipped)
        return -1;
    const long length = lineLength(*clipped);
    if (key.isText() && hasWildcards(key.asText())) {
        for (long i = 0; i < length; ++i) {
            const Value v = lineCell(*clipped, i, ctx);
            if (v.isText() && wildcardMatch(key.asText(), v.asText()))
                return i;
        }
        return -1;
    }
    if (length < kIndexMinLength) {
        for (long i = 0; i < length; ++i)
            if (exactEqual(lineCell(*clipped, i, ctx), key))
                return i;
        return -1;
    }
    const auto wanted = lookupKey(key);
    if (!wanted)
        return -1;
    Index* index = nullptr;
    for (const auto& candidate : indexes_)
        if (candidate->area.c1 == clipped->c1 && candidate->area.r1 == clipped->r1 && candidate->area.c2 == clipped->c2
            && candidate->area.r2 == clipped->r2) {
            index = candidate.get();
            break;
        }
    if (!index) {
        if (indexes_.size() >= kMaxIndexes) {
            std::size_t oldest = 0;
            for (std::size_t k = 1; k < indexes_.size(); ++k)
                if (indexes_[k]->lastUse < indexes_[oldest]->lastUse)
                    oldest = k;
            indexes_.erase(indexes_.begin() + static_cast<long>(oldest));
        }
        auto built = std::make_unique<Index>();
        built->area = *clipped;
        built->positions.reserve(static_cast<std::size_t>(length));
        built->keys.reserve(static_cast<std::size_t>(length));
        for (long i = 0; i < length; ++i) {
            built->keys.push_back(lookupKey(lineCell(*clipped, i, ctx)));
            if (built->keys.back())
                built->positions.emplace(*built->keys.back(), static_cast<std::uint32_t>(i)); // keeps the first
        }
        index = built.get();
        indexes_.push_back(std::move(built));
        if (indexes_.size() == 1) {
            minCol_ = clipped->c1;
            maxCol_ = clipped->c2;
            minRow_ = clipped->r1;
            maxRow_ = clipped->r2;
        } else {
            minCol_ = std::min(minCol_, clipped->c1);
            maxCol_ = std::max(maxCol_, clipped->c2);
            minRow_ = std::min(minRow_, clipped->r1);
            maxRow_ = std::max(maxRow_, clipped->r2);
        }
    }
    if (!index->pending.empty())
        applyPending(*index, ctx);
    index->lastUse = ++clock_;
    const auto it = index->positions.find(*wanted);
    return it == index->positions.end() ? -1 : static_cast<long>(it->second);
}

void LookupCache::cellChanged(int col, int row)
{
    if (indexes_.empty() || col < minCol_ || col > maxCol_ || row < minRow_ || row > maxRow_)
        return;
    // An index is patched cell by cell until so many cells changed that building it again is cheaper.
    std::erase_if(indexes_, [&](const std::unique_ptr<Index>& index) {
        if (!index->area.contains(col, row))
            return false;
        const std::size_t length = index->keys.size();
        if (index->pending.size() >= std::max<std::size_t>(kMaxPendingCells, length / 8))
            return true;
        const int offset = index->area.c1 == index->area.c2 ? row - index->area.r1 : col - index->area.c1;
        index->pending.push_back(static_cast<std::uint32_t>(offset));
        return false;
    });
}

void LookupCache::clear()
{
    indexes_.clear();
}

Operand fnVLookup(Args& args, EvalContext& ctx)
{
    return tableLookup(args, ctx, /*vertical=*/true);
}

Operand fnHLookup(Args& args, EvalContext& ctx)
{
    return tableLookup(args, ctx, /*vertical=*/false);
}

// MATCH(key, line, [type]): 1 (default) the last cell <= key in ascending data, 0 the first equal
// cell, -1 the last cell >= key in descending data. The position counts from 1.
Operand fnMatch(Args& args, EvalContext& ctx)
{
    const Value& key = args.value(0);
    if (key.isEmpty())
        return notAvailable();
    Operand& range = args.operand(1);
    if (!range.isRef)
        return Operand::error(ErrorCode::Value);
    const auto area = clipToSheet(range.area, ctx);
    if (!area)
        return Operand::error(ErrorCode::Ref);
    if (area->c1 != area->c2 && area->r1 != area->r2)
        return notAvailable();
    const double type = args.size() > 2 ? std::trunc(args.number(2)) : 1;
    long pos;
    if (type == 0)
        pos = ctx.lookups ? ctx.lookups->findExact(*area, key, ctx) : LookupCache().findExact(*area, key, ctx);
    else
        pos = approximateFind(*area, key, /*ascending=*/type > 0, ctx);
    if (pos < 0)
        return notAvailable();
    return Operand::of(Value::number(static_cast<double>(pos + 1)));
}

// INDEX(range, row, [column]): a reference to the cell (a whole row or column for index 0). A range
// of one row or one column takes a single index along it.
Operand fnIndex(Args& args, EvalContext&)
{
    Operand& range = args.operand(0);
    const double rowArg = std::trunc(args.number(1));
    const bool hasCol = args.size() > 2;
    const double colArg = hasCol ? std::trunc(args.number(2)) : 0;
    if (rowArg < 0 || colArg < 0)
        return Operand::error(ErrorCode::Value);
    if (!range.isRef) {
        if (rowArg > 1 || colArg > 1)
            return Operand::error(ErrorCode::Ref);
        return Operand::of(range.value);
    }
    const Area& a = range.area;
    double row = rowArg, col = colArg;
    if (!hasCol) {
        if (a.height() == 1 && a.width() > 1) {
            col = row;
            row = 1;
        } else if (a.width() == 1) {
            col = 1;
        }
    }
    if (row > a.height() || col > a.width())
        return Operand::error(ErrorCode::Ref);
    Area result = a;
    if (row > 0)
        result.r1 = result.r2 = a.r1 + static_cast<int>(row) - 1;
    if (col > 0)
        result.c1 = result.c2 = a.c1 + static_cast<int>(col) - 1;
    return Operand::reference(result);
}

} // namespace kxformula::detail
