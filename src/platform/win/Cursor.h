// The mouse cursor: the system's standard cursors by their ids, and the one cursor shown now. The
// headless backend only records it (tests read it back); a mirroring backend shows it, told through
// WindowObserver::cursorChanged.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

// The standard cursors, by the ids the desktop framework gives them.
inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_CROSS = 32515;
inline constexpr int IDC_SIZENWSE = 32642;  // the diagonal from top left to bottom right
inline constexpr int IDC_SIZENESW = 32643;  // the diagonal from top right to bottom left
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;   // move

// A standard cursor (instance null); its handle is shared and never destroyed. Null for an instance
// or an id this layer does not have.
KXWIN_API HCURSOR LoadCursor(HINSTANCE instance, int cursorId);
// Shows `cursor` (null hides it) and returns the one shown before.
KXWIN_API HCURSOR SetCursor(HCURSOR cursor);
KXWIN_API HCURSOR GetCursor();
// Where the mouse is, in screen pixels: where the scripted user or the mirroring backend last put
// it, before the window under it is asked for its cursor (WM_SETCURSOR).
KXWIN_API BOOL GetCursorPos(POINT* point);
KXWIN_API BOOL SetCursorPos(int x, int y);

namespace kxwin {

// The standard cursor id of a handle from LoadCursor; 0 for null or anything else.
KXWIN_API int cursorId(HCURSOR cursor);

} // namespace kxwin
