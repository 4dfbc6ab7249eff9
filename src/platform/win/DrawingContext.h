// Drawing contexts (HDC): painting a window, drawing into a memory bitmap, pens and brushes, and the
// record of what was drawn. Every drawing call is kept as a plain DrawOp in its context; a window's
// paint publishes its record (kxwin::lastPaintRecord) for tests and for backends that replay it.
// A memory context also rasterises fills, frames, lines and blits into its selected bitmap, so
// pictures composed in memory have real pixels; text is recorded but not rasterised.
#pragma once

#include "platform/win/Bitmap.h"
#include "platform/win/Font.h"
#include "platform/win/KxWinExport.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CWnd;

struct HPEN__;
using HPEN = HPEN__*;
struct HRGN__;
using HRGN = HRGN__*;

// Raster operations of the blits.
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

// Stock brushes and pens.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;

// Background modes of text.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// DrawText formats.
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_EXPANDTABS = 0x0040;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_CALCRECT = 0x0400;
inline constexpr UINT DT_NOPREFIX = 0x0800;
inline constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

// RedrawWindow flags.
inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_INTERNALPAINT = 0x0002;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_NOERASE = 0x0020;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;
inline constexpr UINT RDW_ERASENOW = 0x0200;
inline constexpr UINT RDW_FRAME = 0x0400;

inline constexpr UINT DI_NORMAL = 0x0003;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;  // TRUE when the background still needs erasing
    RECT rcPaint;
};

namespace kxwin {

enum class DrawOpKind {
    FillRect,        // rect, color
    FrameRect,       // rect, color; one pixel wide, inside rect
    Line,            // from (rect.left, rect.top) to (rect.right, rect.bottom), last pixel excluded; pen
    Rectangle,       // rect; pen (outlined) and brush (filled, fillColor)
    TextOut,         // rect: from the start point over the text's extent; text, font, colours
    DrawText,        // rect: the formatting rectangle; text, format, font, colours
    Blit,            // rect from source of pixels (null for PATCOPY, BLACKNESS, ...), rop; color: the brush
    TransparentBlit, // rect from source of pixels, stretched; pixels of colour `transparent` left out
    FocusRect,       // rect: a dotted frame inverting what is under it
    TrackerHandles,  // rect: the tracked rectangle; eight squares of handleSize around it, color
    Icon,            // rect; pixels with alpha
};

// One recorded drawing call, self-contained: fonts are copied and pictures shared as they were when
// drawn, so a record can be replayed after the objects are gone.
struct DrawOp {
    DrawOpKind kind = DrawOpKind::FillRect;
    RECT rect;
    COLORREF color = 0;
    COLORREF fillColor = 0;
    bool filled = false;
    bool outlined = false;
    int penStyle = PS_SOLID;
    int penWidth = 1;
    std::string text;
    UINT format = 0;
    LOGFONT font;
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
    std::shared_ptr<const BitmapPixels> pixels;
    RECT source;
    DWORD rop = SRCCOPY;
    COLORREF transparent = 0;
    int handleSize = 0;
};

// One line for a recorded call ("fill 0,0,10,10 #ff0000"), for test messages and snapshots.
KXWIN_API std::string describeDrawOp(const DrawOp& op);
KXWIN_API std::string describeDrawOps(const std::vector<DrawOp>& ops);

// What the window's last paint drew (erase background and paint), followed by what was drawn on it
// through GetDC since. Empty for a window never painted or destroyed.
KXWIN_API std::vector<DrawOp> lastPaintRecord(HWND hwnd);
// What a live context has recorded so far; empty for a dead handle. A context keeps at most
// kMaxRecordedOps calls; later ones are still rasterised but not recorded.
inline constexpr std::size_t kMaxRecordedOps = 100000;
KXWIN_API std::vector<DrawOp> recordedOps(HDC dc);

// Paints a window now: WM_ERASEBKGND with the paint context in wParam (when `erase`), then
// WM_PAINT, whose BeginPaint/EndPaint use the same context; then publishes the record. A window
// already painting is not painted again. FALSE for a dead window.
KXWIN_API BOOL paintWindow(HWND hwnd, bool erase = true);

inline constexpr int kTrackerHandleSize = 6;
// The eight resize handles of a tracked rectangle, squares outside it, in hit-test order: top-left,
// top-right, bottom-right, bottom-left, top, right, bottom, left.
KXWIN_API std::array<RECT, 8> trackerHandleRects(const RECT& rect, int handleSize = kTrackerHandleSize);
KXWIN_API BOOL drawTrackerHandles(HDC dc, const RECT& rect, int handleSize = kTrackerHandleSize,
                                  COLORREF color = RGB(0, 0, 0));
KXWIN_API BOOL fillSolidRect(HDC dc, const RECT& rect, COLORREF color);
// Draws a whole bitmap stretched into `dest`, leaving out the transparent colour when given.
KXWIN_API BOOL drawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, std::optional<COLORREF> transparent = std::nullopt);

