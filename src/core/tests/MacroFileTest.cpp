// Macro definition files: the library's samples read and round-trip, damaged files are refused with
// the line that is wrong, and the sample layouts bind to the sample macros as a macro page binds.
#include "core/MacroFile.h"

#include "core/FileIO.h"
#include "core/Kx_PropertiesList.h"
#include "core/Kx_Settings.h"
#include "FileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::string> sampleFiles()
{
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(std::string(KX_SOURCE_LIBRARY_DIR) + "Macros"))
        if (e.path().extension() == ".kxm")
            files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

MacroDefinition read(const std::string& path)
{
    MacroDefinition def;
    std::string error;
    EXPECT_TRUE(kxcore::readMacroDefinitionFile(path, def, error)) << error;
    return def;
}

TEST(MacroFiles, EverySampleReadsAndWritesBackTheSame)
{
    const auto files = sampleFiles();
    ASSERT_EQ(files.size(), 2u);
    for (const std::string& path : files) {
        const MacroDefinition def = read(path);
        EXPECT_EQ(def.macro.tabs.length(), 6) << path;
        EXPECT_EQ(def.tabProperties.length(), def.macro.tabs.length());
        const std::string text = kxcore::formatMacroDefinition(def);
        MacroDefinition again;
        std::string error;
        ASSERT_TRUE(kxcore::parseMacroDefinition(text, "again", again, error)) << error;
        EXPECT_EQ(again, def) << path;
        EXPECT_EQ(kxcore::formatMacroDefinition(again), text);
    }
}

TEST(MacroFiles, TextsAndNumbersSurviveUnderAnyLocale)
{
    kxtest::GermanLocale german;
    MacroDefinition def;
    MacroTabData tab;
    tab.moduleName = "Modul \"ä\"\\Ÿ";
    tab.caption = "two\nlines\tand a tab";
    tab.cells.append(MacroCell{"w", 1, "Breite ¿", "2,5", false, 0});
    def.macro.tabs.append(tab);
    def.tabProperties.append(Kx_StringArray({"x"}));
    ConstraintModule module;
    module.name = "m";
    module.variables.append(ConstraintVariable{"clearance", 0.125, kVarLength});
    module.variables.append(ConstraintVariable{"slope", -1.5e-7, kVarAngle});
    def.constraints.modules.append(module);
    kxtest::TempFolder dir;
    std::string error;
    ASSERT_TRUE(kxcore::writeMacroDefinitionFile(dir.file("m.kxm"), def, error)) << error;
    EXPECT_EQ(read(dir.file("m.kxm")), def);
    EXPECT_NE(kxtest::readBytes(dir.file("m.kxm")).find("value=0.125"), std::string::npos);
}

