// Kx_PropertiesList: the store, and the reader and writer of the property-list text format.
// The format is described for people in docs/property-list-format.md; keep the two in step.
#include "core/Kx_PropertiesList.h"

#include "core/FileIO.h"
#include "core/SaveFile.h"
#include "core/QuotedText.h"
#include "core/Utf8.h"
#include "platform/host/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace {

using kxquoted::appendQuoted;
using kxquoted::readQuoted;
using kxquoted::shown;

using Value = std::variant<int, double, std::string>;

struct Property {
    std::string name;
    Value value;
};

constexpr std::string_view kHeader = "# KESTRA_SS property list\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(std::string_view s, size_t i)
{
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

std::string_view trimBlanksRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isBareNameByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.'
        || c == '-';
}

void appendName(std::string& out, std::string_view name)
{
    const bool bare = !name.empty() && std::all_of(name.begin(), name.end(), isBareNameByte);
    if (bare)
        out += name;
    else
        appendQuoted(out, name);
}

void appendProperty(std::string& out, const Property& p)
{
    char number[64];
    if (const int* i = std::get_if<int>(&p.value)) {
        out += "int ";
        appendName(out, p.name);
        out += " = ";
        const auto r = std::to_chars(number, number + sizeof number, *i);
        out.append(number, r.ptr);
    } else if (const double* d = std::get_if<double>(&p.value)) {
        out += "double ";
        appendName(out, p.name);
        out += " = ";
        // Shortest form that reads back to the same bits; never the process locale.
        const auto r = std::to_chars(number, number + sizeof number, *d);
        out.append(number, r.ptr);
    } else {
        out += "text ";
        appendName(out, p.name);
        out += " = ";
        appendQuoted(out, std::get<std::string>(p.value));
    }
    out += '\n';
}

template <typename T>
bool readNumber(std::string_view token, T& value, const char* kind, std::string& why)
{
    if (token.empty()) {
        why = "the value is missing";
        return false;
    }
    T parsed{};
    std::from_chars_result r;
    if constexpr (std::is_same_v<T, double>)
        r = std::from_chars(token.data(), token.data() + token.size(), parsed, std::chars_format::general);
    else
        r = std::from_chars(token.data(), token.data() + token.size(), parsed);
    if (r.ec == std::errc::result_out_of_range) {
        why = shown(token) + " is out of the range of " + kind;
        return false;
    }
    if (r.ec != std::errc() || r.ptr != token.data() + token.size()) {
        why = shown(token) + " is not " + (std::is_same_v<T, double> ? "a number" : "a whole number");
        return false;
    }
    value = parsed;
    return true;
}

enum class LineKind { Empty, Property, Error };

LineKind readLine(std::string_view s, Property& p, std::string& why)
{
    size_t i = skipBlanks(s, 0);
    if (i == s.size() || s[i] == '#')
        return LineKind::Empty;

    size_t end = i;
    while (end < s.size() && !isBlank(s[end]) && s[end] != '=' && s[end] != '"')
        ++end;
    const std::string_view type = s.substr(i, end - i);
    int kind = -1;
    if (type == "int")
        kind = 0;
    else if (type == "double")
        kind = 1;
    else if (type == "text")
        kind = 2;
    if (kind < 0) {
        why = "unknown type " + shown(type) + " (expected int, double or text)";
        return LineKind::Error;
    }

    i = skipBlanks(s, end);
    if (i == end || i == s.size()) {
        why = "a blank and a name must follow the type";
        return LineKind::Error;
    }
    if (s[i] == '"') {
        if (!readQuoted(s, i, p.name, why)) {
            why = "in the name: " + why;
            return LineKind::Error;
        }
    } else {
        end = i;
        while (end < s.size() && !isBlank(s[end]) && s[end] != '=' && s[end] != '"')
            ++end;
        if (end < s.size() && s[end] == '"') {
            why = "a name holding '\"' must be written in double quotes";
            return LineKind::Error;
        }
        if (end == i) {
            why = "the name is missing";
            return LineKind::Error;
        }
        p.name.assign(s.substr(i, end - i));
        i = end;
    }

    i = skipBlanks(s, i);
    if (i == s.size() || s[i] != '=') {
        why = "'=' must follow the name";
        return LineKind::Error;
    }
    const std::string_view value = trimBlanksRight(s.substr(skipBlanks(s, i + 1)));

    switch (kind) {
    case 0: {
        int v = 0;
        if (!readNumber(value, v, "int", why))
            return LineKind::Error;
        p.value = v;
        return LineKind::Property;
    }
    case 1: {
        double v = 0;
        if (!readNumber(value, v, "double", why))
            return LineKind::Error;
        p.value = v;
        return LineKind::Property;
    }
    default: {
        if (value.empty() || value.front() != '"') {
            why = "a text value must be written in double quotes";
            return LineKind::Error;
        }
        std::string text;
        size_t k = 0;
        if (!readQuoted(value, k, text, why))
            return LineKind::Error;
        if (k != value.size()) {
            why = "unexpected characters after the closing quote: " + shown(value.substr(k));
            return LineKind::Error;
        }
        p.value = std::move(text);
        return LineKind::Property;
    }
    }
}

} // namespace

