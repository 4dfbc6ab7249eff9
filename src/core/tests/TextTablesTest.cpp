// Text tables: the shipped files, lookups with their language fall-backs and placeholders, damaged
// files, the file format's escapes and limits, and the check that every text number used in the
// sources has an English text.
#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/TextTables.h"
#include "platform/host/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

const fs::path kShippedTexts = fs::path(KX_SOURCE_RESOURCE_DIR) / "text";
const fs::path kSources = fs::path(KX_SOURCE_RESOURCE_DIR) / ".." / "src";

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A table lookup written with a literal number: the name must not follow an identifier character or
// "::", so that std::string(5), Kx_String(5) or to_string(5) do not count.
const std::regex kLiteralLookup(R"((^|[^A-Za-z0-9_:])(dialString|string)\s*\(\s*([0-9]+)\s*\))");

// "dialString 843"-style names of the literal lookups in a line.
std::vector<std::string> literalLookups(const std::string& line)
{
    std::vector<std::string> found;
    for (std::sregex_iterator m(line.begin(), line.end(), kLiteralLookup), end; m != end; ++m)
        found.push_back((*m)[2].str() + " " + (*m)[3].str());
    return found;
}

std::map<int, std::string> asMap(const kxcore::TextTableContent& content)
{
    std::map<int, std::string> texts;
    for (const auto& e : content.entries)
        texts[e.number] = e.text;
    return texts;
}

// A resource folder of its own for each test, made current; the shipped folder, English and empty
// caches come back afterwards.
class TextTablesInFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path()
            / ("kx-text-" + std::to_string(::getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        Kx_Settings::setResourceDir(Kx_String(m_root.string()));
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxcore::reloadTextTables();
        kxhost::takeCommandLineText();
    }

    void TearDown() override
    {
        Kx_Settings::setResourceDir(Kx_String());
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxcore::reloadTextTables();
        kxhost::takeCommandLineText();
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    fs::path tableFile(const char* lang, const char* file) const { return m_root / "text" / lang / file; }
    void writeDial(const char* lang, const std::string& bytes) const { writeFile(tableFile(lang, "dialstrings.txt"), bytes); }
    void writeStrings(const char* lang, const std::string& bytes) const { writeFile(tableFile(lang, "strings.txt"), bytes); }

    fs::path m_root;
};

} // namespace

// --- The shipped tables -------------------------------------------------------------------------

TEST(TextTablesShipped, EveryLanguageReadsWithoutAProblem)
{
    for (const char* lang : {"en", "nl", "fr"}) {
        for (const char* file : {"dialstrings.txt", "strings.txt"}) {
            const fs::path path = kShippedTexts / lang / file;
            ASSERT_TRUE(fs::is_regular_file(path)) << path;
            const auto content = kxcore::parseTextTable(readFile(path));
            EXPECT_FALSE(content.entries.empty()) << path;
            for (const auto& p : content.problems)
                ADD_FAILURE() << path << ", line " << p.line << ": " << p.what;
        }
    }
}

TEST(TextTablesShipped, EveryDutchAndFrenchNumberHasAnEnglishText)
{
    for (const char* file : {"dialstrings.txt", "strings.txt"}) {
        const auto english = asMap(kxcore::parseTextTable(readFile(kShippedTexts / "en" / file)));
        for (const char* lang : {"nl", "fr"}) {
            for (const auto& e : kxcore::parseTextTable(readFile(kShippedTexts / lang / file)).entries)
                EXPECT_TRUE(english.count(e.number)) << lang << "/" << file << " has " << e.number
                                                     << ", which the English table lacks";
        }
    }
}

