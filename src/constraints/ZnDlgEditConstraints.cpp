// The constraint editor: its window, the module list and buttons, the drawing commands and the
// switching of pages. The pages' own handlers are in ZnDlgEditConstraintsPages.cpp, the launchers
// in ConstraintLaunchers.cpp, the window-free rules in ConstraintEditing.cpp.
#include "constraints/ZnDlgEditConstraints.h"

#include "constraints/ConstraintEditing.h"
#include "constraints/EditorHelpers.h"
#include "constraints/ZnDlgMacroSettings.h"
#include "core/CButtonST.h"
#include "core/CResizer.h"
#include "core/ConstraintFunctions.h"
#include "core/DialogFunctions.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Backend.h"
#include "platform/win/Window.h"

#include <algorithm>

using namespace kxconstr::detail;

namespace {

// The bitmaps of the new-constraint buttons, by command code (empty: the button is hidden).
constexpr const char* kCommandBitmaps[14] = {
    "Parallel.bmp", "Perpendicular.bmp", "Coincident.bmp", "", "Tangent.bmp",  "Concentric.bmp", "EqualRadius.bmp",
    "Distance.bmp", "Angle.bmp",         "Radius.bmp",     "", "AddModule.bmp", "BoltPattern.bmp", "CoordSys.bmp"};
constexpr int kCommandTips[14] = {903, 904, 905, 906, 907, 908, 909, 910, 911, 912, 0, 913, 914, 915};

} // namespace

// --- Pages ---------------------------------------------------------------------------------------

