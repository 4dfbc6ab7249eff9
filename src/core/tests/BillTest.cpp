// The bill engine over the sample frame, section masses from the library's tables, the feed order,
// and the pictures of bill lines.
#include "core/BillPictures.h"
#include "core/FileIO.h"
#include "core/Kx_Bill.h"
#include "core/tests/FileTestSupport.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Bitmap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Everything an output is fed, one line of text per call.
class RecordingOutput : public Kx_ListOutputCallback {
public:
    std::vector<std::string> calls;
    Acad::ErrorStatus startStatus = Acad::eOk;

    Acad::ErrorStatus onStartFeed() override
    {
        calls.push_back("start");
        return startStatus;
    }
    Acad::ErrorStatus onEndFeed() override
    {
        calls.push_back("end");
        return Acad::eFileAccessErr;
    }
    void onAddRow(const Kx_StringArray& texts) override { calls.push_back("row " + join(texts)); }
    void onAddSubTotals(const Kx_StringArray& texts, const Kx_StringArray&, bool isTotal, int) override
    {
        calls.push_back(std::string(isTotal ? "total " : "sub ") + join(texts));
    }

private:
    static std::string join(const Kx_StringArray& texts)
    {
        std::string out;
        for (int i = 0; i < texts.length(); ++i)
            out += (i ? "|" : "") + texts[i].str();
        return out;
    }
};

TEST(BillEngine, SampleFrameGivesWeighedPositionsWithSubTotalsAndTotal)
{
    kxhost::SimulatedDrawing drawing;
    drawing.addSampleFrame();
    AcTransaction transaction(drawing);
    Kx_Bill bill;
    EXPECT_EQ(bill.collect(transaction, Kx_Bill::partsOf(drawing)), 4) << "two columns, the beam and the plate";
    ASSERT_EQ(bill.lines().size(), 3u) << "the two equal columns are one position";

    RecordingOutput out;
    EXPECT_EQ(bill.feed(out), Acad::eFileAccessErr) << "the feed returns what the end returns";
    const std::vector<std::string> expected = {
        "start",
        // HE 200 A: 42.3 kg/m; IPE 300: 42.2 kg/m; a 15 x 200 plate: 23.55 kg/m of steel.
        "row 1|2|HEA200|S235|3000|42.3|126.9|253.8|Column C1",
        "sub |2|HEA200||6000|||253.8|",
        "row 2|1|IPE300|S235|5780|42.2|243.9|243.9|Beam B1",
        "sub |1|IPE300||5780|||243.9|",
        "row 3|1|PL 15x200|S235|360|23.5|8.5|8.5|End plate P1",
        "sub |1|PL 15x200||360|||8.5|",
        "total |4|Total||12140|||506.2|",
        "end",
    };
    EXPECT_EQ(out.calls, expected);
    ASSERT_NE(bill.lineAt("1"), nullptr);
    EXPECT_EQ(bill.lineAt("1")->ids.length(), 2);
    EXPECT_EQ(bill.lineAt("4"), nullptr);
}

TEST(BillEngine, SkipsErasedAndOtherPartsAndStopsWhenTheStartFails)
{
    kxhost::SimulatedDrawing drawing;
    const std::vector<AcDbObjectId> ids = drawing.addSampleFrame();
    drawing.eraseObject(ids[2]);  // the beam
    AcTransaction transaction(drawing);
    Kx_Bill bill;
    AcDbObjectIdArray asked;
    for (const AcDbObjectId& id : ids)
        asked.append(id);
    EXPECT_EQ(bill.collect(transaction, asked, /*withPlates=*/false), 2) << "columns only: the beam is gone";
    ASSERT_EQ(bill.lines().size(), 1u);

    bill.setSubTotals(/*perProfile=*/false, /*total=*/false);
    RecordingOutput out;
    EXPECT_EQ(bill.feed(out), Acad::eFileAccessErr);
    EXPECT_EQ(out.calls.size(), 3u) << "start, one line, end; no sub-totals asked for";

    RecordingOutput refusing;
    refusing.startStatus = Acad::eInvalidInput;
    EXPECT_EQ(bill.feed(refusing), Acad::eInvalidInput);
    EXPECT_EQ(refusing.calls, std::vector<std::string>{"start"}) << "no line and no end after a failed start";
}

