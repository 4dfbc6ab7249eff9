// Further mathematical functions: exponentials and logarithms, SIGN, TRUNC, EVEN, ODD, FACT,
// QUOTIENT, PRODUCT and SUMSQ. Results that are not finite numbers become #NUM! when wrapped into a
// Value, so overflow (EXP(1000), FACT(171)) needs no test of its own.
#include "platform/formula/Functions.h"

#include <cmath>

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

} // namespace

Operand fnExp(Args& args, EvalContext&)
{
    return number(std::exp(args.number(0)));
}

Operand fnLn(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return x <= 0 ? error(ErrorCode::Num) : number(std::log(x));
}

Operand fnLog10(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return x <= 0 ? error(ErrorCode::Num) : number(std::log10(x));
}

// LOG(x, [base = 10]): a base of 1 divides by log 1 = 0.
Operand fnLog(Args& args, EvalContext&)
{
    const double x = args.number(0);
    const double base = args.size() > 1 ? args.number(1) : 10.0;
    if (x <= 0 || base <= 0)
        return error(ErrorCode::Num);
    if (base == 1)
        return error(ErrorCode::Div0);
    return number(std::log(x) / std::log(base));
}

Operand fnSign(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return number(x > 0 ? 1 : (x < 0 ? -1 : 0));
}

// TRUNC(x, [digits = 0]): toward zero at the given decimal (negative: left of the point).
Operand fnTrunc(Args& args, EvalContext&)
{
    const double x = args.number(0);
    const double digits = args.size() > 1 ? std::trunc(args.number(1)) : 0.0;
    if (digits > 15 || !std::isfinite(x))
        return number(x);
    if (digits < -308)
        return number(0);
    const double scale = std::pow(10.0, digits);
    return number(std::trunc(x * scale) / scale);
}

// EVEN and ODD: away from zero to the next even (odd) whole number; ODD(0) is 1.
Operand fnEven(Args& args, EvalContext&)
{
    const double x = args.number(0);
    const double up = std::ceil(std::fabs(x) / 2) * 2;
    return number(x < 0 ? -up : up);
}

Operand fnOdd(Args& args, EvalContext&)
{
    const double x = args.number(0);
    double up = std::ceil(std::fabs(x));
    if (std::fmod(up, 2.0) == 0)
        up += 1;
    return number(x < 0 ? -up : up);
}

// FACT(n): n truncated; negative is #NUM!.
Operand fnFact(Args& args, EvalContext&)
{
    const double n = std::trunc(args.number(0));
    if (n < 0)
        return error(ErrorCode::Num);
    if (n > 170)
        return error(ErrorCode::Num);
    double f = 1;
    for (int i = 2; i <= static_cast<int>(n); ++i)
        f *= i;
    return number(f);
}

// QUOTIENT(numerator, denominator): the whole part of the division, toward zero.
Operand fnQuotient(Args& args, EvalContext&)
{
    const double d = args.number(1);
    if (d == 0)
        return error(ErrorCode::Div0);
    return number(std::trunc(args.number(0) / d));
}

// PRODUCT and SUMSQ take their numbers as SUM does; PRODUCT of no number at all is 0.
Operand fnProduct(Args& args, EvalContext& ctx)
{
    double product = 1;
    bool any = false;
    if (const auto e = forEachNumber(args, ctx, [&](double x) {
            product *= x;
            any = true;
        }))
        return error(*e);
    return number(any ? product : 0);
}

Operand fnSumSq(Args& args, EvalContext& ctx)
{
    double sum = 0;
    if (const auto e = forEachNumber(args, ctx, [&](double x) { sum += x * x; }))
        return error(*e);
    return number(sum);
}

} // namespace kxformula::detail