BOOL ZnConstraintPage::PreTranslateMessage(const MSG& msg)
{
    if (preTranslate && preTranslate(msg))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void ZnConstraintPage::OnOK()
{
    ::SendMessage(::GetParent(m_hWnd), WM_COMMAND, IDOK, 0);
}

void ZnConstraintPage::OnCancel()
{
    ::SendMessage(::GetParent(m_hWnd), WM_COMMAND, IDCANCEL, 0);
}

// --- Nesting -------------------------------------------------------------------------------------

ZnDlgEditConstraints::ZnDlgEditConstraints(HWND parent) : KxHostTabDialog(kTemplateId, kTabs, parent)
{
    onCommand(kModules, CBN_SELCHANGE, [this] { onModuleChanged(); });
    onCommand(kAddModule, BN_CLICKED, [this] { addModule(); });
    onCommand(kRemoveModule, BN_CLICKED, [this] { removeModule(); });
    onCommand(kRenameModule, BN_CLICKED, [this] { renameModule(); });
    onCommand(kSelectMacro, BN_CLICKED, [this] { selectOtherMacro(); });
    onCommand(kSettings, BN_CLICKED, [this] { openSettings(); });
    onCommand(kZoom, BN_CLICKED, [this] { zoom(); });
}

ZnDlgEditConstraints::~ZnDlgEditConstraints()
{
    // The editor may go from inside a handler of one of its grids or picture buttons (closed or
    // unloaded from a right click or a button press): each of them goes once its own handler returns.
    for (auto* grid : {&m_constraintsGrid, &m_geometryGrid, &m_variablesGrid, &m_dimGrid})
        if (*grid)
            grid->release()->deleteWhenIdle();
    for (auto& button : m_pictureButtons)
        button.release()->deleteWhenIdle();
}

bool ZnDlgEditConstraints::deferClose()
{
    if (m_nested == 0)
        return false;
    m_closePending = true;
    m_pendingResult = IDCANCEL;
    return true;
}

void ZnDlgEditConstraints::cancelNested()
{
    if (m_nested == 0)
        return;
    if (m_nestedDialog != nullptr && m_nestedDialog->m_hWnd != nullptr) {
        m_nestedDialog->EndDialog(IDCANCEL);
        return;
    }
    // A prompt or message box of the editor's: the active window it owns.
    HWND active = GetActiveWindow();
    if (active != nullptr && active != m_hWnd && ::GetParent(active) == m_hWnd)
        ::EndDialog(active, IDCANCEL);
}

void ZnDlgEditConstraints::close(int result)
{
    if (m_nested > 0) {
        m_closePending = true;
        m_pendingResult = result;
        return;
    }
    if (m_modeless) {
        EndDlgEditConstraints();
        return;
    }
    EndDialog(result);
}

void ZnDlgEditConstraints::closeIfPending()
{
    if (m_destroyed || m_nested > 0 || !m_closePending)
        return;
    m_closePending = false;
    close(m_pendingResult);
}

bool ZnDlgEditConstraints::runHidden(const std::function<bool()>& command, bool& result)
{
    result = false;
    BeginEditorCommand();
    {
        Nested nested(*this);
        m_inCoreCall = true;
        result = command();
        m_inCoreCall = false;
    }
    if (m_destroyed)
        return false;
    CompleteEditorCommand();
    return true;
}

ZnConstraintPage* ZnDlgEditConstraints::page(int index) const
{
    return static_cast<ZnConstraintPage*>(GetPage(index));
}

// --- Opening -------------------------------------------------------------------------------------

BOOL ZnDlgEditConstraints::OnInitDialog()
{
    KxHostTabDialog::OnInitDialog();
    setUpMainControls();
    RECT r{};
    ::GetWindowRect(m_hWnd, r);
    m_minSize = SIZE{r.right - r.left, r.bottom - r.top};

    m_resizer = std::make_unique<ZnResizer>();
    m_resizer->attach(this, {
                                {kTabs, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                                {kSettings, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                {kZoom, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                            });

    fillModules();
    createPages();
    SetActiveTab(kConstraintsPage);
    m_initialised = true;
    // The pages are filled once; afterwards each refills itself when it is shown.
    GetGeomFlexibility(m_data);
    fillGeometry();
    fillVariables();
    fillConstraints();
    selectRow(*m_constraintsGrid, 1);
    showConstraint(m_data.constraints.isEmpty() ? -1 : 0);
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);
    LayoutPages();
    return TRUE;
}

void ZnDlgEditConstraints::OnGetMinMaxInfo(MINMAXINFO* info)
{
    KxHostTabDialog::OnGetMinMaxInfo(info);
    if (info != nullptr && m_minSize.cx > 0) {
        info->ptMinTrackSize.x = m_minSize.cx;
        info->ptMinTrackSize.y = m_minSize.cy;
    }
}

CButtonST& ZnDlgEditConstraints::pictureButton(CWnd* parent, int id, int icon, int tip)
{
    auto button = std::make_unique<CButtonST>();
    button->SubclassDlgItem(id, parent->m_hWnd);
    if (icon != 0) {
        ZnTempResourceOverride resources;
        button->SetIcon(icon);
    }
    if (tip != 0)
        button->SetTooltipText(dialString(tip).str());
    m_pictureButtons.push_back(std::move(button));
    return *m_pictureButtons.back();
}

void ZnDlgEditConstraints::setUpMainControls()
{
    SetWindowText(dialString(869).str());
    SetDlgItemText(kSelectMacro, dialString(870).str());
    SetDlgItemText(kRenameModule, dialString(871).str());
    SetDlgItemText(kSettings, dialString(872).str());
    SetDlgItemText(IDOK, dialString(285).str());
    pictureButton(this, kSelectMacro, 217, 865);
    pictureButton(this, kAddModule, 212, 866);
    pictureButton(this, kRemoveModule, 206, 867);
    pictureButton(this, kZoom, 234, 868);
}

void ZnDlgEditConstraints::createPages()
{
    ZnTempResourceOverride resources;
    const int titles[4] = {873, 874, 875, 876};
    for (int i = 0; i < 4; ++i) {
        auto made = std::make_unique<ZnConstraintPage>(kPageTemplates[i]);
        AddTab(dialString(titles[i]).str(), std::move(made), kPageTemplates[i]);
    }
    setUpConstraintsPage();
    setUpGeometryPage();
    setUpVariablesPage();
    setUpNewPage();
}

void ZnDlgEditConstraints::setUpConstraintsPage()
{
    ZnConstraintPage* p = page(kConstraintsPage);
    if (p == nullptr)
        return;
    m_constraintsGrid->attach(p, kGrid, /*exactRect=*/true);
    m_constraintsGrid->setStandardLook(1);
    SSSetBool(m_constraintsGrid->GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_constraintsGrid->setColCount(4);
    m_constraintsGrid->setColumnHeaders({dialString(87), dialString(883), string(2333) + " 1", string(2333) + " 2"});
    m_constraintsGrid->setFitMode(1);

    p->SetDlgItemText(1081, dialString(879).str());
    p->SetDlgItemText(1123, dialString(221).str());
    p->SetDlgItemText(1122, dialString(880).str());
    p->SetDlgItemText(1015, dialString(228).str());
    p->SetDlgItemText(kFlag1, dialString(881).str());
    p->SetDlgItemText(kFlag2, dialString(1328).str());
    p->SetDlgItemText(kEditCut, dialString(862).str());
    HWND choice = p->GetDlgItem(kChoice);
    for (int n : {1480, 1481, 1482, 2924})
        ::SendMessage(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dialString(n).c_str()));
    for (int i = 0; i < 5; ++i) {
        CButtonST& b = pictureButton(p, kEnumButtons[i], 0, 0);
        b.SetWindowText(std::to_string(i + 1));
        b.SetTooltipText("Enum " + std::to_string(i + 1));
    }
    pictureButton(p, kDelete, 206, 882);

    p->onCommand(kGrid, SSN_LEAVECELL, [this] { onConstraintCellLeft(); });
    p->onCommand(kGrid, SSN_RBUTTONUP, [this] { onConstraintRightClick(); });
    p->onCommand(kVarName, EN_KILLFOCUS, [this] { checkVariableName(); });
    p->onCommand(kFlag1, BN_CLICKED, [this] { onFlag1Changed(); });
    p->onCommandRange(1077, 1086, BN_CLICKED, [this](int id) {
        for (int i = 0; i < 5; ++i)
            if (kEnumButtons[i] == id)
                onEnumButton(i);
    });
    p->onCommand(kDelete, BN_CLICKED, [this] { deleteConstraint(); });
    p->onCommand(kEditCut, BN_CLICKED, [this] { editCut(); });
    // A click on a column header asks for a sort on that column; the grid does not select it.
    p->preTranslate = [this](const MSG& msg) -> BOOL {
        if (msg.message != WM_LBUTTONDOWN || msg.hwnd != m_constraintsGrid->GetSafeHwnd())
            return FALSE;
        const int column = headerColumnAt(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
        if (column < 1)
            return FALSE;
        CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
        sortBy(column);
        return TRUE;
    };

    m_pageResizers[kConstraintsPage] = std::make_unique<ZnResizer>();
    m_pageResizers[kConstraintsPage]->attach(p, {
                                                    {kGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                                                    {1081, {1, 0, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
                                                    {1123, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kVarName, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {1122, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kText2, {1, 0, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
                                                    {1015, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kChoice, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kFlag1, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kFlag2, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {1083, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {1077, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {1084, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {1085, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {1086, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kEditCut, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                    {kDelete, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                                                });
}

int ZnDlgEditConstraints::headerColumnAt(POINT at) const
{
    HWND grid = m_constraintsGrid->GetSafeHwnd();
    int headerHeight = 0;
    if (!SSGetRowHeightInPixels(grid, 0, &headerHeight) || at.y < 0 || at.y >= headerHeight)
        return 0;
    int x = 0;
    if (SSGetBool(grid, SSB_SHOWROWHEADERS)) {
        int w = 0;
        SSGetColWidthInPixels(grid, 0, &w);
        x = w;
    }
    for (int c = 1; c <= 4; ++c) {
        int w = 0;
        SSGetColWidthInPixels(grid, c, &w);
        if (at.x >= x && at.x < x + w)
            return c;
        x += w;
    }
    return 0;
}

void ZnDlgEditConstraints::setUpGeometryPage()
{
    ZnConstraintPage* p = page(kGeometryPage);
    if (p == nullptr)
        return;
    m_geometryGrid->attach(p, kGeometryGrid, /*exactRect=*/true);
    m_geometryGrid->setStandardLook(1);
    SSSetBool(m_geometryGrid->GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_geometryGrid->setColCount(4);
    m_geometryGrid->setColumnHeaders({dialString(889), dialString(890), dialString(891), dialString(892)});
    m_geometryGrid->setFitMode(1);
    p->onCommand(kGeometryGrid, SSN_LEAVECELL, [this] { onGeometryCellLeft(); });
    p->onCommand(kGeometryGrid, SSN_COMBOSELCHANGE, [this] { onFlexibilityChanged(); });
    p->onCommand(kGeometryGrid, SSN_BUTTONCLICKED, [this] { onConstrainedClicked(); });
    m_pageResizers[kGeometryPage] = std::make_unique<ZnResizer>();
    m_pageResizers[kGeometryPage]->attach(p, {{kGeometryGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}}});
}

void ZnDlgEditConstraints::setUpVariablesPage()
{
    ZnConstraintPage* p = page(kVariablesPage);
    if (p == nullptr)
        return;
    m_variablesGrid->attach(p, kVariablesGrid, /*exactRect=*/true);
    m_variablesGrid->setStandardLook(1);
    SSSetBool(m_variablesGrid->GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_variablesGrid->setColCount(3);
    m_variablesGrid->setColumnHeaders({dialString(87), dialString(86), dialString(101)});
    m_variablesGrid->setFontFace("Tahoma");
    m_variablesGrid->setFitMode(1);
    m_dimGrid->attach(p, kDimGrid, /*exactRect=*/true);
    m_dimGrid->setStandardLook(1);
    SSSetBool(m_dimGrid->GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_dimGrid->setColCount(2);
    m_dimGrid->setColumnHeaders({dialString(87), dialString(86)});
    m_dimGrid->setFontFace("Tahoma");
    m_dimGrid->setFitMode(1);
    pictureButton(p, kAddVariable, 212, 616);
    pictureButton(p, kDeleteVariable, 206, 617);
    p->onCommand(kAddVariable, BN_CLICKED, [this] { addVariableRow(); });
    p->onCommand(kDeleteVariable, BN_CLICKED, [this] { deleteVariableRow(); });
    m_pageResizers[kVariablesPage] = std::make_unique<ZnResizer>();
    m_pageResizers[kVariablesPage]->attach(p, {
                                                  {kVariablesGrid, {1, 0, 1}, {1, 0, 2}, {2, 0, 3}, {2, 0, 4}},
                                                  {kAddVariable, {2, 0, 3}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
                                                  {kDeleteVariable, {2, 0, 3}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
                                                  {kDimGrid, {2, 0, 3}, {1, 0, 2}, {1, 0, 3}, {2, 0, 4}},
                                                  {kEquations, {1, 0, 1}, {2, 0, 4}, {1, 0, 3}, {1, 0, 4}},
                                              });
}

void ZnDlgEditConstraints::setUpNewPage()
{
    ZnConstraintPage* p = page(kNewPage);
    if (p == nullptr)
        return;
    const Kx_String folder = Kx_Settings::libDir() + "icons\\";
    for (int code = 0; code < 14; ++code) {
        const int id = kFirstCommandButton + code;
        if (kCommandBitmaps[code][0] == '\0') {
            ShowOrHideCtrl(p, id, false);
            continue;
        }
        CButtonST& b = pictureButton(p, id, 0, kCommandTips[code]);
        b.SetBitmapFile((folder + kCommandBitmaps[code]).str(), RGB(255, 255, 255));
        p->onCommand(id, BN_CLICKED, [this, code] { runCommand(code); });
    }
}

// --- Module list and buttons ---------------------------------------------------------------------

void ZnDlgEditConstraints::fillModules()
{
    Kx_StringArray names;
    if (MacroGetModules(m_data, names))
        m_data.moduleNames = names;
    HWND list = GetDlgItem(kModules);
    ::SendMessage(list, CB_RESETCONTENT);
    int selected = -1;
    for (int i = 0; i < m_data.moduleNames.length(); ++i) {
        ::SendMessage(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_data.moduleNames[i].c_str()));
        if (selected < 0 && m_data.moduleNames[i] == m_data.currentModule)
            selected = i;
    }
    ::SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(selected));
}

int ZnDlgEditConstraints::selectedModule() const
{
    return static_cast<int>(::SendMessage(GetDlgItem(kModules), CB_GETCURSEL));
}

void ZnDlgEditConstraints::selectModuleNamed(const Kx_String& name)
{
    HWND list = GetDlgItem(kModules);
    const int count = static_cast<int>(::SendMessage(list, CB_GETCOUNT));
    for (int i = 0; i < count; ++i)
        if (itemText(list, i) == name) {
            ::SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(i));
            return;
        }
    ::SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(-1));
}

bool ZnDlgEditConstraints::makeSelectedCurrent()
{
    const int pos = selectedModule();
    if (pos < 0)
        return false;
    const Kx_String name = itemText(GetDlgItem(kModules), pos);
    const Kx_String old = m_data.currentModule;
    m_data.currentModule = name;
    if (!SetCurrentModule(m_data, name)) {
        // The module stays as it was, in the data and in the list.
        m_data.currentModule = old;
        selectModuleNamed(old);
        return false;
    }
    refillDataPages();
    return true;
}

void ZnDlgEditConstraints::refillDataPages()
{
    m_shown = -1;
    m_objectHighlighted = false;
    m_geometryRow = 0;
    fillConstraints();
    selectRow(*m_constraintsGrid, 1);
    showConstraint(m_data.constraints.isEmpty() ? -1 : 0);
    GetGeomFlexibility(m_data);
    fillGeometry();
    fillVariables();
}

void ZnDlgEditConstraints::clearDataPages()
{
    m_shown = -1;
    m_data.constraints.setLogicalLength(0);
    m_data.variables.setLogicalLength(0);
    m_data.dimValues.setLogicalLength(0);
    m_data.equations.setLogicalLength(0);
    m_data.geometry.setLogicalLength(0);
    fillConstraints();
    showConstraint(-1);
    fillGeometry();
    fillVariables();
}

void ZnDlgEditConstraints::onModuleChanged()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    takeBackHighlights();
    applyPendingConstraint();
    applyVariables();
    makeSelectedCurrent();
}

void ZnDlgEditConstraints::addModule()
{
    runCommand(11);
}

void ZnDlgEditConstraints::removeModule()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    const int pos = selectedModule();
    if (pos < 0)
        return;
    const Kx_String name = itemText(GetDlgItem(kModules), pos);
    takeBackHighlights();
    if (!RemoveModule(m_data, name))
        return;
    fillModules();
    const int count = static_cast<int>(::SendMessage(GetDlgItem(kModules), CB_GETCOUNT));
    const int next = kxconstr::positionAfterRemoval(pos, count);
    ::SendMessage(GetDlgItem(kModules), CB_SETCURSEL, static_cast<WPARAM>(next));
    if (next < 0) {
        clearDataPages();
        return;
    }
    makeSelectedCurrent();
}

void ZnDlgEditConstraints::renameModule()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    const Kx_String current = m_data.currentModule;
    std::optional<Kx_String> typed;
    {
        Nested nested(*this);
        typed = runPromptDialog(877, 878, current, 1, 2, m_hWnd);
    }
    if (m_destroyed || !typed || *typed == current)
        return;
    const int pos = selectedModule();
    applyPendingConstraint();
    applyVariables();
    if (!RenameModule(m_data, *typed))
        return;
    fillModules();
    ::SendMessage(GetDlgItem(kModules), CB_SETCURSEL, static_cast<WPARAM>(pos));
    makeSelectedCurrent();
}

void ZnDlgEditConstraints::selectOtherMacro()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    takeBackHighlights();
    applyPendingConstraint();
    applyVariables();
    bool picked = false;
    if (!runHidden([this] { return SelectOtherMacro(m_data); }, picked) || !picked)
        return;
    fillModules();
    makeSelectedCurrent();
}

void ZnDlgEditConstraints::openSettings()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    MacroSettingsData settings;
    if (!GetMacroSettings(m_data.macroId, settings))
        return;
    ZnDlgMacroSettings dialog(settings, m_hWnd);
    INT_PTR result = IDCANCEL;
    {
        Nested nested(*this);
        m_nestedDialog = &dialog;
        ZnTempResourceOverride resources;
        result = dialog.DoModal();
        m_nestedDialog = nullptr;
    }
    if (m_destroyed)
        return;
    if (result == IDOK)
        SetMacroSettings(m_data.macroId, dialog.settings());
}

void ZnDlgEditConstraints::zoom()
{
    // The zoom button stays live while the editor waits for the corners: a second press is ignored.
    if (m_zooming)
        return;
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    m_zooming = true;
    bool zoomed = false;
    runHidden([] { return ZoomCommand(); }, zoomed);
    m_zooming = false;
}

void ZnDlgEditConstraints::runCommand(int code)
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    // The command changes the module's model: what the pages hold goes in first.
    applyPendingConstraint();
    applyVariables();
    bool done = false;
    if (!runHidden([this, code] { return StartMacroCommand(m_data, code); }, done) || !done)
        return;
    if (code <= 10) {
        showPage(kConstraintsPage);
        fillModules();
        refillDataPages();
    } else if (code == 11) {
        fillModules();
        const int count = static_cast<int>(::SendMessage(GetDlgItem(kModules), CB_GETCOUNT));
        ::SendMessage(GetDlgItem(kModules), CB_SETCURSEL, static_cast<WPARAM>(count - 1));
        makeSelectedCurrent();
    }
}

// --- Pages: leaving and showing ------------------------------------------------------------------

void ZnDlgEditConstraints::showPage(int index)
{
    if (index < 0 || index >= GetTabCount())
        return;
    if (index != GetActiveTab())
        leavePage(GetActiveTab());
    SetActiveTab(index);
}

bool ZnDlgEditConstraints::CanLeaveTab(int index)
{
    leavePage(index);
    return true;
}

void ZnDlgEditConstraints::leavePage(int index)
{
    if (index == kConstraintsPage) {
        UnHighlightConstraints();
        acedUpdateDisplay();
    } else if (index == kGeometryPage && m_objectHighlighted) {
        UnHighlightObject(m_highlightedObject);
        m_objectHighlighted = false;
        acedUpdateDisplay();
    }
}

void ZnDlgEditConstraints::takeBackHighlights()
{
    leavePage(GetActiveTab());
}

void ZnDlgEditConstraints::OnTabChanged(int index)
{
    if (!m_initialised)
        return;
    if (index == kConstraintsPage) {
        applyPendingConstraint();
        const int shown = m_shown;
        fillConstraints();
        if (shown >= 0 && shown < m_data.constraints.length()) {
            selectRow(*m_constraintsGrid, shown + 1);
            showConstraint(shown);
        } else {
            showConstraint(-1);
        }
    } else if (index == kGeometryPage) {
        if (!GetGeomFlexibility(m_data))
            return;
        const int row = m_geometryRow;
        fillGeometry();
        if (row >= 1 && row <= m_data.geometry.length()) {
            selectRow(*m_geometryGrid, row);
            highlightGeometryRow(row);
        }
    } else if (index == kVariablesPage) {
        applyVariables();
        fillVariables();
    }
}

void ZnDlgEditConstraints::OnDestroy()
{
    m_closing = true;
    // A drawing command still running holds the data: the edits cannot go in under it.
    if (!m_inCoreCall) {
        applyPendingConstraint();
        takeBackHighlights();
        applyVariables();
    }
    WriteDlgSize(this, kSizeKey);
    for (auto& resizer : m_pageResizers)
        if (resizer)
            resizer->detach();
    if (m_resizer)
        m_resizer->detach();
    KxHostTabDialog::OnDestroy();
    m_destroyed = true;
}
