// The core module's dialog functions: filling lists, enabling and showing controls, finding a
// dialog's owner, and keeping dialog sizes and places between runs. The resizer lives in CResizer.h,
// the small shared dialogs in PromptDialog.h, InfoDialog.h and FileDialog.h.
//
// Every function takes the dialog as a window object and does nothing (returning false or null) for
// a null pointer, a dead window or a control id the dialog does not have.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/win/CWnd.h"

namespace kxcore {

// Where the dialog sizes are kept: one value per size key under HKEY_CURRENT_USER.
inline constexpr const char* kDialogSizesKey = "Software\\Kestra\\Core\\Dialog Sizes";
// A stored size is a REG_BINARY of this many bytes: left, top, right and bottom of the window in
// screen pixels, each a 32-bit signed little-endian integer. A value of any other type or size is
// ignored as damaged.
inline constexpr int kDialogSizeValueBytes = 16;

} // namespace kxcore

// Empties the combo box (or list box) `id` and adds the texts of `list` in the list's order, also
// when the control sorts its entries. Nothing is selected afterwards. False when the control is
// missing, is neither a combo box nor a list box, or refused an entry.
KXCORE_API bool FillCombo(CWnd* dlg, int id, const Kx_StringArray& list);
// As above, then selects entry `selection`; an index outside the list selects nothing.
KXCORE_API bool FillCombo(CWnd* dlg, int id, const Kx_StringArray& list, int selection);
// As above, then selects the entry equal to `text` (first match, case ignored as the control
// matches). A combo box with an edit that has no such entry shows `text` in its edit; a drop-down
// list shows no selection.
KXCORE_API bool FillCombo(CWnd* dlg, int id, const Kx_StringArray& list, const Kx_String& text);

// The same for a list box (a combo box is filled as well).
KXCORE_API bool FillList(CWnd* dlg, int id, const Kx_StringArray& list);
KXCORE_API bool FillList(CWnd* dlg, int id, const Kx_StringArray& list, int selection);

// Enables (on) or disables control `id`. False when the dialog has no such control.
KXCORE_API bool EnDisCtrl(CWnd* dlg, int id, bool on);
// Shows (on) or hides control `id`. False when the dialog has no such control.
KXCORE_API bool ShowOrHideCtrl(CWnd* dlg, int id, bool on);

// The dialog a page or a modeless dialog belongs to. For a child window (a page inside a tab
// control, a child dialog), the nearest enclosing dialog window, or the top-level window when no
// dialog encloses it. For a top-level window, its owner (the host's main window for the module's
// modeless dialogs). Null when there is none.
KXCORE_API HWND getDlgOwnerWindow(HWND dlg);
// The window object of getDlgOwnerWindow; null when that window has none (the host's main window has
// no object). Not owning.
KXCORE_API CWnd* getDlgOwner(const CWnd* dlg);

// The dialog's current size in pixels: with clientArea false the whole window, with clientArea true
// its client area. (Windows of this layer draw no frame, so both are the same here; callers written
// for framed windows keep their meaning.) False, w and h unchanged, for a dead window.
KXCORE_API bool getDlgSize(CWnd* dlg, int& w, int& h, bool clientArea = false);

// Restores the size and place stored under `key` (WriteDlgSize) and returns true; false, the dialog
// unchanged, when nothing usable is stored.
//   sizeOnly false: the dialog gets the stored size and place.
//   sizeOnly true:  the dialog gets the stored size and is centred on its owner (the screen when it
//                   has none), as it opened; for sub-dialogs that must come up over the dialog that
//                   opened them.
// The size is raised to the dialog's template size (its minimum) and cut down to the screen; the
// place is moved the least distance that puts the whole dialog on the screen, so a dialog stored on a
// screen that is gone comes back. A child window gets the stored size only. The dialog's WM_SIZE
// handling (its resizer) runs as for any other resize.
KXCORE_API bool ChangeDlgSize(CWnd* dlg, const Kx_String& key, bool sizeOnly);
// Stores the dialog's size and place under `key`, replacing what was there. False when the window
// is dead or empty, the key is empty, or the registry refused.
KXCORE_API bool WriteDlgSize(CWnd* dlg, const Kx_String& key);
