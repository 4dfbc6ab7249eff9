// The profile cuts dialog.
#include "detailing/ZnDlgProfCuts.h"

#include "core/DialogFunctions.h"
#include "core/TextTables.h"
#include "platform/win/Messages.h"

ZnDlgProfCuts::ZnDlgProfCuts(bool previewSwitch) : KxHostDialog(kTemplateId), m_previewSwitch(previewSwitch)
{
    onCommand(kCutList, LBN_SELCHANGE, [this] { selectionChanged(); });
    onCommand(kRemove, BN_CLICKED, [this] { removeCut(); });
    onCommand(kOtherProfile, BN_CLICKED, [this] { otherProfile(); });
    onCommand(kKeepPreviews, BN_CLICKED,
              [this] { m_previewSwitch = IsDlgButtonChecked(kKeepPreviews) != BST_CHECKED; });
}

BOOL ZnDlgProfCuts::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    SetWindowText(dialString(1123).str());
    SetDlgItemText(kOtherProfile, dialString(1124).str());
    SetDlgItemText(kKeepPreviews, dialString(1125).str());
    SetDlgItemText(IDOK, dialString(285).str());
    ShowOrHideCtrl(this, IDCANCEL, false);

    if (m_otherButton.SubclassDlgItem(kOtherProfile, m_hWnd)) {
        m_otherButton.SetIcon(kIconOtherProfile);
        m_otherButton.SetTooltipText(dialString(1121).str());
    }
    if (m_removeButton.SubclassDlgItem(kRemove, m_hWnd)) {
        m_removeButton.SetIcon(kIconRemove);
        m_removeButton.SetFlat(true);
        m_removeButton.DrawFlatFocus(false);
        m_removeButton.SetTooltipText(dialString(1122).str());
    }
    CheckDlgButton(kKeepPreviews, m_previewSwitch ? BST_UNCHECKED : BST_CHECKED);
    refill(0);
    return TRUE;
}

void ZnDlgProfCuts::refill(int index)
{
    Kx_StringArray descs;
    // A profile that is gone lists nothing.
    if (!m_data.getCutDescs(descs))
        descs.setLogicalLength(0);
    FillList(this, kCutList, descs);
    if (index >= descs.length())
        index = descs.length() - 1;
    m_current = -1;
    select(index);
    EnDisCtrl(this, kRemove, m_current >= 0);
}

void ZnDlgProfCuts::select(int index)
{
    SendDlgItemMessage(m_hWnd, kCutList, LB_SETCURSEL, static_cast<WPARAM>(index));
    if (m_previewSwitch && m_current >= 0 && m_current != index)
        m_data.removeCutPreview(m_current);
    m_current = index;
    if (index >= 0)
        m_data.drawCutPreview(index);
}

void ZnDlgProfCuts::selectionChanged()
{
    const int index = static_cast<int>(SendDlgItemMessage(m_hWnd, kCutList, LB_GETCURSEL));
    if (index < 0 || index == m_current)
        return;
    select(index);
}

void ZnDlgProfCuts::removeCut()
{
    const int index = static_cast<int>(SendDlgItemMessage(m_hWnd, kCutList, LB_GETCURSEL));
    if (index < 0)
        return;
    // The cut takes its own preview with it, whatever the switch.
    if (!m_data.removeCut(index))
        return;
    m_current = -1;
    refill(index);
}

void ZnDlgProfCuts::otherProfile()
{
    // No preview of this profile stays behind in the drawing the user now picks in.
    m_data.removeAllCutPreviews();
    BeginEditorCommand();
    const bool picked = m_data.selectOtherProf();
    if (picked)
        refill(0);
    CompleteEditorCommand();
    // A cancelled pick shows the selected cut again.
    if (!picked && m_current >= 0)
        m_data.drawCutPreview(m_current);
}

void ZnDlgProfCuts::OnOK()
{
    m_data.removeAllCutPreviews();
    KxHostDialog::OnOK();
}

void ZnDlgProfCuts::OnCancel()
{
    // Cancel is hidden: the close box and Escape end the dialog as Close does, since the cuts it
    // removed are gone from the drawing already.
    OnOK();
}

void ZnDlgProfCuts::OnDestroy()
{
    m_data.removeAllCutPreviews();
    KxHostDialog::OnDestroy();
}
