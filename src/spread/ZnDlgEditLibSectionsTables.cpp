// The section library editor's tables page: one section table file at a time in a grid. A table is
// written only when the user stores it, and only after its system names were checked; a failed write
// is reported and leaves both the file and the grid as they were, so the user can retry.
#include "spread/ZnDlgEditLibSections.h"

#include "core/DialogFunctions.h"
#include "core/FileIO.h"
#include "core/PromptDialog.h"
#include "core/StringLists.h"
#include "core/TableFiles.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"
#include "spread/SectionTableEditing.h"
#include "spread/ZnDlgGridHeaders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int kTextValue = 86;
constexpr int kTextNewTable = 779;
constexpr int kTextSaveTitle = 784;
constexpr int kTextSave1 = 785;
constexpr int kTextSave2 = 786;
constexpr int kTextDeleteTitle = 787;
constexpr int kTextDelete1 = 788;
constexpr int kTextDelete2 = 789;
constexpr int kTextRenameTitle = 790;
constexpr int kTextRenamePrompt = 791;
constexpr int kTextColumnsTitle = 792;
constexpr int kTextColumns1 = 793;
constexpr int kTextColumns2 = 794;
constexpr int kTextColumns3 = 795;
// Texts of this editor's own messages.
constexpr int kTextCannotStore = 9930;
constexpr int kTextNotSaved = 9931;
constexpr int kTextNoName = 9932;
constexpr int kTextSameName = 9933;
constexpr int kTextBadTableName = 9934;
constexpr int kTextExists1 = 9935;
constexpr int kTextExists2 = 9936;
constexpr int kTextOldKept = 9937;
constexpr int kTextNotDeleted = 9938;
constexpr int kTextRows = 9939;

Kx_String quoted(const Kx_String& name) { return " <" + name + "> "; }

Kx_String rowList(const Kx_Array<int>& rows)
{
    Kx_String text;
    for (int i = 0; i < rows.length(); ++i) {
        if (i > 0)
            text.append(", ");
        text.append(rows[i]);
    }
    return text;
}

Kx_String tablePath(const Kx_String& name)
{
    const auto path = kx::tablePathUnder(Kx_ProfValuesTable::tableFolder(), name + ".pr");
    return path ? Kx_String(*path) : Kx_String();
}

} // namespace

void ZnDlgEditLibSections::setUpTablesPage()
{
    CDialog* p = page(kTablesPage);
    if (p == nullptr)
        return;
    p->SetDlgItemText(kNewTable, dialString(kTextNewTable).str());
    p->SetDlgItemText(kDeleteTable, dialString(780).str());
    p->SetDlgItemText(kHeaders, dialString(781).str());
    p->SetDlgItemText(kRename, dialString(782).str());
    p->SetDlgItemText(kTypeFrame, dialString(783).str());
    pictureButton(p, kCopy, 223, 772);
    pictureButton(p, kPaste, 224, 773);
    pictureButton(p, kInsertRow, 225, 774);
    pictureButton(p, kDeleteRow, 226, 775);
    pictureButton(p, kRowUp, 227, 776);
    pictureButton(p, kRowDown, 228, 777);
    pictureButton(p, kFind, 238, 778);

    // The kinds of section a table can hold: the catalogue's types.
    const SectionGroupArray& catalogue = SectionGroupArray::library();
    Kx_StringArray typeNames;
    for (int i = 0; i < catalogue.typeCount(); ++i) {
        typeNames.append(catalogue.typeAt(i).name());
        m_typeNumbers.append(catalogue.typeAt(i).number);
    }
    FillCombo(p, kTableType, typeNames);

    m_grid.attach(p, kTableGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    // Columns as wide as their widest text, the column titles included.
    m_grid.setFitMode(2);

    p->onCommand(kTableList, CBN_SELCHANGE, [this] { onTableSelected(); });
    p->onCommand(kTableType, CBN_SELCHANGE, [this] { onTypeChanged(); });
    p->onCommand(kNewTable, BN_CLICKED, [this] { onNewTable(); });
    p->onCommand(kDeleteTable, BN_CLICKED, [this] { onDeleteTable(); });
    p->onCommand(kRename, BN_CLICKED, [this] { onRenameTable(); });
    p->onCommand(kHeaders, BN_CLICKED, [this] { onHeaders(); });
    p->onCommand(kCopy, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty())
            SSClipboardCopy(m_grid.GetSafeHwnd());
    });
    p->onCommand(kPaste, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty() && SSClipboardPaste(m_grid.GetSafeHwnd()))
            markTableChanged();
    });
    // Each row tool works on the shown table only; the wrapper marks the grid changed.
    p->onCommand(kInsertRow, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty() && m_grid.insertRowBelowSelection())
            m_grid.setRowHeaders([this] {
                Kx_StringArray headers;
                fillArr(headers, m_grid.getRowCount(), m_tableName);
                return headers;
            }());
    });
    p->onCommand(kDeleteRow, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty())
            m_grid.deleteSelectedRow();
    });
    p->onCommand(kRowUp, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty())
            m_grid.moveSelectedRowUp();
    });
    p->onCommand(kRowDown, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty())
            m_grid.moveSelectedRowDown();
    });
    p->onCommand(kFind, BN_CLICKED, [this] {
        if (!m_tableName.isEmpty())
            m_grid.openFindDialog();
    });

    fillTableList();
    loadTable(m_data.tables.isEmpty() ? Kx_String() : m_data.tables[0]);
}

