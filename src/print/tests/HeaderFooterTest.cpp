// The header and footer file format and the filling of its placeholders.
#include "print/HeaderFooter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kxprint;

namespace {

HeaderFooter parsed(std::string_view text)
{
    HeaderFooter block;
    std::string error;
    EXPECT_TRUE(parseHeaderFooter(text, block, error)) << error;
    return block;
}

} // namespace

TEST(HeaderFooterFormat, PartsAreLeftCentreRightAndLineEndsOfEveryKindSplit)
{
    const HeaderFooter b = parsed("\xEF\xBB\xBFLeft only\r\n\tCentred\rA\tB\tC\n\n\n");
    ASSERT_EQ(b.lines.size(), 3u);  // trailing empty lines dropped, the BOM not part of the text
    EXPECT_EQ(b.lines[0].parts[0], "Left only");
    EXPECT_EQ(b.lines[0].parts[1], "");
    EXPECT_EQ(b.lines[1].parts[0], "");
    EXPECT_EQ(b.lines[1].parts[1], "Centred");
    EXPECT_EQ(b.lines[2].parts[0], "A");
    EXPECT_EQ(b.lines[2].parts[1], "B");
    EXPECT_EQ(b.lines[2].parts[2], "C");
    // An empty line between two lines is kept: it is a blank line on the page.
    EXPECT_EQ(parsed("a\n\nb").lines.size(), 3u);
}

TEST(HeaderFooterFormat, SingleByteTextIsReadAsWindows1252)
{
    const HeaderFooter b = parsed("Gr\xF6\xDF" "e\t\xE4");
    ASSERT_EQ(b.lines.size(), 1u);
    EXPECT_EQ(b.lines[0].parts[0], "Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(b.lines[0].parts[1], "\xC3\xA4");
    // Valid UTF-8 stays as it is.
    EXPECT_EQ(parsed("Gr\xC3\xB6\xC3\x9F" "e").lines[0].parts[0], "Gr\xC3\xB6\xC3\x9F" "e");
}

TEST(HeaderFooterFormat, MalformedTextIsRefusedWithTheLineAndTheOldBlockKept)
{
    HeaderFooter block = parsed("kept");
    std::string error;
    EXPECT_FALSE(parseHeaderFooter("ok\na\tb\tc\td", block, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(parseHeaderFooter(std::string_view("a\0b", 3), block, error));
    std::string many;
    for (size_t i = 0; i <= kMaxHeaderFooterLines; ++i)
        many += "x\n";
    EXPECT_FALSE(parseHeaderFooter(many, block, error));
    ASSERT_EQ(block.lines.size(), 1u);
    EXPECT_EQ(block.lines[0].parts[0], "kept");
}

TEST(HeaderFooterFormat, FileErrorsNameTheFile)
{
    const auto dir = std::filesystem::temp_directory_path() / "kx_print_hf_test";
    std::filesystem::create_directories(dir);
    HeaderFooter block;
    std::string error;
    EXPECT_FALSE(readHeaderFooterFile((dir / "missing.txt").string(), block, error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos) << error;
    {
        std::ofstream big(dir / "big.txt", std::ios::binary);
        big << std::string(kMaxHeaderFooterBytes + 1, 'x');
    }
    EXPECT_FALSE(readHeaderFooterFile((dir / "big.txt").string(), block, error));
    {
        std::ofstream ok(dir / "ok.txt", std::ios::binary);
        ok << "{Title}\t\tPage {Page}\n";
    }
    ASSERT_TRUE(readHeaderFooterFile((dir / "ok.txt").string(), block, error)) << error;
    EXPECT_EQ(block.lines.at(0).parts[2], "Page {Page}");
    std::filesystem::remove_all(dir);
}

TEST(Placeholders, VariablesPageAndCountAreFilledIgnoringCase)
{
    const PrintVariables vars{{"Title", "Hall A"}, {"Date", "2026-12-08"}, {"title", "second"}};
    EXPECT_EQ(fillPlaceholders("{title} of {DATE}, page {Page} of {pages}", vars, 3, 12),
              "Hall A of 2026-12-08, page 3 of 12");
    // Unknown names stay as written; "{{" is a brace; an open brace without its end is kept.
    EXPECT_EQ(fillPlaceholders("{Nope} {{Title} {Title", vars, 1, 1), "{Nope} {Title} {Title");
    // A value holding braces is not filled again.
    EXPECT_EQ(fillPlaceholders("{V}", {{"V", "{Page}"}}, 7, 9), "{Page}");
    EXPECT_EQ(fillPlaceholders("", vars, 1, 1), "");
}
