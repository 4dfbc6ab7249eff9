// The editor's Print Setup and Print Preview as a person uses them: the setup written back to the
// sheet and the registry and used by Print; bad margins refused; the preview's pages turned and
// zoomed within their bounds, as many as the PDF gets.
#include "spread/SheetEditorLauncher.h"
#include "spread/SheetEditorPrint.h"
#include "spread/ZnSheetEditor.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/MacroLangs.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/PdfWriterHook.h"
#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/RegistryStore.h"
#include "sheetedit/SheetSettings.h"

#include <string>

using kxtest::SpreadTest;
using kxwin::DialogDriver;
using E = ZnSheetEditor;

namespace {

// What the last Print handed to the PDF writer.
struct Printed {
    int calls = 0;
    double widthMm = 0;
    double heightMm = 0;
    int pageCount = 0;
};
Printed g_printed;

bool fakeWriter(const std::string&, const kxwin::PdfDocument& document, std::string*)
{
    ++g_printed.calls;
    g_printed.widthMm = document.widthMm;
    g_printed.heightMm = document.heightMm;
    g_printed.pageCount = document.pageCount;
    return true;
}

bool painted(HWND view, const std::string& text)
{
    kxwin::paintWindow(view);
    for (const kxwin::DrawOp& op : kxwin::lastPaintRecord(view))
        if (op.text == text)
            return true;
    return false;
}

class SheetEditorPrintTest : public SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        g_printed = {};
        kxwin::setPdfWriter(&fakeWriter);
        RegistryStore::deleteValue(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, kPrintPaperValue);
        RegistryStore::deleteValue(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, kPrintLandscapeValue);
        sheet = folder.file("long.kxs");
        kxtest::writeSheet(sheet, 3, kRows, [](HWND g) {
            for (int r = 1; r <= kRows; ++r)
                SSSetData(g, 1, r, ("row " + std::to_string(r)).c_str());
        });
    }
    void TearDown() override
    {
        kxwin::setPdfWriter(nullptr);
        RegistryStore::deleteValue(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, kPrintPaperValue);
        RegistryStore::deleteValue(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath, kPrintLandscapeValue);
        SpreadTest::TearDown();
    }
    bool run(const std::function<void(DialogDriver&)>& script)
    {
        agent.onDialog(E::kTemplateId, [&](DialogDriver& d) {
            grid = d.item(E::kGridId);
            ASSERT_NE(grid, nullptr);
            script(d);
        });
        return StartSheetEditor(Kx_String(sheet));
    }
    void printToPdf(DialogDriver& d)
    {
        agent.chooseFile(folder.file("long.pdf"));
        d.menuCommand(E::kPrint);
    }
    static constexpr int kRows = 150;
    kxwin::UserAgent agent;
    std::string sheet;
    HWND grid = nullptr;
};

} // namespace

