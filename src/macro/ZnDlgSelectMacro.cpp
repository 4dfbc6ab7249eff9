// The select-macro dialog.
#include "macro/ZnDlgSelectMacro.h"

#include "core/DialogFunctions.h"
#include "core/ImageListData.h"
#include "core/MacroFile.h"
#include "core/MacroLangs.h"
#include "core/Paths.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"

#include <algorithm>
#include <vector>

namespace {

// Rebuilds the grid and the thumbnails after a click in the grid, once the grid has finished with
// the click: rebuilding the grid inside its own notification would pull the cell from under it.
constexpr UINT kRebuildMessage = WM_APP + 17;

constexpr int kIconFilterShown = 241;
constexpr int kIconFilterHidden = 240;

} // namespace

ZnDlgSelectMacro::ZnDlgSelectMacro(const Kx_String& title, bool outFlag, bool extraText)
    : CDialog(kTemplateId), m_title(title), m_outFlag(outFlag), m_extraText(extraText)
{
    onCommand(kFilterButton, BN_CLICKED, [this] { toggleLarge(); });
    onCommand(kUseFilter, BN_CLICKED, [this] { fillThumbnails(); });
    onCommand(kPickButton, BN_CLICKED, [this] {
        m_outFlag = true;
        EndDialog(IDOK);
    });
    onCommand(kGrid, SSN_CELLCHANGED, [this] { gridChanged(); });
    onCommand(kGrid, SSN_BUTTONCLICKED, [this] { gridChanged(); });
    onNotify(kThumbnails, NM_DBLCLK, [this](NMHDR&) -> LRESULT {
        OnOK();
        return 0;
    });
    onMessage(kRebuildMessage, [this](WPARAM, LPARAM) -> LRESULT {
        fillGrid();
        fillThumbnails();
        return 0;
    });
}

Kx_String ZnDlgSelectMacro::previewFile(const Kx_String& macro)
{
    return kxcore::macroLibraryFolder() + removeExtension(getFileName(macro)) + ".bmp";
}

Kx_StringArray ZnDlgSelectMacro::displayNames(const Kx_StringArray& files)
{
    Kx_StringArray translated;
    for (const Kx_String& file : files)
        translated.append(MacroLangs::GetString(removeExtension(getFileName(file))));
    Kx_StringArray stripped = stripNumbersAtEnd(translated);
    // "End plate 1" and "End plate 2" would both become "End plate": then every name stays whole.
    return hasDuplicates(stripped) ? translated : stripped;
}

