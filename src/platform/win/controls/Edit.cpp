// The "Edit" class: single- and multi-line text entry with a character selection, typing, the
// editing keys, the clipboard through the backend, one level of undo, a text limit, digit-only and
// case-converting styles, read-only mode and the EN_ notifications. Positions count characters of
// the UTF-8 text; line breaks of a multi-line edit are CR LF. Formatting belongs to RichEdit.cpp.
#include "platform/win/controls/EditControl.h"

#include "platform/win/Backend.h"
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

bool isReadOnly(HWND hwnd)
{
    return (styleOf(hwnd) & ES_READONLY) != 0;
}

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n';
}

// Scrolls a multi-line edit so that the caret's line is visible.
void showCaret(HWND hwnd, EditState& s, const std::u32string& text)
{
    if (!isMultiLineEdit(hwnd))
        return;
    const auto lines = editLines(hwnd, s, text);
    const size_t line = lineOfPosition(lines, s.caret);
    const size_t visible = static_cast<size_t>(visibleLines(hwnd));
    if (line < s.firstLine)
        s.firstLine = line;
    else if (line >= s.firstLine + visible)
        s.firstLine = line - visible + 1;
    s.firstLine = std::min(s.firstLine, lines.size() - 1);
}

void select(HWND hwnd, EditState& s, size_t anchor, size_t caret)
{
    const std::u32string text = editText(hwnd);
    anchor = snapPosition(hwnd, text, anchor);
    caret = snapPosition(hwnd, text, caret);
    if (anchor == s.anchor && caret == s.caret)
        return;
    s.typing = false;
    s.anchor = anchor;
    s.caret = caret;
    showCaret(hwnd, s, text);
    notifyWindowChanged(hwnd, WindowChange::Content);
}

void selectionOf(const EditState& s, size_t& a, size_t& b)
{
    a = std::min(s.anchor, s.caret);
    b = std::max(s.anchor, s.caret);
}

// EN_UPDATE then EN_CHANGE. False when the parent destroyed the edit meanwhile.
bool announceChange(HWND hwnd)
{
    EditState* s = edit(hwnd);
    const bool update = s->sendsUpdate();
    const bool change = s->sendsChange();
    if (update) {
        notifyCommand(hwnd, EN_UPDATE);
        if (!IsWindow(hwnd))
            return false;
    }
    if (change) {
        notifyCommand(hwnd, EN_CHANGE);
        if (!IsWindow(hwnd))
            return false;
    }
    return true;
}

void rememberUndo(HWND hwnd, EditState& s)
{
    s.canUndo = true;
    s.undoText = *textOf(hwnd);
    s.undoAnchor = s.anchor;
    s.undoCaret = s.caret;
}

// Puts `insert` in place of [start, end) and leaves the caret after it; no notification.
void applyReplace(HWND hwnd, EditState& s, std::u32string text, size_t start, size_t end, const std::u32string& insert)
{
    text.replace(start, end - start, insert);
    setTextDirect(hwnd, encodeLossless(text));
    s.textReplaced(start, end - start, insert.size());
    s.anchor = s.caret = start + insert.size();
    s.typing = false;
    showCaret(hwnd, s, text);
    notifyWindowChanged(hwnd, WindowChange::Content);
}

std::u32string convertCase(HWND hwnd, std::u32string text)
{
    const DWORD style = styleOf(hwnd);
    if (style & ES_UPPERCASE)
        return toUpper(std::move(text));
    if (style & ES_LOWERCASE)
        return toLower(std::move(text));
    return text;
}

