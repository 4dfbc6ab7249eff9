// Tests of Kx_PropertiesList: exact round trips of any name and value, damaged files that change
// nothing, and files that do not depend on the process locale.
#include "core/Kx_PropertiesList.h"

#include "FileTestSupport.h"

#include "core/FileIO.h"
#include "core/SaveFile.h"
#include "platform/host/CommandLine.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

std::vector<std::string> oddTexts()
{
    std::string everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += static_cast<char>(c);
    return {
        "",
        " leading",
        "trailing ",
        "  both  ",
        "\t",
        "two\nlines",
        "crlf\r\nline",
        "\r",
        "=",
        "key = value",
        "\"quoted\"",
        "\"",
        "back\\slash\\",
        "\\x41 and \\n as text",
        "# not a comment",
        "Länge ¿ ÿ ä € 𝄞",
        "\xC3\x28 \xFF \xBF \xE2\x82 \xED\xA0\x80 \xF4\x90\x80\x80",
        std::string("nul\0inside", 10),
        everyByte,
    };
}

// A list holding one property of each type under each odd name.
Kx_PropertiesList oddList()
{
    Kx_PropertiesList list;
    int i = 0;
    for (const std::string& text : oddTexts()) {
        list.setProperty(Kx_String(text), Kx_String(text));
        list.setProperty(Kx_String("int " + text), i * 1000 - 7);
        list.setProperty(Kx_String("double " + text), i / 7.0);
        ++i;
    }
    return list;
}

class PropertiesListFile : public ::testing::Test {
protected:
    void SetUp() override { kxhost::takeCommandLineText(); }
    kxtest::TempFolder tmp;
};

TEST_F(PropertiesListFile, AnyNameAndTextRoundTripsExactly)
{
    const Kx_PropertiesList original = oddList();
    const std::string path = tmp.file("odd.txt");
    ASSERT_TRUE(original.writeToFile(Kx_String(path)));
    Kx_PropertiesList back;
    ASSERT_TRUE(back.readFromFile(Kx_String(path))) << kxhost::commandLineText();
    EXPECT_TRUE(back == original);
    for (const std::string& text : oddTexts()) {
        Kx_String value("unset");
        ASSERT_TRUE(back.getProperty(Kx_String(text), value)) << text;
        EXPECT_EQ(value.str(), text);
    }
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(PropertiesListFile, WrittenFileIsOneLineAPropertyAndValidUtf8)
{
    const std::string text = oddList().toText();
    size_t lines = 0;
    for (char c : text) {
        lines += c == '\n';
        EXPECT_NE(c, '\r');
    }
    EXPECT_EQ(lines, 1 + 3 * oddTexts().size());
    EXPECT_EQ(text.find('\0'), std::string::npos);
    // The invalid bytes of the odd texts appear escaped, the valid non-ASCII text as it is.
    EXPECT_NE(text.find("\\xC3(") , std::string::npos);
    EXPECT_NE(text.find("Länge ¿ ÿ ä € 𝄞"), std::string::npos);
}

TEST_F(PropertiesListFile, FormatIsReadableAsDocumented)
{
    Kx_PropertiesList list;
    list.setProperty("nrOfControls", 2);
    list.setProperty("topLeftX0", 0.125);
    list.setProperty("contents0", " Length \"L\"\n");
    list.setProperty("odd key=1", "");
    EXPECT_EQ(list.toText(), "# KESTRA_SS property list\n"
                             "int nrOfControls = 2\n"
                             "double topLeftX0 = 0.125\n"
                             "text contents0 = \" Length \\\"L\\\"\\n\"\n"
                             "text \"odd key=1\" = \"\"\n");
}

TEST_F(PropertiesListFile, NumbersRoundTripBitForBit)
{
    std::mt19937_64 random(20240305);
    std::vector<double> doubles = {0.0, -0.0, 0.1, 1.0 / 3.0, 1e-300, 5e-324, std::numeric_limits<double>::denorm_min(),
                                   std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
                                   -std::numeric_limits<double>::max(), std::numeric_limits<double>::epsilon(),
                                   std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 2000; ++i) {
        const double d = std::bit_cast<double>(random());
        if (!std::isnan(d))
            doubles.push_back(d);
    }
    Kx_PropertiesList list;
    for (size_t i = 0; i < doubles.size(); ++i)
        list.setProperty(Kx_String("d" + std::to_string(i)), doubles[i]);
    list.setProperty("nan", std::numeric_limits<double>::quiet_NaN());
    list.setProperty("min", std::numeric_limits<int>::min());
    list.setProperty("max", std::numeric_limits<int>::max());

    Kx_PropertiesList back;
    ASSERT_TRUE(back.readFromText(list.toText(), "numbers")) << kxhost::commandLineText();
    for (size_t i = 0; i < doubles.size(); ++i) {
        double d = 0;
        ASSERT_TRUE(back.getProperty(Kx_String("d" + std::to_string(i)), d));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(d), std::bit_cast<std::uint64_t>(doubles[i])) << doubles[i];
    }
    double nan = 0;
    ASSERT_TRUE(back.getProperty("nan", nan));
    EXPECT_TRUE(std::isnan(nan));
    int n = 0;
    ASSERT_TRUE(back.getProperty("min", n));
    EXPECT_EQ(n, std::numeric_limits<int>::min());
    ASSERT_TRUE(back.getProperty("max", n));
    EXPECT_EQ(n, std::numeric_limits<int>::max());
}

