// CColorStatic: a label in colours of its own that a person can click, as the bolt dialog's colour
// labels are. It takes over a "Static" of a dialog template, paints its text in its text colour on
// its background colour, and tells its parent about clicks (STN_CLICKED, STN_DBLCLK) whether or
// not the template gave it SS_NOTIFY.
#pragma once

#include "core/KxCoreExport.h"
#include "platform/win/CWnd.h"

class KXCORE_API CColorStatic : public CWnd {
public:
    // The dialog's face and text colours until told otherwise.
    static constexpr COLORREF kDefaultBackground = RGB(240, 240, 240);
    static constexpr COLORREF kDefaultText = RGB(0, 0, 0);
    // The text of a disabled label, whatever its text colour.
    static constexpr COLORREF kDisabledText = RGB(160, 160, 160);

    // Each returns the previous colour and repaints when the label is visible.
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetTextColor() const { return m_text; }
    COLORREF GetBkColor() const { return m_background; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonDblClk(UINT flags, POINT point) override;

private:
    void notifyParent(WORD code);
    void changed();

    COLORREF m_text = kDefaultText;
    COLORREF m_background = kDefaultBackground;
};