// Pasted text: a single-line edit takes its first line; a plain multi-line edit turns lone CR or LF
// into CR LF so that what it shows as separate lines is separate lines.
std::u32string adaptPasted(HWND hwnd, const EditState& s, std::u32string text)
{
    if (!isMultiLineEdit(hwnd)) {
        const size_t cut = text.find_first_of(U"\r\n");
        if (cut != std::u32string::npos)
            text.resize(cut);
        return text;
    }
    if (s.breaksAtLoneCrOrLf())
        return text;
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            out += U"\r\n";
            ++i;
        } else if (text[i] == U'\r' || text[i] == U'\n') {
            out += U"\r\n";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

enum class Source { Typed, Pasted, Program };

// Replaces the selection within the text limit. User input is refused by a read-only edit and, in a
// digits-only edit, when it holds anything but digits. Returns true when the text changed.
bool replaceSelection(HWND hwnd, std::u32string insert, Source source, bool undoable)
{
    EditState* s = edit(hwnd);
    if (source != Source::Program) {
        if (isReadOnly(hwnd))
            return false;
        if ((styleOf(hwnd) & ES_NUMBER) &&
            std::any_of(insert.begin(), insert.end(), [](char32_t c) { return c < U'0' || c > U'9'; }))
            return false;
    }
    if (source == Source::Pasted)
        insert = adaptPasted(hwnd, *s, std::move(insert));
    insert = convertCase(hwnd, std::move(insert));

    std::u32string text = editText(hwnd);
    size_t a = 0;
    size_t b = 0;
    selectionOf(*s, a, b);
    a = std::min(a, text.size());
    b = std::min(b, text.size());
    const size_t kept = text.size() - (b - a);
    size_t room = s->limit > kept ? s->limit - kept : 0;
    bool truncated = false;
    if (insert.size() > room) {
        truncated = true;
        if (room > 0 && insert[room - 1] == U'\r' && insert[room] == U'\n')
            --room;  // never half a line break
        insert.resize(room);
    }
    if (insert.empty() && a == b) {
        if (truncated)
            notifyCommand(hwnd, EN_MAXTEXT);
        return false;
    }
    // Consecutive typing is undone as one step, as a person expects.
    const bool continuesTyping = source == Source::Typed && s->typing && s->canUndo && a == b;
    if (undoable && !continuesTyping)
        rememberUndo(hwnd, *s);
    applyReplace(hwnd, *s, std::move(text), a, b, insert);
    s->typing = source == Source::Typed;
    if (source != Source::Program)
        s->modified = true;
    if (!announceChange(hwnd))
        return true;
    if (truncated)
        notifyCommand(hwnd, EN_MAXTEXT);
    return true;
}

bool deleteRange(HWND hwnd, size_t a, size_t b)
{
    EditState* s = edit(hwnd);
    if (isReadOnly(hwnd) || a >= b)
        return false;
    rememberUndo(hwnd, *s);
    applyReplace(hwnd, *s, editText(hwnd), a, b, {});
    s->modified = true;
    announceChange(hwnd);
    return true;
}

void deleteSelectionOrChar(HWND hwnd, bool backwards)
{
    EditState* s = edit(hwnd);
    const std::u32string text = editText(hwnd);
    size_t a = 0;
    size_t b = 0;
    selectionOf(*s, a, b);
    if (a != b) {
        deleteRange(hwnd, a, b);
        return;
    }
    const bool multi = isMultiLineEdit(hwnd);
    if (backwards) {
        if (a == 0)
            return;
        size_t start = a - 1;
        if (multi && start > 0 && text[start] == U'\n' && text[start - 1] == U'\r')
            --start;
        deleteRange(hwnd, start, a);
    } else {
        if (a >= text.size())
            return;
        size_t end = a + 1;
        if (multi && text[a] == U'\r' && end < text.size() && text[end] == U'\n')
            ++end;
        deleteRange(hwnd, a, end);
    }
}

void copySelection(HWND hwnd)
{
    EditState* s = edit(hwnd);
    if (styleOf(hwnd) & ES_PASSWORD)
        return;
    size_t a = 0;
    size_t b = 0;
    selectionOf(*s, a, b);
    if (a == b)
        return;
    const std::u32string text = editText(hwnd);
    backend().setClipboardText(encodeLossless(std::u32string_view(text).substr(a, b - a)));
}

void cutSelection(HWND hwnd)
{
    if (isReadOnly(hwnd) || (styleOf(hwnd) & ES_PASSWORD))
        return;
    copySelection(hwnd);
    EditState* s = edit(hwnd);
    size_t a = 0;
    size_t b = 0;
    selectionOf(*s, a, b);
    deleteRange(hwnd, a, b);
}

void paste(HWND hwnd)
{
    if (isReadOnly(hwnd))
        return;
    replaceSelection(hwnd, decodeLossless(backend().clipboardText()), Source::Pasted, /*undoable=*/true);
}

void undo(HWND hwnd)
{
    EditState* s = edit(hwnd);
    if (!s->canUndo || isReadOnly(hwnd))
        return;
    const std::string redoText = *textOf(hwnd);
    const size_t redoAnchor = s->anchor;
    const size_t redoCaret = s->caret;
    setTextDirect(hwnd, s->undoText);
    s->textReset(countChars(s->undoText));
    s->anchor = s->undoAnchor;
    s->caret = s->undoCaret;
    s->typing = false;
    // Undoing twice redoes, as the framework's single undo level does.
    s->undoText = redoText;
    s->undoAnchor = redoAnchor;
    s->undoCaret = redoCaret;
    s->modified = true;
    showCaret(hwnd, *s, editText(hwnd));
    notifyWindowChanged(hwnd, WindowChange::Content);
    announceChange(hwnd);
}

void moveTo(HWND hwnd, size_t pos, bool extend)
{
    EditState* s = edit(hwnd);
    select(hwnd, *s, extend ? s->anchor : pos, pos);
}

void handleNavigation(HWND hwnd, int key, bool shift, bool ctrl)
{
    EditState* s = edit(hwnd);
    const std::u32string text = editText(hwnd);
    const bool multi = isMultiLineEdit(hwnd);
    size_t a = 0;
    size_t b = 0;
    selectionOf(*s, a, b);
    size_t pos = s->caret;
    // A single-line edit treats Up and Down as Left and Right.
    if (!multi && key == VK_UP)
        key = VK_LEFT;
    if (!multi && key == VK_DOWN)
        key = VK_RIGHT;
    const auto lines = editLines(hwnd, *s, text);
    const size_t line = lineOfPosition(lines, pos);
    switch (key) {
    case VK_LEFT:
        if (!shift && a != b && !ctrl) {
            pos = a;
        } else if (ctrl) {
            while (pos > 0 && isSpace(text[pos - 1]))
                --pos;
            while (pos > 0 && !isSpace(text[pos - 1]))
                --pos;
        } else if (pos > 0) {
            --pos;
            if (multi && insideCrLf(text, pos))
                --pos;
        }
        break;
    case VK_RIGHT:
        if (!shift && a != b && !ctrl) {
            pos = b;
        } else if (ctrl) {
            while (pos < text.size() && !isSpace(text[pos]))
                ++pos;
            while (pos < text.size() && isSpace(text[pos]))
                ++pos;
        } else if (pos < text.size()) {
            ++pos;
            if (multi && insideCrLf(text, pos))
                ++pos;
        }
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!multi)
            return;
        const size_t col = pos - lines[line].start;
        const size_t step = (key == VK_UP || key == VK_DOWN) ? 1 : static_cast<size_t>(visibleLines(hwnd));
        size_t target = line;
        if (key == VK_UP || key == VK_PRIOR)
            target = line >= step ? line - step : 0;
        else
            target = std::min(lines.size() - 1, line + step);
        pos = lines[target].start + std::min(col, lines[target].length);
        break;
    }
    case VK_HOME:
        pos = (ctrl || !multi) ? 0 : lines[line].start;
        break;
    case VK_END:
        pos = (ctrl || !multi) ? text.size() : lines[line].start + lines[line].length;
        break;
    default:
        return;
    }
    moveTo(hwnd, pos, shift);
}

