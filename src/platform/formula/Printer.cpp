// Writes a program back as formula text in A1 or R1C1 style for a given cell. Works on the postfix
// code with a stack of texts, so that a formula of any depth prints without recursion.
#include "platform/formula/Interpreter.h"
#include "platform/formula/Numbers.h"
#include "platform/formula/Program.h"

#include <string>
#include <vector>

namespace kxformula::detail {

namespace {

const char* operatorText(Op op)
{
    switch (op) {
    case Op::Add: return "+";
    case Op::Sub: return "-";
    case Op::Mul: return "*";
    case Op::Div: return "/";
    case Op::Pow: return "^";
    case Op::Concat: return "&";
    case Op::Eq: return "=";
    case Op::Ne: return "<>";
    case Op::Lt: return "<";
    case Op::Le: return "<=";
    case Op::Gt: return ">";
    case Op::Ge: return ">=";
    default: return "";
    }
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

void appendR1C1Part(std::string& out, char letter, long value, bool absolute)
{
    out += letter;
    if (absolute) {
        out += std::to_string(value);
    } else if (value != 0) {
        out += '[';
        out += std::to_string(value);
        out += ']';
    }
}

// A1 text of one corner, or nothing when it lies outside the sheet's possible range.
bool appendA1(std::string& out, long col, long row, bool colAbs, bool rowAbs)
{
    if (col < 1 || col > kMaxColumn || row < 1 || row > kMaxRow)
        return false;
    if (colAbs)
        out += '$';
    out += columnLetters(static_cast<int>(col));
    if (rowAbs)
        out += '$';
    out += std::to_string(row);
    return true;
}

// A range of whole columns or rows: "A:C" / "2:5" in A1, "C1:C3" / "R2" in R1C1 (one part when both
// sides are written the same). A side moved off the sheet makes it #REF!.
std::string wholeLinesText(const Instr& i, RefStyle style, int col, int row)
{
    const bool columns = i.flags & kWholeColumns;
    const std::int32_t v1 = columns ? i.a : i.b, v2 = columns ? i.c : i.d;
    const bool abs1 = i.flags & (columns ? kColAbs : kRowAbs), abs2 = i.flags & (columns ? kCol2Abs : kRow2Abs);
    std::string out;
    if (style == RefStyle::R1C1) {
        const char letter = columns ? 'C' : 'R';
        appendR1C1Part(out, letter, v1, abs1);
        if (v1 != v2 || abs1 != abs2) {
            out += ':';
            appendR1C1Part(out, letter, v2, abs2);
        }
        return out;
    }
    const int base = columns ? col : row;
    const long limit = columns ? kMaxColumn : kMaxRow;
    for (int side = 0; side < 2; ++side) {
        const bool absolute = side == 0 ? abs1 : abs2;
        const long at = (side == 0 ? v1 : v2) + (absolute ? 0L : static_cast<long>(base));
        if (at < 1 || at > limit)
            return std::string(errorText(ErrorCode::Ref));
        if (side == 1)
            out += ':';
        if (absolute)
            out += '$';
        out += columns ? columnLetters(static_cast<int>(at)) : std::to_string(at);
    }
    return out;
}

std::string referenceText(const Instr& i, RefStyle style, int col, int row)
{
    const bool area = i.op == Op::Area;
    if (area && (i.flags & (kWholeColumns | kWholeRows)))
        return wholeLinesText(i, style, col, row);
    std::string out;
    if (style == RefStyle::R1C1) {
        appendR1C1Part(out, 'R', i.b, i.flags & kRowAbs);
        appendR1C1Part(out, 'C', i.a, i.flags & kColAbs);
        if (area) {
            out += ':';
            appendR1C1Part(out, 'R', i.d, i.flags & kRow2Abs);
            appendR1C1Part(out, 'C', i.c, i.flags & kCol2Abs);
        }
        return out;
    }
    const auto at = [](long value, bool absolute, int base) { return absolute ? value : value + base; };
    bool ok = appendA1(out, at(i.a, i.flags & kColAbs, col), at(i.b, i.flags & kRowAbs, row), i.flags & kColAbs,
                       i.flags & kRowAbs);
    if (ok && area) {
        out += ':';
        ok = appendA1(out, at(i.c, i.flags & kCol2Abs, col), at(i.d, i.flags & kRow2Abs, row), i.flags & kCol2Abs,
                      i.flags & kRow2Abs);
    }
    return ok ? out : std::string(errorText(ErrorCode::Ref));
}

} // namespace

std::string columnLetters(int col)
{
    std::string letters;
    while (col > 0) {
        const int rest = (col - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + rest));
        col = (col - 1) / 26;
    }
    return letters;
}

std::string printFormula(const Program& program, RefStyle style, int col, int row)
{
    if (program.unparsed)
        return program.raw;
    // The grid prints every formula it is given: the stack keeps its room from one call to the next.
    thread_local std::vector<std::string> stack;
    stack.clear();
    const auto popArgs = [](std::size_t count, std::string name) {
        const std::size_t first = stack.size() >= count ? stack.size() - count : 0;
        name += '(';
        for (std::size_t k = first; k < stack.size(); ++k) {
            if (k > first)
                name += ',';
            name += stack[k];
        }
        name += ')';
        stack.resize(first);
        stack.push_back(std::move(name));
    };
    const auto builtins = builtinFunctions();
    for (const Instr& i : program.code) {
        if (i.flags & kSynthetic)
            continue;
        switch (i.op) {
        case Op::Number:
            stack.push_back(formatShortest(i.number()));
            break;
        case Op::BadNumber:
        case Op::Name:
            stack.push_back(program.texts[static_cast<std::size_t>(i.a)]);
            break;
        case Op::Text:
            stack.push_back(quoted(program.texts[static_cast<std::size_t>(i.a)]));
            break;
        case Op::Boolean:
            stack.push_back(i.a ? "TRUE" : "FALSE");
            break;
        case Op::Error:
            stack.emplace_back(errorText(static_cast<ErrorCode>(i.a)));
            break;
        case Op::Missing:
            stack.emplace_back();
            break;
        case Op::Ref:
        case Op::Area:
            stack.push_back(referenceText(i, style, col, row));
            break;
        case Op::Neg:
        case Op::Plus:
            if (!stack.empty())
                stack.back().insert(stack.back().begin(), i.op == Op::Neg ? '-' : '+');
            break;
        case Op::Percent:
            if (!stack.empty())
                stack.back() += '%';
            break;
        case Op::Paren:
            if (!stack.empty()) {
                stack.back().insert(stack.back().begin(), '(');
                stack.back() += ')';
            }
            break;
        case Op::Call:
            popArgs(i.count, std::string(builtins[static_cast<std::size_t>(i.a)].name));
            break;
        case Op::EndIf:
            popArgs(i.count, std::string(builtins[static_cast<std::size_t>(i.a)].name));
            break;
        case Op::CallCustom:
            popArgs(i.count, program.texts[static_cast<std::size_t>(i.b)]);
            break;
        case Op::CondJump:
        case Op::Jump:
        case Op::IfErrorJump:
        case Op::Nop:
            break;
        default: // binary operators
            if (stack.size() >= 2) {
                std::string right = std::move(stack.back());
                stack.pop_back();
                stack.back() += operatorText(i.op);
                stack.back() += right;
            }
            break;
        }
    }
    return stack.empty() ? std::string() : std::move(stack.back());
}

} // namespace kxformula::detail
