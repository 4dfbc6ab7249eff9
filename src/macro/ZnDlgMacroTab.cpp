// A standard page of the macro dialog: binding, grid rows, values in and out, and the commit.
#include "macro/ZnDlgMacroTab.h"

#include "core/ClashCheck.h"
#include "core/FileIO.h"
#include "core/FileNameCheck.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/MacroLangs.h"
#include "core/Paths.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroProfSupport.h"
#include "macro/ZnDlgMacro.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace {

using T = Kx_ControlType;

// The control's names: the first is its contents, the second to sixth the parts of its extended
// combo list (types 25, 26 and 30), or the combo list as a whole for the other types.
Kx_String nameOf(const Kx_DesignerControl& c, int n)
{
    if (n == 1)
        return c.getContents();
    const T type = c.getType();
    if (type == T(25) || type == T(26)) {
        if (n >= 2 && n <= 5)
            return c.getExtB(n - 1);
        return n == 6 ? c.getComboList() : Kx_String();
    }
    if (type == T(30))
        return n >= 2 && n <= 5 ? c.getExtA(n - 1) : Kx_String();
    return n == 2 ? c.getComboList() : Kx_String();
}

// A cell name of a dimension button may carry a leading '-' (its value counts negative).
Kx_String withoutSign(const Kx_String& name)
{
    return name.startsWith("-") ? name.getSubStringAt(1) : name;
}

// Text 968 on a button, or "..." when the button is narrower than 3 units per character of it.
Kx_String fittedCaption(const Kx_DlgDesignerData& layout, const Kx_DesignerControl& c)
{
    const Kx_String caption = dialString(968);
    return layout.getWidth(c) < 3.0 * caption.length() ? Kx_String("...") : caption;
}

// An array's control ids 1 to 4 show its strings 4, 3, 1 and 2.
constexpr int kStringOf[4] = {3, 2, 0, 1};

// The folder of a block choice's drawings: the layout's folder name (second name) taken inside the
// library folder; no value when it leads outside (an absolute name, a drive, "..", a link).
std::optional<std::string> blockFolder(const Kx_String& name)
{
    if (name.trimmed().isEmpty())
        return Kx_Settings::libDir().str();
    return kx::resolveUnderRoot(Kx_Settings::libDir().str(), name.str());
}

bool isNumberText(const Kx_String& text, double& v)
{
    return text.toDouble(v) && std::isfinite(v);
}

} // namespace

ZnDlgMacroTab::ZnDlgMacroTab(ZnDlgMacro& owner, int tabIndex) : CDialog(kTemplateId), m_owner(owner), m_tabIndex(tabIndex)
{
}

ZnDlgMacroTab::ZnDlgMacroTab(ZnDlgMacro& owner, int tabIndex, int templateId, int gridId)
    : CDialog(templateId), m_owner(owner), m_tabIndex(tabIndex), m_gridId(gridId)
{
}

ZnDlgMacroTab::~ZnDlgMacroTab() = default;

MacroTabData* ZnDlgMacroTab::tab()
{
    MacroData& data = m_owner.data();
    return m_tabIndex >= 0 && m_tabIndex < data.tabs.length() ? &data.tabs[m_tabIndex] : nullptr;
}

BOOL ZnDlgMacroTab::OnInitDialog()
{
    SetDlgItemText(kAssemblyLabel, dialString(275).str());
    SetDlgItemText(kDiameterLabel, dialString(328).str());
    SetDlgItemText(kAdvanced, dialString(968).str());
    m_grid.attach(this, m_gridId);
    build();
    m_ready = true;
    return FALSE;
}

void ZnDlgMacroTab::OnOK()
{
    // Enter: a layout control commits; in the grid it only leaves the cell's edit mode.
    HWND focus = GetFocus();
    if (focus != nullptr && m_grid.m_hWnd != nullptr && (focus == m_grid.m_hWnd || IsChild(m_grid.m_hWnd, focus))) {
        m_grid.leaveEditMode();
        return;
    }
    commit();
}

void ZnDlgMacroTab::OnCancel()
{
    // Escape on a page closes the dialog, as the close box does.
    m_owner.PostMessage(WM_CLOSE, 0, 0);
}

