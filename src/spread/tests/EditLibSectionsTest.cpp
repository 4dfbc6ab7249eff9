// The section library editor as its launcher runs it, driven by the scripted user, on a copy of the
// sample library's catalogue and tables; and the rules it applies to a table before writing it.
#include "spread/SectionLibLaunchers.h"
#include "spread/SectionTableEditing.h"
#include "spread/ZnDlgEditLibSections.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/Kx_Settings.h"
#include "frame/Launcher.h"
#include "core/MacroLangs.h"
#include "core/PromptDialog.h"
#include "core/SaveFile.h"
#include "core/SectionCatalogue.h"
#include "core/TextTables.h"
#include "platform/win/UserAgent.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using D = ZnDlgEditLibSections;

// --- The rules ------------------------------------------------------------------------------------

TEST(SectionTableRules, EmptyAndRepeatedSystemNamesAreFoundByRowIgnoringCaseAndBlanks)
{
    Kx_Array<Kx_StringArray> rows;
    for (const char* name : {"200", "", "hea", "HEA ", "300", " ", "200"})
        rows.append(Kx_StringArray({Kx_String(name), Kx_String("1")}));
    rows.append(Kx_StringArray());
    const kxss::SystemNameFaults faults = kxss::findSystemNameFaults(rows);
    EXPECT_EQ(faults.emptyRows, Kx_Array<int>({2, 6, 8}));
    ASSERT_EQ(faults.duplicates.size(), 2u);
    EXPECT_EQ(faults.duplicates[0].first, Kx_String("200"));
    EXPECT_EQ(faults.duplicates[0].second, Kx_Array<int>({1, 7}));
    EXPECT_EQ(faults.duplicates[1].first, Kx_String("hea"));
    EXPECT_EQ(faults.duplicates[1].second, Kx_Array<int>({3, 4}));

    Kx_Array<Kx_StringArray> clean;
    clean.append(Kx_StringArray({Kx_String("100")}));
    clean.append(Kx_StringArray({Kx_String("1000")}));
    EXPECT_FALSE(kxss::findSystemNameFaults(clean).any());
}

TEST(SectionTableRules, OnlyPlainNamesOfTheProfFolderAreTableNames)
{
    for (const char* good : {"HEA", "New table", "IPE-kort", "Ä 1"})
        EXPECT_TRUE(kxss::isValidTableName(good)) << good;
    for (const char* bad : {"", ".", "..", "../HEA", "sub/HEA", "sub\\HEA", "C:HEA", "/tmp/x", " HEA", "HEA ",
                            "a\nb", ".hidden"})
        EXPECT_FALSE(kxss::isValidTableName(bad)) << bad;
}

// --- The dialog -----------------------------------------------------------------------------------

class EditLibSections : public kxtest::SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        const fs::path sample = fs::path(Kx_Settings::libDir().str()) / "prof";
        fs::create_directories(lib.path() / "prof");
        for (const char* f : {"sections.cat", "HEA.pr", "IPE.pr", "UPN.pr"})
            fs::copy_file(sample / f, lib.path() / "prof" / f);
        Kx_Settings::setLibDir(Kx_String(lib.path().string() + "/"));
        MacroLangs::SetCurLanguage(MacroLangs::English);
        SectionGroupArray::reload();
        ASSERT_TRUE(data.readLibrary());
        ASSERT_GT(data.groups.groupCount(), 2);
        ASSERT_EQ(data.types.length(), 3);
    }
    void TearDown() override
    {
        Kx_Settings::setLibDir("");
        SectionGroupArray::reload();
        SpreadTest::TearDown();
    }
    std::string prof(const std::string& name) const { return (lib.path() / "prof" / name).string(); }
    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Runs the editor and hands the script the dialog object and a driver per page.
    bool run(const Kx_String& profile, const std::function<void(D&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                                                                 kxwin::DialogDriver&, kxwin::DialogDriver&)>& script)
    {
        bool ok = false;
        kxss::runLauncher("test", false, [&] {
            D dialog(data, profile);
            agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
                kxwin::DialogDriver groups(dialog.GetPage(D::kGroupsPage)->m_hWnd);
                kxwin::DialogDriver types(dialog.GetPage(D::kTypesPage)->m_hWnd);
                kxwin::DialogDriver tables(dialog.GetPage(D::kTablesPage)->m_hWnd);
                script(dialog, d, groups, types, tables);
                if (d.isOpen())
                    d.cancel();
            });
            ok = dialog.DoModal() == IDOK;
            if (ok)
                data = dialog.data();
            return true;
        });
        return ok;
    }

    kxtest::TempFolder lib;
    DlgEditLibData data;
    kxwin::UserAgent agent;
};

