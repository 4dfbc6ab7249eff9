// The module-wide registries of modeless dialogs: the table of open macro dialogs (a caller's handle
// is the slot number) with its deferred close, and the single constraint editor.
//
// The dialogs register themselves through the interfaces below, so this folder does not depend on
// the dialog folders.
#pragma once

#include "core/MacroData.h"
#include "frame/KxSsExport.h"
#include "platform/win/CWnd.h"

// What the table needs of a modeless macro dialog.
class KxMacroDialogHandle {
public:
    virtual ~KxMacroDialogHandle() = default;
    // The dialog's own copy of the macro data (its busy flag defers a close).
    virtual MacroData& macroData() = 0;
    // The dialog's window object; the table destroys the window and then the object through it.
    virtual CWnd& dialogWindow() = 0;
    // True while the dialog runs a nested loop (a sub-dialog, message box, menu or pick): a close
    // then waits as for a busy macro.
    virtual bool isRunningNested() const { return false; }
    // Cancels the nested prompt, message box or sub-dialog the dialog runs, if any (at unload, before
    // the dialog is destroyed under it).
    virtual void cancelNested() {}
};

// What the registry needs of the modeless constraint editor beside its window: the editor may be
// inside a prompt, a menu, a dialog or a drawing command of its own when it is asked to close.
class KxNestedCloseHandler {
public:
    virtual ~KxNestedCloseHandler() = default;
    // True when something nested runs: the editor notes the close and closes itself (through
    // EndDlgEditConstraints) once that returns. False when it can be closed now.
    virtual bool deferClose() = 0;
    // Cancels whatever nested prompt, menu or dialog runs, so that the editor can be destroyed under
    // it; the editor does nothing more when the nested call returns.
    virtual void cancelNested() = 0;
};

// Closes the dialog in the slot: false when the slot is empty or out of range or the window refuses
// to go. While the dialog's macro is busy the close is retried every 50 ms and true is returned.
KXSS_API bool EndDlgMacroModeless(int slot);
// Copies the open dialog's current data; false (data untouched) for an empty or bad slot.
KXSS_API bool GetDlgMacroData(int slot, MacroData& data);
// EndDlgMacroModeless on every slot, from the last to the first.
KXSS_API void DestroyAllMacroDlgs();
// Closes the modeless constraint editor, if one is open. While the editor runs a nested prompt,
// menu, dialog or drawing command, the close waits until that returns.
KXSS_API void EndDlgEditConstraints();

namespace kxss {

// Records the module's resource handle (its built-in dialog templates and bitmaps are registered
// under "kestra_ss"). Done when the module is attached; every launcher makes sure of it too.
void attachModule();

// The slot a new modeless macro dialog takes: the highest empty one, else a new one at the end.
int pickMacroDialogSlot();
// Stores an open dialog in its slot; the table owns it from here on.
void storeMacroDialog(int slot, KxMacroDialogHandle* dialog);
// The dialog in a slot, or null. Not owning.
KxMacroDialogHandle* macroDialogInSlot(int slot);
int macroDialogSlotCount();
int pendingMacroDialogCloses();

// At unload: every macro dialog goes, busy or not, each nested loop it runs cancelled first, and
// every pending close with its timer, so that nothing of the table outlives the module.
void destroyAllMacroDialogsAtUnload();

// The single modeless constraint editor: null when none is open. The registry owns it.
CWnd* constraintEditor();
void setConstraintEditor(CWnd* editor);
// At unload: cancels what the editor runs nested, then closes it at once.
void endConstraintEditorAtUnload();

// Work a subsystem wants done when the module unloads (after the dialogs are closed), such as
// dropping caches that hold windows. Subsystems add it when they are first used.
void addUnloadStep(void (*step)());
void runUnloadSteps();

// Shared button bitmaps 8134 and 8136, loaded when the module loads; null before.
HBITMAP sharedButtonBitmap(int resourceId);
void loadSharedBitmaps();
void freeSharedBitmaps();

} // namespace kxss
