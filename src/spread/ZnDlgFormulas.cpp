// The Formulas dialog.
#include "spread/ZnDlgFormulas.h"

#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "spread/SheetFiles.h"
#include "spread/TableCache.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr int kGridFrame = 1004;
constexpr int kFileEdit = 1000;
constexpr int kStyleDefault = 1005;
constexpr int kStyleA1 = 1006;
constexpr int kStyleR1C1 = 1007;
constexpr int kAutoCalculate = 1106;
constexpr int kRecalculate = 1107;
constexpr int kSave = 1001;
constexpr int kLoad = 1087;

// The bench's sample sheet: formulas in column 4, rows 1 to 5, shown as text in column 1.
constexpr int kFormulaColumn = 4;
constexpr int kShownColumn = 1;
constexpr int kBenchRows = 5;

Kx_String dataText(HWND grid, int col, int row)
{
    return Kx_String(kxss::cellData(grid, col, row).value_or(std::string()));
}

} // namespace

ZnDlgFormulas::ZnDlgFormulas(int mode, const Kx_String& fileName)
    : KxHostDialog(kTemplateId), m_mode(mode), m_fileName(fileName)
{
}

void ZnDlgFormulas::attachGrid()
{
    // The grid takes the frame's exact place and id.
    HWND frame = GetDlgItem(kGridFrame);
    RECT r = GetWindowRectInParent(frame);
    ::DestroyWindow(frame);
    m_grid = CreateWindowEx(0, kGridClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, m_hWnd, kGridFrame);
    SSSetBool(m_grid, SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetBool(m_grid, SSB_AUTOCALC, FALSE);
}

void ZnDlgFormulas::prepareEmptySheet()
{
    SSSetMaxRows(m_grid, 10);
    SSSetMaxCols(m_grid, 8);
    SSSetAutoSizeVisible(m_grid, 4, 5);
    SS_CELLTYPE number;
    SSSetTypeNumber(m_grid, &number, 0x10000200, /*decimals=*/2, 9999, -9999);
    SSSetCellTypeRange(m_grid, 1, 1, 6, 6, &number);
}

BOOL ZnDlgFormulas::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    ::SetActiveWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    SetDlgItemText(kFileEdit, m_fileName.str());

    attachGrid();
    CheckDlgButton(kStyleDefault, BST_CHECKED);
    CheckDlgButton(kAutoCalculate, BST_UNCHECKED);
    kxss::registerFromTable(m_grid);
    prepareEmptySheet();
    if (!m_fileName.isEmpty())
        m_loaded = SSLoadFromFile(m_grid, kxss::sheetFileName(m_fileName.view()).c_str()) == 1;
    acutPrintf("Loading spreadsheet:%s\n", m_fileName.c_str());
    kxss::registerFromTable(m_grid);

    if (m_mode == kReadFile) {
        readOutputs();
        EndDialog(IDOK);
        return FALSE;
    }

    {
        kxss::CurrentSheetScope current(m_grid);
        m_previousSheet = current.previous();
        if (m_mode == kEvaluateCell) {
            SSReCalcCell(m_grid, m_col, m_row);
            m_evaluated = dataText(m_grid, m_col, m_row);
        } else if (m_mode == kAnswerLookup) {
            kxss::answerFromTable(m_result, m_args, m_argCount, m_previousSheet);
        }
    }
    // A lookup is answered inside a recalculation, which cannot wait for a person to close a window.
    if (m_mode == kAnswerLookup)
        EndDialog(IDOK);
    return TRUE;
}

void ZnDlgFormulas::readOutputs()
{
    if (m_titles != nullptr)
        m_titles->setLogicalLength(0);
    if (m_rows != nullptr)
        m_rows->setLogicalLength(0);
    const int cols = SSGetMaxCols(m_grid);
    const int rows = SSGetMaxRows(m_grid);
    m_firstCell = dataText(m_grid, 1, 1);
    if (m_titles != nullptr)
        for (int c = 1; c <= cols; ++c)
            m_titles->append(dataText(m_grid, c, 0));
    if (m_rows != nullptr)
        for (int r = 1; r <= rows; ++r) {
            Kx_StringArray line;
            for (int c = 1; c <= cols; ++c)
                line.append(dataText(m_grid, c, r));
            m_rows->append(std::move(line));
        }
}

void ZnDlgFormulas::setReferenceStyle(short style)
{
    SSSetRefStyle(m_grid, style);
    for (int r = 1; r <= kBenchRows; ++r)
        SSSetData(m_grid, kShownColumn, r, kxss::cellFormula(m_grid, kFormulaColumn, r).c_str());
    double width = 0;
    if (SSGetMaxTextColWidth(m_grid, kShownColumn, &width))
        SSSetColWidth(m_grid, kShownColumn, width);
}

void ZnDlgFormulas::saveToFile()
{
    const std::string name = kxss::sheetFileName(GetDlgItemText(kFileEdit));
    if (name.empty() || SSSaveToFile(m_grid, name.c_str(), 0) != 1)
        acutPrintf("Save failed\n");
}

void ZnDlgFormulas::loadFromFile()
{
    const std::string name = kxss::sheetFileName(GetDlgItemText(kFileEdit));
    if (name.empty() || SSLoadFromFile(m_grid, name.c_str()) != 1)
        acutPrintf("Load failed\n");
    kxss::registerFromTable(m_grid);
}

BOOL ZnDlgFormulas::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED || m_grid == nullptr)
        return KxHostDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case kStyleDefault: setReferenceStyle(SS_REFSTYLE_DEFAULT); return TRUE;
    case kStyleA1: setReferenceStyle(SS_REFSTYLE_A1); return TRUE;
    case kStyleR1C1: setReferenceStyle(SS_REFSTYLE_R1C1); return TRUE;
    case kAutoCalculate: {
        const bool on = IsDlgButtonChecked(kAutoCalculate) == BST_CHECKED;
        SSSetBool(m_grid, SSB_AUTOCALC, on);
        ::EnableWindow(GetDlgItem(kRecalculate), !on);
        return TRUE;
    }
    case kRecalculate: {
        // Formulas of this sheet that look into tables call back with this sheet as theirs.
        kxss::CurrentSheetScope current(m_grid);
        SSReCalc(m_grid);
        return TRUE;
    }
    case kSave: saveToFile(); return TRUE;
    case kLoad: loadFromFile(); return TRUE;
    default: return KxHostDialog::OnCommand(wParam, lParam);
    }
}
