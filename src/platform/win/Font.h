// Fonts: creating and deleting font objects, their descriptions, the default GUI font, and text
// metrics and extents. There are no glyphs: every character of a font is as wide as the font's
// average character width, which is 6/13 of its height, as the 8-point dialog font's 6 x 13 cell.
// Drawing text is DrawingContext.h's.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <string_view>

inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_THIN = 100;
inline constexpr LONG FW_LIGHT = 300;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_MEDIUM = 500;
inline constexpr LONG FW_SEMIBOLD = 600;
inline constexpr LONG FW_BOLD = 700;
inline constexpr LONG FW_HEAVY = 900;

inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE OUT_DEFAULT_PRECIS = 0;
inline constexpr BYTE OUT_STRING_PRECIS = 1;
inline constexpr BYTE OUT_CHARACTER_PRECIS = 2;
inline constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
inline constexpr BYTE CLIP_CHARACTER_PRECIS = 1;
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE DEFAULT_PITCH = 0;
inline constexpr BYTE FF_DONTCARE = 0;

// Stock objects.
inline constexpr int ANSI_VAR_FONT = 12;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// A font's description. A negative height is the character height, a positive one the cell height
// (character plus internal leading), 0 the default size; a width of 0 means "from the height".
struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
    BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
    BYTE lfQuality = DEFAULT_QUALITY;
    BYTE lfPitchAndFamily = DEFAULT_PITCH;
    std::string lfFaceName;  // UTF-8
    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

// Returns null only when memory runs out. The caller owns the font and deletes it with DeleteObject.
KXWIN_API HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                           DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                           DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
// The short form: the other fields take their defaults.
KXWIN_API HFONT CreateFont(int height, int width, int weight, bool italic, bool underline, const std::string& faceName);
KXWIN_API HFONT CreateFontIndirect(const LOGFONT* logFont);
// Fills `out` with the font's description; returns sizeof(LOGFONT), or 0 for a dead handle, a null
// pointer or a buffer size below sizeof(LOGFONT).
KXWIN_API int GetObject(HFONT font, int size, LOGFONT* out);
// FALSE for a dead handle. A stock font is never deleted (TRUE, nothing happens); a font still
// selected into a device context goes when the context lets it go.
KXWIN_API BOOL DeleteObject(HFONT font);
// DEFAULT_GUI_FONT, SYSTEM_FONT and ANSI_VAR_FONT: all the default GUI font. Null for other indices.
KXWIN_API HFONT GetStockFont(int index);

namespace kxwin {

// The 8-point "MS Shell Dlg": 13 pixels high, 6 pixels average character width. Never deleted.
KXWIN_API HFONT defaultGuiFont();
KXWIN_API bool isFont(HFONT font);
// The description of a font; the default GUI font's for a null or dead handle.
KXWIN_API LOGFONT fontDescription(HFONT font);
// Metrics derived from a description, and of a font (the default GUI font's for a null or dead one).
KXWIN_API TEXTMETRIC metricsOf(const LOGFONT& logFont);
KXWIN_API TEXTMETRIC fontMetrics(HFONT font);

// Characters in UTF-8 text: each valid sequence counts one, each byte of an invalid one counts one.
KXWIN_API std::size_t utf8Length(std::string_view text);
// Width and height of text: lines split at "\n" (a "\r" before it is dropped), the widest line's
// characters times the average character width, the number of lines times the height. Empty text
// is one empty line. Saturates instead of overflowing for absurd sizes.
KXWIN_API SIZE textExtent(const TEXTMETRIC& metrics, std::string_view text);
KXWIN_API SIZE textExtent(HFONT font, std::string_view text);
// Number of live font objects created by the caller (stock fonts not counted).
KXWIN_API int liveFontCount();

} // namespace kxwin

// A font object that deletes its font when it goes away.
class KXWIN_API CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    CFont(CFont&& other) noexcept : m_hObject(other.m_hObject) { other.m_hObject = nullptr; }
    CFont& operator=(CFont&& other) noexcept;

    HFONT m_hObject = nullptr;
    operator HFONT() const { return m_hObject; }
    HFONT GetSafeHandle() const { return m_hObject; }

    // Each Create fails (FALSE) when the object already holds a font.
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCSTR faceName);
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    // Size in tenths of a point at 96 pixels per inch (80: the 8-point size).
    BOOL CreatePointFont(int pointSizeTenths, const std::string& faceName);
    int GetLogFont(LOGFONT* out) const { return ::GetObject(m_hObject, sizeof(LOGFONT), out); }
    BOOL Attach(HFONT font);
    HFONT Detach();
    BOOL DeleteObject();
};
