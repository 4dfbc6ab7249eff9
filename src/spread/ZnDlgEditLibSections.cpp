// The section library editor: the dialog, its groups and types pages. The tables page is in
// ZnDlgEditLibSectionsTables.cpp.
#include "spread/ZnDlgEditLibSections.h"

#include "core/DialogFunctions.h"
#include "core/MacroLangs.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Messages.h"

#include <algorithm>

namespace {

constexpr int kTextTitle = 754;
constexpr int kTextGroupsTab = 755;
constexpr int kTextTypesTab = 756;
constexpr int kTextTablesTab = 757;
constexpr int kTextName = 87;

// The entry a list shows selected; -1 when none or outside count.
int selectionIn(const CCheckComboBox& list, int count)
{
    const int sel = list.GetCurSel();
    return sel >= 0 && sel < count ? sel : -1;
}

} // namespace

void ZnSectionLibPage::OnOK()
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void ZnSectionLibPage::OnCancel()
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

ZnDlgEditLibSections::ZnDlgEditLibSections(const DlgEditLibData& data, const Kx_String& profileName, HWND parent)
    : KxHostTabDialog(kTemplateId, kTabs, parent), m_data(data), m_profile(profileName.trimmed())
{
}

ZnDlgEditLibSections::~ZnDlgEditLibSections() = default;

