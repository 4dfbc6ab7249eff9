// The cell store: row map, per-column cell vectors, interned styles and joined blocks.
#include "platform/grid/CellStore.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <new>

namespace kxgrid::detail {

namespace {

const std::string kEmpty;

void appendNumber(std::string& out, long long v)
{
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
    out += '|';
}

void appendDouble(std::string& out, double v)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
    out += '|';
}

void appendText(std::string& out, const std::string& text)
{
    appendNumber(out, static_cast<long long>(text.size()));
    out += text;
}

} // namespace

const std::string& CellExtra::tag() const { return labels ? labels->tag : kEmpty; }
const std::string& CellExtra::note() const { return labels ? labels->note : kEmpty; }

CellExtra::Labels& CellExtra::ownLabels()
{
    if (!labels)
        labels = std::make_unique<Labels>();
    return *labels;
}

void CellExtra::dropEmptyLabels()
{
    if (labels && labels->tag.empty() && labels->note.empty())
        labels.reset();
}

void CellExtra::setTag(std::string_view tag)
{
    if (tag.empty() && !labels)
        return;
    ownLabels().tag.assign(tag);
    dropEmptyLabels();
}

void CellExtra::setNote(std::string_view note)
{
    if (note.empty() && !labels)
        return;
    ownLabels().note.assign(note);
    dropEmptyLabels();
}

const std::string& Cell::formula() const { return extra ? extra->formula : kEmpty; }
const std::string& Cell::tag() const { return extra ? extra->tag() : kEmpty; }
const std::string& Cell::note() const { return extra ? extra->note() : kEmpty; }

std::string styleKey(const CellStyle& s)
{
    std::string key;
    appendNumber(key, s.type);
    appendNumber(key, s.font);
    appendNumber(key, s.back);
    appendNumber(key, s.fore);
    for (const Border& b : s.borders) {
        appendNumber(key, b.style);
        appendNumber(key, b.color);
    }
    appendNumber(key, s.locked);
    return key;
}

std::string typeKey(const SS_CELLTYPE& t)
{
    std::string key;
    appendNumber(key, t.type);
    appendNumber(key, t.style);
    appendNumber(key, t.maxLength);
    appendNumber(key, t.charSet);
    appendNumber(key, t.charCase);
    appendNumber(key, t.decimals);
    appendDouble(key, t.minValue);
    appendDouble(key, t.maxValue);
    appendText(key, t.items);
    appendText(key, t.text);
    appendNumber(key, static_cast<long long>(reinterpret_cast<std::uintptr_t>(t.picture1)));
    appendNumber(key, static_cast<long long>(reinterpret_cast<std::uintptr_t>(t.picture2)));
    appendText(key, t.pictureFile);
    // Pixels are shared, never changed: the same pixels are the same picture.
    appendNumber(key, static_cast<long long>(reinterpret_cast<std::uintptr_t>(t.pixels.get())));
    return key;
}

std::string fontKey(const LOGFONT& f)
{
    std::string key;
    for (long long v : {static_cast<long long>(f.lfHeight), static_cast<long long>(f.lfWidth),
                        static_cast<long long>(f.lfEscapement), static_cast<long long>(f.lfOrientation),
                        static_cast<long long>(f.lfWeight), static_cast<long long>(f.lfItalic),
                        static_cast<long long>(f.lfUnderline), static_cast<long long>(f.lfStrikeOut),
                        static_cast<long long>(f.lfCharSet), static_cast<long long>(f.lfOutPrecision),
                        static_cast<long long>(f.lfClipPrecision), static_cast<long long>(f.lfQuality),
                        static_cast<long long>(f.lfPitchAndFamily)})
        appendNumber(key, v);
    appendText(key, f.lfFaceName);
    return key;
}

template <typename T>
std::uint32_t InternTable<T>::intern(const T& item, const std::string& key)
{
    if (item == m_items[0])
        return 0;
    auto it = m_index.find(key);
    if (it != m_index.end())
        return it->second;
    const auto index = static_cast<std::uint32_t>(m_items.size());
    m_items.push_back(item);
    m_index.emplace(key, index);
    return index;
}

template class InternTable<CellStyle>;
template class InternTable<SS_CELLTYPE>;
template class InternTable<LOGFONT>;

Sheet::Sheet()
{
    m_columns.resize(1);
}

