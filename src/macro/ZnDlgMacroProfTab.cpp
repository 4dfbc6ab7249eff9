// The profile page of the macro dialog: its own controls for one group at a time, on top of the
// standard page's layout and grid.
#include "macro/ZnDlgMacroProfTab.h"

#include "core/DialogFunctions.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "frame/Launcher.h"
#include "macro/MacroProfSupport.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroProfSegmented.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <cmath>

namespace {

// The page's own controls: hidden together when every group has an advanced button of its own.
constexpr int kProfileControls[] = {
    ZnDlgMacroProfTab::kGroupLabel,    ZnDlgMacroProfTab::kGroup,     ZnDlgMacroProfTab::kObject,
    ZnDlgMacroProfTab::kBasePlaneLabel, ZnDlgMacroProfTab::kBasePlane, ZnDlgMacroProfTab::kRotationLabel,
    ZnDlgMacroProfTab::kPositionLabel, ZnDlgMacroProfTab::kPosition,  ZnDlgMacroProfTab::kProfileLabel,
    ZnDlgMacroProfTab::kProfile,       ZnDlgMacroProfTab::kSelect,    ZnDlgMacroProfTab::kPick,
    ZnDlgMacroProfTab::kRotation,      ZnDlgMacroTab::kAdvanced,
};

// Heights of the strip under the grid: all the page's controls, or only the segments button.
constexpr int kControlsStrip = 162;
constexpr int kSegmentsStrip = 20;

// A list plus text 695 when the shown value is the mark of differing values.
Kx_StringArray withVaries(Kx_StringArray list, bool varies)
{
    if (varies)
        list.append(dialString(695));
    return list;
}

} // namespace

ZnDlgMacroProfTab::ZnDlgMacroProfTab(ZnDlgMacro& owner, int tabIndex, AcDbObjectId temporary)
    : ZnDlgMacroTab(owner, tabIndex, kTemplateId, kGrid), m_temporary(temporary)
{
}

bool ZnDlgMacroProfTab::showsProfileControls() const
{
    const MacroData& data = m_owner.data();
    return m_tabIndex >= 0 && m_tabIndex < data.tabs.length() && !data.tabs[m_tabIndex].advBtnForEveryGroup();
}

int ZnDlgMacroProfTab::bottomRowHeight() const
{
    if (showsProfileControls())
        return kControlsStrip;
    const MacroData& data = m_owner.data();
    const bool segments = m_tabIndex >= 0 && m_tabIndex < data.tabs.length() && data.tabs[m_tabIndex].hasSegmentedProfs();
    return segments ? kSegmentsStrip : 0;
}

BOOL ZnDlgMacroProfTab::OnInitDialog()
{
    ZnDlgMacroTab::OnInitDialog();
    SetDlgItemText(kGroupLabel, dialString(1002).str());
    SetDlgItemText(kProfileLabel, dialString(1003).str());
    SetDlgItemText(kPositionLabel, dialString(1004).str());
    SetDlgItemText(kRotationLabel, (dialString(1005) + " (°):").str());
    SetDlgItemText(kBasePlaneLabel, dialString(1006).str());
    SetDlgItemText(kSelect, dialString(969).str());
    SetDlgItemText(kAdvanced, dialString(1007).str());
    SetDlgItemText(kPick, dialString(1008).str());
    SetDlgItemText(kSegments, dialString(1009).str());
    // The standard page hides its bolt row, the advanced button with it; here the button belongs to
    // the profile controls.
    const bool shown = showsProfileControls();
    for (int id : kProfileControls)
        ShowOrHideCtrl(this, id, shown);
    const MacroTabData* t = tab();
    ShowOrHideCtrl(this, kSegments, t != nullptr && t->hasSegmentedProfs());
    fillGroups();
    m_pageReady = true;
    showValues();
    placeProfileControls();
    return FALSE;
}

int ZnDlgMacroProfTab::selected(int id) const
{
    return static_cast<int>(::SendDlgItemMessage(m_hWnd, id, CB_GETCURSEL));
}

void ZnDlgMacroProfTab::fillGroups()
{
    const MacroTabData* t = tab();
    if (!t)
        return;
    Kx_StringArray groups;
    t->getProfGroups(groups);
    // The group chosen before stays chosen while it exists; otherwise the first.
    if (!groups.contains(m_group))
        m_group = groups.isEmpty() ? Kx_String() : groups[0];
    FillCombo(this, kGroup, groups, m_group);
    fillObjects();
}

