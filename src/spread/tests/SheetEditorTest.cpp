// The spreadsheet editor as a person uses it: its menu bar, toolbar, cell menu and small dialogs,
// driven by the scripted user, checked on what reached the grid, the files and the registry.
#include "spread/SheetEditorLauncher.h"
#include "spread/ZnSheetEditor.h"
#include "spread/ZnSheetEditorDialogs.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/MacroLangs.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Menu.h"
#include "platform/win/SaveFile.h"
#include "platform/win/UserAgent.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/SheetSettings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using kxtest::SpreadTest;
using kxwin::DialogDriver;
using E = ZnSheetEditor;

namespace {

std::string data(HWND grid, int col, int row)
{
    const int n = SSGetDataLen(grid, col, row);
    if (n <= 0)
        return {};
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    SSGetData(grid, col, row, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

// Types into a cell as a person does: the cell made active, the text typed, Enter.
void typeInto(DialogDriver& d, HWND grid, int col, int row, const std::string& text)
{
    d.focus(E::kGridId);
    SSSetActiveCell(grid, col, row);
    d.type(text);
    d.pressKey(VK_RETURN);
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class SheetEditorTest : public SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxwin::setClipboardText("");
        bom = folder.file("bom.kxs");
        kxtest::writeSheet(bom, 3, 4, [](HWND g) {
            SSSetData(g, 1, 0, "Mark");
            SSSetData(g, 2, 0, "Profile");
            SSSetData(g, 1, 1, "B1");
            SSSetData(g, 2, 1, "HEA 200");
            SSSetData(g, 3, 1, "12");
        });
    }
    void TearDown() override
    {
        MacroLangs::SetCurLanguage(MacroLangs::English);
        SpreadTest::TearDown();
    }
    // Opens the editor on `file` and runs `script` in it; the script ends with the editor closed.
    bool run(const std::string& file, const std::function<void(DialogDriver&)>& script)
    {
        agent.onDialog(E::kTemplateId, [&](DialogDriver& d) {
            grid = d.item(E::kGridId);
            ASSERT_NE(grid, nullptr);
            script(d);
        });
        return StartSheetEditor(Kx_String(file));
    }
    kxwin::UserAgent agent;
    std::string bom;
    HWND grid = nullptr;
};

} // namespace

TEST_F(SheetEditorTest, OpenEditSaveAndReopenKeepsTheCells)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        EXPECT_EQ(d.title(), "bom.kxs - Spreadsheet Editor");
        EXPECT_EQ(data(grid, 2, 1), "HEA 200");
        typeInto(d, grid, 2, 2, "IPE 300");
        EXPECT_EQ(d.title(), "bom.kxs* - Spreadsheet Editor") << "the title marks the change";
        d.clickToolbarButton(E::kSave);
        EXPECT_EQ(d.title(), "bom.kxs - Spreadsheet Editor");
        d.closeBox();
    }));
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        EXPECT_EQ(data(grid, 2, 2), "IPE 300");
        EXPECT_EQ(data(grid, 2, 0), "Profile");
        // Save As writes a second file and the editor goes on with it.
        typeInto(d, grid, 1, 4, "last");
        agent.chooseFile(folder.file("copy.kxs"));
        d.menuCommand(E::kSaveAs);
        EXPECT_EQ(d.title(), "copy.kxs - Spreadsheet Editor");
        d.closeBox();
    }));
    EXPECT_TRUE(run(folder.file("copy.kxs"), [&](DialogDriver& d) {
        EXPECT_EQ(data(grid, 1, 4), "last");
        EXPECT_EQ(data(grid, 2, 2), "IPE 300");
        d.closeBox();
    }));
    EXPECT_TRUE(agent.messageBoxes().empty());
}

