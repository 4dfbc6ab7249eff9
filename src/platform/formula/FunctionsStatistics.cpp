// Statistics: MEDIAN, MODE, LARGE, SMALL, RANK, the variances and standard deviations, AVERAGEA, and
// the conditional aggregates over one criterion (AVERAGEIF) or several (COUNTIFS, SUMIFS,
// AVERAGEIFS, MAXIFS, MINIFS).
#include "platform/formula/Functions.h"

#include "platform/formula/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kxformula::detail {

namespace {

Operand number(double x)
{
    return Operand::of(Value::number(x));
}

Operand error(ErrorCode code)
{
    return Operand::error(code);
}

// The numbers of all arguments, taken as SUM takes them.
std::optional<ErrorCode> collectNumbers(Args& args, EvalContext& ctx, std::vector<double>& out, std::size_t from = 0)
{
    if (from == 0)
        return forEachNumber(args, ctx, [&](double x) { out.push_back(x); });
    Args rest(args.all().subspan(from));
    return forEachNumber(rest, ctx, [&](double x) { out.push_back(x); });
}

// Sum of squared deviations from the mean, in two passes for accuracy.
double squaredDeviations(const std::vector<double>& xs)
{
    double mean = 0;
    for (const double x : xs)
        mean += x;
    mean /= static_cast<double>(xs.size());
    double sum = 0;
    for (const double x : xs)
        sum += (x - mean) * (x - mean);
    return sum;
}

Operand variance(Args& args, EvalContext& ctx, bool sample, bool root)
{
    std::vector<double> xs;
    if (const auto e = collectNumbers(args, ctx, xs))
        return error(*e);
    const std::size_t need = sample ? 2 : 1;
    if (xs.size() < need)
        return error(ErrorCode::Div0);
    const double v = squaredDeviations(xs) / static_cast<double>(xs.size() - (sample ? 1 : 0));
    return number(root ? std::sqrt(v) : v);
}

Operand kth(Args& args, EvalContext& ctx, bool largest)
{
    std::vector<double> xs;
    Args first(args.all().subspan(0, 1));
    if (const auto e = collectNumbers(first, ctx, xs))
        return error(*e);
    const double k = std::ceil(args.number(1));
    if (k < 1 || k > static_cast<double>(xs.size()))
        return error(ErrorCode::Num);
    const auto at = xs.begin() + static_cast<std::ptrdiff_t>(k - 1);
    if (largest)
        std::nth_element(xs.begin(), at, xs.end(), std::greater<double>());
    else
        std::nth_element(xs.begin(), at, xs.end());
    return number(*at);
}

// The criteria of a *IFS call: pairs of a range and a criterion from argument `from` on. All ranges
// have the shape of `shape`, else #VALUE!.
struct CriteriaSet {
    std::vector<Area> ranges;
    std::vector<Criterion> criteria;
};

std::optional<ErrorCode> readCriteria(Args& args, EvalContext& ctx, std::size_t from, const Area* shape,
                                      CriteriaSet& out)
{
    if ((args.size() - from) % 2 != 0 || args.size() <= from)
        return ErrorCode::Value;
    for (std::size_t i = from; i < args.size(); i += 2) {
        Operand& range = args.operand(i);
        if (!range.isRef)
            return range.value.isError() ? range.value.asError() : ErrorCode::Value;
        const Area& a = range.area;
        const Area& s = shape ? *shape : out.ranges.empty() ? a : out.ranges.front();
        if (a.width() != s.width() || a.height() != s.height())
            return ErrorCode::Value;
        const Value criterion = scalarOf(args.operand(i + 1), ctx);
        if (criterion.isError())
            return criterion.asError();
        out.ranges.push_back(a);
        out.criteria.emplace_back(criterion);
    }
    return std::nullopt;
}

// Calls f(dc, dr) for the offsets (from the ranges' first cells) where every criterion holds, and
// returns how many matching offsets lie where every range (and `values`, when given) is beyond the
// sheet: those cells are all empty, so they are counted, not visited, and a whole column costs what
// the sheet's rows cost.
template <typename F>
double forEachMatch(const CriteriaSet& set, const EvalContext& ctx, const Area* values, F&& f)
{
    const Area& first = set.ranges.front();
    const auto rowsInside = [&](const Area& a) { return std::max(0, std::min(a.height(), ctx.rows - a.r1 + 1)); };
    const auto colsInside = [&](const Area& a) { return std::max(0, std::min(a.width(), ctx.columns - a.c1 + 1)); };
    bool emptyMatchesAll = true;
    int rows = values ? rowsInside(*values) : 0, cols = values ? colsInside(*values) : 0;
    for (std::size_t i = 0; i < set.ranges.size(); ++i) {
        emptyMatchesAll = emptyMatchesAll && set.criteria[i].matches(Value());
        rows = std::max(rows, rowsInside(set.ranges[i]));
        cols = std::max(cols, colsInside(set.ranges[i]));
    }
    // A criterion that rejects empty cells confines the matches to its range's part inside the sheet.
    for (std::size_t i = 0; i < set.ranges.size(); ++i)
        if (!set.criteria[i].matches(Value())) {
            rows = std::min(rows, rowsInside(set.ranges[i]));
            cols = std::min(cols, colsInside(set.ranges[i]));
        }
    Value scratch;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            bool all = true;
            for (std::size_t i = 0; i < set.ranges.size() && all; ++i)
                all = set.criteria[i].matches(ctx.peek(set.ranges[i].c1 + c, set.ranges[i].r1 + r, scratch));
            if (all && !f(c, r))
                return 0;
        }
    if (!emptyMatchesAll)
        return 0;
    return static_cast<double>(first.height()) * first.width() - static_cast<double>(rows) * cols;
}

