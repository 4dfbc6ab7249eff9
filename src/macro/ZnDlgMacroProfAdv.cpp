// The profile advanced dialog: the record in and out of its controls, the offset choice shown three
// ways, the picks, and the applies through the owner's callback.
#include "macro/ZnDlgMacroProfAdv.h"

#include "core/DialogFunctions.h"
#include "core/DlgSelectProf.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "macro/MacroProfSupport.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <cmath>
#include <iterator>
#include <utility>

namespace {

// Positions 1 to 9 and the offset-list index each stands for.
constexpr int kPositionIndex[9] = {9, 5, 10, 7, 3, 8, 11, 6, 12};

// The insertion-point list: the named points of the section (their offset-list index), then
// "other point" (user defined, index 4) and the entry for values that differ.
struct InsertionEntry {
    int text;       // number in the core's second table, or in the dialog table when dialog is set
    bool dialog;
    int comboIndex; // -1: the entry for values that differ
};
constexpr InsertionEntry kInsertionEntries[] = {
    {10164, false, 3}, {10046, false, 5},  {10047, false, 6},  {10048, false, 7},
    {10049, false, 8}, {10418, false, 9},  {10420, false, 10}, {10419, false, 11},
    {10421, false, 12}, {1413, true, 4},   {695, true, -1},
};

constexpr int kAngleRadios[] = {ZnDlgMacroProfAdv::kAngle0, ZnDlgMacroProfAdv::kAngle90, ZnDlgMacroProfAdv::kAngle180,
                                ZnDlgMacroProfAdv::kAngle270, ZnDlgMacroProfAdv::kAngleVaries,
                                ZnDlgMacroProfAdv::kAngleOther};
constexpr int kPlaneRadios[] = {ZnDlgMacroProfAdv::kPlaneWcs, ZnDlgMacroProfAdv::kPlaneVaries,
                                ZnDlgMacroProfAdv::kPlanePart, ZnDlgMacroProfAdv::kPlaneCoordSys,
                                ZnDlgMacroProfAdv::kPlaneProfile};

// A number shown with `decimals`; text 695 and words as they stand.
Kx_String shownNumber(const Kx_String& value, int decimals)
{
    double v = 0;
    if (value.trimmed().toDouble(v) && std::isfinite(v))
        return Kx_String(v, decimals);
    return value;
}

bool numberOf(const Kx_String& text, double& v)
{
    return text.trimmed().toDouble(v) && std::isfinite(v);
}

} // namespace

int ZnDlgMacroProfAdv::comboIndexOfPosition(int position)
{
    return position >= 1 && position <= 9 ? kPositionIndex[position - 1] : 0;
}

int ZnDlgMacroProfAdv::positionOfComboIndex(int comboIndex)
{
    for (int p = 0; p < 9; ++p)
        if (kPositionIndex[p] == comboIndex)
            return p + 1;
    return 0;
}

ZnDlgMacroProfAdv::ZnDlgMacroProfAdv(const ZnMACallBackData& data, Callback callback, bool optionMode, bool option,
                                     HWND owner)
    : KxHostDialog(kTemplateId, owner), m_data(data), m_callback(std::move(callback)), m_optionMode(optionMode),
      m_option(option)
{
}

