// What the constraint editor's two source files share: small grid and control helpers, and the
// guards around nested calls. Private to this folder.
#pragma once

#include "constraints/ZnDlgEditConstraints.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"

#include <string>

namespace kxconstr::detail {

// The kinds of a variable, in the order of the drop-down cell.
inline Kx_StringArray variableKinds()
{
    Kx_StringArray kinds;
    for (int n : {900, 895, 893, 901, 902, 1325, 1326, 1327})
        kinds.append(dialString(n));
    return kinds;
}

inline Kx_String itemText(HWND list, int index)
{
    const LRESULT length = ::SendMessage(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Kx_String(std::move(text));
}

inline int activeRow(const Kx_Spread& grid)
{
    int col = 0, row = 0;
    if (!SSGetActiveCell(grid.GetSafeHwnd(), &col, &row))
        return 0;
    return row;
}

inline void selectRow(Kx_Spread& grid, int row)
{
    if (row >= 1 && row <= grid.getRowCount())
        SSSetActiveCell(grid.GetSafeHwnd(), 1, row);
}

inline Kx_String windowText(CWnd* dialog, int id)
{
    return Kx_String(GetWindowText(dialog->GetDlgItem(id)));
}

} // namespace kxconstr::detail

// Brackets a prompt, menu, dialog or drawing command that the editor runs: a close asked for
// meanwhile waits until it returns (see closeIfPending).
class ZnDlgEditConstraints::Nested {
public:
    explicit Nested(ZnDlgEditConstraints& editor) : m_editor(editor) { ++m_editor.m_nested; }
    ~Nested() { --m_editor.m_nested; }
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;

private:
    ZnDlgEditConstraints& m_editor;
};

namespace kxconstr::detail {

// Brackets a handler of the user's. At its end a close asked for while something nested ran is done.
// A page's handler runs outside the editor's own message dispatch, so the guard counts as one: an
// editor closed (or unloaded) meanwhile is only deleted here, once the handler is done with it, as
// the window layer does at the end of the editor's own messages.
template <typename Editor>
class CloseWhenIdle {
public:
    explicit CloseWhenIdle(Editor& editor) : m_editor(editor) { m_editor.beginDispatch(); }
    ~CloseWhenIdle()
    {
        m_editor.closeIfPending();
        // The registry handed the editor to deleteWhenIdle: the deletion it asked for happens here.
        if (m_editor.endDispatch())
            delete &m_editor;
    }
    CloseWhenIdle(const CloseWhenIdle&) = delete;
    CloseWhenIdle& operator=(const CloseWhenIdle&) = delete;

private:
    Editor& m_editor;
};

} // namespace kxconstr::detail
