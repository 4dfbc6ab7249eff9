// The dependency graph's filing of cells and ranges.
#include "platform/formula/DependencyGraph.h"

namespace kxformula::detail {

namespace {

// Ranges up to this many cells are filed cell by cell.
constexpr long long kSmallRangeCells = 16;
// Ranges touching more buckets than this go to the list of large ranges.
constexpr long long kMaxBucketsPerRange = 16384;

} // namespace

void DependencyGraph::addEdge(std::uint32_t& head, std::uint32_t id, std::uint32_t version)
{
    edges_.push_back(Edge{id, version, head});
    head = static_cast<std::uint32_t>(edges_.size() - 1);
}

std::uint32_t DependencyGraph::rangeNode(const Area& area)
{
    const auto found = rangeIds_.find(area);
    if (found != rangeIds_.end())
        return found->second;
    const auto r = static_cast<std::uint32_t>(ranges_.size());
    ranges_.push_back(RangeNode{area});
    rangeIds_.emplace(area, r);
    const long long bc1 = area.c1 >> 3, bc2 = area.c2 >> 3, br1 = area.r1 >> 6, br2 = area.r2 >> 6;
    if ((bc2 - bc1 + 1) * (br2 - br1 + 1) > kMaxBucketsPerRange) {
        largeRanges_.push_back(r);
        return r;
    }
    for (long long bc = bc1; bc <= bc2; ++bc)
        for (long long br = br1; br <= br2; ++br) {
            std::uint32_t& head = bucketHeads_[(static_cast<std::uint64_t>(bc) << 32) | static_cast<std::uint64_t>(br)];
            bucketEntries_.push_back(BucketEntry{r, head});
            head = static_cast<std::uint32_t>(bucketEntries_.size() - 1);
        }
    return r;
}

void DependencyGraph::add(std::uint32_t id, std::uint32_t version, std::span<const Area> precedents)
{
    for (const Area& a : precedents) {
        const long long cells = static_cast<long long>(a.width()) * a.height();
        if (cells <= kSmallRangeCells) {
            for (int r = a.r1; r <= a.r2; ++r)
                for (int c = a.c1; c <= a.c2; ++c)
                    addEdge(cellHeads_[cellKey(c, r)], id, version);
            continue;
        }
        RangeNode& node = ranges_[rangeNode(a)];
        ++node.users;
        addEdge(node.head, id, version);
    }
}

void DependencyGraph::remove(std::span<const Area> precedents)
{
    for (const Area& a : precedents) {
        if (static_cast<long long>(a.width()) * a.height() <= kSmallRangeCells)
            continue;
        const auto found = rangeIds_.find(a);
        if (found == rangeIds_.end())
            continue;
        RangeNode& node = ranges_[found->second];
        if (node.users > 0 && --node.users == 0)
            node.head = FlatMap::kNone; // every edge of an unused range is stale
    }
}

void DependencyGraph::clear()
{
    edges_.clear();
    cellHeads_.clear();
    ranges_.clear();
    rangeIds_.clear();
    bucketEntries_.clear();
    bucketHeads_.clear();
    largeRanges_.clear();
}

void precedentsOf(const Program& program, int col, int row, std::vector<Area>& out)
{
    out.clear();
    for (const Instr& i : program.code) {
        if (i.op != Op::Ref && i.op != Op::Area)
            continue;
        const auto at = [](std::int32_t v, bool absolute, int base) {
            return absolute ? static_cast<long long>(v) : static_cast<long long>(v) + base;
        };
        long long c1 = at(i.a, i.flags & kColAbs, col), r1 = at(i.b, i.flags & kRowAbs, row);
        long long c2 = c1, r2 = r1;
        if (i.op == Op::Area) {
            c2 = at(i.c, i.flags & kCol2Abs, col);
            r2 = at(i.d, i.flags & kRow2Abs, row);
            if (c1 > c2)
                std::swap(c1, c2);
            if (r1 > r2)
                std::swap(r1, r2);
        }
        if (c1 < 1 || r1 < 1 || c1 > kMaxColumn || r1 > kMaxRow)
            continue;
        if (c2 > kMaxColumn)
            c2 = kMaxColumn;
        if (r2 > kMaxRow)
            r2 = kMaxRow;
        out.push_back(Area{static_cast<int>(c1), static_cast<int>(r1), static_cast<int>(c2), static_cast<int>(r2)});
    }
}

} // namespace kxformula::detail
