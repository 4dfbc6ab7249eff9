// The sheet file (docs/sheet-file-format.md): writing a grid as versioned, line-based text,
// reading it back into a fresh sheet that replaces the grid's only when the whole file was good,
// and the CSV export.
#include "platform/grid/GridControl.h"
#include "platform/grid/SheetFormulas.h"

#include "platform/win/SaveFile.h"
#include "platform/win/Utf8.h"
#include "platform/win/Window.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>

namespace kxgrid::detail {

namespace {

constexpr std::string_view kMagic = "KXSHEET";
// Version 2 added the picture records. A sheet without pictures is still written as version 1, so
// readers of version 1 keep reading what they could read before.
constexpr int kVersion = 2;
constexpr int kVersionWithoutPictures = 1;
// Base64 characters per picture data line: lines stay far below the line and text limits.
constexpr size_t kPictureChunk = 65536;
constexpr size_t kMaxFileBytes = size_t{512} << 20;
constexpr size_t kMaxLineBytes = size_t{8} << 20;

// --- Writing -------------------------------------------------------------------------------------

void putInt(std::string& out, long long v)
{
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void putHex(std::string& out, unsigned long long v)
{
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v, 16);
    out += "0x";
    out.append(buf, r.ptr);
}

void putDouble(std::string& out, double v)
{
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// A quoted string: printable UTF-8 as it is, the rest as escapes, so every text reads back byte
// for byte and the file stays valid UTF-8 with one record per line.
void putText(std::string& out, std::string_view s)
{
    out += '"';
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        switch (b) {
        case '"': out += "\\\""; ++i; continue;
        case '\\': out += "\\\\"; ++i; continue;
        case '\t': out += "\\t"; ++i; continue;
        case '\n': out += "\\n"; ++i; continue;
        case '\r': out += "\\r"; ++i; continue;
        default: break;
        }
        const auto len = static_cast<size_t>(kxutf8::sequenceLength(s, i));
        if (b >= 0x80 && len > 0) {
            out.append(s.substr(i, len));
            i += len;
            continue;
        }
        static const char hex[] = "0123456789abcdef";
        out += "\\x";
        out += hex[b >> 4];
        out += hex[b & 15];
        ++i;
    }
    out += '"';
}

void writeFont(std::string& out, std::uint32_t id, const LOGFONT& f)
{
    out += "font ";
    putInt(out, id);
    out += " face=";
    putText(out, f.lfFaceName);
    const std::pair<const char*, long long> fields[] = {
        {"height", f.lfHeight}, {"width", f.lfWidth}, {"escapement", f.lfEscapement},
        {"orientation", f.lfOrientation}, {"weight", f.lfWeight}, {"italic", f.lfItalic},
        {"underline", f.lfUnderline}, {"strikeout", f.lfStrikeOut}, {"charset", f.lfCharSet},
        {"outprecision", f.lfOutPrecision}, {"clipprecision", f.lfClipPrecision}, {"quality", f.lfQuality},
        {"pitch", f.lfPitchAndFamily}};
    for (const auto& [key, v] : fields) {
        out += ' ';
        out += key;
        out += '=';
        putInt(out, v);
    }
    out += '\n';
}

// The pictures a file stores, each once however many cells show it: by pixels object first, then
// by content (the same resource bitmap loaded for every picture row is one picture in the file).
class PictureTable {
public:
    // The picture's number in the file, writing its records to `out` when it is new; 0 when the
    // pixels cannot be encoded (the cell is then written without its picture).
    std::uint32_t idOf(const std::shared_ptr<const kxwin::BitmapPixels>& pixels, std::string& out)
    {
        if (!pixels || pixels->empty())
            return 0;
        if (const auto it = m_byObject.find(pixels.get()); it != m_byObject.end())
            return it->second;
        const std::string_view bytes(reinterpret_cast<const char*>(pixels->rgba.data()), pixels->rgba.size());
        const std::size_t hash = std::hash<std::string_view>()(bytes) ^ (static_cast<std::size_t>(pixels->width) << 1);
        for (const auto& [other, id] : m_byContent[hash])
            if (other->width == pixels->width && other->height == pixels->height && other->rgba == pixels->rgba) {
                m_byObject.emplace(pixels.get(), id);
                return id;
            }
        const std::string png = encodePicturePng(*pixels);
        if (png.empty())
            return 0;
        const auto id = static_cast<std::uint32_t>(++m_count);
        m_keep.push_back(pixels);
        m_byObject.emplace(pixels.get(), id);
        m_byContent[hash].emplace_back(pixels, id);
        out += "picture ";
        putInt(out, id);
        out += " width=";
        putInt(out, pixels->width);
        out += " height=";
        putInt(out, pixels->height);
        out += " bytes=";
        putInt(out, static_cast<long long>(png.size()));
        out += '\n';
        const std::string text = encodeBase64(png);
        for (size_t at = 0; at < text.size(); at += kPictureChunk) {
            out += "picturedata ";
            putInt(out, id);
            out += " png=";
            putText(out, std::string_view(text).substr(at, kPictureChunk));
            out += '\n';
        }
        return id;
    }
    bool empty() const { return m_count == 0; }

private:
    std::size_t m_count = 0;
    std::vector<std::shared_ptr<const kxwin::BitmapPixels>> m_keep;
    std::unordered_map<const kxwin::BitmapPixels*, std::uint32_t> m_byObject;
    std::unordered_map<std::size_t, std::vector<std::pair<std::shared_ptr<const kxwin::BitmapPixels>, std::uint32_t>>> m_byContent;
};

void writeType(std::string& out, std::uint32_t id, const SS_CELLTYPE& t, PictureTable& pictures)
{
    // The picture goes before the type that names it.
    const std::uint32_t picture = t.type == SS_TYPE_PICTURE ? pictures.idOf(t.pixels, out) : 0;
    out += "type ";
    putInt(out, id);
    out += " kind=";
    putInt(out, t.type);
    out += " style=";
    putHex(out, static_cast<unsigned long>(t.style));
    switch (static_cast<SSCellType>(t.type)) {
    case SSCellType::Edit:
        out += " maxlength=";
        putInt(out, t.maxLength);
        out += " charset=";
        putInt(out, t.charSet);
        out += " case=";
        putInt(out, t.charCase);
        break;
    case SSCellType::Number:
        out += " decimals=";
        putInt(out, t.decimals);
        out += " min=";
        putDouble(out, t.minValue);
        out += " max=";
        putDouble(out, t.maxValue);
        break;
    case SSCellType::ComboBox:
        out += " items=";
        putText(out, t.items);
        break;
    case SSCellType::CheckBox:
    case SSCellType::Button:
        out += " text=";
        putText(out, t.text);
        break;
    case SSCellType::Picture:
        if (!t.pictureFile.empty()) {
            out += " file=";
            putText(out, t.pictureFile);
        }
        if (picture != 0) {
            out += " picture=";
            putInt(out, picture);
        }
        break;
    default:
        break;
    }
    out += '\n';
}

void writeStyle(std::string& out, std::uint32_t id, const CellStyle& s, std::uint32_t type, std::uint32_t font)
{
    out += "style ";
    putInt(out, id);
    if (type) {
        out += " type=";
        putInt(out, type);
    }
    if (font) {
        out += " font=";
        putInt(out, font);
    }
    if (s.back != SS_COLOR_KEEP) {
        out += " back=";
        putHex(out, s.back);
    }
    if (s.fore != SS_COLOR_KEEP) {
        out += " fore=";
        putHex(out, s.fore);
    }
    if (s.locked)
        out += " locked=1";
    static const char* sides[] = {"left", "right", "top", "bottom"};
    for (int i = 0; i < 4; ++i) {
        if (s.borders[i].style == SS_BORDERSTYLE_NONE && s.borders[i].color == 0)
            continue;
        out += ' ';
        out += sides[i];
        out += '=';
        putInt(out, s.borders[i].style);
        out += ',';
        putHex(out, s.borders[i].color);
    }
    out += '\n';
}

} // namespace

std::string writeSheet(const Grid& g, bool dataOnly)
{
    const Sheet& s = g.sheet();
    std::string out;
    out.reserve(s.storedCellCount() * 16 + 4096);
    out += "KXSHEET ";
    putInt(out, kVersionWithoutPictures);
    out += '\n';
    out += "size cols=";
    putInt(out, s.cols());
    out += " rows=";
    putInt(out, s.rows());
    out += '\n';

    // Only the records cells use are written, numbered from 1 in order of first use.
    std::unordered_map<std::uint32_t, std::uint32_t> styleIds, typeIds, fontIds;
    PictureTable pictures;
    std::string records;
    auto typeId = [&](std::uint32_t t) -> std::uint32_t {
        if (t == 0)
            return 0;
        auto [it, fresh] = typeIds.emplace(t, static_cast<std::uint32_t>(typeIds.size() + 1));
        if (fresh)
            writeType(records, it->second, s.type(t), pictures);
        return it->second;
    };
    auto fontId = [&](std::uint32_t f) -> std::uint32_t {
        if (f == 0)
            return 0;
        auto [it, fresh] = fontIds.emplace(f, static_cast<std::uint32_t>(fontIds.size() + 1));
        if (fresh)
            writeFont(records, it->second, s.font(f));
        return it->second;
    };
    auto styleId = [&](std::uint32_t st) -> std::uint32_t {
        if (st == 0 || dataOnly)
            return 0;
        auto it = styleIds.find(st);
        if (it != styleIds.end())
            return it->second;
        const CellStyle& cs = s.style(st);
        const std::uint32_t t = typeId(cs.type), f = fontId(cs.font);
        const auto id = static_cast<std::uint32_t>(styleIds.size() + 1);
        styleIds.emplace(st, id);
        writeStyle(records, id, cs, t, f);
        return id;
    };

    std::string cells;
    cells.reserve(s.storedCellCount() * 16);
    s.forEachCell([&](int col, int row, const Cell& c) {
        const std::uint32_t st = styleId(c.style);
        if (c.data.empty() && !c.extra && st == 0)
            return;
        cells += "cell ";
        putInt(cells, col);
        cells += ' ';
        putInt(cells, row);
        if (st) {
            cells += " s=";
            putInt(cells, st);
        }
        if (!c.data.empty()) {
            cells += " d=";
            putText(cells, c.data);
        }
        if (!c.formula().empty()) {
            cells += " f=";
            putText(cells, c.formula());
        }
        if (!dataOnly && !c.tag().empty()) {
            cells += " t=";
            putText(cells, c.tag());
        }
        if (!dataOnly && !c.note().empty()) {
            cells += " n=";
            putText(cells, c.note());
        }
        cells += '\n';
    });

    if (!dataOnly) {
        // The change flag is the session's, not the sheet's: a loaded sheet starts unchanged.
        out += "options";
        for (int i = 0; i < SSB_COUNT; ++i)
            if (g.option(i) && i != SSB_CHANGEMADE) {
                out += ' ';
                putInt(out, i);
            }
        out += '\n';
        out += "refstyle ";
        putInt(out, g.refStyle);
        out += '\n';
        out += "look appearance=";
        putInt(out, g.appearance);
        out += " enter=";
        putInt(out, g.enterAction);
        out += " gridtype=";
        putInt(out, g.gridType);
        out += " gridcolor=";
        putHex(out, g.gridColor);
        out += " grayback=";
        putHex(out, g.grayBack);
        out += " grayfore=";
        putHex(out, g.grayFore);
        out += " selback=";
        putHex(out, g.selBack);
        out += " selfore=";
        putHex(out, g.selFore);
        out += " lockback=";
        putHex(out, g.lockBack);
        out += " lockfore=";
        putHex(out, g.lockFore);
        out += " cursor=";
        putInt(out, g.cursorType);
        out += " notes=";
        putInt(out, g.noteIndicator);
        out += " visiblecols=";
        putInt(out, g.autoSizeCols);
        out += " visiblerows=";
        putInt(out, g.autoSizeRows);
        out += '\n';
        out += "texttip status=";
        putInt(out, g.textTip.status);
        out += " delay=";
        putInt(out, g.textTip.delay);
        out += " back=";
        putHex(out, g.textTip.back);
        out += " fore=";
        putHex(out, g.textTip.fore);
        out += " face=";
        putText(out, g.textTip.font.lfFaceName);
        out += " height=";
        putInt(out, g.textTip.font.lfHeight);
        out += " weight=";
        putInt(out, g.textTip.font.lfWeight);
        out += '\n';
        for (int c = 0; c <= s.cols(); ++c)
            if (s.colWidth(c) >= 0) {
                out += "colwidth ";
                putInt(out, c);
                out += ' ';
                putInt(out, s.colWidth(c));
                out += '\n';
            }
        for (int r = 0; r <= s.rows(); ++r)
            if (s.rowHeight(r) >= 0) {
                out += "rowheight ";
                putInt(out, r);
                out += ' ';
                putInt(out, s.rowHeight(r));
                out += '\n';
            }
        for (const Span& sp : s.spans()) {
            out += "span ";
            putInt(out, sp.col);
            out += ' ';
            putInt(out, sp.row);
            out += ' ';
            putInt(out, sp.cols);
            out += ' ';
            putInt(out, sp.rows);
            out += '\n';
        }
        out += records;
    }
    out += cells;
    out += "end\n";
    if (!pictures.empty())
        out.replace(kMagic.size() + 1, 1, std::to_string(kVersion));
    return out;
}

namespace {

// --- Reading -------------------------------------------------------------------------------------

struct Token {
    std::string_view key;    // empty for a bare token
    std::string_view raw;    // the value as written
    bool quoted = false;
};

class LineError {
public:
    std::string message;
};

[[noreturn]] void fail(const std::string& message) { throw LineError{message}; }

std::string unescape(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\0')
            fail("a text holds a zero byte");
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= raw.size())
            fail("a text ends in a lone backslash");
        switch (raw[i]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 'x': {
            unsigned v = 0;
            if (i + 2 >= raw.size())
                fail("a \\x escape is cut short");
            auto [p, ec] = std::from_chars(raw.data() + i + 1, raw.data() + i + 3, v, 16);
            if (ec != std::errc() || p != raw.data() + i + 3)
                fail("a \\x escape needs two hex digits");
            if (v == 0)
                fail("a text holds a zero byte");
            out += static_cast<char>(v);
            i += 2;
            break;
        }
        default:
            fail(std::string("unknown escape \\") + raw[i]);
        }
    }
    return out;
}

