// The bill output into a spreadsheet window, its window and the window's holder.
#include "spread/ZnSSBillOutput.h"
#include "spread/SheetFiles.h"

#include "core/BillPictures.h"
#include "core/CTime.h"
#include "core/FileIO.h"
#include "core/Kx_Bill.h"
#include "core/Paths.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/host/CommandLine.h"
#include "platform/host/HostWindow.h"
#include "platform/win/Utf8.h"
#include "platform/win/Window.h"
#include "spread/Kx_Spread.h"

#include <algorithm>

namespace {

// Column formats (values of the formats given to init).
constexpr int kFormatWhole = 1;
constexpr int kFormatOneDecimal = 2;
constexpr int kFormatText = 3;

// Sub-total cells: a solid frame on all four sides round the cell.
constexpr WORD kSubTotalBorderType = 31;
constexpr WORD kSubTotalBorderStyle = 1;

// The picture of a picture row goes here; bitmap 251 marks the row in column 1.
constexpr int kPictureColumn = 2;

// An empty sheet, loaded to start a fresh bill in a window that showed one.
constexpr std::string_view kEmptySheet = "KXSHEET 1\nsize cols=0 rows=0\nend\n";

// Layout of the bill window in pixels.
constexpr int kMargin = 10;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

} // namespace

// --- The bill window ---------------------------------------------------------------------------

ZnBillSheetDlg::ZnBillSheetDlg() : CDialog(kTemplateId), m_grid(std::make_unique<Kx_Spread>()) {}

ZnBillSheetDlg::~ZnBillSheetDlg() = default;

BOOL ZnBillSheetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_grid->attach(this, kGridId, /*exactRect=*/false);
    RECT client{};
    GetClientRect(client);
    OnSize(0, client.width(), client.height());
    return TRUE;
}

void ZnBillSheetDlg::OnOK()
{
    DestroyWindow();
}

void ZnBillSheetDlg::OnCancel()
{
    DestroyWindow();
}

void ZnBillSheetDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    const int buttonTop = std::max(kMargin, cy - kMargin - kButtonHeight);
    if (m_grid && m_grid->isAttached())
        m_grid->MoveWindow(RECT{kMargin, kMargin, std::max(kMargin, cx - kMargin), std::max(kMargin, buttonTop - kMargin)});
    const int cancelLeft = std::max(kMargin, cx - kMargin - kButtonWidth);
    const int okLeft = std::max(kMargin, cancelLeft - kButtonGap - kButtonWidth);
    if (HWND ok = GetDlgItem(IDOK))
        ::MoveWindow(ok, okLeft, buttonTop, kButtonWidth, kButtonHeight, TRUE);
    if (HWND cancel = GetDlgItem(IDCANCEL))
        ::MoveWindow(cancel, cancelLeft, buttonTop, kButtonWidth, kButtonHeight, TRUE);
}

// --- The window's holder -----------------------------------------------------------------------

ZnBillSheetHolder::~ZnBillSheetHolder()
{
    if (m_dialog && m_dialog->GetSafeHwnd() != nullptr)
        m_dialog->DestroyWindow();
    m_dialog.reset();
    m_open = false;
}

bool ZnBillSheetHolder::open()
{
    if (isOpen())
        return true;
    // A window the user closed is made again.
    m_dialog.reset();
    m_open = false;
    currentRow = 0;
    ZnTempResourceOverride resources;
    auto dialog = std::make_unique<ZnBillSheetDlg>();
    HWND main = adsw_acadMainWnd();
    if (!dialog->Create(ZnBillSheetDlg::kTemplateId, main))
        return false;
    dialog->ShowWindow(SW_SHOW);
    if (main != nullptr)
        ::SetFocus(main);
    m_dialog = std::move(dialog);
    m_open = true;
    return true;
}

bool ZnBillSheetHolder::isOpen() const
{
    return m_open && m_dialog && m_dialog->GetSafeHwnd() != nullptr && IsWindow(m_dialog->GetSafeHwnd());
}

Kx_Spread* ZnBillSheetHolder::grid()
{
    if (!isOpen() || !m_dialog->grid().isAttached())
        return nullptr;
    return &m_dialog->grid();
}

HWND ZnBillSheetHolder::window() const
{
    return isOpen() ? m_dialog->GetSafeHwnd() : nullptr;
}

// --- The output --------------------------------------------------------------------------------

ZnSSBillOutput::ZnSSBillOutput() : m_sheet(std::make_shared<ZnBillSheetHolder>()) {}

