// The rich-edit class ("RichEdit20A"): the edit engine of Edit.cpp plus a character format per
// character (bold, italic, underline, colour, size, face), a background colour and the event mask
// that decides whether EN_CHANGE and EN_UPDATE are sent. Meant for information displays; it does
// not do paragraphs, embedded objects or streaming.
#include "platform/win/RichEdit.h"

#include "platform/win/Window.h"
#include "platform/win/controls/ControlSupport.h"
#include "platform/win/controls/EditControl.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace kxwin::detail {

namespace {

constexpr size_t kRichDefaultLimit = 32767;
constexpr size_t kRichLimitForZero = 65536;

bool sameFormat(const CHARFORMAT& a, const CHARFORMAT& b)
{
    return a.dwEffects == b.dwEffects && a.yHeight == b.yHeight && a.yOffset == b.yOffset &&
           a.crTextColor == b.crTextColor && a.bCharSet == b.bCharSet && a.bPitchAndFamily == b.bPitchAndFamily &&
           std::strncmp(a.szFaceName, b.szFaceName, LF_FACESIZE) == 0;
}

CHARFORMAT initialFormat()
{
    CHARFORMAT f;
    f.dwMask = CFM_ALL;
    f.dwEffects = CFE_AUTOCOLOR;
    f.yHeight = 160;  // 8 points in twips
    std::strncpy(f.szFaceName, "MS Shell Dlg", LF_FACESIZE - 1);
    return f;
}

// The fields of `change` that its dwMask names, applied over `base`.
CHARFORMAT merged(CHARFORMAT base, const CHARFORMAT& change)
{
    constexpr DWORD kEffectBits[][2] = {{CFM_BOLD, CFE_BOLD},           {CFM_ITALIC, CFE_ITALIC},
                                        {CFM_UNDERLINE, CFE_UNDERLINE}, {CFM_STRIKEOUT, CFE_STRIKEOUT},
                                        {CFM_PROTECTED, CFE_PROTECTED}, {CFM_LINK, CFE_LINK}};
    for (const auto& [maskBit, effectBit] : kEffectBits) {
        if (change.dwMask & maskBit)
            base.dwEffects = (base.dwEffects & ~effectBit) | (change.dwEffects & effectBit);
    }
    if (change.dwMask & CFM_COLOR) {
        base.crTextColor = change.crTextColor;
        base.dwEffects = (base.dwEffects & ~CFE_AUTOCOLOR) | (change.dwEffects & CFE_AUTOCOLOR);
    }
    if (change.dwMask & CFM_SIZE)
        base.yHeight = change.yHeight;
    if (change.dwMask & CFM_OFFSET)
        base.yOffset = change.yOffset;
    if (change.dwMask & CFM_CHARSET)
        base.bCharSet = change.bCharSet;
    if (change.dwMask & CFM_FACE) {
        // The caller's face name need not end in a zero within its 32 bytes.
        std::memset(base.szFaceName, 0, LF_FACESIZE);
        const void* zero = std::memchr(change.szFaceName, 0, LF_FACESIZE);
        const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - change.szFaceName)
                                   : static_cast<size_t>(LF_FACESIZE);
        const size_t n = fittingPrefix(std::string_view(change.szFaceName, length), LF_FACESIZE - 1);
        std::memcpy(base.szFaceName, change.szFaceName, n);
    }
    base.cbSize = sizeof(CHARFORMAT);
    base.dwMask = CFM_ALL;
    return base;
}

// The attributes in which two formats differ, as dwMask bits.
DWORD differences(const CHARFORMAT& a, const CHARFORMAT& b)
{
    DWORD diff = 0;
    const DWORD effects = a.dwEffects ^ b.dwEffects;
    if (effects & CFE_BOLD)
        diff |= CFM_BOLD;
    if (effects & CFE_ITALIC)
        diff |= CFM_ITALIC;
    if (effects & CFE_UNDERLINE)
        diff |= CFM_UNDERLINE;
    if (effects & CFE_STRIKEOUT)
        diff |= CFM_STRIKEOUT;
    if (effects & CFE_PROTECTED)
        diff |= CFM_PROTECTED;
    if (effects & CFE_LINK)
        diff |= CFM_LINK;
    if ((effects & CFE_AUTOCOLOR) || a.crTextColor != b.crTextColor)
        diff |= CFM_COLOR;
    if (a.yHeight != b.yHeight)
        diff |= CFM_SIZE;
    if (a.yOffset != b.yOffset)
        diff |= CFM_OFFSET;
    if (a.bCharSet != b.bCharSet)
        diff |= CFM_CHARSET;
    if (std::strncmp(a.szFaceName, b.szFaceName, LF_FACESIZE) != 0)
        diff |= CFM_FACE;
    return diff;
}

