// ZnSSBillOutput: the bill output that writes a bill's lines into a spreadsheet. It opens a small
// modeless window with one grid (ZnBillSheetDlg, template 248), formats the columns, appends a row
// per line (with a picture row when pictures are made), colours and frames the sub-totals, and at
// the end trims the sheet, fits the columns, stores the print variables and saves the sheet under
// the bill's file name. The bill engine that feeds it is the core's (Kx_Bill).
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_ListOutputCallback.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/host/AcDb.h"
#include "platform/win/Dialog.h"

#include <memory>

class Kx_Bill;
class Kx_Spread;

// The bill window: template 248 with the grid in place of control 1196. OK and Cancel close it.
class KXSS_API ZnBillSheetDlg : public CDialog {
public:
    static constexpr int kTemplateId = 248;
    static constexpr int kGridId = 1196;
    // Bitmap resource shown in column 1 of every picture row.
    static constexpr int kPictureRowBitmap = 251;

    ZnBillSheetDlg();
    ~ZnBillSheetDlg() override;

    Kx_Spread& grid() { return *m_grid; }

protected:
    BOOL OnInitDialog() override;
    // A modeless window: OK and Cancel destroy it; the output then finds no grid and writes nothing.
    void OnOK() override;
    void OnCancel() override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    std::unique_ptr<Kx_Spread> m_grid;
};

// Holds the bill window: an "open" flag and the dialog. Outputs copied from one another share one
// holder, so one window is destroyed once, by the last of them.
class KXSS_API ZnBillSheetHolder {
public:
    ZnBillSheetHolder() = default;
    ~ZnBillSheetHolder();
    ZnBillSheetHolder(const ZnBillSheetHolder&) = delete;
    ZnBillSheetHolder& operator=(const ZnBillSheetHolder&) = delete;

    // Creates the window (over the host's main window, which keeps the focus) unless it is open.
    // False when it cannot be made; the holder then stays closed.
    bool open();
    // Open and its window still there (the user may have closed it).
    bool isOpen() const;
    // The grid of the open window; null otherwise. Not owned by the caller.
    Kx_Spread* grid();
    HWND window() const;

    // The last grid row written, shared by every output of this window.
    int currentRow = 0;

private:
    bool m_open = false;
    std::unique_ptr<ZnBillSheetDlg> m_dialog;
};

class KXSS_API ZnSSBillOutput : public Kx_ListOutputCallback {
public:
    // Grid lines and colours of the bill sheet.
    static constexpr int kGridType = 7;
    static constexpr COLORREF kGridColour = 0x323232;
    static constexpr COLORREF kSubTotalBack = 0xFFD1A4;    // red 164, green 209, blue 255
    static constexpr COLORREF kSubTotalText = 0x8000000B;  // the window-frame system colour
    static constexpr int kGrowRows = 100;

    ZnSSBillOutput();
    // A copy shares the original's window (and its row position); the window goes with the last
    // output that holds it. The bill and transaction pointers are copied as they are.
    ZnSSBillOutput(const ZnSSBillOutput& other);
    ZnSSBillOutput& operator=(const ZnSSBillOutput& other);
    // Closes the window when no copy holds it any more; a grid whose redraw a feed held is let go.
    ~ZnSSBillOutput() override;

    // Picture settings handed to the core's createImage (what they mean is the core's), and the
    // bill and transaction pictures are read through; pictures are made only when both are set.
    // Neither pointer is owned; both must outlive the feed.
    void setVars(int imageParam1, int imageParam2, int imageParam3, bool imageFlag1, bool imageFlag2, Kx_Bill* bill,
                 AcTransaction* transaction);

    // Opens the window (first use), loads the look from `settingsName`, writes the column titles and
    // gives each column its format (1 whole number, 2 one decimal, 3 text, others left as they are).
    // A second init starts a fresh bill in the same window. `unused` is not read. Returns eOk, or
    // eNotInDatabase (337) when the window or its grid cannot be had.
    Acad::ErrorStatus init(const Kx_String& fileName, const Kx_StringArray& titles, const Kx_Array<int>& unused,
                           const Kx_Array<int>& formats, const Kx_String& settingsName,
                           const Kx_StringArray& variableNames, const Kx_StringArray& variableValues);

    // Feed protocol (Kx_ListOutputCallback).
    Acad::ErrorStatus onStartFeed() override;
    Acad::ErrorStatus onEndFeed() override;
    void onAddRow(const Kx_StringArray& texts) override;
    void onAddSubTotals(const Kx_StringArray& texts, const Kx_StringArray& labels, bool isTotal, int level) override;

    // The last grid row written; 0 before the first line.
    int currentRow() const;
    const Kx_String& fileName() const { return m_fileName; }
    // The window's handle; null when it is not open.
    HWND window() const;
    // The grid of the open window, or null (not owned by the caller): for callers that show it.
    Kx_Spread* grid() const { return getSSPointer(); }

private:
    void addRow(const Kx_StringArray& texts, const Kx_String& pictureFile);
    Kx_Spread* getSSPointer() const;
    // Moves on to the next row, growing the sheet by kGrowRows blank rows in the columns' formats.
    // False (the row stays) when the sheet cannot grow.
    bool advanceRow(Kx_Spread& grid);
    void applyFormat(Kx_Spread& grid, int col, int format, int firstRow, int lastRow);
    void growColumns(Kx_Spread& grid, int count);
    void holdRedraw(bool hold);

    int m_imageParam1 = -1;
    int m_imageParam2 = 0;
    int m_imageParam3 = 0;
    bool m_imageFlag1 = true;
    bool m_imageFlag2 = true;
    Kx_Bill* m_bill = nullptr;
    AcTransaction* m_transaction = nullptr;
    std::shared_ptr<ZnBillSheetHolder> m_sheet;
    Kx_Array<int> m_columnTypes;
    Kx_String m_fileName;
    Kx_StringArray m_variableNames;
    Kx_StringArray m_variableValues;
    bool m_redrawHeld = false;
};

namespace kxss {

// The bill's title from its file name: without folder and extension, and without everything up to
// and including the last character U+00BF ("¿", also as the single byte of Windows-1252 text). A
// byte 0xBF inside another character ("ÿ" is C3 BF) is not that character.
KXSS_API Kx_String billTitle(const Kx_String& fileName);

} // namespace kxss