bool isComboEdit(HWND hwnd)
{
    return GetDlgCtrlID(hwnd) == IDC_COMBO_EDIT && GetClassName(GetParent(hwnd)) == "ComboBox";
}

bool comboDropped(HWND hwnd)
{
    return SendMessage(GetParent(hwnd), CB_GETDROPPEDSTATE) != 0;
}

LRESULT dialogCode(HWND hwnd, const MSG* msg)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (isComboEdit(hwnd)) {
        // While the list is open, Enter and Escape close it instead of working the dialog.
        if (comboDropped(hwnd) && isEnterOrEscape(reinterpret_cast<LPARAM>(msg)))
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    if (!isMultiLineEdit(hwnd))
        return code;
    const bool wantReturn = (styleOf(hwnd) & ES_WANTRETURN) != 0;
    if (msg == nullptr)
        return wantReturn ? code | DLGC_WANTALLKEYS : code;
    if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR)
        return code;
    const bool isReturn = (msg->message == WM_KEYDOWN && msg->wParam == static_cast<WPARAM>(VK_RETURN)) ||
                          (msg->message == WM_CHAR && msg->wParam == '\r');
    const bool isTab = (msg->message == WM_KEYDOWN && msg->wParam == static_cast<WPARAM>(VK_TAB)) ||
                       (msg->message == WM_CHAR && msg->wParam == '\t');
    // Enter makes a new line with ES_WANTRETURN, Ctrl+Enter always; Ctrl+Tab types a tab.
    if (isReturn && (wantReturn || keyIsDown(VK_CONTROL)))
        code |= DLGC_WANTALLKEYS;
    if (isTab && keyIsDown(VK_CONTROL))
        code |= DLGC_WANTALLKEYS;
    return code;
}

