// The levels dialog as StartDlgLevels runs it: what it shows, what it stores into which level when
// the user switches, adds and deletes levels, and how typed numbers are read.
#include "detailing/DetailingLaunchers.h"
#include "detailing/ZnDlgLevels.h"

#include "DetailingTestSupport.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <clocale>
#include <string>
#include <vector>

using D = ZnDlgLevels;
using Level = ZnLevelsDlgData::Level;

namespace {

class LevelsDialog : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        data = kxcore::sampleLevelsData();
    }
    static bool isReadOnly(kxwin::DialogDriver& d, int id)
    {
        return (static_cast<DWORD>(GetWindowLong(d.item(id), GWL_STYLE)) & ES_READONLY) != 0;
    }
    // Answers the prompt for a new level's name with `name`, checking its texts.
    void answerPrompt(const std::string& name)
    {
        agent.onDialog(kxcore::kPromptDialogId, [name](kxwin::DialogDriver& d) {
            EXPECT_EQ(d.title(), dialString(87).str());
            EXPECT_EQ(d.text(kxcore::kPromptLabelId), dialString(1475).str());
            EXPECT_EQ(d.text(kxcore::kPromptValueId), dialString(171).str());
            d.setText(kxcore::kPromptValueId, name);
            d.ok();
        });
    }
    const Level& level(int i) const { return data.levels()[i]; }

    kxwin::UserAgent agent;
    ZnLevelsDlgData data;
};

TEST_F(LevelsDialog, ShowsTheFirstLevelWithWhatCannotBeStoredReadOnly)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1478).str());
        EXPECT_EQ(d.text(D::kFrame), dialString(760).str());
        EXPECT_EQ(d.text(D::kHeightLabel), dialString(1474).str());
        EXPECT_EQ(d.tooltip(D::kAdd), dialString(131).str());
        EXPECT_EQ(d.tooltip(D::kDelete), dialString(134).str());
        EXPECT_EQ(d.items(D::kLevels),
                  (std::vector<std::string>{"Foundation", "Ground floor", "Mezzanine", "Eaves"}));
        EXPECT_EQ(d.selectedIndex(D::kLevels), 0);
        EXPECT_EQ(d.text(D::kName), "Foundation");
        EXPECT_EQ(d.text(D::kKind), "Foundation");
        EXPECT_EQ(d.text(D::kElevation), "-800.000");
        EXPECT_EQ(d.text(D::kHeight), "800.000");
        EXPECT_TRUE(isReadOnly(d, D::kName));
        EXPECT_TRUE(isReadOnly(d, D::kHeight));
        EXPECT_FALSE(isReadOnly(d, D::kElevation));
        d.cancel();
    });
    const ZnLevelsDlgData before = data;
    EXPECT_FALSE(StartDlgLevels(data));
    EXPECT_EQ(data, before);
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(LevelsDialog, SwitchingLevelsStoresTheShownOneAndOkReturnsEverything)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        d.setText(D::kElevation, "-750,5").pick(D::kKind, "Floor");
        d.pick(D::kLevels, 2);
        EXPECT_EQ(d.text(D::kName), "Mezzanine");
        EXPECT_EQ(d.text(D::kElevation), "3000.000");
        d.setText(D::kElevation, "3100.25");
        d.pick(D::kLevels, 0);
        EXPECT_EQ(d.text(D::kElevation), "-750.500");
        EXPECT_EQ(d.text(D::kKind), "Floor");
        d.pick(D::kLevels, 2);
        d.setText(D::kElevation, "not a number");
        d.ok();
    });
    ASSERT_TRUE(StartDlgLevels(data));
    EXPECT_DOUBLE_EQ(level(0).elevation, -750.5);
    EXPECT_EQ(level(0).kind, Kx_String("Floor"));
    EXPECT_DOUBLE_EQ(level(1).elevation, 0);
    // The text that is no number becomes 0, stored on OK.
    EXPECT_DOUBLE_EQ(level(2).elevation, 0);
    EXPECT_EQ(level(2).name, Kx_String("Mezzanine"));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(LevelsDialog, AfterADeleteTheLevelThatMovesUpKeepsItsOwnValues)
{
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        d.pick(D::kLevels, 1);
        d.setText(D::kElevation, "999").pick(D::kKind, "Roof");
        d.click(D::kDelete);
        EXPECT_EQ(d.items(D::kLevels), (std::vector<std::string>{"Foundation", "Mezzanine", "Eaves"}));
        EXPECT_EQ(d.selectedIndex(D::kLevels), 1);
        EXPECT_EQ(d.text(D::kName), "Mezzanine");
        EXPECT_EQ(d.text(D::kElevation), "3000.000");
        EXPECT_EQ(d.text(D::kKind), "Mezzanine");
        // The last one: the one before it is shown.
        d.pick(D::kLevels, 2).click(D::kDelete);
        EXPECT_EQ(d.selectedIndex(D::kLevels), 1);
        EXPECT_EQ(d.text(D::kName), "Mezzanine");
        d.ok();
    });
    ASSERT_TRUE(StartDlgLevels(data));
    ASSERT_EQ(data.levels().length(), 2);
    EXPECT_EQ(level(1).name, Kx_String("Mezzanine"));
    EXPECT_DOUBLE_EQ(level(1).elevation, 3000);
    EXPECT_EQ(level(1).kind, Kx_String("Mezzanine"));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(LevelsDialog, AddingStoresTheShownLevelFirstAndShowsTheNewOne)
{
    agent.onDialog(D::kTemplateId, [this](kxwin::DialogDriver& d) {
        d.pick(D::kLevels, 3);
        d.setText(D::kElevation, "6000");
        answerPrompt("Ridge");
        d.click(D::kAdd);
        EXPECT_EQ(d.items(D::kLevels).back(), "Ridge");
        EXPECT_EQ(d.selectedIndex(D::kLevels), 4);
        EXPECT_EQ(d.text(D::kName), "Ridge");
        // Above the highest level as stored before the prompt.
        EXPECT_EQ(d.text(D::kElevation), "6000.000");
        // A name in use (case ignored) adds nothing.
        answerPrompt("ridge");
        d.click(D::kAdd);
        EXPECT_EQ(d.items(D::kLevels).size(), 5u);
        d.ok();
    });
    ASSERT_TRUE(StartDlgLevels(data));
    ASSERT_EQ(data.levels().length(), 5);
    EXPECT_DOUBLE_EQ(level(3).elevation, 6000);
    EXPECT_EQ(level(4).name, Kx_String("Ridge"));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(LevelsDialog, NoLevelsMeansNothingSelectedAndTheFieldsDisabledUntilOneIsAdded)
{
    data.setLevels({});
    agent.onDialog(D::kTemplateId, [this](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.selectedIndex(D::kLevels), -1);
        for (int id : {D::kName, D::kKind, D::kElevation, D::kHeight, D::kDelete})
            EXPECT_FALSE(d.isEnabled(id)) << id;
        EXPECT_EQ(d.text(D::kElevation), "");
        answerPrompt("Ground floor");
        d.click(D::kAdd);
        EXPECT_EQ(d.selectedIndex(D::kLevels), 0);
        EXPECT_TRUE(d.isEnabled(D::kElevation));
        EXPECT_EQ(d.text(D::kElevation), "0.000");
        d.setText(D::kElevation, "150");
        d.ok();
    });
    ASSERT_TRUE(StartDlgLevels(data));
    ASSERT_EQ(data.levels().length(), 1);
    EXPECT_DOUBLE_EQ(level(0).elevation, 150);
}

