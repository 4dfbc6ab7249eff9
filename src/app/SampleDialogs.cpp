#include "app/SampleDialogs.h"

#include <functional>

#include "core/DialogFunctions.h"
#include "core/Kx_Array.h"
#include "core/MacroDrawing.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/CommCtrl.h"
#include "core/Kx_StringArray.h"
#include "core/MacroSubDialogData.h"
#include "core/SectionCatalogue.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "spread/Kx_ProfValuesTable.h"
#include "spread/ZnGridDlgData.h"
#include "spread/ZnLookUpDlgData.h"
// The detailing dialogs' data.
#include "core/DetailingDlgData.h"
#include "core/Kx_Settings.h"
#include "core/ProfCutsData.h"
#include "detailing/ZnSelectImageDlgData.h"
#include "core/DlgCSP2Data.h"
#include "core/StockFiles.h"

#include <optional>

namespace kxapp {

namespace {

// One of the module's launchers; null with `error` set when it is not exported.
template <typename Fn>
Fn* launcher(HostedModule& module, const char* linkerName, const char* shownName, std::string& error)
{
    Fn* fn = module.function<Fn>(linkerName);
    if (fn == nullptr)
        error = std::string("the module does not export ") + shownName;
    return fn;
}

Kx_StringArray texts(std::initializer_list<const char*> items)
{
    Kx_StringArray out;
    for (const char* item : items)
        out.append(item);
    return out;
}

// Selects two controls of the dialog designer as a person would, with a click and a Shift+click
// posted to the designer once the second of them is drawn; the designer's modal loop takes them
// before it shows.
class DesignerPreselection : public kxwin::WindowObserver {
public:
    DesignerPreselection(int first, int second) : m_first(first), m_second(second) { kxwin::addWindowObserver(this); }
    ~DesignerPreselection() override { kxwin::removeWindowObserver(this); }
    DesignerPreselection(const DesignerPreselection&) = delete;
    DesignerPreselection& operator=(const DesignerPreselection&) = delete;

    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        if (m_done || change != kxwin::WindowChange::Created || GetDlgCtrlID(hwnd) != m_second)
            return;
        HWND dialog = GetParent(hwnd);
        HWND first = GetDlgItem(dialog, m_first);
        if (first == nullptr)
            return;
        m_done = true;
        click(dialog, first, 0);
        click(dialog, hwnd, MK_SHIFT);
    }

private:
    static void click(HWND dialog, HWND control, WPARAM keys)
    {
        const RECT r = GetWindowRectInParent(control);
        const LPARAM at = MAKELPARAM(static_cast<WORD>((r.left + r.right) / 2), static_cast<WORD>((r.top + r.bottom) / 2));
        PostMessage(dialog, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        PostMessage(dialog, WM_LBUTTONUP, keys, at);
    }
    int m_first;
    int m_second;
    bool m_done = false;
};

// Shows page `page` of a tabbed dialog as a click on its tab does, once the page `lastControl`
// belongs to has been made: the click is posted, so the dialog's modal loop takes it before it shows.
class TabPreselection : public kxwin::WindowObserver {
public:
    TabPreselection(int lastControl, int page) : m_lastControl(lastControl), m_page(page)
    {
        kxwin::addWindowObserver(this);
    }
    ~TabPreselection() override { kxwin::removeWindowObserver(this); }
    TabPreselection(const TabPreselection&) = delete;
    TabPreselection& operator=(const TabPreselection&) = delete;

    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        if (m_done || change != kxwin::WindowChange::Created || GetDlgCtrlID(hwnd) != m_lastControl)
            return;
        HWND tabs = GetDlgItem(GetParent(GetParent(hwnd)), 8097);
        RECT r{};
        if (tabs == nullptr || !SendMessage(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(m_page), reinterpret_cast<LPARAM>(&r)))
            return;
        m_done = true;
        const LPARAM at = MAKELPARAM(static_cast<WORD>((r.left + r.right) / 2), static_cast<WORD>((r.top + r.bottom) / 2));
        PostMessage(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessage(tabs, WM_LBUTTONUP, 0, at);
    }

private:
    int m_lastControl;
    int m_page;
    bool m_done = false;
};

// Opens the section library editor on the sample library's catalogue and tables.
bool openSectionLibrary(HostedModule& module, std::string& error, const Kx_String& profile, int page)
{
    auto* start = launcher<bool(DlgEditLibData&, const Kx_String&)>(module, kStartDlgEditLibSections,
                                                                     "StartDlgEditLibSections", error);
    if (start == nullptr)
        return false;
    DlgEditLibData data;
    if (!data.readLibrary()) {
        error = "the library's prof/sections.cat cannot be read";
        return false;
    }
    // The tables page's list of tables (1248) is made after every tab before it exists.
    std::optional<TabPreselection> preselect;
    if (page > 0)
        preselect.emplace(1248, page);
    start(data, profile);
    return true;
}

// Presses a button of the dialog designer as a person would, posted once the button is made; the
// designer's modal loop takes the click when it starts, after the layout is drawn.
class DesignerButtonPress : public kxwin::WindowObserver {
public:
    explicit DesignerButtonPress(int button) : m_button(button) { kxwin::addWindowObserver(this); }
    ~DesignerButtonPress() override { kxwin::removeWindowObserver(this); }
    DesignerButtonPress(const DesignerButtonPress&) = delete;
    DesignerButtonPress& operator=(const DesignerButtonPress&) = delete;

    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        // The designer's template makes the button after its open button (1299).
        if (m_done || change != kxwin::WindowChange::Created || GetDlgCtrlID(hwnd) != m_button
            || GetDlgItem(GetParent(hwnd), 1299) == nullptr)
            return;
        m_done = true;
        PostMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_button), BN_CLICKED),
                    reinterpret_cast<LPARAM>(hwnd));
    }

