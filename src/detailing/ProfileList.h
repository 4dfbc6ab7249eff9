// ProfileList: the profile drop-down list of the detailing and macro dialogs. The list shows display
// names; behind every entry it keeps the full profile name, so that what is read back is always a
// profile name and never a display text or the "choose another" entry.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/win/WinTypes.h"

// The user name of a table profile (Kx_SectionTableManager::getUserName), or the name itself when
// the manager has none.
KXSS_API Kx_String profileDisplayName(const Kx_String& name);

// Fills the combo box with the choices for the current profile and selects it. profiles receives the
// profile name behind each entry, in list order; the last entry (text 695 of the core's table, the
// choice of another profile) has the empty name.
// - A user section ("User Sections\" prefix): the section's name without the prefix and extension.
// - A table profile ("HEA-200"): the active sizes of the table ("HEA.pr" in the library's prof
//   folder) by their display names, and the current profile at its place even when it is inactive.
//   When the table cannot be read, only the choice entry.
// False when combo is not a window.
KXSS_API bool fillProfileList(HWND combo, const Kx_String& current, Kx_StringArray& profiles);

// The profile name behind the combo's selected entry. False (profile untouched) for the choice
// entry, no selection, or a list that does not match profiles.
KXSS_API bool selectedProfile(HWND combo, const Kx_StringArray& profiles, Kx_String& profile);

// Runs the core module's profile chooser (DlgSelectProf) starting at name. On OK name becomes the
// chosen profile, with the library folder removed from its front when it starts with it, and the
// result is true; on Cancel name is unchanged and the result is false.
KXSS_API bool selectProfile(Kx_String& name, HWND owner = nullptr);

// selectProfile, and on OK fillProfileList of the combo with the new name.
KXSS_API bool selectProfileAndFill(HWND combo, Kx_String& name, Kx_StringArray& profiles);
