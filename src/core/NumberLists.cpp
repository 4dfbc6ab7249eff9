// Rounding to a step and sorting keys with their indices.
#include "core/NumberLists.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace {

// Rounds q to the nearest integer, halves away from zero. A quotient that is a half up to a few units
// in the last place (0.15 / 0.1 = 1.4999999999999998) counts as a half: the user wrote a half.
double roundHalfAway(double q)
{
    double r = std::round(q);
    const double distance = std::fabs(std::fabs(q - std::trunc(q)) - 0.5);
    if (std::fabs(r) < std::fabs(q) && distance <= 4 * std::numeric_limits<double>::epsilon() * std::fabs(q))
        r += q > 0 ? 1.0 : -1.0;
    return r;
}

} // namespace

double ObjectExportRoundTo(double x, double step)
{
    if (!std::isfinite(x) || !std::isfinite(step) || !(step > 0))
        return x;
    // With a step like 0.1, x * 10 / 10 lands on the double nearest the decimal result, where
    // x / 0.1 * 0.1 does not (3 * 0.1 is 0.30000000000000004).
    const double inverse = std::round(1.0 / step);
    const bool byInverse = step < 1 && inverse >= 2 && std::fabs(1.0 / inverse - step) <= 1e-12 * step;
    const double q = byInverse ? x * inverse : x / step;
    if (!std::isfinite(q) || std::fabs(q) >= 4503599627370496.0)  // 2^52: q is a whole number already
        return x;
    const double r = roundHalfAway(q);
    if (r == 0)
        return 0.0;
    const double result = byInverse ? r / inverse : r * step;
    return std::isfinite(result) ? result : x;
}

void ObjectExportSort(Kx_Array<double>& keys, Kx_Array<int>& idx, int n)
{
    n = std::clamp(n, 0, std::min(keys.length(), idx.length()));
    if (n < 2)
        return;
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    // NaN is unordered, which would break the sort's ordering rules; it sorts after every number.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const double ka = keys[a];
        const double kb = keys[b];
        if (std::isnan(ka))
            return false;
        return std::isnan(kb) || ka < kb;
    });
    std::vector<double> sortedKeys(static_cast<size_t>(n));
    std::vector<int> sortedIdx(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        sortedKeys[static_cast<size_t>(i)] = keys[order[static_cast<size_t>(i)]];
        sortedIdx[static_cast<size_t>(i)] = idx[order[static_cast<size_t>(i)]];
    }
    for (int i = 0; i < n; ++i) {
        keys[i] = sortedKeys[static_cast<size_t>(i)];
        idx[i] = sortedIdx[static_cast<size_t>(i)];
    }
}
