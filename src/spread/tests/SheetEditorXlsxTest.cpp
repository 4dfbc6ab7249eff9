// The spreadsheet editor's Export offers .xlsx beside CSV: the workbook is written, cells whose
// formulas cannot travel are named, and a failure says why.
#include "spread/SheetEditorLauncher.h"
#include "spread/ZnSheetEditor.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/MacroLangs.h"
#include "platform/win/UserAgent.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using kxtest::SpreadTest;
using kxwin::DialogDriver;
using E = ZnSheetEditor;

namespace {

// What read_xlsx.py prints about the workbook.
std::string readBack(const std::string& file)
{
    const std::string command = std::string("/usr/bin/python3 ") + KX_READ_XLSX + " '" + file + "' 2>&1";
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

class SheetEditorXlsxTest : public SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        bom = folder.file("bom.kxs");
        kxtest::writeSheet(bom, 3, 4, [](HWND g) {
            SSSetData(g, 1, 0, "Mark");
            SSSetData(g, 2, 0, "Profile");
            SSSetData(g, 1, 1, "B1");
            SSSetData(g, 2, 1, "HEA 200");
            SSSetData(g, 3, 1, "12");
            SSSetBool(g, SSB_ALLOWUSERFORMULAS, TRUE);
            SSSetFormula(g, 3, 2, "C1*2", TRUE);
            SSSetFormula(g, 3, 3, "NOSUCH(C1)", TRUE);
        });
    }
    bool run(const std::function<void(DialogDriver&)>& script)
    {
        agent.onDialog(E::kTemplateId, [&](DialogDriver& d) { script(d); });
        return StartSheetEditor(Kx_String(bom));
    }
    kxwin::UserAgent agent;
    std::string bom;
};

} // namespace

TEST_F(SheetEditorXlsxTest, ExportOffersBothFormatsAndAnXlsxNameWritesAWorkbook)
{
    const std::string xlsx = folder.file("bom.xlsx");
    EXPECT_TRUE(run([&](DialogDriver& d) {
        agent.onFileDialog([&](const FileDialogRequest& request) {
            EXPECT_EQ(request.title, "Export");
            EXPECT_NE(request.filter.find("*.csv"), std::string::npos) << request.filter;
            EXPECT_NE(request.filter.find("*.xlsx"), std::string::npos) << request.filter;
            EXPECT_EQ(request.fileName, "bom.csv");
            return std::optional<std::string>(xlsx);
        });
        agent.answerMessageBox(IDOK, "C3 (NOSUCH)");
        d.clickToolbarButton(E::kExport);
        d.closeBox();
    }));
    const std::string items = readBack(xlsx);
    EXPECT_NE(items.find("sheet Sheet1 freeze=A2"), std::string::npos) << items;
    EXPECT_NE(items.find("cell B1 t=s v='Profile'"), std::string::npos) << items;
    EXPECT_NE(items.find("cell C3 t=f v='=C2*2' cached=24"), std::string::npos) << items;
    ASSERT_FALSE(agent.messageBoxes().empty());
    EXPECT_NE(agent.messageBoxes().back().text.find("last value"), std::string::npos);
    // The same message names the print settings the file has no place for, after the cells.
    const std::string& text = agent.messageBoxes().back().text;
    const size_t printPart = text.find("These print settings were left out");
    ASSERT_NE(printPart, std::string::npos) << text;
    EXPECT_GT(printPart, text.find("C3 (NOSUCH)"));
    EXPECT_NE(text.find("\nborder around the cells", printPart), std::string::npos) << text;
}

TEST_F(SheetEditorXlsxTest, AWorkbookThatCannotBeWrittenIsReportedWithTheReason)
{
    const std::string xlsx = folder.file("missing folder/bom.xlsx");
    EXPECT_TRUE(run([&](DialogDriver& d) {
        agent.chooseFile(xlsx);
        agent.answerMessageBox(IDOK, "The workbook could not be written.\n\ncannot write");
        d.clickToolbarButton(E::kExport);
        d.closeBox();
    }));
    EXPECT_FALSE(std::ifstream(xlsx).good());
}
