// LOOKUP, ADDRESS, XMATCH and XLOOKUP. LOOKUP searches as an approximate MATCH does; XMATCH and
// XLOOKUP search a line from either end for an exact value, the nearest smaller or larger one, or
// a wildcard pattern.
#include "platform/formula/Functions.h"

#include "platform/formula/Numbers.h"
#include "platform/formula/Program.h"
#include "platform/formula/Text.h"

#include <cctype>
#include <cmath>

namespace kxformula::detail {

namespace {

Operand error(ErrorCode code)
{
    return Operand::error(code);
}

bool isLine(const Area& a)
{
    return a.c1 == a.c2 || a.r1 == a.r2;
}

enum class MatchMode { Exact, NextSmaller, NextLarger, Wildcard };

// XMATCH's and XLOOKUP's search: position from 0 in the line, -1 when nothing fits. Only cells of
// the key's type take part; binary search modes search the whole line too (same answer on sorted
// data, and no wrong answer on unsorted data).
long xfind(const Area& line, const Value& key, MatchMode mode, bool fromEnd, const EvalContext& ctx)
{
    const auto clipped = clipToSheet(line, ctx);
    if (!clipped)
        return -1;
    const long length = lineLength(*clipped);
    long best = -1;
    Value bestValue;
    for (long step = 0; step < length; ++step) {
        const long i = fromEnd ? length - 1 - step : step;
        const Value v = lineCell(*clipped, i, ctx);
        if (mode == MatchMode::Wildcard && key.isText()) {
            if (v.isText() && wildcardMatch(key.asText(), v.asText()))
                return i;
            continue;
        }
        if (exactEqual(v, key))
            return i;
        if (mode == MatchMode::Exact || mode == MatchMode::Wildcard || v.type() != key.type())
            continue;
        const int c = compareValues(v, key);
        const bool onSide = mode == MatchMode::NextSmaller ? c < 0 : c > 0;
        if (!onSide)
            continue;
        const bool closer = best < 0
                            || (mode == MatchMode::NextSmaller ? compareValues(v, bestValue) > 0
                                                               : compareValues(v, bestValue) < 0);
        if (closer) {
            best = i;
            bestValue = v;
        }
    }
    return best;
}

// Reads match_mode and search_mode (numbers; given as values of any kind).
std::optional<ErrorCode> readModes(Args& args, std::size_t at, MatchMode& mode, bool& fromEnd)
{
    mode = MatchMode::Exact;
    fromEnd = false;
    if (args.size() > at && !args.value(at).isEmpty()) {
        const Value n = toNumber(args.value(at));
        if (n.isError())
            return n.asError();
        const double m = std::trunc(n.asNumber());
        if (m == 0)
            mode = MatchMode::Exact;
        else if (m == -1)
            mode = MatchMode::NextSmaller;
        else if (m == 1)
            mode = MatchMode::NextLarger;
        else if (m == 2)
            mode = MatchMode::Wildcard;
        else
            return ErrorCode::Value;
    }
    if (args.size() > at + 1 && !args.value(at + 1).isEmpty()) {
        const Value n = toNumber(args.value(at + 1));
        if (n.isError())
            return n.asError();
        const double s = std::trunc(n.asNumber());
        if (s != 1 && s != -1 && s != 2 && s != -2)
            return ErrorCode::Value;
        fromEnd = s == -1;
    }
    return std::nullopt;
}

// ADDRESS's quoting of a sheet name: bare when it is letters, digits, '_' and '.' not starting with
// a digit; else in single quotes with quotes doubled.
std::string sheetPrefix(const std::string& sheet)
{
    bool bare = !sheet.empty() && !(sheet[0] >= '0' && sheet[0] <= '9');
    for (const char ch : sheet) {
        const unsigned char u = static_cast<unsigned char>(ch);
        bare = bare && (std::isalnum(u) || ch == '_' || ch == '.' || u >= 0x80);
    }
    if (bare)
        return sheet + "!";
    std::string quoted = "'";
    for (const char ch : sheet) {
        quoted += ch;
        if (ch == '\'')
            quoted += '\'';
    }
    return quoted + "'!";
}

} // namespace

// LOOKUP(key, line, [result line]): the last cell <= key in the ascending line; the result comes
// from the same position of the result line (which may lie the other way). Without a result line a
// range of several rows and columns searches its first column (first row when wider than high) and
// answers from its last one.
Operand fnLookup(Args& args, EvalContext& ctx)
{
    const Value& key = args.value(0);
    if (key.isEmpty())
        return error(ErrorCode::NA);
    Operand& range = args.operand(1);
    if (!range.isRef)
        return error(ErrorCode::Value);
    const Area& a = range.area;
    Area search = a, result = a;
    if (args.size() > 2) {
        Operand& res = args.operand(2);
        if (!res.isRef)
            return error(ErrorCode::Value);
        if (!isLine(a) || !isLine(res.area))
            return error(ErrorCode::NA);
        result = res.area;
    } else if (a.width() > a.height()) {
        search = Area{a.c1, a.r1, a.c2, a.r1};
        result = Area{a.c1, a.r2, a.c2, a.r2};
    } else {
        search = Area{a.c1, a.r1, a.c1, a.r2};
        result = Area{a.c2, a.r1, a.c2, a.r2};
    }
    const auto clipped = clipToSheet(search, ctx);
    if (!clipped)
        return error(ErrorCode::NA);
    const long pos = approximateFind(*clipped, key, /*ascending=*/true, ctx);
    if (pos < 0)
        return error(ErrorCode::NA);
    // A one-cell result line runs the way the search line runs; a result line shorter than the
    // search line reads on past its end, as spreadsheets do.
    const bool vertical = result.single() ? search.c1 == search.c2 : result.c1 == result.c2;
    const long long k = pos;
    if ((vertical ? result.r1 + k : result.c1 + k) > (vertical ? kMaxRow : kMaxColumn))
        return error(ErrorCode::Ref);
    const int i = static_cast<int>(k);
    return Operand::reference(vertical ? Area{result.c1, result.r1 + i, result.c1, result.r1 + i}
                                       : Area{result.c1 + i, result.r1, result.c1 + i, result.r1});
}

// ADDRESS(row, column, [kind=1], [a1=TRUE], [sheet]): kind 1 $A$1, 2 A$1, 3 $A1, 4 A1; in R1C1
// relative parts are written as offsets R[row]C[column].
Operand fnAddress(Args& args, EvalContext&)
{
    const double row = std::trunc(args.number(0)), col = std::trunc(args.number(1));
    const double kind = args.size() > 2 ? std::trunc(args.number(2)) : 1;
    bool a1 = true;
    if (args.size() > 3 && !args.value(3).isEmpty()) {
        const Value b = toBoolean(args.value(3));
        if (b.isError())
            return error(b.asError());
        a1 = b.asBoolean();
    }
    std::string sheet;
    if (args.size() > 4) {
        const Value t = toText(args.value(4));
        if (t.isError())
            return error(t.asError());
        sheet = t.asText();
    }
    if (row < 1 || col < 1 || row > kMaxRow || col > kMaxColumn || kind < 1 || kind > 4)
        return error(ErrorCode::Value);
    const bool rowAbs = kind == 1 || kind == 2, colAbs = kind == 1 || kind == 3;
    const long long r = static_cast<long long>(row), c = static_cast<long long>(col);
    std::string text;
    // Appended piece by piece: a literal in front of a temporary string makes the compiler warn.
    if (a1) {
        text += colAbs ? "$" : "";
        text += columnLetters(static_cast<int>(c));
        text += rowAbs ? "$" : "";
        text += std::to_string(r);
    } else {
        text += rowAbs ? "R" : "R[";
        text += std::to_string(r);
        text += rowAbs ? "" : "]";
        text += colAbs ? "C" : "C[";
        text += std::to_string(c);
        text += colAbs ? "" : "]";
    }
    if (!sheet.empty())
        text = sheetPrefix(sheet) + text;
    return Operand::of(Value::text(std::move(text)));
}

// XMATCH(key, line, [match mode=0], [search mode=1]): the position from 1. Match modes: 0 exact,
// -1 exact or the next smaller, 1 exact or the next larger, 2 wildcards; search modes 1 from the
// first, -1 from the last, 2 and -2 (sorted data) as 1.
Operand fnXMatch(Args& args, EvalContext& ctx)
{
    const Value& key = args.value(0);
    Operand& range = args.operand(1);
    if (!range.isRef)
        return error(ErrorCode::Value);
    if (!isLine(range.area))
        return error(ErrorCode::Value);
    MatchMode mode;
    bool fromEnd;
    if (const auto e = readModes(args, 2, mode, fromEnd))
        return error(*e);
    if (key.isEmpty())
        return error(ErrorCode::NA);
    const long pos = xfind(range.area, key, mode, fromEnd, ctx);
    if (pos < 0)
        return error(ErrorCode::NA);
    return Operand::of(Value::number(static_cast<double>(pos + 1)));
}

// XLOOKUP(key, line, results, [if not found], [match mode], [search mode]): the cell (or the row or
// column of cells) of `results` at the found position; the results must be as long as the line.
Operand fnXLookup(Args& args, EvalContext& ctx)
{
    const Value& key = args.value(0);
    Operand& range = args.operand(1);
    Operand& results = args.operand(2);
    if (!range.isRef || !results.isRef)
        return error(ErrorCode::Value);
    const Area& a = range.area;
    const Area& r = results.area;
    if (!isLine(a))
        return error(ErrorCode::Value);
    const bool vertical = a.c1 == a.c2 && a.r1 != a.r2;
    if (vertical ? r.height() != a.height() : r.width() != a.width())
        return error(ErrorCode::Value);
    MatchMode mode;
    bool fromEnd;
    if (const auto e = readModes(args, 4, mode, fromEnd))
        return error(*e);
    const long pos = key.isEmpty() ? -1 : xfind(a, key, mode, fromEnd, ctx);
    if (pos < 0) {
        if (args.size() > 3 && !args.value(3).isEmpty())
            return Operand::of(args.value(3));
        return error(ErrorCode::NA);
    }
    const int k = static_cast<int>(pos);
    return Operand::reference(vertical ? Area{r.c1, r.r1 + k, r.c2, r.r1 + k} : Area{r.c1 + k, r.r1, r.c1 + k, r.r2});
}

} // namespace kxformula::detail
