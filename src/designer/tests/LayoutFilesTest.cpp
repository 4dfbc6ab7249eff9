// Layout files: names and the root folder, reading what can be read from damaged files, writing a
// layout and its picture so that no failure or crash leaves a mismatched pair, and the samples.
#include "designer/tests/DesignerTestSupport.h"

#include "core/SaveFile.h"
#include "designer/DesignerState.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;
using kxtest::makeControl;
using kxtest::readBytes;
using kxtest::writeBytes;
using Status = Kx_LayoutReadReport::Status;
using T = Kx_ControlType;

// Text of a layout file as the writer writes it.
std::string layoutText(const std::vector<Kx_DesignerControl>& controls)
{
    Kx_DlgDesignerData layout;
    for (const Kx_DesignerControl& c : controls)
        layout.append(c);
    return layout.toText();
}

std::string twoControls()
{
    return layoutText({makeControl(T::VariableEdit, 0.1, 0.2, 0.3, 0.25, "length"),
                       makeControl(T::FlexButton, 0.5, 0.5, 0.6, 0.6, "width", "dims;;w;")});
}

// Every file under a folder, relative to it.
std::set<std::string> filesUnder(const std::string& folder)
{
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (e.is_regular_file() || e.is_symlink())
            files.insert(fs::relative(e.path(), folder).generic_string());
    }
    return files;
}

class LayoutFiles : public kxtest::DesignerTest {
protected:
    // The layout's controls as the file text they make, to compare layouts.
    static std::string textOf(const Kx_DlgDesignerData& layout) { return layout.toText(); }
};

TEST_F(LayoutFiles, ALayoutInASubFolderIsNamedWithABackslashAndFindsItsPictureBesideIt)
{
    writeLayout("sub/frame", twoControls(), 40, 30);
    for (const std::string& asked : {std::string("sub\\frame"), std::string("sub/frame.txt"),
                                     layoutPath("sub/frame.txt"), root + "/sub/../sub/./frame.txt"}) {
        Kx_DlgDesignerData layout;
        Kx_LayoutReadReport report;
        ASSERT_TRUE(layout.readFromFile(Kx_String(asked), true, report)) << asked << ": " << report.message;
        EXPECT_EQ(report.status, Status::Read);
        EXPECT_EQ(layout.getName(), "sub\\frame") << asked;
        EXPECT_TRUE(report.pictureAttached);
        EXPECT_EQ(kxwin::bitmapSize(layout.getPicture()), (SIZE{40, 30}));
        EXPECT_EQ(layout.getNrControls(), 2);
    }
    const auto file = kxdesigner::resolveLayoutFile("sub\\frame");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->picture, layoutPath("sub/frame.bmp"));
}

TEST_F(LayoutFiles, ControlsGetTheRangesIdsInFileOrderAndTheDefaultRangeIsTheMacroPages)
{
    writeLayout("ids", layoutText(std::vector<Kx_DesignerControl>(3, makeControl(T::VariableEdit, 0, 0, 0.1, 0.1))));
    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromFile("ids", false));
    EXPECT_EQ(layout.getControl(0)->getResourceId(), 33000);
    EXPECT_EQ(layout.getControl(2)->getResourceId(), 33002);

    HWND host = CreateWindowEx(0, "Static", "", WS_VISIBLE, 0, 0, 10, 10, nullptr, 0);
    ASSERT_TRUE(layout.initialize(host, 500, 501, 0, 0, 0, 0, 0, false));
    ASSERT_TRUE(layout.readFromFile("ids", false));
    EXPECT_EQ(layout.getControl(1)->getResourceId(), 501);
    EXPECT_EQ(layout.getControl(2)->getResourceId(), 0) << "the range is used up";
}

