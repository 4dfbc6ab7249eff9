// The DSTV point group and point dialogs.
#include "detailing/ZnDlgDstvPoints.h"

#include "core/DialogFunctions.h"
#include "core/FileIO.h"
#include "core/FileNameCheck.h"
#include "core/Paths.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <algorithm>

namespace {

constexpr int kTextName = 87;
constexpr int kTextNew = 171;
constexpr int kTextNameLabel = 221;
constexpr int kTextClose = 285;
constexpr int kTextPointsTitle = 844;
constexpr int kTextPoint = 845;
constexpr int kTextProperties = 846;
constexpr int kTextByExtent = 847;
constexpr int kTextByIntersection = 848;
constexpr int kTextMiddle = 849;
constexpr int kTextAllViews = 854;
constexpr int kTextDistance = 851;
constexpr int kTextFullHole = 852;
constexpr int kTextByThickness = 853;
constexpr int kTextNewPoint = 855;
constexpr int kTextNameInUseCaption = 856;
constexpr int kTextNameInUse = 857;
constexpr int kTextChooseAnother = 858;
constexpr int kTextExtraOnThickness = 859;
constexpr int kTextDiameter = 860;
constexpr int kTextMakeStandard = 861;
constexpr int kTextEdit = 862;
constexpr int kTextGroupsTitle = 863;
constexpr int kTextNewGroup = 864;
constexpr int kTextInvalidInput = 1098;
constexpr int kTextNone = 1496;
constexpr int kTextFirstView = 1689;
constexpr int kTextSecondView = 1690;
constexpr int kTextNotANumber = 9801;
constexpr int kTextNotRead = 11005;
constexpr int kTextNotSaved = 11006;
constexpr int kTextNotCreated = 11007;
constexpr int kTextStandardNotSet = 11008;
constexpr int kTextNotDeleted = 11009;
// The second table's side names (top, bottom, left, right) and the word "View".
constexpr int kStringFirstSide = 10046;
constexpr int kStringView = 10157;

Kx_String quoted(const Kx_String& text)
{
    return Kx_String("\"") + text + "\"";
}

Kx_StringArray sideItems()
{
    Kx_StringArray items;
    for (int i = 0; i < Kx_DstvPointInfo::kSideCount; ++i)
        items.append(string(kStringFirstSide + i));
    return items;
}

Kx_StringArray viewItems()
{
    Kx_StringArray items;
    items.append(dialString(kTextAllViews));
    for (int v = 1; v < Kx_DstvPointInfo::kPlateSelectionCount - 1; ++v)
        items.append(string(kStringView) + " " + Kx_String(v));
    items.append(Kx_String("(") + dialString(kTextNone) + ")");
    return items;
}

int comboIndex(const CWnd* dialog, int id)
{
    return std::max(0, static_cast<int>(SendDlgItemMessage(dialog->m_hWnd, id, CB_GETCURSEL)));
}

} // namespace

// --- Points ----------------------------------------------------------------------------------------

ZnDlgDstvPoints::ZnDlgDstvPoints(const Kx_Array<Kx_DstvPointInfo>& points) : CDialog(kTemplateId), m_points(points)
{
    onCommand(kPointList, CBN_SELCHANGE, [this] { onSelChange(); });
    onCommand(kAddPoint, BN_CLICKED, [this] { addPoint(); });
    onCommand(kRemovePoint, BN_CLICKED, [this] { removePoint(); });
    // The two options are one choice, whatever lies between them in the tab order.
    onCommand(kByExtent, BN_CLICKED, [this] {
        CheckDlgButton(kByExtent, BST_CHECKED);
        CheckDlgButton(kByIntersection, BST_UNCHECKED);
        applyRules();
    });
    onCommand(kByIntersection, BN_CLICKED, [this] {
        CheckDlgButton(kByIntersection, BST_CHECKED);
        CheckDlgButton(kByExtent, BST_UNCHECKED);
        applyRules();
    });
    for (int id : {kFullHole, kByThickness, kMiddle})
        onCommand(id, BN_CLICKED, [this] { applyRules(); });
    onCommand(kSideA, CBN_SELCHANGE, [this] { sideChosen(kSideA); });
    onCommand(kSideB, CBN_SELCHANGE, [this] { sideChosen(kSideB); });
}

