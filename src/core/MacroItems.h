// The items of one macro tab: variables, bolt patterns and bolt data, profile groups, dynamic arrays,
// cuts, flexible/fixed buttons and the block choice. Plain values: copyable and comparable, so a
// dialog can copy a tab, let the user edit, and ask what changed. MacroData.h holds the tab and the
// macro; what the dialogs call on them lives there.
//
// Control ids: every item carries the id of what shows it in a macro page. Positive: the resource id
// of a layout control (33000 to 33099); negative -r: row r of the page's grid; 0: not shown. The
// dialogs write them; the core never reads them, and differences() ignores them.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"

#include <array>

// Kinds of a macro variable (MacroCell::kind); they travel as ints.
enum ZnMacroCellKind : int {
    kMacroCellNumber = 1,
    kMacroCellText = 2,
    kMacroCellList = 3,         // a drop-down list, its items in the cell's value
    kMacroCellListEditable = 4, // the same, the text may also be typed
    kMacroCellCheck = 5,        // "1" or "0"
};

// One named variable of a tab.
struct KXCORE_API MacroCell {
    Kx_String name;
    int kind = kMacroCellNumber;
    Kx_String description;
    Kx_String value;
    // A computed value (a dimension the macro derives): shown, never typed into.
    bool readOnly = false;
    int ctrlId = 0;

    friend bool operator==(const MacroCell&, const MacroCell&) = default;
};

// One bolt pattern: its spacing text ("3x70") and optionally a count.
struct KXCORE_API MacroPatternProps {
    Kx_String name;
    Kx_String description;
    Kx_String value;
    // The number of bolts in the pattern's direction; empty when the pattern has no count.
    Kx_String count;
    bool hasButton = false;
    int valueId = 0;
    int countId = 0;
    int btnId = 0;

    // The count as a number: -1 when the pattern has no count (empty text). A count that is not a
    // whole number of at least 0 (text 695 when several macros differ, a typing error) gives 0: the
    // pattern still has a count, so its count field stays shown.
    int getCount() const;

    friend bool operator==(const MacroPatternProps&, const MacroPatternProps&) = default;
};

// One hole of a bolt group.
struct KXCORE_API MacroBoltHole {
    int used = 0;       // 0 off, 1 on, 2 undecided
    int typeIndex = -1; // 0..2 (slotted, oversized, tapped), -1 none
    std::array<Kx_String, 4> texts{}; // length, width, depth, rotation

    friend bool operator==(const MacroBoltHole&, const MacroBoltHole&) = default;
};

// The bolt settings of a bolt tab.
struct KXCORE_API MacroBoltData {
    // Strings 1 to 5: assembly, diameter, and three further texts (grip, length addition, washers).
    std::array<Kx_String, 5> strings{};
    std::array<int, 5> ids{};
    int advancedId = 0;
    // Tri-state options (0 off, 1 on, 2 undecided); -1 when an option does not apply.
    std::array<int, 4> options{};
    int optionCount = 0;
    bool optionFlag = false;
    // Check states 0 or 1, -1 when not applicable.
    std::array<int, 5> checks{};
    Kx_Array<bool> holeColumnFlags;
    Kx_StringArray holeColumnNames;
    Kx_Array<MacroBoltHole> holes;

    const Kx_String& assembly() const { return strings[0]; }
    const Kx_String& diameter() const { return strings[1]; }
    // The hole columns: which are shown (flags) and their names. set refuses lists of different
    // lengths (false, nothing changed).
    void getHoleColumns(Kx_Array<bool>& flags, Kx_StringArray& names) const;
    bool setHoleColumns(const Kx_Array<bool>& flags, const Kx_StringArray& names);

    friend bool operator==(const MacroBoltData&, const MacroBoltData&) = default;
};

// One profile of a profile tab. Profiles that share a group name form a group whose properties are
// edited together (MacroTabData::getMergedPropsOfGroup). In merged data, a text that differs
// between the profiles reads as text 695, a number -1 and a flag 2.
struct KXCORE_API MacroProfData {
    Kx_String group;
    AcDbObjectId objectId;
    Kx_String profileName;  // "HEA200"
    Kx_String sectionClass; // the section type's name, "HEA"
    Kx_String name2;        // mark
    Kx_String name3;        // material
    int offsetOn = 1;       // flag
    int offsetType = 0;     // index into getOffsetTypeStrings(false)
    std::array<Kx_String, 4> offsets{}; // x1, y1, x2, y2 in mm
    Kx_String angle;                     // degrees
    int basePlane = 0;                   // index into getBasePlaneStrings(false)
    int mirror = 0;                      // flag
    int extraOn = 0;                     // flag: the extra value applies
    Kx_String extraValue;
    int option = 0; // flag
    // The plane the base plane refers to when picked: a part's name, or "xp" for a coordinate system.
    Kx_String planeName;
    // The group has an advanced button of its own in the layout (hides the page's profile controls).
    bool ownAdvancedButton = false;
    // Profile ids 1 to 5: the layout controls of types 13 to 17 that show the group.
    std::array<int, 5> ids{};