void ZnDlgMacroProfTab::fillObjects()
{
    const MacroTabData* t = tab();
    if (!t)
        return;
    t->getProfIdsOfGroup(m_group, m_groupIds);
    Kx_StringArray entries;
    entries.append(dialString(1010));
    const kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    for (const AcDbObjectId& id : m_groupIds) {
        const kxhost::DrawingObject* o = drawing.object(id);
        entries.append(o != nullptr && !o->name.empty() ? Kx_String(o->name)
                                                        : Kx_String("#") + Kx_String(static_cast<int>(id.handle())));
    }
    if (m_object < 0 || m_object >= entries.length())
        m_object = 0;
    FillCombo(this, kObject, entries, m_object);
}

void ZnDlgMacroProfTab::showValues()
{
    ZnDlgMacroTab::showValues();
    if (m_pageReady)
        showGroupValues();
}

void ZnDlgMacroProfTab::showGroupValues()
{
    const MacroTabData* t = tab();
    MacroProfData merged;
    if (!t || !t->getMergedPropsOfGroup(m_group, merged))
        return;
    FillCombo(this, kProfile, kxss::offeredProfiles(*t, merged), merged.profileName);
    Kx_StringArray offsets, planes;
    getOffsetTypeStrings(false, offsets);
    getBasePlaneStrings(false, planes);
    const int offset = getDlgOffsetType(merged);
    FillCombo(this, kPosition, withVaries(offsets, offset < 0), offset >= 0 ? offset : offsets.length());
    FillCombo(this, kRotation, kxss::angleTexts(), kxss::angleShown(merged.angle));
    const bool planeKnown = merged.basePlane >= 0 && merged.basePlane < planes.length();
    FillCombo(this, kBasePlane, withVaries(planes, !planeKnown), planeKnown ? merged.basePlane : planes.length());
}

bool ZnDlgMacroProfTab::readBack()
{
    bool ok = ZnDlgMacroTab::readBack();
    MacroTabData* t = tab();
    MacroProfData merged;
    if (!m_pageReady || !t || !t->getMergedPropsOfGroup(m_group, merged))
        return ok;
    // A value is written only when it differs from the merged one and is neither empty nor text 695.
    const Kx_String profile = Kx_String(GetDlgItemText(kProfile)).trimmed();
    if (!profile.isEmpty() && !isVariesText(profile))
        merged.profileName = profile;
    Kx_StringArray offsets;
    getOffsetTypeStrings(false, offsets);
    const int offset = selected(kPosition);
    if (offset >= 0 && offset < offsets.length() && offset != getDlgOffsetType(merged)) {
        const int type = getProfOffsetType(offset);
        merged.offsetOn = type < 0 ? 0 : 1;
        if (type >= 0)
            merged.offsetType = type;
    }
    const Kx_String angle = Kx_String(GetDlgItemText(kRotation)).trimmed();
    double v = 0, now = 0;
    if (!angle.isEmpty() && !isVariesText(angle)) {
        if (!kxss::angleNumber(angle, v)) {
            ZnDlgMacro::NestedLoop box(m_owner);
            MessageBox(m_hWnd,
                       dialString(1005).str() + ": \"" + angle.str() + "\" " + dialString(9801).str() + " "
                           + merged.angle.str() + ".",
                       dialString(1098).str(), MB_OK | MB_ICONWARNING);
            SetDlgItemText(kRotation, kxss::angleShown(merged.angle).str());
            ok = false;
        } else if (!(kxss::angleNumber(merged.angle, now) && now == v)) {
            merged.angle = kxss::numberText(v, 3);
        }
    }
    Kx_StringArray planes;
    getBasePlaneStrings(false, planes);
    const int plane = selected(kBasePlane);
    if (plane >= 0 && plane < planes.length())
        merged.basePlane = plane;
    t->setMergedPropsOfGroup(m_group, merged);
    return ok;
}

void ZnDlgMacroProfTab::pickBasePlane()
{
    // Only a picked plane (0) and a coordinate system (2) are picked; the others need nothing.
    const int plane = selected(kBasePlane);
    MacroTabData* t = tab();
    MacroProfData merged;
    if ((plane != 0 && plane != 2) || !t || !t->getMergedPropsOfGroup(m_group, merged)) {
        commit();
        return;
    }
    bool picked = false;
    m_ready = false;
    {
        ZnDlgMacro::NestedLoop pick(m_owner);
        m_owner.ShowWindow(SW_HIDE);
        picked = plane == 2 ? selectCoordSys(merged) : UserSelectPlane(merged);
        m_owner.ShowWindow(SW_SHOW);
    }
    if (picked && (t = tab()) != nullptr) {
        const MacroTabData before = *t;
        t->setMergedPropsOfGroup(m_group, merged);
        m_owner.updateTab(m_tabIndex, before);
    } else {
        showGroupValues();
    }
    m_ready = true;
}

