// Fuzz target of the layout reader: any bytes give a layout (or, for text that is not UTF-8 at all,
// leave it as it was) without crashing; a layout read once is written, read again and written again
// to the same text; and its tab order numbers every editable control exactly once.
#include "designer/DesignerState.h"
#include "designer/Kx_DlgDesignerData.h"
#include "core/FileIO.h"
#include "platform/host/CommandLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool linesFit(std::string_view text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end - start > kx::kMaxTextLineBytes)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    Kx_DlgDesignerData layout;
    Kx_DesignerControl sentinel;
    sentinel.setContents("sentinel");
    layout.append(sentinel);
    int skipped = -1;
    const bool read = layout.readFromText(text, "fuzz", &skipped);
    // Whatever was printed on the host's command line is dropped, so that it cannot pile up.
    kxhost::takeCommandLineText();
    if (!read) {
        if (layout.getNrControls() != 1 || layout.getControl(0)->getContents() != "sentinel")
            std::abort();
        return 0;
    }
    if (skipped < 0 || layout.getNrControls() > kxdesigner::kMaxLayoutControls)
        std::abort();
    for (int i = 0; i < layout.getNrControls(); ++i) {
        const int id = layout.getControl(i)->getResourceId();
        if (id != (i < 100 ? kDesignerFirstResourceId + i : 0))
            std::abort();
    }

    // Written and read again, the layout is stable: the merged combo lists have taken their form.
    const std::string once = layout.toText();
    if (linesFit(once)) {
        Kx_DlgDesignerData again;
        if (!again.readFromText(once, "written", &skipped) || skipped != 0)
            std::abort();
        if (again.getNrControls() != layout.getNrControls() || again.toText() != once)
            std::abort();
        kxhost::takeCommandLineText();
    }

    // Every editable control gets one place in the keyboard order: 1, 2, ... without gaps.
    layout.sortAllControls();
    std::vector<int> orders;
    for (int i = 0; i < layout.getNrControls(); ++i) {
        const Kx_DesignerControl& c = *layout.getControl(i);
        const Kx_ControlType t = c.getType();
        if (isKnownControlType(t) && t != Kx_ControlType::Label && t != Kx_ControlType::Frame)
            orders.push_back(c.getTabOrder());
        else if (c.getTabOrder() != 0)
            std::abort();
    }
    std::sort(orders.begin(), orders.end());
    for (size_t k = 0; k < orders.size(); ++k) {
        if (orders[k] != static_cast<int>(k) + 1)
            std::abort();
    }
    return 0;
}