ZnSSBillOutput::ZnSSBillOutput(const ZnSSBillOutput& other)
    : Kx_ListOutputCallback(other), m_imageParam1(other.m_imageParam1), m_imageParam2(other.m_imageParam2),
      m_imageParam3(other.m_imageParam3), m_imageFlag1(other.m_imageFlag1), m_imageFlag2(other.m_imageFlag2),
      m_bill(other.m_bill), m_transaction(other.m_transaction), m_sheet(other.m_sheet),
      m_columnTypes(other.m_columnTypes), m_fileName(other.m_fileName), m_variableNames(other.m_variableNames),
      m_variableValues(other.m_variableValues)
{
    // The redraw hold stays with the output that took it.
}

ZnSSBillOutput& ZnSSBillOutput::operator=(const ZnSSBillOutput& other)
{
    if (this == &other)
        return *this;
    holdRedraw(false);
    Kx_ListOutputCallback::operator=(other);
    m_imageParam1 = other.m_imageParam1;
    m_imageParam2 = other.m_imageParam2;
    m_imageParam3 = other.m_imageParam3;
    m_imageFlag1 = other.m_imageFlag1;
    m_imageFlag2 = other.m_imageFlag2;
    m_bill = other.m_bill;
    m_transaction = other.m_transaction;
    // The old window goes here if no other output holds it.
    m_sheet = other.m_sheet;
    m_columnTypes = other.m_columnTypes;
    m_fileName = other.m_fileName;
    m_variableNames = other.m_variableNames;
    m_variableValues = other.m_variableValues;
    return *this;
}

ZnSSBillOutput::~ZnSSBillOutput()
{
    holdRedraw(false);
}

void ZnSSBillOutput::setVars(int imageParam1, int imageParam2, int imageParam3, bool imageFlag1, bool imageFlag2,
                             Kx_Bill* bill, AcTransaction* transaction)
{
    m_imageParam1 = imageParam1;
    m_imageParam2 = imageParam2;
    m_imageParam3 = imageParam3;
    m_imageFlag1 = imageFlag1;
    m_imageFlag2 = imageFlag2;
    m_bill = bill;
    m_transaction = transaction;
}

Kx_Spread* ZnSSBillOutput::getSSPointer() const
{
    return m_sheet ? m_sheet->grid() : nullptr;
}

int ZnSSBillOutput::currentRow() const
{
    return m_sheet ? m_sheet->currentRow : 0;
}

HWND ZnSSBillOutput::window() const
{
    return m_sheet ? m_sheet->window() : nullptr;
}

void ZnSSBillOutput::holdRedraw(bool hold)
{
    Kx_Spread* grid = getSSPointer();
    if (hold == m_redrawHeld)
        return;
    m_redrawHeld = hold;
    if (grid != nullptr)
        SSSetBool(grid->GetSafeHwnd(), SSB_REDRAW, hold ? FALSE : TRUE);
}

Acad::ErrorStatus ZnSSBillOutput::init(const Kx_String& fileName, const Kx_StringArray& titles,
                                       const Kx_Array<int>& /*unused*/, const Kx_Array<int>& formats,
                                       const Kx_String& settingsName, const Kx_StringArray& variableNames,
                                       const Kx_StringArray& variableValues)
{
    if (!m_sheet)
        return Acad::eNotInDatabase;
    const bool wasOpen = m_sheet->isOpen();
    if (!m_sheet->open())
        return Acad::eNotInDatabase;
    Kx_Spread* grid = getSSPointer();
    if (grid == nullptr)
        return Acad::eNotInDatabase;
    const HWND hwnd = grid->GetSafeHwnd();
    if (wasOpen) {
        // A second bill in the same window starts from an empty sheet: nothing of the first bill
        // (rows, pictures, colours, joined cells, row heights) may show in it.
        holdRedraw(false);
        kxgrid::loadSheetText(hwnd, kEmptySheet);
        kxss::registerFromTable(hwnd);  // loading forgets the grid's functions
    }
    m_sheet->currentRow = 0;
    m_fileName = fileName;
    grid->loadLook(settingsName);
    SSSetGridType(hwnd, kGridType);
    SSSetGridColor(hwnd, kGridColour);
    m_variableNames = variableNames;
    m_variableValues = variableValues;

    // The sheet the look prepared has rows of its own; a bill's rows are its lines only.
    SSSetMaxRows(hwnd, 0);
    grid->setColCount(titles.length(), /*copyLast=*/true);
    grid->setColumnHeaders(titles);
    m_columnTypes = formats;
    const int rows = grid->getRowCount();
    for (int c = 0; c < titles.length() && c < formats.length(); ++c)
        if (rows > 0)
            applyFormat(*grid, c + 1, formats[c], 1, rows);
    const Kx_String title = kxss::billTitle(fileName);
    if (!title.isEmpty())
        ::SetWindowText(m_sheet->window(), title.str());
    return Acad::eOk;
}