private:
    int m_button;
    bool m_done = false;
};

// The designer's tab-order view and preview buttons.
constexpr int kDesignerTabOrderButton = 1644;
constexpr int kDesignerPreviewButton = 1645;

// The dialog designer on the end plate layout of the library, with one of its buttons pressed.
bool openDesignerPressing(HostedModule& module, std::string& error, int button)
{
    auto* start = launcher<bool(const Kx_String&)>(module, kStartDlgDesigner, "StartDlgDesigner", error);
    if (start == nullptr)
        return false;
    DesignerButtonPress press(button);
    start("End plates\\end plate");
    return true;
}

// A few IPE rows of the sample library (library/sections/IPE.tsv): name, h, b and tw in mm.
Kx_Array<Kx_StringArray> sampleProfileRows()
{
    Kx_Array<Kx_StringArray> rows;
    rows.append(texts({"IPE 80", "80", "46", "3.8"}));
    rows.append(texts({"IPE 100", "100", "55", "4.1"}));
    rows.append(texts({"IPE 120", "120", "64", "4.4"}));
    rows.append(texts({"IPE 140", "140", "73", "4.7"}));
    return rows;
}

// A cut of the sample frame's end plate connection: its modules own it.
DlgMacroCutsData sampleCut(bool existing)
{
    DlgMacroCutsData data;
    data.owner.modules = texts({"End plate", "Splice", "Base plate"});
    for (int i = 0; i < data.owner.modules.length(); ++i)
        data.owner.cutNames.append(texts({"Notch"}));
    data.moduleName = "End plate";
    data.existing = existing;
    if (existing) {
        data.cutName = "Haunch cut";
        data.cutType = kCutProf3Segments;
        data.optionFlags = {false, false, false, true, false};
        data.secondName = "Haunch";
    } else {
        data.cutName = "Cut1";
        data.cutType = kCutProfVsPlate;
        data.optionIndex = 3;
    }
    DlgMacroCutsData::GetDefaultValues(data.cutType, data.varNames, data.values, data.varFlags);
    return data;
}

