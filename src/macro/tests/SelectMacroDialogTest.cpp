// The select-macro dialog as both StartDlgSelectMacro forms run it, driven by the scripted user: the
// thumbnails and their names, the filter grid, the large state kept between runs, what comes back,
// and the preview pictures drawn only when missing or outdated.
#include "macro/MacroSubLaunchers.h"
#include "macro/ZnDlgSelectMacro.h"
#include "macro/tests/MacroSubDialogTestSupport.h"

#include "core/MacroFile.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using kxtest::MacroSubDialogTest;
using S = ZnDlgSelectMacro;
namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

class SelectMacroDialog : public MacroSubDialogTest {
protected:
    void SetUp() override
    {
        MacroSubDialogTest::SetUp();
        // Two macros without a definition (so no modules: no filter removes them).
        std::ofstream(library / "Macros" / "Haunch.dwg") << "placeholder drawing";
        std::ofstream(library / "Macros" / "Stair 12.dwg") << "placeholder drawing";
    }
    // The library's macros by name, sorted as the library lists them.
    Kx_StringArray macros(std::initializer_list<const char*> names)
    {
        Kx_StringArray out;
        for (const char* n : names)
            out.append((library / "Macros" / n).string());
        return out;
    }
    static RECT rectOf(kxwin::DialogDriver& d, int id) { return GetWindowRectInParent(d.item(id)); }

    kxwin::UserAgent agent;
};

TEST_F(SelectMacroDialog, NamesAreStrippedOfNumbersUnlessThatMakesTwoAlikeAndTheChoiceComesBackAsADrawing)
{
    agent.onDialog(S::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1116).str());
        EXPECT_EQ(d.text(S::kUseFilter), dialString(1118).str());
        EXPECT_EQ(d.checkState(S::kUseFilter), BST_CHECKED);
        EXPECT_EQ(d.tooltip(S::kFilterButton), "Show or hide filter options");
        // The flag came in false: no pick button, and the hint under the list.
        EXPECT_FALSE(d.isEnabled(S::kPickButton));
        EXPECT_TRUE(d.isVisible(S::kHint));
        EXPECT_EQ(d.text(S::kHint), dialString(1312).str() + "\n" + dialString(1313).str());
        // The two end plate connections differ only in their number: every name stays whole.
        EXPECT_EQ(d.items(S::kThumbnails),
                  (Names{"End plate connection", "End plate connection 2", "Haunch", "Stair 12"}));
        d.ok();  // nothing chosen: stays
        EXPECT_TRUE(d.isOpen());
        d.pick(S::kThumbnails, 3).ok();
    });
    Kx_String chosen = "untouched";
    bool flag = false;
    ASSERT_TRUE(StartDlgSelectMacro("", macros({"End plate connection.dwg", "End plate connection 2.dwg", "Haunch.dwg",
                                                "Stair 12.dwg"}),
                                    96, 72, chosen, flag, /*extraText=*/true));
    EXPECT_EQ(chosen, Kx_String((library / "Macros" / "Stair 12.dwg").string()));
    EXPECT_FALSE(flag);

    // One of the pair disabled, and an enabled list shorter than the macros: the macros it does not
    // reach count as enabled. Now the names lose their numbers.
    agent.onDialog(S::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Place a macro");
        EXPECT_EQ(d.items(S::kThumbnails), (Names{"End plate connection", "Haunch", "Stair"}));
        EXPECT_FALSE(d.isVisible(S::kHint));
        d.doubleClickItem(S::kThumbnails, 0);
    });
    AcArray<bool> enabled{true, false};
    ASSERT_TRUE(StartDlgSelectMacro("Place a macro",
                                    macros({"End plate connection.dwg", "End plate connection 2.dwg", "Haunch.dwg",
                                            "Stair 12.dwg"}),
                                    enabled, 96, 72, chosen, flag, /*extraText=*/false));
    EXPECT_EQ(chosen, Kx_String((library / "Macros" / "End plate connection.dwg").string()));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(SelectMacroDialog, ThePickButtonClosesWithTheFlagAndCancelChangesNothing)
{
    agent.onDialog(S::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_TRUE(d.isEnabled(S::kPickButton));
        EXPECT_EQ(d.text(S::kPickButton), dialString(1309).str());
        EXPECT_FALSE(d.isVisible(S::kHint));
        d.click(S::kPickButton);
    });
    Kx_String chosen = "before";
    bool flag = true;
    ASSERT_TRUE(StartDlgSelectMacro("", macros({"Haunch.dwg"}), 96, 72, chosen, flag, true));
    EXPECT_TRUE(flag);

    agent.onDialog(S::kTemplateId, [](kxwin::DialogDriver& d) { d.pick(S::kThumbnails, 0).cancel(); });
    flag = true;
    EXPECT_FALSE(StartDlgSelectMacro("", macros({"Haunch.dwg"}), 96, 72, chosen, flag, true));
    EXPECT_TRUE(flag);
    EXPECT_EQ(chosen, Kx_String());
}

