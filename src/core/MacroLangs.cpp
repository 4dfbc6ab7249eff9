// MacroLangs: the fixed list of languages and the process-wide current language.
#include "core/MacroLangs.h"

#include <array>
#include <atomic>
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

Kx_String MacroLangs::GetString(const Kx_String& word) { return word; }