void ZnDlgMacroTab::build()
{
    MacroTabData* t = tab();
    if (!t)
        return;
    t->removeAllDlgReferences();
    m_removed.clear();
    m_boltAdvanced = false;
    m_hasLayout = false;
    m_imageWidth = m_imageHeight = 0;
    if (!t->layoutName.isEmpty()) {
        m_layout.initialize(m_hWnd, kDesignerFirstResourceId, kDesignerLastResourceId, 0, 0, 0, 0, 0, false);
        Kx_LayoutReadReport report;
        if (m_layout.readFromFile(t->layoutName, /*withPicture=*/true, report)) {
            m_hasLayout = true;
            m_layout.getImageSize(m_imageWidth, m_imageHeight);
            // Bind in order; a control that cannot be bound leaves the layout, its item the grid.
            int fileIndex = 0;
            for (int i = 0; i < m_layout.getNrControls(); ++fileIndex) {
                Kx_DesignerControl* c = m_layout.getControlWrite(i);
                std::string reason;
                if (bind(*c, reason)) {
                    ++i;
                    continue;
                }
                m_removed.push_back({fileIndex, static_cast<int>(c->getType()), c->getContents().str(), reason});
                m_layout.removeControl(i);
            }
            m_layout.redrawAllControls();
        } else {
            m_removed.push_back({-1, -1, t->layoutName.str(), report.message.empty() ? "the layout cannot be read"
                                                                                      : report.message});
        }
    }
    fillGrid();
    fillBoltCombos();
    placeControls();
    showValues();
}

