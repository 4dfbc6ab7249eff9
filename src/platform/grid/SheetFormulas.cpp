// The grid's formula engine: the cell store adapter, the custom function records and the mapping of
// the grid's changes onto the engine's calls (docs/formulas.md, "The cell store interface").
#include "platform/grid/SheetFormulas.h"

#include "platform/formula/MemoryCellStore.h"
#include "platform/grid/GridControl.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cstring>

namespace kxgrid::detail {

namespace {

using kxformula::CustomArgument;
using kxformula::ErrorCode;
using kxformula::Value;

const Value kEmpty;

// The argument records of one call. The callback receives the string blocks and frees those it
// reads; the blocks are freed again here once the call returned, so that one it ignored does not
// leak (freeing a block twice is a no-op: handles are never reused).
struct ArgumentRecords {
    std::vector<SS_VALUE> records;
    std::vector<HGLOBAL> blocks;
    ~ArgumentRecords()
    {
        for (HGLOBAL h : blocks)
            GlobalFree(h);
    }
};

// The engine reads a leading "=" as the optional formula mark. The grid's formulas are stored
// without their mark, so one that still starts with "=" (a text that cannot be read, such as
// "==x") gets a mark of its own and comes back from the engine unchanged.
std::string engineText(const std::string& formula)
{
    return !formula.empty() && formula.front() == '=' ? "=" + formula : formula;
}

SS_VALUE recordOf(const CustomArgument& a, bool cellsAsReferences, std::vector<HGLOBAL>& blocks)
{
    SS_VALUE r;
    std::memset(&r, 0, sizeof r);
    r.status = SS_VALUESTATUS_OK;
    r.kind = SS_VALUE_LONG;
    if (a.isReference) {
        const bool single = a.column == a.lastColumn && a.row == a.lastRow;
        if (!single) {
            r.kind = SS_VALUE_RANGE;
            r.cell.col = a.column;
            r.cell.row = a.row;
            r.cell.lastCol = a.lastColumn;
            r.cell.lastRow = a.lastRow;
            return r;
        }
        if (cellsAsReferences) {
            r.kind = SS_VALUE_CELL;
            r.cell.col = a.column;
            r.cell.row = a.row;
            return r;
        }
    }
    const Value& v = a.value;
    switch (v.type()) {
    case kxformula::ValueType::Empty: r.status = SS_VALUESTATUS_EMPTY; break;
    case kxformula::ValueType::Number:
        r.kind = SS_VALUE_DOUBLE;
        r.doubleValue = v.asNumber();
        break;
    case kxformula::ValueType::Text: {
        HGLOBAL h = GlobalAlloc(GHND, v.asText().size() + 1);
        if (!h)
            throw std::bad_alloc();
        blocks.push_back(h);
        std::memcpy(GlobalLock(h), v.asText().data(), v.asText().size());
        GlobalUnlock(h);
        r.kind = SS_VALUE_STRING;
        r.stringHandle = h;
        break;
    }
    case kxformula::ValueType::Boolean: r.longValue = v.asBoolean() ? 1 : 0; break;
    case kxformula::ValueType::Error:
        r.status = SS_VALUESTATUS_ERROR;
        r.longValue = static_cast<std::int32_t>(v.asError());
        break;
    }
    return r;
}

// The value a callback answered; the grid receives a returned string and frees its block.
Value valueOf(const SS_VALUE& r)
{
    std::string text;
    const HGLOBAL handle = r.kind == SS_VALUE_STRING ? r.stringHandle : nullptr;
    if (handle) {
        if (const char* p = static_cast<const char*>(GlobalLock(handle))) {
            text.assign(p, strnlen(p, GlobalSize(handle)));
            GlobalUnlock(handle);
        }
        GlobalFree(handle);
    }
    if (r.status == SS_VALUESTATUS_EMPTY)
        return Value();
    if (r.status == SS_VALUESTATUS_ERROR) {
        const std::int32_t code = r.kind == SS_VALUE_LONG ? r.longValue : 0;
        if (code >= static_cast<int>(ErrorCode::Null) && code <= static_cast<int>(ErrorCode::Syntax))
            return Value::error(static_cast<ErrorCode>(code));
        return Value::error(ErrorCode::Value);
    }
    if (r.status != SS_VALUESTATUS_OK)
        return Value::error(ErrorCode::Value);
    switch (r.kind) {
    case SS_VALUE_LONG: return Value::number(r.longValue);
    case SS_VALUE_DOUBLE: return Value::number(r.doubleValue);
    case SS_VALUE_STRING: return Value::text(std::move(text));
    default: return Value::error(ErrorCode::Value);  // a cell or range is no value of a cell
    }
}

bool hasFormula(const Cell* c) { return c && c->extra && !c->extra->formula.empty(); }

} // namespace

SheetFormulas::SheetFormulas(HWND grid) : m_hwnd(grid), m_engine(*this)
{
    m_engine.setAutoRecalc(true);  // a new grid has option 7 on
}

SheetFormulas::~SheetFormulas() = default;

Grid* SheetFormulas::grid() const
{
    if (!m_grid)
        m_grid = gridOf(m_hwnd);
    return m_grid;
}

kxformula::RefStyle SheetFormulas::style() const
{
    const Grid* g = grid();
    return g && g->refStyle == SS_REFSTYLE_R1C1 ? kxformula::RefStyle::R1C1 : kxformula::RefStyle::A1;
}

// --- Cell store ------------------------------------------------------------------------------------

int SheetFormulas::columnCount() const
{
    const Grid* g = grid();
    return g ? g->sheet().cols() : 0;
}

int SheetFormulas::rowCount() const
{
    const Grid* g = grid();
    return g ? g->sheet().rows() : 0;
}

Value SheetFormulas::valueAt(int col, int row) const
{
    const Grid* g = grid();
    const Cell* c = g ? g->sheet().find(col, row) : nullptr;
    if (!c)
        return Value();
    if (hasFormula(c))
        return c->extra->result;
    if (c->data.empty())
        return Value();
    return kxformula::valueFromTyped(c->data);
}

const Value* SheetFormulas::peekValue(int col, int row) const
{
    const Grid* g = grid();
    const Cell* c = g ? g->sheet().find(col, row) : nullptr;
    if (!c || (c->data.empty() && !c->extra))
        return &kEmpty;
    if (hasFormula(c))
        return &c->extra->result;
    return nullptr;
}

void SheetFormulas::setComputedValue(int col, int row, Value value)
{
    Grid* g = grid();
    if (!g || col < 1 || row < 1 || !g->sheet().validCell(col, row))
        return;
    const Cell* existing = g->sheet().find(col, row);
    if (!hasFormula(existing))
        return;
    Cell& c = g->sheet().at(col, row);
    // Readers that keep what they read (the lookup indexes of kept tables) must hear of a result
    // that changed; one that stayed the same is no change.
    if (!(c.extra->result == value))
        ++g->contentVersion;
    // A number cell formats the number with its decimals when it is shown; others use the general
    // format. Texts are copied into the cell's own buffer, which a recalculation then reuses.
    if (value.isNumber() && g->typeOf(col, row).type == SS_TYPE_NUMBER)
        c.data = shortestNumber(value.asNumber());
    else if (value.isText())
        c.data.assign(value.asText());
    else
        c.data = kxformula::displayText(value);
    c.extra->result = std::move(value);
    if (g->option(SSB_REDRAW))
        kxwin::notifyWindowChanged(m_hwnd, kxwin::WindowChange::Content);
}

std::string SheetFormulas::formulaAt(int col, int row) const
{
    const Grid* g = grid();
    const Cell* c = g ? g->sheet().find(col, row) : nullptr;
    return c ? c->formula() : std::string();
}

void SheetFormulas::forEachFormula(const std::function<void(int, int, std::string_view)>& visit) const
{
    const Grid* g = grid();
    if (!g)
        return;
    g->sheet().forEachCell([&](int col, int row, const Cell& c) {
        if (col >= 1 && row >= 1 && hasFormula(&c))
            visit(col, row, c.extra->formula);
    });
}

// --- Hook ------------------------------------------------------------------------------------------

void SheetFormulas::formulaChanged(HWND, int col, int row, const std::string& formula)
{
    if (col < 1 || row < 1)
        return;  // header cells show texts, not formulas
    if (formula.empty()) {
        m_engine.removeFormula(col, row);
        return;
    }
    m_engine.setFormula(col, row, engineText(formula), style());
    syncText(col, row);
}

void SheetFormulas::dataChanged(HWND, int, int)
{
    // Constant changes arrive through valueChanged whatever option 7 says.
}

bool SheetFormulas::recalculate(HWND)
{
    m_engine.recalculate();
    return true;
}

bool SheetFormulas::recalculateCell(HWND, int col, int row) { return m_engine.recalculateCell(col, row); }

void SheetFormulas::refStyleChanged(HWND, short) { syncTexts(); }

void SheetFormulas::customFunctionAdded(HWND, const std::string& name, short minArgs, short maxArgs, SSFUNCPROC proc,
                                        long flags)
{
    if (!proc)
        return;
    const HWND hwnd = m_hwnd;
    const bool cellsAsReferences = (flags & SS_CUSTFUNC_WANTCELLREF) != 0;
    m_engine.registerFunction(name, minArgs, maxArgs,
                              [hwnd, proc, cellsAsReferences](std::span<const CustomArgument> args, int col, int row) {
        ArgumentRecords in;
        in.records.reserve(args.size());
        for (const CustomArgument& a : args)
            in.records.push_back(recordOf(a, cellsAsReferences, in.blocks));
        SS_VALUE result;
        std::memset(&result, 0, sizeof result);
        result.status = SS_VALUESTATUS_EMPTY;
        const BOOL ok = proc(hwnd, col, row, &result, in.records.empty() ? nullptr : in.records.data(),
                             static_cast<short>(in.records.size()));
        Value v = valueOf(result);
        return ok ? v : Value::error(ErrorCode::Value);
    });
}

bool SheetFormulas::formulaText(HWND, int col, int row, std::string& text)
{
    auto t = m_engine.formulaText(col, row, style());
    if (!t)
        return false;
    text = std::move(*t);
    return true;
}

// --- Grid changes ----------------------------------------------------------------------------------

void SheetFormulas::valueChanged(int col, int row)
{
    Grid* g = grid();
    if (!g || col < 1 || row < 1 || hasFormula(g->sheet().find(col, row)))
        return;
    m_engine.cellChanged(col, row);
}

void SheetFormulas::blockChanged(int col1, int row1, int col2, int row2)
{
    kxformula::Engine::UpdateBatch batch(m_engine);
    for (int r = std::max(row1, 1); r <= row2; ++r)
        for (int c = std::max(col1, 1); c <= col2; ++c)
            valueChanged(c, r);
}

void SheetFormulas::autoRecalcChanged(bool on) { m_engine.setAutoRecalc(on); }

void SheetFormulas::rowInserted(int row)
{
    {
        kxformula::Engine::UpdateBatch batch(m_engine);
        m_engine.insertRows(row, 1);
        // The last row fell off the sheet.
        m_engine.deleteRows(rowCount() + 1, 1);
    }
    syncTexts();
}

void SheetFormulas::rowDeleted(int row)
{
    m_engine.deleteRows(row, 1);
    syncTexts();
}

void SheetFormulas::colInserted(int col)
{
    {
        kxformula::Engine::UpdateBatch batch(m_engine);
        m_engine.insertColumns(col, 1);
        m_engine.deleteColumns(columnCount() + 1, 1);
    }
    syncTexts();
}

void SheetFormulas::colDeleted(int col)
{
    m_engine.deleteColumns(col, 1);
    syncTexts();
}

void SheetFormulas::beforeMove(int col1, int row1, int col2, int row2, int destCol, int destRow, bool swap)
{
    m_moved.clear();
    auto r1c1 = [&](int c, int r) {
        auto t = m_engine.formulaText(c, r, kxformula::RefStyle::R1C1);
        return t ? *t : std::string();
    };
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c) {
            const int dc = destCol + (c - col1), dr = destRow + (r - row1);
            m_moved.push_back({dc, dr, r1c1(c, r)});
            if (swap)
                m_moved.push_back({c, r, r1c1(dc, dr)});
        }
}

