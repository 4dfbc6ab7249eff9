// DlgCSP2Data: the input of the cutting-stock optimisation as the cutting-stock dialog edits it:
// named sets and three tables whose rows belong to the sets by identifier. The optimisation runs in
// the caller; reading and writing the stock and purchase files lives in StockFiles.h.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <cstdint>

// One table: its column names and the rows of every set, each row with the identifier of its set.
struct KXCORE_API DlgCSP2Table {
    Kx_StringArray columnNames;
    Kx_Array<std::int32_t> rowSetIds;    // parallel to rows
    Kx_Array<Kx_StringArray> rows;

    // The rows of set `id` in table order (all of them, wherever they stand).
    Kx_Array<Kx_StringArray> rowsOfSet(std::int32_t id) const;
    // Removes every row of set `id`; returns how many were removed.
    int removeSet(std::int32_t id);
    // Appends rows at the end, each with identifier `id`.
    void appendRows(std::int32_t id, const Kx_Array<Kx_StringArray>& added);
    // The number of cells of the longest row of set `id`; 0 when it has none.
    int widestRow(std::int32_t id) const;

    friend bool operator==(const DlgCSP2Table&, const DlgCSP2Table&) = default;
};

class KXCORE_API DlgCSP2Data {
public:
    DlgCSP2Data() = default;
    DlgCSP2Data(const DlgCSP2Data&) = default;
    DlgCSP2Data& operator=(const DlgCSP2Data&) = default;
    virtual ~DlgCSP2Data();

    bool stockOnly = false;               // true: only the stock table is edited (save-all mode)
    Kx_Array<std::int32_t> setIds;        // one identifier per set, in display order
    Kx_StringArray setNames;              // parallel to setIds
    DlgCSP2Table table1;                  // the left grid
    DlgCSP2Table table2;                  // the stock: files "*.shp"
    DlgCSP2Table table3;                  // the purchase list: files "*.buy"

    // Table 1, 2 or 3; null for any other number. Not owning.
    DlgCSP2Table* table(int number);
    const DlgCSP2Table* table(int number) const;
    // The identifier a new set gets: the largest present plus one, 1 when there are none.
    std::int32_t nextSetId() const;

    friend bool operator==(const DlgCSP2Data& a, const DlgCSP2Data& b)
    {
        return a.stockOnly == b.stockOnly && a.setIds == b.setIds && a.setNames == b.setNames &&
               a.table1 == b.table1 && a.table2 == b.table2 && a.table3 == b.table3;
    }
};
