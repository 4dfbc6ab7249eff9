// Table files kept loaded for FROMTABLE, with the key indexes that make a lookup into a long table
// cost a hash probe instead of a scan of every row.
#include "spread/TableCache.h"

#include "frame/ModelessDialogs.h"

#include "core/Paths.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "spread/SheetFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <unordered_map>

namespace kxss {

namespace {

// At most this many tables stay loaded; the least recently used one goes first. Lookups go to a
// handful of library tables, and each kept table costs its whole sheet in memory.
constexpr std::size_t kMaxTables = 16;

} // namespace

// What identifies the file behind a name: a file replaced, rewritten or reached through a link
// that now points elsewhere differs in one of these.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long seconds = 0;
    long nanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

namespace {

std::optional<FileStamp> stampOf(const std::string& name)
{
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size, static_cast<long long>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec};
}

} // namespace

std::string tableKey(std::string_view text)
{
    std::string key(text);
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return key;
}

std::optional<std::string> cellData(HWND grid, int col, int row)
{
    const int length = SSGetDataLen(grid, col, row);
    if (length < 0)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = SSGetData(grid, col, row, text.data(), length + 1);
    if (copied < 0)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(std::min(copied, length)));
    return text;
}

std::string cellFormula(HWND grid, int col, int row)
{
    const int length = SSGetFormulaLen(grid, col, row);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = SSGetFormula(grid, col, row, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return text;
}

// Header and key-column indexes, built on first use. They describe the grid's texts as they were
// when built, at the grid's content version then; any later change to the sheet (a formula
// recalculated to a new result, a lookup writing into the table) moves the version on and drops
// them. The version, not the "changes made" option: a recalculation changes what a sheet shows
// without the user having changed it.
struct TableCache::Table::Indexes {
    std::uint64_t builtAt = 0;
    bool haveHeaders = false;
    std::unordered_map<std::string, int> headers;
    std::unordered_map<int, std::unordered_map<std::string, int>> keys;
};

TableCache::Table::~Table()
{
    if (grid != nullptr && IsWindow(grid))
        DestroyWindow(grid);
}

namespace {

void dropIndexesIfChanged(HWND grid, TableCache::Table::Indexes& ix)
{
    const std::uint64_t now = kxgrid::contentVersion(grid);
    if (now == ix.builtAt)
        return;
    ix.haveHeaders = false;
    ix.headers.clear();
    ix.keys.clear();
    ix.builtAt = now;
}

} // namespace

int TableCache::Table::findColumn(std::string_view text)
{
    dropIndexesIfChanged(grid, *indexes);
    if (!indexes->haveHeaders) {
        const int cols = SSGetMaxCols(grid);
        for (int c = 1; c <= cols; ++c)
            if (auto t = cellData(grid, c, 0))
                indexes->headers.emplace(tableKey(*t), c);  // emplace keeps the first column
        indexes->haveHeaders = true;
    }
    auto it = indexes->headers.find(tableKey(text));
    return it == indexes->headers.end() ? -1 : it->second;
}

int TableCache::Table::findRow(int column, std::string_view text)
{
    dropIndexesIfChanged(grid, *indexes);
    auto [slot, made] = indexes->keys.try_emplace(column);
    if (made) {
        const int rows = SSGetMaxRows(grid);
        slot->second.reserve(static_cast<std::size_t>(std::max(rows, 0)));
        for (int r = 1; r <= rows; ++r)
            if (auto t = cellData(grid, column, r))
                slot->second.emplace(tableKey(*t), r);
    }
    auto it = slot->second.find(tableKey(text));
    return it == slot->second.end() ? -1 : it->second;
}

// A table file another table's formulas looked into, as it was then.
struct Dependency {
    std::string name;
    FileStamp stamp;
};

struct TableCache::Entry {
    std::string name;  // as opened
    FileStamp stamp;
    unsigned long lastUse = 0;
    Table table;
    // The table files this table's formulas drew values from (FROMTABLE inside the table). Its
    // computed cells are only as fresh as those files: when one of them changes, the table is
    // recalculated before it answers again.
    std::vector<Dependency> dependencies;
};

TableCache::~TableCache() = default;

TableCache& TableCache::instance()
{
    static TableCache cache;
    // The cached tables are grid windows: they go when the module unloads, with the dialogs.
    static const bool unloadStepAdded = (addUnloadStep([] { TableCache::instance().clear(); }), true);
    (void)unloadStepAdded;
    return cache;
}

void TableCache::clear()
{
    m_entries.clear();
}

TableCache::Entry* TableCache::entryNamed(const std::string& nativeName)
{
    auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& e) { return e->name == nativeName; });
    return found == m_entries.end() ? nullptr : found->get();
}

