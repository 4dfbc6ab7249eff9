// ZnDlgGridHeaders: the grid headers dialog (template 8250) and the sheet-headers command that opens
// it on a sheet: the column and row counts, the sizes of the header row and header column, and the
// column and row titles, each title list in a grid of its own.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/win/Dialog.h"
#include "spread/Kx_Spread.h"

#include <optional>

// What the sheet-headers command shows and applies.
struct SheetHeaders {
    int colCount = 0;
    int rowCount = 0;
    int headerRowHeight = 0;  // pixels of row 0, the column-header row
    int headerColWidth = 0;   // pixels of column 0, the row-header column
    Kx_StringArray colTitles; // column c's title at c - 1
    Kx_StringArray rowTitles; // row r's title at r - 1
};

class ZnDlgGridHeaders : public CDialog {
public:
    static constexpr int kTemplateId = 8250;
    static constexpr int kColTitlesGrid = 1025;
    static constexpr int kRowTitlesGrid = 1002;
    static constexpr int kColCount = 1019;
    static constexpr int kRowCount = 1021;
    static constexpr int kHeaderRowHeight = 1023;
    static constexpr int kHeaderColWidth = 1027;
    // Largest header size accepted, in pixels (the grid's own limit).
    static constexpr int kMaxHeaderPixels = 100000;

    ZnDlgGridHeaders();

    // In: what the sheet has. After OK: the counts and sizes as typed, and exactly colCount column
    // titles and rowCount row titles.
    SheetHeaders& data() { return m_data; }

protected:
    BOOL OnInitDialog() override;
    // Refuses a count or size that is not a whole number in range, with a message naming the field;
    // the dialog then stays open on that field.
    void OnOK() override;

private:
    struct TitleList {
        Kx_Spread grid;
        // Every title typed so far, also those of rows the count cut off for now, so that lowering a
        // count and raising it again gives them back.
        Kx_StringArray kept;
    };
    void attachTitles(TitleList& list, int gridId, const Kx_StringArray& titles, int headerText);
    // Shows `count` titles in the list's grid (kept ones first, then empty ones).
    void showTitles(TitleList& list, int count);
    void countChanged(int editId, TitleList& list, int maxCount);
    // The whole number in edit `id` when it lies in [0, max].
    std::optional<int> readNumber(int id, int max) const;
    bool readField(int id, int labelText, int max, int& value);

    SheetHeaders m_data;
    TitleList m_cols;
    TitleList m_rows;
};

namespace kxss {

// What the sheet in `grid` has; false, headers untouched, when `grid` is no grid.
bool collectSheetHeaders(HWND grid, SheetHeaders& headers);
// Sets the counts, the header sizes and the header texts (a missing title is written empty), then
// marks the sheet changed (option 30). False when `grid` is no grid or a count was refused.
bool applySheetHeaders(HWND grid, const SheetHeaders& headers);
// The sheet-headers command: shows the sheet's headers in the grid headers dialog and applies them on
// OK. True on OK; false on Cancel (the sheet unchanged), for a handle that is no grid (nothing
// shown) and when the dialog cannot be opened. Exported for the editors of other modules that show
// sheets; it runs under the launcher convention.
KXSS_API bool runSheetHeadersCommand(HWND grid) noexcept;

} // namespace kxss
