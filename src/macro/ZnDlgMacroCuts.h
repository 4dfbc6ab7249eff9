// ZnDlgMacroCuts: the macro cuts dialog (template 223). Makes a new parametric cut or edits an
// existing one: its type (a picture drop-down), its name, the macro that will own it (from a list or
// picked in the drawing with the dialog hidden), the options of its type and the grid of its
// variables. StartDlgMacroCuts (MacroSubLaunchers.h) runs it on a DlgMacroCutsData.
#pragma once

#include "core/CBitmapPickerCombo.h"
#include "core/CResizer.h"
#include "core/MacroSubDialogData.h"
#include "platform/host/HostWindow.h"
#include "spread/Kx_Spread.h"

class ZnDlgMacroCuts : public KxHostDialog {
public:
    static constexpr int kTemplateId = 223;
    static constexpr const char* kSizeKey = "DLG_MACRO_CUTS";

    static constexpr int kName = 1000;
    static constexpr int kSecondName = 1001;
    static constexpr int kNameLabel = 1123;
    static constexpr int kSecondNameLabel = 1124;
    static constexpr int kGrid = 1196;
    static constexpr int kPick = 1079;
    static constexpr int kModuleLabel = 1280;
    static constexpr int kModeLabel = 1281;
    static constexpr int kModule = 1282;
    static constexpr int kMode = 1283;
    static constexpr int kType = 1284;
    static constexpr int kThisMacro = 1285;
    static constexpr int kOtherMacro = 1286;
    static constexpr int kRadio1 = 1288;
    static constexpr int kRadio2 = 1289;
    static constexpr int kRadio3 = 1290;
    static constexpr int kOptionCheck = 1323;
    static constexpr int kCheck2 = 1325;
    static constexpr int kCheck3 = 1326;

    // Grid columns.
    static constexpr int kColName = 1;
    static constexpr int kColFlag = 2;
    static constexpr int kColValue = 3;

    ZnDlgMacroCuts();

    DlgMacroCutsData& data() { return m_data; }
    // Whether the dialog was left with the Escape key.
    bool escaped() const { return m_escaped; }
    Kx_Spread& grid() { return m_grid; }

    // What grid column 1 shows for a variable: the known names translated, any other as it stands.
    static Kx_String displayName(const Kx_String& variable);

    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void showData();
    void fillGrid();
    // Shows, hides and labels the option controls of the chosen type.
    void applyLabels();
    void applyEnabling();
    void typeChanged();
    void pickOwner();
    void readBack();
    int currentType() const;
    bool isChecked(int id) const;

    DlgMacroCutsData m_data;
    bool m_escaped = false;
    CBitmapPickerCombo m_typeCombo;
    Kx_Spread m_grid;
    ZnResizer m_resizer;
};
