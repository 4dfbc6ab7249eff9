// ZnDlgMacroProfSegmented: the segmented profile dialog (template 221). Edits the segments of a
// profile tab's segmented profile in a grid (a numbered column, then section, length, start and end
// offset), adds and deletes segments, and divides a total length equally over them. The page
// (ZnDlgMacroProfTab) copies the tab's list in and, on OK, takes the edited list back.
#pragma once

#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/MacroItems.h"
#include "platform/host/HostWindow.h"
#include "spread/Kx_Spread.h"

class ZnDlgMacroProfSegmented : public KxHostDialog {
public:
    static constexpr int kTemplateId = 221;
    static constexpr const char* kSizeKey = "DLG_MACRO_PROFSEGMENTED";

    static constexpr int kGrid = 1196;
    static constexpr int kAdd = 1088;
    static constexpr int kDelete = 1089;
    static constexpr int kDivide = 1090;
    static constexpr int kSegmentsLabel = 1248;
    static constexpr int kTotalLabel = 1249;
    static constexpr int kTotal = 1000;

    // Grid columns: the number, then the segment's four texts.
    static constexpr int kColNumber = 1;
    static constexpr int kColProfile = 2;
    static constexpr int kColLength = 3;
    static constexpr int kColStart = 4;
    static constexpr int kColEnd = 5;

    explicit ZnDlgMacroProfSegmented(HWND owner = nullptr);

    Kx_Array<MacroProfSegmentedData>& data() { return m_segments; }
    Kx_Spread& grid() { return m_grid; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void fillGrid();
    // The grid's rows into the list; a length that is not a number of more than 0 is refused with a
    // message naming the row, and false.
    bool readGrid();
    void showTotal();
    void addSegment();
    void deleteSegment();
    void divideEqually();

    Kx_Array<MacroProfSegmentedData> m_segments;
    Kx_Spread m_grid;
    CButtonST m_add;
    CButtonST m_delete;
    ZnResizer m_resizer;
};
