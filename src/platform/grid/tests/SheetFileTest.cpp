// The sheet file: everything the grid holds survives save and load; damaged, foreign and cut
// files are refused with a message and leave the grid as it was; a failing disk never damages the
// old file. Also the CSV export and the clipboard's tab-separated text.
#include "platform/grid/tests/GridTestSupport.h"

#include "platform/win/Clipboard.h"
#include "platform/win/SaveFile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

using kxgrid::testing::data;
using kxgrid::testing::formula;
using kxgrid::testing::tag;
using kxgrid::testing::value;

namespace {

std::string folder()
{
    const auto dir = std::filesystem::temp_directory_path() / ("kxgrid_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A grid holding one of everything the file keeps.
HWND richGrid()
{
    HWND g = kxgrid::createStandaloneGrid(5, 8);
    SSSetData(g, 1, 1, "plain");
    SSSetData(g, 2, 1, "tab\there \"quoted\" \\ line\nbreak");
    SSSetData(g, 3, 1, "Größe ÿ ¿ \xFF\x01");
    SSSetData(g, 0, 0, "corner");
    SSSetData(g, SS_HEADER, 3, "row three");
    SSSetCellTag(g, 1, 1, "the tag");
    SSSetCellNote(g, 1, 2, "a note");
    SSSetFormula(g, 4, 4, "SUM(A1:A3)", TRUE);
    SS_CELLTYPE t;
    SSSetTypeNumber(g, &t, 0x10400000, 3, -5, 5000);
    SSSetCellTypeRange(g, 2, 2, 2, 8, &t);
    SSSetData(g, 2, 2, "1234.5678");
    SSSetTypeComboBox(g, &t, SS_COMBO_VALUE_INDEX | SS_COMBO_EDITABLE, "One\tTwo\tDrei");
    SSSetCellType(g, 3, 3, &t);
    SSSetValue(g, 3, 3, "2");
    SSSetTypeCheckBox(g, &t, 0x300, "caption", nullptr, nullptr);
    SSSetCellType(g, 5, 5, &t);
    SSSetData(g, 5, 5, "1");
    SSSetTypeButton(g, &t, 0, "Go");
    SSSetCellType(g, 5, 6, &t);
    SSSetTypePicture(g, &t, 0x24, "pictures/a.bmp");
    SSSetCellType(g, 1, 8, &t);
    SSSetTypeEdit(g, &t, 4, 100, 0, 1);
    SSSetCellType(g, 1, 7, &t);
    SSSetLockRange(g, 1, 5, 3, 5, TRUE);
    HFONT f = CreateFont(15, 0, FW_BOLD, true, false, "Tahoma");
    SSSetFontRange(g, 1, 0, 5, 0, f, TRUE);
    DeleteObject(f);
    SSSetColor(g, 4, 2, 0xFFD1A4, 0x8000000B);
    SSSetBorder(g, 4, 2, SS_BORDERTYPE_LEFT | SS_BORDERTYPE_BOTTOM, 6, 0x123456);
    SSAddCellSpan(g, 1, 6, 3, 2);
    SSSetColWidthInPixels(g, 2, 99);
    SSSetRowHeightInPixels(g, 0, 31);
    SSSetBool(g, SSB_SHOWROWHEADERS, FALSE);
    SSSetBool(g, 77, TRUE);
    SSSetRefStyle(g, SS_REFSTYLE_R1C1);
    SSSetGridType(g, 7);
    SSSetGridColor(g, 0x323232);
    SSSetEditEnterAction(g, SS_ENTERACTION_NEXT);
    SSSetTextTip(g, SS_TEXTTIP_FLOATING, 10, nullptr, 0x112233, 0x445566);
    return g;
}

} // namespace

TEST(SheetFile, EverythingRoundTripsAndTheSecondSaveIsByteIdentical)
{
    // A locale with a decimal comma must not change a byte of the file.
    const char* oldLocale = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = oldLocale ? oldLocale : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    HWND a = richGrid();
    std::string first;
    ASSERT_TRUE(kxgrid::sheetText(a, first));
    HWND b = kxgrid::createStandaloneGrid();
    std::string error;
    ASSERT_TRUE(kxgrid::loadSheetText(b, first, &error)) << error;
    std::string second;
    ASSERT_TRUE(kxgrid::sheetText(b, second));
    EXPECT_EQ(first, second);
    std::setlocale(LC_NUMERIC, saved.c_str());

    EXPECT_EQ(data(b, 2, 1), "tab\there \"quoted\" \\ line\nbreak");
    EXPECT_EQ(data(b, 3, 1), "Größe ÿ ¿ \xFF\x01");
    EXPECT_EQ(data(b, SS_HEADER, SS_HEADER), "corner");
    EXPECT_EQ(tag(b, 1, 1), "the tag");
    EXPECT_EQ(formula(b, 4, 4), "SUM(R[-3]C[-3]:R[-1]C[-3])") << "formulas read back in the sheet's reference style";
    EXPECT_EQ(data(b, 2, 2), "1234.568");
    EXPECT_EQ(value(b, 2, 2), "1234.5678");
    EXPECT_EQ(value(b, 3, 3), "2");
    EXPECT_EQ(SSGetCellType(b, 5, 5), SS_TYPE_CHECKBOX);
    EXPECT_TRUE(SSGetLock(b, 2, 5));
    LOGFONT lf;
    SSGetFont(b, 3, 0, &lf);
    EXPECT_EQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfItalic, 1);
    COLORREF back = 0, fore = 0;
    SSGetColor(b, 4, 2, &back, &fore);
    EXPECT_EQ(back, 0xFFD1A4u);
    EXPECT_EQ(fore, 0x8000000Bu);
    WORD style = 0;
    COLORREF color = 0;
    SSGetBorder(b, 4, 2, SS_BORDERTYPE_BOTTOM, &style, &color);
    EXPECT_EQ(style, 6);
    EXPECT_EQ(color, 0x123456u);
    int nc = 0, nr = 0;
    EXPECT_EQ(SSGetCellSpan(b, 2, 7, nullptr, nullptr, &nc, &nr), SS_SPAN_YES);
    EXPECT_EQ(nc, 3);
    int px = 0;
    SSGetColWidthInPixels(b, 2, &px);
    EXPECT_EQ(px, 99);
    EXPECT_FALSE(SSGetBool(b, SSB_SHOWROWHEADERS));
    EXPECT_TRUE(SSGetBool(b, 77));
    EXPECT_EQ(SSGetRefStyle(b), SS_REFSTYLE_R1C1);
    EXPECT_FALSE(SSGetBool(b, SSB_CHANGEMADE)) << "a loaded sheet is unchanged";
    kxwin::resetWindowLayer();
}

TEST(SheetFile, EveryCutAndDamagedFileIsRefusedAndLeavesTheGridAsItWas)
{
    HWND source = richGrid();
    std::string text;
    ASSERT_TRUE(kxgrid::sheetText(source, text));
    HWND target = kxgrid::createStandaloneGrid(2, 2);
    SSSetData(target, 1, 1, "keep me");
    std::string before;
    kxgrid::sheetText(target, before);
    auto refused = [&](std::string_view damaged, const std::string& why) {
        std::string error;
        const bool ok = kxgrid::loadSheetText(target, damaged, &error, "t.sheet");
        std::string after;
        kxgrid::sheetText(target, after);
        EXPECT_FALSE(ok) << why;
        EXPECT_FALSE(error.empty()) << why;
        EXPECT_EQ(after, before) << why;
        return error;
    };
    // Every prefix that lost the end line.
    for (size_t n = 0; n + 4 < text.size(); n += 7)
        refused(std::string_view(text).substr(0, n), "prefix " + std::to_string(n));
    EXPECT_NE(refused("PK\x03\x04 zip", "foreign").find("no sheet file"), std::string::npos);
    EXPECT_NE(refused("KXSHEET 3\nsize cols=1 rows=1\nend\n", "newer").find("version 3"), std::string::npos);
    const std::string head = "KXSHEET 1\nsize cols=2 rows=2\n";
    EXPECT_NE(refused(head + "cell 3 1 d=\"x\"\nend\n", "column").find("line 3"), std::string::npos);
    refused(head + "cell 1 1 d=\"x\" d=\"y\"\nend\n", "duplicated key");
    refused(head + "cell 1 1 d=\"x\\q\"\nend\n", "bad escape");
    refused(head + "cell 1 1 d=\"\\x00\"\nend\n", "zero byte");
    refused(head + "cell 1 1 s=1\nend\n", "undefined style");
    refused(head + "type 1 kind=04x\nend\n", "type code 04x");
    refused(head + "type 1 kind=9\nend\n", "unknown type");
    refused(head + "type 1 kind=14 min=nan\nend\n", "nan");
    refused(head + "type 1 kind=14 max=1e999\nend\n", "1e999");
    refused(head + "colwidth 1 2,5\nend\n", "2,5");
    refused("KXSHEET 1\nsize cols=2147483648 rows=1\nend\n", "2^31 columns");
    refused("KXSHEET 1\nsize cols=-1 rows=1\nend\n", "-1 columns");
    refused(head + "end\ncell 1 1\n", "after the end");
    refused("KXSHEET 1\ncell 1 1 d=\"x\"\nsize cols=2 rows=2\nend\n", "cells before the size");
    std::string error;
    EXPECT_TRUE(kxgrid::loadSheetText(target, "\xEF\xBB\xBFKXSHEET 1\r\nsize cols=1 rows=1\r\ncell 1 1 d=\"crlf\"\r\nend\r\n", &error)) << error;
    EXPECT_EQ(data(target, 1, 1), "crlf");
    kxwin::resetWindowLayer();
}

TEST(SheetFile, AFailingDiskNeverDamagesTheOldFileNorLeavesATemporary)
{
    const std::string dir = folder();
    const std::string path = dir + "/fault.sheet";
    HWND old = kxgrid::createStandaloneGrid(1, 1);
    SSSetData(old, 1, 1, "old");
    ASSERT_TRUE(SSSaveToFile(old, path.c_str(), FALSE));
    const std::string oldBytes = readFile(path);
    HWND g = richGrid();
    std::string newBytes;
    kxgrid::sheetText(g, newBytes);
    for (int k = 1;; ++k) {
        kxwin::FailingFileOps ops(k);
        bool ok = false;
        {
            kxwin::ScopedFileOps scope(ops);
            ok = SSSaveToFile(g, path.c_str(), FALSE) != FALSE;
        }
        const std::string now = readFile(path);
        if (ok) {
            EXPECT_EQ(now, newBytes);
            EXPECT_GT(k, 5);
            break;
        }
        EXPECT_FALSE(kxgrid::lastError(g).empty());
        EXPECT_TRUE(now == oldBytes || (ops.hasRenamed() && now == newBytes)) << "step " << k;
        int files = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            files += e.path().filename().string().rfind(".fault.sheet", 0) == 0 ? 1 : 0;
        EXPECT_EQ(files, 0) << "no temporary left after step " << k;
        ASSERT_LT(k, 50);
    }
    EXPECT_FALSE(SSLoadFromFile(g, (dir + "/missing.sheet").c_str()));
    EXPECT_NE(kxgrid::lastError(g).find("missing.sheet"), std::string::npos);
    std::filesystem::remove_all(dir);
    kxwin::resetWindowLayer();
}

TEST(SheetFile, CsvQuotesWhatNeedsItAndLeavesOutTrailingEmptyCells)
{
    HWND g = kxgrid::createStandaloneGrid(6, 10);
    SSSetData(g, 1, 1, "a,b");
    SSSetData(g, 2, 1, "say \"hi\"");
    SSSetData(g, 1, 2, "two\nlines");
    SSSetData(g, 3, 3, " padded");
    SSSetData(g, 0, 1, "header not exported");
    std::string csv;
    ASSERT_TRUE(kxgrid::csvText(g, csv));
    EXPECT_EQ(csv, "\"a,b\",\"say \"\"hi\"\"\",\r\n\"two\nlines\",,\r\n,,\" padded\"\r\n");
    kxwin::resetWindowLayer();
}

TEST(Clipboard, ABlockCopiedPastesBackTheSameIncludingTabsQuotesAndLineBreaks)
{
    HWND g = kxgrid::createStandaloneGrid(4, 4);
    SSSetData(g, 1, 1, "a\tb");
    SSSetData(g, 2, 1, "\"q\"");
    SSSetData(g, 1, 2, "line\r\nbreak");
    SSSetData(g, 2, 2, "plain");
    SSSetSelectBlock(g, 1, 1, 2, 2);
    ASSERT_TRUE(SSClipboardCopy(g));
    EXPECT_EQ(kxwin::clipboardText(), "\"a\tb\"\t\"\"\"q\"\"\"\r\n\"line\r\nbreak\"\tplain\r\n");
    SSSetActiveCell(g, 3, 3);
    ASSERT_TRUE(SSClipboardPaste(g));
    EXPECT_EQ(data(g, 3, 3), "a\tb");
    EXPECT_EQ(data(g, 4, 3), "\"q\"");
    EXPECT_EQ(data(g, 3, 4), "line\r\nbreak");
    EXPECT_EQ(data(g, 4, 4), "plain");
    kxwin::resetWindowLayer();
}

TEST(Clipboard, PastingClipsAtTheEdgeSkipsLockedCellsAndRefusedValues)
{
    HWND g = kxgrid::createStandaloneGrid(2, 2);
    SS_CELLTYPE t;
    SSSetTypeNumber(g, &t, 0, 2, 0, 10);
    SSSetCellType(g, 2, 1, &t);
    SSSetLock(g, 1, 2, TRUE);
    SSSetBool(g, SSB_PROTECT, TRUE);
    EXPECT_EQ(kxgrid::pasteText(g, 1, 1, "x\tnot a number\textra\nlocked\ty\nbeyond\n"), 2);
    EXPECT_EQ(data(g, 1, 1), "x");
    EXPECT_EQ(data(g, 2, 1), "");
    EXPECT_EQ(data(g, 1, 2), "");
    EXPECT_EQ(data(g, 2, 2), "y");
    kxwin::setClipboardText("");
    EXPECT_FALSE(SSClipboardPaste(g)) << "nothing on the clipboard";
    kxwin::resetWindowLayer();
}

namespace {

// The id of a process that has ended: a child that exits at once, waited for.
long endedProcessId()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<long>(child);
}

void touch(const std::string& path)
{
    std::ofstream(path, std::ios::binary) << "half a sheet";
}

} // namespace

