// The macro records' own operations: finders, differences, merged profile groups, flexible/fixed
// buttons and the offset lists. Property files are MacroPropertyFiles.cpp.
#include "core/MacroData.h"

#include "core/TextTables.h"

#include <string>

namespace {

// Text numbers of the second table: offset positions and base planes.
constexpr int kOffsetTypeTexts = 2500; // 13 entries
constexpr int kOffsetTypeCount = 13;
constexpr int kBasePlaneTexts = 2520; // 4 entries
constexpr int kBasePlaneCount = 4;

template <typename T, typename Pred>
bool findIndex(const Kx_Array<T>& list, int& index, Pred&& pred)
{
    for (int i = 0; i < list.length(); ++i) {
        if (pred(list[i])) {
            index = i;
            return true;
        }
    }
    return false;
}

// Appends the entries for one item list: a structure entry when the length changed, else one entry
// per item that differs (control ids aside, which is what `same` compares without).
template <typename T, typename Same, typename Name>
void listDifferences(const Kx_Array<T>& now, const Kx_Array<T>& old, ZnMacroItemKind kind, Same&& same, Name&& name,
                     Kx_StringArray& names, Kx_Array<int>& a, Kx_Array<int>& b)
{
    if (now.length() != old.length()) {
        names.append(Kx_String());
        a.append(kMacroStructureChanged);
        b.append(kMacroStructureChanged);
        return;
    }
    for (int i = 0; i < now.length(); ++i) {
        if (!same(now[i], old[i])) {
            names.append(name(now[i]));
            a.append(kind);
            b.append(i);
        }
    }
}

MacroCell withoutIds(MacroCell c)
{
    c.ctrlId = 0;
    return c;
}
MacroPatternProps withoutIds(MacroPatternProps p)
{
    p.valueId = p.countId = p.btnId = 0;
    return p;
}
MacroBoltData withoutIds(MacroBoltData d)
{
    d.ids = {};
    d.advancedId = 0;
    return d;
}
MacroProfData withoutIds(MacroProfData p)
{
    p.ids = {};
    return p;
}
DynArrayData withoutIds(DynArrayData d)
{
    d.valueId = d.btnId = 0;
    d.ids = {};
    for (auto& e : d.entries)
        e.ctrlId = 0;
    return d;
}
MacroCutData withoutIds(MacroCutData c)
{
    c.ctrlId = 0;
    return c;
}
MacroBlockChoice withoutIds(MacroBlockChoice c)
{
    c.ctrlId = 0;
    return c;
}

template <typename T>
bool sameValues(const T& x, const T& y)
{
    return withoutIds(x) == withoutIds(y);
}

// Merging: the first profile's value, or the "varies" mark once another profile differs.
void mergeText(Kx_String& merged, const Kx_String& value, const Kx_String& varies)
{
    if (merged != value)
        merged = varies;
}
void mergeNumber(int& merged, int value, int varies)
{
    if (merged != value)
        merged = varies;
}

void writeText(Kx_String& target, const Kx_String& value, bool& changed)
{
    if (value.isEmpty() || isVariesText(value) || target == value)
        return;
    target = value;
    changed = true;
}
void writeNumber(int& target, int value, int varies, bool& changed)
{
    if (value == varies || target == value)
        return;
    target = value;
    changed = true;
}

} // namespace

// --- Items ---

int MacroPatternProps::getCount() const
{
    if (count.trimmed().isEmpty())
        return -1;
    int n = 0;
    if (!count.toInt(n) || n < 0)
        return 0;
    return n;
}

void MacroBoltData::getHoleColumns(Kx_Array<bool>& flags, Kx_StringArray& names) const
{
    flags = holeColumnFlags;
    names = holeColumnNames;
}

bool MacroBoltData::setHoleColumns(const Kx_Array<bool>& flags, const Kx_StringArray& names)
{
    if (flags.length() != names.length())
        return false;
    holeColumnFlags = flags;
    holeColumnNames = names;
    return true;
}

bool DynArrayData::getEntry(int index, EntryProps& entry) const
{
    if (index < 0 || index >= entries.length())
        return false;
    entry = entries[index];
    return true;
}

