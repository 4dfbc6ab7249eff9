// The macro cuts dialog.
#include "macro/ZnDlgMacroCuts.h"

#include "core/DialogFunctions.h"
#include "core/Kx_Settings.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"

#include <iterator>

namespace {

// The cut types in the order of the picture drop-down (type = entry + 1): name text and picture.
struct CutTypeEntry {
    int nameText;
    const char* picture;
};
constexpr CutTypeEntry kCutTypes[] = {
    {1084, "CutProfvsPlate.bmp"},
    {1085, "CutProfvsProf.bmp"},
    {1086, "CutProfinProf.bmp"},
    {1087, "CutProfvsProf3Segments.bmp"},
    {1088, "CutChamfer.bmp"},
    {1089, "CutFillet.bmp"},
};
constexpr int kTypeCount = static_cast<int>(std::size(kCutTypes));

// The option controls some cut types show; every one is hidden for the types that do not name it.
constexpr int kOptionControls[] = {
    ZnDlgMacroCuts::kModeLabel, ZnDlgMacroCuts::kMode,        ZnDlgMacroCuts::kRadio1,
    ZnDlgMacroCuts::kRadio2,    ZnDlgMacroCuts::kRadio3,      ZnDlgMacroCuts::kOptionCheck,
    ZnDlgMacroCuts::kCheck2,    ZnDlgMacroCuts::kCheck3,      ZnDlgMacroCuts::kSecondNameLabel,
    ZnDlgMacroCuts::kSecondName,
};

// The owner controls, which an existing cut does not show: its owner cannot change.
constexpr int kOwnerControls[] = {ZnDlgMacroCuts::kThisMacro, ZnDlgMacroCuts::kOtherMacro, ZnDlgMacroCuts::kPick,
                                  ZnDlgMacroCuts::kModuleLabel, ZnDlgMacroCuts::kModule};

} // namespace

ZnDlgMacroCuts::ZnDlgMacroCuts() : KxHostDialog(kTemplateId)
{
    onCommand(kType, CBN_SELCHANGE, [this] { typeChanged(); });
    onCommand(kOtherMacro, BN_CLICKED, [this] {
        applyEnabling();
        pickOwner();
    });
    onCommand(kThisMacro, BN_CLICKED, [this] { applyEnabling(); });
    onCommand(kPick, BN_CLICKED, [this] { pickOwner(); });
    for (int id : {kRadio1, kRadio2, kRadio3}) {
        onCommand(id, BN_CLICKED, [this] {
            applyLabels();
            applyEnabling();
        });
    }
    for (int id : {kOptionCheck, kCheck2, kCheck3})
        onCommand(id, BN_CLICKED, [this] { applyEnabling(); });
}

Kx_String ZnDlgMacroCuts::displayName(const Kx_String& variable)
{
    const std::string& v = variable.str();
    if (v == "Offset" || v == "PolyOffset")
        return dialString(1099);
    if (v == "LengthOffset")
        return dialString(1100);
    if (v == "CenterOffset")
        return dialString(1101);
    if (v == "InsideOffset")
        return dialString(1102);
    if (v == "OutsideOffset")
        return dialString(1103);
    if (v == "Offset1")
        return dialString(1104) + " 1";
    if (v == "Offset2")
        return dialString(1104) + " 2";
    if (v == "Radius")
        return dialString(740);
    return variable;
}

BOOL ZnDlgMacroCuts::PreTranslateMessage(const MSG& msg)
{
    // Escape closes the dialog as Cancel does, but the caller is told it was Escape. A control that
    // takes every key for itself (the grid's cell editor) keeps its Escape.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        const LRESULT wants = ::SendMessage(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (!(wants & DLGC_WANTALLKEYS)) {
            m_escaped = true;
            EndDialog(IDCANCEL);
            return TRUE;
        }
    }
    return KxHostDialog::PreTranslateMessage(msg);
}

