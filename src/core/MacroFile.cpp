// Macro definition files: one record a line, "<kind> name=value ...". Each record kind has one table
// of attributes bound to the fields of the record it fills; the reader and the writer both walk that
// table, so whatever is written reads back the same. The format is described for people in
// docs/macro-files.md; keep the two in step.
#include "core/MacroFile.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/QuotedText.h"
#include "core/SaveFile.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using kxquoted::appendQuoted;
using kxquoted::readQuoted;
using kxquoted::shown;

constexpr int kFormatVersion = 1;

// One attribute: how to take it from its raw text and how to write it.
struct Attr {
    const char* name;
    std::function<bool(std::string_view, std::string&)> read;
    std::function<void(std::string&)> write;
};
using Attrs = std::vector<Attr>;

bool readInt(std::string_view s, int& v, std::string& why)
{
    int parsed = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), parsed);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) {
        why = shown(s) + " is not a whole number";
        return false;
    }
    v = parsed;
    return true;
}

void writeInt(std::string& out, long long v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

Attr text(const char* name, Kx_String& field)
{
    return {name,
            [&field](std::string_view s, std::string&) {
                field = Kx_String(s);
                return true;
            },
            [&field](std::string& out) { appendQuoted(out, field.str()); }};
}

Attr number(const char* name, int& field)
{
    return {name, [&field](std::string_view s, std::string& why) { return readInt(s, field, why); },
            [&field](std::string& out) { writeInt(out, field); }};
}

Attr real(const char* name, double& field)
{
    return {name,
            [&field](std::string_view s, std::string& why) {
                double v = 0;
                const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
                if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) {
                    why = shown(s) + " is not a number";
                    return false;
                }
                field = v;
                return true;
            },
            [&field](std::string& out) {
                char buf[64];
                const auto r = std::to_chars(buf, buf + sizeof buf, field);
                out.append(buf, r.ptr);
            }};
}

Attr flag(const char* name, bool& field)
{
    return {name,
            [&field](std::string_view s, std::string& why) {
                if (s != "0" && s != "1") {
                    why = shown(s) + " is not 0 or 1";
                    return false;
                }
                field = s == "1";
                return true;
            },
            [&field](std::string& out) { out += field ? '1' : '0'; }};
}

Attr objectId(const char* name, AcDbObjectId& field)
{
    return {name,
            [&field](std::string_view s, std::string& why) {
                int v = 0;
                if (!readInt(s, v, why) || v < 0) {
                    why = shown(s) + " is not an object number (0 or more)";
                    return false;
                }
                field = AcDbObjectId(v);
                return true;
            },
            [&field](std::string& out) { writeInt(out, field.handle()); }};
}

// Lists of whole numbers as "1,2,-1".
bool readIntList(std::string_view s, std::vector<int>& values, std::string& why)
{
    values.clear();
    if (s.empty())
        return true;
    size_t start = 0;
    while (true) {
        const size_t comma = s.find(',', start);
        int v = 0;
        if (!readInt(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start), v,
                     why))
            return false;
        values.push_back(v);
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
    }
}

void writeIntList(std::string& out, const std::vector<long long>& values)
{
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            out += ',';
        writeInt(out, values[i]);
    }
}

template <size_t N>
Attr numbers(const char* name, std::array<int, N>& field)
{
    return {name,
            [&field](std::string_view s, std::string& why) {
                std::vector<int> v;
                if (!readIntList(s, v, why))
                    return false;
                if (v.size() != N) {
                    why = shown(s) + " must hold " + std::to_string(N) + " numbers";
                    return false;
                }
                std::copy(v.begin(), v.end(), field.begin());
                return true;
            },
            [&field](std::string& out) { writeIntList(out, {field.begin(), field.end()}); }};
}

Attr ids(const char* name, AcArray<AcDbObjectId>& field)
{
    return {name,
            [&field](std::string_view s, std::string& why) {
                std::vector<int> v;
                if (!readIntList(s, v, why))
                    return false;
                field.setLogicalLength(0);
                for (int h : v) {
                    if (h < 0) {
                        why = shown(s) + " holds a negative object number";
                        return false;
                    }
                    field.append(AcDbObjectId(h));
                }
                return true;
            },
            [&field](std::string& out) {
                std::vector<long long> v;
                for (const AcDbObjectId& id : field)
                    v.push_back(id.handle());
                writeIntList(out, v);
            }};
}

