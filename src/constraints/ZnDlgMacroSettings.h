// ZnDlgMacroSettings: the macro settings dialog (template 8141), five pages over one
// MacroSettingsData: angle filters, distance and size filters, part names, shared variables and
// groups. The constraint editor reads the settings, runs this dialog and writes them back on OK.
#pragma once

#include "core/MacroSubDialogData.h"
#include "platform/host/HostTabDialog.h"

class ZnDlgMacroSettings : public KxHostTabDialog {
public:
    static constexpr int kTemplateId = 8141;
    static constexpr int kTabs = 8097;
    static constexpr int kPageTemplates[5] = {8142, 213, 8718, 214, 215};
    // Page 1.
    static constexpr int kAngleFilter = 1351;
    static constexpr int kAngles90 = 1142;
    static constexpr int kAngles180 = 1143;
    static constexpr int kToleranceGrid = 1150;
    // Page 2.
    static constexpr int kDistanceFilter = 1179;
    static constexpr int kMaxDistance = 1162;
    static constexpr int kMinSize = 1169;
    static constexpr int kMaxSize = 1171;
    static constexpr int kSectionTypes = 1176;
    static constexpr int kMaterials = 1178;
    // Pages 3 to 5: the grid; page 3's buttons and choices.
    static constexpr int kGrid = 1000;
    static constexpr int kAddName = 1088;
    static constexpr int kRemoveName = 1089;
    static constexpr int kUpdateMode = 1282;
    static constexpr int kNumberingMode = 1283;

    ZnDlgMacroSettings(const MacroSettingsData& settings, HWND parent);
    ~ZnDlgMacroSettings() override;

    // The settings shown; after OK, as the user left them on every page.
    const MacroSettingsData& settings() const { return m_settings; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    struct Pages;
    MacroSettingsData m_settings;
    std::unique_ptr<Pages> m_pages;
};