TEST_F(LayoutFiles, NothingOutsideTheRootIsReadWhateverTheSpelling)
{
    const std::string outside = (library.path() / "outside").string();
    fs::create_directories(outside);
    writeBytes(outside + "/secret.txt", twoControls());
    writeBytes(outside + "/secret.bmp", kxtest::pictureBytes(5, 5));
    fs::create_directories(root + "2");
    writeBytes(root + "2/sibling.txt", twoControls());
    fs::create_symlink(outside + "/secret.txt", layoutPath("linked.txt"));
    fs::create_symlink(outside, layoutPath("linkedFolder"));
    writeLayout("pictureLinked", twoControls());
    fs::create_symlink(outside + "/secret.bmp", layoutPath("pictureLinked.bmp"));

    Kx_DlgDesignerData layout;
    writeLayout("mine", layoutText({makeControl(T::Label, 0, 0, 1, 1, "mine")}));
    ASSERT_TRUE(layout.readFromFile("mine", false));
    for (const std::string& asked :
         {std::string("..\\..\\outside\\secret"), std::string("../../outside/secret.txt"), outside + "/secret.txt",
          std::string("linked"), std::string("linkedFolder\\secret"), std::string("pictureLinked"),
          root + "2/sibling.txt", std::string("C:\\Lib\\secret"), std::string(""), std::string("sub\\")}) {
        Kx_LayoutReadReport report;
        EXPECT_FALSE(layout.readFromFile(Kx_String(asked), true, report)) << asked;
        EXPECT_EQ(report.status, Status::OutsideRoot) << asked;
        EXPECT_EQ(layout.getName(), "mine") << asked;
        ASSERT_EQ(layout.getNrControls(), 1);
    }
    Kx_DlgDesignerData other;
    EXPECT_FALSE(other.writeToFile("..\\..\\outside\\written"));
    EXPECT_FALSE(other.writeToFile("linkedFolder\\written"));
    EXPECT_FALSE(fs::exists(outside + "/written.txt"));
    EXPECT_NE(kxhost::takeCommandLineText().find("does not lie in the layout folder"), std::string::npos);
}

TEST_F(LayoutFiles, AMissingFileLeavesTheLayoutAsItWas)
{
    writeLayout("mine", twoControls());
    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromFile("mine", false));
    Kx_LayoutReadReport report;
    EXPECT_FALSE(layout.readFromFile("nothing\\here", true, report));
    EXPECT_EQ(report.status, Status::NotFound);
    EXPECT_EQ(layout.getName(), "mine");
    EXPECT_EQ(layout.getNrControls(), 2);
}

TEST_F(LayoutFiles, TheFileHoldsTheCountAndSevenKeysPerControlInOrder)
{
    const std::string text = twoControls();
    EXPECT_EQ(text, "# KESTRA_SS property list\n"
                    "int nrOfControls = 2\n"
                    "int type0 = 2\n"
                    "double topLeftX0 = 0.1\n"
                    "double topLeftY0 = 0.2\n"
                    "double bottomRightX0 = 0.3\n"
                    "double bottomRightY0 = 0.25\n"
                    "text contents0 = \"length\"\n"
                    "text comboList0 = \"\"\n"
                    "int type1 = 30\n"
                    "double topLeftX1 = 0.5\n"
                    "double topLeftY1 = 0.5\n"
                    "double bottomRightX1 = 0.6\n"
                    "double bottomRightY1 = 0.6\n"
                    "text contents1 = \"width\"\n"
                    "text comboList1 = \"dims;;w;\"\n");
}

TEST_F(LayoutFiles, WriteThenReadGivesTheSameLayoutWhateverTheTexts)
{
    std::vector<Kx_DesignerControl> controls;
    for (int code = 0; code < kControlTypeCount; ++code) {
        controls.push_back(makeControl(static_cast<T>(code), code / 31.0, 1.0 / 3, 1.25, -0.5,
                                       "Länge \"" + Kx_String(code) + "\"\tä\nb\\c", "x;y;z"));
    }
    controls.push_back(makeControl(static_cast<T>(99), 0, 0, 0, 0, "unknown"));
    Kx_DlgDesignerData layout;
    for (const Kx_DesignerControl& c : controls)
        layout.append(c);
    kxtest::GermanLocale locale;
    ASSERT_TRUE(layout.writeToFile("round\\trip"));
    EXPECT_EQ(layout.getName(), "round\\trip");
    Kx_DlgDesignerData back;
    ASSERT_TRUE(back.readFromFile("round\\trip", false));
    EXPECT_EQ(textOf(back), textOf(layout));
    EXPECT_EQ(readBytes(layoutPath("round/trip.txt")), textOf(layout));
    EXPECT_EQ(back.getControl(31)->getContents(), "unknown");
}