TEST_F(PropertiesListFile, RoundTripUnderAGermanLocaleKeepsDecimalPoints)
{
    kxtest::GermanLocale german;
    if (!german.isActive())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/deps generates it)";
    Kx_PropertiesList list = oddList();
    list.setProperty("factor", 2.5);
    const std::string path = tmp.file("de.txt");
    ASSERT_TRUE(list.writeToFile(Kx_String(path)));
    EXPECT_NE(kxtest::readBytes(path).find("double factor = 2.5\n"), std::string::npos);
    Kx_PropertiesList back;
    ASSERT_TRUE(back.readFromFile(Kx_String(path))) << kxhost::commandLineText();
    EXPECT_TRUE(back == list);
    double factor = 0;
    ASSERT_TRUE(back.getProperty("factor", factor));
    EXPECT_EQ(factor, 2.5);
    // A number a German user might type is refused, not read as 2 or 25.
    EXPECT_FALSE(back.readFromText("double factor = 2,5\n", "typed"));
    EXPECT_NE(kxhost::takeCommandLineText().find("typed, line 1"), std::string::npos);
}

TEST_F(PropertiesListFile, FailedSaveKeepsTheOldFile)
{
    const std::string path = tmp.file("layout.txt");
    kxtest::writeBytes(path, "int old = 1\n");
    Kx_PropertiesList list = oddList();
    for (int k = 1; k <= 5; ++k) {
        kx::FailingFileOps ops(k);
        kx::ScopedFileOps use(ops);
        EXPECT_FALSE(list.writeToFile(Kx_String(path)));
    }
    EXPECT_NE(kxhost::takeCommandLineText().find("*Error* Cannot save \"" + path + "\""), std::string::npos);
    EXPECT_EQ(kxtest::readBytes(path), "int old = 1\n");
    EXPECT_EQ(tmp.entries(), std::vector<std::string>{"layout.txt"});
}

TEST_F(PropertiesListFile, PropertyTooLongForALineIsRefusedBeforeWriting)
{
    const std::string path = tmp.file("layout.txt");
    kxtest::writeBytes(path, "int old = 1\n");
    Kx_PropertiesList list;
    list.setProperty("big", Kx_String(std::string(kx::kMaxTextLineBytes, 'x')));
    EXPECT_FALSE(list.writeToFile(Kx_String(path)));
    EXPECT_NE(kxhost::takeCommandLineText().find("\"big\""), std::string::npos);
    EXPECT_EQ(kxtest::readBytes(path), "int old = 1\n");

    // Just below the limit: the line is type, name, quotes and the text.
    list.setProperty("big", Kx_String(std::string(kx::kMaxTextLineBytes - std::strlen("text big = \"\""), 'x')));
    ASSERT_TRUE(list.writeToFile(Kx_String(path)));
    Kx_PropertiesList back;
    EXPECT_TRUE(back.readFromFile(Kx_String(path)));
    EXPECT_TRUE(back == list);
}

TEST_F(PropertiesListFile, MissingOrUnreadableFileChangesNothing)
{
    Kx_PropertiesList list;
    list.setProperty("keep", 7);
    const Kx_PropertiesList before = list;
    EXPECT_FALSE(list.readFromFile(Kx_String(tmp.file("missing.txt"))));
    EXPECT_FALSE(list.readFromFile(Kx_String(tmp.path().string())));
    EXPECT_TRUE(list == before);
    EXPECT_NE(kxhost::takeCommandLineText().find("missing.txt"), std::string::npos);
}

// A list holding one property, to see that failed reads leave it alone.
Kx_PropertiesList sentinel()
{
    Kx_PropertiesList list;
    list.setProperty("sentinel", Kx_String("untouched"));
    return list;
}

struct Damage {
    std::string text;
    int line;
    std::string what;
};

