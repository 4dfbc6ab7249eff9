// The lines of an edit's text and where characters are in pixels: splitting into lines, the
// line messages (EM_GETLINECOUNT, EM_LINEINDEX, EM_GETLINE...) and the mouse's character.
#include "platform/win/controls/EditControl.h"

#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kxwin::detail {

namespace {

EditState* edit(HWND hwnd)
{
    return stateOf<EditState>(hwnd);
}

void selectionOf(const EditState& s, size_t& a, size_t& b)
{
    a = std::min(s.anchor, s.caret);
    b = std::max(s.anchor, s.caret);
}

} // namespace

std::u32string editText(HWND hwnd)
{
    const std::string* text = textOf(hwnd);
    return text ? decodeLossless(*text) : std::u32string();
}

bool isMultiLineEdit(HWND hwnd)
{
    return (styleOf(hwnd) & ES_MULTILINE) != 0;
}

std::vector<EditLine> editLines(HWND hwnd, const EditState& s, const std::u32string& text)
{
    std::vector<EditLine> lines;
    size_t start = 0;
    if (isMultiLineEdit(hwnd)) {
        const bool lone = s.breaksAtLoneCrOrLf();
        for (size_t i = 0; i < text.size();) {
            size_t brk = 0;
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                brk = 2;
            else if (lone && (text[i] == U'\r' || text[i] == U'\n'))
                brk = 1;
            if (brk == 0) {
                ++i;
                continue;
            }
            lines.push_back(EditLine{start, i - start, brk});
            i += brk;
            start = i;
        }
    }
    lines.push_back(EditLine{start, text.size() - start, 0});
    return lines;
}

size_t lineOfPosition(const std::vector<EditLine>& lines, size_t pos)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (pos <= lines[i].start + lines[i].length)
            return i;
    }
    return lines.size() - 1;
}

bool insideCrLf(const std::u32string& text, size_t pos)
{
    return pos > 0 && pos < text.size() && text[pos - 1] == U'\r' && text[pos] == U'\n';
}

// A position never falls between the CR and LF of a line break.
size_t snapPosition(HWND hwnd, const std::u32string& text, size_t pos)
{
    pos = std::min(pos, text.size());
    if (isMultiLineEdit(hwnd) && insideCrLf(text, pos))
        --pos;
    return pos;
}

int visibleLines(HWND hwnd)
{
    RECT r;
    GetClientRect(hwnd, r);
    return std::max(1, static_cast<int>(r.height()) / kLineHeight);
}

size_t charFromPoint(HWND hwnd, POINT p, size_t* lineOut)
{
    EditState* s = edit(hwnd);
    const std::u32string text = editText(hwnd);
    const auto lines = editLines(hwnd, *s, text);
    size_t row = 0;
    if (isMultiLineEdit(hwnd))
        row = std::min(lines.size() - 1, s->firstLine + static_cast<size_t>(std::max(0, static_cast<int>(p.y)) / kLineHeight));
    const size_t col = static_cast<size_t>((std::max(0, static_cast<int>(p.x)) + kCharWidth / 2) / kCharWidth);
    if (lineOut)
        *lineOut = row;
    return lines[row].start + std::min(col, lines[row].length);
}

LRESULT editLineMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    EditState* s = edit(hwnd);
    const std::u32string text = editText(hwnd);
    const auto lines = editLines(hwnd, *s, text);
    const int arg = static_cast<int>(static_cast<std::int32_t>(wParam));
    size_t a = 0;
    size_t b = 0;
    selectionOf(*s, a, b);
    switch (message) {
    case EM_GETLINECOUNT:
        result = static_cast<LRESULT>(lines.size());
        return result;
    case EM_LINEINDEX: {
        const size_t line = arg < 0 ? lineOfPosition(lines, s->caret) : static_cast<size_t>(arg);
        result = line < lines.size() ? static_cast<LRESULT>(lines[line].start) : -1;
        return result;
    }
    case EM_LINEFROMCHAR:
        result = static_cast<LRESULT>(lineOfPosition(lines, arg < 0 ? a : std::min(static_cast<size_t>(arg), text.size())));
        return result;
    case EM_LINELENGTH: {
        if (arg < 0) {
            const EditLine& first = lines[lineOfPosition(lines, a)];
            const EditLine& last = lines[lineOfPosition(lines, b)];
            result = static_cast<LRESULT>((a - first.start) + (last.start + last.length - b));
        } else {
            result = static_cast<LRESULT>(lines[lineOfPosition(lines, std::min(static_cast<size_t>(arg), text.size()))].length);
        }
        return result;
    }
    case EM_GETLINE: {
        // The first WORD of the buffer holds its size in bytes; the line is copied without a zero.
        char* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || arg < 0)
            return result;
        WORD size = 0;
        std::memcpy(&size, buffer, sizeof size);
        const size_t line = isMultiLineEdit(hwnd) ? static_cast<size_t>(arg) : 0;
        if (line >= lines.size())
            return result;
        const std::string bytes =
            encodeLossless(std::u32string_view(text).substr(lines[line].start, lines[line].length));
        const size_t n = fittingPrefix(bytes, size);
        std::memcpy(buffer, bytes.data(), n);
        result = static_cast<LRESULT>(n);
        return result;
    }
    case EM_CHARFROMPOS: {
        size_t line = 0;
        const size_t pos = charFromPoint(hwnd, pointFrom(lParam), &line);
        result = MAKELPARAM(static_cast<WORD>(std::min<size_t>(pos, 0xFFFF)), static_cast<WORD>(std::min<size_t>(line, 0xFFFF)));
        return result;
    }
    case EM_POSFROMCHAR: {
        if (arg < 0 || static_cast<size_t>(arg) >= text.size()) {
            result = -1;
            return result;
        }
        const size_t pos = snapPosition(hwnd, text, static_cast<size_t>(arg));
        const size_t line = lineOfPosition(lines, pos);
        const int x = static_cast<int>(pos - lines[line].start) * kCharWidth;
        const int y = (static_cast<int>(line) - static_cast<int>(s->firstLine)) * kLineHeight;
        result = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
        return result;
    }
    default:
        return 0;
    }
}


} // namespace kxwin::detail
