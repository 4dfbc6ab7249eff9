#include "sheetedit/SheetSettings.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "sheetedit/SettingsStore.h"
#include "sheetedit/SheetEditTexts.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// The keys of the record; "cellSeperators" is spelled so in every file there is.
constexpr const char* kHeaderFile = "headerFile";
constexpr const char* kFooterFile = "footerFile";
constexpr const char* kDefaultFont = "defaultFont";
constexpr const char* kDefaultTextHeight = "defaultTextHeight";
constexpr const char* kMarginLeft = "marginLeft";
constexpr const char* kMarginRight = "marginRight";
constexpr const char* kMarginTop = "marginTop";
constexpr const char* kMarginBottom = "marginBottom";
constexpr const char* kSmartPrint = "smartPrint";
constexpr const char* kColors = "colors";
constexpr const char* kColHeader = "colHeader";
constexpr const char* kRowHeader = "rowHeader";
constexpr const char* kCellSeparators = "cellSeperators";
constexpr const char* kBorder = "border";
constexpr const char* kVarNames = "varNames";
constexpr const char* kVarValues = "varValues";

constexpr const char* kExtension = ".znd";

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The folder above `folder` (which ends with a separator), with its separator; folder itself when
// it has no parent part ("\" or "C:\").
Kx_String parentFolder(const Kx_String& folder)
{
    std::string s = folder.str();
    while (!s.empty() && isSeparator(s.back()))
        s.pop_back();
    const Kx_String parent = getPath(Kx_String(s));
    return parent.isEmpty() ? folder : parent;
}

} // namespace

SheetSettings::SheetSettings() : defaultFont("Tahoma") {}

void SheetSettings::reset()
{
    headerFile.clear();
    footerFile.clear();
    defaultFont = "Tahoma";
    defaultTextHeight = 13;
    marginLeft = 9;
    marginRight = 5;
    marginTop = 5;
    marginBottom = 5;
    smartPrint = true;
    colors = true;
    colHeader = true;
    rowHeader = true;
    cellSeperators = true;
    border = true;
    varNames.removeAll();
    varValues.removeAll();
    m_grid = nullptr;
    m_loaded = false;
}

Kx_String SheetSettings::settingsFolder()
{
    std::string folder = Kx_Settings::resourceDir().str();
    for (char& c : folder) {
        if (c == '/')
            c = '\\';
    }
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return Kx_String(folder);
}

Kx_String SheetSettings::fileOf(const Kx_String& name) { return settingsFolder() + name + kExtension; }

// A name comes from a sheet or from the registry: it may name a sub-folder, but neither ".." nor an
// absolute name may take a load or a save outside the settings folder.
Kx_String SheetSettings::confinedFileOf(const Kx_String& name)
{
    if (name.isEmpty())
        return {};
    const Kx_String folder = settingsFolder();
    if (folder.isEmpty())
        return fileOf(name);
    const std::optional<std::string> root = kx::toNativePath(folder.view());
    if (!root)
        return {};
    const std::optional<std::string> file = kx::resolveUnderRoot(*root, (name + kExtension).view());
    return file ? Kx_String(*file) : Kx_String();
}

void SheetSettings::fillStore(SettingsStore& store) const
{
    store.setText(kDefaultFont, defaultFont);
    store.setInt(kDefaultTextHeight, defaultTextHeight);
    store.setText(kHeaderFile, headerFile);
    store.setText(kFooterFile, footerFile);
    store.setInt(kMarginLeft, marginLeft);
    store.setInt(kMarginRight, marginRight);
    store.setInt(kMarginTop, marginTop);
    store.setInt(kMarginBottom, marginBottom);
    store.setBool(kSmartPrint, smartPrint);
    store.setBool(kColors, colors);
    store.setBool(kColHeader, colHeader);
    store.setBool(kRowHeader, rowHeader);
    store.setBool(kCellSeparators, cellSeperators);
    store.setBool(kBorder, border);
    store.setTextList(kVarNames, varNames);
    store.setTextList(kVarValues, varValues);
}