BOOL ZnDlgSelectMacro::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_grid.attach(this, kGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    SSSetBool(m_grid.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    CreateImageCheck(this, kFilterButton, m_filterButton, kIconFilterShown, "Show or hide filter options");

    if (!m_outFlag) {
        EnDisCtrl(this, kPickButton, false);
        if (m_extraText) {
            SetDlgItemText(kHint, (dialString(1312) + "\n" + dialString(1313)).str());
            ShowOrHideCtrl(this, kHint, true);
            resizeCtrl(this, kThumbnails, 0, 0, 0, -kHintHeight);
        }
    }

    attachResizer();
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);

    m_thumbnails.initialize(m_hWnd, kThumbnails);
    SetWindowText((m_title.isEmpty() ? dialString(1116) : m_title).str());
    SetDlgItemText(kLabel, dialString(1644).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    SetDlgItemText(kUseFilter, dialString(1118).str());
    SetDlgItemText(kPickButton, dialString(1309).str());

    // Pictures for the library's drawings and the caller's macros; only missing or outdated ones
    // are drawn.
    Kx_StringArray files = m_filter.getAllDwgFiles();
    for (const Kx_MacroPropsFilter::Macro& macro : m_filter.macros())
        files.append(macro.file);
    CreatePreviewBMPs(m_filter.thumbnailWidth(), m_filter.thumbnailHeight(), files, kxcore::macroLibraryFolder());
    fillGrid();
    CheckDlgButton(kUseFilter, BST_CHECKED);
    fillThumbnails();

    bool large = false;
    readDlgRegBool(kSizeKey, kLargeValue, large);
    m_large = large;
    applyLarge();
    return TRUE;
}

void ZnDlgSelectMacro::attachResizer()
{
    m_resizer.detach();
    m_resizer.attach(this, {
                               {kFilterButton, {}, {}, {}, {}},
                               {kUseFilter, {}, {}, {}, {}},
                               {kGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
                               {kLabel, {}, {}, {}, {}},
                               {kThumbnails, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
                               {kHint, {1, 0, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
                               {kPickButton, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                           });
}

void ZnDlgSelectMacro::fillThumbnails()
{
    Kx_StringArray files;
    if (IsDlgButtonChecked(kUseFilter) == BST_CHECKED) {
        m_filter.getFilteredMacros(files);
    } else {
        for (const Kx_MacroPropsFilter::Macro& macro : m_filter.macros()) {
            if (macro.enabled)
                files.append(macro.file);
        }
    }
    const Kx_StringArray names = displayNames(files);
    ImageListData data;
    data.setThumbnailSize(m_filter.thumbnailWidth(), m_filter.thumbnailHeight());
    for (int i = 0; i < files.length(); ++i)
        data.append(previewFile(files[i]), names[i]);
    m_shown = files;
    m_thumbnails.setData(data);
}

void ZnDlgSelectMacro::fillGrid()
{
    Kx_StringArray modules;
    Kx_Array<Kx_StringArray> properties;
    Kx_Array<Kx_Array<bool>> states;
    m_filter.getMergedProperties(modules, properties, states);
    m_rowModules = modules;
    m_rowProperties = properties;

    // Per row: the module's box and name, then a box and a name per property.
    int pairs = 1;
    for (const Kx_StringArray& p : properties)
        pairs = std::max(pairs, p.length() + 1);
    HWND grid = m_grid.GetSafeHwnd();
    SSSetBool(grid, SSB_REDRAW, FALSE);
    m_grid.setRowCount(0);
    m_grid.setColCount(2 * pairs);
    m_grid.setRowCount(modules.length());
    Kx_StringArray headers;
    for (int c = 1; c <= 2 * pairs; ++c)
        headers.append(c == 2 ? dialString(1119) : c == 4 ? dialString(1120) : Kx_String());
    m_grid.setColumnHeaders(headers);
    for (int r = 0; r < modules.length(); ++r) {
        Kx_StringArray labels;
        labels.append(modules[r]);
        for (const Kx_String& p : properties[r])
            labels.append(p);
        for (int i = 0; i < labels.length(); ++i) {
            m_grid.setCheckBoxCell(2 * i + 1, r + 1);
            m_grid.setLock(2 * i + 2, r + 1, true);
        }
        m_grid.setCheckLabelPairs(r + 1, labels, states[r]);
    }
    m_grid.applyFonts();
    SSSetBool(grid, SSB_REDRAW, TRUE);
    // Boxes narrow, names as wide as the longest of their column (in average characters of the grid's
    // font, with room for wider letters).
    std::vector<int> widths(static_cast<size_t>(2 * pairs + 1), 0);
    for (int r = 0; r < modules.length(); ++r) {
        widths[2] = std::max(widths[2], modules[r].length());
        for (int i = 0; i < properties[r].length(); ++i)
            widths[static_cast<size_t>(2 * i + 4)] = std::max(widths[static_cast<size_t>(2 * i + 4)], properties[r][i].length());
    }
    for (int c = 1; c <= 2 * pairs; ++c)
        SSSetColWidth(grid, c, c % 2 == 1 ? 3.0 : 1.4 * std::max(widths[static_cast<size_t>(c)], 8) + 2.0);
}

void ZnDlgSelectMacro::gridChanged()
{
    HWND grid = m_grid.GetSafeHwnd();
    int col = 0;
    int row = 0;
    if (!SSGetNotifyCell(grid, &col, &row))
        SSGetActiveCell(grid, &col, &row);
    if (row < 1 || row > m_rowModules.length() || col < 1 || col % 2 == 0)
        return;
    bool on = true;
    if (!m_grid.getCheck(col, row, on))
        return;
    const Kx_String& module = m_rowModules[row - 1];
    const int property = (col - 1) / 2 - 1;
    bool changed = false;
    if (property < 0)
        changed = m_filter.setModuleStatus(module, on);
    else if (property < m_rowProperties[row - 1].length())
        changed = m_filter.setModulePropStatus(module, m_rowProperties[row - 1][property], on);
    // The click notifies twice (clicked, then changed); the second finds nothing to change.
    if (changed)
        ::PostMessage(m_hWnd, kRebuildMessage, 0, 0);
}

void ZnDlgSelectMacro::toggleLarge()
{
    m_large = !m_large;
    applyLarge();
}

void ZnDlgSelectMacro::applyLarge()
{
    ShowOrHideCtrl(this, kGrid, m_large);
    if (m_laidOutLarge != m_large) {
        // The label and the list give way to the grid above them, or take its place back.
        const int d = m_large ? kFilterHeight : -kFilterHeight;
        resizeCtrl(this, kLabel, 0, d, 0, d);
        resizeCtrl(this, kThumbnails, 0, d, 0, 0);
        m_laidOutLarge = m_large;
    }
    m_filterButton.SetIcon(m_large ? kIconFilterShown : kIconFilterHidden);
    CheckDlgButton(kFilterButton, m_large ? BST_CHECKED : BST_UNCHECKED);
    attachResizer();
}

void ZnDlgSelectMacro::OnOK()
{
    const int index = m_thumbnails.getSelectedIndex();
    if (index < 0 || index >= m_shown.length() || m_thumbnails.getSelectedName().isEmpty())
        return;
    m_chosen = changeExtension(m_shown[index], "dwg");
    m_outFlag = false;
    EndDialog(IDOK);
}

void ZnDlgSelectMacro::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    writeDlgRegBool(kSizeKey, kLargeValue, m_large);
    m_resizer.detach();
    CDialog::OnDestroy();
}