struct Kx_PropertiesList::Impl {
    std::vector<Property> properties;
    std::unordered_map<std::string, size_t> index;

    const Property* find(const std::string& name) const
    {
        const auto it = index.find(name);
        return it == index.end() ? nullptr : &properties[it->second];
    }

    // Adds a new name at the end or replaces the value of an existing one in place. On an
    // allocation failure nothing has changed.
    void set(const std::string& name, Value value)
    {
        if (const auto it = index.find(name); it != index.end()) {
            properties[it->second].value = std::move(value);
            return;
        }
        properties.push_back(Property{name, std::move(value)});
        try {
            index.emplace(name, properties.size() - 1);
        } catch (...) {
            properties.pop_back();
            throw;
        }
    }

    // Parses text into this (which must be empty). False with why and the line number on the
    // first damaged line.
    bool parse(std::string_view text, std::string& why, size_t& lineNumber)
    {
        lineNumber = 0;
        if (text.size() > kx::kMaxTextFileBytes) {
            why = "the file has " + std::to_string(text.size()) + " bytes, more than the limit of "
                + std::to_string(kx::kMaxTextFileBytes);
            return false;
        }
        const std::string_view start = text.substr(0, 2);
        if (start == "\xFF\xFE" || start == "\xFE\xFF") {
            why = "the file is UTF-16 text; property lists are UTF-8";
            return false;
        }
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);

        size_t pos = 0;
        while (pos < text.size()) {
            ++lineNumber;
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = text.size();
            const std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;

            if (line.size() > kx::kMaxTextLineBytes) {
                why = "the line has more than " + std::to_string(kx::kMaxTextLineBytes) + " bytes";
                return false;
            }
            Property p;
            const LineKind kind = readLine(line, p, why);
            if (kind == LineKind::Empty)
                continue;
            if (kind == LineKind::Error)
                return false;
            if (const auto it = index.find(p.name); it != index.end()) {
                why = "the name " + shown(p.name) + " is set twice";
                return false;
            }
            const size_t at = properties.size();
            index.emplace(p.name, at);
            properties.push_back(std::move(p));
        }
        return true;
    }
};

Kx_PropertiesList::Kx_PropertiesList() noexcept = default;
Kx_PropertiesList::~Kx_PropertiesList() = default;

Kx_PropertiesList::Kx_PropertiesList(const Kx_PropertiesList& other)
    : m_impl(other.m_impl ? std::make_unique<Impl>(*other.m_impl) : nullptr)
{
}

Kx_PropertiesList& Kx_PropertiesList::operator=(const Kx_PropertiesList& other)
{
    if (this != &other) {
        std::unique_ptr<Impl> copy = other.m_impl ? std::make_unique<Impl>(*other.m_impl) : nullptr;
        m_impl = std::move(copy);
    }
    return *this;
}

Kx_PropertiesList::Kx_PropertiesList(Kx_PropertiesList&& other) noexcept = default;
Kx_PropertiesList& Kx_PropertiesList::operator=(Kx_PropertiesList&& other) noexcept = default;

bool Kx_PropertiesList::readFromFile(const Kx_String& path)
{
    try {
        std::string bytes;
        std::string error;
        if (!kx::readFileBytes(path.view(), kx::kMaxTextFileBytes, bytes, error)) {
            acutPrintf("*Error* %s.\n", error.c_str());
            return false;
        }
        return readFromText(bytes, path.view());
    } catch (...) {
        acutPrintf("*Error* Cannot read \"%s\": out of memory.\n", path.c_str());
        return false;
    }
}

bool Kx_PropertiesList::readFromText(std::string_view text, std::string_view sourceName)
{
    std::string error;
    if (readFromText(text, sourceName, error))
        return true;
    acutPrintf("*Error* %s.\n", error.c_str());
    return false;
}

bool Kx_PropertiesList::readFromText(std::string_view text, std::string_view sourceName, std::string& error)
{
    try {
        // Parse into a fresh store and take it only when the whole text is sound, so that a
        // damaged file leaves what the caller holds untouched.
        auto parsed = std::make_unique<Impl>();
        std::string why;
        size_t line = 0;
        if (!parsed->parse(text, why, line)) {
            error = std::string(sourceName);
            if (line > 0)
                error += ", line " + std::to_string(line);
            error += ": " + why;
            return false;
        }
        m_impl = std::move(parsed);
        return true;
    } catch (...) {
        error = std::string(sourceName) + ": out of memory";
        return false;
    }
}

std::string Kx_PropertiesList::toText() const
{
    std::string out(kHeader);
    if (!m_impl)
        return out;
    for (const Property& p : m_impl->properties)
        appendProperty(out, p);
    return out;
}

