// kestra-ss macro show FILE_OR_NAME: a macro definition as tab-separated lines, each starting with
// its record kind, for people and scripts:
//
//   macro  <title> <number of macros>
//   tab    <tab index> <tab kind> <module name> <caption> <layout name>
//   item   <tab index> <item kind> <name> <value> <control id>     (after its tab)
//
// Item kinds: cell, pattern, bolt (one per bolt text that is set: assembly, diameter, text3 to
// text5), profile (group, profile name), array, entry ("<array>[<index>]"), cut (its mode), flexfix
// ("<group>\<button>", fixed or flexible) and block (when the tab has a block choice). Texts are
// escaped as in the sheet commands' cell lines: backslash, tab, line feed and carriage return as \\,
// \t, \n and \r.
#include "app/MacroCommand.h"

#include "app/HostedModule.h"
#include "core/MacroFile.h"
#include "core/StringLists.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace kxapp {

namespace {

void printUsage(std::FILE* out)
{
    std::fputs("usage: kestra-ss macro show FILE_OR_NAME\n"
               "       kestra-ss macro bind FILE_OR_NAME\n"
               "\n"
               "show prints what the definition holds; bind builds the macro dialog on it as the module\n"
               "does and prints each item's control id (33000 on: a layout control, -row: a grid row,\n"
               "0: not shown) and each layout control that could not be bound, with the reason.\n"
               "FILE_OR_NAME is the path of a macro definition (.kxm) or the name of one in the\n"
               "library's Macros folder (\"End plate connection\").\n",
               out);
}

class Printer {
public:
    void tab(int index, const MacroTabData& t)
    {
        m_out += "tab\t" + std::to_string(index) + '\t' + std::to_string(t.kind) + '\t' + escapeLineField(t.moduleName.str())
            + '\t' + escapeLineField(t.caption.str()) + '\t' + escapeLineField(t.layoutName.str()) + '\n';
        m_tab = index;
    }
    void item(const char* kind, const Kx_String& name, const Kx_String& value, int id)
    {
        m_out += "item\t" + std::to_string(m_tab) + '\t' + kind + '\t' + escapeLineField(name.str()) + '\t'
            + escapeLineField(value.str()) + '\t' + std::to_string(id) + '\n';
    }
    std::string& text() { return m_out; }

private:
    std::string m_out;
    int m_tab = 0;
};

std::string show(const MacroData& macro)
{
    Printer p;
    p.text() = "macro\t" + escapeLineField(macro.title.str()) + '\t' + std::to_string(macro.numberOfMacros) + '\n';
    static const char* const kBoltNames[] = {"assembly", "diameter", "text3", "text4", "text5"};
    for (int t = 0; t < macro.tabs.length(); ++t) {
        const MacroTabData& tab = macro.tabs[t];
        p.tab(t, tab);
        for (const MacroCell& c : tab.cells)
            p.item("cell", c.name, c.value, c.ctrlId);
        for (const MacroPatternProps& pattern : tab.patterns)
            p.item("pattern", pattern.name, pattern.value, pattern.valueId);
        for (size_t k = 0; k < tab.bolt.strings.size(); ++k) {
            if (!tab.bolt.strings[k].isEmpty())
                p.item("bolt", kBoltNames[k], tab.bolt.strings[k], tab.bolt.ids[k]);
        }
        for (const MacroProfData& prof : tab.profiles)
            p.item("profile", prof.group, prof.profileName, prof.ids[0]);
        for (const DynArrayData& array : tab.arrays) {
            p.item("array", array.name, array.value, array.valueId);
            for (int e = 0; e < array.entries.length(); ++e) {
                Kx_String name = array.name;
                name.append("[").append(e).append("]");
                p.item("entry", name, array.entries[e].value, array.entries[e].ctrlId);
            }
        }
        for (const MacroCutData& cut : tab.cuts)
            p.item("cut", cut.name, Kx_String(cut.value), cut.ctrlId);
        for (const MacroFlexFixGroup& group : tab.flexFixGroups) {
            for (const MacroFlexFixButton& button : group.buttons) {
                Kx_String name = group.name;
                name.append("\\").append(button.name);
                p.item("flexfix", name, button.fixed ? "fixed" : "flexible", 0);
            }
        }
        if (tab.block.enabled)
            p.item("block", "block", tab.block.blockName, tab.block.ctrlId);
    }
    return p.text();
}

} // namespace

int runMacroCommand(int argc, const char* const* args, const char* argv0)
{
    if (argc == 1 && (std::string_view(args[0]) == "--help" || std::string_view(args[0]) == "-h")) {
        printUsage(stdout);
        return 0;
    }
    const std::string_view verb = argc >= 1 ? std::string_view(args[0]) : std::string_view();
    if (argc != 2 || (verb != "show" && verb != "bind")) {
        printUsage(stderr);
        return 2;
    }
    const auto path = kxcore::findMacroDefinition(Kx_String(args[1]));
    if (!path) {
        std::fprintf(stderr, "kestra-ss: no macro definition named \"%s\" (looked for the file and in %s)\n", args[1],
                     kxcore::macroLibraryFolder().c_str());
        return 1;
    }
    MacroDefinition def;
    std::string error;
    if (!kxcore::readMacroDefinitionFile(*path, def, error)) {
        std::fprintf(stderr, "kestra-ss: %s\n", error.c_str());
        return 1;
    }
    if (verb == "show") {
        const std::string out = show(def.macro);
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    HostedModule module;
    if (!module.load(argv0, error)) {
        std::fprintf(stderr, "kestra-ss: %s\n", error.c_str());
        return 1;
    }
    auto* bind = module.function<bool(const MacroData&, std::string&, std::string&)>("kxss_macroBindReport");
    if (bind == nullptr) {
        std::fprintf(stderr, "kestra-ss: the module does not export kxss_macroBindReport\n");
        return 1;
    }
    std::string report;
    if (!bind(def.macro, report, error)) {
        std::fprintf(stderr, "kestra-ss: %s\n", error.c_str());
        return 1;
    }
    std::fwrite(report.data(), 1, report.size(), stdout);
    // A layout that could not be read at all (its line has no control index and no type) fails the
    // command; controls that could not be bound are what the report is for.
    for (size_t at = report.find("removed\t"); at != std::string::npos; at = report.find("removed\t", at + 1)) {
        const std::string line = report.substr(at, report.find('\n', at) - at);
        if (line.find("\t-1\t-1\t") != std::string::npos) {
            std::fprintf(stderr, "kestra-ss: a layout of the macro cannot be read: %s\n", line.c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace kxapp
