// The spreadsheet editor's Print, Print Setup and Print Preview commands: the sheet printed to a
// PDF file the user names, the paper and margins it prints with, and the pages shown before
// printing. Kept apart from the editor so the editor only calls it.
#pragma once

#include "core/Kx_String.h"
#include "platform/win/Dialog.h"
#include "platform/win/WinTypes.h"
#include "print/PageSetup.h"
#include "print/PrintPreview.h"
#include "print/SheetPrint.h"

#include <memory>
#include <optional>

// The window class of the preview's page.
inline constexpr const char* kPrintPreviewClass = "fpSpreadPreview70";
// Registry values, beside the editor's settings (EditorRegistrySettings::kKeyPath).
inline constexpr const char* kPrintPaperValue = "Print Paper";          // REG_SZ "A4" or "Letter"
inline constexpr const char* kPrintLandscapeValue = "Print Landscape";  // REG_DWORD 0 or 1

// What the editor prints `grid` with: paper and orientation from the registry (A4 portrait when
// not stored), margins from the sheet's settings.
kxprint::PageSetup editorPageSetup(HWND grid);
// Writes the margins into the sheet's settings and paper and orientation into the registry.
// False when the registry could not be written (the margins are written all the same).
bool storeEditorPageSetup(HWND grid, const kxprint::PageSetup& setup);

// Asks for the PDF file (a save dialog beside the sheet, proposing the sheet's name) and prints the
// sheet of `grid` into it. Returns the text to show the user: empty when printed or cancelled,
// otherwise why it failed (or which header or footer file was left out).
Kx_String runEditorPrint(HWND owner, HWND grid, const Kx_String& sheetFile);

// The Print Setup dialog on the sheet of `grid`: true when the user changed something and it was
// stored. A registry that cannot be written is reported to the user.
bool runEditorPrintSetup(HWND owner, HWND grid);

// The Print Preview window on the sheet of `grid`, until the user closes it.
void runEditorPrintPreview(HWND owner, HWND grid, const Kx_String& sheetFile);

class ZnDlgPrintSetup : public CDialog {
public:
    static constexpr int kTemplateId = 9427;
    static constexpr int kPaperCombo = 1000;
    static constexpr int kPortraitRadio = 1001;
    static constexpr int kLandscapeRadio = 1002;
    static constexpr int kLeftEdit = 1003;
    static constexpr int kRightEdit = 1004;
    static constexpr int kTopEdit = 1005;
    static constexpr int kBottomEdit = 1006;

    ZnDlgPrintSetup(HWND owner, const kxprint::PageSetup& setup) : CDialog(kTemplateId, owner), m_setup(setup) {}
    const kxprint::PageSetup& setup() const { return m_setup; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    kxprint::PageSetup m_setup;
};

class ZnDlgPrintPreview : public CDialog {
public:
    static constexpr int kTemplateId = 9428;
    static constexpr int kPlaceholder = 1000;
    static constexpr int kPreviousButton = 1001;
    static constexpr int kNextButton = 1002;
    static constexpr int kZoomInButton = 1003;
    static constexpr int kZoomOutButton = 1004;
    static constexpr int kPageText = 1005;
    static constexpr int kPageView = 1006;  // the window of class kPrintPreviewClass

    ZnDlgPrintPreview(HWND owner, HWND grid, const Kx_String& sheetFile);
    ~ZnDlgPrintPreview() override;

    // Draws the current page into the page window's context (its client area).
    void paintPage(HDC dc, HWND view);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void showState();

    kxprint::PageSetup m_setup;
    kxprint::SheetPrint m_pages;
    kxprint::PreviewState m_state;
    HWND m_view = nullptr;
    // The last picture drawn by the backend, for the page and zoom it was drawn at.
    HBITMAP m_picture = nullptr;
    int m_picturePage = -1;
    int m_pictureZoom = 0;
};
