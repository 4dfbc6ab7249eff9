// Languages: their fixed order and names, and choosing the current one by name or code.
#include "core/MacroLangs.h"

#include <gtest/gtest.h>

namespace {

// Leaves English current whatever a test did.
class MacroLangsCurrent : public ::testing::Test {
protected:
    void TearDown() override { MacroLangs::SetCurLanguage(MacroLangs::English); }
};

} // namespace

TEST(MacroLangs, LanguagesAreDutchEnglishFrenchInThatOrderWithTheirFolderCodes)
{
    const Kx_StringArray names = MacroLangs::GetAllLanguages();
    ASSERT_EQ(names.length(), MacroLangs::LanguageCount);
    EXPECT_EQ(names[MacroLangs::Dutch].str(), "Dutch");
    EXPECT_EQ(names[MacroLangs::English].str(), "English");
    EXPECT_EQ(names[MacroLangs::French].str(), "French");
    EXPECT_EQ(MacroLangs::GetLanguageCode(MacroLangs::Dutch).str(), "nl");
    EXPECT_EQ(MacroLangs::GetLanguageCode(MacroLangs::English).str(), "en");
    EXPECT_EQ(MacroLangs::GetLanguageCode(MacroLangs::French).str(), "fr");
    EXPECT_TRUE(MacroLangs::GetLanguageCode(3).isEmpty());
    EXPECT_TRUE(MacroLangs::GetLanguageName(-1).isEmpty());
}

TEST_F(MacroLangsCurrent, NameOrCodeSelectsTheLanguageInAnyLetterCase)
{
    EXPECT_TRUE(MacroLangs::SetCurLanguage(Kx_String("dUTCH")));
    EXPECT_EQ(MacroLangs::GetCurLanguageIndex(), MacroLangs::Dutch);
    // The spreadsheet editor keeps its language as an upper-case code ("EN").
    EXPECT_TRUE(MacroLangs::SetCurLanguage(Kx_String("FR")));
    EXPECT_EQ(MacroLangs::GetCurLanguageIndex(), MacroLangs::French);
    EXPECT_EQ(MacroLangs::FindLanguage(Kx_String("en")), MacroLangs::English);
}

TEST_F(MacroLangsCurrent, UnknownLanguageChangesNothing)
{
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    for (const char* wrong : {"", "german", "e", "englishx", "nl "})
        EXPECT_FALSE(MacroLangs::SetCurLanguage(Kx_String(wrong))) << wrong;
    EXPECT_FALSE(MacroLangs::SetCurLanguage(3));
    EXPECT_FALSE(MacroLangs::SetCurLanguage(-1));
    EXPECT_EQ(MacroLangs::GetCurLanguageIndex(), MacroLangs::Dutch);
}
