// Aggregates (SUM, AVERAGE, MIN, MAX, COUNT, COUNTA, COUNTIF, SUMIF) and the mathematical
// functions. Results that are not finite numbers become #NUM! when wrapped into a Value.
#include "platform/formula/Functions.h"

#include "platform/formula/Numbers.h"
#include "platform/formula/Text.h"

#include <cmath>
#include <limits>
#include <numbers>

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

// Digits of ROUND and friends: truncated toward zero, kept within what can matter for a double.
long roundingDigits(double digits)
{
    if (digits > 400)
        return 400;
    if (digits < -400)
        return -400;
    return static_cast<long>(std::trunc(digits));
}

Operand roundWith(Args& args, RoundMode mode)
{
    const double x = args.number(0);
    const Decimal d = roundDecimal(toDecimal15(x), roundingDigits(args.number(1)), mode);
    return number(fromDecimal(d));
}

// Trigonometric functions give #NUM! for arguments so large that no digit of the result is
// meaningful, as spreadsheets do.
constexpr double kTrigLimit = 134217728.0; // 2^27

} // namespace

Operand fnSum(Args& args, EvalContext& ctx)
{
    double sum = 0;
    if (const auto e = forEachNumber(args, ctx, [&](double x) { sum += x; }))
        return error(*e);
    return number(sum);
}

Operand fnAverage(Args& args, EvalContext& ctx)
{
    double sum = 0;
    std::size_t count = 0;
    if (const auto e = forEachNumber(args, ctx, [&](double x) {
            sum += x;
            ++count;
        }))
        return error(*e);
    if (count == 0)
        return error(ErrorCode::Div0);
    return number(sum / static_cast<double>(count));
}

Operand fnMin(Args& args, EvalContext& ctx)
{
    double best = std::numeric_limits<double>::infinity();
    if (const auto e = forEachNumber(args, ctx, [&](double x) { best = x < best ? x : best; }))
        return error(*e);
    return number(std::isinf(best) ? 0 : best);
}

Operand fnMax(Args& args, EvalContext& ctx)
{
    double best = -std::numeric_limits<double>::infinity();
    if (const auto e = forEachNumber(args, ctx, [&](double x) { best = x > best ? x : best; }))
        return error(*e);
    return number(std::isinf(best) ? 0 : best);
}

// COUNT: numbers in ranges; numbers, booleans and numeric texts given directly. Never an error.
Operand fnCount(Args& args, EvalContext& ctx)
{
    double count = 0;
    for (Operand& o : args.all()) {
        if (o.isRef) {
            forEachCell(o.area, ctx, [&](const Value& v, int, int) {
                count += v.isNumber();
                return true;
            });
        } else if (o.value.isNumber() || o.value.isBoolean()
                   || (o.value.isText() && parseNumber(o.value.asText()))) {
            ++count;
        }
    }
    return number(count);
}

// COUNTA: every non-empty cell in ranges (errors and empty texts included); every value given.
Operand fnCountA(Args& args, EvalContext& ctx)
{
    double count = 0;
    for (Operand& o : args.all()) {
        if (o.isRef) {
            forEachCell(o.area, ctx, [&](const Value& v, int, int) {
                count += !v.isEmpty();
                return true;
            });
        } else {
            ++count;
        }
    }
    return number(count);
}

Criterion::Criterion(const Value& criterion)
{
    if (!criterion.isText()) {
        operand_ = criterion; // a number or boolean: equality; empty: matches empty cells
        return;
    }
    std::string_view text = criterion.asText();
    static constexpr struct {
        std::string_view prefix;
        Cmp cmp;
    } kOps[] = {{"<=", Cmp::Le}, {">=", Cmp::Ge}, {"<>", Cmp::Ne}, {"<", Cmp::Lt}, {">", Cmp::Gt}, {"=", Cmp::Eq}};
    for (const auto& op : kOps)
        if (text.substr(0, op.prefix.size()) == op.prefix) {
            cmp_ = op.cmp;
            text.remove_prefix(op.prefix.size());
            break;
        }
    if (text.empty()) {
        operand_ = Value(); // "=" or "<>" alone: empty cells
        if (criterion.asText().empty())
            operand_ = Value::text({}); // "" matches empty cells and empty texts
        return;
    }
    if (const auto n = parseNumber(text)) {
        operand_ = Value::number(*n);
    } else if (const Value b = toBoolean(Value::text(std::string(text))); b.isBoolean()) {
        operand_ = b;
    } else {
        operand_ = Value::text(std::string(text));
        wildcard_ = (cmp_ == Cmp::Eq || cmp_ == Cmp::Ne) && hasWildcards(text);
    }
}

bool Criterion::matches(const Value& cell) const
{
    if (cmp_ == Cmp::Eq || cmp_ == Cmp::Ne) {
        bool equal = false;
        if (operand_.isEmpty()) {
            equal = cell.isEmpty();
        } else if (operand_.isText() && operand_.asText().empty()) {
            equal = cell.isEmpty() || (cell.isText() && cell.asText().empty());
        } else if (operand_.isNumber()) {
            if (cell.isNumber())
                equal = sameNumber(cell.asNumber(), operand_.asNumber());
            else if (cell.isText())
                if (const auto n = parseNumber(cell.asText()))
                    equal = sameNumber(*n, operand_.asNumber());
        } else if (operand_.isBoolean()) {
            equal = cell.isBoolean() && cell.asBoolean() == operand_.asBoolean();
        } else if (cell.isText()) {
            equal = wildcard_ ? wildcardMatch(operand_.asText(), cell.asText())
                              : compareIgnoringCase(operand_.asText(), cell.asText()) == 0;
        }
        return cmp_ == Cmp::Eq ? equal : !equal;
    }
    // Ordering criteria compare cells of the criterion's own type only.
    if (cell.type() != operand_.type())
        return false;
    const int c = compareValues(cell, operand_);
    switch (cmp_) {
    case Cmp::Lt: return c < 0;
    case Cmp::Le: return c <= 0;
    case Cmp::Gt: return c > 0;
    default: return c >= 0;
    }
}

