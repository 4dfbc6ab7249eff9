// DlgSelectProf: the core module's profile chooser (template 8072): a group of section types, a
// section type of the group, one of the library's tables of that type and one of its active sizes.
// The catalogue is SectionCatalogue.h's, the tables are the library's prof folder's.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "platform/win/WinTypes.h"

namespace kxcore {

// The template and its controls, for scripts that drive the dialog.
inline constexpr int kSelectProfDialogId = 8072;
inline constexpr int kSelectProfGroupId = 1001;
inline constexpr int kSelectProfTypeId = 1002;
inline constexpr int kSelectProfTableId = 1003;
inline constexpr int kSelectProfSizeId = 1004;

} // namespace kxcore

struct KXCORE_API DlgSelectProfData {
    // The profile shown when the chooser opens ("HEA-200"); empty or unknown: the first group.
    Kx_String unknownName;
    // After OK: the chosen profile, table name, '-', size name ("HEB-300").
    Kx_String profName;
};

// Runs the chooser modally. withTables shows the table list (false: the first table of the type is
// taken). True on OK with a size chosen, data.profName set; false on Cancel, data untouched.
KXCORE_API bool DlgSelectProf(DlgSelectProfData& data, bool withTables, HWND owner = nullptr);
