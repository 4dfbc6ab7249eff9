#include "sheetedit/SheetPreparation.h"

#include "platform/grid/Spread.h"
#include "platform/win/Font.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/SheetSettings.h"

namespace {

// A fresh sheet: 6 columns and 11 rows, of which 4 and 5 are to be visible.
constexpr int kFreshCols = 6;
constexpr int kFreshRows = 11;
constexpr int kVisibleCols = 4;
constexpr int kVisibleRows = 5;

// Data cells take free text of up to 100 characters as typed.
constexpr long kEditStyle = 4;
constexpr int kEditMaxLength = 100;

// Text tips: shown on hovering (mode 2) after 10 ms.
constexpr WORD kTextTipMode = 2;
constexpr DWORD kTextTipDelay = 10;

// A font object deleted at the end of the scope (the grid keeps its own description).
class ScopedFont {
public:
    explicit ScopedFont(HFONT font) : m_font(font) {}
    ~ScopedFont()
    {
        if (m_font != nullptr)
            DeleteObject(m_font);
    }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;
    HFONT get() const { return m_font; }

private:
    HFONT m_font;
};

HFONT makeFont(const SheetSettings& settings, int weight)
{
    return CreateFont(settings.defaultTextHeight, 0, 0, 0, weight, /*italic=*/0, /*underline=*/0, /*strikeOut=*/0,
                      /*charSet=*/1, /*outPrecision=*/2, /*clipPrecision=*/1, /*quality=*/0, /*pitch=*/0,
                      settings.defaultFont.c_str());
}

// The sheet's own settings, else those the registry names as the default, else the defaults;
// stored in the sheet's corner cell and its fonts applied.
void applySettings(HWND grid, const Kx_String& settingsName, SheetSettings& settings)
{
    // A failed load leaves the defaults in place and the record marked loaded, so it is stored
    // in the sheet in every case.
    if (!settings.load(settingsName)) {
        EditorRegistrySettings registry;
        registry.read();  // a default name read without the language still counts
        if (!registry.DefaultSettings.isEmpty())
            settings.load(registry.DefaultSettings);
    }
    settings.writeToSheet(grid);

    if (settings.defaultFont.isEmpty() || settings.defaultTextHeight <= 0)
        return;
    const ScopedFont normal(makeFont(settings, FW_NORMAL));
    const ScopedFont bold(makeFont(settings, FW_BOLD));
    const int cols = SSGetMaxCols(grid);
    const int rows = SSGetMaxRows(grid);
    if (normal.get() != nullptr && cols > 0 && rows > 0)
        SSSetFontRange(grid, 1, 1, cols, rows, normal.get(), TRUE);
    if (bold.get() != nullptr) {
        SSSetFontRange(grid, 0, 0, 0, rows, bold.get(), TRUE);
        SSSetFontRange(grid, 0, 0, cols, 0, bold.get(), TRUE);
    }
}

} // namespace

void prepareEditorSheet(HWND grid, const Kx_String& settingsName, bool full, SheetSettings* loaded)
{
    try {
        SSSetBool(grid, SSB_ALLOWUSERFORMULAS, TRUE);
        SSSetBool(grid, SSB_ALLOWSELECTBLOCK, TRUE);
        SSSetBool(grid, SSB_AUTOCALC, TRUE);
        SSSetBool(grid, SSB_SCROLLBARS, TRUE);

        if (full) {
            SSSetMaxCols(grid, kFreshCols);
            SSSetMaxRows(grid, kFreshRows);
            SSSetAutoSizeVisible(grid, kVisibleCols, kVisibleRows);
            SS_CELLTYPE type;
            SSSetTypeEdit(grid, &type, kEditStyle, kEditMaxLength, SS_CHRSET_ANY, SS_CASE_ASTYPED);
            const int cols = SSGetMaxCols(grid);
            const int rows = SSGetMaxRows(grid);
            if (cols > 0 && rows > 0)
                SSSetCellTypeRange(grid, 1, 1, cols, rows, &type);

            SheetSettings settings;
            applySettings(grid, settingsName, settings);
            if (loaded != nullptr)
                *loaded = settings;
        }

        WORD mode = 0;
        DWORD delay = 0;
        LOGFONT tipFont;
        COLORREF back = 0;
        COLORREF fore = 0;
        if (SSGetTextTip(grid, &mode, &delay, &tipFont, &back, &fore))
            SSSetTextTip(grid, kTextTipMode, kTextTipDelay, &tipFont, back, fore);
        SSSetCellNoteIndicator(grid, 0);
    } catch (...) {
        // Never fails: whatever could not be done stays as it was.
    }
}