// --- Damaged files ---------------------------------------------------------------------------------

struct Damaged {
    const char* what;
    std::string text;
    int controls;
};

TEST_F(LayoutFiles, DamagedFilesGiveWhatCanBeReadAndNeverMoreControlsThanTheyDescribe)
{
    const std::string one = "int type0 = 2\ndouble topLeftX0 = 0.5\ntext contents0 = \"a\"\n";
    const std::string two = one + "int type1 = 3\ntext contents1 = \"b\"\n";
    const Damaged cases[] = {
        {"no count", two, 0},
        {"count -1", "int nrOfControls = -1\n" + two, 0},
        {"count 0", "int nrOfControls = 0\n" + two, 0},
        {"count larger than described", "int nrOfControls = 5\n" + two, 2},
        {"count 2^31-1", "int nrOfControls = 2147483647\n" + two, 2},
        {"count 2^31", "int nrOfControls = 2147483648\n" + two, 0},
        {"count as text", "text nrOfControls = \"2\"\n" + two, 2},
        {"count not a number", "text nrOfControls = \"two\"\n" + two, 0},
        {"count given twice", "int nrOfControls = 1\nint nrOfControls = 2\n" + two, 1},
        {"only a later index", "int nrOfControls = 3\nint type2 = 5\n", 3},
        {"padded index", "int nrOfControls = 3\nint type02 = 5\n", 0},
        {"a damaged line", "int nrOfControls = 2\n" + one + "double topLeftY0 = 2,5\n" + "int type1 = 4x\n", 1},
        {"binary junk", std::string("\x01\x02\xff\xfe garbage\0more", 17), 0},
        {"CR line ends and a BOM", "\xEF\xBB\xBFint nrOfControls = 2\r" + two, 2},
    };
    for (const Damaged& d : cases) {
        writeLayout("damaged", d.text);
        Kx_DlgDesignerData layout;
        Kx_LayoutReadReport report;
        EXPECT_TRUE(layout.readFromFile("damaged", true, report)) << d.what;
        EXPECT_EQ(layout.getNrControls(), d.controls) << d.what;
        EXPECT_FALSE(report.pictureAttached) << d.what;
    }
}

TEST_F(LayoutFiles, ADamagedLineIsReportedAndTheRestOfTheFileStillCounts)
{
    writeLayout("damaged", "int nrOfControls = 2\n"
                           "int type0 = 2\n"
                           "double topLeftX0 = abc\n"
                           "double topLeftY0 = 0.25\n"
                           "int type0 = 7\n"
                           "int type1 = 31\n"
                           "double topLeftX1 = nan\n"
                           "double bottomRightX1 = 1e999\n"
                           "text contents1 = \"end\"\n");
    Kx_DlgDesignerData layout;
    Kx_LayoutReadReport report;
    ASSERT_TRUE(layout.readFromFile("damaged", false, report));
    EXPECT_EQ(report.status, Status::Salvaged);
    EXPECT_EQ(report.skippedLines, 3);
    EXPECT_NE(report.message.find("damaged.txt, line 3: "), std::string::npos) << report.message;
    ASSERT_EQ(layout.getNrControls(), 2);
    EXPECT_EQ(layout.getControl(0)->getType(), T::VariableEdit) << "the first setting wins";
    EXPECT_EQ(layout.getControl(0)->topLeftX(), 0);
    EXPECT_EQ(layout.getControl(0)->topLeftY(), 0.25);
    EXPECT_EQ(toInt(layout.getControl(1)->getType()), 31);
    EXPECT_TRUE(std::isnan(layout.getControl(1)->topLeftX()));
    EXPECT_EQ(layout.getControl(1)->getContents(), "end");
    const std::string printed = kxhost::takeCommandLineText();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find("*Error* "), std::string::npos) << printed;
}

TEST_F(LayoutFiles, ATextThatIsNotUtf8AtAllLeavesTheLayoutAsItWas)
{
    writeLayout("mine", twoControls());
    writeLayout("utf16", std::string("\xFF\xFEi\0n\0t\0", 8));
    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromFile("mine", false));
    Kx_LayoutReadReport report;
    EXPECT_FALSE(layout.readFromFile("utf16", false, report));
    EXPECT_EQ(report.status, Status::Unreadable);
    EXPECT_EQ(layout.getName(), "mine");
    EXPECT_EQ(layout.getNrControls(), 2);
}