// A save killed midway leaves the old file whole and its temporary file behind; the next save or
// load of that file removes such leftovers of processes that no longer run, and nothing else.
TEST(SheetFile, StaleTemporariesOfTheSameFileGoAtTheNextSaveOrLoad)
{
    const std::string dir = folder() + "/stale";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string target = dir + "/bill.kxs";
    const std::string ended = std::to_string(endedProcessId());
    const std::string running = std::to_string(::getpid());
    const std::vector<std::string> stale = {".bill.kxs." + ended + "-0-1f2e.tmp", ".bill.kxs." + ended + "-17-0.tmp"};
    const std::vector<std::string> kept = {
        ".bill.kxs." + running + "-0-1f2e.tmp",     // a save that may still be going on
        ".other.kxs." + ended + "-0-1f2e.tmp",      // another file's
        "bill.kxs." + ended + "-0-1f2e.tmp",        // not hidden: not ours
        ".bill.kxs." + ended + "-0-1f2e.tmp.keep",  // another ending
        ".bill.kxs." + ended + "-x-1f2e.tmp",       // no counter
        ".bill.kxs.backup.tmp",                     // no process
        ".bill.kxs2." + ended + "-0-1f2e.tmp",      // a longer name
    };
    const auto plant = [&] {
        for (const std::string& name : stale)
            touch(dir + "/" + name);
        for (const std::string& name : kept)
            touch(dir + "/" + name);
    };
    const auto expectTidied = [&](const char* when) {
        for (const std::string& name : stale)
            EXPECT_FALSE(std::filesystem::exists(dir + "/" + name)) << when << ": " << name;
        for (const std::string& name : kept)
            EXPECT_TRUE(std::filesystem::exists(dir + "/" + name)) << when << ": " << name;
    };

    HWND g = kxgrid::createStandaloneGrid(2, 2);
    SSSetData(g, 1, 1, "old");
    plant();
    ASSERT_EQ(SSSaveToFile(g, target.c_str(), FALSE), TRUE) << kxgrid::lastError(g);
    expectTidied("save");

    plant();
    HWND other = kxgrid::createStandaloneGrid();
    ASSERT_EQ(SSLoadFromFile(other, target.c_str()), TRUE) << kxgrid::lastError(other);
    EXPECT_EQ(data(other, 1, 1), "old");
    expectTidied("load");
    DestroyWindow(other);
    DestroyWindow(g);
    std::filesystem::remove_all(dir);
}