BOOL ZnDlgMacroProfAdv::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    SetWindowText(dialString(1011).str());
    const struct {
        int id;
        int text;
    } texts[] = {
        {kGroupLabel, 705},       {kSectionLabel, 1012},     {kSelectSection, 969},    {kClassLabel, 1497},
        {kSelectClass, 969},      {kMarkLabel, 1410},        {kMaterialLabel, 1411},   {kOffsetFrame, 1014},
        {kInsertionLabel, 1013},  {kOffsetTypeLabel, 9895},  {kHorizontalLabel, 1015}, {kVerticalLabel, 1016},
        {kStartLabel, 1017},      {kEndLabel, 1018},         {kPickPoint, 1008},       {kRotationFrame, 1005},
        {kAngleVaries, 695},      {kAngleOther, 9890},       {kMirror, 1020},          {kPlaneFrame, 1021},
        {kBasePlaneLabel, 1006},  {kPlaneVaries, 695},       {kPlanePart, 9891},       {kPlaneCoordSys, 9892},
        {kPlaneProfile, 9893},    {kPickPlane, 1008},        {kPickCoordSys, 1008},    {kExtensionFrame, 1019},
        {kExtension, 1019},       {kExtensionLabel, 460},    {kOption, 1343},          {IDOK, 285},
    };
    for (const auto& t : texts)
        SetDlgItemText(t.id, dialString(t.text).str());
    SetDlgItemText(kAngle0, "0°");
    SetDlgItemText(kAngle90, "90°");
    SetDlgItemText(kAngle180, "180°");
    SetDlgItemText(kAngle270, "270°");
    SetDlgItemText(kPlaneWcs, "WCS");
    SetDlgItemText(kGroupName, m_data.groupName.str());
    fillLists();

    MacroProfData p;
    if (m_callback && m_callback(kMACallBackGet, m_data, p))
        m_prof = p;
    showData();
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/true);
    return TRUE;
}

void ZnDlgMacroProfAdv::fillLists()
{
    Kx_StringArray offsets, planes, points;
    getOffsetTypeStrings(/*withVaries=*/true, offsets);
    getBasePlaneStrings(/*withVaries=*/true, planes);
    for (const InsertionEntry& e : kInsertionEntries)
        points.append(e.dialog ? dialString(e.text) : string(e.text));
    FillCombo(this, kOffsetType, offsets);
    FillCombo(this, kBasePlane, planes);
    FillCombo(this, kInsertion, points);
}

int ZnDlgMacroProfAdv::comboIndex(int id) const
{
    return static_cast<int>(::SendDlgItemMessage(m_hWnd, id, CB_GETCURSEL));
}

int ZnDlgMacroProfAdv::checkState(int id) const
{
    return static_cast<int>(IsDlgButtonChecked(id));
}

void ZnDlgMacroProfAdv::showData()
{
    m_showing = true;
    const MacroProfData& p = m_prof;
    SetDlgItemText(kSection, p.profileName.str());
    SetDlgItemText(kClass, p.sectionClass.str());
    SetDlgItemText(kMark, p.name2.str());
    SetDlgItemText(kMaterial, p.name3.str());

    // The offset: the list's last entry is the one for values that differ.
    const int dlgIndex = getDlgOffsetType(p);
    const int varies = static_cast<int>(::SendDlgItemMessage(m_hWnd, kOffsetType, CB_GETCOUNT)) - 1;
    ::SendDlgItemMessage(m_hWnd, kOffsetType, CB_SETCURSEL, static_cast<WPARAM>(dlgIndex >= 0 ? dlgIndex : varies));
    showOffsetChoice(comboIndex(kOffsetType));
    const int edits[4] = {kStartX, kStartY, kEndX, kEndY};
    for (int k = 0; k < 4; ++k)
        SetDlgItemText(edits[k], shownNumber(p.offsets[static_cast<size_t>(k)], 3).str());

    // The rotation: text 695, one of the four radios, or any other angle in the edit.
    int radio = kAngleOther;
    double a = 0;
    if (isVariesText(p.angle))
        radio = kAngleVaries;
    else if (kxss::angleNumber(p.angle, a) && (a == 0 || a == 90 || a == 180 || a == 270))
        radio = a == 0 ? kAngle0 : a == 90 ? kAngle90 : a == 180 ? kAngle180 : kAngle270;
    for (int id : kAngleRadios)
        CheckDlgButton(id, id == radio ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kAngleOtherValue, radio == kAngleOther ? p.angle.str() : std::string());
    CheckDlgButton(kMirror, p.mirror == 2 ? BST_INDETERMINATE : p.mirror ? BST_CHECKED : BST_UNCHECKED);

    const int planes = static_cast<int>(::SendDlgItemMessage(m_hWnd, kBasePlane, CB_GETCOUNT)) - 1;
    ::SendDlgItemMessage(m_hWnd, kBasePlane, CB_SETCURSEL,
                         static_cast<WPARAM>(p.basePlane >= 0 && p.basePlane < planes ? p.basePlane : planes));
    // The plane the offsets refer to: 695 and empty have their radios; a coordinate system and the
    // profile's own plane theirs; any other name is a part's plane, unless a radio of the named
    // kinds is already on.
    int plane = kPlanePart;
    if (isVariesText(p.planeName))
        plane = kPlaneVaries;
    else if (p.planeName.isEmpty())
        plane = kPlaneWcs;
    else if (p.planeName == kCoordSysPlane)
        plane = kPlaneCoordSys;
    else if (p.planeName == kProfilePlane)
        plane = kPlaneProfile;
    for (int id : kPlaneRadios)
        CheckDlgButton(id, id == plane ? BST_CHECKED : BST_UNCHECKED);

    CheckDlgButton(kExtension, p.extraOn == 2 ? BST_INDETERMINATE : p.extraOn ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kExtensionValue, p.extraValue.str());
    if (m_optionMode)
        CheckDlgButton(kOption, m_option ? BST_CHECKED : BST_UNCHECKED);
    else
        CheckDlgButton(kOption, p.option == 2 ? BST_INDETERMINATE : p.option ? BST_CHECKED : BST_UNCHECKED);
    enableControls();
    m_showing = false;
}

