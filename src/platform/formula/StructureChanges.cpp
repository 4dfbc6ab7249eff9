// Rows and columns inserted or deleted: formulas move with their cells and every reference is
// adjusted, as a spreadsheet does.
#include "platform/formula/EnginePrivate.h"

namespace kxformula {

using namespace detail;

bool EnginePrivate::moveCoordinate(long long& v, int at, int count, bool deleting, bool isLow, bool isHigh, int limit)
{
    if (!deleting) {
        if (v >= at)
            v += count;
        return v <= limit;
    }
    const long long end = static_cast<long long>(at) + count; // first coordinate kept after the gap
    if (v < at)
        return true;
    if (v >= end) {
        v -= count;
        return true;
    }
    if (isLow && isHigh)
        return false;
    v = isLow ? at : at - 1; // a range end inside the gap moves to its edge
    return true;
}

std::shared_ptr<const Program> EnginePrivate::movedProgram(const Program& program, int col, int row, int newCol,
                                                          int newRow, bool rows, int at, int count, bool deleting)
{
    Program moved = program;
    for (Instr& i : moved.code) {
        if (i.op != Op::Ref && i.op != Op::Area)
            continue;
        const bool area = i.op == Op::Area;
        const auto abs = [](std::int32_t v, bool absolute, int base) {
            return absolute ? static_cast<long long>(v) : static_cast<long long>(v) + base;
        };
        long long c1 = abs(i.a, i.flags & kColAbs, col), r1 = abs(i.b, i.flags & kRowAbs, row);
        long long c2 = area ? abs(i.c, i.flags & kCol2Abs, col) : c1;
        long long r2 = area ? abs(i.d, i.flags & kRow2Abs, row) : r1;
        bool kept = true;
        // Whole columns span every row: inserting or deleting rows leaves them as they are (and
        // whole rows likewise for columns).
        const bool spansAxis = area && (i.flags & (rows ? kWholeColumns : kWholeRows));
        if (c1 >= 1 && r1 >= 1 && !spansAxis) { // parts already off the sheet stay as they are
            if (rows) {
                if (area && deleting && r1 >= at && r2 < static_cast<long long>(at) + count)
                    kept = false; // the whole range is deleted
                else {
                    kept = moveCoordinate(r1, at, count, deleting, true, !area, kMaxRow);
                    if (area && kept)
                        kept = moveCoordinate(r2, at, count, deleting, false, true, kMaxRow);
                }
            } else {
                if (area && deleting && c1 >= at && c2 < static_cast<long long>(at) + count)
                    kept = false;
                else {
                    kept = moveCoordinate(c1, at, count, deleting, true, !area, kMaxColumn);
                    if (area && kept)
                        kept = moveCoordinate(c2, at, count, deleting, false, true, kMaxColumn);
                }
            }
        }
        if (!kept) {
            i = Instr{Op::Error};
            i.a = static_cast<std::int32_t>(ErrorCode::Ref);
            continue;
        }
        const auto rel = [](long long v, bool absolute, int base) {
            return static_cast<std::int32_t>(absolute ? v : v - base);
        };
        i.a = rel(c1, i.flags & kColAbs, newCol);
        i.b = rel(r1, i.flags & kRowAbs, newRow);
        if (area) {
            i.c = rel(c2, i.flags & kCol2Abs, newCol);
            i.d = rel(r2, i.flags & kRow2Abs, newRow);
        }
    }
    return intern(moved);
}

bool EnginePrivate::moveCells(bool rows, int at, int count, bool deleting)
{
    if (recalculating_ || at < 1 || count < 1)
        return false;
    struct Moved {
        int col, row;
        std::shared_ptr<const Program> program;
    };
    std::vector<Moved> kept;
    kept.reserve(byCell_.size());
    for (const FormulaCell& f : formulas_) {
        if (!f.alive)
            continue;
        long long col = f.col, row = f.row;
        long long& axis = rows ? row : col;
        if (deleting && axis >= at && axis < static_cast<long long>(at) + count)
            continue; // the formula's own cell is deleted
        if (!moveCoordinate(axis, at, count, deleting, true, true, rows ? kMaxRow : kMaxColumn))
            continue; // pushed beyond the last row or column
        const int newCol = static_cast<int>(col), newRow = static_cast<int>(row);
        std::shared_ptr<const Program> program =
            f.program->unparsed ? f.program
                                : movedProgram(*f.program, f.col, f.row, newCol, newRow, rows, at, count, deleting);
        kept.push_back(Moved{newCol, newRow, std::move(program)});
    }
    clearAll();
    ++batchDepth_;
    for (Moved& m : kept)
        install(m.col, m.row, std::move(m.program));
    --batchDepth_;
    markAllDue();
    recalcIfAutomatic();
    return true;
}

} // namespace kxformula
