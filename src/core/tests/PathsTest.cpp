// Tests of path name arithmetic and of the check that keeps names from data inside their root.
#include "core/Paths.h"

#include "FileTestSupport.h"

#include <unistd.h>

#include <filesystem>

namespace {

std::string s(const Kx_String& text) { return text.str(); }

TEST(PathNames, ExtensionOpsOnlyLookAtTheLastPart)
{
    EXPECT_EQ(s(changeExtension("C:\\Lib\\frame.txt", "bmp")), "C:\\Lib\\frame.bmp");
    EXPECT_EQ(s(changeExtension("lib/v1.2/frame", "bmp")), "lib/v1.2/frame.bmp");
    EXPECT_EQ(s(changeExtension("lib\\v1.2\\frame", "bmp")), "lib\\v1.2\\frame.bmp");
    EXPECT_EQ(s(changeExtension("a.tar.gz", "zip")), "a.tar.zip");
    EXPECT_EQ(s(changeExtension("a.txt", ".bmp")), "a.bmp");
    EXPECT_EQ(s(changeExtension("a.txt", "")), "a");
    EXPECT_EQ(s(removeExtension("dir\\.hidden")), "dir\\.hidden");
    EXPECT_EQ(s(removeExtension("dir/..")), "dir/..");
    EXPECT_EQ(s(removeExtension("name.")), "name");
    EXPECT_EQ(s(removeExtension("Stück.shp")), "Stück");
    EXPECT_EQ(s(removeExtension("")), "");
}

TEST(PathNames, FolderAndNameSplitAtEitherSeparatorAndJoinBack)
{
    for (const char* path : {"C:\\Lib\\sub/frame.txt", "/abs/x", "plain.txt", "folder\\", "C:name.txt", "", "\\"}) {
        const Kx_String p(path);
        EXPECT_EQ(s(getPath(p)) + s(getFileName(p)), path) << path;
    }
    EXPECT_EQ(s(getFileName("C:\\Lib\\sub/frame.txt")), "frame.txt");
    EXPECT_EQ(s(getPath("C:\\Lib\\sub/frame.txt")), "C:\\Lib\\sub/");
    EXPECT_EQ(s(getFileName("C:name.txt")), "name.txt");
    EXPECT_EQ(s(getFileName("folder\\")), "");
    EXPECT_EQ(s(getPath("plain.txt")), "");
    Kx_String name("unchanged");
    getFileName("a/b/c.bmp", name);
    EXPECT_EQ(s(name), "c.bmp");
}

TEST(PathNames, NativePathRefusesEmptyAndNulNames)
{
    EXPECT_EQ(kx::toNativePath("a\\b/c"), std::optional<std::string>("a/b/c"));
    EXPECT_FALSE(kx::toNativePath(""));
    EXPECT_FALSE(kx::toNativePath(std::string_view("a\0/etc/passwd", 13)));
}

class PathConfinement : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = tmp.file("Lib");
        std::filesystem::create_directories(root + "/sub");
        std::filesystem::create_directories(tmp.file("Lib2"));
        std::filesystem::create_directories(tmp.file("outside"));
    }
    bool under(const std::string& path) const { return isPathUnderRoot(Kx_String(root), Kx_String(path)); }

    kxtest::TempFolder tmp;
    std::string root;
};

TEST_F(PathConfinement, NamesInsideTheRootPassWithEitherSeparator)
{
    EXPECT_TRUE(under(root + "/sub/frame.txt"));
    EXPECT_TRUE(under(root + "\\sub\\frame.txt"));
    EXPECT_TRUE(under(root + "/new/folder/that/does/not/exist.txt"));
    EXPECT_TRUE(under(root + "/sub/../frame.txt"));
    EXPECT_TRUE(under(root));
    EXPECT_TRUE(isPathUnderRoot(Kx_String(root + "\\"), Kx_String(root + "/a.txt")));
}

TEST_F(PathConfinement, DotDotOutOfTheRootIsRefusedHoweverWritten)
{
    EXPECT_FALSE(under(root + "/../outside/x.txt"));
    EXPECT_FALSE(under(root + "\\..\\outside\\x.txt"));
    EXPECT_FALSE(under(root + "/sub/../../outside/x.txt"));
    EXPECT_FALSE(under(root + "/missing/../../outside/x.txt"));
    EXPECT_FALSE(under(root + "/.."));
}

