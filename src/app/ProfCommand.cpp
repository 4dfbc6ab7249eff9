// kestra-ss prof show|import. Texts are escaped as in the sheet commands' lines, so one cell never
// spills into the next: backslash, tab, line feed and carriage return appear as \\, \t, \n, \r.
#include "app/ProfCommand.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/SectionCatalogue.h"
#include "core/StringLists.h"
#include "core/TableFiles.h"
#include "platform/host/CommandLine.h"
#include "spread/Kx_ProfValuesTable.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace kxapp {

namespace {

void usage(std::FILE* out)
{
    std::fputs("usage: kestra-ss prof show NAME              (a profile table: NAME of the library's prof\n"
               "                                              folder, with or without .pr, or a file path)\n"
               "       kestra-ss prof import TSV OUT.pr --type N   (a profile table of section type N from a\n"
               "                                              tab-separated list, first column the designation)\n",
               out);
}

int fail(const std::string& message)
{
    std::string text = message;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (text.starts_with("*Error* "))
        text.erase(0, 8);
    std::fprintf(stderr, "kestra-ss prof: %s\n", text.c_str());
    return 1;
}

int show(const std::string& name)
{
    kxhost::takeCommandLineText();
    Kx_ProfValuesTable table;
    // A path to an existing file is read as it is; anything else names a table of the library.
    const bool isPath = fileExists(Kx_String(name));
    Kx_String tableName(name);
    if (!isPath && !tableName.endsWith(".pr", /*exact=*/false))
        tableName.append(".pr");
    if (!(isPath ? table.readFromPath(Kx_String(name)) : table.readFromFile(tableName)))
        return fail(kxhost::takeCommandLineText());
    std::string out;
    out += "type\t" + escapeLineField(table.typeName.view()) + '\n';
    for (int c = 0; c < table.columnNames.length(); ++c)
        out += "column\t" + std::to_string(c) + '\t' + escapeLineField(table.columnNames[c].view()) + '\n';
    for (int r = 0; r < table.rows.length(); ++r) {
        out += "row\t" + std::to_string(r);
        for (const Kx_String& cell : table.rows[r])
            out += '\t' + escapeLineField(cell.view());
        out += '\n';
    }
    Kx_StringArray active;
    table.getFilteredSysNames(active);
    for (const Kx_String& n : active)
        out += "active\t" + escapeLineField(n.view()) + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

// The size part of a designation, the system name of its entry: the word that starts with its first
// digit ("IPE 80" -> "80", "HE 200 A" -> "200", "L 30x30x3" -> "30x30x3"); the whole designation
// when it has no digit.
Kx_String sizePart(const Kx_String& designation)
{
    int digit = 0;
    if (!designation.findFirstNumbers(digit))
        return designation.trimmed();
    Kx_String size = designation.getSubStringAt(digit);
    int blank = 0;
    if (size.findFirst(" ", /*exact=*/true, blank))
        size = size.getSubStringAt(0, blank);
    return size;
}

int import(const std::string& tsv, const std::string& outPath, int type)
{
    kxhost::takeCommandLineText();
    const SectionType* sectionType = SectionGroupArray::library().findType(type);
    if (sectionType == nullptr) {
        const std::string printed = kxhost::takeCommandLineText();
        return fail(printed.empty() ? "section type " + std::to_string(type) + " is not in the library's catalogue"
                                    : printed);
    }
    Kx_Array<Kx_StringArray> source;
    std::string error;
    if (!kx::readTableRows(Kx_String(tsv), source, error))
        return fail(error);
    if (source.isEmpty() || source[0].isEmpty())
        return fail("\"" + tsv + "\" has no column names on its first line");
    const Kx_StringArray& header = source[0];
    auto sourceColumn = [&](const Kx_String& name) {
        int index = -1;
        return header.find(name, index, /*exact=*/false) && index > 0 ? index : -1;
    };

    Kx_ProfValuesTable table;
    table.typeName = Kx_String(type);
    table.columnNames = Kx_StringArray{"SysName", "Active", "Dutch", "English", "French"};
    Kx_Array<int> from;
    for (int c = 0; c < sectionType->columns.length(); ++c) {
        int index = sourceColumn(sectionType->columns[c]);
        if (index < 0 && c < sectionType->fallbacks.length() && !sectionType->fallbacks[c].isEmpty())
            index = sourceColumn(sectionType->fallbacks[c]);
        table.columnNames.append(sectionType->columns[c]);
        from.append(index);
    }
    // Columns the type does not know are kept after its own.
    for (int c = 1; c < header.length(); ++c) {
        if (!sectionType->columns.contains(header[c], /*exact=*/false)) {
            table.columnNames.append(header[c]);
            from.append(c);
        }
    }
    for (int r = 1; r < source.length(); ++r) {
        const Kx_StringArray& line = source[r];
        if (line.isEmpty() || (line.length() == 1 && line[0].isEmpty()))
            continue;
        if (line.length() != header.length())
            return fail("\"" + tsv + "\" line " + std::to_string(r + 1) + " has " + std::to_string(line.length()) +
                        " cells, the first line " + std::to_string(header.length()));
        const Kx_String designation = line[0].trimmed();
        Kx_StringArray row{sizePart(designation), "1", designation, designation, designation};
        int same = 0;
        if (table.findSysName(row[0], same))
            return fail("\"" + tsv + "\" line " + std::to_string(r + 1) + ": the size name \"" + row[0].str() +
                        "\" is also that of line " + std::to_string(same + 2));
        // A value the list does not give is 0, the library's "unknown".
        for (int index : from)
            row.append(index >= 0 && !line[index].trimmed().isEmpty() ? line[index].trimmed() : Kx_String("0"));
        table.rows.append(row);
    }
    if (!table.writeToPath(Kx_String(outPath)))
        return fail(kxhost::takeCommandLineText());
    return 0;
}

} // namespace

int runProfCommand(int argc, const char* const* args)
{
    if (argc >= 1 && std::string_view(args[0]) == "show" && argc == 2)
        return show(args[1]);
    if (argc >= 1 && std::string_view(args[0]) == "import" && argc == 5 && std::string_view(args[3]) == "--type") {
        int type = 0;
        if (Kx_String(args[4]).toInt(type) && type >= 1 && type <= 24)
            return import(args[1], args[2], type);
        std::fprintf(stderr, "kestra-ss prof import: the type is a number from 1 to 24, not \"%s\"\n", args[4]);
        usage(stderr);
        return 2;
    }
    usage(stderr);
    return 2;
}

} // namespace kxapp
