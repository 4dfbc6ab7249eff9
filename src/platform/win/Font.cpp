// Font objects and text measurement.
#include "platform/win/Font.h"

#include "platform/win/GdiTable.h"
#include "platform/win/Utf8.h"

#include <algorithm>
#include <climits>
#include <new>

namespace {

// Cell heights are kept in a range where every product below stays far from overflow.
constexpr std::int64_t kMaxCellHeight = 100000;

LOGFONT defaultGuiLogFont()
{
    LOGFONT lf;
    lf.lfHeight = -11;  // 8 points at 96 pixels per inch: a 13-pixel cell
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfFaceName = "MS Shell Dlg";
    return lf;
}

HFONT addFont(const LOGFONT& lf, bool stock)
{
    try {
        kxwin::detail::FontObject object{lf, {}};
        object.use.stock = stock;
        return kxwin::detail::makeGdiHandle<HFONT>(std::move(object));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

LONG saturate(std::int64_t v)
{
    return static_cast<LONG>(std::clamp<std::int64_t>(v, LONG_MIN, LONG_MAX));
}

} // namespace

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfStrikeOut = strikeOut ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    lf.lfFaceName = faceName ? faceName : "";
    return addFont(lf, false);
}

HFONT CreateFont(int height, int width, int weight, bool italic, bool underline, const std::string& faceName)
{
    return CreateFont(height, width, 0, 0, weight, italic, underline, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, faceName.c_str());
}

HFONT CreateFontIndirect(const LOGFONT* logFont)
{
    return logFont ? addFont(*logFont, false) : nullptr;
}

int GetObject(HFONT font, int size, LOGFONT* out)
{
    auto* object = kxwin::detail::gdiObject<kxwin::detail::FontObject>(font);
    if (object == nullptr || out == nullptr || size < static_cast<int>(sizeof(LOGFONT)))
        return 0;
    *out = object->logFont;
    return static_cast<int>(sizeof(LOGFONT));
}

BOOL DeleteObject(HFONT font)
{
    return kxwin::detail::deleteGdiObject<kxwin::detail::FontObject>(font);
}

HFONT GetStockFont(int index)
{
    if (index == DEFAULT_GUI_FONT || index == SYSTEM_FONT || index == ANSI_VAR_FONT)
        return kxwin::defaultGuiFont();
    return nullptr;
}

namespace kxwin {

HFONT defaultGuiFont()
{
    static const HFONT font = addFont(defaultGuiLogFont(), true);
    return font;
}

bool isFont(HFONT font)
{
    return detail::gdiObject<detail::FontObject>(font) != nullptr;
}

LOGFONT fontDescription(HFONT font)
{
    if (auto* object = detail::gdiObject<detail::FontObject>(font))
        return object->logFont;
    return defaultGuiLogFont();
}

TEXTMETRIC metricsOf(const LOGFONT& lf)
{
    const std::int64_t requested = lf.lfHeight;
    std::int64_t cell = 13;
    if (requested < 0)
        cell = (-requested * 13 + 5) / 11;  // the character height plus the internal leading
    else if (requested > 0)
        cell = requested;
    cell = std::clamp<std::int64_t>(cell, 1, kMaxCellHeight);
    const std::int64_t average =
        lf.lfWidth > 0 ? std::min<std::int64_t>(lf.lfWidth, kMaxCellHeight) : std::max<std::int64_t>(1, (cell * 6 + 6) / 13);
    const std::int64_t leading = (cell * 2 + 6) / 13;

    TEXTMETRIC tm;
    tm.tmHeight = static_cast<LONG>(cell);
    tm.tmDescent = static_cast<LONG>(leading);
    tm.tmAscent = static_cast<LONG>(cell - leading);
    tm.tmInternalLeading = static_cast<LONG>(leading);
    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = static_cast<LONG>(average);
    tm.tmMaxCharWidth = static_cast<LONG>(average * 2);
    tm.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
    tm.tmItalic = lf.lfItalic;
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    tm.tmPitchAndFamily = lf.lfPitchAndFamily;
    tm.tmCharSet = lf.lfCharSet;
    return tm;
}

TEXTMETRIC fontMetrics(HFONT font)
{
    return metricsOf(fontDescription(font));
}

std::size_t utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count)
        i += static_cast<std::size_t>(kxutf8::charLength(text, i));
    return count;
}

SIZE textExtent(const TEXTMETRIC& metrics, std::string_view text)
{
    std::size_t widest = 0;
    std::int64_t lines = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        widest = std::max(widest, utf8Length(line));
        ++lines;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    const std::int64_t chars = static_cast<std::int64_t>(std::min<std::size_t>(widest, INT_MAX));
    return SIZE{saturate(chars * metrics.tmAveCharWidth), saturate(lines * metrics.tmHeight)};
}

SIZE textExtent(HFONT font, std::string_view text)
{
    return textExtent(fontMetrics(font), text);
}

} // namespace kxwin

CFont& CFont::operator=(CFont&& other) noexcept
{
    if (this != &other) {
        DeleteObject();
        m_hObject = other.m_hObject;
        other.m_hObject = nullptr;
    }
    return *this;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR faceName)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = ::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                             outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
    return m_hObject != nullptr;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (m_hObject != nullptr)
        return FALSE;
    m_hObject = ::CreateFontIndirect(logFont);
    return m_hObject != nullptr;
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const std::string& faceName)
{
    LOGFONT lf;
    // Points to pixels at 96 per inch, rounded: 80 tenths give the 11-pixel character of the 8-point font.
    const std::int64_t pixels = (static_cast<std::int64_t>(pointSizeTenths) * 96 + 360) / 720;
    lf.lfHeight = -static_cast<LONG>(std::clamp<std::int64_t>(pixels, 0, kMaxCellHeight));
    lf.lfFaceName = faceName;
    return CreateFontIndirect(&lf);
}

BOOL CFont::Attach(HFONT font)
{
    if (m_hObject != nullptr || font == nullptr)
        return FALSE;
    m_hObject = font;
    return TRUE;
}

HFONT CFont::Detach()
{
    HFONT font = m_hObject;
    m_hObject = nullptr;
    return font;
}

BOOL CFont::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    HFONT font = m_hObject;
    m_hObject = nullptr;
    return ::DeleteObject(font);
}

namespace kxwin {

int liveFontCount()
{
    return detail::gdiObjectCount<detail::FontObject>();
}

} // namespace kxwin