BOOL ZnDlgEditLibSections::OnInitDialog()
{
    KxHostTabDialog::OnInitDialog();
    SetWindowText(dialString(kTextTitle).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    RECT r{};
    ::GetWindowRect(m_hWnd, r);
    m_minSize = SIZE{r.right - r.left, r.bottom - r.top};
    m_resizer.attach(this, {
                               {kTabs, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                               {IDOK, {3, 0, 0}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
                               {IDCANCEL, {3, 0, 0}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
                           });

    m_data.GetAvailableFiles();
    createPages();
    if (GetTabCount() != 3) {
        acutPrintf("*Error* The section library editor could not make its pages.\n");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    if (m_profile.isEmpty()) {
        SetActiveTab(kGroupsPage);
    } else {
        SetActiveTab(kTablesPage);
        selectProfile(m_profile);
    }
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);
    int w = 0, h = 0;
    if (getDlgSize(this, w, h))
        acutPrintf("\nwidth: %i  ---  height: %i", w, h);
    LayoutPages();
    return TRUE;
}

void ZnDlgEditLibSections::OnGetMinMaxInfo(MINMAXINFO* info)
{
    KxHostTabDialog::OnGetMinMaxInfo(info);
    if (info != nullptr && m_minSize.cx > 0) {
        info->ptMinTrackSize.x = m_minSize.cx;
        info->ptMinTrackSize.y = m_minSize.cy;
    }
}

void ZnDlgEditLibSections::OnSize(UINT type, int cx, int cy)
{
    // The tab control first, then the pages into its new area.
    if (m_resizer.isAttached())
        m_resizer.apply();
    KxHostTabDialog::OnSize(type, cx, cy);
}

void ZnDlgEditLibSections::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    for (ZnResizer& r : m_pageResizers)
        r.detach();
    KxHostTabDialog::OnDestroy();
}

void ZnDlgEditLibSections::OnOK()
{
    if (!leaveTable())
        return;
    storeGroup();
    storeType();
    EndDialog(IDOK);
}

void ZnDlgEditLibSections::OnTabChanged(int index)
{
    // The types page names the groups: show it with the groups as the groups page has them now.
    if (index == kTypesPage) {
        storeGroup();
        storeType();
        showType(m_type);
    }
}

void ZnDlgEditLibSections::createPages()
{
    {
        ZnTempResourceOverride resources;
        const int titles[3] = {kTextGroupsTab, kTextTypesTab, kTextTablesTab};
        for (int i = 0; i < 3; ++i)
            AddTab(dialString(titles[i]).str(), std::make_unique<ZnSectionLibPage>(kPageTemplates[i]),
                   kPageTemplates[i]);
    }
    setUpGroupsPage();
    setUpTypesPage();
    setUpTablesPage();
    const CResizerEdge left{1, 0, 1}, top{1, 0, 2}, right{1, 0, 3}, bottom{1, 0, 4};
    for (Page p : {kGroupsPage, kTypesPage})
        if (page(p) != nullptr)
            m_pageResizers[p].attach(page(p), {
                                                  {kFrame, left, top, right, {4, 0, 0}},
                                                  {kNamesFrame, left, top, right, bottom},
                                                  {kNamesGrid, left, top, right, bottom},
                                              });
    if (page(kTablesPage) != nullptr)
        m_pageResizers[kTablesPage].attach(page(kTablesPage), {{kTableGrid, left, top, right, bottom}});
}

void ZnDlgEditLibSections::pictureButton(CDialog* p, int id, int icon, int tip)
{
    auto button = std::make_unique<CButtonST>();
    if (!button->SubclassDlgItem(id, p->m_hWnd))
        return;
    {
        ZnTempResourceOverride resources;
        button->SetIcon(icon);
    }
    button->SetFlat(true);
    button->SetTooltipText(dialString(tip).str());
    m_buttons.push_back(std::move(button));
}

// --- Names per language ----------------------------------------------------------------------------

void ZnDlgEditLibSections::setUpNamesGrid(CDialog* p, Kx_Spread& grid)
{
    grid.attach(p, kNamesGrid, /*exactRect=*/true);
    grid.setStandardLook(1);
    grid.setColCount(1);
    grid.setRowCount(MacroLangs::LanguageCount);
    grid.setColumnHeaders({dialString(kTextName)});
    grid.setRowHeaders(MacroLangs::GetAllLanguages());
    // The names take most of the width; the language headers the rest.
    grid.setFitMode(3, 1, 75);
    grid.fitToWindow();
}

void ZnDlgEditLibSections::showNames(Kx_Spread& grid, const Kx_StringArray& names)
{
    Kx_StringArray shown = names;
    shown.setLogicalLength(MacroLangs::LanguageCount);
    grid.setColumn(1, shown);
}

Kx_StringArray ZnDlgEditLibSections::readNames(Kx_Spread& grid)
{
    grid.leaveEditMode();
    Kx_StringArray names;
    grid.getColumn(1, names, Kx_Spread::kTextValue);
    names.setLogicalLength(MacroLangs::LanguageCount);
    return names;
}

// --- Groups page -----------------------------------------------------------------------------------

void ZnDlgEditLibSections::setUpGroupsPage()
{
    CDialog* p = page(kGroupsPage);
    if (p == nullptr)
        return;
    m_groupList.SubclassDlgItem(kGroupList, p->m_hWnd);
    p->SetDlgItemText(kNew, dialString(758).str());
    p->SetDlgItemText(kDelete, dialString(759).str());
    p->SetDlgItemText(kFrame, dialString(760).str());
    p->SetDlgItemText(kEnabled, dialString(761).str());
    p->SetDlgItemText(kImageLabel, dialString(762).str());
    p->SetDlgItemText(kNamesFrame, dialString(763).str());
    FillCombo(p, kImage, m_data.groupImages);
    setUpNamesGrid(p, m_groupNames);

    p->onCommand(kGroupList, CBN_SELCHANGE, [this] { onGroupSelected(); });
    p->onCommand(kGroupList, CBN_CHECKCHANGE, [this] { onGroupCheckChanged(); });
    p->onCommand(kNew, BN_CLICKED, [this] { onNewGroup(); });
    p->onCommand(kDelete, BN_CLICKED, [this] { onDeleteGroup(); });
    p->onCommand(kEnabled, BN_CLICKED, [this] {
        // The list's check mark follows the switch at once.
        storeGroup();
        fillGroupList(m_group);
    });
    fillGroupList(m_data.groups.groupCount() > 0 ? 0 : -1);
}

void ZnDlgEditLibSections::fillGroupList(int select)
{
    m_groupList.ResetContent();
    Kx_StringArray names;
    Kx_Array<int> ids;
    m_data.groups.namesOfAllGroups(names, ids);
    for (int g = 0; g < names.length(); ++g)
        m_groupList.AddString(names[g].str(), m_data.groups.getEnabled(g));
    if (select >= names.length())
        select = names.length() - 1;
    m_groupList.SetCurSel(select);
    showGroup(select);
}

void ZnDlgEditLibSections::showGroup(int index)
{
    CDialog* p = page(kGroupsPage);
    m_group = index >= 0 && index < m_data.groups.groupCount() ? index : -1;
    const bool any = m_group >= 0;
    for (int id : {kDelete, kEnabled, kImage})
        EnDisCtrl(p, id, any);
    p->CheckDlgButton(kEnabled, any && m_data.groups.getEnabled(m_group) ? BST_CHECKED : BST_UNCHECKED);
    FillCombo(p, kImage, m_data.groupImages, any ? m_data.groups.getImage(m_group) : Kx_String());
    showNames(m_groupNames, any ? m_data.groups.getLangs(m_group) : Kx_StringArray());
}

void ZnDlgEditLibSections::storeGroup()
{
    if (m_group < 0 || m_group >= m_data.groups.groupCount())
        return;
    CDialog* p = page(kGroupsPage);
    m_data.groups.setEnabled(m_group, p->IsDlgButtonChecked(kEnabled) == BST_CHECKED);
    m_data.groups.setImage(m_group, Kx_String(p->GetDlgItemText(kImage)));
    m_data.groups.setLangs(m_group, readNames(m_groupNames));
}

void ZnDlgEditLibSections::onGroupSelected()
{
    storeGroup();
    // The names may have changed the list's texts.
    fillGroupList(selectionIn(m_groupList, m_data.groups.groupCount()));
}

void ZnDlgEditLibSections::onGroupCheckChanged()
{
    const int toggled = m_groupList.lastToggledItem();
    if (toggled < 0 || toggled >= m_data.groups.groupCount())
        return;
    storeGroup();
    m_data.groups.setEnabled(toggled, m_groupList.GetCheck(toggled));
    if (toggled == m_group)
        page(kGroupsPage)->CheckDlgButton(kEnabled, m_groupList.GetCheck(toggled) ? BST_CHECKED : BST_UNCHECKED);
}

void ZnDlgEditLibSections::onNewGroup()
{
    storeGroup();
    fillGroupList(m_data.groups.appendNewGrp());
}

void ZnDlgEditLibSections::onDeleteGroup()
{
    if (m_group < 0 || m_group >= m_data.groups.groupCount())
        return;
    // The types page's values are taken first, so that its shown type loses the group too.
    storeType();
    const int id = m_data.groups.group(m_group).number;
    const int at = m_group;
    m_data.groups.removeAt(at);
    // A type of the removed group belongs to no group from now on, rather than to an id nobody has.
    for (SectionType& t : m_data.types)
        if (t.group == id)
            t.group = -1;
    m_group = -1;
    fillGroupList(std::min(at, m_data.groups.groupCount() - 1));
    showType(m_type);
}

// --- Types page ------------------------------------------------------------------------------------

void ZnDlgEditLibSections::setUpTypesPage()
{
    CDialog* p = page(kTypesPage);
    if (p == nullptr)
        return;
    m_typeList.SubclassDlgItem(kTypeList, p->m_hWnd);
    p->SetDlgItemText(kNew, dialString(764).str());
    p->SetDlgItemText(kDelete, dialString(765).str());
    p->SetDlgItemText(kFrame, dialString(760).str());
    p->SetDlgItemText(kEnabled, dialString(761).str());
    p->SetDlgItemText(kImageLabel, dialString(762).str());
    p->SetDlgItemText(kGroupLabel, dialString(769).str());
    p->SetDlgItemText(kFileLabel, dialString(770).str());
    p->SetDlgItemText(kNamesFrame, dialString(771).str());
    setUpNamesGrid(p, m_typeNames);

    p->onCommand(kTypeList, CBN_SELCHANGE, [this] { onTypeSelected(); });
    p->onCommand(kTypeList, CBN_CHECKCHANGE, [this] { onTypeCheckChanged(); });
    p->onCommand(kNew, BN_CLICKED, [this] { onNewType(); });
    p->onCommand(kDelete, BN_CLICKED, [this] { onDeleteType(); });
    p->onCommand(kEnabled, BN_CLICKED, [this] {
        storeType();
        fillTypeList(m_type);
    });
    fillTypeList(m_data.types.isEmpty() ? -1 : 0);
}

void ZnDlgEditLibSections::fillTypeList(int select)
{
    m_typeList.ResetContent();
    for (const SectionType& t : m_data.types)
        m_typeList.AddString(t.getName().str(), t.enabled);
    if (select >= m_data.types.length())
        select = m_data.types.length() - 1;
    m_typeList.SetCurSel(select);
    showType(select);
}

void ZnDlgEditLibSections::showType(int index)
{
    CDialog* p = page(kTypesPage);
    if (p == nullptr)
        return;
    m_type = index >= 0 && index < m_data.types.length() ? index : -1;
    const bool any = m_type >= 0;
    for (int id : {kDelete, kEnabled, kImage, kGroupOfType, kFile})
        EnDisCtrl(p, id, any);
    const SectionType empty;
    const SectionType& t = any ? m_data.types[m_type] : empty;
    p->CheckDlgButton(kEnabled, any && t.enabled ? BST_CHECKED : BST_UNCHECKED);
    FillCombo(p, kImage, m_data.typeImages, t.image);
    Kx_StringArray names;
    m_data.groups.namesOfAllGroups(names, m_groupIds);
    int group = -1;
    m_groupIds.find(t.group, group);
    FillCombo(p, kGroupOfType, names, any ? group : -1);
    p->SetDlgItemText(kFile, t.file.str());
    showNames(m_typeNames, t.names);
}

void ZnDlgEditLibSections::storeType()
{
    if (m_type < 0 || m_type >= m_data.types.length())
        return;
    CDialog* p = page(kTypesPage);
    SectionType& t = m_data.types[m_type];
    t.enabled = p->IsDlgButtonChecked(kEnabled) == BST_CHECKED;
    t.image = Kx_String(p->GetDlgItemText(kImage));
    const int sel = static_cast<int>(::SendMessage(p->GetDlgItem(kGroupOfType), CB_GETCURSEL, 0, 0));
    t.group = sel >= 0 && sel < m_groupIds.length() ? m_groupIds[sel] : -1;
    t.file = Kx_String(p->GetDlgItemText(kFile));
    t.names = readNames(m_typeNames);
}

void ZnDlgEditLibSections::onTypeSelected()
{
    storeType();
    fillTypeList(selectionIn(m_typeList, m_data.types.length()));
}

void ZnDlgEditLibSections::onTypeCheckChanged()
{
    const int toggled = m_typeList.lastToggledItem();
    if (toggled < 0 || toggled >= m_data.types.length())
        return;
    storeType();
    m_data.types[toggled].enabled = m_typeList.GetCheck(toggled);
    if (toggled == m_type)
        page(kTypesPage)->CheckDlgButton(kEnabled, m_typeList.GetCheck(toggled) ? BST_CHECKED : BST_UNCHECKED);
}

void ZnDlgEditLibSections::onNewType()
{
    storeType();
    SectionType type;
    type.names = Kx_StringArray({Kx_String("Nieuw type"), Kx_String("New type"), Kx_String("Nouveau type")});
    m_data.types.append(type);
    fillTypeList(m_data.types.length() - 1);
}

void ZnDlgEditLibSections::onDeleteType()
{
    if (m_type < 0 || m_type >= m_data.types.length())
        return;
    const int at = m_type;
    m_data.types.removeAt(at);
    m_type = -1;
    fillTypeList(std::min(at, m_data.types.length() - 1));
}
