// ZnDlgSelectMacro: the select-macro dialog (template 8717). The library's macros as thumbnails with
// their translated names, narrowed by a filter grid of modules and properties that can be shown or
// hidden (the "large" dialog, kept between runs). StartDlgSelectMacro (MacroSubLaunchers.h) runs it.
#pragma once

#include "core/CButtonST.h"
#include "core/CImageListCtrl.h"
#include "core/CResizer.h"
#include "core/MacroSubDialogData.h"
#include "platform/win/Dialog.h"
#include "spread/Kx_Spread.h"

class ZnDlgSelectMacro : public CDialog {
public:
    static constexpr int kTemplateId = 8717;
    static constexpr const char* kSizeKey = "DLG_SELECT_MACRO";
    static constexpr const char* kLargeValue = "LARGE_DLG";

    static constexpr int kLabel = 1175;
    static constexpr int kGrid = 1196;
    static constexpr int kPickButton = 1352;
    static constexpr int kHint = 1353;
    static constexpr int kFilterButton = 1409;
    static constexpr int kThumbnails = 9091;
    static constexpr int kUseFilter = 9093;
    // How far the thumbnail list gives way to the filter grid, in pixels.
    static constexpr int kFilterHeight = 140;
    // How much the hint under the list takes from it, in pixels.
    static constexpr int kHintHeight = 60;

    // outFlag: whether the pick-in-drawing button is offered; extraText: the hint shown when it is not.
    ZnDlgSelectMacro(const Kx_String& title, bool outFlag, bool extraText);

    Kx_MacroPropsFilter& filter() { return m_filter; }
    const Kx_String& chosen() const { return m_chosen; }
    bool outFlag() const { return m_outFlag; }
    bool isLarge() const { return m_large; }
    // The macro files shown, in the thumbnails' order.
    const Kx_StringArray& shownFiles() const { return m_shown; }
    CImageListCtrl& thumbnails() { return m_thumbnails; }
    Kx_Spread& grid() { return m_grid; }

    // The names under the thumbnails of these macro files: translated, without trailing numbers
    // unless that makes two alike.
    static Kx_StringArray displayNames(const Kx_StringArray& files);
    // The picture of a macro: "<name>.bmp" in the macro library folder.
    static Kx_String previewFile(const Kx_String& macro);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void fillThumbnails();
    void fillGrid();
    void gridChanged();
    void toggleLarge();
    // Lays the dialog out for the flag: moves the list only when the present layout differs.
    void applyLarge();
    void attachResizer();

    Kx_String m_title;
    bool m_outFlag;
    bool m_extraText;
    bool m_large = false;
    // The layout the controls are in now (the filter area open or not).
    bool m_laidOutLarge = false;
    Kx_MacroPropsFilter m_filter;
    Kx_String m_chosen;
    Kx_StringArray m_shown;
    // Parallel to the grid's rows: the module of each row and its properties.
    Kx_StringArray m_rowModules;
    Kx_Array<Kx_StringArray> m_rowProperties;
    CImageListCtrl m_thumbnails;
    CButtonST m_filterButton;
    Kx_Spread m_grid;
    ZnResizer m_resizer;
};
