// The rules behind the macro world's smaller dialogs: default cut variables and name checks, the
// macro filter of the select-macro dialog, and the thumbnails of the macro library.
#include "core/MacroSubDialogData.h"

#include "core/FileIO.h"
#include "core/MacroFile.h"
#include "core/Paths.h"
#include "core/SaveFile.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Bitmap.h"

#include <filesystem>
#include <string>

namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

Kx_String propKey(const Kx_String& module, const Kx_String& property)
{
    Kx_String k = module;
    k.append("|").append(property);
    return k;
}

// Whether the picture is older than the macro's drawing (the file as given, else its name in the
// picture's folder); a drawing that cannot be found leaves the picture as it is.
bool previewOutdated(const Kx_String& macro, const Kx_String& folder, const Kx_String& picture)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto native = [](const Kx_String& path) { return fs::path(kx::toNativePath(path.str()).value_or(path.str())); };
    fs::path drawing = native(macro);
    if (!fs::exists(drawing, ec))
        drawing = native(folder + getFileName(macro));
    const auto drawn = fs::last_write_time(drawing, ec);
    if (ec)
        return false;
    const auto made = fs::last_write_time(native(picture), ec);
    return !ec && made < drawn;
}

} // namespace

// --- Macros that may own a cut ---

bool MacrosInDlgData::GetAllMods(AcDbObjectId, Kx_StringArray& names) const
{
    names = modules;
    return !names.isEmpty();
}

bool MacrosInDlgData::UserSelectMacro()
{
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    const auto picked = drawing.pickObject("Select the macro that will own the cut", "macro");
    if (!picked)
        return false;
    pickedMacro = *picked;
    if (const kxhost::DrawingObject* object = drawing.object(*picked)) {
        const std::string list = object->property("modules");
        size_t start = 0;
        while (start < list.size()) {
            size_t end = list.find(';', start);
            if (end == std::string::npos)
                end = list.size();
            const Kx_String module(list.substr(start, end - start));
            if (!module.isEmpty() && !modules.contains(module)) {
                modules.append(module);
                cutNames.append(Kx_StringArray());
            }
            start = end + 1;
        }
    }
    return true;
}

// --- Cuts ---

bool DlgMacroCutsData::GetDefaultValues(int type, Kx_StringArray& names, Kx_StringArray& values,
                                        Kx_Array<bool>& flags)
{
    names.removeAll();
    values.removeAll();
    flags.removeAll();
    const auto add = [&](const char* name, const char* value, bool flag) {
        names.append(name);
        values.append(value);
        flags.append(flag);
    };
    switch (type) {
    case kCutProfVsPlate:
        add("Offset", "0", false);
        add("LengthOffset", "0", false);
        return true;
    case kCutProfVsProf:
        add("Offset", "10", true);
        add("CenterOffset", "0", false);
        return true;
    case kCutProfInProf:
        add("InsideOffset", "5", true);
        add("OutsideOffset", "5", true);
        return true;
    case kCutProf3Segments:
        add("Offset1", "10", true);
        add("Offset2", "10", true);
        add("PolyOffset", "0", false);
        return true;
    case kCutChamfer:
        add("Offset1", "20", true);
        add("Offset2", "20", true);
        return true;
    case kCutFillet:
        add("Radius", "15", true);
        return true;
    default:
        return false;
    }
}

bool DlgMacroCutsData::CutNameInUse(AcDbObjectId, const Kx_String& module, const Kx_String& name, bool& clash) const
{
    clash = false;
    int index = 0;
    if (!owner.modules.find(module, index))
        return false;
    if (index < owner.cutNames.length())
        clash = owner.cutNames[index].contains(name, /*exact=*/false);
    return true;
}

bool DlgMacroCutsData::AreVarNamesValid() const
{
    for (int i = 0; i < varNames.length(); ++i) {
        const std::string& n = varNames[i].str();
        if (n.empty() || !isAsciiLetter(n[0]))
            return false;
        for (char c : n) {
            if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '_')
                return false;
        }
        if (varNames[i].startsWith("gen_", /*exact=*/false))
            return false;
        for (int j = 0; j < i; ++j) {
            if (varNames[j].equal(varNames[i], /*exact=*/false))
                return false;
        }
    }
    return true;
}

// --- Macro filter ---

void Kx_MacroPropsFilter::initialize(const Kx_StringArray& macros, const Kx_Array<bool>& enabled, int width,
                                     int height)
{
    m_macros.removeAll();
    m_offModules.removeAll();
    m_offProps.removeAll();
    m_width = width > 0 ? width : 96;
    m_height = height > 0 ? height : 72;
    for (int i = 0; i < macros.length(); ++i) {
        Macro macro;
        macro.file = macros[i];
        macro.enabled = i < enabled.length() ? enabled[i] : true;
        // The modules and their properties come from the definition beside the drawing.
        const Kx_String beside = changeExtension(macros[i], "kxm");
        const Kx_String definition = getPath(macros[i]).isEmpty() ? kxcore::macroLibraryFolder() + beside : beside;
        MacroDefinition def;
        std::string error;
        if (fileExists(definition) && kxcore::readMacroDefinitionFile(definition, def, error)) {
            for (int t = 0; t < def.macro.tabs.length(); ++t) {
                macro.modules.append(def.macro.tabs[t].caption);
                macro.properties.append(t < def.tabProperties.length() ? def.tabProperties[t] : Kx_StringArray());
            }
        }
        m_macros.append(std::move(macro));
    }
}