TEST_F(EditLibSections, AnEmptyProfileNameOpensOnTheGroupsAndCancelHandsNothingBack)
{
    const DlgEditLibData before = data;
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Section library");
        d.cancel();
    });
    EXPECT_FALSE(StartDlgEditLibSections(data, ""));
    EXPECT_EQ(data.groups.groupCount(), before.groups.groupCount());

    run("", [](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver& groups, kxwin::DialogDriver&,
               kxwin::DialogDriver&) {
        EXPECT_EQ(dialog.GetActiveTab(), D::kGroupsPage);
        EXPECT_EQ(groups.items(D::kGroupList).front(), "Beams");
        EXPECT_EQ(groups.checkState(D::kEnabled), BST_CHECKED);
        Kx_String dutch;
        dialog.groupNamesGrid().getCellText(1, 1, dutch);
        EXPECT_EQ(dutch, Kx_String("Balken"));
        groups.click(D::kNew);
        groups.click(D::kDelete);
    });
    // Cancel after a new and a deleted group: the caller's catalogue is as it was.
    EXPECT_EQ(data.groups.groupCount(), before.groups.groupCount());
}

TEST_F(EditLibSections, GroupEditsAreKeptWhenTheSelectionMovesAndReachTheCallerOnOk)
{
    const int count = data.groups.groupCount();
    ASSERT_TRUE(run("", [](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver& groups, kxwin::DialogDriver&,
                           kxwin::DialogDriver&) {
        groups.click(D::kNew);
        EXPECT_EQ(groups.items(D::kGroupList)[groups.selectedIndex(D::kGroupList)], "New group");
        dialog.groupNamesGrid().setCellData(1, 2, "Plates");
        groups.pick(D::kImage, "ProfSectionRect");
        // Switching the group off stores the shown values at once: the list shows the new name.
        groups.click(D::kEnabled);
        EXPECT_EQ(groups.items(D::kGroupList).back(), "Plates");
        groups.pick(D::kGroupList, 0);
        groups.toggleItem(D::kGroupList, 1);
        d.ok();
    }));
    ASSERT_EQ(data.groups.groupCount(), count + 1);
    const int added = count;
    EXPECT_EQ(data.groups.getName(added), Kx_String("Plates"));
    EXPECT_FALSE(data.groups.getEnabled(added));
    EXPECT_EQ(data.groups.getImage(added), Kx_String("ProfSectionRect"));
    EXPECT_GT(data.groups.group(added).number, data.groups.group(added - 1).number);
    EXPECT_FALSE(data.groups.getEnabled(1));
    EXPECT_TRUE(data.groups.getEnabled(0));
}

