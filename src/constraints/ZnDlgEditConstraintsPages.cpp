// The constraint editor's pages: the constraints with their properties, context menu and sorting;
// the geometry's flexibility; the variables, dimension values and equations.
#include "constraints/ZnDlgEditConstraints.h"

#include "constraints/ConstraintEditing.h"
#include "constraints/EditorHelpers.h"
#include "core/ConstraintFunctions.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Backend.h"
#include "platform/win/Cursor.h"
#include "platform/win/Menu.h"
#include "platform/win/Window.h"
#include "sheetedit/PopupMenuBuilder.h"

#include <algorithm>

using namespace kxconstr::detail;

// --- Constraints page ----------------------------------------------------------------------------

void ZnDlgEditConstraints::fillConstraints()
{
    m_filling = true;
    Kx_Spread& grid = *m_constraintsGrid;
    HWND g = grid.GetSafeHwnd();
    SSSetBool(g, SSB_REDRAW, FALSE);
    grid.setRowCount(m_data.constraints.length());
    for (int r = 0; r < m_data.constraints.length(); ++r) {
        const ConstraintRow& row = m_data.constraints[r];
        for (int c = 0; c < 4; ++c)
            SSSetData(g, c + 1, r + 1, row.texts[static_cast<size_t>(c)].c_str());
    }
    for (int c = 1; c <= 4; ++c)
        grid.lockColumn(c);
    SSSetBool(g, SSB_PROTECT, TRUE);
    SSSetBool(g, SSB_REDRAW, TRUE);
    grid.fitToWindow();
    m_filling = false;
}

void ZnDlgEditConstraints::showConstraint(int index)
{
    ZnConstraintPage* p = page(kConstraintsPage);
    if (p == nullptr)
        return;
    const bool valid = index >= 0 && index < m_data.constraints.length();
    m_shown = valid ? index : -1;
    m_filling = true;
    const ConstraintRow row = valid ? m_data.constraints[index] : ConstraintRow{};
    p->SetDlgItemText(kVarName, row.varName.str());
    p->SetDlgItemText(kText2, row.text2.str());
    ::SendMessage(p->GetDlgItem(kChoice), CB_SETCURSEL, static_cast<WPARAM>(valid ? row.choice : -1));
    p->CheckDlgButton(kFlag1, row.flag1 ? BST_CHECKED : BST_UNCHECKED);
    p->CheckDlgButton(kFlag2, row.flag2 ? BST_CHECKED : BST_UNCHECKED);
    for (int i = 0; i < 5; ++i)
        p->CheckDlgButton(kEnumButtons[i], row.enumChoice == i + 1 ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(p->GetDlgItem(kVarName), valid && row.hasVariable());
    for (int id : {kText2, kChoice, kFlag1, kEditCut, kDelete, 1083, 1077, 1084, 1085, 1086})
        ::EnableWindow(p->GetDlgItem(id), valid);
    ::EnableWindow(p->GetDlgItem(kFlag2), valid && row.flag1);
    m_filling = false;
    if (valid && GetActiveTab() == kConstraintsPage) {
        HighlightConstraint(m_data, index);
        acedUpdateDisplay();
    }
}

ConstraintRow ZnDlgEditConstraints::shownProperties() const
{
    ZnConstraintPage* p = page(kConstraintsPage);
    ConstraintRow row = m_data.constraints[m_shown];
    if (row.hasVariable())
        row.varName = windowText(p, kVarName);
    row.text2 = windowText(p, kText2);
    row.choice = static_cast<int>(::SendMessage(p->GetDlgItem(kChoice), CB_GETCURSEL));
    if (row.choice < 0)
        row.choice = m_data.constraints[m_shown].choice;
    row.flag1 = p->IsDlgButtonChecked(kFlag1) == BST_CHECKED;
    row.flag2 = p->IsDlgButtonChecked(kFlag2) == BST_CHECKED;
    row.enumChoice = 0;
    for (int i = 0; i < 5; ++i)
        if (p->IsDlgButtonChecked(kEnumButtons[i]) == BST_CHECKED)
            row.enumChoice = i + 1;
    return row;
}

void ZnDlgEditConstraints::applyPendingConstraint()
{
    if (m_shown < 0 || m_shown >= m_data.constraints.length() || page(kConstraintsPage) == nullptr)
        return;
    const ConstraintRow stored = m_data.constraints[m_shown];
    const ConstraintRow shown = shownProperties();
    if (!kxconstr::constraintDiffers(stored, shown))
        return;
    m_data.constraints[m_shown] = shown;
    // Refused: the data keeps what the drawing has, and the controls show it again.
    if (!UpdateConstraint(m_data, m_shown)) {
        m_data.constraints[m_shown] = stored;
        if (!m_closing)
            showConstraint(m_shown);
    }
}

void ZnDlgEditConstraints::onConstraintCellLeft()
{
    if (m_filling)
        return;
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    const int row = activeRow(*m_constraintsGrid);
    if (row < 1 || row - 1 == m_shown)
        return;
    applyPendingConstraint();
    showConstraint(row - 1);
}

void ZnDlgEditConstraints::onConstraintRightClick()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    HWND g = m_constraintsGrid->GetSafeHwnd();
    int col = 0, row = 0;
    SSGetNotifyCell(g, &col, &row);
    if (row < 1 || col < 1 || col > 3 || row > m_data.constraints.length())
        return;
    if (row - 1 != m_shown) {
        SSSetActiveCell(g, col, row);
        applyPendingConstraint();
        showConstraint(row - 1);
    }
    const int index = row - 1;
    Kx_StringArray items;
    Kx_Array<int> ids;
    Kx_Array<int> disabled;
    if (!ConstrContextMenu(m_data, index, items, ids, disabled) || items.isEmpty())
        return;
    // Only six positions carry a command the editor can pass on: later items are shown greyed.
    const std::vector<int> kinds = kxconstr::contextMenuKinds(items, ids, disabled);
    std::vector<int> levels(kinds.size(), 1);
    std::vector<PopupMenuEntry> entries;
    for (size_t k = 0; k < kinds.size(); ++k)
        entries.push_back(PopupMenuEntry{items[static_cast<int>(k)], kinds[k]});
    PopupMenuBuilder builder;
    if (!builder.build(levels, entries))
        return;
    POINT at{};
    GetCursorPos(&at);
    UINT command = 0;
    {
        Nested nested(*this);
        command = static_cast<UINT>(::TrackPopupMenu(builder.menu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                     at.x, at.y, 0, m_hWnd, nullptr));
    }
    if (m_destroyed)
        return;
    int position = -1;
    for (int k = 0; k < 6; ++k)
        if (static_cast<UINT>(kMenuIds[k]) == command)
            position = k;
    if (position < 0 || position >= items.length() || position >= ids.length())
        return;
    const int id = ids[position];
    bool done = false;
    if (!runHidden([this, index, id] { return ContextMenuAction(m_data, index, id); }, done) || !done)
        return;
    fillConstraints();
    const int count = m_data.constraints.length();
    const int keep = count == 0 ? -1 : std::min(index, count - 1);
    m_shown = -1;
    selectRow(*m_constraintsGrid, keep + 1);
    showConstraint(keep);
}

