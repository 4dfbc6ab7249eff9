// CCheckComboBox: the check marks, what the closed field shows, and the person's toggles.
#include "core/CCheckComboBox.h"

#include "platform/win/UserInput.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

int indexParam(WPARAM wParam)
{
    return static_cast<int>(static_cast<std::int32_t>(wParam));
}

} // namespace

kxcore::detail::ComboItemValues<CCheckComboBox::Mark>& CCheckComboBox::marks() const
{
    // Entries the combo had before this object took it over count as unchecked.
    m_marks.syncCount(m_hWnd);
    return m_marks;
}

int CCheckComboBox::AddString(const std::string& text, bool checked)
{
    return InsertString(-1, text, checked);
}

int CCheckComboBox::InsertString(int index, const std::string& text, bool checked)
{
    if (!IsWindow(m_hWnd))
        return CB_ERR;
    const UINT message = index < 0 ? CB_ADDSTRING : CB_INSERTSTRING;
    const auto at = static_cast<int>(::SendMessage(m_hWnd, message, static_cast<WPARAM>(static_cast<std::intptr_t>(index)),
                                                   reinterpret_cast<LPARAM>(text.c_str())));
    if (at >= 0 && checked)
        SetCheck(at, true);
    return at < 0 ? CB_ERR : at;
}

int CCheckComboBox::DeleteString(int index)
{
    return kxcore::detail::comboDeleteString(m_hWnd, index);
}

void CCheckComboBox::ResetContent()
{
    kxcore::detail::comboResetContent(m_hWnd);
}

int CCheckComboBox::GetCount() const
{
    return kxcore::detail::comboCount(m_hWnd);
}

std::string CCheckComboBox::GetItemText(int index) const
{
    return kxcore::detail::comboItemText(m_hWnd, index);
}

int CCheckComboBox::SetCheck(int index, bool checked)
{
    auto& m = marks();
    if (!m.has(index))
        return CB_ERR;
    if (m.at(index).checked != checked) {
        m.at(index).checked = checked;
        marksChanged();
    }
    return index;
}

bool CCheckComboBox::GetCheck(int index) const
{
    const auto& m = marks();
    return m.has(index) && m.at(index).checked;
}

void CCheckComboBox::CheckAll(bool checked)
{
    auto& m = marks();
    for (int i = 0; i < m.size(); ++i)
        m.at(i).checked = checked;
    marksChanged();
}

int CCheckComboBox::GetCheckedCount() const
{
    const auto& m = marks();
    int n = 0;
    for (int i = 0; i < m.size(); ++i)
        n += m.at(i).checked ? 1 : 0;
    return n;
}

int CCheckComboBox::GetCurSel() const
{
    return IsWindow(m_hWnd) ? static_cast<int>(::SendMessage(m_hWnd, CB_GETCURSEL)) : CB_ERR;
}

int CCheckComboBox::SetCurSel(int index)
{
    if (!IsWindow(m_hWnd))
        return CB_ERR;
    return static_cast<int>(::SendMessage(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index))));
}

std::string CCheckComboBox::checkedText() const
{
    const auto& m = marks();
    std::string text;
    bool first = true;
    for (int i = 0; i < m.size(); ++i) {
        if (!m.at(i).checked)
            continue;
        if (!first)
            text += m_separator;
        text += GetItemText(i);
        first = false;
    }
    return text;
}

void CCheckComboBox::setSeparator(std::string separator)
{
    m_separator = std::move(separator);
    marksChanged();
}

void CCheckComboBox::setCheckChangedHandler(std::function<void(int, bool)> handler)
{
    m_onCheckChanged = std::move(handler);
}

void CCheckComboBox::marksChanged()
{
    if (!IsWindow(m_hWnd))
        return;
    kxwin::notifyWindowChanged(m_hWnd, kxwin::WindowChange::Text);
    kxwin::notifyWindowChanged(m_hWnd, kxwin::WindowChange::Content);
}

bool CCheckComboBox::toggle(int index)
{
    auto& m = marks();
    if (!::IsWindowEnabled(m_hWnd) || !m.has(index))
        return false;
    const bool checked = !m.at(index).checked;
    m.at(index).checked = checked;
    m_lastToggled = index;
    marksChanged();
    HWND self = m_hWnd;
    const int id = GetDlgCtrlID();
    if (m_onCheckChanged) {
        auto handler = m_onCheckChanged;  // the handler may replace itself
        handler(index, checked);
    }
    // The handler may have closed the dialog: tell the parent only while the combo is there.
    if (IsWindow(self))
        ::SendMessage(::GetParent(self), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), CBN_CHECKCHANGE),
                      reinterpret_cast<LPARAM>(self));
    return true;
}

LRESULT CCheckComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case KXM_USER_TOGGLE_ITEM:
        return toggle(indexParam(wParam)) ? 1 : 0;
    case WM_CHAR:
        // Space in the opened list sets or clears the mark of the highlighted entry.
        if (wParam == ' ' && ::SendMessage(m_hWnd, CB_GETDROPPEDSTATE) && GetCurSel() >= 0) {
            toggle(GetCurSel());
            return 0;
        }
        break;
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0)
            return 0;
        const std::string text = checkedText();
        size_t n = std::min<size_t>(text.size(), wParam - 1);
        // Never cut a multi-byte character in two.
        while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(checkedText().size());
    default:
        break;
    }
    HWND self = m_hWnd;
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (IsWindow(self) && m_hWnd == self)
        m_marks.follow(self, message, wParam, result);
    return result;
}
