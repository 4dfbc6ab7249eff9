// ZnDlgProfFeatures: the profile features dialog (template 241). A profile choice and up to four
// labelled values given by the caller; field 3 is an edit or a list and has an alternative label and
// value shown while the switch is on. StartDlgProfFeatures (DetailingLaunchers.h) runs it on a
// DlgProfFeaturesData.
#pragma once

#include "core/DetailingDlgData.h"
#include "platform/win/Dialog.h"

class ZnDlgProfFeatures : public CDialog {
public:
    static constexpr int kTemplateId = 241;
    static constexpr int kProfileLabel = 1188;
    static constexpr int kProfile = 1250;
    static constexpr int kSelectProfile = 1251;
    static constexpr int kLabel1 = 1299;
    static constexpr int kValue1 = 1252;
    static constexpr int kLabel2 = 1301;
    static constexpr int kValue2 = 1302;
    static constexpr int kLabel3 = 1303;
    static constexpr int kValue3 = 1304;
    static constexpr int kValue3List = 1253;
    static constexpr int kLabel4 = 1305;
    static constexpr int kValue4 = 1306;
    static constexpr int kSwitch = 1018;

    ZnDlgProfFeatures();

    DlgProfFeaturesData& data() { return m_data; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    bool field3IsList() const { return m_data.field3IsList != 0; }
    int field3Control() const { return field3IsList() ? kValue3List : kValue3; }
    void showField3Value(const Kx_String& value);
    Kx_String field3Text() const;
    void switchToggled();

    DlgProfFeaturesData m_data;
    // The profile names behind the profile list's entries.
    Kx_StringArray m_profiles;
    // The switch as field 3 shows it now.
    bool m_shownSwitch = false;
};