bool Kx_PropertiesList::writeToFile(const Kx_String& path) const
{
    try {
        std::string text(kHeader);
        if (m_impl) {
            for (const Property& p : m_impl->properties) {
                const size_t before = text.size();
                appendProperty(text, p);
                // Line end excluded, as the reader counts it.
                if (text.size() - before - 1 > kx::kMaxTextLineBytes) {
                    acutPrintf("*Error* Cannot save \"%s\": the property %s needs more than %zu bytes, the limit "
                               "of a line.\n",
                               path.c_str(), shown(p.name).c_str(), kx::kMaxTextLineBytes);
                    return false;
                }
            }
        }
        if (text.size() > kx::kMaxTextFileBytes) {
            acutPrintf("*Error* Cannot save \"%s\": the properties need %zu bytes, more than the limit of %zu.\n",
                       path.c_str(), text.size(), kx::kMaxTextFileBytes);
            return false;
        }
        return kx::saveFileAtomically(path.str(), text);
    } catch (...) {
        acutPrintf("*Error* Cannot save \"%s\": out of memory.\n", path.c_str());
        return false;
    }
}

bool Kx_PropertiesList::getProperty(const Kx_String& name, int& value) const
{
    const Property* p = m_impl ? m_impl->find(name.str()) : nullptr;
    const int* v = p ? std::get_if<int>(&p->value) : nullptr;
    if (!v)
        return false;
    value = *v;
    return true;
}

bool Kx_PropertiesList::getProperty(const Kx_String& name, double& value) const
{
    const Property* p = m_impl ? m_impl->find(name.str()) : nullptr;
    const double* v = p ? std::get_if<double>(&p->value) : nullptr;
    if (!v)
        return false;
    value = *v;
    return true;
}

bool Kx_PropertiesList::getProperty(const Kx_String& name, Kx_String& value) const
{
    const Property* p = m_impl ? m_impl->find(name.str()) : nullptr;
    const std::string* v = p ? std::get_if<std::string>(&p->value) : nullptr;
    if (!v)
        return false;
    try {
        value = Kx_String(*v);
    } catch (...) {
        return false;
    }
    return true;
}

namespace {

template <typename Set>
void guarded(Set&& set)
{
    try {
        set();
    } catch (...) {
        // Only allocation can fail; the store is left as it was (Impl::set) and the failure is
        // said where the user will look for it.
        acutPrintf("*Error* Out of memory while setting a property.\n");
    }
}

} // namespace

void Kx_PropertiesList::setProperty(const Kx_String& name, int value)
{
    guarded([&] {
        if (!m_impl)
            m_impl = std::make_unique<Impl>();
        m_impl->set(name.str(), Value(std::in_place_type<int>, value));
    });
}

void Kx_PropertiesList::setProperty(const Kx_String& name, double value)
{
    guarded([&] {
        if (!m_impl)
            m_impl = std::make_unique<Impl>();
        m_impl->set(name.str(), Value(std::in_place_type<double>, value));
    });
}

void Kx_PropertiesList::setProperty(const Kx_String& name, const Kx_String& value)
{
    guarded([&] {
        if (!m_impl)
            m_impl = std::make_unique<Impl>();
        m_impl->set(name.str(), Value(std::in_place_type<std::string>, value.str()));
    });
}

bool Kx_PropertiesList::hasProperty(const Kx_String& name) const
{
    return m_impl && m_impl->find(name.str()) != nullptr;
}

bool Kx_PropertiesList::removeProperty(const Kx_String& name)
{
    if (!m_impl)
        return false;
    const auto it = m_impl->index.find(name.str());
    if (it == m_impl->index.end())
        return false;
    const size_t at = it->second;
    m_impl->index.erase(it);
    m_impl->properties.erase(m_impl->properties.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [key, position] : m_impl->index) {
        if (position > at)
            --position;
    }
    return true;
}

void Kx_PropertiesList::removeAll() { m_impl.reset(); }

int Kx_PropertiesList::getNrProperties() const
{
    return m_impl ? static_cast<int>(m_impl->properties.size()) : 0;
}

Kx_StringArray Kx_PropertiesList::getNames() const
{
    Kx_StringArray names;
    if (!m_impl)
        return names;
    try {
        for (const Property& p : m_impl->properties)
            names.append(Kx_String(p.name));
    } catch (...) {
        names.removeAll();
    }
    return names;
}

bool Kx_PropertiesList::operator==(const Kx_PropertiesList& other) const
{
    const size_t n = m_impl ? m_impl->properties.size() : 0;
    const size_t m = other.m_impl ? other.m_impl->properties.size() : 0;
    if (n != m)
        return false;
    for (size_t i = 0; i < n; ++i) {
        const Property& a = m_impl->properties[i];
        const Property& b = other.m_impl->properties[i];
        if (a.name != b.name || a.value.index() != b.value.index())
            return false;
        if (const double* x = std::get_if<double>(&a.value)) {
            const double y = std::get<double>(b.value);
            if (std::memcmp(x, &y, sizeof y) != 0)
                return false;
        } else if (a.value != b.value) {
            return false;
        }
    }
    return true;
}
