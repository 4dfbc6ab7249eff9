// The wrapper's numbers under a host locale with a decimal comma, the leading-number reading its
// callers rely on, and the look a sheet keeps when it has no settings file of its own.
#include "spread/tests/KxSpreadTestSupport.h"

#include "core/Kx_Settings.h"
#include "platform/win/Registry.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/SheetSettings.h"
#include "spread/SpreadNumbers.h"

#include <filesystem>
#include <limits>

namespace {

using kxtest::KxSpreadTest;

TEST(LeadingDouble, ReadsTheNumberAtTheStartAsTheCLibraryDoesInTheCLocale)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"22.40", 22.4}, {"  -3.5e2xyz", -350.0}, {"+.5", 0.5}, {"12abc", 12.0}, {"2,5", 2.0},
        {"", 0.0},       {"abc", 0.0},            {"-", 0.0},   {".", 0.0},     {"7e", 7.0},
        {"7e+", 7.0},    {"1e-400", 0.0},         {"0x10", 0.0}, {"nan", 0.0},  {"inf", 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(kxss::leadingDouble(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(kxss::leadingDouble("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(kxss::leadingDouble("-1e999"), -std::numeric_limits<double>::max());
}

TEST_F(KxSpreadTest, NumbersReadBackTheSameUnderADecimalCommaLocale)
{
    kxtest::GermanLocale german;
    ASSERT_TRUE(german.isActive()) << "the de_DE.UTF-8 locale is not installed (the test setup generates it)";
    fill(3, 4);

    ASSERT_TRUE(spread->setDouble(1, 1, 22.4));
    double value = 0;
    ASSERT_TRUE(spread->getDouble(1, 1, value));
    EXPECT_DOUBLE_EQ(value, 22.4);
    EXPECT_EQ(data(1, 1), "22.40");

    Kx_Array<double> written;
    written.append(1.25);
    written.append(-0.5);
    written.append(1234.5);
    ASSERT_TRUE(spread->setColumnDoubles(2, written));
    Kx_Array<double> read;
    ASSERT_TRUE(spread->getColumnDoubles(2, read));
    ASSERT_EQ(read.length(), 4);
    EXPECT_DOUBLE_EQ(read[0], 1.25);
    EXPECT_DOUBLE_EQ(read[1], -0.5);
    EXPECT_DOUBLE_EQ(read[2], 1234.5);

    // A number cell and a computed result, read through the same operations.
    ASSERT_TRUE(spread->setNumberType(3, 1, 3, 4, 3, false));
    ASSERT_TRUE(spread->setCellData(3, 1, "0.125"));
    ASSERT_TRUE(spread->getDouble(3, 1, value));
    EXPECT_DOUBLE_EQ(value, 0.125);
    SSSetBool(grid(), SSB_ALLOWUSERFORMULAS, TRUE);
    SSSetBool(grid(), SSB_AUTOCALC, TRUE);
    ASSERT_TRUE(kxgrid::enterText(grid(), 3, 2, "=C1*3"));
    ASSERT_TRUE(spread->getDouble(3, 2, value));
    EXPECT_DOUBLE_EQ(value, 0.375);

    Kx_Array<int> ints;
    SSSetData(grid(), 1, 2, "2147483648");
    SSSetData(grid(), 1, 3, "-17.9");
    ASSERT_TRUE(spread->getColumnInts(1, ints));
    EXPECT_EQ(ints[1], 2147483647) << "beyond the int range: the nearest int, not undefined behaviour";
    EXPECT_EQ(ints[2], -17);
}

class KxSpreadLook : public KxSpreadTest {
protected:
    void SetUp() override
    {
        KxSpreadTest::SetUp();
        std::filesystem::create_directories(folder.path() / "res");
        Kx_Settings::setResourceDir((folder.path() / "res").string());
        kxwin::setRegistryPath(folder.file("registry.sqlite3").c_str());
    }
    void TearDown() override
    {
        kxwin::setRegistryPath(nullptr);
        Kx_Settings::setResourceDir("");
        KxSpreadTest::TearDown();
    }
};

TEST_F(KxSpreadLook, WithoutItsOwnSettingsTheRegistryDefaultFontStays)
{
    SheetSettings company;
    company.defaultFont = "Verdana";
    company.defaultTextHeight = 11;
    ASSERT_TRUE(company.save("company"));
    EditorRegistrySettings registry;
    registry.DefaultSettings = "company";
    ASSERT_TRUE(registry.write());

    ASSERT_TRUE(spread->loadLook("no such settings"));
    EXPECT_EQ(spread->fontFace(), Kx_String("Verdana"));
    EXPECT_EQ(spread->textHeight(), 11);
    LOGFONT font;
    ASSERT_TRUE(SSGetFont(grid(), 1, 1, &font));
    EXPECT_EQ(std::string(font.lfFaceName), "Verdana");
    EXPECT_EQ(font.lfHeight, 11);
    ASSERT_TRUE(SSGetFont(grid(), 1, Kx_Spread::HEADER, &font));
    EXPECT_EQ(std::string(font.lfFaceName), "Verdana");
    EXPECT_EQ(font.lfWeight, 700);
}

} // namespace
