// CCheckComboBox: a drop-down list whose entries each carry a check mark, as the module's lists of
// groups and holes use it. It takes over a "ComboBox" of a dialog template; the entries, the
// selection and its notifications stay the combo box's. Drawing the marks is the backend's.
#pragma once

#include "core/ComboItemValues.h"
#include "core/KxCoreExport.h"
#include "platform/win/CWnd.h"

#include <functional>
#include <string>

// WM_COMMAND code a check-mark combo sends its parent after the person set or cleared the mark of
// an entry; lastToggledItem() names the entry. Chosen outside the combo box's own CBN_ codes.
inline constexpr WORD CBN_CHECKCHANGE = 0x0101;

class KXCORE_API CCheckComboBox : public CWnd {
public:
    // Entries added here or by CB_ADDSTRING / CB_INSERTSTRING start unchecked. Returns the entry's
    // index, or CB_ERR when the window is not there.
    int AddString(const std::string& text, bool checked = false);
    int InsertString(int index, const std::string& text, bool checked = false);
    // CB_ERR for an index out of range; otherwise the number of entries left.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    // The entry's text; empty for an index out of range.
    std::string GetItemText(int index) const;

    // Sets the mark from the program: no notification. CB_ERR for an index out of range.
    int SetCheck(int index, bool checked);
    // False for an index out of range.
    bool GetCheck(int index) const;
    void CheckAll(bool checked);
    int GetCheckedCount() const;

    int GetCurSel() const;
    // CB_ERR when index is out of range (the selection is then cleared, as the combo box does).
    int SetCurSel(int index);

    // What the closed field shows (and what GetWindowText returns): the texts of the checked
    // entries in list order, joined by the separator; empty when nothing is checked.
    std::string checkedText() const;
    void setSeparator(std::string separator);

    // The entry whose mark the person changed last; -1 before the first change.
    int lastToggledItem() const { return m_lastToggled; }
    // Called after each change by the person, before the parent hears CBN_CHECKCHANGE.
    void setCheckChangedHandler(std::function<void(int index, bool checked)> handler);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Mark {
        bool checked = false;
    };

    // A person's change of one mark: set it, tell the handler, then the parent.
    bool toggle(int index);
    void marksChanged();
    kxcore::detail::ComboItemValues<Mark>& marks() const;

    mutable kxcore::detail::ComboItemValues<Mark> m_marks;
    std::string m_separator = ", ";
    int m_lastToggled = -1;
    std::function<void(int, bool)> m_onCheckChanged;
};