bool ZnDlgMacroTab::bind(Kx_DesignerControl& c, std::string& reason)
{
    MacroTabData& t = *tab();
    const int id = c.getResourceId();
    const Kx_String name = c.getContents();
    const int type = static_cast<int>(c.getType());
    int i = 0;
    const auto fail = [&](const std::string& why) {
        reason = why;
        return false;
    };
    switch (type) {
    case 0:
    case 1: {
        // A label in the macro language; with a second name, the value of that cell follows it.
        c.setContents(MacroLangs::GetStringChopSymbols("", name, true, "x"));
        return true;
    }
    case 2:
    case 3:
        if (!t.findCellWithName(name, i))
            return fail("no cell " + name.str());
        t.cells[i].ctrlId = id;
        c.setReadOnly(t.cells[i].readOnly);
        if (type == 3 && t.cells[i].kind != kMacroCellList && t.cells[i].kind != kMacroCellListEditable
            && c.getComboList().isEmpty())
            c.setItems(Kx_StringArray({t.cells[i].value}));
        c.setContents(t.cells[i].value);
        return true;
    case 4:
    case 5:
    case 6:
        if (!t.findPatternWithName(name, i))
            return fail("no pattern " + name.str());
        if (type == 5 && t.patterns[i].getCount() == -1)
            return fail("pattern " + name.str() + " has no count");
        if (type == 4)
            t.patterns[i].valueId = id;
        else if (type == 5)
            t.patterns[i].countId = id;
        else
            t.patterns[i].btnId = id;
        c.setContents(type == 4 ? t.patterns[i].value : type == 5 ? t.patterns[i].count : Kx_String("..."));
        return true;
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
        if (!t.findPatternWithName(name, i))
            return fail("no pattern " + name.str());
        if (type == 12) {
            t.bolt.advancedId = id;
            m_boltAdvanced = true;
            c.setContents(fittedCaption(m_layout, c));
            return true;
        }
        t.bolt.ids[static_cast<size_t>(type - 7)] = id;
        if (type == 7) {
            Kx_StringArray assemblies;
            GetAssemblies(assemblies);
            c.setItems(assemblies);
        }
        c.setContents(t.bolt.strings[static_cast<size_t>(type - 7)]);
        return true;
    case 13:
    case 14:
    case 15:
    case 16:
    case 17: {
        MacroProfData merged;
        if (!t.findProfDataWithGroup(name, i) || !t.getMergedPropsOfGroup(name, merged))
            return fail("no profile group " + name.str());
        // The ids go to every profile of the group, so each is found by its controls.
        for (MacroProfData& p : t.profiles)
            if (p.group == name)
                p.ids[static_cast<size_t>(type - 13)] = id;
        if (type == 13) {
            c.setItems(Kx_StringArray({merged.profileName}));
            c.setContents(merged.profileName);
        } else if (type == 14) {
            c.setContents(dialString(969));
        } else if (type == 15) {
            Kx_StringArray offsets;
            getOffsetTypeStrings(false, offsets);
            c.setItems(offsets);
            const int k = getDlgOffsetType(merged);
            c.setContents(k >= 0 && k < offsets.length() ? offsets[k] : dialString(695));
        } else if (type == 16) {
            c.setItems(Kx_StringArray({"0°", "90°", "180°", "270°", dialString(695)}));
            c.setContents(isVariesText(merged.angle) ? merged.angle : merged.angle + Kx_String("°"));
        } else {
            c.setContents(fittedCaption(m_layout, c));
        }
        return true;
    }
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24: {
        if (!t.findArrayWithName(name, i))
            return fail("no array " + name.str());
        DynArrayData& a = t.arrays[i];
        switch (type) {
        case 18:
            a.valueId = id;
            c.setContents(a.value);
            break;
        case 19:
            a.ids[0] = id;
            c.setContents(a.strings[3]);
            break;
        case 20:
            // The special value exists for kind 1 only; another kind would read it back empty.
            if (a.arrayKind != 1)
                return fail("array " + name.str() + " has no special value (kind " + std::to_string(a.arrayKind) + ")");
            a.ids[1] = id;
            c.setContents(a.strings[2]);
            break;
        case 21:
            a.ids[2] = id;
            c.setContents(a.strings[0]);
            break;
        case 22:
            a.ids[3] = id;
            c.setContents(a.strings[1]);
            break;
        case 23: {
            int entry = -1;
            if (a.arrayKind == 1 || !nameOf(c, 2).toInt(entry) || entry < 0 || entry >= a.entries.length())
                return fail("array " + name.str() + " has no entry " + nameOf(c, 2).str());
            a.entries[entry].ctrlId = id;
            c.setContents(a.entries[entry].value);
            break;
        }
        default:
            a.btnId = id;
            c.setContents(fittedCaption(m_layout, c));
            break;
        }
        return true;
    }
    case 25:
    case 26: {
        // A dimension button: bound to the computed cell it shows; its target cells must exist.
        const Kx_String base = nameOf(c, 3);
        if (!t.findCellWithName(base, i))
            return fail("no cell " + base.str());
        if (!t.cells[i].readOnly)
            return fail("cell " + base.str() + " is not read-only");
        int a = 0;
        if (!t.findCellWithName(withoutSign(nameOf(c, 4)), a) || t.cells[a].readOnly)
            return fail("no editable cell " + nameOf(c, 4).str());
        t.cells[i].ctrlId = id;
        return true;
    }
    case 27: {
        if (!t.block.enabled)
            return fail("the tab has no block choice");
        Kx_StringArray items;
        if (const auto folder = blockFolder(nameOf(c, 2))) {
            Kx_StringArray files;
            ObjectExportFindFiles(Kx_String(*folder), "*.dwg", files);
            for (const Kx_String& f : files)
                items.append(removeExtension(getFileName(f)));
            items.append(dialString(695));
        } else {
            // A folder that leads out of the library lists nothing: the layout says so once here.
            acutPrintf("*Error* Layout %s: the block folder \"%s\" lies outside the library folder; no blocks "
                       "are listed.\n",
                       t.layoutName.c_str(), nameOf(c, 2).c_str());
        }
        c.setItems(items);
        c.setContents(t.block.blockName);
        t.block.ctrlId = id;
        return true;
    }
    case 28:
        if (!t.findCutWithName(name, i))
            return fail("no cut " + name.str());
        t.cuts[i].ctrlId = id;
        c.setContents(Kx_String(t.cuts[i].value));
        return true;
    case 29: {
        const Kx_String cellName = nameOf(c, 2);
        if (!t.findCellWithName(cellName, i))
            return fail("no cell " + cellName.str());
        t.cells[i].ctrlId = id;
        c.setReadOnly(t.cells[i].readOnly);
        c.setContents(MacroLangs::GetStringChopSymbols("", name, true, "x"));
        c.setComboList(t.cells[i].value);
        return true;
    }
    case 30:
        if (!t.hasBtnFlexFix(name))
            return fail("no flexible/fixed button " + name.str());
        return true;
    default:
        return true;
    }
}