void ZnDlgEditLibSections::fillTableList()
{
    int at = -1;
    m_data.tables.find(m_tableName, at);
    FillCombo(page(kTablesPage), kTableList, m_data.tables, m_tableName.isEmpty() ? -1 : at);
}

bool ZnDlgEditLibSections::isTableChanged() const
{
    return !m_tableName.isEmpty() &&
           (m_tableIsNew || (m_grid.isAttached() && SSGetBool(m_grid.GetSafeHwnd(), SSB_CHANGEMADE)));
}

void ZnDlgEditLibSections::markTableChanged()
{
    if (m_grid.isAttached())
        SSSetBool(m_grid.GetSafeHwnd(), SSB_CHANGEMADE, TRUE);
}

void ZnDlgEditLibSections::showError(const Kx_String& text)
{
    MessageBox(m_hWnd, text.str(), dialString(kTextCannotStore).str(), MB_OK | MB_ICONWARNING);
}

void ZnDlgEditLibSections::loadTable(const Kx_String& name)
{
    m_tableName = name;
    m_tableIsNew = false;
    m_table = Kx_ProfValuesTable();
    // A table that cannot be read shows as an empty grid (the reason is on the command line).
    if (!name.isEmpty() && !m_table.readFromFile(name + ".pr"))
        m_table = Kx_ProfValuesTable();
    m_table.title = name;
    fillTableList();
    showTable();
}

