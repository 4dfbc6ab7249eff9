// Tests of the profile table files: what is written reads back the same, peers' single-byte files
// read as text, refused tables and failed saves leave the old file, names stay in their folder; and
// the one check of a typed file name.
#include "core/TableFiles.h"

#include "core/FileNameCheck.h"
#include "core/SaveFile.h"
#include "core/tests/DialogTestSupport.h"
#include "core/tests/FileTestSupport.h"
#include "platform/host/CommandLine.h"

#include <filesystem>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows plain(const Kx_Array<Kx_StringArray>& rows)
{
    Rows out;
    for (const Kx_StringArray& row : rows) {
        out.emplace_back();
        for (const Kx_String& cell : row)
            out.back().push_back(cell.str());
    }
    return out;
}

Kx_Array<Kx_StringArray> table(const Rows& rows)
{
    Kx_Array<Kx_StringArray> out;
    for (const auto& row : rows) {
        Kx_StringArray r;
        for (const auto& cell : row)
            r.append(Kx_String(cell));
        out.append(r);
    }
    return out;
}

class TableFile : public ::testing::Test {
protected:
    void SetUp() override { kxhost::takeCommandLineText(); }
    kxtest::TempFolder tmp;
};

TEST_F(TableFile, WhatIsWrittenReadsBackTheSame)
{
    const Rows rows = {{"10"},
                       {"SysName", "Active", "English", "Français", "h", "note"},
                       {"200", "1", "HEA 200", "HEA 200", "190", ""},
                       {"Träger ÿ¿", "0", "", "", "", "x\\y \"q\""},
                       {},
                       {"last"}};
    const std::string path = tmp.file("HEA.pr");
    ASSERT_TRUE(writeFile(Kx_String(path), table(rows))) << kxhost::commandLineText();
    EXPECT_EQ(kxtest::readBytes(path).substr(0, 14), "10\nSysName\tAct");

    Kx_String title;
    Kx_Array<Kx_StringArray> back;
    ASSERT_TRUE(readFile(Kx_String(path), title, back));
    EXPECT_EQ(title, Kx_String("HEA"));
    EXPECT_EQ(plain(back), rows);
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(TableFile, PeerFilesInWindows1252AndOtherLineEndsReadAsText)
{
    const std::string path = tmp.file("peer.pr");
    // "Träger" and "€" in Windows-1252, CR LF line ends, no end after the last line.
    kxtest::writeBytes(path, "10\r\nSysName\tActive\tDutch\r\n100\t1\tTr\xE4ger \x80\r\n200\t0\t\xFF");
    Kx_String title;
    Kx_Array<Kx_StringArray> rows;
    ASSERT_TRUE(readFile(Kx_String(path), title, rows));
    EXPECT_EQ(plain(rows), (Rows{{"10"}, {"SysName", "Active", "Dutch"}, {"100", "1", "Träger €"}, {"200", "0", "ÿ"}}));

    // A UTF-8 file is never taken as single-byte text, and its byte-order mark is not a cell.
    kxtest::writeBytes(path, "\xEF\xBB\xBF" "10\nSysName\nTräger\n");
    ASSERT_TRUE(readFile(Kx_String(path), title, rows));
    EXPECT_EQ(plain(rows), (Rows{{"10"}, {"SysName"}, {"Träger"}}));
}

TEST_F(TableFile, ACellThatWouldReadBackDifferentlyIsRefusedAndTheOldFileKept)
{
    const std::string path = tmp.file("keep.pr");
    kxtest::writeBytes(path, "old\n");
    for (const auto& [cell, why] : std::vector<std::pair<std::string, std::string>>{
             {"a\tb", "row 2, column 2 holds a tab"},
             {"a\nb", "row 2, column 2 holds a line break"},
             {"a\rb", "row 2, column 2 holds a line break"},
             {"Tr\xE4ger", "row 2, column 2 is not UTF-8 text"},
             {"\xC3", "row 2, column 2 is not UTF-8 text"}}) {
        EXPECT_FALSE(writeFile(Kx_String(path), table({{"10"}, {"x", cell}})));
        const std::string message = kxhost::takeCommandLineText();
        EXPECT_NE(message.find("*Error* Cannot save"), std::string::npos);
        EXPECT_NE(message.find(why), std::string::npos) << message;
        EXPECT_EQ(kxtest::readBytes(path), "old\n");
    }
    EXPECT_FALSE(writeFile(Kx_String(path), table({{"\xEF\xBB\xBF" "10"}})));
    EXPECT_EQ(kxtest::readBytes(path), "old\n");
    EXPECT_EQ(tmp.entries(), std::vector<std::string>{"keep.pr"});
}

TEST_F(TableFile, AFailedSaveLeavesTheOldFileAndNoTemporary)
{
    const std::string path = tmp.file("HEB.pr");
    kxtest::writeBytes(path, "old\n");
    for (int k = 1;; ++k) {
        kx::FailingFileOps ops(k);
        bool saved = false;
        {
            kx::ScopedFileOps scope(ops);
            saved = writeFile(Kx_String(path), table({{"10"}, {"SysName"}, {"100"}}));
        }
        kxhost::takeCommandLineText();
        if (!ops.hasFailed()) {
            ASSERT_TRUE(saved);
            EXPECT_EQ(kxtest::readBytes(path), "10\nSysName\n100\n");
            break;
        }
        if (saved) {
            ASSERT_EQ(kxtest::readBytes(path), "10\nSysName\n100\n") << "fault " << k;
            continue;
        }
        // Once the rename is done the file is the new one; before, it is the old one untouched.
        ASSERT_EQ(kxtest::readBytes(path), ops.hasRenamed() ? "10\nSysName\n100\n" : "old\n") << "fault " << k;
        ASSERT_EQ(tmp.entries(), std::vector<std::string>{"HEB.pr"}) << "fault " << k;
        ASSERT_LT(k, 50);
    }
}

TEST_F(TableFile, AFileThatCannotBeReadChangesNothing)
{
    Kx_String title = "keep";
    Kx_Array<Kx_StringArray> rows = table({{"keep"}});
    EXPECT_FALSE(readFile(Kx_String(tmp.file("missing.pr")), title, rows));
    const std::string utf16 = tmp.file("utf16.pr");
    kxtest::writeBytes(utf16, std::string("\xFF\xFE" "1\0\n\0", 6));
    EXPECT_FALSE(readFile(Kx_String(utf16), title, rows));
    EXPECT_EQ(title, Kx_String("keep"));
    EXPECT_EQ(plain(rows), (Rows{{"keep"}}));
    EXPECT_NE(kxhost::takeCommandLineText().find("*Error* Cannot read"), std::string::npos);
}

TEST_F(TableFile, NamesFromDataStayInsideTheTableFolder)
{
    std::filesystem::create_directories(tmp.path() / "prof" / "sub");
    const Kx_String folder(tmp.file("prof"));
    EXPECT_TRUE(kx::tablePathUnder(folder, "HEA.pr"));
    EXPECT_TRUE(kx::tablePathUnder(folder, "sub\\HEA.pr"));
    EXPECT_TRUE(kx::tablePathUnder(folder, "sub/../HEA.pr"));
    for (const char* bad : {"", "..\\HEA.pr", "../prof2/HEA.pr", "/etc/passwd", "C:\\Lib\\HEA.pr", "sub\\..\\..\\x.pr"})
        EXPECT_FALSE(kx::tablePathUnder(folder, bad)) << bad;
    std::filesystem::create_directory_symlink(tmp.path(), tmp.path() / "prof" / "out");
    EXPECT_FALSE(kx::tablePathUnder(folder, "out\\HEA.pr"));
}

TEST(FileNameCheck, RefusesEveryNameThatCannotBeOneFileName)
{
    for (const char* good : {"HEA", "HEA 200.pr", "Träger", "a.b", ".hidden", "x-y_z (2)"})
        EXPECT_FALSE(kx::invalidFileNameReason(good)) << good;
    const std::vector<std::pair<std::string, int>> bad = {
        {"", 2302},      {".", 2304},      {"..", 2304},      {"a\\b", 2303},   {"a/b", 2303},
        {"C:", 2303},    {"a*", 2303},     {"a?", 2303},      {"\"a\"", 2303},  {"<a>", 2303},
        {"a|b", 2303},   {"a\tb", 2303},   {"a\nb", 2303},    {"a\x7f", 2303},  {"name.", 2305},
        {"name ", 2305}, {"...", 2305},    {"..\\x", 2303}};
    for (const auto& [name, reason] : bad)
        EXPECT_EQ(kx::invalidFileNameReason(Kx_String(name)), std::optional<int>(reason)) << name;
}

class FileNameWarning : public kxtest::CoreDialogTest {};

TEST_F(FileNameWarning, TheMessageNamesTheRefusedTextAndSaysWhy)
{
    EXPECT_TRUE(warnInvalidFileName("IPE 200"));
    EXPECT_TRUE(agent.messageBoxes().empty());

    agent.answerMessageBox(IDOK);
    EXPECT_FALSE(warnInvalidFileName("sub\\IPE"));
    ASSERT_EQ(agent.messageBoxes().size(), 1u);
    const auto& box = agent.messageBoxes().back();
    EXPECT_NE(box.text.find("\"sub\\IPE\""), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("cannot hold"), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, "Invalid name");

    agent.answerMessageBox(IDOK);
    EXPECT_FALSE(warnInvalidFileName(""));
    EXPECT_EQ(agent.messageBoxes().back().text, "Please type a name.");
}

} // namespace
