// Kx_String: character positions in UTF-8, damaged bytes, case folding, searching and replacing,
// number texts.
#include "core/Kx_String.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// "aé€😀b": characters of 1, 2, 3, 4 and 1 bytes.
const char* const kMixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "b";

} // namespace

TEST(StringPositions, CountCharactersNotBytes)
{
    EXPECT_EQ(Kx_String(kMixed).length(), 5);
    EXPECT_EQ(Kx_String("").length(), 0);
    EXPECT_EQ(Kx_String("plain ascii").length(), 11);
    // Long ASCII runs around a multi-byte character, past the eight-byte stepping.
    EXPECT_EQ(Kx_String("abcdefghijkl\xC3\xA9mnopqrstuvwxyz").length(), 27);
}

TEST(StringPositions, SubStringsAndEditsNeverCutACharacter)
{
    const Kx_String s(kMixed);
    EXPECT_EQ(s.getSubStringAt(1, 2), Kx_String("\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(s.getSubStringAt(3), Kx_String("\xF0\x9F\x98\x80" "b"));
    EXPECT_EQ(s.getSubStringAt(4, 100), Kx_String("b"));
    EXPECT_TRUE(s.getSubStringAt(5).isEmpty());
    EXPECT_TRUE(s.getSubStringAt(-1, 2).isEmpty());
    EXPECT_TRUE(s.getSubStringAt(1, 0).isEmpty());

    Kx_String t(kMixed);
    t.removeAt(2, 2);  // the euro sign and the emoji
    EXPECT_EQ(t, Kx_String("a\xC3\xA9" "b"));
    t.insertAt(2, Kx_String("\xC3\xBF"));
    EXPECT_EQ(t, Kx_String("a\xC3\xA9\xC3\xBF" "b"));
    EXPECT_EQ(t.length(), 4);
}

TEST(StringPositions, OutOfRangePositionsAreClampedOrIgnored)
{
    Kx_String s("abc");
    s.insertAt(-5, "<");
    s.insertAt(99, ">");
    EXPECT_EQ(s, Kx_String("<abc>"));

    s.removeAt(-1, 2);  // only character 0 lies inside
    EXPECT_EQ(s, Kx_String("abc>"));
    s.removeAt(3, 50);
    EXPECT_EQ(s, Kx_String("abc"));
    s.removeAt(3);
    s.removeAt(1, -2);
    s.removeAt(1, 0);
    EXPECT_EQ(s, Kx_String("abc"));
    s.removeAt(1, std::numeric_limits<int>::max());
    EXPECT_EQ(s, Kx_String("a"));
    s.removeAt(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    EXPECT_EQ(s, Kx_String("a"));
}

TEST(StringInvalidUtf8, StrayBytesAreSingleCharacters)
{
    // A lone continuation byte, a lead byte without its continuation, an overlong '/', an encoded
    // surrogate and a truncated sequence at the end: every byte is one character.
    const Kx_String s("\x80" "a\xC3" "b\xC0\xAF\xED\xA0\x80\xE2\x82");
    EXPECT_EQ(s.length(), 11);
    EXPECT_EQ(s.getSubStringAt(2, 1), Kx_String("\xC3"));
    EXPECT_EQ(s.getSubStringAt(9), Kx_String("\xE2\x82"));

    Kx_String t = s;
    t.removeAt(0, 1);
    EXPECT_EQ(t.length(), 10);
    EXPECT_EQ(t.toUpper().length(), 10);
    EXPECT_EQ(t.toUpper(), Kx_String("A\xC3" "B\xC0\xAF\xED\xA0\x80\xE2\x82"));
}

TEST(StringInvalidUtf8, BytesOfACharacterDoNotMatchAStrayByte)
{
    const Kx_String e("x\xC3\xA9y");  // é is C3 A9
    int pos = -1;
    for (bool exact : {true, false}) {
        EXPECT_FALSE(e.hasSubString(Kx_String("\xA9"), exact));
        EXPECT_FALSE(e.hasSubString(Kx_String("\xC3"), exact));
        EXPECT_FALSE(e.findLast(Kx_String("\xA9y"), exact, pos));
        EXPECT_FALSE(Kx_String("\xC3\xA9").endsWith(Kx_String("\xA9"), exact));
        EXPECT_FALSE(Kx_String("\xC3\xA9").startsWith(Kx_String("\xC3"), exact));
    }
    // The same stray byte on its own is found, at its character position.
    const Kx_String stray("\xC3\xA9\xA9");
    ASSERT_TRUE(stray.findFirst(Kx_String("\xA9"), true, pos));
    EXPECT_EQ(pos, 1);
    Kx_String r = stray;
    EXPECT_EQ(r.replaceSubString(Kx_String("\xA9"), Kx_String("!")), 1);
    EXPECT_EQ(r, Kx_String("\xC3\xA9!"));
}

namespace {

// A text of random bytes drawn from ones that make characters, parts of characters and strays.
std::string randomBytes(std::mt19937& rng, size_t maxLength)
{
    static const unsigned char pool[] = {'a', 'A', 'x', 0xC3, 0xA9, 0x89, 0xBF, 0xC5, 0xB8,
                                         0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80, 0xED, 0xA0};
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s)
        c = static_cast<char>(pool[rng() % sizeof pool]);
    return s;
}

std::vector<Kx_String> characters(const Kx_String& s)
{
    std::vector<Kx_String> chars;
    for (int i = 0; i < s.length(); ++i)
        chars.push_back(s.getSubStringAt(i, 1));
    return chars;
}

// The reference search: character sequences compared one character at a time.
int naiveFind(const std::vector<Kx_String>& text, const std::vector<Kx_String>& pattern, bool exact, int start)
{
    for (size_t i = static_cast<size_t>(start); i + pattern.size() <= text.size(); ++i) {
        bool all = true;
        for (size_t k = 0; k < pattern.size() && all; ++k)
            all = text[i + k].equal(pattern[k], exact);
        if (all)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

TEST(StringInvalidUtf8, SearchMatchesACharacterByCharacterReference)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        const Kx_String text(randomBytes(rng, 14));
        const std::vector<Kx_String> chars = characters(text);
        Kx_String joined;
        for (const Kx_String& c : chars)
            joined.append(c);
        ASSERT_EQ(joined, text);

        const Kx_String pattern(rng() % 2 ? randomBytes(rng, 3)
                                          : text.getSubStringAt(static_cast<int>(rng() % 6), 1 + static_cast<int>(rng() % 3)).str());
        if (pattern.isEmpty())
            continue;
        const std::vector<Kx_String> patternChars = characters(pattern);
        const int start = static_cast<int>(rng() % 4);
        for (bool exact : {true, false}) {
            const int expected = naiveFind(chars, patternChars, exact, start);
            int pos = -1;
            const bool found = text.findFirst(pattern, exact, pos, start);
            ASSERT_EQ(found, expected >= 0) << round;
            if (found) {
                ASSERT_EQ(pos, expected) << round;
            }
            ASSERT_EQ(text.hasSubString(pattern, exact), naiveFind(chars, patternChars, exact, 0) >= 0) << round;

            int lastExpected = -1;
            for (int from = 0; from <= start; ++from) {
                if (naiveFind(chars, patternChars, exact, from) == from)
                    lastExpected = from;
            }
            const bool foundLast = text.findLast(pattern, exact, pos, start);
            ASSERT_EQ(foundLast, lastExpected >= 0) << round;
            if (foundLast) {
                ASSERT_EQ(pos, lastExpected) << round;
            }
        }
    }
}

TEST(StringCase, LatinOneLettersMatchTheirOtherCase)
{
    EXPECT_TRUE(Kx_String("\xC3\x89" "CROU").equal(Kx_String("\xC3\xA9" "crou"), false));  // ÉCROU / écrou
    EXPECT_FALSE(Kx_String("\xC3\x89" "CROU").equal(Kx_String("\xC3\xA9" "crou"), true));
    EXPECT_TRUE(Kx_String("\xC5\xB8").equal(Kx_String("\xC3\xBF"), false));            // Ÿ / ÿ
    EXPECT_TRUE(Kx_String("\xC5\x92" "UVRE").equal(Kx_String("\xC5\x93" "uvre"), false));  // Œ / œ
    EXPECT_TRUE(Kx_String("IJSSEL \xC5\xBD").equal(Kx_String("ijssel \xC5\xBE"), false));  // Ž / ž
    EXPECT_TRUE(Kx_String("\xC3\x9E").equal(Kx_String("\xC3\xBE"), false));            // Þ / þ
    // × and ÷ sit where a letter pair would be but are not letters; ß has no one-letter partner.
    EXPECT_FALSE(Kx_String("\xC3\x97").equal(Kx_String("\xC3\xB7"), false));
    EXPECT_FALSE(Kx_String("\xC3\x9F").equal(Kx_String("SS"), false));
    EXPECT_FALSE(Kx_String("abc").equal(Kx_String("abcd"), false));
}

TEST(StringCase, SearchesIgnoringCaseUseTheSameFolding)
{
    const Kx_String name("Profil \xC3\x89" "CROU M12");
    EXPECT_TRUE(name.hasSubString(Kx_String("\xC3\xA9" "crou"), false));
    EXPECT_FALSE(name.hasSubString(Kx_String("\xC3\xA9" "crou"), true));
    EXPECT_TRUE(name.startsWith(Kx_String("PROFIL"), false));
    EXPECT_TRUE(name.endsWith(Kx_String("\xC3\xA9" "crou m12"), false));
    int pos = -1;
    ASSERT_TRUE(name.findFirst(Kx_String("\xC3\xA9" "c"), false, pos));
    EXPECT_EQ(pos, 7);
}

TEST(StringCase, UpperAndLowerMapEachLetterWithoutChangingLengths)
{
    const Kx_String lower("\xC3\xA0\xC3\xBE\xC3\xBF\xC5\x93\xC3\xB7\xC3\x9F" "abc");  // àþÿœ÷ß
    const Kx_String upper("\xC3\x80\xC3\x9E\xC5\xB8\xC5\x92\xC3\xB7\xC3\x9F" "ABC");  // ÀÞŸŒ÷ß
    EXPECT_EQ(lower.toUpper(), upper);
    EXPECT_EQ(upper.toLower(), lower);
    EXPECT_EQ(Kx_String(kMixed).toUpper(), Kx_String("A\xC3\x89\xE2\x82\xAC\xF0\x9F\x98\x80" "B"));
}

TEST(StringSearch, FindFirstAndLastRespectTheStart)
{
    const Kx_String s("ab\xC3\xA9" "ab\xC3\xA9" "ab");  // "abéabéab": "ab" at 0, 3 and 6
    int pos = -1;
    ASSERT_TRUE(s.findFirst(Kx_String("ab"), true, pos, 1));
    EXPECT_EQ(pos, 3);
    ASSERT_TRUE(s.findFirst(Kx_String("ab"), true, pos, -4));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(s.findFirst(Kx_String("ab"), true, pos, 7));
    EXPECT_FALSE(s.findFirst(Kx_String("ab"), true, pos, 100));

    ASSERT_TRUE(s.findLast(Kx_String("ab"), true, pos));
    EXPECT_EQ(pos, 6);
    ASSERT_TRUE(s.findLast(Kx_String("ab"), true, pos, 5));
    EXPECT_EQ(pos, 3);
    ASSERT_TRUE(s.findLast(Kx_String("ab"), true, pos, 3));  // an occurrence beginning at start counts
    EXPECT_EQ(pos, 3);
    ASSERT_TRUE(s.findLast(Kx_String("AB"), false, pos, 2));
    EXPECT_EQ(pos, 0);
    ASSERT_TRUE(s.findLast(Kx_String("\xC3\x89"), false, pos, 100));
    EXPECT_EQ(pos, 5);
    EXPECT_FALSE(s.findLast(Kx_String("AB"), true, pos));

    pos = 42;
    EXPECT_FALSE(s.findFirst(Kx_String("xyz"), false, pos));
    EXPECT_EQ(pos, 42);
}

TEST(StringSearch, EmptyPatternIsContainedButNeverFound)
{
    const Kx_String s("abc");
    int pos = -1;
    EXPECT_TRUE(s.hasSubString(Kx_String()));
    EXPECT_TRUE(s.startsWith(Kx_String()));
    EXPECT_TRUE(s.endsWith(Kx_String(), false));
    EXPECT_FALSE(s.findFirst(Kx_String(), true, pos));
    EXPECT_FALSE(s.findLast(Kx_String(), false, pos));
    EXPECT_FALSE(Kx_String().hasSubString(Kx_String("a")));
    EXPECT_FALSE(Kx_String("ab").endsWith(Kx_String("abc")));
}

TEST(StringSearch, FirstNumbersCountsCharacters)
{
    int pos = -1;
    ASSERT_TRUE(Kx_String("\xC3\x89" "crou M12").findFirstNumbers(pos));
    EXPECT_EQ(pos, 7);
    EXPECT_FALSE(Kx_String("IPE").findFirstNumbers(pos));
}

TEST(StringReplace, ReplacesLeftToRightWithoutRescanning)
{
    Kx_String s("aaa");
    EXPECT_EQ(s.replaceSubString(Kx_String("aa"), Kx_String("b")), 1);  // overlapping: first wins
    EXPECT_EQ(s, Kx_String("ba"));

    s = Kx_String("aaa");
    EXPECT_EQ(s.replaceSubString(Kx_String("a"), Kx_String("aa")), 3);  // inserted text not rescanned
    EXPECT_EQ(s, Kx_String("aaaaaa"));

    s = Kx_String("x-y-z");
    EXPECT_EQ(s.replaceSubString(Kx_String("-"), Kx_String()), 2);
    EXPECT_EQ(s, Kx_String("xyz"));
}

TEST(StringReplace, EmptyOrMissingPatternChangesNothing)
{
    Kx_String s("abc");
    EXPECT_EQ(s.replaceSubString(Kx_String(), Kx_String("x")), 0);
    EXPECT_EQ(s.replaceSubString(Kx_String("d"), Kx_String("x")), 0);
    EXPECT_EQ(s.replaceSubString(Kx_String("A"), Kx_String("x"), true), 0);
    EXPECT_EQ(s, Kx_String("abc"));
}

TEST(StringReplace, IgnoringCaseReplacesEveryCaseForm)
{
    Kx_String s("\xC3\x89" "crou, \xC3\xA9" "CROU, ecrou");
    EXPECT_EQ(s.replaceSubString(Kx_String("\xC3\xA9" "crou"), Kx_String("nut"), false), 2);
    EXPECT_EQ(s, Kx_String("nut, nut, ecrou"));
}

TEST(StringNumbers, DecimalsRoundHalvesAwayFromZero)
{
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {2.5, 0, "3"},      {-2.5, 0, "-3"},     {0.5, 0, "1"},           {1.5, 0, "2"},
        {0.125, 2, "0.13"}, {-0.125, 2, "-0.13"}, {0.375, 2, "0.38"},     {2.675, 2, "2.67"},  // 2.675 is stored below
        {1.005, 2, "1.00"}, {2.4999, 0, "2"},    {3.14159, 3, "3.142"},   {-0.0001, 2, "0.00"},
        {-0.0, 0, "0"},     {-0.4, 0, "0"},      {12, 2, "12.00"},        {1e20, 1, "100000000000000000000.0"},
        {1.5, -3, "2"},     {0.1, 40, "0.100000000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kx_String(c.value, c.decimals).str(), c.text) << c.value << " with " << c.decimals;
    EXPECT_EQ(Kx_String(std::numeric_limits<double>::max(), 15).length(), 309 + 16);
}

TEST(StringNumbers, NonFiniteValuesGiveTextsThatAreNotNumbers)
{
    const Kx_String nan(std::nan(""), 2);
    const Kx_String inf(std::numeric_limits<double>::infinity(), 2);
    const Kx_String negInf(-std::numeric_limits<double>::infinity(), 2);
    EXPECT_EQ(nan.str(), "nan");
    EXPECT_EQ(inf.str(), "inf");
    EXPECT_EQ(negInf.str(), "-inf");
    double v = 7;
    EXPECT_FALSE(nan.toDouble(v));
    EXPECT_FALSE(inf.toDouble(v));
    EXPECT_FALSE(negInf.toDouble(v));
    EXPECT_EQ(v, 7);
}

TEST(StringNumbers, FormattingIgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    double v = 0;
    const bool parsed = Kx_String("2.5").toDouble(v);
    const std::string text = Kx_String(2.25, 2).str();
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(parsed);
    EXPECT_EQ(v, 2.5);
    EXPECT_EQ(text, "2.25");
}

TEST(StringNumbers, WholeTextMustBeANumber)
{
    for (const char* text : {"42", " 42", "42\r\n", "\t-42 ", "+42", "-0", "2147483647", "-2147483648"}) {
        int v = 0;
        EXPECT_TRUE(Kx_String(text).toInt(v)) << text;
    }
    for (const char* text : {"", "  ", "+", "-", "2,5", "2.5", "1e3", "12abc", "abc12", "1 2", "+-5", "--5",
                             "0x10", "2147483648", "-2147483649", "nan", "\xC3\xA9"}) {
        int v = 99;
        EXPECT_FALSE(Kx_String(text).toInt(v)) << text;
        EXPECT_EQ(v, 99) << text;
    }
    int v = 0;
    ASSERT_TRUE(Kx_String(" -2147483648 ").toInt(v));
    EXPECT_EQ(v, std::numeric_limits<int>::min());
    ASSERT_TRUE(Kx_String("+17").toInt(v));
    EXPECT_EQ(v, 17);
}

TEST(StringNumbers, DoublesAcceptPointsAndExponentsOnly)
{
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : {Case{"2.5", 2.5}, Case{" -2.5 ", -2.5}, Case{"+.5", 0.5}, Case{"-.5", -0.5},
                          Case{"1.", 1.0}, Case{"1e3", 1000.0}, Case{"1.5E-2", 0.015}, Case{"007", 7.0}}) {
        double v = 0;
        EXPECT_TRUE(Kx_String(c.text).toDouble(v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    for (const char* text : {"", ".", "-.", "2,5", "12abc", "1e", "1e999", "-1e999", "nan", "NaN", "inf",
                             "-infinity", "1e-400", "0x1p3", "+-1", "1.2.3", "e5", "1 000"}) {
        double v = 99;
        EXPECT_FALSE(Kx_String(text).toDouble(v)) << text;
        EXPECT_EQ(v, 99) << text;
    }
}

TEST(StringNumbers, FormattedValuesReadBackAtTheirPrecision)
{
    for (double x : {0.1, -123.456789, 1e-7, 98765.4321, 2.5}) {
        for (int d : {0, 3, 15}) {
            double back = 0;
            ASSERT_TRUE(Kx_String(x, d).toDouble(back)) << x;
            EXPECT_LE(std::fabs(back - x), 0.5 * std::pow(10.0, -d) * (1 + 1e-12)) << x << " at " << d;
        }
    }
}