// Every dialString(<digits>) and string(<digits>) in the product's sources must have an English
// text; otherwise a user sees the placeholder. Tests are left out: they bring their own tables.
TEST(TextTablesShipped, EveryNumberUsedInTheSourcesHasAnEnglishText)
{
    const auto dial = asMap(kxcore::parseTextTable(readFile(kShippedTexts / "en" / "dialstrings.txt")));
    const auto words = asMap(kxcore::parseTextTable(readFile(kShippedTexts / "en" / "strings.txt")));

    ASSERT_TRUE(fs::is_directory(kSources)) << kSources;
    int filesScanned = 0;
    for (auto it = fs::recursive_directory_iterator(kSources); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_directory() && it->path().filename() == "tests") {
            it.disable_recursion_pending();
            continue;
        }
        const auto ext = it->path().extension();
        if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        ++filesScanned;
        std::istringstream text(readFile(it->path()));
        std::string line;
        for (int lineNumber = 1; std::getline(text, line); ++lineNumber) {
            for (const std::string& lookup : literalLookups(line)) {
                const bool isDial = lookup.starts_with("dialString ");
                const int number = std::stoi(lookup.substr(lookup.find(' ') + 1));
                if (!(isDial ? dial : words).count(number))
                    ADD_FAILURE() << it->path().string() << ":" << lineNumber << ": " << lookup
                                  << " has no English text";
            }
        }
    }
    EXPECT_GT(filesScanned, 10);
}

TEST(TextTablesShipped, TheScanSeesLookupsButNotOtherFunctionsEndingInString)
{
    EXPECT_EQ(literalLookups("title(dialString(843)); x = string( 10046 );"),
              (std::vector<std::string>{"dialString 843", "string 10046"}));
    EXPECT_EQ(literalLookups("f(dialString(1) + string(2))"), (std::vector<std::string>{"dialString 1", "string 2"}));
    EXPECT_TRUE(literalLookups("std::string(5, 'x'); Kx_String(12); to_string(3); ::string(4); mystring(7)").empty());
}

// --- Lookups ---------------------------------------------------------------------------------------

TEST_F(TextTablesInFolder, CurrentLanguageFirstThenEnglishThenAPlaceholder)
{
    writeDial("en", "1\tOK\n2\tCancel\n7\tfrom the first table\n");
    writeStrings("en", "7\tfrom the second table\n");
    writeDial("fr", "1\tD'accord\n");
    MacroLangs::SetCurLanguage(MacroLangs::French);
    const int missing = 3;
    EXPECT_EQ(dialString(1).str(), "D'accord");
    EXPECT_EQ(dialString(2).str(), "Cancel");
    EXPECT_EQ(dialString(missing).str(), "[dialString 3]");
    EXPECT_EQ(string(missing).str(), "[string 3]");
    EXPECT_EQ(dialString(7).str(), "from the first table");
    EXPECT_EQ(string(7).str(), "from the second table");
}

TEST_F(TextTablesInFolder, LanguageAndFolderChangesNeedNoReloadButChangedFilesDo)
{
    writeDial("en", "1\tOK\n");
    writeDial("nl", "1\tAkkoord\n");
    EXPECT_EQ(dialString(1).str(), "OK");
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(dialString(1).str(), "Akkoord");

    writeDial("nl", "1\tGoed\n");
    EXPECT_EQ(dialString(1).str(), "Akkoord");
    kxcore::reloadTextTables();
    EXPECT_EQ(dialString(1).str(), "Goed");

    const fs::path other = m_root / "other";
    writeFile(other / "text" / "nl" / "dialstrings.txt", "1\tPrima\n");
    Kx_Settings::setResourceDir(Kx_String(other.string()));
    EXPECT_EQ(dialString(1).str(), "Prima");
}

TEST_F(TextTablesInFolder, MissingFileIsReportedOnceAndGivesPlaceholders)
{
    EXPECT_EQ(dialString(1).str(), "[dialString 1]");
    EXPECT_EQ(dialString(2).str(), "[dialString 2]");
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find(tableFile("en", "dialstrings.txt").string()), std::string::npos) << printed;
    EXPECT_NE(printed.find("does not exist"), std::string::npos) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