std::vector<Token> tokenise(std::string_view line)
{
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        Token t;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '=' && line[i] != '"')
            ++i;
        if (i < line.size() && line[i] == '=') {
            t.key = line.substr(start, i - start);
            if (t.key.empty())
                fail("a value without a key");
            ++i;
            start = i;
        } else if (i < line.size() && line[i] == '"' && i != start) {
            fail("a quote inside a word");
        }
        if (i < line.size() && line[i] == '"') {
            ++i;
            start = i;
            while (i < line.size() && line[i] != '"') {
                if (line[i] == '\\')
                    ++i;
                ++i;
            }
            if (i >= line.size())
                fail("a text is not closed by a quote");
            t.raw = line.substr(start, i - start);
            t.quoted = true;
            ++i;
            if (i < line.size() && line[i] != ' ')
                fail("no space after a closing quote");
        } else {
            while (i < line.size() && line[i] != ' ') {
                if (line[i] == '"' || line[i] == '=')
                    fail("a stray quote or equals sign");
                ++i;
            }
            t.raw = line.substr(start, i - start);
        }
        tokens.push_back(t);
    }
    return tokens;
}

long long toInt(std::string_view raw, long long lo, long long hi, std::string_view what)
{
    long long v = 0;
    std::from_chars_result r{};
    if (raw.size() > 2 && raw[0] == '0' && (raw[1] == 'x' || raw[1] == 'X'))
        r = std::from_chars(raw.data() + 2, raw.data() + raw.size(), v, 16);
    else
        r = std::from_chars(raw.data(), raw.data() + raw.size(), v);
    if (raw.empty() || r.ec != std::errc() || r.ptr != raw.data() + raw.size())
        fail(std::string(what) + " is not a whole number: \"" + std::string(raw.substr(0, 40)) + "\"");
    if (v < lo || v > hi)
        fail(std::string(what) + " " + std::to_string(v) + " is out of range (" + std::to_string(lo) + " to " +
             std::to_string(hi) + ")");
    return v;
}

