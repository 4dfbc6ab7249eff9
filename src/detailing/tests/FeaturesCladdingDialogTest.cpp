// The profile features and cladding settings dialogs as their launchers run them: which fields they
// show, the switch of the features dialog, the cladding's enabling rule, and that the profile read
// back is always a profile name from the list's names, never a display text or the choice entry.
#include "detailing/DetailingLaunchers.h"
#include "detailing/ZnDlgCladding.h"
#include "detailing/ZnDlgProfFeatures.h"

#include "DetailingTestSupport.h"
#include "core/TextTables.h"

#include <string>
#include <vector>

using F = ZnDlgProfFeatures;
using C = ZnDlgCladding;

namespace {

class DetailingDialog : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        kxtest::writeBytes(libFile("prof/HEA.pr"),
                           "1\nSysName\tActive\tDutch\tEnglish\tFrench\th_mm\n"
                           "100\t1\tHE 100 A\tHE 100 A\tHE 100 A\t96\n"
                           "200\t1\tHE 200 A\tHE 200 A\tHE 200 A\t190\n");
        features = kxcore::sampleProfFeaturesData();
    }
    kxwin::UserAgent agent;
    DlgProfFeaturesData features;
};

const std::vector<std::string> kChoices{"Front", "Back", "Both sides"};

TEST_F(DetailingDialog, FeaturesShowEveryLabelledFieldAndReadThemBackWithTheProfileName)
{
    agent.onDialog(F::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Stiffener");
        EXPECT_EQ(d.text(F::kProfileLabel), dialString(1003).str());
        EXPECT_EQ(d.text(F::kSelectProfile), dialString(969).str());
        EXPECT_EQ(d.items(F::kProfile), (std::vector<std::string>{"HE 100 A", "HE 200 A", dialString(695).str()}));
        EXPECT_EQ(d.selectedIndex(F::kProfile), 1);
        EXPECT_EQ(d.text(F::kLabel1), "Position");
        EXPECT_EQ(d.items(F::kValue1), kChoices);
        EXPECT_EQ(d.selectedIndex(F::kValue1), 2);
        EXPECT_EQ(d.text(F::kValue2), "10");
        EXPECT_EQ(d.text(F::kLabel3), "Distance from the start");
        EXPECT_TRUE(d.isVisible(F::kValue3));
        EXPECT_FALSE(d.isVisible(F::kValue3List));
        EXPECT_EQ(d.text(F::kValue3), "150");
        EXPECT_EQ(d.text(F::kValue4), "5");
        EXPECT_EQ(d.text(F::kSwitch), "Measure from the end");
        EXPECT_EQ(d.checkState(F::kSwitch), BST_UNCHECKED);
        d.pick(F::kProfile, "HE 100 A").pick(F::kValue1, "Back");
        d.setText(F::kValue2, "12").setText(F::kValue3, "175").setText(F::kValue4, "6");
        d.ok();
    });
    ASSERT_TRUE(StartDlgProfFeatures(features));
    EXPECT_EQ(features.profileName, Kx_String("HEA-100"));
    EXPECT_EQ(features.field1Value, Kx_String("Back"));
    EXPECT_EQ(features.field2Value, Kx_String("12"));
    EXPECT_EQ(features.field3Value, Kx_String("175"));
    EXPECT_EQ(features.field3AltValue, Kx_String("250"));
    EXPECT_EQ(features.field4Value, Kx_String("6"));
    EXPECT_FALSE(features.switchOn);
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(DetailingDialog, FeaturesKeepTheProfileWhenTheChoiceEntryIsSelectedAndCancelKeepsAll)
{
    agent.onDialog(F::kTemplateId, [](kxwin::DialogDriver& d) {
        d.pick(F::kProfile, dialString(695).str());
        d.ok();
    });
    agent.onDialog(F::kTemplateId, [](kxwin::DialogDriver& d) {
        d.pick(F::kProfile, 0).setText(F::kValue2, "99");
        d.cancel();
    });
    ASSERT_TRUE(StartDlgProfFeatures(features));
    EXPECT_EQ(features.profileName, Kx_String("HEA-200"));
    const DlgProfFeaturesData before = features;
    EXPECT_FALSE(StartDlgProfFeatures(features));
    EXPECT_EQ(features, before);
}

TEST_F(DetailingDialog, FeaturesHideUnlabelledFieldsAndOfferField3AsAList)
{
    features.field2Label = "";
    features.field4Label = "";
    features.field2Value = "keep 2";
    features.field4Value = "keep 4";
    features.field3IsList = 1;
    features.field3Value = "Front";
    features.field3AltValue = "";
    features.switchLabel = "";
    agent.onDialog(F::kTemplateId, [](kxwin::DialogDriver& d) {
        for (int id : {F::kLabel2, F::kValue2, F::kLabel4, F::kValue4, F::kValue3, F::kSwitch})
            EXPECT_FALSE(d.isVisible(id)) << id;
        for (int id : {F::kProfile, F::kLabel1, F::kValue1, F::kLabel3, F::kValue3List})
            EXPECT_TRUE(d.isVisible(id)) << id;
        EXPECT_EQ(d.items(F::kValue3List), kChoices);
        EXPECT_EQ(d.selectedIndex(F::kValue3List), 0);
        d.pick(F::kValue3List, "Both sides");
        d.ok();
    });
    ASSERT_TRUE(StartDlgProfFeatures(features));
    EXPECT_EQ(features.field3Value, Kx_String("Both sides"));
    EXPECT_EQ(features.field2Value, Kx_String("keep 2"));
    EXPECT_EQ(features.field4Value, Kx_String("keep 4"));
    EXPECT_FALSE(features.switchOn);
}

