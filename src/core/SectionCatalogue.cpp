// The section-type catalogue: the fixed picture names and the library's catalogue file.
#include "core/SectionCatalogue.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/TableFiles.h"
#include "core/Paths.h"
#include "platform/host/CommandLine.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr std::array<const char*, 24> kTypeNames = {
    "ProfSectionI",           "ProfSectionCL",        "ProfSectionHL",           "ProfSectionCU",
    "ProfSectionT",           "ProfSectionOI",        "ProfSectionOU",           "ProfSectionRect",
    "ProfSectionRound",       "ProfSectionRectTube",  "ProfSectionRoundTube",    "ProfSectionC",
    "ProfSectionZ",           "ProfSectionV",         "ProfSectionO",            "ProfSectionQ",
    "ProfSectionCuttedI",     "ProfSectionSigma",     "ProfSectionSigma+",       "ProfSectionSigma Sleeve",
    "ProfSectionC+",          "ProfSectionC Sleeve",  "ProfSectionSingle Cleat", "ProfSectionDouble Cleat",
};

constexpr int kMaxFields = 8;

Kx_String inCurrentLanguage(const Kx_StringArray& texts)
{
    const int lang = MacroLangs::GetCurLanguageIndex();
    if (lang >= 0 && lang < texts.length() && !texts[lang].isEmpty())
        return texts[lang];
    return texts.length() > MacroLangs::English ? texts[MacroLangs::English] : Kx_String();
}

// The cells of a record after its key, padded to n.
Kx_StringArray tail(const Kx_StringArray& row, int from, int n = -1)
{
    Kx_StringArray out;
    for (int i = from; i < row.length(); ++i)
        out.append(row[i]);
    if (n >= 0)
        out.setLogicalLength(n);
    return out;
}

} // namespace

Kx_String sectionTypeName(int number)
{
    if (number < 1 || number > static_cast<int>(kTypeNames.size()))
        return {};
    return kTypeNames[static_cast<size_t>(number - 1)];
}

Kx_String SectionType::name() const { return inCurrentLanguage(names); }

Kx_StringArray SectionType::fieldLabels() const
{
    const int lang = MacroLangs::GetCurLanguageIndex();
    if (lang >= 0 && lang < labels.length() && !labels[lang].isEmpty())
        return labels[lang];
    return labels.length() > MacroLangs::English ? labels[MacroLangs::English] : Kx_StringArray{};
}

Kx_String SectionGroup::name() const { return inCurrentLanguage(names); }

bool SectionGroupArray::readFromFile(const Kx_String& path, std::string& error)
{
    Kx_Array<Kx_StringArray> rows;
    if (!kx::readTableRows(path, rows, error))
        return false;
    return readFromRows(rows, path.str(), error);
}

