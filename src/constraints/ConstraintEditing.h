// The constraint editor's rules that need no window: how equations travel through the text box,
// which variable names are refused, which row or module is selected after a removal, and how the
// variables grid's rows become variables again. The dialog (ZnDlgEditConstraints) applies them.
#pragma once

#include "core/EditConstrData.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <optional>
#include <string>
#include <vector>

namespace kxconstr {

// The equations as the box shows them: one per line, joined by a single line feed.
Kx_String joinEquations(const Kx_StringArray& equations);
// The box's text back into equations: lines end at CR, LF or CR LF; empty lines are dropped, every
// other line is kept as typed. joinEquations then splitEquations gives the list back unchanged for
// equations without line breaks.
Kx_StringArray splitEquations(const std::string& text);

// The warning a variable name gets: the message box's text and caption.
struct NameWarning {
    Kx_String text;
    Kx_String caption;
};
// Checks a typed variable name: in use (inUse), ends with an operator, starts with a digit, in that
// order. No value when the name is accepted.
std::optional<NameWarning> checkVariableName(const Kx_String& name, bool inUse);

// The 0-based position to select in a list of `count` entries after the entry at `removed` went:
// the same position, or the one before it when the removed entry was the last; -1 when the list is
// empty.
int positionAfterRemoval(int removed, int count);
// The 1-based grid row to select after row `deleted` was deleted and `rows` remain: the row above,
// or the first row when there is none above; 0 when the grid is empty.
int rowAfterDelete(int deleted, int rows);
// The tie-break column a sort on `column` passes when `sortColumn` (0: none yet) was sorted last.
int previousSortColumn(int column, int sortColumn);

// The pop-up menu entry kinds (PopupMenuEntry: 1 plain, 4 greyed, 5 separator) of a constraint's
// context menu: "%BREAK%" is a separator; an item listed in `disabled`, one without an id, and one
// beyond the six positions that carry a command the editor can pass on are greyed.
std::vector<int> contextMenuKinds(const Kx_StringArray& items, const Kx_Array<int>& ids, const Kx_Array<int>& disabled);
// The menu's positions that carry a command.
inline constexpr int kContextMenuPositions = 6;

// Whether the properties shown differ from the stored ones (texts compared ignoring case).
bool constraintDiffers(const ConstraintRow& stored, const ConstraintRow& shown);

// One row of the variables grid as read back.
struct VariableRow {
    Kx_String name;
    bool hasNumber = false;
    double number = 0.0;
    int kind = 0;
};
// The variables from the grid's rows. A row whose name is blank is no variable (an added row the
// user left empty). The grid shows numbers with `decimals` decimals: a row whose number still shows
// the old value of the variable in the same row (the same name) keeps the exact old value, so that
// applying never rounds what the user did not touch.
Kx_Array<ConstraintVariable> variablesFromRows(const Kx_Array<VariableRow>& rows,
                                               const Kx_Array<ConstraintVariable>& before, int decimals);

} // namespace kxconstr
