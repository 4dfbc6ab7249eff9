// Rounding to a step and sorting keys with their indices.
#include "core/NumberLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

TEST(RoundTo, NearestMultipleWithHalvesAwayFromZero)
{
    struct Case {
        double x;
        double step;
        double expected;
    };
    const Case cases[] = {
        {2.5, 1, 3},        {-2.5, 1, -3},     {2.4999, 1, 2},   {0.5, 1, 1},      {-0.5, 1, -1},
        {7, 5, 5},          {7.5, 5, 10},      {-7.5, 5, -10},   {12.3, 0.5, 12.5}, {12.2, 0.5, 12},
        {0.15, 0.1, 0.2},   {0.25, 0.1, 0.3},  {-0.15, 0.1, -0.2}, {0.3, 0.1, 0.3},  {1.005, 0.01, 1.01},
        {123.456, 0.01, 123.46}, {250, 100, 300}, {149.9, 100, 100}, {0.29, 0.3, 0.3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ObjectExportRoundTo(c.x, c.step), c.expected) << c.x << " to " << c.step;
}

TEST(RoundTo, ZeroIsNeverNegative)
{
    const double r = ObjectExportRoundTo(-0.3, 1);
    EXPECT_EQ(r, 0);
    EXPECT_FALSE(std::signbit(r));
    EXPECT_FALSE(std::signbit(ObjectExportRoundTo(-0.004, 0.01)));
}

TEST(RoundTo, UnusableStepsOrValuesGiveXUnchanged)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double step : {0.0, -1.0, -0.5, inf, -inf, nan})
        EXPECT_EQ(ObjectExportRoundTo(3.7, step), 3.7) << step;
    EXPECT_EQ(ObjectExportRoundTo(inf, 1), inf);
    EXPECT_TRUE(std::isnan(ObjectExportRoundTo(nan, 1)));
    EXPECT_EQ(ObjectExportRoundTo(1e300, 1e-300), 1e300);  // the quotient overflows
    EXPECT_EQ(ObjectExportRoundTo(1e17 + 16, 1), 1e17 + 16);
    EXPECT_EQ(ObjectExportRoundTo(std::numeric_limits<double>::max(), 0.5), std::numeric_limits<double>::max());
}

namespace {

// The reference: pairs sorted by key with std::stable_sort, NaN last.
std::vector<std::pair<double, int>> referenceSort(std::vector<std::pair<double, int>> pairs)
{
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        if (std::isnan(a.first))
            return false;
        return std::isnan(b.first) || a.first < b.first;
    });
    return pairs;
}

} // namespace

TEST(SortKeys, MatchesAStableReferenceSortOnRandomKeys)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        const int n = static_cast<int>(rng() % 40);
        Kx_Array<double> keys;
        Kx_Array<int> idx;
        std::vector<std::pair<double, int>> pairs;
        for (int i = 0; i < n; ++i) {
            // Few distinct keys, so stability is tested; an occasional NaN.
            const double key = rng() % 17 == 0 ? std::nan("") : static_cast<double>(rng() % 6) - 2.5;
            keys.append(key);
            idx.append(i * 10);
            pairs.emplace_back(key, i * 10);
        }
        ObjectExportSort(keys, idx, n);
        const auto expected = referenceSort(pairs);
        for (int i = 0; i < n; ++i) {
            const auto& e = expected[static_cast<size_t>(i)];
            EXPECT_EQ(idx[i], e.second) << "round " << round << " at " << i;
            if (std::isnan(e.first)) {
                EXPECT_TRUE(std::isnan(keys[i]));
            } else {
                EXPECT_EQ(keys[i], e.first);
            }
        }
    }
}

TEST(SortKeys, SortsOnlyThePrefixOfLengthN)
{
    Kx_Array<double> keys{3, 1, 2, 0};
    Kx_Array<int> idx{0, 1, 2, 3};
    ObjectExportSort(keys, idx, 3);
    EXPECT_EQ(keys, (Kx_Array<double>{1, 2, 3, 0}));
    EXPECT_EQ(idx, (Kx_Array<int>{1, 2, 0, 3}));
}

TEST(SortKeys, CountsBeyondTheListsAreClamped)
{
    Kx_Array<double> keys{3, 1, 2};
    Kx_Array<int> idx{0, 1};  // shorter than keys: only two pairs exist
    ObjectExportSort(keys, idx, 100);
    EXPECT_EQ(keys, (Kx_Array<double>{1, 3, 2}));
    EXPECT_EQ(idx, (Kx_Array<int>{1, 0}));

    ObjectExportSort(keys, idx, -5);
    EXPECT_EQ(keys, (Kx_Array<double>{1, 3, 2}));
    Kx_Array<double> noKeys;
    Kx_Array<int> noIdx;
    ObjectExportSort(noKeys, noIdx, 10);
    EXPECT_TRUE(noKeys.isEmpty());
}
