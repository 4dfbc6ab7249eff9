// ZnDlgSelectImage: the image selection dialog (template 8719). The offered pictures as thumbnails
// named after their files; OK takes the selected thumbnail's name and needs one. Resizable, never
// smaller than its template; its size and place are kept under "DLG_SELECT_IMAGE".
// StartDlgSelectImage (DetailingLaunchers.h) runs it on a ZnSelectImageDlgData.
#pragma once

#include "core/CImageListCtrl.h"
#include "core/CResizer.h"
#include "detailing/ZnSelectImageDlgData.h"
#include "platform/win/Dialog.h"

class ZnDlgSelectImage : public CDialog {
public:
    static constexpr int kTemplateId = 8719;
    static constexpr const char* kSizeKey = "DLG_SELECT_IMAGE";
    static constexpr int kThumbnails = 9091;

    ZnDlgSelectImage();

    ZnSelectImageDlgData& data() { return m_data; }
    CImageListCtrl& thumbnails() { return m_thumbnails; }
    // The offered picture behind the selected thumbnail, -1 when none is selected. Pictures of equal
    // names stay apart here by their place in the list.
    int selectedImage() const { return m_thumbnails.getSelectedIndex(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    ZnSelectImageDlgData m_data;
    CImageListCtrl m_thumbnails;
    ZnResizer m_resizer;
};