TEST_F(TextTablesInFolder, DamagedTranslationFallsBackToEnglishAndIsReportedWithItsLine)
{
    writeDial("en", "1\tOK\n2\tCancel\n3\tClose\n");
    writeDial("nl", "# header\n1\tAkkoord\n2 Annuleren\nthree\tDrie\n");
    MacroLangs::SetCurLanguage(MacroLangs::Dutch);
    EXPECT_EQ(dialString(1).str(), "Akkoord");
    EXPECT_EQ(dialString(2).str(), "Cancel");
    EXPECT_EQ(dialString(3).str(), "Close");
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_EQ(printed, "*Warning* Text table \"" + tableFile("nl", "dialstrings.txt").string()
                           + "\", line 3: no tab between the number and the text, left out (and 1 more problem).\n");
    dialString(2);
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(TextTablesInFolder, BinaryEmptyAndFolderInPlaceOfAFileNeverCrash)
{
    std::mt19937 random(7);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    writeDial("en", "5\tFive\n");
    writeDial("nl", noise);
    writeDial("fr", "");
    fs::create_directories(tableFile("nl", "strings.txt"));

    for (int lang : {MacroLangs::Dutch, MacroLangs::French}) {
        MacroLangs::SetCurLanguage(lang);
        EXPECT_EQ(dialString(5).str(), "Five");
        EXPECT_EQ(string(5).str(), "[string 5]");
    }
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_NE(printed.find(tableFile("nl", "strings.txt").string() + "\": it is not a file"), std::string::npos)
        << printed;
    EXPECT_EQ(printed.find(tableFile("fr", "dialstrings.txt").string()), std::string::npos)
        << "an empty file is not damaged";
}

TEST_F(TextTablesInFolder, FileOverTheSizeLimitIsReadUpToItsLastWholeLine)
{
    // Sixteen lines of exactly 1 MiB each (line end included) fill the limit.
    std::vector<std::string> lines;
    for (int n = 1; n <= 16; ++n) {
        std::string line = std::to_string(n) + "\t";
        line.append(kxcore::kTextTableMaxLineBytes - 1 - line.size(), 'a');
        lines.push_back(line + "\n");
    }
    std::string bytes;
    for (const auto& line : lines)
        bytes += line;
    ASSERT_EQ(bytes.size(), kxcore::kTextTableMaxFileBytes);
    writeDial("en", bytes);
    EXPECT_EQ(dialString(16).length(), static_cast<int>(kxcore::kTextTableMaxLineBytes - 4));
    EXPECT_EQ(kxhost::takeCommandLineText(), "");

    // One byte more in the first line pushes the end of the last one past the limit: that line is
    // cut, and a cut line is left out rather than taken in half.
    lines[0].insert(2, "b");
    bytes.clear();
    for (const auto& line : lines)
        bytes += line;
    writeDial("en", bytes);
    kxcore::reloadTextTables();
    EXPECT_EQ(dialString(15).length(), static_cast<int>(kxcore::kTextTableMaxLineBytes - 4));
    EXPECT_EQ(dialString(16).str(), "[dialString 16]");
    EXPECT_NE(kxhost::takeCommandLineText().find("larger than 16 MiB"), std::string::npos);
}

// --- The file format -------------------------------------------------------------------------------

TEST(TextTablesFile, EscapesRoundTripAndUnstorableTextsAreRefused)
{
    const std::vector<std::string> texts = {
        "plain", "", "tab\there", "two\nlines", "back\\slash", "\\n is not a line break", "trailing \\",
        "ä ÿ ¿ € 𝄞", "  blanks kept  ", "\\\\t",
    };
    std::string file;
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto escaped = kxcore::escapeTableText(texts[i]);
        ASSERT_TRUE(escaped) << texts[i];
        file += std::to_string(i + 1) + "\t" + *escaped + "\n";
    }
    const auto content = kxcore::parseTextTable(file);
    EXPECT_EQ(content.problemCount, 0);
    ASSERT_EQ(content.entries.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(content.entries[i].text, texts[i]);

    // Carriage return, NUL, other controls, a cut ä, an overlong '/', a surrogate.
    for (const std::string& bad : {"a\rb"s, "a\0b"s, "bell\a"s, "\xC3"s, "\xC0\xAF"s, "\xED\xA0\x80"s})
        EXPECT_FALSE(kxcore::escapeTableText(bad)) << bad;
}

TEST(TextTablesFile, CommentsBlankLinesBomAndCrlfAreNotTexts)
{
    const auto content = kxcore::parseTextTable("\xEF\xBB\xBF# heading\r\n\r\n   \t \r\n1\tOne\r\n#2\tnot a text\n2\tTwo");
    EXPECT_EQ(content.problemCount, 0);
    EXPECT_EQ(asMap(content), (std::map<int, std::string>{{1, "One"}, {2, "Two"}}));
}

TEST(TextTablesFile, DamagedLinesAreLeftOutAndNamedByLine)
{
    const std::vector<std::string> damaged = {
        "04\tleading zero", "4x\tletters", "-1\tsign", "+4\tsign", "2147483648\ttoo large", " 4\tblank",
        "\tno number", "2,5\tcomma", "9 no tab", "1\tnul\0here"s, "2\tcut \xC3(", "3\tlone\rreturn",
    };
    std::string file = "2147483647\tlargest\n0\tzero\n";
    for (const auto& line : damaged)
        file += line + "\n";
    const auto content = kxcore::parseTextTable(file);
    EXPECT_EQ(asMap(content), (std::map<int, std::string>{{0, "zero"}, {2147483647, "largest"}}));
    ASSERT_EQ(content.problemCount, static_cast<int>(damaged.size()));
    for (size_t i = 0; i < damaged.size(); ++i)
        EXPECT_EQ(content.problems[i].line, static_cast<int>(i) + 3) << damaged[i];

    const auto utf16 = kxcore::parseTextTable("\xFF\xFE" "1\0\t\0O\0K\0"s);
    EXPECT_TRUE(utf16.entries.empty());
    ASSERT_EQ(utf16.problemCount, 1);
    EXPECT_NE(utf16.problems[0].what.find("UTF-16"), std::string::npos);
}

TEST(TextTablesFile, FirstOfTwoEqualNumbersIsKept)
{
    const auto content = kxcore::parseTextTable("5\tfirst\n6\tother\n5\tsecond\n");
    EXPECT_EQ(asMap(content), (std::map<int, std::string>{{5, "first"}, {6, "other"}}));
    ASSERT_EQ(content.problemCount, 1);
    EXPECT_EQ(content.problems[0].line, 3);
    EXPECT_NE(content.problems[0].what.find("line 1"), std::string::npos);
}

TEST(TextTablesFile, UnknownEscapeIsKeptAsWrittenAndReported)
{
    const auto content = kxcore::parseTextTable("1\tC:\\temp\\x\n2\tend\\\n3\tpath \\ä\n");
    EXPECT_EQ(asMap(content), (std::map<int, std::string>{{1, "C:\temp\\x"}, {2, "end\\"}, {3, "path \\ä"}}));
    EXPECT_EQ(content.problemCount, 3);
}

TEST(TextTablesFile, LineAtTheLimitIsReadAndOneByteLongerIsLeftOut)
{
    std::string atLimit = "1\t";
    atLimit.append(kxcore::kTextTableMaxLineBytes - atLimit.size(), 'x');
    std::string overLimit = "2\t";
    overLimit.append(kxcore::kTextTableMaxLineBytes + 1 - overLimit.size(), 'y');
    const auto content = kxcore::parseTextTable(atLimit + "\r\n" + overLimit + "\n3\tafter\n");
    const auto texts = asMap(content);
    EXPECT_EQ(texts.count(1), 1u);
    EXPECT_EQ(texts.count(2), 0u);
    EXPECT_EQ(texts.count(3), 1u);
    ASSERT_EQ(content.problemCount, 1);
    EXPECT_EQ(content.problems[0].line, 2);
}

TEST(TextTablesFile, EveryPrefixOfAFileReadsWithoutHarm)
{
    const std::string file = "\xEF\xBB\xBF# t\r\n1\tä\\n\\t\\\\ end\r\n22\t¿ÿ\n\n333\tlast";
    for (size_t n = 0; n <= file.size(); ++n) {
        for (const auto& e : kxcore::parseTextTable(file.substr(0, n)).entries)
            EXPECT_TRUE(e.number == 1 || e.number == 22 || e.number == 333) << n;
    }
}
