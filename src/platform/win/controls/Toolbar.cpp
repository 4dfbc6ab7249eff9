// The "ToolbarWindow32" class: flat picture buttons from one bitmap strip, laid out left to right,
// and the TOOLBAR resource text. The toolbar paints itself (button faces, pictures, a greyed picture
// for a disabled button), so every backend shows what the paint record holds.
#include "platform/win/Toolbar.h"

#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"
#include "platform/win/WindowInternal.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <new>

namespace kxwin::detail {

namespace {

constexpr int kPadX = 7;        // a 16 x 15 picture makes a 23 x 22 button, as the framework's
constexpr int kPadY = 7;
constexpr int kSeparatorWidth = 8;
constexpr int kEdge = 2;        // border above and below the buttons
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kPressedFrame = RGB(120, 120, 120);
constexpr COLORREF kHotFrame = RGB(160, 160, 160);

struct ToolbarState : ControlState {
    SIZE image{16, 15};
    std::vector<TBBUTTON> buttons;
    // Copies of the strip the toolbar owns: as given, and washed out for disabled buttons.
    HBITMAP strip = nullptr;
    HBITMAP greyStrip = nullptr;
    COLORREF transparent = RGB(255, 255, 255);
    int imageCount = 0;
    int pressed = -1;  // index of the button under a held left button

    ~ToolbarState() override
    {
        if (strip != nullptr)
            DeleteObject(strip);
        if (greyStrip != nullptr)
            DeleteObject(greyStrip);
    }
};

SIZE buttonSize(const ToolbarState& s)
{
    return SIZE{s.image.cx + kPadX, s.image.cy + kPadY};
}

RECT itemRect(const ToolbarState& s, int index)
{
    int x = 0;
    const SIZE b = buttonSize(s);
    for (int i = 0; i < index; ++i)
        x += (s.buttons[static_cast<size_t>(i)].fsStyle & TBSTYLE_SEP) ? kSeparatorWidth : b.cx;
    const bool sep = (s.buttons[static_cast<size_t>(index)].fsStyle & TBSTYLE_SEP) != 0;
    return RECT{x, kEdge, x + (sep ? kSeparatorWidth : b.cx), kEdge + b.cy};
}

int buttonAt(const ToolbarState& s, POINT p)
{
    for (int i = 0; i < static_cast<int>(s.buttons.size()); ++i) {
        const RECT r = itemRect(s, i);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return (s.buttons[static_cast<size_t>(i)].fsStyle & TBSTYLE_SEP) ? -1 : i;
    }
    return -1;
}

int indexOf(const ToolbarState& s, WPARAM id)
{
    for (int i = 0; i < static_cast<int>(s.buttons.size()); ++i) {
        const TBBUTTON& b = s.buttons[static_cast<size_t>(i)];
        if ((b.fsStyle & TBSTYLE_SEP) == 0 && b.idCommand == static_cast<int>(id))
            return i;
    }
    return -1;
}

bool isEnabled(const TBBUTTON& b)
{
    return (b.fsState & TBSTATE_ENABLED) != 0;
}

// Picture pixels blended halfway to the face colour: the usual washed-out look of a disabled button.
HBITMAP greyed(const BitmapPixels& source, COLORREF transparent)
{
    BitmapPixels out = source;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const COLORREF c = source.colorAt(x, y);
            if (c == transparent)
                continue;
            const int grey = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
            const int light = (grey + 2 * 200) / 3;
            out.setPixel(x, y, RGB(light, light, light), source.alphaAt(x, y));
        }
    return createBitmap(std::move(out));
}

LRESULT addBitmap(HWND hwnd, ToolbarState& s, WPARAM count, const TBADDBITMAP* add)
{
    if (add == nullptr || add->hInst != nullptr)
        return -1;
    auto pixels = bitmapPixels(reinterpret_cast<HBITMAP>(add->nID));
    if (pixels == nullptr || pixels->empty())
        return -1;
    HBITMAP strip = createBitmap(*pixels);
    if (strip == nullptr)
        return -1;
    const COLORREF transparent = pixels->colorAt(0, 0);
    HBITMAP grey = greyed(*pixels, transparent);
    if (s.strip != nullptr)
        DeleteObject(s.strip);
    if (s.greyStrip != nullptr)
        DeleteObject(s.greyStrip);
    s.strip = strip;
    s.greyStrip = grey;
    s.transparent = transparent;
    s.imageCount = s.image.cx > 0 ? std::min<int>(static_cast<int>(count), pixels->width / s.image.cx) : 0;
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

void paint(HWND hwnd, ToolbarState& s)
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, client);
    fillSolidRect(dc, client, kFace);
    HDC memory = CreateCompatibleDC(dc);
    for (int i = 0; i < static_cast<int>(s.buttons.size()); ++i) {
        const TBBUTTON& b = s.buttons[static_cast<size_t>(i)];
        const RECT r = itemRect(s, i);
        if (b.fsStyle & TBSTYLE_SEP) {
            const int x = (r.left + r.right) / 2;
            fillSolidRect(dc, RECT{x, r.top + 2, x + 1, r.bottom - 2}, kHotFrame);
            continue;
        }
        if (s.pressed == i || (b.fsState & TBSTATE_PRESSED)) {
            HBRUSH frame = CreateSolidBrush(kPressedFrame);
            FrameRect(dc, &r, frame);
            DeleteObject(frame);
        }
        HBITMAP picture = isEnabled(b) ? s.strip : s.greyStrip;
        if (picture == nullptr || b.iBitmap < 0 || b.iBitmap >= s.imageCount)
            continue;
        const int shift = s.pressed == i ? 1 : 0;
        HBITMAP old = SelectObject(memory, picture);
        TransparentBlt(dc, r.left + kPadX / 2 + shift, r.top + kPadY / 2 + shift, s.image.cx, s.image.cy, memory,
                       b.iBitmap * s.image.cx, 0, s.image.cx, s.image.cy, s.transparent);
        SelectObject(memory, old);
    }
    DeleteDC(memory);
    EndPaint(hwnd, &ps);
}

