// The built-in functions' implementations and the helpers they share (reading cells of a range,
// collecting numbers, matching criteria, exact lookups). The table that names them and gives their
// argument counts and kinds is in FunctionTable.cpp. Private to platform/formula.
#pragma once

#include "platform/formula/Interpreter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kxformula::detail {

// Calls f(value, col, row) for every cell of the area inside the sheet, row by row; f returns false
// to stop.
template <typename F>
void forEachCell(const Area& area, const EvalContext& ctx, F&& f)
{
    const auto clipped = clipToSheet(area, ctx);
    if (!clipped)
        return;
    Value scratch;
    for (int r = clipped->r1; r <= clipped->r2; ++r)
        for (int c = clipped->c1; c <= clipped->c2; ++c)
            if (!f(ctx.peek(c, r, scratch), c, r))
                return;
}

// The numbers an aggregate (SUM, AVERAGE, MIN, MAX) takes from its arguments: from ranges only the
// numbers (texts, booleans and empty cells are skipped); from values given directly numbers,
// booleans (1, 0), texts that read as numbers and omitted arguments (0). The first error met, or a
// direct text that is not a number (#VALUE!), stops the visit and is returned.
template <typename F>
std::optional<ErrorCode> forEachNumber(Args& args, EvalContext& ctx, F&& f)
{
    std::optional<ErrorCode> error;
    for (Operand& o : args.all()) {
        if (o.isRef) {
            forEachCell(o.area, ctx, [&](const Value& v, int, int) {
                if (v.isNumber())
                    f(v.asNumber());
                else if (v.isError())
                    error = v.asError();
                return !error;
            });
            if (error)
                return error;
            continue;
        }
        const Value n = toNumber(o.value);
        if (n.isError())
            return n.asError();
        f(n.asNumber());
    }
    return std::nullopt;
}

// A COUNTIF/SUMIF criterion: a value, or a text such as ">=5", "<>x", "a*".
class Criterion {
public:
    explicit Criterion(const Value& criterion);
    bool matches(const Value& cell) const;

private:
    enum class Cmp { Eq, Ne, Lt, Le, Gt, Ge };
    Cmp cmp_ = Cmp::Eq;
    Value operand_;
    bool wildcard_ = false;
};

// Exact-match lookups into one row or column (VLOOKUP/HLOOKUP/MATCH with exact matching). Long
// lines get a hash index, built on first use and patched when a cell of the line changes (cells
// beside the line do not concern it), so that thousands of lookups into one table cost one pass
// over it instead of one pass each, and an edit costs no new pass.
class LookupCache {
public:
    LookupCache();
    ~LookupCache();
    LookupCache(const LookupCache&) = delete;
    LookupCache& operator=(const LookupCache&) = delete;

    // Position (0-based) of the first cell of the line equal to key (numbers by value, texts without
    // regard to case, with wildcards for a text key that has them); -1 when there is none.
    long findExact(const Area& line, const Value& key, const EvalContext& ctx);
    // The cell's value changed: the indexes that cover it read it again before their next search.
    void cellChanged(int col, int row);
    // Indexes are kept per searched line, declared here so that the patching helper can see one.
    struct Index;
    void clear();
    std::size_t indexCount() const { return indexes_.size(); }

private:
    std::vector<std::unique_ptr<Index>> indexes_;
    std::uint64_t clock_ = 0;
    int minCol_ = 0, maxCol_ = -1, minRow_ = 0, maxRow_ = -1; // bounds of all indexed areas
};

// A line (one row or one column) of cells: its length and its i-th cell (from 0).
long lineLength(const Area& a);
Value lineCell(const Area& a, long i, const EvalContext& ctx);
// Whether a cell matches a lookup key exactly: same type, numbers to 15 digits, texts without
// regard to case; empty cells and errors match nothing.
bool exactEqual(const Value& cell, const Value& key);
// Approximate match in a sorted line: ascending the last cell <= key, descending the last cell >=
// key, of the key's type; -1 when there is none.
long approximateFind(const Area& line, const Value& key, bool ascending, const EvalContext& ctx);

