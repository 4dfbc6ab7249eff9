// Appearance and print settings: the store's text format, the record in files and in the sheet's
// corner cell, files from peers in Windows-1252, refusal of what the format cannot hold, and the
// header and footer name resolution.
#include "core/FileIO.h"
#include "core/SaveFile.h"
#include "platform/grid/Spread.h"
#include "sheetedit/SettingsStore.h"
#include "sheetedit/SheetSettings.h"
#include "sheetedit/tests/SheetEditTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using kxtest::expectSameSettings;
using kxtest::readBytes;
using kxtest::writeBytes;

// One record in a file's bytes (separator 0xA4).
std::string rec(const std::string& key, const std::string& type, const std::string& value)
{
    return key + '\xA4' + type + '\xA4' + value + '\xA4';
}

// Every member away from its default, with texts of Windows-1252 beyond ASCII (ä is C3 A4 in
// UTF-8: its second byte is the file's separator), and many variables.
SheetSettings richSettings()
{
    SheetSettings s;
    s.headerFile = "Kopf\xC3\xBC" "ber.txt";       // Kopfüber
    s.footerFile = "..\\Fu\xC3\x9F" "zeile.txt";   // Fußzeile
    s.defaultFont = "Fa\xC3\xA7" "ade \xE2\x82\xAC";  // Façade €
    s.defaultTextHeight = -17;
    s.marginLeft = 0;
    s.marginRight = 2147483647;
    s.marginTop = -2147483647 - 1;
    s.marginBottom = 12;
    s.smartPrint = false;
    s.colors = false;
    s.colHeader = true;
    s.rowHeader = false;
    s.cellSeperators = false;
    s.border = false;
    Kx_StringArray names;
    Kx_StringArray values;
    for (int i = 0; i < 40; ++i) {
        names.append(Kx_String("L\xC3\xA4nge_") + Kx_String(i));
        values.append(i % 3 == 0 ? Kx_String() : Kx_String("\xC3\xBF line\nbreak ") + Kx_String(i * 7));
    }
    s.setVariables(names, values);
    return s;
}

std::string backslashed(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

class SettingsFile : public kxtest::SheetEditTest {};

} // namespace

