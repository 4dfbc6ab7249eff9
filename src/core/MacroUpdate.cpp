// UpdateModule: what changed in one module of a macro goes into the placed macro's values, is checked
// against what the drawing can make, and rebuilds and redraws its parts. The model itself is
// MacroDrawing.cpp.
#include "core/MacroDrawing.h"

#include "core/TextTables.h"

#include <algorithm>
#include <cmath>

using kxcore::MacroModel;
using kxcore::PlacedMacro;

namespace {

// The value of an item as the log shows it.
std::string itemValue(const MacroTabData& tab, int kind, int index)
{
    switch (kind) {
    case kMacroItemCell: return index < tab.cells.length() ? tab.cells[index].value.str() : "";
    case kMacroItemPattern:
        if (index >= tab.patterns.length())
            return "";
        return tab.patterns[index].value.str()
            + (tab.patterns[index].count.isEmpty() ? "" : " (" + tab.patterns[index].count.str() + ")");
    case kMacroItemBolt: return tab.bolt.assembly().str() + " " + tab.bolt.diameter().str();
    case kMacroItemProfile: return index < tab.profiles.length() ? tab.profiles[index].profileName.str() : "";
    case kMacroItemArray: return index < tab.arrays.length() ? tab.arrays[index].value.str() : "";
    case kMacroItemCut: return index < tab.cuts.length() ? std::to_string(tab.cuts[index].value) : "";
    case kMacroItemBlock: return tab.block.blockName.str();
    default: return "";
    }
}

std::string itemName(const MacroTabData& tab, int kind, int index)
{
    switch (kind) {
    case kMacroItemCell: return index < tab.cells.length() ? tab.cells[index].name.str() : "cell";
    case kMacroItemPattern: return index < tab.patterns.length() ? tab.patterns[index].name.str() : "pattern";
    case kMacroItemBolt: return "bolt";
    case kMacroItemProfile: return index < tab.profiles.length() ? tab.profiles[index].group.str() : "profile";
    case kMacroItemArray: return index < tab.arrays.length() ? tab.arrays[index].name.str() : "array";
    case kMacroItemCut: return index < tab.cuts.length() ? tab.cuts[index].name.str() : "cut";
    case kMacroItemFlexFix: return index < tab.flexFixGroups.length() ? tab.flexFixGroups[index].name.str() : "flex";
    case kMacroItemBlock: return "block";
    default: return "segments";
    }
}

// Why the drawing cannot take an item's new value; empty when it can.
std::string refusal(const MacroTabData& tab, int kind, int index)
{
    if (kind == kMacroItemCell && index < tab.cells.length()) {
        const MacroCell& c = tab.cells[index];
        if (c.kind == kMacroCellNumber) {
            double v = 0;
            if (!c.value.toDouble(v) || !std::isfinite(v))
                return "not a number";
            const std::string& n = c.name.str();
            const bool dimension = n.find("Width") != std::string::npos || n.find("Height") != std::string::npos
                || n.find("Thickness") != std::string::npos || n.find("Length") != std::string::npos;
            if (dimension && v <= 0)
                return "must be more than 0 mm";
            if ((n == "gap" || n.rfind("edge", 0) == 0) && v < 0)
                return "cannot be negative";
        }
    }
    if (kind == kMacroItemPattern && index < tab.patterns.length()) {
        const MacroPatternProps& p = tab.patterns[index];
        if (!kxcore::parsePattern(p.value))
            return "not a pattern of the form <number>x<spacing>";
        if (p.getCount() != -1 && p.getCount() != kxcore::parsePattern(p.value)->gaps)
            return "the count does not match the pattern";
    }
    if (kind == kMacroItemBolt) {
        Kx_StringArray diameters;
        if (!GetDiameters(tab.bolt.assembly(), diameters))
            return "unknown bolt assembly";
        if (!diameters.contains(tab.bolt.diameter(), /*exact=*/false))
            return "no " + tab.bolt.diameter().str() + " in " + tab.bolt.assembly().str();
    }
    if (kind == kMacroItemProfile && index < tab.profiles.length()) {
        if (!kxcore::frameSection(tab.profiles[index].profileName.view()))
            return "unknown section";
    }
    if (kind == kMacroItemCut && index < tab.cuts.length()) {
        if (tab.cuts[index].value < 0 || tab.cuts[index].value > 4)
            return "cut mode must be 0 to 4";
    }
    return {};
}

// Copies one item from `from` into `to` (the same module of another MacroData).
void copyItem(const MacroTabData& from, MacroTabData& to, int kind, int index)
{
    switch (kind) {
    case kMacroItemCell:
        if (index < from.cells.length() && index < to.cells.length())
            to.cells[index].value = from.cells[index].value;
        break;
    case kMacroItemPattern:
        if (index < from.patterns.length() && index < to.patterns.length()) {
            to.patterns[index].value = from.patterns[index].value;
            to.patterns[index].count = from.patterns[index].count;
        }
        break;
    case kMacroItemBolt: {
        const auto ids = to.bolt.ids;
        const int adv = to.bolt.advancedId;
        to.bolt = from.bolt;
        to.bolt.ids = ids;
        to.bolt.advancedId = adv;
        break;
    }
    case kMacroItemProfile:
        if (index < from.profiles.length() && index < to.profiles.length()) {
            const auto ids = to.profiles[index].ids;
            const AcDbObjectId object = to.profiles[index].objectId;
            to.profiles[index] = from.profiles[index];
            to.profiles[index].ids = ids;
            to.profiles[index].objectId = object;
        }
        break;
    case kMacroItemArray:
        if (index < from.arrays.length() && index < to.arrays.length()) {
            const DynArrayData keep = to.arrays[index];
            to.arrays[index] = from.arrays[index];
            to.arrays[index].valueId = keep.valueId;
            to.arrays[index].btnId = keep.btnId;
            to.arrays[index].ids = keep.ids;
        }
        break;
    case kMacroItemCut:
        if (index < from.cuts.length() && index < to.cuts.length())
            to.cuts[index].value = from.cuts[index].value;
        break;
    case kMacroItemFlexFix:
        if (index < from.flexFixGroups.length() && index < to.flexFixGroups.length())
            to.flexFixGroups[index] = from.flexFixGroups[index];
        break;
    case kMacroItemBlock:
        to.block.blockName = from.block.blockName;
        to.block.enabled = from.block.enabled;
        break;
    case kMacroItemSegments: to.segments = from.segments; break;
    default: break;
    }
}

// A profile changed in one tab changes the same profile (by mark) in every other tab.
void propagateProfile(MacroData& data, const MacroProfData& prof)
{
    for (MacroTabData& tab : data.tabs)
        for (MacroProfData& p : tab.profiles)
            if (p.name2 == prof.name2 && !prof.name2.isEmpty())
                p.profileName = prof.profileName;
}

bool sameParts(const std::vector<kxcore::MacroPart>& a, const std::vector<kxcore::MacroPart>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].boxes != b[i].boxes || a[i].properties != b[i].properties)
            return false;
    return true;
}

