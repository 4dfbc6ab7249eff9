// The macro dialog: its pages, buttons, filters, sizing and the close routine shared by modal and
// modeless use.
#include "macro/ZnDlgMacro.h"

#include "core/ClashCheck.h"
#include "core/DialogFunctions.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "macro/ZnDlgMacroTab.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Messages.h"

#include <algorithm>

namespace {

struct PictureButton {
    int id;
    int icon;
    int tooltip;
};
constexpr PictureButton kPictureButtons[7] = {
    {ZnDlgMacro::kSelectMacros, 217, 973},   {ZnDlgMacro::kViewIsoButton, 218, 974},
    {ZnDlgMacro::kViewFrontButton, 220, 975}, {ZnDlgMacro::kViewSideButton, 222, 976},
    {ZnDlgMacro::kViewTopButton, 221, 977},   {ZnDlgMacro::kReadProperties, 232, 978},
    {ZnDlgMacro::kWriteProperties, 233, 979},
};

} // namespace

ZnDlgMacro::ZnDlgMacro(HWND parent, int modelessIndex)
    : KxHostTabDialog(kTemplateId, kTabs, parent), m_modelessIndex(modelessIndex)
{
}

ZnDlgMacro::~ZnDlgMacro() = default;

BOOL ZnDlgMacro::OnInitDialog()
{
    SetWindowText(m_data.title.str());
    SetDlgItemText(IDOK, dialString(285).str());
    SetDlgItemText(kFirstFilterLabel, dialString(755).str());
    SetDlgItemText(kSecondFilterLabel, dialString(981).str());
    SetDlgItemText(kReApply, dialString(982).str());
    for (size_t i = 0; i < std::size(kPictureButtons); ++i) {
        const PictureButton& b = kPictureButtons[i];
        if (m_buttons[i].SubclassDlgItem(b.id, m_hWnd)) {
            m_buttons[i].SetIcon(b.icon);
            m_buttons[i].SetFlat(true);
            m_buttons[i].DrawFlatFocus(false);
            const Kx_String tip = dialString(b.tooltip);
            if (!tip.isEmpty())
                m_buttons[i].SetTooltipText(tip.str());
        }
    }
    CreateImageCheck(this, kClash, m_clashSwitch, 237, dialString(980));
    int w = 0, h = 0;
    if (getDlgSize(this, w, h))
        m_smallest = {w, h};
    attachResizer();

    buildPages();
    int initial = 0;
    if (m_data.findTab(m_data.initialTab, initial))
        for (size_t k = 0; k < m_pageTab.size(); ++k)
            if (m_pageTab[k] == initial)
                SetActiveTab(static_cast<int>(k));
    fillFilters();
    ChangeDlgSize(this, sizeKey(), /*sizeOnly=*/false);
    fitSize();

    clashInitDlgStarted(m_modelessIndex);
    clashResetInfo(m_modelessIndex, m_data.moduleIds);
    bool on = true;
    clashGetStatus(on);
    m_clashSwitch.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    clashcheck(m_modelessIndex, m_data.moduleIds);
    m_focusReady = true;
    focusShownTab();
    return FALSE;
}

void ZnDlgMacro::buildPages()
{
    // The tab shown before a rebuild is shown again when it still has a page.
    const int remembered = currentTab();
    // A rebuild after a filter change or a new selection runs outside the launcher: the page
    // template is the module's own resource.
    ZnTempResourceOverride resources;
    RemoveAllTabs();
    m_pages.clear();
    m_pageTab.clear();
    for (int i = 0; i < m_data.tabs.length(); ++i) {
        const int kind = m_data.tabs[i].kind;
        if (kind < 0 || kind > 3)
            continue; // no page and no tab item
        auto page = std::make_unique<ZnDlgMacroTab>(*this, i);
        ZnDlgMacroTab* raw = page.get();
        if (!AddTab(m_data.tabs[i].caption.str(), std::move(page), ZnDlgMacroTab::kTemplateId))
            continue;
        m_pages.push_back(raw);
        m_pageTab.push_back(i);
    }
    if (GetTabCount() > 0) {
        int active = 0;
        for (size_t k = 0; k < m_pageTab.size(); ++k)
            if (m_pageTab[k] == remembered)
                active = static_cast<int>(k);
        // Refiltered tabs may have moved: the tab shown before is found by its module.
        for (size_t k = 0; k < m_pageTab.size(); ++k)
            if (!m_shownModule.isEmpty() && m_data.tabs[m_pageTab[k]].moduleName == m_shownModule)
                active = static_cast<int>(k);
        SetActiveTab(active);
    }
    Kx_String reason;
    const bool files = m_data.propListAllowed(reason);
    EnDisCtrl(this, kReadProperties, files);
    EnDisCtrl(this, kWriteProperties, files);
}

