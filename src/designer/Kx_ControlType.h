// The control types of a designed dialog: their codes as stored in layout files, the kind of child
// window each one becomes, and the texts the designer shows for them. Placing and reading the
// windows is Kx_DlgDesignerData's business, not this file's.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

// The type code of a layout control. The codes are stored in layout files and travel as int between
// the modules, so their values never change. A file may hold a code outside 0..30 (written by a
// newer designer or edited by hand); such a control is kept and written back as it was, and is
// shown as a label (see windowKindOf).
enum class Kx_ControlType : int {
    Label = 0,                    // static text
    Frame = 1,                    // group frame
    VariableEdit = 2,             // edit of a macro variable named by its contents
    VariableCombo = 3,            // drop-down combo with an edit field, for a macro variable
    PatternValueEdit = 4,         // multi-line bolt-count edits of a pattern
    PatternCountEdit = 5,
    PatternButton = 6,
    BoltAssemblyList = 7,
    BoltDiameterEdit = 8,
    BoltText3Edit = 9,
    BoltText4Edit = 10,
    BoltText5Edit = 11,
    BoltAdvancedButton = 12,
    ProfileList = 13,
    ProfileSelectButton = 14,
    ProfilePositionList = 15,
    ProfileAngleCombo = 16,
    ProfileAdvancedButton = 17,
    ArrayValueEdit = 18,
    ArrayDimensionEdit = 19,
    ArraySpecialValueEdit = 20,
    ArrayField1Edit = 21,
    ArrayField2Edit = 22,
    ArrayEntryEdit = 23,
    ArrayButton = 24,
    DimensionButton = 25,         // push button with the five-part extended list
    DimensionButtonTwoValues = 26,
    BlockList = 27,
    CutModeList = 28,             // drop-down list of five fixed items; the value is the index
    CheckBox = 29,
    FlexButton = 30,              // push-like check button with an icon, one of a named group
};

inline constexpr int kControlTypeCount = 31;

// The child window a control type becomes.
enum class Kx_WindowKind {
    Static,         // left-aligned static text
    GroupFrame,     // "Button" with BS_GROUPBOX
    Edit,           // single line, sunken edge, horizontal auto-scroll
    MultiLineEdit,  // sunken edge, vertical auto-scroll
    DropDownList,   // combo box without edit field
    DropDownCombo,  // combo box with an edit field
    PushButton,
    CheckBox,
    FlexButton,     // push-like automatic check box showing an icon
};

constexpr int toInt(Kx_ControlType type)
{
    return static_cast<int>(type);
}

// True for the codes 0 to 30.
KXSS_API bool isKnownControlType(Kx_ControlType type);
// The window of the type; an unknown code is a label.
KXSS_API Kx_WindowKind windowKindOf(Kx_ControlType type);
// Whether a window kind is a combo box (with or without edit field).
KXSS_API bool isComboKind(Kx_WindowKind kind);

// The type's name in the designer's type list. Empty for an unknown code.
KXSS_API Kx_String controlTypeName(Kx_ControlType type);
// The description the designer shows for the type (its group); empty when it has none.
KXSS_API Kx_String controlTypeDescription(Kx_ControlType type);
// The explanation the designer shows for the combo-list field, parts joined by ';' for the types
// whose field holds an extended list. Empty when the designer disables the field for the type
// (hasComboListField is false).
KXSS_API Kx_String controlTypeHint(Kx_ControlType type);
KXSS_API bool hasComboListField(Kx_ControlType type);
