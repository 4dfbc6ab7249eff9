// Table files loaded for FROMTABLE, kept between calls. Loading a file for every lookup is what the
// lookup means; keeping it loaded gives the same answers as long as the file is the same, so an
// entry is reused only while the file keeps its identity, size and modification time, and a
// changed file is read again. Private to this folder.
#pragma once

#include "platform/win/WinTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxss {

struct FileStamp;

class TableCache {
public:
    // A loaded table. The grid belongs to the cache; the pointer stays valid until the next open()
    // that has to load a file, or clear().
    struct Table {
        std::string canonical;  // the file's resolved path: one file, however it was named
        HWND grid = nullptr;
        // The first column (1..count) whose header text matches `text` (equal length, case ignored);
        // -1 when none.
        int findColumn(std::string_view text);
        // The first row (1..count) whose data text in `column` matches `text`; -1 when none.
        int findRow(int column, std::string_view text);

        struct Indexes;
        std::unique_ptr<Indexes> indexes;
        ~Table();
    };

    static TableCache& instance();

    // The table of a file name (sheetFileName form); null when the file cannot be loaded, and when
    // it is being evaluated further out (inTableChain): a table loaded is evaluated as it loads, so
    // a file may not be opened inside its own evaluation. Tables in the chain are never replaced.
    Table* open(const std::string& nativeName);
    // Destroys every kept grid (tests; a window layer about to be reset).
    void clear();
    // How many times a file was read into a grid since the start (tests, benchmark).
    int loads() const { return m_loads; }

    struct Entry;
    ~TableCache();

private:
    TableCache() = default;
    Entry* entryNamed(const std::string& nativeName);
    // Whether a file the entry's formulas looked into (or one those looked into) changed since.
    bool isStale(const Entry& entry, int depth);
    // The table being evaluated (the top of the chain) looked into `nativeName`.
    void noteDependency(const std::string& nativeName, const FileStamp& stamp);
    int m_loads = 0;
    unsigned long m_clock = 0;
    std::vector<std::unique_ptr<Entry>> m_entries;
};

// Case-insensitive key of a text as FROMTABLE compares texts: every byte through the C locale's
// toupper (ASCII letters only), so equal keys mean equal length and equal letters.
std::string tableKey(std::string_view text);

// A cell's data text (kind 0); no value when the cell cannot be read.
std::optional<std::string> cellData(HWND grid, int col, int row);
// A cell's formula text (kind 1) in the grid's reference style; empty when it has none.
std::string cellFormula(HWND grid, int col, int row);

} // namespace kxss
