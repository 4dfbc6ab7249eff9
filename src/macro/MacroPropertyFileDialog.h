// The macro dialog's property files as the filtered open/save dialog offers them: which files of the
// property folder fit the macro, whether a chosen file can be read, and the sample the program shows.
// Reading and writing the values is MacroData's (core/MacroPropertyFiles.cpp).
#pragma once

#include "core/MacroData.h"
#include "detailing/ZnDlgOpenSaveFiltered.h"
#include "frame/KxSsExport.h"

#include <string>

// The dialog's data for the macro's property files: the folder and proposed name of getPropFiles,
// every property file of the folder (all) and those holding a value for one of the macro's modules
// (filtered), names without their extension. False when property files may not be used (reason set).
bool propertyFileDialogData(const MacroData& data, bool save, ZnOpenSaveFilteredData& files, Kx_String& reason);

// Whether the file at path reads as a property list; false with the reader's message in error.
bool propertyFileReadable(const Kx_String& path, std::string& error);

namespace kxss {

// The property-file dialog of the first sample macro on the library's "Macro Properties" folder, in
// the open or the save mode, for the snapshot and the workbench. True on OK; nothing is read or
// written either way.
KXSS_API bool runPropertyFileDialogSample(bool save) noexcept;

} // namespace kxss
