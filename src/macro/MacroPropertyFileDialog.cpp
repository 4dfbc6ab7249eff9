// Property files of a macro in the filtered open/save dialog.
#include "macro/MacroPropertyFileDialog.h"

#include "core/FileIO.h"
#include "core/Kx_PropertiesList.h"
#include "core/MacroDrawing.h"
#include "core/Paths.h"
#include "frame/Launcher.h"

namespace {

constexpr const char* kExtension = ".kxp";

bool readList(const Kx_String& path, Kx_PropertiesList& list, std::string& error)
{
    std::string bytes;
    return kx::readFileBytes(path.str(), kx::kMaxTextFileBytes, bytes, error)
        && list.readFromText(bytes, path.str(), error);
}

// A file fits the macro when one of its values is keyed by a module the macro has ("module|item").
bool fitsMacro(const Kx_PropertiesList& list, const MacroData& data)
{
    for (const Kx_String& name : list.getNames()) {
        int bar = 0;
        if (name.findLast("|", /*exact=*/true, bar) && data.tabOfModule(name.getSubStringAt(0, bar)) != nullptr)
            return true;
    }
    return false;
}

} // namespace

bool propertyFileReadable(const Kx_String& path, std::string& error)
{
    Kx_PropertiesList list;
    return readList(path, list, error);
}

bool propertyFileDialogData(const MacroData& data, bool save, ZnOpenSaveFilteredData& files, Kx_String& reason)
{
    if (!data.propListAllowed(reason))
        return false;
    Kx_String folder, proposed;
    Kx_StringArray names, descriptions;
    if (!data.getPropFiles(folder, proposed, names, descriptions))
        return false;
    files = ZnOpenSaveFilteredData();
    files.save = save;
    files.folder = folder;
    files.extension = kExtension;
    files.name = removeExtension(proposed);
    for (const Kx_String& fileName : names) {
        const Kx_String name = removeExtension(fileName);
        files.all.append(name);
        Kx_PropertiesList list;
        std::string unused;
        // A damaged file is still listed in full, so that it can be seen and deleted.
        if (readList(files.pathOf(name), list, unused) && fitsMacro(list, data))
            files.filtered.append(name);
    }
    // Opening proposes a name only when there is such a file.
    if (!save && !files.all.contains(files.name, /*exact=*/false))
        files.name.clear();
    // With nothing offered for this macro, every file shows at once.
    files.showAll = files.filtered.isEmpty() && !files.all.isEmpty();
    return true;
}

bool kxss::runPropertyFileDialogSample(bool save) noexcept
{
    return runLauncher("runPropertyFileDialogSample", false, [&] {
        const MacroData macro = kxcore::sampleMacroData(0);
        ZnOpenSaveFilteredData files;
        Kx_String reason;
        if (!propertyFileDialogData(macro, save, files, reason))
            return false;
        return runOpenSaveFiltered(files, nullptr);
    });
}
