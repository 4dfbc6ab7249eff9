// Tests of the section-type catalogue: the library's file, refused files, and what the editor and
// the import take from it.
#include "core/SectionCatalogue.h"

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/tests/FileTestSupport.h"
#include "platform/host/CommandLine.h"

#include <filesystem>

namespace {

TEST(SectionCatalogue, TheLibraryCatalogueHasEveryTypeInOneGroup)
{
    SectionGroupArray catalogue;
    ASSERT_TRUE(catalogue.readLibraryCatalogue()) << kxhost::takeCommandLineText();
    EXPECT_EQ(catalogue.typeCount(), 24);
    for (int n = 1; n <= 24; ++n) {
        const SectionType* type = catalogue.findType(n);
        ASSERT_NE(type, nullptr) << n;
        EXPECT_EQ(type->pictureName, sectionTypeName(n)) << n;
        EXPECT_GE(catalogue.groupOfType(n), 0) << n;
        for (int lang = 0; lang < MacroLangs::LanguageCount; ++lang) {
            EXPECT_FALSE(type->names[lang].isEmpty()) << n;
            EXPECT_LE(type->labels[lang].length(), 8) << n;
        }
        for (int f : type->nameFields)
            EXPECT_LT(f, type->labels[MacroLangs::English].length()) << n;
    }
    // The drawing check of rectangular tubes compares columns 8 and 9: wall and radius.
    const SectionType* tube = catalogue.findType(10);
    ASSERT_NE(tube, nullptr);
    EXPECT_TRUE(tube->hasDrawing);
    EXPECT_EQ(tube->columns[8 - 5], Kx_String("t_mm"));
    EXPECT_EQ(tube->columns[9 - 5], Kx_String("r_mm"));
    EXPECT_EQ(tube->fallbacks[0], Kx_String("b_mm"));
}

TEST(SectionCatalogue, ADamagedFileIsRefusedWithItsLineAndTheCatalogueKept)
{
    kxtest::TempFolder tmp;
    const std::string path = tmp.file("sections.cat");
    SectionGroupArray catalogue;
    std::string error;
    kxtest::writeBytes(path, "# test\ntype\t1\tProfSectionI\nnames\tI\tI\tI\ngroup\t1\tA\tB\tC\t1\n");
    ASSERT_TRUE(catalogue.readFromFile(Kx_String(path), error)) << error;
    ASSERT_EQ(catalogue.groupCount(), 1);
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"names\tI\tI\tI\n", "line 1: \"names\" before the first type"},
        {"type\t25\tX\n", "line 1: a type needs a number from 1 to 24"},
        {"type\t1\tX\ntype\t1\tY\n", "line 2: type 1 is given twice"},
        {"type\t1\tX\nnamefields\t8\n", "line 2: name fields are numbers from 0 to 7"},
        {"type\t1\tX\nlabels\tKlingon\ta\n", "line 2: labels need a language"},
        {"type\t1\tX\ngroup\t1\tA\tB\tC\t2\n", "line 2: \"2\" is not a type given above"},
        {"type\t1\tX\nshape\tround\n", "line 2: unknown record \"shape\""},
    };
    for (const auto& [text, why] : bad) {
        kxtest::writeBytes(path, text);
        EXPECT_FALSE(catalogue.readFromFile(Kx_String(path), error)) << text;
        EXPECT_NE(error.find(why), std::string::npos) << error;
        EXPECT_EQ(catalogue.groupCount(), 1);
    }
}

TEST(SectionCatalogue, NamesAndLabelsFollowTheCurrentLanguage)
{
    SectionGroupArray catalogue;
    ASSERT_TRUE(catalogue.readLibraryCatalogue());
    const int language = MacroLangs::GetCurLanguageIndex();
    const SectionType* angle = catalogue.findType(3);
    ASSERT_NE(angle, nullptr);
    MacroLangs::SetCurLanguage(MacroLangs::French);
    EXPECT_EQ(angle->name(), Kx_String("Cornière"));
    EXPECT_EQ(angle->fieldLabels()[2], Kx_String("Épaisseur t (mm)"));
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(angle->name(), Kx_String("Hoeklijn"));
    MacroLangs::SetCurLanguage(language);
}

TEST(SectionCatalogue, TheAvailableTablesAreTheLibrarysProfFiles)
{
    DlgEditLibData data;
    Kx_StringArray files;
    ASSERT_TRUE(data.GetAvailableFiles(files));
    EXPECT_TRUE(files.contains("HEA.pr"));
    EXPECT_TRUE(files.contains("SHS.pr"));
    EXPECT_FALSE(files.contains("sections.cat"));
}

} // namespace
