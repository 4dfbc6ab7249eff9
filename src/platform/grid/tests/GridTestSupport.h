// For the grid tests: a grid in a parent window that keeps a journal of the notifications it gets,
// and short helpers to read cells.
#pragma once

#include "platform/grid/Spread.h"
#include "platform/win/Messages.h"
#include "platform/win/UserAgent.h"
#include "platform/win/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kxgrid::testing {

struct Notification {
    WORD code;
    int col;
    int row;
    friend bool operator==(const Notification&, const Notification&) = default;
};

inline std::vector<Notification>& journal()
{
    static std::vector<Notification> list;
    return list;
}

inline LRESULT ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        int col = 0, row = 0;
        SSGetNotifyCell(reinterpret_cast<HWND>(lParam), &col, &row);
        journal().push_back({HIWORD(wParam), col, row});
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

inline std::string data(HWND g, int col, int row)
{
    const int n = SSGetDataLen(g, col, row);
    if (n < 0)
        return "<bad>";
    std::string s(static_cast<size_t>(n) + 1, '\0');
    SSGetData(g, col, row, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

inline std::string value(HWND g, int col, int row)
{
    const int n = SSGetValueLen(g, col, row);
    if (n < 0)
        return "<bad>";
    std::string s(static_cast<size_t>(n) + 1, '\0');
    SSGetValue(g, col, row, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

inline std::string formula(HWND g, int col, int row)
{
    char buf[256] = {};
    return SSGetFormula(g, col, row, buf, sizeof buf) >= 0 ? std::string(buf) : "<bad>";
}

inline std::string tag(HWND g, int col, int row)
{
    char buf[256] = {};
    return SSGetCellTag(g, col, row, buf, sizeof buf) >= 0 ? std::string(buf) : "<bad>";
}

// A grid of cols x rows inside an owner window that records notifications.
class GridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterWindowClass("KxGridTestOwner", ownerProc);
        owner = CreateWindowEx(0, "KxGridTestOwner", "owner", WS_VISIBLE, 0, 0, 800, 600, nullptr, 0);
        grid = CreateWindowEx(0, kGridClassName, "", WS_CHILD | WS_VISIBLE, 10, 10, 600, 400, owner, 77);
        ASSERT_NE(grid, nullptr);
        SSSetMaxCols(grid, 4);
        SSSetMaxRows(grid, 6);
        journal().clear();
    }
    void TearDown() override { kxwin::resetWindowLayer(); }

    // Centre of a cell in the grid's client pixels (headers shown, no scrolling).
    POINT centreOf(int col, int row) const
    {
        int x = 0, y = 0, w = 0, h = 0;
        for (int c = 0; c < col; ++c) {
            SSGetColWidthInPixels(grid, c, &w);
            x += w;
        }
        for (int r = 0; r < row; ++r) {
            SSGetRowHeightInPixels(grid, r, &h);
            y += h;
        }
        SSGetColWidthInPixels(grid, col, &w);
        SSGetRowHeightInPixels(grid, row, &h);
        return POINT{x + w / 2, y + h / 2};
    }
    void click(int col, int row)
    {
        const POINT p = centreOf(col, row);
        kxwin::sendUserInput(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        kxwin::sendUserInput(grid, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
    void key(int vk, bool shift = false)
    {
        SetKeyDown(VK_SHIFT, shift);
        kxwin::sendUserInput(grid, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        SetKeyDown(VK_SHIFT, false);
    }
    void type(const std::string& ascii)
    {
        for (char c : ascii)
            kxwin::sendUserInput(grid, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    std::vector<WORD> codes() const
    {
        std::vector<WORD> out;
        for (const auto& n : journal())
            out.push_back(n.code);
        return out;
    }

    HWND owner = nullptr;
    HWND grid = nullptr;
};

} // namespace kxgrid::testing