struct RichState : EditState {
    std::vector<CHARFORMAT> palette{initialFormat()};  // distinct formats; index 0 starts as default
    std::vector<size_t> formats;                       // palette index per character
    size_t defaultFormat = 0;
    std::optional<size_t> insertionFormat;  // set for an empty selection: what typing there gets
    LPARAM eventMask = ENM_NONE;
    COLORREF background = 0xFFFFFF;
    bool systemBackground = true;

    bool breaksAtLoneCrOrLf() const override { return true; }
    bool sendsChange() const override { return (eventMask & ENM_CHANGE) != 0; }
    bool sendsUpdate() const override { return (eventMask & ENM_UPDATE) != 0; }

    size_t intern(const CHARFORMAT& f)
    {
        for (size_t i = 0; i < palette.size(); ++i) {
            if (sameFormat(palette[i], f))
                return i;
        }
        palette.push_back(f);
        return palette.size() - 1;
    }

    // New text takes the format of the character before it, as typing in a rich text does.
    size_t formatAt(size_t pos) const
    {
        if (pos > 0 && pos <= formats.size())
            return formats[pos - 1];
        if (!formats.empty())
            return formats.front();
        return defaultFormat;
    }

    void textReplaced(size_t start, size_t removed, size_t inserted) override
    {
        start = std::min(start, formats.size());
        removed = std::min(removed, formats.size() - start);
        const size_t format = insertionFormat ? *insertionFormat : (start > 0 ? formats[start - 1]
                                                                   : removed > 0 ? formats[start]
                                                                                 : formatAt(start));
        insertionFormat.reset();
        formats.erase(formats.begin() + static_cast<std::ptrdiff_t>(start),
                      formats.begin() + static_cast<std::ptrdiff_t>(start + removed));
        formats.insert(formats.begin() + static_cast<std::ptrdiff_t>(start), inserted, format);
    }

    void textReset(size_t length) override
    {
        insertionFormat.reset();
        formats.assign(length, defaultFormat);
    }
};

RichState* rich(HWND hwnd)
{
    return stateOf<RichState>(hwnd);
}

LRESULT setCharFormat(HWND hwnd, RichState& s, WPARAM target, const CHARFORMAT* change)
{
    if (change == nullptr || change->cbSize < sizeof(CHARFORMAT))
        return 0;
    if (target & SCF_ALL) {
        s.defaultFormat = s.intern(merged(s.palette[s.defaultFormat], *change));
        for (size_t& f : s.formats)
            f = s.intern(merged(s.palette[f], *change));
    } else if (target & SCF_SELECTION) {
        size_t a = 0;
        size_t b = 0;
        editSelection(hwnd, a, b);
        b = std::min(b, s.formats.size());
        if (a >= b) {
            s.insertionFormat = s.intern(merged(s.palette[s.insertionFormat.value_or(s.formatAt(a))], *change));
        } else {
            for (size_t i = a; i < b; ++i)
                s.formats[i] = s.intern(merged(s.palette[s.formats[i]], *change));
        }
    } else {
        s.defaultFormat = s.intern(merged(s.palette[s.defaultFormat], *change));
    }
    notifyWindowChanged(hwnd, WindowChange::Content);
    return TRUE;
}

LRESULT getCharFormat(HWND hwnd, RichState& s, WPARAM target, CHARFORMAT* out)
{
    if (out == nullptr || out->cbSize < sizeof(CHARFORMAT))
        return 0;
    CHARFORMAT result = s.palette[s.defaultFormat];
    DWORD mask = CFM_ALL;
    if (target & SCF_SELECTION) {
        size_t a = 0;
        size_t b = 0;
        editSelection(hwnd, a, b);
        b = std::min(b, s.formats.size());
        if (a >= b) {
            result = s.palette[s.insertionFormat.value_or(s.formatAt(a))];
        } else {
            result = s.palette[s.formats[a]];
            for (size_t i = a + 1; i < b; ++i)
                mask &= ~differences(result, s.palette[s.formats[i]]);
        }
    }
    const UINT size = out->cbSize;
    *out = result;
    out->cbSize = size;
    out->dwMask = mask;
    return static_cast<LRESULT>(mask);
}