void ZnDlgEditLibSections::showTable()
{
    CDialog* p = page(kTablesPage);
    if (!m_table.setToSS(m_grid)) {
        // A table without entries still shows its columns, so that inserting a row makes row 1 of
        // the table rather than of a grid with no columns.
        m_grid.setRowCount(0);
        m_grid.setColCount(m_table.columnNames.length());
        if (!m_table.columnNames.isEmpty()) {
            m_grid.setColumnCheckBox(2, /*border=*/false, /*joinHeader=*/false);
            m_grid.setColumnHeaders(m_table.columnNames);
        }
    }
    m_grid.fitToWindow();
    SSSetBool(m_grid.GetSafeHwnd(), SSB_CHANGEMADE, FALSE);
    int number = 0;
    int at = -1;
    if (m_table.typeName.trimmed().toInt(number))
        m_typeNumbers.find(number, at);
    ::SendMessage(p->GetDlgItem(kTableType), CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    const bool any = !m_tableName.isEmpty();
    for (int id : {kDeleteTable, kRename, kHeaders, kTableType, kCopy, kPaste, kInsertRow, kDeleteRow, kRowUp,
                   kRowDown, kFind})
        EnDisCtrl(p, id, any);
}

void ZnDlgEditLibSections::onTableSelected()
{
    const int sel = static_cast<int>(::SendMessage(page(kTablesPage)->GetDlgItem(kTableList), CB_GETCURSEL, 0, 0));
    if (sel < 0 || sel >= m_data.tables.length())
        return;
    const Kx_String chosen = m_data.tables[sel];
    if (chosen == m_tableName)
        return;
    if (!leaveTable()) {
        fillTableList();
        return;
    }
    loadTable(chosen);
}

bool ZnDlgEditLibSections::leaveTable()
{
    if (!isTableChanged())
        return true;
    const Kx_String text = dialString(kTextSave1) + quoted(m_tableName) + dialString(kTextSave2);
    switch (MessageBox(m_hWnd, text.str(), dialString(kTextSaveTitle).str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return storeTable();
    case IDNO:
        // A new table that was never stored has no file: it goes from the list with its changes.
        if (m_tableIsNew) {
            int at = -1;
            if (m_data.tables.find(m_tableName, at))
                m_data.tables.removeAt(at);
            m_tableIsNew = false;
        }
        SSSetBool(m_grid.GetSafeHwnd(), SSB_CHANGEMADE, FALSE);
        return true;
    default:
        return false;
    }
}

std::optional<Kx_ProfValuesTable> ZnDlgEditLibSections::tableFromGrid()
{
    Kx_ProfValuesTable table = m_table;
    m_grid.leaveEditMode();
    if (m_grid.getRowCount() > 0 && m_grid.getColCount() > 0) {
        table.getFromSS(m_grid);
    } else {
        // Every row deleted: the table is stored without entries, not with the rows it had before.
        Kx_StringArray headers;
        if (m_grid.getColCount() > 0 && m_grid.getColumnHeaders(headers))
            table.columnNames = headers;
        table.rows.removeAll();
    }
    table.title = m_tableName;
    const int type = selectedTypeNumber();
    if (type > 0)
        table.typeName = Kx_String(type);

    const kxss::SystemNameFaults faults = kxss::findSystemNameFaults(table.rows);
    if (faults.any()) {
        Kx_String text;
        if (!faults.emptyRows.isEmpty())
            text.append(dialString(kTextNoName) + " " + rowList(faults.emptyRows) + ".");
        if (!faults.duplicates.empty()) {
            if (!text.isEmpty())
                text.append("\n");
            text.append(dialString(kTextSameName));
            for (const auto& [name, rows] : faults.duplicates)
                text.append("\n\"" + name + "\": " + dialString(kTextRows) + " " + rowList(rows));
        }
        showError(text);
        return std::nullopt;
    }
    return table;
}

bool ZnDlgEditLibSections::storeTable()
{
    if (m_tableName.isEmpty())
        return true;
    const auto table = tableFromGrid();
    if (!table)
        return false;
    if (!table->writeToFile(m_tableName + ".pr")) {
        showError(dialString(kTextNotSaved) + quoted(m_tableName));
        return false;
    }
    m_table = *table;
    m_tableIsNew = false;
    SSSetBool(m_grid.GetSafeHwnd(), SSB_CHANGEMADE, FALSE);
    return true;
}

int ZnDlgEditLibSections::selectedTypeNumber() const
{
    const int sel = static_cast<int>(::SendMessage(page(kTablesPage)->GetDlgItem(kTableType), CB_GETCURSEL, 0, 0));
    return sel >= 0 && sel < m_typeNumbers.length() ? m_typeNumbers[sel] : 0;
}

void ZnDlgEditLibSections::onNewTable()
{
    if (!leaveTable()) {
        fillTableList();
        return;
    }
    const Kx_String name = findNonExistingString(m_data.tables, dialString(kTextNewTable));
    m_data.tables.append(name);
    std::sort(m_data.tables.items().begin(), m_data.tables.items().end());
    m_tableName = name;
    m_table = kxss::newSectionTable(name, dialString(kTextValue));
    m_tableIsNew = true;
    fillTableList();
    showTable();
    markTableChanged();
}

void ZnDlgEditLibSections::onDeleteTable()
{
    if (m_tableName.isEmpty())
        return;
    const Kx_String text = dialString(kTextDelete1) + quoted(m_tableName) + dialString(kTextDelete2);
    if (MessageBox(m_hWnd, text.str(), dialString(kTextDeleteTitle).str(), MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    const Kx_String path = tablePath(m_tableName);
    if (!m_tableIsNew && !path.isEmpty() && fileExists(path) && !deleteFile(path)) {
        showError(dialString(kTextNotDeleted) + quoted(m_tableName));
        return;
    }
    int at = -1;
    if (m_data.tables.find(m_tableName, at))
        m_data.tables.removeAt(at);
    at = std::min(std::max(at, 0), m_data.tables.length() - 1);
    loadTable(at >= 0 ? m_data.tables[at] : Kx_String());
}

void ZnDlgEditLibSections::onRenameTable()
{
    if (m_tableName.isEmpty())
        return;
    const auto typed = runPromptDialog(kTextRenameTitle, kTextRenamePrompt, m_tableName, 1, 2, m_hWnd);
    if (!typed)
        return;
    const Kx_String name = typed->trimmed();
    if (name == m_tableName)
        return;
    if (!kxss::isValidTableName(name)) {
        showError(dialString(kTextBadTableName) + quoted(name));
        return;
    }
    // Another table of that name (letter case ignored, as the library's file systems may do) is
    // replaced only when the user says so.
    int existing = -1;
    const bool other = m_data.tables.find(name, existing, /*exact=*/false) &&
                       !m_data.tables[existing].equal(m_tableName, /*exact=*/false);
    if (other) {
        const Kx_String text = dialString(kTextExists1) + quoted(name) + dialString(kTextExists2);
        if (MessageBox(m_hWnd, text.str(), dialString(kTextRenameTitle).str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    auto table = tableFromGrid();
    if (!table)
        return;
    table->title = name;
    // The new file first: until it is written the old one is all there is.
    if (!table->writeToFile(name + ".pr")) {
        showError(dialString(kTextNotSaved) + quoted(name));
        return;
    }
    const Kx_String oldName = m_tableName;
    const Kx_String oldPath = tablePath(oldName);
    const Kx_String newPath = tablePath(name);
    bool oldGone = true;
    std::error_code ec;
    const bool sameFile = std::filesystem::equivalent(oldPath.str(), newPath.str(), ec);
    if (!m_tableIsNew && !sameFile && fileExists(oldPath) && !deleteFile(oldPath)) {
        oldGone = false;
        showError(dialString(kTextOldKept) + quoted(oldName));
    }
    int at = -1;
    if (oldGone && m_data.tables.find(oldName, at))
        m_data.tables.removeAt(at);
    if (other && m_data.tables.find(name, at, /*exact=*/false))
        m_data.tables.removeAt(at);
    m_data.tables.append(name);
    std::sort(m_data.tables.items().begin(), m_data.tables.items().end());
    m_tableName = name;
    m_table = *table;
    m_tableIsNew = false;
    fillTableList();
    showTable();
}

void ZnDlgEditLibSections::onHeaders()
{
    if (m_tableName.isEmpty())
        return;
    if (kxss::runSheetHeadersCommand(m_grid.GetSafeHwnd()))
        applyTypeColumns();
}

void ZnDlgEditLibSections::onTypeChanged()
{
    if (m_tableName.isEmpty())
        return;
    applyTypeColumns();
    markTableChanged();
}

void ZnDlgEditLibSections::applyTypeColumns()
{
    const int number = selectedTypeNumber();
    if (number <= 0)
        return;
    const Kx_StringArray wanted = kxss::typeTableColumns(number);
    const int have = m_grid.getColCount();
    int keep = std::max(have, wanted.length());
    if (have > wanted.length()) {
        const SectionType* type = SectionGroupArray::library().findType(number);
        const Kx_String text = dialString(kTextColumns1) + quoted(type ? type->name() : Kx_String(number)) +
                               dialString(kTextColumns2) + "\n" + dialString(kTextColumns3);
        if (MessageBox(m_hWnd, text.str(), dialString(kTextColumnsTitle).str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
            keep = wanted.length();
    }
    Kx_StringArray headers;
    m_grid.getColumnHeaders(headers);
    m_grid.setColCount(keep);
    headers.setLogicalLength(keep);
    for (int c = 0; c < wanted.length(); ++c)
        headers[c] = wanted[c];
    m_grid.setColumnHeaders(headers);
    m_grid.fitToWindow();
    markTableChanged();
}

void ZnDlgEditLibSections::selectProfile(const Kx_String& profileName)
{
    // The longest table name that, with "-", starts the profile name: table names may hold "-".
    Kx_String table;
    for (const Kx_String& t : m_data.tables)
        if (profileName.startsWith(t + "-", /*exact=*/false) && t.length() > table.length())
            table = t;
    if (table.isEmpty())
        return;
    loadTable(table);
    Kx_StringArray names;
    m_table.getSysNames(names);
    int row = -1;
    if (names.find(profileName, row, /*exact=*/false)) {
        m_grid.setActiveCell(1, row + 1);
        m_grid.selectRow(row + 1);
    }
}
