// The spreadsheet editor's window and commands. The grid holds the sheet; the editor only adds the
// menu bar, the toolbar, the file commands and the cell dialogs. Nothing a command fails at is lost:
// a failed open keeps the sheet shown, a failed save keeps the sheet marked changed and the old file
// as it was (the grid saves through a temporary file), and a cell type that would clear cells asks.
#include "spread/ZnSheetEditor.h"

#include "core/FileDialog.h"
#include "core/FileIO.h"
#include "core/MacroLangs.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"
#include "platform/win/Bitmap.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Font.h"
#include "platform/win/MenuBar.h"
#include "platform/win/Messages.h"
#include "platform/win/Toolbar.h"
#include "platform/win/Window.h"
#include "sheetedit/EditorRegistrySettings.h"
#include "sheetedit/SheetPreparation.h"
#include "sheetedit/SheetSettings.h"
#include "spread/Kx_Spread.h"
#include "spread/SheetEditorXlsx.h"
#include "spread/SheetFiles.h"
#include "spread/SheetUndoHistory.h"
#include "spread/ZnSheetEditorDialogs.h"
#include "spread/SheetEditorPrint.h"  // the Print command

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kTextEditorName = 9400;
constexpr int kTextUntitled = 9401;
constexpr int kTextSaveFirst = 9402;
constexpr int kTextCannotSave = 9403;
constexpr int kTextCannotOpen = 9404;
constexpr int kTextCannotExport = 9405;
constexpr int kTextSheetFilter = 9407;
constexpr int kTextOpenTitle = 9409;
constexpr int kTextSaveTitle = 9410;
constexpr int kTextTypeClearsCells = 9457;
constexpr int kTextCannotStoreSettings = 9458;
// Export offers CSV and .xlsx.
constexpr int kTextExportFilter = 11120;
constexpr int kTextExportBothTitle = 11121;

// The fonts the font dialogs offer besides the sheet's own default font.
const char* const kFaces[] = {"Arial", "Courier New", "Tahoma", "Times New Roman", "Verdana"};

std::vector<std::string> facesWith(const Kx_String& sheetFont)
{
    std::vector<std::string> faces;
    if (!sheetFont.isEmpty())
        faces.push_back(sheetFont.str());
    for (const char* face : kFaces)
        if (std::find(faces.begin(), faces.end(), face) == faces.end())
            faces.emplace_back(face);
    return faces;
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string withoutExtension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Tab-separated text tables (".tsv", ".txt") are read as tables; everything else as a sheet file.
bool isTextTableName(const std::string& path)
{
    const std::string name = baseName(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string ext = name.substr(dot + 1);
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ext == "tsv" || ext == "txt";
}

// A text of a cell read through one of the grid's buffer calls, however long it is. The grid cuts a
// text that does not fit before a whole character, up to 3 bytes short of the buffer's end, so only
// a text ending further from it is known to be complete; a cut note would be saved back cut.
std::string readCellText(HWND grid, int col, int row, int (*get)(HWND, int, int, LPSTR, int))
{
    constexpr std::size_t kLongestCharacter = 4;
    std::string buffer(4096, '\0');
    for (;;) {
        const int n = get(grid, col, row, buffer.data(), static_cast<int>(buffer.size()));
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) + kLongestCharacter < buffer.size() ||
            buffer.size() > static_cast<std::size_t>(SS_MAX_TEXT) + kLongestCharacter)
            return buffer.substr(0, static_cast<std::size_t>(n));
        buffer.assign(buffer.size() * 2, '\0');
    }
}

struct Block {
    int col1, row1, col2, row2;
};

// The selected cells of the grid's body; a whole row or column selected (header corners) stands for
// every cell of it. Nothing when the sheet has no cells.
std::optional<Block> selectedBlock(Kx_Spread& spread)
{
    Block b{};
    if (!spread.getSelection(b.col1, b.row1, b.col2, b.row2))
        return std::nullopt;
    const int cols = spread.getColCount(), rows = spread.getRowCount();
    if (cols < 1 || rows < 1)
        return std::nullopt;
    if (b.col1 < 1 || b.col2 < 1) {
        b.col1 = 1;
        b.col2 = cols;
    }
    if (b.row1 < 1 || b.row2 < 1) {
        b.row1 = 1;
        b.row2 = rows;
    }
    b.col2 = std::min(std::max(b.col1, b.col2), cols);
    b.row2 = std::min(std::max(b.row1, b.row2), rows);
    b.col1 = std::min(b.col1, b.col2);
    b.row1 = std::min(b.row1, b.row2);
    return b;
}

// What a cell held before its type changed, to put back when the user keeps the old type.
struct CellBefore {
    int col, row;
    SS_CELLTYPE type;
    std::string value;
    std::string formula;
};

} // namespace

