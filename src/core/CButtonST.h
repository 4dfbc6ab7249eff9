// CButtonST: the picture button of the module's dialogs (the icon buttons of the tool rows, the
// clash-check switch). It takes over a "Button" of a dialog template and paints it itself: flat or
// raised, a picture with its disabled look, an optional text, and the focus. Clicks, the check
// state of push-like check boxes and the keyboard stay the Button class's, so the parent hears
// BN_CLICKED as from any button. The tip comes from a tooltip control the button makes for itself.
#pragma once

#include "core/KxCoreExport.h"
#include "platform/win/Bitmap.h"
#include "platform/win/CWnd.h"

#include <string>

class KXCORE_API CButtonST : public CWnd {
public:
    // How the picture looks while the button is disabled, when no picture is given for it.
    enum class DisabledLook {
        Greyed,       // shades of grey, lightened
        FadedColour,  // the picture's colours, washed halfway towards the button's face
    };

    static constexpr COLORREF kFace = RGB(240, 240, 240);
    static constexpr COLORREF kPressedFace = RGB(218, 218, 218);
    static constexpr COLORREF kShadow = RGB(160, 160, 160);
    static constexpr COLORREF kHighlight = RGB(255, 255, 255);
    static constexpr COLORREF kText = RGB(0, 0, 0);
    static constexpr COLORREF kDisabledText = RGB(160, 160, 160);

    CButtonST() = default;
    ~CButtonST() override;

    // The picture, with its pixels of colour `transparent` left out; `disabled` (optional) is shown
    // while the button is disabled instead of the derived look. The button keeps copies of the
    // pictures: the bitmaps stay the caller's, who may delete them at once. FALSE, with the old
    // pictures kept, for a dead or empty bitmap.
    BOOL SetBitmaps(HBITMAP picture, COLORREF transparent, HBITMAP disabled = nullptr,
                    COLORREF disabledTransparent = RGB(255, 255, 255));
    // The same from a .bmp or .png file ('\' separators accepted). FALSE, with the old picture kept,
    // when the file is missing or is no picture.
    BOOL SetBitmapFile(const std::string& path, COLORREF transparent);
    // An icon and its transparency; copies as with SetBitmaps.
    BOOL SetIcon(HICON picture, HICON disabled = nullptr);
    // An icon of the current resources; FALSE when it is not there.
    BOOL SetIcon(int iconResourceId);
    void SetDisabledLook(DisabledLook look);
    bool hasPicture() const { return m_picture != nullptr; }

    // A flat button shows its frame only while pressed or checked; a raised one always.
    void SetFlat(bool flat = true, bool repaint = true);
    bool isFlat() const { return m_flat; }
    // Without a border the button never shows a frame.
    void DrawBorder(bool draw = true, bool repaint = true);
    // Whether a flat button shows the focus rectangle (a raised one always does).
    void DrawFlatFocus(bool draw, bool repaint = true);

    // The tip shown when the pointer rests on the button; an empty text removes it. Needs the button's
    // window (call it after taking the button over): before that the text is only remembered.
    void SetTooltipText(const std::string& text, bool activate = true);
    void ActivateTooltip(bool active = true);
    std::string tooltipText() const { return m_tipText; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override { return TRUE; }
    void OnDestroy() override;

private:
    // Copies of the pictures as icons (alpha 0 where transparent), owned by the button.
    bool setPictures(const kxwin::BitmapPixels& picture, const kxwin::BitmapPixels* disabled);
    void makeDisabledLook();
    void freePictures();
    void repaintIf(bool repaint);
    void drawFrame(HDC dc, const RECT& r, bool sunken) const;
    bool addTool();

    HICON m_picture = nullptr;
    HICON m_disabled = nullptr;
    bool m_disabledGiven = false;
    DisabledLook m_look = DisabledLook::Greyed;
    bool m_flat = true;
    bool m_border = true;
    bool m_flatFocus = true;
    HWND m_tooltip = nullptr;
    std::string m_tipText;
    bool m_tipActive = true;
};