TEST_F(SheetEditorTest, AFailedSaveKeepsTheSheetChangedAndTheOldFileIntact)
{
    const std::string before = fileBytes(bom);
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        typeInto(d, grid, 1, 2, "B2");
        // Every step of the save failing in turn (the first as a folder that refuses new files).
        for (int step = 1; step <= 4; ++step) {
            kxwin::FailingFileOps fail(step, step == 1 ? EACCES : EIO);
            kxwin::ScopedFileOps scope(fail);
            agent.answerMessageBox(IDOK, "could not be saved");
            d.menuCommand(E::kSave);
            EXPECT_EQ(d.title(), "bom.kxs* - Spreadsheet Editor") << "step " << step;
            EXPECT_EQ(fileBytes(bom), before) << "step " << step;
            EXPECT_EQ(data(grid, 1, 2), "B2");
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            if (entry.is_regular_file()) {
                EXPECT_EQ(entry.path().extension(), ".kxs") << "no temporary file left: " << entry.path();
            }
        }
        // Closing asks; Cancel keeps the editor open with the change.
        agent.answerMessageBox(IDCANCEL, "not saved");
        d.closeBox();
        EXPECT_TRUE(d.isOpen());
        // Yes saves (the disk works again) and closes.
        agent.answerMessageBox(IDYES, "not saved");
        d.closeBox();
        EXPECT_FALSE(d.isOpen());
    }));
    EXPECT_NE(fileBytes(bom), before);
}

TEST_F(SheetEditorTest, NewAndOpenOnAChangedSheetAskFirst)
{
    const std::string other = folder.file("other.kxs");
    kxtest::writeSheet(other, 2, 2, [](HWND g) { SSSetData(g, 1, 1, "other"); });
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        typeInto(d, grid, 1, 1, "changed");
        agent.answerMessageBox(IDCANCEL, "not saved");
        d.menuCommand(E::kNew);
        EXPECT_EQ(data(grid, 1, 1), "changed") << "Cancel keeps everything";
        EXPECT_EQ(d.title(), "bom.kxs* - Spreadsheet Editor");

        agent.answerMessageBox(IDCANCEL, "not saved");
        d.clickToolbarButton(E::kOpen);
        EXPECT_EQ(data(grid, 1, 1), "changed");

        // No: the change is dropped and a fresh prepared sheet replaces it.
        agent.answerMessageBox(IDNO, "not saved");
        d.menuCommand(E::kNew);
        EXPECT_EQ(d.title(), "Untitled - Spreadsheet Editor");
        EXPECT_EQ(SSGetMaxCols(grid), 6);
        EXPECT_EQ(SSGetMaxRows(grid), 11);
        EXPECT_EQ(data(grid, 1, 1), "");
        EXPECT_EQ(data(grid, 2, 0), "") << "nothing of the old sheet survives";
        LOGFONT font;
        ASSERT_TRUE(SSGetFont(grid, 1, 1, &font));
        EXPECT_EQ(font.lfFaceName, "Tahoma");

        // An unchanged sheet opens another without asking.
        agent.chooseFile(other);
        d.menuCommand(E::kOpen);
        EXPECT_EQ(d.title(), "other.kxs - Spreadsheet Editor");
        EXPECT_EQ(data(grid, 1, 1), "other");
        d.closeBox();
    }));
    EXPECT_EQ(fileBytes(bom).find("changed"), std::string::npos) << "nothing was saved";
}

TEST_F(SheetEditorTest, AFileThatIsNoSheetIsRefusedAndTheSheetShownStays)
{
    const std::string junk = folder.file("junk.kxs");
    std::ofstream(junk) << "this is not a sheet\n";
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        typeInto(d, grid, 1, 3, "kept");
        agent.answerMessageBox(IDNO, "not saved");
        agent.chooseFile(junk);
        agent.answerMessageBox(IDOK, "could not be opened");
        d.menuCommand(E::kOpen);
        EXPECT_EQ(data(grid, 1, 3), "kept");
        EXPECT_EQ(d.title(), "bom.kxs* - Spreadsheet Editor");
        agent.answerMessageBox(IDNO, "not saved");
        d.closeBox();
    }));
    // Started on it, the editor says why and does not open.
    agent.answerMessageBox(IDOK, "could not be opened");
    EXPECT_FALSE(StartSheetEditor(Kx_String(junk)));
    ASSERT_FALSE(agent.messageBoxes().empty());
    EXPECT_NE(agent.messageBoxes().back().text.find("\n\n"), std::string::npos) << "with the grid's reason";
}