void SheetFormulas::afterMove()
{
    {
        kxformula::Engine::UpdateBatch batch(m_engine);
        for (const Moved& m : m_moved) {
            if (m.col < 1 || m.row < 1)
                continue;
            if (!m.r1c1.empty()) {
                m_engine.setFormula(m.col, m.row, m.r1c1, kxformula::RefStyle::R1C1);
                syncText(m.col, m.row);
            } else {
                m_engine.removeFormula(m.col, m.row);
                m_engine.cellChanged(m.col, m.row);
            }
        }
    }
    m_moved.clear();
}

void SheetFormulas::reload()
{
    {
        kxformula::Engine::UpdateBatch batch(m_engine);
        m_engine.loadFromStore(style());
    }
    m_engine.recalculate();
}

void SheetFormulas::sizeChanged() { reload(); }

void SheetFormulas::sheetLoaded()
{
    m_engine.clearCustomFunctions();
    if (Grid* g = grid())
        g->customFunctions.clear();
    reload();
}

std::string SheetFormulas::moveFormulaText(const std::string& text, int fromCol, int fromRow, int toCol,
                                           int toRow) const
{
    kxformula::MemoryCellStore scratchStore(columnCount(), rowCount());
    kxformula::Engine scratch(scratchStore);
    scratch.setAutoRecalc(false);
    if (!scratch.setFormula(fromCol, fromRow, engineText(text), style()).ok)
        return text;
    if (!scratch.copyFormula(fromCol, fromRow, toCol, toRow))
        return text;
    auto moved = scratch.formulaText(toCol, toRow, style());
    return moved ? *moved : text;
}

void SheetFormulas::syncText(int col, int row)
{
    Grid* g = grid();
    if (!g || !hasFormula(g->sheet().find(col, row)))
        return;
    if (auto t = m_engine.formulaText(col, row, style()); t && !t->empty())
        g->sheet().at(col, row).extra->formula = std::move(*t);
}

void SheetFormulas::syncTexts()
{
    Grid* g = grid();
    if (!g)
        return;
    std::vector<std::pair<int, int>> cells;
    forEachFormula([&](int c, int r, std::string_view) { cells.emplace_back(c, r); });
    for (auto [c, r] : cells)
        syncText(c, r);
}

} // namespace kxgrid::detail
