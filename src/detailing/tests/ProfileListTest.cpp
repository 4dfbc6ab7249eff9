// Tests of the profile drop-down list: what it lists, what it selects and what is read back.
#include "detailing/ProfileList.h"

#include "DetailingTestSupport.h"
#include "core/DlgSelectProf.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

namespace {

class ProfileList : public kxtest::DetailingTest {
protected:
    void SetUp() override
    {
        DetailingTest::SetUp();
        combo = CreateWindowEx(0, "ComboBox", "", WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 200, 200, nullptr, 1);
        ASSERT_NE(combo, nullptr);
        kxtest::writeBytes(libFile("prof/HEA.pr"),
                           "1\nSysName\tActive\tDutch\tEnglish\tFrench\th_mm\n"
                           "100\t1\tHE 100 A\tHE 100 A\tHE 100 A\t96\n"
                           "200\t0\tHE 200 A\tHE 200 A\tHE 200 A\t190\n"
                           "300\t1\t\t\t\t290\n");
    }
    void TearDown() override
    {
        DestroyWindow(combo);
        DetailingTest::TearDown();
    }
    std::vector<std::string> shown() const
    {
        std::vector<std::string> out;
        const auto n = static_cast<int>(SendMessage(combo, CB_GETCOUNT));
        for (int i = 0; i < n; ++i) {
            char text[256] = {};
            SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.emplace_back(text);
        }
        return out;
    }
    int selection() const { return static_cast<int>(SendMessage(combo, CB_GETCURSEL)); }
    HWND combo = nullptr;
    Kx_StringArray profiles;
};

TEST_F(ProfileList, ATableProfileListsTheActiveSizesByDisplayNameAndReadsBackTheirNames)
{
    ASSERT_TRUE(fillProfileList(combo, "HEA-300", profiles));
    const std::string choice = dialString(695).str();
    EXPECT_EQ(shown(), (std::vector<std::string>{"HE 100 A", "HEA-300", choice}));
    EXPECT_EQ(selection(), 1);
    Kx_String profile;
    ASSERT_TRUE(selectedProfile(combo, profiles, profile));
    EXPECT_EQ(profile, Kx_String("HEA-300"));
    SendMessage(combo, CB_SETCURSEL, 0);
    ASSERT_TRUE(selectedProfile(combo, profiles, profile));
    // The profile name, never the display text.
    EXPECT_EQ(profile, Kx_String("HEA-100"));
    SendMessage(combo, CB_SETCURSEL, 2);
    EXPECT_FALSE(selectedProfile(combo, profiles, profile));
    EXPECT_EQ(profile, Kx_String("HEA-100"));
}

TEST_F(ProfileList, TheCurrentProfileIsListedAtItsPlaceEvenWhenInactive)
{
    ASSERT_TRUE(fillProfileList(combo, "HEA-200", profiles));
    ASSERT_EQ(shown().size(), 4u);
    EXPECT_EQ(shown()[1], "HE 200 A");
    EXPECT_EQ(selection(), 1);
    Kx_String profile;
    ASSERT_TRUE(selectedProfile(combo, profiles, profile));
    EXPECT_EQ(profile, Kx_String("HEA-200"));
}

TEST_F(ProfileList, AUserSectionOrAnUnreadableTableGivesFewEntries)
{
    ASSERT_TRUE(fillProfileList(combo, "User Sections\\Frame 1.bmp", profiles));
    EXPECT_EQ(shown(), (std::vector<std::string>{"Frame 1", dialString(695).str()}));
    EXPECT_EQ(selection(), 0);
    Kx_String profile;
    ASSERT_TRUE(selectedProfile(combo, profiles, profile));
    EXPECT_EQ(profile, Kx_String("User Sections\\Frame 1.bmp"));

    ASSERT_TRUE(fillProfileList(combo, "NOSUCH-100", profiles));
    EXPECT_EQ(shown(), std::vector<std::string>{dialString(695).str()});
    ASSERT_TRUE(fillProfileList(combo, "..\\..\\HEA-100", profiles));
    EXPECT_EQ(shown().size(), 1u);
    EXPECT_FALSE(selectedProfile(combo, profiles, profile));
    kxhost::takeCommandLineText();
}

TEST_F(ProfileList, TheDisplayNameIsTheDescriptionInTheCurrentLanguage)
{
    EXPECT_EQ(profileDisplayName("HEA-100"), Kx_String("HE 100 A"));
    EXPECT_EQ(profileDisplayName("HEA-300"), Kx_String("HEA-300"));
    EXPECT_EQ(profileDisplayName("HEA-999"), Kx_String("HEA-999"));
    EXPECT_EQ(profileDisplayName("IPE"), Kx_String("IPE"));
}

TEST_F(ProfileList, DisplayNamesFollowTheLanguageAlsoInAPeersSingleByteTable)
{
    // Windows-1252: "Poutrelle é" in the French column.
    kxtest::writeBytes(libFile("prof/IPE.pr"), "1\nSysName\tActive\tFrench\tEnglish\n80\t1\tPoutrelle \xE9 80\tIPE 80\n");
    EXPECT_EQ(profileDisplayName("IPE-80"), Kx_String("IPE 80"));
    MacroLangs::SetCurLanguage(MacroLangs::French);
    EXPECT_EQ(profileDisplayName("ipe-80"), Kx_String("ipe-80")) << "a table name is a file name: case counts";
    EXPECT_EQ(profileDisplayName("IPE-80"), Kx_String("Poutrelle é 80"));
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(profileDisplayName("IPE-80"), Kx_String("IPE-80"));
    MacroLangs::SetCurLanguage(MacroLangs::English);
}

TEST_F(ProfileList, TheChooserStartsAtTheCurrentProfileAndGivesTheChosenOne)
{
    kxtest::writeBytes(libFile("prof/HEB.pr"), "1\nSysName\tActive\tEnglish\n100\t1\tHE 100 B\n300\t1\tHE 300 B\n");
    kxtest::writeBytes(libFile("prof/L.pr"), "3\nSysName\tActive\tEnglish\n30x30x3\t1\tL 30x30x3\n");
    kxwin::UserAgent agent;
    agent.onDialog(kxcore::kSelectProfDialogId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Select a profile");
        EXPECT_EQ(d.items(kxcore::kSelectProfTableId), (std::vector<std::string>{"HEA", "HEB"}));
        EXPECT_EQ(d.selectedIndex(kxcore::kSelectProfTableId), 0);
        // Inactive sizes are not offered.
        EXPECT_EQ(d.items(kxcore::kSelectProfSizeId), (std::vector<std::string>{"HE 100 A", "HEA-300"}));
        EXPECT_EQ(d.selectedIndex(kxcore::kSelectProfSizeId), 1);
        d.pick(kxcore::kSelectProfTableId, "HEB");
        d.pick(kxcore::kSelectProfSizeId, "HE 300 B");
        d.ok();
    });
    Kx_String name = "HEA-300";
    ASSERT_TRUE(selectProfileAndFill(combo, name, profiles));
    EXPECT_EQ(name, Kx_String("HEB-300"));
    EXPECT_EQ(shown(), (std::vector<std::string>{"HE 100 B", "HE 300 B", dialString(695).str()}));
    EXPECT_EQ(selection(), 1);

    agent.onDialog(kxcore::kSelectProfDialogId, [](kxwin::DialogDriver& d) {
        d.pick(kxcore::kSelectProfGroupId, "Angles and channels");
        EXPECT_EQ(d.items(kxcore::kSelectProfSizeId), std::vector<std::string>{"L 30x30x3"});
        d.cancel();
    });
    EXPECT_FALSE(selectProfile(name));
    EXPECT_EQ(name, Kx_String("HEB-300"));
}

} // namespace
