// The profile features dialog.
#include "detailing/ZnDlgProfFeatures.h"

#include "core/DialogFunctions.h"
#include "core/TextTables.h"
#include "detailing/ProfileList.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {

// The selected entry's text of a drop-down list (the text it shows); false when nothing is selected.
bool selectedText(HWND combo, Kx_String& text)
{
    if (static_cast<int>(SendMessage(combo, CB_GETCURSEL)) < 0)
        return false;
    text = Kx_String(GetWindowText(combo));
    return true;
}

} // namespace

ZnDlgProfFeatures::ZnDlgProfFeatures() : CDialog(kTemplateId)
{
    onCommand(kSelectProfile, BN_CLICKED, [this] {
        // The chooser starts at the profile the list shows; Cancel leaves the list as it was.
        Kx_String name = m_data.profileName;
        selectedProfile(GetDlgItem(kProfile), m_profiles, name);
        selectProfileAndFill(GetDlgItem(kProfile), name, m_profiles);
    });
    onCommand(kSwitch, BN_CLICKED, [this] { switchToggled(); });
}

BOOL ZnDlgProfFeatures::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_data.title.str());
    SetDlgItemText(kProfileLabel, dialString(1003).str());
    SetDlgItemText(kSelectProfile, dialString(969).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    fillProfileList(GetDlgItem(kProfile), m_data.profileName, m_profiles);

    struct Field {
        int label;
        int value;
        const Kx_String& text;
    };
    const Field fields[] = {{kLabel1, kValue1, m_data.field1Label},
                            {kLabel2, kValue2, m_data.field2Label},
                            {kLabel3, field3Control(), m_data.field3Label},
                            {kLabel4, kValue4, m_data.field4Label}};
    for (const Field& f : fields) {
        const bool shown = !f.text.isEmpty();
        ShowOrHideCtrl(this, f.label, shown);
        ShowOrHideCtrl(this, f.value, shown);
        SetDlgItemText(f.label, f.text.str());
    }
    // Field 3 shows one control: the list or the edit.
    ShowOrHideCtrl(this, field3IsList() ? kValue3 : kValue3List, false);

    FillCombo(this, kValue1, m_data.choices, m_data.field1Value);
    SetDlgItemText(kValue2, m_data.field2Value.str());
    if (field3IsList())
        FillCombo(this, kValue3List, m_data.choices);
    SetDlgItemText(kValue4, m_data.field4Value.str());

    const bool hasSwitch = !m_data.switchLabel.isEmpty();
    ShowOrHideCtrl(this, kSwitch, hasSwitch);
    SetDlgItemText(kSwitch, m_data.switchLabel.str());
    CheckDlgButton(kSwitch, m_data.switchOn ? BST_CHECKED : BST_UNCHECKED);
    m_shownSwitch = m_data.switchOn;
    const bool alternative = m_data.switchOn;
    if (alternative && !m_data.field3AltLabel.isEmpty())
        SetDlgItemText(kLabel3, m_data.field3AltLabel.str());
    showField3Value(alternative && !m_data.field3AltValue.isEmpty() ? m_data.field3AltValue : m_data.field3Value);
    return TRUE;
}

void ZnDlgProfFeatures::showField3Value(const Kx_String& value)
{
    if (field3IsList())
        FillCombo(this, kValue3List, m_data.choices, value);
    else
        SetDlgItemText(kValue3, value.str());
}

Kx_String ZnDlgProfFeatures::field3Text() const
{
    if (!field3IsList())
        return Kx_String(GetDlgItemText(kValue3));
    Kx_String text;
    if (!selectedText(GetDlgItem(kValue3List), text))
        return m_shownSwitch && !m_data.field3AltValue.isEmpty() ? m_data.field3AltValue : m_data.field3Value;
    return text;
}

void ZnDlgProfFeatures::switchToggled()
{
    const bool on = IsDlgButtonChecked(kSwitch) == BST_CHECKED;
    if (on == m_shownSwitch)
        return;
    if (!m_data.field3AltLabel.isEmpty())
        SetDlgItemText(kLabel3, (on ? m_data.field3AltLabel : m_data.field3Label).str());
    if (!m_data.field3AltValue.isEmpty()) {
        // What the user typed into the value going out of sight is kept, so toggling back shows it.
        if (!m_data.field3Label.isEmpty())
            (m_shownSwitch ? m_data.field3AltValue : m_data.field3Value) = field3Text();
        showField3Value(on ? m_data.field3AltValue : m_data.field3Value);
    }
    m_shownSwitch = on;
}

void ZnDlgProfFeatures::OnOK()
{
    // The entry for choosing another profile, or no selection, keeps the profile as it was.
    selectedProfile(GetDlgItem(kProfile), m_profiles, m_data.profileName);
    if (!m_data.switchLabel.isEmpty())
        m_data.switchOn = IsDlgButtonChecked(kSwitch) == BST_CHECKED;
    if (!m_data.field1Label.isEmpty())
        selectedText(GetDlgItem(kValue1), m_data.field1Value);
    if (!m_data.field2Label.isEmpty())
        m_data.field2Value = Kx_String(GetDlgItemText(kValue2));
    if (!m_data.field3Label.isEmpty())
        (m_shownSwitch ? m_data.field3AltValue : m_data.field3Value) = field3Text();
    if (!m_data.field4Label.isEmpty())
        m_data.field4Value = Kx_String(GetDlgItemText(kValue4));
    CDialog::OnOK();
}