TEST_F(SheetEditorTest, ExportWritesCsvPrintAsksForAPdfFileAndPreviewSaysItIsNotAvailable)
{
    const std::string csv = folder.file("bom.csv");
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        typeInto(d, grid, 1, 2, "B2, left");
        agent.onFileDialog([&](const FileDialogRequest& request) {
            EXPECT_FALSE(request.open);
            EXPECT_EQ(request.fileName, "bom.csv");
            return std::optional<std::string>(csv);
        });
        d.clickToolbarButton(E::kExport);
        // Print asks for a PDF file beside the sheet; the headless backend has no PDF writer, which
        // the editor reports. Cancelling the file dialog says nothing.
        agent.onFileDialog([&](const FileDialogRequest& request) {
            EXPECT_FALSE(request.open);
            EXPECT_EQ(request.fileName, "bom.pdf");
            return std::optional<std::string>(folder.file("bom.pdf"));
        });
        agent.answerMessageBox(IDOK, "could not be printed");
        d.menuCommand(E::kPrint);
        agent.onFileDialog([&](const FileDialogRequest&) { return std::optional<std::string>(); });
        d.clickToolbarButton(E::kPrint);
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
    EXPECT_EQ(fileBytes(csv), "B1,HEA 200,12\r\n\"B2, left\",,\r\n");
}

TEST_F(SheetEditorTest, CutAndPasteMoveTextsAndPasteWaitsForTheClipboard)
{
    std::vector<std::string> failures;
    kxwin::UserAgent::setFailureHandler([&](const std::string& what) { failures.push_back(what); });
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        EXPECT_FALSE(d.isMenuCommandEnabled(E::kPaste)) << "nothing to paste yet";
        EXPECT_FALSE(d.isToolbarButtonEnabled(E::kPaste));
        d.menuCommand(E::kPaste);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_NE(failures[0].find("item 32844 \"Paste\" of the menu bar is greyed"), std::string::npos) << failures[0];

        SSSetSelectBlock(grid, 1, 1, 2, 1);
        d.menuCommand(E::kCut);
        EXPECT_EQ(data(grid, 1, 1), "");
        EXPECT_EQ(data(grid, 2, 1), "");
        EXPECT_EQ(data(grid, 3, 1), "12") << "outside the selection";
        EXPECT_TRUE(d.isToolbarButtonEnabled(E::kPaste));

        SSClearSelection(grid);
        SSSetActiveCell(grid, 2, 3);
        d.clickToolbarButton(E::kPaste);
        EXPECT_EQ(data(grid, 2, 3), "B1");
        EXPECT_EQ(data(grid, 3, 3), "HEA 200");

        SSSetActiveCell(grid, 3, 1);
        d.clickToolbarButton(E::kCopy);
        SSSetActiveCell(grid, 1, 4);
        d.menuCommand(E::kPaste);
        EXPECT_EQ(data(grid, 1, 4), "12");
        EXPECT_EQ(data(grid, 3, 1), "12") << "copy leaves the cell";
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
    EXPECT_EQ(failures.size(), 1u);
}

