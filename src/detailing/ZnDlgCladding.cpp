// The cladding settings dialog.
#include "detailing/ZnDlgCladding.h"

#include "core/DialogFunctions.h"
#include "core/TextTables.h"
#include "detailing/ProfileList.h"
#include "platform/win/Messages.h"

namespace {

Kx_StringArray texts(std::initializer_list<int> numbers)
{
    Kx_StringArray out;
    for (int n : numbers)
        out.append(dialString(n));
    return out;
}

} // namespace

ZnDlgCladding::ZnDlgCladding() : CDialog(kTemplateId)
{
    onCommand(kSelectProfile, BN_CLICKED, [this] {
        store();
        selectProfileAndFill(GetDlgItem(kProfile), m_data.profileName, m_data.profiles);
        store();
    });
    for (int id : {kProfile, kDirection, kFixing})
        onCommand(id, CBN_SELCHANGE, [this] {
            store();
            applyEnabling();
        });
    onCommand(kSpacing, EN_CHANGE, [this] { store(); });
    onCommand(kTurned, BN_CLICKED, [this] { store(); });
}

BOOL ZnDlgCladding::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(1708).str());
    SetDlgItemText(kProfileLabel, dialString(1012).str());
    SetDlgItemText(kSelectProfile, dialString(969).str());
    SetDlgItemText(kDirectionLabel, dialString(1709).str());
    SetDlgItemText(kFixingLabel, dialString(1710).str());
    SetDlgItemText(kSpacingLabel, dialString(1711).str());
    SetDlgItemText(kTurned, dialString(1712).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    fillProfileList(GetDlgItem(kProfile), m_data.profileName, m_data.profiles);
    // An index outside a list selects nothing; the stored index then stays as it was.
    FillCombo(this, kDirection, texts({1713, 1714, 1715}), m_data.direction);
    FillCombo(this, kFixing, texts({1716, 1717, 1718, 1719, 1720}), m_data.fixing);
    SetDlgItemText(kSpacing, m_data.spacing.str());
    CheckDlgButton(kTurned, m_data.turned ? BST_CHECKED : BST_UNCHECKED);
    m_ready = true;
    applyEnabling();
    return TRUE;
}

void ZnDlgCladding::store()
{
    // The edit's own change notice while the dialog is being filled has nothing to read yet.
    if (!m_ready)
        return;
    // The profile name behind the entry; the entry for choosing another profile keeps the name.
    selectedProfile(GetDlgItem(kProfile), m_data.profiles, m_data.profileName);
    const int direction = static_cast<int>(SendDlgItemMessage(m_hWnd, kDirection, CB_GETCURSEL));
    if (direction >= 0)
        m_data.direction = direction;
    const int fixing = static_cast<int>(SendDlgItemMessage(m_hWnd, kFixing, CB_GETCURSEL));
    if (fixing >= 0)
        m_data.fixing = fixing;
    m_data.spacing = Kx_String(GetDlgItemText(kSpacing));
    m_data.turned = IsDlgButtonChecked(kTurned) == BST_CHECKED;
}

void ZnDlgCladding::applyEnabling()
{
    const int fixing = static_cast<int>(SendDlgItemMessage(m_hWnd, kFixing, CB_GETCURSEL));
    EnDisCtrl(this, kSpacing, fixing == 3 || fixing == 4);
}

void ZnDlgCladding::OnOK()
{
    store();
    CDialog::OnOK();
}