// Opens the select-macro dialog on the library's macros with the filter grid shown or hidden; the
// user's own choice of that is put back afterwards.
// The filtered open/save dialog as the macro dialog's property-file buttons open it.
bool openPropertyFileDialog(HostedModule& module, std::string& error, bool save)
{
    auto* run = launcher<bool(bool)>(module, kRunPropertyFileDialogSample, "runPropertyFileDialogSample", error);
    if (run == nullptr)
        return false;
    run(save);
    return true;
}

bool openSelectMacro(HostedModule& module, std::string& error, bool filterShown)
{
    using Start = bool(const Kx_String&, const Kx_StringArray&, const int&, const int&, Kx_String&, bool&, bool);
    auto* start = launcher<Start>(module, kStartDlgSelectMacro, "StartDlgSelectMacro", error);
    if (start == nullptr)
        return false;
    bool before = false;
    const bool stored = readDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", before);
    writeDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", filterShown);
    Kx_String chosen;
    bool pick = true;
    start("", Kx_MacroPropsFilter().getAllDwgFiles(), 120, 90, chosen, pick, /*extraText=*/false);
    writeDlgRegBool("DLG_SELECT_MACRO", "LARGE_DLG", stored ? before : false);
    return true;
}

// Notes the constraint editor's window as its last page's last button is made.
class ConstraintEditorWatch : public kxwin::WindowObserver {
public:
    ConstraintEditorWatch() { kxwin::addWindowObserver(this); }
    ~ConstraintEditorWatch() override { kxwin::removeWindowObserver(this); }
    ConstraintEditorWatch(const ConstraintEditorWatch&) = delete;
    ConstraintEditorWatch& operator=(const ConstraintEditorWatch&) = delete;

    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        // Button 1037 (coordinate system) is the last control of the new-constraint page (216).
        if (change == kxwin::WindowChange::Created && GetDlgCtrlID(hwnd) == 1037)
            editor = GetParent(GetParent(hwnd));
    }
    HWND editor = nullptr;
};

// The cutting-stock sample: the library's two sets ("Cutting Stock/Hall A" and "Canopy") with
// their required lengths, and their stock and purchase lists read from the newest sample files.
DlgCSP2Data sampleCuttingStock(bool stockOnly)
{
    DlgCSP2Data data;
    data.stockOnly = stockOnly;
    data.table1.columnNames = texts({"Profile", "Length", "Count"});
    data.table2.columnNames = texts({"Profile", "Length", "In stock"});
    data.table3.columnNames = texts({"Profile", "Length", "Price/m"});
    const struct {
        const char* name;
        const char* stock;
        const char* buy;
    } sets[] = {{"Hall A", "Stock2.shp", "Stock1.buy"}, {"Canopy", "Stock1.shp", "Stock1.buy"}};
    for (int i = 0; i < 2; ++i) {
        const std::int32_t id = i + 1;
        data.setIds.append(id);
        data.setNames.append(sets[i].name);
        const Kx_String folder = Kx_Settings::libDir() + "Cutting Stock/" + sets[i].name + "/";
        Kx_Array<Kx_StringArray> rows;
        std::string error;
        if (kx::readStockFile(folder + sets[i].stock, rows, error))
            data.table2.appendRows(id, rows);
        if (kx::readStockFile(folder + sets[i].buy, rows, error))
            data.table3.appendRows(id, rows);
    }
    data.table1.appendRows(1, {texts({"IPE 200", "5350", "8"}), texts({"IPE 200", "2475", "16"}),
                               texts({"HEA 160", "3980", "6"})});
    data.table1.appendRows(2, {texts({"RHS 100x50x4", "2850", "12"}), texts({"UPN 140", "4100", "4"})});
    return data;
}