void onKeyDown(HWND hwnd, int key, LPARAM lParam)
{
    const bool shift = keyIsDown(VK_SHIFT);
    const bool ctrl = keyIsDown(VK_CONTROL);
    if (isComboEdit(hwnd)) {
        const bool listKey = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_F4;
        const bool closeKey = (key == VK_RETURN || key == VK_ESCAPE) && comboDropped(hwnd);
        if (listKey || closeKey) {
            SendMessage(GetParent(hwnd), WM_KEYDOWN, static_cast<WPARAM>(key), lParam);
            return;
        }
    }
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        handleNavigation(hwnd, key, shift, ctrl);
        return;
    case VK_DELETE:
        if (shift)
            cutSelection(hwnd);
        else
            deleteSelectionOrChar(hwnd, /*backwards=*/false);
        return;
    case VK_INSERT:
        if (ctrl)
            copySelection(hwnd);
        else if (shift)
            paste(hwnd);
        return;
    default:
        break;
    }
    if (!ctrl)
        return;
    switch (key) {
    case 'A':
        select(hwnd, *edit(hwnd), 0, editText(hwnd).size());
        break;
    case 'C':
        copySelection(hwnd);
        break;
    case 'X':
        cutSelection(hwnd);
        break;
    case 'V':
        paste(hwnd);
        break;
    case 'Z':
        undo(hwnd);
        break;
    default:
        break;
    }
}