TEST_F(EditLibSections, ANewTypeHasTheThreeDefaultNamesAndADeletedGroupLeavesItsTypesWithoutGroup)
{
    const int beams = data.groups.group(0).number;
    int ipe = -1;
    for (int i = 0; i < data.types.length(); ++i)
        if (data.types[i].getName() == Kx_String("IPE"))
            ipe = i;
    ASSERT_GE(ipe, 0);
    ASSERT_EQ(data.types[ipe].group, beams);
    ASSERT_TRUE(run("", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver& groups,
                            kxwin::DialogDriver& types, kxwin::DialogDriver&) {
        dialog.SetActiveTab(D::kTypesPage);
        types.pick(D::kTypeList, ipe);
        EXPECT_EQ(types.text(D::kGroupOfType), "Beams");
        types.click(D::kNew);
        EXPECT_EQ(types.items(D::kTypeList)[types.selectedIndex(D::kTypeList)], "New type");
        EXPECT_EQ(types.selectedIndex(D::kGroupOfType), -1);
        types.pick(D::kGroupOfType, "Beams");
        types.setText(D::kFile, "beam.dwg");
        dialog.SetActiveTab(D::kGroupsPage);
        groups.pick(D::kGroupList, "Beams");
        groups.click(D::kDelete);
        // The list selects the group that took the deleted one's place.
        EXPECT_EQ(groups.selectedIndex(D::kGroupList), 0);
        dialog.SetActiveTab(D::kTypesPage);
        EXPECT_EQ(types.selectedIndex(D::kGroupOfType), -1);
        d.ok();
    }));
    const SectionType& added = data.types.last();
    EXPECT_EQ(added.names, Kx_StringArray({Kx_String("Nieuw type"), Kx_String("New type"), Kx_String("Nouveau type")}));
    EXPECT_EQ(added.file, Kx_String("beam.dwg"));
    EXPECT_EQ(added.group, -1);
    EXPECT_EQ(data.types[ipe].group, -1);
    for (int g = 0; g < data.groups.groupCount(); ++g)
        EXPECT_NE(data.groups.group(g).number, beams);
}

TEST_F(EditLibSections, AProfileNameOpensItsTableOnItsRow)
{
    run("HEA-200", [](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                      kxwin::DialogDriver& tables) {
        EXPECT_EQ(dialog.GetActiveTab(), D::kTablesPage);
        EXPECT_EQ(tables.text(D::kTableList), "HEA");
        EXPECT_EQ(tables.text(D::kTableType), "I and H section");
        const int row = dialog.tableGrid().getSelectedRow();
        Kx_String name;
        dialog.tableGrid().getCellText(1, row, name);
        EXPECT_EQ(name, Kx_String("200"));
        EXPECT_FALSE(dialog.isTableChanged());
    });
}

TEST_F(EditLibSections, AWiderDialogGivesItsWidthToTheGrids)
{
    run("HEA-200", [](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                      kxwin::DialogDriver&) {
        RECT before = GetWindowRectInParent(dialog.tableGrid().GetSafeHwnd());
        RECT names = GetWindowRectInParent(dialog.groupNamesGrid().GetSafeHwnd());
        RECT r{};
        ::GetWindowRect(dialog.m_hWnd, r);
        ::MoveWindow(dialog.m_hWnd, r.left, r.top, r.right - r.left + 200, r.bottom - r.top + 100, TRUE);
        RECT after = GetWindowRectInParent(dialog.tableGrid().GetSafeHwnd());
        EXPECT_EQ(after.right - after.left, before.right - before.left + 200);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 100);
        EXPECT_EQ(after.left, before.left);
        RECT namesAfter = GetWindowRectInParent(dialog.groupNamesGrid().GetSafeHwnd());
        EXPECT_EQ(namesAfter.right - namesAfter.left, names.right - names.left + 200);
    });
}

TEST_F(EditLibSections, LeavingAChangedTableAsksAndCancelStaysOnItWithTheDialogOpen)
{
    const std::string original = read(prof("HEA.pr"));
    run("HEA-200", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver&, kxwin::DialogDriver&,
                       kxwin::DialogDriver& tables) {
        dialog.tableGrid().setCellData(6, 1, "97");
        dialog.tableGrid().setActiveCell(1, 1);
        EXPECT_TRUE(dialog.isTableChanged());
        agent.answerMessageBox(IDCANCEL, "has been changed");
        tables.pick(D::kTableList, "IPE");
        EXPECT_EQ(dialog.currentTable(), Kx_String("HEA"));
        EXPECT_EQ(tables.text(D::kTableList), "HEA");
        agent.answerMessageBox(IDCANCEL, "<HEA>");
        d.ok();
        EXPECT_TRUE(d.isOpen());
        // No drops the change and moves on.
        agent.answerMessageBox(IDNO);
        tables.pick(D::kTableList, "IPE");
        EXPECT_EQ(dialog.currentTable(), Kx_String("IPE"));
    });
    EXPECT_EQ(read(prof("HEA.pr")), original);
    EXPECT_EQ(agent.messageBoxes().size(), 3u);
}

