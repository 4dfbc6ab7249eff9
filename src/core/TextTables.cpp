// Text tables: reading the table files, keeping them per path, and the lookups with their fall-backs.
#include "core/TextTables.h"

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/Utf8.h"
#include "platform/host/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

using kxcore::TextTableProblem;

enum class Table { dial, string };

// A table as kept in memory: every text in one buffer and a small record per entry, sorted by
// number. A 16 MiB file of the shortest possible lines ("7<TAB><LF>") holds 5.6 million entries;
// 16-byte records keep that at under 100 MB, where a std::string per entry would need three times
// as much.
struct Record {
    int number;
    int line;
    std::uint32_t offset;
    std::uint32_t length;
};

struct CompactTable {
    std::string texts;
    std::vector<Record> records;
    std::vector<TextTableProblem> problems;
    int problemCount = 0;

    void addProblem(int line, std::string what)
    {
        ++problemCount;
        if (problems.size() < kxcore::kTextTableMaxProblems)
            problems.push_back({line, std::move(what)});
    }

    const Record* find(int number) const
    {
        auto it = std::lower_bound(records.begin(), records.end(), number,
                                   [](const Record& r, int n) { return r.number < n; });
        return it != records.end() && it->number == number ? &*it : nullptr;
    }

    std::string_view text(const Record& r) const { return std::string_view(texts).substr(r.offset, r.length); }
};

// Control characters other than the tab have no place in a line: a NUL would cut the text short
// in every C caller, and a lone carriage return means the file has old Mac line ends.
bool hasControlCharacter(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c < 0x20 && c != '\t') || c == 0x7F;
    });
}

bool isBlank(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The number before the tab: plain decimal digits, no sign, no leading zero, at most INT_MAX.
bool parseNumber(std::string_view digits, int& number, std::string& why)
{
    if (digits.empty()) {
        why = "no number before the tab";
        return false;
    }
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        why = "\"" + std::string(digits.substr(0, 20)) + "\" is not a text number";
        return false;
    }
    if (digits.size() > 1 && digits[0] == '0') {
        why = "text number " + std::string(digits.substr(0, 20)) + " has a leading zero";
        return false;
    }
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        why = "text number " + std::string(digits.substr(0, 20)) + " is too large";
        return false;
    }
    return true;
}

// Appends the text after the tab to out with its escapes resolved. An unknown escape or a lone
// backslash at the end is kept as written and reported.
void unescapeInto(std::string_view text, std::string& out, int line, CompactTable& table)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 1 == text.size()) {
            out += '\\';
            table.addProblem(line, "backslash at the end of the line (write \\\\ for a backslash)");
            break;
        }
        const char next = text[++i];
        if (next == 'n') {
            out += '\n';
        } else if (next == 't') {
            out += '\t';
        } else if (next == '\\') {
            out += '\\';
        } else {
            out += '\\';
            // The escaped character may start a multi-byte sequence: copy it whole.
            const auto n = static_cast<size_t>(kxutf8::charLength(text, i));
            out.append(text.substr(i, n));
            table.addProblem(line, "unknown escape \\" + std::string(text.substr(i, n)) + ", kept as written");
            i += n - 1;
        }
    }
}

void parseLine(std::string_view line, int lineNumber, CompactTable& table)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.size() > kxcore::kTextTableMaxLineBytes) {
        table.addProblem(lineNumber, "line longer than 1 MiB, left out");
        return;
    }
    if (line.empty() || line.front() == '#' || isBlank(line))
        return;
    if (hasControlCharacter(line)) {
        table.addProblem(lineNumber, "control character in the line, left out");
        return;
    }
    if (!kxutf8::isValid(line)) {
        table.addProblem(lineNumber, "not UTF-8 text, left out");
        return;
    }
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
        table.addProblem(lineNumber, "no tab between the number and the text, left out");
        return;
    }
    int number = 0;
    std::string why;
    if (!parseNumber(line.substr(0, tab), number, why)) {
        table.addProblem(lineNumber, why + ", left out");
        return;
    }
    const size_t offset = table.texts.size();
    unescapeInto(line.substr(tab + 1), table.texts, lineNumber, table);
    // The whole file is at most 16 MiB and unescaping never lengthens a text, so both fit.
    table.records.push_back({number, lineNumber, static_cast<std::uint32_t>(offset),
                             static_cast<std::uint32_t>(table.texts.size() - offset)});
}

// Sorts by number; of a number given twice the first line wins, and each later one is a problem.
void sortAndDropDuplicates(CompactTable& table)
{
    std::stable_sort(table.records.begin(), table.records.end(),
                     [](const Record& a, const Record& b) { return a.number < b.number; });
    std::vector<Record> kept;
    kept.reserve(table.records.size());
    for (const Record& r : table.records) {
        if (!kept.empty() && kept.back().number == r.number) {
            table.addProblem(r.line, "text number " + std::to_string(r.number) + " already given on line "
                                         + std::to_string(kept.back().line) + "; this one is left out");
            continue;
        }
        kept.push_back(r);
    }
    table.records = std::move(kept);
    std::stable_sort(table.problems.begin(), table.problems.end(),
                     [](const TextTableProblem& a, const TextTableProblem& b) { return a.line < b.line; });
}

