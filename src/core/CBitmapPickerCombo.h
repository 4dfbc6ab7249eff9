// CBitmapPickerCombo: a drop-down list of pictures, each entry a picture and a text (the picture's
// file name, say), chosen by index. It takes over a "ComboBox" of a dialog template; the entries,
// the selection and its notifications (CBN_SELCHANGE...) stay the combo box's, so a person picks
// an entry as in any combo. The closed field is painted by the control: the chosen picture and text.
#pragma once

#include "core/ComboItemValues.h"
#include "core/KxCoreExport.h"
#include "platform/win/Bitmap.h"
#include "platform/win/CWnd.h"

#include <memory>
#include <string>

class KXCORE_API CBitmapPickerCombo : public CWnd {
public:
    static constexpr COLORREF kFace = RGB(255, 255, 255);
    static constexpr COLORREF kFrame = RGB(160, 160, 160);
    static constexpr COLORREF kText = RGB(0, 0, 0);
    static constexpr COLORREF kDisabledText = RGB(160, 160, 160);

    // Adds an entry; the combo keeps a copy of the picture (the bitmap stays the caller's). A null
    // or dead bitmap gives an entry without a picture. Returns the entry's index, or CB_ERR when the
    // window is not there or `index` is beyond the end.
    int AddBitmap(HBITMAP bitmap, const std::string& text = {});
    int InsertBitmap(int index, HBITMAP bitmap, const std::string& text = {});
    // Loads the picture from a .bmp or .png file ('\' separators accepted). A missing or damaged
    // file gives an entry without a picture, so the entries still match the caller's list.
    int AddBitmapFile(const std::string& path, const std::string& text);
    // CB_ERR for an index out of range; otherwise the number of entries left.
    int DeleteItem(int index);
    void ResetContent();
    int GetCount() const;
    std::string GetItemText(int index) const;
    // The entry's picture as the combo keeps it; null for an entry without one or out of range.
    std::shared_ptr<const kxwin::BitmapPixels> GetItemPicture(int index) const;

    int GetCurSel() const;
    // CB_ERR when index is out of range (the selection is then cleared, as the combo box does).
    int SetCurSel(int index);
    // Selects the entry whose text is `text` (ignoring case); CB_ERR, selection unchanged, when none.
    int SelectText(const std::string& text);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override { return TRUE; }

private:
    struct Entry {
        std::shared_ptr<const kxwin::BitmapPixels> picture;
    };
    int insert(int index, std::shared_ptr<const kxwin::BitmapPixels> picture, const std::string& text);
    kxcore::detail::ComboItemValues<Entry>& entries() const;

    mutable kxcore::detail::ComboItemValues<Entry> m_entries;
};
