// Parser and writer of dialog template files.
#include "platform/win/ResourceScript.h"

#include "platform/win/Messages.h"

#include <charconv>
#include <limits>
#include <map>

namespace kxwin {

namespace {

// Control-specific styles that are not in Messages.h, numbered as the framework numbers them.
constexpr DWORD TCS_TABS = 0x0000;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_AUTOARRANGE = 0x0100;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;

const std::map<std::string_view, DWORD>& styles()
{
    static const std::map<std::string_view, DWORD> table = {
        {"WS_OVERLAPPED", WS_OVERLAPPED}, {"WS_POPUP", WS_POPUP}, {"WS_CHILD", WS_CHILD},
        {"WS_VISIBLE", WS_VISIBLE}, {"WS_DISABLED", WS_DISABLED}, {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
        {"WS_CLIPCHILDREN", WS_CLIPCHILDREN}, {"WS_CAPTION", WS_CAPTION}, {"WS_BORDER", WS_BORDER},
        {"WS_DLGFRAME", WS_DLGFRAME}, {"WS_VSCROLL", WS_VSCROLL}, {"WS_HSCROLL", WS_HSCROLL},
        {"WS_SYSMENU", WS_SYSMENU}, {"WS_THICKFRAME", WS_THICKFRAME}, {"WS_GROUP", WS_GROUP},
        {"WS_TABSTOP", WS_TABSTOP}, {"WS_MINIMIZEBOX", WS_MINIMIZEBOX}, {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
        {"WS_OVERLAPPEDWINDOW", WS_OVERLAPPEDWINDOW},
        {"WS_EX_TOPMOST", WS_EX_TOPMOST}, {"WS_EX_TRANSPARENT", WS_EX_TRANSPARENT},
        {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE}, {"WS_EX_CONTROLPARENT", WS_EX_CONTROLPARENT},
        {"DS_SETFONT", DS_SETFONT}, {"DS_MODALFRAME", DS_MODALFRAME}, {"DS_CONTROL", DS_CONTROL},
        {"DS_CENTER", DS_CENTER},
        {"BS_PUSHBUTTON", BS_PUSHBUTTON}, {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON}, {"BS_CHECKBOX", BS_CHECKBOX},
        {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX}, {"BS_RADIOBUTTON", BS_RADIOBUTTON}, {"BS_3STATE", BS_3STATE},
        {"BS_AUTO3STATE", BS_AUTO3STATE}, {"BS_GROUPBOX", BS_GROUPBOX}, {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
        {"BS_OWNERDRAW", BS_OWNERDRAW}, {"BS_LEFTTEXT", BS_LEFTTEXT}, {"BS_ICON", BS_ICON}, {"BS_BITMAP", BS_BITMAP},
        {"BS_PUSHLIKE", BS_PUSHLIKE}, {"BS_MULTILINE", BS_MULTILINE}, {"BS_FLAT", BS_FLAT},
        {"ES_LEFT", ES_LEFT}, {"ES_CENTER", ES_CENTER}, {"ES_RIGHT", ES_RIGHT}, {"ES_MULTILINE", ES_MULTILINE},
        {"ES_UPPERCASE", ES_UPPERCASE}, {"ES_LOWERCASE", ES_LOWERCASE}, {"ES_PASSWORD", ES_PASSWORD},
        {"ES_AUTOVSCROLL", ES_AUTOVSCROLL}, {"ES_AUTOHSCROLL", ES_AUTOHSCROLL}, {"ES_READONLY", ES_READONLY},
        {"ES_WANTRETURN", ES_WANTRETURN}, {"ES_NUMBER", ES_NUMBER},
        {"CBS_SIMPLE", CBS_SIMPLE}, {"CBS_DROPDOWN", CBS_DROPDOWN}, {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
        {"CBS_OWNERDRAWFIXED", CBS_OWNERDRAWFIXED}, {"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL}, {"CBS_SORT", CBS_SORT},
        {"CBS_HASSTRINGS", CBS_HASSTRINGS},
        {"LBS_NOTIFY", LBS_NOTIFY}, {"LBS_SORT", LBS_SORT}, {"LBS_MULTIPLESEL", LBS_MULTIPLESEL},
        {"LBS_HASSTRINGS", LBS_HASSTRINGS}, {"LBS_EXTENDEDSEL", LBS_EXTENDEDSEL},
        {"SS_LEFT", SS_LEFT}, {"SS_CENTER", SS_CENTER}, {"SS_RIGHT", SS_RIGHT}, {"SS_ICON", SS_ICON},
        {"SS_BLACKRECT", SS_BLACKRECT}, {"SS_ETCHEDFRAME", SS_ETCHEDFRAME}, {"SS_BITMAP", SS_BITMAP},
        {"SS_NOTIFY", SS_NOTIFY}, {"SS_CENTERIMAGE", SS_CENTERIMAGE}, {"SS_SUNKEN", SS_SUNKEN},
        {"TCS_TABS", TCS_TABS}, {"TCS_MULTILINE", TCS_MULTILINE}, {"TCS_FIXEDWIDTH", TCS_FIXEDWIDTH},
        {"LVS_ICON", LVS_ICON}, {"LVS_REPORT", LVS_REPORT}, {"LVS_SMALLICON", LVS_SMALLICON}, {"LVS_LIST", LVS_LIST},
        {"LVS_SINGLESEL", LVS_SINGLESEL}, {"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS},
        {"LVS_AUTOARRANGE", LVS_AUTOARRANGE}, {"LVS_NOCOLUMNHEADER", LVS_NOCOLUMNHEADER},
    };
    return table;
}

// Splits a line into tokens: words, quoted strings (with \" \\ \n \t escapes) and '|'.
struct Token {
    enum Kind { Word, String, Bar } kind;
    std::string text;
};

bool tokenize(std::string_view line, std::vector<Token>& out, std::string& why)
{
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '|') {
            out.push_back({Token::Bar, "|"});
            ++i;
        } else if (c == '"') {
            std::string text;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\') {
                    if (i >= line.size()) {
                        why = "a backslash ends the line inside a text";
                        return false;
                    }
                    const char e = line[i++];
                    switch (e) {
                    case 'n': text += '\n'; break;
                    case 't': text += '\t'; break;
                    case '"': text += '"'; break;
                    case '\\': text += '\\'; break;
                    default:
                        why = std::string("unknown escape \\") + e + " in a text";
                        return false;
                    }
                } else {
                    text += d;
                }
            }
            if (!closed) {
                why = "a text is not closed by a double quote";
                return false;
            }
            out.push_back({Token::String, std::move(text)});
        } else {
            size_t j = i;
            while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '|' && line[j] != '"' &&
                   line[j] != '#' && line[j] != '\r')
                ++j;
            out.push_back({Token::Word, std::string(line.substr(i, j - i))});
            i = j;
        }
    }
    return true;
}

template <typename T>
bool parseNumber(const std::string& word, T& value)
{
    const char* first = word.data();
    const char* last = word.data() + word.size();
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        first += 2;
        base = 16;
    }
    if (first == last)
        return false;
    const auto [end, ec] = std::from_chars(first, last, value, base);
    return ec == std::errc() && end == last;
}

// A style expression: names and numbers joined by '|', starting at token `pos`.
bool parseStyle(const std::vector<Token>& tokens, size_t& pos, DWORD& style, std::string& why)
{
    style = 0;
    bool expectOperand = true;
    while (pos < tokens.size()) {
        const Token& t = tokens[pos];
        if (expectOperand) {
            if (t.kind != Token::Word) {
                why = "a style name or number was expected";
                return false;
            }
            if (auto v = styleValue(t.text)) {
                style |= *v;
            } else {
                DWORD number = 0;
                if (!parseNumber(t.text, number)) {
                    // Not a style: the expression ended before this token.
                    break;
                }
                style |= number;
            }
            expectOperand = false;
            ++pos;
        } else {
            if (t.kind != Token::Bar)
                break;
            expectOperand = true;
            ++pos;
        }
    }
    if (expectOperand) {
        why = pos < tokens.size() ? "unknown style \"" + tokens[pos].text + "\"" : "a style is missing after '|'";
        return false;
    }
    return true;
}

bool parseShorts(const std::vector<Token>& tokens, size_t pos, short* out, int count, std::string& why)
{
    if (tokens.size() < pos + static_cast<size_t>(count)) {
        why = "expected " + std::to_string(count) + " numbers (x y width height in dialog units)";
        return false;
    }
    for (int k = 0; k < count; ++k) {
        const Token& t = tokens[pos + static_cast<size_t>(k)];
        int value = 0;
        if (t.kind != Token::Word || !parseNumber(t.text, value) || value < 0 || value > 32767) {
            why = "\"" + t.text + "\" is not a size in dialog units (0 to 32767)";
            return false;
        }
        out[k] = static_cast<short>(value);
    }
    return true;
}

std::string quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string hex(DWORD v)
{
    char buffer[16];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, 16);
    return "0x" + std::string(buffer, end);
}

} // namespace

