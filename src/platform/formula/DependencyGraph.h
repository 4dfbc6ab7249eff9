// Who depends on which cell. Each formula registers the cells and ranges its program refers to;
// the graph answers "which formulas refer to this cell". Private to platform/formula.
//
// Design, from the shapes the engine is measured on:
// - A single cell or a small range (up to 16 cells) is filed under each of its cells: a chain of
//   100,000 "=previous+1" formulas costs one edge each.
// - A larger range is one node, shared by every formula that names the same rectangle (a column of
//   "=SUM($A$1:$A$10000)" makes one node with many users), filed in buckets of 8 columns x 64 rows so
//   that finding the ranges around a cell looks at one bucket. Ranges spanning too many buckets go
//   to a short list checked for every cell.
// - Edges carry the formula's version; replacing or removing a formula just moves its version on,
//   so removal costs nothing per edge and stale edges are skipped when read. The owner rebuilds the
//   graph when stale edges outnumber live ones.
#pragma once

#include "platform/formula/FlatMap.h"
#include "platform/formula/Interpreter.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace kxformula::detail {

class DependencyGraph {
public:
    // Files formula `id` at `version` under every precedent.
    void add(std::uint32_t id, std::uint32_t version, std::span<const Area> precedents);
    // Forgets one use of each precedent's range node; the edges themselves go stale.
    void remove(std::span<const Area> precedents);

    // Calls f(id, version) for every edge to the cell, stale ones included (the caller checks the
    // version), possibly more than once for one formula.
    template <typename F>
    void forEachDependent(int col, int row, F&& f) const
    {
        if (const std::uint32_t* head = cellHeads_.find(cellKey(col, row)))
            visitEdges(*head, f);
        if (const std::uint32_t* bucket = bucketHeads_.find(bucketKey(col, row)))
            for (std::uint32_t b = *bucket; b != FlatMap::kNone; b = bucketEntries_[b].next)
                visitRange(bucketEntries_[b].range, col, row, f);
        for (const std::uint32_t r : largeRanges_)
            visitRange(r, col, row, f);
    }

    void clear();
    std::size_t edgeCount() const { return edges_.size(); }
    std::size_t rangeCount() const { return ranges_.size(); }

private:
    struct Edge {
        std::uint32_t id;
        std::uint32_t version;
        std::uint32_t next;
    };
    struct RangeNode {
        Area area;
        std::uint32_t head = FlatMap::kNone;
        std::uint32_t users = 0;
    };
    struct BucketEntry {
        std::uint32_t range;
        std::uint32_t next;
    };
    struct AreaHash {
        std::size_t operator()(const Area& a) const
        {
            std::uint64_t h = static_cast<std::uint32_t>(a.c1);
            h = h * 0x100000001B3ull ^ static_cast<std::uint32_t>(a.r1);
            h = h * 0x100000001B3ull ^ static_cast<std::uint32_t>(a.c2);
            h = h * 0x100000001B3ull ^ static_cast<std::uint32_t>(a.r2);
            return static_cast<std::size_t>(h * 0x9E3779B97F4A7C15ull);
        }
    };
    struct AreaEqual {
        bool operator()(const Area& a, const Area& b) const
        {
            return a.c1 == b.c1 && a.r1 == b.r1 && a.c2 == b.c2 && a.r2 == b.r2;
        }
    };

    static std::uint64_t bucketKey(int col, int row)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col) >> 3) << 32)
               | (static_cast<std::uint32_t>(row) >> 6);
    }

    template <typename F>
    void visitEdges(std::uint32_t e, F& f) const
    {
        for (; e != FlatMap::kNone; e = edges_[e].next)
            f(edges_[e].id, edges_[e].version);
    }

    template <typename F>
    void visitRange(std::uint32_t r, int col, int row, F& f) const
    {
        const RangeNode& node = ranges_[r];
        if (node.users != 0 && node.area.contains(col, row))
            visitEdges(node.head, f);
    }

    void addEdge(std::uint32_t& head, std::uint32_t id, std::uint32_t version);
    std::uint32_t rangeNode(const Area& area);

    std::vector<Edge> edges_;
    FlatMap cellHeads_;
    std::vector<RangeNode> ranges_;
    std::unordered_map<Area, std::uint32_t, AreaHash, AreaEqual> rangeIds_;
    std::vector<BucketEntry> bucketEntries_;
    FlatMap bucketHeads_;
    std::vector<std::uint32_t> largeRanges_;
};

// The cells and ranges a program refers to when it sits in (col, row): parts before the first cell
// are left out (they give #REF!), parts beyond the largest row or column are cut there.
void precedentsOf(const Program& program, int col, int row, std::vector<Area>& out);

} // namespace kxformula::detail