// The editor's grid: the wrapper, with the cell menu on a right click, and word of replacements
// made by its find dialog (which changes cells without the editor's commands).
class ZnSheetEditor::Grid : public Kx_Spread {
public:
    std::function<void(POINT)> onRightClick;
    std::function<void()> onCellsReplaced;

    void cellsReplaced() override
    {
        if (onCellsReplaced)
            onCellsReplaced();
    }

protected:
    void OnRButtonUp(UINT flags, POINT point) override
    {
        Kx_Spread::OnRButtonUp(flags, point);
        if (m_hWnd == nullptr || !onRightClick)
            return;
        ::ClientToScreen(m_hWnd, point);
        onRightClick(point);
    }
};

ZnSheetEditor::ZnSheetEditor(const Kx_String& file, HWND parent)
    : CDialog(kTemplateId, parent), m_fileName(file), m_history(std::make_unique<kxss::SheetUndoHistory>())
{
}

ZnSheetEditor::~ZnSheetEditor() = default;

Kx_Spread* ZnSheetEditor::spread() const
{
    return m_spread.get();
}

HWND ZnSheetEditor::grid() const
{
    return m_spread && m_spread->isAttached() ? m_spread->m_hWnd : nullptr;
}

bool ZnSheetEditor::isChanged() const
{
    HWND g = grid();
    return g != nullptr && SSGetBool(g, SSB_CHANGEMADE) != FALSE;
}

Kx_String ZnSheetEditor::titleText() const
{
    std::string name = !m_fileName.isEmpty()    ? baseName(m_fileName.str())
                       : !m_importedFrom.isEmpty() ? baseName(m_importedFrom.str())
                                                   : dialString(kTextUntitled).str();
    if (isChanged())
        name += "*";
    return Kx_String(name + " - " + dialString(kTextEditorName).str());
}

BOOL ZnSheetEditor::OnInitDialog()
{
    CDialog::OnInitDialog();
    HMENU bar = ::LoadMenu(kMainMenu);
    if (bar != nullptr && !::SetMenu(m_hWnd, bar))
        DestroyMenu(bar);

    // The toolbar's pictures are the bitmap of the same id, one a button.
    if (auto layout = kxwin::loadToolbarResource(kToolbar)) {
        HBITMAP strip = ::LoadBitmap(kToolbar);
        m_toolbar = kxwin::createToolbar(m_hWnd, kToolbarWindowId, *layout, strip);
        if (strip != nullptr)
            DeleteObject(strip);
    }

    m_spread = std::make_unique<Grid>();
    m_spread->attach(this, kGridId, /*exactRect=*/true);
    // A spreadsheet shows column letters and row numbers where a sheet has no header texts.
    kxgrid::setDefaultHeaderLabels(m_spread->GetSafeHwnd(), true);
    m_spread->setStandardLook(1);
    m_spread->onRightClick = [this](POINT at) { showCellMenu(at); };
    m_spread->onCellsReplaced = [this] {
        recordChange();
        updateCommandStates();
    };
    layout();

    if (m_fileName.isEmpty() || !loadFile(m_fileName)) {
        m_openedFile = m_fileName.isEmpty();
        m_fileName = Kx_String();
        if (!m_openedFile) {
            EndDialog(IDABORT);
            return FALSE;
        }
        newSheet();
    }
    updateCommandStates();
    updateTitle();
    ::SetFocus(grid());
    return FALSE;
}

void ZnSheetEditor::OnDestroy()
{
    // The grid window goes with the editor's; the wrapper object stays until the editor goes.
    m_toolbar = nullptr;
}

