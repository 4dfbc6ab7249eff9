// ZnDlgEditLibSections: the section library editor (template 209) with three pages: the section
// groups (8138), the library's section types (8139) and the section tables (8716), each table a
// profile values table file edited in a grid. Groups and types are edited on the dialog's own copy of
// the caller's DlgEditLibData; tables are files the dialog reads and writes itself. The rules for
// storing a table's grid live in SectionTableEditing.h; the launcher in SectionLibLaunchers.h.
#pragma once

#include "core/CButtonST.h"
#include "core/CCheckComboBox.h"
#include "core/CResizer.h"
#include "core/Kx_String.h"
#include "core/SectionCatalogue.h"
#include "platform/host/HostTabDialog.h"
#include "spread/Kx_ProfValuesTable.h"
#include "spread/Kx_Spread.h"

#include <memory>
#include <vector>

// A page of the editor: a child dialog whose controls report to it. Enter and Escape on a page act
// on the editor.
class ZnSectionLibPage : public CDialog {
public:
    explicit ZnSectionLibPage(int templateId) : CDialog(templateId) {}

protected:
    void OnOK() override;
    void OnCancel() override;
};

class ZnDlgEditLibSections : public KxHostTabDialog {
public:
    static constexpr int kTemplateId = 209;
    static constexpr const char* kSizeKey = "DLG_EDIT_SECTIONLIB";
    static constexpr int kTabs = 8097;
    enum Page : int { kGroupsPage = 0, kTypesPage = 1, kTablesPage = 2 };
    static constexpr int kPageTemplates[3] = {8138, 8139, 8716};

    // Groups and types pages.
    static constexpr int kGroupList = 1194;
    static constexpr int kTypeList = 1199;
    static constexpr int kNew = 1189;
    static constexpr int kDelete = 1190;
    static constexpr int kFrame = 1108;
    static constexpr int kEnabled = 1185;
    static constexpr int kImageLabel = 1186;
    static constexpr int kImage = 1195;
    static constexpr int kGroupLabel = 1187;
    static constexpr int kGroupOfType = 1196;
    static constexpr int kFileLabel = 1192;
    static constexpr int kFile = 1198;
    static constexpr int kNamesFrame = 1188;
    static constexpr int kNamesGrid = 1193;
    // Tables page.
    static constexpr int kTableList = 1248;
    static constexpr int kNewTable = 1189;
    static constexpr int kDeleteTable = 1190;
    static constexpr int kHeaders = 1200;
    static constexpr int kRename = 1201;
    static constexpr int kTableGrid = 1196;
    static constexpr int kTypeFrame = 1203;
    static constexpr int kTableType = 1202;
    static constexpr int kCopy = 1199;
    static constexpr int kPaste = 1198;
    static constexpr int kInsertRow = 1204;
    static constexpr int kDeleteRow = 1205;
    static constexpr int kRowUp = 1206;
    static constexpr int kRowDown = 1207;
    static constexpr int kFind = 1208;

    // profileName ("HEA-200"): open on the tables page with that table and row selected; empty:
    // open on the groups page.
    ZnDlgEditLibSections(const DlgEditLibData& data, const Kx_String& profileName, HWND parent = nullptr);
    ~ZnDlgEditLibSections() override;

    // The edited groups and types (after OK: what the launcher hands back).
    DlgEditLibData& data() { return m_data; }

    // What the user sees, for tests and the workbench.
    Kx_Spread& groupNamesGrid() { return m_groupNames; }
    Kx_Spread& typeNamesGrid() { return m_typeNames; }
    Kx_Spread& tableGrid() { return m_grid; }
    // The table shown on the tables page (no extension); empty when none.
    const Kx_String& currentTable() const { return m_tableName; }
    // Whether the shown table has changes not yet stored.
    bool isTableChanged() const;
    int shownGroup() const { return m_group; }
    // Stores the shown table as Yes on the leaving question does; false, the user told why and the
    // file as it was, when it cannot be stored.
    bool storeTable();
    int shownType() const { return m_type; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnTabChanged(int index) override;

private:
    CDialog* page(Page p) const { return GetPage(p); }
    void createPages();
    void setUpNamesGrid(CDialog* p, Kx_Spread& grid);
    void showNames(Kx_Spread& grid, const Kx_StringArray& names);
    Kx_StringArray readNames(Kx_Spread& grid);
    void pictureButton(CDialog* p, int id, int icon, int tip);

    // Groups page.
    void setUpGroupsPage();
    void fillGroupList(int select);
    void showGroup(int index);
    void storeGroup();
    void onGroupSelected();
    void onGroupCheckChanged();
    void onNewGroup();
    void onDeleteGroup();
    // Types page.
    void setUpTypesPage();
    void fillTypeList(int select);
    void showType(int index);
    void storeType();
    void onTypeSelected();
    void onTypeCheckChanged();
    void onNewType();
    void onDeleteType();
    // Tables page.
    void setUpTablesPage();
    void fillTableList();
    void loadTable(const Kx_String& name);
    void showTable();
    void onTableSelected();
    // Step 3 of leaving a changed table: Yes stores it, No drops the changes, Cancel stays. True when
    // the table may be left.
    bool leaveTable();
    // The grid as a table to be written (title and type included); no value, the user told why,
    // when the grid cannot be stored.
    std::optional<Kx_ProfValuesTable> tableFromGrid();
    void onNewTable();
    void onDeleteTable();
    void onRenameTable();
    void onHeaders();
    void onTypeChanged();
    // The table's columns follow the section type chosen in list 1202.
    void applyTypeColumns();
    int selectedTypeNumber() const;
    void selectProfile(const Kx_String& profileName);
    void markTableChanged();
    void showError(const Kx_String& text);

    DlgEditLibData m_data;
    Kx_String m_profile;
    SIZE m_minSize{0, 0};
    // A plain resizer, applied from OnSize: a hooking one would take the size message from the tab
    // dialog, whose pages would then keep their first size.
    CResizer m_resizer;
    // The pages' own resizers: the grids and their frames take what the dialog grows by.
    ZnResizer m_pageResizers[3];

    CCheckComboBox m_groupList;
    Kx_Spread m_groupNames;
    int m_group = -1;

    CCheckComboBox m_typeList;
    Kx_Spread m_typeNames;
    Kx_Array<int> m_groupIds;
    int m_type = -1;

    Kx_Spread m_grid;
    Kx_String m_tableName;
    Kx_ProfValuesTable m_table;
    bool m_tableIsNew = false;
    Kx_Array<int> m_typeNumbers;
    std::vector<std::unique_ptr<CButtonST>> m_buttons;
};