TEST_F(SheetEditorPrintTest, SetupIsWrittenBackAndPrintUsesIt)
{
    EXPECT_TRUE(run([&](DialogDriver& d) {
        // Untouched: A4 portrait with the sheet's default margins.
        printToPdf(d);
        ASSERT_EQ(g_printed.calls, 1);
        EXPECT_DOUBLE_EQ(g_printed.widthMm, 210.0);
        EXPECT_DOUBLE_EQ(g_printed.heightMm, 297.0);
        const int portraitPages = g_printed.pageCount;

        agent.onDialog(ZnDlgPrintSetup::kTemplateId, [](DialogDriver& setup) {
            EXPECT_EQ(setup.text(ZnDlgPrintSetup::kLeftEdit), "9");
            EXPECT_EQ(setup.text(ZnDlgPrintSetup::kBottomEdit), "5");
            setup.pick(ZnDlgPrintSetup::kPaperCombo, "Letter");
            setup.click(ZnDlgPrintSetup::kLandscapeRadio);
            setup.setText(ZnDlgPrintSetup::kLeftEdit, " 12 ");
            setup.setText(ZnDlgPrintSetup::kTopEdit, "20");
            setup.ok();
        });
        d.menuCommand(E::kPrintSetup);
        SheetSettings settings;
        settings.readFromSheet(grid);
        EXPECT_EQ(settings.marginLeft, 12);
        EXPECT_EQ(settings.marginTop, 20);
        EXPECT_EQ(settings.marginRight, 5);
        Kx_String paper;
        ASSERT_TRUE(RegistryStore::readString(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath,
                                              kPrintPaperValue, paper));
        EXPECT_EQ(paper.str(), "Letter");

        printToPdf(d);
        ASSERT_EQ(g_printed.calls, 2);
        EXPECT_NEAR(g_printed.widthMm, 279.4, 0.01) << "Letter landscape";
        EXPECT_NEAR(g_printed.heightMm, 215.9, 0.01);
        EXPECT_GT(g_printed.pageCount, portraitPages) << "a lower page holds fewer rows";

        // Cancel keeps everything.
        agent.onDialog(ZnDlgPrintSetup::kTemplateId, [](DialogDriver& setup) {
            EXPECT_EQ(setup.text(ZnDlgPrintSetup::kLeftEdit), "12") << "the stored margin shown again";
            setup.setText(ZnDlgPrintSetup::kLeftEdit, "30");
            setup.cancel();
        });
        d.menuCommand(E::kPrintSetup);
        EXPECT_EQ(editorPageSetup(grid).marginLeft, 12);
        EXPECT_TRUE(editorPageSetup(grid).landscape);
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorPrintTest, BadMarginsAreRefusedAndNothingIsStored)
{
    EXPECT_TRUE(run([&](DialogDriver& d) {
        agent.onDialog(ZnDlgPrintSetup::kTemplateId, [&](DialogDriver& setup) {
            for (const char* bad : {"abc", "-3", "12.5", "12,5", "", "101"}) {
                agent.answerMessageBox(IDOK, "whole number of millimetres");
                setup.setText(ZnDlgPrintSetup::kRightEdit, bad);
                setup.ok();
                EXPECT_TRUE(setup.isOpen()) << "refused: '" << bad << "'";
            }
            // Each margin fits, together they leave no room across A4.
            setup.setText(ZnDlgPrintSetup::kLeftEdit, "100");
            setup.setText(ZnDlgPrintSetup::kRightEdit, "95");
            agent.answerMessageBox(IDOK, "no room");
            setup.ok();
            EXPECT_TRUE(setup.isOpen());
            setup.cancel();
        });
        d.menuCommand(E::kPrintSetup);
        SheetSettings settings;
        settings.readFromSheet(grid);
        EXPECT_EQ(settings.marginLeft, 9);
        EXPECT_EQ(settings.marginRight, 5);
        Kx_String paper;
        EXPECT_FALSE(RegistryStore::readString(HKEY_LOCAL_MACHINE, EditorRegistrySettings::kKeyPath,
                                               kPrintPaperValue, paper));
        d.closeBox();
    }));
}

TEST_F(SheetEditorPrintTest, PreviewTurnsThePagesThePdfGets)
{
    EXPECT_TRUE(run([&](DialogDriver& d) {
        printToPdf(d);
        const int pages = g_printed.pageCount;
        ASSERT_GE(pages, 2) << "the long sheet needs several pages";
        agent.onDialog(ZnDlgPrintPreview::kTemplateId, [&](DialogDriver& preview) {
            using P = ZnDlgPrintPreview;
            HWND view = preview.item(P::kPageView);
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(GetClassName(view), "fpSpreadPreview70");
            EXPECT_EQ(preview.text(P::kPageText), "Page 1 of " + std::to_string(pages));
            EXPECT_FALSE(IsWindowEnabled(preview.item(P::kPreviousButton)));
            EXPECT_TRUE(painted(view, "row 1"));
            EXPECT_FALSE(painted(view, "row " + std::to_string(kRows)));
            for (int i = 1; i < pages; ++i)
                preview.click(P::kNextButton);
            EXPECT_EQ(preview.text(P::kPageText),
                      "Page " + std::to_string(pages) + " of " + std::to_string(pages));
            EXPECT_FALSE(IsWindowEnabled(preview.item(P::kNextButton)));
            EXPECT_TRUE(painted(view, "row " + std::to_string(kRows)));
            EXPECT_FALSE(painted(view, "row 1"));
            preview.click(P::kPreviousButton);
            EXPECT_EQ(preview.text(P::kPageText),
                      "Page " + std::to_string(pages - 1) + " of " + std::to_string(pages));

            // Zoom: up to its largest step, then the button is off.
            for (int i = 0; i < 6; ++i) {
                EXPECT_TRUE(IsWindowEnabled(preview.item(P::kZoomInButton))) << i;
                preview.click(P::kZoomInButton);
            }
            EXPECT_FALSE(IsWindowEnabled(preview.item(P::kZoomInButton)));
            for (int i = 0; i < 7; ++i)
                preview.click(P::kZoomOutButton);
            EXPECT_FALSE(IsWindowEnabled(preview.item(P::kZoomOutButton)));
            EXPECT_TRUE(IsWindowEnabled(preview.item(P::kZoomInButton)));
            preview.cancel();
        });
        d.menuCommand(E::kPrintPreview);
        d.closeBox();
    }));
}
