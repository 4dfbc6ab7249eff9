// Row and column operations of Kx_Spread checked against a plain table (vector of vectors, header
// row and header column included) over long random sequences.
#include "spread/tests/KxSpreadTestSupport.h"

#include <random>
#include <sstream>
#include <vector>

using kxtest::KxSpreadTest;

namespace {

// cells[row][col], row 0 the column headers and column 0 the row headers.
struct Model {
    std::vector<std::vector<std::string>> cells{{""}};

    int rows() const { return static_cast<int>(cells.size()) - 1; }
    int cols() const { return static_cast<int>(cells[0].size()) - 1; }

    void setRows(int n)
    {
        const int old = rows();
        const std::vector<std::string> last = old > 0 ? cells[static_cast<size_t>(old)]
                                                      : std::vector<std::string>(static_cast<size_t>(cols()) + 1);
        cells.resize(static_cast<size_t>(n) + 1, last);
    }
    void setCols(int n, bool copyLast)
    {
        const int old = cols();
        for (auto& row : cells) {
            const std::string last = copyLast && old > 0 ? row[static_cast<size_t>(old)] : std::string();
            row.resize(static_cast<size_t>(n) + 1, last);
        }
    }
    void insertRow(int r, bool copyNext)
    {
        cells.insert(cells.begin() + r, std::vector<std::string>(static_cast<size_t>(cols()) + 1));
        if (copyNext && r + 1 <= rows())
            cells[static_cast<size_t>(r)] = cells[static_cast<size_t>(r) + 1];
    }
    void insertCol(int c, bool copyNext)
    {
        for (auto& row : cells) {
            row.insert(row.begin() + c, std::string());
            if (copyNext && c + 1 < static_cast<int>(row.size()))
                row[static_cast<size_t>(c)] = row[static_cast<size_t>(c) + 1];
        }
    }
    void deleteRow(int r) { cells.erase(cells.begin() + r); }
    void deleteCol(int c)
    {
        for (auto& row : cells)
            row.erase(row.begin() + c);
    }
    void copyRow(int from, int to) { cells[static_cast<size_t>(to)] = cells[static_cast<size_t>(from)]; }
    void copyCol(int from, int to)
    {
        for (auto& row : cells)
            row[static_cast<size_t>(to)] = row[static_cast<size_t>(from)];
    }
    void swapRows(int a, int b)
    {
        for (int c = 1; c <= cols(); ++c)
            std::swap(cells[static_cast<size_t>(a)][static_cast<size_t>(c)], cells[static_cast<size_t>(b)][static_cast<size_t>(c)]);
    }
    std::string& at(int col, int row) { return cells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
};

class KxSpreadModel : public KxSpreadTest {
protected:
    // The first difference between the grid and the model, or empty when they agree.
    std::string difference(const Model& model) const
    {
        if (spread->getRowCount() != model.rows() || spread->getColCount() != model.cols())
            return "counts " + std::to_string(spread->getColCount()) + "x" + std::to_string(spread->getRowCount()) +
                   " expected " + std::to_string(model.cols()) + "x" + std::to_string(model.rows());
        for (int r = 0; r <= model.rows(); ++r) {
            for (int c = 0; c <= model.cols(); ++c) {
                if (r == 0 && c == 0)
                    continue;
                const std::string got = value(c, r);
                const std::string& want = model.cells[static_cast<size_t>(r)][static_cast<size_t>(c)];
                if (got != want)
                    return "cell (" + std::to_string(c) + "," + std::to_string(r) + ") is \"" + got + "\", expected \"" +
                           want + "\"";
            }
        }
        return {};
    }