BOOL ZnDlgMacroCuts::OnInitDialog()
{
    KxHostDialog::OnInitDialog();

    m_grid.attach(this, kGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    // Column 1 names each row: a header column beside it would be an empty strip.
    SSSetBool(m_grid.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_grid.setColCount(3);
    m_grid.setColumnHeaders(stringArr(dialString(1078), dialString(881), dialString(87)));
    m_grid.setFitMode(1);

    SetWindowText(dialString(m_data.existing ? 1079 : 1080).str());
    SetDlgItemText(kNameLabel, dialString(1081).str());
    SetDlgItemText(kThisMacro, dialString(710).str());
    SetDlgItemText(kOtherMacro, dialString(711).str());
    SetDlgItemText(kPick, dialString(1082).str());
    SetDlgItemText(kModuleLabel, dialString(1083).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    m_typeCombo.SubclassDlgItem(kType, m_hWnd);
    const std::string icons = (Kx_Settings::libDir() + "icons/").str();
    for (const CutTypeEntry& type : kCutTypes)
        m_typeCombo.AddBitmapFile(icons + type.picture, dialString(type.nameText).str());
    FillCombo(this, kMode, stringArr(dialString(1398), dialString(1397), dialString(1396), dialString(1395)));

    showData();
    if (m_data.existing) {
        EnDisCtrl(this, kType, false);
        EnDisCtrl(this, kName, false);
        for (int id : kOwnerControls)
            ShowOrHideCtrl(this, id, false);
    }

    m_resizer.attach(this, {
                               {kGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                               {kType, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
                               {kName, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
                               {kModule, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
                               {kSecondName, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
                               {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                           });
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/true);
    m_grid.fitToWindow();
    return TRUE;
}

void ZnDlgMacroCuts::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    KxHostDialog::OnDestroy();
}

bool ZnDlgMacroCuts::isChecked(int id) const
{
    return IsDlgButtonChecked(id) == BST_CHECKED;
}

int ZnDlgMacroCuts::currentType() const
{
    const int selected = m_typeCombo.GetCurSel();
    return selected >= 0 ? selected + 1 : m_data.cutType;
}

void ZnDlgMacroCuts::showData()
{
    const int type = m_data.cutType;
    m_typeCombo.SetCurSel(type >= 1 && type <= kTypeCount ? type - 1 : -1);
    SetDlgItemText(kName, m_data.cutName.str());
    fillGrid();
    SetDlgItemText(kSecondName, m_data.secondName.str());

    int radio = kRadio1;
    if (type == kCutProfVsPlate) {
        radio = m_data.optionFlags[0] ? kRadio2 : kRadio1;
        ::SendDlgItemMessage(m_hWnd, kMode, CB_SETCURSEL, static_cast<WPARAM>(m_data.optionIndex));
        CheckDlgButton(kCheck2, m_data.optionFlags[1] ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(kCheck3, m_data.optionFlags[2] ? BST_CHECKED : BST_UNCHECKED);
    } else if (type == kCutProf3Segments) {
        radio = !m_data.optionFlags[3] ? kRadio3 : (m_data.optionFlags[4] ? kRadio2 : kRadio1);
    }
    CheckRadioButton(m_hWnd, kRadio1, kRadio3, radio);
    if (type == kCutProfVsPlate || type == kCutProfInProf)
        CheckDlgButton(kOptionCheck, m_data.optionFlag ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(m_hWnd, kThisMacro, kOtherMacro, m_data.ownerMode != 2 ? kThisMacro : kOtherMacro);

    Kx_StringArray modules;
    m_data.owner.GetAllMods(m_data.objectId, modules);
    FillCombo(this, kModule, modules, m_data.moduleName);

    applyLabels();
    applyEnabling();
}

void ZnDlgMacroCuts::fillGrid()
{
    // As many values as names: a missing value shows as "0" and is kept as such.
    while (m_data.values.length() < m_data.varNames.length())
        m_data.values.append("0");
    const int rows = m_data.varNames.length();
    m_grid.setRowCount(rows);
    m_grid.setColumnCheckBox(kColFlag);
    Kx_StringArray shown;
    Kx_Array<bool> flags;
    for (int r = 0; r < rows; ++r) {
        shown.append(displayName(m_data.varNames[r]));
        // A flag list shorter than the names reads as false for the rest; it is never read past.
        flags.append(r < m_data.varFlags.length() && m_data.varFlags[r]);
    }
    m_grid.setColumn(kColName, shown);
    m_grid.setColumnBools(kColFlag, flags);
    m_grid.setColumn(kColValue, m_data.values);
    m_grid.lockColumn(kColName);
    m_grid.applyFonts();
    m_grid.fitToWindow();
}

void ZnDlgMacroCuts::applyLabels()
{
    for (int id : kOptionControls)
        ShowOrHideCtrl(this, id, false);
    const int type = currentType();
    if (type == kCutProfVsPlate) {
        SetDlgItemText(kRadio1, dialString(1105).str());
        SetDlgItemText(kRadio2, dialString(1106).str());
        SetDlgItemText(kModeLabel, dialString(1394).str());
        SetDlgItemText(kOptionCheck, dialString(1108).str());
        SetDlgItemText(kCheck2, dialString(1109).str());
        SetDlgItemText(kCheck3, dialString(1399).str());
        for (int id : {kRadio1, kRadio2, kModeLabel, kMode, kOptionCheck, kCheck2, kCheck3})
            ShowOrHideCtrl(this, id, true);
        // This type has two choices only: the third, hidden, passes its place to the second.
        if (isChecked(kRadio3))
            CheckRadioButton(m_hWnd, kRadio1, kRadio3, kRadio2);
    } else if (type == kCutProf3Segments) {
        SetDlgItemText(kRadio1, dialString(1110).str());
        SetDlgItemText(kRadio2, dialString(1111).str());
        SetDlgItemText(kRadio3, dialString(1112).str());
        for (int id : {kRadio1, kRadio2, kRadio3})
            ShowOrHideCtrl(this, id, true);
        if (!isChecked(kRadio3)) {
            SetDlgItemText(kSecondNameLabel, dialString(isChecked(kRadio1) ? 1115 : 1114).str());
            ShowOrHideCtrl(this, kSecondNameLabel, true);
            ShowOrHideCtrl(this, kSecondName, true);
        }
    } else if (type == kCutProfInProf) {
        SetDlgItemText(kOptionCheck, dialString(1113).str());
        ShowOrHideCtrl(this, kOptionCheck, true);
    }
}

void ZnDlgMacroCuts::applyEnabling()
{
    EnDisCtrl(this, kPick, isChecked(kOtherMacro));
    if (currentType() == kCutProfVsPlate) {
        const bool square = isChecked(kOptionCheck);
        const bool follow = isChecked(kCheck2);
        // Each excludes the other; a box that came in checked together with the other stays usable
        // so that the user can undo the conflict.
        EnDisCtrl(this, kCheck2, !square || follow);
        EnDisCtrl(this, kOptionCheck, !follow || square);
        EnDisCtrl(this, kCheck3, follow && !square);
    } else {
        EnDisCtrl(this, kOptionCheck, true);
    }
}

void ZnDlgMacroCuts::typeChanged()
{
    DlgMacroCutsData::GetDefaultValues(currentType(), m_data.varNames, m_data.values, m_data.varFlags);
    fillGrid();
    applyLabels();
    applyEnabling();
}

void ZnDlgMacroCuts::pickOwner()
{
    // The dialog steps aside while the user picks in the drawing.
    BeginEditorCommand();
    const bool picked = m_data.owner.UserSelectMacro();
    if (picked) {
        const Kx_String text(GetDlgItemText(kModule));
        Kx_StringArray modules;
        m_data.owner.GetAllMods(m_data.objectId, modules);
        FillCombo(this, kModule, modules, text);
    }
    CompleteEditorCommand();
}

void ZnDlgMacroCuts::readBack()
{
    SSSetEditMode(m_grid.GetSafeHwnd(), FALSE);
    const int type = currentType();
    if (!m_data.existing) {
        m_data.cutType = type;
        m_data.cutName = Kx_String(GetDlgItemText(kName));
    }
    m_data.secondName = Kx_String(GetDlgItemText(kSecondName));
    if (type == kCutProfVsPlate) {
        m_data.optionFlags[0] = !isChecked(kRadio1);
        const int mode = static_cast<int>(::SendDlgItemMessage(m_hWnd, kMode, CB_GETCURSEL));
        if (mode >= 0)
            m_data.optionIndex = mode;
        m_data.optionFlags[1] = isChecked(kCheck2);
        m_data.optionFlags[2] = isChecked(kCheck3);
    } else if (type == kCutProf3Segments) {
        m_data.optionFlags[3] = !isChecked(kRadio3);
        if (m_data.optionFlags[3])
            m_data.optionFlags[4] = !isChecked(kRadio1);
    }
    if (type == kCutProfVsPlate || type == kCutProfInProf)
        m_data.optionFlag = isChecked(kOptionCheck);

    // Names stay as they are (column 1 shows them translated); flags and values come from the grid.
    const int rows = m_data.varNames.length();
    Kx_Array<bool> flags;
    Kx_StringArray values;
    for (int r = 1; r <= rows; ++r) {
        bool flag = false;
        m_grid.getCheck(kColFlag, r, flag);
        flags.append(flag);
        Kx_String value;
        m_grid.getCellText(kColValue, r, value, Kx_Spread::kTextData);
        values.append(value);
    }
    m_data.varFlags = std::move(flags);
    m_data.values = std::move(values);

    if (!m_data.existing) {
        m_data.ownerMode = isChecked(kThisMacro) ? 1 : 2;
        m_data.moduleName = Kx_String(GetDlgItemText(kModule));
    }
}

void ZnDlgMacroCuts::OnOK()
{
    // An existing cut keeps its owner: its owner controls are hidden and are not checked.
    if (!m_data.existing && GetDlgItemText(kModule).empty()) {
        MessageBox(m_hWnd, dialString(1090).str(), dialString(1091).str(), MB_OK | MB_ICONWARNING);
        return;
    }
    readBack();
    // An existing cut keeps its name, which its own macro of course uses already.
    bool clash = false;
    if (!m_data.existing && m_data.ownerMode == 2
        && m_data.CutNameInUse(m_data.objectId, m_data.moduleName, m_data.cutName, clash) && clash) {
        MessageBox(m_hWnd, (dialString(1092) + "\n" + dialString(1093)).str(), dialString(1094).str(),
                   MB_OK | MB_ICONWARNING);
        return;
    }
    if (!m_data.AreVarNamesValid()) {
        const Kx_String text = dialString(1095) + "\n" + dialString(1096) + " " + dialString(1097) + " \"gen_\".\n";
        MessageBox(m_hWnd, text.str(), dialString(1098).str(), MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}
