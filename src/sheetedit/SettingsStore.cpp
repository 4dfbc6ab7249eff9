#include "sheetedit/SettingsStore.h"

#include "core/Cp1252.h"
#include "core/FileIO.h"
#include "core/SaveFile.h"
#include "core/TextTables.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Utf8.h"
#include "sheetedit/SheetEditTexts.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

bool isCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The C library's text-to-integer reading (blanks first, a sign, digits, anything after ignored; no
// digits gives 0), with the result held to the 32-bit range instead of overflowing.
std::int32_t readInteger(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && isCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = std::min(value * 10 + (s[i] - '0'), kLimit);
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, kLimit - 1));
}

// The C library's text-to-double reading in the "C" locale, whatever locale the host process set:
// a file written with a decimal point reads back the same under a decimal-comma locale.
double readDouble(const std::string& s)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale == static_cast<locale_t>(nullptr))
        return 0.0;
    return strtod_l(s.c_str(), nullptr, cLocale);
}

// Checks one text of a record; returns the problem, None when it can be written.
SettingsStore::TextProblem checkText(std::string_view text, bool forFile)
{
    for (std::size_t i = 0; i < text.size();) {
        if (kxutf8::sequenceLength(text, i) == 0)
            return SettingsStore::TextProblem::Malformed;
        const char32_t c = kxutf8::next(text, i);
        if (c == 0)
            return SettingsStore::TextProblem::Malformed;
        if (c == 0xA4)
            return SettingsStore::TextProblem::Separator;
        if (forFile && !kx::windows1252Byte(c))
            return SettingsStore::TextProblem::NotInCodePage;
    }
    return SettingsStore::TextProblem::None;
}

// UTF-8 text that checkText accepted for a file, as Windows-1252 bytes with LF written as CR LF.
void appendFileText(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = kxutf8::next(text, i);
        if (c == '\n')
            out += '\r';
        out += static_cast<char>(kx::windows1252Byte(c).value_or('?'));
    }
}

std::string valueText(const SettingsStore::Entry& e)
{
    switch (e.type) {
    case SettingsStore::Type::Double: return Kx_String(e.doubleValue, 2).str();
    case SettingsStore::Type::Integer:
    case SettingsStore::Type::Long: return std::to_string(e.intValue);
    case SettingsStore::Type::Text: return e.text.str();
    case SettingsStore::Type::None: break;
    }
    return {};
}

// A key as a message shows it: at most 60 bytes, control bytes as '?'.
std::string shownKey(const Kx_String& key)
{
    std::string out = key.getSubStringAt(0, 60).str();
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    }
    return out;
}

} // namespace

SettingsStore::Entry* SettingsStore::find(const Kx_String& key)
{
    const auto it = m_index.find(key.str());
    return it == m_index.end() ? nullptr : &m_entries[it->second];
}

const SettingsStore::Entry* SettingsStore::find(const Kx_String& key) const
{
    const auto it = m_index.find(key.str());
    return it == m_index.end() ? nullptr : &m_entries[it->second];
}

// The entry of key, appended when new, with its old value cleared; null for an empty key.
SettingsStore::Entry* SettingsStore::slot(const Kx_String& key)
{
    if (key.isEmpty())
        return nullptr;
    Entry fresh;
    fresh.key = key;
    Entry* e = find(key);
    if (e == nullptr) {
        m_index.emplace(key.str(), m_entries.size());
        m_entries.push_back(std::move(fresh));
        return &m_entries.back();
    }
    *e = std::move(fresh);
    return e;
}

bool SettingsStore::setDouble(const Kx_String& key, double value)
{
    Entry* e = slot(key);
    if (e == nullptr)
        return false;
    e->type = Type::Double;
    e->doubleValue = value;
    return true;
}

bool SettingsStore::setInt(const Kx_String& key, int value)
{
    Entry* e = slot(key);
    if (e == nullptr)
        return false;
    e->type = Type::Integer;
    e->intValue = value;
    return true;
}

