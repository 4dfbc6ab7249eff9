// The MENU resource text format: a line-by-line parser with an explicit stack (no recursion, so no
// input can exhaust the call stack), the matching writer, and the bridge to menu handles.
#include "platform/win/MenuResource.h"

#include "platform/win/Menu.h"
#include "platform/win/Utf8.h"

#include <cstdio>
#include <new>

namespace kxwin {

namespace {

using Item = MenuTemplateItem;

struct Option {
    const char* name;
    UINT flag;
};

// In the order the writer puts them.
constexpr Option kOptions[] = {
    {"GRAYED", MF_GRAYED},         {"INACTIVE", MF_DISABLED},        {"CHECKED", MF_CHECKED},
    {"RADIO", MFT_RADIOCHECK},     {"MENUBREAK", MF_MENUBREAK},      {"MENUBARBREAK", MF_MENUBARBREAK},
    {"DEFAULT", MF_DEFAULT},       {"HELP", MF_RIGHTJUSTIFY},
};

struct Token {
    enum class Type { Word, Number, Text, Comma };
    Type type = Type::Word;
    std::string value;
};

struct Failure {
    std::string reason;
};

std::string byteText(unsigned char c)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", c);
    return buffer;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isWordChar(char c)
{
    return isWordStart(c) || (c >= '0' && c <= '9');
}

// Reads a quoted text starting at line[pos] == '"'; pos ends after the closing quote.
std::string readText(std::string_view line, std::size_t& pos)
{
    std::string out;
    ++pos;
    while (true) {
        if (pos >= line.size())
            throw Failure{"a text without its closing quote"};
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (pos + 1 >= line.size())
                throw Failure{"a text without its closing quote"};
            const char e = line[pos + 1];
            pos += 2;
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'x': {
                const int hi = pos < line.size() ? hexDigit(line[pos]) : -1;
                const int lo = pos + 1 < line.size() ? hexDigit(line[pos + 1]) : -1;
                if (hi < 0 || lo < 0)
                    throw Failure{"\\x in a text needs two hexadecimal digits"};
                const int value = hi * 16 + lo;
                // Only for the control bytes that cannot be written plainly; the rest is UTF-8 text.
                if (value == 0 || (value >= 0x20 && value != 0x7F))
                    throw Failure{"\\x" + std::string(line.substr(pos, 2)) + " in a text: \\x is for control bytes 01 to 1F and 7F"};
                out += static_cast<char>(value);
                pos += 2;
                break;
            }
            default:
                throw Failure{std::string("unknown escape \\") + (static_cast<unsigned char>(e) < 0x20 ? byteText(static_cast<unsigned char>(e)) : std::string(1, e)) +
                              " in a text"};
            }
            continue;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t')
            throw Failure{"control byte " + byteText(u) + " in a text (write it as \\x" + byteText(u).substr(2) + ")"};
        const auto n = static_cast<std::size_t>(kxutf8::sequenceLength(line, pos));
        if (n == 0)
            throw Failure{"invalid UTF-8 (byte " + byteText(u) + ") in a text"};
        out.append(line.substr(pos, n));
        pos += n;
    }
}

std::vector<Token> tokenize(std::string_view line)
{
    std::vector<Token> tokens;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == ' ' || c == '\t') {
            ++pos;
        } else if (c == '#') {
            break;
        } else if (c == ',') {
            tokens.push_back({Token::Type::Comma, ","});
            ++pos;
        } else if (c == '"') {
            tokens.push_back({Token::Type::Text, readText(line, pos)});
        } else if (isWordStart(c)) {
            const std::size_t start = pos;
            while (pos < line.size() && isWordChar(line[pos]))
                ++pos;
            tokens.push_back({Token::Type::Word, std::string(line.substr(start, pos - start))});
        } else if ((c >= '0' && c <= '9') || c == '-' || c == '+') {
            // Everything up to the next separator, so "12abc" and "1e5" are reported whole.
            const std::size_t start = pos;
            ++pos;
            while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != ',' && line[pos] != '#')
                ++pos;
            tokens.push_back({Token::Type::Number, std::string(line.substr(start, pos - start))});
        } else {
            const auto u = static_cast<unsigned char>(c);
            throw Failure{"unexpected " + (u < 0x20 || u >= 0x7F ? "byte " + byteText(u) : "character '" + std::string(1, c) + "'")};
        }
    }
    return tokens;
}

