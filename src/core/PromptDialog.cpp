// The prompt dialog.
#include "core/PromptDialog.h"

#include "core/CoreResourceScope.h"
#include "core/TextTables.h"
#include "platform/win/Dialog.h"

namespace {

class PromptDialog : public CDialog {
public:
    PromptDialog(HWND owner, Kx_String title, Kx_String prompt, Kx_String value, Kx_String okText,
                 Kx_String cancelText)
        : CDialog(kxcore::kPromptDialogId, owner),
          m_title(std::move(title)),
          m_prompt(std::move(prompt)),
          m_value(std::move(value)),
          m_okText(std::move(okText)),
          m_cancelText(std::move(cancelText))
    {
    }

    // What OK read from the edit.
    const Kx_String& typed() const { return m_value; }

protected:
    BOOL OnInitDialog() override
    {
        if (!m_title.isEmpty())
            SetWindowText(m_title.str());
        if (!m_okText.isEmpty())
            SetDlgItemText(IDOK, m_okText.str());
        if (!m_cancelText.isEmpty())
            SetDlgItemText(IDCANCEL, m_cancelText.str());
        SetDlgItemText(kxcore::kPromptLabelId, m_prompt.str());
        HWND edit = GetDlgItem(kxcore::kPromptValueId);
        ::SetWindowText(edit, m_value.str());
        // The proposed value is selected, so typing replaces it and a person who agrees presses Enter.
        ::SetFocus(edit);
        ::SendMessage(edit, EM_SETSEL, 0, -1);
        return FALSE;
    }

    void OnOK() override
    {
        m_value = Kx_String(GetDlgItemText(kxcore::kPromptValueId));
        CDialog::OnOK();
    }

private:
    Kx_String m_title;
    Kx_String m_prompt;
    Kx_String m_value;
    Kx_String m_okText;
    Kx_String m_cancelText;
};

} // namespace

Kx_String Kx_DlgText::resolve() const
{
    return m_isNumber ? dialString(m_number) : m_text;
}

std::optional<Kx_String> runPromptDialog(const Kx_DlgText& title, const Kx_DlgText& prompt, const Kx_DlgText& value,
                                         const Kx_DlgText& okText, const Kx_DlgText& cancelText, HWND owner)
{
    try {
        kxcore::detail::CoreResourceScope resources;
        PromptDialog dialog(IsWindow(owner) ? owner : nullptr, title.resolve(), prompt.resolve(), value.resolve(),
                            okText.resolve(), cancelText.resolve());
        if (dialog.DoModal() != IDOK)
            return std::nullopt;
        return dialog.typed();
    } catch (...) {
        return std::nullopt;
    }
}
