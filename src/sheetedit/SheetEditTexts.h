// Numbers of the texts the spreadsheet editing support prints (resources/text/*/dialstrings.txt,
// section "Spreadsheet settings"). Private to src/sheetedit.
#pragma once

namespace kxsheet {

inline constexpr int kTextCannotSaveSettings = 2461;   // Cannot save the settings
inline constexpr int kTextSeparatorInSetting = 2462;   // the character "¤" ... in the setting
inline constexpr int kTextNotInCodePage = 2463;        // ... a character settings files cannot hold ...
inline constexpr int kTextMalformedSetting = 2464;     // a NUL byte or malformed text ...
inline constexpr int kTextNameOutsideFolder = 2465;    // the name leads out of the settings folder
inline constexpr int kTextCannotStoreInSheet = 2466;   // Cannot store the settings in the sheet

} // namespace kxsheet
