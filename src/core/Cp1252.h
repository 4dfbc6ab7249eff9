// Windows-1252, the single-byte code page in which peer installations write their library and
// settings files, against the UTF-8 the program holds.
#pragma once

#include "core/KxCoreExport.h"

#include <optional>
#include <string>
#include <string_view>

namespace kx {

// Every byte as its Windows-1252 character, in UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as the platform's
// own conversion does, so every byte reads and writes back unchanged.
KXCORE_API std::string windows1252ToUtf8(std::string_view bytes);
// The byte of code point c, or nothing when the code page has no such character.
KXCORE_API std::optional<unsigned char> windows1252Byte(char32_t c);

} // namespace kx
