// The prompt dialog (template 8069): asks the user for one value, with a title, a prompt, a
// proposed value and two button texts chosen by the caller. Other small shared dialogs live in
// InfoDialog.h and FileDialog.h.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "platform/win/WinTypes.h"

#include <optional>

namespace kxcore {

// The template and its controls, for scripts that drive the dialog.
inline constexpr int kPromptDialogId = 8069;
inline constexpr int kPromptLabelId = 1000;
inline constexpr int kPromptValueId = 1001;

} // namespace kxcore

// A text given either by its number in the first text table (dialString) or as the text itself.
// An int always means a text number: a number meant as a value is passed as text
// (Kx_String(30) or Kx_String(x, 5)); a double does not convert, so it cannot be mistaken for one.
class KXCORE_API Kx_DlgText {
public:
    Kx_DlgText(int number) : m_number(number), m_isNumber(true) {}  // NOLINT: implicit on purpose
    Kx_DlgText(const Kx_String& text) : m_text(text) {}             // NOLINT
    Kx_DlgText(const char* text) : m_text(text) {}                  // NOLINT
    Kx_DlgText(double) = delete;

    // The text as shown: dialString(number) or the text.
    Kx_String resolve() const;

private:
    Kx_String m_text;
    int m_number = 0;
    bool m_isNumber = false;
};

// Runs the prompt dialog modally over `owner` (null: centred on the screen). The edit shows
// `value`, all selected. OK gives the text in the edit as typed (possibly empty); Cancel, Escape or
// the close box give no value, as does a dialog that could not be made. An empty title or button
// text keeps the template's ("Value", "OK", "Cancel"). The prompt may hold line breaks ("\n");
// two lines fit.
KXCORE_API std::optional<Kx_String> runPromptDialog(const Kx_DlgText& title, const Kx_DlgText& prompt,
                                                    const Kx_DlgText& value, const Kx_DlgText& okText = 1,
                                                    const Kx_DlgText& cancelText = 2, HWND owner = nullptr);
