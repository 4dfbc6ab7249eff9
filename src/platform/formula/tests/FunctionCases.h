// One table per built-in function, all with the same checklist: normal values, a wrong type,
// coercion of the other types, a wrong argument count, and propagation of errors. FUNCTION_TABLE
// declares a table, registers it (so that a test can prove every function has a full one) and runs
// it as one test. Each case evaluates in a fresh sheet holding the sample data (FormulaTestSupport.h).
#pragma once

#include "FormulaTestSupport.h"

#include <string>
#include <vector>

namespace kxtest {

enum class Check { Normal, WrongType, Coercion, Count, Errors };

// The one-letter names the tables use for the checks (`using namespace kxtest::checks;`).
namespace checks {
constexpr Check N = Check::Normal;
constexpr Check T = Check::WrongType;
constexpr Check C = Check::Coercion;
constexpr Check K = Check::Count;
constexpr Check E = Check::Errors;
} // namespace checks

struct FunctionCase {
    Check check;
    const char* formula;
    const char* expected;
};

struct FunctionCases {
    const char* name;
    std::vector<FunctionCase> cases;
};

inline std::vector<const FunctionCases*>& functionTables()
{
    static std::vector<const FunctionCases*> tables;
    return tables;
}

struct TableRegistrar {
    explicit TableRegistrar(const FunctionCases& cases) { functionTables().push_back(&cases); }
};

inline void runCases(const FunctionCases& table)
{
    for (const FunctionCase& c : table.cases) {
        Sheet sheet;
        fillSample(sheet);
        EXPECT_TRUE(sameValue(sheet.eval(c.formula), c.expected)) << table.name << ": " << c.formula;
    }
}

} // namespace kxtest

#define FUNCTION_TABLE(NAME, ...)                                                                                      \
    const kxtest::FunctionCases k##NAME##Cases{#NAME, {__VA_ARGS__}};                                                  \
    const kxtest::TableRegistrar k##NAME##Registrar{k##NAME##Cases};                                                   \
    TEST(FunctionTable, NAME)                                                                                          \
    {                                                                                                                  \
        kxtest::runCases(k##NAME##Cases);                                                                              \
    }

// The same for a function whose name is no identifier (ERROR.TYPE) or could be a macro (TRUE).
#define FUNCTION_TABLE_NAMED(ID, NAME, ...)                                                                            \
    const kxtest::FunctionCases k##ID##Cases{NAME, {__VA_ARGS__}};                                                     \
    const kxtest::TableRegistrar k##ID##Registrar{k##ID##Cases};                                                       \
    TEST(FunctionTable, ID)                                                                                            \
    {                                                                                                                  \
        kxtest::runCases(k##ID##Cases);                                                                                \
    }
