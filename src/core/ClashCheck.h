// Clash checks of the macro dialogs: the parts of the edited macros against every part the core
// placed in the drawing. A clash is a real overlap of two parts (bolts pass through the plates and
// flanges they fasten, but not through a web or another bolt), or a bolt whose hole is not wholly
// inside its plate. Clashing objects are marked in the drawing and listed in its request log. Checking
// can be switched off; the switch lives as long as the module.
#pragma once

#include "core/KxCoreExport.h"
#include "core/MacroDrawing.h"

// A macro dialog opened (index: its modeless slot, -1 modal) / closed.
KXCORE_API void clashInitDlgStarted(int index);
KXCORE_API void clashDlgClosed(int index);
// The macros (module ids) the dialog checks from now on; their old marks are taken back.
KXCORE_API void clashResetInfo(int index, const AcArray<AcDbObjectId>& moduleIds);
// Checks the macros; true when the check ran (false when checking is off or the call was refused).
KXCORE_API bool clashcheck(int index, const AcArray<AcDbObjectId>& moduleIds);
// The on/off switch, on when the module loads.
KXCORE_API bool clashGetStatus(bool& on);
KXCORE_API bool clashSetStatus(bool on);

namespace kxcore {

struct Clash {
    AcDbObjectId first;
    AcDbObjectId second;
    std::string why;
    friend bool operator==(const Clash&, const Clash&) = default;
};

// The clashes of the given macros' parts with every placed part, each pair once.
KXCORE_API std::vector<Clash> findClashes(const std::vector<PlacedMacro*>& macros,
                                          const std::vector<PlacedMacro*>& all);
// What the last check of a dialog found.
KXCORE_API std::vector<Clash> lastClashes(int index);

} // namespace kxcore