LRESULT richProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        auto state = std::make_unique<RichState>();
        state->limit = kRichDefaultLimit;
        attachEditState(hwnd, std::move(state));
        return editProc(hwnd, message, wParam, lParam);
    }
    RichState* s = rich(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);

    switch (message) {
    case EM_SETCHARFORMAT:
        return setCharFormat(hwnd, *s, wParam, reinterpret_cast<const CHARFORMAT*>(lParam));
    case EM_GETCHARFORMAT:
        return getCharFormat(hwnd, *s, wParam, reinterpret_cast<CHARFORMAT*>(lParam));
    case EM_SETBKGNDCOLOR: {
        const COLORREF previous = s->background;
        s->systemBackground = wParam != 0;
        if (!wParam)
            s->background = static_cast<COLORREF>(lParam);
        notifyWindowChanged(hwnd, WindowChange::Content);
        return previous;
    }
    case EM_SETEVENTMASK: {
        const LPARAM previous = s->eventMask;
        s->eventMask = lParam;
        return previous;
    }
    case EM_GETEVENTMASK:
        return s->eventMask;
    case EM_EXLIMITTEXT: {
        const size_t limit = static_cast<size_t>(static_cast<std::uint32_t>(lParam));
        s->limit = limit == 0 ? kRichLimitForZero : std::min(limit, kEditNoLimit);
        return 0;
    }
    case EM_EXGETSEL: {
        auto* range = reinterpret_cast<CHARRANGE*>(lParam);
        size_t a = 0;
        size_t b = 0;
        editSelection(hwnd, a, b);
        if (range != nullptr) {
            range->cpMin = static_cast<LONG>(a);
            range->cpMax = static_cast<LONG>(b);
        }
        return 0;
    }
    case EM_EXSETSEL: {
        const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
        if (range == nullptr)
            return 0;
        editProc(hwnd, EM_SETSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(range->cpMin)),
                 static_cast<LPARAM>(range->cpMax));
        size_t a = 0;
        size_t b = 0;
        editSelection(hwnd, a, b);
        return static_cast<LRESULT>(b);
    }
    case EM_GETTEXTRANGE: {
        // The caller sizes the buffer by characters; a range never writes more bytes than it has
        // characters plus the zero, cutting a multi-byte character that would not fit.
        auto* range = reinterpret_cast<TEXTRANGE*>(lParam);
        if (range == nullptr || range->lpstrText == nullptr)
            return 0;
        const std::u32string text = decodeLossless(*textOf(hwnd));
        const size_t from = std::min(static_cast<size_t>(std::max<LONG>(0, range->chrg.cpMin)), text.size());
        const size_t to = range->chrg.cpMax < 0 ? text.size()
                                                : std::min(static_cast<size_t>(range->chrg.cpMax), text.size());
        if (to <= from) {
            range->lpstrText[0] = '\0';
            return 0;
        }
        const std::string bytes = encodeLossless(std::u32string_view(text).substr(from, to - from));
        return copyTextOut(bytes, range->lpstrText, to - from + 1);
    }
    case EM_HIDESELECTION:
        return 0;
    case EM_POSFROMCHAR: {
        // Rich edits take a POINT to fill and the character in lParam.
        auto* point = reinterpret_cast<POINT*>(wParam);
        const LRESULT packed = editProc(hwnd, message, static_cast<WPARAM>(lParam), 0);
        if (point != nullptr && packed != -1)
            *point = POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)};
        return 0;
    }
    case EM_CHARFROMPOS: {
        const auto* point = reinterpret_cast<const POINT*>(lParam);
        if (point == nullptr)
            return -1;
        const LRESULT packed = editProc(hwnd, message, 0,
                                        MAKELPARAM(static_cast<WORD>(point->x), static_cast<WORD>(point->y)));
        return LOWORD(static_cast<std::uintptr_t>(packed));
    }
    default:
        return editProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterRichEditClass {
    RegisterRichEditClass() { RegisterWindowClass(RICHEDIT_CLASS, richProc); }
} registerRichEditClass;

} // namespace

} // namespace kxwin::detail

namespace kxwin {

std::vector<RichTextRun> richTextRuns(HWND richEdit)
{
    std::vector<RichTextRun> runs;
    auto* s = detail::stateOf<detail::RichState>(richEdit);
    if (s == nullptr)
        return runs;
    const std::u32string text = detail::decodeLossless(*detail::textOf(richEdit));
    const size_t n = std::min(text.size(), s->formats.size());
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && s->formats[j] == s->formats[i])
            ++j;
        RichTextRun run;
        run.start = static_cast<int>(i);
        run.length = static_cast<int>(j - i);
        run.text = detail::encodeLossless(std::u32string_view(text).substr(i, j - i));
        run.format = s->palette[s->formats[i]];
        runs.push_back(std::move(run));
        i = j;
    }
    return runs;
}

COLORREF richEditBackground(HWND richEdit, bool* system)
{
    auto* s = detail::stateOf<detail::RichState>(richEdit);
    if (system != nullptr)
        *system = s == nullptr || s->systemBackground;
    return s ? s->background : 0;
}

} // namespace kxwin
