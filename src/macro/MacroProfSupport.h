// What the profile pages, the standard page's profile controls and the profile launchers share.
// Private to the macro folder.
#pragma once

#include "core/Kx_String.h"
#include "core/MacroData.h"
#include "designer/Kx_DlgDesignerData.h"
#include "macro/ZnMACallBackData.h"
#include "platform/host/AcDb.h"

class ZnDlgMacro;

namespace kxss {

// Erases a temporary object of a macro; false (and nothing logged as erased) when the object is
// gone already, so a temporary object is erased once however often it is asked.
bool eraseTemporaryObject(AcDbObjectId id);

// The callback of StartDlgMacroProfAdv on the callback data's own macro data: get and set the
// group's merged properties; a set updates the drawing with {-13}. False without macro data, tab or
// group.
bool macroDataProfileCallback(ZnMACallBackType kind, const ZnMACallBackData& data, MacroProfData& prof);

// An angle text as degrees ("90", "90°", " 90 "); false for words, text 695 and empty texts.
bool angleNumber(const Kx_String& text, double& degrees);
// A number as the macro records hold it: whole numbers without decimals ("-150"), others with
// `decimals`.
Kx_String numberText(double v, int decimals);
// The profile selection's answer ("HEA-220": table, '-', size) as a profile and a section class
// name of the macro records ("HEA220", "HEA"); a name without a table part is the profile as it is
// and leaves the class alone.
void splitChosenProfile(const Kx_String& chosen, Kx_String& profile, Kx_String& sectionClass);
// The name the profile selection starts from for a profile ("HEA200" of class "HEA": "HEA-200");
// empty when the class is unknown or differs.
Kx_String selectionStartName(const MacroProfData& prof);

// The profiles a section list offers for a group: every profile name of the tab, the merged one
// among them, and text 695 last (to keep the profiles' own when they differ).
Kx_StringArray offeredProfiles(const MacroTabData& tab, const MacroProfData& merged);
// The angle list: "0°", "90°", "180°", "270°" and text 695.
Kx_StringArray angleTexts();
// An angle as a list shows it: "90" -> "90°"; text 695 as it is.
Kx_String angleShown(const Kx_String& angle);

// The layout controls of types 13, 15 and 16 of a page: their values from the merged group
// properties, and read back into them. A text that is unchanged, empty or text 695 writes nothing.
void showProfileControls(const MacroTabData& tab, Kx_DlgDesignerData& layout);
void readProfileControls(MacroTabData& tab, const Kx_DlgDesignerData& layout);

// A profile group's buttons on a page of the macro dialog.
// The section of the group chosen with the profile selection; on OK written and sent to the drawing.
void selectGroupSection(ZnDlgMacro& dialog, int tabIndex, const Kx_String& group, HWND owner);
// The advanced dialog on the group, applying through the page's difference-and-update step; the
// macro dialog is hidden while the user picks. Afterwards the temporary object, when given, is
// erased (once: it is set to null).
void runGroupAdvanced(ZnDlgMacro& dialog, int tabIndex, const Kx_String& group, HWND owner, bool openMode,
                      AcDbObjectId* temporary = nullptr);

} // namespace kxss
