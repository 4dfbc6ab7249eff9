// The DSTV point dialogs: ZnDlgDstvGroups (template 234) lists the point groups, makes and deletes
// them and chooses the standard one; ZnDlgDstvPoints (template 233) edits the points of one group.
// The group files and the standard setting are the core's (core/DstvPoints.h).
#pragma once

#include "core/CCheckComboBox.h"
#include "core/DstvPoints.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "platform/win/Dialog.h"

class ZnDlgDstvPoints : public CDialog {
public:
    static constexpr int kTemplateId = 233;
    static constexpr int kPointLabel = 1326;
    static constexpr int kPointList = 1325;
    static constexpr int kAddPoint = 1327;
    static constexpr int kRemovePoint = 1328;
    static constexpr int kFrame = 1175;
    static constexpr int kNameLabel = 1124;
    static constexpr int kName = 1000;
    static constexpr int kByExtent = 1355;
    static constexpr int kSideA = 1330;
    static constexpr int kSideB = 1338;
    static constexpr int kByIntersection = 1356;
    static constexpr int kIntersectionSide = 1332;
    static constexpr int kMiddle = 1333;
    static constexpr int kViewALabel = 1126;
    static constexpr int kPlateA = 1334;
    static constexpr int kViewBLabel = 1127;
    static constexpr int kPlateB = 1340;
    static constexpr int kDistanceLabel = 1128;
    static constexpr int kDistance = 1001;
    static constexpr int kFullHole = 1336;
    static constexpr int kByThickness = 1337;
    static constexpr int kDiameterLabel = 1125;
    static constexpr int kDiameter = 1002;

    explicit ZnDlgDstvPoints(const Kx_Array<Kx_DstvPointInfo>& points = {});

    const Kx_Array<Kx_DstvPointInfo>& points() const { return m_points; }
    Kx_Array<Kx_DstvPointInfo>& data() { return m_points; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void fillList(int select);
    void loadPoint(int index);
    // Stores the controls into point `index`. False when a number was refused: the user was told,
    // the point keeps its old value and the edit shows it again.
    bool storePoint(int index);
    bool readNumber(int id, int labelId, double old, double& value);
    void onSelChange();
    void addPoint();
    void removePoint();
    void applyRules();
    void sideChosen(int list);

    Kx_Array<Kx_DstvPointInfo> m_points;
    int m_current = -1;
};

class ZnDlgDstvGroups : public CDialog {
public:
    static constexpr int kTemplateId = 234;
    static constexpr int kGroups = 1336;
    static constexpr int kAdd = 1337;
    static constexpr int kRemove = 1338;
    static constexpr int kEdit = 1334;
    static constexpr int kMakeStandard = 1335;

    ZnDlgDstvGroups();

    // The edit step: reads the group file at path, runs the points dialog on its points and writes
    // them back on OK. A file that cannot be read is reported and not opened; a failed write is
    // reported and the dialog opens again on the edited points. True when the points were written.
    static bool editGroupFile(const Kx_String& path, HWND owner);

protected:
    BOOL OnInitDialog() override;

private:
    void fill(int select);
    int selected() const;
    Kx_String selectedName() const;
    Kx_String groupPath(const Kx_String& name) const;
    void addGroup();
    void removeGroup();
    void makeStandard();
    void editGroup();
    void message(const Kx_String& text);

    CCheckComboBox m_groups;
    Kx_StringArray m_names;
};
