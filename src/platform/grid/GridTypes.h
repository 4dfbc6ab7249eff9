// The grid control's numbers in one place: cell type codes and their records, the numbered boolean
// options, the notification codes the grid sends its owner, border, enter-action and reference-style
// values, and the limits. The functions that use them are in Spread.h.
#pragma once

#include "platform/grid/KxGridExport.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string>

// The window classes: the editable grid and its print preview.
inline constexpr const char* kGridClassName = "fpSpread70";
inline constexpr const char* kGridPreviewClassName = "fpSpreadPreview70";

// Coordinates are 1-based; 0 is the header row (column). SS_HEADER addresses the same header cells.
inline constexpr int SS_HEADER = -32767;

// Limits. A count above them is refused (the call fails) instead of exhausting memory.
inline constexpr int SS_MAX_ROWS = 10'000'000;
inline constexpr int SS_MAX_COLS = 32'000;
// Longest text of a cell (data, formula, tag, note) and of a combo box's item list, in bytes.
inline constexpr int SS_MAX_TEXT = 1 << 20;

// ---------------------------------------------------------------------------------------------------
// Cell type codes (SSGetCellType). 8 and 12 are fixed by the module (the type column autosizing may
// skip, and check boxes); the others are this grid's choice. 10, 15 and 16 are reserved for integer,
// percent and currency cells, which this grid does not build.
enum class SSCellType : int {
    Edit = 1,         // free text; the default of every cell
    Picture = 2,      // a picture from a file or a handle; its data is kept but not shown
    StaticText = 5,   // a label the user cannot edit
    Button = 7,       // a push button showing its caption; a click notifies SSN_BUTTONCLICKED
    ComboBox = 8,     // a drop-down list of items
    CheckBox = 12,    // "1" checked, "0" unchecked, "" not set
    Number = 14,      // a floating-point number shown with fixed decimals
};
inline constexpr int SS_TYPE_EDIT = static_cast<int>(SSCellType::Edit);
inline constexpr int SS_TYPE_PICTURE = static_cast<int>(SSCellType::Picture);
inline constexpr int SS_TYPE_STATICTEXT = static_cast<int>(SSCellType::StaticText);
inline constexpr int SS_TYPE_BUTTON = static_cast<int>(SSCellType::Button);
inline constexpr int SS_TYPE_COMBOBOX = static_cast<int>(SSCellType::ComboBox);
inline constexpr int SS_TYPE_CHECKBOX = static_cast<int>(SSCellType::CheckBox);
inline constexpr int SS_TYPE_NUMBER = static_cast<int>(SSCellType::Number);

// Style bits this grid acts on; every other bit of a type's style is kept and saved as given.
inline constexpr long SS_COMBO_EDITABLE = 0x00000002;     // the user may type text not in the list
inline constexpr long SS_COMBO_VALUE_INDEX = 0x00100000;  // the value form is the item's index
inline constexpr long SS_NUMBER_RIGHT = 0x00100000;       // drawn right-aligned (default: left)
inline constexpr long SS_NUMBER_CENTRE = 0x00400000;      // drawn centred
inline constexpr long SS_CHECK_CENTRE = 0x00000100;       // the box is drawn centred
inline constexpr long SS_PICTURE_ICON = 0x00001000;       // the handle is an icon, else a bitmap
inline constexpr long SS_PICTURE_STRETCH = 0x00000004;    // scaled to the cell, keeping proportions
inline constexpr long SS_STATIC_CENTRE = 0x00000004;      // centred text (static text cells)

// Character case of edit cells (the charCase argument of SSSetTypeEdit).
inline constexpr short SS_CASE_LOWER = 0;
inline constexpr short SS_CASE_ASTYPED = 1;
inline constexpr short SS_CASE_UPPER = 2;
// Characters an edit cell takes (the charSet argument): 0 any text, 1 letters only, 2 letters and
// digits. A text with other characters is refused.
inline constexpr short SS_CHRSET_ANY = 0;
inline constexpr short SS_CHRSET_ALPHA = 1;
inline constexpr short SS_CHRSET_ALNUM = 2;

