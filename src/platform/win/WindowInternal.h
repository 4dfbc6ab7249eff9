// Private to the window layer: per-window state of the standard controls. Other folders never
// include this; they talk to controls through messages.
#pragma once

#include "platform/win/WinTypes.h"

#include <memory>
#include <string>

namespace kxwin::detail {

struct ControlState {
    virtual ~ControlState() = default;
};

// The state stays with the window until it is destroyed. Null for a dead handle.
ControlState* controlState(HWND hwnd);
void setControlState(HWND hwnd, std::unique_ptr<ControlState> state);

template <typename T>
T* stateOf(HWND hwnd)
{
    return dynamic_cast<T*>(controlState(hwnd));
}

// Sets the window text without sending WM_SETTEXT (for controls that keep text in sync).
void setTextDirect(HWND hwnd, const std::string& text);
const std::string* textOf(HWND hwnd);
// Tells the window observers that the shown cursor changed.
void notifyCursorChanged(HCURSOR cursor);

} // namespace kxwin::detail
