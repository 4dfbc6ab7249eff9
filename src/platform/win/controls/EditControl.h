// Private to the standard controls: the edit engine behind the "Edit" class, shared with the rich
// edit (which keeps formatting beside the text through the hooks below) and driven by the combo box
// through its inner edit. The text itself lives in the window node, so the tree and mirrors see it.
#pragma once

#include "platform/win/WindowInternal.h"

#include <memory>
#include <string>
#include <vector>

namespace kxwin::detail {

// What the user may type before EM_LIMITTEXT is sent, as the framework's edit starts.
inline constexpr size_t kEditDefaultLimit = 30000;
// EM_LIMITTEXT 0 lifts the limit.
inline constexpr size_t kEditNoLimit = 0x7FFFFFFE;

struct EditState : ControlState {
    // Selection in characters: the anchor stays, the caret moves with Shift+arrows.
    size_t anchor = 0;
    size_t caret = 0;
    size_t limit = kEditDefaultLimit;
    size_t firstLine = 0;  // first visible line of a multi-line edit
    bool modified = false;
    bool focused = false;
    bool mouseSelecting = false;
    bool typing = false;  // the last change was typed at the caret: more typing joins its undo step
    char32_t passwordChar = U'*';
    // One level of undo: the text and selection before the last change, as the framework keeps it.
    bool canUndo = false;
    std::string undoText;
    size_t undoAnchor = 0;
    size_t undoCaret = 0;

    // Rich edits break lines at CR, LF and CR LF; plain edits only at CR LF.
    virtual bool breaksAtLoneCrOrLf() const { return false; }
    // The characters [start, start + removed) were replaced by `inserted` new ones.
    virtual void textReplaced(size_t start, size_t removed, size_t inserted) {}
    // The whole text was replaced (WM_SETTEXT, undo) and now has `length` characters.
    virtual void textReset(size_t length) {}
    virtual bool sendsChange() const { return true; }
    virtual bool sendsUpdate() const { return true; }
};

// --- Lines and positions (EditLines.cpp) ----------------------------------------------------------
struct EditLine {
    size_t start = 0;
    size_t length = 0;       // characters before the break
    size_t breakLength = 0;  // 2 for CR LF, 1 for a lone CR or LF (rich edit), 0 on the last line
};

std::u32string editText(HWND hwnd);
bool isMultiLineEdit(HWND hwnd);
// A single-line edit is one line whatever it holds.
std::vector<EditLine> editLines(HWND hwnd, const EditState& s, const std::u32string& text);
size_t lineOfPosition(const std::vector<EditLine>& lines, size_t pos);
bool insideCrLf(const std::u32string& text, size_t pos);
// A position never falls between the CR and LF of a line break: it moves before the break.
size_t snapPosition(HWND hwnd, const std::u32string& text, size_t pos);
int visibleLines(HWND hwnd);
// The character nearest a client point, with the headless character cell.
size_t charFromPoint(HWND hwnd, POINT p, size_t* lineOut = nullptr);
// EM_GETLINECOUNT, EM_LINEINDEX, EM_LINEFROMCHAR, EM_LINELENGTH, EM_GETLINE, EM_CHARFROMPOS and
// EM_POSFROMCHAR.
LRESULT editLineMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// --- The edit ------------------------------------------------------------------------------------

// Gives a new edit window its state (an EditState or a subclass); call from WM_CREATE.
void attachEditState(HWND hwnd, std::unique_ptr<EditState> state);
// The edit class procedure; the rich edit passes it everything it does not handle itself.
LRESULT editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The selection as (start, end) with start <= end, in characters.
void editSelection(HWND hwnd, size_t& start, size_t& end);
// Selects [start, end) as EM_SETSEL does, without notifying.
void editSetSelection(HWND hwnd, size_t anchor, size_t caret);

} // namespace kxwin::detail