std::optional<DWORD> styleValue(std::string_view name)
{
    auto it = styles().find(name);
    if (it == styles().end())
        return std::nullopt;
    return it->second;
}

std::optional<std::vector<DialogTemplate>> parseDialogTemplates(std::string_view text, ResourceScriptError& error)
{
    std::vector<DialogTemplate> dialogs;
    DialogTemplate* current = nullptr;
    int lineNumber = 0;
    size_t start = 0;
    auto fail = [&](std::string why) {
        error = ResourceScriptError{lineNumber, std::move(why)};
        return std::nullopt;
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        start = 3;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.find('\0') != std::string_view::npos)
            return fail("the line holds a NUL byte");

        std::vector<Token> tokens;
        std::string why;
        if (!tokenize(line, tokens, why))
            return fail(why);
        if (tokens.empty())
            continue;
        if (tokens[0].kind != Token::Word)
            return fail("a line must start with a keyword");
        const std::string& keyword = tokens[0].text;

        if (keyword == "DIALOG") {
            if (current != nullptr)
                return fail("DIALOG inside the dialog " + std::to_string(current->id) + " (END is missing)");
            int id = 0;
            if (tokens.size() != 2 || !parseNumber(tokens[1].text, id) || id <= 0 || id > 65535)
                return fail("DIALOG needs one id from 1 to 65535");
            for (const auto& d : dialogs) {
                if (d.id == id)
                    return fail("dialog " + std::to_string(id) + " is defined twice");
            }
            dialogs.emplace_back();
            current = &dialogs.back();
            current->id = id;
            continue;
        }
        if (current == nullptr)
            return fail("\"" + keyword + "\" outside a DIALOG block");
        if (keyword == "END") {
            if (tokens.size() != 1)
                return fail("END takes nothing after it");
            current = nullptr;
        } else if (keyword == "TITLE") {
            if (tokens.size() != 2 || tokens[1].kind != Token::String)
                return fail("TITLE needs one quoted text");
            current->title = tokens[1].text;
        } else if (keyword == "SIZE") {
            short v[4];
            if (tokens.size() != 5 || !parseShorts(tokens, 1, v, 4, why))
                return fail(why.empty() ? "SIZE needs x y width height" : why);
            current->x = v[0];
            current->y = v[1];
            current->cx = v[2];
            current->cy = v[3];
        } else if (keyword == "STYLE" || keyword == "EXSTYLE") {
            size_t pos = 1;
            DWORD style = 0;
            if (!parseStyle(tokens, pos, style, why))
                return fail(why);
            if (pos != tokens.size())
                return fail("unknown style \"" + tokens[pos].text + "\"");
            (keyword == "STYLE" ? current->style : current->exStyle) = style;
        } else if (keyword == "FONT") {
            int size = 0;
            if (tokens.size() != 3 || !parseNumber(tokens[1].text, size) || size < 4 || size > 72 ||
                tokens[2].kind != Token::String)
                return fail("FONT needs a point size from 4 to 72 and a quoted face name");
            current->fontPointSize = size;
            current->fontFace = tokens[2].text;
        } else if (keyword == "CONTROL") {
            // CONTROL id class "text" style x y cx cy [EXSTYLE style]
            DialogItemTemplate item;
            if (tokens.size() < 4)
                return fail("CONTROL needs an id, a class, a text, a style and x y width height");
            if (!parseNumber(tokens[1].text, item.id) || item.id < -1 || item.id > 65535)
                return fail("\"" + tokens[1].text + "\" is not a control id (-1 to 65535)");
            if (tokens[2].kind != Token::Word && tokens[2].kind != Token::String)
                return fail("a control class name was expected");
            item.className = tokens[2].text;
            if (tokens[3].kind != Token::String)
                return fail("the control's text must be quoted");
            item.text = tokens[3].text;
            size_t pos = 4;
            if (!parseStyle(tokens, pos, item.style, why))
                return fail(why);
            short v[4];
            if (!parseShorts(tokens, pos, v, 4, why))
                return fail(why);
            item.x = v[0];
            item.y = v[1];
            item.cx = v[2];
            item.cy = v[3];
            pos += 4;
            if (pos < tokens.size()) {
                if (tokens[pos].text != "EXSTYLE" || tokens[pos].kind != Token::Word)
                    return fail("unexpected \"" + tokens[pos].text + "\" after the control's size");
                ++pos;
                if (!parseStyle(tokens, pos, item.exStyle, why))
                    return fail(why);
                if (pos != tokens.size())
                    return fail("unknown style \"" + tokens[pos].text + "\"");
            }
            for (const auto& other : current->items) {
                if (other.id == item.id && item.id > 0)
                    return fail("control id " + std::to_string(item.id) + " is used twice in dialog " +
                                std::to_string(current->id));
            }
            current->items.push_back(std::move(item));
        } else {
            return fail("unknown keyword \"" + keyword + "\"");
        }
    }
    if (current != nullptr) {
        error = ResourceScriptError{lineNumber, "dialog " + std::to_string(current->id) + " has no END"};
        return std::nullopt;
    }
    return dialogs;
}

std::string formatDialogTemplate(const DialogTemplate& d)
{
    std::string out = "DIALOG " + std::to_string(d.id) + "\n";
    out += "TITLE " + quote(d.title) + "\n";
    out += "SIZE " + std::to_string(d.x) + " " + std::to_string(d.y) + " " + std::to_string(d.cx) + " " +
           std::to_string(d.cy) + "\n";
    out += "STYLE " + hex(d.style) + "\n";
    if (d.exStyle != 0)
        out += "EXSTYLE " + hex(d.exStyle) + "\n";
    out += "FONT " + std::to_string(d.fontPointSize) + " " + quote(d.fontFace) + "\n";
    for (const auto& item : d.items) {
        out += "CONTROL " + std::to_string(item.id) + " " + quote(item.className) + " " + quote(item.text) + " " +
               hex(item.style) + " " + std::to_string(item.x) + " " + std::to_string(item.y) + " " +
               std::to_string(item.cx) + " " + std::to_string(item.cy);
        if (item.exStyle != 0)
            out += " EXSTYLE " + hex(item.exStyle);
        out += "\n";
    }
    out += "END\n";
    return out;
}

} // namespace kxwin
