// Section pictures and their fall-backs.
#include "detailing/SectionPictures.h"

#include "core/CButtonST.h"
#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/SectionCatalogue.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace {

const Kx_String kUserSections = "User Sections\\";

std::optional<std::filesystem::file_time_type> modified(const std::string& path)
{
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    return time;
}

bool isUserSection(const Kx_String& name)
{
    return name.startsWith(kUserSections, /*exact=*/false) || name.startsWith("User Sections/", /*exact=*/false);
}

} // namespace

Kx_String iconFolder()
{
    return Kx_Settings::resourceDir() + "icons/";
}

bool userSectionPicture(const Kx_String& name, Kx_String& path)
{
    if (name.isEmpty())
        return false;
    const auto source = kx::resolveUnderRoot((Kx_Settings::libDir() + "User Sections").view(), (name + ".bmp").view());
    const auto target = kx::resolveUnderRoot(iconFolder().view(), (name + "-automated.bmp").view());
    if (!source || !target || !fileExists(Kx_String(*source)))
        return false;
    const auto sourceTime = modified(*source);
    const auto targetTime = fileExists(Kx_String(*target)) ? modified(*target) : std::nullopt;
    if (!sourceTime)
        return false;
    if (!targetTime || *targetTime < *sourceTime) {
        // Only a copy that really happened makes the picture usable.
        if (!copyFile(Kx_String(*source), Kx_String(*target)))
            return false;
    }
    path = Kx_String(*target);
    return true;
}

Kx_String sectionPicture(const SectionPictureRequest& request)
{
    const Kx_String suffix = request.big ? "-big.bmp" : "-small.bmp";
    const Kx_String folder = iconFolder();
    Kx_String base;
    bool user = false;
    if (request.drawingFile.isEmpty()) {
        base = request.name;
        if (isUserSection(base)) {
            base.removeAt(0, kUserSections.length());
            user = true;
        }
    } else if (request.drawingFile.endsWith(".dwg", /*exact=*/false)) {
        base = getFileName(request.drawingFile);
    } else {
        base = sectionTypeName(request.type);
    }
    if (!base.isEmpty()) {
        const auto picture = kx::resolveUnderRoot(folder.view(), (base + suffix).view());
        if (picture && fileExists(Kx_String(*picture)))
            return Kx_String(*picture);
    }
    if (user && !request.big) {
        Kx_String automated;
        if (userSectionPicture(base, automated))
            return automated;
    }
    return folder + "Unknown" + suffix;
}

bool setButtonPicture(CButtonST& button, const Kx_String& file, bool greyBackground)
{
    const auto path = kx::resolveUnderRoot(iconFolder().view(), file.view());
    if (!path)
        return false;
    const COLORREF transparent = greyBackground ? RGB(192, 192, 192) : RGB(255, 255, 255);
    if (!button.SetBitmapFile(*path, transparent))
        return false;
    button.SetDisabledLook(CButtonST::DisabledLook::FadedColour);
    button.DrawBorder(false);
    button.SetFlat(true);
    return true;
}
