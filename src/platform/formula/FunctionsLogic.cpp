// Logical and information functions. IF and IFERROR normally run as jumps compiled into the
// program (so only the branch taken is evaluated); the functions here serve the rare call that has
// the wrong argument count and therefore stays a plain call.
#include "platform/formula/Functions.h"

namespace kxformula::detail {

namespace {

Operand boolean(bool b)
{
    return Operand::of(Value::boolean(b));
}

// AND/OR: booleans and numbers from ranges (texts and empty cells skipped); values given directly
// must be booleans, numbers or the texts TRUE/FALSE. No value at all is #VALUE!.
template <typename Combine>
Operand logical(Args& args, EvalContext& ctx, bool start, Combine combine)
{
    bool result = start;
    bool any = false;
    std::optional<ErrorCode> err;
    for (Operand& o : args.all()) {
        if (o.isRef) {
            forEachCell(o.area, ctx, [&](const Value& v, int, int) {
                if (v.isError()) {
                    err = v.asError();
                    return false;
                }
                if (v.isBoolean() || v.isNumber()) {
                    result = combine(result, v.isBoolean() ? v.asBoolean() : v.asNumber() != 0);
                    any = true;
                }
                return true;
            });
            if (err)
                return Operand::error(*err);
            continue;
        }
        if (o.value.isEmpty())
            continue; // an omitted argument
        const Value b = toBoolean(o.value);
        if (b.isError())
            return Operand::of(b);
        result = combine(result, b.asBoolean());
        any = true;
    }
    if (!any)
        return Operand::error(ErrorCode::Value);
    return boolean(result);
}

} // namespace

Operand fnIf(Args& args, EvalContext&)
{
    if (args.boolean(0))
        return Operand::of(args.value(1));
    return args.size() > 2 ? Operand::of(args.value(2)) : boolean(false);
}

Operand fnIfError(Args& args, EvalContext&)
{
    return Operand::of(args.value(0).isError() ? args.value(1) : args.value(0));
}

Operand fnAnd(Args& args, EvalContext& ctx)
{
    return logical(args, ctx, true, [](bool a, bool b) { return a && b; });
}

Operand fnOr(Args& args, EvalContext& ctx)
{
    return logical(args, ctx, false, [](bool a, bool b) { return a || b; });
}

// XOR: TRUE when an odd number of its values are true; the values are taken as AND and OR take them.
Operand fnXor(Args& args, EvalContext& ctx)
{
    return logical(args, ctx, false, [](bool a, bool b) { return a != b; });
}

Operand fnNot(Args& args, EvalContext&)
{
    return boolean(!args.boolean(0));
}

Operand fnIsBlank(Args& args, EvalContext&)
{
    return boolean(args.value(0).isEmpty());
}

Operand fnIsNumber(Args& args, EvalContext&)
{
    return boolean(args.value(0).isNumber());
}

Operand fnIsText(Args& args, EvalContext&)
{
    return boolean(args.value(0).isText());
}

Operand fnIsError(Args& args, EvalContext&)
{
    return boolean(args.value(0).isError());
}

Operand fnNa(Args&, EvalContext&)
{
    return Operand::error(ErrorCode::NA);
}

} // namespace kxformula::detail