void ZnDlgEditConstraints::onEnumButton(int which)
{
    ZnConstraintPage* p = page(kConstraintsPage);
    for (int i = 0; i < 5; ++i)
        p->CheckDlgButton(kEnumButtons[i], i == which ? BST_CHECKED : BST_UNCHECKED);
}

void ZnDlgEditConstraints::onFlag1Changed()
{
    ZnConstraintPage* p = page(kConstraintsPage);
    ::EnableWindow(p->GetDlgItem(kFlag2), m_shown >= 0 && p->IsDlgButtonChecked(kFlag1) == BST_CHECKED);
}

void ZnDlgEditConstraints::checkVariableName()
{
    if (m_filling || m_closing || m_shown < 0 || m_shown >= m_data.constraints.length())
        return;
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    const ConstraintRow& stored = m_data.constraints[m_shown];
    if (!stored.hasVariable())
        return;
    const Kx_String typed = windowText(page(kConstraintsPage), kVarName);
    if (typed.equal(stored.varName, false))
        return;
    bool inUse = false;
    VarNameInUse(m_data, typed, inUse);
    const auto warning = kxconstr::checkVariableName(typed, inUse);
    if (!warning)
        return;
    Nested nested(*this);
    MessageBox(m_hWnd, warning->text.str(), warning->caption.str(), MB_OK | MB_ICONWARNING);
}

void ZnDlgEditConstraints::deleteConstraint()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    if (m_shown < 0 || m_shown >= m_data.constraints.length())
        return;
    const int deletedRow = m_shown + 1;
    if (!DeleteConstraint(m_data, m_shown))
        return;
    m_shown = -1;
    UnHighlightConstraints();
    fillConstraints();
    const int row = kxconstr::rowAfterDelete(deletedRow, m_data.constraints.length());
    selectRow(*m_constraintsGrid, row);
    showConstraint(row - 1);
}

void ZnDlgEditConstraints::editCut()
{
    CloseWhenIdle<ZnDlgEditConstraints> idle(*this);
    if (m_shown < 0 || m_shown >= m_data.constraints.length())
        return;
    Nested nested(*this);
    StartEditMacroCutDlg(m_data.macroId, m_data.currentModule, m_data.constraints[m_shown].cutValue);
}

