// Kx_Spread: reading and writing cells, whole columns and whole rows. Texts travel in the grid's two
// forms: data (as a user types it) and value (the unformatted form that kind 3 reads back).
#include "spread/Kx_Spread.h"

#include "platform/grid/Spread.h"
#include "spread/SpreadNumbers.h"
#include "spread/ZnDlgGrid.h"

#include <string>
#include <string_view>

namespace {

int textLength(HWND h, int col, int row, int kind)
{
    switch (kind) {
    case Kx_Spread::kTextData: return SSGetDataLen(h, col, row);
    case Kx_Spread::kTextFormula: return SSGetFormulaLen(h, col, row);
    case Kx_Spread::kTextTag: return SSGetCellTagLen(h, col, row);
    case Kx_Spread::kTextValue: return SSGetValueLen(h, col, row);
    default: return -1;
    }
}

int readTextInto(HWND h, int col, int row, int kind, char* buffer, int size)
{
    switch (kind) {
    case Kx_Spread::kTextData: return SSGetData(h, col, row, buffer, size);
    case Kx_Spread::kTextFormula: return SSGetFormula(h, col, row, buffer, size);
    case Kx_Spread::kTextTag: return SSGetCellTag(h, col, row, buffer, size);
    case Kx_Spread::kTextValue: return SSGetValue(h, col, row, buffer, size);
    default: return -1;
    }
}

bool validColumnArg(int col, int cols)
{
    return col == Kx_Spread::HEADER || (col >= 0 && col <= cols);
}

// Value texts of a block appended to a list in one pass over the grid (what reading each cell with
// getCellText(kind 3) gives: an empty cell adds an empty text).
bool appendValues(void* list, int, int, std::string_view value)
{
    static_cast<Kx_StringArray*>(list)->append(Kx_String(value));
    return true;
}

} // namespace

bool Kx_Spread::writeCell(int col, int row, const Kx_String& text, bool asValue)
{
    return (asValue ? SSSetValue(m_hWnd, col, row, text.c_str()) : SSSetData(m_hWnd, col, row, text.c_str())) != FALSE;
}

// --- Single cells ----------------------------------------------------------------------------------

bool Kx_Spread::getCellText(int col, int row, Kx_String& text, int kind) const
{
    text.clear();
    if (!m_attached)
        return false;
    const int length = textLength(m_hWnd, col, row, kind);
    if (length <= 0)
        return false;
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const int read = readTextInto(m_hWnd, col, row, kind, buffer.data(), length + 1);
    if (read <= 0)
        return false;
    buffer.resize(static_cast<size_t>(std::min(read, length)));
    text = Kx_String(std::move(buffer));
    return true;
}

bool Kx_Spread::getDouble(int col, int row, double& value) const
{
    Kx_String text;
    if (!getCellText(col, row, text, kTextValue))
        return false;
    value = kxss::leadingDouble(text.view());
    return true;
}

bool Kx_Spread::setDouble(int col, int row, double value)
{
    return m_attached && writeCell(col, row, Kx_String(value, 2), false);
}

bool Kx_Spread::getCheck(int col, int row, bool& checked) const
{
    Kx_String text;
    if (!getCellText(col, row, text, kTextValue))
        return false;
    if (text == "1") {
        checked = true;
        return true;
    }
    if (text == "0") {
        checked = false;
        return true;
    }
    return false;
}

bool Kx_Spread::setCheck(int col, int row, bool checked)
{
    return m_attached && writeCell(col, row, checked ? "1" : "0", false);
}

// --- Columns ---------------------------------------------------------------------------------------

bool Kx_Spread::setColumn(int col, const Kx_StringArray& values, bool asValue)
{
    if (!m_attached || !validColumnArg(col, getColCount()))
        return false;
    const int rows = std::min(values.length(), getRowCount());
    bool all = true;
    for (int i = 0; i < rows; ++i)
        all = writeCell(col, i + 1, values[i], asValue) && all;
    return all;
}

bool Kx_Spread::setColumnInts(int col, const Kx_Array<int>& values)
{
    Kx_StringArray texts;
    for (int i = 0; i < values.length(); ++i)
        texts.append(Kx_String(values[i]));
    return setColumn(col, texts, false);
}

bool Kx_Spread::setColumnDoubles(int col, const Kx_Array<double>& values)
{
    Kx_StringArray texts;
    for (int i = 0; i < values.length(); ++i)
        texts.append(Kx_String(values[i], 2));
    return setColumn(col, texts, false);
}

bool Kx_Spread::setColumnBools(int col, const Kx_Array<bool>& values)
{
    Kx_StringArray texts;
    for (int i = 0; i < values.length(); ++i)
        texts.append(values[i] ? "1" : "0");
    return setColumn(col, texts, false);
}

bool Kx_Spread::getColumn(int col, Kx_StringArray& values, int kind) const
{
    if (!m_attached || !validColumnArg(col, getColCount()))
        return false;
    values.removeAll();
    const int rows = getRowCount();
    values.setPhysicalLength(rows);
    if (kind == kTextValue) {
        if (rows >= 1)
            kxgrid::visitValues(m_hWnd, col, 1, col, rows, appendValues, &values);
        return true;
    }
    Kx_String text;
    for (int row = 1; row <= rows; ++row) {
        getCellText(col, row, text, kind);
        values.append(text);
    }
    return true;
}

