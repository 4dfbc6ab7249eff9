// ZnDlgMacroProfAdv: the profile advanced dialog (template 220). Edits the merged properties of one
// profile group: section, names, the offset (as a list, as nine position buttons and as an
// insertion-point list, all showing the same choice), the rotation, the plane the offsets refer to,
// the extension and an option. It never touches the drawing: it asks its owner through the callback
// (ZnMACallBackData.h) to fill the record, apply it, and step aside while the user picks.
#pragma once

#include "core/MacroItems.h"
#include "macro/ZnMACallBackData.h"
#include "platform/host/HostWindow.h"

#include <functional>

class ZnDlgMacroProfAdv : public KxHostDialog {
public:
    static constexpr int kTemplateId = 220;
    static constexpr const char* kSizeKey = "DLG_MACRO_PROFADVANCED";

    // Names and section.
    static constexpr int kGroupLabel = 1200;
    static constexpr int kGroupName = 1201;
    static constexpr int kSectionLabel = 1202;
    static constexpr int kSection = 1203;
    static constexpr int kSelectSection = 1204;
    static constexpr int kClassLabel = 1205;
    static constexpr int kClass = 1206;
    static constexpr int kSelectClass = 1207;
    static constexpr int kMarkLabel = 1208;
    static constexpr int kMark = 1209;
    static constexpr int kMaterialLabel = 1255;
    static constexpr int kMaterial = 1264;
    // Offset.
    static constexpr int kOffsetFrame = 1191;
    static constexpr int kOffsetType = 1228;
    static constexpr int kOffsetTypeLabel = 1266;
    static constexpr int kInsertion = 1230;
    static constexpr int kInsertionLabel = 1265;
    static constexpr int kHorizontalLabel = 1258;
    static constexpr int kVerticalLabel = 1259;
    static constexpr int kStartLabel = 1262;
    static constexpr int kEndLabel = 1263;
    static constexpr int kStartX = 1231;
    static constexpr int kStartY = 1235;
    static constexpr int kEndX = 1260;
    static constexpr int kEndY = 1261;
    static constexpr int kPickPoint = 1229;
    // Rotation.
    static constexpr int kRotationFrame = 1192;
    static constexpr int kAngle0 = 1233;
    static constexpr int kAngle90 = 1238;
    static constexpr int kAngle180 = 1239;
    static constexpr int kAngle270 = 1240;
    static constexpr int kAngleOther = 1241;
    static constexpr int kAngleOtherValue = 1242;
    static constexpr int kAngleVaries = 1247;
    static constexpr int kMirror = 1234;
    // Plane.
    static constexpr int kPlaneFrame = 1193;
    static constexpr int kBasePlaneLabel = 1267;
    static constexpr int kBasePlane = 1250;
    static constexpr int kPlaneWcs = 1243;
    static constexpr int kPlaneVaries = 1244;
    static constexpr int kPlanePart = 1245;
    static constexpr int kPlaneCoordSys = 1350;
    static constexpr int kPlaneProfile = 1351;
    static constexpr int kPickPlane = 1246;
    static constexpr int kPickCoordSys = 1352;
    // Extension and option.
    static constexpr int kExtensionFrame = 1194;
    static constexpr int kExtension = 1224;
    static constexpr int kExtensionLabel = 1225;
    static constexpr int kExtensionValue = 1226;
    static constexpr int kOption = 1257;

    // The nine position buttons in list order (positions 1 to 9: top row left to right, then the
    // middle and the bottom row).
    static constexpr int kPositionButtons[9] = {1232, 1236, 1237, 1049, 1050, 1051, 1052, 1053, 1054};
    // The offset-list index a position stands for, and back: 0 when an index has no position.
    static int comboIndexOfPosition(int position);
    static int positionOfComboIndex(int comboIndex);
    // The plane name a plane radio stands for ("xp" a picked coordinate system, "profile" the
    // profile's own plane, "" the world system).
    static constexpr const char* kCoordSysPlane = "xp";
    static constexpr const char* kProfilePlane = "profile";

    using Callback = std::function<bool(ZnMACallBackType, const ZnMACallBackData&, MacroProfData&)>;

    // optionMode: check box 1257 is the caller's option (its state comes back through option())
    // rather than the record's own option.
    ZnDlgMacroProfAdv(const ZnMACallBackData& data, Callback callback, bool optionMode, bool option = false,
                      HWND owner = nullptr);

    const MacroProfData& prof() const { return m_prof; }
    bool option() const { return m_option; }
    const ZnMACallBackData& callbackData() const { return m_data; }
    // How many applies the owner accepted (for the module's tests and benchmarks).
    int applyCount() const { return m_applies; }
    // Reads the controls and asks the owner to apply; false when the owner refused (the dialog then
    // shows what it showed before).
    bool apply();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void fillLists();
    void showData();
    // Controls into the record; a typed value that is not a number is refused with a message and
    // not written. False when something was refused.
    bool readData();
    void showOffsetChoice(int comboIndex);
    void enableControls();
    void positionClicked(int position);
    void insertionChanged();
    void pick(int button);
    void selectSection();
    int comboIndex(int id) const;
    int checkState(int id) const;
    int angleRadio() const;
    int planeRadio() const;
    bool takeNumber(int id, Kx_String& target, int decimals, const Kx_String& shownBefore);

    ZnMACallBackData m_data;
    Callback m_callback;
    MacroProfData m_prof;
    bool m_optionMode;
    bool m_option;
    int m_applies = 0;
    bool m_showing = false;
};