void ZnDlgMacroTab::fillGrid()
{
    MacroTabData& t = *tab();
    HWND g = m_grid.m_hWnd;
    if (g == nullptr)
        return;
    m_grid.setStandardLook(1);
    SSSetBool(g, 8, FALSE);
    int row = 0;
    struct Row {
        Kx_String label;
        enum Kind { Cell, Pattern, Array } kind;
        int index;
    };
    std::vector<Row> rows;
    for (int i = 0; i < t.cells.length(); ++i)
        if (t.cells[i].ctrlId <= 0)
            rows.push_back({t.cells[i].description, Row::Cell, i});
    for (int i = 0; i < t.patterns.length(); ++i) {
        const MacroPatternProps& p = t.patterns[i];
        const bool shownInLayout = p.valueId > 0 && (p.getCount() == -1 || p.countId > 0);
        if (t.kind == 1 && !shownInLayout)
            rows.push_back({p.description, Row::Pattern, i});
    }
    for (int i = 0; i < t.arrays.length(); ++i)
        if (t.arrays[i].btnId <= 0 && t.arrays[i].valueId <= 0)
            rows.push_back({t.arrays[i].description, Row::Array, i});

    m_gridRows = static_cast<int>(rows.size());
    m_grid.setColCount(4);
    m_grid.setRowCount(std::max(m_gridRows, 1));
    SSSetColWidth(g, 1, 22);
    SSSetColWidth(g, 2, 5);
    SSSetColWidth(g, 3, 14);
    SSSetColWidth(g, 4, 7);
    SSSetLockColor(g, RGB(0xE6, 0xE6, 0xE6), RGB(0, 0, 0));
    for (const Row& r : rows) {
        ++row;
        m_grid.setCellData(1, row, r.label);
        m_grid.setLock(1, row, true);
        if (r.kind == Row::Cell) {
            MacroCell& c = t.cells[r.index];
            m_grid.joinCells(1, row, 2, 1);
            m_grid.joinCells(3, row, 2, 1);
            if (c.kind == kMacroCellList || c.kind == kMacroCellListEditable) {
                // The list the cell offers is its value; the core refills it when the value changes.
                m_grid.setComboCell(3, row, Kx_StringArray({c.value}), c.kind == kMacroCellList ? 0x400000 : 0x400002,
                                    c.value);
            } else if (c.kind == kMacroCellCheck) {
                m_grid.setCheckCell(3, row, kxss::sharedButtonBitmap(8134), kxss::sharedButtonBitmap(8136),
                                    c.value == "1");
            } else {
                m_grid.setTextCell(3, row, 0xC00080, 1000, c.value);
            }
            m_grid.setLock(3, row, c.readOnly);
            c.ctrlId = -row;
        } else if (r.kind == Row::Pattern) {
            MacroPatternProps& p = t.patterns[r.index];
            if (p.valueId <= 0)
                p.valueId = -row;
            if (p.getCount() != -1) {
                if (p.countId <= 0)
                    p.countId = -row;
            } else {
                m_grid.joinCells(3, row, 2, 1);
            }
            if (p.hasButton) {
                m_grid.setButtonCell(2, row, dialString(1324));
                // A button in the layout keeps its id; the grid's button answers for it otherwise.
                if (p.btnId <= 0)
                    p.btnId = -row;
            } else {
                m_grid.joinCells(1, row, 2, 1);
            }
        } else {
            DynArrayData& a = t.arrays[r.index];
            m_grid.joinCells(3, row, 2, 1);
            m_grid.setButtonCell(2, row, dialString(1324));
            a.valueId = -row;
            a.btnId = -row;
        }
    }
    SSSetBool(g, 8, TRUE);
    if (m_gridRows > 0)
        m_grid.show();
    else
        m_grid.hide();
}

