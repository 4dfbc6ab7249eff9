// The information dialog.
#include "core/InfoDialog.h"

#include "core/CResizer.h"
#include "core/CoreResourceScope.h"
#include "core/DialogFunctions.h"
#include "platform/win/Dialog.h"

namespace {

class InfoDialog : public CDialog {
public:
    explicit InfoDialog(const DlgInfoData& data)
        : CDialog(kxcore::kInfoDialogId, IsWindow(data.owner) ? data.owner : nullptr), m_data(data)
    {
    }

protected:
    BOOL OnInitDialog() override
    {
        if (!m_data.title.isEmpty())
            SetWindowText(m_data.title.str());
        if (!m_data.closeText.isEmpty())
            SetDlgItemText(IDOK, m_data.closeText.str());
        SetDlgItemText(kxcore::kInfoHeaderId, m_data.header.str());

        std::string text;
        for (int i = 0; i < m_data.lines.length(); ++i) {
            if (i > 0)
                text += "\r\n";
            text += m_data.lines[i].str();
        }
        HWND lines = GetDlgItem(kxcore::kInfoLinesId);
        // A report is shown whole, however long.
        ::SendMessage(lines, EM_LIMITTEXT, 0);
        ::SetWindowText(lines, text);

        m_resizer.attach(this, {
                                   {kxcore::kInfoHeaderId, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 4}},
                                   {kxcore::kInfoLinesId, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                                   {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}},
                               });
        // Opened from another dialog: keep the user's size, come up over that dialog.
        ChangeDlgSize(this, kxcore::kInfoDialogSizeKey, /*sizeOnly=*/true);

        // The close button takes the focus, so Enter closes at once.
        ::SetFocus(GetDlgItem(IDOK));
        return FALSE;
    }

    void OnDestroy() override
    {
        WriteDlgSize(this, kxcore::kInfoDialogSizeKey);
        m_resizer.detach();
    }

private:
    const DlgInfoData& m_data;
    ZnResizer m_resizer;
};

} // namespace

bool ExportStartDlgInfo(DlgInfoData& data)
{
    try {
        kxcore::detail::CoreResourceScope resources;
        InfoDialog dialog(data);
        return dialog.DoModal() != -1;
    } catch (...) {
        return false;
    }
}