BOOL ZnDlgDstvPoints::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTextPointsTitle).str());
    SetDlgItemText(kPointLabel, dialString(kTextPoint).str());
    SetDlgItemText(kFrame, dialString(kTextProperties).str());
    SetDlgItemText(kNameLabel, dialString(kTextNameLabel).str());
    SetDlgItemText(kByExtent, dialString(kTextByExtent).str());
    SetDlgItemText(kByIntersection, dialString(kTextByIntersection).str());
    SetDlgItemText(kMiddle, dialString(kTextMiddle).str());
    SetDlgItemText(kViewALabel, dialString(kTextFirstView).str());
    SetDlgItemText(kViewBLabel, dialString(kTextSecondView).str());
    SetDlgItemText(kDistanceLabel, dialString(kTextDistance).str());
    SetDlgItemText(kFullHole, dialString(kTextFullHole).str());
    SetDlgItemText(kByThickness, dialString(kTextByThickness).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    for (int id : {kSideA, kSideB, kIntersectionSide})
        FillCombo(this, id, sideItems());
    for (int id : {kPlateA, kPlateB})
        FillCombo(this, id, viewItems());
    fillList(m_points.isEmpty() ? -1 : 0);
    loadPoint(m_points.isEmpty() ? -1 : 0);
    return TRUE;
}

void ZnDlgDstvPoints::OnOK()
{
    if (m_current >= 0 && !storePoint(m_current))
        return;
    CDialog::OnOK();
}

void ZnDlgDstvPoints::fillList(int select)
{
    Kx_StringArray names;
    for (const Kx_DstvPointInfo& p : m_points)
        names.append(p.name());
    FillCombo(this, kPointList, names, select);
}

