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

    // A macro word (a macro file name, a layout label) in the current language: its translation when
    // the macro dictionary has one for the current language (exact match, letter case counts), else
    // the word unchanged.
    static Kx_String GetString(const Kx_String& word);

    // A label's text in the current language, with its numbers, units and punctuation kept:
    //   chop false: the whole text is one word (GetString of prefix + text).
    //   chop true:  the text is cut at every free-standing `chopSymbol` ("x" in "Bolts x rows" or
    //               "2x3", not in "box"): a symbol counts when no letter touches it on either side.
    //               In each part, the stretch from its first to its last letter is translated; what
    //               lies before and after it (spaces, numbers, ':' and the like) and every bracketed
    //               group ("(mm)", "[deg]", kept as it stands, units included) are kept, and so are
    //               the chop symbols. An empty chopSymbol cuts nothing.
    // Every word is looked up as prefix + word (the prefix names a part of the dictionary, such as
    // the macro's name); a word the dictionary does not know stays as it is, without the prefix.
    // Bytes of UTF-8 characters outside ASCII count as letters.
    // With "Plate width", "Bolts" and "rows" in the Dutch dictionary: "Plate width (mm):" ->
    // "Plaatbreedte (mm):", "Bolts x rows" -> "Bouten x rijen", "2x3 Bolts" -> "2x3 Bouten".
    static Kx_String GetStringChopSymbols(const Kx_String& prefix, const Kx_String& text, bool chop,
                                          const Kx_String& chopSymbol);

    // The macro dictionary: what GetString gives for `word` while `language` is current. An empty
    // translation removes the entry; false (nothing changed) for a language out of range or an
    // empty word. Nothing reads a dictionary file yet: whoever knows the words sets them here.
    static bool SetWordTranslation(int language, const Kx_String& word, const Kx_String& translation);
    // Empties the macro dictionary of every language.
    static void ClearWordTranslations();
};
