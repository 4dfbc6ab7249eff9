// The evaluator's working types (operands, the evaluation context), the built-in function table
// with its one place for argument counting and coercion, and the stack machine that runs a program.
// Private to platform/formula.
#pragma once

#include "platform/formula/CellStore.h"
#include "platform/formula/Program.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kxformula::detail {

class LookupCache;

// A rectangle of cells, corners included, c1 <= c2 and r1 <= r2.
struct Area {
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    int width() const { return c2 - c1 + 1; }
    int height() const { return r2 - r1 + 1; }
    bool contains(int c, int r) const { return c >= c1 && c <= c2 && r >= r1 && r <= r2; }
    bool single() const { return c1 == c2 && r1 == r2; }
};

// One entry of the evaluation stack: a value, or a reference to cells (a formula's A1 or A1:B5,
// or what INDEX returns) that functions may read as a range.
struct Operand {
    Value value;
    Area area;
    bool isRef = false;
    bool noValue = false; // a custom function answered "no value": the formula leaves its cell empty

    static Operand of(Value v)
    {
        Operand o;
        o.value = std::move(v);
        return o;
    }
    static Operand error(ErrorCode code) { return of(Value::error(code)); }
    static Operand reference(const Area& a)
    {
        Operand o;
        o.area = a;
        o.isRef = true;
        return o;
    }
};

// Calls custom functions on behalf of the evaluator (the engine implements it).
class CustomCaller {
public:
    virtual ~CustomCaller() = default;
    virtual Value callCustom(std::uint32_t slot, std::span<Operand> args, int col, int row) = 0;
};

struct EvalContext {
    const CellStore& store;
    int columns = 0; // sheet size, read once per evaluation pass
    int rows = 0;
    int col = 0; // the cell whose formula runs
    int row = 0;
    LookupCache* lookups = nullptr;
    CustomCaller* customs = nullptr;

    bool inSheet(int c, int r) const { return c >= 1 && r >= 1 && c <= columns && r <= rows; }
    // A cell beyond the sheet's size is empty: references may reach past it (up to the grid's
    // limits), the store holds only the sheet.
    Value cell(int c, int r) const { return inSheet(c, r) ? store.valueAt(c, r) : Value(); }
    // The cell's value without copying it when the store allows; otherwise read into `scratch`.
    const Value& peek(int c, int r, Value& scratch) const
    {
        if (!inSheet(c, r)) {
            scratch = Value();
            return scratch;
        }
        if (const Value* v = store.peekValue(c, r))
            return *v;
        scratch = store.valueAt(c, r);
        return scratch;
    }
};

// What a function argument is turned into before the function sees it.
enum class ArgKind : std::uint8_t {
    Number,  // a number: texts are read as numbers, TRUE is 1, empty is 0
    Text,    // a text: numbers in general format, TRUE/FALSE, empty is ""
    Boolean, // a boolean: non-zero numbers and the texts TRUE/FALSE; empty is FALSE
    Scalar,  // one value of any type
    Any,     // one value of any type, errors included (the function handles them)
    Ref,     // kept as given, references stay references; an error value is passed on
    Raw,     // kept as given, errors included
};

class Args;
using FunctionImpl = Operand (*)(Args& args, EvalContext& ctx);

struct FunctionSpec {
    std::string_view name;
    std::uint8_t minArgs;
    std::uint8_t maxArgs;
    // Kinds of the first four arguments; any further argument has the kind of the fourth.
    std::array<ArgKind, 4> kinds;
    FunctionImpl impl;
    ArgKind kind(std::size_t i) const { return kinds[i < 3 ? i : 3]; }
};

// The arguments of a built-in call after coercion: number(i), text(i), boolean(i) for the arguments
// of those kinds, value(i) for Scalar and Any, operand(i) for Ref and Raw.
class Args {
public:
    explicit Args(std::span<Operand> operands) : ops_(operands) {}
    std::size_t size() const { return ops_.size(); }
    double number(std::size_t i) const { return ops_[i].value.asNumber(); }
    const std::string& text(std::size_t i) const { return ops_[i].value.asText(); }
    bool boolean(std::size_t i) const { return ops_[i].value.asBoolean(); }
    const Value& value(std::size_t i) const { return ops_[i].value; }
    Operand& operand(std::size_t i) { return ops_[i]; }
    std::span<Operand> all() { return ops_; }

private:
    std::span<Operand> ops_;
};

std::span<const FunctionSpec> builtinFunctions();
// Index of a built-in function by its upper-case name.
std::optional<std::uint16_t> findBuiltin(std::string_view upperName);
// Whether the built-in's formulas recalculate on every recalculation (RAND, RANDBETWEEN, NOW,
// TODAY, OFFSET, INDIRECT).
bool isVolatileBuiltin(std::uint16_t index);
// Whether the built-in gives references found only when it runs (OFFSET, INDIRECT).
bool isDynamicBuiltin(std::uint16_t index);
// The reference a Ref or Area instruction names for the cell in ctx; #REF! outside the grid.
Operand referenceOperand(const Instr& i, const EvalContext& ctx);
std::uint16_t builtinIf();
std::uint16_t builtinIfError();

// Checks the count, coerces each argument by its kind (the first error among them is the result)
// and calls the function.
Operand callBuiltin(std::uint16_t index, std::span<Operand> args, EvalContext& ctx);

// The value of an operand in a one-value place: a reference gives its cell; a range gives the cell
// in the formula's row or column (implicit intersection) or #VALUE!.
Value scalarOf(const Operand& operand, const EvalContext& ctx);
// The area of a reference limited to the sheet; nothing when no cell of it lies inside.
std::optional<Area> clipToSheet(const Area& area, const EvalContext& ctx);

// Coercions as arithmetic and the function arguments apply them. Errors pass through.
Value toNumber(const Value& v);
Value toText(const Value& v);
Value toBoolean(const Value& v);
// <0, 0, >0 as the comparison operators order values: numbers < texts < booleans, texts without
// regard to case; an empty value counts as 0, "" or FALSE by the other side. No errors here.
int compareValues(const Value& a, const Value& b);

// Runs a program for the cell in ctx and returns its result (possibly a reference). `stack` is
// working memory the caller keeps between runs so that evaluation does not allocate.
Operand run(const Program& program, EvalContext& ctx, std::vector<Operand>& stack);
// The value a formula cell takes: references read (a reference to an empty cell gives 0).
Value finalValue(Operand&& result, const EvalContext& ctx);

} // namespace kxformula::detail
