// SectionCatalogue: the core module's catalogue of section types and section groups, as the
// library's "prof/sections.cat" describes them (docs/section-catalogue.md): for each section type its
// number (1 to 24), picture name, names in the three languages, property labels, which properties
// form an entry's name, and the table columns the type brings; for each group its types. The
// table files themselves are Kx_ProfValuesTable's; the module's services over the catalogue
// (pictures, profile lists) live in src/detailing.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <string>

// One section type.
struct KXCORE_API SectionType {
    int number = 0;
    // The picture base name ("ProfSectionI"); pictures are "<name>-big.bmp" and "-small.bmp".
    Kx_String pictureName;
    // Names per language, in MacroLangs order (Dutch, English, French).
    Kx_StringArray names;
    // Labels of the property fields (at most 8, the simple library editor's value fields), per
    // language: labels[language][field].
    Kx_Array<Kx_StringArray> labels;
    // The table columns the type brings after the name, flag and description columns, in order;
    // field i of the editor is column 5 + i. A column may name another that gives its value when
    // a source lacks it ("b_mm" of an equal-leg angle from "a_mm"): fallback[i], empty for none.
    Kx_StringArray columns;
    Kx_StringArray fallbacks;
    // Which fields form an automatic entry name, joined with "x" after the name prefix.
    Kx_Array<int> nameFields;
    Kx_String namePrefix;
    // Per language, what goes before the name in the description columns ("HEA ").
    Kx_StringArray languagePrefixes;
    // Whether the add-on draws sections of this type from their values.
    bool hasDrawing = false;

    // What the section library editor keeps of a type of the library: whether it is offered, its
    // picture (a base name of the icon folder, as pictureName), the number of its group (-1 none)
    // and its drawing file.
    bool enabled = true;
    Kx_String image;
    int group = -1;
    Kx_String file;

    // The name in the current language (English when that one is empty).
    Kx_String name() const;
    Kx_String getName() const { return name(); }
    // The field labels in the current language.
    Kx_StringArray fieldLabels() const;
};

// One group of section types ("Beams", "Hollow sections").
struct KXCORE_API SectionGroup {
    int number = 0;
    Kx_StringArray names;
    Kx_Array<int> types;
    // Whether the group is offered and its picture (a base name of the icon folder).
    bool enabled = true;
    Kx_String image;
    Kx_String name() const;
};

class KXCORE_API SectionGroupArray {
public:
    // Reads a catalogue file. False with a message naming the file and line (and the catalogue
    // unchanged) when the file cannot be read or a line is malformed.
    bool readFromFile(const Kx_String& path, std::string& error);
    // The same from the rows of a catalogue file already read; source names it in messages.
    bool readFromRows(const Kx_Array<Kx_StringArray>& rows, const std::string& source, std::string& error);
    // Reads the library's catalogue ("prof/sections.cat" of the library folder); the message is
    // printed on the command line on failure.
    bool readLibraryCatalogue();

    int groupCount() const { return m_groups.length(); }
    const SectionGroup& group(int index) const { return m_groups[index]; }
    int typeCount() const { return m_types.length(); }
    const SectionType& typeAt(int index) const { return m_types[index]; }
    // The section type with this number, or null (owned by the array).
    const SectionType* findType(int number) const;
    // The types of group index, in the group's order; empty for an index outside the groups.
    Kx_Array<const SectionType*> typesOfGroup(int index) const;
    // The group holding a type; -1 when none does.
    int groupOfType(int number) const;

    // The catalogue the library holds, read once (again after reload()); empty when it cannot be
    // read.
    static const SectionGroupArray& library();
    static void reload();

    // The groups as the section library editor edits them, by position. Reading outside the groups
    // gives false or empty; writing outside them does nothing.
    void namesOfAllGroups(Kx_StringArray& names, Kx_Array<int>& ids) const;
    Kx_String getName(int index) const;
    bool getEnabled(int index) const;
    void setEnabled(int index, bool enabled);
    Kx_String getImage(int index) const;
    void setImage(int index, const Kx_String& image);
    // The names per language, in MacroLangs order.
    Kx_StringArray getLangs(int index) const;
    void setLangs(int index, const Kx_StringArray& names);
    // Appends an enabled group without types, numbered one above the highest number, named "New
    // group" in each language; returns its position.
    int appendNewGrp();
    // False for an index outside the groups.
    bool removeAt(int index);

private:
    Kx_Array<SectionGroup> m_groups;
    Kx_Array<SectionType> m_types;
};

// The picture base name of a section type number ("ProfSectionI" for 1); empty outside 1 to 24.
// The names are fixed: stored drawings and peers' icon folders rely on them.
KXCORE_API Kx_String sectionTypeName(int number);

// What the section library editor works on: the catalogue's groups, the library's section types
// and the library's table files.
class KXCORE_API DlgEditLibData {
public:
    virtual ~DlgEditLibData();

    // The pictures offered for groups and for types (base names of the icon folder, "ProfSectionI")
    // and the section tables (names without ".pr"), filled by GetAvailableFiles().
    Kx_StringArray groupImages;
    Kx_StringArray typeImages;
    Kx_StringArray tables;
    int currentIndex = 0;
    SectionGroupArray groups;
    Kx_Array<SectionType> types;

    // The table files (".pr") of the library's prof folder, names only ("HEA.pr"), sorted; false
    // when the folder cannot be read.
    bool GetAvailableFiles(Kx_StringArray& files) const;
    // Fills the three lists above from the icon folder and the prof folder; false when the prof
    // folder cannot be read (the lists are filled as far as they can be).
    bool GetAvailableFiles();
    // The library as the sample callers hand it over: the catalogue's groups, and one type per
    // table file, named after the table, of the catalogue's section type the table holds, in that
    // type's group and with its picture. False when the catalogue cannot be read.
    bool readLibrary();
};
