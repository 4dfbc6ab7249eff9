// A formula as the engine keeps it: read once into a postfix program that is both what the
// evaluator runs and what the printer writes back as text. References are stored as R1C1 does:
// relative parts as offsets from the formula's cell, absolute parts as positions, so one program
// serves every cell a formula is copied to. Private to platform/formula.
#pragma once

#include "platform/formula/FormulaTypes.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kxformula::detail {

enum class Op : std::uint8_t {
    Number,     // a, b: the double's bytes
    BadNumber,  // a: text index of a literal too large for a number; gives #NUM!
    Text,       // a: text index
    Boolean,    // a: 0 or 1
    Error,      // a: ErrorCode
    Name,       // a: text index of an unknown name; gives #NAME?
    Missing,    // an argument left empty
    Ref,        // a: column, b: row (offsets or positions, see flags)
    Area,       // a, b: first corner; c, d: last corner
    Neg,
    Plus,
    Percent,
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    Concat,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Paren,       // keeps the writer's parentheses; does nothing
    Call,        // a: built-in function index, count: arguments
    CallCustom,  // a: custom function slot, b: text index of the name, count: arguments
    CondJump,    // IF: pops the condition; false goes to a, an error to b with the error
    Jump,        // goes to a
    IfErrorJump, // IFERROR: no error on top goes to a, else pops it
    EndIf,       // marks the end of a lazy IF/IFERROR for the printer: a: function, count: arguments
    Nop,
};

// Flags of Ref and Area: which parts are absolute positions.
inline constexpr std::uint8_t kColAbs = 1;
inline constexpr std::uint8_t kRowAbs = 2;
inline constexpr std::uint8_t kCol2Abs = 4;
inline constexpr std::uint8_t kRow2Abs = 8;
// Set on instructions the compiler added that have no text (the FALSE of a two-argument IF).
inline constexpr std::uint8_t kSynthetic = 16;
// An Area written as whole columns ("A:C", R1C1 "C1:C3": rows 1 to kMaxRow, both absolute) or as
// whole rows ("2:5", "R2:R5": columns 1 to kMaxColumn). Printed so, and the spanned axis never moves
// when rows (columns) are inserted or deleted.
inline constexpr std::uint8_t kWholeColumns = 32;
inline constexpr std::uint8_t kWholeRows = 64;

struct Instr {
    Op op;
    std::uint8_t flags = 0;
    std::uint16_t count = 0;
    std::int32_t a = 0, b = 0, c = 0, d = 0;

    // A number constant keeps the double's 64 bits in a (low half) and b (high half).
    static Instr number(double value)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        Instr i{Op::Number};
        i.a = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
        i.b = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32));
        return i;
    }
    double number() const
    {
        const std::uint64_t bits = static_cast<std::uint64_t>(static_cast<std::uint32_t>(a))
                                   | static_cast<std::uint64_t>(static_cast<std::uint32_t>(b)) << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};
static_assert(sizeof(Instr) == 20);

struct Program {
    std::vector<Instr> code;
    std::vector<std::string> texts;
    // Set when the text could not be read: code then yields #ERROR! and `raw` is the text as given.
    bool unparsed = false;
    std::string raw;
    bool callsCustom = false;
    // Calls a volatile function (RAND): recalculated on every recalculation, changed inputs or not.
    bool isVolatile = false;
    // Calls OFFSET or INDIRECT, whose references are known only when they run (volatile too).
    bool readsDynamic = false;
};

// Maps an unknown function name (upper case) to the engine's custom function slot.
using CustomSlotResolver = std::function<std::uint32_t(std::string_view upperName)>;
inline constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;

// Reads a formula text (with or without a leading '=') written in `style` for the cell (col, row).
// Never fails to produce a program: on a bad text the program is the unparsed one.
ParseStatus parseFormula(std::string_view text, RefStyle style, int col, int row,
                         const CustomSlotResolver* resolver, Program& out);

// The formula text of a program for the cell (col, row), without a leading '='.
std::string printFormula(const Program& program, RefStyle style, int col, int row);

// Column letters of a column number: 1 "A", 27 "AA".
std::string columnLetters(int col);

} // namespace kxformula::detail
