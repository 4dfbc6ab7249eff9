// The clipboard (text only, CF_TEXT holding UTF-8) over the backend's clipboard, and the global
// memory blocks the clipboard calls pass text in.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <string>

using HANDLE = void*;
using HGLOBAL = HANDLE;

inline constexpr UINT CF_TEXT = 1;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// A block of memory behind a handle; always zero-filled. Null when `bytes` is 0 or over 1 GiB, or
// when memory runs out.
KXWIN_API HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// The block's bytes (valid until GlobalFree); null for a stale handle.
KXWIN_API void* GlobalLock(HGLOBAL memory);
KXWIN_API BOOL GlobalUnlock(HGLOBAL memory);
// Null when freed; the handle back when it was not a live block.
KXWIN_API HGLOBAL GlobalFree(HGLOBAL memory);
// 0 for a stale handle.
KXWIN_API std::size_t GlobalSize(HGLOBAL memory);

// One opener at a time: FALSE when the clipboard is already open.
KXWIN_API BOOL OpenClipboard(HWND owner);
// Frees what GetClipboardData handed out. FALSE when the clipboard is not open.
KXWIN_API BOOL CloseClipboard();
// Clears the clipboard; needs it open.
KXWIN_API BOOL EmptyClipboard();
// CF_TEXT only, with the clipboard open: the text is the block's bytes up to the first zero byte.
// On success the clipboard takes the block (the caller must neither use nor free it again) and
// the handle is returned; on failure (null) the block stays the caller's.
KXWIN_API HANDLE SetClipboardData(UINT format, HANDLE memory);
// CF_TEXT only, with the clipboard open: a block with the text and a terminating zero, owned by the
// clipboard and freed when it is closed or emptied. Null when there is no text.
KXWIN_API HANDLE GetClipboardData(UINT format);
KXWIN_API BOOL IsClipboardFormatAvailable(UINT format);

namespace kxwin {

// Puts text on the clipboard. False when the clipboard is open elsewhere or the text holds a zero
// byte, which CF_TEXT cannot carry.
KXWIN_API bool setClipboardText(const std::string& text);
// The clipboard's text; empty when it has none.
KXWIN_API std::string clipboardText();
KXWIN_API bool isClipboardOpen();
KXWIN_API int liveGlobalBlockCount();

} // namespace kxwin