TEST_F(LayoutFiles, AMissingOrBrokenPictureLeavesTheSizeItHad)
{
    writeLayout("with", twoControls(), 64, 48);
    writeLayout("without", twoControls());
    writeLayout("broken", twoControls());
    writeBytes(layoutPath("broken.bmp"), "BM not really a picture");
    Kx_DlgDesignerData fresh;
    ASSERT_TRUE(fresh.readFromFile("without", true));
    EXPECT_EQ(fresh.factorToPixels(true, 1.0), 0);

    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromFile("with", true));
    for (const char* name : {"without", "broken"}) {
        Kx_LayoutReadReport report;
        ASSERT_TRUE(layout.readFromFile(name, true, report)) << name;
        EXPECT_FALSE(report.pictureAttached) << name;
        EXPECT_EQ(layout.factorToPixels(true, 1.0), 64) << name;
        EXPECT_EQ(layout.factorToPixels(false, 1.0), 48) << name;
    }
    EXPECT_NE(kxhost::takeCommandLineText().find("Cannot read picture"), std::string::npos);
}

TEST_F(LayoutFiles, AFileWithMoreControlsThanALayoutHoldsIsReadUpToTheLimit)
{
    std::string text = "int nrOfControls = 20000\n";
    for (int i = 0; i < 20000; ++i)
        text += "int type" + std::to_string(i) + " = 2\n";
    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromText(text, "big"));
    EXPECT_EQ(layout.getNrControls(), kxdesigner::kMaxLayoutControls);
    EXPECT_EQ(layout.getControl(99)->getResourceId(), 33099);
    EXPECT_EQ(layout.getControl(100)->getResourceId(), 0);
}

TEST_F(LayoutFiles, TheListOfLayoutsHoldsEveryTextFileUnderTheRootByName)
{
    writeLayout("b", twoControls());
    writeLayout("a/sub/c", twoControls());
    writeLayout("a/d", twoControls());
    writeBytes(layoutPath("Lists/items.lst"), "x\n");
    const std::string outside = (library.path() / "elsewhere.txt").string();
    writeBytes(outside, twoControls());
    fs::create_symlink(outside, layoutPath("escape.txt"));
    Kx_StringArray names;
    ASSERT_TRUE(getModuleImages(names));
    EXPECT_EQ(names, (Kx_StringArray{"a\\d", "a\\sub\\c", "b"}));

    Kx_Settings::setLibDir((library.path() / "no library").string());
    EXPECT_FALSE(getModuleImages(names));
    EXPECT_TRUE(names.isEmpty());
}

TEST_F(LayoutFiles, ALayoutWrittenByAPeerInCapitalsIsListedOpenedAndSavedByItsListedName)
{
    writeBytes(layoutPath("Peer/Column.TXT"), twoControls());
    writeBytes(layoutPath("Peer/Column.BMP"), kxtest::pictureBytes(40, 30));
    Kx_StringArray names;
    ASSERT_TRUE(getModuleImages(names));
    ASSERT_EQ(names, (Kx_StringArray{"Peer\\Column"}));

    Kx_DlgDesignerData layout;
    Kx_LayoutReadReport report;
    ASSERT_TRUE(layout.readFromFile(names[0], /*withPicture=*/true, report));
    EXPECT_EQ(layout.getNrControls(), 2);
    EXPECT_TRUE(report.pictureAttached);
    EXPECT_EQ(fs::path(report.picturePath).filename(), "Column.BMP");

    // Saved under its own name it stays one pair of files, in the peer's spelling.
    layout.getControlWrite(0)->setContents("changed");
    ASSERT_TRUE(layout.writeToFile(names[0]));
    EXPECT_EQ(filesUnder(layoutPath("Peer")), (std::set<std::string>{"Column.BMP", "Column.TXT"}));
    EXPECT_NE(readBytes(layoutPath("Peer/Column.TXT")).find("changed"), std::string::npos);
}