LRESULT ZnSheetEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (confirmDiscard())
            EndDialog(IDOK);
        return 0;
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        layout();
        return result;
    }
    case WM_INITMENU:
        updateCommandStates();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL ZnSheetEditor::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    HWND from = reinterpret_cast<HWND>(lParam);
    if (from != nullptr && from == grid()) {
        // The grid's own notifications (a cell typed, pasted or cleared): a step of the history,
        // and the title follows.
        const BOOL handled = CDialog::OnCommand(wParam, lParam);
        if (code == SSN_CELLCHANGED || code == SSN_EDITMODEOFF) {
            recordChange();
            updateCommandStates();
        }
        updateTitle();
        return handled;
    }
    if (code == 0 && (from == nullptr || from == m_toolbar) && runCommand(id)) {
        if (m_hWnd != nullptr) {
            if (id != kUndo && id != kRedo)
                recordChange();
            updateCommandStates();
            updateTitle();
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

bool ZnSheetEditor::runCommand(UINT command)
{
    switch (command) {
    case kNew:
        if (confirmDiscard())
            newSheet();
        return true;
    case kOpen: openSheet(); return true;
    case kSave: save(); return true;
    case kSaveAs: saveAs(); return true;
    case kExport: exportCsv(); return true;
    case kPrint:
        if (const Kx_String shown = runEditorPrint(m_hWnd, grid(), m_fileName); !shown.isEmpty())
            message(shown, MB_OK | MB_ICONWARNING);
        return true;
    case kPrintPreview: runEditorPrintPreview(m_hWnd, grid(), m_fileName); return true;
    case kPrintSetup: runEditorPrintSetup(m_hWnd, grid()); return true;
    case kCut: cut(); return true;
    case kCopy:
        SSClipboardCopy(grid());
        return true;
    case kPaste: paste(); return true;
    case kNote: editNote(); return true;
    case kFont: editFont(); return true;
    case kBorders: editBorders(); return true;
    case kCellType: editCellType(); return true;
    case kOptions: editOptions(); return true;
    case kLanguage: changeLanguage(); return true;
    case kUndo: undo(); return true;
    case kRedo: redo(); return true;
    case kInsertRow: insertRow(); return true;
    case kDeleteRow: deleteRows(); return true;
    case kInsertColumn: insertColumn(); return true;
    case kDeleteColumn: deleteColumns(); return true;
    default: return false;
    }
}

void ZnSheetEditor::layout()
{
    RECT client;
    GetClientRect(client);
    int top = 0;
    if (m_toolbar != nullptr) {
        ::SendMessage(m_toolbar, TB_AUTOSIZE);
        top = GetWindowRectInParent(m_toolbar).bottom;
    }
    if (HWND g = grid())
        ::MoveWindow(g, 0, top, client.width(), std::max(0, static_cast<int>(client.height()) - top), TRUE);
}

void ZnSheetEditor::updateTitle()
{
    if (m_hWnd != nullptr)
        SetWindowText(titleText().str());
}

// Paste is offered only while the clipboard holds text to paste, Undo and Redo while they have a
// step to go to.
void ZnSheetEditor::updateCommandStates()
{
    const bool canPaste = !kxwin::clipboardText().empty();
    if (HMENU bar = ::GetMenu(m_hWnd)) {
        ::EnableMenuItem(bar, kPaste, MF_BYCOMMAND | (canPaste ? MF_ENABLED : MF_GRAYED));
        ::EnableMenuItem(bar, kUndo, MF_BYCOMMAND | (canUndo() ? MF_ENABLED : MF_GRAYED));
        ::EnableMenuItem(bar, kRedo, MF_BYCOMMAND | (canRedo() ? MF_ENABLED : MF_GRAYED));
        ::DrawMenuBar(m_hWnd);
    }
    if (m_toolbar != nullptr)
        ::SendMessage(m_toolbar, TB_ENABLEBUTTON, kPaste, canPaste ? TRUE : FALSE);
}

void ZnSheetEditor::showCellMenu(POINT screenPoint)
{
    CMenu menu;
    if (!menu.LoadMenu(kCellMenu))
        return;
    CMenu popup = menu.GetSubMenu(0);
    if (popup.m_hMenu == nullptr)
        return;
    // The pick arrives as a posted WM_COMMAND, like a pick from the menu bar.
    popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, m_hWnd);
}

void ZnSheetEditor::message(const Kx_String& text, UINT type) const
{
    MessageBox(m_hWnd, text.str(), dialString(kTextEditorName).str(), type);
}

// --- Files ---------------------------------------------------------------------------------------

bool ZnSheetEditor::confirmDiscard()
{
    if (!isChanged())
        return true;
    switch (MessageBox(m_hWnd, dialString(kTextSaveFirst).str(), dialString(kTextEditorName).str(),
                       MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return save();
    case IDNO: return true;
    default: return false;
    }
}

// Loads into the grid shown; the grid stays as it was when the file cannot be read.
bool ZnSheetEditor::loadFile(const Kx_String& path)
{
    HWND g = grid();
    if (g == nullptr)
        return false;
    if (isTextTableName(path.str()))
        return importTextTable(path);
    if (SSLoadFromFile(g, path.c_str()) != TRUE) {
        message(Kx_String(dialString(kTextCannotOpen).str() + "\n\n" + kxgrid::lastError(g)), MB_OK | MB_ICONWARNING);
        return false;
    }
    // Loading forgets the grid's functions: the lookup is registered again (which recalculates
    // the cells that call it).
    kxss::registerFromTable(g);
    prepareEditorSheet(g, Kx_String(), /*full=*/false);
    SheetSettings settings;
    settings.readFromSheet(g);
    m_spread->setFontFace(settings.defaultFont);
    m_spread->setTextHeight(settings.defaultTextHeight);
    SSSetBool(g, SSB_CHANGEMADE, FALSE);
    m_fileName = path;
    m_importedFrom = Kx_String();
    startHistory();
    return true;
}

bool ZnSheetEditor::importTextTable(const Kx_String& path)
{
    HWND g = grid();
    Kx_StringArray lines;
    std::string error;
    if (g == nullptr || !kx::readTextLines(path.str(), lines, error)) {
        message(Kx_String(dialString(kTextCannotOpen).str() + "\n\n" + error), MB_OK | MB_ICONWARNING);
        return false;
    }
    std::vector<std::vector<std::string>> table;
    std::size_t cols = 1;
    for (int i = 0; i < lines.length(); ++i) {
        std::vector<std::string>& fields = table.emplace_back();
        std::string_view line = lines[i].str();
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            fields.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
        cols = std::max(cols, fields.size());
    }
    while (!table.empty() && table.back().size() == 1 && table.back().front().empty())
        table.pop_back();  // trailing blank lines
    if (table.empty() || cols > static_cast<std::size_t>(SS_MAX_COLS) ||
        table.size() - 1 > static_cast<std::size_t>(SS_MAX_ROWS)) {
        message(dialString(kTextCannotOpen), MB_OK | MB_ICONWARNING);
        return false;
    }
    resetSheet();
    const int rows = static_cast<int>(table.size()) - 1;
    // The counts grow through the wrapper, so new cells take the prepared cells' type and fonts.
    m_spread->setColCount(static_cast<int>(cols), /*copyLast=*/true);
    m_spread->setRowCount(std::max(rows, 1), /*copyLast=*/true);
    for (std::size_t c = 0; c < table[0].size(); ++c)
        SSSetData(g, static_cast<int>(c) + 1, SS_HEADER, table[0][c].c_str());
    for (int r = 1; r <= rows; ++r)
        for (std::size_t c = 0; c < table[r].size(); ++c)
            SSSetData(g, static_cast<int>(c) + 1, r, table[r][c].c_str());
    SSSetBool(g, SSB_CHANGEMADE, FALSE);
    m_fileName = Kx_String();
    m_importedFrom = path;
    startHistory();
    return true;
}

// A fresh sheet: the grid is emptied to the state of a new grid (loaded from a new grid's own file
// text, so no cell, look or setting of the old sheet survives) and prepared for editing.
void ZnSheetEditor::newSheet()
{
    if (grid() == nullptr)
        return;
    resetSheet();
    m_fileName = Kx_String();
    m_importedFrom = Kx_String();
}

void ZnSheetEditor::resetSheet()
{
    HWND g = grid();
    if (g == nullptr)
        return;
    std::string blank;
    if (HWND fresh = kxgrid::createStandaloneGrid()) {
        kxgrid::sheetText(fresh, blank);
        ::DestroyWindow(fresh);
    }
    if (!blank.empty())
        kxgrid::loadSheetText(g, blank);
    kxss::registerFromTable(g);
    m_spread->setStandardLook(1);
    SheetSettings settings;
    prepareEditorSheet(g, Kx_String(), /*full=*/true, &settings);
    m_spread->setFontFace(settings.defaultFont);
    m_spread->setTextHeight(settings.defaultTextHeight);
    SSSetBool(g, SSB_CHANGEMADE, FALSE);
    startHistory();
}

void ZnSheetEditor::openSheet()
{
    if (!confirmDiscard())
        return;
    Kx_FileDialogRequest request;
    request.open = true;
    request.filter = dialString(kTextSheetFilter);
    request.defaultExtension = "kxs";
    request.title = dialString(kTextOpenTitle);
    request.folder = folderOf(m_fileName.str());
    request.owner = m_hWnd;
    const Kx_String path = runFileDialog(request);
    if (!path.isEmpty())
        loadFile(path);
}

bool ZnSheetEditor::save()
{
    return m_fileName.isEmpty() ? saveAs() : saveTo(m_fileName);
}

bool ZnSheetEditor::saveAs()
{
    Kx_FileDialogRequest request;
    request.open = false;
    request.filter = dialString(kTextSheetFilter);
    request.defaultExtension = "kxs";
    request.title = dialString(kTextSaveTitle);
    request.folder = folderOf(m_fileName.str());
    request.fileName = baseName(m_fileName.str());
    if (m_fileName.isEmpty() && !m_importedFrom.isEmpty()) {
        request.folder = folderOf(m_importedFrom.str());
        request.fileName = withoutExtension(baseName(m_importedFrom.str())) + ".kxs";
    }
    request.owner = m_hWnd;
    const Kx_String path = runFileDialog(request);
    if (path.isEmpty() || !saveTo(path))
        return false;
    m_fileName = path;
    m_importedFrom = Kx_String();
    return true;
}

// The wrapper saves through the grid's atomic save and clears the changed mark only on success.
bool ZnSheetEditor::saveTo(const Kx_String& path)
{
    HWND g = grid();
    if (g == nullptr)
        return false;
    if (m_spread->saveToFile(path)) {
        // Saving rewrites the settings kept in the sheet: that state is the one on disk.
        recordChange();
        m_history->markSaved();
        return true;
    }
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
    message(Kx_String(dialString(kTextCannotSave).str() + "\n\n" + kxgrid::lastError(g)), MB_OK | MB_ICONWARNING);
    return false;
}

void ZnSheetEditor::exportCsv()
{
    Kx_FileDialogRequest request;
    request.open = false;
    request.filter = dialString(kTextExportFilter);
    request.defaultExtension = "csv";
    request.title = dialString(kTextExportBothTitle);
    request.folder = folderOf(m_fileName.str());
    std::string name = baseName(m_fileName.str());
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    request.fileName = name.empty() ? std::string() : name + ".csv";
    request.owner = m_hWnd;
    const Kx_String path = runFileDialog(request);
    if (path.isEmpty())
        return;
    HWND g = grid();
    if (isXlsxExportPath(path.str())) {
        exportEditorSheetAsXlsx(m_hWnd, g, path.str(), dialString(kTextEditorName).str(), m_fileName.str());
        return;
    }
    if (SSExportToCSV(g, path.c_str()) != TRUE)
        message(Kx_String(dialString(kTextCannotExport).str() + "\n\n" + kxgrid::lastError(g)), MB_OK | MB_ICONWARNING);
}

// --- Edit ----------------------------------------------------------------------------------------

// The selection's texts go to the clipboard first; they are cleared only when that worked, so a
// failed copy loses nothing.
void ZnSheetEditor::cut()
{
    HWND g = grid();
    const auto block = selectedBlock(*m_spread);
    if (!block || SSClipboardCopy(g) != TRUE)
        return;
    SSClearData(g, block->col1, block->row1, block->col2, block->row2);
}

void ZnSheetEditor::paste()
{
    SSClipboardPaste(grid());
}

// --- Cell ----------------------------------------------------------------------------------------

void ZnSheetEditor::editNote()
{
    HWND g = grid();
    int col = 0, row = 0;
    m_spread->getActiveCell(col, row);
    CellNoteData data;
    data.note = readCellText(g, col, row, SSGetCellNote);
    const std::string before = data.note;
    if (!editModally<ZnDlgCellNote>(data, m_hWnd) || data.note == before)
        return;
    if (SSSetCellNote(g, col, row, data.note.c_str()))
        SSSetBool(g, SSB_CHANGEMADE, TRUE);
}

void ZnSheetEditor::editFont()
{
    HWND g = grid();
    const auto block = selectedBlock(*m_spread);
    if (!block)
        return;
    CellFontData data;
    data.faces = facesWith(m_spread->fontFace());
    data.face = m_spread->fontFace().str();
    data.height = m_spread->textHeight();
    LOGFONT current;
    if (SSGetFont(g, block->col1, block->row1, &current)) {
        if (!current.lfFaceName.empty())
            data.face = current.lfFaceName;
        if (current.lfHeight != 0)
            data.height = std::min(400, static_cast<int>(current.lfHeight < 0 ? -current.lfHeight : current.lfHeight));
        data.bold = current.lfWeight >= FW_BOLD;
        data.italic = current.lfItalic != 0;
    }
    if (!editModally<ZnDlgCellFont>(data, m_hWnd))
        return;
    LOGFONT chosen;
    chosen.lfHeight = data.height;
    chosen.lfWeight = data.bold ? FW_BOLD : FW_NORMAL;
    chosen.lfItalic = data.italic ? 1 : 0;
    chosen.lfFaceName = data.face;
    HFONT font = CreateFontIndirect(&chosen);
    if (font == nullptr)
        return;
    SSSetFontRange(g, block->col1, block->row1, block->col2, block->row2, font, TRUE);
    DeleteObject(font);
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
}

void ZnSheetEditor::editBorders()
{
    HWND g = grid();
    const auto block = selectedBlock(*m_spread);
    if (!block)
        return;
    CellBordersData data;
    if (!editModally<ZnDlgCellBorders>(data, m_hWnd))
        return;
    constexpr WORD kSides = SS_BORDERTYPE_LEFT | SS_BORDERTYPE_RIGHT | SS_BORDERTYPE_TOP | SS_BORDERTYPE_BOTTOM;
    const WORD style = static_cast<WORD>(data.lineStyle);
    const auto [c1, r1, c2, r2] = *block;
    switch (data.kind) {
    case CellBordersData::Kind::None:
        SSSetBorderRange(g, c1, r1, c2, r2, kSides, SS_BORDERSTYLE_NONE, 0);
        break;
    case CellBordersData::Kind::Outline:
        SSSetBorderRange(g, c1, r1, c2, r2, kSides, SS_BORDERSTYLE_NONE, 0);
        SSSetBorderRange(g, c1, r1, c2, r2, SS_BORDERTYPE_OUTLINE, style, 0);
        break;
    case CellBordersData::Kind::All:
        SSSetBorderRange(g, c1, r1, c2, r2, kSides, style, 0);
        break;
    }
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
}

void ZnSheetEditor::editCellType()
{
    HWND g = grid();
    const auto block = selectedBlock(*m_spread);
    if (!block)
        return;
    CellTypeData data;
    SS_CELLTYPE current;
    if (SSGetCellTypeRecord(g, block->col1, block->row1, &current)) {
        switch (current.type) {
        case SS_TYPE_NUMBER:
            data.kind = CellTypeData::Kind::Number;
            data.decimals = current.decimals;
            break;
        case SS_TYPE_CHECKBOX: data.kind = CellTypeData::Kind::CheckBox; break;
        case SS_TYPE_COMBOBOX: data.kind = CellTypeData::Kind::ComboBox; break;
        case SS_TYPE_STATICTEXT: data.kind = CellTypeData::Kind::Label; break;
        default: break;
        }
        std::string item;
        for (char c : current.items + '\t') {
            if (c != '\t') {
                item += c;
            } else if (!item.empty()) {
                data.items.push_back(item);
                item.clear();
            }
        }
    }
    if (!editModally<ZnDlgCellType>(data, m_hWnd))
        return;

    SS_CELLTYPE type;
    switch (data.kind) {
    case CellTypeData::Kind::Text:
        // Style and case as the prepared sheet's cells; no length limit, so no text is cut.
        SSSetTypeEdit(g, &type, 4, 0, SS_CHRSET_ANY, SS_CASE_ASTYPED);
        break;
    case CellTypeData::Kind::Number:
        SSSetTypeNumber(g, &type, 0x10100000, static_cast<short>(data.decimals), -99999999999999.0, 99999999999999.0);
        break;
    case CellTypeData::Kind::CheckBox:
        SSSetTypeCheckBox(g, &type, SS_CHECK_CENTRE, "", nullptr, nullptr);
        break;
    case CellTypeData::Kind::ComboBox: {
        std::string items;
        for (const std::string& item : data.items)
            items += (items.empty() ? "" : "\t") + item;
        SSSetTypeComboBox(g, &type, 0, items.c_str());
        break;
    }
    case CellTypeData::Kind::Label:
        SSSetTypeStaticText(g, &type, 0);
        break;
    }

    // A type clears what it cannot hold (a text in a number cell). Keep what the cells held, so
    // that the user can decide after seeing how many cells that is.
    const auto [c1, r1, c2, r2] = *block;
    std::vector<CellBefore> filled;
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            if (SSGetValueLen(g, c, r) <= 0 && SSGetFormulaLen(g, c, r) <= 0)
                continue;
            CellBefore before{c, r, {}, readCellText(g, c, r, SSGetValue), readCellText(g, c, r, SSGetFormula)};
            SSGetCellTypeRecord(g, c, r, &before.type);
            filled.push_back(std::move(before));
        }
    SSSetCellTypeRange(g, c1, r1, c2, r2, &type);
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
    std::vector<const CellBefore*> lost;
    for (const CellBefore& before : filled)
        if (SSGetValueLen(g, before.col, before.row) <= 0 && SSGetFormulaLen(g, before.col, before.row) <= 0)
            lost.push_back(&before);
    if (lost.empty())
        return;
    const std::string question = std::to_string(lost.size()) + " " + dialString(kTextTypeClearsCells).str();
    if (MessageBox(m_hWnd, question, dialString(kTextEditorName).str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
        IDYES)
        return;
    for (const CellBefore* before : lost) {
        SSSetCellType(g, before->col, before->row, &before->type);
        if (!before->formula.empty())
            SSSetFormula(g, before->col, before->row, before->formula.c_str(), TRUE);
        else
            SSSetValue(g, before->col, before->row, before->value.c_str());
    }
}

// --- Tools ---------------------------------------------------------------------------------------

void ZnSheetEditor::editOptions()
{
    HWND g = grid();
    SheetSettings settings;
    settings.readFromSheet(g);
    SheetOptionsData data;
    data.faces = facesWith(settings.defaultFont);
    data.defaultFont = settings.defaultFont.str();
    data.defaultTextHeight = settings.defaultTextHeight;
    data.headerFile = settings.headerFile.str();
    data.footerFile = settings.footerFile.str();
    data.margins[0] = settings.marginLeft;
    data.margins[1] = settings.marginRight;
    data.margins[2] = settings.marginTop;
    data.margins[3] = settings.marginBottom;
    bool* switches[6] = {&settings.smartPrint, &settings.colors,         &settings.colHeader,
                         &settings.rowHeader,  &settings.cellSeperators, &settings.border};
    for (int i = 0; i < 6; ++i)
        data.switches[i] = *switches[i];
    if (!editModally<ZnDlgSheetOptions>(data, m_hWnd))
        return;
    settings.defaultFont = data.defaultFont;
    settings.defaultTextHeight = data.defaultTextHeight;
    settings.headerFile = data.headerFile;
    settings.footerFile = data.footerFile;
    settings.marginLeft = data.margins[0];
    settings.marginRight = data.margins[1];
    settings.marginTop = data.margins[2];
    settings.marginBottom = data.margins[3];
    for (int i = 0; i < 6; ++i)
        *switches[i] = data.switches[i];
    // A record the sheet cannot hold is not written; the sheet keeps its previous settings.
    if (!settings.writeToSheet(g)) {
        message(dialString(kTextCannotStoreSettings), MB_OK | MB_ICONWARNING);
        return;
    }
    m_spread->setFontFace(settings.defaultFont);
    m_spread->setTextHeight(settings.defaultTextHeight);
    m_spread->applyFonts();
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
}

void ZnSheetEditor::changeLanguage()
{
    EditorLanguageData data;
    data.language = MacroLangs::GetCurLanguageIndex();
    if (!editModally<ZnDlgEditorLanguage>(data, m_hWnd))
        return;
    MacroLangs::SetCurLanguage(data.language);
    EditorRegistrySettings registry;
    registry.read();
    std::string code = MacroLangs::GetLanguageCode(data.language).str();
    std::transform(code.begin(), code.end(), code.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    registry.Language = code;
    registry.write();
}

// --- Rows and columns ----------------------------------------------------------------------------

namespace {

// The cells of `toRow` take the cell types of `fromRow` (columns 1 to the count), so a number
// column stays one in an inserted or added row.
void copyRowTypes(HWND g, int fromRow, int toRow)
{
    const int cols = SSGetMaxCols(g);
    SS_CELLTYPE type;
    for (int c = 1; c <= cols; ++c)
        if (SSGetCellTypeRecord(g, c, fromRow, &type))
            SSSetCellType(g, c, toRow, &type);
}

void copyColumnTypes(HWND g, int fromCol, int toCol)
{
    const int rows = SSGetMaxRows(g);
    SS_CELLTYPE type;
    for (int r = 1; r <= rows; ++r)
        if (SSGetCellTypeRecord(g, fromCol, r, &type))
            SSSetCellType(g, toCol, r, &type);
}

} // namespace

void ZnSheetEditor::insertRow()
{
    HWND g = grid();
    if (g == nullptr || SSGetMaxRows(g) >= SS_MAX_ROWS)
        return;
    int col = 1, row = 1;
    m_spread->getActiveCell(col, row);
    if (SSGetMaxRows(g) < 1)
        row = 1;
    if (!m_spread->insertRow(row))
        return;
    if (SSGetMaxRows(g) > row)
        copyRowTypes(g, row + 1, row);
    SSSetActiveCell(g, std::max(col, 1), row);
}

void ZnSheetEditor::deleteRows()
{
    HWND g = grid();
    const auto block = selectedBlock(*m_spread);
    // A sheet keeps one row: deleting every row would leave nothing to type into.
    if (!block || block->row2 - block->row1 + 1 >= SSGetMaxRows(g))
        return;
    for (int r = block->row2; r >= block->row1; --r)
        m_spread->deleteRow(r);
    SSClearSelection(g);
    SSSetActiveCell(g, block->col1, std::min(block->row1, SSGetMaxRows(g)));
}

void ZnSheetEditor::insertColumn()
{
    HWND g = grid();
    if (g == nullptr || SSGetMaxCols(g) >= SS_MAX_COLS)
        return;
    int col = 1, row = 1;
    m_spread->getActiveCell(col, row);
    if (SSGetMaxCols(g) < 1)
        col = 1;
    if (!m_spread->insertColumn(col))
        return;
    if (SSGetMaxCols(g) > col)
        copyColumnTypes(g, col + 1, col);
    SSSetActiveCell(g, col, std::max(row, 1));
}

void ZnSheetEditor::deleteColumns()
{
    HWND g = grid();
    const auto block = selectedBlock(*m_spread);
    if (!block || block->col2 - block->col1 + 1 >= SSGetMaxCols(g))
        return;
    for (int c = block->col2; c >= block->col1; --c)
        m_spread->deleteColumn(c);
    SSClearSelection(g);
    SSSetActiveCell(g, std::min(block->col1, SSGetMaxCols(g)), block->row1);
}

bool ZnSheetEditor::growRows()
{
    HWND g = grid();
    const int rows = SSGetMaxRows(g), cols = SSGetMaxCols(g);
    if (g == nullptr || rows < 1 || rows >= SS_MAX_ROWS || !SSSetMaxRows(g, rows + 1))
        return false;
    // The new row looks like the last one (types, fonts, colours, borders) and holds nothing.
    if (cols > 0) {
        SSCopyRange(g, 1, rows, cols, rows, 1, rows + 1);
        SSClearData(g, 1, rows + 1, cols, rows + 1);
    }
    m_spread->applyRowFont(rows + 1, /*headerToo=*/true);
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
    return true;
}

bool ZnSheetEditor::growColumns()
{
    HWND g = grid();
    const int rows = SSGetMaxRows(g), cols = SSGetMaxCols(g);
    if (g == nullptr || cols < 1 || cols >= SS_MAX_COLS || !SSSetMaxCols(g, cols + 1))
        return false;
    if (rows > 0) {
        SSCopyRange(g, cols, 1, cols, rows, cols + 1, 1);
        SSClearData(g, cols + 1, 1, cols + 1, rows);
    }
    m_spread->applyColFont(cols + 1, /*headerToo=*/true);
    SSSetBool(g, SSB_CHANGEMADE, TRUE);
    return true;
}

void ZnSheetEditor::growBeforeMove(WPARAM key)
{
    HWND g = grid();
    int col = 0, row = 0;
    if (g == nullptr || !SSGetActiveCell(g, &col, &row))
        return;
    // The keys that move the active cell on: Down (in the editor only where arrows leave it),
    // Right outside the editor (inside it moves the caret), and Tab.
    const bool editing = SSGetEditMode(g) != FALSE;
    const bool down = key == VK_DOWN && (!editing || SSGetBool(g, SSB_ARROWSEXITEDITMODE));
    const bool right = (key == VK_RIGHT && !editing) || key == VK_TAB;
    bool grew = false;
    if (down && row == SSGetMaxRows(g))
        grew = growRows();
    else if (right && col == SSGetMaxCols(g))
        grew = growColumns();
    if (grew) {
        recordChange();
        updateCommandStates();
        updateTitle();
    }
}

BOOL ZnSheetEditor::PreTranslateMessage(const MSG& msg)
{
    HWND g = grid();
    if (msg.message == WM_KEYDOWN && g != nullptr && m_hWnd != nullptr &&
        (msg.hwnd == m_hWnd || msg.hwnd == g || IsChild(m_hWnd, msg.hwnd))) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        if (ctrl && !shift && (msg.wParam == 'Z' || msg.wParam == 'Y')) {
            if (msg.wParam == 'Z')
                undo();
            else
                redo();
            return TRUE;
        }
        if (msg.hwnd == g && !ctrl && !shift)
            growBeforeMove(msg.wParam);
    }
    return CDialog::PreTranslateMessage(msg);
}

// --- Undo and redo -------------------------------------------------------------------------------

bool ZnSheetEditor::canUndo() const
{
    return m_history->canUndo() || (grid() != nullptr && SSGetEditMode(grid()));
}

bool ZnSheetEditor::canRedo() const
{
    return m_history->canRedo();
}

void ZnSheetEditor::startHistory()
{
    if (HWND g = grid())
        m_history->reset(g);
}

void ZnSheetEditor::recordChange()
{
    if (HWND g = grid())
        m_history->record(g);
}

void ZnSheetEditor::undo()
{
    HWND g = grid();
    if (g == nullptr)
        return;
    // What is being typed is committed first, so that Undo takes back the typing as a step.
    if (SSGetEditMode(g) && !SSSetEditMode(g, FALSE))
        return;
    if (m_history->undo(g))
        SSSetBool(g, SSB_CHANGEMADE, m_history->atSavedState() ? FALSE : TRUE);
    updateCommandStates();
    updateTitle();
}

void ZnSheetEditor::redo()
{
    HWND g = grid();
    if (g == nullptr)
        return;
    if (SSGetEditMode(g) && !SSSetEditMode(g, FALSE))
        return;
    // A change typed after the last undo is a new step: nothing is left to redo then.
    recordChange();
    if (m_history->redo(g))
        SSSetBool(g, SSB_CHANGEMADE, m_history->atSavedState() ? FALSE : TRUE);
    updateCommandStates();
    updateTitle();
}
