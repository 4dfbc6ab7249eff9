// The section tables: one header-driven reader, cached per folder.
#include "core/SectionTables.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <vector>

namespace kxcore {

namespace {

std::optional<double> parseNumber(std::string_view text)
{
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v) || v <= 0)
        return std::nullopt;
    return v;
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

using SectionTable = std::map<std::string, SectionSize>;

SectionTable readTables(const Kx_String& folder)
{
    SectionTable table;
    Kx_StringArray files;
    if (!ObjectExportFindFiles(folder, "*.tsv", files))
        return table;
    for (const Kx_String& file : files) {
        Kx_StringArray lines;
        if (!ObjectExportReadFile(file, lines) || lines.isEmpty())
            continue;
        const std::vector<std::string_view> header = splitTabs(lines[0].view());
        const auto column = [&](std::string_view name) -> long {
            const auto at = std::find(header.begin(), header.end(), name);
            return at == header.end() ? -1 : static_cast<long>(at - header.begin());
        };
        const long nameCol = column("name");
        if (nameCol < 0)
            continue;
        const long cols[5] = {column("h_mm"), column("b_mm"), column("tw_mm"), column("tf_mm"), column("mass_kg_m")};
        for (int i = 1; i < lines.length(); ++i) {
            const std::vector<std::string_view> fields = splitTabs(lines[i].view());
            double values[5] = {};
            bool any = false;
            for (int k = 0; k < 5; ++k) {
                if (cols[k] < 0 || static_cast<size_t>(cols[k]) >= fields.size())
                    continue;
                if (const auto v = parseNumber(fields[static_cast<size_t>(cols[k])])) {
                    values[k] = *v;
                    any = true;
                }
            }
            if (any && static_cast<size_t>(nameCol) < fields.size())
                table.emplace(sectionKey(fields[static_cast<size_t>(nameCol)]),
                              SectionSize{values[0], values[1], values[2], values[3], values[4]});
        }
    }
    return table;
}

} // namespace

std::string sectionKey(std::string_view name)
{
    std::string key;
    for (char c : name)
        if (c != ' ' && c != '\t')
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (key.size() > 3 && key.compare(0, 2, "HE") == 0 && std::isdigit(static_cast<unsigned char>(key[2]))) {
        const char last = key.back();
        if (last == 'A' || last == 'B' || last == 'M') {
            const std::string digits = key.substr(2, key.size() - 3);
            if (std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
                key = std::string("HE") + last + digits;
        }
    }
    return key;
}

std::optional<SectionSize> sectionSize(std::string_view name, const Kx_String& folder)
{
    static std::map<std::string, SectionTable> cache;
    const std::string where = folder.isEmpty() ? (Kx_Settings::libDir() + "sections/").str() : folder.str();
    auto it = cache.find(where);
    if (it == cache.end())
        it = cache.emplace(where, readTables(Kx_String(where))).first;
    const auto found = it->second.find(sectionKey(name));
    if (found == it->second.end())
        return std::nullopt;
    return found->second;
}

} // namespace kxcore