bool Sheet::setRows(int rows)
{
    if (rows < 0 || rows > SS_MAX_ROWS)
        return false;
    try {
        if (!m_rowMap.empty()) {
            if (rows > m_rows) {
                // Growing one row at a time (the wrapper's insert) must stay amortised.
                if (m_rowMap.capacity() < static_cast<std::size_t>(rows) + 1)
                    m_rowMap.reserve(std::max(static_cast<std::size_t>(rows) + 1, m_rowMap.capacity() * 2));
                for (int r = m_rows + 1; r <= rows; ++r)
                    m_rowMap.push_back(takePhysicalRow());
            } else {
                for (int r = rows + 1; r <= m_rows; ++r) {
                    clearPhysicalRow(m_rowMap[r]);
                    m_freeRows.push_back(m_rowMap[r]);
                }
                m_rowMap.resize(static_cast<std::size_t>(rows) + 1);
            }
        } else if (rows < m_rows) {
            // Identity map: the rows beyond the new count are the tail of every vector.
            for (Column& c : m_columns) {
                if (c.cells.size() > static_cast<std::size_t>(rows) + 1)
                    c.cells.resize(static_cast<std::size_t>(rows) + 1);
            }
            if (m_rowHeights.size() > static_cast<std::size_t>(rows) + 1)
                m_rowHeights.resize(static_cast<std::size_t>(rows) + 1);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_rows = rows;
    clipSpans();
    return true;
}

bool Sheet::setCols(int cols)
{
    if (cols < 0 || cols > SS_MAX_COLS)
        return false;
    try {
        m_columns.resize(static_cast<std::size_t>(cols) + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_cols = cols;
    clipSpans();
    return true;
}

const Cell* Sheet::find(int col, int row) const
{
    const Column& c = m_columns[col];
    const std::uint32_t p = physicalRow(row);
    return p < c.cells.size() ? &c.cells[p] : nullptr;
}

Cell& Sheet::at(int col, int row)
{
    Column& c = m_columns[col];
    const std::uint32_t p = physicalRow(row);
    if (p >= c.cells.size()) {
        // Grow by doubling, but never past the physical rows that exist: a full column then
        // holds exactly one record per row and no slack.
        if (p + 1 > c.cells.capacity()) {
            const std::size_t limit = physicalCount();
            c.cells.reserve(std::max<std::size_t>(p + 1, std::min(limit, std::max<std::size_t>(16, c.cells.capacity() * 2))));
        }
        c.cells.resize(p + 1);
    }
    return c.cells[p];
}

void Sheet::clearCell(int col, int row)
{
    Column& c = m_columns[col];
    const std::uint32_t p = physicalRow(row);
    if (p < c.cells.size())
        c.cells[p] = Cell();
}

void Sheet::materialiseRowMap()
{
    if (!m_rowMap.empty())
        return;
    m_rowMap.resize(static_cast<std::size_t>(m_rows) + 1);
    for (std::size_t i = 0; i < m_rowMap.size(); ++i)
        m_rowMap[i] = static_cast<std::uint32_t>(i);
    m_nextPhysical = static_cast<std::uint32_t>(m_rows) + 1;
}

void Sheet::clearPhysicalRow(std::uint32_t p)
{
    for (Column& c : m_columns) {
        if (p < c.cells.size())
            c.cells[p] = Cell();
    }
    if (p < m_rowHeights.size())
        m_rowHeights[p] = -1;
}

std::uint32_t Sheet::takePhysicalRow()
{
    if (!m_freeRows.empty()) {
        const std::uint32_t p = m_freeRows.back();
        m_freeRows.pop_back();
        return p;
    }
    return m_nextPhysical++;
}

bool Sheet::insertRow(int row)
{
    if (row < 1 || row > m_rows)
        return false;
    try {
        materialiseRowMap();
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::uint32_t last = m_rowMap[m_rows];
    clearPhysicalRow(last);
    std::memmove(&m_rowMap[row + 1], &m_rowMap[row], sizeof(std::uint32_t) * static_cast<std::size_t>(m_rows - row));
    m_rowMap[row] = last;
    shiftSpansForRow(row, +1);
    return true;
}

bool Sheet::deleteRow(int row)
{
    if (row < 1 || row > m_rows)
        return false;
    try {
        materialiseRowMap();
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::uint32_t gone = m_rowMap[row];
    clearPhysicalRow(gone);
    std::memmove(&m_rowMap[row], &m_rowMap[row + 1], sizeof(std::uint32_t) * static_cast<std::size_t>(m_rows - row));
    m_rowMap[m_rows] = gone;
    shiftSpansForRow(row, -1);
    return true;
}

bool Sheet::insertCol(int col)
{
    if (col < 1 || col > m_cols)
        return false;
    std::rotate(m_columns.begin() + col, m_columns.end() - 1, m_columns.end());
    m_columns[col] = Column();
    shiftSpansForCol(col, +1);
    return true;
}

bool Sheet::deleteCol(int col)
{
    if (col < 1 || col > m_cols)
        return false;
    std::rotate(m_columns.begin() + col, m_columns.begin() + col + 1, m_columns.end());
    m_columns.back() = Column();
    shiftSpansForCol(col, -1);
    return true;
}

bool Sheet::copyRange(int col1, int row1, int col2, int row2, int destCol, int destRow)
{
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    const int w = col2 - col1, h = row2 - row1;
    if (!validCell(col1, row1) || !validCell(col2, row2) || !validCell(destCol, destRow) ||
        !validCell(destCol + w, destRow + h))
        return false;
    try {
        std::vector<Cell> buffer;
        buffer.reserve(static_cast<std::size_t>(w + 1) * static_cast<std::size_t>(h + 1));
        for (int r = row1; r <= row2; ++r)
            for (int c = col1; c <= col2; ++c) {
                const Cell* cell = find(c, r);
                buffer.push_back(cell ? *cell : Cell());
            }
        std::size_t i = 0;
        for (int r = 0; r <= h; ++r)
            for (int c = 0; c <= w; ++c, ++i) {
                if (buffer[i].isBlank())
                    clearCell(destCol + c, destRow + r);
                else
                    at(destCol + c, destRow + r) = std::move(buffer[i]);
            }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Sheet::swapRange(int col1, int row1, int col2, int row2, int destCol, int destRow)
{
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    const int w = col2 - col1, h = row2 - row1;
    if (!validCell(col1, row1) || !validCell(col2, row2) || !validCell(destCol, destRow) ||
        !validCell(destCol + w, destRow + h))
        return false;
    const bool overlap = destCol <= col2 && col1 <= destCol + w && destRow <= row2 && row1 <= destRow + h;
    if (overlap)
        return (destCol == col1 && destRow == row1);  // swapping a block with itself changes nothing
    try {
        for (int r = 0; r <= h; ++r)
            for (int c = 0; c <= w; ++c) {
                const Cell* a = find(col1 + c, row1 + r);
                const Cell* b = find(destCol + c, destRow + r);
                if (!a && !b)
                    continue;
                // Make both records first: making the second may grow the column and move the
                // first, so neither reference is taken before both exist.
                at(col1 + c, row1 + r);
                at(destCol + c, destRow + r);
                std::swap(at(col1 + c, row1 + r), at(destCol + c, destRow + r));
            }
        // Row heights travel with whole rows.
        if (col1 <= 0 && col2 >= m_cols && h >= 0 && w == m_cols) {
            for (int r = 0; r <= h; ++r) {
                const int a = rowHeight(row1 + r), b = rowHeight(destRow + r);
                setRowHeight(row1 + r, b);
                setRowHeight(destRow + r, a);
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

const CellStyle& Sheet::styleOf(int col, int row) const
{
    const Cell* c = find(col, row);
    return m_styles[c ? c->style : 0];
}

std::uint32_t Sheet::internStyle(const CellStyle& style) { return m_styles.intern(style, styleKey(style)); }
std::uint32_t Sheet::internType(const SS_CELLTYPE& type)
{
    if (!type.pixels)
        return m_types.intern(type, typeKey(type));
    SS_CELLTYPE shared = type;
    shared.pixels = sharedPixels(type.pixels);
    return m_types.intern(shared, typeKey(shared));
}

std::shared_ptr<const kxwin::BitmapPixels> Sheet::sharedPixels(const std::shared_ptr<const kxwin::BitmapPixels>& pixels)
{
    const std::string_view bytes(reinterpret_cast<const char*>(pixels->rgba.data()), pixels->rgba.size());
    const std::size_t hash = std::hash<std::string_view>()(bytes) ^ (static_cast<std::size_t>(pixels->width) << 1);
    auto& same = m_pictures[hash];
    for (const auto& known : same)
        if (known == pixels ||
            (known->width == pixels->width && known->height == pixels->height && known->rgba == pixels->rgba))
            return known;
    same.push_back(pixels);
    return pixels;
}
std::uint32_t Sheet::internFont(const LOGFONT& font) { return m_fonts.intern(font, fontKey(font)); }

void Sheet::restyle(int col1, int row1, int col2, int row2, const std::function<void(CellStyle&)>& change)
{
    if (col1 > col2)
        std::swap(col1, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    // A block mostly holds few distinct styles: remember what each one became.
    std::unordered_map<std::uint32_t, std::uint32_t> done;
    for (int c = col1; c <= col2; ++c)
        for (int r = row1; r <= row2; ++r) {
            const Cell* existing = find(c, r);
            const std::uint32_t old = existing ? existing->style : 0;
            auto it = done.find(old);
            std::uint32_t now;
            if (it != done.end()) {
                now = it->second;
            } else {
                CellStyle s = m_styles[old];
                change(s);
                now = internStyle(s);
                done.emplace(old, now);
            }
            if (now != old || existing)
                at(c, r).style = now;
        }
}

bool Sheet::addSpan(const Span& s)
{
    if (s.cols < 1 || s.rows < 1 || (s.cols == 1 && s.rows == 1) || !validCell(s.col, s.row))
        return false;
    if (static_cast<long long>(s.col) + s.cols - 1 > m_cols || static_cast<long long>(s.row) + s.rows - 1 > m_rows)
        return false;
    for (const Span& o : m_spans) {
        if (o.col == s.col && o.row == s.row)
            continue;
        const bool overlap = s.col < o.col + o.cols && o.col < s.col + s.cols && s.row < o.row + o.rows &&
                             o.row < s.row + s.rows;
        if (overlap)
            return false;
    }
    removeSpan(s.col, s.row);
    m_spans.push_back(s);
    return true;
}

bool Sheet::removeSpan(int col, int row)
{
    auto it = std::find_if(m_spans.begin(), m_spans.end(), [&](const Span& s) { return s.col == col && s.row == row; });
    if (it == m_spans.end())
        return false;
    m_spans.erase(it);
    return true;
}

std::optional<Span> Sheet::spanAt(int col, int row) const
{
    for (const Span& s : m_spans)
        if (s.contains(col, row))
            return s;
    return std::nullopt;
}

// A row inserted at `row` (delta +1) or deleted there (-1): blocks below move, blocks across it
// grow or shrink, a block reduced to one cell is no block.
void Sheet::shiftSpansForRow(int row, int delta)
{
    for (Span& s : m_spans) {
        if (delta > 0) {
            if (s.row >= row)
                s.row += 1;
            else if (s.row + s.rows > row)
                s.rows += 1;
        } else {
            if (s.row > row)
                s.row -= 1;
            else if (s.row + s.rows > row)
                s.rows -= 1;
        }
    }
    clipSpans();
}

void Sheet::shiftSpansForCol(int col, int delta)
{
    for (Span& s : m_spans) {
        if (delta > 0) {
            if (s.col >= col)
                s.col += 1;
            else if (s.col + s.cols > col)
                s.cols += 1;
        } else {
            if (s.col > col)
                s.col -= 1;
            else if (s.col + s.cols > col)
                s.cols -= 1;
        }
    }
    clipSpans();
}

void Sheet::clipSpans()
{
    for (Span& s : m_spans) {
        s.cols = std::min(s.cols, m_cols - s.col + 1);
        s.rows = std::min(s.rows, m_rows - s.row + 1);
    }
    std::erase_if(m_spans, [&](const Span& s) {
        return s.col > m_cols || s.row > m_rows || s.cols < 1 || s.rows < 1 || (s.cols == 1 && s.rows == 1);
    });
}

int Sheet::rowHeight(int row) const
{
    const std::uint32_t p = physicalRow(row);
    return p < m_rowHeights.size() ? m_rowHeights[p] : -1;
}

void Sheet::setRowHeight(int row, int px)
{
    const std::uint32_t p = physicalRow(row);
    if (p >= m_rowHeights.size()) {
        if (px < 0)
            return;
        m_rowHeights.resize(p + 1, -1);
    }
    m_rowHeights[p] = px;
}

int Sheet::colWidth(int col) const { return m_columns[col].widthPx; }
void Sheet::setColWidth(int col, int px) { m_columns[col].widthPx = px; }

void Sheet::forEachCell(const std::function<void(int, int, const Cell&)>& visit) const
{
    // Rows outer, columns inner: the order a reader expects. Columns shorter than the row's
    // physical number hold nothing there.
    for (int r = 0; r <= m_rows; ++r) {
        const std::uint32_t p = physicalRow(r);
        for (int c = 0; c <= m_cols; ++c) {
            const auto& cells = m_columns[c].cells;
            if (p < cells.size() && !cells[p].isBlank())
                visit(c, r, cells[p]);
        }
    }
}

std::size_t Sheet::storedCellCount() const
{
    std::size_t n = 0;
    for (const Column& c : m_columns)
        n += c.cells.size();
    return n;
}

} // namespace kxgrid::detail
