// ZnDlgEditConstraints: the editor of a macro module's constraints, geometry, variables and
// equations. It holds no constraint logic: every change goes to the drawing's constraint functions
// (core/ConstraintFunctions.h) with the editor's own copy of the data, and the pages are refilled
// from that copy afterwards. At most one modeless instance exists (the frame's registry holds it);
// it can also run modally (StartDlgEditConstrModal).
#pragma once

#include "core/EditConstrData.h"
#include "core/MacroData.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/HostTabDialog.h"
#include "spread/Kx_Spread.h"

#include <array>
#include <functional>
#include <memory>

class CButtonST;
class ZnResizer;

// A page of the editor: a child dialog whose controls report to it; the editor registers the
// handlers. Enter and Escape on a page act on the editor.
class ZnConstraintPage : public CDialog {
public:
    explicit ZnConstraintPage(int templateId) : CDialog(templateId) {}
    std::function<BOOL(const MSG&)> preTranslate;

    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    void OnOK() override;
    void OnCancel() override;
};

class ZnDlgEditConstraints : public KxHostTabDialog, public KxNestedCloseHandler {
public:
    static constexpr int kTemplateId = 8715;
    static constexpr const char* kSizeKey = "DLG_EDIT_MACRO";
    // Main window.
    static constexpr int kSelectMacro = 1079;
    static constexpr int kModules = 1088;
    static constexpr int kAddModule = 1090;
    static constexpr int kRenameModule = 1183;
    static constexpr int kRemoveModule = 1089;
    static constexpr int kTabs = 8097;
    static constexpr int kSettings = 1137;
    static constexpr int kZoom = 1320;
    // Pages and their templates.
    enum Page : int { kConstraintsPage = 0, kGeometryPage = 1, kVariablesPage = 2, kNewPage = 3 };
    static constexpr int kPageTemplates[4] = {207, 8135, 8099, 216};
    static constexpr int kGrid = 1082;
    static constexpr int kGeometryGrid = 1094;
    static constexpr int kVariablesGrid = 1095;
    // Constraints page.
    static constexpr int kVarName = 1000;
    static constexpr int kText2 = 1030;
    static constexpr int kChoice = 1005;
    static constexpr int kFlag1 = 1283;
    static constexpr int kFlag2 = 1284;
    static constexpr int kEnumButtons[5] = {1083, 1077, 1084, 1085, 1086};
    static constexpr int kEditCut = 1334;
    static constexpr int kDelete = 1087;
    // Variables page.
    static constexpr int kAddVariable = 1090;
    static constexpr int kDeleteVariable = 1089;
    static constexpr int kDimGrid = 1091;
    static constexpr int kEquations = 1092;
    // New-constraint page: button 1024 + code.
    static constexpr int kFirstCommandButton = 1024;
    // Context menu command ids of the positions 0 to 5.
    static constexpr int kMenuIds[6] = {32811, 32812, 32816, 32817, 32818, 32800};

    explicit ZnDlgEditConstraints(HWND parent);
    ~ZnDlgEditConstraints() override;

    EditConstrData& data() { return m_data; }
    void setModeless(bool on) { m_modeless = on; }
    bool isModeless() const { return m_modeless; }

    // What the user sees, for tests and the workbench.
    Kx_Spread& constraintsGrid() { return *m_constraintsGrid; }
    Kx_Spread& geometryGrid() { return *m_geometryGrid; }
    Kx_Spread& variablesGrid() { return *m_variablesGrid; }
    Kx_Spread& dimensionsGrid() { return *m_dimGrid; }
    // The constraint whose properties are shown (0-based), -1 none.
    int shownConstraint() const { return m_shown; }
    int sortColumn() const { return m_sortColumn; }
    // Whether a prompt, menu, dialog or drawing command of the editor is running now.
    bool isBusy() const { return m_nested > 0; }
    bool closePending() const { return m_closePending; }
    // Switches to a page as a click on its tab does.
    void showPage(int page);
    // Asks for a sort on grid column 1-4, as a click on the column's header does.
    void sortBy(int column);

