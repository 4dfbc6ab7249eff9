// ZnDlgMacro: the dialog in which a connection macro is edited, modal or modeless: one page per tab of
// the macro (ZnDlgMacroTab), the view, clash and re-apply buttons and the filter row. It works on its
// own copy of the caller's MacroData; every edit goes to the drawing at once, and closing never rolls
// anything back.
#pragma once

#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/MacroData.h"
#include "frame/ModelessDialogs.h"
#include "macro/ZnMacroTabFocus.h"
#include "platform/host/HostTabDialog.h"

#include <vector>

class ZnDlgMacroTab;

class ZnDlgMacro : public KxHostTabDialog, public KxMacroDialogHandle {
public:
    static constexpr int kTemplateId = 8131;
    static constexpr int kTabs = 8097;
    static constexpr int kSelectMacros = 1176;
    static constexpr int kFirstFilter = 1177;
    static constexpr int kSecondFilter = 1178;
    static constexpr int kFirstFilterLabel = 1179;
    static constexpr int kSecondFilterLabel = 1180;
    static constexpr int kViewIsoButton = 1181;
    static constexpr int kViewFrontButton = 1182;
    static constexpr int kViewSideButton = 1183;
    static constexpr int kViewTopButton = 1184;
    static constexpr int kClash = 1292;
    static constexpr int kReApply = 1293;
    static constexpr int kReadProperties = 1299;
    static constexpr int kWriteProperties = 1302;

    // modelessIndex is the slot in the table of open macro dialogs, -1 for a modal run.
    ZnDlgMacro(HWND parent, int modelessIndex);
    ~ZnDlgMacro() override;

    MacroData& data() { return m_data; }
    MacroData& macroData() override { return m_data; }
    CWnd& dialogWindow() override { return *this; }
    bool isRunningNested() const override { return m_nested > 0; }
    void cancelNested() override;
    // Marks a nested loop (sub-dialog, message box, pick) for as long as the guard lives.
    class NestedLoop {
    public:
        explicit NestedLoop(ZnDlgMacro& dialog) : m_dialog(dialog) { ++m_dialog.m_nested; }
        ~NestedLoop() { --m_dialog.m_nested; }
        NestedLoop(const NestedLoop&) = delete;
        NestedLoop& operator=(const NestedLoop&) = delete;

    private:
        ZnDlgMacro& m_dialog;
    };
    int modelessIndex() const { return m_modelessIndex; }

    // The page of a tab, null for a tab without one (an unknown kind).
    ZnDlgMacroTab* page(int tabIndex) const;
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // The tab shown, -1 before the first.
    int currentTab() const;
    // "DLG_MACRO_EDITVARS_" and the macro's name, its group, or its number of macros.
    Kx_String sizeKey() const;
    // The difference-and-update step: what changed in tab index since `before` goes to the drawing,
    // then the clash check and a refresh of every page. True when the drawing changed.
    bool updateTab(int tabIndex, const MacroTabData& before);
    // Shows the values of every page again and the clash switch's state.
    void refreshPages();
    // How many updates reached the drawing (for the module's own tests and the main job's report).
    int updateCount() const { return m_updates; }

    // Property files (buttons 1299 and 1302, ZnDlgMacroProperties.cpp). Read: the chosen file's
    // values go to the drawing; a file that cannot be read applies nothing and says why. Write: every
    // page is committed first; a failed write is reported and the dialog's data stays. True when a
    // file was read or written.
    bool readPropertyFile();
    bool writePropertyFile();
    // Reads every page back and sends each tab's changes to the drawing, then one clash check.
    void commitAllPages();

    // Focus memory (ZnDlgMacroFocus.cpp). storeFocus records where the focus is on the page of tab
    // index (only a focus inside that page); showTab shows tab item `item` as a person's click does.
    void storeFocus(int tabIndex);
    const ZnMacroTabFocus* focusRecord(const Kx_String& moduleName) const;
    void showTab(int item);

    // A click outside the shown page records the page's focus before the click moves it.
    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    bool CanLeaveTab(int index) override;
    void OnTabChanged(int index) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { close(); }
    void OnCancel() override { close(); }
    void OnClose() override { close(); }
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;

private:
    // OK, Cancel, the close box and Escape on a page all end here.
    void close();
    void buildPages();
    void fillFilters();
    void fitSize();
    void attachResizer();
    void viewButton(Kx_ViewDirection direction);
    // After a tab was shown or the pages were rebuilt: the first tab ever shown gets the initial
    // focus, every later one its remembered focus.
    void focusShownTab();

    MacroData m_data;
    int m_modelessIndex;
    std::vector<ZnDlgMacroTab*> m_pages; // owned by the tab dialog; null for tabs without a page
    std::vector<int> m_pageTab;          // the tab index of each tab item
    CButtonST m_buttons[7];
    CButtonST m_clashSwitch;
    CResizer m_resizer;
    SIZE m_smallest{50, 50};
    bool m_sized = false;
    int m_updates = 0;
    int m_nested = 0;
    std::vector<ZnMacroTabFocus> m_focus;
    bool m_focusReady = false; // set once the dialog has shown its first tab
    bool m_tabShown = false;
    int m_lastShown = -1;
    Kx_String m_shownModule; // the module of the tab shown: a rebuild shows it again when it is still there
};
