// OFFSET and INDIRECT: references made while the formula runs. Their formulas are volatile and run
// once more after the rest of a recalculation (Recalculation.cpp), since the dependency graph cannot
// know the cells they will read.
#include "platform/formula/Functions.h"

#include <cmath>

namespace kxformula::detail {

namespace {

Operand error(ErrorCode code)
{
    return Operand::error(code);
}

// An optional size argument of OFFSET: omitted (or left empty) gives `fallback`.
std::optional<double> sizeArgument(Args& args, std::size_t i, double fallback, const EvalContext& ctx, ErrorCode& err)
{
    if (args.size() <= i)
        return fallback;
    Operand& o = args.operand(i);
    if (!o.isRef && o.value.isEmpty())
        return fallback;
    const Value n = toNumber(scalarOf(o, ctx));
    if (n.isError()) {
        err = n.asError();
        return std::nullopt;
    }
    return std::trunc(n.asNumber());
}

} // namespace

// OFFSET(ref, rows, columns, [height], [width]): the reference moved by rows and columns, of the
// given size (the reference's own by default). A size below 1 or a result outside the grid is
// #REF!; a first argument that is no reference #VALUE!.
Operand fnOffset(Args& args, EvalContext& ctx)
{
    Operand& base = args.operand(0);
    if (!base.isRef)
        return error(base.value.isError() ? base.value.asError() : ErrorCode::Value);
    const double rows = std::trunc(args.number(1)), cols = std::trunc(args.number(2));
    const Area& a = base.area;
    ErrorCode err = ErrorCode::Value;
    const auto height = sizeArgument(args, 3, a.height(), ctx, err);
    if (!height)
        return error(err);
    const auto width = sizeArgument(args, 4, a.width(), ctx, err);
    if (!width)
        return error(err);
    if (*height < 1 || *width < 1)
        return error(ErrorCode::Ref);
    const double r1 = a.r1 + rows, c1 = a.c1 + cols;
    const double r2 = r1 + *height - 1, c2 = c1 + *width - 1;
    if (r1 < 1 || c1 < 1 || r2 > kMaxRow || c2 > kMaxColumn)
        return error(ErrorCode::Ref);
    return Operand::reference(
        Area{static_cast<int>(c1), static_cast<int>(r1), static_cast<int>(c2), static_cast<int>(r2)});
}

// INDIRECT(text, [a1=TRUE]): the reference a text names, A1 style or (a1 FALSE) R1C1 style, relative
// parts counted from the formula's cell. Anything but one cell or one range is #REF!.
Operand fnIndirect(Args& args, EvalContext& ctx)
{
    const std::string& text = args.text(0);
    const RefStyle style = args.size() > 1 && !args.boolean(1) ? RefStyle::R1C1 : RefStyle::A1;
    if (text.empty() || text.front() == '=' || text.size() > 1000)
        return error(ErrorCode::Ref);
    Program program;
    const ParseStatus status = parseFormula(text, style, ctx.col, ctx.row, nullptr, program);
    if (!status.ok || program.unparsed || program.code.size() != 1)
        return error(ErrorCode::Ref);
    const Instr& i = program.code.front();
    if (i.op != Op::Ref && i.op != Op::Area)
        return error(ErrorCode::Ref);
    return referenceOperand(i, ctx);
}

} // namespace kxformula::detail
