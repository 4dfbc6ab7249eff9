// ZnDlgMacroProfTab: the macro dialog's page for a profile tab (template 219). The tab's layout and
// grid as on a standard page, and under them the page's own controls for one profile group at a
// time: the group and its objects, section, offset position, rotation and base plane, and the
// buttons for the section choice, the advanced dialog, the base-plane pick and the segments.
// Every change goes through the standard page's difference-and-update step.
#pragma once

#include "macro/ZnDlgMacroTab.h"
#include "platform/host/AcDb.h"

class ZnDlgMacroProfTab : public ZnDlgMacroTab {
public:
    static constexpr int kTemplateId = 219;
    static constexpr int kGrid = 1196;
    static constexpr int kSegments = 1210;
    static constexpr int kGroupLabel = 1211;
    static constexpr int kGroup = 1212;
    static constexpr int kObject = 1213;
    static constexpr int kBasePlaneLabel = 1214;
    static constexpr int kBasePlane = 1215;
    static constexpr int kRotationLabel = 1216;
    static constexpr int kPositionLabel = 1218;
    static constexpr int kPosition = 1219;
    static constexpr int kProfileLabel = 1220;
    static constexpr int kProfile = 1221;
    static constexpr int kSelect = 1222;
    static constexpr int kPick = 1223;
    static constexpr int kRotation = 1316;
    // The page's own focus order.
    static constexpr int kFocusOrder[10] = {kGroup,    kObject,   kProfile,   kSelect, kPosition,
                                            kAdvanced, kRotation, kBasePlane, kPick,   kSegments};

    // temporary: the object a kind-1 macro made for the dialog; erased after the first advanced dialog.
    ZnDlgMacroProfTab(ZnDlgMacro& owner, int tabIndex, AcDbObjectId temporary = AcDbObjectId());

    const Kx_String& group() const { return m_group; }
    AcDbObjectId temporaryObject() const { return m_temporary; }
    // The profile controls are hidden when every group has an advanced button of its own.
    bool showsProfileControls() const;

    void showValues() override;
    bool readBack() override;

    // The advanced dialog on group (empty: the page's group); the page refreshes afterwards and a
    // temporary object is erased.
    void openAdvanced(const Kx_String& group = Kx_String());
    // The segmented dialog on the tab's segments; on OK the tab takes the edited list and the
    // drawing is updated.
    void openSegments();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    int bottomRowHeight() const override;
    std::span<const int> ownFocusControls() const override { return kFocusOrder; }

private:
    void fillGroups();
    void fillObjects();
    void showGroupValues();
    void placeProfileControls();
    void pickBasePlane();
    int selected(int id) const;

    Kx_String m_group;
    int m_object = 0;
    AcDbObjectId m_temporary;
    AcArray<AcDbObjectId> m_groupIds;
    bool m_pageReady = false;
};
