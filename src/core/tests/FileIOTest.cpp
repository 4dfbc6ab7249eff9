// Tests of the text-file, search, copy and folder operations of the core module.
#include "core/FileIO.h"

#include "FileTestSupport.h"

#include "platform/host/CommandLine.h"

#include <sys/stat.h>

#include <filesystem>

namespace {

std::vector<std::string> texts(const Kx_StringArray& lines)
{
    std::vector<std::string> out;
    for (const Kx_String& line : lines)
        out.push_back(line.str());
    return out;
}

using Lines = std::vector<std::string>;

class TextFileRead : public ::testing::Test {
protected:
    void SetUp() override { kxhost::takeCommandLineText(); }

    // Lines read from a file holding bytes; the command line must stay quiet.
    Lines read(const std::string& bytes)
    {
        const std::string path = tmp.file("in.txt");
        kxtest::writeBytes(path, bytes);
        Kx_StringArray lines;
        EXPECT_TRUE(ObjectExportReadFile(Kx_String(path), lines)) << kxhost::commandLineText();
        EXPECT_EQ(kxhost::takeCommandLineText(), "");
        return texts(lines);
    }

    // A refused read: false, lines untouched, and a message naming the file on the command line.
    std::string refuse(const std::string& path)
    {
        Kx_StringArray lines{"keep"};
        EXPECT_FALSE(ObjectExportReadFile(Kx_String(path), lines));
        EXPECT_EQ(texts(lines), Lines{"keep"});
        const std::string message = kxhost::takeCommandLineText();
        EXPECT_NE(message.find("*Error* Cannot read \"" + path + "\""), std::string::npos) << message;
        return message;
    }

