// The core's small shared dialogs driven as a person would: the prompt dialog, the information
// dialog and the open and save file dialog.
#include "core/FileDialog.h"
#include "core/InfoDialog.h"
#include "core/PromptDialog.h"

#include "core/TextTables.h"
#include "core/tests/DialogTestSupport.h"
#include "platform/win/Backend.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

using kxcore::kPromptDialogId;
using kxcore::kPromptLabelId;
using kxcore::kPromptValueId;
using kxwin::DialogDriver;

class SmallDialogs : public kxtest::CoreDialogTest {
protected:
    const std::string start = folder.path().string();
};

std::string answer(const std::optional<Kx_String>& value)
{
    return value ? value->str() : "<cancelled>";
}

// --- Prompt dialog -----------------------------------------------------------------------------

TEST_F(SmallDialogs, PromptShowsNumberedTextsAndReturnsWhatWasTyped)
{
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Width");
        EXPECT_EQ(d.text(kPromptLabelId), "Width of the selected controls in pixels:");
        EXPECT_EQ(d.text(kPromptValueId), "30");
        EXPECT_EQ(d.text(IDOK), "OK");
        EXPECT_EQ(d.text(IDCANCEL), "Cancel");
        // The proposed value has the focus, all selected: typing replaces it.
        EXPECT_EQ(GetFocus(), d.item(kPromptValueId));
        EXPECT_EQ(d.selection(kPromptValueId), (std::pair<int, int>{0, 2}));
        d.type("50").ok();
    });
    const std::optional<Kx_String> value = runPromptDialog(90, 825, "30", 1, 2);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->str(), "50");
    // The caller's resources are current again (the template is not among them).
    EXPECT_EQ(AfxGetResourceHandle(), module);
    EXPECT_EQ(FindDialogTemplate(kPromptDialogId), nullptr);
}

TEST_F(SmallDialogs, PromptTakesTextsLineBreaksAndDecimals)
{
    Kx_String prompt = dialString(1321);
    prompt.append("\n");
    prompt.append(dialString(1322));
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Total length");
        EXPECT_EQ(d.text(kPromptLabelId), "Enter the new dimension.\nThe linked values are adjusted to it.");
        EXPECT_EQ(d.text(kPromptValueId), "1250.12500");
        EXPECT_EQ(d.text(IDOK), "Apply");
        d.setText(kPromptValueId, "1300.5").pressKey(VK_RETURN);
    });
    EXPECT_EQ(answer(runPromptDialog("Total length", prompt, Kx_String(1250.125, 5), "Apply", 2)), "1300.5");

    // An empty title or button text keeps the template's.
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Value");
        EXPECT_EQ(d.text(IDOK), "OK");
        EXPECT_EQ(d.text(kPromptValueId), "");
        d.ok();
    });
    const std::optional<Kx_String> empty = runPromptDialog("", "Name:", "", "", "");
    ASSERT_TRUE(empty.has_value());  // OK with an empty edit is an answer, not a cancel
    EXPECT_TRUE(empty->isEmpty());
}

TEST_F(SmallDialogs, PromptCancelledInAnyWayGivesNothing)
{
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) { d.type("typed").cancel(); });
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) { d.type("typed").escape(); });
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) { d.type("typed").closeBox(); });
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(runPromptDialog(877, 878, "Base plate").has_value()) << i;
    EXPECT_EQ(AfxGetResourceHandle(), module);
}

TEST_F(SmallDialogs, PromptWithAnOwnerThatIsGoneStillRuns)
{
    CDialog owner(0);
    kxwin::addDialogTemplate(module, kxtest::dialogTemplate(8501, 300, 200, {}));
    ASSERT_TRUE(owner.Create(8501));
    const HWND gone = owner.m_hWnd;
    owner.DestroyWindow();
    agent.onDialog(kPromptDialogId, [](DialogDriver& d) { d.ok(); });
    EXPECT_EQ(answer(runPromptDialog(87, 855, 171, 1, 2, gone)), dialString(171).str());
}

// --- Information dialog ------------------------------------------------------------------------

TEST_F(SmallDialogs, InfoShowsItsLinesReadOnly)
{
    DlgInfoData data;
    data.title = dialString(652);
    data.header = "Sets: 2";
    data.lines.append(Kx_String(std::string(116, '-')));
    data.lines.append("Stock1.shp of set \"Hall A\" was read.");
    data.lines.append("Größe ÿ ¿");
    agent.onDialog(kxcore::kInfoDialogId, [](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Cutting stock status");
        EXPECT_EQ(d.text(kxcore::kInfoHeaderId), "Sets: 2");
        const std::string shown = std::string(116, '-') + "\r\nStock1.shp of set \"Hall A\" was read.\r\nGröße ÿ ¿";
        EXPECT_EQ(d.text(kxcore::kInfoLinesId), shown);
        EXPECT_EQ(d.text(IDOK), "Close");
        // Read-only: what the user types changes nothing.
        d.focus(kxcore::kInfoLinesId).type("x").pressKey(VK_DELETE);
        EXPECT_EQ(d.text(kxcore::kInfoLinesId), shown);
        d.ok();
    });
    EXPECT_TRUE(ExportStartDlgInfo(data));
    EXPECT_EQ(data.lines.length(), 3);
    EXPECT_EQ(AfxGetResourceHandle(), module);
}