// The conditional aggregates share one walk: the numbers of the value range where all criteria
// hold; an error there is the result.
struct Matched {
    double sum = 0;
    double count = 0;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    std::optional<ErrorCode> error;
};

Matched aggregateIfs(const Area& values, const CriteriaSet& set, const EvalContext& ctx)
{
    Matched m;
    Value scratch;
    forEachMatch(set, ctx, &values, [&](int dc, int dr) {
        const Value& v = ctx.peek(values.c1 + dc, values.r1 + dr, scratch);
        if (v.isNumber()) {
            const double x = v.asNumber();
            m.sum += x;
            m.count += 1;
            m.min = std::min(m.min, x);
            m.max = std::max(m.max, x);
        } else if (v.isError()) {
            m.error = v.asError();
        }
        return !m.error;
    });
    return m;
}

// AVERAGEIFS, SUMIFS, MAXIFS and MINIFS: value range first, then the pairs.
std::optional<ErrorCode> ifsCall(Args& args, EvalContext& ctx, Matched& out)
{
    Operand& values = args.operand(0);
    if (!values.isRef)
        return values.value.isError() ? values.value.asError() : ErrorCode::Value;
    CriteriaSet set;
    if (const auto e = readCriteria(args, ctx, 1, &values.area, set))
        return e;
    out = aggregateIfs(values.area, set, ctx);
    return out.error;
}

} // namespace

// MEDIAN: the middle number, or the mean of the two middle ones; #NUM! without numbers.
Operand fnMedian(Args& args, EvalContext& ctx)
{
    std::vector<double> xs;
    if (const auto e = collectNumbers(args, ctx, xs))
        return error(*e);
    if (xs.empty())
        return error(ErrorCode::Num);
    const std::size_t mid = xs.size() / 2;
    std::nth_element(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(mid), xs.end());
    const double upper = xs[mid];
    if (xs.size() % 2 == 1)
        return number(upper);
    const double lower = *std::max_element(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(mid));
    return number((lower + upper) / 2);
}

// MODE: the most frequent number; of equally frequent ones the first met. #N/A when no number
// occurs twice.
Operand fnMode(Args& args, EvalContext& ctx)
{
    std::vector<double> xs;
    if (const auto e = collectNumbers(args, ctx, xs))
        return error(*e);
    std::vector<std::pair<double, std::size_t>> sorted; // value, first position
    sorted.reserve(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        sorted.emplace_back(xs[i], i);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t bestCount = 1, bestFirst = 0;
    double best = 0;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j < sorted.size() && sorted[j].first == sorted[i].first)
            ++j;
        const std::size_t count = j - i;
        if (count > bestCount || (count == bestCount && count > 1 && sorted[i].second < bestFirst)) {
            bestCount = count;
            bestFirst = sorted[i].second;
            best = sorted[i].first;
        }
        i = j;
    }
    if (bestCount < 2)
        return error(ErrorCode::NA);
    return number(best);
}

// LARGE(array, k) and SMALL(array, k): k is rounded up; outside 1..count is #NUM!.
Operand fnLarge(Args& args, EvalContext& ctx)
{
    return kth(args, ctx, true);
}

Operand fnSmall(Args& args, EvalContext& ctx)
{
    return kth(args, ctx, false);
}