TEST(BillEngine, SectionNamesMatchAcrossSpellingsAndBadTableRowsAreSkipped)
{
    EXPECT_DOUBLE_EQ(Kx_Bill::massPerMetre("HEA200").value_or(0), 42.3);
    EXPECT_DOUBLE_EQ(Kx_Bill::massPerMetre("he 200 a").value_or(0), 42.3);
    EXPECT_DOUBLE_EQ(Kx_Bill::massPerMetre("IPE 300").value_or(0), 42.2);
    EXPECT_FALSE(Kx_Bill::massPerMetre("IPE 301"));
    EXPECT_FALSE(Kx_Bill::massPerMetre("HEA20")) << "no partial matches";

    kxtest::TempFolder folder;
    {
        std::ofstream good(folder.file("A.tsv"));
        good << "name\th_mm\tmass_kg_m\nX 1\t10\t1.5\nX 2\t20\tabc\nX 3\t30\t1,5\nX 4\t40\nX 5\t50\t-2\n";
        std::ofstream bad(folder.file("B.tsv"));
        bad << "name\tmass\nY 1\t3\n";
    }
    const Kx_String where(folder.path().string() + "/");
    EXPECT_DOUBLE_EQ(Kx_Bill::massPerMetre("X1", where).value_or(0), 1.5);
    for (const char* refused : {"X 2", "X 3", "X 4", "X 5", "Y 1"})
        EXPECT_FALSE(Kx_Bill::massPerMetre(refused, where)) << refused;
}

TEST(BillPictures, OutlineIsScaledIntoThePictureFilledAndFramed)
{
    // A 1000 x 100 mm bar: at 40 pixels high with a margin of 5 it is 300 pixels wide.
    const std::vector<std::vector<std::pair<double, double>>> bar = {{{0, 0}, {1000, 0}, {1000, 100}, {0, 100}}};
    const kxwin::BitmapPixels p = kxcore::drawOutline(bar, 40, 5, 0, /*filled=*/true, /*framed=*/true);
    ASSERT_EQ(p.height, 40);
    EXPECT_EQ(p.width, 310);
    EXPECT_NE(p.colorAt(155, 20), 0xFFFFFFu) << "filled inside";
    EXPECT_NE(p.colorAt(155, 20), 0x000000u);
    EXPECT_EQ(p.colorAt(155, 2), 0xFFFFFFu) << "blank margin";
    EXPECT_EQ(p.colorAt(0, 0), 0x808080u) << "frame";
    const kxwin::BitmapPixels open = kxcore::drawOutline(bar, 40, 5, 0, /*filled=*/false, /*framed=*/false);
    EXPECT_EQ(open.colorAt(155, 20), 0xFFFFFFu) << "edges only";
    const std::vector<std::vector<std::pair<double, double>>> column = {{{0, 0}, {100, 0}, {100, 1000}, {0, 1000}}};
    const kxwin::BitmapPixels turned = kxcore::drawOutline(column, 40, 5, 0, true, true);
    EXPECT_EQ(turned.width, 310) << "an upright part lies along the picture";
    EXPECT_EQ(turned.rgba, p.rgba);
    EXPECT_TRUE(kxcore::drawOutline({}, 40, 5, 0, true, true).empty());
    EXPECT_TRUE(kxcore::drawOutline({{{0, 0}, {1e308 * 10, 0}}}, 40, 5, 0, true, true).empty()) << "infinite point";
}

TEST(BillPictures, CreateImageWritesATemporaryPictureOfTheLinesPart)
{
    kxhost::SimulatedDrawing drawing;
    drawing.addSampleFrame();
    AcTransaction transaction(drawing);
    Kx_Bill bill;
    bill.collect(transaction, Kx_Bill::partsOf(drawing));

    Kx_String file = "stale";
    int height = -1, margin = 500, width = 0;
    bool filled = true, framed = false;
    ASSERT_TRUE(createImage(Kx_StringArray{"2"}, file, height, margin, width, filled, framed, &bill, &transaction));
    EXPECT_EQ(height, 48) << "the default height is written back";
    EXPECT_EQ(margin, 12) << "the margin is brought into range";
    HBITMAP picture = kxwin::loadBitmapFile(file.str());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(kxwin::bitmapSize(picture).cy, 48);
    EXPECT_GT(kxwin::bitmapSize(picture).cx, 48) << "the beam is long and flat";
    DeleteObject(picture);
    EXPECT_TRUE(deleteFile(file));

    EXPECT_FALSE(createImage(Kx_StringArray{"9"}, file, height, margin, width, filled, framed, &bill, &transaction));
    EXPECT_TRUE(file.isEmpty());
    EXPECT_FALSE(createImage(Kx_StringArray{"1"}, file, height, margin, width, filled, framed, nullptr, &transaction));
    EXPECT_FALSE(createImage(Kx_StringArray{}, file, height, margin, width, filled, framed, &bill, &transaction));
}

} // namespace
