// A standard macro page's keyboard focus: what is remembered of it, putting it back, and the Tab key
// through the layout's controls, the grid and the page's own controls.
#include "macro/ZnDlgMacroTab.h"

#include "platform/grid/Spread.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {

constexpr int kLayoutGroup = 0;
constexpr int kGridGroup = 1;
constexpr int kOwnGroup = 2;
constexpr int kGroups = 3;

// The page's own focusable controls, in Tab order.
constexpr int kOwnControls[] = {ZnDlgMacroTab::kAssembly, ZnDlgMacroTab::kDiameter, ZnDlgMacroTab::kAdvanced};

bool canTakeFocus(HWND h)
{
    return h != nullptr && IsWindowVisible(h) && IsWindowEnabled(h);
}

bool isWithin(HWND outer, HWND h)
{
    return outer != nullptr && h != nullptr && (h == outer || IsChild(outer, h));
}

// A grid cell takes input when it is not locked and is not covered by a joined block (only the
// block's anchor takes input, and only when the anchor is not locked).
bool cellTakesInput(HWND grid, int col, int row)
{
    int anchorCol = col;
    int anchorRow = row;
    const int span = SSGetCellSpan(grid, col, row, &anchorCol, &anchorRow, nullptr, nullptr);
    if (span == SS_SPAN_NO)
        return !SSGetLock(grid, col, row);
    if (span == SS_SPAN_ANCHOR)
        return !SSGetLock(grid, anchorCol, anchorRow);
    return false;
}

// The next (previous) cell taking input after (col, row) in row order; false at the end.
bool nextInputCell(HWND grid, bool back, int& col, int& row)
{
    const int cols = SSGetMaxCols(grid);
    const int rows = SSGetMaxRows(grid);
    int c = col;
    int r = row;
    for (long long steps = static_cast<long long>(cols) * rows; steps > 0; --steps) {
        c += back ? -1 : 1;
        if (c > cols) {
            c = 1;
            ++r;
        } else if (c < 1) {
            c = cols;
            --r;
        }
        if (r < 1 || r > rows)
            return false;
        if (cellTakesInput(grid, c, r)) {
            col = c;
            row = r;
            return true;
        }
    }
    return false;
}

} // namespace

