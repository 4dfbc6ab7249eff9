// ZnDlgMacroArray: one dynamic array of a macro (template 236): its name and kind, the number of
// copies, the dimensions it runs along, its distances and spacing, and its entry columns, with the
// entry buttons. StartArrayDlg (MacroArrayLauncher.h) runs it; a macro page opens it through that
// launcher and then runs its difference-and-update step.
#pragma once

#include "core/MacroItems.h"
#include "platform/host/HostWindow.h"
#include "spread/Kx_Spread.h"

class ZnDlgMacroArray : public KxHostDialog {
public:
    static constexpr int kTemplateId = 236;

    static constexpr int kName = 1345;
    static constexpr int kKind = 1005;
    static constexpr int kValueLabel = 1131;
    static constexpr int kValue = 1002;
    static constexpr int kSpecialLabel = 1129;
    static constexpr int kSpecial = 1011; // string 3, kind 1 only
    static constexpr int kStartDistance = 1003; // string 1
    static constexpr int kEndDistance = 1004;   // string 2
    static constexpr int kFirstDim = 1347;      // string 4
    static constexpr int kSecondDim = 1350;
    static constexpr int kThirdDim = 1351;
    static constexpr int kFirstOption = 1346;
    static constexpr int kSpacing = 1009;
    static constexpr int kMaxSpacing = 1010;
    static constexpr int kSecondOption = 1352;
    static constexpr int kSkip = 1006;
    static constexpr int kGrid = 1196;
    static constexpr int kNewColumn = 1348;
    static constexpr int kDeleteColumn = 1087;
    static constexpr int kResetEntry = 1089;

    // Grid columns: shown flag, name, kind.
    static constexpr int kColShown = 1;
    static constexpr int kColName = 2;
    static constexpr int kColKind = 3;

    ZnDlgMacroArray(const DynArrayData& array, const AcArray<AcDbObjectId>& objectIds, const Kx_String& moduleName,
                    HWND parent = nullptr);

    const DynArrayData& array() const { return m_array; }
    Kx_Spread& grid() { return m_grid; }
    // The kind the kind combo shows (1 to 3); the array's own kind while the combo shows none.
    int shownKind() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void showData();
    void showKind(int kind);
    void fillColumns(const Kx_Array<EntryColumn>& columns);
    Kx_Array<EntryColumn> readColumns() const;
    void readBack();
    void resetEntry();
    void addColumn();
    void deleteColumn();

    DynArrayData m_array;
    AcArray<AcDbObjectId> m_objectIds;
    Kx_String m_moduleName;
    Kx_Spread m_grid;
};
