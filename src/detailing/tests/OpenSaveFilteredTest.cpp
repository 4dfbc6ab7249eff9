// The filtered open/save dialog as a person uses it: what the list shows, which names open and which
// are refused, replacing and deleting files.
#include "detailing/ZnDlgOpenSaveFiltered.h"

#include "core/TextTables.h"
#include "detailing/tests/DetailingTestSupport.h"
#include "frame/ModelessDialogs.h"
#include "platform/win/Messages.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Dlg = ZnDlgOpenSaveFiltered;

class OpenSaveFiltered : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        kxss::attachModule();
        std::filesystem::create_directories(lib.path() / "props");
        for (const char* name : {"Heavy.kxp", "Light.kxp", "Other.kxp"})
            kxtest::writeBytes(libFile(std::string("props/") + name), "# KESTRA_SS property list\n");
        // A file beside the folder, that no name of the dialog may reach.
        kxtest::writeBytes(libFile("outside.kxp"), "# KESTRA_SS property list\n");
        data.folder = libFile("props");
        data.extension = ".kxp";
        data.filtered = Kx_StringArray({"Heavy", "Light"});
        data.all = Kx_StringArray({"Heavy", "Light", "Other"});
    }
    // The agent's message boxes so far, as "caption: text".
    std::vector<std::string> boxes() const
    {
        std::vector<std::string> out;
        for (const auto& b : agent.messageBoxes())
            out.push_back(b.caption + ": " + b.text);
        return out;
    }
    ZnOpenSaveFilteredData data;
    kxwin::UserAgent agent;
};

TEST_F(OpenSaveFiltered, TheBoxSwitchesBetweenTheOfferedAndAllNamesAndAPickFillsTheName)
{
    std::vector<std::string> filtered, all;
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1126).str());
        EXPECT_EQ(d.text(IDOK), dialString(841).str());
        filtered = d.items(Dlg::kList);
        d.click(Dlg::kShowAll);
        all = d.items(Dlg::kList);
        d.pick(Dlg::kList, "Other");
        EXPECT_EQ(d.text(Dlg::kName), "Other");
        d.doubleClickItem(Dlg::kList, 0);
        EXPECT_FALSE(d.isOpen()) << "a double click opens the entry";
    });
    ASSERT_TRUE(runOpenSaveFiltered(data, nullptr));
    EXPECT_EQ(filtered, (std::vector<std::string>{"Heavy", "Light"}));
    EXPECT_EQ(all, (std::vector<std::string>{"Heavy", "Light", "Other"}));
    EXPECT_EQ(data.name, Kx_String("Heavy"));
    EXPECT_TRUE(data.showAll) << "the box's state goes back to the caller";
    EXPECT_EQ(data.chosenPath(), Kx_String(libFile("props/Heavy.kxp")));
}

TEST_F(OpenSaveFiltered, OpenRefusesDotsSeparatorsAndNamesNotInTheFolder)
{
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        for (const char* refused : {"..", "../outside", "..\\outside", "props/Heavy", "Missing"}) {
            d.setText(Dlg::kName, refused);
            d.ok();
            ASSERT_TRUE(d.isOpen()) << refused;
        }
        // The extension typed by the user is not added a second time.
        d.setText(Dlg::kName, " Light.KXP ");
        d.ok();
    });
    for (int i = 0; i < 5; ++i)
        agent.answerMessageBox(IDOK);
    ASSERT_TRUE(runOpenSaveFiltered(data, nullptr));
    EXPECT_EQ(data.name, Kx_String("Light"));
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_NE(shown[4].find(dialString(9810).str()), std::string::npos) << shown[4];
    EXPECT_NE(shown[4].find("Missing.kxp"), std::string::npos) << shown[4];
}

