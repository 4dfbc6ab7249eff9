// Tabbed main dialog of the host.
#include "platform/host/HostTabDialog.h"

#include "platform/win/CommCtrl.h"

KxHostTabDialog::~KxHostTabDialog() = default;

bool KxHostTabDialog::AddTab(const std::string& title, std::unique_ptr<CDialog> page, int pageTemplateId)
{
    HWND tabs = tabControl();
    if (m_hWnd == nullptr || tabs == nullptr || page == nullptr)
        return false;
    const DialogTemplate* found = FindDialogTemplate(pageTemplateId);
    if (found == nullptr)
        return false;
    // A page is a control-parent child, so the dialog keys reach into it.
    DialogTemplate pageTemplate = *found;
    pageTemplate.style = (pageTemplate.style & ~(WS_POPUP | WS_CAPTION | WS_VISIBLE)) | WS_CHILD | DS_CONTROL;
    pageTemplate.exStyle |= WS_EX_CONTROLPARENT;
    if (CreateDialogFromTemplate(pageTemplate, m_hWnd, page.get()) == nullptr)
        return false;

    TCITEM item;
    item.mask = TCIF_TEXT;
    std::string text = title;
    item.pszText = text.data();
    const int index = static_cast<int>(m_pages.size());
    ::SendMessage(tabs, TCM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    // Pages follow the tab control (and the pages before them) in z-order, which is the tab order:
    // tabs, the visible page's controls, then the dialog's other controls.
    HWND after = m_pages.empty() ? tabs : m_pages.back()->m_hWnd;
    ::SetWindowPos(page->m_hWnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_pages.push_back(std::move(page));
    LayoutPages();
    if (m_active < 0)
        SetActiveTab(0);
    return true;
}

void KxHostTabDialog::RemoveAllTabs()
{
    if (HWND tabs = tabControl())
        ::SendMessage(tabs, TCM_DELETEALLITEMS);
    for (auto& page : m_pages) {
        if (page->m_hWnd != nullptr)
            page->DestroyWindow();
    }
    m_pages.clear();
    m_active = -1;
}

void KxHostTabDialog::SetActiveTab(int index)
{
    if (index < 0 || index >= GetTabCount())
        return;
    HWND focus = ::GetFocus();
    const bool focusWasOnPage = m_active >= 0 && (IsChild(m_pages[m_active]->m_hWnd, focus));
    for (int i = 0; i < GetTabCount(); ++i)
        ::ShowWindow(m_pages[i]->m_hWnd, i == index ? SW_SHOW : SW_HIDE);
    m_active = index;
    if (HWND tabs = tabControl(); tabs && ::SendMessage(tabs, TCM_GETCURSEL) != index)
        ::SendMessage(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index));
    if (focusWasOnPage) {
        if (HWND first = GetNextDlgTabItem(m_pages[index]->m_hWnd, nullptr, FALSE))
            ::SetFocus(first);
    }
    OnTabChanged(index);
}

CDialog* KxHostTabDialog::GetPage(int index) const
{
    if (index < 0 || index >= GetTabCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)].get();
}

void KxHostTabDialog::LayoutPages()
{
    HWND tabs = tabControl();
    if (tabs == nullptr)
        return;
    RECT area = GetWindowRectInParent(tabs);
    ::SendMessage(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (auto& page : m_pages)
        ::MoveWindow(page->m_hWnd, area.left, area.top, area.width(), area.height(), TRUE);
}

BOOL KxHostTabDialog::PreTranslateMessage(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN && msg.wParam == static_cast<WPARAM>(VK_TAB) && (GetKeyState(VK_CONTROL) & 0x8000) &&
        GetTabCount() > 1 && (msg.hwnd == m_hWnd || IsChild(m_hWnd, msg.hwnd))) {
        const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        const int next = (m_active + (back ? GetTabCount() - 1 : 1)) % GetTabCount();
        if (CanLeaveTab(m_active))
            SetActiveTab(next);
        return TRUE;
    }
    return KxHostDialog::PreTranslateMessage(msg);
}

BOOL KxHostTabDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->hwndFrom == tabControl()) {
        if (header->code == TCN_SELCHANGING) {
            *result = CanLeaveTab(m_active) ? FALSE : TRUE;
            return TRUE;
        }
        if (header->code == TCN_SELCHANGE) {
            SetActiveTab(static_cast<int>(::SendMessage(tabControl(), TCM_GETCURSEL)));
            *result = 0;
            return TRUE;
        }
    }
    return KxHostDialog::OnNotify(wParam, lParam, result);
}

void KxHostTabDialog::OnSize(UINT type, int cx, int cy)
{
    KxHostDialog::OnSize(type, cx, cy);
    LayoutPages();
}

void KxHostTabDialog::OnDestroy()
{
    // Pages die with the window; forget them so no object outlives its window's tab. A page may be
    // handling a message of its own right now (the dialog closed from a page's button): its object
    // goes once that handler returns.
    for (auto& page : m_pages)
        page.release()->deleteWhenIdle();
    m_pages.clear();
    m_active = -1;
    KxHostDialog::OnDestroy();
}
