// Private messages through which the user agent (and the Qt backend) hand a control what a person
// did to it, so that the control reacts and notifies exactly as for real input.
#pragma once

#include "platform/win/WinTypes.h"

// The user chose item wParam (combo box, list box, tab, list view): select it and notify.
inline constexpr UINT KXM_USER_PICK = 0x7F01;
// The user double-clicked item wParam (list box, list view).
inline constexpr UINT KXM_USER_DBLCLK = 0x7F02;
// The user toggled the check mark of item wParam (check-mark drop-downs, check lists).
inline constexpr UINT KXM_USER_TOGGLE_ITEM = 0x7F03;
// The user opened (wParam TRUE) or closed the drop-down list.
inline constexpr UINT KXM_USER_DROPDOWN = 0x7F04;
