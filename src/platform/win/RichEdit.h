// The rich-edit class: a multi-line edit that also keeps character formatting (bold, italic,
// underline, colour, size, face) per character, enough for read-only information displays. Its
// messages and structures are numbered as the framework numbers them; positions count characters.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

inline constexpr const char* RICHEDIT_CLASS = "RichEdit20A";

inline constexpr UINT EM_EXGETSEL = WM_USER + 52;
inline constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
inline constexpr UINT EM_EXSETSEL = WM_USER + 55;
inline constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
inline constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
inline constexpr UINT EM_HIDESELECTION = WM_USER + 63;
inline constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
inline constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
inline constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
inline constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;

// EM_SETCHARFORMAT targets.
inline constexpr WPARAM SCF_DEFAULT = 0x0000;
inline constexpr WPARAM SCF_SELECTION = 0x0001;
inline constexpr WPARAM SCF_WORD = 0x0002;
inline constexpr WPARAM SCF_ALL = 0x0004;

// Which CHARFORMAT fields are valid (dwMask).
inline constexpr DWORD CFM_BOLD = 0x00000001;
inline constexpr DWORD CFM_ITALIC = 0x00000002;
inline constexpr DWORD CFM_UNDERLINE = 0x00000004;
inline constexpr DWORD CFM_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFM_PROTECTED = 0x00000010;
inline constexpr DWORD CFM_LINK = 0x00000020;
inline constexpr DWORD CFM_SIZE = 0x80000000;
inline constexpr DWORD CFM_COLOR = 0x40000000;
inline constexpr DWORD CFM_FACE = 0x20000000;
inline constexpr DWORD CFM_OFFSET = 0x10000000;
inline constexpr DWORD CFM_CHARSET = 0x08000000;
inline constexpr DWORD CFM_EFFECTS = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_STRIKEOUT | CFM_PROTECTED |
                                     CFM_LINK;
inline constexpr DWORD CFM_ALL = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_OFFSET | CFM_CHARSET;

// Effects (dwEffects).
inline constexpr DWORD CFE_BOLD = 0x00000001;
inline constexpr DWORD CFE_ITALIC = 0x00000002;
inline constexpr DWORD CFE_UNDERLINE = 0x00000004;
inline constexpr DWORD CFE_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFE_PROTECTED = 0x00000010;
inline constexpr DWORD CFE_LINK = 0x00000020;
inline constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

// Event mask: without ENM_CHANGE / ENM_UPDATE a rich edit sends no EN_CHANGE / EN_UPDATE.
inline constexpr LPARAM ENM_NONE = 0x00000000;
inline constexpr LPARAM ENM_CHANGE = 0x00000001;
inline constexpr LPARAM ENM_UPDATE = 0x00000002;
inline constexpr LPARAM ENM_SELCHANGE = 0x00080000;

inline constexpr int LF_FACESIZE = 32;

struct CHARFORMAT {
    UINT cbSize = sizeof(CHARFORMAT);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    LONG yHeight = 0;   // twips
    LONG yOffset = 0;
    COLORREF crTextColor = 0;
    BYTE bCharSet = 0;
    BYTE bPitchAndFamily = 0;
    char szFaceName[LF_FACESIZE] = {};
};

struct CHARRANGE {
    LONG cpMin = 0;
    LONG cpMax = 0;  // -1: to the end
};

struct TEXTRANGE {
    CHARRANGE chrg;
    LPSTR lpstrText = nullptr;  // EM_GETTEXTRANGE copies the range here; the caller sizes it
};

namespace kxwin {

// A stretch of characters that share one format, for tests and for backends that draw the text.
struct RichTextRun {
    int start = 0;   // characters
    int length = 0;  // characters
    std::string text;
    CHARFORMAT format;  // dwMask is CFM_ALL
};

// The runs of a rich edit in order; empty for another window or an empty text.
KXWIN_API std::vector<RichTextRun> richTextRuns(HWND richEdit);
// The background colour set with EM_SETBKGNDCOLOR; `system` true while the system colour is used.
KXWIN_API COLORREF richEditBackground(HWND richEdit, bool* system = nullptr);

} // namespace kxwin