TEST_F(LayoutFiles, AComboListFileOutsideTheLibraryIsRefusedWithAMessageNamingIt)
{
    const std::string outside = (library.path().parent_path() / "outside-items.lst").string();
    writeBytes(outside, "a\nb\n");
    Kx_StringArray items{"kept"};
    for (const std::string& list : {outside, std::string("..\\outside-items.lst")}) {
        kxhost::takeCommandLineText();
        const Kx_DesignerControl combo = makeControl(T::VariableCombo, 0, 0, 1, 1, "", Kx_String(list));
        EXPECT_FALSE(combo.getComboItemsFromFile(items));
        EXPECT_EQ(items, (Kx_StringArray{"kept"}));
        const std::string printed = kxhost::takeCommandLineText();
        EXPECT_NE(printed.find("\"" + list + "\""), std::string::npos) << printed;
        EXPECT_NE(printed.find("outside the library"), std::string::npos) << printed;
    }
    fs::remove(outside);
}

TEST_F(LayoutFiles, TheVariableNamesOfALayoutAreItsVariableEdits)
{
    writeLayout("vars",
                layoutText({makeControl(T::VariableEdit, 0, 0, 1, 1, "a"), makeControl(T::VariableCombo, 0, 0, 1, 1, "b"),
                            makeControl(T::VariableEdit, 0, 0, 1, 1, "c")}),
                10, 10);
    Kx_StringArray names{"stale"};
    ASSERT_TRUE(GetImageDlgCtrlNames("vars", names));
    EXPECT_EQ(names, (Kx_StringArray{"a", "c"}));
    EXPECT_FALSE(GetImageDlgCtrlNames("missing", names));
    EXPECT_TRUE(names.isEmpty());

    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromFile("vars", false));
    int i = -1;
    EXPECT_TRUE(layout.findEditCtrlWithContents("B", i));
    EXPECT_EQ(i, 1);
    EXPECT_FALSE(layout.findEditCtrlWithContents("d", i));
}

// --- The sample library --------------------------------------------------------------------------

class SampleLayouts : public kxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        Kx_Settings::setLibDir(KX_SOURCE_LIBRARY_DIR);
    }
};

TEST_F(SampleLayouts, EachSampleReadsWholeWithItsPictureAndTheyUseEveryControlType)
{
    Kx_StringArray names;
    ASSERT_TRUE(getModuleImages(names));
    EXPECT_EQ(names, (Kx_StringArray{"Base plates\\base plate", "End plates\\end plate", "Splices\\bolted splice"}));
    std::set<int> types;
    for (const Kx_String& name : names) {
        Kx_DlgDesignerData layout;
        Kx_LayoutReadReport report;
        ASSERT_TRUE(layout.readFromFile(name, true, report)) << name.str();
        EXPECT_EQ(report.status, Status::Read) << name.str();
        EXPECT_TRUE(report.pictureAttached) << name.str();
        EXPECT_GE(layout.getNrControls(), 15) << name.str();
        // The committed files are exactly what the writer writes.
        const auto file = kxdesigner::resolveLayoutFile(name);
        ASSERT_TRUE(file);
        EXPECT_EQ(readBytes(file->text), layout.toText()) << name.str();
        const SIZE size = kxwin::bitmapSize(layout.getPicture());
        for (int i = 0; i < layout.getNrControls(); ++i) {
            const Kx_DesignerControl& c = *layout.getControl(i);
            types.insert(toInt(c.getType()));
            EXPECT_TRUE(c.topLeftX() >= 0 && c.bottomRightX() <= 1 && c.topLeftY() >= 0 && c.bottomRightY() <= 1)
                << name.str() << " control " << i;
            EXPECT_GT(layout.getWidth(c), 0);
            EXPECT_LE(layout.getBottomRightX(c), size.cx);
            // Controls do not overlap, except inside their frame.
            for (int k = 0; k < i; ++k) {
                const Kx_DesignerControl& d = *layout.getControl(k);
                if (c.getType() == T::Frame || d.getType() == T::Frame)
                    continue;
                const bool apart = c.bottomRightX() <= d.topLeftX() || d.bottomRightX() <= c.topLeftX()
                    || c.bottomRightY() <= d.topLeftY() || d.bottomRightY() <= c.topLeftY();
                EXPECT_TRUE(apart) << name.str() << ": controls " << k << " and " << i << " overlap";
            }
        }
    }
    EXPECT_EQ(types.size(), static_cast<size_t>(kControlTypeCount));
    EXPECT_EQ(kxhost::takeCommandLineText(), "");
}

