// ZnDlgProfCuts: the profile cuts dialog (template 235). Lists the cuts of one profile, previews the
// selected cut in the drawing, removes cuts and lets the user pick another profile with the dialog
// hidden. StartEditProfCutsDlg (DetailingLaunchers.h) runs it on a DlgProfCutsData.
//
// Whatever the preview switch, the dialog leaves no preview behind: all are removed when it closes
// and before another profile is picked, and removing a cut removes its preview. Close is its only
// way out: the close box and Escape close it as Close does, so the data and the drawing, which the
// removals changed at once, always agree.
#pragma once

#include "core/CButtonST.h"
#include "core/ProfCutsData.h"
#include "platform/host/HostWindow.h"

class ZnDlgProfCuts : public KxHostDialog {
public:
    static constexpr int kTemplateId = 235;
    static constexpr int kCutList = 1339;
    static constexpr int kKeepPreviews = 1340;
    static constexpr int kOtherProfile = 1341;
    static constexpr int kRemove = 1087;
    static constexpr int kIconOtherProfile = 217;
    static constexpr int kIconRemove = 206;

    // previewSwitch: on, the previous preview goes whenever another cut is selected.
    explicit ZnDlgProfCuts(bool previewSwitch = true);

    DlgProfCutsData& data() { return m_data; }
    bool previewSwitch() const { return m_previewSwitch; }
    // The selected cut, -1 when none.
    int current() const { return m_current; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;

private:
    // Refills the list from the data and selects `index` (the last cut when past the end, none when
    // the list is empty), drawing its preview.
    void refill(int index);
    void select(int index);
    void selectionChanged();
    void removeCut();
    void otherProfile();

    DlgProfCutsData m_data;
    bool m_previewSwitch;
    int m_current = -1;
    CButtonST m_removeButton;
    CButtonST m_otherButton;
};