KXWIN_API HBITMAP selectedBitmap(HDC dc);
KXWIN_API int liveDcCount();
KXWIN_API int liveBrushCount();
KXWIN_API int livePenCount();

} // namespace kxwin

// Contexts. BeginPaint/EndPaint bracket painting in WM_PAINT; GetDC/ReleaseDC draw on a window at
// other times; CreateCompatibleDC/DeleteDC make a memory context for drawing into a bitmap.
KXWIN_API HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
KXWIN_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// GetDC(nullptr) is the screen: what is drawn there is dropped.
KXWIN_API HDC GetDC(HWND hwnd);
// 1 when released, 0 when `dc` is not a context from GetDC.
KXWIN_API int ReleaseDC(HWND hwnd, HDC dc);
// A memory context with no picture of its own until a bitmap is selected; `dc` may be null.
KXWIN_API HDC CreateCompatibleDC(HDC dc);
// For memory contexts only; FALSE for others and dead handles.
KXWIN_API BOOL DeleteDC(HDC dc);
// Repaints as RedrawWindow does: RDW_INVALIDATE marks the window, RDW_UPDATENOW or RDW_ERASENOW
// paints it at once (erasing unless RDW_NOERASE), RDW_ALLCHILDREN does the same for its children.
KXWIN_API BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);

// Each returns what was selected before, or null when the context or the object is dead. A bitmap
// goes into a memory context only, and into one at a time.
KXWIN_API HFONT SelectObject(HDC dc, HFONT font);
KXWIN_API HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
KXWIN_API HBRUSH SelectObject(HDC dc, HBRUSH brush);
KXWIN_API HPEN SelectObject(HDC dc, HPEN pen);
KXWIN_API HFONT GetCurrentFont(HDC dc);

KXWIN_API HBRUSH CreateSolidBrush(COLORREF color);
KXWIN_API HPEN CreatePen(int style, int width, COLORREF color);
// FALSE for a dead handle; stock objects stay; objects still selected go when released.
KXWIN_API BOOL DeleteObject(HBRUSH brush);
KXWIN_API BOOL DeleteObject(HPEN pen);
// Null for an index that is not a brush (pen).
KXWIN_API HBRUSH GetStockBrush(int index);
KXWIN_API HPEN GetStockPen(int index);

// Colours and modes; the previous value is returned (CLR_INVALID, 0 for a dead context).
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
KXWIN_API COLORREF SetTextColor(HDC dc, COLORREF color);
KXWIN_API COLORREF GetTextColor(HDC dc);
KXWIN_API COLORREF SetBkColor(HDC dc, COLORREF color);
KXWIN_API COLORREF GetBkColor(HDC dc);
KXWIN_API int SetBkMode(HDC dc, int mode);
KXWIN_API int GetBkMode(HDC dc);

// Drawing. Each returns 0/FALSE for a dead context or a null rectangle.
KXWIN_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
KXWIN_API int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
KXWIN_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
KXWIN_API BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
KXWIN_API BOOL LineTo(HDC dc, int x, int y);
// `count` -1: the text runs to its terminating zero.
KXWIN_API BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count);
KXWIN_API BOOL TextOut(HDC dc, int x, int y, std::string_view text);
// Returns the height of the text. DT_CALCRECT only measures: the rectangle's right and bottom move
// to fit the text (wrapped at the rectangle's width with DT_WORDBREAK) and nothing is drawn.
// Without DT_NOPREFIX "&" marks a mnemonic and takes no room ("&&" is one "&").
KXWIN_API int DrawText(HDC dc, LPCSTR text, int count, RECT* rect, UINT format);
KXWIN_API int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format);
KXWIN_API BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
KXWIN_API BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, SIZE* size);
// A source context without a bitmap (a window) gives nothing to copy: the call is recorded only.
// Sizes of 0 or less draw nothing.
KXWIN_API BOOL BitBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int xSource, int ySource, DWORD rop);
KXWIN_API BOOL StretchBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int xSource, int ySource, int cxSource,
                          int cySource, DWORD rop);
KXWIN_API BOOL TransparentBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int xSource, int ySource,
                              int cxSource, int cySource, UINT transparent);
