// The values a cell holds and a formula produces (number, text, boolean, error, empty), the error
// codes with their texts, and the locale-free conversions between numbers and texts that formulas
// use. Nothing here knows about cells or formulas.
#pragma once

#include "platform/formula/KxFormulaExport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kxformula {

enum class ValueType : std::uint8_t { Empty, Number, Text, Boolean, Error };

// Error values. They are ordinary cell values that flow through evaluation. Cycle marks a cell that
// takes part in a circular reference; Syntax a formula whose text could not be read.
enum class ErrorCode : std::uint8_t {
    Null = 1, // #NULL!
    Div0,     // #DIV/0!
    Value,    // #VALUE!
    Ref,      // #REF!
    Name,     // #NAME?
    Num,      // #NUM!
    NA,       // #N/A
    Cycle,    // #CYCLE!
    Syntax,   // #ERROR!
};

// The text of an error value as cells show it ("#DIV/0!").
KXFORMULA_API std::string_view errorText(ErrorCode code);
// The error whose text this is, ignoring case; nothing for any other text.
KXFORMULA_API std::optional<ErrorCode> errorFromText(std::string_view text);

// One value. Numbers are always finite: constructing one from infinity or NaN gives #NUM!.
class KXFORMULA_API Value {
public:
    Value() = default; // empty

    static Value number(double number);
    static Value text(std::string text)
    {
        Value v;
        v.type_ = ValueType::Text;
        v.text_ = std::move(text);
        return v;
    }
    static Value boolean(bool b)
    {
        Value v;
        v.type_ = ValueType::Boolean;
        v.bool_ = b;
        return v;
    }
    static Value error(ErrorCode code)
    {
        Value v;
        v.type_ = ValueType::Error;
        v.error_ = code;
        return v;
    }

    ValueType type() const { return type_; }
    bool isEmpty() const { return type_ == ValueType::Empty; }
    bool isNumber() const { return type_ == ValueType::Number; }
    bool isText() const { return type_ == ValueType::Text; }
    bool isBoolean() const { return type_ == ValueType::Boolean; }
    bool isError() const { return type_ == ValueType::Error; }

    // Each accessor is meaningful for its own type only; for others it gives 0, "", false, Value.
    double asNumber() const { return number_; }
    const std::string& asText() const { return text_; }
    bool asBoolean() const { return bool_; }
    ErrorCode asError() const { return error_; }

    // Same type and same payload (numbers bit for bit, texts byte for byte).
    friend bool operator==(const Value& a, const Value& b);

private:
    ValueType type_ = ValueType::Empty;
    ErrorCode error_ = ErrorCode::Value;
    bool bool_ = false;
    double number_ = 0;
    std::string text_;
};

KXFORMULA_API bool operator==(const Value& a, const Value& b);

// A number as a spreadsheet's general format writes it when turning it into text: up to 15
// significant digits, no trailing zeros, no thousands separators, a point as decimal separator;
// scientific ("1.5E+20", "1E-10") below 1E-9 and from 1E+15 on. Independent of the process locale.
KXFORMULA_API std::string formatGeneral(double number);

// A text read as a number the way VALUE and arithmetic read it: blanks around, a sign, digits with
// optional groups of three separated by commas, a point and decimals, an exponent, and a trailing
// percent sign. Nothing for anything else (also for "", "inf", "nan" and overflowing numbers).
KXFORMULA_API std::optional<double> parseNumber(std::string_view text);

// The value of a text as a user types it into a cell: nothing is empty, a leading apostrophe makes
// the rest a text ("'5" is the text 5), TRUE and FALSE in any case are booleans, error texts are
// errors, numbers as parseNumber reads them are numbers, anything else is a text. A leading '='
// (a formula) is not looked at here: the caller hands formulas to the engine.
KXFORMULA_API Value valueFromTyped(std::string_view typed);

// What a cell shows for a value with no number format: general format for numbers, TRUE or FALSE,
// the error's text, the text itself, nothing for an empty value.
KXFORMULA_API std::string displayText(const Value& value);

} // namespace kxformula