TEST_F(SettingsFile, SaveAndLoadKeepEveryMemberInWindows1252)
{
    const SheetSettings written = richSettings();
    ASSERT_TRUE(written.save("rich"));
    const std::string bytes = readBytes(settingsFile("rich"));
    EXPECT_EQ(bytes.rfind("defaultFont\xA4" "4\xA4" "Fa\xE7" "ade \x80\xA4" "defaultTextHeight\xA4" "2\xA4-17\xA4", 0), 0u)
        << "records in the order of the files, single-byte text";
    EXPECT_NE(bytes.find("varNames39\xA4" "4\xA4L\xE4nge_39\xA4"), std::string::npos);
    EXPECT_NE(bytes.find("\xFF line\r\nbreak 7\xA4"), std::string::npos) << "line breaks as CR LF";
    EXPECT_EQ(bytes.find('\xC3'), std::string::npos) << "no UTF-8 in the file";

    SheetSettings read;
    ASSERT_TRUE(read.load("rich"));
    EXPECT_TRUE(read.isLoaded());
    expectSameSettings(read, written);
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(SettingsFile, TheSheetCarriesTheSameRecordAsUtf8)
{
    HWND grid = kxgrid::createStandaloneGrid(3, 3);
    ASSERT_NE(grid, nullptr);
    SheetSettings written = richSettings();
    EXPECT_FALSE(written.writeToSheet(grid)) << "a record never loaded or read is not written";
    EXPECT_EQ(SSGetCellTagLen(grid, 0, 0), 0);

    SheetSettings loaded;
    loaded.readFromSheet(grid);
    EXPECT_EQ(loaded.grid(), grid);
    expectSameSettings(loaded, SheetSettings());
    loaded.defaultFont = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文: no file could hold it, the sheet can
    loaded.setVariables(written.varNames, written.varValues);
    ASSERT_TRUE(loaded.writeToSheet());

    std::string tag(static_cast<std::size_t>(SSGetCellTagLen(grid, 0, 0)) + 1, '\0');
    tag.resize(static_cast<std::size_t>(SSGetCellTag(grid, 0, 0, tag.data(), static_cast<int>(tag.size()))));
    EXPECT_EQ(tag.rfind("defaultFont\xC2\xA4" "4\xC2\xA4\xE4\xB8\xAD\xE6\x96\x87\xC2\xA4", 0), 0u);

    SheetSettings again;
    ASSERT_TRUE(again.readFromSheet(grid));
    expectSameSettings(again, loaded);
    DestroyWindow(grid);
}

TEST_F(SettingsFile, APeerFileInWindows1252ReadsAsUtf8)
{
    writeBytes(settingsFile("peer"), rec("defaultFont", "4", "Fa\xE7" "ade") + rec("headerFile", "4", "\x80 Kopf\r\n2") +
                                         rec("varNames0", "4", "L\xE4nge") + rec("varValues0", "4", "\x9F\xFF") +
                                         rec("marginLeft", "2", " 12abc") + rec("colors", "2", "0"));
    SheetSettings s;
    ASSERT_TRUE(s.load("peer"));
    EXPECT_EQ(s.defaultFont, Kx_String("Fa\xC3\xA7" "ade"));
    EXPECT_EQ(s.headerFile, Kx_String("\xE2\x82\xAC Kopf\n2"));
    ASSERT_EQ(s.varNames.length(), 1);
    EXPECT_EQ(s.varNames[0], Kx_String("L\xC3\xA4nge"));
    EXPECT_EQ(s.varValues[0], Kx_String("\xC5\xB8\xC3\xBF"));  // Ÿÿ
    EXPECT_EQ(s.marginLeft, 12) << "read as the C library reads numbers";
    EXPECT_FALSE(s.colors);

    // The same record written by a tool in UTF-8, with U+00A4 between the fields, reads the same.
    writeBytes(settingsFile("utf8"), "\xEF\xBB\xBF" "defaultFont\xC2\xA4" "4\xC2\xA4" "Fa\xC3\xA7" "ade\xC2\xA4");
    SheetSettings u;
    ASSERT_TRUE(u.load("utf8"));
    EXPECT_EQ(u.defaultFont, Kx_String("Fa\xC3\xA7" "ade"));
}

TEST_F(SettingsFile, AFileWithOnlyAFontGivesEveryOtherDefault)
{
    writeBytes(settingsFile("arial"), rec("defaultFont", "4", "Arial"));
    SheetSettings s;
    s.marginTop = 99;
    ASSERT_TRUE(s.load("arial"));
    SheetSettings expected;
    expected.defaultFont = "Arial";
    expectSameSettings(s, expected);

    SheetSettings missing;
    missing.marginTop = 99;
    EXPECT_FALSE(missing.load("nothing-here"));
    EXPECT_TRUE(missing.isLoaded()) << "a failed load still counts as loaded";
    expectSameSettings(missing, SheetSettings());
    EXPECT_EQ(kxhost::takeCommandLineText(), "") << "a missing file is not reported";
}

TEST_F(SettingsFile, DamagedAndOddRecordsKeepTheDefaults)
{
    writeBytes(settingsFile("odd"),
               rec("defaultTextHeight", "1", "20.00")      // wrong type: ignored
                   + rec("marginLeft", "9", "1")           // unknown type code
                   + rec("marginTop", "4x", "7")           // read as type 4: a text, not an integer
                   + rec("", "2", "5")                     // no key
                   + rec("marginBottom", " 2", "8")        // blanks before the type code are allowed
                   + rec("marginBottom", "2", "2147483648")  // a later record wins; held to 32 bits
                   + rec("varNames0", "4", "a") + rec("varNames1", "4", "b") + rec("varNames3", "4", "d")
                   + rec("varValues0", "4", "1") + rec("varValues1", "2", "2")  // not a text: the list ends
                   + "border\xA4" "2\xA4" "0");             // last record without its final separator
    SheetSettings s;
    ASSERT_TRUE(s.load("odd"));
    EXPECT_EQ(s.defaultTextHeight, 13);
    EXPECT_EQ(s.marginLeft, 9);
    EXPECT_EQ(s.marginTop, 5);
    EXPECT_EQ(s.marginBottom, 2147483647);
    EXPECT_TRUE(s.border) << "the unfinished record is dropped";
    ASSERT_EQ(s.varNames.length(), 1) << "names a, b cut to the one value";
    EXPECT_EQ(s.varNames[0], Kx_String("a"));
    EXPECT_EQ(s.varValues[0], Kx_String("1"));
}

TEST_F(SettingsFile, TextsTheFormatCannotHoldAreRefusedAndTheOldFileStays)
{
    ASSERT_TRUE(SheetSettings().save("keep"));
    const std::string before = readBytes(settingsFile("keep"));
    const auto entriesBefore = folder.entries();

    SheetSettings separator;
    separator.setVariables({"x", "y"}, {"1", "costs 5 \xC2\xA4"});
    EXPECT_FALSE(separator.save("keep"));
    std::string printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find("*Error*"), std::string::npos) << printed;
    EXPECT_NE(printed.find("<varValues1>"), std::string::npos) << printed;
    EXPECT_NE(printed.find("\xC2\xA4"), std::string::npos) << "the message names the character: " << printed;

    SheetSettings greek;
    greek.footerFile = "\xCE\xA9.txt";  // Ω: not in Windows-1252
    EXPECT_FALSE(greek.save("keep"));
    printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find("<footerFile>"), std::string::npos) << printed;

    SheetSettings stray;
    stray.defaultFont = Kx_String(std::string("Ari\xE4l"));  // a Latin-1 byte that is no UTF-8
    EXPECT_FALSE(stray.save("keep"));
    kxhost::takeCommandLineText();

    EXPECT_EQ(readBytes(settingsFile("keep")), before);
    EXPECT_EQ(folder.entries(), entriesBefore) << "no temporary file left";

    // In the sheet the separator is refused likewise and the tag stays.
    HWND grid = kxgrid::createStandaloneGrid(2, 2);
    SSSetCellTag(grid, 0, 0, "old");
    separator.readFromSheet(grid);
    separator.headerFile = "a\xC2\xA4" "b";
    EXPECT_FALSE(separator.writeToSheet());
    EXPECT_NE(kxhost::takeCommandLineText().find("<headerFile>"), std::string::npos);
    char tag[8] = {};
    SSGetCellTag(grid, 0, 0, tag, sizeof tag);
    EXPECT_STREQ(tag, "old");
    DestroyWindow(grid);
}

