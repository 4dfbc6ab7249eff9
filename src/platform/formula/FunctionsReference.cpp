// Functions about references rather than values (ROW, COLUMN, ROWS, COLUMNS), CHOOSE, which hands
// one of its arguments on as it is (a chosen range stays a range), and COUNTBLANK, which counts the
// empty cells of a range, those beyond the sheet's end included.
#include "platform/formula/Functions.h"

#include <cmath>

namespace kxformula::detail {

namespace {

Operand number(double v)
{
    return Operand::of(Value::number(v));
}

} // namespace

// ROW() is the formula's own row; ROW(reference) the reference's first row. A value that is no
// reference is #VALUE!.
Operand fnRow(Args& args, EvalContext& ctx)
{
    if (args.size() == 0)
        return number(ctx.row);
    const Operand& o = args.operand(0);
    return o.isRef ? number(o.area.r1) : Operand::error(ErrorCode::Value);
}

Operand fnColumn(Args& args, EvalContext& ctx)
{
    if (args.size() == 0)
        return number(ctx.col);
    const Operand& o = args.operand(0);
    return o.isRef ? number(o.area.c1) : Operand::error(ErrorCode::Value);
}

// ROWS and COLUMNS: the size of a reference; a single value counts as one.
Operand fnRows(Args& args, EvalContext&)
{
    const Operand& o = args.operand(0);
    return number(o.isRef ? o.area.height() : 1);
}

Operand fnColumns(Args& args, EvalContext&)
{
    const Operand& o = args.operand(0);
    return number(o.isRef ? o.area.width() : 1);
}

// CHOOSE(index, value1, value2, ...): the index truncated; below 1 or beyond the values #VALUE!.
Operand fnChoose(Args& args, EvalContext&)
{
    const double index = std::trunc(args.number(0));
    if (index < 1 || index > static_cast<double>(args.size() - 1))
        return Operand::error(ErrorCode::Value);
    return args.operand(static_cast<std::size_t>(index));
}

// COUNTBLANK(range): cells that are empty or hold the empty text. Cells beyond the sheet are
// empty, so they count without being read.
Operand fnCountBlank(Args& args, EvalContext& ctx)
{
    const Operand& o = args.operand(0);
    if (!o.isRef)
        return Operand::error(ErrorCode::Value);
    double filled = 0;
    forEachCell(o.area, ctx, [&](const Value& v, int, int) {
        if (!v.isEmpty() && !(v.isText() && v.asText().empty()))
            ++filled;
        return true;
    });
    return number(static_cast<double>(o.area.width()) * static_cast<double>(o.area.height()) - filled);
}

} // namespace kxformula::detail