bool SettingsStore::setLong(const Kx_String& key, std::int32_t value)
{
    Entry* e = slot(key);
    if (e == nullptr)
        return false;
    e->type = Type::Long;
    e->intValue = value;
    return true;
}

bool SettingsStore::setText(const Kx_String& key, const Kx_String& value)
{
    Entry* e = slot(key);
    if (e == nullptr)
        return false;
    e->type = Type::Text;
    e->text = value;
    return true;
}

bool SettingsStore::hasKey(const Kx_String& key) const { return find(key) != nullptr; }

SettingsStore::Type SettingsStore::typeOf(const Kx_String& key) const
{
    const Entry* e = find(key);
    return e == nullptr ? Type::None : e->type;
}

bool SettingsStore::getDouble(const Kx_String& key, double& value) const
{
    const Entry* e = find(key);
    if (e == nullptr || e->type != Type::Double)
        return false;
    value = e->doubleValue;
    return true;
}

bool SettingsStore::getInt(const Kx_String& key, int& value) const
{
    const Entry* e = find(key);
    if (e == nullptr || e->type != Type::Integer)
        return false;
    value = e->intValue;
    return true;
}

bool SettingsStore::getLong(const Kx_String& key, std::int32_t& value) const
{
    const Entry* e = find(key);
    if (e == nullptr || e->type != Type::Long)
        return false;
    value = e->intValue;
    return true;
}

bool SettingsStore::getText(const Kx_String& key, Kx_String& value) const
{
    const Entry* e = find(key);
    if (e == nullptr || e->type != Type::Text)
        return false;
    value = e->text;
    return true;
}

bool SettingsStore::getBool(const Kx_String& key, bool& value) const
{
    int v = 0;
    if (!getInt(key, v))
        return false;
    value = v != 0;
    return true;
}

void SettingsStore::removeKey(const Kx_String& key)
{
    const auto it = m_index.find(key.str());
    if (it == m_index.end())
        return;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    m_index.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(m_entries[i].key.str(), i);
}

void SettingsStore::setTextList(const Kx_String& base, const Kx_StringArray& list)
{
    if (base.isEmpty())
        return;
    for (int i = 0; i < list.length(); ++i)
        setText(base + Kx_String(i), list[i]);
    // What a longer list left behind would otherwise read back as part of this one.
    for (int i = list.length(); i < std::numeric_limits<int>::max() && hasKey(base + Kx_String(i)); ++i)
        removeKey(base + Kx_String(i));
}

void SettingsStore::getTextList(const Kx_String& base, Kx_StringArray& list) const
{
    list.removeAll();
    Kx_String value;
    for (int i = 0; i < std::numeric_limits<int>::max() && getText(base + Kx_String(i), value); ++i)
        list.append(value);
}

void SettingsStore::clear()
{
    m_entries.clear();
    m_index.clear();
}

void SettingsStore::addRecord(std::string_view key, std::string_view type, std::string_view value)
{
    Entry* e = slot(Kx_String(key));
    if (e == nullptr)
        return;
    const std::int32_t code = readInteger(type);
    switch (code) {
    case 1:
        e->type = Type::Double;
        e->doubleValue = readDouble(std::string(value));
        break;
    case 2:
        e->type = Type::Integer;
        e->intValue = readInteger(value);
        break;
    case 3:
        e->type = Type::Long;
        e->intValue = readInteger(value);
        break;
    case 4:
        e->type = Type::Text;
        e->text = Kx_String(value);
        break;
    default:
        e->type = Type::None;
        break;
    }
}