ZnDlgMacroTab* ZnDlgMacro::page(int tabIndex) const
{
    for (size_t k = 0; k < m_pageTab.size(); ++k)
        if (m_pageTab[k] == tabIndex)
            return m_pages[k];
    return nullptr;
}

int ZnDlgMacro::currentTab() const
{
    const int active = GetActiveTab();
    return active >= 0 && active < static_cast<int>(m_pageTab.size()) ? m_pageTab[static_cast<size_t>(active)] : -1;
}

Kx_String ZnDlgMacro::sizeKey() const
{
    Kx_String key("DLG_MACRO_EDITVARS_");
    if (m_data.numberOfMacros == 1) {
        if (!m_data.macroNames.isEmpty())
            key.append(m_data.macroNames[0]);
    } else if (m_data.firstFilterSel >= 0 && m_data.firstFilterSel < m_data.groupNames.length()) {
        key.append("GROUP_").append(m_data.groupNames[m_data.firstFilterSel]);
    } else {
        key.append(m_data.numberOfMacros).append("_MACROS");
    }
    return key;
}

void ZnDlgMacro::fillFilters()
{
    const auto fill = [&](int id, const Kx_StringArray& entries, int selected) {
        ::SendMessage(GetDlgItem(id), CB_RESETCONTENT, 0, 0);
        for (const Kx_String& e : entries)
            ::SendMessage(GetDlgItem(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
        const bool valid = selected >= 0 && selected < entries.length();
        ::SendMessage(GetDlgItem(id), CB_SETCURSEL, static_cast<WPARAM>(valid ? selected : -1), 0);
    };
    fill(kFirstFilter, m_data.firstFilter, m_data.firstFilterSel);
    fill(kSecondFilter, m_data.secondFilter, m_data.secondFilterSel);
}

bool ZnDlgMacro::updateTab(int tabIndex, const MacroTabData& before)
{
    if (tabIndex < 0 || tabIndex >= m_data.tabs.length())
        return false;
    Kx_StringArray names;
    Kx_Array<int> a, b;
    if (!m_data.tabs[tabIndex].differences(before, names, a, b))
        return false;
    const Kx_String module = m_data.tabs[tabIndex].moduleName;
    const bool changed = UpdateModule(module, m_data, a, b);
    ++m_updates;
    if (changed)
        clashcheck(m_modelessIndex, m_data.moduleIds);
    // The drawing may have corrected a value: every page shows what it holds now.
    refreshPages();
    acedPostCommandPrompt();
    return changed;
}

void ZnDlgMacro::refreshPages()
{
    for (ZnDlgMacroTab* p : m_pages)
        if (p != nullptr)
            p->showValues();
    bool on = true;
    clashGetStatus(on);
    m_clashSwitch.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ZnDlgMacro::viewButton(Kx_ViewDirection direction)
{
    const int tab = currentTab();
    if (tab >= 0)
        m_data.changeView(m_data.tabs[tab].moduleName, direction);
}

BOOL ZnDlgMacro::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    switch (id) {
    case kViewIsoButton: viewButton(kViewIso); return TRUE;
    case kViewFrontButton: viewButton(kViewFront); return TRUE;
    case kViewSideButton: viewButton(kViewSide); return TRUE;
    case kViewTopButton: viewButton(kViewTop); return TRUE;
    case kClash: {
        const bool on = m_clashSwitch.SendMessage(BM_GETCHECK, 0, 0) == BST_CHECKED;
        clashSetStatus(on);
        if (on)
            clashcheck(m_modelessIndex, m_data.moduleIds);
        return TRUE;
    }
    case kReadProperties: readPropertyFile(); return TRUE;
    case kWriteProperties: writePropertyFile(); return TRUE;
    case kReApply:
        if (m_data.reApply())
            close();
        return TRUE;
    case kSelectMacros: {
        storeFocus(currentTab());
        bool changed = false;
        {
            NestedLoop pick(*this);
            ShowWindow(SW_HIDE);
            changed = SelectOtherMacros(&m_data);
            ShowWindow(SW_SHOW);
        }
        if (changed) {
            buildPages();
            fillFilters();
            clashResetInfo(m_modelessIndex, m_data.moduleIds);
            fitSize();
        }
        return TRUE;
    }
    case kFirstFilter:
    case kSecondFilter:
        if (code == CBN_SELCHANGE) {
            m_data.firstFilterSel = static_cast<int>(::SendMessage(GetDlgItem(kFirstFilter), CB_GETCURSEL, 0, 0));
            m_data.secondFilterSel = static_cast<int>(::SendMessage(GetDlgItem(kSecondFilter), CB_GETCURSEL, 0, 0));
            storeFocus(currentTab());
            UpdateAllFilterModified(&m_data, id == kFirstFilter);
            buildPages();
            fillFilters();
            fitSize();
        }
        return TRUE;
    default:
        break;
    }
    return KxHostTabDialog::OnCommand(wParam, lParam);
}

void ZnDlgMacro::cancelNested()
{
    if (m_nested == 0)
        return;
    // A message box or sub-dialog of the dialog or of one of its pages: the active window it owns.
    HWND active = GetActiveWindow();
    if (active == nullptr || active == m_hWnd)
        return;
    const HWND owner = ::GetParent(active) != nullptr ? ::GetParent(active) : GetOwner(active);
    if (owner == m_hWnd || (owner != nullptr && IsChild(m_hWnd, owner)))
        ::EndDialog(active, IDCANCEL);
}

void ZnDlgMacro::close()
{
    const int tab = currentTab();
    if (tab >= 0)
        m_data.changeView(m_data.tabs[tab].moduleName, kViewIso);
    m_data.setClosed(true);
    if (m_modelessIndex >= 0) {
        EndDlgMacroModeless(m_modelessIndex);
        return;
    }
    acedPostCommandPrompt();
    EndDialog(IDOK);
}

void ZnDlgMacro::OnDestroy()
{
    WriteDlgSize(this, sizeKey());
    clashDlgClosed(m_modelessIndex);
    m_pages.clear();
    m_pageTab.clear();
    KxHostTabDialog::OnDestroy();
}

void ZnDlgMacro::fitSize()
{
    if (!m_sized)
        return;
    RECT r;
    GetWindowRect(r);
    MINMAXINFO info{};
    OnGetMinMaxInfo(&info);
    const int w = std::max<int>(r.right - r.left, info.ptMinTrackSize.x);
    const int h = std::max<int>(r.bottom - r.top, info.ptMinTrackSize.y);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
}

void ZnDlgMacro::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (!m_sized) {
        info->ptMinTrackSize = {280, 300};
        return;
    }
    int w = 0, h = 0;
    for (ZnDlgMacroTab* p : m_pages) {
        if (!p)
            continue;
        const SIZE need = p->neededSize();
        w = std::max<int>(w, need.cx);
        h = std::max<int>(h, need.cy);
    }
    info->ptMinTrackSize = {std::max<int>(w + 47, m_smallest.cx), std::max<int>(h + 160, m_smallest.cy)};
}

void ZnDlgMacro::OnSize(UINT type, int cx, int cy)
{
    const bool first = !m_sized;
    m_sized = true;
    m_resizer.apply();
    KxHostTabDialog::OnSize(type, cx, cy);
    if (first)
        fitSize();
}

void ZnDlgMacro::attachResizer()
{
    // Each edge as (mode, relative control, relative edge): the tab control follows all four edges,
    // the buttons keep their size at the bottom left (the property-file buttons and Close at the
    // bottom right), and the filter row shares the width between its two label-and-combo pairs.
    const auto e = [](int mode, int id, int edge) { return CResizerEdge{mode, id, edge}; };
    std::vector<CResizerEntry> table;
    table.push_back({kTabs, e(1, 0, 1), e(1, 0, 2), e(1, 0, 3), e(1, 0, 4)});
    for (int id : {kSelectMacros, kViewIsoButton, kViewFrontButton, kViewSideButton, kViewTopButton, kClash, kReApply})
        table.push_back({id, e(1, 0, 1), e(1, 0, 4), e(3, 0, 3), e(4, 0, 4)});
    table.push_back({kFirstFilterLabel, e(1, 0, 1), e(1, 0, 4), e(2, 0, 1), e(4, 0, 4)});
    table.push_back({kFirstFilter, e(1, 0, 1), e(1, 0, 4), e(1, kFirstFilterLabel, 3), e(4, 0, 4)});
    table.push_back({kSecondFilterLabel, e(1, kFirstFilterLabel, 3), e(1, 0, 4), e(1, 0, 3), e(4, 0, 4)});
    table.push_back({kSecondFilter, e(1, kSecondFilterLabel, 1), e(1, 0, 4), e(1, 0, 3), e(4, 0, 4)});
    for (int id : {kReadProperties, kWriteProperties, static_cast<int>(IDOK)})
        table.push_back({id, e(1, 0, 3), e(1, 0, 4), e(3, 0, 3), e(4, 0, 4)});
    m_resizer.attach(this, std::move(table));
}