double toDouble(std::string_view raw, std::string_view what)
{
    double v = 0;
    auto r = std::from_chars(raw.data(), raw.data() + raw.size(), v);
    if (raw.empty() || r.ec != std::errc() || r.ptr != raw.data() + raw.size() || !std::isfinite(v))
        fail(std::string(what) + " is not a finite number: \"" + std::string(raw.substr(0, 40)) + "\"");
    return v;
}

// The key=value tokens after `skip` bare ones, each key once.
class Fields {
public:
    Fields(const std::vector<Token>& tokens, size_t skip, std::initializer_list<std::string_view> allowed)
    {
        for (size_t i = skip; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            if (t.key.empty())
                fail("unexpected \"" + std::string(t.raw.substr(0, 40)) + "\"");
            bool ok = false;
            for (std::string_view a : allowed)
                ok = ok || a == t.key;
            if (!ok)
                fail("unknown key \"" + std::string(t.key.substr(0, 40)) + "\"");
            for (const Token* seen : m_tokens)
                if (seen->key == t.key)
                    fail("key \"" + std::string(t.key) + "\" given twice");
            m_tokens.push_back(&t);
        }
    }
    const Token* find(std::string_view key) const
    {
        for (const Token* t : m_tokens)
            if (t->key == key)
                return t;
        return nullptr;
    }
    long long integer(std::string_view key, long long def, long long lo, long long hi) const
    {
        const Token* t = find(key);
        if (!t)
            return def;
        if (t->quoted)
            fail(std::string(key) + " must not be quoted");
        return toInt(t->raw, lo, hi, key);
    }
    std::optional<std::string> text(std::string_view key) const
    {
        const Token* t = find(key);
        if (!t)
            return std::nullopt;
        if (!t->quoted)
            fail(std::string(key) + " must be a quoted text");
        std::string s = unescape(t->raw);
        if (s.size() > static_cast<size_t>(SS_MAX_TEXT))
            fail(std::string(key) + " is longer than the limit");
        return s;
    }

private:
    std::vector<const Token*> m_tokens;
};



