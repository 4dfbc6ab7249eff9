// The header and footer file format and its placeholders.
#include "print/HeaderFooter.h"
#include "print/PageSetup.h"

#include "core/Cp1252.h"
#include "core/FileIO.h"
#include "core/Paths.h"

#include <cctype>

namespace kxprint {

namespace {

bool isUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        if (c < 0x80)
            n = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        if (n > s.size() - i - 1)
            return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n + 1;
    }
    return true;
}

} // namespace

bool parseHeaderFooter(std::string_view raw, HeaderFooter& out, std::string& error)
{
    if (raw.substr(0, 3) == "\xEF\xBB\xBF")
        raw.remove_prefix(3);
    if (raw.find('\0') != std::string_view::npos) {
        error = "the text holds a NUL byte";
        return false;
    }
    const std::string text = isUtf8(raw) ? std::string(raw) : kx::windows1252ToUtf8(raw);
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (lines.size() > kMaxHeaderFooterLines) {
        error = "more than " + std::to_string(kMaxHeaderFooterLines) + " lines";
        return false;
    }
    HeaderFooter result;
    for (size_t n = 0; n < lines.size(); ++n) {
        HeaderFooterLine parsed;
        size_t part = 0, start = 0;
        const std::string& l = lines[n];
        for (size_t i = 0; i <= l.size(); ++i) {
            if (i < l.size() && l[i] != '\t')
                continue;
            if (part > 2) {
                error = "line " + std::to_string(n + 1) + ": more than three tab-separated parts";
                return false;
            }
            parsed.parts[part++] = l.substr(start, i - start);
            start = i + 1;
        }
        result.lines.push_back(std::move(parsed));
    }
    out = std::move(result);
    return true;
}

bool readHeaderFooterFile(const std::string& path, HeaderFooter& out, std::string& error)
{
    const auto native = kx::toNativePath(path);
    if (!native) {
        error = "\"" + path + "\": not a file name";
        return false;
    }
    std::string bytes, why;
    if (!kx::readFileBytes(*native, kMaxHeaderFooterBytes, bytes, why)) {
        error = "\"" + path + "\": " + why;
        return false;
    }
    if (!parseHeaderFooter(bytes, out, why)) {
        error = "\"" + path + "\": " + why;
        return false;
    }
    return true;
}

std::string fillPlaceholders(std::string_view text, const PrintVariables& variables, int page, int pages)
{
    return fillPlaceholders(text, variables, std::string_view(std::to_string(page)), std::to_string(pages));
}

std::string fillPlaceholders(std::string_view text, const PrintVariables& variables, std::string_view page,
                             std::string_view pages)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '{') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '{') {
            out += '{';
            ++i;
            continue;
        }
        const size_t close = text.find('}', i + 1);
        if (close == std::string_view::npos) {
            out += text.substr(i);
            break;
        }
        const std::string_view name = text.substr(i + 1, close - i - 1);
        const std::string* value = nullptr;
        std::string number;
        if (equalsIgnoringCase(name, "Page")) {
            number = page;
            value = &number;
        } else if (equalsIgnoringCase(name, "Pages")) {
            number = pages;
            value = &number;
        } else {
            for (const auto& [varName, varValue] : variables)
                if (equalsIgnoringCase(name, varName)) {
                    value = &varValue;
                    break;
                }
        }
        if (value == nullptr) {
            out += text.substr(i, close - i + 1);
        } else {
            out += *value;
        }
        i = close;
    }
    return out;
}

} // namespace kxprint
