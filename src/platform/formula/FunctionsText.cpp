// Text functions. Lengths and positions count characters (code points), not bytes, and every
// result is held to the text limit of 32,767 characters.
#include "platform/formula/Functions.h"

#include "platform/formula/Text.h"

#include <cmath>

namespace kxformula::detail {

namespace {

Operand text(std::string s)
{
    if (tooLong(s))
        return Operand::error(ErrorCode::Value);
    return Operand::of(Value::text(std::move(s)));
}

Operand valueError()
{
    return Operand::error(ErrorCode::Value);
}

// A character count or position argument: truncated; anything beyond the text limit is as good as
// the limit (and keeps size_t conversions sane).
std::size_t count(double x)
{
    const double t = std::trunc(x);
    return t > 1e9 ? static_cast<std::size_t>(1e9) : static_cast<std::size_t>(t);
}

} // namespace

Operand fnLeft(Args& args, EvalContext&)
{
    const double n = args.size() > 1 ? args.number(1) : 1;
    if (n < 0)
        return valueError();
    const std::string& s = args.text(0);
    return text(s.substr(0, byteOffset(s, count(n))));
}

Operand fnRight(Args& args, EvalContext&)
{
    const double n = args.size() > 1 ? args.number(1) : 1;
    if (n < 0)
        return valueError();
    const std::string& s = args.text(0);
    const std::size_t length = charCount(s);
    const std::size_t take = count(n);
    if (take >= length)
        return text(s);
    return text(s.substr(byteOffset(s, length - take)));
}

Operand fnMid(Args& args, EvalContext&)
{
    const double start = args.number(1), n = args.number(2);
    if (start < 1 || n < 0)
        return valueError();
    const std::string& s = args.text(0);
    const std::size_t from = byteOffset(s, count(start) - 1);
    const std::size_t to = byteOffset(std::string_view(s).substr(from), count(n)) + from;
    return text(s.substr(from, to - from));
}

Operand fnLen(Args& args, EvalContext&)
{
    return Operand::of(Value::number(static_cast<double>(charCount(args.text(0)))));
}

Operand fnUpper(Args& args, EvalContext&)
{
    return text(upperCase(args.text(0)));
}

Operand fnLower(Args& args, EvalContext&)
{
    return text(lowerCase(args.text(0)));
}

// TRIM: no spaces at either end and single spaces between words (only the space character).
Operand fnTrim(Args& args, EvalContext&)
{
    const std::string& s = args.text(0);
    std::string out;
    out.reserve(s.size());
    bool pendingSpace = false;
    for (const char c : s) {
        if (c == ' ') {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace)
            out += ' ';
        pendingSpace = false;
        out += c;
    }
    return text(std::move(out));
}

Operand fnConcatenate(Args& args, EvalContext&)
{
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        out += args.text(i);
        if (out.size() > 4 * kMaxTextChars)
            return valueError();
    }
    return text(std::move(out));
}

// VALUE: a number stays, a text is read as a number; booleans are not numbers here.
Operand fnValue(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    if (v.isNumber())
        return Operand::of(v);
    if (v.isEmpty())
        return Operand::of(Value::number(0));
    if (v.isText())
        if (const auto n = parseNumber(v.asText()))
            return Operand::of(Value::number(*n));
    return valueError();
}

// TEXT(value, format): numbers (and texts that read as numbers) formatted; other texts and
// booleans come back as their text.
Operand fnText(Args& args, EvalContext&)
{
    const Value& v = args.value(0);
    std::optional<double> n;
    if (v.isNumber())
        n = v.asNumber();
    else if (v.isEmpty())
        n = 0;
    else if (v.isText())
        n = parseNumber(v.asText());
    if (!n) {
        const Value t = toText(v);
        const std::string& format = args.text(1);
        const std::size_t at = format.find('@');
        if (at == std::string::npos || !v.isText())
            return text(t.asText());
        std::string out = format;
        out.replace(at, 1, t.asText());
        return text(std::move(out));
    }
    auto formatted = formatWithPattern(*n, args.text(1));
    if (!formatted)
        formatted = formatDateTime(*n, args.text(1));
    if (!formatted)
        return valueError();
    return text(*formatted);
}

// FIND(what, within, [start]): case-sensitive, no wildcards; SEARCH ignores case and takes them.
Operand fnFind(Args& args, EvalContext&)
{
    const std::string& what = args.text(0);
    const std::string& within = args.text(1);
    const double start = args.size() > 2 ? args.number(2) : 1;
    const std::size_t length = charCount(within);
    if (start < 1 || std::trunc(start) > static_cast<double>(length) + 1)
        return valueError();
    const std::size_t from = byteOffset(within, count(start) - 1);
    const std::size_t at = within.find(what, from);
    if (at == std::string::npos)
        return valueError();
    return Operand::of(Value::number(static_cast<double>(charCount(std::string_view(within).substr(0, at)) + 1)));
}

Operand fnSearch(Args& args, EvalContext&)
{
    const std::string& what = args.text(0);
    const std::string& within = args.text(1);
    const double start = args.size() > 2 ? args.number(2) : 1;
    const std::size_t length = charCount(within);
    if (start < 1 || std::trunc(start) > static_cast<double>(length) + 1)
        return valueError();
    const std::size_t at = wildcardSearch(what, within, count(start) - 1);
    if (at == std::string_view::npos)
        return valueError();
    return Operand::of(Value::number(static_cast<double>(at + 1)));
}

// SUBSTITUTE(text, old, new, [which]): every occurrence, or only the which-th.
Operand fnSubstitute(Args& args, EvalContext&)
{
    const std::string& s = args.text(0);
    const std::string& from = args.text(1);
    const std::string& to = args.text(2);
    std::size_t which = 0;
    if (args.size() > 3) {
        if (args.number(3) < 1)
            return valueError();
        which = count(args.number(3));
    }
    if (from.empty())
        return text(s);
    std::string out;
    std::size_t pos = 0, seen = 0;
    while (true) {
        const std::size_t at = s.find(from, pos);
        if (at == std::string::npos)
            break;
        ++seen;
        out.append(s, pos, at - pos);
        out += (which == 0 || seen == which) ? to : from;
        pos = at + from.size();
        if (out.size() > 4 * kMaxTextChars)
            return valueError();
    }
    out.append(s, pos);
    return text(std::move(out));
}

} // namespace kxformula::detail
