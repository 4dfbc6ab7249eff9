// ZnDlgBoltAdvanced: the bolt settings of a bolt tab (template 8140): assembly and diameter, the
// bolt's texts, options and colour switches, the hole columns and the holes. Every change goes to the
// drawing at once through the page that opened it (ZnDlgMacroTab::applyBolt), so the drawing follows
// the dialog while it is open; Cancel only closes it. The page opens it; nothing else does.
#pragma once

#include "core/CResizer.h"
#include "core/MacroItems.h"
#include "platform/host/HostWindow.h"
#include "spread/Kx_Spread.h"

#include <functional>
#include <vector>

class ZnDlgBoltAdvanced : public KxHostDialog {
public:
    static constexpr int kTemplateId = 8140;
    static constexpr const char* kSizeKey = "DLG_MACRO_BOLTADVANCED";

    static constexpr int kPicture = 1178;
    static constexpr int kAssembly = 1091;
    static constexpr int kDiameter = 1092;
    static constexpr int kText3 = 1104;
    static constexpr int kText4 = 1103;
    static constexpr int kText5 = 1102;
    static constexpr int kOptionFlag = 1343;
    static constexpr int kOptionLabel = 1344;
    static constexpr int kGrid = 1196;
    static constexpr int kHoles = 1108;
    static constexpr int kHoleUsed = 1120;
    static constexpr int kHoleType = 1324;
    // The hole's texts 1 to 4 (length, width, depth, rotation).
    static constexpr int kHoleText[4] = {1125, 1118, 1119, 1022};
    // The four tri-state options and the five check buttons, in the record's order.
    static constexpr int kOptions[4] = {1095, 1115, 1116, 1110};
    static constexpr int kChecks[5] = {8713, 8714, 8710, 8711, 8712};
    // The hole's controls that are usable only while the hole is active.
    static constexpr int kHoleFields[10] = {1117, 1119, 1113, 1118, 1114, 1022, 1124, 1125, 1122, 1324};
    static constexpr int kFirstColourLabel = 8669;

    // Pushes the dialog's bolt data into the tab and the drawing, and hands back what the tab holds
    // afterwards (the drawing may have corrected it). False when the tab is gone: nothing applied.
    using Apply = std::function<bool(MacroBoltData& bolt)>;

    ZnDlgBoltAdvanced(const MacroBoltData& bolt, const Kx_StringArray& diameters, Apply applier, HWND parent = nullptr);

    const MacroBoltData& bolt() const { return m_bolt; }
    // The hole shown, -1 when the bolt has no holes.
    int currentHole() const { return m_hole; }
    Kx_Spread& grid() { return m_grid; }

    // Reads back, checks the holes and applies; false (nothing applied) when a hole is invalid or the
    // page refused. What every click, selection and OK runs.
    bool apply();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void showData();
    void showHole(int index);
    void enableHoleFields();
    void readBack();
    void readHole();
    // The listed number (from 1) of the first active hole whose diameter or depth is not a number
    // above 0; 0 when every hole is valid.
    int firstInvalidHole() const;
    void holeListChanged(NMHDR& header);
    void setHoleMark(int index, bool on);

    MacroBoltData m_bolt;
    Kx_StringArray m_diameters;
    Apply m_apply;
    int m_hole = -1;
    // Set while the dialog fills its hole list, whose notifications are then its own doing.
    bool m_filling = false;
    Kx_Spread m_grid;
    ZnResizer m_resizer;
    std::vector<HBITMAP> m_pictures;
};