bool SectionGroupArray::readFromRows(const Kx_Array<Kx_StringArray>& rows, const std::string& source,
                                     std::string& error)
{
    SectionGroupArray read;
    SectionType* current = nullptr;
    auto fail = [&](int line, const std::string& what) {
        error = "\"" + source + "\" line " + std::to_string(line + 1) + ": " + what;
        return false;
    };
    auto number = [](const Kx_String& text, int& value) { return text.trimmed().toInt(value); };
    for (int i = 0; i < rows.length(); ++i) {
        const Kx_StringArray& row = rows[i];
        if (row.isEmpty() || row[0].isEmpty() || row[0].startsWith("#"))
            continue;
        const Kx_String key = row[0];
        if (key == Kx_String("type")) {
            SectionType type;
            if (row.length() < 3 || !number(row[1], type.number) || type.number < 1 || type.number > 24)
                return fail(i, "a type needs a number from 1 to 24 and a picture name");
            if (read.findType(type.number) != nullptr)
                return fail(i, "type " + std::to_string(type.number) + " is given twice");
            type.pictureName = row[2];
            type.hasDrawing = row.length() > 3 && row[3] == Kx_String("drawing");
            type.names = Kx_StringArray(std::vector<Kx_String>(MacroLangs::LanguageCount));
            type.labels.setLogicalLength(MacroLangs::LanguageCount);
            type.languagePrefixes = Kx_StringArray(std::vector<Kx_String>(MacroLangs::LanguageCount));
            read.m_types.append(type);
            current = &read.m_types.items().back();
            continue;
        }
        if (key == Kx_String("group")) {
            SectionGroup group;
            if (row.length() < 2 + MacroLangs::LanguageCount || !number(row[1], group.number))
                return fail(i, "a group needs a number and a name in each language");
            group.names = tail(row, 2, MacroLangs::LanguageCount);
            for (int c = 2 + MacroLangs::LanguageCount; c < row.length(); ++c) {
                int t = 0;
                if (!number(row[c], t) || read.findType(t) == nullptr)
                    return fail(i, "\"" + row[c].str() + "\" is not a type given above");
                group.types.append(t);
            }
            read.m_groups.append(group);
            continue;
        }
        if (current == nullptr)
            return fail(i, "\"" + key.str() + "\" before the first type");
        if (key == Kx_String("names")) {
            current->names = tail(row, 1, MacroLangs::LanguageCount);
        } else if (key == Kx_String("prefixes")) {
            current->languagePrefixes = tail(row, 1, MacroLangs::LanguageCount);
        } else if (key == Kx_String("labels")) {
            const int lang = row.length() > 1 ? MacroLangs::FindLanguage(row[1]) : -1;
            if (lang < 0)
                return fail(i, "labels need a language");
            if (row.length() - 2 > kMaxFields)
                return fail(i, "at most 8 labels");
            current->labels[lang] = tail(row, 2);
        } else if (key == Kx_String("columns")) {
            current->columns.setLogicalLength(0);
            current->fallbacks.setLogicalLength(0);
            for (int c = 1; c < row.length(); ++c) {
                const std::string& cell = row[c].str();
                const size_t eq = cell.find('=');
                current->columns.append(Kx_String(cell.substr(0, eq)));
                current->fallbacks.append(eq == std::string::npos ? Kx_String() : Kx_String(cell.substr(eq + 1)));
                if (current->columns.last().isEmpty())
                    return fail(i, "an empty column name");
            }
        } else if (key == Kx_String("namefields")) {
            current->nameFields.setLogicalLength(0);
            for (int c = 1; c < row.length(); ++c) {
                int f = 0;
                if (!number(row[c], f) || f < 0 || f >= kMaxFields)
                    return fail(i, "name fields are numbers from 0 to 7");
                current->nameFields.append(f);
            }
        } else if (key == Kx_String("nameprefix")) {
            current->namePrefix = row.length() > 1 ? row[1] : Kx_String();
        } else {
            return fail(i, "unknown record \"" + key.str() + "\"");
        }
    }
    *this = std::move(read);
    return true;
}

bool SectionGroupArray::readLibraryCatalogue()
{
    std::string error;
    if (readFromFile(Kx_Settings::libDir() + "prof/sections.cat", error))
        return true;
    acutPrintf("*Error* %s\n", error.c_str());
    return false;
}

const SectionType* SectionGroupArray::findType(int number) const
{
    for (const SectionType& t : m_types)
        if (t.number == number)
            return &t;
    return nullptr;
}

Kx_Array<const SectionType*> SectionGroupArray::typesOfGroup(int index) const
{
    Kx_Array<const SectionType*> out;
    if (index < 0 || index >= m_groups.length())
        return out;
    for (int n : m_groups[index].types)
        if (const SectionType* t = findType(n))
            out.append(t);
    return out;
}

int SectionGroupArray::groupOfType(int number) const
{
    for (int g = 0; g < m_groups.length(); ++g)
        if (m_groups[g].types.contains(number))
            return g;
    return -1;
}

namespace {
std::unique_ptr<SectionGroupArray>& libraryCatalogue()
{
    static std::unique_ptr<SectionGroupArray> catalogue;
    return catalogue;
}
} // namespace

const SectionGroupArray& SectionGroupArray::library()
{
    auto& catalogue = libraryCatalogue();
    if (!catalogue) {
        catalogue = std::make_unique<SectionGroupArray>();
        catalogue->readLibraryCatalogue();
    }
    return *catalogue;
}

void SectionGroupArray::reload() { libraryCatalogue().reset(); }

bool DlgEditLibData::GetAvailableFiles(Kx_StringArray& files) const
{
    Kx_StringArray paths;
    files.setLogicalLength(0);
    if (!ObjectExportFindFiles(Kx_Settings::libDir() + "prof", "*.pr", paths))
        return false;
    for (const Kx_String& p : paths)
        files.append(getFileName(p));
    return true;
}

// --- The groups as the section library editor edits them -------------------------------------------

void SectionGroupArray::namesOfAllGroups(Kx_StringArray& names, Kx_Array<int>& ids) const
{
    names.setLogicalLength(0);
    ids.setLogicalLength(0);
    for (const SectionGroup& g : m_groups) {
        names.append(g.name());
        ids.append(g.number);
    }
}

