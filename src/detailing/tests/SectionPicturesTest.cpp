// Tests of the section pictures: the choice of the base name, the fall-backs and the automatic
// picture of a user section.
#include "detailing/SectionPictures.h"

#include "DetailingTestSupport.h"
#include "core/CButtonST.h"
#include "core/SectionCatalogue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

class SectionPicture : public kxtest::DetailingTest {
protected:
    Kx_String picture(const std::string& name, const std::string& drawing, int type, bool big)
    {
        return sectionPicture({Kx_String(name), Kx_String(drawing), type, big});
    }
    // Sets a file's modification time relative to now.
    void age(const std::string& path, std::chrono::seconds ago)
    {
        fs::last_write_time(path, fs::file_time_type::clock::now() - ago);
    }
};

TEST_F(SectionPicture, TheBaseNameComesFromTheNameTheDrawingOrTheType)
{
    kxtest::writeBytes(icon("ProfSectionI-big.bmp"), "I");
    kxtest::writeBytes(icon("HEA-200-small.bmp"), "n");
    kxtest::writeBytes(icon("frame.dwg-big.bmp"), "d");
    EXPECT_EQ(picture("HEA-200", "", 1, false), Kx_String(icon("HEA-200-small.bmp")));
    // A drawing is found by its file name wherever its folder is.
    EXPECT_EQ(picture("HEA-200", "C:\\Drawings\\frame.dwg", 1, true), Kx_String(icon("frame.dwg-big.bmp")));
    EXPECT_EQ(picture("HEA-200", "/elsewhere/frame.DWG", 1, true), Kx_String(icon("Unknown-big.bmp")));
    EXPECT_EQ(picture("HEA-200", "frame.txt", 1, true), Kx_String(icon("ProfSectionI-big.bmp")));
    // Type numbers outside the catalogue have no name, so only the unknown picture is left.
    EXPECT_EQ(picture("x", "frame.txt", 0, true), Kx_String(icon("Unknown-big.bmp")));
    EXPECT_EQ(picture("x", "frame.txt", 25, false), Kx_String(icon("Unknown-small.bmp")));
    // A name that would leave the icon folder is not looked for outside it.
    kxtest::writeBytes(res.file("secret-big.bmp"), "s");
    EXPECT_EQ(picture("../secret", "", 1, true), Kx_String(icon("Unknown-big.bmp")));
}

TEST_F(SectionPicture, AUserSectionGetsItsAutomaticPictureOnlyWhenSmall)
{
    kxtest::writeBytes(libFile("User Sections/Frame.bmp"), "source");
    EXPECT_EQ(picture("User Sections\\Frame", "", 0, true), Kx_String(icon("Unknown-big.bmp")));
    EXPECT_FALSE(fs::exists(icon("Frame-automated.bmp")));
    EXPECT_EQ(picture("User Sections\\Frame", "", 0, false), Kx_String(icon("Frame-automated.bmp")));
    EXPECT_EQ(kxtest::readBytes(icon("Frame-automated.bmp")), "source");
    // Its own small icon wins over the automatic one.
    kxtest::writeBytes(icon("Frame-small.bmp"), "own");
    EXPECT_EQ(picture("User Sections\\Frame", "", 0, false), Kx_String(icon("Frame-small.bmp")));
}

TEST_F(SectionPicture, AnOlderAutomaticCopyIsRefreshedAndANewerOneKept)
{
    const std::string source = libFile("User Sections/Frame.bmp");
    kxtest::writeBytes(source, "new source");
    kxtest::writeBytes(icon("Frame-automated.bmp"), "old copy");
    age(icon("Frame-automated.bmp"), std::chrono::seconds(100));
    Kx_String path;
    ASSERT_TRUE(userSectionPicture("Frame", path));
    EXPECT_EQ(path, Kx_String(icon("Frame-automated.bmp")));
    EXPECT_EQ(kxtest::readBytes(icon("Frame-automated.bmp")), "new source");

    kxtest::writeBytes(icon("Frame-automated.bmp"), "edited copy");
    age(source, std::chrono::seconds(100));
    ASSERT_TRUE(userSectionPicture("Frame", path));
    EXPECT_EQ(kxtest::readBytes(icon("Frame-automated.bmp")), "edited copy");
}

TEST_F(SectionPicture, TheAutomaticPictureFailsWhenTheCopyFailsOrAPathLeavesItsFolder)
{
    Kx_String path = "untouched";
    EXPECT_FALSE(userSectionPicture("Missing", path));
    kxtest::writeBytes(libFile("User Sections/Frame.bmp"), "source");
    // The copy cannot be made: the target name is taken by a folder.
    fs::create_directory(icon("Frame-automated.bmp"));
    EXPECT_FALSE(userSectionPicture("Frame", path));
    kxtest::writeBytes(libFile("Outside.bmp"), "outside");
    EXPECT_FALSE(userSectionPicture("..\\Outside", path));
    EXPECT_FALSE(userSectionPicture("../../x", path));
    EXPECT_EQ(path, Kx_String("untouched"));
    EXPECT_EQ(picture("User Sections\\Frame", "", 0, false), Kx_String(icon("Unknown-small.bmp")));
    kxhost::takeCommandLineText();
}

// A 2 x 1 picture, 24 bits: one white and one red pixel.
std::string tinyBitmap()
{
    std::string b = "BM";
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF); };
    auto u16 = [&](uint16_t v) { b += static_cast<char>(v & 0xFF); b += static_cast<char>(v >> 8); };
    u32(62); u32(0); u32(54);
    u32(40); u32(2); u32(1); u16(1); u16(24); u32(0); u32(8); u32(2835); u32(2835); u32(0); u32(0);
    b += std::string("\xFF\xFF\xFF\x00\x00\xFF\x00\x00", 8);
    return b;
}

TEST_F(SectionPicture, AButtonPictureComesFromTheIconFolderOnly)
{
    HWND hwnd = CreateWindowEx(0, "Button", "", WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 40, 40, nullptr, 1);
    CButtonST button;
    ASSERT_TRUE(button.SubclassWindow(hwnd));
    EXPECT_FALSE(setButtonPicture(button, "ProfSectionI-big.bmp", false));
    EXPECT_FALSE(button.hasPicture());
    kxtest::writeBytes(res.file("outside.bmp"), tinyBitmap());
    EXPECT_FALSE(setButtonPicture(button, "..\\outside.bmp", false));
    kxtest::writeBytes(icon("ProfSectionI-big.bmp"), tinyBitmap());
    EXPECT_TRUE(setButtonPicture(button, "ProfSectionI-big.bmp", true));
    EXPECT_TRUE(button.hasPicture());
    EXPECT_TRUE(button.isFlat());
    button.DestroyWindow();
}

TEST_F(SectionPicture, TheCatalogueNamesAreFixed)
{
    EXPECT_EQ(sectionTypeName(1), Kx_String("ProfSectionI"));
    EXPECT_EQ(sectionTypeName(10), Kx_String("ProfSectionRectTube"));
    EXPECT_EQ(sectionTypeName(19), Kx_String("ProfSectionSigma+"));
    EXPECT_EQ(sectionTypeName(24), Kx_String("ProfSectionDouble Cleat"));
    EXPECT_TRUE(sectionTypeName(0).isEmpty());
    EXPECT_TRUE(sectionTypeName(25).isEmpty());
    EXPECT_TRUE(sectionTypeName(-1).isEmpty());
}

} // namespace
