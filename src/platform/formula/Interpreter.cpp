// The stack machine that runs formula programs, the operators, and the coercions and comparison
// every function shares. Built-in calls go through callBuiltin, the one place where argument counts
// are checked and arguments coerced.
#include "platform/formula/Interpreter.h"

#include "platform/formula/Numbers.h"
#include "platform/formula/Text.h"

#include <cmath>

namespace kxformula::detail {

namespace {

bool equalsAsciiUpper(std::string_view text, std::string_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c != upper[i])
            return false;
    }
    return true;
}

int typeRank(ValueType t)
{
    switch (t) {
    case ValueType::Number: return 0;
    case ValueType::Text: return 1;
    case ValueType::Boolean: return 2;
    default: return 3;
    }
}

// Reads an operand as a number for an operator; false with `error` set when it is not one.
bool operandNumber(const Operand& o, const EvalContext& ctx, double& out, Value& error)
{
    if (!o.isRef && o.value.isNumber()) {
        out = o.value.asNumber();
        return true;
    }
    if (o.isRef && o.area.single()) {
        Value scratch;
        const Value& v = ctx.peek(o.area.c1, o.area.r1, scratch);
        if (v.isNumber()) {
            out = v.asNumber();
            return true;
        }
        if (v.isEmpty()) {
            out = 0;
            return true;
        }
    }
    const Value v = toNumber(scalarOf(o, ctx));
    if (v.isError()) {
        error = v;
        return false;
    }
    out = v.asNumber();
    return true;
}

Value arithmetic(Op op, double x, double y)
{
    double r = 0;
    switch (op) {
    case Op::Add: r = x + y; break;
    case Op::Sub: r = x - y; break;
    case Op::Mul: r = x * y; break;
    case Op::Div:
        if (y == 0)
            return Value::error(ErrorCode::Div0);
        r = x / y;
        break;
    case Op::Pow:
        if (x == 0 && y == 0)
            return Value::error(ErrorCode::Num);
        if (x == 0 && y < 0)
            return Value::error(ErrorCode::Div0);
        if (x < 0 && y != std::floor(y))
            return Value::error(ErrorCode::Num);
        r = std::pow(x, y);
        break;
    default: break;
    }
    return Value::number(r); // infinity or NaN becomes #NUM!
}

} // namespace

// The position a Ref/Area part names for the cell (col, row), as a wide integer so that offsets
// far off the sheet cannot overflow.
static long long partAt(std::int32_t value, bool absolute, int base)
{
    return absolute ? value : static_cast<long long>(value) + base;
}

Operand referenceOperand(const Instr& i, const EvalContext& ctx)
{
    long long c1 = partAt(i.a, i.flags & kColAbs, ctx.col);
    long long r1 = partAt(i.b, i.flags & kRowAbs, ctx.row);
    long long c2 = c1, r2 = r1;
    if (i.op == Op::Area) {
        c2 = partAt(i.c, i.flags & kCol2Abs, ctx.col);
        r2 = partAt(i.d, i.flags & kRow2Abs, ctx.row);
        if (c1 > c2)
            std::swap(c1, c2);
        if (r1 > r2)
            std::swap(r1, r2);
    }
    // A part before the first cell (a relative reference moved off the sheet) or beyond the largest
    // sheet a grid can have is #REF!. Anything between the sheet's end and those limits is a cell
    // that is empty for now, single cells and ranges alike, as in any spreadsheet: a sheet that grows
    // later fills them (readers go through EvalContext, which gives empty outside the sheet).
    if (c1 < 1 || r1 < 1 || c1 > kMaxColumn || r1 > kMaxRow)
        return Operand::error(ErrorCode::Ref);
    if (c2 > kMaxColumn)
        c2 = kMaxColumn;
    if (r2 > kMaxRow)
        r2 = kMaxRow;
    return Operand::reference(
        Area{static_cast<int>(c1), static_cast<int>(r1), static_cast<int>(c2), static_cast<int>(r2)});
}

Value toNumber(const Value& v)
{
    switch (v.type()) {
    case ValueType::Number:
    case ValueType::Error:
        return v;
    case ValueType::Empty:
        return Value::number(0);
    case ValueType::Boolean:
        return Value::number(v.asBoolean() ? 1 : 0);
    case ValueType::Text:
        if (const auto n = parseNumber(v.asText()))
            return Value::number(*n);
        return Value::error(ErrorCode::Value);
    }
    return Value::error(ErrorCode::Value);
}

Value toText(const Value& v)
{
    switch (v.type()) {
    case ValueType::Text:
    case ValueType::Error:
        return v;
    case ValueType::Empty:
        return Value::text({});
    default:
        return Value::text(displayText(v));
    }
}

