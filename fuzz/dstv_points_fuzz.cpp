// Fuzz target of the DSTV point group reader: any bytes give points or a refusal; points that were
// read are written and read back the same.
#include "core/DstvPoints.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Kx_Array<Kx_DstvPointInfo> points;
    std::string error;
    if (!kx::parseDstvPoints(bytes, points, error))
        return 0;
    std::string text;
    if (!kx::formatDstvPoints(points, text, error))
        return 0;  // a name holding a NUL byte: refused, never written
    Kx_Array<Kx_DstvPointInfo> again;
    if (!kx::parseDstvPoints(text, again, error) || !(again == points))
        std::abort();
    return 0;
}