// A cell type record, built by the SSSetType* functions and applied with SSSetCellType(Range).
// Only the members of its type matter. Picture handles are not owned: the caller keeps them alive
// while cells show them. A picture cell's record also keeps the picture's pixels, taken when the
// record is built (from the file or the handle), so the cell shows the picture and the sheet file
// stores it after the file is deleted or the handle destroyed.
struct SS_CELLTYPE {
    int type = SS_TYPE_EDIT;
    long style = 0;
    // Edit: at most maxLength characters (longer texts are cut); 0 means SS_MAX_TEXT bytes.
    int maxLength = 0;
    short charSet = SS_CHRSET_ANY;
    short charCase = SS_CASE_ASTYPED;
    // Number: decimals shown (0 to 15) and the accepted range.
    int decimals = 2;
    double minValue = -99999999999999.0;
    double maxValue = 99999999999999.0;
    // Combo box: items separated by a tab character.
    std::string items;
    // Check box and button: the caption.
    std::string text;
    // Check box pictures (checked, unchecked) and the picture of a picture cell (handle form).
    void* picture1 = nullptr;
    void* picture2 = nullptr;
    // Picture cell from a file.
    std::string pictureFile;
    // Picture cell: the pixels shown (shared, never changed once set); null when the file or the
    // handle gave none.
    std::shared_ptr<const kxwin::BitmapPixels> pixels;
    friend bool operator==(const SS_CELLTYPE&, const SS_CELLTYPE&) = default;
};

// ---------------------------------------------------------------------------------------------------
// The numbered boolean options (SSSetBool/SSGetBool). Numbers not named here are stored, saved and
// read back but change nothing.
enum class SSOption : int {
    AllowUserResize = 3,     // the user may drag header borders (kept; the headless grid has no drag)
    RowHeadersShown = 4,     // the row-header column is shown (and counts in the layout)
    AutoCalc = 7,            // recalculate after every change (through the formula hook)
    Redraw = 8,              // repaint after changes; off while a caller fills the grid
    EditModePermanent = 10,  // typing on a cell edits it at once, Enter does not end editing
    ColHeadersShown = 11,    // the column-header row is shown
    AllowUserFormulas = 12,  // text typed with a leading "=" becomes the cell's formula
    ProcessTab = 13,         // Enter and Tab act inside the grid instead of in the dialog (the wrapper flips it on F8)
    ClipboardKeys = 18,      // Ctrl+C and Ctrl+V copy and paste the selection
    EditModeReplace = 20,    // entering edit mode selects the whole text, so typing replaces it
    ScrollBarsShown = 21,    // kept for the look; the headless grid has no scroll bars
    AllowCellOverflow = 22,  // long texts run into empty cells on their right when drawn
    AllowSelectBlock = 25,   // Shift with arrows or a mouse drag selects a block
    AllowDragDrop = 26,      // kept; blocks are not moved by dragging in this grid
    Changed = 30,            // set by every change of the sheet; the owner clears it after saving
    Protect = 32,            // locked cells refuse the user's edits and show the locked colours
    ArrowsExitEditMode = 34, // Up and Down end editing and move the active cell
};
inline constexpr int SSB_ALLOWUSERRESIZE = 3;
inline constexpr int SSB_SHOWROWHEADERS = 4;
inline constexpr int SSB_AUTOCALC = 7;
inline constexpr int SSB_REDRAW = 8;
inline constexpr int SSB_EDITMODEPERMANENT = 10;
inline constexpr int SSB_SHOWCOLHEADERS = 11;
inline constexpr int SSB_ALLOWUSERFORMULAS = 12;
inline constexpr int SSB_PROCESSTAB = 13;
inline constexpr int SSB_CLIPBOARDKEYS = 18;
inline constexpr int SSB_EDITMODEREPLACE = 20;
inline constexpr int SSB_SCROLLBARS = 21;
inline constexpr int SSB_ALLOWCELLOVERFLOW = 22;
inline constexpr int SSB_ALLOWSELECTBLOCK = 25;
inline constexpr int SSB_ALLOWDRAGDROP = 26;
inline constexpr int SSB_CHANGEMADE = 30;
inline constexpr int SSB_PROTECT = 32;
inline constexpr int SSB_ARROWSEXITEDITMODE = 34;
// Options are numbered 0 to SSB_COUNT - 1; other numbers are refused.
inline constexpr int SSB_COUNT = 256;