TEST_F(SettingsFile, AFailingDiskAtAnyStepLeavesTheOldFile)
{
    ASSERT_TRUE(SheetSettings().save("disk"));
    const std::string before = readBytes(settingsFile("disk"));
    const SheetSettings changed = richSettings();
    for (int failAt = 1;; ++failAt) {
        kx::FailingFileOps ops(failAt);
        kx::ScopedFileOps scope(ops);
        const bool saved = changed.save("disk");
        kxhost::takeCommandLineText();
        if (saved)
            break;
        EXPECT_TRUE(ops.hasFailed()) << "step " << failAt;
        if (!ops.hasRenamed()) {
            EXPECT_EQ(readBytes(settingsFile("disk")), before) << "step " << failAt;
        }
        ASSERT_LT(failAt, 50);
    }
    SheetSettings read;
    ASSERT_TRUE(read.load("disk"));
    expectSameSettings(read, changed);
}

TEST_F(SettingsFile, NamesStayInsideTheSettingsFolder)
{
    const std::string expected = backslashed(folder.path().string() + "/res/");
    EXPECT_EQ(SheetSettings::settingsFolder(), Kx_String(expected));
    EXPECT_EQ(SheetSettings::fileOf("a"), Kx_String(expected + "a.znd"));

    writeBytes(folder.file("outside.znd"), rec("defaultFont", "4", "Outside"));
    SheetSettings s;
    EXPECT_FALSE(s.load("..\\outside"));
    EXPECT_EQ(s.defaultFont, Kx_String("Tahoma"));
    EXPECT_FALSE(s.load(Kx_String(folder.file("outside"))));
    EXPECT_FALSE(s.save("../escaped"));
    EXPECT_NE(kxhost::takeCommandLineText().find("*Error*"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("escaped.znd")));

    std::filesystem::create_directories(folder.path() / "res" / "sub");
    EXPECT_TRUE(s.save("sub\\inner"));
    EXPECT_TRUE(std::filesystem::exists(folder.file("res/sub/inner.znd")));
}