Attr flags(const char* name, Kx_Array<bool>& field)
{
    return {name,
            [&field](std::string_view s, std::string& why) {
                std::vector<int> v;
                if (!readIntList(s, v, why))
                    return false;
                field.removeAll();
                for (int b : v) {
                    if (b != 0 && b != 1) {
                        why = shown(s) + " must hold only 0 and 1";
                        return false;
                    }
                    field.append(b == 1);
                }
                return true;
            },
            [&field](std::string& out) {
                std::vector<long long> v;
                for (bool b : field)
                    v.push_back(b ? 1 : 0);
                writeIntList(out, v);
            }};
}

// --- Attribute tables, one per record kind ---

Attrs macroAttrs(MacroData& m)
{
    return {text("title", m.title),
            number("kind", m.kind),
            number("macros", m.numberOfMacros),
            text("initialTab", m.initialTab),
            flag("openProfile", m.openProfile),
            text("profileGroup", m.openProfileGroup),
            flag("temporary", m.temporary),
            number("firstFilterSel", m.firstFilterSel),
            number("secondFilterSel", m.secondFilterSel),
            ids("objects", m.objectIds),
            ids("moduleIds", m.moduleIds),
            flag("propertyFiles", m.propListEnabled),
            text("propertyFilesDenied", m.propListDeniedReason),
            text("propertyFolder", m.propFileFolder)};
}

Attrs tabAttrs(MacroTabData& t)
{
    return {number("kind", t.kind), text("module", t.moduleName), text("caption", t.caption),
            text("layout", t.layoutName)};
}

Attrs cellAttrs(MacroCell& c)
{
    return {text("name", c.name), number("kind", c.kind), text("description", c.description),
            text("value", c.value), flag("readOnly", c.readOnly)};
}

Attrs patternAttrs(MacroPatternProps& p)
{
    return {text("name", p.name), text("description", p.description), text("value", p.value),
            text("count", p.count), flag("button", p.hasButton)};
}

Attrs boltAttrs(MacroBoltData& b)
{
    return {text("assembly", b.strings[0]),  text("diameter", b.strings[1]), text("text3", b.strings[2]),
            text("text4", b.strings[3]),     text("text5", b.strings[4]),    numbers("options", b.options),
            number("optionCount", b.optionCount), flag("optionFlag", b.optionFlag), numbers("checks", b.checks)};
}

struct HoleColumn {
    Kx_String name;
    bool shown = true;
};
Attrs holeColumnAttrs(HoleColumn& c) { return {text("name", c.name), flag("shown", c.shown)}; }

Attrs holeAttrs(MacroBoltHole& h)
{
    return {number("used", h.used),        number("type", h.typeIndex), text("length", h.texts[0]),
            text("width", h.texts[1]),     text("depth", h.texts[2]),   text("rotation", h.texts[3])};
}

Attrs profileAttrs(MacroProfData& p)
{
    return {text("group", p.group),
            objectId("object", p.objectId),
            text("profile", p.profileName),
            text("section", p.sectionClass),
            text("mark", p.name2),
            text("material", p.name3),
            number("offsetOn", p.offsetOn),
            number("offsetType", p.offsetType),
            text("x1", p.offsets[0]),
            text("y1", p.offsets[1]),
            text("x2", p.offsets[2]),
            text("y2", p.offsets[3]),
            text("angle", p.angle),
            number("basePlane", p.basePlane),
            number("mirror", p.mirror),
            number("extraOn", p.extraOn),
            text("extraValue", p.extraValue),
            number("option", p.option),
            text("plane", p.planeName),
            flag("ownButton", p.ownAdvancedButton)};
}

Attrs segmentAttrs(MacroProfSegmentedData& s)
{
    return {text("profile", s.profileName), text("length", s.length), text("start", s.startOffset),
            text("end", s.endOffset)};
}