Value toBoolean(const Value& v)
{
    switch (v.type()) {
    case ValueType::Boolean:
    case ValueType::Error:
        return v;
    case ValueType::Empty:
        return Value::boolean(false);
    case ValueType::Number:
        return Value::boolean(v.asNumber() != 0);
    case ValueType::Text:
        if (equalsAsciiUpper(v.asText(), "TRUE"))
            return Value::boolean(true);
        if (equalsAsciiUpper(v.asText(), "FALSE"))
            return Value::boolean(false);
        return Value::error(ErrorCode::Value);
    }
    return Value::error(ErrorCode::Value);
}

int compareValues(const Value& a, const Value& b)
{
    if (a.isEmpty() && b.isEmpty())
        return 0;
    if (a.isEmpty() || b.isEmpty()) {
        const Value& other = a.isEmpty() ? b : a;
        Value blank;
        switch (other.type()) {
        case ValueType::Number: blank = Value::number(0); break;
        case ValueType::Text: blank = Value::text({}); break;
        case ValueType::Boolean: blank = Value::boolean(false); break;
        default: break;
        }
        return a.isEmpty() ? compareValues(blank, b) : compareValues(a, blank);
    }
    const int ra = typeRank(a.type()), rb = typeRank(b.type());
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (a.type()) {
    case ValueType::Number:
        if (sameNumber(a.asNumber(), b.asNumber()))
            return 0;
        return a.asNumber() < b.asNumber() ? -1 : 1;
    case ValueType::Text:
        return compareIgnoringCase(a.asText(), b.asText());
    case ValueType::Boolean:
        return static_cast<int>(a.asBoolean()) - static_cast<int>(b.asBoolean());
    default:
        return 0;
    }
}

std::optional<Area> clipToSheet(const Area& area, const EvalContext& ctx)
{
    Area a = area;
    if (a.c1 < 1)
        a.c1 = 1;
    if (a.r1 < 1)
        a.r1 = 1;
    if (a.c2 > ctx.columns)
        a.c2 = ctx.columns;
    if (a.r2 > ctx.rows)
        a.r2 = ctx.rows;
    if (a.c1 > a.c2 || a.r1 > a.r2)
        return std::nullopt;
    return a;
}

Value scalarOf(const Operand& o, const EvalContext& ctx)
{
    if (!o.isRef)
        return o.value;
    const Area& a = o.area;
    if (a.single())
        return ctx.cell(a.c1, a.r1);
    if (a.c1 == a.c2 && ctx.row >= a.r1 && ctx.row <= a.r2)
        return ctx.cell(a.c1, ctx.row);
    if (a.r1 == a.r2 && ctx.col >= a.c1 && ctx.col <= a.c2)
        return ctx.cell(ctx.col, a.r1);
    return Value::error(ErrorCode::Value);
}

Value finalValue(Operand&& result, const EvalContext& ctx)
{
    if (result.noValue)
        return {};
    Value v = result.isRef ? scalarOf(result, ctx) : std::move(result.value);
    if (v.isEmpty())
        return Value::number(0);
    return v;
}

Operand callBuiltin(std::uint16_t index, std::span<Operand> args, EvalContext& ctx)
{
    const FunctionSpec& entry = builtinFunctions()[index];
    if (args.size() < entry.minArgs || args.size() > entry.maxArgs)
        return Operand::error(ErrorCode::Value);
    for (std::size_t i = 0; i < args.size(); ++i) {
        Operand& o = args[i];
        const ArgKind kind = entry.kind(i);
        if (kind == ArgKind::Raw)
            continue;
        if (kind == ArgKind::Ref) {
            if (!o.isRef && o.value.isError())
                return o;
            continue;
        }
        Value v = scalarOf(o, ctx);
        o.isRef = false;
        o.noValue = false;
        if (kind == ArgKind::Any) {
            o.value = std::move(v);
            continue;
        }
        if (v.isError())
            return Operand::of(std::move(v));
        switch (kind) {
        case ArgKind::Number: v = toNumber(v); break;
        case ArgKind::Text: v = toText(v); break;
        case ArgKind::Boolean: v = toBoolean(v); break;
        default: break;
        }
        if (v.isError())
            return Operand::of(std::move(v));
        o.value = std::move(v);
    }
    Args a(args);
    return entry.impl(a, ctx);
}