TEST(MacroFiles, DamagedFilesSayWhichLineAndChangeNothing)
{
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"cell name=a\n", "line 1: cell before any tab"},
        {"tab kind=0\ncell name=a kind=x\n", "line 2: kind: \"x\" is not a whole number"},
        {"tab kind=0\ncell name=a size=3\n", "line 2: unknown attribute \"size\" of cell"},
        {"tab kind=0 kind=1\n", "line 1: the attribute \"kind\" is given twice"},
        {"# c\n\nwhatever a=1\n", "line 3: unknown record \"whatever\""},
        {"tab caption=\"open\n", "line 1: the closing quote is missing"},
        {"tab caption=\"a\"b\n", "line 1: unexpected characters after the closing quote"},
        {"tab caption\n", "line 1: expected name=value"},
        {"format version=2\n", "line 1: format version 2 is not known"},
        {"tab kind=99999999999\n", "is not a whole number"},
        {"tab kind=0\nbolt options=1,2\n", "line 2: options: \"1,2\" must hold 4 numbers"},
        {"tab kind=0\nbolt options=1,,2,3\n", "is not a whole number"},
        {"macro objects=1,-2\n", "negative object number"},
        {"tab kind=0\nflexButton name=x\n", "line 2: flexButton before any flexGroup"},
        {"tab kind=0\nentry value=1\n", "line 2: entry before any array"},
        {"variable name=x value=nan\n", "line 1: variable before any constraintModule"},
        {"constraintModule name=m\nvariable value=1e999\n", "line 2: value: \"1e999\" is not a number"},
        {"constraintModule name=m\nvariable value=nan\n", "line 2: value: \"nan\" is not a number"},
        {"settings angles90=1,2\n", "must hold only 0 and 1"},
        {"\xFF\xFEt\0a\0", "UTF-16"},
    };
    for (const Case& c : cases) {
        MacroDefinition def;
        def.macro.title = "kept";
        std::string error;
        EXPECT_FALSE(kxcore::parseMacroDefinition(c.text, "f.kxm", def, error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " gave " << error;
        EXPECT_EQ(error.rfind("f.kxm", 0), 0u) << error;
        EXPECT_EQ(def.macro.title, Kx_String("kept"));
    }
    // CR LF and CR line ends and a byte-order mark read as plain lines.
    MacroDefinition def;
    std::string error;
    ASSERT_TRUE(kxcore::parseMacroDefinition("\xEF\xBB\xBFtab kind=2\r\ncell name=a\rcell name=b", "f", def, error))
        << error;
    EXPECT_EQ(def.macro.tabs[0].cells.length(), 2);
}

TEST(MacroFiles, EveryTruncationOfASampleEitherReadsOrSaysWhy)
{
    const std::string text = kxtest::readBytes(sampleFiles().front());
    for (size_t cut = 0; cut < text.size(); cut += 7) {
        MacroDefinition def;
        std::string error;
        if (!kxcore::parseMacroDefinition(std::string_view(text).substr(0, cut), "cut", def, error)) {
            EXPECT_NE(error.find("line "), std::string::npos) << cut;
        }
    }
}

TEST(MacroFiles, NamesFindFilesOnlyInsideTheMacroFolder)
{
    kxtest::TempFolder lib;
    std::filesystem::create_directories(lib.path() / "Macros");
    std::filesystem::create_directories(lib.path() / "Macros2");
    kxtest::writeBytes(lib.file("Macros/inside.kxm"), "");
    kxtest::writeBytes(lib.file("outside.kxm"), "");
    kxtest::writeBytes(lib.file("Macros2/sibling.kxm"), "");
    Kx_Settings::setLibDir(lib.path().string());
    EXPECT_TRUE(kxcore::findMacroDefinition("inside"));
    EXPECT_TRUE(kxcore::findMacroDefinition("inside.kxm"));
    EXPECT_FALSE(kxcore::findMacroDefinition("..\\outside"));
    EXPECT_FALSE(kxcore::findMacroDefinition("../Macros2/sibling"));
    EXPECT_FALSE(kxcore::findMacroDefinition(""));
    // A path of an existing file is taken as it is: that is the user naming a file on purpose.
    EXPECT_TRUE(kxcore::findMacroDefinition(lib.file("outside.kxm")));
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
}

// What a macro page binds by name: the item a layout control of each type names, as
// docs/layout-files.md maps the control's names. Every control of the sample layouts must find its
// item in the sample macro's tab that shows the layout.
TEST(SampleLayouts, EveryControlNamesAnItemOfItsTab)
{
    Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    const MacroDefinition def = read(sampleFiles().front());
    int checked = 0;
    for (const MacroTabData& tab : def.macro.tabs) {
        if (tab.layoutName.isEmpty())
            continue;
        Kx_String path(std::string(KX_SOURCE_LIBRARY_DIR) + "Dialog Templates/Dialog Design/");
        path.append(tab.layoutName).append(".txt");
        path.replaceSubString("\\", "/");
        Kx_PropertiesList layout;
        ASSERT_TRUE(layout.readFromFile(path)) << path.str();
        int count = 0;
        ASSERT_TRUE(layout.getProperty("nrOfControls", count));
        for (int i = 0; i < count; ++i) {
            int type = 0;
            Kx_String contents, list;
            layout.getProperty(Kx_String("type") + Kx_String(i), type);
            layout.getProperty(Kx_String("contents") + Kx_String(i), contents);
            layout.getProperty(Kx_String("comboList") + Kx_String(i), list);
            const Kx_String where = tab.layoutName + ", control " + Kx_String(i) + " \"" + contents + "\"";
            int k = 0;
            bool bound = true;
            if (type == 2 || type == 3)
                bound = tab.findCellWithName(contents, k);
            else if (type >= 4 && type <= 12)
                bound = tab.findPatternWithName(contents, k) && (type != 5 || tab.patterns[k].getCount() != -1);
            else if (type >= 13 && type <= 17)
                bound = tab.findProfDataWithGroup(contents, k);
            else if (type >= 18 && type <= 24)
                bound = tab.findArrayWithName(contents, k);
            else if (type == 28)
                bound = tab.findCutWithName(contents, k);
            else if (type == 29)
                bound = tab.findCellWithName(list, k) && tab.cells[k].kind == kMacroCellCheck;
            else if (type == 30)
                bound = tab.hasBtnFlexFix(contents);
            else if (type == 27)
                bound = tab.block.enabled && fileExists(Kx_Settings::libDir() + "Blocks/Anchors/" + contents + ".dwg");
            else if (type == 25 || type == 26) {
                // The second to sixth names are the parts of the extended list: the third is the
                // computed cell, the fourth and fifth the cells the button sets.
                Kx_StringArray parts;
                int start = 0, semi = 0;
                while (list.findFirst(";", true, semi, start)) {
                    parts.append(list.getSubStringAt(start, semi - start));
                    start = semi + 1;
                }
                parts.append(list.getSubStringAt(start));
                ASSERT_GE(parts.length(), 4) << where.str();
                bound = tab.findCellWithName(parts[1], k) && tab.cells[k].readOnly
                    && tab.findCellWithName(parts[2], k) && !tab.cells[k].readOnly
                    && tab.findCellWithName(parts[3], k);
            }
            EXPECT_TRUE(bound) << where.str();
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);
}

} // namespace
