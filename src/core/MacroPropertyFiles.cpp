// Macro property files: the values of a macro's tabs saved under a name, so a detailer can apply the
// same connection settings to another macro. They are property lists (docs/macro-files.md) whose
// names are "<module>|<kind>:<item>".
#include "core/MacroData.h"

#include "core/FileIO.h"
#include "core/Kx_PropertiesList.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "platform/host/CommandLine.h"

#include <optional>

namespace {

constexpr const char* kDescriptionKey = "description";
constexpr const char* kPropFileExtension = ".kxp";

Kx_String key(const MacroTabData& tab, const char* kind, const Kx_String& item)
{
    Kx_String k = tab.moduleName;
    k.append("|").append(kind).append(":").append(item);
    return k;
}

bool isWholeOrDecimal(const Kx_String& text)
{
    double unused = 0;
    return text.toDouble(unused);
}

// Whether a value read from a file may go into a cell of that kind.
bool fitsCell(const MacroCell& cell, const Kx_String& value)
{
    if (cell.readOnly || isVariesText(value))
        return false;
    switch (cell.kind) {
    case kMacroCellNumber: return isWholeOrDecimal(value);
    case kMacroCellCheck: return value == "0" || value == "1";
    default: return true;
    }
}

// Applies one property to the tab; false when it matches nothing there or cannot be used.
bool applyValue(MacroTabData& tab, const Kx_String& item, const Kx_PropertiesList& file, const Kx_String& name)
{
    Kx_String text;
    int number = 0;
    const bool isText = file.getProperty(name, text);
    const bool isInt = !isText && file.getProperty(name, number);
    int index = 0;
    const auto itemName = [&](const char* prefix) -> std::optional<Kx_String> {
        const Kx_String p(prefix);
        if (!item.startsWith(p))
            return std::nullopt;
        return item.getSubStringAt(p.length());
    };
    if (auto n = itemName("cell:")) {
        if (!isText || !tab.findCellWithName(*n, index) || !fitsCell(tab.cells[index], text))
            return false;
        tab.cells[index].value = text;
        return true;
    }
    if (auto n = itemName("pattern:")) {
        if (!isText || isVariesText(text))
            return false;
        Kx_String patternName = *n;
        const bool count = patternName.endsWith("#count");
        if (count)
            patternName.removeAt(patternName.length() - 6, 6);
        if (!tab.findPatternWithName(patternName, index))
            return false;
        MacroPatternProps& p = tab.patterns[index];
        if (count) {
            int c = 0;
            if (p.getCount() == -1 || !text.toInt(c) || c < 0)
                return false;
            p.count = text;
        } else {
            p.value = text;
        }
        return true;
    }
    if (auto n = itemName("bolt:")) {
        int k = 0;
        if (!isText || isVariesText(text) || !n->toInt(k) || k < 1 || k > 5)
            return false;
        tab.bolt.strings[static_cast<size_t>(k - 1)] = text;
        return true;
    }
    if (auto n = itemName("array:")) {
        if (!isText || isVariesText(text) || !tab.findArrayWithName(*n, index))
            return false;
        tab.arrays[index].value = text;
        return true;
    }
    if (auto n = itemName("cut:")) {
        if (!isInt || number < 0 || number > 4 || !tab.findCutWithName(*n, index))
            return false;
        tab.cuts[index].value = number;
        return true;
    }
    return false;
}

} // namespace

bool MacroData::propListAllowed(Kx_String& reason) const
{
    if (!propListEnabled) {
        reason = propListDeniedReason;
        return false;
    }
    if (numberOfMacros != 1) {
        reason = "Property files apply to one macro at a time.";
        return false;
    }
    return true;
}

bool MacroData::getPropFiles(Kx_String& folder, Kx_String& file, Kx_StringArray& names,
                             Kx_StringArray& descriptions) const
{
    folder = propFileFolder;
    if (folder.isEmpty())
        folder = Kx_Settings::libDir() + "Macro Properties/";
    file = macroNames.isEmpty() ? title : macroNames[0];
    file.append(kPropFileExtension);
    names.setLogicalLength(0);
    descriptions.setLogicalLength(0);
    Kx_StringArray paths;
    Kx_String pattern("*");
    pattern.append(kPropFileExtension);
    if (!ObjectExportFindFiles(folder, pattern, paths))
        return true; // no folder yet: no files
    for (const Kx_String& path : paths) {
        Kx_String name;
        getFileName(path, name);
        names.append(name);
        Kx_PropertiesList list;
        Kx_String description;
        std::string error;
        std::string bytes;
        if (kx::readFileBytes(path.str(), kx::kMaxTextFileBytes, bytes, error)
            && list.readFromText(bytes, path.str(), error))
            list.getProperty(kDescriptionKey, description);
        descriptions.append(description.isEmpty() ? name : description);
    }
    return true;
}

bool MacroData::readFromFile(const Kx_String& file, int& errors)
{
    errors = 0;
    Kx_PropertiesList list;
    if (!list.readFromFile(file))
        return false; // the reader said why; nothing applied
    MacroData updated = *this;
    for (const Kx_String& name : list.getNames()) {
        if (name == kDescriptionKey)
            continue;
        int bar = 0;
        MacroTabData* tab = nullptr;
        if (name.findLast("|", true, bar))
            tab = updated.tabOfModule(name.getSubStringAt(0, bar));
        if (!tab || !applyValue(*tab, name.getSubStringAt(bar + 1), list, name))
            ++errors;
    }
    *this = std::move(updated);
    return true;
}

bool MacroData::writeToFile(const Kx_String& file) const
{
    Kx_PropertiesList list;
    list.setProperty(kDescriptionKey, macroNames.isEmpty() ? title : macroNames[0]);
    for (const MacroTabData& tab : tabs) {
        for (const MacroCell& c : tab.cells) {
            if (!c.readOnly && !isVariesText(c.value))
                list.setProperty(key(tab, "cell", c.name), c.value);
        }
        for (const MacroPatternProps& p : tab.patterns) {
            if (!isVariesText(p.value))
                list.setProperty(key(tab, "pattern", p.name), p.value);
            if (p.getCount() != -1 && !isVariesText(p.count))
                list.setProperty(key(tab, "pattern", p.name + "#count"), p.count);
        }
        if (tab.kind == 1) {
            for (int k = 0; k < 5; ++k) {
                const Kx_String& s = tab.bolt.strings[static_cast<size_t>(k)];
                if (!s.isEmpty() && !isVariesText(s))
                    list.setProperty(key(tab, "bolt", Kx_String(k + 1)), s);
            }
        }
        for (const DynArrayData& d : tab.arrays) {
            if (!isVariesText(d.value))
                list.setProperty(key(tab, "array", d.name), d.value);
        }
        for (const MacroCutData& c : tab.cuts)
            list.setProperty(key(tab, "cut", c.name), c.value);
    }
    return list.writeToFile(file);
}