    kxtest::TempFolder tmp;
};

TEST_F(TextFileRead, EveryLineEndConventionGivesTheSameLines)
{
    EXPECT_EQ(read("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(read("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(read("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(read("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(read("a\r\n\r\nb\n\rc"), (Lines{"a", "", "b", "", "c"}));
    EXPECT_EQ(read("\n"), (Lines{""}));
    EXPECT_EQ(read("\r\n\r"), (Lines{"", ""}));
    EXPECT_EQ(read(""), Lines{});
}

TEST_F(TextFileRead, ByteOrderMarkIsDroppedOnlyAtTheStart)
{
    EXPECT_EQ(read("\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b"), (Lines{"a", "\xEF\xBB\xBF" "b"}));
    EXPECT_EQ(read("\xEF\xBB\xBF"), Lines{});
}

TEST_F(TextFileRead, BytesArriveUnchangedWhateverTheirEncoding)
{
    const std::string nul("a\0b", 3);
    const std::string latin1 = "Stahl\xBFTr\xE4ger";           // single-byte text with the 0xBF separator
    const std::string broken = "\xC3\x28 \xE2\x82 \xFF";       // invalid UTF-8
    const std::string utf8 = "Länge¿Träger";
    EXPECT_EQ(read(nul + "\n" + latin1 + "\n" + broken + "\r\n" + utf8), (Lines{nul, latin1, broken, utf8}));
}

TEST_F(TextFileRead, UnreadableFilesAreRefusedWithTheirName)
{
    refuse(tmp.file("missing.txt"));
    refuse(tmp.path().string());
    kxtest::writeBytes(tmp.file("utf16.txt"), std::string("\xFF\xFE" "a\0\n\0", 6));
    EXPECT_NE(refuse(tmp.file("utf16.txt")).find("UTF-16"), std::string::npos);
    Kx_StringArray lines{"keep"};
    EXPECT_FALSE(ObjectExportReadFile("", lines));
    EXPECT_EQ(texts(lines), Lines{"keep"});
    kxhost::takeCommandLineText();
}

TEST_F(TextFileRead, LimitsHoldAtTheLimitAndRefuseOneByteBeyond)
{
    const std::string path = tmp.file("big.txt");
    std::string longest(kx::kMaxTextLineBytes, 'x');
    kxtest::writeBytes(path, "a\n" + longest + "\r\nb");
    EXPECT_EQ(read("a\n" + longest + "\r\nb").size(), 3u);

    kxtest::writeBytes(path, "a\n" + longest + "y\nb");
    EXPECT_NE(refuse(path).find("line 2"), std::string::npos);

    // 16 MiB exactly, in lines of 1 MiB less their line end.
    std::string file;
    const std::string line(kx::kMaxTextLineBytes - 1, 'z');
    while (file.size() < kx::kMaxTextFileBytes)
        file += line + "\n";
    ASSERT_EQ(file.size(), kx::kMaxTextFileBytes);
    EXPECT_EQ(read(file).size(), 16u);
    kxtest::writeBytes(path, file + "!");
    EXPECT_NE(refuse(path).find("16777217 bytes"), std::string::npos);
}

TEST_F(TextFileRead, LinesOfTheCallerAreReplacedNotExtended)
{
    kxtest::writeBytes(tmp.file("in.txt"), "new\n");
    Kx_StringArray lines{"old1", "old2"};
    ASSERT_TRUE(ObjectExportReadFile(Kx_String(tmp.file("in.txt")), lines));
    EXPECT_EQ(texts(lines), Lines{"new"});
}

class TextFileWrite : public ::testing::Test {
protected:
    void SetUp() override { kxhost::takeCommandLineText(); }
    kxtest::TempFolder tmp;
};

TEST_F(TextFileWrite, WhatIsWrittenReadsBackTheSame)
{
    const std::string path = tmp.file("out.shp");
    const std::vector<Lines> cases = {
        {},
        {""},
        {"", ""},
        {"a", "", "b"},
        {"Länge\xBF" "12.5\xBF" "Träger", std::string("x\0y", 3), "\xFF\xFE not UTF-16"},
        {"\xEF\xBB\xBF" "starts with a mark", "b"},
        {"\xFF\xFE" "looks like UTF-16"},
        {" leading and trailing blanks\t "},
    };
    for (const Lines& original : cases) {
        Kx_StringArray lines;
        for (const std::string& line : original)
            lines.append(Kx_String(line));
        ASSERT_TRUE(ObjectExportWriteFile(Kx_String(path), lines)) << kxhost::commandLineText();
        Kx_StringArray back{"junk"};
        ASSERT_TRUE(ObjectExportReadFile(Kx_String(path), back)) << kxhost::commandLineText();
        EXPECT_EQ(texts(back), original);
    }
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(TextFileWrite, LinesThatCannotReadBackAreRefusedAndTheOldFileKept)
{
    const std::string path = tmp.file("out.txt");
    kxtest::writeBytes(path, "old\n");
    for (const std::string& bad : {std::string("two\nlines"), std::string("cr\ronly"),
                                   std::string(kx::kMaxTextLineBytes + 1, 'x')}) {
        Kx_StringArray lines{"fine", Kx_String(bad)};
        EXPECT_FALSE(ObjectExportWriteFile(Kx_String(path), lines));
        EXPECT_NE(kxhost::takeCommandLineText().find("line 2"), std::string::npos);
        EXPECT_EQ(kxtest::readBytes(path), "old\n");
    }
    EXPECT_EQ(tmp.entries(), Lines{"out.txt"});
}

TEST_F(TextFileWrite, MissingFolderFailsWithAMessageAndLeavesNothing)
{
    Kx_StringArray lines{"a"};
    EXPECT_FALSE(ObjectExportWriteFile(Kx_String(tmp.file("no/such/folder/out.txt")), lines));
    EXPECT_NE(kxhost::takeCommandLineText().find("*Error* Cannot save"), std::string::npos);
    EXPECT_TRUE(tmp.entries().empty());
}

class FileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(tmp.file("set/sub/deeper"));
        for (const char* name : {"set/Stock1.shp", "set/stock2.SHP", "set/notes.txt", "set/Stock1.shp.bak",
                                 "set/sub/frame.txt", "set/sub/deeper/plate.txt", "set/a.txt"})
            kxtest::writeBytes(tmp.file(name), "x");
        std::filesystem::create_directories(tmp.file("set/folder.shp"));
    }
    kxtest::TempFolder tmp;
};

TEST_F(FileSearch, PatternMatchesFileNamesOnlyIgnoringAsciiCase)
{
    const std::string folder = tmp.file("set");
    Kx_StringArray found{"junk"};
    ASSERT_TRUE(ObjectExportFindFiles(Kx_String(folder), "*.shp", found));
    EXPECT_EQ(texts(found), (Lines{folder + "/Stock1.shp", folder + "/stock2.SHP"}));
    ASSERT_TRUE(ObjectExportFindFiles(Kx_String(folder + "/"), "Stock?.shp", found));
    EXPECT_EQ(texts(found), (Lines{folder + "/Stock1.shp", folder + "/stock2.SHP"}));
    ASSERT_TRUE(ObjectExportFindFiles(Kx_String(folder), "*.dat", found));
    EXPECT_TRUE(found.isEmpty());
    EXPECT_FALSE(ObjectExportFindFiles(Kx_String(tmp.file("missing")), "*", found));
    EXPECT_TRUE(found.isEmpty());
}

TEST_F(FileSearch, RecursiveSearchGivesNamesInTheFoldersOwnStyle)
{
    const std::string root = tmp.file("set") + "\\";
    Kx_StringArray found;
    ASSERT_TRUE(ObjectExportFindFilesRecursive(Kx_String(root), "*.txt", found));
    EXPECT_EQ(texts(found), (Lines{root + "a.txt", root + "notes.txt", root + "sub\\deeper\\plate.txt",
                                   root + "sub\\frame.txt"}));
}

TEST_F(FileSearch, RecursiveSearchDoesNotFollowLinkedFolders)
{
    std::filesystem::create_directory_symlink(tmp.file("set"), tmp.file("set/sub/loop"));
    Kx_StringArray found;
    ASSERT_TRUE(ObjectExportFindFilesRecursive(Kx_String(tmp.file("set")), "*.txt", found));
    EXPECT_EQ(found.length(), 4);
}

TEST(FilePattern, WildcardsMatchWholeCharacters)
{
    EXPECT_TRUE(kx::matchesPattern("Träger.shp", "Tr?ger.*"));
    EXPECT_TRUE(kx::matchesPattern("abc", "a*b*c*"));
    EXPECT_TRUE(kx::matchesPattern("", "*"));
    EXPECT_FALSE(kx::matchesPattern("x", ""));
    EXPECT_TRUE(kx::matchesPattern("x", "x"));
    EXPECT_FALSE(kx::matchesPattern("a.shp.bak", "*.shp"));
    EXPECT_TRUE(kx::matchesPattern(std::string(200, 'a'), "*a*a*a*a*a*a*a*"));
    EXPECT_FALSE(kx::matchesPattern(std::string(200, 'a'), "*a*a*a*a*a*a*b*"));
}

class FileOperations : public ::testing::Test {
protected:
    void SetUp() override { kxhost::takeCommandLineText(); }
    kxtest::TempFolder tmp;
};

TEST_F(FileOperations, CopyOntoItselfLeavesTheFileIntactHoweverNamed)
{
    const std::string path = tmp.file("pic.bmp");
    const std::string bytes = "BM picture bytes";
    kxtest::writeBytes(path, bytes);
    std::filesystem::create_symlink(path, tmp.file("link.bmp"));
    std::filesystem::create_hard_link(path, tmp.file("hard.bmp"));

    EXPECT_TRUE(copyFile(Kx_String(path), Kx_String(path)));
    EXPECT_TRUE(copyFile(Kx_String(path), Kx_String(tmp.path().string() + "\\.\\pic.bmp")));
    EXPECT_TRUE(copyFile(Kx_String(tmp.file("link.bmp")), Kx_String(path)));
    EXPECT_TRUE(copyFile(Kx_String(path), Kx_String(tmp.file("hard.bmp"))));
    EXPECT_EQ(kxtest::readBytes(path), bytes);
    EXPECT_EQ(tmp.entries(), (Lines{"hard.bmp", "link.bmp", "pic.bmp"}));
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(FileOperations, CopyReplacesTheTargetOrFailsWithoutTouchingIt)
{
    const std::string from = tmp.file("a.bmp");
    const std::string to = tmp.file("b.bmp");
    std::string big(3 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    kxtest::writeBytes(from, big);
    kxtest::writeBytes(to, "old");
    ASSERT_TRUE(copyFile(Kx_String(from), Kx_String(to)));
    EXPECT_EQ(kxtest::readBytes(to), big);

    kxtest::writeBytes(to, "old");
    EXPECT_FALSE(copyFile(Kx_String(tmp.file("missing.bmp")), Kx_String(to)));
    EXPECT_FALSE(copyFile(Kx_String(tmp.path().string()), Kx_String(to)));
    EXPECT_EQ(kxtest::readBytes(to), "old");
    EXPECT_NE(kxhost::takeCommandLineText().find("*Error* Cannot copy"), std::string::npos);
    EXPECT_EQ(tmp.entries(), (Lines{"a.bmp", "b.bmp"}));
}

TEST_F(FileOperations, CreateDirectoryMakesParentsAndRefusesAFileInTheWay)
{
    EXPECT_TRUE(ObjectExportCreateDirectory(Kx_String(tmp.path().string() + "\\Cutting Stock\\Set A\\")));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.file("Cutting Stock/Set A")));
    EXPECT_TRUE(ObjectExportCreateDirectory(Kx_String(tmp.file("Cutting Stock"))));
    kxtest::writeBytes(tmp.file("file"), "x");
    EXPECT_FALSE(ObjectExportCreateDirectory(Kx_String(tmp.file("file"))));
    EXPECT_FALSE(ObjectExportCreateDirectory(Kx_String(tmp.file("file/sub"))));
    EXPECT_FALSE(ObjectExportCreateDirectory(""));
}

TEST_F(FileOperations, DeleteRemovesFilesButNeverFolders)
{
    kxtest::writeBytes(tmp.file("x.bmp"), "x");
    std::filesystem::create_directories(tmp.file("folder"));
    EXPECT_TRUE(deleteFile(Kx_String(tmp.file("x.bmp"))));
    EXPECT_FALSE(deleteFile(Kx_String(tmp.file("x.bmp"))));
    EXPECT_FALSE(deleteFile(Kx_String(tmp.file("folder"))));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.file("folder")));
}

TEST_F(FileOperations, FileTimeTellsTheNewerFileApart)
{
    const std::string older = tmp.file("old.shp");
    const std::string newer = tmp.file("new.shp");
    kxtest::writeBytes(older, "1");
    kxtest::writeBytes(newer, "2");
    const auto base = std::filesystem::last_write_time(older);
    std::filesystem::last_write_time(newer, base + std::chrono::milliseconds(5));

    CTime a;
    CTime b;
    ASSERT_TRUE(ObjectExportGetFileTime(Kx_String(older), a));
    ASSERT_TRUE(ObjectExportGetFileTime(Kx_String(newer), b));
    EXPECT_LT(a, b);
    const CTime before = a;
    EXPECT_FALSE(ObjectExportGetFileTime(Kx_String(tmp.file("missing")), a));
    EXPECT_EQ(a, before);
}

} // namespace
