// The cutting-stock data.
#include "core/DlgCSP2Data.h"

#include <algorithm>
#include <climits>

Kx_Array<Kx_StringArray> DlgCSP2Table::rowsOfSet(std::int32_t id) const
{
    Kx_Array<Kx_StringArray> out;
    const int n = std::min(rowSetIds.length(), rows.length());
    for (int i = 0; i < n; ++i)
        if (rowSetIds[i] == id)
            out.append(rows[i]);
    return out;
}

int DlgCSP2Table::removeSet(std::int32_t id)
{
    // One pass that keeps the others in order: sets of thousands of rows stay linear.
    auto& ids = rowSetIds.items();
    auto& cells = rows.items();
    const size_t n = std::min(ids.size(), cells.size());
    size_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
        if (ids[i] == id)
            continue;
        if (kept != i) {
            ids[kept] = ids[i];
            cells[kept] = std::move(cells[i]);
        }
        ++kept;
    }
    const int removed = static_cast<int>(n - kept);
    // Rows without an identifier (or identifiers without a row) belong to no set: dropped with the
    // pass so that the two lists stay parallel.
    ids.resize(kept);
    cells.resize(kept);
    return removed;
}

void DlgCSP2Table::appendRows(std::int32_t id, const Kx_Array<Kx_StringArray>& added)
{
    for (const Kx_StringArray& row : added) {
        rowSetIds.append(id);
        rows.append(row);
    }
}

int DlgCSP2Table::widestRow(std::int32_t id) const
{
    int widest = 0;
    const int n = std::min(rowSetIds.length(), rows.length());
    for (int i = 0; i < n; ++i)
        if (rowSetIds[i] == id)
            widest = std::max(widest, rows[i].length());
    return widest;
}

DlgCSP2Data::~DlgCSP2Data() = default;

DlgCSP2Table* DlgCSP2Data::table(int number)
{
    switch (number) {
    case 1: return &table1;
    case 2: return &table2;
    case 3: return &table3;
    default: return nullptr;
    }
}

const DlgCSP2Table* DlgCSP2Data::table(int number) const
{
    return const_cast<DlgCSP2Data*>(this)->table(number);
}

std::int32_t DlgCSP2Data::nextSetId() const
{
    std::int32_t largest = 0;
    for (std::int32_t id : setIds)
        largest = std::max(largest, id);
    if (largest < INT32_MAX)
        return largest + 1;
    // Identifiers from a caller can reach the top of the range: the smallest free one then.
    std::int32_t free = 1;
    while (setIds.contains(free))
        ++free;
    return free;
}