// The placed macros a dialog's data stands for: every macro named by its module ids (several when
// several macros are edited together), or the one of its name.
std::vector<PlacedMacro*> placedOf(const MacroData& data)
{
    MacroModel& model = MacroModel::instance();
    std::vector<PlacedMacro*> out;
    for (const AcDbObjectId& id : data.moduleIds)
        if (PlacedMacro* m = model.find(id); m && std::find(out.begin(), out.end(), m) == out.end())
            out.push_back(m);
    if (out.empty())
        if (PlacedMacro* m = model.of(data))
            out.push_back(m);
    return out;
}

bool updateTab(const Kx_String& moduleName, MacroData& macro, const Kx_Array<int>& a, const Kx_Array<int>& b,
               std::string& log)
{
    MacroTabData* tab = macro.tabOfModule(moduleName);
    const std::vector<PlacedMacro*> targets = placedOf(macro);
    if (!tab || targets.empty()) {
        log += ": not in the drawing";
        return false;
    }
    bool changed = false;
    std::string items;
    std::vector<std::string> corrections;
    for (PlacedMacro* placed : targets) {
        MacroTabData* own = placed->data.tabOfModule(moduleName);
        if (!own)
            continue;
        for (int i = 0; i < a.length() && i < b.length(); ++i) {
            const int kind = a[i], index = b[i];
            if (kind <= 0)
                continue;
            // Values that differ between the edited macros stay each macro's own.
            if (kMacroItemCell == kind && index < tab->cells.length() && isVariesText(tab->cells[index].value))
                continue;
            const std::string name = itemName(*tab, kind, index);
            const std::string was = itemValue(*own, kind, index);
            const std::string why = refusal(*tab, kind, index);
            if (!why.empty()) {
                // Back to what the drawing holds, so the dialog shows what is really there.
                const std::string typed = itemValue(*tab, kind, index);
                copyItem(*own, *tab, kind, index);
                corrections.push_back(name + " " + typed + " -> " + was + ": " + why);
                continue;
            }
            copyItem(*tab, *own, kind, index);
            if (kind == kMacroItemProfile && index < own->profiles.length())
                propagateProfile(placed->data, own->profiles[index]);
            if (placed == targets.front()) {
                const std::string now = itemValue(*own, kind, index);
                if (now != was)
                    items += (items.empty() ? ": " : ", ") + name + " " + was + " -> " + now;
            }
        }
        const std::vector<kxcore::MacroPart> before = placed->parts;
        std::vector<std::string> rebuilt;
        MacroModel::instance().rebuild(*placed, &rebuilt);
        if (placed == targets.front())
            corrections.insert(corrections.end(), rebuilt.begin(), rebuilt.end());
        changed = changed || !sameParts(before, placed->parts);
        // Corrections the model made go back to the dialog's data.
        if (placed == targets.front() && !rebuilt.empty()) {
            for (int c = 0; c < own->cells.length() && c < tab->cells.length(); ++c)
                tab->cells[c].value = own->cells[c].value;
        }
    }
    log += items.empty() ? ": nothing to change" : items;
    for (const std::string& c : corrections)
        log += "; corrected " + c;
    return changed;
}

} // namespace

bool UpdateModule(const Kx_String& moduleName, MacroData& macro, const Kx_Array<int>& a, const Kx_Array<int>& b)
{
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    MacroModel& model = MacroModel::instance();
    std::string log = "UpdateModule " + moduleName.str();
    if (model.refuses("UpdateModule")) {
        drawing.logRequest(log, {}, "refused");
        return false;
    }
    // -13: a profile group's merged properties were set: every profile of the tab is sent.
    Kx_Array<int> kinds = a, indexes = b;
    if (kinds.contains(kMacroProfilesSet)) {
        removeAll(kinds, kMacroProfilesSet);
        if (const MacroTabData* tab = macro.tabOfModule(moduleName)) {
            for (int i = 0; i < tab->profiles.length(); ++i) {
                kinds.append(kMacroItemProfile);
                indexes.append(i);
            }
        }
        indexes.setLogicalLength(kinds.length());
    }
    const bool changed = updateTab(moduleName, macro, kinds, indexes, log);
    if (changed)
        model.redraw(drawing);
    std::vector<AcDbObjectId> ids(macro.moduleIds.begin(), macro.moduleIds.end());
    drawing.logRequest(log, ids, changed ? "drawing changed" : "no change");
    return changed;
}