// Characters: WM_CHAR carries a code point. Control characters other than Backspace, line breaks
// and Tab are ignored (the clipboard keys work on WM_KEYDOWN with Ctrl held).
void onChar(HWND hwnd, WPARAM wParam)
{
    const char32_t cp = static_cast<char32_t>(wParam);
    const bool multi = isMultiLineEdit(hwnd);
    if (cp == 0x08) {
        if (!isReadOnly(hwnd))
            deleteSelectionOrChar(hwnd, /*backwards=*/true);
        return;
    }
    if (cp == U'\r' || cp == U'\n') {
        if (multi)
            replaceSelection(hwnd, U"\r\n", Source::Typed, /*undoable=*/true);
        return;
    }
    if (cp == U'\t') {
        if (multi)
            replaceSelection(hwnd, U"\t", Source::Typed, /*undoable=*/true);
        return;
    }
    if (cp < 0x20 || cp == 0x7F || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return;
    replaceSelection(hwnd, std::u32string(1, cp), Source::Typed, /*undoable=*/true);
}

void onSetText(HWND hwnd, LPARAM lParam)
{
    EditState* s = edit(hwnd);
    const std::u32string text = convertCase(hwnd, decodeLossless(textParam(lParam)));
    setTextDirect(hwnd, encodeLossless(text));
    s->anchor = s->caret = 0;
    s->typing = false;
    s->firstLine = 0;
    s->modified = false;
    s->canUndo = false;
    s->textReset(text.size());
    notifyWindowChanged(hwnd, WindowChange::Content);
    announceChange(hwnd);
}

} // namespace

void attachEditState(HWND hwnd, std::unique_ptr<EditState> state)
{
    setControlState(hwnd, std::move(state));
}

void editSelection(HWND hwnd, size_t& start, size_t& end)
{
    start = end = 0;
    if (EditState* s = edit(hwnd))
        selectionOf(*s, start, end);
}

void editSetSelection(HWND hwnd, size_t anchor, size_t caret)
{
    if (EditState* s = edit(hwnd))
        select(hwnd, *s, anchor, caret);
}

