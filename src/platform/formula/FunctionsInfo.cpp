// Information functions (ISNA, ISERR, ISLOGICAL, ISNONTEXT, ISEVEN, ISODD, ISREF, ERROR.TYPE, N, T,
// TYPE) and the logical ones beyond IF and AND/OR (IFNA, IFS, SWITCH, XOR, TRUE(), FALSE()). They
// answer as a mainstream desktop spreadsheet does, which is not always what their names suggest: an
// empty cell is an even number, ISREF of an error is FALSE rather than the error, TYPE of a range is
// 64 and TYPE of an error is 16.
#include "platform/formula/Functions.h"

#include <cmath>

namespace kxformula::detail {

namespace {

Operand boolean(bool b)
{
    return Operand::of(Value::boolean(b));
}

// ISEVEN and ISODD: numbers are truncated, texts that read as numbers count, an empty cell is 0;
// booleans and other texts are #VALUE!.
Operand parity(Args& args, bool wantEven)
{
    const Value& v = args.value(0);
    if (v.isBoolean())
        return Operand::error(ErrorCode::Value);
    const Value n = toNumber(v);
    if (n.isError())
        return Operand::of(n);
    const double whole = std::trunc(n.asNumber());
    const bool even = std::fmod(std::fabs(whole), 2.0) == 0.0;
    return boolean(even == wantEven);
}

} // namespace

Operand fnIsNa(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    return boolean(v.isError() && v.asError() == ErrorCode::NA);
}

Operand fnIsErr(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    return boolean(v.isError() && v.asError() != ErrorCode::NA);
}

Operand fnIsLogical(Args& args, EvalContext&)
{
    return boolean(args.value(0).isBoolean());
}

Operand fnIsNonText(Args& args, EvalContext&)
{
    return boolean(!args.value(0).isText());
}

Operand fnIsEven(Args& args, EvalContext&)
{
    return parity(args, true);
}

Operand fnIsOdd(Args& args, EvalContext&)
{
    return parity(args, false);
}

Operand fnIsRef(Args& args, EvalContext&)
{
    return boolean(args.operand(0).isRef);
}

Operand fnErrorType(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    if (!v.isError())
        return Operand::error(ErrorCode::NA);
    return Operand::of(Value::number(static_cast<int>(v.asError())));
}

Operand fnN(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    if (v.isNumber() || v.isError())
        return Operand::of(v);
    if (v.isBoolean())
        return Operand::of(Value::number(v.asBoolean() ? 1 : 0));
    return Operand::of(Value::number(0));
}

Operand fnT(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    if (v.isText() || v.isError())
        return Operand::of(v);
    return Operand::of(Value::text(std::string()));
}

Operand fnType(Args& args, EvalContext& ctx)
{
    const Operand& o = args.operand(0);
    if (o.isRef && !o.area.single())
        return Operand::of(Value::number(64));
    const Value v = o.isRef ? scalarOf(o, ctx) : o.value;
    switch (v.type()) {
    case ValueType::Text: return Operand::of(Value::number(2));
    case ValueType::Boolean: return Operand::of(Value::number(4));
    case ValueType::Error: return Operand::of(Value::number(16));
    default: return Operand::of(Value::number(1));  // numbers and empty cells
    }
}

Operand fnIfNa(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    return Operand::of(v.isError() && v.asError() == ErrorCode::NA ? args.value(1) : v);
}

// IFS(condition1, value1, condition2, value2, ...): the value of the first true condition; #N/A
// when none is; a condition that is an error, or no boolean, ends it with that error.
Operand fnIfs(Args& args, EvalContext& ctx)
{
    if (args.size() % 2 != 0)
        return Operand::error(ErrorCode::Value);
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const Operand& c = args.operand(i);
        const Value condition = toBoolean(c.isRef ? scalarOf(c, ctx) : c.value);
        if (condition.isError())
            return Operand::of(condition);
        if (condition.asBoolean()) {
            const Operand& v = args.operand(i + 1);
            return Operand::of(v.isRef ? scalarOf(v, ctx) : v.value);
        }
    }
    return Operand::error(ErrorCode::NA);
}

// SWITCH(expression, case1, result1, ..., [default]): the result of the first case equal to the
// expression (texts without regard to case, as "=" compares); the default, or #N/A, when none is.
Operand fnSwitch(Args& args, EvalContext& ctx)
{
    const auto valueOf = [&](std::size_t i) {
        const Operand& o = args.operand(i);
        return o.isRef ? scalarOf(o, ctx) : o.value;
    };
    const Value expression = valueOf(0);
    if (expression.isError())
        return Operand::of(expression);
    const std::size_t pairs = (args.size() - 1) / 2;
    for (std::size_t p = 0; p < pairs; ++p) {
        const Value candidate = valueOf(1 + 2 * p);
        if (candidate.isError())
            return Operand::of(candidate);
        if (candidate.type() == expression.type() && compareValues(candidate, expression) == 0)
            return Operand::of(valueOf(2 + 2 * p));
    }
    if ((args.size() - 1) % 2 == 1)
        return Operand::of(valueOf(args.size() - 1));
    return Operand::error(ErrorCode::NA);
}

Operand fnTrue(Args&, EvalContext&)
{
    return boolean(true);
}

Operand fnFalse(Args&, EvalContext&)
{
    return boolean(false);
}

} // namespace kxformula::detail
