// SheetSettings: a sheet's appearance and print settings (default font and height, header and
// footer files, margins, print switches, named variables). Kept as the tag text of the corner cell
// (column 0, row 0) and in named ".znd" files of the settings folder, both in SettingsStore's text
// format. The store itself lives in SettingsStore.h.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/win/WinTypes.h"

class SettingsStore;

class KXSS_API SheetSettings {
public:
    SheetSettings();

    // Every member back to its default; loaded becomes false.
    void reset();
    // Resets, marks the record loaded and reads the file of `name`. False (defaults kept, still
    // loaded) when the file cannot be opened.
    bool load(const Kx_String& name);
    // Writes the members to the file of `name` (Windows-1252, as peers read it), replacing it.
    // False, with a line on the command line, when the file cannot be written, a text holds the
    // separator "¤" or a character Windows-1252 lacks, or the name leads out of the settings
    // folder; the old file is kept then.
    bool save(const Kx_String& name) const;
    // Resets, marks loaded, remembers `grid` and reads the corner cell's tag (missing: defaults).
    bool readFromSheet(HWND grid);
    // Writes the record into the corner cell's tag of `grid` (null: the grid remembered by
    // readFromSheet). Only for a record that was loaded or read; returns whether it wrote. A text
    // holding the separator "¤" is refused with a line on the command line, the tag left as it was.
    bool writeToSheet(HWND grid = nullptr);
    void setVariables(const Kx_StringArray& names, const Kx_StringArray& values);
    // Header and footer file names made full paths against the folder of `sheetPath`, else the
    // settings folder (see the .cpp for the rules); names not found stay as they are.
    void resolveHeaderFooter(const Kx_String& sheetPath);

    bool isLoaded() const { return m_loaded; }
    HWND grid() const { return m_grid; }

    // The folder of the settings files, with "\" separators and a trailing "\" (empty stays empty).
    static Kx_String settingsFolder();
    // The file of the settings named `name`: the folder, the name, ".znd".
    static Kx_String fileOf(const Kx_String& name);

    // The members as a store, keys in the order of the files; and the members taken from a store
    // (a key that is missing or of another type keeps its default; the variable lists are cut to
    // the shorter of the two).
    void fillStore(SettingsStore& store) const;
    void takeFrom(const SettingsStore& store);

    Kx_String headerFile;
    Kx_String footerFile;
    Kx_String defaultFont;
    int defaultTextHeight = 13;
    int marginLeft = 9;
    int marginRight = 5;
    int marginTop = 5;
    int marginBottom = 5;
    bool smartPrint = true;
    bool colors = true;
    bool colHeader = true;
    bool rowHeader = true;
    bool cellSeperators = true;
    bool border = true;
    Kx_StringArray varNames;
    Kx_StringArray varValues;

private:
    // The file of `name` when it stays inside the settings folder; empty otherwise.
    static Kx_String confinedFileOf(const Kx_String& name);
    Kx_String resolvedName(const Kx_String& name, const Kx_String& sheetPath) const;

    HWND m_grid = nullptr;
    bool m_loaded = false;
};