TEST_F(OpenSaveFiltered, CancelLeavesTheCallersDataAlone)
{
    data.name = "Proposed";
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.text(Dlg::kName), "Proposed");
        d.setText(Dlg::kName, "Heavy");
        d.cancel();
    });
    EXPECT_FALSE(runOpenSaveFiltered(data, nullptr));
    EXPECT_EQ(data.name, Kx_String("Proposed"));
}

TEST_F(OpenSaveFiltered, SaveChecksTheNameAndAsksBeforeReplacing)
{
    data.save = true;
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), dialString(1127).str());
        EXPECT_EQ(d.text(IDOK), dialString(842).str());
        d.setText(Dlg::kName, "a:b");
        d.ok(); // refused by the file-name check
        d.setText(Dlg::kName, "Other.kxp");
        d.ok(); // exists, not offered: No keeps the dialog open
        ASSERT_TRUE(d.isOpen());
        d.setText(Dlg::kName, "Heavy");
        d.ok(); // exists and offered: Yes replaces
    });
    agent.answerMessageBox(IDOK, "a:b");
    agent.onMessageBox([](const MessageBoxRequest& box) {
        EXPECT_NE(box.text.find(dialString(1129).str()), std::string::npos) << "Other is not one of the offered files";
        EXPECT_EQ(box.caption, dialString(1131).str());
        return IDNO;
    });
    agent.onMessageBox([](const MessageBoxRequest& box) {
        EXPECT_EQ(box.text.find(dialString(1129).str()), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(dialString(1130).str()), std::string::npos) << box.text;
        return IDYES;
    });
    ASSERT_TRUE(runOpenSaveFiltered(data, nullptr));
    EXPECT_EQ(data.name, Kx_String("Heavy"));

    // A new name needs no question.
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.setText(Dlg::kName, "New one.kxp");
        d.ok();
    });
    ASSERT_TRUE(runOpenSaveFiltered(data, nullptr));
    EXPECT_EQ(data.name, Kx_String("New one"));
    EXPECT_EQ(data.chosenPath(), Kx_String(libFile("props/New one.kxp")));
}

TEST_F(OpenSaveFiltered, DeleteAsksRemovesTheFileAndTheNameFromBothLists)
{
    std::vector<std::string> afterNo, afterYes;
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.pick(Dlg::kList, "Light");
        d.click(Dlg::kDelete);
        afterNo = d.items(Dlg::kList);
        d.pick(Dlg::kList, "Light");
        d.click(Dlg::kDelete);
        afterYes = d.items(Dlg::kList);
        d.click(Dlg::kShowAll);
        EXPECT_EQ(d.items(Dlg::kList), (std::vector<std::string>{"Heavy", "Other"}));
        d.cancel();
    });
    agent.answerMessageBox(IDNO, "\"Light\"");
    agent.answerMessageBox(IDYES, dialString(1134).str());
    EXPECT_FALSE(runOpenSaveFiltered(data, nullptr));
    EXPECT_EQ(afterNo, (std::vector<std::string>{"Heavy", "Light"}));
    EXPECT_EQ(afterYes, (std::vector<std::string>{"Heavy"}));
    EXPECT_FALSE(std::filesystem::exists(libFile("props/Light.kxp")));
    EXPECT_TRUE(std::filesystem::exists(libFile("props/Heavy.kxp")));
    EXPECT_EQ(agent.messageBoxes()[0].caption, dialString(1135).str());
}

TEST_F(OpenSaveFiltered, AListEntryThatIsNoPlainNameIsNeverDeleted)
{
    data.filtered = Kx_StringArray({"../outside"});
    agent.onDialog(Dlg::kTemplateId, [&](kxwin::DialogDriver& d) {
        d.pick(Dlg::kList, 0);
        d.click(Dlg::kDelete); // no question, nothing deleted
        d.cancel();
    });
    EXPECT_FALSE(runOpenSaveFiltered(data, nullptr));
    EXPECT_TRUE(std::filesystem::exists(libFile("outside.kxp")));
    EXPECT_TRUE(agent.messageBoxes().empty());
}

} // namespace