TEST_F(SettingsFile, HeaderAndFooterNamesResolveBesideTheSheetThenInTheSettingsFolder)
{
    std::filesystem::create_directories(folder.path() / "sheets" / "deep");
    writeBytes(folder.file("sheets/deep/head.txt"), "h");
    writeBytes(folder.file("sheets/foot.txt"), "f");
    writeBytes(folder.file("res/only-here.txt"), "s");
    writeBytes(folder.file("up.txt"), "u");  // the settings folder's parent
    const Kx_String sheet(folder.file("sheets/deep/book.ss"));
    const std::string deep = folder.file("sheets/deep/");

    struct Case {
        const char* name;
        std::string expected;
    };
    const Case cases[] = {
        {"head.txt", deep + "head.txt"},
        {"..\\foot.txt", folder.file("sheets/") + "foot.txt"},
        {"only-here.txt", SheetSettings::settingsFolder().str() + "only-here.txt"},
        {"..\\up.txt", backslashed(folder.path().string()) + "\\up.txt"},
        {"missing.txt", "missing.txt"},
        {"C:\\lib\\head.txt", "C:\\lib\\head.txt"},
        {"\\\\server\\head.txt", "\\\\server\\head.txt"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SheetSettings s;
        s.headerFile = c.name;
        s.footerFile = c.name;
        s.resolveHeaderFooter(sheet);
        EXPECT_EQ(s.headerFile.str(), c.expected) << c.name;
        EXPECT_EQ(s.footerFile.str(), c.expected) << c.name;
        if (!c.expected.empty() && c.expected != c.name) {
            EXPECT_TRUE(fileExists(s.headerFile)) << c.name;
        }
    }
}

TEST(SettingsStoreText, ValuesReadBackByTypeAndDoublesHaveTwoDecimals)
{
    kxtest::GermanLocale german;  // a decimal comma in the process must not change the file
    SettingsStore store;
    EXPECT_FALSE(store.setInt("", 1)) << "an empty key is refused";
    store.setDouble("d", 2.5);
    store.setDouble("third", 1.0 / 3.0);
    store.setDouble("nan", std::nan(""));
    store.setInt("i", -42);
    store.setLong("l", 7);
    store.setText("t", "x");
    store.setInt("i", 43);  // replaced in place
    std::string text;
    ASSERT_TRUE(store.toText(text));
    EXPECT_EQ(text, "d\xC2\xA4" "1\xC2\xA4" "2.50\xC2\xA4" "third\xC2\xA4" "1\xC2\xA4" "0.33\xC2\xA4"
                    "nan\xC2\xA4" "1\xC2\xA4" "nan\xC2\xA4" "i\xC2\xA4" "2\xC2\xA4" "43\xC2\xA4"
                    "l\xC2\xA4" "3\xC2\xA4" "7\xC2\xA4" "t\xC2\xA4" "4\xC2\xA4" "x\xC2\xA4");

    SettingsStore read;
    read.parseText(text);
    ASSERT_EQ(read.count(), 6);
    double d = 0;
    EXPECT_TRUE(read.getDouble("d", d));
    EXPECT_EQ(d, 2.5);
    EXPECT_TRUE(read.getDouble("nan", d));
    EXPECT_TRUE(std::isnan(d));
    int i = 0;
    std::int32_t l = 0;
    EXPECT_FALSE(read.getInt("l", i)) << "a long is not an integer";
    EXPECT_TRUE(read.getLong("l", l));
    EXPECT_EQ(l, 7);
    bool b = false;
    EXPECT_TRUE(read.getBool("i", b));
    EXPECT_TRUE(b);
    EXPECT_FALSE(read.getBool("t", b));
}

TEST(SettingsStoreText, ListsReadUpToTheFirstGapAndShrinkWhenRewritten)
{
    SettingsStore store;
    store.setTextList("v", {"a", "b", "c"});
    store.setTextList("v", {"z"});
    Kx_StringArray list;
    store.getTextList("v", list);
    ASSERT_EQ(list.length(), 1) << "the older, longer list does not show through";
    EXPECT_EQ(list[0], Kx_String("z"));

    store.parseText("v0\xC2\xA4" "4\xC2\xA4" "a\xC2\xA4" "v2\xC2\xA4" "4\xC2\xA4" "c\xC2\xA4");
    store.getTextList("v", list);
    EXPECT_EQ(list.length(), 1) << "index 1 missing";
    store.parseText("");
    store.getTextList("v", list);
    EXPECT_EQ(list.length(), 0);
}

TEST(SettingsStoreText, AnyBytesParseWithoutHarm)
{
    // Separators doubled, cut in the middle of a character, lone lead bytes, NUL bytes.
    const std::string inputs[] = {
        "\xA4\xA4\xA4\xA4",
        "a\xC2",
        "a\xC2\xA4" "4\xC2\xA4\xC2",
        std::string("k\xA4" "4\xA4" "a\0b\xA4", 9),
        "k\xC2\xA4" "1\xC2\xA4" "1e999\xC2\xA4",
        "k\xA4\xA4\xA4k\xA4" "2\xA4-\xA4",
    };
    for (const std::string& input : inputs) {
        SettingsStore store;
        store.parseText(input);
        std::string text;
        if (store.toText(text)) {
            SettingsStore again;
            again.parseText(text);
            std::string second;
            ASSERT_TRUE(again.toText(second));
            EXPECT_EQ(second, text) << "what is written reads back the same";
        }
    }
}