void click(HWND hwnd, ToolbarState& s, int index)
{
    const TBBUTTON b = s.buttons[static_cast<size_t>(index)];
    if (!isEnabled(b) || !IsWindowEnabled(hwnd))
        return;
    HWND parent = GetParent(hwnd);
    if (parent != nullptr)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.idCommand), 0), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT toolbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        setControlState(hwnd, std::make_unique<ToolbarState>());
        return 0;
    }
    auto* s = stateOf<ToolbarState>(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_SETBITMAPSIZE: {
        const int w = LOWORD(lParam), h = HIWORD(lParam);
        if (w <= 0 || h <= 0 || w > 256 || h > 256)
            return FALSE;
        s->image = SIZE{w, h};
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case TB_ADDBITMAP:
        return addBitmap(hwnd, *s, wParam, reinterpret_cast<const TBADDBITMAP*>(lParam));
    case TB_ADDBUTTONS: {
        const auto* add = reinterpret_cast<const TBBUTTON*>(lParam);
        if (add == nullptr && wParam != 0)
            return FALSE;
        s->buttons.insert(s->buttons.end(), add, add + wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        notifyWindowChanged(hwnd, WindowChange::Content);
        return TRUE;
    }
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(s->buttons.size());
    case TB_GETBUTTON: {
        auto* out = reinterpret_cast<TBBUTTON*>(lParam);
        if (out == nullptr || wParam >= s->buttons.size())
            return FALSE;
        *out = s->buttons[wParam];
        return TRUE;
    }
    case TB_COMMANDTOINDEX:
        return indexOf(*s, wParam);
    case TB_GETITEMRECT: {
        auto* out = reinterpret_cast<RECT*>(lParam);
        if (out == nullptr || wParam >= s->buttons.size())
            return FALSE;
        *out = itemRect(*s, static_cast<int>(wParam));
        return TRUE;
    }
    case TB_ENABLEBUTTON:
    case TB_ISBUTTONENABLED: {
        const int i = indexOf(*s, wParam);
        if (i < 0)
            return FALSE;
        TBBUTTON& b = s->buttons[static_cast<size_t>(i)];
        if (message == TB_ISBUTTONENABLED)
            return isEnabled(b) ? TRUE : FALSE;
        const BYTE state = lParam ? static_cast<BYTE>(b.fsState | TBSTATE_ENABLED)
                                  : static_cast<BYTE>(b.fsState & ~TBSTATE_ENABLED);
        if (state != b.fsState) {
            b.fsState = state;
            InvalidateRect(hwnd, nullptr, TRUE);
            notifyWindowChanged(hwnd, WindowChange::Content);
        }
        return TRUE;
    }
    case TB_AUTOSIZE: {
        HWND parent = GetParent(hwnd);
        RECT pr{};
        if (parent != nullptr)
            GetClientRect(parent, pr);
        MoveWindow(hwnd, 0, 0, pr.width(), toolbarHeight(s->image.cy), TRUE);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int i = buttonAt(*s, pointFrom(lParam));
        if (i < 0 || !isEnabled(s->buttons[static_cast<size_t>(i)]))
            return 0;
        s->pressed = i;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int pressed = s->pressed;
        if (pressed < 0)
            return 0;
        s->pressed = -1;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        InvalidateRect(hwnd, nullptr, TRUE);
        // A press dragged off the button and released elsewhere is no click.
        if (buttonAt(*s, pointFrom(lParam)) == pressed)
            click(hwnd, *s, pressed);
        return 0;
    }
    case WM_PAINT:
        paint(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterToolbarClass {
    RegisterToolbarClass() { RegisterWindowClass(TOOLBARCLASSNAME, toolbarProc); }
} registerToolbar;

// --- The resource text ---------------------------------------------------------------------------

constexpr std::size_t kMaxToolbarBytes = 1024 * 1024;
constexpr std::size_t kMaxToolbarItems = 1024;

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool readNumber(std::string_view s, int low, int high, int& out)
{
    s = trim(s);
    if (s.empty() || (s.size() > 1 && s.front() == '0'))
        return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && out >= low && out <= high;
}

std::string_view keyword(std::string_view line, std::string_view& rest)
{
    std::size_t n = 0;
    while (n < line.size() && std::isalpha(static_cast<unsigned char>(line[n])))
        ++n;
    rest = line.substr(n);
    return line.substr(0, n);
}

} // namespace

} // namespace kxwin::detail

namespace kxwin {

std::string ToolbarParseResult::message() const
{
    return line > 0 ? "line " + std::to_string(line) + ": " + error : error;
}

ToolbarParseResult parseToolbarResource(std::string_view text)
{
    using namespace detail;
    ToolbarParseResult result;
    auto failAt = [&](int line, std::string why) {
        result.ok = false;
        result.line = line;
        result.error = std::move(why);
        return result;
    };
    if (text.size() > kMaxToolbarBytes)
        return failAt(0, "the resource is larger than 1 MiB");
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    enum class State { Header, Items, Done } state = State::Header;
    int lineNo = 0;
    while (!text.empty() || state != State::Done) {
        if (text.empty())
            return failAt(lineNo, state == State::Header ? "no TOOLBAR line" : "TOOLBAR without its END");
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            text = {};
        else
            text.remove_prefix(end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1));
        ++lineNo;
        if (line.find('\0') != std::string_view::npos)
            return failAt(lineNo, "NUL byte");
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = trim(line);
        if (line.empty())
            continue;
        std::string_view rest;
        const std::string_view word = keyword(line, rest);
        if (state == State::Done)
            return failAt(lineNo, "text after END");
        if (state == State::Header) {
            if (word != "TOOLBAR")
                return failAt(lineNo, "expected TOOLBAR width, height");
            const std::size_t comma = rest.find(',');
            int w = 0, h = 0;
            if (comma == std::string_view::npos || !readNumber(rest.substr(0, comma), 1, 256, w) ||
                !readNumber(rest.substr(comma + 1), 1, 256, h))
                return failAt(lineNo, "TOOLBAR needs a width and a height from 1 to 256");
            result.toolbar.buttonWidth = w;
            result.toolbar.buttonHeight = h;
            state = State::Items;
            continue;
        }
        if (word == "END" && trim(rest).empty()) {
            state = State::Done;
            continue;
        }
        if (result.toolbar.items.size() >= kMaxToolbarItems)
            return failAt(lineNo, "more than 1024 items");
        if (word == "SEPARATOR" && trim(rest).empty()) {
            result.toolbar.items.push_back(0);
            continue;
        }
        int id = 0;
        if (word == "BUTTON") {
            if (!readNumber(rest, 1, 65535, id))
                return failAt(lineNo, "BUTTON needs a command id from 1 to 65535");
            result.toolbar.items.push_back(static_cast<UINT>(id));
            continue;
        }
        return failAt(lineNo, "unknown line \"" + std::string(line.substr(0, 40)) + "\"");
    }
    result.ok = true;
    return result;
}

std::optional<ToolbarTemplate> loadToolbarResource(int resourceId, std::string* error)
{
    const std::string what = "TOOLBAR resource " + std::to_string(resourceId);
    const std::vector<BYTE>* data = FindResourceData("TOOLBAR", resourceId);
    if (data == nullptr) {
        if (error != nullptr)
            *error = what + " does not exist";
        return std::nullopt;
    }
    ToolbarParseResult parsed =
        parseToolbarResource(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
    if (!parsed.ok) {
        if (error != nullptr)
            *error = what + ", " + parsed.message();
        return std::nullopt;
    }
    return std::move(parsed.toolbar);
}

int toolbarHeight(int imageHeight)
{
    return imageHeight + detail::kPadY + 2 * detail::kEdge;
}

HWND createToolbar(HWND parent, int id, const ToolbarTemplate& toolbar, HBITMAP strip)
{
    if (!IsWindow(parent))
        return nullptr;
    try {
        HWND bar = CreateWindowEx(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, id);
        if (bar == nullptr)
            return nullptr;
        SendMessage(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(toolbar.buttonWidth), static_cast<WORD>(toolbar.buttonHeight)));
        std::vector<TBBUTTON> buttons;
        int image = 0;
        for (UINT item : toolbar.items) {
            TBBUTTON b;
            if (item == 0) {
                b.fsStyle = TBSTYLE_SEP;
                b.iBitmap = -1;
            } else {
                b.idCommand = static_cast<int>(item);
                b.iBitmap = image++;
            }
            buttons.push_back(b);
        }
        if (strip != nullptr) {
            TBADDBITMAP add;
            add.nID = reinterpret_cast<UINT_PTR>(strip);
            SendMessage(bar, TB_ADDBITMAP, static_cast<WPARAM>(image), reinterpret_cast<LPARAM>(&add));
        }
        SendMessage(bar, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
        SendMessage(bar, TB_AUTOSIZE);
        return bar;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace kxwin

