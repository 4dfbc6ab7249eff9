// Row and column operations checked against a plain reference model: a vector of rows of texts
// that does the obvious thing. A deliberately wrong model proves the comparison notices faults.
#include "platform/grid/tests/GridTestSupport.h"

#include <random>

namespace {

using kxgrid::testing::data;

// Rows and columns 0..n; every operation as the grid's interface describes it.
struct Model {
    std::vector<std::vector<std::string>> cells;  // [row][col]
    bool faultyInsert = false;

    int rows() const { return static_cast<int>(cells.size()) - 1; }
    int cols() const { return static_cast<int>(cells[0].size()) - 1; }
    void resize(int c, int r)
    {
        cells.resize(static_cast<size_t>(r) + 1);
        for (auto& row : cells)
            row.resize(static_cast<size_t>(c) + 1);
    }
    bool insertRow(int r)
    {
        if (r < 1 || r > rows())
            return false;
        const int at = faultyInsert && r > 1 ? r + 1 : r;  // the planted fault
        cells.pop_back();
        cells.insert(cells.begin() + std::min(at, rows() + 1), std::vector<std::string>(static_cast<size_t>(cols()) + 1));
        return true;
    }
    bool deleteRow(int r)
    {
        if (r < 1 || r > rows())
            return false;
        cells.erase(cells.begin() + r);
        cells.emplace_back(static_cast<size_t>(cols()) + 1);
        return true;
    }
    bool insertCol(int c)
    {
        if (c < 1 || c > cols())
            return false;
        for (auto& row : cells) {
            row.pop_back();
            row.insert(row.begin() + c, std::string());
        }
        return true;
    }
    bool deleteCol(int c)
    {
        if (c < 1 || c > cols())
            return false;
        for (auto& row : cells) {
            row.erase(row.begin() + c);
            row.emplace_back();
        }
        return true;
    }
    bool copy(int c1, int r1, int c2, int r2, int dc, int dr)
    {
        const int w = c2 - c1, h = r2 - r1;
        if (c1 < 0 || r1 < 0 || c2 > cols() || r2 > rows() || w < 0 || h < 0 || dc < 0 || dr < 0 ||
            dc + w > cols() || dr + h > rows())
            return false;
        auto src = cells;
        for (int r = 0; r <= h; ++r)
            for (int c = 0; c <= w; ++c)
                cells[static_cast<size_t>(dr + r)][static_cast<size_t>(dc + c)] = src[static_cast<size_t>(r1 + r)][static_cast<size_t>(c1 + c)];
        return true;
    }
    bool swap(int c1, int r1, int c2, int r2, int dc, int dr)
    {
        const int w = c2 - c1, h = r2 - r1;
        if (c1 < 0 || r1 < 0 || c2 > cols() || r2 > rows() || w < 0 || h < 0 || dc < 0 || dr < 0 ||
            dc + w > cols() || dr + h > rows())
            return false;
        const bool overlap = dc <= c2 && c1 <= dc + w && dr <= r2 && r1 <= dr + h;
        if (overlap)
            return dc == c1 && dr == r1;
        for (int r = 0; r <= h; ++r)
            for (int c = 0; c <= w; ++c)
                std::swap(cells[static_cast<size_t>(r1 + r)][static_cast<size_t>(c1 + c)],
                          cells[static_cast<size_t>(dr + r)][static_cast<size_t>(dc + c)]);
        return true;
    }
};

// Runs the same random operations on a grid and a model; returns the first step where they
// differ, or -1.
int firstDifference(Model& model, unsigned run, int steps)
{
    HWND g = kxgrid::createStandaloneGrid(6, 9);
    model.cells.clear();
    model.cells.emplace_back();
    model.resize(6, 9);
    std::mt19937 rng(run);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int result = -1;
    for (int step = 0; step < steps && result < 0; ++step) {
        const int op = pick(0, 9);
        bool a = false, b = false;
        if (op <= 2) {
            const int c = pick(0, model.cols()), r = pick(0, model.rows());
            const std::string text = "s" + std::to_string(step);
            a = SSSetData(g, c, r, text.c_str()) != FALSE;
            model.cells[static_cast<size_t>(r)][static_cast<size_t>(c)] = text;
            b = true;
        } else if (op == 3) {
            const int r = pick(-1, model.rows() + 1);
            a = SSInsRow(g, r) != FALSE;
            b = model.insertRow(r);
        } else if (op == 4) {
            const int r = pick(-1, model.rows() + 1);
            a = SSDelRow(g, r) != FALSE;
            b = model.deleteRow(r);
        } else if (op == 5) {
            const int c = pick(-1, model.cols() + 1);
            a = SSInsCol(g, c) != FALSE;
            b = model.insertCol(c);
        } else if (op == 6) {
            const int c = pick(-1, model.cols() + 1);
            a = SSDelCol(g, c) != FALSE;
            b = model.deleteCol(c);
        } else if (op == 7 || op == 8) {
            const int c1 = pick(0, model.cols()), r1 = pick(0, model.rows());
            const int c2 = pick(c1, model.cols()), r2 = pick(r1, model.rows());
            const int dc = pick(0, model.cols()), dr = pick(0, model.rows());
            a = (op == 7 ? SSCopyRange(g, c1, r1, c2, r2, dc, dr) : SSSwapRange(g, c1, r1, c2, r2, dc, dr)) != FALSE;
            b = op == 7 ? model.copy(c1, r1, c2, r2, dc, dr) : model.swap(c1, r1, c2, r2, dc, dr);
        } else {
            // Counts change too: grow or cut rows and columns.
            const int c = pick(1, 8), r = pick(1, 12);
            a = SSSetMaxCols(g, c) && SSSetMaxRows(g, r);
            model.resize(c, r);
            b = true;
        }
        if (a != b || SSGetMaxRows(g) != model.rows() || SSGetMaxCols(g) != model.cols()) {
            result = step;
            break;
        }
        for (int r = 0; r <= model.rows() && result < 0; ++r)
            for (int c = 0; c <= model.cols(); ++c)
                if (data(g, c, r) != model.cells[static_cast<size_t>(r)][static_cast<size_t>(c)]) {
                    result = step;
                    break;
                }
    }
    DestroyWindow(g);
    return result;
}

} // namespace

