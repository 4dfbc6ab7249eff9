// ZnDlgDesignerPreview: the dialog designer's preview (template 9640), a throw-away modal dialog in
// which the layout being edited is placed as a macro page places it, in runtime mode, with values
// from a library macro that shows the layout, so that the author can try the keyboard order and
// the controls without leaving the editor. Nothing the user does in it reaches the layout.
#pragma once

#include "core/Kx_String.h"
#include "designer/Kx_DlgDesignerData.h"
#include "platform/win/Dialog.h"

#include <string>
#include <utility>
#include <vector>

// A variable name and its value, as a macro holds them.
using Kx_PreviewValue = std::pair<Kx_String, Kx_String>;

// The values of the cells of the first library macro (library Macros folder, "*.kxm" in name order)
// with a tab that shows the layout `layoutName` (compared ignoring case and the folder separator);
// the macro's name goes to `macroName`. Empty when no macro shows it or none can be read.
std::vector<Kx_PreviewValue> previewValuesOf(const Kx_String& layoutName, Kx_String& macroName);

class ZnDlgDesignerPreview : public CDialog {
public:
    static constexpr int kTemplateId = 9640;
    static constexpr int kNote = 1001;

    // `source`: the layout as the designer holds it; it is copied, not kept.
    ZnDlgDesignerPreview(const Kx_DlgDesignerData& source, HWND parent);
    ~ZnDlgDesignerPreview() override;

    Kx_DlgDesignerData& layout() { return m_layout; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnDestroy() override;

private:
    Kx_DlgDesignerData m_layout;
    bool m_copied = false;
};
