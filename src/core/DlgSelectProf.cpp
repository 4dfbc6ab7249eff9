// The profile chooser.
#include "core/DlgSelectProf.h"

#include "core/CoreResourceScope.h"
#include "core/DialogFunctions.h"
#include "core/FileIO.h"
#include "core/Kx_SectionTableManager.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/SectionCatalogue.h"
#include "core/TableFiles.h"
#include "core/TextTables.h"
#include "platform/win/Dialog.h"
#include "platform/win/Messages.h"

#include <vector>

namespace {

using namespace kxcore;

constexpr int kTextTitle = 2310;
constexpr int kTextGroup = 705;
constexpr int kTextType = 2311;
constexpr int kTextTable = 1500;
constexpr int kTextSize = 2312;

// One table file of the library as the chooser needs it.
struct TableInfo {
    Kx_String title;
    int type = 0;
    Kx_StringArray names;  // full profile names of the active sizes
    Kx_StringArray shown;  // their display names
};

std::vector<TableInfo> readTables()
{
    std::vector<TableInfo> tables;
    Kx_StringArray paths;
    if (!ObjectExportFindFiles(Kx_Settings::libDir() + "prof", "*.pr", paths))
        return tables;
    for (const Kx_String& path : paths) {
        Kx_Array<Kx_StringArray> rows;
        std::string error;
        if (!kx::readTableRows(path, rows, error) || rows.length() < 2 || rows[0].isEmpty())
            continue;
        TableInfo info;
        info.title = removeExtension(getFileName(path));
        if (!rows[0][0].trimmed().toInt(info.type))
            continue;
        for (int r = 2; r < rows.length(); ++r) {
            const Kx_StringArray& row = rows[r];
            if (row.isEmpty() || (row.length() > 1 && row[1] == Kx_String("0")))
                continue;
            const Kx_String name = info.title + "-" + row[0];
            const Kx_String user = Kx_SectionTableManager::descriptionOf(rows[1], row);
            info.names.append(name);
            info.shown.append(user.isEmpty() ? name : user);
        }
        tables.push_back(std::move(info));
    }
    return tables;
}

class SelectProfDialog : public CDialog {
public:
    SelectProfDialog(HWND owner, const Kx_String& initial, bool withTables)
        : CDialog(kSelectProfDialogId, owner), m_initial(initial), m_withTables(withTables)
    {
        onCommand(kSelectProfGroupId, CBN_SELCHANGE, [this] { fillTypes(); });
        onCommand(kSelectProfTypeId, CBN_SELCHANGE, [this] { fillTables(); });
        onCommand(kSelectProfTableId, LBN_SELCHANGE, [this] { fillSizes(); });
        onCommand(kSelectProfSizeId, LBN_DBLCLK, [this] { OnOK(); });
    }

    const Kx_String& chosen() const { return m_chosen; }

protected:
    BOOL OnInitDialog() override
    {
        SetWindowText(dialString(kTextTitle).str());
        SetDlgItemText(1010, dialString(kTextGroup).str());
        SetDlgItemText(1011, dialString(kTextType).str());
        SetDlgItemText(1012, dialString(kTextTable).str());
        SetDlgItemText(1013, dialString(kTextSize).str());
        SetDlgItemText(IDOK, dialString(1).str());
        SetDlgItemText(IDCANCEL, dialString(2).str());
        ShowOrHideCtrl(this, 1012, m_withTables);
        ShowOrHideCtrl(this, kSelectProfTableId, m_withTables);

        m_catalogue = &SectionGroupArray::library();
        m_tables = readTables();
        // Start at the initial profile's table, type and group.
        int dash = 0;
        if (m_initial.findFirst("-", true, dash)) {
            const Kx_String title = m_initial.getSubStringAt(0, dash);
            for (const TableInfo& t : m_tables) {
                if (t.title.equal(title, false)) {
                    m_startType = t.type;
                    m_startTable = t.title;
                }
            }
        }
        Kx_StringArray groups;
        int startGroup = 0;
        for (int g = 0; g < m_catalogue->groupCount(); ++g) {
            groups.append(m_catalogue->group(g).name());
            if (m_startType != 0 && m_catalogue->group(g).types.contains(m_startType))
                startGroup = g;
        }
        FillCombo(this, kSelectProfGroupId, groups, startGroup);
        fillTypes();
        return TRUE;
    }

