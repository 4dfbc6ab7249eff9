// Text and notification helpers shared by the standard controls.
#include "platform/win/controls/ControlSupport.h"

#include "platform/win/Utf8.h"

#include <algorithm>
#include <cstring>

namespace kxwin::detail {

std::u32string decodeLossless(std::string_view text) { return kxutf8::decodeAll(text, kxutf8::BadByte::Stray); }

std::string encodeCodePoint(char32_t cp)
{
    std::string out;
    if (kxutf8::isScalarValue(cp))
        kxutf8::encode(cp, out);
    return out;
}

std::string encodeLossless(std::u32string_view text) { return kxutf8::encodeAll(text); }

size_t countChars(std::string_view text) { return static_cast<size_t>(kxutf8::countChars(text)); }

size_t fittingPrefix(std::string_view text, size_t maxBytes)
{
    size_t i = 0;
    while (i < text.size()) {
        const size_t n = static_cast<size_t>(kxutf8::charLength(text, i));
        if (i + n > maxBytes)
            break;
        i += n;
    }
    return i;
}

LRESULT copyTextOut(std::string_view text, char* buffer, size_t size)
{
    if (buffer == nullptr || size == 0)
        return 0;
    const size_t n = fittingPrefix(text, size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x178)
            return 0xFF;
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddUpper)
            return (c & 1) ? c + 1 : c;
        return (c & 1) ? c : c + 1;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

char32_t upperCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F || c == 0x178)
            return c;
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper)
            return (c & 1) ? c : c - 1;
        return (c & 1) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return c - 32;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

std::u32string toUpper(std::u32string text)
{
    for (char32_t& c : text)
        c = upperCase(c);
    return text;
}

std::u32string toLower(std::u32string text)
{
    for (char32_t& c : text)
        c = foldCase(c);
    return text;
}

namespace {

std::u32string folded(std::string_view s)
{
    return toLower(decodeLossless(s));
}

} // namespace

int compareNoCase(std::string_view a, std::string_view b)
{
    const std::u32string fa = folded(a);
    const std::u32string fb = folded(b);
    const int c = fa.compare(fb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return folded(a) == folded(b);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    const std::u32string ft = folded(text);
    const std::u32string fp = folded(prefix);
    return ft.compare(0, fp.size(), fp) == 0 && ft.size() >= fp.size();
}

int findItem(int count, int start, const std::function<const std::string&(int)>& textAt, std::string_view what,
             bool exact)
{
    if (count <= 0)
        return -1;
    const int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        const std::string& text = textAt(i);
        if (exact ? equalsNoCase(text, what) : startsWithNoCase(text, what))
            return i;
    }
    return -1;
}

int sortedPosition(int count, const std::function<const std::string&(int)>& textAt, std::string_view text)
{
    int lo = 0;
    int hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (compareNoCase(textAt(mid), text) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void notifyCommand(HWND control, WORD code)
{
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                reinterpret_cast<LPARAM>(control));
}

LRESULT notifyParent(HWND control, int code, NMHDR& header)
{
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    header.code = code;
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return 0;
    return SendMessage(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

} // namespace kxwin::detail
