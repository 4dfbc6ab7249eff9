// SectionPictures: which picture shows a section (by its name, its drawing or its section type),
// with the fall-backs to a user section's automatic picture and to "Unknown"; and the loading of
// button pictures from the icon folder. The catalogue itself (type numbers, picture names) is the
// core module's (core/SectionCatalogue.h).
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

class CButtonST;

// What sectionPicture is asked about.
struct SectionPictureRequest {
    // A profile or section name; user sections start with "User Sections\".
    Kx_String name;
    // The section's drawing file, or empty. Only its file name counts, never its folder.
    Kx_String drawingFile;
    // The section type number (1 to 24 in the catalogue).
    int type = 0;
    bool big = true;
};

// The folder of the section and button pictures: the resource folder followed by "icons/".
KXSS_API Kx_String iconFolder();

// The full path of the picture to show. The base name is: without a drawing file, the section's name
// (with a leading "User Sections\" removed); with a drawing file ending in ".dwg", that file's name;
// otherwise the catalogue's picture name of the type. The picture is the icon folder's
// base + "-big.bmp" or "-small.bmp" when that file exists; for a small picture of a user section,
// else its automatic picture (userSectionPicture); else the icon folder's "Unknown-big.bmp" or
// "Unknown-small.bmp". A base name that would lead out of the icon folder counts as missing.
KXSS_API Kx_String sectionPicture(const SectionPictureRequest& request);

// Makes sure the automatic picture of user section `name` exists: the library's
// "User Sections/<name>.bmp" copied to the icon folder's "<name>-automated.bmp" when the copy is
// missing or older than the source. True with path set to the copy when the copy was made or an
// up-to-date copy exists; false (path untouched) when the source is missing, the copy failed, or
// either path would lie outside its folder.
KXSS_API bool userSectionPicture(const Kx_String& name, Kx_String& path);

// Loads `file` of the icon folder onto a flat picture button without border, with white (or, when
// greyBackground, light grey 192, 192, 192) as the transparent colour and the disabled look drawn
// from the picture in colour. False, the button unchanged, when the picture cannot be loaded.
KXSS_API bool setButtonPicture(CButtonST& button, const Kx_String& file, bool greyBackground);
