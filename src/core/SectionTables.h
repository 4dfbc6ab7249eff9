// The section tables of the library (library/sections/*.tsv: a "name" column and columns such as
// h_mm, b_mm, tw_mm, tf_mm, mass_kg_m): the sizes and masses the core's drawing model and bills
// are built from. Read once per folder and process; library data does not change while the module
// runs.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"

#include <optional>
#include <string>
#include <string_view>

namespace kxcore {

// A section's sizes in mm and its mass in kg/m; 0 where its table has no such column or no number.
struct SectionSize {
    double h = 0, b = 0, tw = 0, tf = 0, massPerMetre = 0;
};

// "HE 200 A" and "hea200" meet as "HEA200": blanks dropped, letters upper case, and the letter after
// an HE size moved before it, as drawings name wide-flange beams.
KXCORE_API std::string sectionKey(std::string_view name);

// The section of that name in the tables of folder (empty: the library's "sections" folder);
// nothing for a name no table lists. Rows whose every value is missing or not a number are skipped.
KXCORE_API std::optional<SectionSize> sectionSize(std::string_view name, const Kx_String& folder = Kx_String());

} // namespace kxcore
