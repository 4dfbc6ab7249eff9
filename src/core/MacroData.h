// MacroData: the editable state of one connection macro (or of several edited together) as the
// add-on's modules hand it to the macro dialogs: its tabs, each with its items (MacroItems.h), and the
// macro-wide fields. Each dialog works on its own copy; the caller's object is touched only when the
// launcher copies back or the caller asks for the data.
//
// What acts on the drawing (UpdateModule, the clash checks) is not here but in the drawing services;
// the definition files of whole macros are MacroFile.h.
#pragma once

#include "core/EditConstrData.h"
#include "core/KxCoreExport.h"
#include "core/MacroItems.h"
#include "core/MacroSubDialogData.h"

// One tab of a macro: a module of the macro with its layout and items.
class KXCORE_API MacroTabData {
public:
    // 0, 1 (the bolt tab) or 3: a standard page; 2: a profile page. Other kinds get no page.
    int kind = 0;
    // Identifies the module to the drawing ("End plates\end plate").
    Kx_String moduleName;
    Kx_String caption;
    // The designed layout to show; empty: every item goes to the page's grid.
    Kx_String layoutName;
    Kx_Array<MacroCell> cells;
    Kx_Array<MacroPatternProps> patterns;
    MacroBoltData bolt;
    Kx_Array<MacroProfData> profiles;
    Kx_Array<MacroProfSegmentedData> segments;
    Kx_Array<DynArrayData> arrays;
    Kx_Array<MacroCutData> cuts;
    Kx_Array<MacroFlexFixGroup> flexFixGroups;
    MacroBlockChoice block;

    // Sets every control id of every item to 0 (not shown).
    void removeAllDlgReferences();

    // Finders: the index of the first item that matches; false (index untouched) when none does.
    // Names are matched exactly; ids of 0 never match.
    bool findCellWithName(const Kx_String& name, int& index) const;
    bool findPatternWithName(const Kx_String& name, int& index) const;
    bool findPatternWithBtnId(int id, int& index) const;
    bool findProfDataWithGroup(const Kx_String& group, int& index) const;
    bool findProfDataWithCtrlResId(int id, int& index) const;
    bool findArrayWithName(const Kx_String& name, int& index) const;
    bool findArrayWithBtnId(int id, int& index) const;
    bool findCutWithName(const Kx_String& name, int& index) const;

    // What changed from old to this tab. For each changed item, in the order cells, patterns, bolt
    // data, profiles, arrays, cuts, flex/fix groups, block choice, segments: its name in names, its
    // kind (ZnMacroItemKind) in a and its index in its list in b (the bolt data, the block choice and
    // the segments have index 0 and the names "bolt", "block" and "segments"; a profile is named by
    // its group). An item list that changed its length adds one entry "" / kMacroStructureChanged /
    // kMacroStructureChanged instead of its items. Control ids are not compared. The lists are
    // replaced; true when anything changed.
    bool differences(const MacroTabData& old, Kx_StringArray& names, Kx_Array<int>& a, Kx_Array<int>& b) const;

    // The properties of the group's profiles merged into one record: what all share, text 695 for a
    // text that differs, -1 for a number, 2 for a flag. The group and ownAdvancedButton come from the
    // first profile, the object id is null when the group has more than one. False when the group has
    // no profile (merged untouched).
    bool getMergedPropsOfGroup(const Kx_String& group, MacroProfData& merged) const;
    // Writes the merged record's properties into every profile of the group, except those that read
    // as differing (text 695, -1, 2) or are empty texts: 695 never reaches a profile. Group, object
    // id and control ids are never written. True when a profile changed.
    bool setMergedPropsOfGroup(const Kx_String& group, const MacroProfData& merged);
    // The group names in their first order of appearance, and the object ids of one group.
    void getProfGroups(Kx_StringArray& groups) const;
    void getProfIdsOfGroup(const Kx_String& group, AcArray<AcDbObjectId>& ids) const;
    // True when there are profiles and every group has an advanced button of its own.
    bool advBtnForEveryGroup() const;
    bool hasSegmentedProfs() const { return !segments.isEmpty(); }

    // Flexible/fixed buttons. hasBtnFlexFix: some group has a button of that name.
    bool hasBtnFlexFix(const Kx_String& button) const;
    bool findFlexFixGroup(const Kx_String& group, int& index) const;
    // The state of one button; false when the group or button does not exist.
    bool isFlexFixBtnFixed(const Kx_String& group, const Kx_String& button, bool& fixed) const;
    // A click on a button: sets it to fixed (or flexible). Within a group at least one button stays
    // flexible, so fixing the last flexible one frees the next one (a plate whose width, left and right
    // edge distances are all fixed could not adapt). True when the data changed.
    bool flexFixBtnClicked(const Kx_String& group, const Kx_String& button, bool fixed);

