// Languages: their fixed order and names, choosing the current one by name or code, and the macro
// dictionary with the labels translated around their units and chop symbols.
#include "core/MacroLangs.h"

#include <gtest/gtest.h>

#include <string>

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

namespace {

// A small Dutch and French macro dictionary for the label tests; emptied again afterwards.
class MacroWords : public MacroLangsCurrent {
protected:
    void SetUp() override
    {
        word(MacroLangs::Dutch, "Plate width", "Plaatbreedte");
        word(MacroLangs::Dutch, "Bolts", "Bouten");
        word(MacroLangs::Dutch, "rows", "rijen");
        word(MacroLangs::Dutch, "Hole", "Gat");
        word(MacroLangs::Dutch, "box", "doos");
        word(MacroLangs::Dutch, "End plates.Thickness", "Dikte kopplaat");
        word(MacroLangs::Dutch, "Thickness", "Dikte");
        word(MacroLangs::French, "Plate width", "Largeur de plaque");
        word(MacroLangs::French, "Flange", "Aile");
        word(MacroLangs::French, "Web", "Âme");
    }
    void TearDown() override
    {
        MacroLangs::ClearWordTranslations();
        MacroLangsCurrent::TearDown();
    }
    static void word(int language, const char* w, const char* t)
    {
        ASSERT_TRUE(MacroLangs::SetWordTranslation(language, Kx_String(w), Kx_String(t)));
    }
    static std::string label(const char* text, bool chop = true, const char* prefix = "")
    {
        return MacroLangs::GetStringChopSymbols(Kx_String(prefix), Kx_String(text), chop, Kx_String("x")).str();
    }
};

} // namespace

TEST_F(MacroWords, AWordIsTranslatedInTheCurrentLanguageOnly)
{
    EXPECT_EQ(MacroLangs::GetString(Kx_String("Plate width")).str(), "Plate width") << "English has no entry";
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(MacroLangs::GetString(Kx_String("Plate width")).str(), "Plaatbreedte");
    EXPECT_EQ(MacroLangs::GetString(Kx_String("plate width")).str(), "plate width") << "letter case counts";
    MacroLangs::SetCurLanguage(MacroLangs::French);
    EXPECT_EQ(MacroLangs::GetString(Kx_String("Plate width")).str(), "Largeur de plaque");

    // An empty translation removes the entry; bad languages and empty words are refused.
    EXPECT_TRUE(MacroLangs::SetWordTranslation(MacroLangs::French, Kx_String("Plate width"), Kx_String()));
    EXPECT_EQ(MacroLangs::GetString(Kx_String("Plate width")).str(), "Plate width");
    EXPECT_FALSE(MacroLangs::SetWordTranslation(3, Kx_String("a"), Kx_String("b")));
    EXPECT_FALSE(MacroLangs::SetWordTranslation(MacroLangs::Dutch, Kx_String(), Kx_String("b")));
}

TEST_F(MacroWords, ALabelKeepsItsUnitsNumbersAndPunctuation)
{
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(label("Plate width (mm):"), "Plaatbreedte (mm):");
    EXPECT_EQ(label("  Plate width:  "), "  Plaatbreedte:  ");
    EXPECT_EQ(label("Hole 2:"), "Gat 2:");
    EXPECT_EQ(label("Thickness [mm]"), "Dikte [mm]");
    EXPECT_EQ(label("(Plate width)"), "(Plate width)") << "a bracketed group stays as it stands";
    EXPECT_EQ(label("Thickness (mm"), "Dikte (mm") << "an unclosed bracket keeps the rest";
    EXPECT_EQ(label("12.5 mm"), "12.5 mm");
    EXPECT_EQ(label("Unknown words stay"), "Unknown words stay");
    EXPECT_EQ(label(""), "");
    EXPECT_EQ(label(":"), ":");
}

TEST_F(MacroWords, ALabelIsCutAtFreeStandingChopSymbolsOnly)
{
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(label("Bolts x rows"), "Bouten x rijen");
    EXPECT_EQ(label("Bolts x rows (mm):"), "Bouten x rijen (mm):");
    EXPECT_EQ(label("2x3 Bolts"), "2x3 Bouten");
    EXPECT_EQ(label("Boltsxrows"), "Boltsxrows") << "a symbol inside a word is part of the word";
    EXPECT_EQ(label("box"), "doos") << "x inside a word does not cut it";
    EXPECT_EQ(label("x"), "x");
    EXPECT_EQ(label("Bolts x x rows"), "Bouten x x rijen");
    // Without cutting, the whole label is one word.
    EXPECT_EQ(label("Bolts x rows", /*chop=*/false), "Bolts x rows");
    EXPECT_EQ(label("Plate width", /*chop=*/false), "Plaatbreedte");
    // No chop symbol cuts nothing.
    EXPECT_EQ(MacroLangs::GetStringChopSymbols(Kx_String(), Kx_String("Bolts x rows"), true, Kx_String()).str(),
              "Bolts x rows");
}

TEST_F(MacroWords, ThePrefixNamesAPartOfTheDictionaryAndNeverShows)
{
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(label("Thickness:", true, "End plates."), "Dikte kopplaat:");
    EXPECT_EQ(label("Hole 1:", true, "End plates."), "Hole 1:") << "the prefixed word is not known";
    EXPECT_EQ(label("Thickness", false, "End plates."), "Dikte kopplaat");
}

TEST_F(MacroWords, TextOutsideAsciiCountsAsLetters)
{
    MacroLangs::SetCurLanguage(MacroLangs::French);
    EXPECT_EQ(label("Flange x Web (mm)"), "Aile x Âme (mm)");
    EXPECT_EQ(label("äx"), "äx") << "x touching a non-ASCII letter is part of the word";
    EXPECT_EQ(label("Breite ä:"), "Breite ä:");
}
