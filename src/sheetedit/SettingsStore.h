// SettingsStore: the typed key-value store behind a sheet's appearance and print settings, and its
// text format. What the keys mean is SheetSettings' business; this file only keeps, reads and writes.
//
// The format is a run of records without line breaks or header; a record is three fields, each
// followed by the separator: the key, the type code in decimal (1 double, 2 integer, 3 long, 4 text)
// and the value. Nothing is escaped, so no key or value may hold the separator.
// - Inside a sheet (the corner cell's tag) the text is UTF-8 and the separator is U+00A4 "¤".
// - Settings files are single-byte Windows-1252, as peer installations write and read them; the
//   separator is the byte 0xA4 and line breaks are CR LF, as a file opened in text mode there has.
// Reading takes either form: text that is well-formed UTF-8 is taken as UTF-8, anything else as
// Windows-1252 (a Windows-1252 record always has a separator right after an ASCII digit, which
// UTF-8 never allows, so the two cannot be mistaken for each other).
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class KXSS_API SettingsStore {
public:
    // The type codes as they travel in the text.
    enum class Type : int { None = 0, Double = 1, Integer = 2, Long = 3, Text = 4 };

    // Why a store cannot be written as it is; the text would read back different.
    enum class TextProblem {
        None,
        Separator,      // a key or value holds the separator
        NotInCodePage,  // a file cannot hold a character (Windows-1252 has no such character)
        Malformed,      // a NUL byte or bytes that are not well-formed UTF-8
    };

    struct Entry {
        Kx_String key;
        Type type = Type::None;
        double doubleValue = 0.0;
        std::int32_t intValue = 0;  // Integer and Long
        Kx_String text;
    };

    // The separator in the sheet's UTF-8 text and in the files.
    static constexpr std::string_view kTextSeparator = "\xC2\xA4";
    static constexpr char kFileSeparator = '\xA4';

    // Each replaces the value of an existing key in place or appends a new key; false (nothing
    // changed) for an empty key.
    bool setDouble(const Kx_String& key, double value);
    bool setInt(const Kx_String& key, int value);
    bool setLong(const Kx_String& key, std::int32_t value);
    bool setText(const Kx_String& key, const Kx_String& value);
    bool setBool(const Kx_String& key, bool value) { return setInt(key, value ? 1 : 0); }

    bool hasKey(const Kx_String& key) const;
    // Type::None for a missing key as well as for a record read with an unknown type code.
    Type typeOf(const Kx_String& key) const;
    // False (value untouched) when the key is missing or holds another type. getBool reads an
    // integer entry: anything but 0 is true.
    bool getDouble(const Kx_String& key, double& value) const;
    bool getInt(const Kx_String& key, int& value) const;
    bool getLong(const Kx_String& key, std::int32_t& value) const;
    bool getText(const Kx_String& key, Kx_String& value) const;
    bool getBool(const Kx_String& key, bool& value) const;

    // Entry i of the list under base + i (from 0) as text; entries of a longer list written before
    // are removed, so the list reads back as written.
    void setTextList(const Kx_String& base, const Kx_StringArray& list);
    // base0, base1, ... up to the first index that is missing or not a text.
    void getTextList(const Kx_String& base, Kx_StringArray& list) const;

    void clear();
    int count() const { return static_cast<int>(m_entries.size()); }
    // In the store's order; i must be below count().
    const Entry& entry(int i) const { return m_entries.at(static_cast<std::size_t>(i)); }

    // Replaces the contents by the records of text (UTF-8 or Windows-1252, see above). Bytes after
    // the last complete record are ignored; records with an empty key are left out; a later record
    // of a key replaces an earlier one. Never fails.
    void parseText(std::string_view text);
    // The same for a file's bytes: CR LF reads as LF, and a UTF-8 byte order mark is skipped.
    void parseFileBytes(std::string_view bytes);
    // parseFileBytes of the file. False, store emptied and nothing printed, when the file cannot be
    // read (missing, not a regular file, beyond 16 MiB).
    bool parseFile(const Kx_String& path);

    // The UTF-8 text for the sheet. False (out untouched) when the store cannot be written so that
    // it reads back the same; problem and key, when given, say why and where.
    bool toText(std::string& out, TextProblem* problem = nullptr, Kx_String* key = nullptr) const;
    // The Windows-1252 bytes of a settings file, refusing likewise.
    bool toFileBytes(std::string& out, TextProblem* problem = nullptr, Kx_String* key = nullptr) const;
    // Writes the file through the save routine: it holds its old bytes or all the new ones. False
    // with a line on the command line when the store is refused or the save fails.
    bool writeFile(const Kx_String& path) const;

    // Prints why settings for `where` (a file name, or empty for the sheet) were not written.
    static void reportRefusal(const Kx_String& where, TextProblem problem, const Kx_String& key);

private:
    Entry* find(const Kx_String& key);
    const Entry* find(const Kx_String& key) const;
    Entry* slot(const Kx_String& key);
    void addRecord(std::string_view key, std::string_view type, std::string_view value);
    void removeKey(const Kx_String& key);

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};
