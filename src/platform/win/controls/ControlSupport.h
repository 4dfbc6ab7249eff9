// Private to the standard controls: UTF-8 text handling, case-insensitive matching, the way a
// control notifies its parent, and the headless metrics controls use to turn pixels into items and
// characters. Nothing outside platform/win includes this.
#pragma once

#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"
#include "platform/win/Window.h"

#include <functional>
#include <string>
#include <string_view>

namespace kxwin::detail {

// Headless metrics: the 8-point dialog font's character cell is 6 x 13 pixels (Resources.h), and
// every control measures text with it so that a click at a pixel lands where a person expects.
inline constexpr int kCharWidth = 6;
inline constexpr int kLineHeight = 13;

// --- UTF-8 ------------------------------------------------------------------------------------------
// Texts are UTF-8, but a program may put any bytes into a control. Editing works on code points;
// a byte that does not start a valid sequence becomes one "character" of its own (kept as a code
// point in U+DC80..U+DCFF, which typing can never produce) and is written back as the same byte,
// so a text goes through a control unchanged and a multi-byte character is never split.
std::u32string decodeLossless(std::string_view text);
std::string encodeLossless(std::u32string_view text);
// The UTF-8 form of a typed code point; empty for surrogates and values beyond U+10FFFF.
std::string encodeCodePoint(char32_t cp);
size_t countChars(std::string_view text);
// The longest prefix of `text` that ends on a character boundary and has at most maxBytes bytes.
size_t fittingPrefix(std::string_view text, size_t maxBytes);
// Copies `text` into a caller's buffer of `size` bytes with its terminating zero, cutting at a
// character boundary. Returns the bytes copied (without the zero); 0 for a null buffer or size 0.
LRESULT copyTextOut(std::string_view text, char* buffer, size_t size);

// Simple case mapping for Latin, Greek and Cyrillic letters: what matching and ES_UPPERCASE use.
char32_t foldCase(char32_t cp);
char32_t upperCase(char32_t cp);
std::u32string toUpper(std::u32string text);
std::u32string toLower(std::u32string text);
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Item search shared by list boxes and combo boxes: from the item after `start` to the end, then
// from the first up to `start` (start -1: all items from the first). -1 when nothing matches.
int findItem(int count, int start, const std::function<const std::string&(int)>& textAt, std::string_view what,
             bool exact);
// Where a new item goes in a list sorted without regard to case (after equal items).
int sortedPosition(int count, const std::function<const std::string&(int)>& textAt, std::string_view text);
// The text a message's lParam points at; empty for a null pointer.
inline std::string_view textParam(LPARAM lParam)
{
    const char* p = reinterpret_cast<const char*>(lParam);
    return p ? std::string_view(p) : std::string_view();
}

// --- Notifications -------------------------------------------------------------------------------
// WM_COMMAND with MAKEWPARAM(id, code) and the control's handle, to the parent (or owner).
// The parent may destroy the control meanwhile: callers check IsWindow before touching its state.
void notifyCommand(HWND control, WORD code);
// WM_NOTIFY with the header filled in (hwndFrom, idFrom, code). Returns the parent's answer.
LRESULT notifyParent(HWND control, int code, NMHDR& header);

inline bool keyIsDown(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}
inline DWORD styleOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
}
// True when WM_GETDLGCODE's lParam is Enter or Escape (key or character): what an open drop-down
// list claims from the dialog, which keeps Tab and everything else.
inline bool isEnterOrEscape(LPARAM dlgCodeParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(dlgCodeParam);
    if (msg == nullptr)
        return false;
    if (msg->message == WM_KEYDOWN)
        return msg->wParam == static_cast<WPARAM>(VK_RETURN) || msg->wParam == static_cast<WPARAM>(VK_ESCAPE);
    if (msg->message == WM_CHAR)
        return msg->wParam == '\r' || msg->wParam == 0x1B;
    return false;
}
inline POINT pointFrom(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace kxwin::detail