Operand fnCountIf(Args& args, EvalContext& ctx)
{
    Operand& range = args.operand(0);
    if (!range.isRef)
        return error(ErrorCode::Value);
    const Criterion criterion(args.value(1));
    double count = 0;
    forEachCell(range.area, ctx, [&](const Value& v, int, int) {
        count += criterion.matches(v);
        return true;
    });
    // Cells beyond the sheet are empty (as COUNTBLANK counts them): a criterion that takes empty
    // cells counts them too, without visiting them.
    if (criterion.matches(Value())) {
        const Area& a = range.area;
        const auto inside = clipToSheet(a, ctx);
        const double all = static_cast<double>(a.width()) * a.height();
        count += inside ? all - static_cast<double>(inside->width()) * inside->height() : all;
    }
    return number(count);
}

// SUMIF(range, criterion, [sum range]): the sum range has the shape of the range, starting at its
// own first cell.
Operand fnSumIf(Args& args, EvalContext& ctx)
{
    Operand& range = args.operand(0);
    if (!range.isRef || (args.size() == 3 && !args.operand(2).isRef))
        return error(ErrorCode::Value);
    const Criterion criterion(args.value(1));
    const Area& a = range.area;
    const int dc = args.size() == 3 ? args.operand(2).area.c1 - a.c1 : 0;
    const int dr = args.size() == 3 ? args.operand(2).area.r1 - a.r1 : 0;
    double sum = 0;
    std::optional<ErrorCode> err;
    forEachCell(a, ctx, [&](const Value& v, int c, int r) {
        if (!criterion.matches(v))
            return true;
        const long long sc = static_cast<long long>(c) + dc, sr = static_cast<long long>(r) + dr;
        if (sc > ctx.columns || sr > ctx.rows)
            return true;
        const Value s = dc == 0 && dr == 0 ? v : ctx.cell(static_cast<int>(sc), static_cast<int>(sr));
        if (s.isNumber())
            sum += s.asNumber();
        else if (s.isError())
            err = s.asError();
        return !err;
    });
    if (err)
        return error(*err);
    return number(sum);
}

Operand fnRound(Args& args, EvalContext&)
{
    return roundWith(args, RoundMode::Nearest);
}

Operand fnRoundUp(Args& args, EvalContext&)
{
    return roundWith(args, RoundMode::AwayFromZero);
}

Operand fnRoundDown(Args& args, EvalContext&)
{
    return roundWith(args, RoundMode::TowardZero);
}

Operand fnInt(Args& args, EvalContext&)
{
    return number(std::floor(args.number(0)));
}

Operand fnMod(Args& args, EvalContext&)
{
    const double n = args.number(0), d = args.number(1);
    if (d == 0)
        return error(ErrorCode::Div0);
    const double q = std::floor(n / d);
    if (!std::isfinite(q) || std::fabs(q) >= 9007199254740992.0) // 2^53: no digit of the rest is left
        return error(ErrorCode::Num);
    double r = n - d * q;
    // The rest takes the divisor's sign and stays below it despite rounding.
    if (r != 0 && ((r < 0) != (d < 0)))
        r += d;
    if (std::fabs(r) >= std::fabs(d))
        r = 0;
    return number(r);
}

Operand fnAbs(Args& args, EvalContext&)
{
    return number(std::fabs(args.number(0)));
}

Operand fnSqrt(Args& args, EvalContext&)
{
    const double x = args.number(0);
    if (x < 0)
        return error(ErrorCode::Num);
    return number(std::sqrt(x));
}

Operand fnPower(Args& args, EvalContext&)
{
    const double x = args.number(0), y = args.number(1);
    if (x == 0 && y == 0)
        return error(ErrorCode::Num);
    if (x == 0 && y < 0)
        return error(ErrorCode::Div0);
    if (x < 0 && y != std::floor(y))
        return error(ErrorCode::Num);
    return number(std::pow(x, y));
}

Operand fnPi(Args&, EvalContext&)
{
    return number(std::numbers::pi);
}

Operand fnSin(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return std::fabs(x) >= kTrigLimit ? error(ErrorCode::Num) : number(std::sin(x));
}

Operand fnCos(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return std::fabs(x) >= kTrigLimit ? error(ErrorCode::Num) : number(std::cos(x));
}

Operand fnTan(Args& args, EvalContext&)
{
    const double x = args.number(0);
    return std::fabs(x) >= kTrigLimit ? error(ErrorCode::Num) : number(std::tan(x));
}

Operand fnAtan(Args& args, EvalContext&)
{
    return number(std::atan(args.number(0)));
}

// ATAN2(x, y): the angle of the point (x, y); the x coordinate comes first, as in spreadsheets.
Operand fnAtan2(Args& args, EvalContext&)
{
    const double x = args.number(0), y = args.number(1);
    if (x == 0 && y == 0)
        return error(ErrorCode::Div0);
    return number(std::atan2(y, x));
}

Operand fnRadians(Args& args, EvalContext&)
{
    return number(args.number(0) * (std::numbers::pi / 180.0));
}

Operand fnDegrees(Args& args, EvalContext&)
{
    return number(args.number(0) * (180.0 / std::numbers::pi));
}

} // namespace kxformula::detail