void ZnDlgMacroProfTab::openAdvanced(const Kx_String& group)
{
    if (!m_ready)
        return;
    m_ready = false;
    const bool hadTemporary = !m_temporary.isNull();
    kxss::runGroupAdvanced(m_owner, m_tabIndex, group.isEmpty() ? m_group : group, m_hWnd, /*openMode=*/false,
                           &m_temporary);
    // Erased: the macro no longer has a temporary object, so pages built later do not get it again.
    if (hadTemporary && m_temporary.isNull())
        m_owner.data().temporary = false;
    m_ready = true;
    showValues();
}

void ZnDlgMacroProfTab::openSegments()
{
    MacroTabData* t = tab();
    if (!m_ready || !t)
        return;
    m_ready = false;
    bool ok = false;
    Kx_Array<MacroProfSegmentedData> edited;
    {
        ZnDlgMacro::NestedLoop loop(m_owner);
        ZnTempResourceOverride resources;
        ZnDlgMacroProfSegmented dialog(m_hWnd);
        dialog.data() = t->segments;
        ok = kxss::runModal("ZnDlgMacroProfSegmented", dialog) == IDOK;
        edited = dialog.data();
    }
    if (ok && (t = tab()) != nullptr) {
        const MacroTabData before = *t;
        t->segments = edited;
        m_owner.updateTab(m_tabIndex, before);
    }
    m_ready = true;
}

BOOL ZnDlgMacroProfTab::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    switch (id) {
    case kGroup:
        if (code == CBN_SELCHANGE) {
            Kx_String chosen(GetDlgItemText(kGroup));
            if (!chosen.isEmpty() && chosen != m_group) {
                m_group = chosen;
                m_object = 0;
            }
            fillObjects();
            showValues();
        }
        return TRUE;
    case kObject:
        if (code == CBN_SELCHANGE) {
            m_object = std::max(selected(kObject), 0);
            // The chosen object shows in the drawing; the first entry is the whole group.
            kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
            drawing.unhighlightAll();
            if (m_object > 0 && m_object <= m_groupIds.length())
                drawing.highlight(m_groupIds[m_object - 1]);
            showValues();
        }
        return TRUE;
    case kProfile:
    case kPosition:
    case kRotation:
        if (code == CBN_SELCHANGE || (id == kRotation && code == CBN_KILLFOCUS))
            commit();
        return TRUE;
    case kBasePlane:
        if (code == CBN_SELCHANGE && m_ready)
            pickBasePlane();
        return TRUE;
    case kPick:
        if (code == BN_CLICKED && m_ready)
            pickBasePlane();
        return TRUE;
    case kSelect:
        if (code == BN_CLICKED && m_ready) {
            m_ready = false;
            kxss::selectGroupSection(m_owner, m_tabIndex, m_group, m_hWnd);
            m_ready = true;
        }
        return TRUE;
    case kAdvanced:
        if (code == BN_CLICKED)
            openAdvanced();
        return TRUE;
    case kSegments:
        if (code == BN_CLICKED)
            openSegments();
        return TRUE;
    default: break;
    }
    return ZnDlgMacroTab::OnCommand(wParam, lParam);
}

void ZnDlgMacroProfTab::OnSize(UINT type, int cx, int cy)
{
    ZnDlgMacroTab::OnSize(type, cx, cy);
    placeProfileControls();
}

void ZnDlgMacroProfTab::placeProfileControls()
{
    RECT client;
    GetClientRect(client);
    const int height = std::max<int>(client.bottom - client.top, 1);
    const int top = height - bottomRowHeight();
    const auto place = [&](int id, int x, int y, int w, int h) {
        if (HWND c = GetDlgItem(id))
            ::MoveWindow(c, x, top + y, w, h, TRUE);
    };
    if (!showsProfileControls()) {
        place(kSegments, 3, 0, 100, 18);
        return;
    }
    // Five rows of 30 pixels: label, list, button.
    place(kGroupLabel, 3, 9, 90, 16);
    place(kGroup, 96, 6, 150, 200);
    place(kObject, 252, 6, 150, 200);
    place(kProfileLabel, 3, 39, 90, 16);
    place(kProfile, 96, 36, 150, 200);
    place(kSelect, 252, 35, 80, 22);
    place(kPositionLabel, 3, 69, 90, 16);
    place(kPosition, 96, 66, 150, 200);
    place(kAdvanced, 252, 65, 80, 22);
    place(kRotationLabel, 3, 99, 90, 16);
    place(kRotation, 96, 96, 150, 200);
    place(kSegments, 252, 95, 80, 22);
    place(kBasePlaneLabel, 3, 129, 90, 16);
    place(kBasePlane, 96, 126, 150, 200);
    place(kPick, 252, 125, 80, 22);
}
