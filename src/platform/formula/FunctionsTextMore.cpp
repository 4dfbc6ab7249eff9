// Further text functions: REPT, EXACT, REPLACE, CHAR, CODE, PROPER, FIXED, DOLLAR, CLEAN, TEXTJOIN
// and NUMBERVALUE. Characters are code points; CHAR and CODE use the Western Windows code page
// (1252), as desktop spreadsheets do, so CHAR(128) is the euro sign.
#include "platform/formula/Functions.h"

#include "platform/formula/Numbers.h"
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

Operand error(ErrorCode code)
{
    return Operand::error(code);
}

// Code points of the bytes 128 to 159 of code page 1252; the five bytes it leaves free map to the
// control characters of the same number.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromCodePage(int byte)
{
    return byte >= 128 && byte < 160 ? kCp1252High[byte - 128] : static_cast<char32_t>(byte);
}

// The code page byte of a character; '?' (63) for one the code page does not have.
int toCodePage(char32_t c)
{
    if (c < 128 || (c >= 160 && c < 256))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c)
            return 128 + i;
    return 63;
}

bool isLetter(char32_t c)
{
    return toUpper(c) != c || toLower(c) != c;
}

// A number rounded to `decimals` places and written with a point, thousands commas unless
// `noCommas`, and `prefix` after the sign (DOLLAR's "$").
std::optional<std::string> fixedText(double x, double decimalsArg, bool noCommas, std::string_view prefix)
{
    const double decimals = std::trunc(decimalsArg);
    if (decimals > 127)
        return std::nullopt;
    const double rounded = fromDecimal(roundDecimal(toDecimal15(x), static_cast<long>(std::fmax(decimals, -400)),
                                                    RoundMode::Nearest));
    std::string pattern = noCommas ? "0" : "#,##0";
    if (decimals > 0)
        pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
    auto body = formatWithPattern(std::fabs(rounded), pattern);
    if (!body)
        return std::nullopt;
    return (rounded < 0 ? "-" : "") + std::string(prefix) + *body;
}

// The first character of a separator argument, or the default.
std::string separator(Args& args, std::size_t i, std::string_view fallback)
{
    if (args.size() <= i)
        return std::string(fallback);
    const std::string& s = args.text(i);
    return s.substr(0, byteOffset(s, 1));
}

} // namespace

// REPT(text, times): times truncated; negative or a result beyond the text limit is #VALUE!.
Operand fnRept(Args& args, EvalContext&)
{
    const std::string& s = args.text(0);
    const double times = std::trunc(args.number(1));
    if (times < 0)
        return error(ErrorCode::Value);
    if (s.empty() || times == 0)
        return text({});
    if (times * static_cast<double>(charCount(s)) > static_cast<double>(kMaxTextChars))
        return error(ErrorCode::Value);
    std::string out;
    out.reserve(s.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < static_cast<int>(times); ++i)
        out += s;
    return text(std::move(out));
}

// EXACT(a, b): equal texts, case included.
Operand fnExact(Args& args, EvalContext&)
{
    return Operand::of(Value::boolean(args.text(0) == args.text(1)));
}

// REPLACE(text, start, count, new): count characters from start replaced; a start beyond the end
// appends.
Operand fnReplace(Args& args, EvalContext&)
{
    const std::string& s = args.text(0);
    const double start = std::trunc(args.number(1)), n = std::trunc(args.number(2));
    if (start < 1 || n < 0)
        return error(ErrorCode::Value);
    const std::size_t from = byteOffset(s, static_cast<std::size_t>(std::fmin(start - 1, 1e9)));
    const std::size_t to = byteOffset(s, static_cast<std::size_t>(std::fmin(start - 1 + n, 1e9)));
    return text(s.substr(0, from) + args.text(3) + s.substr(to));
}

// CHAR(n): n truncated, 1 to 255.
Operand fnChar(Args& args, EvalContext&)
{
    const double n = std::trunc(args.number(0));
    if (n < 1 || n > 255)
        return error(ErrorCode::Value);
    std::string out;
    appendUtf8(out, fromCodePage(static_cast<int>(n)));
    return text(std::move(out));
}

// CODE(text): the code page number of the first character; #VALUE! for an empty text.
Operand fnCode(Args& args, EvalContext&)
{
    const std::string& s = args.text(0);
    if (s.empty())
        return error(ErrorCode::Value);
    std::size_t pos = 0;
    return Operand::of(Value::number(toCodePage(decodeUtf8(s, pos))));
}

// PROPER(text): a letter after anything but a letter in capitals, every other letter small (so
// "it's" becomes "It'S" and "2nd" "2Nd", as spreadsheets have it).
Operand fnProper(Args& args, EvalContext&)
{
    const std::string& s = args.text(0);
    std::string out;
    out.reserve(s.size());
    bool afterLetter = false;
    for (std::size_t pos = 0; pos < s.size();) {
        const char32_t c = decodeUtf8(s, pos);
        const bool letter = isLetter(c);
        appendUtf8(out, letter ? (afterLetter ? toLower(c) : toUpper(c)) : c);
        afterLetter = letter;
    }
    return text(std::move(out));
}

