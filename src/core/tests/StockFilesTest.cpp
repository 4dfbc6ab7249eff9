// The cutting-stock files and data: rows through the 0xBF format, peers' Windows-1252 files, and the
// set operations of the tables.
#include "core/DlgCSP2Data.h"
#include "core/StockFiles.h"
#include "core/tests/FileTestSupport.h"

#include "core/FileIO.h"
#include "core/SaveFile.h"

namespace {

using Rows = Kx_Array<Kx_StringArray>;

Kx_StringArray row(std::initializer_list<const char*> cells)
{
    Kx_StringArray out;
    for (const char* c : cells)
        out.append(c);
    return out;
}

TEST(StockFiles, RowsOfAnyWidthReadBackAsWrittenIncludingCharactersThatHoldTheSeparatorByte)
{
    kxtest::TempFolder dir;
    // ¿ is C2 BF and ÿ is C3 BF: their second byte is the separator byte but never separates.
    const Rows rows{row({"IPE 200", "6000", "4"}), row({"¿Qué?", "ÿ"}), Kx_StringArray(), row({"", "", "x"}),
                    row({"Träger"})};
    std::string error;
    ASSERT_TRUE(kx::writeStockFile(Kx_String(dir.file("a.shp")), rows, error)) << error;
    EXPECT_EQ(kxtest::readBytes(dir.file("a.shp")).substr(0, 15), "IPE 200\xBF" "6000\xBF" "4\n");
    Rows back;
    ASSERT_TRUE(kx::readStockFile(Kx_String(dir.file("a.shp")), back, error)) << error;
    EXPECT_EQ(back, rows);
}

TEST(StockFiles, APeersWindows1252FileIsSplitAtEveryBfByteAndConverted)
{
    // E4 is ä, D7 is ×; the whole file is not UTF-8, so it is the peer's code page throughout.
    Rows rows;
    std::string error;
    ASSERT_TRUE(kx::parseStockText("Tr\xE4ger\xBF" "6000\r\nFlach 80\xD7" "8\xBF\xBF" "3\r\n", rows, error));
    ASSERT_EQ(rows.length(), 2);
    EXPECT_EQ(rows[0], row({"Träger", "6000"}));
    EXPECT_EQ(rows[1], row({"Flach 80×8", "", "3"}));
    // An empty file is an empty list, a file without a final line end loses nothing.
    ASSERT_TRUE(kx::parseStockText("", rows, error));
    EXPECT_TRUE(rows.isEmpty());
    ASSERT_TRUE(kx::parseStockText("a\xBF" "b", rows, error));
    EXPECT_EQ(rows.length(), 1);
}

TEST(StockFiles, WhatCannotReadBackTheSameIsRefusedAndTheOldFileStays)
{
    kxtest::TempFolder dir;
    const std::string path = dir.file("a.buy");
    kxtest::writeBytes(path, "old\n");
    std::string error;
    EXPECT_FALSE(kx::writeStockFile(Kx_String(path), Rows{row({"two\nlines"})}, error));
    EXPECT_NE(error.find("row 1, cell 1"), std::string::npos) << error;
    EXPECT_FALSE(kx::writeStockFile(Kx_String(path), Rows{row({"ok"}), row({"a", "\xE4"})}, error));
    EXPECT_NE(error.find("row 2, cell 2"), std::string::npos) << error;
    EXPECT_EQ(kxtest::readBytes(path), "old\n");
}

TEST(StockFiles, AFailedSaveAtAnyStepLeavesTheOldFileWhole)
{
    kxtest::TempFolder dir;
    const std::string path = dir.file("s.shp");
    kxtest::writeBytes(path, "old\xBF" "1\n");
    for (int k = 1;; ++k) {
        kx::FailingFileOps ops(k);
        std::string error;
        bool saved = false;
        {
            kx::ScopedFileOps scope(ops);
            saved = kx::writeStockFile(Kx_String(path), Rows{row({"new", "2"})}, error);
        }
        if (!ops.hasFailed()) {
            EXPECT_TRUE(saved);
            break;
        }
        if (saved) {
            // A fault the routine may pass over (closing the folder after its sync): the new file.
            EXPECT_EQ(kxtest::readBytes(path), "new\xBF" "2\n") << "operation " << k;
            continue;
        }
        EXPECT_FALSE(error.empty());
        // Once the rename is done the file is the new one; before, it is the old one untouched.
        EXPECT_EQ(kxtest::readBytes(path), ops.hasRenamed() ? "new\xBF" "2\n" : "old\xBF" "1\n") << "operation " << k;
        EXPECT_EQ(dir.entries().size(), 1u) << "no temporary left after operation " << k;
        ASSERT_LT(k, 50);
    }
    EXPECT_EQ(kxtest::readBytes(path), "new\xBF" "2\n");
}

TEST(StockFiles, AMissingOrOversizedFileIsAnErrorNamingIt)
{
    kxtest::TempFolder dir;
    Rows rows{row({"kept"})};
    std::string error;
    EXPECT_FALSE(kx::readStockFile(Kx_String(dir.file("none.shp")), rows, error));
    EXPECT_NE(error.find("none.shp"), std::string::npos) << error;
    kxtest::writeBytes(dir.file("long.shp"), std::string(kx::kMaxTextLineBytes + 1, 'x'));
    EXPECT_FALSE(kx::readStockFile(Kx_String(dir.file("long.shp")), rows, error));
    EXPECT_EQ(rows, Rows{row({"kept"})});
}

TEST(CuttingStockData, SetOperationsTakeEveryRowOfTheSetWhereverItStands)
{
    DlgCSP2Table t;
    t.appendRows(1, Rows{row({"a"}), row({"b"})});
    t.appendRows(2, Rows{row({"c", "d", "e"})});
    t.appendRows(1, Rows{row({"f"})});  // not next to the others, as a caller may hand them in
    EXPECT_EQ(t.rowsOfSet(1), (Rows{row({"a"}), row({"b"}), row({"f"})}));
    EXPECT_EQ(t.widestRow(2), 3);
    EXPECT_EQ(t.removeSet(1), 3);
    EXPECT_EQ(t.rows, Rows{row({"c", "d", "e"})});
    EXPECT_EQ(t.rowSetIds.length(), 1);
    EXPECT_EQ(t.rowSetIds[0], 2);
}

TEST(CuttingStockData, ANewSetTakesTheLargestIdentifierPlusOne)
{
    DlgCSP2Data d;
    EXPECT_EQ(d.nextSetId(), 1);
    d.setIds = {3, 7};
    EXPECT_EQ(d.nextSetId(), 8);
    d.setIds = {INT32_MAX, 1};
    EXPECT_EQ(d.nextSetId(), 2) << "no overflow at the top of the range";
}

} // namespace
