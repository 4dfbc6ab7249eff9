// The cutting-stock dialog as its launcher runs it, driven by the scripted user: sets, grids, the
// set's files, the status report and the stock-only mode.
#include "detailing/CuttingStockLaunchers.h"
#include "detailing/ZnDlgOptimizeCSP2.h"
#include "detailing/tests/DetailingTestSupport.h"

#include "core/FileIO.h"
#include "core/InfoDialog.h"
#include "core/PromptDialog.h"
#include "core/SaveFile.h"
#include "platform/grid/Spread.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

#include <filesystem>

namespace {

using D = ZnDlgOptimizeCSP2;
using kxwin::DialogDriver;
using Rows = Kx_Array<Kx_StringArray>;
namespace fs = std::filesystem;

Kx_StringArray row(std::initializer_list<const char*> cells)
{
    Kx_StringArray out;
    for (const char* c : cells)
        out.append(c);
    return out;
}

std::string cell(const DialogDriver& d, int table, int col, int r)
{
    char buffer[256] = {};
    SSGetData(d.item(D::kGrids[table - 1]), col, r, buffer, sizeof buffer);
    return buffer;
}

int gridRows(const DialogDriver& d, int table) { return SSGetMaxRows(d.item(D::kGrids[table - 1])); }
int gridCols(const DialogDriver& d, int table) { return SSGetMaxCols(d.item(D::kGrids[table - 1])); }

class CuttingStock : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        data.table1.columnNames = row({"Profile", "Length", "Count"});
        data.table2.columnNames = row({"Profile", "Length", "In stock"});
        data.table3.columnNames = row({"Profile", "Length", "Price"});
        data.setIds = {3, 7};
        data.setNames = row({"Hall A", "Canopy"});
        // Set 3's stock rows do not stand together, as a caller may hand them in.
        data.table2.appendRows(3, Rows{row({"IPE 200", "6000", "4"})});
        data.table2.appendRows(7, Rows{row({"RHS 100", "6000", "2"})});
        data.table2.appendRows(3, Rows{row({"HEA 160", "8000", "1", "yard B", "old"})});
        data.table3.appendRows(7, Rows{row({"RHS 100", "12000", "22.40"})});
    }
    std::string setFolder(const std::string& name) const { return libFile("Cutting Stock/" + name); }
    void file(const std::string& path, const std::string& bytes)
    {
        fs::create_directories(fs::path(path).parent_path());
        kxtest::writeBytes(path, bytes);
    }
    DlgCSP2Data data;
};

TEST_F(CuttingStock, OpensOnTheFirstSetWithEveryRowAndCellAndOkStoresTheEditedGrid)
{
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Cutting stock");
        EXPECT_EQ(d.items(D::kSetList), (std::vector<std::string>{"Hall A", "Canopy"}));
        EXPECT_EQ(d.selectedIndex(D::kSetList), 0);
        EXPECT_FALSE(d.isVisible(D::kAskNames));
        EXPECT_EQ(d.text(D::kReport), "Status report");
        EXPECT_EQ(d.tooltip(D::kLoadStock), "Load from a file");
        // Both stock rows of the set, and a column for every cell of the wider row.
        ASSERT_EQ(gridRows(d, 2), 2);
        EXPECT_EQ(gridCols(d, 2), 5);
        EXPECT_EQ(cell(d, 2, 0 + 3, 0), "In stock");
        EXPECT_EQ(cell(d, 2, 1, 2), "HEA 160");
        EXPECT_EQ(cell(d, 2, 5, 2), "old");
        EXPECT_EQ(gridRows(d, 3), 0);
        SSSetData(d.item(D::kGrids[1]), 3, 1, "5");
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    // The set's rows now stand together at the end; nothing of the wide row is lost.
    // Empty cells past the named columns are not kept: an unedited row stays as it was.
    EXPECT_EQ(edited.table2.rowsOfSet(3), (Rows{row({"IPE 200", "6000", "5"}), row({"HEA 160", "8000", "1", "yard B", "old"})}));
    EXPECT_EQ(edited.table2.rowsOfSet(7), data.table2.rowsOfSet(7));
    EXPECT_EQ(edited.table3, data.table3);
}