TEST_F(LevelsDialog, NumbersAreShownAndReadTheSameUnderADecimalCommaLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no de_DE.UTF-8 locale";
    Kx_Array<Level> levels;
    levels.append({"Floor 1", "Floor", 1234.5, 2750.25});
    data.setLevels(levels);
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(D::kElevation), "1234.500");
        EXPECT_EQ(d.text(D::kHeight), "2750.250");
        d.setText(D::kElevation, "1300.75");
        d.ok();
    });
    const bool ok = StartDlgLevels(data);
    std::setlocale(LC_ALL, before.c_str());
    ASSERT_TRUE(ok);
    EXPECT_DOUBLE_EQ(level(0).elevation, 1300.75);
}

TEST(LevelsTypedNumber, ReadsTheLeadingNumberAndGivesZeroForAnythingElse)
{
    const std::pair<const char*, double> cases[] = {
        {"12.5", 12.5}, {" -3.25 ", -3.25}, {"+4", 4},   {"2,5", 2.5},  {"1e3", 1000}, {"12abc", 12},
        {"abc", 0},     {"", 0},            {"1e999", 0}, {"nan", 0},   {"1.5,5", 1.5},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(ZnDlgLevels::typedNumber(text), expected) << text;
}

TEST(LevelsData, AddAndDeleteRefuseWhatTheyCannotDo)
{
    ZnLevelsDlgData data = kxcore::sampleLevelsData();
    EXPECT_EQ(data.addLevel("  "), -1);
    EXPECT_EQ(data.addLevel("EAVES"), -1);
    EXPECT_FALSE(data.deleteLevel(4));
    EXPECT_FALSE(data.deleteLevel(-1));
    EXPECT_FALSE(data.updateLevel(0, Kx_String("Basement")));
    EXPECT_FALSE(data.updateLevel(9, 1.0));
    EXPECT_EQ(data.levels().length(), 4);
    EXPECT_EQ(data.addLevel(" Top "), 4);
    EXPECT_EQ(data.levels()[4].name, Kx_String("Top"));
}

} // namespace