TEST_F(DetailingDialog, FeaturesSwitchExchangesField3ForItsAlternative)
{
    features.switchOn = true;
    agent.onDialog(F::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.checkState(F::kSwitch), BST_CHECKED);
        EXPECT_EQ(d.text(F::kLabel3), "Distance from the end");
        EXPECT_EQ(d.text(F::kValue3), "250");
        d.setText(F::kValue3, "260");
        d.click(F::kSwitch);
        EXPECT_EQ(d.text(F::kLabel3), "Distance from the start");
        EXPECT_EQ(d.text(F::kValue3), "150");
        d.setText(F::kValue3, "140");
        d.click(F::kSwitch);
        // What was typed before is still there.
        EXPECT_EQ(d.text(F::kValue3), "260");
        d.setText(F::kValue3, "270");
        d.ok();
    });
    ASSERT_TRUE(StartDlgProfFeatures(features));
    EXPECT_TRUE(features.switchOn);
    EXPECT_EQ(features.field3AltValue, Kx_String("270"));
    EXPECT_EQ(features.field3Value, Kx_String("140"));
}

TEST_F(DetailingDialog, FeaturesWithoutAnAlternativeValueWriteField3IntoItWhileTheSwitchIsOn)
{
    features.field3AltValue = "";
    agent.onDialog(F::kTemplateId, [](kxwin::DialogDriver& d) {
        d.click(F::kSwitch);
        EXPECT_EQ(d.text(F::kLabel3), "Distance from the end");
        EXPECT_EQ(d.text(F::kValue3), "150");
        d.setText(F::kValue3, "90");
        d.ok();
    });
    ASSERT_TRUE(StartDlgProfFeatures(features));
    EXPECT_TRUE(features.switchOn);
    EXPECT_EQ(features.field3AltValue, Kx_String("90"));
    EXPECT_EQ(features.field3Value, Kx_String("150"));
}

TEST_F(DetailingDialog, CladdingShowsItsSettingsAndEnablesTheSpacingForFixings3And4Only)
{
    ZnCladdingDlgData data = kxcore::sampleCladdingData();
    data.profileName = "HEA-200";
    agent.onDialog(C::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1708).str());
        EXPECT_EQ(d.text(C::kProfileLabel), dialString(1012).str());
        EXPECT_EQ(d.selectedIndex(C::kProfile), 1);
        EXPECT_EQ(d.items(C::kDirection),
                  (std::vector<std::string>{dialString(1713).str(), dialString(1714).str(), dialString(1715).str()}));
        EXPECT_EQ(d.items(C::kFixing).size(), 5u);
        EXPECT_EQ(d.items(C::kFixing)[4], dialString(1720).str());
        EXPECT_EQ(d.selectedIndex(C::kDirection), 0);
        EXPECT_EQ(d.selectedIndex(C::kFixing), 3);
        EXPECT_EQ(d.text(C::kSpacing), "1200");
        EXPECT_EQ(d.checkState(C::kTurned), BST_CHECKED);
        EXPECT_TRUE(d.isEnabled(C::kSpacing));
        for (int fixing : {0, 1, 2}) {
            d.pick(C::kFixing, fixing);
            EXPECT_FALSE(d.isEnabled(C::kSpacing)) << fixing;
        }
        d.pick(C::kFixing, 4);
        EXPECT_TRUE(d.isEnabled(C::kSpacing));
        d.setText(C::kSpacing, "900").pick(C::kDirection, 2).click(C::kTurned);
        d.pick(C::kProfile, "HE 100 A");
        d.ok();
    });
    ASSERT_TRUE(StartDlgCladdingSettings(data));
    EXPECT_EQ(data.profileName, Kx_String("HEA-100"));
    EXPECT_EQ(data.fixing, 4);
    EXPECT_EQ(data.direction, 2);
    EXPECT_EQ(data.spacing, Kx_String("900"));
    EXPECT_FALSE(data.turned);
    ASSERT_EQ(data.profiles.length(), 3);
    EXPECT_EQ(data.profiles[0], Kx_String("HEA-100"));
    EXPECT_EQ(agent.unusedScripts(), 0);
}

TEST_F(DetailingDialog, CladdingReadsTheProfileNameNeverTheChoiceEntryAndCancelKeepsTheCallersData)
{
    ZnCladdingDlgData data = kxcore::sampleCladdingData();
    data.profileName = "HEA-100";
    data.fixing = 9;  // no such entry: nothing selected, the index stays
    agent.onDialog(C::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.selectedIndex(C::kFixing), -1);
        EXPECT_FALSE(d.isEnabled(C::kSpacing));
        d.pick(C::kProfile, dialString(695).str());
        d.ok();
    });
    agent.onDialog(C::kTemplateId, [](kxwin::DialogDriver& d) {
        d.pick(C::kProfile, "HE 200 A").pick(C::kFixing, 1);
        d.cancel();
    });
    ASSERT_TRUE(StartDlgCladdingSettings(data));
    EXPECT_EQ(data.profileName, Kx_String("HEA-100"));
    EXPECT_EQ(data.fixing, 9);
    const ZnCladdingDlgData before = data;
    EXPECT_FALSE(StartDlgCladdingSettings(data));
    EXPECT_EQ(data, before);
}

} // namespace
