// Private to the core module's combo box controls (CCheckComboBox, CBitmapPickerCombo): keeps a
// value per entry (a check mark, a picture) in step with the combo's entries, whichever way the
// entries change: the control's own methods or CB_ messages any caller sends to the window.
#pragma once

#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cstdint>
#include <string>
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

// The combo's own entries, as both controls offer them: each fails quietly (CB_ERR, 0 or an empty
// text) on a window that is gone.
inline int comboDeleteString(HWND combo, int index)
{
    if (!IsWindow(combo))
        return CB_ERR;
    return static_cast<int>(SendMessage(combo, CB_DELETESTRING, static_cast<WPARAM>(static_cast<std::intptr_t>(index))));
}

inline void comboResetContent(HWND combo)
{
    if (IsWindow(combo))
        SendMessage(combo, CB_RESETCONTENT);
}

inline int comboCount(HWND combo)
{
    return IsWindow(combo) ? static_cast<int>(SendMessage(combo, CB_GETCOUNT)) : 0;
}

inline std::string comboItemText(HWND combo, int index)
{
    const auto length = SendMessage(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(static_cast<std::intptr_t>(index)));
    if (length < 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const auto copied = SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

} // namespace kxcore::detail
