// Copy and paste of blocks as tab-separated text: the form spreadsheet programs put on the
// clipboard. Fields holding a tab, a line break or a quote are quoted, with quotes doubled.
#include "platform/grid/GridControl.h"
#include "platform/grid/SheetFormulas.h"

#include "platform/win/Clipboard.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <optional>

namespace kxgrid::detail {

namespace {

void appendField(std::string& out, const std::string& text)
{
    if (text.find_first_of("\t\r\n\"") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool pasteable(const Grid& g, int col, int row)
{
    if (g.isReadOnlyForUser(col, row))
        return false;
    const int type = g.typeOf(col, row).type;
    return type != SS_TYPE_BUTTON && type != SS_TYPE_PICTURE;
}

// The top-left cell a copy or paste works from, and the block a copy takes.
void selectionBlock(const Grid& g, int& c1, int& r1, int& c2, int& r2)
{
    if (g.hasBlock) {
        c1 = std::max(g.blockCol1, 1);
        r1 = std::max(g.blockRow1, 1);
        c2 = g.blockCol2;
        r2 = g.blockRow2;
    } else {
        c1 = c2 = g.activeCol;
        r1 = r2 = g.activeRow;
    }
}

// The last block copied from a grid: a paste of exactly this text moves the relative references of
// its formulas by the distance between the copied block and the paste.
struct LastCopy {
    HWND grid = nullptr;
    int col = 0, row = 0;
    std::string text;
};

LastCopy& lastCopy()
{
    static LastCopy copy;
    return copy;
}

// What a copy writes for a cell: a formula cell as its formula ("=...", in the grid's style) when
// typed formulas are allowed, so that pasting makes formulas again; otherwise what the cell shows.
// A text that typing would read differently goes as typed: an apostrophe text keeps its apostrophe,
// and with typed formulas allowed a text starting with "=" gets one, so pasting gives the same cell.
std::string copyField(const Grid& g, int col, int row)
{
    const Cell* c = g.sheet().find(col, row);
    if (c == nullptr)
        return std::string();
    if (g.option(SSB_ALLOWUSERFORMULAS) && !c->formula().empty()) {
        std::string shown;
        if (!(g.hook && g.hook->formulaText(g.hwnd(), col, row, shown)))
            shown = c->formula();
        return "=" + shown;
    }
    const bool editCell = g.typeOf(col, row).type == SS_TYPE_EDIT;
    if (editCell && !c->data.empty() && c->data.front() == '\'')
        return c->data;
    std::string shown = g.data(col, row);
    if (editCell && g.option(SSB_ALLOWUSERFORMULAS) && shown.size() > 1 && shown.front() == '=')
        return "'" + shown;
    return shown;
}

} // namespace

} // namespace kxgrid::detail

namespace kxgrid {

bool copyText(HWND grid, int col1, int row1, int col2, int row2, std::string& out)
{
    detail::Grid* g = detail::gridOf(grid);
    out.clear();
    if (!g || !g->blockArg(col1, row1, col2, row2))
        return false;
    try {
        out.reserve(static_cast<size_t>(row2 - row1 + 1) * static_cast<size_t>(col2 - col1 + 1) * 8);
        for (int r = row1; r <= row2; ++r) {
            for (int c = col1; c <= col2; ++c) {
                if (c > col1)
                    out += '\t';
                detail::appendField(out, detail::copyField(*g, c, r));
            }
            out += "\r\n";
        }
        detail::lastCopy() = {grid, col1, row1, out};
    } catch (...) {
        out.clear();
        return false;
    }
    return true;
}

int pasteText(HWND grid, int col, int row, std::string_view text)
{
    detail::Grid* g = detail::gridOf(grid);
    if (!g)
        return -1;
    col = detail::Grid::normalise(col);
    row = detail::Grid::normalise(row);
    if (!g->sheet().validCell(col, row))
        return 0;
    int written = 0;
    detail::SheetFormulas* formulas = g->formulas();
    // One recalculation for the whole paste.
    std::optional<kxformula::Engine::UpdateBatch> batch;
    if (formulas)
        batch.emplace(formulas->engine());
    const detail::LastCopy& copied = detail::lastCopy();
    const bool ownCopy = formulas && copied.grid == grid && copied.text == text;
    try {
        int r = row, c = col;
        size_t i = 0;
        std::string field;
        const size_t n = text.size();
        while (i < n) {
            field.clear();
            if (text[i] == '"') {
                // Quoted: up to the closing quote, "" standing for one quote; anything after the
                // closing quote up to the separator is kept as it is.
                ++i;
                while (i < n) {
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    field += text[i++];
                }
            }
            const size_t end = text.find_first_of("\t\r\n", i);
            const size_t stop = end == std::string_view::npos ? n : end;
            field.append(text.substr(i, stop - i));
            i = stop;
            if (r <= g->sheet().rows() && c <= g->sheet().cols() && detail::pasteable(*g, c, r)) {
                const detail::Cell* existing = g->sheet().find(c, r);
                const bool same = existing ? (existing->data == field && existing->formula().empty()) : field.empty();
                if (ownCopy && field.size() > 1 && field.front() == '=' && g->option(SSB_ALLOWUSERFORMULAS))
                    field = "=" + formulas->moveFormulaText(field.substr(1), copied.col + (c - col),
                                                            copied.row + (r - row), c, r);
                if (!same && g->enterText(c, r, field))
                    ++written;
            }
            if (i >= n)
                break;
            if (text[i] == '\t') {
                ++i;
                ++c;
                continue;
            }
            // A line break: "\r\n", "\n" or "\r". A break at the very end ends the table.
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            ++i;
            ++r;
            c = col;
            if (r > g->sheet().rows()) {
                // Rows beyond the sheet are dropped; nothing more can land.
                break;
            }
        }
    } catch (...) {
        return written;
    }
    return written;
}

} // namespace kxgrid

BOOL SSClipboardCopy(HWND hwnd)
{
    kxgrid::detail::Grid* g = kxgrid::detail::gridOf(hwnd);
    if (!g || g->sheet().rows() < 1 || g->sheet().cols() < 1)
        return FALSE;
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    kxgrid::detail::selectionBlock(*g, c1, r1, c2, r2);
    std::string text;
    if (!kxgrid::copyText(hwnd, c1, r1, c2, r2, text))
        return FALSE;
    return kxwin::setClipboardText(text) ? TRUE : FALSE;
}

BOOL SSClipboardPaste(HWND hwnd)
{
    kxgrid::detail::Grid* g = kxgrid::detail::gridOf(hwnd);
    if (!g || g->sheet().rows() < 1 || g->sheet().cols() < 1)
        return FALSE;
    const std::string text = kxwin::clipboardText();
    if (text.empty())
        return FALSE;
    if (!g->commitEdit())
        g->cancelEdit();
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    kxgrid::detail::selectionBlock(*g, c1, r1, c2, r2);
    return kxgrid::pasteText(hwnd, c1, r1, text) > 0 ? TRUE : FALSE;
}