    friend bool operator==(const MacroProfData&, const MacroProfData&) = default;
};

// One segment of a segmented profile.
struct KXCORE_API MacroProfSegmentedData {
    Kx_String profileName;
    Kx_String length;
    Kx_String startOffset;
    Kx_String endOffset;

    friend bool operator==(const MacroProfSegmentedData&, const MacroProfSegmentedData&) = default;
};

// One entry of a dynamic array: a value and its control.
struct KXCORE_API EntryProps {
    Kx_String value;
    int ctrlId = 0;
    // What the next update does with the entry (ZnEntryAction).
    int action = 0;

    friend bool operator==(const EntryProps&, const EntryProps&) = default;
};

// Actions on an array entry (EntryProps::action).
enum ZnEntryAction : int {
    kEntryKeep = 0,
    kEntryInsertAfter = 1,
    kEntryRemove = 2,
};

// Which dimension names getValidDimNames offers.
enum ZnUIArrayType : int {
    kArrayDimFirst = 0,
    kArrayDimSecond = 1,
    kArrayDimThird = 2,
};

// One column of an array's entry grid: kind 1 number, 2 text, 3 check box.
struct KXCORE_API EntryColumn {
    int kind = 1;
    bool shown = true;
    Kx_String name;

    friend bool operator==(const EntryColumn&, const EntryColumn&) = default;
};

// A dynamic array: copies of parts along up to three dimensions of the macro, with its entries.
struct KXCORE_API DynArrayData {
    Kx_String name;
    int arrayKind = 2; // 1 special (string 3 applies, entries do not), 2 and 3
    Kx_String description;
    Kx_String value;
    // Strings 1 to 4: distance, offset, special value (kind 1), first dimension name.
    std::array<Kx_String, 4> strings{};
    Kx_String secondDim;
    Kx_String thirdDim;
    bool firstOption = false;
    Kx_String further1;
    Kx_String further2;
    bool secondOption = false;
    Kx_String further3;
    Kx_Array<EntryProps> entries;
    Kx_Array<EntryColumn> columns;
    int valueId = 0;
    int btnId = 0;
    std::array<int, 4> ids{}; // strings 1 to 4

    // The dimension names a combo of the array dialog offers: the tab's number cells (the only values
    // an array can run along), for the second and third dimension with an empty entry first.
    // False when the module is not a tab of macro.
    static bool getValidDimNames(const class MacroData& macro, const Kx_String& moduleName, ZnUIArrayType type,
                                 Kx_StringArray& names);
    void getEntryColumns(Kx_Array<EntryColumn>& out) const { out = columns; }
    void setEntryColumns(const Kx_Array<EntryColumn>& in) { columns = in; }
    // Entry index; false when out of range.
    bool getEntry(int index, EntryProps& entry) const;
    bool setEntryAction(int index, ZnEntryAction action);

    friend bool operator==(const DynArrayData&, const DynArrayData&) = default;
};

// A named cut of the macro; its value is the cut mode (0 to 4).
struct KXCORE_API MacroCutData {
    Kx_String name;
    int value = 0;
    int ctrlId = 0;

    friend bool operator==(const MacroCutData&, const MacroCutData&) = default;
};

// A group of flexible/fixed buttons: each names a dimension that is either fixed (kept when the
// macro adapts) or flexible (the macro may change it).
struct KXCORE_API MacroFlexFixButton {
    Kx_String name;
    bool fixed = false;

    friend bool operator==(const MacroFlexFixButton&, const MacroFlexFixButton&) = default;
};

struct KXCORE_API MacroFlexFixGroup {
    Kx_String name;
    Kx_Array<MacroFlexFixButton> buttons;

    friend bool operator==(const MacroFlexFixGroup&, const MacroFlexFixGroup&) = default;
};

// The block a tab may place (anchor bolts, a stiffener shape): a drawing file of the library.
struct KXCORE_API MacroBlockChoice {
    bool enabled = false;
    Kx_String blockName;
    int ctrlId = 0;

    friend bool operator==(const MacroBlockChoice&, const MacroBlockChoice&) = default;
};

// Kinds of changed items as differences() reports them. Kind 0 only appears in the lists of
// MacroData::differences, where it starts the entries of one tab.
enum ZnMacroItemKind : int {
    kMacroItemTab = 0,
    kMacroItemCell = 1,
    kMacroItemPattern = 2,
    kMacroItemBolt = 3,
    kMacroItemProfile = 4,
    kMacroItemArray = 5,
    kMacroItemCut = 6,
    kMacroItemFlexFix = 7,
    kMacroItemBlock = 8,
    kMacroItemSegments = 9,
};

// Special codes in the lists of differences() and UpdateModule.
inline constexpr int kMacroStructureChanged = -12; // an item list changed its length (in both lists)
inline constexpr int kMacroProfilesSet = -13;       // a profile group's merged properties were set
