// ZnDlgGrid: the axis grid dialog (template 242), counts, spacings and first labels of the axes in
// two directions. StartDlgGrid (SpreadLaunchers.h) runs it; the data object is ZnGridDlgData.
#pragma once

#include "platform/win/Dialog.h"
#include "spread/ZnGridDlgData.h"

class ZnDlgGrid : public CDialog {
public:
    static constexpr int kTemplateId = 242;
    // Edits of the first direction, then of the second, and the check box.
    static constexpr int kCountA = 1367;
    static constexpr int kSpacingA = 1369;
    static constexpr int kFirstLabelA = 1371;
    static constexpr int kCountB = 1374;
    static constexpr int kSpacingB = 1377;
    static constexpr int kFirstLabelB = 1379;
    static constexpr int kOption = 1380;

    ZnDlgGrid() : CDialog(kTemplateId) {}

    ZnGridDlgData& data() { return m_data; }

protected:
    BOOL OnInitDialog() override;
    // Reads every control back as typed; nothing is refused.
    void OnOK() override;

private:
    ZnGridDlgData m_data;
};

namespace kxss {

// The leading whole number of `text` as the C library's atoi reads it (blanks, a sign, digits;
// 0 when there is none), but a number beyond the int range gives the nearest int instead of
// undefined behaviour.
int leadingInt(const Kx_String& text);

} // namespace kxss