bool DynArrayData::setEntryAction(int index, ZnEntryAction action)
{
    if (index < 0 || index >= entries.length())
        return false;
    entries[index].action = action;
    return true;
}

bool DynArrayData::getValidDimNames(const MacroData& macro, const Kx_String& moduleName, ZnUIArrayType type,
                                    Kx_StringArray& names)
{
    names.setLogicalLength(0);
    const MacroTabData* tab = macro.tabOfModule(moduleName);
    if (!tab)
        return false;
    if (type != kArrayDimFirst)
        names.append(Kx_String());
    for (const MacroCell& cell : tab->cells) {
        if (cell.kind == kMacroCellNumber && !cell.readOnly)
            names.append(cell.name);
    }
    return true;
}

// --- Tab ---

void MacroTabData::removeAllDlgReferences()
{
    for (auto& c : cells)
        c.ctrlId = 0;
    for (auto& p : patterns)
        p.valueId = p.countId = p.btnId = 0;
    bolt.ids = {};
    bolt.advancedId = 0;
    for (auto& p : profiles)
        p.ids = {};
    for (auto& d : arrays) {
        d.valueId = d.btnId = 0;
        d.ids = {};
        for (auto& e : d.entries)
            e.ctrlId = 0;
    }
    for (auto& c : cuts)
        c.ctrlId = 0;
    block.ctrlId = 0;
}

bool MacroTabData::findCellWithName(const Kx_String& name, int& index) const
{
    return findIndex(cells, index, [&](const MacroCell& c) { return c.name == name; });
}

bool MacroTabData::findPatternWithName(const Kx_String& name, int& index) const
{
    return findIndex(patterns, index, [&](const MacroPatternProps& p) { return p.name == name; });
}

bool MacroTabData::findPatternWithBtnId(int id, int& index) const
{
    return id != 0 && findIndex(patterns, index, [&](const MacroPatternProps& p) { return p.btnId == id; });
}

bool MacroTabData::findProfDataWithGroup(const Kx_String& group, int& index) const
{
    return findIndex(profiles, index, [&](const MacroProfData& p) { return p.group == group; });
}

bool MacroTabData::findProfDataWithCtrlResId(int id, int& index) const
{
    if (id == 0)
        return false;
    return findIndex(profiles, index, [&](const MacroProfData& p) {
        for (int pid : p.ids) {
            if (pid == id)
                return true;
        }
        return false;
    });
}

bool MacroTabData::findArrayWithName(const Kx_String& name, int& index) const
{
    return findIndex(arrays, index, [&](const DynArrayData& d) { return d.name == name; });
}

bool MacroTabData::findArrayWithBtnId(int id, int& index) const
{
    return id != 0 && findIndex(arrays, index, [&](const DynArrayData& d) { return d.btnId == id; });
}

bool MacroTabData::findCutWithName(const Kx_String& name, int& index) const
{
    return findIndex(cuts, index, [&](const MacroCutData& c) { return c.name == name; });
}

bool MacroTabData::differences(const MacroTabData& old, Kx_StringArray& names, Kx_Array<int>& a,
                               Kx_Array<int>& b) const
{
    names.setLogicalLength(0);
    a.setLogicalLength(0);
    b.setLogicalLength(0);
    const auto same = [](const auto& x, const auto& y) { return sameValues(x, y); };
    listDifferences(cells, old.cells, kMacroItemCell, same, [](const MacroCell& c) { return c.name; }, names, a, b);
    listDifferences(patterns, old.patterns, kMacroItemPattern, same,
                    [](const MacroPatternProps& p) { return p.name; }, names, a, b);
    if (!sameValues(bolt, old.bolt)) {
        names.append("bolt");
        a.append(kMacroItemBolt);
        b.append(0);
    }
    listDifferences(profiles, old.profiles, kMacroItemProfile, same, [](const MacroProfData& p) { return p.group; },
                    names, a, b);
    listDifferences(arrays, old.arrays, kMacroItemArray, same, [](const DynArrayData& d) { return d.name; }, names,
                    a, b);
    listDifferences(cuts, old.cuts, kMacroItemCut, same, [](const MacroCutData& c) { return c.name; }, names, a, b);
    listDifferences(
        flexFixGroups, old.flexFixGroups, kMacroItemFlexFix,
        [](const MacroFlexFixGroup& x, const MacroFlexFixGroup& y) { return x == y; },
        [](const MacroFlexFixGroup& g) { return g.name; }, names, a, b);
    if (!sameValues(block, old.block)) {
        names.append("block");
        a.append(kMacroItemBlock);
        b.append(0);
    }
    if (segments != old.segments) {
        names.append("segments");
        a.append(kMacroItemSegments);
        b.append(0);
    }
    return !a.isEmpty();
}