bool TableCache::isStale(const Entry& entry, int depth)
{
    // Chains of tables are at most kMaxTableChain deep; a circle of dependencies ends here too.
    if (depth > kMaxTableChain)
        return false;
    for (const Dependency& d : entry.dependencies) {
        const std::optional<FileStamp> now = stampOf(d.name);
        if (!now || !(*now == d.stamp))
            return true;
        if (const Entry* kept = entryNamed(d.name); kept != nullptr && isStale(*kept, depth + 1))
            return true;
    }
    return false;
}

void TableCache::noteDependency(const std::string& nativeName, const FileStamp& stamp)
{
    if (tableChainDepth() == 0)
        return;
    const std::string& parent = tableChainTop();
    for (const auto& e : m_entries) {
        if (e->table.canonical != parent)
            continue;
        auto known = std::find_if(e->dependencies.begin(), e->dependencies.end(),
                                  [&](const Dependency& d) { return d.name == nativeName; });
        if (known != e->dependencies.end())
            known->stamp = stamp;
        else
            e->dependencies.push_back(Dependency{nativeName, stamp});
    }
}

TableCache::Table* TableCache::open(const std::string& nativeName)
{
    if (nativeName.empty())
        return nullptr;
    const std::optional<FileStamp> stamp = stampOf(nativeName);
    if (!stamp)
        return nullptr;
    noteDependency(nativeName, *stamp);
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const auto& e) { return e->name == nativeName; });
    if (found != m_entries.end()) {
        Entry& e = **found;
        if (e.stamp == *stamp && IsWindow(e.table.grid)) {
            e.lastUse = ++m_clock;
            if (inTableChain(e.table.canonical))
                return nullptr;
            if (isStale(e, 0)) {
                // Its computed cells drew on files that changed since: recalculated as a load would
                // evaluate them (the lookups they make see this file as being evaluated).
                TableChainScope chain(e.table.canonical);
                CurrentSheetScope current(e.table.grid);
                SSReCalc(e.table.grid);
            }
            return &e.table;
        }
        if (inTableChain(e.table.canonical))
            return nullptr;
        m_entries.erase(found);
    }

    const std::optional<std::string> canonical = kx::resolvePath(nativeName);
    if (!canonical || inTableChain(*canonical) || tableChainDepth() >= kMaxTableChain)
        return nullptr;
    // Loading evaluates the table's formulas; lookups they make see this file as being evaluated.
    TableChainScope chain(*canonical);
    auto entry = std::make_unique<Entry>();
    entry->name = nativeName;
    entry->stamp = *stamp;
    entry->table.canonical = *canonical;
    entry->table.indexes = std::make_unique<Table::Indexes>();
    entry->table.grid = kxgrid::createStandaloneGrid();
    if (entry->table.grid == nullptr)
        return nullptr;
    ++m_loads;
    // Listed while it loads, so that the lookups its formulas make are noted as its dependencies.
    // Being in the chain, it cannot be dropped meanwhile; the loads it causes only append.
    Entry* const loading = entry.get();
    m_entries.push_back(std::move(entry));
    const auto forget = [&] {
        std::erase_if(m_entries, [&](const auto& e) { return e.get() == loading; });
        return nullptr;
    };
    if (!SSLoadFromFile(loading->table.grid, nativeName.c_str()))
        return forget();
    SSSetBool(loading->table.grid, SSB_CHANGEMADE, FALSE);
    {
        // Registering evaluates the formulas that call FROMTABLE, with this table as their sheet.
        CurrentSheetScope current(loading->table.grid);
        registerFromTable(loading->table.grid);
    }
    loading->lastUse = ++m_clock;

    if (m_entries.size() > kMaxTables) {
        auto oldest = m_entries.end();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (it->get() != loading && !inTableChain((*it)->table.canonical) &&
                (oldest == m_entries.end() || (*it)->lastUse < (*oldest)->lastUse))
                oldest = it;
        if (oldest != m_entries.end())
            m_entries.erase(oldest);
    }
    return &loading->table;
}

} // namespace kxss
