// The image selection dialog.
#include "detailing/ZnDlgSelectImage.h"

#include "core/DialogFunctions.h"
#include "core/ImageListData.h"
#include "core/TextTables.h"
#include "platform/win/CommCtrl.h"

ZnDlgSelectImage::ZnDlgSelectImage() : CDialog(kTemplateId)
{
    onNotify(kThumbnails, NM_DBLCLK, [this](NMHDR&) -> LRESULT {
        OnOK();
        return 0;
    });
}

BOOL ZnDlgSelectImage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_data.title.str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    // The resizer takes the template's size as the smallest: a size stored by an earlier run may be
    // larger, and the user can make the dialog smaller again down to the template.
    m_resizer.attach(this, {
                               {kThumbnails, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                               {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                           });
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);

    // Thumbnails take the size of the first picture that can be read (ImageListData's 0 x 0).
    m_thumbnails.initialize(m_hWnd, kThumbnails);
    ImageListData images;
    for (const Kx_String& file : m_data.images)
        images.append(file);
    m_thumbnails.setData(images);
    return TRUE;
}

void ZnDlgSelectImage::OnOK()
{
    const Kx_String name = m_thumbnails.getSelectedName();
    if (m_thumbnails.getSelectedIndex() < 0 || name.isEmpty())
        return;
    m_data.selection = name;
    CDialog::OnOK();
}

void ZnDlgSelectImage::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    CDialog::OnDestroy();
}
