// Types shared by the engine's interface: reference styles, the outcome of reading a formula text,
// the arguments custom functions receive, and the engine's limits.
#pragma once

#include "platform/formula/KxFormulaExport.h"
#include "platform/formula/Value.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>

namespace kxformula {

// How cell references are written. The grid's "default" style writes A1.
enum class RefStyle : std::uint8_t { A1, R1C1 };

// Longest formula text, in characters (a leading '=' not counted).
inline constexpr std::size_t kMaxFormulaChars = 8192;
// Deepest nesting of parentheses and function calls.
inline constexpr int kMaxNesting = 64;
// Most arguments of one function call.
inline constexpr int kMaxArguments = 255;
// Largest column (ZZZ) and row a reference may name.
inline constexpr int kMaxColumn = 18278;
inline constexpr int kMaxRow = 1 << 30;
// Deepest nesting of custom function calls, counted over all engines of the thread: a custom function
// that evaluates another sheet which calls it again stops here with #CYCLE! instead of exhausting the
// stack.
inline constexpr int kMaxCustomNesting = 8;

// The outcome of reading a formula text. A formula that cannot be read is still kept (its text as
// given) and shows #ERROR!; `message` says why and `offset` is the byte of the text where reading
// stopped.
struct ParseStatus {
    bool ok = true;
    std::string message;
    std::size_t offset = 0;
};

// One argument of a custom function call. A reference argument (a cell or a range written in the
// formula) keeps its place: isReference is true, column/row name its first cell and lastColumn/lastRow
// its last one (the same for a single cell); value is the cell's value for a single cell and empty
// for a range. Any other argument has isReference false and its computed value (an omitted argument
// is an empty value).
struct CustomArgument {
    Value value;
    bool isReference = false;
    int column = 0;
    int row = 0;
    int lastColumn = 0;
    int lastRow = 0;
};

// A custom function: receives its arguments and the cell whose formula calls it, returns the result.
// An empty Value means "no value": a formula whose result it is leaves its cell empty. Exceptions
// thrown by the function become #VALUE!.
using CustomFunction = std::function<Value(std::span<const CustomArgument> args, int column, int row)>;

} // namespace kxformula
