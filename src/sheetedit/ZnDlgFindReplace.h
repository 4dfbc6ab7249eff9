// ZnDlgFindReplace: the modeless, always-on-top find and replace dialog (template 218) of one grid.
// The grid wrapper creates it on the first F3 or F5 and is told through `onClosed` when it closes.
// The searching itself is the grid's (FindReplaceTarget); this class holds the order of the search,
// the questions to the user and the grid options the dialog needs while it is open.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"
#include "platform/win/Dialog.h"

#include <functional>

class FindReplaceTarget;

class KXSS_API ZnDlgFindReplace : public CDialog {
public:
    static constexpr int kTemplateId = 218;
    static constexpr const char* kSizeKey = "DLG_FINDREPLACE";

    // Control ids of template 218.
    static constexpr int kFindLabel = 1206;
    static constexpr int kFindEdit = 1207;
    static constexpr int kReplaceLabel = 1208;
    static constexpr int kReplaceEdit = 1209;
    static constexpr int kFindNextButton = 1;  // the default button
    static constexpr int kReplaceButton = 1204;
    static constexpr int kReplaceAllButton = 1205;
    static constexpr int kCloseButton = 2;
    // Whether formula cells are searched in their formulas (FindReplaceTarget::setSearchInFormulas).
    static constexpr int kSearchFormulasCheck = 1210;

    // `target` (not owned) searches the grid `grid`; `onClosed` runs once, after the window is gone;
    // the owner may then delete the object (not from inside the callback: use deleteWhenIdle).
    // Deleting the object while its window is open closes it without calling `onClosed`.
    ZnDlgFindReplace(HWND grid, FindReplaceTarget& target, std::function<void()> onClosed);
    ~ZnDlgFindReplace() override;

    // Creates the window modeless over `parent` and shows it; true at once when it is already open.
    // False when the grid window is gone or the template cannot be made.
    bool open(HWND parent);

    // The commands of the buttons (and of F3 / F5 in the dialog); they do nothing when the grid
    // window is gone or the text to find is empty.
    void findNext();
    void replace();
    void replaceAll();

    HWND gridWindow() const { return m_grid; }

    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    BOOL OnInitDialog() override;
    // Enter and the default button: find next. A modeless dialog never ends with OK.
    void OnOK() override;
    // The close button, Escape and the close box.
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    // The occurrence the dialog selected last. The grid's in-cell editor closes whenever the grid
    // loses the focus, which it does each time the user clicks a button here; this is how the next
    // search still continues inside the same cell, and how Replace knows what the user was shown.
    struct Occurrence {
        bool valid = false;
        int col = 0;
        int row = 0;
        int start = 0;    // characters in the cell's text
        int end = 0;      // one past the occurrence (past the inserted text once replaced)
        bool replaced = false;
    };

    bool gridAlive() const;
    Kx_String findText() const;
    Kx_String replaceText() const;

    // Find next's search from the active cell on, with the wrap question at the end. True when an
    // occurrence is selected in the grid's editor.
    bool searchAndSelect(const Kx_String& text);
    // Where the search inside the active cell goes on from; -1 to go on with the next cell.
    int continueInActiveCell(int col, int row);
    // The first matching cell at or after (col, row) in row order, its occurrence selected.
    bool selectFirstFrom(const Kx_String& text, int col, int row);
    bool selectInCell(const Kx_String& text, int col, int row, int from);
    // True when the occurrence shown last is still the active cell's, at its place, and selected again.
    bool reselectShownOccurrence(const Kx_String& text);

    HWND m_grid;
    FindReplaceTarget& m_target;
    std::function<void()> m_onClosed;
    bool m_previousOption13 = false;
    bool m_optionsTaken = false;
    Occurrence m_last;
};
