// The segmented profile dialog: the grid of segments in and out, adding, deleting and dividing.
#include "macro/ZnDlgMacroProfSegmented.h"

#include "core/DialogFunctions.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "macro/MacroProfSupport.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <cmath>

namespace {

bool positiveNumber(const Kx_String& text, double& v)
{
    return text.trimmed().toDouble(v) && std::isfinite(v) && v > 0;
}

// A length as the macro files hold it: whole millimetres without decimals, others with 2.
Kx_String lengthText(double v)
{
    return kxss::numberText(v, 2);
}

} // namespace

ZnDlgMacroProfSegmented::ZnDlgMacroProfSegmented(HWND owner) : KxHostDialog(kTemplateId, owner) {}

BOOL ZnDlgMacroProfSegmented::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    SetWindowText(dialString(1027).str());
    SetDlgItemText(kSegmentsLabel, dialString(1028).str());
    SetDlgItemText(kTotalLabel, dialString(1030).str());
    SetDlgItemText(kDivide, dialString(1031).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    const struct {
        CButtonST& button;
        int id, icon, tooltip;
    } pictures[] = {{m_add, kAdd, 212, 1025}, {m_delete, kDelete, 206, 1026}};
    for (const auto& p : pictures) {
        if (!p.button.SubclassDlgItem(p.id, m_hWnd))
            continue;
        p.button.SetIcon(p.icon);
        p.button.SetFlat(true);
        p.button.DrawFlatFocus(false);
        const Kx_String tip = dialString(p.tooltip);
        if (!tip.isEmpty())
            p.button.SetTooltipText(tip.str());
    }

    m_grid.attach(this, kGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    SSSetBool(m_grid.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_grid.setColCount(5);
    m_grid.setColumnHeaders(stringArr(" nr.", dialString(1003), dialString(63), dialString(1029), dialString(266)));
    m_grid.setFitMode(1);
    fillGrid();

    m_resizer.attach(this, {
                               {kGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                               {kAdd, {1, 0, 3}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
                               {kDelete, {1, 0, 3}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
                               {kTotalLabel, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {kTotal, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {kDivide, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                           });
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);
    m_grid.fitToWindow();
    return TRUE;
}

void ZnDlgMacroProfSegmented::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    KxHostDialog::OnDestroy();
}

void ZnDlgMacroProfSegmented::fillGrid()
{
    m_grid.setRowCount(m_segments.length());
    for (int r = 1; r <= m_segments.length(); ++r) {
        const MacroProfSegmentedData& s = m_segments[r - 1];
        m_grid.setCellData(kColNumber, r, Kx_String(r));
        m_grid.setLock(kColNumber, r, true);
        m_grid.setCellData(kColProfile, r, s.profileName);
        m_grid.setCellData(kColLength, r, s.length);
        m_grid.setCellData(kColStart, r, s.startOffset);
        m_grid.setCellData(kColEnd, r, s.endOffset);
    }
    showTotal();
}

bool ZnDlgMacroProfSegmented::readGrid()
{
    Kx_Array<MacroProfSegmentedData> read;
    for (int r = 1; r <= m_segments.length(); ++r) {
        MacroProfSegmentedData s;
        const auto cell = [&](int col) {
            Kx_String text;
            m_grid.getCellText(col, r, text, Kx_Spread::kTextData);
            return text.trimmed();
        };
        s.profileName = cell(kColProfile);
        s.length = cell(kColLength);
        s.startOffset = cell(kColStart);
        s.endOffset = cell(kColEnd);
        double v = 0;
        if (!positiveNumber(s.length, v)) {
            MessageBox(m_hWnd,
                       dialString(1028).str() + " " + std::to_string(r) + ", " + dialString(63).str() + ": \""
                           + s.length.str() + "\" " + dialString(9801).str() + " " + m_segments[r - 1].length.str()
                           + ".",
                       dialString(1098).str(), MB_OK | MB_ICONWARNING);
            m_grid.setCellData(kColLength, r, m_segments[r - 1].length);
            return false;
        }
        read.append(s);
    }
    m_segments = read;
    return true;
}

void ZnDlgMacroProfSegmented::showTotal()
{
    double total = 0, v = 0;
    for (const MacroProfSegmentedData& s : m_segments)
        if (positiveNumber(s.length, v))
            total += v;
    SetDlgItemText(kTotal, lengthText(total).str());
}

void ZnDlgMacroProfSegmented::addSegment()
{
    if (!readGrid())
        return;
    // A new segment continues the last one's section; the first of an empty list has none yet.
    MacroProfSegmentedData s;
    s.length = "1000";
    s.startOffset = "0";
    s.endOffset = "0";
    if (!m_segments.isEmpty())
        s.profileName = m_segments[m_segments.length() - 1].profileName;
    m_segments.append(s);
    fillGrid();
}

void ZnDlgMacroProfSegmented::deleteSegment()
{
    const int row = m_grid.getSelectedRow();
    if (row < 1 || row > m_segments.length() || !readGrid())
        return;
    m_segments.removeAt(row - 1);
    fillGrid();
}

void ZnDlgMacroProfSegmented::divideEqually()
{
    double total = 0;
    if (m_segments.isEmpty() || !readGrid())
        return;
    if (!positiveNumber(Kx_String(GetDlgItemText(kTotal)), total)) {
        showTotal();
        return;
    }
    const double each = total / m_segments.length();
    for (MacroProfSegmentedData& s : m_segments)
        s.length = lengthText(std::round(each * 100) / 100);
    fillGrid();
}

BOOL ZnDlgMacroProfSegmented::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (code == BN_CLICKED) {
        switch (id) {
        case kAdd: addSegment(); return TRUE;
        case kDelete: deleteSegment(); return TRUE;
        case kDivide: divideEqually(); return TRUE;
        default: break;
        }
    }
    return KxHostDialog::OnCommand(wParam, lParam);
}

void ZnDlgMacroProfSegmented::OnOK()
{
    if (!readGrid())
        return;
    EndDialog(IDOK);
}