KXWIN_API BOOL DrawFocusRect(HDC dc, const RECT* rect);
KXWIN_API BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// cx or cy 0: the icon's own size.
KXWIN_API BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH background, UINT flags);

// A brush object that deletes its brush when it goes away.
class KXWIN_API CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) : m_hObject(::CreateSolidBrush(color)) {}
    ~CBrush() { DeleteObject(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;
    CBrush(CBrush&& other) noexcept : m_hObject(other.m_hObject) { other.m_hObject = nullptr; }
    CBrush& operator=(CBrush&& other) noexcept;

    HBRUSH m_hObject = nullptr;
    operator HBRUSH() const { return m_hObject; }
    HBRUSH GetSafeHandle() const { return m_hObject; }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL DeleteObject();
};

// A pen object that deletes its pen when it goes away.
class KXWIN_API CPen {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) : m_hObject(::CreatePen(style, width, color)) {}
    ~CPen() { DeleteObject(); }
    CPen(const CPen&) = delete;
    CPen& operator=(const CPen&) = delete;
    CPen(CPen&& other) noexcept : m_hObject(other.m_hObject) { other.m_hObject = nullptr; }
    CPen& operator=(CPen&& other) noexcept;

    HPEN m_hObject = nullptr;
    operator HPEN() const { return m_hObject; }
    HPEN GetSafeHandle() const { return m_hObject; }
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL DeleteObject();
};

// A drawing context object. One made by CreateCompatibleDC deletes its context when it goes away;
// CPaintDC and CClientDC end their paint or release their context the same way.
class KXWIN_API CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    BOOL Attach(HDC dc);
    HDC Detach();

    HFONT SelectObject(HFONT font) { return ::SelectObject(m_hDC, font); }
    HBITMAP SelectObject(HBITMAP bitmap) { return ::SelectObject(m_hDC, bitmap); }
    HBRUSH SelectObject(HBRUSH brush) { return ::SelectObject(m_hDC, brush); }
    HPEN SelectObject(HPEN pen) { return ::SelectObject(m_hDC, pen); }
    HFONT SelectObject(CFont* font) { return ::SelectObject(m_hDC, font ? font->m_hObject : HFONT{}); }
    HBITMAP SelectObject(CBitmap* bitmap) { return ::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : HBITMAP{}); }
    HBRUSH SelectObject(CBrush* brush) { return ::SelectObject(m_hDC, brush ? brush->m_hObject : HBRUSH{}); }
    HPEN SelectObject(CPen* pen) { return ::SelectObject(m_hDC, pen ? pen->m_hObject : HPEN{}); }

    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

    void FillSolidRect(const RECT& rect, COLORREF color) { kxwin::fillSolidRect(m_hDC, rect, color); }
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(const RECT* rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush ? brush->m_hObject : HBRUSH{}); }
    void FrameRect(const RECT* rect, CBrush* brush) { ::FrameRect(m_hDC, rect, brush ? brush->m_hObject : HBRUSH{}); }
    BOOL Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
    BOOL Rectangle(const RECT* rect);
    POINT MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL TextOut(int x, int y, std::string_view text) { return ::TextOut(m_hDC, x, y, text); }
    int DrawText(std::string_view text, RECT* rect, UINT format) { return ::DrawText(m_hDC, text, rect, format); }
    SIZE GetTextExtent(std::string_view text) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const { return ::GetTextMetrics(m_hDC, metrics); }
    BOOL BitBlt(int x, int y, int cx, int cy, CDC* source, int xSource, int ySource, DWORD rop);
    BOOL StretchBlt(int x, int y, int cx, int cy, CDC* source, int xSource, int ySource, int cxSource, int cySource,
                    DWORD rop);
    BOOL TransparentBlt(int x, int y, int cx, int cy, CDC* source, int xSource, int ySource, int cxSource,
                        int cySource, UINT transparent);
    void DrawFocusRect(const RECT* rect) { ::DrawFocusRect(m_hDC, rect); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawTrackerHandles(const RECT& rect) { return kxwin::drawTrackerHandles(m_hDC, rect); }

protected:
    bool m_ownsDc = false;  // made by CreateCompatibleDC: deleted with the object
};

// Paints in OnPaint: BeginPaint on construction, EndPaint on destruction.
class KXWIN_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    explicit CPaintDC(HWND hwnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd = nullptr;
};

// Draws on a window outside its paint: GetDC on construction, ReleaseDC on destruction.
class KXWIN_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
    explicit CClientDC(HWND hwnd);
    ~CClientDC() override;

private:
    HWND m_hWnd = nullptr;
};
