// The Formulas dialog as ReadSSFile and EvaluateSS run it, driven by the scripted user.
#include "spread/SpreadLaunchers.h"
#include "spread/ZnDlgFormulas.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/ZnTempResourceOverride.h"
#include "platform/win/UserAgent.h"

#include <filesystem>

using kxtest::SpreadTest;

namespace {

using ReadSSFileTest = SpreadTest;

TEST_F(ReadSSFileTest, GivesTitlesAndEveryRowOfTheSheet)
{
    const std::string path = folder.file("small.sss");
    kxtest::writeSheet(path, 3, 2, [](HWND g) {
        SSSetData(g, 1, 0, "A");
        SSSetData(g, 2, 0, "B");
        SSSetData(g, 3, 0, "C");
        SSSetData(g, 1, 1, "first");
        SSSetData(g, 3, 2, "last");
    });
    Kx_String first;
    Kx_StringArray titles;
    titles.append("stale");
    Kx_Array<Kx_StringArray> rows;
    EXPECT_TRUE(ReadSSFile(path, first, titles, rows));
    ASSERT_EQ(titles.length(), 3);
    EXPECT_EQ(titles[2], Kx_String("C"));
    ASSERT_EQ(rows.length(), 2);
    ASSERT_EQ(rows[0].length(), 3);
    EXPECT_EQ(first, rows[0][0]);
    EXPECT_EQ(first, Kx_String("first"));
    EXPECT_EQ(rows[1][2], Kx_String("last"));
    EXPECT_EQ(kxhost::takeCommandLineText(), "Loading spreadsheet:" + path + "\n");

    // A file that cannot be loaded gives the prepared empty sheet.
    EXPECT_FALSE(ReadSSFile(folder.file("none.sss"), first, titles, rows));
    EXPECT_EQ(titles.length(), 8);
    EXPECT_EQ(rows.length(), 10);
}

using FormulasDialog = SpreadTest;

TEST_F(FormulasDialog, EvaluateSSOpensTheFixedSheetOnDriveCAndRunsTheBench)
{
    const std::string t3 = drive + "/a/t3.sss";
    kxtest::writeSheet(t3, 5, 5, [](HWND g) {
        SSSetData(g, 2, 1, "4");
        SSSetFormula(g, 1, 1, "B1*2", TRUE);
        SSSetFormula(g, 4, 1, "SUM(B1:B2)", TRUE);
    });
    kxwin::UserAgent agent;
    bool ran = false;
    agent.onDialog(ZnDlgFormulas::kTemplateId, [&](kxwin::DialogDriver& d) {
        ran = true;
        EXPECT_EQ(d.title(), "Formulas");
        EXPECT_EQ(d.text(1000), "c:\\a\\t3.sss");
        EXPECT_EQ(d.checkState(1005), 1);
        EXPECT_EQ(kxss::currentSheet(), nullptr);  // restored once the cell was evaluated
        HWND grid = d.item(1004);
        EXPECT_EQ(kxss::cellData(grid, 1, 1).value_or("?"), "8");

        // R1C1 style: the formulas of column 4 shown as text in column 1.
        d.click(1007);
        EXPECT_EQ(kxss::cellData(grid, 1, 1).value_or("?"), "SUM(RC[-2]:R[1]C[-2])");

        d.setCheck(1106, 1);
        EXPECT_FALSE(d.isEnabled(1107));
        d.setCheck(1106, 0);
        EXPECT_TRUE(d.isEnabled(1107));

        d.setText(1000, "c:\\a\\copy.sss");
        d.click(1001);
        EXPECT_TRUE(std::filesystem::exists(drive + "/a/copy.sss"));
        d.setText(1000, "c:\\missing\\folder\\x.sss");
        d.click(1001);
        d.click(1087);
        EXPECT_EQ(kxhost::takeCommandLineText(), "Loading spreadsheet:c:\\a\\t3.sss\nSave failed\nLoad failed\n");
        d.ok();
    });
    EvaluateSS();
    EXPECT_TRUE(ran);
}

TEST_F(FormulasDialog, AnswersALookupAndClosesItself)
{
    const std::string table = folder.file("t.sss");
    kxtest::writeSheet(table, 2, 2, [](HWND g) { SSSetData(g, 2, 2, "found"); });
    HWND calling = kxgrid::createStandaloneGrid(2, 2);
    kxtest::CallRecords call;
    call.text(table).cell(2, 2);

    kxwin::UserAgent agent;  // no script: a dialog waiting for a person would fail the test
    ZnTempResourceOverride resources;
    kxss::CurrentSheetScope outer(calling);
    ZnDlgFormulas dialog(ZnDlgFormulas::kAnswerLookup, "");
    dialog.setLookup(&call.result, call.args.data(), call.count);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(call.result.status, SS_VALUESTATUS_OK);
    EXPECT_EQ(call.takeString(), "found");
    EXPECT_EQ(kxss::currentSheet(), calling);
}

} // namespace