void ZnDlgMacroProfAdv::showOffsetChoice(int index)
{
    const int position = positionOfComboIndex(index);
    for (int p = 0; p < 9; ++p)
        CheckDlgButton(kPositionButtons[p], p + 1 == position ? BST_CHECKED : BST_UNCHECKED);
    int entry = -1;
    const int varies = static_cast<int>(::SendDlgItemMessage(m_hWnd, kOffsetType, CB_GETCOUNT)) - 1;
    for (int e = 0; e < static_cast<int>(std::size(kInsertionEntries)); ++e)
        if (kInsertionEntries[e].comboIndex == (index == varies ? -1 : index))
            entry = e;
    ::SendDlgItemMessage(m_hWnd, kInsertion, CB_SETCURSEL, static_cast<WPARAM>(entry));
}

void ZnDlgMacroProfAdv::enableControls()
{
    // No offset (entry 0): the values mean nothing.
    const bool offset = comboIndex(kOffsetType) != 0;
    for (int id : {kStartX, kStartY, kEndX, kEndY})
        EnDisCtrl(this, id, offset);
    EnDisCtrl(this, kAngleOtherValue, checkState(kAngleOther) == BST_CHECKED);
    const bool extension = checkState(kExtension) == BST_CHECKED;
    EnDisCtrl(this, kExtensionLabel, extension);
    EnDisCtrl(this, kExtensionValue, extension);
}

int ZnDlgMacroProfAdv::angleRadio() const
{
    for (int id : kAngleRadios)
        if (checkState(id) == BST_CHECKED)
            return id;
    return 0;
}

int ZnDlgMacroProfAdv::planeRadio() const
{
    for (int id : kPlaneRadios)
        if (checkState(id) == BST_CHECKED)
            return id;
    return 0;
}

bool ZnDlgMacroProfAdv::takeNumber(int id, Kx_String& target, int decimals, const Kx_String& shownBefore)
{
    const Kx_String typed = Kx_String(GetDlgItemText(id)).trimmed();
    // Unchanged, empty or the mark of differing values: nothing to write.
    if (typed == shownBefore.trimmed() || typed.isEmpty() || isVariesText(typed))
        return true;
    double v = 0, old = 0;
    if (!numberOf(typed, v)) {
        MessageBox(m_hWnd, "\"" + typed.str() + "\" " + dialString(9801).str() + " " + shownBefore.str() + ".",
                   dialString(1098).str(), MB_OK | MB_ICONWARNING);
        SetDlgItemText(id, shownBefore.str());
        return false;
    }
    if (numberOf(target, old) && old == v)
        return true;
    target = kxss::numberText(v, decimals);
    return true;
}