void ZnDlgEditConstraints::sortBy(int column)
{
    if (column < 1 || column > 4 || column == m_sortColumn)
        return;
    const int previous = kxconstr::previousSortColumn(column, m_sortColumn);
    applyPendingConstraint();
    const Kx_String shownName = m_shown >= 0 ? m_data.constraints[m_shown].texts[0] : Kx_String();
    if (!SortConstraints(m_data, column, previous))
        return;
    m_sortColumn = column;
    fillConstraints();
    // The constraint shown stays shown, in its new row.
    m_shown = -1;
    int keep = m_data.constraints.isEmpty() ? -1 : 0;
    for (int i = 0; i < m_data.constraints.length(); ++i)
        if (!shownName.isEmpty() && m_data.constraints[i].texts[0] == shownName)
            keep = i;
    selectRow(*m_constraintsGrid, keep + 1);
    showConstraint(keep);
}

// --- Geometry page -------------------------------------------------------------------------------

void ZnDlgEditConstraints::fillGeometry()
{
    m_filling = true;
    Kx_Spread& grid = *m_geometryGrid;
    HWND g = grid.GetSafeHwnd();
    SSSetBool(g, SSB_REDRAW, FALSE);
    const int n = m_data.geometry.length();
    grid.setRowCount(n);
    Kx_StringArray names, kinds;
    Kx_Array<int> flexibility;
    Kx_Array<bool> constrained;
    for (const GeometryObject& o : m_data.geometry) {
        names.append(o.name);
        kinds.append(o.kind);
        flexibility.append(std::clamp(o.flexibility, 1, 3) - 1);
        constrained.append((o.flags & 1) != 0);
    }
    grid.setColumn(1, names);
    grid.setColumn(2, kinds);
    grid.lockColumn(1);
    grid.lockColumn(2);
    if (n > 0) {
        grid.setColumnCombo(3, {dialString(893), dialString(894), dialString(895)}, /*editable=*/false);
        grid.setColumnComboIndices(3, flexibility);
        grid.setColumnCheckBox(4);
        grid.setColumnBools(4, constrained);
    }
    SSSetBool(g, SSB_PROTECT, TRUE);
    SSSetBool(g, SSB_REDRAW, TRUE);
    grid.fitToWindow();
    m_filling = false;
}

void ZnDlgEditConstraints::highlightGeometryRow(int row)
{
    if (m_objectHighlighted)
        UnHighlightObject(m_highlightedObject);
    m_objectHighlighted = false;
    if (row < 1 || row > m_data.geometry.length())
        return;
    m_geometryRow = row;
    m_highlightedObject = m_data.geometry[row - 1].id;
    m_objectHighlighted = HighlightObject(m_highlightedObject);
    acedUpdateDisplay();
}

void ZnDlgEditConstraints::onGeometryCellLeft()
{
    if (m_filling)
        return;
    highlightGeometryRow(activeRow(*m_geometryGrid));
}

void ZnDlgEditConstraints::onFlexibilityChanged()
{
    if (m_filling)
        return;
    int col = 0, row = 0;
    SSGetNotifyCell(m_geometryGrid->GetSafeHwnd(), &col, &row);
    if (col != 3 || row < 1 || row > m_data.geometry.length())
        return;
    Kx_Array<int> indices;
    m_geometryGrid->getColumnComboIndices(3, indices);
    if (row > indices.length() || indices[row - 1] < 0)
        return;
    const int value = indices[row - 1] + 1;
    UpdateGeomFlexibility(m_data, row - 1, m_data.geometry[row - 1].flags, value);
    fillGeometry();
    selectRow(*m_geometryGrid, row);
}

void ZnDlgEditConstraints::onConstrainedClicked()
{
    if (m_filling)
        return;
    int col = 0, row = 0;
    SSGetNotifyCell(m_geometryGrid->GetSafeHwnd(), &col, &row);
    if (col != 4 || row < 1 || row > m_data.geometry.length())
        return;
    bool checked = false;
    m_geometryGrid->getCheck(4, row, checked);
    UpdateConstrGeom(m_data, row - 1, checked);
    fillGeometry();
    selectRow(*m_geometryGrid, row);
}

// --- Variables page ------------------------------------------------------------------------------

void ZnDlgEditConstraints::applyVariableRowTypes(int rows)
{
    if (rows < 1)
        return;
    m_variablesGrid->setColumnNumber(2, 2, false);
    m_variablesGrid->setColumnCombo(3, variableKinds(), /*editable=*/false);
    m_variablesGrid->applyFonts();
}

