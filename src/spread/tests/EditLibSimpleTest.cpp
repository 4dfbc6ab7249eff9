// The simple library editor as its launcher runs it, driven by the scripted user, on the sample
// library's HEA and SHS tables.
#include "spread/ProfLaunchers.h"
#include "spread/ZnDlgEditLibSimple.h"
#include "spread/tests/SpreadTestSupport.h"

#include "core/MacroLangs.h"
#include "core/TextTables.h"
#include "platform/win/UserAgent.h"

namespace {

using D = ZnDlgEditLibSimple;

class EditLibSimple : public kxtest::SpreadTest {
protected:
    void SetUp() override
    {
        SpreadTest::SetUp();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        ASSERT_TRUE(hea.readFromFile("HEA.pr"));
        ASSERT_TRUE(hea.findSysName("200", heaSelected));
        ASSERT_TRUE(shs.readFromFile("SHS.pr"));
    }
    Kx_ProfValuesTable hea;
    int heaSelected = -1;
    Kx_ProfValuesTable shs;
};

TEST_F(EditLibSimple, OpensOnTheSelectedEntryWithTheTypesLabels)
{
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Library entry");
        EXPECT_EQ(d.text(D::kNameLabel), "Name:");
        EXPECT_EQ(d.checkState(D::kAutoName), BST_CHECKED);
        EXPECT_FALSE(d.isEnabled(D::kName));
        // I sections name their entries after the depth: HE 200 A is 190 deep.
        EXPECT_EQ(d.text(D::kName), "190");
        EXPECT_EQ(d.text(D::labelId(0)), "Depth h (mm):");
        EXPECT_EQ(d.text(D::valueId(1)), "200");
        EXPECT_EQ(d.text(D::valueId(7)), "3692");
        d.click(D::kTypedName);
        EXPECT_TRUE(d.isEnabled(D::kName));
        d.cancel();
    });
    Kx_ProfValuesTable table = hea;
    int selected = heaSelected;
    EXPECT_FALSE(StartDlgEditLibSimple("1", table, selected));
    EXPECT_EQ(table.rows, hea.rows);
    EXPECT_EQ(selected, heaSelected);
}

TEST_F(EditLibSimple, OkAddsOneSortedEntryWithTheShownValuesAndKeepsTheOthers)
{
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [](kxwin::DialogDriver& d) {
        d.setText(D::valueId(0), "195");
        EXPECT_EQ(d.text(D::kName), "195");
        d.ok();
    });
    Kx_ProfValuesTable table = hea;
    int selected = heaSelected;
    ASSERT_TRUE(StartDlgEditLibSimple("1", table, selected));
    ASSERT_EQ(table.rows.length(), hea.rows.length() + 1);
    // "195" sorts between 180 and 200.
    EXPECT_EQ(selected, heaSelected);
    const Kx_StringArray& added = table.rows[selected];
    EXPECT_EQ(added[0], Kx_String("195"));
    EXPECT_EQ(added[1], Kx_String("1"));
    EXPECT_EQ(added[3], Kx_String("195"));
    EXPECT_EQ(added[5], Kx_String("195"));
    EXPECT_EQ(added[6], Kx_String("200"));
    // Wel,y is not one of the eight fields: it keeps the copied entry's value.
    EXPECT_EQ(added[13], hea.rows[heaSelected][13]);
    EXPECT_EQ(table.rows[selected + 1], hea.rows[heaSelected]);
}

TEST_F(EditLibSimple, AnEmptyOrUsedNameIsRefusedAndTheEntryInsertedOnce)
{
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.click(D::kTypedName);
        d.setText(D::kName, "  ");
        agent.answerMessageBox(IDOK, "The entry needs a name.");
        d.ok();
        EXPECT_TRUE(d.isOpen());
        // The name as it stands when the dialog opens is the copied entry's: in use.
        d.setText(D::kName, "200");
        agent.answerMessageBox(IDOK, "already used by another entry: \"200\"");
        d.ok();
        EXPECT_TRUE(d.isOpen());
        d.setText(D::kName, "200 special");
        d.ok();
    });
    Kx_ProfValuesTable table = hea;
    int selected = heaSelected;
    ASSERT_TRUE(StartDlgEditLibSimple("1", table, selected));
    EXPECT_EQ(table.rows.length(), hea.rows.length() + 1);
    EXPECT_EQ(table.rows[selected][0], Kx_String("200 special"));
    // Typed names get no language prefix.
    EXPECT_EQ(table.rows[selected][2], Kx_String("200 special"));
    EXPECT_EQ(table.rows[selected - 1][0], Kx_String("200"));
    EXPECT_EQ(agent.messageBoxes().size(), 2u);
}

TEST_F(EditLibSimple, ATubeWhoseRadiusCannotBeDrawnIsRefusedUntilCorrected)
{
    int selected = -1;
    ASSERT_TRUE(shs.findSysName("100x100x8", selected));
    kxwin::UserAgent agent;
    agent.onDialog(D::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(D::kName), "100x100x8");
        d.setText(D::valueId(3), "10");
        d.setText(D::valueId(4), "5");
        agent.answerMessageBox(IDOK, "The radius must be 0 or greater than the wall thickness.");
        d.ok();
        EXPECT_TRUE(d.isOpen());
        d.setText(D::valueId(4), "15");
        d.ok();
    });
    Kx_ProfValuesTable table = shs;
    ASSERT_TRUE(StartDlgEditLibSimple("10", table, selected));
    EXPECT_EQ(table.rows.length(), shs.rows.length() + 1);
    const Kx_StringArray& added = table.rows[selected];
    EXPECT_EQ(added[0], Kx_String("100x100x10"));
    EXPECT_EQ(added[3], Kx_String("RHS 100x100x10"));
    EXPECT_EQ(added[9], Kx_String("15"));
    // A square form goes directly after the square form before it.
    EXPECT_EQ(table.rows[selected - 1][0], Kx_String("100x100x8"));
    ASSERT_EQ(agent.messageBoxes().size(), 1u);
    EXPECT_EQ(agent.messageBoxes()[0].caption, "Invalid input");
}

} // namespace