    void OnOK() override
    {
        const int table = currentTable();
        const int size = static_cast<int>(::SendMessage(GetDlgItem(kSelectProfSizeId), LB_GETCURSEL));
        if (table < 0 || size < 0 || size >= m_tables[static_cast<size_t>(table)].names.length())
            return;
        m_chosen = m_tables[static_cast<size_t>(table)].names[size];
        CDialog::OnOK();
    }

private:
    void fillTypes()
    {
        const int group = static_cast<int>(::SendMessage(GetDlgItem(kSelectProfGroupId), CB_GETCURSEL));
        m_types.clear();
        Kx_StringArray names;
        int start = 0;
        for (const SectionType* t : m_catalogue->typesOfGroup(group)) {
            if (t->number == m_startType)
                start = static_cast<int>(m_types.size());
            m_types.push_back(t->number);
            names.append(t->name());
        }
        FillCombo(this, kSelectProfTypeId, names, start);
        fillTables();
    }

    void fillTables()
    {
        const int index = static_cast<int>(::SendMessage(GetDlgItem(kSelectProfTypeId), CB_GETCURSEL));
        const int type = index >= 0 && index < static_cast<int>(m_types.size()) ? m_types[static_cast<size_t>(index)] : 0;
        HWND list = GetDlgItem(kSelectProfTableId);
        ::SendMessage(list, LB_RESETCONTENT);
        m_shownTables.clear();
        int start = 0;
        for (size_t i = 0; i < m_tables.size(); ++i) {
            if (m_tables[i].type != type)
                continue;
            if (m_tables[i].title.equal(m_startTable, false))
                start = static_cast<int>(m_shownTables.size());
            m_shownTables.push_back(static_cast<int>(i));
            ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_tables[i].title.c_str()));
        }
        ::SendMessage(list, LB_SETCURSEL, m_shownTables.empty() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(start));
        fillSizes();
    }

    int currentTable() const
    {
        const int index = static_cast<int>(::SendMessage(GetDlgItem(kSelectProfTableId), LB_GETCURSEL));
        return index >= 0 && index < static_cast<int>(m_shownTables.size()) ? m_shownTables[static_cast<size_t>(index)]
                                                                               : -1;
    }

    void fillSizes()
    {
        HWND list = GetDlgItem(kSelectProfSizeId);
        ::SendMessage(list, LB_RESETCONTENT);
        const int table = currentTable();
        if (table < 0)
            return;
        const TableInfo& info = m_tables[static_cast<size_t>(table)];
        int start = 0;
        for (int i = 0; i < info.names.length(); ++i) {
            if (info.names[i].equal(m_initial, false))
                start = i;
            ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(info.shown[i].c_str()));
        }
        ::SendMessage(list, LB_SETCURSEL, info.names.isEmpty() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(start));
    }

    Kx_String m_initial;
    bool m_withTables;
    const SectionGroupArray* m_catalogue = nullptr;
    std::vector<TableInfo> m_tables;
    std::vector<int> m_types;
    std::vector<int> m_shownTables;
    int m_startType = 0;
    Kx_String m_startTable;
    Kx_String m_chosen;
};

} // namespace

bool DlgSelectProf(DlgSelectProfData& data, bool withTables, HWND owner)
{
    try {
        kxcore::detail::CoreResourceScope resources;
        SelectProfDialog dialog(IsWindow(owner) ? owner : nullptr, data.unknownName, withTables);
        if (dialog.DoModal() != IDOK)
            return false;
        data.profName = dialog.chosen();
        return true;
    } catch (...) {
        return false;
    }
}