TEST_F(CuttingStock, SwitchingSetsKeepsEachSetsEditsAndCancelKeepsTheCallersData)
{
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        d.click(D::kAddRow[0]);
        EXPECT_EQ(gridRows(d, 1), 1);
        EXPECT_TRUE(SSGetBool(d.item(D::kGrids[0]), SSB_CHANGEMADE));
        SSSetData(d.item(D::kGrids[0]), 1, 1, "IPE 200");
        d.pick(D::kSetList, 1);
        EXPECT_EQ(gridRows(d, 1), 0);
        EXPECT_EQ(cell(d, 3, 2, 1), "12000");
        d.pick(D::kSetList, 0);
        EXPECT_EQ(cell(d, 1, 1, 1), "IPE 200");
        d.cancel();
    });
    DlgCSP2Data edited = data;
    EXPECT_FALSE(StartDlgCSP2(edited));
    EXPECT_EQ(edited, data);
}

TEST_F(CuttingStock, NewSetNamesMustBeFreePlainFolderNames)
{
    kxwin::UserAgent agent;
    auto typeName = [&](const std::string& name) {
        agent.onDialog(kxcore::kPromptDialogId, [name](DialogDriver& p) {
            EXPECT_EQ(p.title(), "New set");
            p.setText(kxcore::kPromptValueId, name);
            p.ok();
        });
    };
    agent.onDialog(D::kTemplateId, [&](DialogDriver& d) {
        for (const char* refused : {"  ", "..\\..\\Macros", "a/b"}) {
            typeName(refused);
            agent.answerMessageBox(IDOK);
            d.click(D::kNewSet);
        }
        typeName("hall a");
        agent.answerMessageBox(IDOK, "This name is already in use");
        d.click(D::kNewSet);
        EXPECT_EQ(d.items(D::kSetList).size(), 2u);
        typeName(" Hall B ");
        d.click(D::kNewSet);
        EXPECT_EQ(d.items(D::kSetList), (std::vector<std::string>{"Hall A", "Canopy", "Hall B"}));
        EXPECT_EQ(d.selectedIndex(D::kSetList), 2);
        EXPECT_EQ(gridRows(d, 2), 0);
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    EXPECT_EQ(edited.setIds, (Kx_Array<std::int32_t>{3, 7, 8}));
    EXPECT_EQ(edited.setNames[2], Kx_String("Hall B"));
    EXPECT_EQ(agent.messageBoxes().size(), 4u);
    EXPECT_FALSE(fs::exists(libFile("Macros")));
}

TEST_F(CuttingStock, DeletingTheLastSetSelectsTheNewLastAndTheOnlySetLeavesEmptyGrids)
{
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        d.pick(D::kSetList, 1);
        d.click(D::kDeleteSet);
        EXPECT_EQ(d.items(D::kSetList), std::vector<std::string>{"Hall A"});
        EXPECT_EQ(d.selectedIndex(D::kSetList), 0);
        EXPECT_EQ(gridRows(d, 2), 2);
        d.click(D::kDeleteSet);
        EXPECT_TRUE(d.items(D::kSetList).empty());
        EXPECT_EQ(gridRows(d, 2), 0);
        d.click(D::kAddRow[1]);  // a grid without a set: its row belongs to nothing
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    EXPECT_TRUE(edited.setIds.isEmpty());
    EXPECT_TRUE(edited.table2.rows.isEmpty());
    EXPECT_TRUE(edited.table3.rows.isEmpty());
}

TEST_F(CuttingStock, SavingProposesTheNextStockNumberAndLowerCasesOnlyTheFileName)
{
    file(setFolder("Hall A") + "/Stock1.shp", "");
    file(setFolder("Hall A") + "/stock4.SHP", "");
    kxwin::UserAgent agent;
    agent.onFileDialog([&](const FileDialogRequest& r) -> std::optional<std::string> {
        EXPECT_FALSE(r.open);
        EXPECT_EQ(r.fileName, "Stock5.shp");
        EXPECT_NE(r.filter.find("Stock (*.shp)"), std::string::npos) << r.filter;
        return setFolder("Hall A") + "/Data";
    });
    agent.chooseFile(setFolder("Hall A") + "/A.SHP");
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        d.click(D::kSaveStock);
        d.click(D::kSaveStock);
        d.cancel();
    });
    DlgCSP2Data edited = data;
    StartDlgCSP2(edited);
    EXPECT_EQ(kxtest::readBytes(setFolder("Hall A") + "/data.shp"),
              "IPE 200\xBF" "6000\xBF" "4\nHEA 160\xBF" "8000\xBF" "1\xBF" "yard B\xBF" "old\n");
    EXPECT_TRUE(fs::exists(setFolder("Hall A") + "/a.shp")) << "the folder \"Hall A\" keeps its capitals";
    EXPECT_FALSE(fs::exists(setFolder("Hall A") + "/a.shp.shp"));
}

