// For the spreadsheet-file tests: a private folder standing for drive C, sheet files written with
// the grid's own functions, and argument records as the grid hands them to FROMTABLE.
#pragma once

#include "core/tests/FileTestSupport.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Clipboard.h"
#include "platform/win/testing/AgentFailures.h"
#include "spread/SheetFiles.h"
#include "spread/TableCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <cstring>
#include <string>
#include <vector>

namespace kxtest {

// A sheet of cols x rows filled by `fill`, saved as `path`.
inline void writeSheet(const std::string& path, int cols, int rows, const std::function<void(HWND)>& fill)
{
    HWND g = kxgrid::createStandaloneGrid(cols, rows);
    ASSERT_NE(g, nullptr);
    fill(g);
    ASSERT_EQ(SSSaveToFile(g, path.c_str(), FALSE), TRUE) << kxgrid::lastError(g);
    DestroyWindow(g);
}

// Argument records for one call, as the grid builds them for FROMTABLE (added with
// SS_CUSTFUNC_WANTCELLREF). The test frees the argument strings at the end, as the grid does after
// a call (a handle the callback already freed is then a no-op).
class CallRecords {
public:
    CallRecords() { std::memset(&result, 0, sizeof result); }
    ~CallRecords()
    {
        for (HGLOBAL h : handles)
            GlobalFree(h);
    }
    CallRecords& text(const std::string& s)
    {
        SS_VALUE& r = next();
        r.kind = SS_VALUE_STRING;
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
        std::memcpy(GlobalLock(h), s.c_str(), s.size() + 1);
        GlobalUnlock(h);
        handles.push_back(h);
        r.stringHandle = h;
        return *this;
    }
    CallRecords& cell(int col, int row)
    {
        SS_VALUE& r = next();
        r.kind = SS_VALUE_CELL;
        r.cell.col = col;
        r.cell.row = row;
        return *this;
    }
    CallRecords& range(int col, int row, int lastCol, int lastRow)
    {
        SS_VALUE& r = next();
        r.kind = SS_VALUE_RANGE;
        r.cell.col = col;
        r.cell.row = row;
        r.cell.lastCol = lastCol;
        r.cell.lastRow = lastRow;
        return *this;
    }
    CallRecords& boolean(bool v) { return integer(v ? 1 : 0); }
    // An empty cell or an omitted argument.
    CallRecords& empty()
    {
        next().status = SS_VALUESTATUS_EMPTY;
        return *this;
    }
    CallRecords& number(double v)
    {
        SS_VALUE& r = next();
        r.kind = SS_VALUE_DOUBLE;
        r.doubleValue = v;
        return *this;
    }
    CallRecords& integer(int v)
    {
        SS_VALUE& r = next();
        r.kind = SS_VALUE_LONG;
        r.longValue = v;
        return *this;
    }
    CallRecords& failedStatus()
    {
        args[static_cast<std::size_t>(count - 1)].status = SS_VALUESTATUS_ERROR;
        return *this;
    }

    void answer(HWND calling) { kxss::answerFromTable(&result, args.data(), count, calling); }
    // Through the callback, which frees the argument strings it received.
    void call(HWND calling) { kxss::fromTableCallback(calling, 1, 1, &result, args.data(), static_cast<short>(count)); }

    // The result's string; frees its handle as the grid would.
    std::string takeString()
    {
        HGLOBAL h = result.stringHandle;
        const char* p = static_cast<const char*>(GlobalLock(h));
        std::string s = p ? std::string(p) : "<stale>";
        GlobalFree(h);
        result.stringHandle = nullptr;
        return s;
    }

    SS_VALUE result;
    std::array<SS_VALUE, 6> args{};
    int count = 0;
    std::vector<HGLOBAL> handles;

private:
    SS_VALUE& next()
    {
        SS_VALUE& r = args[static_cast<std::size_t>(count++)];
        std::memset(&r, 0, sizeof r);
        return r;
    }
};

class SpreadTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        drive = folder.file("drive");
        std::filesystem::create_directories(folder.path() / "drive" / "a");
        ::setenv("KESTRA_SS_DRIVE_C", drive.c_str(), 1);
        kxss::TableCache::instance().clear();
        kxss::attachModule();
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        kxss::TableCache::instance().clear();
        ::unsetenv("KESTRA_SS_DRIVE_C");
        WindowLayerTest::TearDown();
    }
    TempFolder folder;
    std::string drive;
};

} // namespace kxtest
