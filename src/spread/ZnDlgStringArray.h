// ZnDlgStringArray: the string-array dialog (template 208), rows of texts edited in one grid under
// the caller's column and row titles, with optional insert and delete row buttons. Resizable; its
// size and place are kept under a size key. startGridDialog (SpreadLaunchers.h) runs it.
#pragma once

#include "core/CResizer.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/win/Dialog.h"
#include "spread/Kx_Spread.h"

class ZnDlgStringArray : public CDialog {
public:
    static constexpr int kTemplateId = 208;
    static constexpr int kGrid = 1000;
    static constexpr int kInsertRow = 1088;
    static constexpr int kDeleteRow = 1089;
    static constexpr const char* kDefaultSizeKey = "DLG_SS_STRINGARRAY";

    // Keeps the rows with exactly as many texts as there are column titles, each with its own row
    // title (a title whose row is left out is left out with it). An empty size key becomes
    // kDefaultSizeKey.
    ZnDlgStringArray(const Kx_StringArray& colTitles, const Kx_StringArray& rowTitles,
                     const Kx_Array<Kx_StringArray>& rows, bool allowRowEdit, const Kx_String& title,
                     const Kx_String& sizeKey);

    // The rows shown when the dialog opens; after OK, the grid's rows as the user left them.
    const Kx_Array<Kx_StringArray>& rows() const { return m_rows; }
    const Kx_String& sizeKey() const { return m_sizeKey; }
    // The grid while the dialog is open (not attached before and after).
    Kx_Spread& grid() { return m_grid; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void attachGrid();
    void insertRow();
    void deleteRow();
    // The active cell clamped to the sheet (row 0 when there are no rows).
    void activeCell(int& col, int& row) const;

    Kx_StringArray m_colTitles;
    Kx_StringArray m_rowTitles;
    Kx_Array<Kx_StringArray> m_rows;
    bool m_allowRowEdit;
    Kx_String m_title;
    Kx_String m_sizeKey;
    Kx_Spread m_grid;
    ZnResizer m_resizer;
};