void ZnSSBillOutput::applyFormat(Kx_Spread& grid, int col, int format, int firstRow, int lastRow)
{
    if (firstRow > lastRow)
        return;
    switch (format) {
    case kFormatWhole:
        grid.setNumberType(col, firstRow, col, lastRow, 0, /*flag=*/true);
        break;
    case kFormatOneDecimal:
        grid.setNumberType(col, firstRow, col, lastRow, 1, /*flag=*/true);
        break;
    case kFormatText:
        grid.setEditRange(col, firstRow, col, lastRow);
        break;
    default:
        break;
    }
}

bool ZnSSBillOutput::advanceRow(Kx_Spread& grid)
{
    int& row = m_sheet->currentRow;
    ++row;
    const int rows = grid.getRowCount();
    if (row <= rows)
        return true;
    // New rows are blank and take the columns' formats: setRowCount would repeat the last written
    // line into them (a sub-total's colours, a picture row's picture and height).
    const HWND hwnd = grid.GetSafeHwnd();
    // Steps of kGrowRows: 101, 201, 301, ... rows (the first step holds row 1 and 100 more).
    const int grown = std::max(std::max(rows, 1) + kGrowRows, row);
    if (!SSSetMaxRows(hwnd, grown)) {
        // The grid's row limit or the memory: the line is left out rather than written over the last.
        --row;
        acutPrintf("*Error* The bill sheet cannot grow beyond %d rows; a line was left out.\n", rows);
        return false;
    }
    const int cols = grid.getColCount();
    grid.setRangeFont(Kx_Spread::HEADER, rows + 1, Kx_Spread::HEADER, grown, grid.fontFace(), grid.textHeight(), true);
    if (cols >= 1)
        grid.setRangeFont(1, rows + 1, cols, grown, grid.fontFace(), grid.textHeight(), false);
    for (int c = 0; c < cols && c < m_columnTypes.length(); ++c)
        applyFormat(grid, c + 1, m_columnTypes[c], rows + 1, grown);
    grid.clearRows(row, grown);
    if (m_redrawHeld) {
        // Let the window show what has arrived so far, once per step, then hold again.
        SSSetBool(hwnd, SSB_REDRAW, TRUE);
        SSSetBool(hwnd, SSB_REDRAW, FALSE);
    }
    return true;
}

void ZnSSBillOutput::growColumns(Kx_Spread& grid, int count)
{
    const int old = grid.getColCount();
    if (count <= old || !SSSetMaxCols(grid.GetSafeHwnd(), count))
        return;
    // A new column takes the last column's format, not its title or the other lines' texts.
    const int lastFormat = old >= 1 && old <= m_columnTypes.length() ? m_columnTypes[old - 1] : 0;
    while (m_columnTypes.length() < old)
        m_columnTypes.append(0);
    m_columnTypes.setLogicalLength(old);
    const int rows = grid.getRowCount();
    grid.setRangeFont(old + 1, Kx_Spread::HEADER, count, Kx_Spread::HEADER, grid.fontFace(), grid.textHeight(), true);
    for (int c = old + 1; c <= count; ++c) {
        m_columnTypes.append(lastFormat);
        if (rows >= 1) {
            grid.setRangeFont(c, 1, c, rows, grid.fontFace(), grid.textHeight(), false);
            applyFormat(grid, c, lastFormat, 1, rows);
        }
    }
}

void ZnSSBillOutput::addRow(const Kx_StringArray& texts, const Kx_String& pictureFile)
{
    Kx_Spread* grid = getSSPointer();
    if (grid == nullptr)
        return;
    if (texts.length() > grid->getColCount())
        growColumns(*grid, texts.length());
    if (!advanceRow(*grid))
        return;
    grid->setRow(m_sheet->currentRow, texts, /*asValue=*/true);
    if (pictureFile.isEmpty() || !advanceRow(*grid))
        return;
    const int row = m_sheet->currentRow;
    int extraRows = 0;
    grid->setImageCell(pictureFile, kPictureColumn, row, extraRows);
    grid->setResourcePicture(1, row, ZnBillSheetDlg::kPictureRowBitmap, /*isIcon=*/false);
    m_sheet->currentRow += std::max(extraRows, 0);
}