Attrs arrayAttrs(DynArrayData& d)
{
    return {text("name", d.name),           number("kind", d.arrayKind),      text("description", d.description),
            text("value", d.value),         text("distance", d.strings[0]),   text("offset", d.strings[1]),
            text("special", d.strings[2]),  text("dim1", d.strings[3]),       text("dim2", d.secondDim),
            text("dim3", d.thirdDim),       flag("option1", d.firstOption),   text("further1", d.further1),
            text("further2", d.further2),   flag("option2", d.secondOption),  text("further3", d.further3)};
}

Attrs entryAttrs(EntryProps& e) { return {text("value", e.value), number("action", e.action)}; }

Attrs entryColumnAttrs(EntryColumn& c)
{
    return {number("kind", c.kind), flag("shown", c.shown), text("name", c.name)};
}

Attrs cutAttrs(MacroCutData& c) { return {text("name", c.name), number("value", c.value)}; }
Attrs flexGroupAttrs(MacroFlexFixGroup& g) { return {text("name", g.name)}; }
Attrs flexButtonAttrs(MacroFlexFixButton& b) { return {text("name", b.name), flag("fixed", b.fixed)}; }
Attrs blockAttrs(MacroBlockChoice& b) { return {flag("enabled", b.enabled), text("name", b.blockName)}; }

struct ValueRecord {
    Kx_String value;
};
Attrs valueAttrs(ValueRecord& v) { return {text("value", v.value)}; }

Attrs constraintsAttrs(EditConstrData& d)
{
    return {objectId("macro", d.macroId), text("current", d.currentModule)};
}
Attrs constraintModuleAttrs(ConstraintModule& m) { return {text("name", m.name)}; }
Attrs constraintAttrs(ConstraintRow& c)
{
    return {text("name", c.texts[0]),       text("type", c.texts[1]),  text("object1", c.texts[2]),
            text("object2", c.texts[3]),    text("variable", c.varName), text("text2", c.text2),
            flag("flag1", c.flag1),         flag("flag2", c.flag2),    number("choice", c.choice),
            number("enum", c.enumChoice),   number("cut", c.cutValue)};
}
Attrs variableAttrs(ConstraintVariable& v)
{
    return {text("name", v.name), real("value", v.value), number("kind", v.kind)};
}
Attrs dimensionAttrs(DimensionValue& v) { return {text("name", v.name), text("value", v.value)}; }
Attrs geometryAttrs(GeometryObject& g)
{
    return {objectId("object", g.id), text("name", g.name), text("kind", g.kind),
            number("flexibility", g.flexibility), number("flags", g.flags)};
}

Attrs settingsAttrs(MacroSettingsData& s)
{
    return {flag("angleFilter", s.angleFilterOn),
            flags("angles90", s.angles90),
            flags("angles180", s.angles180),
            text("angleTolerance", s.angleTolerance),
            text("sectionAngleTolerance", s.sectionAngleTolerance),
            flag("distanceFilter", s.distanceFilterOn),
            text("maxPathDistance", s.maxPathDistance),
            text("minSectionSize", s.minSectionSize),
            text("maxSectionSize", s.maxSectionSize),
            flags("sectionTypes", s.sectionTypes),
            flags("materials", s.materials),
            number("updateMode", s.updateMode),
            number("numberingMode", s.numberingMode)};
}
struct SettingsOption {
    Kx_String name;
    Kx_String value;
};
Attrs settingsOptionAttrs(SettingsOption& o) { return {text("name", o.name), text("value", o.value)}; }
struct SettingsGroup {
    std::array<Kx_String, 4> texts{};
};
Attrs settingsGroupAttrs(SettingsGroup& g)
{
    return {text("name", g.texts[0]), text("layer", g.texts[1]), text("colour", g.texts[2]),
            text("linetype", g.texts[3])};
}

// --- Writing ---

void writeRecord(std::string& out, const char* kind, const Attrs& attrs)
{
    out += kind;
    for (const Attr& a : attrs) {
        out += ' ';
        out += a.name;
        out += '=';
        a.write(out);
    }
    out += '\n';
}

