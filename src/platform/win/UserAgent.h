// The headless backend's scripted user. A test says what the person will do in each dialog,
// message box, menu and file dialog that opens, in order; the agent does it as a person would
// (focus, clicks, typing, keys) so every handler and notification runs as for real input.
// Anything modal that no script expects is a test failure with a clear message, never a hang.
#pragma once

#include "platform/win/Backend.h"
#include "platform/win/KxWinExport.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kxwin {

// Acts on one open dialog. Ids name controls of the dialog, or of a child dialog inside it.
class KXWIN_API DialogDriver {
public:
    explicit DialogDriver(HWND dialog) : m_dialog(dialog) {}

    HWND dialog() const { return m_dialog; }
    // The control with this id anywhere in the dialog (child dialogs included); null when none.
    HWND item(int id) const;
    std::string text(int id) const;
    std::string title() const;
    bool isEnabled(int id) const;
    bool isVisible(int id) const;
    int checkState(int id) const;
    bool isOpen() const;
    // The selection of an edit, rich edit or drop-down combo's edit, in characters (start <= end).
    std::pair<int, int> selection(int id) const;
    // The chosen entry of a combo box, list box, tab control or (first selected) list view item;
    // -1 when none.
    int selectedIndex(int id) const;
    // The entries of a combo box, list box, tab control or list view, as shown.
    std::vector<std::string> items(int id) const;
    // The tip shown when the pointer rests on the control; empty when none.
    std::string tooltip(int id) const;

    // Mouse click on the control's centre (focus moves to it first for controls that take it).
    DialogDriver& click(int id);
    DialogDriver& doubleClick(int id);
    DialogDriver& rightClick(int id, POINT at = {-1, -1});
    // Mouse click at a point of the control, in its client pixels (a tab, a list view item...).
    DialogDriver& clickAt(int id, POINT at);
    // Presses the left button at `from`, moves with it held to `to` and releases it there (points
    // in the control's client pixels). While a window holds the capture it gets the moves and the
    // release, in its own client pixels, as with a real mouse.
    DialogDriver& drag(int id, POINT from, POINT to);
    // The mouse at points of the dialog's client area, with Ctrl and Shift held as asked. The window
    // under the point gets the input as the desktop decides (MouseTargetFromPoint: a disabled
    // control hands it to its parent, a static without SS_NOTIFY lets it through), first
    // WM_SETCURSOR and then the mouse message, with MK_CONTROL and MK_SHIFT set and the keys down
    // for GetKeyState. While a window holds the capture it gets the mouse instead.
    DialogDriver& clickPoint(POINT at, bool ctrl = false, bool shift = false);
    // Press at `from`, moves in `steps` even steps with the button held, release at `to`.
    DialogDriver& dragPoint(POINT from, POINT to, bool ctrl = false, bool shift = false, int steps = 4);
    // Moves the mouse to a point without a button (the cursor follows what the window sets).
    DialogDriver& hoverPoint(POINT at, bool ctrl = false, bool shift = false);
    // Clicks a check box or radio until it shows `state`.
    DialogDriver& setCheck(int id, int state);
    // Focus the control, select all its text and type `text` (for drop-down combos their edit).
    DialogDriver& setText(int id, const std::string& text);
    // Focuses an edit (a drop-down combo: its edit) and selects characters [start, end) as a person
    // sweeping the mouse over them would; end -1 selects to the end.
    DialogDriver& selectText(int id, int start, int end = -1);
    // Types into the focused window, character by character.
    DialogDriver& type(const std::string& text);
    // Key press on the focused window with modifiers held, through the dialog's key handling.
    DialogDriver& pressKey(int virtualKey, bool shift = false, bool ctrl = false);
    // Leaves the focused control with Tab.
    DialogDriver& tab(bool back = false);
    // Picks an entry of a combo box, list box, tab control or list view by its text or index.
    DialogDriver& pick(int id, const std::string& itemText);
    DialogDriver& pick(int id, int index);
    DialogDriver& doubleClickItem(int id, int index);
    // Toggles the check mark of an entry (list views with check boxes, multiple-selection lists).
    DialogDriver& toggleItem(int id, int index);
    // Opens or closes a combo box's list.
    DialogDriver& openDropDown(int id);
    DialogDriver& closeDropDown(int id);
    DialogDriver& focus(int id);

    // Picks a command of the dialog's menu bar as a person would (the menu opens first, so the window
    // can update its items). A missing menu bar, a missing item or a greyed one is a failure.
    DialogDriver& menuCommand(UINT command);
    // Whether the menu bar holds the command and a person could choose it now.
    bool isMenuCommandEnabled(UINT command) const;
    // Clicks the button with the command in a toolbar of the dialog; a missing or disabled button
    // is a failure.
    DialogDriver& clickToolbarButton(UINT command);
    // Whether a toolbar of the dialog has the button and it is enabled.
    bool isToolbarButtonEnabled(UINT command) const;

    DialogDriver& ok() { return click(1); }
    DialogDriver& cancel() { return click(2); }
    DialogDriver& escape();
    DialogDriver& closeBox();

private:
    HWND requireUsable(int id, const char* action) const;
    HWND toolbarWith(UINT command) const;
    HWND m_dialog;
};

struct DialogMatch {
    int templateId = 0;     // 0: any template
    std::string title;      // empty: any title
};

class KXWIN_API UserAgent {
public:
    // Installs the agent into the headless backend; only one is active at a time.
    UserAgent();
    // Reports scripts that were never used.
    ~UserAgent();
    UserAgent(const UserAgent&) = delete;
    UserAgent& operator=(const UserAgent&) = delete;

    using DialogScript = std::function<void(DialogDriver&)>;
    UserAgent& onDialog(int templateId, DialogScript script);
    UserAgent& onDialogTitled(const std::string& title, DialogScript script);
    UserAgent& onMessageBox(std::function<int(const MessageBoxRequest&)> answer);
    // The next message box is answered with `button`; when `expectedText` is given the box's text
    // must contain it.
    UserAgent& answerMessageBox(int button, const std::string& expectedText = {});
    UserAgent& onMenu(std::function<UINT(const PopupMenuRequest&)> pick);
    UserAgent& pickMenuCommand(UINT command);
    UserAgent& onFileDialog(std::function<std::optional<std::string>(const FileDialogRequest&)> answer);
    UserAgent& chooseFile(const std::string& path);
    UserAgent& cancelFileDialog();

    // Moves the virtual clock forward, firing timers at their due times in order.
    void advanceClock(DWORD ms);
    DWORD now() const;

    const std::vector<MessageBoxRequest>& messageBoxes() const;
    const std::vector<std::string>& failures() const;
    int unusedScripts() const;

    // Where failures go (a test framework's failure hook); by default they are printed and kept.
    static void setFailureHandler(std::function<void(const std::string&)> handler);

    // Internal to the headless backend.
    struct Data;
    Data& data() { return *m_data; }

private:
    Data* m_data;
};

// Sends one mouse or key message through the pre-translate chain and the dialog keys, then pumps.
KXWIN_API void sendUserInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace kxwin
