// MacroLangs: the languages of the add-on (Dutch, English, French, in that order) and which one is
// current. Text tables (TextTables.h) and per-language table columns follow it; translation of
// macro words lives here too. What the texts say belongs to the text tables, not here.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

class KXCORE_API MacroLangs {
public:
    // Positions in GetAllLanguages. Per-language lists (names of a section group, the language
    // columns of a profile table) are kept in this order.
    static constexpr int Dutch = 0;
    static constexpr int English = 1;
    static constexpr int French = 2;
    static constexpr int LanguageCount = 3;

    // The language names in order: "Dutch", "English", "French". They are the titles of the
    // language columns in profile table files, so they never depend on the current language.
    static Kx_StringArray GetAllLanguages();

    // Name of the current language (one of GetAllLanguages); English until changed.
    static Kx_String GetCurLanguage();
    static int GetCurLanguageIndex();

    // Makes a language current by position; false (nothing changed) when out of range.
    static bool SetCurLanguage(int index);
    // By name or code, letter case ignored ("French", "fr", "FR"); false (nothing changed) when it is
    // neither.
    static bool SetCurLanguage(const Kx_String& nameOrCode);

    // Position of a language given by name or code, letter case ignored; -1 when unknown.
    static int FindLanguage(const Kx_String& nameOrCode);
    // The lower-case code ("nl", "en", "fr"), which names the language's resource folder; empty when
    // out of range.
    static Kx_String GetLanguageCode(int index);
    static Kx_String GetLanguageName(int index);

    // A macro word (a macro file name, a layout label) in the current language. There is no macro
    // dictionary yet, so the word comes back unchanged in every language.
    static Kx_String GetString(const Kx_String& word);
};
