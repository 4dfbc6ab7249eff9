// ZnDlgMacroTab: a standard page of the macro dialog. It places its tab's designed layout, binds each
// layout control by name to an item of the tab, lists the items no control shows in its grid, shows
// the values, reads them back, and commits an edit through the one difference-and-update step.
// The profile page and the sub-dialogs (array, pattern, bolt advanced) are other classes.
#pragma once

#include "core/MacroData.h"
#include "designer/Kx_DlgDesignerData.h"
#include "macro/ZnMacroTabFocus.h"
#include "platform/win/Dialog.h"
#include "spread/Kx_Spread.h"

#include <span>
#include <string>
#include <vector>

class ZnDlgMacro;

class ZnDlgMacroTab : public CDialog {
public:
    static constexpr int kTemplateId = 8137;
    static constexpr int kGrid = 1001;
    static constexpr int kAssemblyLabel = 1109;
    static constexpr int kDiameterLabel = 1110;
    static constexpr int kAssembly = 1091;
    static constexpr int kDiameter = 1092;
    static constexpr int kAdvanced = 1114;

    // A layout control that could not be bound, and why (for `kestra-ss macro bind`).
    struct Removed {
        int index = 0; // in the layout file
        int type = 0;
        std::string contents;
        std::string reason;
    };

    ZnDlgMacroTab(ZnDlgMacro& owner, int tabIndex);
    ~ZnDlgMacroTab() override;

    int tabIndex() const { return m_tabIndex; }
    bool isReady() const { return m_ready; }
    bool hasBoltAdvanced() const { return m_boltAdvanced; }
    Kx_DlgDesignerData& layout() { return m_layout; }
    Kx_Spread& grid() { return m_grid; }
    const std::vector<Removed>& removedControls() const { return m_removed; }

    // The page's tab in the owner's data; null when the owner has no such tab.
    MacroTabData* tab();
    // Writes every value of the tab into the page's controls and grid rows.
    virtual void showValues();
    // Takes the controls' and grid's values back into the tab. A number typed wrong is refused with a
    // message and its old value shown again; false then.
    virtual bool readBack();
    // Read back, compare with the tab as it was, and push any change to the drawing (the single
    // update path of the page). Does nothing while the page is not ready.
    void commit();
    // What the page needs: width and height in pixels (the layout picture, the grid, the bolt row).
    SIZE neededSize() const;

    // Focus and keys (ZnDlgMacroTabFocus.cpp). captureFocus fills the record's kind, control, cell
    // and selection from the focus when it lies on this page (kind 0 when nothing has the focus);
    // false, the record untouched, when the focus is elsewhere. restoreFocus puts the focus back only
    // on a control or cell that still exists and can take it. focusFirst: the first layout control,
    // else the grid, else the page's own first control.
    bool captureFocus(ZnMacroTabFocus& record) const;
    bool restoreFocus(const ZnMacroTabFocus& record);
    bool focusFirst();
    // Tab (back: Shift+Tab) through three groups in turn: the layout's controls, the grid's cells
    // that take input, the page's own controls. False when the focus is in none of them.
    bool handleTabKey(bool back);
    BOOL PreTranslateMessage(const MSG& msg) override;
    // A dimension button (type 25 or 26, ZnDlgMacroTabDimension.cpp): asks for the dimension and
    // sets its cells from it, then commits. False when nothing changed.
    bool dimensionButton(int id);

    // Sub-dialogs (ZnDlgMacroTabSubDialogs.cpp). Each runs modally while the page is not ready and
    // sends what it changed through the difference-and-update step. False when nothing was opened.
    bool openBoltAdvanced();
    bool openArray(int index);
    bool openPattern(int index);
    // Stores bolt data (or pattern `index`) into the tab and updates the drawing; bolt is then what
    // the tab holds. False when the tab is gone.
    bool applyBolt(MacroBoltData& bolt);
    bool applyPattern(int index, const MacroPatternProps& pattern);

protected:
    // A page of another template (the profile page) whose grid has another id.
    ZnDlgMacroTab(ZnDlgMacro& owner, int tabIndex, int templateId, int gridId);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnOK() override;
    void OnCancel() override;

    // The page's part of a profile group's buttons (layout types 14 and 17) and the type itself.
    void profileButton(int id, Kx_ControlType type);
    // A button of the page that opens a sub-dialog: 1114, a layout button of type 6, 12 or 24, a grid
    // button cell. True when the command was one of them.
    bool openSubDialogFor(int id, WORD code);
    void build();
    bool bind(Kx_DesignerControl& ctrl, std::string& reason);
    void fillGrid();
    void fillBoltCombos();
    void placeControls();
    void setGridText(int col, int row, const Kx_String& text);
    Kx_String gridText(int col, int row) const;
    Kx_String controlText(int id) const;
    // The Tab groups: 0 layout, 1 grid, 2 the page's own controls; -1 none.
    int focusGroup() const;
    // The page's own controls in their Tab order (a profile page has more than the bolt row).
    virtual std::span<const int> ownFocusControls() const;
    bool enterGroup(int group, bool first);
    // The text a cell shows on the page (its layout control or grid row) and setting it.
    Kx_String shownText(const MacroCell& cell) const;
    void setShownText(const MacroCell& cell, const Kx_String& text);
    // The strip under the grid (the bolt row, the profile page's controls); 0 when none shows.
    virtual int bottomRowHeight() const { return m_boltRow ? 36 : 0; }

    ZnDlgMacro& m_owner;
    int m_tabIndex;
    Kx_DlgDesignerData m_layout;
    Kx_Spread m_grid;
    std::vector<Removed> m_removed;
    int m_gridRows = 0;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    bool m_ready = false;
    bool m_boltAdvanced = false;
    bool m_hasLayout = false;
    bool m_boltRow = false;
    int m_gridId = kGrid;
};