TEST_F(SelectMacroDialog, AClickInTheFilterGridNarrowsTheThumbnailsAndTheLargeStateSurvivesReopening)
{
    RECT listHidden{};
    RECT listShown{};
    agent.onDialog(S::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_FALSE(d.isVisible(S::kGrid));
        listHidden = rectOf(d, S::kThumbnails);
        d.click(S::kFilterButton);
        EXPECT_TRUE(d.isVisible(S::kGrid));
        listShown = rectOf(d, S::kThumbnails);
        EXPECT_EQ(listShown.top, listHidden.top + S::kFilterHeight);
        EXPECT_EQ(listShown.bottom, listHidden.bottom);

        // Rows: one per module in order of appearance; the module's box, its name, then its properties.
        HWND grid = d.item(S::kGrid);
        EXPECT_EQ(kxtest::cellText(grid, 2, 1), "End plate");
        EXPECT_EQ(kxtest::cellText(grid, 4, 1), "bolted");
        EXPECT_EQ(kxtest::cellText(grid, 6, 1), "welded");
        // Switch the end plate off with the keyboard, as a person would.
        d.focus(S::kGrid);
        SSSetActiveCell(grid, 1, 1);
        d.pressKey(VK_SPACE);
        EXPECT_EQ(d.items(S::kThumbnails), (Names{"Haunch", "Stair"}));
        EXPECT_EQ(kxtest::cellText(d.item(S::kGrid), 1, 1), "0") << "the rebuilt grid shows the module off";
        // Without the filter every enabled macro shows again.
        d.click(S::kUseFilter);
        EXPECT_EQ(d.items(S::kThumbnails).size(), 4u);
        d.cancel();
    });
    Kx_String chosen;
    bool flag = false;
    const Kx_StringArray all =
        macros({"End plate connection.dwg", "End plate connection 2.dwg", "Haunch.dwg", "Stair 12.dwg"});
    EXPECT_FALSE(StartDlgSelectMacro("", all, 96, 72, chosen, flag, false));

    // Opened again: large at once, laid out once (not moved a second time), and back when hidden.
    agent.onDialog(S::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_TRUE(d.isVisible(S::kGrid));
        EXPECT_EQ(rectOf(d, S::kThumbnails).top, listShown.top);
        d.click(S::kFilterButton);
        EXPECT_FALSE(d.isVisible(S::kGrid));
        EXPECT_EQ(rectOf(d, S::kThumbnails).top, listHidden.top);
        d.cancel();
    });
    EXPECT_FALSE(StartDlgSelectMacro("", all, 96, 72, chosen, flag, false));
    agent.onDialog(S::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_FALSE(d.isVisible(S::kGrid));
        d.cancel();
    });
    EXPECT_FALSE(StartDlgSelectMacro("", all, 96, 72, chosen, flag, false));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST(PreviewPictures, AreDrawnWhenMissingOrOlderThanTheirDrawingAndKeptOtherwise)
{
    kxtest::TempFolder folder;
    const fs::path drawing = folder.path() / "Knee.dwg";
    const fs::path picture = folder.path() / "Knee.bmp";
    std::ofstream(drawing) << "drawing";
    Kx_StringArray files;
    files.append(drawing.string());
    const Kx_String dir(folder.path().string());
    EXPECT_EQ(CreatePreviewBMPs(40, 30, files, dir), 1);
    ASSERT_TRUE(fs::exists(picture));
    EXPECT_EQ(CreatePreviewBMPs(40, 30, files, dir), 0) << "an up-to-date picture is kept";

    // The drawing changed after its picture was drawn.
    std::ofstream(picture, std::ios::binary | std::ios::trunc) << "stale";
    fs::last_write_time(picture, fs::last_write_time(drawing) - std::chrono::hours(1));
    EXPECT_EQ(CreatePreviewBMPs(40, 30, files, dir), 1);
    EXPECT_GT(fs::file_size(picture), 5u);

    // A picture whose drawing cannot be found is left alone.
    Kx_StringArray gone;
    gone.append("Elsewhere.dwg");
    std::ofstream(folder.path() / "Elsewhere.bmp") << "kept";
    EXPECT_EQ(CreatePreviewBMPs(40, 30, gone, dir), 0);
    EXPECT_EQ(fs::file_size(folder.path() / "Elsewhere.bmp"), 4u);
}

} // namespace