TEST_F(SheetEditorTest, TheCellMenuOnARightClickEditsTheNote)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        std::string shown;
        agent.onMenu([&](const PopupMenuRequest& request) {
            shown = kxwin::describeMenu(request.menu);
            EXPECT_EQ(request.owner, d.dialog());
            return UINT{E::kNote};
        });
        agent.onDialog(ZnDlgCellNote::kTemplateId, [](DialogDriver& note) {
            EXPECT_EQ(note.title(), "Cell note");
            EXPECT_EQ(note.text(ZnDlgCellNote::kNoteEdit), "");
            note.setText(ZnDlgCellNote::kNoteEdit, "check the flange");
            note.ok();
        });
        d.rightClick(E::kGridId);
        EXPECT_NE(shown.find("\"Nota wijzigen\", 32806"), std::string::npos) << shown;
        int col = 0, row = 0;
        ASSERT_TRUE(SSGetActiveCell(grid, &col, &row));
        char note[64] = {};
        SSGetCellNote(grid, col, row, note, sizeof note);
        EXPECT_STREQ(note, "check the flange");
        EXPECT_NE(d.title().find('*'), std::string::npos);

        // The menu bar's Note shows it again; Cancel changes nothing.
        agent.onDialog(ZnDlgCellNote::kTemplateId, [](DialogDriver& again) {
            EXPECT_EQ(again.text(ZnDlgCellNote::kNoteEdit), "check the flange");
            again.setText(ZnDlgCellNote::kNoteEdit, "dropped");
            again.cancel();
        });
        d.menuCommand(E::kNote);
        SSGetCellNote(grid, col, row, note, sizeof note);
        EXPECT_STREQ(note, "check the flange");

        // A long note whose "ä" straddles the end of the first read buffer is shown whole, and
        // what is shown is what an OK writes back.
        const std::string longNote = std::string(4094, 'n') + "\xC3\xA4 end";
        SSSetCellNote(grid, col, row, longNote.c_str());
        agent.onDialog(ZnDlgCellNote::kTemplateId, [&](DialogDriver& again) {
            EXPECT_EQ(again.text(ZnDlgCellNote::kNoteEdit), longNote);
            again.ok();
        });
        d.menuCommand(E::kNote);
        std::string back(8192, '\0');
        back.resize(static_cast<std::size_t>(SSGetCellNote(grid, col, row, back.data(), 8192)));
        EXPECT_EQ(back, longNote);
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorTest, FontAndBordersReachTheSelectedCells)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        SSSetSelectBlock(grid, 1, 1, 2, 2);
        agent.onDialog(ZnDlgCellFont::kTemplateId, [](DialogDriver& font) {
            const auto faces = font.items(ZnDlgCellFont::kFaceCombo);
            ASSERT_FALSE(faces.empty());
            EXPECT_EQ(faces[0], "Tahoma") << "the sheet's default font first";
            font.pick(ZnDlgCellFont::kFaceCombo, "Courier New");
            font.setText(ZnDlgCellFont::kHeightEdit, "0");
            font.ok();  // refused: the height is out of range
            EXPECT_TRUE(font.isOpen());
            font.setText(ZnDlgCellFont::kHeightEdit, "16");
            font.setCheck(ZnDlgCellFont::kBoldCheck, BST_CHECKED);
            font.ok();
        });
        agent.answerMessageBox(IDOK, "from 1 to 400");
        d.menuCommand(E::kFont);
        LOGFONT f;
        ASSERT_TRUE(SSGetFont(grid, 2, 2, &f));
        EXPECT_EQ(f.lfFaceName, "Courier New");
        EXPECT_EQ(f.lfHeight, 16);
        EXPECT_EQ(f.lfWeight, FW_BOLD);
        ASSERT_TRUE(SSGetFont(grid, 3, 1, &f));
        EXPECT_NE(f.lfFaceName, "Courier New") << "outside the selection";

        agent.onDialog(ZnDlgCellBorders::kTemplateId, [](DialogDriver& borders) {
            borders.click(ZnDlgCellBorders::kAllRadio);
            borders.pick(ZnDlgCellBorders::kLineCombo, 1);
            borders.ok();
        });
        d.menuCommand(E::kBorders);
        WORD style = 0;
        COLORREF colour = 0;
        ASSERT_TRUE(SSGetBorder(grid, 1, 1, SS_BORDERTYPE_RIGHT, &style, &colour));
        EXPECT_EQ(style, SS_BORDERSTYLE_FINE);

        // The outline leaves the inner edges bare.
        agent.onDialog(ZnDlgCellBorders::kTemplateId, [](DialogDriver& borders) {
            borders.click(ZnDlgCellBorders::kOutlineRadio);
            borders.ok();
        });
        d.menuCommand(E::kBorders);
        ASSERT_TRUE(SSGetBorder(grid, 1, 1, SS_BORDERTYPE_RIGHT, &style, &colour));
        EXPECT_EQ(style, SS_BORDERSTYLE_NONE);
        ASSERT_TRUE(SSGetBorder(grid, 1, 1, SS_BORDERTYPE_LEFT, &style, &colour));
        EXPECT_EQ(style, SS_BORDERSTYLE_SOLID);
        ASSERT_TRUE(SSGetBorder(grid, 2, 2, SS_BORDERTYPE_BOTTOM, &style, &colour));
        EXPECT_EQ(style, SS_BORDERSTYLE_SOLID);
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorTest, ACellTypeThatWouldClearCellsAsksAndNoPutsThemBack)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        SSSetSelectBlock(grid, 2, 1, 3, 1);  // "HEA 200" and "12"
        auto chooseNumber = [](DialogDriver& type) {
            type.click(ZnDlgCellType::kFirstKindRadio + 1);
            EXPECT_TRUE(type.isEnabled(ZnDlgCellType::kDecimalsEdit));
            EXPECT_FALSE(type.isEnabled(ZnDlgCellType::kItemsEdit));
            type.setText(ZnDlgCellType::kDecimalsEdit, "3");
            type.ok();
        };
        agent.onDialog(ZnDlgCellType::kTemplateId, chooseNumber);
        agent.answerMessageBox(IDNO, "1 cell(s) of the selection cannot hold their contents");
        d.menuCommand(E::kCellType);
        EXPECT_EQ(data(grid, 2, 1), "HEA 200") << "No keeps the text";
        EXPECT_EQ(SSGetCellType(grid, 2, 1), SS_TYPE_EDIT) << "and the cell's type";
        EXPECT_EQ(SSGetCellType(grid, 3, 1), SS_TYPE_NUMBER) << "the number cell took the type";
        EXPECT_EQ(data(grid, 3, 1), "12.000");

        agent.onDialog(ZnDlgCellType::kTemplateId, chooseNumber);
        agent.answerMessageBox(IDYES, "1 cell(s)");
        d.menuCommand(E::kCellType);
        EXPECT_EQ(SSGetCellType(grid, 2, 1), SS_TYPE_NUMBER);
        EXPECT_EQ(data(grid, 2, 1), "");

        // A drop-down list needs items; a check box; both reach the grid.
        SSSetSelectBlock(grid, 1, 3, 1, 4);
        agent.onDialog(ZnDlgCellType::kTemplateId, [](DialogDriver& type) {
            type.click(ZnDlgCellType::kFirstKindRadio + 3);
            type.ok();  // refused: no items
            EXPECT_TRUE(type.isOpen());
            type.setText(ZnDlgCellType::kItemsEdit, "S235\r\n\r\nS355");
            type.ok();
        });
        agent.answerMessageBox(IDOK, "at least one item");
        d.menuCommand(E::kCellType);
        SS_CELLTYPE record;
        ASSERT_TRUE(SSGetCellTypeRecord(grid, 1, 4, &record));
        EXPECT_EQ(record.type, SS_TYPE_COMBOBOX);
        EXPECT_EQ(record.items, "S235\tS355");

        SSSetSelectBlock(grid, 3, 3, 3, 3);
        agent.onDialog(ZnDlgCellType::kTemplateId, [](DialogDriver& type) {
            type.click(ZnDlgCellType::kFirstKindRadio + 2);
            type.ok();
        });
        d.menuCommand(E::kCellType);
        EXPECT_EQ(SSGetCellType(grid, 3, 3), SS_TYPE_CHECKBOX);

        // Back to text: a text longer than a prepared sheet's 100 characters is not cut.
        const std::string longText(150, 'x');
        SSSetData(grid, 2, 4, longText.c_str());
        SSSetSelectBlock(grid, 2, 4, 2, 4);
        agent.onDialog(ZnDlgCellType::kTemplateId, [](DialogDriver& type) {
            type.click(ZnDlgCellType::kFirstKindRadio);
            type.ok();
        });
        d.menuCommand(E::kCellType);
        EXPECT_EQ(SSGetCellType(grid, 2, 4), SS_TYPE_EDIT);
        EXPECT_EQ(data(grid, 2, 4), longText);
        agent.answerMessageBox(IDNO);
        d.closeBox();
    }));
}