// The writer hands the tables a const record; they only read from it then.
template <typename T>
T& writable(const T& t)
{
    return const_cast<T&>(t);
}

// --- Reading ---

struct Token {
    std::string name;
    std::string value;
};

// Splits one line into its kind and attributes. False with why on a syntax error.
bool tokenize(std::string_view line, std::string& kind, std::vector<Token>& tokens, std::string& why)
{
    size_t i = 0;
    const auto skip = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
    };
    skip();
    const size_t kindStart = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        ++i;
    kind.assign(line.substr(kindStart, i - kindStart));
    tokens.clear();
    while (true) {
        skip();
        if (i >= line.size())
            return true;
        const size_t nameStart = i;
        while (i < line.size() && line[i] != '=' && line[i] != ' ' && line[i] != '\t' && line[i] != '"')
            ++i;
        if (i >= line.size() || line[i] != '=' || i == nameStart) {
            why = "expected name=value at " + shown(line.substr(nameStart));
            return false;
        }
        Token t;
        t.name.assign(line.substr(nameStart, i - nameStart));
        ++i;
        if (i < line.size() && line[i] == '"') {
            if (!readQuoted(line, i, t.value, why))
                return false;
            if (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                why = "unexpected characters after the closing quote: " + shown(line.substr(i));
                return false;
            }
        } else {
            const size_t valueStart = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                if (line[i] == '"') {
                    why = "a quote inside the unquoted value of " + shown(t.name);
                    return false;
                }
                ++i;
            }
            t.value.assign(line.substr(valueStart, i - valueStart));
        }
        tokens.push_back(std::move(t));
    }
}

bool applyAttrs(const Attrs& attrs, const std::vector<Token>& tokens, const std::string& kind, std::string& why)
{
    std::vector<bool> seen(attrs.size(), false);
    for (const Token& t : tokens) {
        size_t k = 0;
        while (k < attrs.size() && t.name != attrs[k].name)
            ++k;
        if (k == attrs.size()) {
            why = "unknown attribute " + shown(t.name) + " of " + kind + " (known:";
            for (const Attr& a : attrs)
                why += std::string(" ") + a.name;
            why += ")";
            return false;
        }
        if (seen[k]) {
            why = "the attribute " + shown(t.name) + " is given twice";
            return false;
        }
        seen[k] = true;
        std::string problem;
        if (!attrs[k].read(t.value, problem)) {
            why = t.name + ": " + problem;
            return false;
        }
    }
    return true;
}

class Reader {
public:
    explicit Reader(MacroDefinition& def) : m_def(def) {}

    bool line(std::string_view text, std::string& why)
    {
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string_view::npos || text[first] == '#')
            return true;
        std::string kind;
        std::vector<Token> tokens;
        if (!tokenize(text, kind, tokens, why))
            return false;
        return record(kind, tokens, why);
    }