bool ZnDlgMacroProfAdv::readData()
{
    MacroProfData& p = m_prof;
    bool ok = true;
    const auto text = [&](int id, Kx_String& target) {
        const Kx_String typed = Kx_String(GetDlgItemText(id)).trimmed();
        if (!typed.isEmpty() && !isVariesText(typed))
            target = typed;
    };
    text(kSection, p.profileName);
    text(kClass, p.sectionClass);
    text(kMark, p.name2);
    text(kMaterial, p.name3);

    // A list entry other than the record's goes in through getProfOffsetType; a negative result
    // switches the offset off. The entry for values that differ writes nothing.
    const int index = comboIndex(kOffsetType);
    const int varies = static_cast<int>(::SendDlgItemMessage(m_hWnd, kOffsetType, CB_GETCOUNT)) - 1;
    if (index >= 0 && index < varies && index != getDlgOffsetType(p)) {
        const int type = getProfOffsetType(index);
        if (type < 0) {
            p.offsetOn = 0;
        } else {
            p.offsetOn = 1;
            p.offsetType = type;
        }
    }
    const int edits[4] = {kStartX, kStartY, kEndX, kEndY};
    for (int k = 0; k < 4; ++k) {
        Kx_String& value = p.offsets[static_cast<size_t>(k)];
        ok = takeNumber(edits[k], value, 3, shownNumber(value, 3)) && ok;
    }

    switch (angleRadio()) {
    case kAngle0: p.angle = "0"; break;
    case kAngle90: p.angle = "90"; break;
    case kAngle180: p.angle = "180"; break;
    case kAngle270: p.angle = "270"; break;
    case kAngleOther: {
        Kx_String angle = p.angle;
        const Kx_String shown = isVariesText(p.angle) ? Kx_String() : p.angle;
        if (takeNumber(kAngleOtherValue, angle, 3, shown))
            p.angle = angle;
        else
            ok = false;
        break;
    }
    default: break; // values differ: the angle stays each profile's own
    }
    if (checkState(kMirror) != BST_INDETERMINATE)
        p.mirror = checkState(kMirror) == BST_CHECKED ? 1 : 0;

    const int planes = static_cast<int>(::SendDlgItemMessage(m_hWnd, kBasePlane, CB_GETCOUNT)) - 1;
    const int plane = comboIndex(kBasePlane);
    if (plane >= 0 && plane < planes)
        p.basePlane = plane;
    switch (planeRadio()) {
    case kPlaneWcs: p.planeName = Kx_String(); break;
    case kPlaneCoordSys: p.planeName = kCoordSysPlane; break;
    case kPlaneProfile: p.planeName = kProfilePlane; break;
    default: break; // a part's plane keeps its name (set by a pick); 695 writes nothing
    }

    if (checkState(kExtension) != BST_INDETERMINATE)
        p.extraOn = checkState(kExtension) == BST_CHECKED ? 1 : 0;
    text(kExtensionValue, p.extraValue);
    if (!m_optionMode && checkState(kOption) != BST_INDETERMINATE)
        p.option = checkState(kOption) == BST_CHECKED ? 1 : 0;
    return ok;
}

bool ZnDlgMacroProfAdv::apply()
{
    const MacroProfData shown = m_prof;
    readData();
    MacroProfData p = m_prof;
    if (!m_callback || !m_callback(kMACallBackSet, m_data, p)) {
        // Refused: the dialog shows what it showed before the change.
        m_prof = shown;
        showData();
        return false;
    }
    m_prof = p;
    ++m_applies;
    showData();
    return true;
}