TEST_F(SheetEditorTest, OptionsRoundTripThroughTheCornerTagAndTheFile)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        agent.onDialog(ZnDlgSheetOptions::kTemplateId, [](DialogDriver& o) {
            EXPECT_EQ(o.title(), "SpreadSheet Options");
            EXPECT_EQ(o.text(ZnDlgSheetOptions::kFirstMarginEdit), "9") << "the defaults of a sheet without settings";
            o.setText(ZnDlgSheetOptions::kFontCombo, "Arial");
            o.setText(ZnDlgSheetOptions::kHeightEdit, "15");
            o.setText(ZnDlgSheetOptions::kHeaderEdit, "kop.txt");
            o.setText(ZnDlgSheetOptions::kFirstMarginEdit + 2, "12");
            o.setCheck(ZnDlgSheetOptions::kFirstSwitchCheck + 1, BST_UNCHECKED);
            o.setText(ZnDlgSheetOptions::kFirstMarginEdit + 3, "-1");
            o.ok();  // refused: a negative margin
            EXPECT_TRUE(o.isOpen());
            o.setText(ZnDlgSheetOptions::kFirstMarginEdit + 3, "7");
            o.ok();
        });
        agent.answerMessageBox(IDOK, "A margin");
        d.menuCommand(E::kOptions);
        SheetSettings settings;
        settings.readFromSheet(grid);
        EXPECT_EQ(settings.defaultFont, Kx_String("Arial"));
        EXPECT_EQ(settings.defaultTextHeight, 15);
        EXPECT_EQ(settings.headerFile, Kx_String("kop.txt"));
        EXPECT_EQ(settings.marginTop, 12);
        EXPECT_EQ(settings.marginBottom, 7);
        EXPECT_FALSE(settings.colors);
        EXPECT_TRUE(settings.border);
        LOGFONT f;
        ASSERT_TRUE(SSGetFont(grid, 1, 1, &f));
        EXPECT_EQ(f.lfFaceName, "Arial") << "the fonts follow the new default";
        d.menuCommand(E::kSave);
        d.closeBox();
    }));
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        agent.onDialog(ZnDlgSheetOptions::kTemplateId, [](DialogDriver& o) {
            EXPECT_EQ(o.text(ZnDlgSheetOptions::kFontCombo), "Arial");
            EXPECT_EQ(o.text(ZnDlgSheetOptions::kHeightEdit), "15");
            EXPECT_EQ(o.text(ZnDlgSheetOptions::kFirstMarginEdit + 2), "12");
            EXPECT_EQ(o.checkState(ZnDlgSheetOptions::kFirstSwitchCheck + 1), BST_UNCHECKED);
            o.cancel();
        });
        d.menuCommand(E::kOptions);
        EXPECT_EQ(d.title(), "bom.kxs - Spreadsheet Editor") << "Cancel changes nothing";

        // The record separates its fields with "¤": a name holding one is refused, and the sheet
        // keeps the settings it had.
        char before[4096] = {};
        SSGetCellTag(grid, 0, 0, before, sizeof before);
        agent.onDialog(ZnDlgSheetOptions::kTemplateId, [](DialogDriver& o) {
            o.setText(ZnDlgSheetOptions::kFooterEdit, "voet\xC2\xA4tekst.txt");
            o.ok();
        });
        agent.answerMessageBox(IDOK, "could not be stored in the sheet");
        d.menuCommand(E::kOptions);
        char after[4096] = {};
        SSGetCellTag(grid, 0, 0, after, sizeof after);
        EXPECT_STREQ(after, before);
        EXPECT_EQ(d.title(), "bom.kxs - Spreadsheet Editor");
        d.closeBox();
    }));
}

