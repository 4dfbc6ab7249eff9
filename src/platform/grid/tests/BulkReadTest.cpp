// visitValues against the cell-by-cell path: the same texts as SSGetValue for every kind of cell,
// in row order, with early stops and refused blocks.
#include "platform/grid/tests/GridTestSupport.h"

#include <tuple>
#include <vector>

using kxgrid::testing::GridFixture;
using kxgrid::testing::value;

namespace {

using BulkRead = GridFixture;

struct Visit {
    std::vector<std::tuple<int, int, std::string>> cells;
    int stopAfter = -1;
};

bool record(void* context, int col, int row, std::string_view text)
{
    auto* visit = static_cast<Visit*>(context);
    visit->cells.emplace_back(col, row, std::string(text));
    return visit->stopAfter < 0 || static_cast<int>(visit->cells.size()) < visit->stopAfter;
}

TEST_F(BulkRead, GivesWhatSSGetValueGivesForEveryKindOfCell)
{
    SS_CELLTYPE type;
    SSSetTypeNumber(grid, &type, 0, 2, -1000, 1000);
    SSSetCellType(grid, 1, 1, &type);
    SSSetData(grid, 1, 1, "2.345");
    SSSetTypeComboBox(grid, &type, SS_COMBO_VALUE_INDEX, "a\tb\tc");
    SSSetCellType(grid, 2, 1, &type);
    SSSetData(grid, 2, 1, "b");
    SSSetTypeCheckBox(grid, &type, 0, "", nullptr, nullptr);
    SSSetCellType(grid, 3, 1, &type);
    SSSetData(grid, 3, 1, "1");
    SSSetData(grid, 4, 1, "'5");
    SSSetData(grid, 1, 2, "12");
    SSSetFormula(grid, 2, 2, "A2*2", TRUE);
    SSSetData(grid, 3, 2, "Élan");
    SSSetData(grid, SS_HEADER, 2, "row two");
    SSSetData(grid, 2, SS_HEADER, "B head");

    Visit visit;
    EXPECT_EQ(kxgrid::visitValues(grid, 0, 0, 4, 6, record, &visit), 5 * 7);
    ASSERT_EQ(visit.cells.size(), 35u);
    size_t i = 0;
    for (int row = 0; row <= 6; ++row) {
        for (int col = 0; col <= 4; ++col, ++i) {
            EXPECT_EQ(visit.cells[i], std::make_tuple(col, row, value(grid, col, row))) << col << "," << row;
        }
    }

    // SS_HEADER corners address the same header cells.
    Visit headers;
    EXPECT_EQ(kxgrid::visitValues(grid, 1, SS_HEADER, 4, SS_HEADER, record, &headers), 4);
    EXPECT_EQ(std::get<2>(headers.cells[1]), "B head");
}

TEST_F(BulkRead, StopsWhenAskedAndRefusesWhatIsNoBlockOfTheSheet)
{
    Visit visit;
    visit.stopAfter = 3;
    EXPECT_EQ(kxgrid::visitValues(grid, 1, 1, 4, 6, record, &visit), 3);
    EXPECT_EQ(std::get<0>(visit.cells.back()), 3);
    EXPECT_EQ(std::get<1>(visit.cells.back()), 1);

    Visit none;
    EXPECT_EQ(kxgrid::visitValues(grid, 1, 1, 5, 6, record, &none), -1);
    EXPECT_EQ(kxgrid::visitValues(grid, 1, 7, 4, 7, record, &none), -1);
    EXPECT_EQ(kxgrid::visitValues(nullptr, 1, 1, 1, 1, record, &none), -1);
    EXPECT_EQ(kxgrid::visitValues(grid, 1, 1, 1, 1, nullptr, &none), -1);
    EXPECT_TRUE(none.cells.empty());
}

} // namespace