TEST_F(SmallDialogs, InfoShowsALongReportWhole)
{
    DlgInfoData data;
    data.closeText = dialString(285);
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        const std::string line = "line " + std::to_string(i) + " " + std::string(100, 'x');
        data.lines.append(Kx_String(line));
        expected += (i ? "\r\n" : "") + line;
    }
    agent.onDialog(kxcore::kInfoDialogId, [&](DialogDriver& d) {
        EXPECT_EQ(d.title(), "Information");
        EXPECT_EQ(d.text(kxcore::kInfoLinesId), expected);
        d.pressKey(VK_RETURN);
    });
    EXPECT_TRUE(ExportStartDlgInfo(data));
}

TEST_F(SmallDialogs, InfoKeepsTheSizeTheUserGaveIt)
{
    DlgInfoData data;
    data.lines.append("one");
    RECT linesBefore{};
    agent.onDialog(kxcore::kInfoDialogId, [&](DialogDriver& d) {
        linesBefore = GetWindowRectInParent(d.item(kxcore::kInfoLinesId));
        const RECT r = kxtest::screenRect(d.dialog());
        MoveWindow(d.dialog(), r.left, r.top, r.width() + 200, r.height() + 100);
        // The lines follow the dialog's edges, the button stays at the bottom right.
        const RECT lines = GetWindowRectInParent(d.item(kxcore::kInfoLinesId));
        EXPECT_EQ(lines.width(), linesBefore.width() + 200);
        EXPECT_EQ(lines.height(), linesBefore.height() + 100);
        d.ok();
    });
    agent.onDialog(kxcore::kInfoDialogId, [&](DialogDriver& d) {
        const RECT lines = GetWindowRectInParent(d.item(kxcore::kInfoLinesId));
        EXPECT_EQ(lines.width(), linesBefore.width() + 200);
        EXPECT_EQ(lines.height(), linesBefore.height() + 100);
        d.ok();
    });
    EXPECT_TRUE(ExportStartDlgInfo(data));
    EXPECT_TRUE(ExportStartDlgInfo(data));
}

// --- File dialog -------------------------------------------------------------------------------

TEST_F(SmallDialogs, FileDialogAddsTheDefaultExtensionAndPassesTheRequestOn)
{
    FileDialogRequest seen;
    agent.onFileDialog([&](const FileDialogRequest& r) {
        seen = r;
        return std::optional<std::string>(folder.file("plan"));
    });
    const Kx_String path = runFileDialog(/*open=*/false, "Layouts (*.txt)", "txt", dialString(842), start);
    EXPECT_EQ(path.str(), folder.file("plan.txt"));
    EXPECT_FALSE(seen.open);
    EXPECT_EQ(seen.filter, "Layouts (*.txt)|*.txt||");
    EXPECT_EQ(seen.defaultExtension, "txt");
    EXPECT_EQ(seen.title, "Save");
    EXPECT_EQ(seen.folder, start);

    struct Case {
        const char* filter;
        const char* ext;
        const char* chosen;
        const char* expectedFilter;
        const char* expectedName;
    };
    for (const Case& c : {
             Case{"Stock lists", ".shp", "Stock1", "Stock lists|*.shp||", "Stock1.shp"},
             Case{"Pictures (*.bmp;*.png)", "*.bmp", "plan.v2", "Pictures (*.bmp;*.png)|*.bmp;*.png||", "plan.v2"},
             Case{"Layouts (*.txt)|*.txt|All (*.*)|*.*||", "txt", "a.b/plan", "Layouts (*.txt)|*.txt|All (*.*)|*.*||",
                  "a.b/plan.txt"},
             Case{"", "", "plain", "*.*|*.*||", "plain"},
         }) {
        SCOPED_TRACE(c.filter);
        agent.onFileDialog([&](const FileDialogRequest& r) {
            seen = r;
            return std::optional<std::string>(folder.file(c.chosen));
        });
        EXPECT_EQ(runFileDialog(false, c.filter, c.ext, "Save", start).str(), folder.file(c.expectedName));
        EXPECT_EQ(seen.filter, c.expectedFilter);
    }
}