TEST_F(EditLibSections, YesStoresTheTableAndOkCloses)
{
    ASSERT_TRUE(run("HEA-200", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver&, kxwin::DialogDriver&,
                                   kxwin::DialogDriver&) {
        dialog.tableGrid().setCellData(6, 1, "97");
        agent.answerMessageBox(IDYES, "<HEA>");
        d.ok();
    }));
    Kx_ProfValuesTable hea;
    ASSERT_TRUE(hea.readFromFile("HEA.pr"));
    EXPECT_EQ(hea.rows[0][5], Kx_String("97"));
    EXPECT_EQ(agent.messageBoxes().size(), 1u);
    EXPECT_EQ(hea.typeName, Kx_String("1"));
}

TEST_F(EditLibSections, AFailedWriteIsReportedTheFileKeptAndOkKeepsTheDialogOpen)
{
    const std::string original = read(prof("HEA.pr"));
    run("HEA-200", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver&, kxwin::DialogDriver&,
                       kxwin::DialogDriver&) {
        dialog.tableGrid().setCellData(6, 1, "97");
        {
            kx::FailingFileOps failing(3);
            kx::ScopedFileOps scope(failing);
            agent.answerMessageBox(IDYES, "<HEA>");
            agent.answerMessageBox(IDOK, "could not be written");
            d.ok();
            EXPECT_TRUE(failing.hasFailed());
        }
        EXPECT_TRUE(d.isOpen());
        EXPECT_TRUE(dialog.isTableChanged());
        Kx_String kept;
        dialog.tableGrid().getCellText(6, 1, kept);
        EXPECT_EQ(kept, Kx_String("97"));
    });
    EXPECT_EQ(read(prof("HEA.pr")), original);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(lib.path() / "prof"))
        ++files;
    EXPECT_EQ(files, 4) << "a temporary file was left behind";
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
}

TEST_F(EditLibSections, EmptyOrRepeatedSystemNamesAreRefusedNamingTheRows)
{
    const std::string original = read(prof("UPN.pr"));
    run("UPN-100", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver&, kxwin::DialogDriver&,
                       kxwin::DialogDriver&) {
        dialog.tableGrid().setCellData(1, 2, "");
        Kx_String first;
        dialog.tableGrid().getCellText(1, 1, first);
        dialog.tableGrid().setCellData(1, 4, first.toUpper() + "a");
        dialog.tableGrid().setCellData(1, 5, first + "A");
        agent.answerMessageBox(IDYES);
        agent.onMessageBox([](const MessageBoxRequest& box) {
            EXPECT_NE(box.text.find("no system name: 2."), std::string::npos) << box.text;
            EXPECT_NE(box.text.find(": rows 4, 5"), std::string::npos) << box.text;
            return IDOK;
        });
        d.ok();
        EXPECT_TRUE(d.isOpen());
    });
    EXPECT_EQ(read(prof("UPN.pr")), original);
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
}

TEST_F(EditLibSections, ATableWithEveryRowDeletedIsStoredEmptyAndShowsItsColumnsForInsert)
{
    ASSERT_TRUE(run("IPE-80", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver&, kxwin::DialogDriver&,
                                  kxwin::DialogDriver& tables) {
        Kx_Spread& grid = dialog.tableGrid();
        while (grid.getRowCount() > 0) {
            grid.setActiveCell(1, 1);
            tables.click(D::kDeleteRow);
        }
        agent.answerMessageBox(IDYES);
        d.ok();
    }));
    Kx_ProfValuesTable ipe;
    ASSERT_TRUE(ipe.readFromFile("IPE.pr"));
    EXPECT_TRUE(ipe.rows.isEmpty());
    EXPECT_EQ(ipe.columnNames.length(), 14);
    EXPECT_EQ(ipe.typeName, Kx_String("1"));

    run("", [&](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                kxwin::DialogDriver& tables) {
        dialog.SetActiveTab(D::kTablesPage);
        tables.pick(D::kTableList, "IPE");
        Kx_Spread& grid = dialog.tableGrid();
        EXPECT_EQ(grid.getRowCount(), 0);
        EXPECT_EQ(grid.getColCount(), 14);
        Kx_String header;
        grid.getCellText(6, Kx_Spread::HEADER, header, Kx_Spread::kTextData);
        EXPECT_EQ(header, Kx_String("h_mm"));
        tables.click(D::kInsertRow);
        EXPECT_EQ(grid.getRowCount(), 1);
        EXPECT_TRUE(dialog.isTableChanged());
    });
}