private:
    template <typename T, typename MakeAttrs>
    bool fill(T& target, MakeAttrs&& make, const std::vector<Token>& tokens, const std::string& kind,
              std::string& why)
    {
        T fresh{};
        if (!applyAttrs(make(fresh), tokens, kind, why))
            return false;
        target = std::move(fresh);
        return true;
    }

    template <typename T, typename MakeAttrs>
    bool add(Kx_Array<T>& list, MakeAttrs&& make, const std::vector<Token>& tokens, const std::string& kind,
             std::string& why)
    {
        T item{};
        if (!fill(item, make, tokens, kind, why))
            return false;
        list.append(std::move(item));
        return true;
    }

    MacroTabData* tab(const std::string& kind, std::string& why)
    {
        if (m_def.macro.tabs.isEmpty()) {
            why = kind + " before any tab";
            return nullptr;
        }
        return &m_def.macro.tabs.last();
    }

    ConstraintModule* module(const std::string& kind, std::string& why)
    {
        if (m_def.constraints.modules.isEmpty()) {
            why = kind + " before any constraintModule";
            return nullptr;
        }
        return &m_def.constraints.modules.last();
    }

    bool record(const std::string& kind, const std::vector<Token>& tokens, std::string& why)
    {
        MacroData& m = m_def.macro;
        if (kind == "format") {
            int version = 0;
            Attrs attrs{number("version", version)};
            if (!applyAttrs(attrs, tokens, kind, why))
                return false;
            if (version < 1 || version > kFormatVersion) {
                why = "format version " + std::to_string(version) + " is not known (this program reads version "
                    + std::to_string(kFormatVersion) + ")";
                return false;
            }
            return true;
        }
        if (kind == "macro") {
            // Attributes not given keep their values; the lists and tabs are other records.
            return applyAttrs(macroAttrs(m), tokens, kind, why);
        }
        if (kind == "macroName" || kind == "groupName" || kind == "firstFilter" || kind == "secondFilter") {
            ValueRecord v;
            if (!applyAttrs(valueAttrs(v), tokens, kind, why))
                return false;
            Kx_StringArray& list = kind == "macroName"   ? m.macroNames
                : kind == "groupName"                    ? m.groupNames
                : kind == "firstFilter"                  ? m.firstFilter
                                                         : m.secondFilter;
            list.append(v.value);
            return true;
        }
        if (kind == "tab") {
            if (!add(m.tabs, tabAttrs, tokens, kind, why))
                return false;
            m_def.tabProperties.append(Kx_StringArray());
            return true;
        }
        if (kind == "filterProperty") {
            if (!tab(kind, why))
                return false;
            ValueRecord v;
            if (!applyAttrs(valueAttrs(v), tokens, kind, why))
                return false;
            m_def.tabProperties.last().append(v.value);
            return true;
        }
        if (kind == "cell" || kind == "pattern" || kind == "bolt" || kind == "holeColumn" || kind == "hole"
            || kind == "profile" || kind == "segment" || kind == "array" || kind == "entry" || kind == "entryColumn"
            || kind == "cut" || kind == "flexGroup" || kind == "flexButton" || kind == "block")
            return tabRecord(kind, tokens, why);
        if (kind == "constraints")
            return applyAttrs(constraintsAttrs(m_def.constraints), tokens, kind, why);
        if (kind == "constraintModule")
            return add(m_def.constraints.modules, constraintModuleAttrs, tokens, kind, why);
        if (kind == "constraint" || kind == "variable" || kind == "dimension" || kind == "equation"
            || kind == "geometry") {
            ConstraintModule* mod = module(kind, why);
            if (!mod)
                return false;
            if (kind == "constraint")
                return add(mod->constraints, constraintAttrs, tokens, kind, why);
            if (kind == "variable")
                return add(mod->variables, variableAttrs, tokens, kind, why);
            if (kind == "dimension")
                return add(mod->dimValues, dimensionAttrs, tokens, kind, why);
            if (kind == "geometry")
                return add(mod->geometry, geometryAttrs, tokens, kind, why);
            ValueRecord v;
            if (!applyAttrs(valueAttrs(v), tokens, kind, why))
                return false;
            mod->equations.append(v.value);
            return true;
        }
        if (kind == "settings")
            return applyAttrs(settingsAttrs(m_def.settings), tokens, kind, why);
        if (kind == "settingsSection") {
            ValueRecord v;
            if (!applyAttrs(valueAttrs(v), tokens, kind, why))
                return false;
            m_def.settings.sectionNames.append(v.value);
            return true;
        }
        if (kind == "settingsOption") {
            SettingsOption o;
            if (!applyAttrs(settingsOptionAttrs(o), tokens, kind, why))
                return false;
            m_def.settings.optionNames.append(o.name);
            m_def.settings.optionValues.append(o.value);
            return true;
        }
        if (kind == "settingsGroup") {
            SettingsGroup g;
            if (!applyAttrs(settingsGroupAttrs(g), tokens, kind, why))
                return false;
            m_def.settings.groups.append(g.texts);
            return true;
        }
        why = "unknown record " + shown(kind);
        return false;
    }

    bool tabRecord(const std::string& kind, const std::vector<Token>& tokens, std::string& why)
    {
        MacroTabData* t = tab(kind, why);
        if (!t)
            return false;
        if (kind == "cell")
            return add(t->cells, cellAttrs, tokens, kind, why);
        if (kind == "pattern")
            return add(t->patterns, patternAttrs, tokens, kind, why);
        if (kind == "bolt") {
            // The hole lists are records of their own and stay.
            MacroBoltData b = t->bolt;
            if (!applyAttrs(boltAttrs(b), tokens, kind, why))
                return false;
            t->bolt = std::move(b);
            return true;
        }
        if (kind == "holeColumn") {
            HoleColumn c;
            if (!applyAttrs(holeColumnAttrs(c), tokens, kind, why))
                return false;
            t->bolt.holeColumnNames.append(c.name);
            t->bolt.holeColumnFlags.append(c.shown);
            return true;
        }
        if (kind == "hole")
            return add(t->bolt.holes, holeAttrs, tokens, kind, why);
        if (kind == "profile")
            return add(t->profiles, profileAttrs, tokens, kind, why);
        if (kind == "segment")
            return add(t->segments, segmentAttrs, tokens, kind, why);
        if (kind == "array")
            return add(t->arrays, arrayAttrs, tokens, kind, why);
        if (kind == "entry" || kind == "entryColumn") {
            if (t->arrays.isEmpty()) {
                why = kind + " before any array of its tab";
                return false;
            }
            if (kind == "entry")
                return add(t->arrays.last().entries, entryAttrs, tokens, kind, why);
            return add(t->arrays.last().columns, entryColumnAttrs, tokens, kind, why);
        }
        if (kind == "cut")
            return add(t->cuts, cutAttrs, tokens, kind, why);
        if (kind == "flexGroup")
            return add(t->flexFixGroups, flexGroupAttrs, tokens, kind, why);
        if (kind == "flexButton") {
            if (t->flexFixGroups.isEmpty()) {
                why = "flexButton before any flexGroup of its tab";
                return false;
            }
            return add(t->flexFixGroups.last().buttons, flexButtonAttrs, tokens, kind, why);
        }
        // block
        MacroBlockChoice b;
        if (!applyAttrs(blockAttrs(b), tokens, kind, why))
            return false;
        t->block = b;
        return true;
    }

    MacroDefinition& m_def;
};

} // namespace