constexpr long long kColour = 0xFFFFFFFFLL;

} // namespace

bool readSheet(Grid& g, std::string_view text, const std::string& name, std::string& error)
{
    if (text.size() > kMaxFileBytes) {
        error = "\"" + name + "\" is larger than 512 MiB; it is no sheet file";
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Sheet sheet;
    std::bitset<SSB_COUNT> options = g.options();
    bool haveOptions = false;
    short refStyle = g.refStyle;
    struct Look {
        int appearance, enter, gridType, cursor, notes, visCols, visRows;
        COLORREF gridColor, grayBack, grayFore, selBack, selFore, lockBack, lockFore;
        TextTip tip;
    } look{g.appearance, g.enterAction, g.gridType, g.cursorType, g.noteIndicator, g.autoSizeCols, g.autoSizeRows,
           g.gridColor, g.grayBack, g.grayFore, g.selBack, g.selFore, g.lockBack, g.lockFore, g.textTip};
    std::vector<std::uint32_t> typeMap{0}, fontMap{0}, styleMap{0};
    // Pictures by number (index 0 unused); a picture's data lines follow its record.
    std::vector<std::shared_ptr<const kxwin::BitmapPixels>> pictureMap{nullptr};
    struct PendingPicture {
        long long id = 0;
        int width = 0, height = 0;
        size_t bytes = 0;
        std::string base64;
    };
    std::optional<PendingPicture> pending;
    long long version = 0;
    bool sized = false, ended = false;
    size_t lineNo = 0, pos = 0;
    try {
        while (pos < text.size()) {
            size_t nl = text.find('\n', pos);
            if (nl == std::string_view::npos)
                nl = text.size();
            std::string_view line = text.substr(pos, nl - pos);
            pos = nl + 1;
            ++lineNo;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (line.size() > kMaxLineBytes)
                fail("the line is longer than 8 MiB");
            if (ended) {
                if (!line.empty())
                    fail("text after the end line");
                continue;
            }
            if (lineNo == 1) {
                if (line.substr(0, kMagic.size()) != kMagic || (line.size() > kMagic.size() && line[kMagic.size()] != ' '))
                    fail("it is no sheet file (it does not start with \"KXSHEET\")");
                version = toInt(line.substr(std::min(line.size(), kMagic.size() + 1)), 0, 1LL << 30, "the version");
                if (version < 1 || version > kVersion)
                    fail("it was written in sheet format version " + std::to_string(version) +
                         ", this program reads versions 1 to " + std::to_string(kVersion));
                continue;
            }
            if (line.empty() || line.front() == '#')
                continue;
            const std::vector<Token> tokens = tokenise(line);
            if (tokens.empty())
                continue;
            const std::string_view kind = tokens[0].key.empty() && !tokens[0].quoted ? tokens[0].raw : std::string_view();
            auto bare = [&](size_t i, long long lo, long long hi, std::string_view what) {
                if (i >= tokens.size() || !tokens[i].key.empty() || tokens[i].quoted)
                    fail("missing " + std::string(what));
                return toInt(tokens[i].raw, lo, hi, what);
            };
            if (kind != "size" && !sized)
                fail("the size line must come first");
            if (pending && kind != "picturedata")
                fail("the data of picture " + std::to_string(pending->id) + " is cut short");
            if (kind == "size") {
                if (sized)
                    fail("a second size line");
                Fields f(tokens, 1, {"cols", "rows"});
                if (!f.find("cols") || !f.find("rows"))
                    fail("the size line needs cols and rows");
                if (!sheet.setCols(static_cast<int>(f.integer("cols", 0, 0, SS_MAX_COLS))) ||
                    !sheet.setRows(static_cast<int>(f.integer("rows", 0, 0, SS_MAX_ROWS))))
                    fail("not enough memory for the sheet's size");
                sized = true;
            } else if (kind == "cell") {
                const int col = static_cast<int>(bare(1, 0, sheet.cols(), "the column"));
                const int row = static_cast<int>(bare(2, 0, sheet.rows(), "the row"));
                Fields f(tokens, 3, {"s", "d", "f", "t", "n"});
                Cell c;
                c.style = styleMap[static_cast<size_t>(f.integer("s", 0, 0, static_cast<long long>(styleMap.size()) - 1))];
                if (auto d = f.text("d"))
                    c.data = std::move(*d);
                auto fo = f.text("f");
                auto t = f.text("t");
                auto n = f.text("n");
                if ((fo && !fo->empty()) || (t && !t->empty()) || (n && !n->empty())) {
                    c.extra = std::make_unique<CellExtra>();
                    c.extra->formula = fo.value_or(std::string());
                    c.extra->setTag(t.value_or(std::string()));
                    c.extra->setNote(n.value_or(std::string()));
                }
                sheet.at(col, row) = std::move(c);
            } else if (kind == "style") {
                const long long id = bare(1, 1, static_cast<long long>(styleMap.size()), "the style number");
                if (id != static_cast<long long>(styleMap.size()))
                    fail("style " + std::to_string(id) + " is out of order (expected " + std::to_string(styleMap.size()) + ")");
                Fields f(tokens, 2, {"type", "font", "back", "fore", "locked", "left", "right", "top", "bottom"});
                CellStyle s;
                s.type = typeMap[static_cast<size_t>(f.integer("type", 0, 0, static_cast<long long>(typeMap.size()) - 1))];
                s.font = fontMap[static_cast<size_t>(f.integer("font", 0, 0, static_cast<long long>(fontMap.size()) - 1))];
                s.back = static_cast<COLORREF>(f.integer("back", SS_COLOR_KEEP, 0, kColour));
                s.fore = static_cast<COLORREF>(f.integer("fore", SS_COLOR_KEEP, 0, kColour));
                s.locked = f.integer("locked", 0, 0, 1) != 0;
                static const char* sides[] = {"left", "right", "top", "bottom"};
                for (int i = 0; i < 4; ++i) {
                    const Token* b = f.find(sides[i]);
                    if (!b)
                        continue;
                    if (b->quoted)
                        fail(std::string(sides[i]) + " must be style,colour");
                    const size_t comma = b->raw.find(',');
                    if (comma == std::string_view::npos)
                        fail(std::string(sides[i]) + " must be style,colour");
                    s.borders[i].style = static_cast<WORD>(toInt(b->raw.substr(0, comma), 0, 0xFFFF, sides[i]));
                    s.borders[i].color = static_cast<COLORREF>(toInt(b->raw.substr(comma + 1), 0, kColour, sides[i]));
                }
                styleMap.push_back(sheet.internStyle(s));
            } else if (kind == "picture" && version >= 2) {
                const long long id = bare(1, 1, static_cast<long long>(pictureMap.size()), "the picture number");
                if (id != static_cast<long long>(pictureMap.size()))
                    fail("picture " + std::to_string(id) + " is out of order");
                Fields f(tokens, 2, {"width", "height", "bytes"});
                if (!f.find("width") || !f.find("height") || !f.find("bytes"))
                    fail("the picture record needs width, height and bytes");
                PendingPicture p;
                p.id = id;
                p.width = static_cast<int>(f.integer("width", 0, 1, kxwin::kMaxPictureSide));
                p.height = static_cast<int>(f.integer("height", 0, 1, kxwin::kMaxPictureSide));
                if (const auto why = kxwin::checkPictureSize(p.width, p.height))
                    fail("picture " + std::to_string(id) + ": " + *why);
                // The data must really follow: its base64 form is a third longer than its bytes.
                const long long left = static_cast<long long>(text.size() - std::min(text.size(), pos));
                p.bytes = static_cast<size_t>(f.integer("bytes", 0, 1, std::max(1LL, left * 3 / 4)));
                pending = std::move(p);
            } else if (kind == "picturedata" && version >= 2) {
                const long long id = bare(1, 1, 1LL << 31, "the picture number");
                if (!pending || id != pending->id)
                    fail("picture data without its picture record");
                Fields f(tokens, 2, {"png"});
                const auto chunk = f.text("png");
                if (!chunk || chunk->empty())
                    fail("the picture data line needs png");
                pending->base64 += *chunk;
                if (pending->base64.size() > (pending->bytes + 2) / 3 * 4)
                    fail("picture " + std::to_string(id) + " has more data than its record says");
                if (pending->base64.size() == (pending->bytes + 2) / 3 * 4) {
                    std::string png, why;
                    if (!decodeBase64(pending->base64, png) || png.size() != pending->bytes)
                        fail("picture " + std::to_string(id) + ": the data is no base64 of " +
                             std::to_string(pending->bytes) + " bytes");
                    auto pixels = decodePicturePng(png, why);
                    if (!pixels)
                        fail("picture " + std::to_string(id) + ": " + why);
                    if (pixels->width != pending->width || pixels->height != pending->height)
                        fail("picture " + std::to_string(id) + " is " + std::to_string(pixels->width) + " x " +
                             std::to_string(pixels->height) + " pixels, its record says " +
                             std::to_string(pending->width) + " x " + std::to_string(pending->height));
                    pictureMap.push_back(std::make_shared<const kxwin::BitmapPixels>(std::move(*pixels)));
                    pending.reset();
                }
            } else if (kind == "type") {
                const long long id = bare(1, 1, static_cast<long long>(typeMap.size()), "the type number");
                if (id != static_cast<long long>(typeMap.size()))
                    fail("type " + std::to_string(id) + " is out of order");
                Fields f(tokens, 2, {"kind", "style", "maxlength", "charset", "case", "decimals", "min", "max", "items", "text", "file",
                                     "picture"});
                SS_CELLTYPE t;
                t.type = static_cast<int>(f.integer("kind", SS_TYPE_EDIT, 0, 1000));
                switch (static_cast<SSCellType>(t.type)) {
                case SSCellType::Edit: case SSCellType::Picture: case SSCellType::StaticText: case SSCellType::Button:
                case SSCellType::ComboBox: case SSCellType::CheckBox: case SSCellType::Number:
                    break;
                default:
                    fail("unknown cell type code " + std::to_string(t.type));
                }
                t.style = static_cast<long>(f.integer("style", 0, 0, 0xFFFFFFFFLL));
                t.maxLength = static_cast<int>(f.integer("maxlength", 0, 0, SS_MAX_TEXT));
                t.charSet = static_cast<short>(f.integer("charset", SS_CHRSET_ANY, 0, 2));
                t.charCase = static_cast<short>(f.integer("case", SS_CASE_ASTYPED, 0, 2));
                t.decimals = static_cast<int>(f.integer("decimals", 2, 0, 15));
                if (const Token* m = f.find("min"))
                    t.minValue = toDouble(m->raw, "min");
                if (const Token* m = f.find("max"))
                    t.maxValue = toDouble(m->raw, "max");
                if (t.minValue > t.maxValue)
                    fail("min is above max");
                t.items = f.text("items").value_or(std::string());
                t.text = f.text("text").value_or(std::string());
                t.pictureFile = f.text("file").value_or(std::string());
                if (f.find("picture")) {
                    if (t.type != SS_TYPE_PICTURE)
                        fail("only picture types name a picture");
                    t.pixels = pictureMap[static_cast<size_t>(
                        f.integer("picture", 0, 1, static_cast<long long>(pictureMap.size()) - 1))];
                }
                normaliseType(t);
                typeMap.push_back(sheet.internType(t));
            } else if (kind == "font") {
                const long long id = bare(1, 1, static_cast<long long>(fontMap.size()), "the font number");
                if (id != static_cast<long long>(fontMap.size()))
                    fail("font " + std::to_string(id) + " is out of order");
                Fields f(tokens, 2, {"face", "height", "width", "escapement", "orientation", "weight", "italic", "underline",
                                     "strikeout", "charset", "outprecision", "clipprecision", "quality", "pitch"});
                LOGFONT lf;
                lf.lfFaceName = f.text("face").value_or(std::string());
                if (lf.lfFaceName.size() > 255)
                    fail("the face name is longer than 255 bytes");
                lf.lfHeight = static_cast<LONG>(f.integer("height", 0, -10000, 10000));
                lf.lfWidth = static_cast<LONG>(f.integer("width", 0, -10000, 10000));
                lf.lfEscapement = static_cast<LONG>(f.integer("escapement", 0, -3600, 3600));
                lf.lfOrientation = static_cast<LONG>(f.integer("orientation", 0, -3600, 3600));
                lf.lfWeight = static_cast<LONG>(f.integer("weight", FW_NORMAL, 0, 1000));
                lf.lfItalic = static_cast<BYTE>(f.integer("italic", 0, 0, 255));
                lf.lfUnderline = static_cast<BYTE>(f.integer("underline", 0, 0, 255));
                lf.lfStrikeOut = static_cast<BYTE>(f.integer("strikeout", 0, 0, 255));
                lf.lfCharSet = static_cast<BYTE>(f.integer("charset", DEFAULT_CHARSET, 0, 255));
                lf.lfOutPrecision = static_cast<BYTE>(f.integer("outprecision", 0, 0, 255));
                lf.lfClipPrecision = static_cast<BYTE>(f.integer("clipprecision", 0, 0, 255));
                lf.lfQuality = static_cast<BYTE>(f.integer("quality", 0, 0, 255));
                lf.lfPitchAndFamily = static_cast<BYTE>(f.integer("pitch", 0, 0, 255));
                fontMap.push_back(sheet.internFont(lf));
            } else if (kind == "options") {
                if (haveOptions)
                    fail("a second options line");
                haveOptions = true;
                options.reset();
                for (size_t i = 1; i < tokens.size(); ++i)
                    options.set(static_cast<size_t>(bare(i, 0, SSB_COUNT - 1, "an option number")));
            } else if (kind == "refstyle") {
                refStyle = static_cast<short>(bare(1, 0, 2, "the reference style"));
                if (tokens.size() > 2)
                    fail("unexpected text after the reference style");
            } else if (kind == "look") {
                Fields f(tokens, 1, {"appearance", "enter", "gridtype", "gridcolor", "grayback", "grayfore", "selback",
                                     "selfore", "lockback", "lockfore", "cursor", "notes", "visiblecols", "visiblerows"});
                look.appearance = static_cast<int>(f.integer("appearance", look.appearance, 0, 1000));
                look.enter = static_cast<int>(f.integer("enter", look.enter, 0, SS_ENTERACTION_NEXT));
                look.gridType = static_cast<int>(f.integer("gridtype", look.gridType, 0, 0xFFFF));
                look.gridColor = static_cast<COLORREF>(f.integer("gridcolor", look.gridColor, 0, kColour));
                look.grayBack = static_cast<COLORREF>(f.integer("grayback", look.grayBack, 0, kColour));
                look.grayFore = static_cast<COLORREF>(f.integer("grayfore", look.grayFore, 0, kColour));
                look.selBack = static_cast<COLORREF>(f.integer("selback", look.selBack, 0, kColour));
                look.selFore = static_cast<COLORREF>(f.integer("selfore", look.selFore, 0, kColour));
                look.lockBack = static_cast<COLORREF>(f.integer("lockback", look.lockBack, 0, kColour));
                look.lockFore = static_cast<COLORREF>(f.integer("lockfore", look.lockFore, 0, kColour));
                look.cursor = static_cast<int>(f.integer("cursor", look.cursor, -1000, 1000));
                look.notes = static_cast<int>(f.integer("notes", look.notes, -1000, 1000));
                look.visCols = static_cast<int>(f.integer("visiblecols", look.visCols, 0, SS_MAX_COLS));
                look.visRows = static_cast<int>(f.integer("visiblerows", look.visRows, 0, SS_MAX_ROWS));
            } else if (kind == "texttip") {
                Fields f(tokens, 1, {"status", "delay", "back", "fore", "face", "height", "weight"});
                look.tip.status = static_cast<WORD>(f.integer("status", look.tip.status, 0, SS_TEXTTIP_FLOATING));
                look.tip.delay = static_cast<DWORD>(f.integer("delay", look.tip.delay, 0, 0xFFFFFFFFLL));
                look.tip.back = static_cast<COLORREF>(f.integer("back", look.tip.back, 0, kColour));
                look.tip.fore = static_cast<COLORREF>(f.integer("fore", look.tip.fore, 0, kColour));
                if (auto face = f.text("face"))
                    look.tip.font.lfFaceName = face->substr(0, 255);
                look.tip.font.lfHeight = static_cast<LONG>(f.integer("height", look.tip.font.lfHeight, -10000, 10000));
                look.tip.font.lfWeight = static_cast<LONG>(f.integer("weight", look.tip.font.lfWeight, 0, 1000));
            } else if (kind == "colwidth") {
                const int col = static_cast<int>(bare(1, 0, sheet.cols(), "the column"));
                sheet.setColWidth(col, static_cast<int>(bare(2, 0, 100000, "the width")));
                if (tokens.size() > 3)
                    fail("unexpected text after the width");
            } else if (kind == "rowheight") {
                const int row = static_cast<int>(bare(1, 0, sheet.rows(), "the row"));
                sheet.setRowHeight(row, static_cast<int>(bare(2, 0, 100000, "the height")));
                if (tokens.size() > 3)
                    fail("unexpected text after the height");
            } else if (kind == "span") {
                Span s;
                s.col = static_cast<int>(bare(1, 0, sheet.cols(), "the column"));
                s.row = static_cast<int>(bare(2, 0, sheet.rows(), "the row"));
                s.cols = static_cast<int>(bare(3, 1, SS_MAX_COLS, "the column count"));
                s.rows = static_cast<int>(bare(4, 1, SS_MAX_ROWS, "the row count"));
                if (tokens.size() > 5)
                    fail("unexpected text after the span");
                if (!sheet.addSpan(s))
                    fail("the joined block leaves the sheet, is one cell or overlaps another");
            } else if (kind == "end") {
                if (tokens.size() > 1)
                    fail("unexpected text after end");
                ended = true;
            } else {
                fail("unknown record \"" + std::string(tokens[0].raw.substr(0, 40)) + "\"");
            }
        }
        if (lineNo == 0)
            fail("the file is empty");
        if (pending)
            fail("the data of picture " + std::to_string(pending->id) + " is cut short");
        if (!ended)
            fail("the file is cut short (no end line)");
    } catch (const LineError& e) {
        error = "\"" + name + "\" line " + std::to_string(lineNo) + ": " + e.message;
        return false;
    } catch (const std::bad_alloc&) {
        error = "\"" + name + "\": not enough memory to load it";
        return false;
    }
    if (!g.commitEdit())
        g.cancelEdit();
    g.replaceSheet(std::move(sheet));
    if (haveOptions) {
        const bool redraw = g.option(SSB_REDRAW);
        for (int i = 0; i < SSB_COUNT; ++i)
            g.setOption(i, options.test(static_cast<size_t>(i)));
        g.setOption(SSB_REDRAW, redraw);  // painting is the owner's business, not the file's
    }
    g.refStyle = refStyle;
    g.appearance = look.appearance;
    g.enterAction = look.enter;
    g.gridType = static_cast<WORD>(look.gridType);
    g.gridColor = look.gridColor;
    g.grayBack = look.grayBack;
    g.grayFore = look.grayFore;
    g.selBack = look.selBack;
    g.selFore = look.selFore;
    g.lockBack = look.lockBack;
    g.lockFore = look.lockFore;
    g.cursorType = look.cursor;
    g.noteIndicator = look.notes;
    g.autoSizeCols = look.visCols;
    g.autoSizeRows = look.visRows;
    g.textTip = look.tip;
    g.setOption(SSB_CHANGEMADE, false);
    if (SheetFormulas* f = g.formulas()) {
        f->sheetLoaded();
    } else if (g.hook) {
        g.hook->refStyleChanged(g.hwnd(), refStyle);
        g.sheet().forEachCell([&](int c, int r, const Cell& cell) {
            if (!cell.formula().empty())
                g.hook->formulaChanged(g.hwnd(), c, r, cell.formula());
        });
        if (g.option(SSB_AUTOCALC))
            g.hook->dataChanged(g.hwnd(), -1, -1);
    }
    if (g.option(SSB_REDRAW))
        InvalidateRect(g.hwnd(), nullptr, FALSE);
    error.clear();
    return true;
}

namespace {

void appendCsvField(std::string& out, const std::string& text)
{
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
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

bool readWholeFile(const std::string& path, std::string& out, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "Cannot open \"" + path + "\": " + std::generic_category().message(errno);
        return false;
    }
    out.clear();
    char buf[1 << 16];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        out.append(buf, n);
        if (out.size() > kMaxFileBytes) {
            std::fclose(f);
            error = "\"" + path + "\" is larger than 512 MiB; it is no sheet file";
            return false;
        }
    }
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) {
        error = "Cannot read \"" + path + "\"";
        return false;
    }
    return true;
}

} // namespace