#define KXFORMULA_FN(name) Operand name(Args& args, EvalContext& ctx)
// Math and aggregates
KXFORMULA_FN(fnSum);
KXFORMULA_FN(fnAverage);
KXFORMULA_FN(fnMin);
KXFORMULA_FN(fnMax);
KXFORMULA_FN(fnCount);
KXFORMULA_FN(fnCountA);
KXFORMULA_FN(fnCountIf);
KXFORMULA_FN(fnSumIf);
KXFORMULA_FN(fnRound);
KXFORMULA_FN(fnRoundUp);
KXFORMULA_FN(fnRoundDown);
KXFORMULA_FN(fnInt);
KXFORMULA_FN(fnMod);
KXFORMULA_FN(fnAbs);
KXFORMULA_FN(fnSqrt);
KXFORMULA_FN(fnPower);
KXFORMULA_FN(fnPi);
KXFORMULA_FN(fnSin);
KXFORMULA_FN(fnCos);
KXFORMULA_FN(fnTan);
KXFORMULA_FN(fnAtan);
KXFORMULA_FN(fnAtan2);
KXFORMULA_FN(fnRadians);
KXFORMULA_FN(fnDegrees);
KXFORMULA_FN(fnExp);
KXFORMULA_FN(fnLn);
KXFORMULA_FN(fnLog);
KXFORMULA_FN(fnLog10);
KXFORMULA_FN(fnSign);
KXFORMULA_FN(fnTrunc);
KXFORMULA_FN(fnEven);
KXFORMULA_FN(fnOdd);
KXFORMULA_FN(fnFact);
KXFORMULA_FN(fnQuotient);
KXFORMULA_FN(fnProduct);
KXFORMULA_FN(fnSumSq);
// Logic and information
KXFORMULA_FN(fnIf);
KXFORMULA_FN(fnIfError);
KXFORMULA_FN(fnAnd);
KXFORMULA_FN(fnOr);
KXFORMULA_FN(fnNot);
KXFORMULA_FN(fnIsBlank);
KXFORMULA_FN(fnIsNumber);
KXFORMULA_FN(fnIsText);
KXFORMULA_FN(fnIsError);
KXFORMULA_FN(fnNa);
KXFORMULA_FN(fnXor);
KXFORMULA_FN(fnIsNa);
KXFORMULA_FN(fnIsErr);
KXFORMULA_FN(fnIsLogical);
KXFORMULA_FN(fnIsNonText);
KXFORMULA_FN(fnIsEven);
KXFORMULA_FN(fnIsOdd);
KXFORMULA_FN(fnIsRef);
KXFORMULA_FN(fnErrorType);
KXFORMULA_FN(fnN);
KXFORMULA_FN(fnT);
KXFORMULA_FN(fnType);
KXFORMULA_FN(fnIfNa);
KXFORMULA_FN(fnIfs);
KXFORMULA_FN(fnSwitch);
KXFORMULA_FN(fnTrue);
KXFORMULA_FN(fnFalse);
// Text
KXFORMULA_FN(fnLeft);
KXFORMULA_FN(fnRight);
KXFORMULA_FN(fnMid);
KXFORMULA_FN(fnLen);
KXFORMULA_FN(fnUpper);
KXFORMULA_FN(fnLower);
KXFORMULA_FN(fnTrim);
KXFORMULA_FN(fnConcatenate);
KXFORMULA_FN(fnValue);
KXFORMULA_FN(fnText);
KXFORMULA_FN(fnFind);
KXFORMULA_FN(fnSearch);
KXFORMULA_FN(fnSubstitute);
// Lookup
KXFORMULA_FN(fnVLookup);
KXFORMULA_FN(fnHLookup);
KXFORMULA_FN(fnMatch);
KXFORMULA_FN(fnIndex);
KXFORMULA_FN(fnRow);
KXFORMULA_FN(fnColumn);
KXFORMULA_FN(fnRows);
KXFORMULA_FN(fnColumns);
KXFORMULA_FN(fnChoose);
KXFORMULA_FN(fnCountBlank);
// Further maths and statistics
KXFORMULA_FN(fnAcos);
KXFORMULA_FN(fnAsin);
KXFORMULA_FN(fnAverageA);
KXFORMULA_FN(fnAverageIf);
KXFORMULA_FN(fnAverageIfs);
KXFORMULA_FN(fnCeiling);
KXFORMULA_FN(fnCosh);
KXFORMULA_FN(fnCountIfs);
KXFORMULA_FN(fnFloor);
KXFORMULA_FN(fnGcd);
KXFORMULA_FN(fnLarge);
KXFORMULA_FN(fnLcm);
KXFORMULA_FN(fnMaxIfs);
KXFORMULA_FN(fnMedian);
KXFORMULA_FN(fnMinIfs);
KXFORMULA_FN(fnMode);
KXFORMULA_FN(fnMRound);
KXFORMULA_FN(fnRand);
KXFORMULA_FN(fnRandBetween);
KXFORMULA_FN(fnRank);
KXFORMULA_FN(fnSinh);
KXFORMULA_FN(fnSmall);
KXFORMULA_FN(fnStdev);
KXFORMULA_FN(fnStdevP);
KXFORMULA_FN(fnSumIfs);
KXFORMULA_FN(fnSumProduct);
KXFORMULA_FN(fnTanh);
KXFORMULA_FN(fnVar);
KXFORMULA_FN(fnVarP);
// Further lookups
KXFORMULA_FN(fnAddress);
KXFORMULA_FN(fnLookup);
KXFORMULA_FN(fnXLookup);
KXFORMULA_FN(fnXMatch);
// References made while the formula runs
KXFORMULA_FN(fnIndirect);
KXFORMULA_FN(fnOffset);
// Further text functions
KXFORMULA_FN(fnChar);
KXFORMULA_FN(fnClean);
KXFORMULA_FN(fnCode);
KXFORMULA_FN(fnDollar);
KXFORMULA_FN(fnExact);
KXFORMULA_FN(fnFixed);
KXFORMULA_FN(fnNumberValue);
KXFORMULA_FN(fnProper);
KXFORMULA_FN(fnReplace);
KXFORMULA_FN(fnRept);
KXFORMULA_FN(fnTextJoin);
// Dates and times
KXFORMULA_FN(fnDate);
KXFORMULA_FN(fnDateDif);
KXFORMULA_FN(fnDay);
KXFORMULA_FN(fnDays);
KXFORMULA_FN(fnEDate);
KXFORMULA_FN(fnEOMonth);
KXFORMULA_FN(fnHour);
KXFORMULA_FN(fnMinute);
KXFORMULA_FN(fnMonth);
KXFORMULA_FN(fnNow);
KXFORMULA_FN(fnSecond);
KXFORMULA_FN(fnTime);
KXFORMULA_FN(fnToday);
KXFORMULA_FN(fnWeekday);
KXFORMULA_FN(fnYear);
#undef KXFORMULA_FN

// TEXT's formatting of a number by a format text ("0.00", "#,##0", "0%", "0.00E+00", sections
// split by ';', quoted literals); nothing for formats it does not know (dates and times).
std::optional<std::string> formatWithPattern(double number, std::string_view format);
// TEXT's formatting of a serial date and time by a format of date and time codes (yyyy, mmm, dd,
// dddd, hh, mm, ss, .00, AM/PM, [h]); nothing for a format without them or a serial outside the
// dates.
std::optional<std::string> formatDateTime(double serial, std::string_view format);

} // namespace kxformula::detail