UINT commandId(const std::string& text)
{
    const std::string shown = text.size() > 20 ? text.substr(0, 20) + "..." : text;
    bool digits = !text.empty();
    for (char c : text)
        digits = digits && c >= '0' && c <= '9';
    if (digits && text.size() > 1 && text[0] == '0')
        throw Failure{"command id " + shown + " has a leading zero"};
    if (!digits || text.size() > 5 || std::stoul(text) > 65535 || std::stoul(text) == 0)
        throw Failure{"command id " + shown + " is not a number from 1 to 65535"};
    return static_cast<UINT>(std::stoul(text));
}

// Options after an item's text or id, separated by commas or spaces.
UINT readOptions(const std::vector<Token>& tokens, std::size_t from)
{
    UINT flags = 0;
    for (std::size_t i = from; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.type == Token::Type::Comma)
            continue;
        if (t.type != Token::Type::Word)
            throw Failure{"unexpected " + std::string(t.type == Token::Type::Text ? "text" : "number " + t.value) +
                          " where an option (GRAYED, INACTIVE, CHECKED, ...) belongs"};
        bool known = false;
        for (const Option& option : kOptions) {
            if (t.value == option.name) {
                flags |= option.flag;
                known = true;
            }
        }
        if (!known)
            throw Failure{"unknown option \"" + t.value + "\""};
    }
    return flags;
}

struct OpenPopup {
    Item item;
    int line = 0;
};

void parseLine(const std::vector<Token>& tokens, std::vector<OpenPopup>& stack, int lineNumber)
{
    if (tokens.empty())
        return;
    const Token& first = tokens[0];
    if (first.type != Token::Type::Word || (first.value != "POPUP" && first.value != "MENUITEM" && first.value != "END"))
        throw Failure{"a line starts with POPUP, MENUITEM or END, not " +
                      (first.type == Token::Type::Word ? "\"" + first.value + "\"" : std::string("this"))};
    if (first.value == "END") {
        if (tokens.size() > 1)
            throw Failure{"nothing may follow END"};
        if (stack.size() <= 1)
            throw Failure{"END without a POPUP to close"};
        OpenPopup done = std::move(stack.back());
        stack.pop_back();
        stack.back().item.items.push_back(std::move(done.item));
        return;
    }
    if (tokens.size() < 2)
        throw Failure{first.value + " needs its text in quotes"};
    if (first.value == "POPUP") {
        if (tokens[1].type != Token::Type::Text)
            throw Failure{"POPUP needs its text in quotes"};
        if (static_cast<int>(stack.size()) > kMaxMenuResourceDepth)
            throw Failure{"sub-menus nested deeper than " + std::to_string(kMaxMenuResourceDepth) + " levels"};
        OpenPopup popup;
        popup.item.kind = Item::Kind::Popup;
        popup.item.text = tokens[1].value;
        popup.item.flags = readOptions(tokens, 2);
        popup.line = lineNumber;
        stack.push_back(std::move(popup));
        return;
    }
    Item item;
    if (tokens[1].type == Token::Type::Word && tokens[1].value == "SEPARATOR") {
        if (tokens.size() > 2)
            throw Failure{"nothing may follow MENUITEM SEPARATOR"};
        item.kind = Item::Kind::Separator;
    } else {
        if (tokens[1].type != Token::Type::Text)
            throw Failure{"MENUITEM needs its text in quotes, or SEPARATOR"};
        std::size_t next = 2;
        if (next < tokens.size() && tokens[next].type == Token::Type::Comma)
            ++next;
        if (next >= tokens.size() || tokens[next].type != Token::Type::Number)
            throw Failure{"MENUITEM \"" + tokens[1].value.substr(0, 40) + "\" needs a command id"};
        item.kind = Item::Kind::Command;
        item.text = tokens[1].value;
        item.id = commandId(tokens[next].value);
        item.flags = readOptions(tokens, next + 1);
    }
    stack.back().item.items.push_back(std::move(item));
}

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\x%02X", u);
                out += buffer;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string optionsText(UINT flags)
{
    std::string out;
    for (const Option& option : kOptions) {
        if (flags & option.flag)
            out += std::string(", ") + option.name;
    }
    return out;
}