TEST_F(SmallDialogs, SavingOverAnExistingFileNeedsAYes)
{
    kxtest::writeBytes(folder.file("plan.txt"), "old");
    agent.chooseFile(folder.file("plan")).answerMessageBox(IDYES, "Replace it?");
    EXPECT_EQ(runFileDialog(false, "Layouts (*.txt)", "txt", "Save", start).str(),
              folder.file("plan.txt"));
    ASSERT_EQ(agent.messageBoxes().size(), 1u);
    const MessageBoxRequest& box = agent.messageBoxes()[0];
    EXPECT_EQ(box.caption, "File exists");
    EXPECT_NE(box.text.find("\"" + folder.file("plan.txt") + "\""), std::string::npos);
    EXPECT_EQ(box.type & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(box.type & MB_DEFBUTTON2, MB_DEFBUTTON2);
}

TEST_F(SmallDialogs, AnsweringNoOpensTheFileDialogAgain)
{
    kxtest::writeBytes(folder.file("plan.txt"), "old");
    FileDialogRequest again;
    agent.chooseFile(folder.file("plan")).answerMessageBox(IDNO).onFileDialog([&](const FileDialogRequest& r) {
        again = r;
        return std::optional<std::string>(folder.file("plan2"));
    });
    EXPECT_EQ(runFileDialog(false, "Layouts (*.txt)", "txt", "Save", start).str(),
              folder.file("plan2.txt"));
    // The dialog came back at the name that was refused.
    EXPECT_EQ(again.fileName, "plan.txt");
    EXPECT_EQ(again.folder, folder.path().string() + "/");

    agent.chooseFile(folder.file("plan.txt")).answerMessageBox(IDNO).cancelFileDialog();
    EXPECT_TRUE(runFileDialog(false, "Layouts (*.txt)", "txt", "Save", start).isEmpty());
    EXPECT_EQ(kxtest::readBytes(folder.file("plan.txt")), "old");
}

TEST_F(SmallDialogs, OpeningFindsTheFileWithOrWithoutItsExtension)
{
    kxtest::writeBytes(folder.file("readme"), "x");
    kxtest::writeBytes(folder.file("frame.txt"), "x");
    FileDialogRequest seen;
    agent.onFileDialog([&](const FileDialogRequest& r) {
        seen = r;
        return std::optional<std::string>(folder.file("readme"));
    });
    EXPECT_EQ(runFileDialog(true, "Layouts (*.txt)", "txt", "Open", start).str(), folder.file("readme"));
    EXPECT_TRUE(seen.open);
    EXPECT_TRUE(seen.mustExist);
    agent.chooseFile(folder.file("frame"));
    EXPECT_EQ(runFileDialog(true, "Layouts (*.txt)", "txt", "Open", start).str(),
              folder.file("frame.txt"));
    EXPECT_TRUE(agent.messageBoxes().empty());
}

TEST_F(SmallDialogs, OpeningAMissingFileWarnsAndAsksAgain)
{
    kxtest::writeBytes(folder.file("frame.txt"), "x");
    agent.chooseFile(folder.file("missing")).answerMessageBox(IDOK, "missing.txt").chooseFile(folder.file("frame.txt"));
    EXPECT_EQ(runFileDialog(true, "Layouts (*.txt)", "txt", "Open", start).str(),
              folder.file("frame.txt"));

    // The warning is a numbered text, so it reads in the user's language.
    agent.chooseFile(folder.file("missing")).answerMessageBox(IDOK, "The file was not found.").cancelFileDialog();
    EXPECT_TRUE(runFileDialog(true, "Layouts (*.txt)", "txt", "Open", start).isEmpty());
    agent.cancelFileDialog();
    EXPECT_TRUE(runFileDialog(false, "Layouts (*.txt)", "txt", "Save", start).isEmpty());
}

// A backend that gives the same missing file every time, without a person behind it.
class StubbornBackend : public KxBackend {
public:
    explicit StubbornBackend(int& asked) : m_asked(asked) {}
    void runModalLoop(CDialog& dialog) override { dialog.EndDialog(IDCANCEL); }
    int messageBox(const MessageBoxRequest&) override { return IDOK; }
    UINT trackPopupMenu(const PopupMenuRequest&) override { return 0; }
    std::optional<std::string> fileDialog(const FileDialogRequest&) override
    {
        ++m_asked;
        return std::string("/nonexistent-kx-folder/missing.txt");
    }
    std::string clipboardText() override { return {}; }
    void setClipboardText(const std::string&) override {}
    DWORD now() override { return 0; }

private:
    int& m_asked;
};

TEST_F(SmallDialogs, ABackendThatKeepsRefusingCannotHoldTheModule)
{
    int asked = 0;
    kxwin::setBackend(std::make_unique<StubbornBackend>(asked));
    const Kx_String path = runFileDialog(true, "Layouts (*.txt)", "txt", "Open", "/");
    kxwin::setBackend(nullptr);
    EXPECT_TRUE(path.isEmpty());
    EXPECT_GT(asked, 1);
}

} // namespace