namespace kxcore {

bool parseMacroDefinition(std::string_view text, std::string_view sourceName, MacroDefinition& out,
                          std::string& error)
{
    Kx_StringArray lines;
    std::string why;
    if (!kx::splitTextLines(text, kx::kMaxTextLineBytes, lines, why)) {
        error = std::string(sourceName) + ": " + why;
        return false;
    }
    MacroDefinition def;
    Reader reader(def);
    for (int i = 0; i < lines.length(); ++i) {
        if (!reader.line(lines[i].view(), why)) {
            error = std::string(sourceName) + ", line " + std::to_string(i + 1) + ": " + why;
            return false;
        }
    }
    out = std::move(def);
    return true;
}

std::string formatMacroDefinition(const MacroDefinition& def)
{
    std::string out = "# KESTRA_SS macro definition\n";
    int version = kFormatVersion;
    writeRecord(out, "format", Attrs{number("version", version)});
    const MacroData& m = def.macro;
    writeRecord(out, "macro", macroAttrs(writable(m)));
    const auto values = [&](const char* kind, const Kx_StringArray& list) {
        for (const Kx_String& s : list) {
            ValueRecord v{s};
            writeRecord(out, kind, valueAttrs(v));
        }
    };
    values("macroName", m.macroNames);
    values("groupName", m.groupNames);
    values("firstFilter", m.firstFilter);
    values("secondFilter", m.secondFilter);
    for (int ti = 0; ti < m.tabs.length(); ++ti) {
        MacroTabData& t = writable(m.tabs[ti]);
        writeRecord(out, "tab", tabAttrs(t));
        if (ti < def.tabProperties.length())
            values("filterProperty", def.tabProperties[ti]);
        for (auto& c : t.cells)
            writeRecord(out, "cell", cellAttrs(c));
        for (auto& p : t.patterns)
            writeRecord(out, "pattern", patternAttrs(p));
        if (!(t.bolt == MacroBoltData{})) {
            writeRecord(out, "bolt", boltAttrs(t.bolt));
            for (int k = 0; k < t.bolt.holeColumnNames.length() && k < t.bolt.holeColumnFlags.length(); ++k) {
                HoleColumn c{t.bolt.holeColumnNames[k], t.bolt.holeColumnFlags[k]};
                writeRecord(out, "holeColumn", holeColumnAttrs(c));
            }
            for (auto& h : t.bolt.holes)
                writeRecord(out, "hole", holeAttrs(h));
        }
        for (auto& p : t.profiles)
            writeRecord(out, "profile", profileAttrs(p));
        for (auto& s : t.segments)
            writeRecord(out, "segment", segmentAttrs(s));
        for (auto& d : t.arrays) {
            writeRecord(out, "array", arrayAttrs(d));
            for (auto& c : d.columns)
                writeRecord(out, "entryColumn", entryColumnAttrs(c));
            for (auto& e : d.entries)
                writeRecord(out, "entry", entryAttrs(e));
        }
        for (auto& c : t.cuts)
            writeRecord(out, "cut", cutAttrs(c));
        for (auto& g : t.flexFixGroups) {
            writeRecord(out, "flexGroup", flexGroupAttrs(g));
            for (auto& b : g.buttons)
                writeRecord(out, "flexButton", flexButtonAttrs(b));
        }
        if (!(t.block == MacroBlockChoice{}))
            writeRecord(out, "block", blockAttrs(t.block));
    }
    const EditConstrData& c = def.constraints;
    if (!(c == EditConstrData{})) {
        writeRecord(out, "constraints", constraintsAttrs(writable(c)));
        for (auto& mod : writable(c).modules) {
            writeRecord(out, "constraintModule", constraintModuleAttrs(mod));
            for (auto& r : mod.constraints)
                writeRecord(out, "constraint", constraintAttrs(r));
            for (auto& v : mod.variables)
                writeRecord(out, "variable", variableAttrs(v));
            for (auto& d : mod.dimValues)
                writeRecord(out, "dimension", dimensionAttrs(d));
            values("equation", mod.equations);
            for (auto& g : mod.geometry)
                writeRecord(out, "geometry", geometryAttrs(g));
        }
    }
    const MacroSettingsData& s = def.settings;
    if (!(s == MacroSettingsData{})) {
        writeRecord(out, "settings", settingsAttrs(writable(s)));
        values("settingsSection", s.sectionNames);
        for (int k = 0; k < s.optionNames.length() && k < s.optionValues.length(); ++k) {
            SettingsOption o{s.optionNames[k], s.optionValues[k]};
            writeRecord(out, "settingsOption", settingsOptionAttrs(o));
        }
        for (const auto& g : s.groups) {
            SettingsGroup sg{g};
            writeRecord(out, "settingsGroup", settingsGroupAttrs(sg));
        }
    }
    return out;
}

bool readMacroDefinitionFile(const Kx_String& path, MacroDefinition& out, std::string& error)
{
    std::string bytes;
    if (!kx::readFileBytes(path.str(), kx::kMaxTextFileBytes, bytes, error))
        return false;
    return parseMacroDefinition(bytes, path.str(), out, error);
}

bool writeMacroDefinitionFile(const Kx_String& path, const MacroDefinition& definition, std::string& error)
{
    return kx::saveFileAtomically(path.str(), formatMacroDefinition(definition), &error);
}

Kx_String macroLibraryFolder()
{
    return Kx_Settings::libDir() + "Macros/";
}

std::optional<std::string> findMacroDefinition(const Kx_String& nameOrPath)
{
    if (nameOrPath.isEmpty())
        return std::nullopt;
    if (fileExists(nameOrPath))
        return nameOrPath.str();
    Kx_String name = nameOrPath;
    if (!name.endsWith(".kxm", false))
        name.append(".kxm");
    auto path = kx::resolveUnderRoot(macroLibraryFolder().str(), name.str());
    if (!path || !fileExists(Kx_String(*path)))
        return std::nullopt;
    return path;
}

} // namespace kxcore
