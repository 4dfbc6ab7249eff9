// ZnMacroTabFocus: where the keyboard focus was on a macro page when its tab was left, so that
// coming back (or a rebuild of the pages) puts it there again. Kept per tab by module name.
#pragma once

#include "core/Kx_String.h"

struct ZnMacroTabFocus {
    enum Kind : int {
        kNothing = 0,
        kEditSelection = 1, // a layout edit of the bolt-count kind, with its selection
        kGridCell = 2,      // the page's grid, at a cell
        kControl = 3,       // another control of the page (an edit gets all its text selected)
    };
    Kx_String moduleName;
    int kind = kNothing;
    int ctrlId = 0;
    int col = 0;
    int row = 0;
    int selStart = 0;
    int selEnd = 0;
};