// Notes the profile page's segments button as it is made, so the page can be asked to open the
// segmented dialog as a person would with a click.
class SegmentsButtonWatch : public kxwin::WindowObserver {
public:
    SegmentsButtonWatch() { kxwin::addWindowObserver(this); }
    ~SegmentsButtonWatch() override { kxwin::removeWindowObserver(this); }
    SegmentsButtonWatch(const SegmentsButtonWatch&) = delete;
    SegmentsButtonWatch& operator=(const SegmentsButtonWatch&) = delete;

    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        // 1210 is the profile page's segments button (template 219).
        if (change == kxwin::WindowChange::Created && GetDlgCtrlID(hwnd) == 1210)
            button = hwnd;
    }
    HWND button = nullptr;
};

// The sample macro with its profile tab shown first.
MacroData sampleProfileMacro()
{
    MacroData data = kxcore::sampleMacroData(0);
    data.initialTab = "Profiles";
    return data;
}

} // namespace

EditConstrData sampleConstraintData()
{
    kxcore::MacroModel& model = kxcore::MacroModel::instance();
    if (model.macros().empty())
        model.placeSampleFrames(kxhost::activeDrawing());
    EditConstrData data;
    if (model.macros().empty())
        return data;
    data = model.macros().front()->constraints;
    data.macroId = model.macros().front()->macroObject;
    if (!data.modules.isEmpty())
        data.currentModule = data.modules[0].name;
    data.loadCurrentModule();
    return data;
}