bool MacroTabData::getMergedPropsOfGroup(const Kx_String& group, MacroProfData& merged) const
{
    const Kx_String varies = dialString(695);
    bool first = true;
    MacroProfData m;
    for (const MacroProfData& p : profiles) {
        if (p.group != group)
            continue;
        if (first) {
            m = p;
            first = false;
            continue;
        }
        m.objectId = AcDbObjectId::kNull;
        mergeText(m.profileName, p.profileName, varies);
        mergeText(m.sectionClass, p.sectionClass, varies);
        mergeText(m.name2, p.name2, varies);
        mergeText(m.name3, p.name3, varies);
        mergeNumber(m.offsetOn, p.offsetOn, 2);
        mergeNumber(m.offsetType, p.offsetType, -1);
        for (size_t k = 0; k < m.offsets.size(); ++k)
            mergeText(m.offsets[k], p.offsets[k], varies);
        mergeText(m.angle, p.angle, varies);
        mergeNumber(m.basePlane, p.basePlane, -1);
        mergeNumber(m.mirror, p.mirror, 2);
        mergeNumber(m.extraOn, p.extraOn, 2);
        mergeText(m.extraValue, p.extraValue, varies);
        mergeNumber(m.option, p.option, 2);
        mergeText(m.planeName, p.planeName, varies);
    }
    if (first)
        return false;
    merged = m;
    return true;
}

bool MacroTabData::setMergedPropsOfGroup(const Kx_String& group, const MacroProfData& merged)
{
    bool changed = false;
    for (MacroProfData& p : profiles) {
        if (p.group != group)
            continue;
        writeText(p.profileName, merged.profileName, changed);
        writeText(p.sectionClass, merged.sectionClass, changed);
        writeText(p.name2, merged.name2, changed);
        writeText(p.name3, merged.name3, changed);
        writeNumber(p.offsetOn, merged.offsetOn, 2, changed);
        writeNumber(p.offsetType, merged.offsetType, -1, changed);
        for (size_t k = 0; k < p.offsets.size(); ++k)
            writeText(p.offsets[k], merged.offsets[k], changed);
        writeText(p.angle, merged.angle, changed);
        writeNumber(p.basePlane, merged.basePlane, -1, changed);
        writeNumber(p.mirror, merged.mirror, 2, changed);
        writeNumber(p.extraOn, merged.extraOn, 2, changed);
        writeText(p.extraValue, merged.extraValue, changed);
        writeNumber(p.option, merged.option, 2, changed);
        writeText(p.planeName, merged.planeName, changed);
    }
    return changed;
}

void MacroTabData::getProfGroups(Kx_StringArray& groups) const
{
    groups.setLogicalLength(0);
    for (const MacroProfData& p : profiles) {
        if (!groups.contains(p.group))
            groups.append(p.group);
    }
}

void MacroTabData::getProfIdsOfGroup(const Kx_String& group, AcArray<AcDbObjectId>& ids) const
{
    ids.setLogicalLength(0);
    for (const MacroProfData& p : profiles) {
        if (p.group == group)
            ids.append(p.objectId);
    }
}

bool MacroTabData::advBtnForEveryGroup() const
{
    if (profiles.isEmpty())
        return false;
    for (const MacroProfData& p : profiles) {
        if (!p.ownAdvancedButton)
            return false;
    }
    return true;
}

bool MacroTabData::hasBtnFlexFix(const Kx_String& button) const
{
    for (const MacroFlexFixGroup& g : flexFixGroups) {
        for (const MacroFlexFixButton& b : g.buttons) {
            if (b.name == button)
                return true;
        }
    }
    return false;
}

bool MacroTabData::findFlexFixGroup(const Kx_String& group, int& index) const
{
    return findIndex(flexFixGroups, index, [&](const MacroFlexFixGroup& g) { return g.name == group; });
}