void SettingsStore::parseText(std::string_view text)
{
    clear();
    std::string converted;
    if (!kxutf8::isValid(text)) {
        converted = kx::windows1252ToUtf8(text);
        text = converted;
    }
    // The separator's two bytes C2 A4 can only be that character in well-formed UTF-8 (C2 always
    // starts a character), so a plain search never cuts another character.
    std::string_view fields[3];
    int field = 0;
    std::size_t start = 0;
    for (std::size_t pos = text.find(kTextSeparator); pos != std::string_view::npos;
         pos = text.find(kTextSeparator, start)) {
        fields[field++] = text.substr(start, pos - start);
        start = pos + kTextSeparator.size();
        if (field == 3) {
            addRecord(fields[0], fields[1], fields[2]);
            field = 0;
        }
    }
}

void SettingsStore::parseFileBytes(std::string_view bytes)
{
    // As a file opened in text mode reads on the platform the peers run on: CR LF becomes LF.
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    std::string_view view = text;
    if (view.starts_with("\xEF\xBB\xBF") && kxutf8::isValid(view))
        view.remove_prefix(3);
    parseText(view);
}

bool SettingsStore::parseFile(const Kx_String& path)
{
    clear();
    std::string bytes;
    std::string error;
    if (!kx::readFileBytes(path.view(), kx::kMaxTextFileBytes, bytes, error))
        return false;
    parseFileBytes(bytes);
    return true;
}

namespace {

bool serialise(const std::vector<SettingsStore::Entry>& entries, bool forFile, std::string& out,
               SettingsStore::TextProblem* problem, Kx_String* key)
{
    std::string result;
    for (const SettingsStore::Entry& e : entries) {
        if (e.type == SettingsStore::Type::None)
            continue;
        const std::string value = valueText(e);
        SettingsStore::TextProblem p = checkText(e.key.view(), forFile);
        if (p == SettingsStore::TextProblem::None)
            p = checkText(value, forFile);
        if (p != SettingsStore::TextProblem::None) {
            if (problem != nullptr)
                *problem = p;
            if (key != nullptr)
                *key = e.key;
            return false;
        }
        const std::string code = std::to_string(static_cast<int>(e.type));
        if (forFile) {
            appendFileText(e.key.view(), result);
            result += SettingsStore::kFileSeparator;
            result += code;
            result += SettingsStore::kFileSeparator;
            appendFileText(value, result);
            result += SettingsStore::kFileSeparator;
        } else {
            result.append(e.key.view()).append(SettingsStore::kTextSeparator);
            result.append(code).append(SettingsStore::kTextSeparator);
            result.append(value).append(SettingsStore::kTextSeparator);
        }
    }
    out = std::move(result);
    return true;
}

} // namespace

bool SettingsStore::toText(std::string& out, TextProblem* problem, Kx_String* key) const
{
    return serialise(m_entries, /*forFile=*/false, out, problem, key);
}

bool SettingsStore::toFileBytes(std::string& out, TextProblem* problem, Kx_String* key) const
{
    return serialise(m_entries, /*forFile=*/true, out, problem, key);
}

bool SettingsStore::writeFile(const Kx_String& path) const
{
    std::string bytes;
    TextProblem problem = TextProblem::None;
    Kx_String key;
    if (!toFileBytes(bytes, &problem, &key)) {
        reportRefusal(path, problem, key);
        return false;
    }
    return kx::saveFileAtomically(path.str(), bytes);
}

void SettingsStore::reportRefusal(const Kx_String& where, TextProblem problem, const Kx_String& key)
{
    int reason = kxsheet::kTextMalformedSetting;
    if (problem == TextProblem::Separator)
        reason = kxsheet::kTextSeparatorInSetting;
    else if (problem == TextProblem::NotInCodePage)
        reason = kxsheet::kTextNotInCodePage;
    if (where.isEmpty()) {
        acutPrintf("*Error* %s: %s <%s>.\n", dialString(kxsheet::kTextCannotStoreInSheet).c_str(),
                   dialString(reason).c_str(), shownKey(key).c_str());
    } else {
        acutPrintf("*Error* %s \"%s\": %s <%s>.\n", dialString(kxsheet::kTextCannotSaveSettings).c_str(), where.c_str(),
                   dialString(reason).c_str(), shownKey(key).c_str());
    }
}