TEST_F(EditLibSections, TheRowToolsWorkOnTheShownTableAndMarkItChanged)
{
    run("HEA-100", [&](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                       kxwin::DialogDriver& tables) {
        Kx_Spread& grid = dialog.tableGrid();
        const int rows = grid.getRowCount();
        Kx_String first, second, cell;
        grid.getCellText(1, 1, first);
        grid.getCellText(1, 2, second);
        grid.setActiveCell(1, 2);
        tables.click(D::kRowUp);
        EXPECT_TRUE(dialog.isTableChanged());
        grid.getCellText(1, 1, cell);
        EXPECT_EQ(cell, second);
        grid.setActiveCell(1, 1);
        tables.click(D::kRowDown);
        grid.getCellText(1, 1, cell);
        EXPECT_EQ(cell, first);
        grid.setActiveCell(1, 1);
        tables.click(D::kInsertRow);
        EXPECT_EQ(grid.getRowCount(), rows + 1);
        grid.getCellText(1, 2, cell);
        EXPECT_TRUE(cell.isEmpty()) << cell.str();
        grid.setActiveCell(6, 1);
        tables.click(D::kCopy);
        grid.setActiveCell(6, 2);
        tables.click(D::kPaste);
        Kx_String copied, pasted;
        grid.getCellText(6, 1, copied);
        grid.getCellText(6, 2, pasted);
        EXPECT_EQ(pasted, copied);
        grid.setActiveCell(1, 2);
        tables.click(D::kDeleteRow);
        EXPECT_EQ(grid.getRowCount(), rows);
    });
}

TEST_F(EditLibSections, DeletingATableAsksAndOnlyYesDeletesItsFile)
{
    run("", [&](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                kxwin::DialogDriver& tables) {
        dialog.SetActiveTab(D::kTablesPage);
        tables.pick(D::kTableList, "IPE");
        agent.answerMessageBox(IDNO, "<IPE>");
        tables.click(D::kDeleteTable);
        EXPECT_TRUE(fs::exists(prof("IPE.pr")));
        agent.answerMessageBox(IDYES, "<IPE>");
        tables.click(D::kDeleteTable);
        EXPECT_FALSE(fs::exists(prof("IPE.pr")));
        // The list keeps its place: the next table is shown.
        EXPECT_EQ(tables.items(D::kTableList), (std::vector<std::string>{"HEA", "UPN"}));
        EXPECT_EQ(dialog.currentTable(), Kx_String("UPN"));
    });
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
}

TEST_F(EditLibSections, RenameWritesTheNewFileBeforeTheOldGoesAndAsksBeforeReplacing)
{
    const std::string hea = read(prof("HEA.pr"));
    const std::string upn = read(prof("UPN.pr"));
    auto rename = [&](const std::string& name) {
        agent.onDialog(kxcore::kPromptDialogId, [name](kxwin::DialogDriver& p) {
            p.setText(kxcore::kPromptValueId, name);
            p.ok();
        });
    };
    run("HEA-100", [&](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                       kxwin::DialogDriver& tables) {
        // The same name: nothing written, nothing asked.
        rename("HEA");
        tables.click(D::kRename);
        // A name that leaves the folder is refused.
        rename("../HEA");
        agent.answerMessageBox(IDOK, "<../HEA>");
        tables.click(D::kRename);
        // Onto an existing table: asked first; No keeps both.
        rename("upn");
        agent.answerMessageBox(IDNO, "already exists");
        tables.click(D::kRename);
        EXPECT_EQ(read(prof("UPN.pr")), upn);
        // A failed write keeps the old file and the old name.
        {
            kx::FailingFileOps failing(2);
            kx::ScopedFileOps scope(failing);
            rename("HE-A");
            agent.answerMessageBox(IDOK, "<HE-A>");
            tables.click(D::kRename);
        }
        EXPECT_EQ(dialog.currentTable(), Kx_String("HEA"));
        EXPECT_FALSE(fs::exists(prof("HE-A.pr")));
        EXPECT_EQ(read(prof("HEA.pr")), hea);
        rename("HE-A");
        tables.click(D::kRename);
        EXPECT_EQ(dialog.currentTable(), Kx_String("HE-A"));
        EXPECT_EQ(tables.items(D::kTableList), (std::vector<std::string>{"HE-A", "IPE", "UPN"}));
    });
    EXPECT_FALSE(fs::exists(prof("HEA.pr")));
    EXPECT_EQ(read(prof("HE-A.pr")), hea);
    EXPECT_EQ(agent.unusedScripts(), 0);
    EXPECT_EQ(agent.messageBoxes().size(), 3u) << "bad name, replace question, failed write";
}