TEST(PropertiesListDamage, DamagedTextNamesTheLineAndChangesNothing)
{
    const std::vector<Damage> cases = {
        {"int a = 2,5\n", 1, "\"2,5\" is not a whole number"},
        {"double a = 2,5\n", 1, "\"2,5\" is not a number"},
        {"int a = 12abc\n", 1, "not a whole number"},
        {"int a = 4x\n", 1, "not a whole number"},
        {"int a = +4\n", 1, "not a whole number"},
        {"int a = 1.0\n", 1, "not a whole number"},
        {"double a = 1e999\n", 1, "out of the range of double"},
        {"int a = 2147483648\n", 1, "out of the range of int"},
        {"int a = -2147483649\n", 1, "out of the range of int"},
        {"int a =\n", 1, "the value is missing"},
        {"# ok\n\nint a = 1\ninteger b = 1\n", 4, "unknown type \"integer\""},
        {"int\n", 1, "a blank and a name must follow the type"},
        {"int=1\n", 1, "a blank and a name must follow the type"},
        {"int = 1\n", 1, "the name is missing"},
        {"int a 1\n", 1, "'=' must follow the name"},
        {"int \"a\"b = 1\n", 1, "'=' must follow the name"},
        {"int a\"b = 1\n", 1, "must be written in double quotes"},
        {"int \"a = 1\n", 1, "the closing quote is missing"},
        {"text a = unquoted\n", 1, "must be written in double quotes"},
        {"text a = \"open\n\"\n", 1, "the closing quote is missing"},
        {"text a = \"x\" tail\n", 1, "unexpected characters after the closing quote"},
        {"text a = \"bad \\q\"\n", 1, "unknown escape \"\\q\""},
        {"text a = \"\\x4\"\n", 1, "two hexadecimal digits"},
        {"text a = \"\\\n", 1, "the closing quote is missing"},
        {"int a = 1\r\nint b = 2\r\nint a = 3\r\n", 3, "the name \"a\" is set twice"},
        {"int a = 1\rint a = 2", 2, "set twice"},
        {std::string("int a = 1\0", 10), 1, "\"1\\x00\" is not a whole number"},
        {"int a = 1\n" + std::string(kx::kMaxTextLineBytes + 1, '#') + "\n", 2, "more than 1048576 bytes"},
    };
    for (const Damage& d : cases) {
        Kx_PropertiesList list = sentinel();
        std::string error;
        EXPECT_FALSE(list.readFromText(d.text, "layout.txt", error)) << d.text;
        EXPECT_NE(error.find("layout.txt, line " + std::to_string(d.line) + ": "), std::string::npos) << error;
        EXPECT_NE(error.find(d.what), std::string::npos) << error;
        EXPECT_TRUE(list == sentinel()) << d.text;
    }
}

TEST(PropertiesListDamage, Utf16AndOversizedTextAreRefusedWhole)
{
    Kx_PropertiesList list = sentinel();
    std::string error;
    EXPECT_FALSE(list.readFromText(std::string("\xFF\xFEi\0n\0t\0", 8), "wide.txt", error));
    EXPECT_NE(error.find("wide.txt: the file is UTF-16"), std::string::npos) << error;
    EXPECT_FALSE(list.readFromText(std::string(kx::kMaxTextFileBytes + 1, '\n'), "huge.txt", error));
    EXPECT_NE(error.find("more than the limit"), std::string::npos) << error;
    EXPECT_TRUE(list == sentinel());
}

TEST(PropertiesListDamage, EveryPrefixOfAFileReadsAsAPrefixOrFailsCleanly)
{
    Kx_PropertiesList full;
    full.setProperty("nrOfControls", 12);
    full.setProperty("topLeftX0", -0.0625);
    full.setProperty("contents0", Kx_String("Länge \"L\"\n\tx\xFF"));
    full.setProperty("odd key=", 3.5e-7);
    full.setProperty("", Kx_String(""));
    const std::string text = "\xEF\xBB\xBF" + full.toText();
    const Kx_StringArray names = full.getNames();

    int failures = 0;
    for (size_t n = 0; n <= text.size(); ++n) {
        Kx_PropertiesList list = sentinel();
        std::string error;
        if (!list.readFromText(std::string_view(text).substr(0, n), "cut.txt", error)) {
            ++failures;
            EXPECT_TRUE(list == sentinel()) << "prefix " << n;
            EXPECT_NE(error.find("cut.txt, line "), std::string::npos) << error;
            continue;
        }
        // The names read are the first names of the full list; all but the last have their values.
        const Kx_StringArray read = list.getNames();
        ASSERT_LE(read.length(), names.length()) << "prefix " << n;
        for (int i = 0; i < read.length(); ++i)
            EXPECT_EQ(read[i].str(), names[i].str()) << "prefix " << n;
    }
    EXPECT_GT(failures, 0);
    Kx_PropertiesList back;
    ASSERT_TRUE(back.readFromText(text, "whole"));
    EXPECT_TRUE(back == full);
}