void ZnDlgMacroProfAdv::positionClicked(int position)
{
    const int index = comboIndexOfPosition(position);
    ::SendDlgItemMessage(m_hWnd, kOffsetType, CB_SETCURSEL, static_cast<WPARAM>(index));
    showOffsetChoice(index);
    enableControls();
    apply();
}

void ZnDlgMacroProfAdv::insertionChanged()
{
    const int entry = comboIndex(kInsertion);
    if (entry < 0 || entry >= static_cast<int>(std::size(kInsertionEntries)) || kInsertionEntries[entry].comboIndex < 0) {
        showOffsetChoice(comboIndex(kOffsetType));
        return;
    }
    ::SendDlgItemMessage(m_hWnd, kOffsetType, CB_SETCURSEL, static_cast<WPARAM>(kInsertionEntries[entry].comboIndex));
    showOffsetChoice(kInsertionEntries[entry].comboIndex);
    enableControls();
    apply();
}

void ZnDlgMacroProfAdv::pick(int button)
{
    readData();
    MacroProfData p = m_prof;
    bool picked = false;
    BeginEditorCommand();
    if (m_callback)
        m_callback(kMACallBackBeginPick, m_data, p);
    if (button == kPickPoint)
        picked = UserChooseSectionPoint(p);
    else if (button == kPickPlane)
        picked = UserSelectPlane(p);
    else
        picked = selectCoordSys(p);
    if (m_callback)
        m_callback(kMACallBackEndPick, m_data, p);
    CompleteEditorCommand();
    if (picked) {
        m_prof.offsetOn = p.offsetOn;
        m_prof.offsetType = p.offsetType;
        m_prof.offsets = p.offsets;
        m_prof.basePlane = p.basePlane;
        m_prof.planeName = p.planeName;
    }
    showData();
}

void ZnDlgMacroProfAdv::selectSection()
{
    DlgSelectProfData choice;
    choice.unknownName = kxss::selectionStartName(m_prof);
    if (!DlgSelectProf(choice, /*withTables=*/true, m_hWnd))
        return;
    readData();
    kxss::splitChosenProfile(choice.profName, m_prof.profileName, m_prof.sectionClass);
    showData();
}

BOOL ZnDlgMacroProfAdv::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (m_showing)
        return KxHostDialog::OnCommand(wParam, lParam);
    for (int p = 0; p < 9; ++p) {
        if (id == kPositionButtons[p] && code == BN_CLICKED) {
            positionClicked(p + 1);
            return TRUE;
        }
    }
    switch (id) {
    case kOffsetType:
        if (code == CBN_SELCHANGE) {
            showOffsetChoice(comboIndex(kOffsetType));
            enableControls();
            apply();
        }
        return TRUE;
    case kInsertion:
        if (code == CBN_SELCHANGE)
            insertionChanged();
        return TRUE;
    case kPickPoint:
    case kPickPlane:
    case kPickCoordSys:
        if (code == BN_CLICKED)
            pick(id);
        return TRUE;
    case kSelectSection:
    case kSelectClass:
        if (code == BN_CLICKED)
            selectSection();
        return TRUE;
    case kAngle0:
    case kAngle90:
    case kAngle180:
    case kAngle270:
    case kAngleVaries:
    case kAngleOther:
    case kExtension:
        if (code == BN_CLICKED)
            enableControls();
        return TRUE;
    default: break;
    }
    return KxHostDialog::OnCommand(wParam, lParam);
}

void ZnDlgMacroProfAdv::OnOK()
{
    // A refused number keeps the dialog open, so the user sees what was not taken.
    if (!readData())
        return;
    MacroProfData p = m_prof;
    if (m_callback && m_callback(kMACallBackSet, m_data, p)) {
        m_prof = p;
        ++m_applies;
    }
    if (m_optionMode)
        m_option = checkState(kOption) == BST_CHECKED;
    EndDialog(IDOK);
}

void ZnDlgMacroProfAdv::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    KxHostDialog::OnDestroy();
}