TEST_F(EditLibSections, ATypeWithFewerColumnsDropsTheExtraOnesOnlyOnYes)
{
    run("HEA-100", [&](D& dialog, kxwin::DialogDriver&, kxwin::DialogDriver&, kxwin::DialogDriver&,
                       kxwin::DialogDriver& tables) {
        Kx_Spread& grid = dialog.tableGrid();
        ASSERT_EQ(grid.getColCount(), 14);
        // Flat bars bring three columns: 8 in all.
        agent.answerMessageBox(IDNO, "<Flat bar>");
        tables.pick(D::kTableType, "Flat bar");
        EXPECT_EQ(grid.getColCount(), 14);
        Kx_String header;
        grid.getCellText(2, Kx_Spread::HEADER, header, Kx_Spread::kTextData);
        EXPECT_EQ(header, Kx_String("I/O"));
        grid.getCellText(6, Kx_Spread::HEADER, header, Kx_Spread::kTextData);
        EXPECT_EQ(header, Kx_String("b_mm"));
        agent.answerMessageBox(IDYES);
        tables.pick(D::kTableType, "Round bar");
        EXPECT_EQ(grid.getColCount(), 7);
        // A type with more columns adds them without asking.
        tables.pick(D::kTableType, "I and H section");
        EXPECT_EQ(grid.getColCount(), 14);
        EXPECT_TRUE(dialog.isTableChanged());
    });
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
}

TEST_F(EditLibSections, ANewTableIsStoredOnceItsRowHasAName)
{
    ASSERT_TRUE(run("", [&](D& dialog, kxwin::DialogDriver& d, kxwin::DialogDriver&, kxwin::DialogDriver&,
                            kxwin::DialogDriver& tables) {
        dialog.SetActiveTab(D::kTablesPage);
        tables.click(D::kNewTable);
        EXPECT_EQ(tables.text(D::kTableList), "New table");
        Kx_Spread& grid = dialog.tableGrid();
        EXPECT_EQ(grid.getRowCount(), 1);
        Kx_StringArray headers;
        grid.getColumnHeaders(headers);
        EXPECT_EQ(headers, Kx_StringArray({Kx_String("SysName"), Kx_String("I/O"), Kx_String("Dutch"),
                                           Kx_String("English"), Kx_String("French"), Kx_String("Value1"),
                                           Kx_String("Value2")}));
        agent.answerMessageBox(IDYES, "<New table>");
        agent.answerMessageBox(IDOK, "no system name: 1.");
        d.ok();
        EXPECT_TRUE(d.isOpen());
        grid.setCellData(1, 1, "A1");
        agent.answerMessageBox(IDYES, "<New table>");
        d.ok();
    }));
    Kx_ProfValuesTable made;
    ASSERT_TRUE(made.readFromFile("New table.pr"));
    ASSERT_EQ(made.rows.length(), 1);
    EXPECT_EQ(made.rows[0][0], Kx_String("A1"));
    EXPECT_EQ(made.rows[0][1], Kx_String("1"));
    EXPECT_EQ(data.tables.length(), 4);
    EXPECT_EQ(agent.messageBoxes().size(), 3u);
}

} // namespace