TEST_F(SampleLayouts, TheirComboListsComeFromListFilesInTheLibrary)
{
    Kx_DlgDesignerData layout;
    ASSERT_TRUE(layout.readFromFile("End plates\\end plate", false));
    int i = -1;
    ASSERT_TRUE(layout.findEditCtrlWithContents("fillet", i));
    Kx_StringArray items;
    ASSERT_TRUE(layout.getControl(i)->getComboItemsFromFile(items));
    EXPECT_EQ(items, (Kx_StringArray{"fillet", "butt", "partial penetration", "full penetration"}));
}

// --- Saving a layout and its picture ---------------------------------------------------------------

class SavingPairs : public kxtest::DesignerTest {
protected:
    void SetUp() override
    {
        DesignerTest::SetUp();
        writeLayout("frame", twoControls(), 30, 20);
        writeLayout("other", layoutText({makeControl(T::Label, 0, 0, 1, 1, "other")}), 7, 5);
        oldFrameText = readBytes(layoutPath("frame.txt"));
        framePicture = readBytes(layoutPath("frame.bmp"));
        oldOtherText = readBytes(layoutPath("other.txt"));
        otherPicture = readBytes(layoutPath("other.bmp"));
    }

    // Reads "frame", changes a control, and says what its text will be.
    std::string prepare(Kx_DlgDesignerData& layout)
    {
        EXPECT_TRUE(layout.readFromFile("frame", true));
        layout.getControlWrite(0)->setContents("changed");
        return layout.toText();
    }
    // The two files of a layout, "-" for a missing one.
    std::pair<std::string, std::string> pair(const std::string& name) const
    {
        const std::string t = layoutPath(name + ".txt");
        const std::string b = layoutPath(name + ".bmp");
        return {fs::exists(t) ? readBytes(t) : "-", fs::exists(b) ? readBytes(b) : "-"};
    }
    void restore()
    {
        fs::remove_all(root);
        fs::create_directories(root);
        writeBytes(layoutPath("frame.txt"), oldFrameText);
        writeBytes(layoutPath("frame.bmp"), framePicture);
        writeBytes(layoutPath("other.txt"), oldOtherText);
        writeBytes(layoutPath("other.bmp"), otherPicture);
    }

    std::string oldFrameText, framePicture, oldOtherText, otherPicture;
};

TEST_F(SavingPairs, SavingUnderItsOwnNameLeavesThePictureIntact)
{
    Kx_DlgDesignerData layout;
    const std::string text = prepare(layout);
    ASSERT_TRUE(layout.writeToFile("frame"));
    EXPECT_EQ(pair("frame"), std::make_pair(text, framePicture));
    ASSERT_TRUE(layout.writeToFile(Kx_String(root + "/./frame.txt")));
    EXPECT_EQ(pair("frame"), std::make_pair(text, framePicture));
}

TEST_F(SavingPairs, SavingUnderAnotherNameTakesThePictureAlongAndTheNewName)
{
    Kx_DlgDesignerData layout;
    const std::string text = prepare(layout);
    ASSERT_TRUE(layout.writeToFile("copies\\copy"));
    EXPECT_EQ(layout.getName(), "copies\\copy");
    EXPECT_EQ(pair("copies/copy"), std::make_pair(text, framePicture));
    ASSERT_TRUE(layout.writeToFile("other"));
    EXPECT_EQ(pair("other"), std::make_pair(text, framePicture));
    EXPECT_EQ(pair("frame"), std::make_pair(oldFrameText, framePicture));
}

TEST_F(SavingPairs, ALayoutWithoutPictureFileSavesItsTextAlone)
{
    Kx_DlgDesignerData layout;
    layout.append(makeControl(T::Label, 0, 0, 1, 1, "new"));
    ASSERT_TRUE(layout.writeToFile("fresh"));
    EXPECT_EQ(pair("fresh").second, "-");
}

