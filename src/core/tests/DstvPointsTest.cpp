// The DSTV point groups: the group file format, the folder and the standard group.
#include "core/DstvPoints.h"
#include "core/tests/FileTestSupport.h"

#include "core/Kx_Settings.h"
#include "platform/host/CommandLine.h"

namespace {

Kx_Array<Kx_DstvPointInfo> samplePoints()
{
    Kx_DstvPointInfo a;
    a.setName("Stiffener corner");
    Kx_DstvPointInfo b;
    b.setName("Ende ä ¿");
    b.setSelectGeomExtent(false, 1, 3);
    b.setSelectIntersGeom(true, false, 2);
    b.setPlateSelection(1, 5, 0.1 + 0.2);  // not exactly 0.3: the file keeps every bit
    b.setDrillFullHole(true, true, 2.5);
    return {a, b};
}

TEST(DstvGroupFile, PointsReadBackExactlyAlsoUnderADecimalCommaLocale)
{
    kxtest::TempFolder dir;
    const Kx_String path(dir.file("g.dat"));
    kxtest::GermanLocale german;
    ASSERT_TRUE(DlgDstvPoints::writeToFile(path, samplePoints()));
    EXPECT_NE(kxtest::readBytes(path.str()).find("point\tEnde ä ¿\t0\t1\t3\t1\t0\t2\t1\t5\t0.30000000000000004\t1\t1\t2.5\n"),
              std::string::npos)
        << kxtest::readBytes(path.str());
    Kx_Array<Kx_DstvPointInfo> back;
    ASSERT_TRUE(DlgDstvPoints::readFromFile(path, back));
    EXPECT_EQ(back, samplePoints());
}

TEST(DstvGroupFile, AnEmptyFileIsAnEmptyGroupAndANewPointHasTheDefaults)
{
    Kx_Array<Kx_DstvPointInfo> points = samplePoints();
    std::string error;
    ASSERT_TRUE(kx::parseDstvPoints("", points, error));
    EXPECT_TRUE(points.isEmpty());
    ASSERT_TRUE(kx::parseDstvPoints("# only a comment\r\n\r\n", points, error));
    EXPECT_TRUE(points.isEmpty());

    const Kx_DstvPointInfo p;
    EXPECT_TRUE(p.selectGeomExtent());
    EXPECT_EQ(p.extentSideA(), 0);
    EXPECT_EQ(p.extentSideB(), 2);
    EXPECT_FALSE(p.selectIntersGeom());
    EXPECT_TRUE(p.middle());
    EXPECT_EQ(p.minDistance(), 50.0);
    EXPECT_FALSE(p.drillFullHole());
    EXPECT_EQ(p.holeDiameter(), 16.0);
}

TEST(DstvGroupFile, ABadLineMakesTheFileUnreadableNamingTheLineAndLeavesThePointsAlone)
{
    const std::string good = "point\tA\t1\t0\t2\t0\t1\t0\t0\t0\t50\t0\t0\t16\n";
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {good + "point\tB\t1\t0\t2\t0\t1\t0\t0\t0\t2,5\t0\t0\t16\n", "line 2: field 10"},
        {good + "point\tB\t1\t0\t2\t0\t1\t0\t0\t0\tnan\t0\t0\t16\n", "line 2: field 10"},
        {good + "point\tB\t1\t4\t2\t0\t1\t0\t0\t0\t5\t0\t0\t16\n", "line 2: field 3"},
        {good + "point\tB\t2\t0\t2\t0\t1\t0\t0\t0\t5\t0\t0\t16\n", "line 2: field 2"},
        {good + "point\tB\t1\t0\t2\t0\t1\t0\t0\t6\t5\t0\t0\t16\n", "line 2: field 9"},
        {good + "point\tB\t1\t0\t2\n", "line 2: a point has 13 fields"},
        {good + "point\tB\t1\t0\t2\t0\t1\t0\t0\t0\t50\t0\t0\t16\textra\n", "line 2: a point has 13 fields"},
        {"pt\tA\n", "line 1: not a point"},
        {good + "point\tB\t1\t0\t2\t0\t1\t0\t0\t0\t50\t0\t0\t12abc\n", "line 2: field 13"},
    };
    for (const auto& c : cases) {
        Kx_Array<Kx_DstvPointInfo> points = samplePoints();
        std::string error;
        EXPECT_FALSE(kx::parseDstvPoints(c.text, points, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_EQ(points, samplePoints());
    }
}

TEST(DstvGroupFile, ANameThatWouldBreakItsLineIsRefusedBeforeWriting)
{
    kxtest::TempFolder dir;
    const std::string path = dir.file("g.dat");
    kxtest::writeBytes(path, "old");
    Kx_Array<Kx_DstvPointInfo> points = samplePoints();
    points[0].setName("two\tcells");
    std::string error;
    EXPECT_FALSE(DlgDstvPoints::writeToFile(Kx_String(path), points, &error));
    EXPECT_NE(error.find("point 1"), std::string::npos) << error;
    EXPECT_EQ(kxtest::readBytes(path), "old");
    kxhost::takeCommandLineText();
}

TEST(DstvGroupFolder, GroupsAreTheDatFilesAndTheStandardIsKeptBesideThem)
{
    kxtest::TempFolder lib;
    Kx_Settings::setLibDir(Kx_String(lib.path().string() + "/"));
    Kx_StringArray names;
    DlgDstvPoints::getAllDstvPointsFiles(names);
    EXPECT_TRUE(names.isEmpty()) << "no folder yet";
    Kx_String standard = "x";
    DlgDstvPoints::getStandardDstvPointsFile(standard);
    EXPECT_TRUE(standard.isEmpty());

    Kx_String folder;
    DlgDstvPoints::getDstvPointsFolder(folder);
    std::filesystem::create_directories(folder.str());
    kxtest::writeBytes(folder.str() + "Welds.dat", "");
    kxtest::writeBytes(folder.str() + "Drill.DAT", "");
    kxtest::writeBytes(folder.str() + "notes.txt", "");
    DlgDstvPoints::getAllDstvPointsFiles(names);
    ASSERT_EQ(names.length(), 2);
    EXPECT_EQ(names[0], Kx_String("Drill"));
    EXPECT_EQ(names[1], Kx_String("Welds"));

    ASSERT_TRUE(DlgDstvPoints::setStandardDstvPointsFile("Welds"));
    DlgDstvPoints::getStandardDstvPointsFile(standard);
    EXPECT_EQ(standard, Kx_String("Welds.dat"));
    EXPECT_FALSE(DlgDstvPoints::setStandardDstvPointsFile("../elsewhere"));
    // A stored name that leads out of the folder is not a standard group.
    kxtest::writeBytes(folder.str() + "standard.txt", "../../x.dat\n");
    DlgDstvPoints::getStandardDstvPointsFile(standard);
    EXPECT_TRUE(standard.isEmpty());
    Kx_Settings::setLibDir("");
    kxhost::takeCommandLineText();
}

} // namespace
