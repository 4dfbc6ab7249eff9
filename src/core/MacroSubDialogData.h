// The records of the macro world's smaller dialogs: a macro cut being made or edited
// (DlgMacroCutsData with the macros that may own it), the filter of the select-macro dialog
// (Kx_MacroPropsFilter) and a macro's settings (MacroSettingsData). Their rules are the core's; the
// dialogs only show them.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"

#include <array>

// The macros (modules) that can own a new cut, and the cut names each already uses.
class KXCORE_API MacrosInDlgData {
public:
    Kx_StringArray modules;
    // Parallel to modules: the names of the cuts each module has.
    Kx_Array<Kx_StringArray> cutNames;
    // The macro picked in the drawing last, null before.
    AcDbObjectId pickedMacro;

    // The modules that can own a cut of the macro objectId: all of this record's.
    bool GetAllMods(AcDbObjectId objectId, Kx_StringArray& names) const;
    // Lets the user pick a macro in the drawing. When the picked object is a macro, its modules
    // (its "modules" property, ';'-separated) are added to the list; true when a macro was picked.
    bool UserSelectMacro();

    friend bool operator==(const MacrosInDlgData&, const MacrosInDlgData&) = default;
};

// Cut types 1 to 6: profile by plate, by profile, inside a profile, in three segments, chamfer, fillet.
enum ZnMacroCutType : int {
    kCutProfVsPlate = 1,
    kCutProfVsProf = 2,
    kCutProfInProf = 3,
    kCutProf3Segments = 4,
    kCutChamfer = 5,
    kCutFillet = 6,
};

class KXCORE_API DlgMacroCutsData {
public:
    Kx_String cutName;
    int cutType = kCutProfVsPlate;
    // An existing cut is edited: its name, type and owner cannot change.
    bool existing = false;
    Kx_StringArray varNames;
    Kx_StringArray values;
    Kx_Array<bool> varFlags;
    std::array<bool, 5> optionFlags{};
    int optionIndex = 0;
    bool optionFlag = false;
    Kx_String secondName;
    MacrosInDlgData owner;
    // 1: the cut belongs to the macro being edited; 2: to another macro chosen by the user.
    int ownerMode = 1;
    Kx_String moduleName;
    AcDbObjectId objectId;

    // The variables a cut of that type starts with; false (lists emptied) for a type outside 1..6.
    static bool GetDefaultValues(int type, Kx_StringArray& names, Kx_StringArray& values, Kx_Array<bool>& flags);
    // Whether another cut of moduleName already has cutName (ignoring case): clash. False when the
    // module is unknown (clash false).
    bool CutNameInUse(AcDbObjectId objectId, const Kx_String& moduleName, const Kx_String& cutName, bool& clash) const;
    // Every variable name is non-empty, starts with a letter, holds only letters, digits and '_',
    // appears once (ignoring case) and does not start with the reserved prefix "gen_".
    bool AreVarNamesValid() const;

    friend bool operator==(const DlgMacroCutsData&, const DlgMacroCutsData&) = default;
};

// The filter of the select-macro dialog: the library's macros, narrowed by the modules they contain
// and the properties of those modules. A macro passes when it is enabled and none of its modules,
// nor any property of a module it has, is switched off.
class KXCORE_API Kx_MacroPropsFilter {
public:
    struct Macro {
        Kx_String file;
        bool enabled = true;
        // Module name and, parallel, the module's properties ("bolted", "stiffened", "haunch").
        Kx_StringArray modules;
        Kx_Array<Kx_StringArray> properties;
        friend bool operator==(const Macro&, const Macro&) = default;
    };

    // The macro files (names or paths of ".dwg" files of the library's "Macros" folder) with their
    // enabled flags (missing flags read as enabled). The two integers are the thumbnail width and
    // height. Each macro's modules and properties come from the ".kxm" definition beside its drawing,
    // when there is one.
    void initialize(const Kx_StringArray& macros, const Kx_Array<bool>& enabled, int width, int height);
    // The ".dwg" files of the library's "Macros" folder, sorted.
    Kx_StringArray getAllDwgFiles() const;
    void getFilteredMacros(Kx_StringArray& files) const;
    // One row per module (over all macros, first appearance order); values: the module's properties
    // joined by '\n' (rows of the grid); states: the module's own state, then one per property.
    void getMergedProperties(Kx_StringArray& rows, Kx_Array<Kx_StringArray>& values,
                             Kx_Array<Kx_Array<bool>>& states) const;
    bool setModuleStatus(const Kx_String& module, bool on);
    bool setModulePropStatus(const Kx_String& module, const Kx_String& property, bool on);

    const Kx_Array<Macro>& macros() const { return m_macros; }
    int thumbnailWidth() const { return m_width; }
    int thumbnailHeight() const { return m_height; }

    friend bool operator==(const Kx_MacroPropsFilter&, const Kx_MacroPropsFilter&) = default;

private:
    Kx_Array<Macro> m_macros;
    Kx_StringArray m_offModules;
    // "module|property" of the properties switched off.
    Kx_StringArray m_offProps;
    int m_width = 96;
    int m_height = 72;
};

// Makes the missing thumbnail pictures ("<name>.bmp" in folder) of the macro files, each width x
// height, drawn from the macro's name. Returns the number made; a picture is kept unless it is older than
// its macro's drawing (found as given, else by name in folder).
KXCORE_API int CreatePreviewBMPs(int width, int height, const Kx_StringArray& files, const Kx_String& folder);

// The settings every macro carries: the parts it reacts to and its further options.
class KXCORE_API MacroSettingsData {
public:
    // Page 0, angle filters.
    bool angleFilterOn = true;
    Kx_Array<bool> angles90;        // the check-combo of angles around 90 degrees
    Kx_Array<bool> angles180;       // around 180 degrees
    Kx_String angleTolerance = "1.00";
    Kx_String sectionAngleTolerance = "5.00";
    // Page 1, distance and size filters.
    bool distanceFilterOn = false;
    Kx_String maxPathDistance = "100.00";
    Kx_String minSectionSize = "0.00";
    Kx_String maxSectionSize = "1000.00";
    Kx_Array<bool> sectionTypes;
    Kx_Array<bool> materials;
    // Page 2: the section names the macro applies to, and two choices.
    Kx_StringArray sectionNames;
    int updateMode = 0;
    int numberingMode = 0;
    // Page 3: named options with values.
    Kx_StringArray optionNames;
    Kx_StringArray optionValues;
    // Page 4: groups: name, layer, colour, (grid of four columns).
    Kx_Array<std::array<Kx_String, 4>> groups;

    friend bool operator==(const MacroSettingsData&, const MacroSettingsData&) = default;
};