TEST_F(CuttingStock, LoadingReplacesTheSetsRowsAndAnUnreadableFileKeepsThemWithAMessage)
{
    // A peer's file: Windows-1252, rows of different widths.
    file(setFolder("Hall A") + "/Peer.shp", "Tr\xE4ger\xBF" "6000\r\nFlach\xBF" "3000\xBF" "2\xBF" "x\r\n");
    file(setFolder("Hall A") + "/Huge.shp", std::string(kx::kMaxTextLineBytes + 1, 'x'));
    kxwin::UserAgent agent;
    agent.chooseFile(setFolder("Hall A") + "/Huge.shp");
    agent.answerMessageBox(IDOK, "The file could not be read. The rows of the set were kept");
    agent.chooseFile(setFolder("Hall A") + "/Peer.shp");
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        d.click(D::kLoadStock);
        EXPECT_EQ(gridRows(d, 2), 2);
        EXPECT_EQ(cell(d, 2, 1, 1), "IPE 200");
        d.click(D::kLoadStock);
        EXPECT_EQ(cell(d, 2, 1, 1), "Träger");
        EXPECT_EQ(cell(d, 2, 4, 2), "x");
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    EXPECT_EQ(edited.table2.rowsOfSet(3), (Rows{row({"Träger", "6000", ""}), row({"Flach", "3000", "2", "x"})}));
    kxhost::takeCommandLineText();
}

TEST_F(CuttingStock, AFailedSaveIsReportedAndTheOldFileStays)
{
    const std::string path = setFolder("Hall A") + "/stock1.shp";
    file(path, "old\n");
    kxwin::UserAgent agent;
    agent.chooseFile(path);
    agent.answerMessageBox(IDYES);  // replace the existing file
    agent.answerMessageBox(IDOK, "The file could not be saved");
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        kx::FailingFileOps ops(1);
        kx::ScopedFileOps scope(ops);
        d.click(D::kSaveStock);
        d.cancel();
    });
    DlgCSP2Data edited = data;
    StartDlgCSP2(edited);
    EXPECT_EQ(kxtest::readBytes(path), "old\n");
    EXPECT_EQ(agent.unusedScripts(), 0);
    kxhost::takeCommandLineText();
}

TEST_F(CuttingStock, ASetWhoseNameIsNoFolderNameHasNoFiles)
{
    data.setNames[1] = "..";
    file(libFile("Cutting Stock/x.shp"), "outside\n");
    kxwin::UserAgent agent;
    agent.answerMessageBox(IDOK, "cannot be used as a folder name");
    agent.onDialog(kxcore::kInfoDialogId, [](DialogDriver& info) {
        EXPECT_NE(info.text(kxcore::kInfoLinesId).find("\"..\" is not a folder name"), std::string::npos)
            << info.text(kxcore::kInfoLinesId);
        info.ok();
    });
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        d.pick(D::kSetList, 1);
        d.click(D::kLoadStock);
        d.click(D::kReport);
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    EXPECT_EQ(edited.table2.rowsOfSet(7), data.table2.rowsOfSet(7));
}

TEST_F(CuttingStock, TheStatusReportLoadsTheNewestFilesOfEverySet)
{
    file(setFolder("Hall A") + "/Stock1.shp", "old\xBF" "1\n");
    file(setFolder("Hall A") + "/Stock2.shp", "new\xBF" "2\n");
    fs::last_write_time(setFolder("Hall A") + "/Stock1.shp", fs::file_time_type::clock::now() - std::chrono::hours(48));
    file(setFolder("Canopy") + "/Stock1.buy", "bought\n");
    kxwin::UserAgent agent;
    agent.onDialog(kxcore::kInfoDialogId, [](DialogDriver& info) {
        EXPECT_EQ(info.title(), "Cutting stock status");
        const std::string text = info.text(kxcore::kInfoLinesId);
        EXPECT_EQ(text.substr(0, 116), std::string(116, '-'));
        EXPECT_NE(text.find("File \"Stock2.shp\" loaded as stock of set \"Hall A\""), std::string::npos) << text;
        EXPECT_NE(text.find("File \"*.buy\" not found; the purchase list was not changed"), std::string::npos);
        EXPECT_NE(text.find("File \"*.shp\" not found; the stock was not changed"), std::string::npos);
        EXPECT_NE(text.find("loaded as purchase list of set \"Canopy\""), std::string::npos);
        info.ok();
    });
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        d.click(D::kReport);
        EXPECT_EQ(cell(d, 2, 1, 1), "new");
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    // The grid shows the named columns, so the row comes back with all three.
    EXPECT_EQ(edited.table2.rowsOfSet(3), Rows{row({"new", "2", ""})});
    EXPECT_EQ(edited.table2.rowsOfSet(7), data.table2.rowsOfSet(7));
    EXPECT_EQ(edited.table3.rowsOfSet(7), Rows{row({"bought"})}) << "not the shown set: as read";
}