std::string writeCsv(const Grid& g)
{
    const Sheet& s = g.sheet();
    int lastRow = 0, lastCol = 0;
    s.forEachCell([&](int c, int r, const Cell& cell) {
        if (c >= 1 && r >= 1 && !cell.data.empty()) {
            lastRow = std::max(lastRow, r);
            lastCol = std::max(lastCol, c);
        }
    });
    std::string out;
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastCol; ++c) {
            if (c > 1)
                out += ',';
            appendCsvField(out, g.data(c, r));
        }
        out += "\r\n";
    }
    return out;
}

} // namespace kxgrid::detail

using kxgrid::detail::Grid;
using kxgrid::detail::gridOf;

BOOL SSSaveToFile(HWND hwnd, LPCSTR fileName, BOOL dataOnly)
{
    Grid* g = gridOf(hwnd);
    if (!g)
        return FALSE;
    try {
        if (!fileName || !*fileName) {
            g->lastError = "Cannot save: no file name";
            return FALSE;
        }
        if (!g->commitEdit())
            g->cancelEdit();
        const std::string text = kxgrid::detail::writeSheet(*g, dataOnly != FALSE);
        if (!kxwin::saveFileAtomically(fileName, text, g->lastError))
            return FALSE;
        g->lastError.clear();
        g->setOption(SSB_CHANGEMADE, false);
        return TRUE;
    } catch (...) {
        g->lastError = "Cannot save: not enough memory";
        return FALSE;
    }
}

