// Private to the core module's combo box controls (CCheckComboBox, CBitmapPickerCombo): keeps a
// value per entry (a check mark, a picture) in step with the combo's entries, whichever way the
// entries change: the control's own methods or CB_ messages any caller sends to the window.
#pragma once

#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"
#include "platform/win/Window.h"

#include <cstdint>
#include <vector>

namespace kxcore::detail {

template <typename T>
class ComboItemValues {
public:
    // Call after the combo's own procedure handled `message` with `result`: an entry added, removed
    // or every entry gone moves the values the same way. New entries get a default value.
    void follow(HWND combo, UINT message, WPARAM wParam, LRESULT result)
    {
        switch (message) {
        case CB_ADDSTRING:
        case CB_INSERTSTRING:
            if (result >= 0 && static_cast<size_t>(result) <= m_values.size())
                m_values.insert(m_values.begin() + result, T{});
            break;
        case CB_DELETESTRING: {
            const auto index = static_cast<std::int32_t>(wParam);
            if (result != CB_ERR && index >= 0 && static_cast<size_t>(index) < m_values.size())
                m_values.erase(m_values.begin() + index);
            break;
        }
        case CB_RESETCONTENT:
            m_values.clear();
            break;
        default:
            return;
        }
        syncCount(combo);
    }

    // Never disagrees with the combo about how many entries there are: entries it had before the
    // control took it over get default values.
    void syncCount(HWND combo)
    {
        const LRESULT count = IsWindow(combo) ? SendMessage(combo, CB_GETCOUNT) : 0;
        if (count >= 0 && static_cast<size_t>(count) != m_values.size())
            m_values.resize(static_cast<size_t>(count));
    }

    bool has(int index) const { return index >= 0 && static_cast<size_t>(index) < m_values.size(); }
    T& at(int index) { return m_values[static_cast<size_t>(index)]; }
    const T& at(int index) const { return m_values[static_cast<size_t>(index)]; }
    int size() const { return static_cast<int>(m_values.size()); }
    void clear() { m_values.clear(); }

private:
    std::vector<T> m_values;
};

} // namespace kxcore::detail