Operand run(const Program& program, EvalContext& ctx, std::vector<Operand>& st)
{
    const std::size_t base = st.size();
    const Instr* code = program.code.data();
    const std::size_t n = program.code.size();
    std::size_t pc = 0;
    while (pc < n) {
        const Instr& i = code[pc++];
        switch (i.op) {
        case Op::Number:
            st.push_back(Operand::of(Value::number(i.number())));
            break;
        case Op::BadNumber:
            st.push_back(Operand::error(ErrorCode::Num));
            break;
        case Op::Text:
            st.push_back(Operand::of(Value::text(program.texts[static_cast<std::size_t>(i.a)])));
            break;
        case Op::Boolean:
            st.push_back(Operand::of(Value::boolean(i.a != 0)));
            break;
        case Op::Error:
            st.push_back(Operand::error(static_cast<ErrorCode>(i.a)));
            break;
        case Op::Name:
            st.push_back(Operand::error(ErrorCode::Name));
            break;
        case Op::Missing:
            st.push_back(Operand{});
            break;
        case Op::Ref:
        case Op::Area:
            st.push_back(referenceOperand(i, ctx));
            break;
        case Op::Neg:
        case Op::Percent: {
            Operand& o = st.back();
            double x = 0;
            Value err;
            if (!operandNumber(o, ctx, x, err))
                o = Operand::of(std::move(err));
            else
                o = Operand::of(Value::number(i.op == Op::Neg ? -x : x / 100));
            break;
        }
        case Op::Plus: {
            Operand& o = st.back();
            if (o.isRef)
                o = Operand::of(scalarOf(o, ctx));
            break;
        }
        case Op::Add:
        case Op::Sub:
        case Op::Mul:
        case Op::Div:
        case Op::Pow: {
            Operand& left = st[st.size() - 2];
            const Operand& right = st.back();
            double x = 0, y = 0;
            Value err;
            if (!operandNumber(left, ctx, x, err) || !operandNumber(right, ctx, y, err))
                left = Operand::of(std::move(err));
            else
                left = Operand::of(arithmetic(i.op, x, y));
            st.pop_back();
            break;
        }
        case Op::Concat: {
            Operand& left = st[st.size() - 2];
            Value a = toText(scalarOf(left, ctx));
            Value b = toText(scalarOf(st.back(), ctx));
            if (a.isError()) {
                left = Operand::of(std::move(a));
            } else if (b.isError()) {
                left = Operand::of(std::move(b));
            } else {
                std::string joined = a.asText();
                joined += b.asText();
                left = tooLong(joined) ? Operand::error(ErrorCode::Value) : Operand::of(Value::text(std::move(joined)));
            }
            st.pop_back();
            break;
        }
        case Op::Eq:
        case Op::Ne:
        case Op::Lt:
        case Op::Le:
        case Op::Gt:
        case Op::Ge: {
            Operand& left = st[st.size() - 2];
            const Value a = scalarOf(left, ctx);
            const Value b = scalarOf(st.back(), ctx);
            if (a.isError()) {
                left = Operand::of(a);
            } else if (b.isError()) {
                left = Operand::of(b);
            } else {
                const int c = compareValues(a, b);
                bool r = false;
                switch (i.op) {
                case Op::Eq: r = c == 0; break;
                case Op::Ne: r = c != 0; break;
                case Op::Lt: r = c < 0; break;
                case Op::Le: r = c <= 0; break;
                case Op::Gt: r = c > 0; break;
                default: r = c >= 0; break;
                }
                left = Operand::of(Value::boolean(r));
            }
            st.pop_back();
            break;
        }
        case Op::Call:
        case Op::CallCustom: {
            const std::size_t count = i.count;
            const std::span<Operand> args(st.data() + (st.size() - count), count);
            Operand result;
            if (i.op == Op::Call) {
                result = callBuiltin(static_cast<std::uint16_t>(i.a), args, ctx);
            } else if (ctx.customs && static_cast<std::uint32_t>(i.a) != kNoSlot) {
                Value v = ctx.customs->callCustom(static_cast<std::uint32_t>(i.a), args, ctx.col, ctx.row);
                result.noValue = v.isEmpty();
                result.value = std::move(v);
            } else {
                result = Operand::error(ErrorCode::Name);
            }
            st.resize(st.size() - count);
            st.push_back(std::move(result));
            break;
        }
        case Op::CondJump: {
            Value cond = toBoolean(scalarOf(st.back(), ctx));
            st.pop_back();
            if (cond.isError()) {
                st.push_back(Operand::of(std::move(cond)));
                pc = static_cast<std::size_t>(i.b);
            } else if (!cond.asBoolean()) {
                pc = static_cast<std::size_t>(i.a);
            }
            break;
        }
        case Op::IfErrorJump: {
            Operand& top = st.back();
            if (top.isRef)
                top = Operand::of(scalarOf(top, ctx));
            if (top.value.isError())
                st.pop_back();
            else
                pc = static_cast<std::size_t>(i.a);
            break;
        }
        case Op::Jump:
            pc = static_cast<std::size_t>(i.a);
            break;
        case Op::Paren:
        case Op::EndIf:
        case Op::Nop:
            break;
        }
    }
    if (st.size() != base + 1) {
        st.resize(base);
        return Operand::error(ErrorCode::Value);
    }
    Operand result = std::move(st.back());
    st.pop_back();
    return result;
}

} // namespace kxformula::detail