BOOL SSLoadFromFile(HWND hwnd, LPCSTR fileName)
{
    Grid* g = gridOf(hwnd);
    if (!g)
        return FALSE;
    try {
        if (!fileName || !*fileName) {
            g->lastError = "Cannot load: no file name";
            return FALSE;
        }
        // A save of this file that was killed midway left its temporary file behind.
        kxwin::removeStaleTemporaryFiles(fileName);
        std::string text;
        if (!kxgrid::detail::readWholeFile(fileName, text, g->lastError))
            return FALSE;
        return kxgrid::detail::readSheet(*g, text, fileName, g->lastError) ? TRUE : FALSE;
    } catch (...) {
        g->lastError = "Cannot load: not enough memory";
        return FALSE;
    }
}

BOOL SSExportToCSV(HWND hwnd, LPCSTR fileName)
{
    Grid* g = gridOf(hwnd);
    if (!g)
        return FALSE;
    try {
        if (!fileName || !*fileName) {
            g->lastError = "Cannot export: no file name";
            return FALSE;
        }
        return kxwin::saveFileAtomically(fileName, kxgrid::detail::writeCsv(*g), g->lastError) ? TRUE : FALSE;
    } catch (...) {
        g->lastError = "Cannot export: not enough memory";
        return FALSE;
    }
}

namespace kxgrid {

bool sheetText(HWND grid, std::string& out, bool dataOnly)
{
    Grid* g = gridOf(grid);
    if (!g)
        return false;
    try {
        out = detail::writeSheet(*g, dataOnly);
        return true;
    } catch (...) {
        return false;
    }
}

bool loadSheetText(HWND grid, std::string_view text, std::string* error, const std::string& name)
{
    Grid* g = gridOf(grid);
    if (!g) {
        if (error)
            *error = "the window is no grid";
        return false;
    }
    try {
        std::string why;
        const bool ok = detail::readSheet(*g, text, name, why);
        g->lastError = why;
        if (error)
            *error = why;
        return ok;
    } catch (...) {
        if (error)
            *error = "not enough memory";
        return false;
    }
}

bool csvText(HWND grid, std::string& out)
{
    Grid* g = gridOf(grid);
    if (!g)
        return false;
    try {
        out = detail::writeCsv(*g);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace kxgrid
