// Quoted texts shared by the core's text formats.
#include "core/QuotedText.h"

#include "core/Utf8.h"

#include <cstdio>

namespace kxquoted {

// A piece of the input shown in a message: at most 40 bytes, control bytes as \xHH, so that a
// damaged file cannot flood or garble the command line.
std::string shown(std::string_view s)
{
    constexpr size_t kMaxShown = 40;
    std::string out = "\"";
    for (size_t i = 0; i < s.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (s.size() > kMaxShown)
        out += "...";
    out += '"';
    return out;
}

static void appendHexEscape(std::string& out, unsigned char c)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[c >> 4];
    out += kDigits[c & 0x0F];
}

// Text in double quotes. Line breaks, tabs, quotes, backslashes, control bytes and bytes that are
// not well-formed UTF-8 are escaped, so the file is one line per property, valid UTF-8, and shows
// leading and trailing blanks plainly; well-formed non-ASCII text is written as it is.
void appendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"': out += "\\\""; ++i; continue;
        case '\\': out += "\\\\"; ++i; continue;
        case '\n': out += "\\n"; ++i; continue;
        case '\r': out += "\\r"; ++i; continue;
        case '\t': out += "\\t"; ++i; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F) {
            appendHexEscape(out, c);
            ++i;
            continue;
        }
        const auto n = static_cast<size_t>(kxutf8::sequenceLength(text, i));
        if (n == 0) {
            appendHexEscape(out, c);
            ++i;
            continue;
        }
        out.append(text, i, n);
        i += n;
    }
    out += '"';
}

static int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the quoted text that starts at s[i] == '"' into out and moves i past the closing quote.
// False with why on a missing quote or a bad escape.
bool readQuoted(std::string_view s, size_t& i, std::string& out, std::string& why)
{
    ++i;
    while (i < s.size()) {
        // Copy the plain run in one go: most texts hold no escapes.
        size_t run = i;
        while (run < s.size() && s[run] != '"' && s[run] != '\\')
            ++run;
        out.append(s, i, run - i);
        i = run;
        if (i == s.size())
            break;
        if (s[i] == '"') {
            ++i;
            return true;
        }
        if (i + 1 == s.size())
            break;
        const char e = s[i + 1];
        i += 2;
        switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            const int hi = i < s.size() ? hexDigit(s[i]) : -1;
            const int lo = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
                why = "\\x must be followed by two hexadecimal digits";
                return false;
            }
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            why = "unknown escape " + shown(std::string_view(&s[i - 2], 2))
                + " (known are \\\" \\\\ \\n \\r \\t \\xHH)";
            return false;
        }
    }
    why = "the closing quote is missing";
    return false;
}

} // namespace kxquoted
