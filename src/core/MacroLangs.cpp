// MacroLangs: the fixed list of languages and the process-wide current language.
#include "core/MacroLangs.h"

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace {

struct Language {
    std::string_view name;
    std::string_view code;
};

// The order is part of the data: per-language lists in files follow it.
constexpr std::array<Language, MacroLangs::LanguageCount> kLanguages{{
    {"Dutch", "nl"},
    {"English", "en"},
    {"French", "fr"},
}};

// Text lookups read this from any caller; an atomic keeps a reader from seeing a torn value.
std::atomic<int> g_current{MacroLangs::English};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool inRange(int index) { return index >= 0 && index < MacroLangs::LanguageCount; }

// The macro dictionary, one map per language. Lookups come from any dialog; the mutex keeps a
// reader from seeing a map while it is being changed.
struct Dictionary {
    std::mutex lock;
    std::array<std::map<std::string, std::string, std::less<>>, MacroLangs::LanguageCount> words;
};

Dictionary& dictionary()
{
    static Dictionary d;
    return d;
}

bool isLetterByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x80;
}

// The word in the current language, looked up as prefix + word; the word itself when unknown.
std::string translateWord(std::string_view prefix, std::string_view word)
{
    std::string key(prefix);
    key += word;
    const Kx_String translated = MacroLangs::GetString(Kx_String(key));
    if (translated.view() == key)
        return std::string(word);
    return translated.str();
}

// One part of a label between chop symbols: bracketed groups stay as they are; in the stretches
// between them, the span from the first to the last letter is translated.
void translatePart(std::string_view prefix, std::string_view part, std::string& out)
{
    size_t i = 0;
    while (i < part.size()) {
        const char open = part[i];
        if (open == '(' || open == '[') {
            const char close = open == '(' ? ')' : ']';
            const size_t end = part.find(close, i + 1);
            const size_t stop = end == std::string_view::npos ? part.size() : end + 1;
            out.append(part.substr(i, stop - i));
            i = stop;
            continue;
        }
        size_t stop = part.find_first_of("([", i);
        if (stop == std::string_view::npos)
            stop = part.size();
        const std::string_view run = part.substr(i, stop - i);
        size_t first = 0;
        while (first < run.size() && !isLetterByte(run[first]))
            ++first;
        if (first == run.size()) {
            out.append(run);
        } else {
            size_t last = run.size();
            while (!isLetterByte(run[last - 1]))
                --last;
            out.append(run.substr(0, first));
            out += translateWord(prefix, run.substr(first, last - first));
            out.append(run.substr(last));
        }
        i = stop;
    }
}

} // namespace

Kx_StringArray MacroLangs::GetAllLanguages()
{
    Kx_StringArray names;
    for (const Language& language : kLanguages)
        names.append(Kx_String(language.name));
    return names;
}

Kx_String MacroLangs::GetCurLanguage() { return GetLanguageName(GetCurLanguageIndex()); }

int MacroLangs::GetCurLanguageIndex() { return g_current.load(); }

bool MacroLangs::SetCurLanguage(int index)
{
    if (!inRange(index))
        return false;
    g_current.store(index);
    return true;
}

bool MacroLangs::SetCurLanguage(const Kx_String& nameOrCode) { return SetCurLanguage(FindLanguage(nameOrCode)); }

int MacroLangs::FindLanguage(const Kx_String& nameOrCode)
{
    for (int i = 0; i < LanguageCount; ++i) {
        const Language& language = kLanguages[static_cast<size_t>(i)];
        if (equalsIgnoringAsciiCase(nameOrCode.view(), language.name)
            || equalsIgnoringAsciiCase(nameOrCode.view(), language.code))
            return i;
    }
    return -1;
}

Kx_String MacroLangs::GetLanguageCode(int index)
{
    return inRange(index) ? Kx_String(kLanguages[static_cast<size_t>(index)].code) : Kx_String();
}

Kx_String MacroLangs::GetLanguageName(int index)
{
    return inRange(index) ? Kx_String(kLanguages[static_cast<size_t>(index)].name) : Kx_String();
}

Kx_String MacroLangs::GetString(const Kx_String& word)
{
    Dictionary& d = dictionary();
    const std::lock_guard<std::mutex> guard(d.lock);
    const auto& words = d.words[static_cast<size_t>(GetCurLanguageIndex())];
    const auto found = words.find(word.view());
    return found == words.end() ? word : Kx_String(found->second);
}

Kx_String MacroLangs::GetStringChopSymbols(const Kx_String& prefix, const Kx_String& text, bool chop,
                                           const Kx_String& chopSymbol)
{
    const std::string_view all = text.view();
    if (!chop)
        return Kx_String(translateWord(prefix.view(), all));
    const std::string_view symbol = chopSymbol.view();
    std::string out;
    size_t partStart = 0;
    size_t at = 0;
    while (!symbol.empty() && (at = all.find(symbol, at)) != std::string_view::npos) {
        const size_t after = at + symbol.size();
        const bool free = (at == 0 || !isLetterByte(all[at - 1])) && (after == all.size() || !isLetterByte(all[after]));
        if (!free) {
            ++at;
            continue;
        }
        translatePart(prefix.view(), all.substr(partStart, at - partStart), out);
        out.append(symbol);
        partStart = at = after;
    }
    translatePart(prefix.view(), all.substr(partStart), out);
    return Kx_String(out);
}

bool MacroLangs::SetWordTranslation(int language, const Kx_String& word, const Kx_String& translation)
{
    if (!inRange(language) || word.isEmpty())
        return false;
    Dictionary& d = dictionary();
    const std::lock_guard<std::mutex> guard(d.lock);
    auto& words = d.words[static_cast<size_t>(language)];
    if (translation.isEmpty())
        words.erase(word.str());
    else
        words.insert_or_assign(word.str(), translation.str());
    return true;
}

void MacroLangs::ClearWordTranslations()
{
    Dictionary& d = dictionary();
    const std::lock_guard<std::mutex> guard(d.lock);
    for (auto& words : d.words)
        words.clear();
}
