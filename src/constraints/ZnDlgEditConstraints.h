// ZnDlgEditConstraints: the editor of a macro module's constraints, variables and equations. At
// most one modeless instance exists (the frame's registry holds it); it can also run modally.
#pragma once

#include "core/MacroData.h"
#include "platform/host/HostWindow.h"

class ZnDlgEditConstraints : public KxHostDialog {
public:
    static constexpr int kTemplateId = 8715;

    explicit ZnDlgEditConstraints(HWND parent) : KxHostDialog(kTemplateId, parent) {}

    EditConstrData& data() { return m_data; }
    void setModeless(bool on) { m_modeless = on; }
    bool isModeless() const { return m_modeless; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { close(IDOK); }
    void OnCancel() override { close(IDCANCEL); }

private:
    void close(int result);

    EditConstrData m_data;
    bool m_modeless = false;
};