void ZnDlgDstvPoints::loadPoint(int index)
{
    m_current = index >= 0 && index < m_points.length() ? index : -1;
    // Without a point the controls show a new point's values, disabled.
    const Kx_DstvPointInfo p = m_current >= 0 ? m_points[m_current] : Kx_DstvPointInfo();
    SetDlgItemText(kName, m_current >= 0 ? p.name().str() : std::string());
    const bool byIntersection = p.selectIntersGeom() && !p.selectGeomExtent();
    CheckDlgButton(kByExtent, byIntersection ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(kByIntersection, byIntersection ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessage(m_hWnd, kSideA, CB_SETCURSEL, static_cast<WPARAM>(p.extentSideA()));
    SendDlgItemMessage(m_hWnd, kSideB, CB_SETCURSEL, static_cast<WPARAM>(p.extentSideB()));
    SendDlgItemMessage(m_hWnd, kIntersectionSide, CB_SETCURSEL, static_cast<WPARAM>(p.intersectionSide()));
    CheckDlgButton(kMiddle, p.middle() ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessage(m_hWnd, kPlateA, CB_SETCURSEL, static_cast<WPARAM>(p.plateSelectionA()));
    SendDlgItemMessage(m_hWnd, kPlateB, CB_SETCURSEL, static_cast<WPARAM>(p.plateSelectionB()));
    SetDlgItemText(kDistance, Kx_String(p.minDistance(), 3).str());
    CheckDlgButton(kFullHole, p.drillFullHole() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kByThickness, p.diameterByThickness() ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kDiameter, Kx_String(p.holeDiameter(), 3).str());
    const bool any = m_current >= 0;
    for (int id : {kName, kByExtent, kByIntersection, kPlateA, kPlateB, kDistance, kFullHole, kRemovePoint})
        EnDisCtrl(this, id, any);
    applyRules();
    if (!any)
        for (int id : {kSideA, kSideB, kIntersectionSide, kMiddle, kByThickness, kDiameter, kDiameterLabel})
            EnDisCtrl(this, id, false);
}

bool ZnDlgDstvPoints::readNumber(int id, int labelId, double old, double& value)
{
    Kx_String text = Kx_String(GetDlgItemText(id)).trimmed();
    // Numbers are read the same under every locale; a decimal comma, as typed where the comma is
    // the decimal sign, is taken as the point.
    if (text.toDouble(value))
        return true;
    Kx_String withPoint = text;
    if (!text.hasSubString(".") && withPoint.replaceSubString(",", ".") == 1 && withPoint.toDouble(value))
        return true;
    Kx_String label(GetDlgItemText(labelId));
    MessageBox(m_hWnd, (label + ": " + quoted(text) + " " + dialString(kTextNotANumber) + " " + Kx_String(old, 3)).str(),
               dialString(kTextInvalidInput).str(), MB_OK | MB_ICONWARNING);
    SetDlgItemText(id, Kx_String(old, 3).str());
    value = old;
    return false;
}

bool ZnDlgDstvPoints::storePoint(int index)
{
    if (index < 0 || index >= m_points.length())
        return true;
    Kx_DstvPointInfo& p = m_points[index];
    double distance = p.minDistance();
    double diameter = p.holeDiameter();
    const bool distanceRead = readNumber(kDistance, kDistanceLabel, p.minDistance(), distance);
    const bool diameterRead = readNumber(kDiameter, kDiameterLabel, p.holeDiameter(), diameter);
    p.setName(Kx_String(GetDlgItemText(kName)));
    p.setSelectGeomExtent(IsDlgButtonChecked(kByExtent) == BST_CHECKED, comboIndex(this, kSideA), comboIndex(this, kSideB));
    p.setSelectIntersGeom(IsDlgButtonChecked(kByIntersection) == BST_CHECKED, IsDlgButtonChecked(kMiddle) == BST_CHECKED,
                          comboIndex(this, kIntersectionSide));
    p.setPlateSelection(static_cast<short>(comboIndex(this, kPlateA)), static_cast<short>(comboIndex(this, kPlateB)),
                        distance);
    p.setDrillFullHole(IsDlgButtonChecked(kFullHole) == BST_CHECKED, IsDlgButtonChecked(kByThickness) == BST_CHECKED,
                       diameter);
    return distanceRead && diameterRead;
}

void ZnDlgDstvPoints::onSelChange()
{
    const int next = static_cast<int>(SendDlgItemMessage(m_hWnd, kPointList, CB_GETCURSEL));
    storePoint(m_current);
    // A renamed point shows its new name in the list.
    fillList(next);
    loadPoint(next);
}

void ZnDlgDstvPoints::addPoint()
{
    storePoint(m_current);
    const std::optional<Kx_String> name = runPromptDialog(kTextName, kTextNewPoint, kTextNew, 1, 2, m_hWnd);
    if (!name)
        return;
    Kx_DstvPointInfo p;
    p.setName(*name);
    const int at = m_current >= 0 ? m_current : 0;
    m_points.insertAt(at, p);
    fillList(at);
    loadPoint(at);
}

void ZnDlgDstvPoints::removePoint()
{
    const int index = static_cast<int>(SendDlgItemMessage(m_hWnd, kPointList, CB_GETCURSEL));
    // Nothing selected: the list reports the invalid index on the command line.
    m_points.removeAt(index);
    const int keep = std::min(std::max(index, 0), m_points.length() - 1);
    m_current = -1;  // removed: nothing to store
    fillList(keep);
    loadPoint(keep);
}

void ZnDlgDstvPoints::applyRules()
{
    const bool extent = IsDlgButtonChecked(kByExtent) == BST_CHECKED;
    const bool intersection = IsDlgButtonChecked(kByIntersection) == BST_CHECKED;
    const bool full = IsDlgButtonChecked(kFullHole) == BST_CHECKED;
    EnDisCtrl(this, kSideA, extent);
    EnDisCtrl(this, kSideB, extent);
    EnDisCtrl(this, kIntersectionSide, intersection);
    EnDisCtrl(this, kMiddle, intersection);
    EnDisCtrl(this, kDiameterLabel, full);
    EnDisCtrl(this, kDiameter, full);
    EnDisCtrl(this, kByThickness, full && intersection);
    const bool byThickness = IsDlgButtonChecked(kByThickness) == BST_CHECKED;
    SetDlgItemText(kDiameterLabel, dialString(byThickness ? kTextExtraOnThickness : kTextDiameter).str());
}

void ZnDlgDstvPoints::sideChosen(int list)
{
    // The two sides are one of top/bottom (0, 1) and one of left/right (2, 3): picking a side of the
    // other list's pair moves the other list to the first side of the other pair.
    const int other = list == kSideA ? kSideB : kSideA;
    const int picked = comboIndex(this, list);
    const int otherSide = comboIndex(this, other);
    if (picked / 2 != otherSide / 2)
        return;
    SendDlgItemMessage(m_hWnd, other, CB_SETCURSEL, static_cast<WPARAM>(otherSide < 2 ? 2 : 0));
}

// --- Groups ----------------------------------------------------------------------------------------

ZnDlgDstvGroups::ZnDlgDstvGroups() : CDialog(kTemplateId)
{
    onCommand(kAdd, BN_CLICKED, [this] { addGroup(); });
    onCommand(kRemove, BN_CLICKED, [this] { removeGroup(); });
    onCommand(kMakeStandard, BN_CLICKED, [this] { makeStandard(); });
    onCommand(kEdit, BN_CLICKED, [this] { editGroup(); });
}

BOOL ZnDlgDstvGroups::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTextGroupsTitle).str());
    SetDlgItemText(kEdit, dialString(kTextEdit).str());
    SetDlgItemText(kMakeStandard, dialString(kTextMakeStandard).str());
    SetDlgItemText(IDOK, dialString(kTextClose).str());
    ShowOrHideCtrl(this, IDCANCEL, false);
    m_groups.SubclassDlgItem(kGroups, m_hWnd);
    fill(0);
    return TRUE;
}