Kx_StringArray Kx_MacroPropsFilter::getAllDwgFiles() const
{
    Kx_StringArray files;
    ObjectExportFindFiles(kxcore::macroLibraryFolder(), "*.dwg", files);
    return files;
}

void Kx_MacroPropsFilter::getFilteredMacros(Kx_StringArray& files) const
{
    files.removeAll();
    for (const Macro& macro : m_macros) {
        bool passes = macro.enabled;
        for (int m = 0; passes && m < macro.modules.length(); ++m) {
            if (m_offModules.contains(macro.modules[m]))
                passes = false;
            for (int p = 0; passes && m < macro.properties.length() && p < macro.properties[m].length(); ++p)
                passes = !m_offProps.contains(propKey(macro.modules[m], macro.properties[m][p]));
        }
        if (passes)
            files.append(macro.file);
    }
}

void Kx_MacroPropsFilter::getMergedProperties(Kx_StringArray& rows, Kx_Array<Kx_StringArray>& values,
                                              Kx_Array<Kx_Array<bool>>& states) const
{
    rows.removeAll();
    values.removeAll();
    states.removeAll();
    for (const Macro& macro : m_macros) {
        for (int m = 0; m < macro.modules.length(); ++m) {
            const Kx_String& module = macro.modules[m];
            int row = 0;
            if (!rows.find(module, row)) {
                row = rows.length();
                rows.append(module);
                values.append(Kx_StringArray());
                Kx_Array<bool> s;
                s.append(!m_offModules.contains(module));
                states.append(std::move(s));
            }
            if (m >= macro.properties.length())
                continue;
            for (const Kx_String& property : macro.properties[m]) {
                if (values[row].contains(property))
                    continue;
                values[row].append(property);
                states[row].append(!m_offProps.contains(propKey(module, property)));
            }
        }
    }
}

bool Kx_MacroPropsFilter::setModuleStatus(const Kx_String& module, bool on)
{
    int index = 0;
    const bool off = m_offModules.find(module, index);
    if (on == !off)
        return false;
    if (on)
        m_offModules.removeAt(index);
    else
        m_offModules.append(module);
    return true;
}

bool Kx_MacroPropsFilter::setModulePropStatus(const Kx_String& module, const Kx_String& property, bool on)
{
    const Kx_String key = propKey(module, property);
    int index = 0;
    const bool off = m_offProps.find(key, index);
    if (on == !off)
        return false;
    if (on)
        m_offProps.removeAt(index);
    else
        m_offProps.append(key);
    return true;
}

int CreatePreviewBMPs(int width, int height, const Kx_StringArray& files, const Kx_String& folder)
{
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024)
        return 0;
    Kx_String dir = folder;
    if (!dir.isEmpty() && !dir.endsWith("/") && !dir.endsWith("\\"))
        dir.append("/");
    int made = 0;
    for (const Kx_String& file : files) {
        const Kx_String name = removeExtension(getFileName(file));
        const Kx_String target = dir + name + ".bmp";
        if (name.isEmpty() || (fileExists(target) && !previewOutdated(file, dir, target)))
            continue;
        // A plain card: a frame and a band whose shade follows the name, so the thumbnails differ.
        unsigned hash = 2166136261u;
        for (char c : name.str())
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        kxwin::BitmapPixels pixels(width, height, RGB(255, 255, 255));
        const COLORREF band = RGB(60 + hash % 120, 90 + (hash >> 8) % 120, 140 + (hash >> 16) % 100);
        for (int y = height / 3; y < 2 * height / 3; ++y) {
            for (int x = width / 6; x < 5 * width / 6; ++x)
                pixels.setPixel(x, y, band);
        }
        for (int x = 0; x < width; ++x) {
            pixels.setPixel(x, 0, RGB(0, 0, 0));
            pixels.setPixel(x, height - 1, RGB(0, 0, 0));
        }
        for (int y = 0; y < height; ++y) {
            pixels.setPixel(0, y, RGB(0, 0, 0));
            pixels.setPixel(width - 1, y, RGB(0, 0, 0));
        }
        HBITMAP bitmap = kxwin::createBitmap(std::move(pixels));
        const std::vector<BYTE> bytes = kxwin::encodeBmp(bitmap);
        DeleteObject(bitmap);
        if (!bytes.empty()
            && kx::saveFileAtomically(target.str(),
                                      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
            ++made;
    }
    return made;
}