    // KxNestedCloseHandler.
    bool deferClose() override;
    void cancelNested() override;
    // Does a close that was asked for while something nested ran, once nothing runs any more.
    void closeIfPending();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { close(IDOK); }
    void OnCancel() override { close(IDCANCEL); }
    void OnDestroy() override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    bool CanLeaveTab(int index) override;
    void OnTabChanged(int index) override;

private:
    class Nested;
    void close(int result);
    // After a nested call returned: true when the editor is gone or closing, and the caller must stop.
    // Runs a drawing command with the editor hidden. False when the editor was destroyed meanwhile
    // (the caller then stops); `result` is the command's.
    bool runHidden(const std::function<bool()>& command, bool& result);
    CButtonST& pictureButton(CWnd* parent, int id, int icon, int tip);
    // The constraints grid's column 1-4 whose header is at the point (grid pixels); 0 none.
    int headerColumnAt(POINT at) const;

    ZnConstraintPage* page(int index) const;
    void createPages();
    void setUpMainControls();
    void setUpConstraintsPage();
    void setUpGeometryPage();
    void setUpVariablesPage();
    void setUpNewPage();

    // Module list.
    void fillModules();
    void onModuleChanged();
    void addModule();
    void removeModule();
    void renameModule();
    void selectOtherMacro();
    void openSettings();
    void zoom();
    void runCommand(int code);
    // Makes the module at the list's position current (stores it and tells the core).
    int selectedModule() const;
    void selectModuleNamed(const Kx_String& name);
    // False when the core refused; the old module is then current again, in the data and the list.
    bool makeSelectedCurrent();
    void refillDataPages();
    void clearDataPages();

    // Leaving and showing pages.
    void leavePage(int index);
    void takeBackHighlights();
    void applyAll();

    // Constraints page.
    void fillConstraints();
    void showConstraint(int index);
    ConstraintRow shownProperties() const;
    void applyPendingConstraint();
    void onConstraintCellLeft();
    void onConstraintRightClick();
    void onEnumButton(int which);
    void onFlag1Changed();
    void checkVariableName();
    void deleteConstraint();
    void editCut();

    // Geometry page.
    void fillGeometry();
    void onGeometryCellLeft();
    void onFlexibilityChanged();
    void onConstrainedClicked();
    void highlightGeometryRow(int row);

    // Variables page.
    void fillVariables();
    void applyVariables();
    void addVariableRow();
    void deleteVariableRow();
    void applyVariableRowTypes(int rows);

    EditConstrData m_data;
    bool m_modeless = false;
    bool m_initialised = false;
    int m_shown = -1;
    int m_sortColumn = 0;
    AcDbObjectId m_highlightedObject;
    bool m_objectHighlighted = false;
    // The geometry row the user selected last (1-based), 0 none.
    int m_geometryRow = 0;
    bool m_zooming = false;
    bool m_filling = false;
    // Variables as last written into the grid, to tell untouched rows from edited ones.
    Kx_Array<ConstraintVariable> m_variablesShown;
    int m_nested = 0;
    bool m_closePending = false;
    int m_pendingResult = IDCANCEL;
    bool m_destroyed = false;
    bool m_closing = false;
    bool m_inCoreCall = false;
    SIZE m_minSize{0, 0};
    std::array<std::unique_ptr<ZnResizer>, 4> m_pageResizers;
    CDialog* m_nestedDialog = nullptr;
    // Windows of their own that may be handling a message when the editor goes: see the destructor.
    std::unique_ptr<Kx_Spread> m_constraintsGrid = std::make_unique<Kx_Spread>();
    std::unique_ptr<Kx_Spread> m_geometryGrid = std::make_unique<Kx_Spread>();
    std::unique_ptr<Kx_Spread> m_variablesGrid = std::make_unique<Kx_Spread>();
    std::unique_ptr<Kx_Spread> m_dimGrid = std::make_unique<Kx_Spread>();
    std::vector<std::unique_ptr<CButtonST>> m_pictureButtons;
    std::unique_ptr<ZnResizer> m_resizer;
};