void ZnDlgEditConstraints::fillVariables()
{
    m_filling = true;
    HWND g = m_variablesGrid->GetSafeHwnd();
    SSSetBool(g, SSB_REDRAW, FALSE);
    const int n = m_data.variables.length();
    m_variablesGrid->setRowCount(n);
    applyVariableRowTypes(n);
    Kx_Array<int> kinds;
    for (int r = 0; r < n; ++r) {
        const ConstraintVariable& v = m_data.variables[r];
        SSSetData(g, 1, r + 1, v.name.c_str());
        m_variablesGrid->setDouble(2, r + 1, v.value);
        kinds.append(std::clamp(v.kind, 0, 7));
    }
    if (n > 0)
        m_variablesGrid->setColumnComboIndices(3, kinds);
    SSSetBool(g, SSB_REDRAW, TRUE);
    m_variablesGrid->fitToWindow();
    m_variablesShown = m_data.variables;

    HWND d = m_dimGrid->GetSafeHwnd();
    m_dimGrid->setRowCount(m_data.dimValues.length());
    for (int r = 0; r < m_data.dimValues.length(); ++r) {
        SSSetData(d, 1, r + 1, m_data.dimValues[r].name.c_str());
        SSSetData(d, 2, r + 1, m_data.dimValues[r].value.c_str());
    }
    m_dimGrid->lockColumn(1);
    m_dimGrid->lockColumn(2);
    SSSetBool(d, SSB_PROTECT, TRUE);
    m_dimGrid->applyFonts();
    m_dimGrid->fitToWindow();

    if (ZnConstraintPage* p = page(kVariablesPage))
        p->SetDlgItemText(kEquations, kxconstr::joinEquations(m_data.equations).str());
    m_filling = false;
}

void ZnDlgEditConstraints::applyVariables()
{
    ZnConstraintPage* p = page(kVariablesPage);
    if (p == nullptr || !m_variablesGrid->isAttached())
        return;
    HWND g = m_variablesGrid->GetSafeHwnd();
    SSSetEditMode(g, FALSE);
    const int rows = m_variablesGrid->getRowCount();
    Kx_Array<int> kinds;
    m_variablesGrid->getColumnComboIndices(3, kinds);
    Kx_Array<kxconstr::VariableRow> read;
    for (int r = 1; r <= rows; ++r) {
        kxconstr::VariableRow row;
        m_variablesGrid->getCellText(1, r, row.name, Kx_Spread::kTextData);
        Kx_String number;
        m_variablesGrid->getCellText(2, r, number, Kx_Spread::kTextValue);
        row.hasNumber = !number.trimmed().isEmpty() && m_variablesGrid->getDouble(2, r, row.number);
        row.kind = r <= kinds.length() ? std::max(kinds[r - 1], 0) : 0;
        read.append(row);
    }
    Kx_Array<ConstraintVariable> variables = kxconstr::variablesFromRows(read, m_variablesShown, 2);
    Kx_StringArray equations = kxconstr::splitEquations(windowText(p, kEquations).str());
    if (variables == m_data.variables && equations == m_data.equations)
        return;
    const Kx_Array<ConstraintVariable> oldVariables = m_data.variables;
    const Kx_StringArray oldEquations = m_data.equations;
    m_data.variables = std::move(variables);
    m_data.equations = std::move(equations);
    if (!UpdateVarsEqs(m_data)) {
        m_data.variables = oldVariables;
        m_data.equations = oldEquations;
        return;
    }
    m_variablesShown = m_data.variables;
}

void ZnDlgEditConstraints::addVariableRow()
{
    const int rows = m_variablesGrid->getRowCount();
    if (!m_variablesGrid->setRowCount(rows + 1))
        return;
    applyVariableRowTypes(rows + 1);
    // New rows repeat the last row: the added one starts empty.
    HWND g = m_variablesGrid->GetSafeHwnd();
    SSSetData(g, 1, rows + 1, "");
    SSSetData(g, 2, rows + 1, "");
    Kx_Array<int> kinds;
    m_variablesGrid->getColumnComboIndices(3, kinds);
    if (kinds.length() == rows + 1) {
        kinds[rows] = 0;
        m_variablesGrid->setColumnComboIndices(3, kinds);
    }
    selectRow(*m_variablesGrid, rows + 1);
    m_variablesGrid->SetFocus();
}

void ZnDlgEditConstraints::deleteVariableRow()
{
    const int row = activeRow(*m_variablesGrid);
    if (row < 1 || row > m_variablesGrid->getRowCount())
        return;
    // The row's place in the list of variables as shown goes with it, so untouched rows below keep
    // their exact values.
    if (row <= m_variablesShown.length())
        m_variablesShown.removeAt(row - 1);
    m_variablesGrid->deleteRow(row);
    const int rows = m_variablesGrid->getRowCount();
    if (rows > 0)
        selectRow(*m_variablesGrid, std::min(row, rows));
}
