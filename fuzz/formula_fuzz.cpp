// Fuzz target of the formula parser and evaluator: any text either reads as a formula, whose
// written form reads back to the same written form, or is kept as typed with #ERROR!; evaluation of
// whatever was read never crashes, never yields a non-finite number, and survives recalculation,
// a change of an input and the insertion and deletion of rows.
//
// Input: the first byte chooses the reference style (bit 0) and the formula's cell (the rest); the
// remaining bytes are the formula text.
#include "platform/formula/Engine.h"
#include "platform/formula/MemoryCellStore.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using kxformula::Engine;
using kxformula::MemoryCellStore;
using kxformula::RefStyle;
using kxformula::Value;

void check(const Value& v)
{
    if (v.isNumber() && !std::isfinite(v.asNumber()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const RefStyle style = (data[0] & 1) ? RefStyle::R1C1 : RefStyle::A1;
    const int col = 1 + (data[0] >> 1) % 6;
    const int row = 1 + (data[0] >> 4) % 8;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    MemoryCellStore store(8, 12);
    Engine engine(store);
    engine.registerFunction("CUSTOM", 0, 4, [](std::span<const kxformula::CustomArgument> args, int, int) {
        return args.empty() ? Value() : args.front().value;
    });
    // Sample cells of every kind, and formulas that read the fuzzed cell.
    store.setValue(1, 1, Value::number(3));
    store.setValue(2, 1, Value::text("ab"));
    store.setValue(3, 1, Value::boolean(true));
    store.setValue(4, 1, Value::error(kxformula::ErrorCode::NA));
    store.setValue(1, 2, Value::number(-1.5));
    store.setValue(2, 2, Value::text("3"));
    engine.setFormula(8, 12, "=SUM(A1:G11)&COUNTIF(A1:G11,\">0\")");
    engine.setFormula(8, 11, "=IFERROR(VLOOKUP(A1,A1:G11,2,FALSE),0)");

    const kxformula::ParseStatus status = engine.setFormula(col, row, text, style);
    check(store.valueAt(col, row));
    const auto written = engine.formulaText(col, row, style);
    if (!written)
        std::abort();
    if (!status.ok) {
        if (!store.valueAt(col, row).isError())
            std::abort();
    } else if (written->size() <= kxformula::kMaxFormulaChars) {
        // What the engine writes, it reads back the same.
        MemoryCellStore other(8, 12);
        Engine again(other);
        if (!again.setFormula(col, row, *written, style).ok)
            std::abort();
        if (again.formulaText(col, row, style) != written)
            std::abort();
    }
    (void)engine.formulaText(col, row, style == RefStyle::A1 ? RefStyle::R1C1 : RefStyle::A1);

    store.setValue(1, 1, Value::text("changed"));
    engine.cellChanged(1, 1);
    engine.recalculate();
    engine.insertRows(2, 1);
    engine.deleteColumns(1, 1);
    engine.recalculate();
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 12; ++r)
            check(store.valueAt(c, r));
    check(engine.evaluate(text, col, row, style));
    return 0;
}