Acad::ErrorStatus ZnSSBillOutput::onStartFeed()
{
    if (m_bill != nullptr && m_transaction != nullptr)
        initBMPDialog(m_imageParam2 + 20);
    // A long feed changes the grid thousands of times; it is drawn once per step of growth instead.
    holdRedraw(true);
    return Acad::eOk;
}

void ZnSSBillOutput::onAddRow(const Kx_StringArray& texts)
{
    if (m_bill == nullptr || m_transaction == nullptr) {
        addRow(texts, Kx_String());
        return;
    }
    Kx_String picture;
    createImage(texts, picture, m_imageParam1, m_imageParam2, m_imageParam3, m_imageFlag1, m_imageFlag2, m_bill,
                m_transaction);
    addRow(texts, picture);
    // The cell keeps the picture's pixels: the temporary file is not needed any more.
    if (!picture.isEmpty())
        deleteFile(picture);
}

void ZnSSBillOutput::onAddSubTotals(const Kx_StringArray& texts, const Kx_StringArray& /*labels*/, bool /*isTotal*/,
                                    int /*level*/)
{
    Kx_Spread* grid = getSSPointer();
    if (grid == nullptr)
        return;
    const int before = m_sheet->currentRow;
    addRow(texts, Kx_String());
    if (m_sheet->currentRow == before)
        return;  // not written: nothing to colour
    const HWND hwnd = grid->GetSafeHwnd();
    const int row = m_sheet->currentRow;
    const int cols = std::min(grid->getColCount(), texts.length());
    for (int c = 1; c <= cols; ++c) {
        if (texts[c - 1].isEmpty())
            continue;
        SSSetBorder(hwnd, c, row, kSubTotalBorderType, kSubTotalBorderStyle, kSubTotalText);
        SSSetColor(hwnd, c, row, kSubTotalBack, kSubTotalText);
    }
}

Acad::ErrorStatus ZnSSBillOutput::onEndFeed()
{
    if (m_bill != nullptr && m_transaction != nullptr)
        closeBMPDialog();
    Kx_Spread* grid = getSSPointer();
    if (grid == nullptr) {
        m_redrawHeld = false;
        return Acad::eInvalidInput;
    }
    const int row = m_sheet->currentRow;
    if (row < grid->getRowCount())
        grid->setRowCount(row);
    grid->autoSizeColumns(/*skipType8=*/true);

    // Date, Title and BillFilename lead, then the caller's own variables; the caller's lists stay
    // as given, so a second end does not repeat them.
    CTime now;
    getCurrentTime(now);
    Kx_StringArray names{"Date", "Title", "BillFilename"};
    Kx_StringArray values{now.Format("%d %B, %Y (%H:%M)"), kxss::billTitle(m_fileName), m_fileName};
    for (int i = 0; i < m_variableNames.length(); ++i) {
        names.append(m_variableNames[i]);
        values.append(i < m_variableValues.length() ? m_variableValues[i] : Kx_String());
    }
    grid->setPrintVariables(names, values);
    holdRedraw(false);

    if (m_fileName.isEmpty()) {
        acutPrintf("*Error* The bill has no file name; it was not saved.\n");
        return Acad::eFileAccessErr;
    }
    if (!grid->saveToFile(m_fileName)) {
        const std::string why = kxgrid::lastError(grid->GetSafeHwnd());
        acutPrintf("*Error* The bill could not be saved to \"%s\": %s\n", m_fileName.c_str(),
                   why.empty() ? "the sheet could not be written" : why.c_str());
        return Acad::eFileAccessErr;
    }
    return Acad::eOk;
}

Kx_String kxss::billTitle(const Kx_String& fileName)
{
    Kx_String name;
    getFileName(fileName, name);
    const std::string base = removeExtension(name).str();
    // After the last U+00BF: C2 BF in UTF-8, or a lone BF byte of Windows-1252 text. Walking by
    // characters keeps a BF byte inside another character (ÿ is C3 BF) from counting.
    size_t cut = 0;
    for (size_t i = 0; i < base.size();) {
        const int len = kxutf8::sequenceLength(base, i);
        const auto b = static_cast<unsigned char>(base[i]);
        if ((len == 2 && b == 0xC2 && static_cast<unsigned char>(base[i + 1]) == 0xBF) || (len == 0 && b == 0xBF))
            cut = i + (len == 0 ? 1 : 2);
        i += len == 0 ? 1 : static_cast<size_t>(len);
    }
    return Kx_String(base.substr(cut));
}
