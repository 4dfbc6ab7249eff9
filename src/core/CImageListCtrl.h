// CImageListCtrl: a list of thumbnails, each a picture with a name under it, as the select-macro and
// image-selection dialogs show them. It takes over a list view ("SysListView32") of a dialog
// template, switches it to icon view with one selection, and fills it from an ImageListData.
// Selection, clicks and double clicks reach the dialog as the list view's own notifications
// (LVN_ITEMCHANGED, NM_CLICK, NM_DBLCLK with the item, LVN_ITEMACTIVATE).
//
// A picture that is missing or cannot be read shows as an empty placeholder thumbnail; its entry
// stays, with its name, so the list always matches the data.
#pragma once

#include "core/ImageListData.h"
#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "platform/win/CWnd.h"
#include "platform/win/CommCtrl.h"

#include <vector>

class KXCORE_API CImageListCtrl : public CWnd {
public:
    // Thumbnails are never larger than this a side: a huge first picture would otherwise make every
    // thumbnail huge. A larger size keeps its proportions within the limit.
    static constexpr int kMaxThumbnailSide = 256;
    // The size when the data gives none and no picture can be read.
    static constexpr int kDefaultThumbnailSide = 64;
    static constexpr COLORREF kPlaceholderFill = RGB(255, 255, 255);
    static constexpr COLORREF kPlaceholderFrame = RGB(160, 160, 160);

    CImageListCtrl() = default;
    ~CImageListCtrl() override;

    // Takes over the list view `id` of `dialog` and makes it a thumbnail list. False when there is
    // no such list view or another object already has it.
    bool initialize(HWND dialog, int id);
    // Makes the list view this object already took over (SubclassDlgItem) a thumbnail list. False
    // when it has none or it is not a list view.
    bool initialize();

    // Makes the thumbnails of the data's entries and shows them in the data's order, replacing
    // what was shown; the selection is cleared. Returns the number of entries whose picture was
    // read (the others show placeholders), or -1 when the control has no list view.
    int setData(const ImageListData& data);
    const ImageListData& data() const { return m_data; }
    // Makes the thumbnails again from the current data (after the picture files changed).
    int drawThumbnails();

    // The entry of the selected thumbnail; -1 when none is selected.
    int getSelectedIndex() const;
    // The selected entry's picture file and name; empty when none is selected.
    Kx_String getSelectedFile() const;
    Kx_String getSelectedName() const;
    // Selects (and shows) an entry, or clears the selection with -1. False for an index out of range.
    bool setSelectedIndex(int index);
    bool selectFile(const Kx_String& file);

    // The thumbnails' size in pixels (0 x 0 before setData) and the image list behind them, which
    // the control owns.
    SIZE thumbnailSize() const { return m_size; }
    HIMAGELIST imageList() const { return m_images; }
    // Whether an entry shows a placeholder because its picture could not be read.
    bool isPlaceholder(int index) const;

protected:
    void OnDestroy() override;

private:
    SIZE chooseSize() const;
    void releaseImages();

    ImageListData m_data;
    HIMAGELIST m_images = nullptr;
    SIZE m_size;
    std::vector<bool> m_placeholder;
};