    void runSequence(unsigned key, int steps)
    {
        std::mt19937 random(key);
        const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        Model model;
        std::ostringstream log;
        int serial = 0;
        for (int step = 0; step < steps; ++step) {
            const int rows = model.rows();
            const int cols = model.cols();
            const int op = pick(0, 11);
            switch (op) {
            case 0: {
                const int n = pick(0, 7);
                log << "rows " << n << "; ";
                ASSERT_TRUE(spread->setRowCount(n, pick(0, 1) == 1));
                model.setRows(n);
                break;
            }
            case 1: {
                const int n = pick(0, 6);
                const bool copy = pick(0, 1) == 1;
                log << "cols " << n << (copy ? " copy" : "") << "; ";
                ASSERT_TRUE(spread->setColCount(n, copy));
                model.setCols(n, copy);
                break;
            }
            case 2:
            case 3: {
                if (rows == 0 || cols == 0)
                    break;
                const int c = pick(0, cols);
                const int r = pick(c == 0 ? 1 : 0, rows);
                const std::string text = "t" + std::to_string(++serial);
                log << "write " << c << "," << r << "; ";
                ASSERT_EQ(SSSetData(grid(), c, r, text.c_str()), TRUE);
                model.at(c, r) = text;
                break;
            }
            case 4: {
                const int r = pick(1, rows + 1);
                const bool copy = pick(0, 1) == 1;
                log << "insRow " << r << (copy ? " copy" : "") << "; ";
                ASSERT_TRUE(spread->insertRow(r, copy));
                model.insertRow(r, copy);
                break;
            }
            case 5: {
                const int c = pick(1, cols + 1);
                const bool copy = pick(0, 1) == 1;
                log << "insCol " << c << (copy ? " copy" : "") << "; ";
                ASSERT_TRUE(spread->insertColumn(c, copy));
                model.insertCol(c, copy);
                break;
            }
            case 6: {
                if (rows == 0)
                    break;
                const int r = pick(1, rows);
                log << "delRow " << r << "; ";
                ASSERT_TRUE(spread->deleteRow(r));
                model.deleteRow(r);
                break;
            }
            case 7: {
                if (cols == 0)
                    break;
                const int c = pick(1, cols);
                log << "delCol " << c << "; ";
                ASSERT_TRUE(spread->deleteColumn(c));
                model.deleteCol(c);
                break;
            }
            case 8: {
                if (rows == 0)
                    break;
                const int from = pick(1, rows), to = pick(1, rows);
                log << "copyRow " << from << ">" << to << "; ";
                ASSERT_TRUE(spread->copyRow(from, to));
                model.copyRow(from, to);
                break;
            }
            case 9: {
                if (cols == 0)
                    break;
                const int from = pick(1, cols), to = pick(1, cols);
                log << "copyCol " << from << ">" << to << "; ";
                ASSERT_TRUE(spread->copyColumn(from, to));
                model.copyCol(from, to);
                break;
            }
            case 10: {
                if (rows < 2 || cols == 0)
                    break;
                const int from = pick(1, rows);
                int to = pick(1, rows);
                if (to == from)
                    break;
                log << "move " << from << ">" << to << "; ";
                ASSERT_TRUE(spread->moveRow(from, from, to));
                model.swapRows(from, to);
                break;
            }
            case 11: {
                if (rows == 0)
                    break;
                const int r = pick(1, rows);
                log << "clear " << r << "; ";
                spread->clearRow(r);
                for (int c = 1; c <= cols; ++c)
                    model.at(c, r).clear();
                break;
            }
            default:
                break;
            }
            const std::string diff = difference(model);
            ASSERT_TRUE(diff.empty()) << "sequence " << key << " step " << step << ": " << diff << "\nafter: " << log.str();
        }
    }
};

TEST_F(KxSpreadModel, RandomRowAndColumnOperationsAgreeWithAPlainTable)
{
    for (unsigned key = 1; key <= 12; ++key) {
        spread->setRowCount(0);
        spread->setColCount(0);
        // Cells beyond the counts are dropped by the grid; headers of a fresh sheet are empty.
        ASSERT_NO_FATAL_FAILURE(runSequence(key, 150));
    }
}

TEST_F(KxSpreadModel, TheComparisonNoticesAPlantedDifference)
{
    fill(2, 2);
    Model model;
    model.setCols(2, false);
    model.setRows(2);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            model.at(c, r) = std::to_string(c) + "," + std::to_string(r);
    EXPECT_EQ(difference(model), "");
    model.swapRows(1, 2);
    EXPECT_NE(difference(model), "");
    model.swapRows(1, 2);
    model.at(0, 2) = "x";
    EXPECT_NE(difference(model), "");
}

} // namespace