TEST_F(SheetEditorTest, ChangeLanguageSwitchesTheTextsAndIsRemembered)
{
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        agent.onDialog(ZnDlgEditorLanguage::kTemplateId, [](DialogDriver& l) {
            EXPECT_EQ(l.checkState(ZnDlgEditorLanguage::kEnglishRadio), BST_CHECKED);
            l.click(ZnDlgEditorLanguage::kDutchRadio);
            l.ok();
        });
        d.menuCommand(E::kLanguage);
        EXPECT_EQ(MacroLangs::GetCurLanguageIndex(), MacroLangs::Dutch);
        EXPECT_EQ(d.title(), "bom.kxs - Spreadsheet-editor");
        d.closeBox();
    }));
    EditorRegistrySettings registry;
    registry.read();
    EXPECT_EQ(registry.Language, Kx_String("NL"));
}

TEST_F(SheetEditorTest, ATextTableOpensAsASheetAndIsNeverOverwritten)
{
    // A section table of the library: a title line, then tab-separated rows.
    const std::string table = folder.file("IPE.tsv");
    const std::string text = "name\th_mm\tb_mm\nIPE 80\t80\t46\nIPE 100\t100\t55\t\nIPE 120\t120\n\n";
    std::ofstream(table, std::ios::binary) << text;
    EXPECT_TRUE(run(bom, [&](DialogDriver& d) {
        agent.chooseFile(table);
        d.menuCommand(E::kOpen);
        EXPECT_EQ(d.title(), "IPE.tsv - Spreadsheet Editor");
        EXPECT_EQ(SSGetMaxRows(grid), 3) << "the trailing blank line is no row";
        EXPECT_EQ(SSGetMaxCols(grid), 4) << "as wide as the widest line";
        EXPECT_EQ(data(grid, 2, 0), "h_mm");
        EXPECT_EQ(data(grid, 1, 2), "IPE 100");
        EXPECT_EQ(data(grid, 2, 3), "120");
        EXPECT_EQ(data(grid, 3, 3), "");
        // Saving asks for a sheet beside the table, named after it; the table stays as it was.
        typeInto(d, grid, 3, 3, "64");
        const std::string sheet = folder.file("IPE.kxs");
        agent.onFileDialog([&](const FileDialogRequest& request) -> std::optional<std::string> {
            EXPECT_EQ(request.fileName, "IPE.kxs");
            return sheet;
        });
        d.clickToolbarButton(E::kSave);
        EXPECT_EQ(d.title(), "IPE.kxs - Spreadsheet Editor");
        EXPECT_EQ(fileBytes(table), text);
        d.closeBox();
    }));
    EXPECT_TRUE(run(folder.file("IPE.kxs"), [&](DialogDriver& d) {
        EXPECT_EQ(data(grid, 3, 3), "64");
        EXPECT_EQ(data(grid, 1, 0), "name");
        d.closeBox();
    }));
    // A table that cannot be read is refused with the reader's reason; the editor does not open.
    const std::string wide = folder.file("wide.txt");
    std::ofstream(wide, std::ios::binary) << std::string(2 * 1024 * 1024, 'x');
    agent.answerMessageBox(IDOK, "could not be opened");
    EXPECT_FALSE(StartSheetEditor(Kx_String(wide)));
}