bool ZnDlgMacroTab::captureFocus(ZnMacroTabFocus& record) const
{
    HWND focus = GetFocus();
    if (focus == nullptr) {
        record.kind = ZnMacroTabFocus::kNothing;
        return true;
    }
    if (!isWithin(m_hWnd, focus) || focus == m_hWnd)
        return false;
    record.ctrlId = 0;
    record.col = record.row = record.selStart = record.selEnd = 0;
    if (m_grid.m_hWnd != nullptr && isWithin(m_grid.m_hWnd, focus)) {
        record.kind = ZnMacroTabFocus::kGridCell;
        SSGetActiveCell(m_grid.m_hWnd, &record.col, &record.row);
        return true;
    }
    // A drop-down combo keeps the focus in its inner edit: the combo is what was focused.
    HWND parent = ::GetParent(focus);
    if (parent != m_hWnd && parent != nullptr && GetClassName(parent) == "ComboBox")
        focus = parent;
    record.ctrlId = ::GetDlgCtrlID(focus);
    if (m_layout.isTypeBoltCount(record.ctrlId)) {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessage(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        record.kind = ZnMacroTabFocus::kEditSelection;
        record.selStart = static_cast<int>(start);
        record.selEnd = static_cast<int>(end);
    } else {
        record.kind = ZnMacroTabFocus::kControl;
    }
    return true;
}

bool ZnDlgMacroTab::restoreFocus(const ZnMacroTabFocus& record)
{
    switch (record.kind) {
    case ZnMacroTabFocus::kGridCell: {
        HWND grid = m_grid.m_hWnd;
        if (m_gridRows <= 0 || !canTakeFocus(grid) || record.row < 1 || record.row > SSGetMaxRows(grid)
            || record.col < 1 || record.col > SSGetMaxCols(grid))
            return false;
        ::SetFocus(grid);
        return SSSetActiveCell(grid, record.col, record.row) != FALSE;
    }
    case ZnMacroTabFocus::kEditSelection:
    case ZnMacroTabFocus::kControl: {
        // Only a control of this page that is still there and usable: a rebuilt page may lack it.
        HWND control = record.ctrlId != 0 ? GetDlgItem(record.ctrlId) : nullptr;
        if (!canTakeFocus(control))
            return false;
        ::SetFocus(control);
        if (record.kind == ZnMacroTabFocus::kEditSelection) {
            ::SendMessage(control, EM_SETSEL, static_cast<WPARAM>(record.selStart), record.selEnd);
            ::SendMessage(control, EM_SCROLLCARET, 0, 0);
        } else if (GetClassName(control) == "Edit") {
            ::SendMessage(control, EM_SETSEL, 0, -1);
        }
        return true;
    }
    default:
        return false;
    }
}

bool ZnDlgMacroTab::focusFirst()
{
    for (int group = kLayoutGroup; group < kGroups; ++group)
        if (enterGroup(group, /*first=*/true))
            return true;
    return false;
}

int ZnDlgMacroTab::focusGroup() const
{
    HWND focus = GetFocus();
    if (!isWithin(m_hWnd, focus))
        return -1;
    int id = 0;
    if (m_hasLayout && m_layout.getFocusedDynControl(id))
        return kLayoutGroup;
    if (m_grid.m_hWnd != nullptr && isWithin(m_grid.m_hWnd, focus))
        return kGridGroup;
    for (int own : kOwnControls)
        if (isWithin(GetDlgItem(own), focus))
            return kOwnGroup;
    return -1;
}

bool ZnDlgMacroTab::enterGroup(int group, bool first)
{
    switch (group) {
    case kLayoutGroup:
        return m_hasLayout && m_layout.setFocusToCtrl(first);
    case kGridGroup:
        return m_gridRows > 0 && m_grid.focusEdge(first);
    case kOwnGroup: {
        const int n = static_cast<int>(std::size(kOwnControls));
        for (int k = 0; k < n; ++k) {
            HWND h = GetDlgItem(kOwnControls[first ? k : n - 1 - k]);
            if (canTakeFocus(h)) {
                ::SetFocus(h);
                return true;
            }
        }
        return false;
    }
    default:
        return false;
    }
}

bool ZnDlgMacroTab::handleTabKey(bool back)
{
    const int group = focusGroup();
    if (group < 0)
        return false;
    bool moved = false;
    if (group == kLayoutGroup) {
        Kx_TabMsgHandle result = Kx_TabMsgHandle::NotHandled;
        m_layout.handleTabKey(VK_TAB, result);
        if (result == Kx_TabMsgHandle::NotHandled)
            return false;
        moved = result == Kx_TabMsgHandle::Handled;
    } else if (group == kGridGroup) {
        HWND grid = m_grid.m_hWnd;
        int col = 0;
        int row = 0;
        SSGetActiveCell(grid, &col, &row);
        if (nextInputCell(grid, back, col, row)) {
            // What was typed in the cell stays; the grid reports the cell it leaves as usual.
            m_grid.leaveEditMode();
            moved = SSSetActiveCell(grid, col, row) != FALSE;
        }
    } else {
        HWND focus = GetFocus();
        const int n = static_cast<int>(std::size(kOwnControls));
        int at = -1;
        for (int k = 0; k < n; ++k)
            if (isWithin(GetDlgItem(kOwnControls[k]), focus))
                at = k;
        for (int k = at + (back ? -1 : 1); !moved && k >= 0 && k < n; k += back ? -1 : 1) {
            HWND h = GetDlgItem(kOwnControls[k]);
            if (canTakeFocus(h)) {
                ::SetFocus(h);
                moved = true;
            }
        }
    }
    // Past the group's last (before its first) element: the next (previous) group that can take the
    // focus, from its first (last) element; a group with nothing to focus is passed over, and the
    // last try is the group itself again, from its other end.
    for (int k = 1; !moved && k <= kGroups; ++k) {
        const int next = ((group + (back ? -k : k)) % kGroups + kGroups) % kGroups;
        moved = enterGroup(next, /*first=*/!back);
    }
    return true;
}

BOOL ZnDlgMacroTab::PreTranslateMessage(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN && msg.wParam == static_cast<WPARAM>(VK_TAB)
        && (GetKeyState(VK_CONTROL) & 0x8000) == 0 && ::IsWindowVisible(m_hWnd) && isWithin(m_hWnd, msg.hwnd)) {
        if (handleTabKey((GetKeyState(VK_SHIFT) & 0x8000) != 0))
            return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
