// The save routine as the grid uses it, with file names as the system spells them: what a name
// means (separators, links, folders) and that a failure leaves nothing behind. The fault loops over
// every step run in the core module's and the grid's tests, which save through this routine.
#include "platform/win/SaveFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class SaveFileNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* home = std::getenv("KESTRA_SS_HOME");
        std::string pattern =
            (home != nullptr && *home != '\0' ? std::string(home) : ::testing::TempDir()) + "/kxsave-XXXXXX";
        fs::create_directories(fs::path(pattern).parent_path());
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
        m_folder = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string file(const std::string& name) const { return m_folder + "/" + name; }

    std::set<std::string> entries(const std::string& sub = {}) const
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(sub.empty() ? m_folder : file(sub)))
            names.insert(e.path().filename().string());
        return names;
    }

    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::string m_folder;
};

TEST_F(SaveFileNames, ABackslashIsANameCharacterUnlessTheCallerSaysOtherwise)
{
    fs::create_directories(file("sub"));
    std::string error;
    ASSERT_TRUE(kxwin::saveFileAtomically(file("sub\\a.sheet"), "native", error)) << error;
    ASSERT_TRUE(kxwin::saveFileAtomically(file("sub\\a.sheet"), "mapped", error,
                                          kxwin::PathSeparators::AcceptBackslash))
        << error;
    EXPECT_EQ(read(file("sub\\a.sheet")), "native");
    EXPECT_EQ(read(file("sub/a.sheet")), "mapped");
    EXPECT_EQ(entries(), (std::set<std::string>{"sub", "sub\\a.sheet"}));
}

TEST_F(SaveFileNames, ALinkStaysALinkEvenWhenItsFileDoesNotExistYet)
{
    fs::create_directories(file("real"));
    fs::create_symlink("real/new.sheet", file("new.sheet"));
    fs::create_symlink("new.sheet", file("second.sheet"));
    std::string error;
    ASSERT_TRUE(kxwin::saveFileAtomically(file("second.sheet"), "bytes", error)) << error;
    EXPECT_TRUE(fs::is_symlink(file("new.sheet")));
    EXPECT_TRUE(fs::is_symlink(file("second.sheet")));
    EXPECT_EQ(read(file("real/new.sheet")), "bytes");
    EXPECT_EQ(entries("real"), std::set<std::string>{"new.sheet"});

    // A link that leads round in a circle is refused, not followed for ever.
    fs::create_symlink("loop.b", file("loop.a"));
    fs::create_symlink("loop.a", file("loop.b"));
    EXPECT_FALSE(kxwin::saveFileAtomically(file("loop.a"), "x", error));
    EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
}

TEST_F(SaveFileNames, AFolderOrAnEmptyNameIsRefusedBeforeAnythingIsWritten)
{
    fs::create_directories(file("folder"));
    kxwin::FailingFileOps counting(/*failAt=*/0);
    kxwin::ScopedFileOps use(counting);
    std::string error;
    EXPECT_FALSE(kxwin::saveFileAtomically(file("folder"), "x", error));
    EXPECT_EQ(error, "Cannot save \"" + file("folder") + "\": the name is a folder, not a file");
    EXPECT_FALSE(kxwin::saveFileAtomically(file("folder") + "/", "x", error));
    EXPECT_FALSE(kxwin::saveFileAtomically("", "x", error));
    EXPECT_FALSE(kxwin::saveFileAtomically(std::string("a\0b", 3), "x", error));
    EXPECT_EQ(counting.operationCount(), 0);
    EXPECT_EQ(entries(), std::set<std::string>{"folder"});
    EXPECT_TRUE(entries("folder").empty());
}

} // namespace