TEST_F(PathConfinement, SiblingWithTheRootAsPrefixIsOutside)
{
    EXPECT_FALSE(under(tmp.file("Lib2") + "/x.txt"));
    EXPECT_FALSE(under(tmp.file("Lib2")));
    EXPECT_FALSE(under(root + "2/x.txt"));
    // The same with Windows-style names, which on this system are relative to the current folder.
    EXPECT_FALSE(isPathUnderRoot("C:\\Lib", "C:\\Lib2\\x.txt"));
    EXPECT_TRUE(isPathUnderRoot("C:\\Lib", "C:\\Lib\\x.txt"));
    EXPECT_FALSE(isPathUnderRoot("C:\\Lib", "D:\\Lib\\x.txt"));
}

TEST_F(PathConfinement, AbsoluteNamesElsewhereAreOutside)
{
    EXPECT_FALSE(under("/etc/passwd"));
    EXPECT_FALSE(under("\\etc\\passwd"));
    EXPECT_FALSE(under("relative.txt"));
}

TEST_F(PathConfinement, SymbolicLinksAreJudgedByWhereTheyLead)
{
    std::filesystem::create_directory_symlink(tmp.file("outside"), root + "/escape");
    std::filesystem::create_symlink("../outside/secret.txt", root + "/file-link.txt");
    std::filesystem::create_directory_symlink(root + "/sub", tmp.file("outside") + "/back-in");
    std::filesystem::create_directory_symlink(root + "/sub", root + "/alias");

    EXPECT_FALSE(under(root + "/escape/x.txt"));
    EXPECT_FALSE(under(root + "/escape"));
    EXPECT_FALSE(under(root + "/file-link.txt"));
    EXPECT_FALSE(under(root + "/missing/../escape/x.txt"));
    // ".." after a link climbs from where the link leads, as the kernel does.
    EXPECT_FALSE(under(root + "/alias/../../outside/x.txt"));
    EXPECT_TRUE(under(root + "/alias/x.txt"));
    EXPECT_TRUE(under(tmp.file("outside") + "/back-in/x.txt"));
    // A root reached through a link is compared by its real place.
    EXPECT_TRUE(isPathUnderRoot(Kx_String(tmp.file("outside") + "/back-in"), Kx_String(root + "/sub/x.txt")));
}

TEST_F(PathConfinement, LinkLoopsAndBadNamesAreRefusedNotFollowedForever)
{
    std::filesystem::create_symlink(root + "/loop-b", root + "/loop-a");
    std::filesystem::create_symlink(root + "/loop-a", root + "/loop-b");
    EXPECT_FALSE(under(root + "/loop-a/x.txt"));
    EXPECT_FALSE(under(""));
    EXPECT_FALSE(under(root + std::string("/a\0/../../x", 11)));
    EXPECT_FALSE(isPathUnderRoot("", Kx_String(root)));
}

TEST_F(PathConfinement, RelativeNamesAreResolvedFromTheCurrentFolder)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(root);
    EXPECT_TRUE(under("sub/x.txt"));
    EXPECT_TRUE(under("./sub\\..\\x.txt"));
    EXPECT_FALSE(under("../outside/x.txt"));
    std::filesystem::current_path(before);
}

TEST_F(PathConfinement, NamesFromDataAreJoinedOnlyWhenTheyStayInside)
{
    EXPECT_EQ(kx::resolveUnderRoot(root, "sub\\frame.txt"), std::optional<std::string>(root + "/sub/frame.txt"));
    EXPECT_EQ(kx::resolveUnderRoot(root + "/", "frame.txt"), std::optional<std::string>(root + "/frame.txt"));
    EXPECT_FALSE(kx::resolveUnderRoot(root, "..\\outside\\x.txt"));
    EXPECT_FALSE(kx::resolveUnderRoot(root, "/etc/passwd"));
    EXPECT_FALSE(kx::resolveUnderRoot(root, "\\etc\\passwd"));
    EXPECT_FALSE(kx::resolveUnderRoot(root, "C:\\Windows\\x"));
    EXPECT_FALSE(kx::resolveUnderRoot(root, ""));
}

} // namespace