TEST_F(CuttingStock, StockOnlyModeEditsTheStockAndSavesEverySetUnderItsDefaultName)
{
    data.stockOnly = true;
    file(setFolder("Canopy") + "/Stock3.shp", "");
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [](DialogDriver& d) {
        EXPECT_EQ(d.text(D::kReport), "Save the stock of all sets");
        EXPECT_TRUE(d.isVisible(D::kAskNames));
        for (int id : {D::kNewSet, D::kDeleteSet, D::kGrids[0], D::kGrids[2], D::kAddRow[0], D::kLoadBuy, D::kSaveBuy})
            EXPECT_FALSE(d.isEnabled(id)) << id;
        for (int id : {D::kSetList, D::kGrids[1], D::kAddRow[1], D::kDeleteRow[1], D::kLoadStock, D::kSaveStock})
            EXPECT_TRUE(d.isEnabled(id)) << id;
        d.click(D::kReport);  // no file dialog: the box is not checked
        d.ok();
    });
    DlgCSP2Data edited = data;
    ASSERT_TRUE(StartDlgCSP2(edited));
    EXPECT_EQ(kxtest::readBytes(setFolder("Hall A") + "/stock1.shp").substr(0, 8), "IPE 200\xBF");
    EXPECT_EQ(kxtest::readBytes(setFolder("Canopy") + "/stock4.shp"), "RHS 100\xBF" "6000\xBF" "2\n");
}

TEST_F(CuttingStock, TheTemplateSizeStaysTheMinimumWhateverSizeWasStored)
{
    SIZE first{};
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [&](DialogDriver& d) {
        RECT r{};
        GetWindowRect(d.dialog(), r);
        first = {r.right - r.left, r.bottom - r.top};
        MoveWindow(d.dialog(), r.left, r.top, first.cx + 200, first.cy + 100);
        d.cancel();
    });
    agent.onDialog(D::kTemplateId, [&](DialogDriver& d) {
        RECT r{};
        GetWindowRect(d.dialog(), r);
        EXPECT_EQ(r.right - r.left, first.cx + 200) << "the stored size is restored";
        MINMAXINFO info{};
        SendMessage(d.dialog(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, first.cx);
        EXPECT_EQ(info.ptMinTrackSize.y, first.cy);
        d.cancel();
    });
    DlgCSP2Data edited = data;
    StartDlgCSP2(edited);
    StartDlgCSP2(edited);
}

TEST_F(CuttingStock, TheDefaultNameAndTheNewestFileAreFoundIgnoringCase)
{
    const std::string folder = setFolder("S") + "/";
    file(folder + "STOCK12.shp", "");
    file(folder + "Stock2.shp", "");
    file(folder + "Stockx.shp", "");
    file(folder + "Stock3.buy", "");
    EXPECT_EQ(D::defaultFileName(Kx_String(folder), "shp"), Kx_String("Stock13.shp"));
    EXPECT_EQ(D::defaultFileName(Kx_String(folder), "buy"), Kx_String("Stock4.buy"));
    EXPECT_EQ(D::defaultFileName(Kx_String(setFolder("none") + "/"), "buy"), Kx_String("Stock1.buy"));
    fs::last_write_time(folder + "STOCK12.shp", fs::file_time_type::clock::now() + std::chrono::hours(1));
    EXPECT_EQ(D::newestFile(Kx_String(folder), "shp"), Kx_String(folder + "STOCK12.shp"));
    EXPECT_TRUE(D::newestFile(Kx_String(setFolder("none") + "/"), "shp").isEmpty());
    EXPECT_EQ(D::normalisedPath("/Data/Hall A/Stock1.SHP", "shp"), Kx_String("/Data/Hall A/stock1.shp"));
    EXPECT_EQ(D::normalisedPath("C:\\Lib\\X\\Data", "buy"), Kx_String("C:\\Lib\\X\\data.buy"));
}

} // namespace