// FIXED(number, [decimals=2], [no commas=FALSE]): rounded (negative decimals left of the point) and
// written with a point and thousands commas.
Operand fnFixed(Args& args, EvalContext&)
{
    const double decimals = args.size() > 1 ? args.number(1) : 2;
    const bool noCommas = args.size() > 2 && args.boolean(2);
    const auto s = fixedText(args.number(0), decimals, noCommas, "");
    return s ? text(*s) : error(ErrorCode::Value);
}

// DOLLAR(number, [decimals=2]): as FIXED with commas and a dollar sign after the minus sign.
Operand fnDollar(Args& args, EvalContext&)
{
    const double decimals = args.size() > 1 ? args.number(1) : 2;
    const auto s = fixedText(args.number(0), decimals, false, "$");
    return s ? text(*s) : error(ErrorCode::Value);
}

// CLEAN(text): without the control characters 0 to 31.
Operand fnClean(Args& args, EvalContext&)
{
    std::string out = args.text(0);
    std::erase_if(out, [](char ch) { return static_cast<unsigned char>(ch) < 32; });
    return text(std::move(out));
}

// TEXTJOIN(delimiter, ignore empty, value, ...): the values (ranges row by row) as texts joined by
// the delimiter; with ignore empty TRUE empty cells and empty texts are left out. Errors pass on.
Operand fnTextJoin(Args& args, EvalContext& ctx)
{
    const std::string& delimiter = args.text(0);
    const bool ignoreEmpty = args.boolean(1);
    std::string out;
    bool first = true;
    std::optional<ErrorCode> err;
    const auto add = [&](const Value& v) {
        if (v.isError()) {
            err = v.asError();
            return false;
        }
        const Value t = toText(v);
        if (ignoreEmpty && t.asText().empty())
            return true;
        if (!first)
            out += delimiter;
        out += t.asText();
        first = false;
        return out.size() <= 4 * kMaxTextChars;
    };
    for (std::size_t i = 2; i < args.size() && !err; ++i) {
        Operand& o = args.operand(i);
        if (o.isRef) {
            const auto inside = clipToSheet(o.area, ctx);
            // With empty cells kept, a range beyond the sheet adds delimiters only; too many of them
            // exceed the text limit anyway.
            if (!ignoreEmpty && static_cast<double>(o.area.width()) * o.area.height() > kMaxTextChars + 1.0)
                return error(ErrorCode::Value);
            if (!inside && ignoreEmpty)
                continue;
            bool stop = false;
            if (ignoreEmpty) {
                forEachCell(o.area, ctx, [&](const Value& v, int, int) { return !(stop = !add(v)); });
            } else {
                Value scratch;
                for (int r = o.area.r1; r <= o.area.r2 && !stop; ++r)
                    for (int c = o.area.c1; c <= o.area.c2 && !stop; ++c)
                        stop = !add(ctx.peek(c, r, scratch));
            }
            if (stop && !err)
                return error(ErrorCode::Value);
        } else if (!add(o.value) && !err) {
            return error(ErrorCode::Value);
        }
    }
    if (err)
        return error(*err);
    return text(std::move(out));
}

// NUMBERVALUE(text, [decimal separator="."], [group separator=","]): blanks are ignored, group
// separators may stand anywhere before the decimal separator, trailing percent signs divide by 100;
// an empty text is 0.
Operand fnNumberValue(Args& args, EvalContext&)
{
    const std::string decimal = separator(args, 1, ".");
    std::string group = separator(args, 2, ",");
    if (args.size() < 3 && decimal == group)
        group = "."; // only a comma given as the decimal separator: the point groups
    if (decimal.empty() || group.empty() || decimal == group)
        return error(ErrorCode::Value);
    std::string s;
    for (const char ch : args.text(0))
        if (ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r')
            s += ch;
    if (s.empty())
        return Operand::of(Value::number(0));
    int percents = 0;
    while (!s.empty() && s.back() == '%') {
        s.pop_back();
        ++percents;
    }
    std::string plain;
    bool seenDecimal = false;
    for (std::size_t pos = 0; pos < s.size();) {
        if (s.compare(pos, decimal.size(), decimal) == 0) {
            if (seenDecimal)
                return error(ErrorCode::Value);
            seenDecimal = true;
            plain += '.';
            pos += decimal.size();
        } else if (s.compare(pos, group.size(), group) == 0) {
            if (seenDecimal)
                return error(ErrorCode::Value);
            pos += group.size();
        } else {
            plain += s[pos++];
        }
    }
    if (plain.find_first_of(",%") != std::string::npos || plain.empty() || plain == ".")
        return error(ErrorCode::Value);
    const auto n = parseNumber(plain);
    if (!n)
        return error(ErrorCode::Value);
    return Operand::of(Value::number(*n / std::pow(100.0, percents)));
}

} // namespace kxformula::detail