TEST(PropertiesListRead, LineEndsMarksBlanksAndRawBytesAreAccepted)
{
    Kx_PropertiesList list;
    using namespace std::string_literals;
    const std::string text = "\xEF\xBB\xBF# comment\r\n\r\n  int\ta\t=\t5 \t\r"s
        + "double b=-1.5e3\n"s
        + "text \"c d\" = \"raw\ttab \xE4 and \0 nul\"  \r\n"s
        + "   # indented comment\n"s
        + "text e = \"\""s;
    ASSERT_TRUE(list.readFromText(text, "mixed")) << kxhost::takeCommandLineText();
    int a = 0;
    double b = 0;
    Kx_String c;
    Kx_String e("x");
    EXPECT_TRUE(list.getProperty("a", a));
    EXPECT_TRUE(list.getProperty("b", b));
    EXPECT_TRUE(list.getProperty("c d", c));
    EXPECT_TRUE(list.getProperty("e", e));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, -1500.0);
    EXPECT_EQ(c.str(), std::string("raw\ttab \xE4 and \0 nul", 19));
    EXPECT_EQ(e.str(), "");
    EXPECT_EQ(list.getNrProperties(), 4);

    // What was read raw is written escaped and reads back the same.
    Kx_PropertiesList back;
    ASSERT_TRUE(back.readFromText(list.toText(), "again"));
    EXPECT_TRUE(back == list);
}

TEST(PropertiesListValues, AbsentNameOrWrongTypeLeavesTheCallersValue)
{
    Kx_PropertiesList list;
    list.setProperty("count", 3);
    list.setProperty("factor", 0.5);
    list.setProperty("name", "IPE 200");

    int i = -1;
    double d = -1;
    Kx_String s("unchanged");
    EXPECT_FALSE(list.getProperty("factor", i));
    EXPECT_FALSE(list.getProperty("name", i));
    EXPECT_FALSE(list.getProperty("missing", i));
    EXPECT_FALSE(list.getProperty("count", d));
    EXPECT_FALSE(list.getProperty("name", d));
    EXPECT_FALSE(list.getProperty("count", s));
    EXPECT_FALSE(list.getProperty("Count", i)) << "names are matched exactly";
    EXPECT_EQ(i, -1);
    EXPECT_EQ(d, -1);
    EXPECT_EQ(s.str(), "unchanged");
    const Kx_PropertiesList empty;
    EXPECT_FALSE(empty.getProperty("count", i));
}

TEST(PropertiesListValues, ResettingANameKeepsItsPlaceAndTakesTheNewType)
{
    Kx_PropertiesList list;
    list.setProperty("a", 1);
    list.setProperty("b", 2);
    list.setProperty("c", 3);
    list.setProperty("a", "now text");
    Kx_String a;
    int stale = 0;
    EXPECT_TRUE(list.getProperty("a", a));
    EXPECT_FALSE(list.getProperty("a", stale));
    EXPECT_EQ(a.str(), "now text");
    EXPECT_EQ(list.getNames(), (Kx_StringArray{"a", "b", "c"}));
}

TEST(PropertiesListValues, RemovingKeepsTheRestFindable)
{
    Kx_PropertiesList list;
    for (int i = 0; i < 6; ++i)
        list.setProperty(Kx_String("k" + std::to_string(i)), i);
    EXPECT_TRUE(list.removeProperty("k2"));
    EXPECT_FALSE(list.removeProperty("k2"));
    list.setProperty("k2", 20);
    list.setProperty("k4", 40);
    EXPECT_EQ(list.getNames(), (Kx_StringArray{"k0", "k1", "k3", "k4", "k5", "k2"}));
    for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{
             {"k0", 0}, {"k1", 1}, {"k3", 3}, {"k4", 40}, {"k5", 5}, {"k2", 20}}) {
        int v = -1;
        EXPECT_TRUE(list.getProperty(name, v)) << name;
        EXPECT_EQ(v, value) << name;
    }
    Kx_PropertiesList back;
    ASSERT_TRUE(back.readFromText(list.toText(), "after removal"));
    EXPECT_TRUE(back == list);
}

TEST(PropertiesListValues, CopiesAreIndependentAndMovedFromListsAreEmpty)
{
    Kx_PropertiesList a;
    a.setProperty("x", 1);
    Kx_PropertiesList b = a;
    b.setProperty("x", 2);
    int x = 0;
    ASSERT_TRUE(a.getProperty("x", x));
    EXPECT_EQ(x, 1);
    Kx_PropertiesList c = std::move(b);
    EXPECT_EQ(b.getNrProperties(), 0); // NOLINT: a moved-from list is valid and empty
    EXPECT_FALSE(b.hasProperty("x"));
    b.setProperty("y", 1);
    EXPECT_TRUE(b.hasProperty("y"));
    EXPECT_TRUE(c.hasProperty("x"));
    a = Kx_PropertiesList();
    EXPECT_TRUE(a == Kx_PropertiesList());
    EXPECT_EQ(a.toText(), Kx_PropertiesList().toText());
}

} // namespace
