// The cutting-stock dialog.
#include "detailing/ZnDlgOptimizeCSP2.h"

#include "core/CTime.h"
#include "core/DialogFunctions.h"
#include "core/FileDialog.h"
#include "core/FileIO.h"
#include "core/FileNameCheck.h"
#include "core/InfoDialog.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/PromptDialog.h"
#include "core/StockFiles.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

constexpr int kTextTitle = 620;
constexpr int kTextSetLabel = 621;
constexpr int kTextNewSet = 622;
constexpr int kTextDeleteSet = 623;
constexpr int kTextTablesFrame = 624;
constexpr int kTextFrames[3] = {625, 626, 627};
constexpr int kTextAddRow = 616;
constexpr int kTextDeleteRow = 617;
constexpr int kTextLoad = 618;
constexpr int kTextSave = 619;
constexpr int kTextSaveAll = 628;
constexpr int kTextReport = 629;
constexpr int kTextAskNames = 630;
constexpr int kTextNewSetTitle = 631;
constexpr int kTextNewSetPrompt = 632;
constexpr int kTextNewName = 171;
constexpr int kTextStockMissing = 633;
constexpr int kTextFile = 634;
constexpr int kTextLoadedStock = 635;
constexpr int kTextSaved = 636;
constexpr int kTextBuyMissing = 637;
constexpr int kTextLoadedBuy = 638;
constexpr int kTextReportTitle = 652;
constexpr int kTextClose = 285;
constexpr int kTextNameInUseCaption = 856;
constexpr int kTextNameInUse = 857;
constexpr int kTextChooseAnother = 858;
constexpr int kTextNotSaved = 11000;
constexpr int kTextNotRead = 11001;
constexpr int kTextStockUnreadable = 11002;
constexpr int kTextBuyUnreadable = 11003;
constexpr int kTextBadSetName = 11004;
constexpr int kTextNoFolder = 11010;

constexpr int kIconAdd = 212;
constexpr int kIconDelete = 206;
constexpr int kIconLoad = 232;
constexpr int kIconSave = 233;

const char* const kStockBase = "Stock";
constexpr const char* kStockFolder = "Cutting Stock";

Kx_String quoted(const Kx_String& text)
{
    return Kx_String("\"") + text + "\"";
}

Kx_String extensionOf(int table)
{
    return table == 2 ? "shp" : "buy";
}

// The controls the stock-only mode disables.
constexpr int kNotInStockOnly[] = {8590, 8591, 9037, 9038, 1321, 9043, 1323, 8601, 8605, 8608, 8609, 8603, 8604};

} // namespace

ZnDlgOptimizeCSP2::ZnDlgOptimizeCSP2(const DlgCSP2Data& data) : CDialog(kTemplateId), m_data(data)
{
    onCommand(kSetList, CBN_SELCHANGE, [this] { onSetChanged(); });
    onCommand(kNewSet, BN_CLICKED, [this] { newSet(); });
    onCommand(kDeleteSet, BN_CLICKED, [this] { deleteSet(); });
    for (int t = 1; t <= 3; ++t) {
        onCommand(kAddRow[t - 1], BN_CLICKED, [this, t] { addRow(t); });
        onCommand(kDeleteRow[t - 1], BN_CLICKED, [this, t] { deleteRow(t); });
    }
    onCommand(kLoadStock, BN_CLICKED, [this] { storeGrids(); fileStep(2, false, true, selectedIndex()); });
    onCommand(kLoadBuy, BN_CLICKED, [this] { storeGrids(); fileStep(3, false, true, selectedIndex()); });
    onCommand(kSaveStock, BN_CLICKED, [this] { storeGrids(); fileStep(2, true, true, selectedIndex()); });
    onCommand(kSaveBuy, BN_CLICKED, [this] { storeGrids(); fileStep(3, true, true, selectedIndex()); });
    onCommand(kReport, BN_CLICKED, [this] {
        if (m_data.stockOnly)
            saveAll();
        else
            runReport();
    });
}

