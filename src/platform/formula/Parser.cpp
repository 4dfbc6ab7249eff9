// Reads formula texts into programs: a recursive-descent parser that emits postfix code as it
// goes. Recursion happens only for parentheses and function calls, which are limited to 64 levels;
// chains of operators are loops, so no text can exhaust the stack.
#include "platform/formula/Interpreter.h"
#include "platform/formula/Numbers.h"
#include "platform/formula/Program.h"
#include "platform/formula/Text.h"

#include <charconv>

namespace kxformula::detail {

namespace {

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isNameStart(char c)
{
    return isLetter(c) || c == '_' || c == '\\' || static_cast<unsigned char>(c) >= 0x80;
}

bool isNameChar(char c)
{
    return isNameStart(c) || isDigit(c) || c == '.';
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// One corner of a reference as written: a position or an offset for each part.
struct RefPart {
    long col = 0;
    long row = 0;
    bool colAbs = false;
    bool rowAbs = false;
    bool outOfRange = false;
};

class Parser {
public:
    Parser(std::string_view text, RefStyle style, int col, int row, const CustomSlotResolver* resolver,
           Program& out)
        : s_(text), style_(style), col_(col), row_(row), resolver_(resolver), out_(out)
    {
    }

    ParseStatus parse()
    {
        skipSpace();
        if (pos_ == s_.size())
            fail("the formula is empty");
        else if (expression()) {
            skipSpace();
            if (pos_ != s_.size())
                fail(s_[pos_] == ')' ? "a ')' without its '('" : "unexpected character");
        }
        return status_;
    }

private:
    bool fail(std::string message)
    {
        if (status_.ok) {
            status_.ok = false;
            status_.message = std::move(message);
            status_.offset = pos_;
        }
        return false;
    }

    void skipSpace()
    {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n'))
            ++pos_;
    }

    bool at(char c) const { return pos_ < s_.size() && s_[pos_] == c; }
    char peek(std::size_t ahead = 0) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }

    void emit(const Instr& i) { out_.code.push_back(i); }
    void emit(Op op) { out_.code.push_back(Instr{op}); }
    std::int32_t addText(std::string text)
    {
        out_.texts.push_back(std::move(text));
        return static_cast<std::int32_t>(out_.texts.size() - 1);
    }

    bool expression() { return comparison(); }

    bool comparison()
    {
        if (!concatenation())
            return false;
        while (true) {
            skipSpace();
            Op op;
            std::size_t length = 1;
            if (at('<') && peek(1) == '>') {
                op = Op::Ne;
                length = 2;
            } else if (at('<') && peek(1) == '=') {
                op = Op::Le;
                length = 2;
            } else if (at('>') && peek(1) == '=') {
                op = Op::Ge;
                length = 2;
            } else if (at('<')) {
                op = Op::Lt;
            } else if (at('>')) {
                op = Op::Gt;
            } else if (at('=')) {
                op = Op::Eq;
            } else {
                return true;
            }
            pos_ += length;
            if (!concatenation())
                return false;
            emit(op);
        }
    }

    bool concatenation()
    {
        if (!additive())
            return false;
        while (true) {
            skipSpace();
            if (!at('&'))
                return true;
            ++pos_;
            if (!additive())
                return false;
            emit(Op::Concat);
        }
    }

    bool additive()
    {
        if (!multiplicative())
            return false;
        while (true) {
            skipSpace();
            if (!at('+') && !at('-'))
                return true;
            const Op op = at('+') ? Op::Add : Op::Sub;
            ++pos_;
            if (!multiplicative())
                return false;
            emit(op);
        }
    }

    bool multiplicative()
    {
        if (!power())
            return false;
        while (true) {
            skipSpace();
            if (!at('*') && !at('/'))
                return true;
            const Op op = at('*') ? Op::Mul : Op::Div;
            ++pos_;
            if (!power())
                return false;
            emit(op);
        }
    }

    bool power()
    {
        if (!unary())
            return false;
        while (true) {
            skipSpace();
            if (!at('^'))
                return true;
            ++pos_;
            if (!unary())
                return false;
            emit(Op::Pow);
        }
    }

    // Signs bind tighter than ^ (so -2^2 is 4, as spreadsheets have it), then percent.
    bool unary()
    {
        std::vector<Op> signs;
        while (true) {
            skipSpace();
            if (at('-'))
                signs.push_back(Op::Neg);
            else if (at('+'))
                signs.push_back(Op::Plus);
            else
                break;
            ++pos_;
        }
        if (!primary())
            return false;
        while (true) {
            skipSpace();
            if (!at('%'))
                break;
            ++pos_;
            emit(Op::Percent);
        }
        for (auto it = signs.rbegin(); it != signs.rend(); ++it)
            emit(*it);
        return true;
    }

    bool primary()
    {
        skipSpace();
        if (pos_ >= s_.size())
            return fail("a value is missing at the end");
        const char c = s_[pos_];
        if (isDigit(c) && wholeLines())
            return true;
        if (isDigit(c) || (c == '.' && isDigit(peek(1))))
            return number();
        if (c == '"')
            return text();
        if (c == '#')
            return errorLiteral();
        if (c == '(') {
            if (!enter())
                return false;
            ++pos_;
            if (!expression())
                return false;
            skipSpace();
            if (!at(')'))
                return fail("a '(' without its ')'");
            ++pos_;
            --depth_;
            emit(Op::Paren);
            return true;
        }
        if (c == '$' || isNameStart(c))
            return referenceOrName();
        if (c == ')' || c == ',')
            return fail("a value is missing");
        return fail("unexpected character");
    }

    bool enter()
    {
        if (++depth_ > kMaxNesting)
            return fail("more than 64 nesting levels");
        return true;
    }

    bool number()
    {
        const std::size_t start = pos_;
        while (isDigit(peek()))
            ++pos_;
        if (at('.')) {
            ++pos_;
            while (isDigit(peek()))
                ++pos_;
        }
        if ((at('e') || at('E'))) {
            std::size_t q = pos_ + 1;
            if (q < s_.size() && (s_[q] == '+' || s_[q] == '-'))
                ++q;
            if (q < s_.size() && isDigit(s_[q])) {
                while (q < s_.size() && isDigit(s_[q]))
                    ++q;
                pos_ = q;
            }
        }
        const std::string_view literal = s_.substr(start, pos_ - start);
        bool overflow = false;
        const double value = readDecimal(literal, overflow);
        if (overflow) {
            Instr i{Op::BadNumber};
            i.a = addText(std::string(literal));
            emit(i);
        } else {
            emit(Instr::number(value));
        }
        return true;
    }

    bool text()
    {
        ++pos_;
        std::string value;
        while (true) {
            if (pos_ >= s_.size())
                return fail("a text without its closing '\"'");
            const char c = s_[pos_++];
            if (c == '"') {
                if (!at('"'))
                    break;
                ++pos_;
            }
            value += c;
        }
        if (tooLong(value))
            return fail("a text longer than 32767 characters");
        Instr i{Op::Text};
        i.a = addText(std::move(value));
        emit(i);
        return true;
    }

    bool errorLiteral()
    {
        // The longest error text is 7 characters; try each length that could be one.
        for (std::size_t length = 7; length >= 4; --length) {
            if (pos_ + length > s_.size())
                continue;
            if (const auto code = errorFromText(s_.substr(pos_, length))) {
                pos_ += length;
                Instr i{Op::Error};
                i.a = static_cast<std::int32_t>(*code);
                emit(i);
                return true;
            }
        }
        return fail("unknown error value");
    }

    // Reads digits as a number, saturating far above any limit.
    static long readDigits(std::string_view s, std::size_t& q)
    {
        long value = 0;
        while (q < s.size() && isDigit(s[q])) {
            if (value < 100'000'000'000L)
                value = value * 10 + (s[q] - '0');
            ++q;
        }
        return value;
    }

    bool endsToken(std::size_t q) const
    {
        return q >= s_.size() || (!isNameChar(s_[q]) && s_[q] != '(' && s_[q] != '$');
    }

    // An A1 reference at q: $?letters(1-3)$?digits, not followed by a name character or '('.
    bool a1Ref(std::size_t& q, RefPart& part) const
    {
        std::size_t p = q;
        part = RefPart{};
        if (p < s_.size() && s_[p] == '$') {
            part.colAbs = true;
            ++p;
        }
        std::size_t letters = 0;
        long col = 0;
        while (p < s_.size() && isLetter(s_[p])) {
            col = col * 26 + (upper(s_[p]) - 'A' + 1);
            ++p;
            if (++letters > 3)
                return false;
        }
        if (letters == 0)
            return false;
        if (p < s_.size() && s_[p] == '$') {
            part.rowAbs = true;
            ++p;
        }
        if (p >= s_.size() || !isDigit(s_[p]))
            return false;
        const long row = readDigits(s_, p);
        if (!endsToken(p) || row == 0)
            return false;
        part.outOfRange = row > kMaxRow || col > kMaxColumn;
        part.col = part.colAbs ? col : col - col_;
        part.row = part.rowAbs ? row : row - row_;
        q = p;
        return true;
    }

    // One part of an R1C1 reference after its letter: [n] relative, n absolute, nothing: offset 0.
    bool r1c1Part(std::size_t& p, long& value, bool& absolute, bool& outOfRange, long limit) const
    {
        absolute = false;
        value = 0;
        if (p < s_.size() && s_[p] == '[') {
            ++p;
            bool negative = false;
            if (p < s_.size() && (s_[p] == '-' || s_[p] == '+'))
                negative = s_[p++] == '-';
            if (p >= s_.size() || !isDigit(s_[p]))
                return false;
            value = readDigits(s_, p);
            if (p >= s_.size() || s_[p] != ']')
                return false;
            ++p;
            if (value > limit)
                outOfRange = true;
            if (negative)
                value = -value;
            return true;
        }
        if (p < s_.size() && isDigit(s_[p])) {
            absolute = true;
            value = readDigits(s_, p);
            if (value == 0)
                return false;
            if (value > limit)
                outOfRange = true;
        }
        return true;
    }

    bool r1c1Ref(std::size_t& q, RefPart& part) const
    {
        std::size_t p = q;
        part = RefPart{};
        if (p >= s_.size() || upper(s_[p]) != 'R')
            return false;
        ++p;
        if (!r1c1Part(p, part.row, part.rowAbs, part.outOfRange, kMaxRow))
            return false;
        if (p >= s_.size() || upper(s_[p]) != 'C')
            return false;
        ++p;
        if (!r1c1Part(p, part.col, part.colAbs, part.outOfRange, kMaxColumn))
            return false;
        if (!endsToken(p))
            return false;
        q = p;
        return true;
    }

    bool reference(std::size_t& q, RefPart& part) const
    {
        return style_ == RefStyle::A1 ? a1Ref(q, part) : r1c1Ref(q, part);
    }

    long target(long value, bool absolute, int base) const { return absolute ? value : value + base; }

    // One side of a whole-line range in A1: $?letters (a column) or $?digits (a row), as a position
    // or an offset like a reference's part. False when the text is no such side.
    bool a1Line(std::size_t& q, bool columns, long& value, bool& absolute) const
    {
        std::size_t p = q;
        absolute = p < s_.size() && s_[p] == '$';
        if (absolute)
            ++p;
        long v = 0;
        std::size_t n = 0;
        if (columns) {
            while (p < s_.size() && isLetter(s_[p]) && n < 4) {
                v = v * 26 + (upper(s_[p]) - 'A' + 1);
                ++p;
                ++n;
            }
            if (n == 0 || n > 3 || v > kMaxColumn)
                return false;
        } else {
            if (p >= s_.size() || !isDigit(s_[p]))
                return false;
            v = readDigits(s_, p);
            if (v < 1 || v > kMaxRow)
                return false;
        }
        value = absolute ? v : v - (columns ? col_ : row_);
        q = p;
        return true;
    }

    // One side in R1C1: the letter R (rows) or C (columns) and its part, not followed by the other.
    bool r1c1Line(std::size_t& q, bool& columns, long& value, bool& absolute) const
    {
        std::size_t p = q;
        if (p >= s_.size() || (upper(s_[p]) != 'R' && upper(s_[p]) != 'C'))
            return false;
        columns = upper(s_[p]) == 'C';
        ++p;
        bool outOfRange = false;
        if (!r1c1Part(p, value, absolute, outOfRange, columns ? kMaxColumn : kMaxRow) || outOfRange)
            return false;
        q = p;
        return true;
    }

    // A range of whole columns ("A:C", "$B:$B", R1C1 "C2", "C[-1]:C1") or whole rows ("1:1",
    // "$2:$5", "R1", "R[1]:R3"), emitted as an Area over every row (column) of those. False, with
    // nothing read, when the text at the position is none.
    bool wholeLines()
    {
        std::size_t q = pos_;
        bool columns = false;
        long first = 0, second = 0;
        bool firstAbs = false, secondAbs = false;
        if (style_ == RefStyle::A1) {
            const char c = s_[q] == '$' && q + 1 < s_.size() ? s_[q + 1] : s_[q];
            columns = isLetter(c);
            if (!a1Line(q, columns, first, firstAbs) || q >= s_.size() || s_[q] != ':')
                return false;
            ++q;
            if (!a1Line(q, columns, second, secondAbs) || !endsToken(q))
                return false;
        } else {
            if (!r1c1Line(q, columns, first, firstAbs))
                return false;
            second = first;
            secondAbs = firstAbs;
            if (q < s_.size() && s_[q] == ':') {
                bool secondColumns = false;
                std::size_t r = q + 1;
                if (!r1c1Line(r, secondColumns, second, secondAbs) || secondColumns != columns)
                    return false;
                q = r;
            }
            if (!endsToken(q))
                return false;
        }
        const int base = columns ? col_ : row_;
        if (target(first, firstAbs, base) > target(second, secondAbs, base)) {
            std::swap(first, second);
            std::swap(firstAbs, secondAbs);
        }
        Instr i{Op::Area};
        if (columns) {
            i.a = static_cast<std::int32_t>(first);
            i.c = static_cast<std::int32_t>(second);
            i.b = 1;
            i.d = kMaxRow;
            i.flags = static_cast<std::uint8_t>(kWholeColumns | kRowAbs | kRow2Abs | (firstAbs ? kColAbs : 0) |
                                                (secondAbs ? kCol2Abs : 0));
        } else {
            i.b = static_cast<std::int32_t>(first);
            i.d = static_cast<std::int32_t>(second);
            i.a = 1;
            i.c = kMaxColumn;
            i.flags = static_cast<std::uint8_t>(kWholeRows | kColAbs | kCol2Abs | (firstAbs ? kRowAbs : 0) |
                                                (secondAbs ? kRow2Abs : 0));
        }
        pos_ = q;
        emit(i);
        return true;
    }

    bool referenceOrName()
    {
        if (wholeLines())
            return true;
        RefPart first;
        std::size_t q = pos_;
        if (reference(q, first)) {
            pos_ = q;
            if (at(':')) {
                ++pos_;
                RefPart second;
                q = pos_;
                if (!reference(q, second))
                    return fail("a cell reference must follow ':'");
                pos_ = q;
                if (first.outOfRange || second.outOfRange) {
                    emitRefError();
                    return true;
                }
                // Corners in order, so that B5:A1 reads as A1:B5.
                if (target(first.col, first.colAbs, col_) > target(second.col, second.colAbs, col_)) {
                    std::swap(first.col, second.col);
                    std::swap(first.colAbs, second.colAbs);
                }
                if (target(first.row, first.rowAbs, row_) > target(second.row, second.rowAbs, row_)) {
                    std::swap(first.row, second.row);
                    std::swap(first.rowAbs, second.rowAbs);
                }
                Instr i{Op::Area};
                i.a = static_cast<std::int32_t>(first.col);
                i.b = static_cast<std::int32_t>(first.row);
                i.c = static_cast<std::int32_t>(second.col);
                i.d = static_cast<std::int32_t>(second.row);
                i.flags = static_cast<std::uint8_t>((first.colAbs ? kColAbs : 0) | (first.rowAbs ? kRowAbs : 0)
                                                    | (second.colAbs ? kCol2Abs : 0)
                                                    | (second.rowAbs ? kRow2Abs : 0));
                emit(i);
                return true;
            }
            if (first.outOfRange) {
                emitRefError();
                return true;
            }
            Instr i{Op::Ref};
            i.a = static_cast<std::int32_t>(first.col);
            i.b = static_cast<std::int32_t>(first.row);
            i.flags = static_cast<std::uint8_t>((first.colAbs ? kColAbs : 0) | (first.rowAbs ? kRowAbs : 0));
            emit(i);
            return true;
        }
        if (at('$'))
            return fail("a '$' that does not start a cell reference");
        const std::size_t start = pos_;
        while (pos_ < s_.size() && isNameChar(s_[pos_]))
            ++pos_;
        std::string name(s_.substr(start, pos_ - start));
        std::string upperName = upperCase(name);
        if (at('('))
            return call(std::move(upperName));
        if (upperName == "TRUE" || upperName == "FALSE") {
            Instr i{Op::Boolean};
            i.a = upperName == "TRUE";
            emit(i);
            return true;
        }
        Instr i{Op::Name};
        i.a = addText(std::move(name));
        emit(i);
        return true;
    }

    void emitRefError()
    {
        Instr i{Op::Error};
        i.a = static_cast<std::int32_t>(ErrorCode::Ref);
        emit(i);
    }

    bool call(std::string upperName)
    {
        if (!enter())
            return false;
        ++pos_; // '('
        const auto builtin = findBuiltin(upperName);
        const bool isIf = builtin && *builtin == builtinIf();
        const bool isIfError = builtin && *builtin == builtinIfError();
        std::size_t hook0 = 0, hook1 = 0; // the jumps placed after the first and second argument
        int argc = 0;
        skipSpace();
        if (at(')')) {
            ++pos_;
        } else {
            while (true) {
                skipSpace();
                if (at(',') || at(')'))
                    emit(Op::Missing);
                else if (!expression())
                    return false;
                if (++argc > kMaxArguments)
                    return fail("more than 255 arguments");
                if ((isIf || isIfError) && argc <= 2) {
                    if (argc == 1) {
                        hook0 = out_.code.size();
                        emit(isIf ? Op::CondJump : Op::IfErrorJump);
                    } else if (isIf) {
                        hook1 = out_.code.size();
                        emit(Op::Jump);
                    }
                }
                skipSpace();
                if (at(',')) {
                    ++pos_;
                    continue;
                }
                if (at(')')) {
                    ++pos_;
                    break;
                }
                return fail(pos_ >= s_.size() ? "a '(' without its ')'" : "expected ',' or ')'");
            }
        }
        --depth_;
        if (isIf && (argc == 2 || argc == 3)) {
            if (argc == 2) {
                Instr no{Op::Boolean};
                no.flags = kSynthetic;
                emit(no);
            }
            const auto end = static_cast<std::int32_t>(out_.code.size());
            out_.code[hook0].a = static_cast<std::int32_t>(hook1 + 1);
            out_.code[hook0].b = end;
            out_.code[hook1].a = end;
            Instr mark{Op::EndIf};
            mark.a = *builtin;
            mark.count = static_cast<std::uint16_t>(argc);
            emit(mark);
            return true;
        }
        if (isIfError && argc == 2) {
            out_.code[hook0].a = static_cast<std::int32_t>(out_.code.size());
            Instr mark{Op::EndIf};
            mark.a = *builtin;
            mark.count = 2;
            emit(mark);
            return true;
        }
        // A wrong argument count: no lazy jumps, the call itself reports the count.
        if (isIf || isIfError) {
            if (argc >= 1)
                out_.code[hook0] = Instr{Op::Nop};
            if (isIf && argc >= 2)
                out_.code[hook1] = Instr{Op::Nop};
        }
        if (builtin) {
            Instr i{Op::Call};
            i.a = *builtin;
            i.count = static_cast<std::uint16_t>(argc);
            out_.isVolatile = out_.isVolatile || isVolatileBuiltin(*builtin);
            out_.readsDynamic = out_.readsDynamic || isDynamicBuiltin(*builtin);
            emit(i);
            return true;
        }
        Instr i{Op::CallCustom};
        i.a = static_cast<std::int32_t>(resolver_ && *resolver_ ? (*resolver_)(upperName) : kNoSlot);
        i.b = addText(std::move(upperName));
        i.count = static_cast<std::uint16_t>(argc);
        out_.callsCustom = true;
        emit(i);
        return true;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    RefStyle style_;
    int col_;
    int row_;
    const CustomSlotResolver* resolver_;
    Program& out_;
    int depth_ = 0;
    ParseStatus status_;
};

void makeUnparsed(std::string_view text, Program& out)
{
    out.code.clear();
    out.texts.clear();
    out.callsCustom = false;
    out.isVolatile = false;
    out.readsDynamic = false;
    out.unparsed = true;
    out.raw = std::string(text);
    Instr i{Op::Error};
    i.a = static_cast<std::int32_t>(ErrorCode::Syntax);
    out.code.push_back(i);
}

} // namespace

ParseStatus parseFormula(std::string_view text, RefStyle style, int col, int row,
                         const CustomSlotResolver* resolver, Program& out)
{
    // Cleared, not reassigned: a caller that parses many formulas into one Program keeps its
    // buffers and parsing allocates nothing.
    out.code.clear();
    out.texts.clear();
    out.unparsed = false;
    out.raw.clear();
    out.callsCustom = false;
    out.isVolatile = false;
    out.readsDynamic = false;
    std::size_t skipped = 0;
    if (!text.empty() && text.front() == '=') {
        text.remove_prefix(1);
        skipped = 1;
    }
    ParseStatus status;
    if (!isValidUtf8(text)) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t before = pos;
            if (decodeUtf8(text, pos) == 0xFFFD && pos - before != 3) {
                pos = before;
                break;
            }
        }
        status = {false, "the formula is not valid UTF-8", pos};
    } else if (text.size() > kMaxFormulaChars && charCount(text) > kMaxFormulaChars) {
        status = {false, "the formula is longer than 8192 characters", kMaxFormulaChars};
    } else {
        status = Parser(text, style, col, row, resolver, out).parse();
    }
    if (!status.ok) {
        status.offset += skipped;
        makeUnparsed(text, out);
    }
    return status;
}

} // namespace kxformula::detail
