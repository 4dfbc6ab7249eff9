// Fuzz target of the dialog template reader: any bytes either fail with a line and a reason, or give
// templates that write out and read back equal.
#include "platform/win/ResourceScript.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kxwin::ResourceScriptError error;
    const auto dialogs = kxwin::parseDialogTemplates(text, error);
    if (!dialogs) {
        if (error.message.empty() || error.line < 1)
            std::abort();
        return 0;
    }
    for (const DialogTemplate& dialog : *dialogs) {
        kxwin::ResourceScriptError again;
        const auto reread = kxwin::parseDialogTemplates(kxwin::formatDialogTemplate(dialog), again);
        if (!reread || reread->size() != 1 || !(reread->front() == dialog))
            std::abort();
    }
    return 0;
}