TEST(StructureAgainstModel, RandomOperationsAgreeWithThePlainModel)
{
    for (unsigned run = 1; run <= 40; ++run) {
        Model model;
        EXPECT_EQ(firstDifference(model, run, 300), -1) << "run " << run;
    }
}

TEST(StructureAgainstModel, AFaultyModelIsCaught)
{
    int caught = 0;
    for (unsigned run = 1; run <= 10; ++run) {
        Model model;
        model.faultyInsert = true;
        caught += firstDifference(model, run, 300) >= 0 ? 1 : 0;
    }
    EXPECT_EQ(caught, 10) << "the comparison must notice a row inserted one place too low";
}

TEST(StructureAgainstModel, JoinedBlocksFollowInsertedAndDeletedRows)
{
    HWND g = kxgrid::createStandaloneGrid(5, 10);
    ASSERT_TRUE(SSAddCellSpan(g, 2, 3, 2, 3));  // columns 2-3, rows 3-5
    int ac = 0, ar = 0, nc = 0, nr = 0;
    ASSERT_TRUE(SSInsRow(g, 1));
    EXPECT_EQ(SSGetCellSpan(g, 2, 4, &ac, &ar, &nc, &nr), SS_SPAN_ANCHOR) << "moves down with its rows";
    ASSERT_TRUE(SSInsRow(g, 5));
    SSGetCellSpan(g, 2, 4, &ac, &ar, &nc, &nr);
    EXPECT_EQ(nr, 4) << "a row inserted inside the block makes it taller";
    ASSERT_TRUE(SSDelRow(g, 4));
    EXPECT_EQ(SSGetCellSpan(g, 3, 4, &ac, &ar, &nc, &nr), SS_SPAN_YES);
    EXPECT_EQ(ar, 4) << "deleting the anchor row keeps the block at the same place, one row shorter";
    EXPECT_EQ(nr, 3);
    ASSERT_TRUE(SSDelCol(g, 2));
    EXPECT_EQ(SSGetCellSpan(g, 2, 4, &ac, &ar, &nc, &nr), SS_SPAN_ANCHOR);
    EXPECT_EQ(nc, 1);
    EXPECT_FALSE(SSAddCellSpan(g, 1, 4, 2, 1)) << "overlaps the remaining block";
    EXPECT_FALSE(SSAddCellSpan(g, 4, 1, 5, 1)) << "leaves the sheet";
    EXPECT_FALSE(SSAddCellSpan(g, 1, 1, 1, 1)) << "one cell is no block";
    DestroyWindow(g);
}

TEST(StructureAgainstModel, TopInsertionKeepsTypesLocksAndHeightsWithTheirRows)
{
    HWND g = kxgrid::createStandaloneGrid(3, 1000);
    SS_CELLTYPE check;
    SSSetTypeCheckBox(g, &check, 0x300, "", nullptr, nullptr);
    ASSERT_TRUE(SSSetCellType(g, 2, 500, &check));
    ASSERT_TRUE(SSSetLock(g, 2, 500, TRUE));
    ASSERT_TRUE(SSSetRowHeightInPixels(g, 500, 33));
    ASSERT_TRUE(SSSetData(g, 2, 500, "1"));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(SSInsRow(g, 1));
    EXPECT_EQ(SSGetCellType(g, 2, 510), SS_TYPE_CHECKBOX);
    EXPECT_TRUE(SSGetLock(g, 2, 510));
    EXPECT_EQ(data(g, 2, 510), "1");
    int h = 0;
    SSGetRowHeightInPixels(g, 510, &h);
    EXPECT_EQ(h, 33);
    EXPECT_EQ(SSGetCellType(g, 2, 500), SS_TYPE_EDIT);
    DestroyWindow(g);
}
