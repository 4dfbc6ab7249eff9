// The core module's dialog functions: filling lists, enabling and showing controls, finding a
// dialog's owner, and keeping dialog sizes and places between runs. The resizer lives in CResizer.h,
// the small shared dialogs in PromptDialog.h, InfoDialog.h and FileDialog.h.
// Also: the flags a dialog keeps between runs beside its size, moving a control's edges, and the
// picture check box of the tool rows.
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
// A dialog's flags (readDlgRegBool, writeDlgRegBool) are REG_DWORD values (0 or 1) in a sub-key of
// kDialogSizesKey named after the dialog's size key: "...\Dialog Sizes\DLG_SELECT_MACRO", value
// "LARGE_DLG". A '\' in a dialog key makes a deeper sub-key; read and write agree on it.

} // namespace kxcore

class CButtonST;

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

// A flag the dialog keeps between runs, stored beside its size under the same key (see
// kxcore::kDialogSizesKey). Reading gives true and sets `value` when the flag is stored; false, with
// `value` unchanged, when it is not, when the stored value is not a 4-byte REG_DWORD (damaged or
// foreign; any non-zero number reads as true), or when a name is empty. Writing replaces the flag;
// false when a name is empty or the registry refused (a key path past its 255 characters).
KXCORE_API bool readDlgRegBool(const Kx_String& dialogKey, const Kx_String& valueName, bool& value);
KXCORE_API bool writeDlgRegBool(const Kx_String& dialogKey, const Kx_String& valueName, bool value);

// Moves each edge of control `id` by its delta in pixels of the dialog's client area: the same delta
// for top and bottom moves the control down (positive) or up, a delta for the top alone makes it
// taller (negative) or shorter. False, the control unchanged, when the dialog has no such control or
// the control would get a negative width or height. The control's window gets WM_SIZE as for any
// resize; a resizer attached to the dialog keeps the old place until it is attached again.
KXCORE_API bool resizeCtrl(CWnd* dlg, int id, int dLeft, int dTop, int dRight, int dBottom);

// Makes control `id` (a button of the dialog's template) the picture check box of the tool rows:
// a push-like check box that checks and unchecks itself on each click, taken over by `button`
// (which must not hold a window yet), showing icon `iconId` of the current resources, flat, without
// the focus rectangle of flat buttons, with `tooltip` as its tip when that is not empty. The check
// state is the caller's to set. False, nothing changed, when the control is missing or is not a
// button, the icon is not in the current resources, or `button` already holds a window.
KXCORE_API bool CreateImageCheck(CWnd* dlg, int id, CButtonST& button, int iconId, const Kx_String& tooltip);
