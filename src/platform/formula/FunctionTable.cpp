// The table of built-in functions: name, argument counts and the kind each argument is coerced to.
// Adding a function means one line here and its implementation; counting and coercion stay in
// callBuiltin. The table is sorted by name for the lookup while parsing.
#include "platform/formula/Functions.h"

#include <algorithm>
#include <array>

namespace kxformula::detail {

namespace {

using K = ArgKind;
constexpr std::uint8_t kMany = kMaxArguments;

constexpr std::array<ArgKind, 4> all(ArgKind k)
{
    return {k, k, k, k};
}

const FunctionSpec kFunctions[] = {
    {"ABS", 1, 1, all(K::Number), fnAbs},
    {"ACOS", 1, 1, all(K::Number), fnAcos},
    {"ADDRESS", 2, 5, {K::Number, K::Number, K::Number, K::Scalar}, fnAddress},
    {"AND", 1, kMany, all(K::Raw), fnAnd},
    {"ASIN", 1, 1, all(K::Number), fnAsin},
    {"ATAN", 1, 1, all(K::Number), fnAtan},
    {"ATAN2", 2, 2, all(K::Number), fnAtan2},
    {"AVERAGE", 1, kMany, all(K::Raw), fnAverage},
    {"AVERAGEA", 1, kMany, all(K::Raw), fnAverageA},
    {"AVERAGEIF", 2, 3, {K::Ref, K::Scalar, K::Ref, K::Ref}, fnAverageIf},
    {"AVERAGEIFS", 3, kMany, all(K::Raw), fnAverageIfs},
    {"CEILING", 2, 2, all(K::Number), fnCeiling},
    {"CHAR", 1, 1, all(K::Number), fnChar},
    {"CHOOSE", 2, kMany, {K::Number, K::Raw, K::Raw, K::Raw}, fnChoose},
    {"CLEAN", 1, 1, all(K::Text), fnClean},
    {"CODE", 1, 1, all(K::Text), fnCode},
    {"COLUMN", 0, 1, all(K::Ref), fnColumn},
    {"COLUMNS", 1, 1, all(K::Ref), fnColumns},
    {"CONCATENATE", 1, kMany, all(K::Text), fnConcatenate},
    {"COS", 1, 1, all(K::Number), fnCos},
    {"COSH", 1, 1, all(K::Number), fnCosh},
    {"COUNT", 1, kMany, all(K::Raw), fnCount},
    {"COUNTA", 1, kMany, all(K::Raw), fnCountA},
    {"COUNTBLANK", 1, 1, all(K::Ref), fnCountBlank},
    {"COUNTIF", 2, 2, {K::Ref, K::Scalar, K::Scalar, K::Scalar}, fnCountIf},
    {"COUNTIFS", 2, kMany, all(K::Raw), fnCountIfs},
    {"DATE", 3, 3, all(K::Number), fnDate},
    {"DATEDIF", 3, 3, {K::Number, K::Number, K::Text, K::Text}, fnDateDif},
    {"DAY", 1, 1, all(K::Number), fnDay},
    {"DAYS", 2, 2, all(K::Number), fnDays},
    {"DEGREES", 1, 1, all(K::Number), fnDegrees},
    {"DOLLAR", 1, 2, all(K::Number), fnDollar},
    {"EDATE", 2, 2, all(K::Number), fnEDate},
    {"EOMONTH", 2, 2, all(K::Number), fnEOMonth},
    {"ERROR.TYPE", 1, 1, all(K::Any), fnErrorType},
    {"EVEN", 1, 1, all(K::Number), fnEven},
    {"EXACT", 2, 2, all(K::Text), fnExact},
    {"EXP", 1, 1, all(K::Number), fnExp},
    {"FACT", 1, 1, all(K::Number), fnFact},
    {"FALSE", 0, 0, all(K::Raw), fnFalse},
    {"FIND", 2, 3, {K::Text, K::Text, K::Number, K::Number}, fnFind},
    {"FIXED", 1, 3, {K::Number, K::Number, K::Boolean, K::Boolean}, fnFixed},
    {"FLOOR", 2, 2, all(K::Number), fnFloor},
    {"GCD", 1, kMany, all(K::Raw), fnGcd},
    {"HLOOKUP", 3, 4, {K::Scalar, K::Ref, K::Number, K::Boolean}, fnHLookup},
    {"HOUR", 1, 1, all(K::Number), fnHour},
    {"IF", 2, 3, {K::Boolean, K::Any, K::Any, K::Any}, fnIf},
    {"IFERROR", 2, 2, all(K::Any), fnIfError},
    {"IFNA", 2, 2, all(K::Any), fnIfNa},
    {"IFS", 2, kMany, all(K::Raw), fnIfs},
    {"INDEX", 2, 3, {K::Ref, K::Number, K::Number, K::Number}, fnIndex},
    {"INDIRECT", 1, 2, {K::Text, K::Boolean, K::Boolean, K::Boolean}, fnIndirect},
    {"INT", 1, 1, all(K::Number), fnInt},
    {"ISBLANK", 1, 1, all(K::Any), fnIsBlank},
    {"ISERR", 1, 1, all(K::Any), fnIsErr},
    {"ISERROR", 1, 1, all(K::Any), fnIsError},
    {"ISEVEN", 1, 1, all(K::Scalar), fnIsEven},
    {"ISLOGICAL", 1, 1, all(K::Any), fnIsLogical},
    {"ISNA", 1, 1, all(K::Any), fnIsNa},
    {"ISNONTEXT", 1, 1, all(K::Any), fnIsNonText},
    {"ISNUMBER", 1, 1, all(K::Any), fnIsNumber},
    {"ISODD", 1, 1, all(K::Scalar), fnIsOdd},
    {"ISREF", 1, 1, all(K::Raw), fnIsRef},
    {"ISTEXT", 1, 1, all(K::Any), fnIsText},
    {"LARGE", 2, 2, {K::Raw, K::Number, K::Number, K::Number}, fnLarge},
    {"LCM", 1, kMany, all(K::Raw), fnLcm},
    {"LEFT", 1, 2, {K::Text, K::Number, K::Number, K::Number}, fnLeft},
    {"LEN", 1, 1, all(K::Text), fnLen},
    {"LN", 1, 1, all(K::Number), fnLn},
    {"LOG", 1, 2, all(K::Number), fnLog},
    {"LOG10", 1, 1, all(K::Number), fnLog10},
    {"LOOKUP", 2, 3, {K::Scalar, K::Ref, K::Ref, K::Ref}, fnLookup},
    {"LOWER", 1, 1, all(K::Text), fnLower},
    {"MATCH", 2, 3, {K::Scalar, K::Ref, K::Number, K::Number}, fnMatch},
    {"MAX", 1, kMany, all(K::Raw), fnMax},
    {"MAXIFS", 3, kMany, all(K::Raw), fnMaxIfs},
    {"MEDIAN", 1, kMany, all(K::Raw), fnMedian},
    {"MID", 3, 3, {K::Text, K::Number, K::Number, K::Number}, fnMid},
    {"MIN", 1, kMany, all(K::Raw), fnMin},
    {"MINIFS", 3, kMany, all(K::Raw), fnMinIfs},
    {"MINUTE", 1, 1, all(K::Number), fnMinute},
    {"MOD", 2, 2, all(K::Number), fnMod},
    {"MODE", 1, kMany, all(K::Raw), fnMode},
    {"MONTH", 1, 1, all(K::Number), fnMonth},
    {"MROUND", 2, 2, all(K::Number), fnMRound},
    {"N", 1, 1, all(K::Scalar), fnN},
    {"NA", 0, 0, all(K::Raw), fnNa},
    {"NOT", 1, 1, all(K::Boolean), fnNot},
    {"NOW", 0, 0, all(K::Raw), fnNow},
    {"NUMBERVALUE", 1, 3, all(K::Text), fnNumberValue},
    {"ODD", 1, 1, all(K::Number), fnOdd},
    {"OFFSET", 3, 5, {K::Ref, K::Number, K::Number, K::Raw}, fnOffset},
    {"OR", 1, kMany, all(K::Raw), fnOr},
    {"PI", 0, 0, all(K::Raw), fnPi},
    {"POWER", 2, 2, all(K::Number), fnPower},
    {"PRODUCT", 1, kMany, all(K::Raw), fnProduct},
    {"PROPER", 1, 1, all(K::Text), fnProper},
    {"QUOTIENT", 2, 2, all(K::Number), fnQuotient},
    {"RADIANS", 1, 1, all(K::Number), fnRadians},
    {"RAND", 0, 0, all(K::Raw), fnRand},
    {"RANDBETWEEN", 2, 2, all(K::Number), fnRandBetween},
    {"RANK", 2, 3, {K::Number, K::Ref, K::Number, K::Number}, fnRank},
    {"REPLACE", 4, 4, {K::Text, K::Number, K::Number, K::Text}, fnReplace},
    {"REPT", 2, 2, {K::Text, K::Number, K::Number, K::Number}, fnRept},
    {"RIGHT", 1, 2, {K::Text, K::Number, K::Number, K::Number}, fnRight},
    {"ROUND", 2, 2, all(K::Number), fnRound},
    {"ROUNDDOWN", 2, 2, all(K::Number), fnRoundDown},
    {"ROUNDUP", 2, 2, all(K::Number), fnRoundUp},
    {"ROW", 0, 1, all(K::Ref), fnRow},
    {"ROWS", 1, 1, all(K::Ref), fnRows},
    {"SEARCH", 2, 3, {K::Text, K::Text, K::Number, K::Number}, fnSearch},
    {"SECOND", 1, 1, all(K::Number), fnSecond},
    {"SIGN", 1, 1, all(K::Number), fnSign},
    {"SIN", 1, 1, all(K::Number), fnSin},
    {"SINH", 1, 1, all(K::Number), fnSinh},
    {"SMALL", 2, 2, {K::Raw, K::Number, K::Number, K::Number}, fnSmall},
    {"SQRT", 1, 1, all(K::Number), fnSqrt},
    {"STDEV", 1, kMany, all(K::Raw), fnStdev},
    {"STDEVP", 1, kMany, all(K::Raw), fnStdevP},
    {"SUBSTITUTE", 3, 4, {K::Text, K::Text, K::Text, K::Number}, fnSubstitute},
    {"SUM", 1, kMany, all(K::Raw), fnSum},
    {"SUMIF", 2, 3, {K::Ref, K::Scalar, K::Ref, K::Ref}, fnSumIf},
    {"SUMIFS", 3, kMany, all(K::Raw), fnSumIfs},
    {"SUMPRODUCT", 1, kMany, all(K::Raw), fnSumProduct},
    {"SUMSQ", 1, kMany, all(K::Raw), fnSumSq},
    {"SWITCH", 3, kMany, all(K::Raw), fnSwitch},
    {"T", 1, 1, all(K::Scalar), fnT},
    {"TAN", 1, 1, all(K::Number), fnTan},
    {"TANH", 1, 1, all(K::Number), fnTanh},
    {"TEXT", 2, 2, {K::Scalar, K::Text, K::Text, K::Text}, fnText},
    {"TEXTJOIN", 3, kMany, {K::Text, K::Boolean, K::Raw, K::Raw}, fnTextJoin},
    {"TIME", 3, 3, all(K::Number), fnTime},
    {"TODAY", 0, 0, all(K::Raw), fnToday},
    {"TRIM", 1, 1, all(K::Text), fnTrim},
    {"TRUE", 0, 0, all(K::Raw), fnTrue},
    {"TRUNC", 1, 2, all(K::Number), fnTrunc},
    {"TYPE", 1, 1, all(K::Raw), fnType},
    {"UPPER", 1, 1, all(K::Text), fnUpper},
    {"VALUE", 1, 1, all(K::Scalar), fnValue},
    {"VAR", 1, kMany, all(K::Raw), fnVar},
    {"VARP", 1, kMany, all(K::Raw), fnVarP},
    {"VLOOKUP", 3, 4, {K::Scalar, K::Ref, K::Number, K::Boolean}, fnVLookup},
    {"WEEKDAY", 1, 2, all(K::Number), fnWeekday},
    {"XLOOKUP", 3, 6, {K::Scalar, K::Ref, K::Ref, K::Any}, fnXLookup},
    {"XMATCH", 2, 4, {K::Scalar, K::Ref, K::Any, K::Any}, fnXMatch},
    {"XOR", 1, kMany, all(K::Raw), fnXor},
    {"YEAR", 1, 1, all(K::Number), fnYear},
};

std::uint16_t indexOf(std::string_view name)
{
    const auto found = findBuiltin(name);
    return found ? *found : 0;
}

} // namespace

std::span<const FunctionSpec> builtinFunctions()
{
    return kFunctions;
}

std::optional<std::uint16_t> findBuiltin(std::string_view upperName)
{
    const auto it = std::lower_bound(std::begin(kFunctions), std::end(kFunctions), upperName,
                                     [](const FunctionSpec& f, std::string_view n) { return f.name < n; });
    if (it == std::end(kFunctions) || it->name != upperName)
        return std::nullopt;
    return static_cast<std::uint16_t>(it - std::begin(kFunctions));
}

bool isVolatileBuiltin(std::uint16_t index)
{
    static const std::uint16_t rand = indexOf("RAND"), randBetween = indexOf("RANDBETWEEN");
    static const std::uint16_t now = indexOf("NOW"), today = indexOf("TODAY");
    return index == rand || index == randBetween || index == now || index == today || isDynamicBuiltin(index);
}

bool isDynamicBuiltin(std::uint16_t index)
{
    static const std::uint16_t offset = indexOf("OFFSET"), indirect = indexOf("INDIRECT");
    return index == offset || index == indirect;
}

std::uint16_t builtinIf()
{
    static const std::uint16_t index = indexOf("IF");
    return index;
}

std::uint16_t builtinIfError()
{
    static const std::uint16_t index = indexOf("IFERROR");
    return index;
}

} // namespace kxformula::detail
