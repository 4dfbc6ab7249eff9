// The axis grid dialog.
#include "spread/ZnDlgGrid.h"

#include "core/TextTables.h"

#include <cctype>
#include <climits>

namespace {

// Direction headings and the labels of the three rows; a label names the same thing in both
// directions, so each text goes to two labels.
constexpr int kHeadingA = 1372;
constexpr int kHeadingB = 1375;
constexpr int kCountLabels[] = {1366, 1373};
constexpr int kSpacingLabels[] = {1368, 1376};
constexpr int kFirstLabelLabels[] = {1370, 1378};

} // namespace

int kxss::leadingInt(const Kx_String& text)
{
    const std::string& s = text.str();
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long value = 0;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;  // saturated; the remaining digits cannot bring it back
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

BOOL ZnDlgGrid::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(1463).str());
    SetDlgItemText(kHeadingA, dialString(1464).str());
    SetDlgItemText(kHeadingB, dialString(1465).str());
    for (int id : kCountLabels)
        SetDlgItemText(id, dialString(1466).str());
    for (int id : kSpacingLabels)
        SetDlgItemText(id, dialString(1467).str());
    for (int id : kFirstLabelLabels)
        SetDlgItemText(id, dialString(1468).str());
    SetDlgItemText(kOption, dialString(1469).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    SetDlgItemText(kCountA, Kx_String(m_data.countA).str());
    SetDlgItemText(kSpacingA, m_data.spacingA.str());
    SetDlgItemText(kFirstLabelA, m_data.firstLabelA.str());
    SetDlgItemText(kCountB, Kx_String(m_data.countB).str());
    SetDlgItemText(kSpacingB, m_data.spacingB.str());
    SetDlgItemText(kFirstLabelB, m_data.firstLabelB.str());
    CheckDlgButton(kOption, m_data.option ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void ZnDlgGrid::OnOK()
{
    m_data.countA = kxss::leadingInt(GetDlgItemText(kCountA));
    m_data.spacingA = GetDlgItemText(kSpacingA);
    m_data.firstLabelA = GetDlgItemText(kFirstLabelA);
    m_data.countB = kxss::leadingInt(GetDlgItemText(kCountB));
    m_data.spacingB = GetDlgItemText(kSpacingB);
    m_data.firstLabelB = GetDlgItemText(kFirstLabelB);
    m_data.option = IsDlgButtonChecked(kOption) == BST_CHECKED;
    CDialog::OnOK();
}
