// The host's tabbed main dialog: a dialog with a tab control whose pages are child dialogs made
// from their own templates. One page is visible at a time; Ctrl+Tab and Ctrl+Shift+Tab switch
// pages; Tab moves through the visible page's controls as through the dialog's own.
#pragma once

#include "platform/host/HostWindow.h"
#include "platform/host/KxHostExport.h"

#include <memory>
#include <string>
#include <vector>

class KXHOST_API KxHostTabDialog : public KxHostDialog {
public:
    KxHostTabDialog(int templateId, int tabControlId, HWND parent = nullptr)
        : KxHostDialog(templateId, parent), m_tabControlId(tabControlId)
    {
    }
    ~KxHostTabDialog() override;

    // Makes the page from its template (in the current resources) as a child of this dialog, adds
    // its tab and takes ownership of the object. Only once the dialog window exists (from
    // OnInitDialog on). Returns false when the page cannot be made; nothing is added then.
    bool AddTab(const std::string& title, std::unique_ptr<CDialog> page, int pageTemplateId);
    // Removes every tab and destroys every page.
    void RemoveAllTabs();
    int GetTabCount() const { return static_cast<int>(m_pages.size()); }
    int GetActiveTab() const { return m_active; }
    // Shows page `index` (no effect for a bad index); OnTabChanged runs after the switch.
    void SetActiveTab(int index);
    CDialog* GetPage(int index) const;
    HWND tabControl() const { return GetDlgItem(m_tabControlId); }

    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    // Called after the visible page changed, from the user or from SetActiveTab.
    virtual void OnTabChanged(int index) {}
    // Return false to keep the current page (a page that holds an invalid value, say).
    virtual bool CanLeaveTab(int index) { return true; }
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnDestroy() override;
    // Moves every page into the tab control's display area (after the tab control was resized).
    void LayoutPages();

private:
    int m_tabControlId;
    int m_active = -1;
    std::vector<std::unique_ptr<CDialog>> m_pages;
};