bool Kx_Spread::getColumnInts(int col, Kx_Array<int>& values) const
{
    Kx_StringArray texts;
    if (!getColumn(col, texts, kTextValue))
        return false;
    values.removeAll();
    for (int i = 0; i < texts.length(); ++i)
        values.append(kxss::leadingInt(texts[i]));
    return true;
}

bool Kx_Spread::getColumnDoubles(int col, Kx_Array<double>& values) const
{
    Kx_StringArray texts;
    if (!getColumn(col, texts, kTextValue))
        return false;
    values.removeAll();
    for (int i = 0; i < texts.length(); ++i)
        values.append(kxss::leadingDouble(texts[i].view()));
    return true;
}

bool Kx_Spread::getColumnBools(int col, Kx_Array<bool>& values) const
{
    Kx_StringArray texts;
    if (!getColumn(col, texts, kTextValue))
        return false;
    values.removeAll();
    for (int i = 0; i < texts.length(); ++i)
        values.append(texts[i] == "1");
    return true;
}

// --- Rows ------------------------------------------------------------------------------------------

bool Kx_Spread::setRow(int row, const Kx_StringArray& values, bool asValue)
{
    if (!m_attached || !validColumnArg(row, getRowCount()))
        return false;
    const int cols = std::min(values.length(), getColCount());
    bool all = true;
    for (int i = 0; i < cols; ++i)
        all = writeCell(i + 1, row, values[i], asValue) && all;
    return all;
}

bool Kx_Spread::getRow(int row, Kx_StringArray& values, int kind) const
{
    if (!m_attached || !validColumnArg(row, getRowCount()))
        return false;
    values.removeAll();
    const int cols = getColCount();
    if (kind == kTextValue) {
        values.setPhysicalLength(cols);
        if (cols >= 1)
            kxgrid::visitValues(m_hWnd, 1, row, cols, row, appendValues, &values);
        return true;
    }
    Kx_String text;
    for (int col = 1; col <= cols; ++col) {
        getCellText(col, row, text, kind);
        values.append(text);
    }
    return true;
}

bool Kx_Spread::clearRow(int row)
{
    if (!m_attached || row < 1 || row > getRowCount())
        return false;
    const int cols = getColCount();
    bool all = true;
    for (int col = 1; col <= cols; ++col)
        all = writeCell(col, row, "", true) && all;
    return all;
}

bool Kx_Spread::clearRows(int firstRow, int lastRow)
{
    if (!m_attached)
        return false;
    bool all = true;
    for (int row = firstRow; row <= lastRow; ++row)
        all = clearRow(row) && all;
    return all;
}

namespace {

// Rows of value texts built in one pass over the whole block.
struct RowCollector {
    Kx_Array<Kx_StringArray>* rows;
    Kx_StringArray current;
    int cols;
};

bool collectRowValue(void* context, int col, int, std::string_view value)
{
    auto* collector = static_cast<RowCollector*>(context);
    collector->current.append(Kx_String(value));
    if (col == collector->cols) {
        collector->rows->append(std::move(collector->current));
        collector->current = Kx_StringArray();
        collector->current.setPhysicalLength(collector->cols);
    }
    return true;
}

} // namespace

bool Kx_Spread::getAllRows(Kx_Array<Kx_StringArray>& rows) const
{
    if (!m_attached)
        return false;
    rows.removeAll();
    const int count = getRowCount();
    const int cols = getColCount();
    rows.setPhysicalLength(count);
    if (cols < 1) {
        // Rows without columns: each an empty list.
        for (int row = 1; row <= count; ++row)
            rows.append(Kx_StringArray());
        return true;
    }
    if (count >= 1) {
        RowCollector collector{&rows, Kx_StringArray(), cols};
        collector.current.setPhysicalLength(cols);
        kxgrid::visitValues(m_hWnd, 1, 1, cols, count, collectRowValue, &collector);
    }
    return true;
}

bool Kx_Spread::setColumnComboIndices(int col, const Kx_Array<int>& indices)
{
    if (!m_attached || !validColumnArg(col, getColCount()))
        return false;
    const int rowCount = getRowCount();
    const int rows = std::min(indices.length(), rowCount);
    bool all = true;
    for (int i = 0; i < rows; ++i) {
        const int index = indices[i];
        const int written = (index < 0 || index > rowCount) ? 0 : index;
        all = writeCell(col, i + 1, Kx_String(written), true) && all;
    }
    return all;
}

bool Kx_Spread::getColumnComboIndices(int col, Kx_Array<int>& indices) const
{
    return getColumnInts(col, indices);
}

bool Kx_Spread::setRowHeaders(const Kx_StringArray& names)
{
    return setColumn(HEADER, names, false);
}

bool Kx_Spread::getRowHeaders(Kx_StringArray& names) const
{
    return getColumn(HEADER, names, kTextValue);
}

bool Kx_Spread::setColumnHeaders(const Kx_StringArray& names)
{
    return setRow(HEADER, names, false);
}

bool Kx_Spread::getColumnHeaders(Kx_StringArray& names) const
{
    return getRow(HEADER, names, kTextValue);
}

bool Kx_Spread::setCheckLabelPairs(int row, const Kx_StringArray& labels, const Kx_Array<bool>& checks)
{
    if (!m_attached)
        return false;
    bool all = true;
    for (int i = 0; i < labels.length(); ++i) {
        all = writeCell(2 * i + 2, row, labels[i], false) && all;
        if (i < checks.length())
            all = setCheck(2 * i + 1, row, checks[i]) && all;
    }
    return all;
}