// Parses bytes already within the file limit.
CompactTable parseWithinLimit(std::string_view bytes)
{
    CompactTable table;
    if (bytes.size() >= 2
        && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        table.addProblem(0, "the file is UTF-16; save it as UTF-8");
        return table;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    table.texts.reserve(bytes.size());
    int lineNumber = 0;
    while (!bytes.empty()) {
        ++lineNumber;
        const size_t end = bytes.find('\n');
        parseLine(bytes.substr(0, end), lineNumber, table);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    table.texts.shrink_to_fit();
    sortAndDropDuplicates(table);
    return table;
}

void addFileProblemFirst(CompactTable& table, std::string what)
{
    table.problems.insert(table.problems.begin(), TextTableProblem{0, std::move(what)});
    ++table.problemCount;
}

// Bytes beyond the file limit are ignored, and so is the part of the last line that the limit cut,
// so that no text is taken in half; that is reported.
CompactTable parseCompact(std::string_view bytes)
{
    if (bytes.size() <= kxcore::kTextTableMaxFileBytes)
        return parseWithinLimit(bytes);
    bytes = bytes.substr(0, kxcore::kTextTableMaxFileBytes);
    const size_t lastLineEnd = bytes.rfind('\n');
    CompactTable table = parseWithinLimit(bytes.substr(0, lastLineEnd == std::string_view::npos ? 0 : lastLineEnd + 1));
    addFileProblemFirst(table, "larger than 16 MiB; only the first 16 MiB are read");
    return table;
}

// Reads no more than one byte beyond the limit, however large the file is.
CompactTable readTableFile(const std::string& path)
{
    CompactTable table;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        table.addProblem(0, std::filesystem::exists(path, ec) ? "it is not a file" : "the file does not exist");
        return table;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        table.addProblem(0, std::string("the file cannot be opened (") + std::strerror(errno) + ")");
        return table;
    }
    std::string bytes;
    bool readFailed = false;
    char buffer[64 * 1024];
    while (bytes.size() <= kxcore::kTextTableMaxFileBytes) {
        const size_t want = std::min(sizeof buffer, kxcore::kTextTableMaxFileBytes + 1 - bytes.size());
        const size_t got = std::fread(buffer, 1, want, file);
        bytes.append(buffer, got);
        if (got < want) {
            readFailed = std::ferror(file) != 0;
            break;
        }
    }
    std::fclose(file);
    table = parseCompact(bytes);
    if (readFailed)
        addFileProblemFirst(table, "reading stopped early; the rest of the file is missing");
    return table;
}

// One line on the command line per file, naming the first problem; the user fixes the file from
// there and the rest show up on the next start.
void reportProblems(const std::string& path, const CompactTable& table)
{
    if (table.problemCount == 0)
        return;
    const TextTableProblem& first = table.problems.front();
    std::string where = first.line > 0 ? ", line " + std::to_string(first.line) : std::string();
    std::string more;
    if (table.problemCount > 1)
        more = " (and " + std::to_string(table.problemCount - 1) + " more problem"
            + (table.problemCount > 2 ? "s" : "") + ")";
    acutPrintf("*Warning* Text table \"%s\"%s: %s%s.\n", path.c_str(), where.c_str(), first.what.c_str(),
               more.c_str());
}

// Tables read so far, by path. Text lookups come from the user-interface thread in practice, but
// the lock costs nothing next to building a dialog and keeps a stray caller from racing a load.
struct Cache {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const CompactTable>> tables;
};

Cache& cache()
{
    static Cache c;
    return c;
}

std::string tablePath(int language, Table which)
{
    return Kx_Settings::resourceDir().str() + "text/" + MacroLangs::GetLanguageCode(language).str() + "/"
        + (which == Table::dial ? "dialstrings.txt" : "strings.txt");
}

// Caller holds the cache lock.
std::shared_ptr<const CompactTable> tableAt(const std::string& path)
{
    auto& tables = cache().tables;
    if (auto it = tables.find(path); it != tables.end())
        return it->second;
    std::shared_ptr<const CompactTable> loaded;
    try {
        auto table = std::make_shared<CompactTable>(readTableFile(path));
        reportProblems(path, *table);
        loaded = std::move(table);
    } catch (const std::bad_alloc&) {
        acutPrintf("*Warning* Text table \"%s\": not enough memory to read it.\n", path.c_str());
        loaded = std::make_shared<const CompactTable>();
    }
    tables.emplace(path, loaded);
    return loaded;
}

Kx_String lookup(Table which, int n)
{
    try {
        std::lock_guard lock(cache().mutex);
        const int current = MacroLangs::GetCurLanguageIndex();
        for (int language : {current, static_cast<int>(MacroLangs::English)}) {
            const auto table = tableAt(tablePath(language, which));
            if (const Record* r = table->find(n))
                return Kx_String(table->text(*r));
            if (language == MacroLangs::English)
                break;
        }
    } catch (const std::exception&) {
        // Out of memory or a failed lock: the placeholder below still tells the user which text.
    }
    std::string placeholder = which == Table::dial ? "[dialString " : "[string ";
    placeholder += std::to_string(n);
    placeholder += ']';
    return Kx_String(std::move(placeholder));
}

} // namespace

Kx_String dialString(int n) { return lookup(Table::dial, n); }

Kx_String string(int n) { return lookup(Table::string, n); }

namespace kxcore {

TextTableContent parseTextTable(std::string_view bytes)
{
    const CompactTable table = parseCompact(bytes);
    TextTableContent content;
    content.entries.reserve(table.records.size());
    for (const Record& r : table.records)
        content.entries.push_back({r.number, std::string(table.text(r))});
    content.problems = table.problems;
    content.problemCount = table.problemCount;
    return content;
}

std::optional<std::string> escapeTableText(std::string_view text)
{
    if (!kxutf8::isValid(text))
        return std::nullopt;
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
            return std::nullopt;
        } else {
            out += c;
        }
    }
    return out;
}

void reloadTextTables()
{
    std::lock_guard lock(cache().mutex);
    cache().tables.clear();
}

} // namespace kxcore