void SheetSettings::takeFrom(const SettingsStore& store)
{
    store.getText(kDefaultFont, defaultFont);
    store.getInt(kDefaultTextHeight, defaultTextHeight);
    store.getText(kHeaderFile, headerFile);
    store.getText(kFooterFile, footerFile);
    store.getInt(kMarginLeft, marginLeft);
    store.getInt(kMarginRight, marginRight);
    store.getInt(kMarginTop, marginTop);
    store.getInt(kMarginBottom, marginBottom);
    store.getBool(kSmartPrint, smartPrint);
    store.getBool(kColors, colors);
    store.getBool(kColHeader, colHeader);
    store.getBool(kRowHeader, rowHeader);
    store.getBool(kCellSeparators, cellSeperators);
    store.getBool(kBorder, border);
    store.getTextList(kVarNames, varNames);
    store.getTextList(kVarValues, varValues);
    const int common = std::min(varNames.length(), varValues.length());
    varNames.setLogicalLength(common);
    varValues.setLogicalLength(common);
}

bool SheetSettings::load(const Kx_String& name)
{
    reset();
    m_loaded = true;
    const Kx_String file = confinedFileOf(name);
    SettingsStore store;
    if (file.isEmpty() || !store.parseFile(file))
        return false;
    takeFrom(store);
    return true;
}

bool SheetSettings::save(const Kx_String& name) const
{
    const Kx_String file = confinedFileOf(name);
    if (file.isEmpty()) {
        acutPrintf("*Error* %s \"%s\": %s.\n", dialString(kxsheet::kTextCannotSaveSettings).c_str(), name.c_str(),
                   dialString(kxsheet::kTextNameOutsideFolder).c_str());
        return false;
    }
    SettingsStore store;
    fillStore(store);
    return store.writeFile(file);
}

bool SheetSettings::readFromSheet(HWND grid)
{
    reset();
    m_loaded = true;
    m_grid = grid;
    const int length = SSGetCellTagLen(grid, 0, 0);
    if (length < 0)
        return false;
    if (length == 0)
        return true;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = SSGetCellTag(grid, 0, 0, buffer.data(), length + 1);
    if (copied < 0)
        return false;
    SettingsStore store;
    store.parseText(std::string_view(buffer.data(), static_cast<std::size_t>(copied)));
    takeFrom(store);
    return true;
}

bool SheetSettings::writeToSheet(HWND grid)
{
    HWND target = grid != nullptr ? grid : m_grid;
    if (!m_loaded || target == nullptr)
        return false;
    SettingsStore store;
    fillStore(store);
    std::string text;
    SettingsStore::TextProblem problem = SettingsStore::TextProblem::None;
    Kx_String key;
    if (!store.toText(text, &problem, &key)) {
        SettingsStore::reportRefusal({}, problem, key);
        return false;
    }
    return SSSetCellTag(target, 0, 0, text.c_str()) != FALSE;
}

void SheetSettings::setVariables(const Kx_StringArray& names, const Kx_StringArray& values)
{
    varNames = names;
    varValues = values;
}

// A name holding ":" (a drive) or "\\" (a network share), or a native absolute name, stays as it
// is. Otherwise the first "..\" is taken out and remembered; the name is looked for in the folder of
// the sheet, then in the settings folder, each one level higher when "..\" was taken out. The first
// file that exists gives the full name; when none does, the name stays as it was.
Kx_String SheetSettings::resolvedName(const Kx_String& name, const Kx_String& sheetPath) const
{
    if (name.isEmpty() || name.hasSubString(":") || name.hasSubString("\\\\") || name.startsWith("/"))
        return name;
    Kx_String rest = name;
    bool up = false;
    int pos = 0;
    if (rest.findFirst("..\\", /*exact=*/true, pos)) {
        rest.removeAt(pos, 3);
        up = true;
    }
    for (Kx_String folder : {getPath(sheetPath), settingsFolder()}) {
        if (folder.isEmpty())
            continue;
        if (up)
            folder = parentFolder(folder);
        const Kx_String candidate = folder + rest;
        if (fileExists(candidate))
            return candidate;
    }
    return name;
}

void SheetSettings::resolveHeaderFooter(const Kx_String& sheetPath)
{
    headerFile = resolvedName(headerFile, sheetPath);
    footerFile = resolvedName(footerFile, sheetPath);
}
