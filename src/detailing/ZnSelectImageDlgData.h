// ZnSelectImageDlgData: what a caller gives the image selection dialog (StartDlgSelectImage) and
// gets back from it: the title, the full paths of the pictures offered, and the chosen picture.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"

class KXSS_API ZnSelectImageDlgData {
public:
    ZnSelectImageDlgData();
    ZnSelectImageDlgData(const ZnSelectImageDlgData& other);
    ZnSelectImageDlgData& operator=(const ZnSelectImageDlgData& other);
    virtual ~ZnSelectImageDlgData();

    // The dialog's title.
    Kx_String title;
    // The full paths of the picture files offered, shown in this order as thumbnails named after
    // their files (the name without folder and extension).
    Kx_StringArray images;
    // Output: the name of the chosen thumbnail, the file name without folder and extension, NOT its
    // path. Two offered pictures of the same name in different folders ("a/Frame.bmp", "b/Frame.bmp")
    // are two thumbnails in the dialog, but both give the same selection: a caller that offers such
    // pictures cannot tell from the result which one was chosen, and should offer unique names.
    Kx_String selection;
};