void ZnDlgMacroTab::fillBoltCombos()
{
    MacroTabData& t = *tab();
    const bool row = t.kind == 1 && !m_boltAdvanced;
    m_boltRow = row;
    for (int id : {kAssemblyLabel, kDiameterLabel, kAssembly, kDiameter, kAdvanced})
        if (HWND h = GetDlgItem(id))
            ::ShowWindow(h, row ? SW_SHOW : SW_HIDE);
    if (!row)
        return;
    const auto fill = [&](int id, const Kx_StringArray& items, const Kx_String& current) {
        ::SendMessage(GetDlgItem(id), CB_RESETCONTENT, 0, 0);
        Kx_StringArray list = items;
        if (!current.isEmpty() && !list.contains(current, false))
            list.append(current);
        for (const Kx_String& s : list)
            ::SendMessage(GetDlgItem(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        int index = -1;
        if (!current.isEmpty())
            list.find(current, index, false);
        ::SendMessage(GetDlgItem(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    };
    Kx_StringArray assemblies, diameters;
    GetAssemblies(assemblies);
    GetMergedDiameters(&m_owner.data(), t.moduleName, diameters);
    fill(kAssembly, assemblies, t.bolt.assembly());
    fill(kDiameter, diameters, t.bolt.diameter());
}

SIZE ZnDlgMacroTab::neededSize() const
{
    const int gridHeight = m_gridRows > 0 ? 130 : 0;
    const int boltRow = bottomRowHeight();
    return {std::max(m_imageWidth + 6, 310), m_imageHeight + gridHeight + boltRow + 6};
}

void ZnDlgMacroTab::placeControls()
{
    RECT client;
    GetClientRect(client);
    const int width = std::max<int>(client.right - client.left, 1);
    const int height = std::max<int>(client.bottom - client.top, 1);
    // The grid under the layout picture, the bolt row under the grid.
    const int boltRow = bottomRowHeight();
    const int top = m_imageHeight + 2;
    if (m_grid.m_hWnd != nullptr)
        ::MoveWindow(m_grid.m_hWnd, 3, top, std::max(width - 6, 10), std::max(height - top - boltRow - 4, 20), TRUE);
    if (m_boltRow) {
        const int y = height - boltRow + 6;
        const auto place = [&](int id, int x, int w, int h) {
            if (HWND c = GetDlgItem(id))
                ::MoveWindow(c, x, y, w, h, TRUE);
        };
        place(kAssemblyLabel, 3, 60, 16);
        place(kAssembly, 66, 110, 200);
        place(kDiameterLabel, 182, 56, 16);
        place(kDiameter, 240, 70, 200);
        place(kAdvanced, 316, 90, 22);
    }
}

void ZnDlgMacroTab::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    placeControls();
}

BOOL ZnDlgMacroTab::OnEraseBkgnd(HDC dc)
{
    // The dialog's face, then the layout's picture at the top left (white is transparent).
    CDialog::OnEraseBkgnd(dc);
    if (m_hasLayout)
        m_layout.OnEraseBkgnd(dc);
    return TRUE;
}

void ZnDlgMacroTab::setGridText(int col, int row, const Kx_String& text)
{
    if (m_grid.m_hWnd != nullptr && row >= 1)
        SSSetData(m_grid.m_hWnd, col, row, text.c_str());
}

Kx_String ZnDlgMacroTab::gridText(int col, int row) const
{
    if (m_grid.m_hWnd == nullptr)
        return {};
    const int length = SSGetDataLen(m_grid.m_hWnd, col, row);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(SSGetData(m_grid.m_hWnd, col, row, text.data(), length + 1), 0)));
    return Kx_String(text);
}

Kx_String ZnDlgMacroTab::controlText(int id) const
{
    Kx_String value;
    if (m_layout.isADynControl(id))
        m_layout.getCtrlValue(id, value);
    return value;
}

void ZnDlgMacroTab::showValues()
{
    MacroTabData* t = tab();
    if (!t)
        return;
    // Flexible/fixed buttons follow the tab's state.
    Kx_StringArray groups;
    m_layout.getFlexBtnsGroups(groups);
    for (const Kx_String& group : groups) {
        int g = 0;
        if (!t->findFlexFixGroup(group, g))
            continue;
        for (const MacroFlexFixButton& b : t->flexFixGroups[g].buttons)
            m_layout.setFlexBtnStatus(group, b.name, b.fixed ? 0 : 1);
    }
    for (const MacroCell& c : t->cells) {
        if (c.ctrlId > 0) {
            const Kx_DesignerControl* ctrl = m_layout.getControlFromRes(c.ctrlId);
            // A dimension button shows its caption, not the cell's value.
            if (ctrl && (ctrl->getType() == T(25) || ctrl->getType() == T(26)))
                continue;
            m_layout.setCtrlValue(c.ctrlId, c.value);
            m_layout.setCtrlReadOnly(c.ctrlId, c.readOnly);
        } else if (c.ctrlId < 0) {
            setGridText(3, -c.ctrlId, c.value);
        }
    }
    for (const MacroCutData& c : t->cuts)
        if (c.ctrlId > 0)
            m_layout.setCtrlValue(c.ctrlId, Kx_String(c.value));
    for (const MacroPatternProps& p : t->patterns) {
        if (p.valueId > 0)
            m_layout.setCtrlValue(p.valueId, p.value);
        else if (p.valueId < 0)
            setGridText(3, -p.valueId, p.value);
        if (p.getCount() != -1) {
            if (p.countId > 0)
                m_layout.setCtrlValue(p.countId, p.count);
            else if (p.countId < 0)
                setGridText(4, -p.countId, p.count);
        }
    }
    for (size_t k = 0; k < t->bolt.ids.size(); ++k)
        if (t->bolt.ids[k] > 0)
            m_layout.setCtrlValue(t->bolt.ids[k], t->bolt.strings[k]);
    if (m_boltRow)
        fillBoltCombos();
    for (const DynArrayData& a : t->arrays) {
        if (a.valueId > 0)
            m_layout.setCtrlValue(a.valueId, a.value);
        else if (a.valueId < 0)
            setGridText(3, -a.valueId, a.value);
        for (int k = 0; k < 4; ++k)
            if (a.ids[static_cast<size_t>(k)] > 0)
                m_layout.setCtrlValue(a.ids[static_cast<size_t>(k)], a.strings[static_cast<size_t>(kStringOf[k])]);
        for (const EntryProps& e : a.entries)
            if (e.ctrlId > 0)
                m_layout.setCtrlValue(e.ctrlId, e.value);
    }
    if (t->block.ctrlId > 0)
        m_layout.setCtrlValue(t->block.ctrlId, t->block.blockName);
    kxss::showProfileControls(*t, m_layout);
}

bool ZnDlgMacroTab::readBack()
{
    MacroTabData* t = tab();
    if (!t)
        return false;
    const Kx_String varies = dialString(695);
    bool ok = true;
    // A value the user left as shown keeps its exact text: nothing is rounded that was not touched,
    // and text 695 (the macros differ) is never written into a value.
    const auto take = [&](Kx_String& target, const Kx_String& shown) {
        if (shown == target || shown == varies)
            return;
        target = shown;
    };
    for (MacroCell& c : t->cells) {
        if (c.readOnly || c.ctrlId == 0)
            continue;
        Kx_String shown;
        if (c.ctrlId < 0) {
            shown = gridText(3, -c.ctrlId);
        } else {
            const Kx_DesignerControl* ctrl = m_layout.getControlFromRes(c.ctrlId);
            if (!ctrl || ctrl->getType() == T(25) || ctrl->getType() == T(26))
                continue;
            shown = controlText(c.ctrlId);
        }
        if (shown == c.value || shown == varies)
            continue;
        if (c.kind == kMacroCellNumber) {
            double v = 0;
            if (!isNumberText(shown.trimmed(), v)) {
                // Refused: the old value is shown again; nothing is pushed as 0.
                ZnDlgMacro::NestedLoop box(m_owner);
                MessageBox(m_hWnd,
                           c.description.str() + ": \"" + shown.str() + "\" " + dialString(9801).str() + " "
                               + c.value.str() + ".",
                           dialString(1098).str(), MB_OK | MB_ICONWARNING);
                if (c.ctrlId < 0)
                    setGridText(3, -c.ctrlId, c.value);
                else
                    m_layout.setCtrlValue(c.ctrlId, c.value);
                ok = false;
                continue;
            }
            c.value = Kx_String(v, 2);
        } else {
            c.value = shown;
        }
    }
    // The cut-mode list's fifth entry is text 695 (the macros differ): it never becomes a mode.
    for (MacroCutData& c : t->cuts) {
        int v = 0;
        if (c.ctrlId > 0 && controlText(c.ctrlId).toInt(v) && v >= 0 && v <= 3)
            c.value = v;
    }
    for (MacroPatternProps& p : t->patterns) {
        if (p.valueId != 0)
            take(p.value, p.valueId > 0 ? controlText(p.valueId) : gridText(3, -p.valueId));
        if (p.getCount() != -1 && p.countId != 0)
            take(p.count, p.countId > 0 ? controlText(p.countId) : gridText(4, -p.countId));
    }
    for (size_t k = 0; k < t->bolt.ids.size(); ++k)
        if (t->bolt.ids[k] > 0)
            take(t->bolt.strings[k], controlText(t->bolt.ids[k]));
    if (m_boltRow) {
        take(t->bolt.strings[0], Kx_String(GetDlgItemText(kAssembly)));
        take(t->bolt.strings[1], Kx_String(GetDlgItemText(kDiameter)));
    }
    for (DynArrayData& a : t->arrays) {
        if (a.valueId != 0)
            take(a.value, a.valueId > 0 ? controlText(a.valueId) : gridText(3, -a.valueId));
        for (int k = 0; k < 4; ++k)
            if (a.ids[static_cast<size_t>(k)] > 0)
                take(a.strings[static_cast<size_t>(kStringOf[k])], controlText(a.ids[static_cast<size_t>(k)]));
        for (EntryProps& e : a.entries)
            if (e.ctrlId > 0)
                take(e.value, controlText(e.ctrlId));
    }
    if (t->block.ctrlId > 0)
        take(t->block.blockName, controlText(t->block.ctrlId));
    kxss::readProfileControls(*t, m_layout);
    return ok;
}

void ZnDlgMacroTab::commit()
{
    MacroTabData* t = tab();
    if (!m_ready || !t)
        return;
    m_ready = false;
    const MacroTabData before = *t;
    readBack();
    m_owner.updateTab(m_tabIndex, before);
    m_ready = true;
}

BOOL ZnDlgMacroTab::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (openSubDialogFor(id, code))
        return TRUE;
    if (id == m_gridId) {
        if (code == SSN_LEAVECELLAFTEREDIT || code == SSN_COMBOSELCHANGE || code == SSN_CELLCHANGED)
            commit();
        // Edit-mode, leave-cell and click notifications need nothing of the page.
        return TRUE;
    }
    Kx_ControlType type{};
    const bool dynamic = m_layout.getDynControlType(id, type);
    if (dynamic || id == kAssembly || id == kDiameter) {
        if (code == EN_KILLFOCUS || code == CBN_KILLFOCUS || code == CBN_SELCHANGE) {
            if (dynamic && type == T(27) && code == CBN_SELCHANGE) {
                // A block chosen from the library replaces the block references first; the entry
                // "values differ" chooses nothing.
                const Kx_String chosen = controlText(id);
                const Kx_DesignerControl* c = m_layout.getControlFromRes(id);
                if (c && tab() && chosen != dialString(695) && !chosen.isEmpty() && !kx::invalidFileNameReason(chosen)
                    && blockFolder(nameOf(*c, 2))) {
                    Kx_String file = nameOf(*c, 2);
                    if (!file.isEmpty() && !file.endsWith("\\"))
                        file.append("\\");
                    file.append(chosen).append(".dwg");
                    swapBlockRefs(&m_owner.data(), tab()->moduleName, file);
                }
            }
            commit();
            return TRUE;
        }
        if (dynamic && code == BN_CLICKED) {
            if (type == T(29)) {
                commit();
            } else if (type == T(25) || type == T(26)) {
                dimensionButton(id);
            } else if (type == T(14) || type == T(17)) {
                profileButton(id, type);
            } else if (type == T(30)) {
                Kx_String group, name;
                int status = 0, index = 0;
                if (m_layout.getFlexBtnGroupName(id, group, name) && m_layout.findCtrlFromResource(id, index)
                    && m_layout.getFlexBtnStatus(index, status) && tab()) {
                    const MacroTabData before = *tab();
                    if (tab()->flexFixBtnClicked(group, name, status == 0))
                        m_owner.updateTab(m_tabIndex, before);
                }
            }
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

Kx_String ZnDlgMacroTab::shownText(const MacroCell& cell) const
{
    if (cell.ctrlId > 0)
        return controlText(cell.ctrlId);
    return cell.ctrlId < 0 ? gridText(3, -cell.ctrlId) : cell.value;
}

void ZnDlgMacroTab::setShownText(const MacroCell& cell, const Kx_String& text)
{
    if (cell.ctrlId > 0)
        m_layout.setCtrlValue(cell.ctrlId, text);
    else if (cell.ctrlId < 0)
        setGridText(3, -cell.ctrlId, text);
}

bool ZnDlgMacroTab::dimensionButton(int id)
{
    // The button shows a computed dimension B0 (its third name, a read-only cell) that is the sum of
    // a base and the cells it is made of: A (fourth name) always, C (fifth name) when the page shows
    // it. A leading '-' on A or C counts that cell negative. Type 25 spreads the change over A (and
    // C) by its factor (sixth name; missing or 0 counts as 1); type 26 puts it all on A.
    MacroTabData* t = tab();
    const Kx_DesignerControl* c = m_layout.getControlFromRes(id);
    if (!m_ready || t == nullptr || c == nullptr || (c->getType() != T(25) && c->getType() != T(26)))
        return false;
    const bool spread = c->getType() == T(25);
    const Kx_String aName = nameOf(*c, 4);
    const Kx_String cName = nameOf(*c, 5);
    int bi = 0, ai = 0, ci = 0;
    if (!t->findCellWithName(nameOf(*c, 3), bi) || !t->findCellWithName(withoutSign(aName), ai) || t->cells[ai].readOnly)
        return false;
    const bool hasC = !withoutSign(cName).isEmpty() && t->findCellWithName(withoutSign(cName), ci) && t->cells[ci].ctrlId != 0;
    if (!spread && !hasC)
        return false;
    // Values that differ between the macros edited together give no dimension to start from.
    if (isVariesText(t->cells[bi].value))
        return false;
    const double aSign = aName.startsWith("-") ? -1.0 : 1.0;
    const double cSign = cName.startsWith("-") ? -1.0 : 1.0;
    double b = 0, a = 0, cv = 0;
    if (!isNumberText(t->cells[bi].value.trimmed(), b) || !isNumberText(shownText(t->cells[ai]).trimmed(), a)
        || (hasC && !isNumberText(shownText(t->cells[ci]).trimmed(), cv)))
        return false;
    double factor = 1.0;
    if (spread && (!isNumberText(nameOf(*c, 6).trimmed(), factor) || factor == 0.0))
        factor = 1.0;
    const double total = hasC ? b + aSign * a + cSign * cv : b + aSign * a / factor;

    std::optional<Kx_String> answer;
    {
        m_ready = false;
        ZnDlgMacro::NestedLoop prompt(m_owner);
        answer = runPromptDialog(971, dialString(1321) + "\n" + dialString(1322), Kx_String(total, 5), 1, 2, m_hWnd);
        m_ready = true;
    }
    double e = 0;
    if (!answer || !isNumberText(answer->trimmed(), e))
        return false; // cancelled, or not a number: nothing changes
    const double v = spread ? (e - b) * factor : (e - b) - cSign * cv;
    if (!std::isfinite(v))
        return false;
    setShownText(t->cells[ai], Kx_String(aSign * v, 5));
    if (spread && hasC)
        setShownText(t->cells[ci], Kx_String(cSign * (e - b) * factor, 5));
    commit();
    return true;
}

void ZnDlgMacroTab::profileButton(int id, Kx_ControlType type)
{
    MacroTabData* t = tab();
    int i = 0;
    if (!m_ready || !t || !t->findProfDataWithCtrlResId(id, i))
        return;
    const Kx_String group = t->profiles[i].group;
    // The sub-dialog's applies refresh the pages; nothing of this page commits meanwhile.
    m_ready = false;
    if (type == T(14))
        kxss::selectGroupSection(m_owner, m_tabIndex, group, m_hWnd);
    else
        kxss::runGroupAdvanced(m_owner, m_tabIndex, group, m_hWnd, /*openMode=*/false);
    m_ready = true;
}
