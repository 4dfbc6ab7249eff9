// The table lookup dialog.
#include "spread/ZnDlgLookUp.h"

#include "core/DialogFunctions.h"
#include "core/StringLists.h"
#include "core/TextTables.h"

namespace {

// Labels, in the order of the controls they name: table, name, key column, key value, match,
// result column, rounding.
constexpr int kTableLabel = 1395;
constexpr int kNameLabel = 1123;
constexpr int kKeyColumnLabel = 1385;
constexpr int kKeyValueLabel = 1124;
constexpr int kMatchLabel = 1388;
constexpr int kResultColumnLabel = 1390;
constexpr int kRoundingLabel = 1392;

} // namespace

ZnDlgLookUp::ZnDlgLookUp() : CDialog(kTemplateId)
{
    onCommand(kFillColumn, BN_CLICKED, [this] { confirm(ZnLookUpDlgData::kClosedByFillColumn); });
    onCommand(kInsertValue, BN_CLICKED, [this] { enableIgnoreCase(); });
    onCommand(kInsertFormula, BN_CLICKED, [this] { enableIgnoreCase(); });
}

BOOL ZnDlgLookUp::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(1499).str());
    SetDlgItemText(kTableLabel, dialString(1500).str());
    SetDlgItemText(kNameLabel, dialString(87).str());
    SetDlgItemText(kKeyColumnLabel, string(2262).str());
    SetDlgItemText(kKeyValueLabel, string(2263).str());
    SetDlgItemText(kMatchLabel, dialString(95).str());
    SetDlgItemText(kResultColumnLabel, dialString(96).str());
    SetDlgItemText(kRoundingLabel, dialString(1501).str());
    SetDlgItemText(kInsertValue, dialString(1516).str());
    SetDlgItemText(kInsertFormula, dialString(1517).str());
    SetDlgItemText(kIgnoreCase, dialString(1502).str());
    SetDlgItemText(kFillColumn, dialString(1503).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    FillCombo(this, kCombo1, m_data.list1, m_data.text1);
    FillCombo(this, kCombo2, m_data.list2, m_data.text2);
    FillCombo(this, kCombo3, m_data.list3, m_data.text3);
    FillCombo(this, kCombo4, m_data.list4, m_data.text4);
    FillCombo(this, kCombo5, m_data.list5, m_data.text5);
    FillCombo(this, kMatchList, stringArr(dialString(88), dialString(89), dialString(1511), "", ""), m_data.choice1);
    FillCombo(this, kRoundingList, stringArr(dialString(1504), dialString(1505), dialString(1506), "", ""),
              m_data.choice2);

    CheckRadioButton(m_hWnd, kInsertValue, kInsertFormula, m_data.mode == 0 ? kInsertValue : kInsertFormula);
    CheckDlgButton(kIgnoreCase, m_data.option ? BST_CHECKED : BST_UNCHECKED);
    enableIgnoreCase();
    return TRUE;
}

void ZnDlgLookUp::enableIgnoreCase()
{
    EnDisCtrl(this, kIgnoreCase, IsDlgButtonChecked(kInsertValue) == BST_CHECKED);
}

void ZnDlgLookUp::confirm(int closedBy)
{
    m_data.text1 = GetDlgItemText(kCombo1);
    m_data.text2 = GetDlgItemText(kCombo2);
    m_data.text3 = GetDlgItemText(kCombo3);
    m_data.text4 = GetDlgItemText(kCombo4);
    m_data.text5 = GetDlgItemText(kCombo5);
    // A choice the list could not show (nothing selected) stays what the caller gave rather than
    // becoming -1, which no caller can index with.
    const int match = static_cast<int>(::SendDlgItemMessage(m_hWnd, kMatchList, CB_GETCURSEL));
    if (match >= 0)
        m_data.choice1 = match;
    const int rounding = static_cast<int>(::SendDlgItemMessage(m_hWnd, kRoundingList, CB_GETCURSEL));
    if (rounding >= 0)
        m_data.choice2 = rounding;
    m_data.mode = IsDlgButtonChecked(kInsertValue) == BST_CHECKED ? 0 : 1;
    m_data.option = IsDlgButtonChecked(kIgnoreCase) == BST_CHECKED;
    m_data.closedBy = closedBy;
    EndDialog(IDOK);
}
