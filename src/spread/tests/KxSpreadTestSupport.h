// For the Kx_Spread tests: a modeless owner dialog from a template with one placeholder control, a
// wrapper attached to it, and small readers of what the grid holds.
#pragma once

#include "spread/Kx_Spread.h"

#include "core/tests/DialogTestSupport.h"
#include "core/tests/FileTestSupport.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace kxtest {

inline constexpr int kOwnerTemplate = 9701;
inline constexpr int kPlaceholderId = 1500;

class KxSpreadTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        kxss::attachModule();
        kxhost::takeCommandLineText();
        HINSTANCE module = kxwin::resourceModule("kxspread_tests");
        kxwin::addDialogTemplate(
            module, dialogTemplate(kOwnerTemplate, 400, 250,
                                   {item(kPlaceholderId, "Static", "", WS_TABSTOP, 10, 10, 300, 150),
                                    item(1, "Button", "OK", WS_TABSTOP, 320, 10, 50, 14)}));
        const HINSTANCE previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        owner = std::make_unique<CDialog>(0);
        const bool created = owner->Create(kOwnerTemplate);
        AfxSetResourceHandle(previous);
        ASSERT_TRUE(created);
        owner->ShowWindow(SW_SHOW);
        spread = std::make_unique<Kx_Spread>();
        ASSERT_TRUE(spread->attach(owner.get(), kPlaceholderId, /*exactRect=*/true));
    }
    void TearDown() override
    {
        spread.reset();
        owner.reset();
        WindowLayerTest::TearDown();
    }

    HWND grid() const { return spread->m_hWnd; }

    // A grid of cols x rows whose cell (c, r) holds "c,r".
    void fill(int cols, int rows)
    {
        ASSERT_TRUE(spread->setColCount(cols));
        ASSERT_TRUE(spread->setRowCount(rows));
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c)
                SSSetData(grid(), c, r, (std::to_string(c) + "," + std::to_string(r)).c_str());
    }

    std::string value(int col, int row) const
    {
        Kx_String text;
        spread->getCellText(col, row, text, Kx_Spread::kTextValue);
        return text.str();
    }
    std::string data(int col, int row) const
    {
        Kx_String text;
        spread->getCellText(col, row, text, Kx_Spread::kTextData);
        return text.str();
    }
    int colWidth(int col) const
    {
        int px = -1;
        SSGetColWidthInPixels(grid(), col, &px);
        return px;
    }
    int fontWeight(int col, int row) const
    {
        LOGFONT font;
        return SSGetFont(grid(), col, row, &font) ? font.lfWeight : -1;
    }

    TempFolder folder;
    std::unique_ptr<CDialog> owner;
    std::unique_ptr<Kx_Spread> spread;
};

} // namespace kxtest
