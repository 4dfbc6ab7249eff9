// The core module's two text tables: every text the add-on shows is named by its number in one of
// them. The texts live in resources/text/<language code>/ (format: docs/text-tables.md); this file
// only finds and reads them. Which number a dialog uses is the dialog's business.
#pragma once

#include "core/FileIO.h"
#include "core/KxCoreExport.h"
#include "core/Kx_String.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text n of the first table (dialog titles, captions, labels, tooltips, messages), in the current
// language (MacroLangs). A number the current language lacks comes from English; a number English
// lacks too gives the visible placeholder "[dialString n]". Never fails.
KXCORE_API Kx_String dialString(int n);
// Text n of the second table (short words that lists and other texts are built from), with the same
// fall-backs; the placeholder is "[string n]". Its numbers are independent of the first table's.
KXCORE_API Kx_String string(int n);

namespace kxcore {

// A problem found in a text table file: 1-based line (0 for the file as a whole) and what is wrong.
struct TextTableProblem {
    int line = 0;
    std::string what;
};

// One text table file as read: its entries sorted by number (of a number given twice, the first
// text in the file) and the problems met, sorted by line. Damaged lines are left out; everything
// else is kept. Only the first kTextTableMaxProblems problems are listed; problemCount counts all.
struct TextTableContent {
    struct Entry {
        int number = 0;
        std::string text;
    };
    std::vector<Entry> entries;
    std::vector<TextTableProblem> problems;
    int problemCount = 0;
};

// Largest file read (the rest is ignored and reported) and the longest line accepted, in bytes
// without the line end.
inline constexpr size_t kTextTableMaxFileBytes = kx::kMaxTextFileBytes;
inline constexpr size_t kTextTableMaxLineBytes = kx::kMaxTextLineBytes;
inline constexpr size_t kTextTableMaxProblems = 100;

// Reads the bytes of a text table file. Never fails: whatever cannot be used is a problem.
KXCORE_API TextTableContent parseTextTable(std::string_view bytes);

// The text as it is written after the tab: backslash, tab and line feed escaped, so that
// parseTextTable gives it back unchanged. Nothing (no value) for a text that cannot be stored:
// one holding a carriage return or another control character, or bytes that are not UTF-8.
KXCORE_API std::optional<std::string> escapeTableText(std::string_view text);

// Forgets every table read so far; the next lookup reads the files again and reports their problems
// again. Call it after the files themselves changed. A change of language or resource folder needs
// no reload: tables are kept per file path.
KXCORE_API void reloadTextTables();

} // namespace kxcore