BOOL ZnDlgOptimizeCSP2::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTextTitle).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    SetDlgItemText(kSetLabel, dialString(kTextSetLabel).str());
    SetDlgItemText(kNewSet, dialString(kTextNewSet).str());
    SetDlgItemText(kDeleteSet, dialString(kTextDeleteSet).str());
    SetDlgItemText(kTablesFrame, dialString(kTextTablesFrame).str());
    for (int t = 0; t < 3; ++t)
        SetDlgItemText(kFrames[t], dialString(kTextFrames[t]).str());
    SetDlgItemText(kAskNames, dialString(kTextAskNames).str());
    SetDlgItemText(kReport, dialString(m_data.stockOnly ? kTextSaveAll : kTextReport).str());

    const struct {
        int id;
        int icon;
        int tip;
    } icons[] = {
        {kAddRow[0], kIconAdd, kTextAddRow},       {kAddRow[1], kIconAdd, kTextAddRow},
        {kAddRow[2], kIconAdd, kTextAddRow},       {kDeleteRow[0], kIconDelete, kTextDeleteRow},
        {kDeleteRow[1], kIconDelete, kTextDeleteRow}, {kDeleteRow[2], kIconDelete, kTextDeleteRow},
        {kLoadStock, kIconLoad, kTextLoad},        {kLoadBuy, kIconLoad, kTextLoad},
        {kSaveStock, kIconSave, kTextSave},        {kSaveBuy, kIconSave, kTextSave},
    };
    for (size_t i = 0; i < std::size(icons); ++i) {
        CButtonST& button = m_icons[i];
        if (!button.SubclassDlgItem(icons[i].id, m_hWnd))
            continue;
        button.SetIcon(icons[i].icon);
        button.SetFlat(true);
        button.SetTooltipText(dialString(icons[i].tip).str());
    }

    for (int t = 0; t < 3; ++t) {
        Kx_Spread& g = m_grids[static_cast<size_t>(t)];
        // The grid takes the placeholder's exact place: this window layer draws no frame to allow for.
        g.attach(this, kGrids[t], /*exactRect=*/true);
        g.setStandardLook(1);
        SSSetBool(g.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
        g.setFitMode(1);
        g.setColCount(3);
    }

    const bool stockOnly = m_data.stockOnly;
    ShowOrHideCtrl(this, kAskNames, stockOnly);
    if (stockOnly)
        for (int id : kNotInStockOnly)
            EnDisCtrl(this, id, false);

    std::vector<CResizerEntry> entries = {
        {kSetLabel, {1, 0, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
        {kSetList, {1, 0, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
        {kNewSet, {1, 0, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
        {kDeleteSet, {1, 0, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}},
        {kTablesFrame, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
        // The three frames share the width: their inner edges keep their proportional places.
        {kFrames[0], {1, 0, 1}, {1, 0, 2}, {2, 0, 1}, {1, 0, 4}},
        {kFrames[1], {2, 0, 1}, {1, 0, 2}, {2, 0, 1}, {1, 0, 4}},
        {kFrames[2], {2, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 4}},
    };
    for (int t = 0; t < 3; ++t) {
        const int frame = kFrames[t];
        entries.push_back({kGrids[t], {1, frame, 1}, {1, 0, 2}, {1, frame, 3}, {1, 0, 4}});
        entries.push_back({kAddRow[t], {1, frame, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}});
        entries.push_back({kDeleteRow[t], {1, frame, 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}});
    }
    for (int id : {kLoadStock, kSaveStock})
        entries.push_back({id, {1, kFrames[1], 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}});
    for (int id : {kLoadBuy, kSaveBuy})
        entries.push_back({id, {1, kFrames[2], 1}, {1, 0, 2}, {3, 0, 0}, {4, 0, 0}});
    entries.push_back({kReport, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}});
    entries.push_back({kAskNames, {1, 0, 1}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}});
    entries.push_back({IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}});
    entries.push_back({IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}});
    // The resizer takes the template's size as the smallest the dialog may get; a stored size
    // only sets the size it opens with.
    m_resizer.attach(this, std::move(entries));
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);

    FillCombo(this, kSetList, m_data.setNames, m_data.setNames.isEmpty() ? -1 : 0);
    m_currentSet = -1;
    onSetChanged();
    return TRUE;
}

void ZnDlgOptimizeCSP2::OnOK()
{
    storeGrids();
    CDialog::OnOK();
}

void ZnDlgOptimizeCSP2::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
}

int ZnDlgOptimizeCSP2::selectedIndex() const
{
    const int index = static_cast<int>(SendDlgItemMessage(m_hWnd, kSetList, CB_GETCURSEL));
    return index >= 0 && index < m_data.setIds.length() ? index : -1;
}

int ZnDlgOptimizeCSP2::indexOfSet(std::int32_t id) const
{
    int index = -1;
    return id >= 0 && m_data.setIds.find(id, index) ? index : -1;
}

void ZnDlgOptimizeCSP2::fillGrid(int table, std::int32_t id)
{
    Kx_Spread& g = grid(table);
    HWND h = g.GetSafeHwnd();
    const DlgCSP2Table& t = *m_data.table(table);
    SSSetBool(h, SSB_REDRAW, FALSE);
    g.setRowCount(0);
    // As many columns as the names and the widest row need, so that no cell is cut off and lost
    // when the grid is stored again.
    const Kx_Array<Kx_StringArray> rows = id >= 0 ? t.rowsOfSet(id) : Kx_Array<Kx_StringArray>();
    int columns = t.columnNames.length();
    for (const Kx_StringArray& row : rows)
        columns = std::max(columns, row.length());
    g.setColCount(columns > 0 ? columns : 3);
    g.setColumnHeaders(t.columnNames);
    if (!rows.isEmpty()) {
        g.setRowCount(rows.length());
        for (int r = 0; r < rows.length(); ++r)
            g.setRow(r + 1, rows[r]);
    }
    SSSetBool(h, SSB_REDRAW, TRUE);
}

void ZnDlgOptimizeCSP2::fillGrids(std::int32_t id)
{
    for (int t = 1; t <= 3; ++t)
        fillGrid(t, id);
}

void ZnDlgOptimizeCSP2::storeGrid(int table, std::int32_t id)
{
    if (id < 0 || indexOfSet(id) < 0)
        return;
    Kx_Array<Kx_StringArray> rows;
    if (!grid(table).getAllRows(rows))
        return;
    DlgCSP2Table& t = *m_data.table(table);
    // The grid is as wide as the widest row: the empty cells it adds past the named columns are not
    // the row's, so an unedited row goes back as it came.
    const int named = t.columnNames.length();
    for (Kx_StringArray& row : rows) {
        int keep = row.length();
        while (keep > named && row[keep - 1].isEmpty())
            --keep;
        row.setLogicalLength(keep);
    }
    t.removeSet(id);
    t.appendRows(id, rows);
}

void ZnDlgOptimizeCSP2::storeGrids()
{
    for (int t = 1; t <= 3; ++t)
        storeGrid(t, m_currentSet);
}

void ZnDlgOptimizeCSP2::selectSet(int index)
{
    SendDlgItemMessage(m_hWnd, kSetList, CB_SETCURSEL, static_cast<WPARAM>(index));
    onSetChanged();
}

void ZnDlgOptimizeCSP2::onSetChanged()
{
    storeGrids();
    const int index = selectedIndex();
    m_currentSet = index >= 0 ? m_data.setIds[index] : -1;
    fillGrids(m_currentSet);
}

void ZnDlgOptimizeCSP2::message(const Kx_String& text, UINT icon)
{
    MessageBox(m_hWnd, text.str(), dialString(kTextTitle).str(), MB_OK | icon);
}

void ZnDlgOptimizeCSP2::newSet()
{
    const std::optional<Kx_String> typed =
        runPromptDialog(kTextNewSetTitle, kTextNewSetPrompt, kTextNewName, 1, 2, m_hWnd);
    if (!typed)
        return;
    const Kx_String name = typed->trimmed();
    // The name becomes the set's folder: it must be one plain folder name, and a new one.
    if (!warnInvalidFileName(name, m_hWnd))
        return;
    if (m_data.setNames.contains(name, /*exact=*/false)) {
        MessageBox(m_hWnd,
                   (dialString(kTextNameInUse) + ": " + quoted(name) + ".\n" + dialString(kTextChooseAnother) + ".").str(),
                   dialString(kTextNameInUseCaption).str(), MB_OK | MB_ICONWARNING);
        return;
    }
    storeGrids();
    m_data.setIds.append(m_data.nextSetId());
    m_data.setNames.append(name);
    SendDlgItemMessage(m_hWnd, kSetList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    m_currentSet = -1;  // stored above
    selectSet(m_data.setNames.length() - 1);
}

void ZnDlgOptimizeCSP2::deleteSet()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    const std::int32_t id = m_data.setIds[index];
    for (int t = 1; t <= 3; ++t)
        m_data.table(t)->removeSet(id);
    m_data.setIds.removeAt(index);
    m_data.setNames.removeAt(index);
    SendDlgItemMessage(m_hWnd, kSetList, CB_DELETESTRING, static_cast<WPARAM>(index));
    m_currentSet = -1;  // gone: nothing to store
    const int left = m_data.setIds.length();
    selectSet(left == 0 ? -1 : std::min(index, left - 1));
}

void ZnDlgOptimizeCSP2::addRow(int table)
{
    Kx_Spread& g = grid(table);
    if (g.insertRowBelowSelection(/*askName=*/false))
        SSSetBool(g.GetSafeHwnd(), SSB_CHANGEMADE, TRUE);
}

void ZnDlgOptimizeCSP2::deleteRow(int table)
{
    grid(table).deleteSelectedRow();
}

std::optional<Kx_String> ZnDlgOptimizeCSP2::setFolder(int index) const
{
    if (index < 0 || index >= m_data.setNames.length())
        return std::nullopt;
    const Kx_String& name = m_data.setNames[index];
    // Names arrive in the caller's data too: only a plain folder name inside "Cutting Stock" is used.
    if (kx::invalidFileNameReason(name))
        return std::nullopt;
    const Kx_String root = Kx_Settings::libDir() + kStockFolder;
    const Kx_String folder = root + "/" + name + "/";
    if (!isPathUnderRoot(root, folder))
        return std::nullopt;
    return folder;
}

Kx_String ZnDlgOptimizeCSP2::defaultFileName(const Kx_String& folder, const Kx_String& ext)
{
    Kx_StringArray paths;
    ObjectExportFindFiles(folder, Kx_String("*.") + ext, paths);
    long long largest = 0;
    const std::string base = kStockBase;
    for (const Kx_String& path : paths) {
        const std::string name = getFileName(path).str();
        const std::string suffix = "." + ext.str();
        if (name.size() <= base.size() + suffix.size())
            continue;
        const Kx_String head(name.substr(0, base.size()));
        const Kx_String tail(name.substr(name.size() - suffix.size()));
        if (!head.equal(base, /*exact=*/false) || !tail.equal(suffix, /*exact=*/false))
            continue;
        const std::string digits = name.substr(base.size(), name.size() - base.size() - suffix.size());
        if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        largest = std::max(largest, std::stoll(digits));
    }
    return Kx_String(base + std::to_string(largest + 1) + "." + ext.str());
}

Kx_String ZnDlgOptimizeCSP2::newestFile(const Kx_String& folder, const Kx_String& ext)
{
    Kx_StringArray paths;
    if (!ObjectExportFindFiles(folder, Kx_String("*.") + ext, paths))
        return Kx_String();
    Kx_String newest;
    CTime newestTime;
    for (const Kx_String& path : paths) {
        CTime time;
        if (!ObjectExportGetFileTime(path, time))
            continue;
        if (newest.isEmpty() || time > newestTime) {
            newest = path;
            newestTime = time;
        }
    }
    return newest;
}

Kx_String ZnDlgOptimizeCSP2::normalisedPath(const Kx_String& chosen, const Kx_String& ext)
{
    // Only the file's own name is lower-cased: the folders are the file system's, and on a system
    // that tells letter case apart a lower-cased folder is another folder.
    Kx_String path = getPath(chosen) + getFileName(chosen).toLower();
    const Kx_String suffix = Kx_String(".") + ext;
    if (!path.endsWith(suffix))
        path.append(suffix);
    return path;
}

bool ZnDlgOptimizeCSP2::loadInto(int table, int index, const Kx_String& path, bool tell)
{
    Kx_Array<Kx_StringArray> rows;
    std::string error;
    if (!kx::readStockFile(path, rows, error)) {
        // The set keeps its rows: an unreadable file must not empty a list the user still has.
        if (tell)
            message(dialString(kTextNotRead) + "\n" + quoted(path) + "\n" + Kx_String(error));
        return false;
    }
    const std::int32_t id = m_data.setIds[index];
    DlgCSP2Table& t = *m_data.table(table);
    t.removeSet(id);
    t.appendRows(id, rows);
    if (id == m_currentSet)
        fillGrid(table, id);
    return true;
}

bool ZnDlgOptimizeCSP2::fileStep(int table, bool save, bool showDialog, int index)
{
    if (index < 0 || index >= m_data.setIds.length())
        return false;
    const std::optional<Kx_String> folder = setFolder(index);
    if (!folder) {
        message(dialString(kTextBadSetName) + "\n" + quoted(m_data.setNames[index]));
        return false;
    }
    ObjectExportCreateDirectory(*folder);
    const Kx_String ext = extensionOf(table);

    Kx_String chosen;
    if (showDialog) {
        Kx_FileDialogRequest request;
        request.open = !save;
        request.filter = dialString(kTextFrames[table - 1]) + " (*." + ext + ")";
        request.defaultExtension = ext;
        request.folder = *folder;
        request.fileName = save ? defaultFileName(*folder, ext) : getFileName(newestFile(*folder, ext));
        request.owner = m_hWnd;
        chosen = runFileDialog(request);
        if (chosen.isEmpty())
            return false;
    } else {
        chosen = *folder + defaultFileName(*folder, ext);
    }
    // A file chosen for loading is read under the name it has: lower-casing it would miss it where
    // the file system tells letter case apart.
    if (!save)
        return loadInto(table, index, fileExists(chosen) ? chosen : normalisedPath(chosen, ext), /*tell=*/true);
    const Kx_String path = normalisedPath(chosen, ext);

    std::string error;
    if (!kx::writeStockFile(path, m_data.table(table)->rowsOfSet(m_data.setIds[index]), error)) {
        message(dialString(kTextNotSaved) + "\n" + quoted(path) + "\n" + Kx_String(error));
        return false;
    }
    return true;
}

std::optional<Kx_StringArray> ZnDlgOptimizeCSP2::statusReport()
{
    storeGrids();
    const Kx_String rule(std::string(116, '-'));
    Kx_StringArray lines;
    lines.append(rule);
    for (int i = 0; i < m_data.setIds.length(); ++i) {
        const Kx_String& name = m_data.setNames[i];
        const std::optional<Kx_String> folder = setFolder(i);
        if (!folder) {
            lines.append(quoted(name) + " " + dialString(kTextNoFolder));
            lines.append(rule);
            continue;
        }
        for (int table : {2, 3}) {
            const Kx_String ext = extensionOf(table);
            const Kx_String newest = newestFile(*folder, ext);
            if (newest.isEmpty()) {
                lines.append(dialString(kTextFile) + " " + quoted(Kx_String("*.") + ext) + " " +
                             dialString(table == 2 ? kTextStockMissing : kTextBuyMissing));
                continue;
            }
            if (!loadInto(table, i, newest, /*tell=*/false)) {
                lines.append(dialString(kTextFile) + " " + quoted(getFileName(newest)) + " " +
                             dialString(table == 2 ? kTextStockUnreadable : kTextBuyUnreadable));
                continue;
            }
            CTime time;
            ObjectExportGetFileTime(newest, time);
            lines.append(dialString(kTextSaved) + " " + time.Format("%d %B, %Y (%H:%M)") + " " + dialString(kTextFile) +
                         " " + quoted(getFileName(newest)) + " " +
                         dialString(table == 2 ? kTextLoadedStock : kTextLoadedBuy) + " " + quoted(name));
        }
        lines.append(rule);
    }
    fillGrids(m_currentSet);
    return lines;
}

void ZnDlgOptimizeCSP2::runReport()
{
    const std::optional<Kx_StringArray> lines = statusReport();
    if (!lines)
        return;
    DlgInfoData info;
    info.title = dialString(kTextReportTitle);
    info.lines = *lines;
    info.closeText = dialString(kTextClose);
    info.owner = m_hWnd;
    ExportStartDlgInfo(info);
}

void ZnDlgOptimizeCSP2::saveAll()
{
    storeGrids();
    const bool ask = IsDlgButtonChecked(kAskNames) == BST_CHECKED;
    for (int i = 0; i < m_data.setIds.length(); ++i)
        fileStep(2, /*save=*/true, ask, i);
}