// ---------------------------------------------------------------------------------------------------
// Notifications: WM_COMMAND to the grid's parent with MAKEWPARAM(grid id, code) and the grid's
// handle as lParam. SSGetNotifyCell tells which cell a notification is about.
enum class SSNotify : WORD {
    CellChanged = 0x3B,         // the user changed a cell's contents (edit committed, box toggled,
                                // item picked, paste, delete)
    ButtonClicked = 0x3C,       // a button or check-box cell was clicked (or toggled with Space)
    EditModeOn = 0x502,         // the in-cell editor opened
    EditModeOff = 0x503,        // the in-cell editor closed (committed or cancelled)
    LeaveCellAfterEdit = 0x508, // the active cell moved away from a cell whose contents were edited
    LeaveCell = 0x509,          // the active cell moved (sent for every move, after 0x508)
    ComboSelChange = 0x517,     // an item of a combo-box cell was picked
    RightButtonUp = 0x520,      // the right button was released over the grid
    Click = 0x521,              // a left click on a cell (before any button or check-box action)
};
inline constexpr WORD SSN_CELLCHANGED = 0x3B;
inline constexpr WORD SSN_BUTTONCLICKED = 0x3C;
inline constexpr WORD SSN_EDITMODEON = 0x502;
inline constexpr WORD SSN_EDITMODEOFF = 0x503;
inline constexpr WORD SSN_LEAVECELLAFTEREDIT = 0x508;
inline constexpr WORD SSN_LEAVECELL = 0x509;
inline constexpr WORD SSN_COMBOSELCHANGE = 0x517;
inline constexpr WORD SSN_RBUTTONUP = 0x520;
inline constexpr WORD SSN_CLICK = 0x521;
// The grid's private message the owner may see (the wrapper answers it with 0); the grid itself
// sends it to its parent before showing the cell-note tip, and ignores the answer.
inline constexpr UINT SSM_PRIVATE_1303 = 1303;

// Enter actions (SSSetEditEnterAction): where Enter moves the active cell when the grid
// processes Enter (option 13).
inline constexpr int SS_ENTERACTION_NONE = 0;
inline constexpr int SS_ENTERACTION_UP = 1;
inline constexpr int SS_ENTERACTION_DOWN = 2;
inline constexpr int SS_ENTERACTION_LEFT = 3;
inline constexpr int SS_ENTERACTION_RIGHT = 4;
inline constexpr int SS_ENTERACTION_NEXT = 5;  // right, then the first column of the next row

// Reference styles of formulas (SSSetRefStyle).
inline constexpr short SS_REFSTYLE_DEFAULT = 0;
inline constexpr short SS_REFSTYLE_A1 = 1;
inline constexpr short SS_REFSTYLE_R1C1 = 2;

// SSGetCellSpan results.
inline constexpr int SS_SPAN_NO = 0;      // the cell is in no joined block
inline constexpr int SS_SPAN_ANCHOR = 1;  // the cell is the top-left cell of a joined block
inline constexpr int SS_SPAN_YES = 2;     // the cell is covered by a joined block, not its anchor

// Border sides (the type argument of SSSetBorder is a combination) and line styles.
inline constexpr WORD SS_BORDERTYPE_LEFT = 1;
inline constexpr WORD SS_BORDERTYPE_RIGHT = 2;
inline constexpr WORD SS_BORDERTYPE_TOP = 4;
inline constexpr WORD SS_BORDERTYPE_BOTTOM = 8;
inline constexpr WORD SS_BORDERTYPE_OUTLINE = 16;  // around the whole block of a range call
inline constexpr WORD SS_BORDERSTYLE_NONE = 0;
inline constexpr WORD SS_BORDERSTYLE_SOLID = 1;
inline constexpr WORD SS_BORDERSTYLE_FINE = 6;
// Colour values with this bit are system colours (index in the low byte), as COLOR_ values.
inline constexpr COLORREF SS_SYSCOLOR_FLAG = 0x80000000;
// "Keep the current colour" in the colour setters.
inline constexpr COLORREF SS_COLOR_KEEP = 0xFFFFFFFF;

// Grid line types (SSSetGridType): bits for horizontal and vertical lines, solid or dotted.
inline constexpr WORD SS_GRID_HORIZONTAL = 1;
inline constexpr WORD SS_GRID_VERTICAL = 2;
inline constexpr WORD SS_GRID_SOLID = 4;

// Text-tip settings (SSGetTextTip/SSSetTextTip).
inline constexpr WORD SS_TEXTTIP_OFF = 0;
inline constexpr WORD SS_TEXTTIP_FIXED = 1;
inline constexpr WORD SS_TEXTTIP_FLOATING = 2;
