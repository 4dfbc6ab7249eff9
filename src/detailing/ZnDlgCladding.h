// ZnDlgCladding: the cladding settings dialog (template 252). The cladding profile, its direction and
// fixing, the spacing of the fixings that use one, and whether the profile is turned over. The data
// is read back on every change, so it always matches what the dialog shows. StartDlgCladdingSettings
// (DetailingLaunchers.h) runs it on a ZnCladdingDlgData.
#pragma once

#include "core/DetailingDlgData.h"
#include "platform/win/Dialog.h"

class ZnDlgCladding : public CDialog {
public:
    static constexpr int kTemplateId = 252;
    static constexpr int kProfileLabel = 1188;
    static constexpr int kProfile = 1250;
    static constexpr int kSelectProfile = 1251;
    static constexpr int kDirectionLabel = 1189;
    static constexpr int kDirection = 1252;
    static constexpr int kFixingLabel = 1190;
    static constexpr int kFixing = 1253;
    static constexpr int kSpacingLabel = 1191;
    static constexpr int kSpacing = 1410;
    static constexpr int kTurned = 1411;

    ZnDlgCladding();

    ZnCladdingDlgData& data() { return m_data; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void store();
    // The spacing counts only for the fixings at a fixed or a maximum spacing (entries 3 and 4).
    void applyEnabling();

    ZnCladdingDlgData m_data;
    bool m_ready = false;
};
