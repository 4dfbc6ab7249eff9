// Rounding to a multiple (CEILING, FLOOR, MROUND), SUMPRODUCT, GCD, LCM, the random numbers (RAND,
// RANDBETWEEN; volatile, see FunctionTable.cpp) and the inverse and hyperbolic trigonometric
// functions. Results that are not finite numbers become #NUM! when wrapped into a Value.
#include "platform/formula/Functions.h"

#include <cmath>
#include <random>

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

// x / step, snapped to the nearest whole number when only binary noise separates them, so that
// CEILING(1.1, 0.1) is 1.1 and not 1.2.
double stepsOf(double x, double step)
{
    const double q = x / step;
    const double whole = std::round(q);
    return std::fabs(q - whole) <= 1e-12 * std::fmax(1.0, std::fabs(q)) ? whole : q;
}

constexpr double kExactIntegers = 9007199254740992.0; // 2^53

std::mt19937_64& randomEngine()
{
    static thread_local std::mt19937_64 engine{std::random_device{}()};
    return engine;
}

// The whole numbers GCD and LCM work on: truncated; negative or beyond exact integers is #NUM!.
std::optional<ErrorCode> collectWholeNumbers(Args& args, EvalContext& ctx, std::vector<double>& out)
{
    bool bad = false;
    if (const auto e = forEachNumber(args, ctx, [&](double x) {
            const double n = std::trunc(x);
            bad = bad || n < 0 || n >= kExactIntegers;
            out.push_back(n);
        }))
        return e;
    if (bad)
        return ErrorCode::Num;
    return std::nullopt;
}

double gcdOf(double a, double b)
{
    while (b != 0) {
        const double r = std::fmod(a, b);
        a = b;
        b = r;
    }
    return a;
}

} // namespace

// CEILING(x, step): up to a multiple of step; a negative x with a positive step goes toward zero,
// with a negative step away from it. A positive x with a negative step is #NUM!; a step of 0 gives 0.
Operand fnCeiling(Args& args, EvalContext&)
{
    const double x = args.number(0), step = args.number(1);
    if (x > 0 && step < 0)
        return error(ErrorCode::Num);
    if (step == 0 || x == 0)
        return number(0);
    return number(std::ceil(stepsOf(x, step)) * step);
}

// FLOOR(x, step): down to a multiple of step, the mirror of CEILING; a step of 0 is #DIV/0!.
Operand fnFloor(Args& args, EvalContext&)
{
    const double x = args.number(0), step = args.number(1);
    if (x > 0 && step < 0)
        return error(ErrorCode::Num);
    if (x == 0)
        return number(0);
    if (step == 0)
        return error(ErrorCode::Div0);
    return number(std::floor(stepsOf(x, step)) * step);
}

// MROUND(x, multiple): to the nearest multiple, half away from zero; signs that differ are #NUM!.
Operand fnMRound(Args& args, EvalContext&)
{
    const double x = args.number(0), m = args.number(1);
    if (m == 0 || x == 0)
        return number(0);
    if ((x < 0) != (m < 0))
        return error(ErrorCode::Num);
    const double q = stepsOf(x, m);
    const double whole = std::trunc(q);
    const double rounded = std::fabs(q - whole) >= 0.5 - 1e-12 ? whole + (q < 0 ? -1 : 1) : whole;
    return number(rounded * m);
}

// SUMPRODUCT(array, ...): the arrays must have one shape (#VALUE! otherwise); what is not a number in
// them counts as 0, an error in them is the result. A value given directly is a 1x1 array.
Operand fnSumProduct(Args& args, EvalContext& ctx)
{
    const Operand& first = args.operand(0);
    const int width = first.isRef ? first.area.width() : 1;
    const int height = first.isRef ? first.area.height() : 1;
    for (Operand& o : args.all()) {
        if (!o.isRef && o.value.isError())
            return error(o.value.asError());
        if ((o.isRef ? o.area.width() : 1) != width || (o.isRef ? o.area.height() : 1) != height)
            return error(ErrorCode::Value);
    }
    const auto clipped = first.isRef ? clipToSheet(first.area, ctx) : std::optional<Area>(first.area);
    if (!clipped)
        return number(0);
    double sum = 0;
    Value scratch;
    // Cells beyond the sheet are empty, so their products are 0: only the part inside is visited.
    const int rows = first.isRef ? clipped->r2 - first.area.r1 + 1 : 1;
    const int cols = first.isRef ? clipped->c2 - first.area.c1 + 1 : 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            double product = 1;
            for (Operand& o : args.all()) {
                const Value& v = o.isRef ? ctx.peek(o.area.c1 + c, o.area.r1 + r, scratch) : o.value;
                if (v.isError())
                    return error(v.asError());
                product = v.isNumber() ? product * v.asNumber() : 0;
            }
            sum += product;
        }
    return number(sum);
}

// GCD and LCM of whole numbers (truncated); GCD(0, 0) is 0 and LCM with a 0 among them is 0.
Operand fnGcd(Args& args, EvalContext& ctx)
{
    std::vector<double> values;
    if (const auto e = collectWholeNumbers(args, ctx, values))
        return error(*e);
    double g = 0;
    for (const double v : values)
        g = gcdOf(g, v);
    return number(g);
}

Operand fnLcm(Args& args, EvalContext& ctx)
{
    std::vector<double> values;
    if (const auto e = collectWholeNumbers(args, ctx, values))
        return error(*e);
    double l = 1;
    for (const double v : values) {
        if (v == 0)
            return number(0);
        l = l / gcdOf(l, v) * v;
        if (l >= kExactIntegers)
            return error(ErrorCode::Num);
    }
    return number(l);
}

// RAND(): 0 <= x < 1, new on every recalculation.
Operand fnRand(Args&, EvalContext&)
{
    return number(std::uniform_real_distribution<double>(0.0, 1.0)(randomEngine()));
}

// RANDBETWEEN(bottom, top): a whole number between them; bottom is rounded up and top down, and
// #NUM! when no whole number is left between them.
Operand fnRandBetween(Args& args, EvalContext&)
{
    const double low = std::ceil(args.number(0)), high = std::floor(args.number(1));
    if (low > high || std::fabs(low) >= kExactIntegers || std::fabs(high) >= kExactIntegers)
        return error(ErrorCode::Num);
    const auto lo = static_cast<long long>(low), hi = static_cast<long long>(high);
    return number(static_cast<double>(std::uniform_int_distribution<long long>(lo, hi)(randomEngine())));
}

Operand fnAcos(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return std::fabs(x) > 1 ? error(ErrorCode::Num) : number(std::acos(x));
}

Operand fnAsin(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return std::fabs(x) > 1 ? error(ErrorCode::Num) : number(std::asin(x));
}

Operand fnSinh(Args& args, EvalContext&)
{
    return number(std::sinh(args.number(0)));
}

Operand fnCosh(Args& args, EvalContext&)
{
    return number(std::cosh(args.number(0)));
}

Operand fnTanh(Args& args, EvalContext&)
{
    return number(std::tanh(args.number(0)));
}

} // namespace kxformula::detail