    friend bool operator==(const MacroTabData&, const MacroTabData&) = default;
};

// The offset positions and base planes a profile can take, in the order of the dialogs' combos.
// withVaries appends text 695. getProfOffsetType turns a combo index into a profile offset type
// (negative: the offset is switched off); getDlgOffsetType gives the combo index of a profile's
// offset (-1 when merged profiles differ).
KXCORE_API void getOffsetTypeStrings(bool withVaries, Kx_StringArray& names);
KXCORE_API void getBasePlaneStrings(bool withVaries, Kx_StringArray& names);
KXCORE_API int getProfOffsetType(int dlgIndex);
KXCORE_API int getDlgOffsetType(const MacroProfData& prof);
// True when text is text 695 of the current language, the mark of values that differ.
KXCORE_API bool isVariesText(const Kx_String& text);

// The three view directions of MacroData::changeView, and the plan view the dialogs return to.
enum Kx_ViewDirection : int {
    kViewFront = 0,
    kViewSide = 1,
    kViewTop = 2,
    kViewIso = 3,
};

class KXCORE_API MacroData {
public:
    // Window caption of the macro dialog.
    Kx_String title;
    // 1: the first object id is a temporary object (the profile pages erase it).
    int kind = 0;
    AcArray<AcDbObjectId> objectIds;
    // The macros' modules, handed to the clash checks.
    AcArray<AcDbObjectId> moduleIds;
    // How many macros are edited together; 1 a single macro.
    int numberOfMacros = 1;
    Kx_StringArray groupNames;
    Kx_StringArray firstFilter;
    int firstFilterSel = 0;
    // Element 0 is the macro's name when one macro is edited.
    Kx_StringArray macroNames;
    Kx_StringArray secondFilter;
    int secondFilterSel = 0;
    Kx_Array<MacroTabData> tabs;
    Kx_String initialTab;
    bool openProfile = false;
    Kx_String openProfileGroup;
    bool temporary = false;
    // Set by the core module while it works on the macro: a modeless close is deferred meanwhile.
    bool busy = false;
    // Set in the dialog's copy when the dialog is closed, so the caller sees how it ended.
    bool closed = false;
    // Shows the module in a view direction: the drawing's view turns and zooms to the module's parts.
    // False when the module is not in the drawing or the drawing refused.
    bool changeView(const Kx_String& moduleName, Kx_ViewDirection direction);
    // Applies the macro again from its current values (rebuilding its parts); true when it was applied,
    // after which the dialog closes.
    bool reApply();

    // Whether property files may be read and written, and where they live (the library's
    // "Macro Properties" folder by default); propListDeniedReason says why not.
    bool propListEnabled = true;
    Kx_String propListDeniedReason;
    Kx_String propFileFolder;

    bool isBusy() const { return busy; }
    void setBusy(bool on) { busy = on; }
    bool isClosed() const { return closed; }
    void setClosed(bool on) { closed = on; }

    // The tab whose module name (or else caption) is name, ignoring case; false when none.
    bool findTab(const Kx_String& name, int& index) const;
    // The tab of a module, or null. Not owned.
    MacroTabData* tabOfModule(const Kx_String& moduleName);
    const MacroTabData* tabOfModule(const Kx_String& moduleName) const;

    // What changed from old, tab by tab: for each changed tab an entry module name / kMacroItemTab /
    // tab index, followed by that tab's entries as MacroTabData::differences gives them. A different
    // number of tabs gives one kMacroStructureChanged entry. True when anything changed.
    bool differences(const MacroData& old, Kx_StringArray& names, Kx_Array<int>& a, Kx_Array<int>& b) const;

    // Property files. propListAllowed: false with the reason when they may not be used.
    bool propListAllowed(Kx_String& reason) const;
    // The folder, a proposed file name, and the files there with their descriptions (each file's
    // "description" property, else its name).
    bool getPropFiles(Kx_String& folder, Kx_String& file, Kx_StringArray& names, Kx_StringArray& descriptions) const;
    // Reads the values of a property file into the tabs. Values are keyed "module|item"; a value
    // that matches no item, a read-only cell, or holds text 695, or a wrong type counts as an
    // error (errors) and is skipped, the rest applies. A file that cannot be read at all applies
    // nothing, returns false and says why on the command line.
    bool readFromFile(const Kx_String& file, int& errors);
    // Writes every value of every tab (cells, pattern values and counts, bolt strings, array values,
    // cut modes) through the save routine. Values that read text 695 are left out.
    bool writeToFile(const Kx_String& file) const;

    friend bool operator==(const MacroData&, const MacroData&) = default;
};