Kx_String SectionGroupArray::getName(int index) const
{
    return index >= 0 && index < m_groups.length() ? m_groups[index].name() : Kx_String();
}

bool SectionGroupArray::getEnabled(int index) const
{
    return index >= 0 && index < m_groups.length() && m_groups[index].enabled;
}

void SectionGroupArray::setEnabled(int index, bool enabled)
{
    if (index >= 0 && index < m_groups.length())
        m_groups[index].enabled = enabled;
}

Kx_String SectionGroupArray::getImage(int index) const
{
    return index >= 0 && index < m_groups.length() ? m_groups[index].image : Kx_String();
}

void SectionGroupArray::setImage(int index, const Kx_String& image)
{
    if (index >= 0 && index < m_groups.length())
        m_groups[index].image = image;
}

Kx_StringArray SectionGroupArray::getLangs(int index) const
{
    return index >= 0 && index < m_groups.length() ? m_groups[index].names : Kx_StringArray();
}

void SectionGroupArray::setLangs(int index, const Kx_StringArray& names)
{
    if (index >= 0 && index < m_groups.length())
        m_groups[index].names = names;
}

int SectionGroupArray::appendNewGrp()
{
    SectionGroup group;
    for (const SectionGroup& g : m_groups)
        group.number = std::max(group.number, g.number);
    ++group.number;
    group.names = Kx_StringArray({Kx_String("Nieuwe groep"), Kx_String("New group"), Kx_String("Nouveau groupe")});
    m_groups.append(group);
    return m_groups.length() - 1;
}

bool SectionGroupArray::removeAt(int index)
{
    if (index < 0 || index >= m_groups.length())
        return false;
    m_groups.removeAt(index);
    return true;
}

// --- The editor's data ----------------------------------------------------------------------------

DlgEditLibData::~DlgEditLibData() = default;

bool DlgEditLibData::GetAvailableFiles()
{
    // Pictures come in pairs (-big and -small); the big one names the pair.
    const Kx_String suffix = "-big.bmp";
    Kx_StringArray paths;
    Kx_StringArray images;
    if (ObjectExportFindFiles(Kx_Settings::resourceDir() + "icons", "*" + suffix, paths)) {
        for (const Kx_String& p : paths) {
            const Kx_String file = getFileName(p);
            images.append(file.getSubStringAt(0, file.length() - suffix.length()));
        }
    }
    std::sort(images.items().begin(), images.items().end());
    groupImages = images;
    typeImages = images;

    Kx_StringArray files;
    tables.setLogicalLength(0);
    const bool ok = GetAvailableFiles(files);
    for (const Kx_String& f : files)
        tables.append(removeExtension(f));
    std::sort(tables.items().begin(), tables.items().end());
    return ok;
}

bool DlgEditLibData::readLibrary()
{
    std::string error;
    SectionGroupArray catalogue;
    if (!catalogue.readFromFile(Kx_Settings::libDir() + "prof/sections.cat", error)) {
        acutPrintf("*Error* %s\n", error.c_str());
        return false;
    }
    // A group shows the picture of its first type until the user chooses another.
    for (int g = 0; g < catalogue.groupCount(); ++g) {
        const SectionGroup& group = catalogue.group(g);
        if (group.image.isEmpty() && !group.types.isEmpty())
            if (const SectionType* first = catalogue.findType(group.types[0]))
                catalogue.setImage(g, first->pictureName);
    }
    groups = catalogue;
    types.setLogicalLength(0);
    Kx_StringArray files;
    GetAvailableFiles(files);
    for (const Kx_String& f : files) {
        // Only the type line matters here; a table that cannot be read gives no type.
        Kx_Array<Kx_StringArray> rows;
        std::string ignored;
        int number = 0;
        if (!kx::readTableRows(Kx_Settings::libDir() + "prof/" + f, rows, ignored) || rows.isEmpty() ||
            rows[0].isEmpty() || !rows[0][0].trimmed().toInt(number))
            continue;
        const SectionType* kind = catalogue.findType(number);
        if (kind == nullptr)
            continue;
        SectionType type = *kind;
        const Kx_String name = removeExtension(f);
        type.names = Kx_StringArray({name, name, name});
        type.image = kind->pictureName;
        const int g = catalogue.groupOfType(number);
        type.group = g >= 0 ? catalogue.group(g).number : -1;
        types.append(type);
    }
    return true;
}
