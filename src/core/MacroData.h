// MacroData: the editable state of one connection macro as the add-on's modules hand it to the
// macro dialogs. Each dialog works on its own copy; the caller's object is touched only when the
// launcher copies back or the caller asks for the data.
//
// The fields here are the ones the dialog frame needs; the macro dialogs add the tabs, cells and the
// rest of the macro's parts.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"

class KXCORE_API MacroData {
public:
    // Window caption of the macro dialog.
    Kx_String title;
    // Set by the core module while it works on the macro: a modeless close is deferred meanwhile.
    bool busy = false;
    // Set in the dialog's copy when the dialog is closed, so the caller sees how it ended.
    bool closed = false;

    bool isBusy() const { return busy; }
    void setBusy(bool on) { busy = on; }
    bool isClosed() const { return closed; }
    void setClosed(bool on) { closed = on; }

    friend bool operator==(const MacroData&, const MacroData&) = default;
};

// EditConstrData: what the constraint editor edits for one macro module.
class KXCORE_API EditConstrData {
public:
    // The macro whose constraints are edited.
    AcDbObjectId macroId;
    // The module shown first and the modules of the macro.
    Kx_String currentModule;
    Kx_StringArray moduleNames;

    friend bool operator==(const EditConstrData&, const EditConstrData&) = default;
};