bool openSampleConstraintEditor(HostedModule& module, int page, bool settings, std::string& error)
{
    auto* start = launcher<bool(EditConstrData&)>(module, kStartDlgEditConstraints, "StartDlgEditConstraints", error);
    if (start == nullptr)
        return false;
    EditConstrData data = sampleConstraintData();
    ConstraintEditorWatch watch;
    start(data);
    if (watch.editor == nullptr)
        return true;
    HWND tabs = GetDlgItem(watch.editor, 8097);
    RECT r{};
    if (page > 0 && tabs != nullptr && SendMessage(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&r))) {
        // A click on the tab, as a person chooses a page.
        const LPARAM at = MAKELPARAM(static_cast<WORD>((r.left + r.right) / 2), static_cast<WORD>((r.top + r.bottom) / 2));
        SendMessage(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessage(tabs, WM_LBUTTONUP, 0, at);
    }
    if (settings) {
        HWND button = GetDlgItem(watch.editor, 1137);
        SendMessage(watch.editor, WM_COMMAND, MAKEWPARAM(1137, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    return true;
}

namespace {

// The sample macro's dialog, modeless, with `tab` shown: `act` works on it as a person would (its
// window and the data the dialog holds, with the control ids it gave out), then the dialog closes.
// The drawing keeps what the dialogs applied.
bool withSampleMacroDialog(HostedModule& module, const char* tab, const std::function<void(MacroData&)>& adjust,
                           const std::function<void(HWND dialog, const MacroData& data)>& act, std::string& error)
{
    auto* start = launcher<bool(bool, MacroData&, int&)>(module, kStartDlgMacroModeless, "StartDlgMacroModeless", error);
    auto* get = launcher<bool(int, MacroData&)>(module, kGetDlgMacroData, "GetDlgMacroData", error);
    auto* end = launcher<bool(int)>(module, kEndDlgMacroModeless, "EndDlgMacroModeless", error);
    if (start == nullptr || get == nullptr || end == nullptr)
        return false;
    MacroData data = kxcore::sampleMacroData(0);
    data.initialTab = tab;
    if (adjust)
        adjust(data);
    int slot = -1;
    if (!start(true, data, slot)) {
        error = "the macro dialog could not be made";
        return false;
    }
    MacroData shown;
    HWND dialog = nullptr;
    for (HWND w : GetTopLevelWindows())
        if (IsWindowVisible(w) && GetWindowText(w) == data.title.str())
            dialog = w;
    if (get(slot, shown) && dialog != nullptr)
        act(dialog, shown);
    end(slot);
    return true;
}

// The shown control with this id under root (the page of the tab shown holds it); null when none.
HWND shownControl(HWND root, int id)
{
    for (HWND c = GetWindow(root, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) == id && IsWindowVisible(c))
            return c;
        if (HWND inner = shownControl(c, id))
            return inner;
    }
    return nullptr;
}

// A click on a button of the shown page, as the page hears it.
void pressPageButton(HWND dialog, int id)
{
    if (HWND button = shownControl(dialog, id))
        SendMessage(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// Space on the grid button cell of the shown page's row, as a person presses it.
void pressGridButton(HWND dialog, int row)
{
    HWND grid = shownControl(dialog, 1001);
    if (grid == nullptr || row < 1)
        return;
    SSSetActiveCell(grid, 2, row);
    SetFocus(grid);
    SendMessage(grid, WM_KEYDOWN, VK_SPACE, 0);
    SendMessage(grid, WM_KEYUP, VK_SPACE, 0);
}

// The bolt pattern dialog on pattern `index` of the bolt tab, whose button is a grid cell.
bool openSamplePattern(HostedModule& module, int index, std::string& error)
{
    return withSampleMacroDialog(
        module, "Bolts",
        [index](MacroData& data) {
            int tab = 0;
            if (data.findTab("Bolts", tab) && index < data.tabs[tab].patterns.length())
                data.tabs[tab].patterns[index].hasButton = true;
        },
        [index](HWND dialog, const MacroData& data) {
            int tab = 0;
            if (data.findTab("Bolts", tab) && index < data.tabs[tab].patterns.length())
                pressGridButton(dialog, -data.tabs[tab].patterns[index].btnId);
        },
        error);
}

// The array dialog on an array of the sample macro, as a page hands it over.
bool openSampleArray(HostedModule& module, const char* tabName, int kind, std::string& error)
{
    using Start = bool(DynArrayData&, const AcArray<AcDbObjectId>&, const Kx_String&);
    auto* start = launcher<Start>(module, kStartArrayDlg, "StartArrayDlg", error);
    if (start == nullptr)
        return false;
    const MacroData data = kxcore::sampleMacroData(0);
    int tab = 0;
    if (!data.findTab(tabName, tab) || data.tabs[tab].arrays.isEmpty()) {
        error = std::string("the sample macro has no array in ") + tabName;
        return false;
    }
    DynArrayData array = data.tabs[tab].arrays[0];
    array.arrayKind = kind;
    AcArray<AcDbObjectId> ids = data.objectIds;
    for (const AcDbObjectId& id : data.moduleIds)
        ids.append(id);
    start(array, ids, data.tabs[tab].moduleName);
    return true;
}

} // namespace

std::vector<SampleDialog> sampleDialogs()
{
    return {
        {"axisgrid", "the axis grid dialog (242)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(ZnGridDlgData&)>(module, kStartDlgGrid, "StartDlgGrid", error);
             if (start == nullptr)
                 return false;
             ZnGridDlgData data;
             start(data);
             return true;
         }},
        {"lookup", "the table lookup dialog (244)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(ZnLookUpDlgData&)>(module, kStartDlgLookUp, "StartDlgLookUp", error);
             if (start == nullptr)
                 return false;
             ZnLookUpDlgData data;
             data.list1 = texts({"HEA.sss", "HEB.sss", "IPE.sss"});
             data.text1 = "IPE.sss";
             data.list3 = texts({"Name", "h", "b", "tw"});
             data.text3 = "Name";
             data.list4 = texts({"IPE 80", "IPE 100", "IPE 120"});
             data.text4 = "IPE 100";
             data.list5 = data.list3;
             data.text5 = "h";
             start(data);
             return true;
         }},
        {"stringarray", "the string-array dialog (208)",
         [](HostedModule& module, std::string& error) {
             using Start = bool(const Kx_StringArray&, const Kx_StringArray&, Kx_Array<Kx_StringArray>&, bool,
                                Kx_String, Kx_String);
             auto* start = launcher<Start>(module, kStartGridDialog, "startGridDialog", error);
             if (start == nullptr)
                 return false;
             Kx_Array<Kx_StringArray> rows = sampleProfileRows();
             start(texts({"Name", "h", "b", "tw"}), {}, rows, /*allowRowEdit=*/true, "IPE", "");
             return true;
         }},
        {"editlibsimple", "the simple library editor on the HEA table with HEA-200 selected (226)",
         [](HostedModule& module, std::string& error) {
             using Start = bool(const Kx_String&, Kx_ProfValuesTable&, int&);
             auto* start = launcher<Start>(module, kStartDlgEditLibSimple, "StartDlgEditLibSimple", error);
             if (start == nullptr)
                 return false;
             Kx_ProfValuesTable table;
             int selected = 0;
             if (!table.readFromFile("HEA.pr") || !table.findSysName("200", selected)) {
                 error = "the library's prof/HEA.pr cannot be read or has no HEA-200";
                 return false;
             }
             start(table.typeName, table, selected);
             return true;
         }},
        {"sectionlib", "the section library editor on the sample catalogue, groups page (209, 8138)",
         [](HostedModule& module, std::string& error) { return openSectionLibrary(module, error, "", 0); }},
        {"sectionlib-types", "the section library editor, types page (209, 8139)",
         [](HostedModule& module, std::string& error) { return openSectionLibrary(module, error, "", 1); }},
        {"sectionlib-tables", "the section library editor opened on HEA-200, tables page (209, 8716)",
         [](HostedModule& module, std::string& error) { return openSectionLibrary(module, error, "HEA-200", 0); }},
        {"gridheaders", "the grid headers dialog of the sheet-headers command (8250)",
         [](HostedModule& module, std::string& error) {
             auto* run = launcher<bool(HWND)>(module, kRunSheetHeadersCommand, "runSheetHeadersCommand", error);
             if (run == nullptr)
                 return false;
             const Kx_Array<Kx_StringArray> rows = sampleProfileRows();
             HWND grid = kxgrid::createStandaloneGrid(4, rows.length());
             const char* titles[] = {"Name", "h", "b", "tw"};
             for (int c = 0; c < 4; ++c)
                 SSSetData(grid, c + 1, 0, titles[c]);
             for (int r = 0; r < rows.length(); ++r)
                 SSSetData(grid, 0, r + 1, rows[r][0].c_str());
             run(grid);
             DestroyWindow(grid);
             return true;
         }},
        {"designer", "the dialog designer on the base-plate layout, two controls selected (227)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(const Kx_String&)>(module, kStartDlgDesigner, "StartDlgDesigner", error);
             if (start == nullptr)
                 return false;
             // The base plate's first two variable edits (controls 2 and 4).
             DesignerPreselection select(33002, 33004);
             start("Base plates\\base plate");
             return true;
         }},
        {"designer-taborder", "the dialog designer showing the end plate layout's tab order (227)",
         [](HostedModule& module, std::string& error) {
             return openDesignerPressing(module, error, kDesignerTabOrderButton);
         }},
        {"designer-preview", "the designer's preview of the end plate layout with the sample macro's values (9640)",
         [](HostedModule& module, std::string& error) {
             return openDesignerPressing(module, error, kDesignerPreviewButton);
         }},
        {"macro-cuts", "the macro cuts dialog, a new cut of the end plate (223)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(DlgMacroCutsData&, bool&)>(module, kStartDlgMacroCuts, "StartDlgMacroCuts", error);
             if (start == nullptr)
                 return false;
             DlgMacroCutsData data = sampleCut(/*existing=*/false);
             bool escaped = false;
             start(data, escaped);
             return true;
         }},
        {"macro-cuts-existing", "the macro cuts dialog editing an existing three-segment cut (223)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(DlgMacroCutsData&, bool&)>(module, kStartDlgMacroCuts, "StartDlgMacroCuts", error);
             if (start == nullptr)
                 return false;
             DlgMacroCutsData data = sampleCut(/*existing=*/true);
             bool escaped = false;
             start(data, escaped);
             return true;
         }},
        {"select-macro", "the select-macro dialog on the library's macros (8717)",
         [](HostedModule& module, std::string& error) { return openSelectMacro(module, error, false); }},
        {"select-macro-filter", "the select-macro dialog with its filter grid shown (8717)",
         [](HostedModule& module, std::string& error) { return openSelectMacro(module, error, true); }},
        {"opensavefiltered", "the filtered open dialog on the sample macro's property files (231)",
         [](HostedModule& module, std::string& error) { return openPropertyFileDialog(module, error, false); }},
        {"opensavefiltered-save", "the filtered save dialog proposing the sample macro's name (231)",
         [](HostedModule& module, std::string& error) { return openPropertyFileDialog(module, error, true); }},
        {"macro-profile", "the macro dialog on its profile tab: group, section, position, rotation (8131, 219)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<void(MacroData&)>(module, kStartDlgMacro, "StartDlgMacro", error);
             if (start == nullptr)
                 return false;
             MacroData data = sampleProfileMacro();
             start(data);
             return true;
         }},
        {"profile-advanced", "the profile advanced dialog on the sample's beam; its edits move the beam (220)",
         [](HostedModule& module, std::string& error) {
             using Start = void(MacroData&, const Kx_String&, const Kx_String&, bool);
             auto* start = launcher<Start>(module, kStartDlgMacroProfAdv, "StartDlgMacroProfAdv", error);
             if (start == nullptr)
                 return false;
             MacroData data = kxcore::sampleMacroData(0);
             start(data, "Profiles", "beam", /*openMode=*/false);
             return true;
         }},
        {"profile-segmented", "the segmented profile dialog of the sample's profile tab (221)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(bool, MacroData&, int&)>(module, kStartDlgMacroModeless, "StartDlgMacroModeless",
                                                                   error);
             auto* end = launcher<bool(int)>(module, kEndDlgMacroModeless, "EndDlgMacroModeless", error);
             if (start == nullptr || end == nullptr)
                 return false;
             MacroData data = sampleProfileMacro();
             int slot = -1;
             SegmentsButtonWatch watch;
             if (!start(true, data, slot)) {
                 error = "the macro dialog could not be made";
                 return false;
             }
             if (watch.button != nullptr)
                 SendMessage(GetParent(watch.button), WM_COMMAND, MAKEWPARAM(1210, BN_CLICKED),
                             reinterpret_cast<LPARAM>(watch.button));
             end(slot);
             return true;
         }},
        {"bolt-advanced", "the bolt settings of the sample macro's bolt tab, from its button (8140)",
         [](HostedModule& module, std::string& error) {
             return withSampleMacroDialog(module, "Bolts", {},
                                          [](HWND dialog, const MacroData&) { pressPageButton(dialog, 1114); }, error);
         }},
        {"macro-pattern", "the bolt pattern dialog on a pattern with a count, from a grid button (222)",
         [](HostedModule& module, std::string& error) { return openSamplePattern(module, 0, error); }},
        {"macro-pattern-nocount", "the bolt pattern dialog on a pattern without a count (222)",
         [](HostedModule& module, std::string& error) { return openSamplePattern(module, 1, error); }},
        {"macro-array", "the array dialog on the sample's web holes, kind 1 (236)",
         [](HostedModule& module, std::string& error) { return openSampleArray(module, "General", 1, error); }},
        {"macro-array-rows", "the array dialog on the base plate's stiffeners as rows, kind 3 (236)",
         [](HostedModule& module, std::string& error) {
             return openSampleArray(module, "Base plates\\base plate", 3, error);
         }},
        {"sheet-editor", "the spreadsheet editor with its menu bar and toolbar, a new sheet (9420)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(const Kx_String&)>(module, kStartSheetEditor, "StartSheetEditor", error);
             if (start == nullptr)
                 return false;
             start(Kx_String());
             return true;
         }},
        {"print-preview", "the print preview of a sample bill with pictures, its first page (9428)",
         [](HostedModule& module, std::string& error) {
             auto* run = launcher<bool()>(module, kRunPrintPreviewSample, "runPrintPreviewSample", error);
             if (run == nullptr)
                 return false;
             if (!run()) {
                 error = "the sample bill could not be printed into the preview";
                 return false;
             }
             return true;
         }},
        // The detailing dialogs of profiles, levels, cladding and images.
        {"profcuts", "the profile cuts dialog on the sample beam, its first cut previewed in the drawing (235)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(DlgProfCutsData&)>(module, kStartEditProfCutsDlg, "StartEditProfCutsDlg", error);
             if (start == nullptr)
                 return false;
             DlgProfCutsData data = kxcore::sampleProfCutsData();
             start(data);
             return true;
         }},
        {"proffeatures", "the profile features dialog, a stiffener on an HEA 200 (241)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(DlgProfFeaturesData&)>(module, kStartDlgProfFeatures, "StartDlgProfFeatures", error);
             if (start == nullptr)
                 return false;
             DlgProfFeaturesData data = kxcore::sampleProfFeaturesData();
             start(data);
             return true;
         }},
        {"levels", "the levels dialog on four building levels (243)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(ZnLevelsDlgData&)>(module, kStartDlgLevels, "StartDlgLevels", error);
             if (start == nullptr)
                 return false;
             ZnLevelsDlgData data = kxcore::sampleLevelsData();
             start(data);
             return true;
         }},
        {"cladding", "the cladding settings dialog, a UPN 100 at a fixed spacing (252)",
         [](HostedModule& module, std::string& error) {
             auto* start =
                 launcher<bool(ZnCladdingDlgData&)>(module, kStartDlgCladdingSettings, "StartDlgCladdingSettings", error);
             if (start == nullptr)
                 return false;
             ZnCladdingDlgData data = kxcore::sampleCladdingData();
             start(data);
             return true;
         }},
        {"selectimage", "the image selection dialog on the library's cut pictures (8719)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(ZnSelectImageDlgData&)>(module, kStartDlgSelectImage, "StartDlgSelectImage", error);
             if (start == nullptr)
                 return false;
             ZnSelectImageDlgData data;
             data.title = "Select a cut picture";
             for (const char* picture : {"CutProfvsPlate", "CutProfvsProf", "CutProfinProf", "CutProfvsProf3Segments",
                                         "CutChamfer", "CutFillet"})
                 data.images.append(Kx_Settings::libDir() + "icons/" + picture + ".bmp");
             start(data);
             return true;
         }},
        // Cutting stock and DSTV point groups.
        {"csp2", "the cutting-stock dialog on the library's two sample sets (8122)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(DlgCSP2Data&)>(module, kStartDlgCSP2, "StartDlgCSP2", error);
             if (start == nullptr)
                 return false;
             DlgCSP2Data data = sampleCuttingStock(/*stockOnly=*/false);
             start(data);
             return true;
         }},
        {"csp2-stock", "the cutting-stock dialog in its stock-only mode (8122)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<bool(DlgCSP2Data&)>(module, kStartDlgCSP2, "StartDlgCSP2", error);
             if (start == nullptr)
                 return false;
             DlgCSP2Data data = sampleCuttingStock(/*stockOnly=*/true);
             start(data);
             return true;
         }},
        {"dstv-groups", "the DSTV point groups of the library, the standard group checked (234)",
         [](HostedModule& module, std::string& error) {
             auto* start = launcher<void()>(module, kStartDSTVPointsDlg, "StartDSTVPointsDlg", error);
             if (start == nullptr)
                 return false;
             start();
             return true;
         }},
        {"dstv-points", "the DSTV points of the library's group Welds (233)",
         [](HostedModule& module, std::string& error) {
             auto* edit = launcher<bool(const Kx_String&)>(module, kEditDstvPointGroup, "editDstvPointGroup", error);
             if (edit == nullptr)
                 return false;
             edit("Welds");
             return true;
         }},
    };
}

} // namespace kxapp
