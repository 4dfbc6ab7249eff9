// ZnDlgLevels: the levels dialog (template 243). A drop-down list of the model's building levels,
// buttons to add and delete one, and the selected level's name, kind, elevation and storey height.
// Of these only the kind and the elevation can be stored (ZnLevelsDlgData::updateLevel): the name
// and the storey height are shown read-only. StartDlgLevels (DetailingLaunchers.h) runs it.
#pragma once

#include "core/CButtonST.h"
#include "core/DetailingDlgData.h"
#include "platform/win/Dialog.h"

class ZnDlgLevels : public CDialog {
public:
    static constexpr int kTemplateId = 243;
    static constexpr int kLevels = 1381;
    static constexpr int kAdd = 1088;
    static constexpr int kDelete = 1089;
    static constexpr int kFrame = 1081;
    static constexpr int kNameLabel = 1123;
    static constexpr int kName = 1000;
    static constexpr int kKindLabel = 1124;
    static constexpr int kKind = 1382;
    static constexpr int kElevationLabel = 1227;
    static constexpr int kElevation = 1001;
    static constexpr int kHeightLabel = 1126;
    static constexpr int kHeight = 1002;
    static constexpr int kIconAdd = 212;
    static constexpr int kIconDelete = 206;

    ZnDlgLevels();

    ZnLevelsDlgData& data() { return m_data; }
    // The level whose values the fields show, -1 when none.
    int shownLevel() const { return m_shown; }

    // The number a typed elevation stands for, whatever the process locale: the longest number at
    // the start of the text ("12abc" is 12), a decimal comma read as a point when the text has no
    // point ("2,5" is 2.5), and 0 for a text that starts with no number or one out of range.
    static double typedNumber(const Kx_String& text);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // Refills the list from the data and shows level `index` (clamped to the list; none when empty).
    void refill(int index);
    void show(int index);
    void store();
    void selectionChanged();
    void addLevel();
    void deleteLevel();

    ZnLevelsDlgData m_data;
    int m_shown = -1;
    CButtonST m_addButton;
    CButtonST m_deleteButton;
};