void writeItems(const std::vector<Item>& items, int depth, std::string& out)
{
    const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    for (const Item& item : items) {
        switch (item.kind) {
        case Item::Kind::Separator:
            out += indent + "MENUITEM SEPARATOR\n";
            break;
        case Item::Kind::Command:
            out += indent + "MENUITEM " + quote(item.text) + ", " + std::to_string(item.id) + optionsText(item.flags) + "\n";
            break;
        case Item::Kind::Popup:
            out += indent + "POPUP " + quote(item.text) + optionsText(item.flags) + "\n";
            writeItems(item.items, depth + 1, out);
            out += indent + "END\n";
            break;
        }
    }
}


// Fills `menu` from the items; levels deeper than the parser accepts are not made (a template
// built in code could nest without end).
bool fillMenu(HMENU menu, const std::vector<Item>& items, int depth)
{
    for (const Item& item : items) {
        const UINT flags = item.flags & kMenuTemplateFlags;
        BOOL ok = FALSE;
        switch (item.kind) {
        case Item::Kind::Separator:
            ok = AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case Item::Kind::Command:
            ok = AppendMenu(menu, MF_STRING | flags, item.id, item.text.c_str());
            break;
        case Item::Kind::Popup: {
            if (depth >= kMaxMenuResourceDepth)
                continue;
            HMENU sub = CreatePopupMenu();
            if (sub == nullptr)
                return false;
            if (!fillMenu(sub, item.items, depth + 1) ||
                !AppendMenu(menu, MF_POPUP | flags, reinterpret_cast<UINT_PTR>(sub), item.text.c_str())) {
                DestroyMenu(sub);
                return false;
            }
            ok = TRUE;
            break;
        }
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

std::string MenuParseResult::message() const
{
    return menu ? std::string() : "line " + std::to_string(line) + ": " + error;
}

MenuParseResult parseMenuResource(std::string_view text)
{
    MenuParseResult result;
    if (text.size() > kMaxMenuResourceBytes) {
        result.line = 1;
        result.error = "a menu resource of " + std::to_string(text.size()) + " bytes is over the limit of " +
                       std::to_string(kMaxMenuResourceBytes);
        return result;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<OpenPopup> stack(1);  // the bottom entry collects the top-level items
    int lineNumber = 0;
    std::size_t pos = 0;
    try {
        while (pos < text.size()) {
            ++lineNumber;
            std::size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = text.size();
            const std::string_view line = text.substr(pos, end - pos);
            pos = end;
            if (pos < text.size() && text[pos] == '\r')
                ++pos;
            if (pos < text.size() && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r'))
                ++pos;
            if (line.find('\0') != std::string_view::npos)
                throw Failure{"NUL byte"};
            parseLine(tokenize(line), stack, lineNumber);
        }
        if (stack.size() > 1) {
            const OpenPopup& open = stack.back();
            throw Failure{"POPUP " + quote(open.item.text.substr(0, 40)) + " of line " + std::to_string(open.line) +
                          " has no END"};
        }
        if (stack.back().item.items.empty()) {
            lineNumber = std::max(lineNumber, 1);
            throw Failure{"the menu has no items"};
        }
    } catch (const Failure& failure) {
        result.line = std::max(lineNumber, 1);
        result.error = failure.reason;
        return result;
    } catch (const std::bad_alloc&) {
        result.line = std::max(lineNumber, 1);
        result.error = "out of memory";
        return result;
    }
    result.menu = MenuTemplate{std::move(stack.back().item.items)};
    return result;
}

std::string writeMenuResource(const MenuTemplate& menu)
{
    std::string out;
    writeItems(menu.items, 0, out);
    return out;
}

HMENU createMenuFromTemplate(const MenuTemplate& menu)
{
    HMENU bar = CreateMenu();
    if (bar == nullptr)
        return nullptr;
    try {
        if (fillMenu(bar, menu.items, 0))
            return bar;
    } catch (const std::bad_alloc&) {
    }
    DestroyMenu(bar);
    return nullptr;
}

} // namespace kxwin
