// The macro dialog's focus memory: one record per tab, by module name, taken when a tab is left (or
// the pages are about to be rebuilt) and put back when the tab shows again.
#include "macro/ZnDlgMacro.h"

#include "macro/ZnDlgMacroTab.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

void ZnDlgMacro::storeFocus(int tabIndex)
{
    ZnDlgMacroTab* p = page(tabIndex);
    if (p == nullptr || tabIndex < 0 || tabIndex >= m_data.tabs.length())
        return;
    ZnMacroTabFocus record;
    record.moduleName = m_data.tabs[tabIndex].moduleName;
    // A focus elsewhere (the tab strip just clicked, a button of the dialog) keeps what was stored.
    if (!p->captureFocus(record))
        return;
    for (ZnMacroTabFocus& r : m_focus) {
        if (r.moduleName == record.moduleName) {
            r = record;
            return;
        }
    }
    m_focus.push_back(record);
}

const ZnMacroTabFocus* ZnDlgMacro::focusRecord(const Kx_String& moduleName) const
{
    for (const ZnMacroTabFocus& r : m_focus)
        if (r.moduleName == moduleName)
            return &r;
    return nullptr;
}

void ZnDlgMacro::showTab(int item)
{
    if (m_focusReady)
        storeFocus(currentTab());
    SetActiveTab(item);
}

bool ZnDlgMacro::CanLeaveTab(int index)
{
    if (m_focusReady && index >= 0 && index < static_cast<int>(m_pageTab.size()))
        storeFocus(m_pageTab[static_cast<size_t>(index)]);
    return true;
}

void ZnDlgMacro::OnTabChanged(int index)
{
    // While the pages are being made the tab items run ahead of the page list: nothing to focus yet.
    if (m_focusReady && index >= 0 && index < static_cast<int>(m_pageTab.size()))
        focusShownTab();
}

void ZnDlgMacro::focusShownTab()
{
    const int tab = currentTab();
    ZnDlgMacroTab* p = page(tab);
    if (p == nullptr)
        return;
    const Kx_String module = m_data.tabs[tab].moduleName;
    if (!m_tabShown) {
        m_tabShown = true;
        p->focusFirst();
    } else if (const ZnMacroTabFocus* record = focusRecord(module)) {
        p->restoreFocus(*record);
    }
    m_lastShown = tab;
    m_shownModule = module;
}

BOOL ZnDlgMacro::PreTranslateMessage(const MSG& msg)
{
    if (m_focusReady && (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)) {
        const ZnDlgMacroTab* shown = page(currentTab());
        if (shown != nullptr && msg.hwnd != shown->m_hWnd && !IsChild(shown->m_hWnd, msg.hwnd))
            storeFocus(currentTab());
    }
    return KxHostTabDialog::PreTranslateMessage(msg);
}