LRESULT editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        if (edit(hwnd) == nullptr)
            attachEditState(hwnd, std::make_unique<EditState>());
        // The creation text takes the edit's case, silently: the parent is still being built.
        const std::u32string text = convertCase(hwnd, editText(hwnd));
        setTextDirect(hwnd, encodeLossless(text));
        edit(hwnd)->textReset(text.size());
        return 0;
    }
    EditState* s = edit(hwnd);
    if (s == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;

    switch (message) {
    case WM_GETDLGCODE:
        return dialogCode(hwnd, reinterpret_cast<const MSG*>(lParam));
    case WM_SETTEXT:
        onSetText(hwnd, lParam);
        return TRUE;
    case WM_GETTEXT:
        return copyTextOut(*textOf(hwnd), reinterpret_cast<char*>(lParam), wParam);
    case WM_SETFOCUS:
        s->focused = true;
        notifyWindowChanged(hwnd, WindowChange::Content);
        notifyCommand(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->mouseSelecting = false;
        notifyWindowChanged(hwnd, WindowChange::Content);
        notifyCommand(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_CHAR:
        if (enabled)
            onChar(hwnd, wParam);
        return 0;
    case WM_KEYDOWN:
        if (enabled)
            onKeyDown(hwnd, static_cast<int>(wParam), lParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (enabled && isComboEdit(hwnd) && (wParam == VK_DOWN || wParam == VK_UP)) {
            SendMessage(GetParent(hwnd), message, wParam, lParam);
            return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: {
        if (!enabled)
            return 0;
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd))
                return 0;
        }
        const size_t pos = charFromPoint(hwnd, pointFrom(lParam));
        select(hwnd, *s, (wParam & MK_SHIFT) ? s->anchor : pos, pos);
        s->mouseSelecting = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->mouseSelecting && GetCapture() == hwnd)
            select(hwnd, *s, s->anchor, charFromPoint(hwnd, pointFrom(lParam)));
        return 0;
    case WM_LBUTTONUP:
        if (s->mouseSelecting) {
            s->mouseSelecting = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        if (!enabled)
            return 0;
        // A double click selects the word under the pointer.
        const std::u32string text = editText(hwnd);
        const size_t pos = charFromPoint(hwnd, pointFrom(lParam));
        size_t a = pos;
        size_t b = pos;
        while (a > 0 && !isSpace(text[a - 1]))
            --a;
        while (b < text.size() && !isSpace(text[b]))
            ++b;
        select(hwnd, *s, a, b);
        return 0;
    }
    case WM_CAPTURECHANGED:
        s->mouseSelecting = false;
        return 0;
    case WM_SIZE:
        showCaret(hwnd, *s, editText(hwnd));
        return 0;
    case WM_CUT:
        cutSelection(hwnd);
        return 0;
    case WM_COPY:
        copySelection(hwnd);
        return 0;
    case WM_PASTE:
        paste(hwnd);
        return 0;
    case WM_CLEAR: {
        size_t a = 0;
        size_t b = 0;
        selectionOf(*s, a, b);
        deleteRange(hwnd, a, b);
        return 0;
    }
    case WM_UNDO:
    case EM_UNDO:
        if (!s->canUndo)
            return FALSE;
        undo(hwnd);
        return TRUE;
    case EM_CANUNDO:
        return s->canUndo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        s->canUndo = false;
        s->undoText.clear();
        return 0;
    case EM_GETSEL: {
        size_t a = 0;
        size_t b = 0;
        selectionOf(*s, a, b);
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(a);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(b);
        if (a > 0xFFFF || b > 0xFFFF)
            return -1;
        return MAKELPARAM(static_cast<WORD>(a), static_cast<WORD>(b));
    }
    case EM_SETSEL: {
        // start -1 removes the selection; an end below 0 means the end of the text.
        const int start = static_cast<int>(static_cast<std::int32_t>(wParam));
        const int end = static_cast<int>(static_cast<std::int32_t>(lParam));
        const size_t length = editText(hwnd).size();
        if (start < 0) {
            select(hwnd, *s, s->caret, s->caret);
            return 0;
        }
        const size_t to = end < 0 ? length : std::min(static_cast<size_t>(end), length);
        select(hwnd, *s, std::min(static_cast<size_t>(start), length), to);
        return 0;
    }
    case EM_REPLACESEL:
        replaceSelection(hwnd, decodeLossless(textParam(lParam)), Source::Program, /*undoable=*/wParam != 0);
        return 0;
    case EM_GETMODIFY:
        return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s->modified = wParam != 0;
        return 0;
    case EM_LIMITTEXT: {
        const size_t limit = static_cast<size_t>(static_cast<std::uint32_t>(wParam));
        s->limit = (limit == 0 || limit > kEditNoLimit) ? kEditNoLimit : limit;
        return 0;
    }
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(s->limit);
    case EM_SETREADONLY: {
        const DWORD style = styleOf(hwnd);
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(wParam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
        return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
        const DWORD style = styleOf(hwnd);
        if (wParam != 0)
            s->passwordChar = static_cast<char32_t>(wParam);
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD)));
        return 0;
    }
    case EM_GETPASSWORDCHAR:
        return (styleOf(hwnd) & ES_PASSWORD) ? static_cast<LRESULT>(s->passwordChar) : 0;
    case EM_GETFIRSTVISIBLELINE:
        return isMultiLineEdit(hwnd) ? static_cast<LRESULT>(s->firstLine) : 0;
    case EM_SCROLLCARET:
        showCaret(hwnd, *s, editText(hwnd));
        return TRUE;
    case EM_GETRECT:
        if (lParam != 0)
            GetClientRect(hwnd, *reinterpret_cast<RECT*>(lParam));
        return 0;
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_LINELENGTH:
    case EM_GETLINE:
    case EM_CHARFROMPOS:
    case EM_POSFROMCHAR:
        return editLineMessage(hwnd, message, wParam, lParam);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

namespace {

LRESULT editClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return editProc(hwnd, message, wParam, lParam);
}

struct RegisterEditClass {
    RegisterEditClass() { RegisterWindowClass("Edit", editClassProc); }
} registerEditClass;

} // namespace

} // namespace kxwin::detail