bool MacroTabData::isFlexFixBtnFixed(const Kx_String& group, const Kx_String& button, bool& fixed) const
{
    int g = 0;
    if (!findFlexFixGroup(group, g))
        return false;
    for (const MacroFlexFixButton& b : flexFixGroups[g].buttons) {
        if (b.name == button) {
            fixed = b.fixed;
            return true;
        }
    }
    return false;
}

bool MacroTabData::flexFixBtnClicked(const Kx_String& group, const Kx_String& button, bool fixed)
{
    int g = 0;
    if (!findFlexFixGroup(group, g))
        return false;
    auto& buttons = flexFixGroups[g].buttons;
    int clicked = -1;
    for (int i = 0; i < buttons.length(); ++i) {
        if (buttons[i].name == button)
            clicked = i;
    }
    if (clicked < 0 || buttons[clicked].fixed == fixed)
        return false;
    buttons[clicked].fixed = fixed;
    if (fixed && buttons.length() > 1) {
        bool anyFlexible = false;
        for (const auto& b : buttons)
            anyFlexible = anyFlexible || !b.fixed;
        if (!anyFlexible)
            buttons[(clicked + 1) % buttons.length()].fixed = false;
    }
    return true;
}

// --- Offset lists ---

void getOffsetTypeStrings(bool withVaries, Kx_StringArray& names)
{
    names.setLogicalLength(0);
    for (int i = 0; i < kOffsetTypeCount; ++i)
        names.append(string(kOffsetTypeTexts + i));
    if (withVaries)
        names.append(dialString(695));
}

void getBasePlaneStrings(bool withVaries, Kx_StringArray& names)
{
    names.setLogicalLength(0);
    for (int i = 0; i < kBasePlaneCount; ++i)
        names.append(string(kBasePlaneTexts + i));
    if (withVaries)
        names.append(dialString(695));
}

int getProfOffsetType(int dlgIndex)
{
    if (dlgIndex <= 0 || dlgIndex >= kOffsetTypeCount)
        return -1;
    return dlgIndex;
}

int getDlgOffsetType(const MacroProfData& prof)
{
    if (prof.offsetOn == 2 || prof.offsetType < 0)
        return -1;
    if (prof.offsetOn == 0 || prof.offsetType >= kOffsetTypeCount)
        return 0;
    return prof.offsetType;
}

bool isVariesText(const Kx_String& text)
{
    return !text.isEmpty() && text == dialString(695);
}

// --- Macro ---

bool MacroData::findTab(const Kx_String& name, int& index) const
{
    if (name.isEmpty())
        return false;
    return findIndex(tabs, index, [&](const MacroTabData& t) { return t.moduleName.equal(name, false); })
        || findIndex(tabs, index, [&](const MacroTabData& t) { return t.caption.equal(name, false); });
}

MacroTabData* MacroData::tabOfModule(const Kx_String& moduleName)
{
    for (MacroTabData& t : tabs) {
        if (t.moduleName == moduleName)
            return &t;
    }
    return nullptr;
}

const MacroTabData* MacroData::tabOfModule(const Kx_String& moduleName) const
{
    return const_cast<MacroData*>(this)->tabOfModule(moduleName);
}

bool MacroData::differences(const MacroData& old, Kx_StringArray& names, Kx_Array<int>& a, Kx_Array<int>& b) const
{
    names.setLogicalLength(0);
    a.setLogicalLength(0);
    b.setLogicalLength(0);
    if (tabs.length() != old.tabs.length()) {
        names.append(Kx_String());
        a.append(kMacroStructureChanged);
        b.append(kMacroStructureChanged);
        return true;
    }
    Kx_StringArray tabNames;
    Kx_Array<int> tabA;
    Kx_Array<int> tabB;
    for (int t = 0; t < tabs.length(); ++t) {
        if (!tabs[t].differences(old.tabs[t], tabNames, tabA, tabB))
            continue;
        names.append(tabs[t].moduleName);
        a.append(kMacroItemTab);
        b.append(t);
        for (int i = 0; i < tabA.length(); ++i) {
            names.append(tabNames[i]);
            a.append(tabA[i]);
            b.append(tabB[i]);
        }
    }
    return !a.isEmpty();
}
