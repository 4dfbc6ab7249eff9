#include "sheetedit/SheetPreparation.h"

void prepareEditorSheet(HWND, const Kx_String&, bool, SheetSettings*) {}
