// Helpers of the formula engine's tests: a sheet (in-memory store plus engine) addressed by A1
// names, the standard sample data the function tables read, and comparison of a value with an
// expectation written as a formula literal ("3", "\"abc\"", "TRUE", "#N/A", "" for empty).
#pragma once

#include "platform/formula/Engine.h"
#include "platform/formula/MemoryCellStore.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

namespace kxtest {

using kxformula::Engine;
using kxformula::ErrorCode;
using kxformula::MemoryCellStore;
using kxformula::RefStyle;
using kxformula::Value;

// Column and row of an A1 name such as "B12".
inline std::pair<int, int> cellOf(std::string_view name)
{
    int col = 0;
    std::size_t i = 0;
    for (; i < name.size() && name[i] >= 'A' && name[i] <= 'Z'; ++i)
        col = col * 26 + (name[i] - 'A' + 1);
    int row = 0;
    std::from_chars(name.data() + i, name.data() + name.size(), row);
    return {col, row};
}

// Reads an expectation: a number, a quoted text, TRUE/FALSE, an error text, or "" for empty.
inline Value expectation(std::string_view text)
{
    if (text.empty())
        return {};
    if (text.front() == '"')
        return Value::text(std::string(text.substr(1, text.size() - 2)));
    if (text == "TRUE" || text == "FALSE")
        return Value::boolean(text == "TRUE");
    if (const auto code = kxformula::errorFromText(text))
        return Value::error(*code);
    double number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return Value::number(number);
}

inline std::string describe(const Value& v)
{
    switch (v.type()) {
    case kxformula::ValueType::Empty: return "<empty>";
    case kxformula::ValueType::Text: return "\"" + v.asText() + "\"";
    default: return kxformula::displayText(v);
    }
}

// Same type; numbers within 1e-12 relative, everything else exactly.
inline ::testing::AssertionResult sameValue(const Value& actual, std::string_view expected)
{
    const Value want = expectation(expected);
    bool ok = actual.type() == want.type();
    if (ok && actual.isNumber()) {
        const double a = actual.asNumber(), b = want.asNumber();
        ok = std::fabs(a - b) <= 1e-12 * std::fmax(1.0, std::fabs(b));
    } else if (ok) {
        ok = actual == want;
    }
    if (ok)
        return ::testing::AssertionSuccess();
    char buf[64];
    std::string detail = describe(actual);
    if (actual.isNumber()) {
        const auto res = std::to_chars(buf, buf + sizeof buf, actual.asNumber());
        detail = std::string(buf, res.ptr);
    }
    return ::testing::AssertionFailure() << "got " << detail << ", expected " << expected;
}

struct Sheet {
    explicit Sheet(int columns = 26, int rows = 100) : store(columns, rows), engine(store) {}

    void set(std::string_view cell, Value v)
    {
        const auto [c, r] = cellOf(cell);
        store.setValue(c, r, std::move(v));
        engine.cellChanged(c, r);
    }
    void number(std::string_view cell, double x) { set(cell, Value::number(x)); }
    void text(std::string_view cell, std::string t) { set(cell, Value::text(std::move(t))); }
    kxformula::ParseStatus formula(std::string_view cell, std::string_view text, RefStyle style = RefStyle::A1)
    {
        const auto [c, r] = cellOf(cell);
        return engine.setFormula(c, r, text, style);
    }
    Value value(std::string_view cell) const
    {
        const auto [c, r] = cellOf(cell);
        return store.valueAt(c, r);
    }
    std::string shown(std::string_view cell) const { return kxformula::displayText(value(cell)); }
    std::string formulaText(std::string_view cell, RefStyle style = RefStyle::A1) const
    {
        const auto [c, r] = cellOf(cell);
        return engine.formulaText(c, r, style).value_or("<none>");
    }
    // Evaluates a formula as if it stood in Z50 (outside the sample data).
    Value eval(std::string_view text, std::string_view at = "Z50")
    {
        const auto [c, r] = cellOf(at);
        return engine.evaluate(text, c, r);
    }

    MemoryCellStore store;
    Engine engine;
};

// The sample data every function table reads:
//   A1:A5  1 2 3 4 5            B1 "abc"  B2 "Hello World"  B3 "  lots   of   space  "  B4 "3"  B5 "ABC"
//   C1 TRUE  C2 FALSE           D1 #N/A  D2 #DIV/0!         E1:E5 empty
//   F1:F5  "ipe200" "ipe220" "HEA100" "hea120" 10      G1:G5  22.4 26.2 16.7 19.9 "ten"
//   H1 0    A10:E10  10 20 30 40 50    A11:E11 "a" "b" "c" "d" "e"
//   J1:J40 the numbers 1 to 40, K1:K40 the texts "k1" to "k40" (long enough for an index)
inline void fillSample(Sheet& s)
{
    for (int i = 1; i <= 5; ++i)
        s.number("A" + std::to_string(i), i);
    s.text("B1", "abc");
    s.text("B2", "Hello World");
    s.text("B3", "  lots   of   space  ");
    s.text("B4", "3");
    s.text("B5", "ABC");
    s.set("C1", Value::boolean(true));
    s.set("C2", Value::boolean(false));
    s.set("D1", Value::error(ErrorCode::NA));
    s.set("D2", Value::error(ErrorCode::Div0));
    const char* keys[] = {"ipe200", "ipe220", "HEA100", "hea120"};
    const double weights[] = {22.4, 26.2, 16.7, 19.9};
    for (int i = 0; i < 4; ++i) {
        s.text("F" + std::to_string(i + 1), keys[i]);
        s.number("G" + std::to_string(i + 1), weights[i]);
    }
    s.number("F5", 10);
    s.text("G5", "ten");
    s.number("H1", 0);
    const char* letters[] = {"a", "b", "c", "d", "e"};
    for (int i = 0; i < 5; ++i) {
        const std::string col(1, static_cast<char>('A' + i));
        s.number(col + "10", 10.0 * (i + 1));
        s.text(col + "11", letters[i]);
    }
    for (int i = 1; i <= 40; ++i) {
        s.number("J" + std::to_string(i), i);
        s.text("K" + std::to_string(i), "k" + std::to_string(i));
    }
}

} // namespace kxtest