void ZnDlgDstvGroups::fill(int select)
{
    DlgDstvPoints::getAllDstvPointsFiles(m_names);
    m_groups.ResetContent();
    for (const Kx_String& name : m_names)
        m_groups.AddString(name.str(), false);
    Kx_String standard;
    DlgDstvPoints::getStandardDstvPointsFile(standard);
    const Kx_String standardName = removeExtension(standard);
    int index = -1;
    if (!standardName.isEmpty() && m_names.find(standardName, index, /*exact=*/false))
        m_groups.SetCheck(index, true);
    if (!m_names.isEmpty())
        m_groups.SetCurSel(std::clamp(select, 0, m_names.length() - 1));
}

int ZnDlgDstvGroups::selected() const
{
    const int index = m_groups.GetCurSel();
    return index >= 0 && index < m_names.length() ? index : -1;
}

Kx_String ZnDlgDstvGroups::selectedName() const
{
    const int index = selected();
    return index >= 0 ? m_names[index] : Kx_String();
}

Kx_String ZnDlgDstvGroups::groupPath(const Kx_String& name) const
{
    Kx_String folder;
    DlgDstvPoints::getDstvPointsFolder(folder);
    return folder + name + ".dat";
}

void ZnDlgDstvGroups::message(const Kx_String& text)
{
    MessageBox(m_hWnd, text.str(), dialString(kTextGroupsTitle).str(), MB_OK | MB_ICONWARNING);
}

void ZnDlgDstvGroups::addGroup()
{
    const std::optional<Kx_String> typed = runPromptDialog(kTextName, kTextNewGroup, kTextNew, 1, 2, m_hWnd);
    if (!typed)
        return;
    const Kx_String name = typed->trimmed();
    // The name becomes a file name in the points folder: one plain name, nothing that leads out.
    if (!warnInvalidFileName(name, m_hWnd))
        return;
    if (m_names.contains(name, /*exact=*/false)) {
        MessageBox(m_hWnd, (dialString(kTextNameInUse) + ".\n" + dialString(kTextChooseAnother) + ".").str(),
                   dialString(kTextNameInUseCaption).str(), MB_OK | MB_ICONWARNING);
        return;
    }
    Kx_String folder;
    DlgDstvPoints::getDstvPointsFolder(folder);
    const Kx_String path = groupPath(name);
    if (!ObjectExportCreateDirectory(folder) || !ObjectExportWriteFile(path, Kx_StringArray())) {
        message(dialString(kTextNotCreated) + "\n" + quoted(path));
        return;
    }
    fill(selected());
}

void ZnDlgDstvGroups::removeGroup()
{
    const int index = selected();
    if (index < 0)
        return;
    const Kx_String path = groupPath(m_names[index]);
    if (!deleteFile(path))
        message(dialString(kTextNotDeleted) + "\n" + quoted(path));
    fill(index);
}

void ZnDlgDstvGroups::makeStandard()
{
    const int index = selected();
    if (index < 0)
        return;
    if (!DlgDstvPoints::setStandardDstvPointsFile(m_names[index]))
        message(dialString(kTextStandardNotSet) + "\n" + quoted(m_names[index]));
    fill(index);
}

void ZnDlgDstvGroups::editGroup()
{
    const int index = selected();
    if (index >= 0)
        editGroupFile(groupPath(m_names[index]), m_hWnd);
}

bool ZnDlgDstvGroups::editGroupFile(const Kx_String& path, HWND owner)
{
    auto tell = [&](int text, const std::string& error) {
        MessageBox(owner, (dialString(text) + "\n" + quoted(path) + "\n" + Kx_String(error)).str(),
                   dialString(kTextGroupsTitle).str(), MB_OK | MB_ICONWARNING);
    };
    Kx_Array<Kx_DstvPointInfo> points;
    std::string error;
    // A group that cannot be read is not opened: OK would replace it with what the dialog has.
    if (!DlgDstvPoints::readFromFile(path, points, &error)) {
        tell(kTextNotRead, error);
        return false;
    }
    for (;;) {
        ZnDlgDstvPoints dialog(points);
        dialog.setParentWindow(owner);
        if (dialog.DoModal() != IDOK)
            return false;
        // A failed save keeps the edited points: the dialog opens again on them.
        points = dialog.points();
        if (DlgDstvPoints::writeToFile(path, points, &error))
            return true;
        tell(kTextNotSaved, error);
    }
}