// Fails the k-th file operation of a save, for every k until the save goes through, and checks
// that the target layout's two files are both old or both new and nothing else is left behind.
TEST_F(SavingPairs, EveryFailingFileOperationLeavesBothFilesOldOrBothNew)
{
    struct Scenario {
        const char* target;
        std::pair<std::string, std::string> before;
    };
    const Scenario scenarios[] = {
        {"frame", {oldFrameText, framePicture}},
        {"copy", {"-", "-"}},
        {"other", {oldOtherText, otherPicture}},
    };
    for (const Scenario& sc : scenarios) {
        int failedSaves = 0;
        for (int k = 1;; ++k) {
            ASSERT_LT(k, 200) << sc.target << ": the save never completed";
            restore();
            const std::set<std::string> filesBefore = filesUnder(root);
            Kx_DlgDesignerData layout;
            const std::string text = prepare(layout);
            kx::FailingFileOps ops(k);
            bool saved = false;
            {
                kx::ScopedFileOps use(ops);
                saved = layout.writeToFile(sc.target);
            }
            const auto now = pair(sc.target);
            const auto after = std::make_pair(text, framePicture);
            EXPECT_TRUE(now == sc.before || now == after) << sc.target << ", failing operation " << k;
            std::set<std::string> expectedFiles = filesBefore;
            if (now == after) {
                expectedFiles.insert(std::string(sc.target) + ".txt");
                expectedFiles.insert(std::string(sc.target) + ".bmp");
            }
            EXPECT_EQ(filesUnder(root), expectedFiles) << sc.target << ", failing operation " << k;
            // A failed save keeps the name; one that went through (a failure the save routine may
            // ignore, such as closing the synced folder) has both files new.
            if (saved) {
                EXPECT_EQ(now, after) << sc.target << ", failing operation " << k;
                EXPECT_EQ(layout.getName(), sc.target);
            } else {
                EXPECT_EQ(layout.getName(), "frame") << sc.target << ", failing operation " << k;
                ++failedSaves;
            }
            if (!ops.hasFailed()) {
                EXPECT_TRUE(saved);
                break;
            }
        }
        EXPECT_GE(failedSaves, 5) << sc.target;
    }
    kxhost::takeCommandLineText();
}

// The operations of a save, each one a point where the process may die: the child dies before the
// k-th one, and whatever it left must be a layout whose text and picture belong together.
class DyingFileOps : public kx::FileOps {
public:
    explicit DyingFileOps(int dieAt) : m_dieAt(dieAt) {}
    int openNew(const char* path, unsigned mode) override { return step() ? FileOps::openNew(path, mode) : -1; }
    long write(int fd, const void* data, std::size_t size) override { return step() ? FileOps::write(fd, data, size) : -1; }
    int sync(int fd) override { return step() ? FileOps::sync(fd) : -1; }
    int close(int fd) override { return step() ? FileOps::close(fd) : -1; }
    int rename(const char* from, const char* to) override { return step() ? FileOps::rename(from, to) : -1; }
    int unlink(const char* path) override { return step() ? FileOps::unlink(path) : -1; }
    int openFolder(const char* path) override { return step() ? FileOps::openFolder(path) : -1; }

private:
    bool step()
    {
        if (++m_count == m_dieAt)
            ::_exit(kDied);
        return true;
    }
    int m_dieAt;
    int m_count = 0;

public:
    static constexpr int kDied = 42;
};

TEST_F(SavingPairs, AProcessKilledAtAnyPointOfASaveLeavesAMatchingPair)
{
    for (const char* target : {"frame", "copy"}) {
        bool completed = false;
        std::string text;
        for (int k = 1; !completed; ++k) {
            ASSERT_LT(k, 200);
            restore();
            Kx_DlgDesignerData layout;
            text = prepare(layout);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                DyingFileOps ops(k);
                kx::ScopedFileOps use(ops);
                ::_exit(layout.writeToFile(target) ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            completed = WEXITSTATUS(status) != DyingFileOps::kDied;
            const auto now = pair(target);
            const bool old = std::string(target) == "frame" ? now.first == oldFrameText : now.first == "-";
            // The text is the layout: whenever it is there, old or new, its picture is the right one.
            EXPECT_TRUE(old || now.first == text) << target << ", killed at operation " << k;
            if (now.first != "-") {
                EXPECT_EQ(now.second, framePicture) << target << ", killed at operation " << k;
            }
        }
        EXPECT_EQ(readBytes(layoutPath(std::string(target) + ".txt")), text);
    }
}

} // namespace