// RANK(x, range, [ascending = 0]): 1 + how many numbers of the range come before x; equal numbers
// share the rank. #N/A when x is not among them.
Operand fnRank(Args& args, EvalContext& ctx)
{
    const double x = args.number(0);
    Operand& range = args.operand(1);
    if (!range.isRef)
        return error(range.value.isError() ? range.value.asError() : ErrorCode::Value);
    const bool ascending = args.size() > 2 && args.number(2) != 0;
    double before = 0;
    bool found = false;
    forEachCell(range.area, ctx, [&](const Value& v, int, int) {
        if (!v.isNumber())
            return true;
        const double y = v.asNumber();
        if (y == x)
            found = true;
        else if (ascending ? y < x : y > x)
            before += 1;
        return true;
    });
    if (!found)
        return error(ErrorCode::NA);
    return number(before + 1);
}

Operand fnStdev(Args& args, EvalContext& ctx)
{
    return variance(args, ctx, true, true);
}

Operand fnStdevP(Args& args, EvalContext& ctx)
{
    return variance(args, ctx, false, true);
}

Operand fnVar(Args& args, EvalContext& ctx)
{
    return variance(args, ctx, true, false);
}

Operand fnVarP(Args& args, EvalContext& ctx)
{
    return variance(args, ctx, false, false);
}

// AVERAGEA: as AVERAGE, but texts in ranges count as 0 and booleans there as 1 and 0.
Operand fnAverageA(Args& args, EvalContext& ctx)
{
    double sum = 0, count = 0;
    for (Operand& o : args.all()) {
        if (o.isRef) {
            std::optional<ErrorCode> err;
            forEachCell(o.area, ctx, [&](const Value& v, int, int) {
                if (v.isError())
                    err = v.asError();
                else if (v.isNumber())
                    sum += v.asNumber(), count += 1;
                else if (v.isBoolean())
                    sum += v.asBoolean() ? 1 : 0, count += 1;
                else if (v.isText())
                    count += 1;
                return !err;
            });
            if (err)
                return error(*err);
            continue;
        }
        const Value n = toNumber(o.value);
        if (n.isError())
            return error(n.asError());
        sum += n.asNumber();
        count += 1;
    }
    if (count == 0)
        return error(ErrorCode::Div0);
    return number(sum / count);
}

// AVERAGEIF(range, criterion, [average range]): the average range takes the range's shape from its
// own first cell; #DIV/0! when no number matches.
Operand fnAverageIf(Args& args, EvalContext& ctx)
{
    Operand& range = args.operand(0);
    if (!range.isRef || (args.size() == 3 && !args.operand(2).isRef))
        return error(ErrorCode::Value);
    CriteriaSet set;
    set.ranges.push_back(range.area);
    set.criteria.emplace_back(args.value(1));
    Area values = range.area;
    if (args.size() == 3) {
        const Area& given = args.operand(2).area;
        values = Area{given.c1, given.r1, given.c1 + range.area.width() - 1, given.r1 + range.area.height() - 1};
    }
    const Matched m = aggregateIfs(values, set, ctx);
    if (m.error)
        return error(*m.error);
    if (m.count == 0)
        return error(ErrorCode::Div0);
    return number(m.sum / m.count);
}

// COUNTIFS(range, criterion, ...): the cells where every criterion holds at the same position.
Operand fnCountIfs(Args& args, EvalContext& ctx)
{
    CriteriaSet set;
    if (const auto e = readCriteria(args, ctx, 0, nullptr, set))
        return error(*e);
    double count = 0;
    const double beyondSheet = forEachMatch(set, ctx, nullptr, [&](int, int) {
        count += 1;
        return true;
    });
    return number(count + beyondSheet);
}

Operand fnSumIfs(Args& args, EvalContext& ctx)
{
    Matched m;
    if (const auto e = ifsCall(args, ctx, m))
        return error(*e);
    return number(m.sum);
}

Operand fnAverageIfs(Args& args, EvalContext& ctx)
{
    Matched m;
    if (const auto e = ifsCall(args, ctx, m))
        return error(*e);
    if (m.count == 0)
        return error(ErrorCode::Div0);
    return number(m.sum / m.count);
}

// MAXIFS and MINIFS: 0 when no number matches.
Operand fnMaxIfs(Args& args, EvalContext& ctx)
{
    Matched m;
    if (const auto e = ifsCall(args, ctx, m))
        return error(*e);
    return number(m.count == 0 ? 0 : m.max);
}

Operand fnMinIfs(Args& args, EvalContext& ctx)
{
    Matched m;
    if (const auto e = ifsCall(args, ctx, m))
        return error(*e);
    return number(m.count == 0 ? 0 : m.min);
}

} // namespace kxformula::detail
