// The rest of what the macro dialogs ask of the drawing: whole-macro updates, views, selecting other
// macros, filters, blocks, bolt catalogues, profile picks and macro settings. Each call is logged in
// words on the drawing's request log; each can be refused by a test through MacroModel::setRefusal.
#include "core/MacroDrawing.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/TextTables.h"

#include <algorithm>
#include <cmath>

using kxcore::MacroModel;
using kxcore::PlacedMacro;

namespace {

kxhost::SimulatedDrawing& drawing() { return kxhost::activeDrawing(); }

bool refused(const char* call, const std::string& what)
{
    if (!MacroModel::instance().refuses(call))
        return false;
    drawing().logRequest(what, {}, "refused");
    return true;
}

// Bolt assemblies and the diameters each is made in.
struct Assembly {
    const char* name;
    std::vector<int> diameters;
};
const std::vector<Assembly>& assemblies()
{
    static const std::vector<Assembly> list = {
        {"4.6 DIN 7990", {12, 16, 20, 24, 27, 30}},
        {"8.8 DIN 931", {12, 16, 20, 22, 24, 27, 30, 36}},
        {"8.8 DIN 933", {12, 16, 20, 22, 24, 27, 30, 36}},
        {"10.9 HV", {12, 16, 20, 22, 24, 27, 30, 36}},
        {"10.9 DIN 6914", {12, 16, 20, 22, 24, 27, 30, 36}},
    };
    return list;
}

// Two macros' values merged: what differs reads text 695.
void mergeText(Kx_String& into, const Kx_String& other, const Kx_String& varies)
{
    if (into != other)
        into = varies;
}

void mergeTab(MacroTabData& into, const MacroTabData& other, const Kx_String& varies)
{
    for (int i = 0; i < into.cells.length() && i < other.cells.length(); ++i)
        mergeText(into.cells[i].value, other.cells[i].value, varies);
    for (int i = 0; i < into.patterns.length() && i < other.patterns.length(); ++i) {
        mergeText(into.patterns[i].value, other.patterns[i].value, varies);
        if (into.patterns[i].getCount() != -1)
            mergeText(into.patterns[i].count, other.patterns[i].count, varies);
    }
    for (size_t k = 0; k < into.bolt.strings.size(); ++k)
        mergeText(into.bolt.strings[k], other.bolt.strings[k], varies);
    for (int i = 0; i < into.arrays.length() && i < other.arrays.length(); ++i)
        mergeText(into.arrays[i].value, other.arrays[i].value, varies);
    for (int i = 0; i < into.profiles.length() && i < other.profiles.length(); ++i) {
        mergeText(into.profiles[i].profileName, other.profiles[i].profileName, varies);
        mergeText(into.profiles[i].angle, other.profiles[i].angle, varies);
    }
    if (into.block.enabled)
        mergeText(into.block.blockName, other.block.blockName, varies);
}

// The dialog's data refilled from the drawing over the given macros, keeping the dialog's own fields.
void refill(MacroData& data, const std::vector<PlacedMacro*>& macros)
{
    if (macros.empty())
        return;
    MacroData merged = macros.front()->data;
    const Kx_String varies = dialString(695);
    merged.moduleIds.setLogicalLength(0);
    merged.objectIds.setLogicalLength(0);
    merged.macroNames.setLogicalLength(0);
    for (PlacedMacro* m : macros) {
        merged.moduleIds.append(m->macroObject);
        for (const AcDbObjectId& id : m->data.objectIds)
            merged.objectIds.append(id);
        merged.macroNames.append(m->data.macroNames.isEmpty() ? m->data.title : m->data.macroNames[0]);
        if (m == macros.front())
            continue;
        for (MacroTabData& tab : merged.tabs)
            if (const MacroTabData* other = m->data.tabOfModule(tab.moduleName))
                mergeTab(tab, *other, varies);
    }
    merged.numberOfMacros = static_cast<int>(macros.size());
    if (macros.size() > 1) {
        merged.title = Kx_String(static_cast<int>(macros.size()));
        merged.title.append(" macros");
    }
    // What the dialog keeps of its own: filters, flags and the state of its run.
    merged.firstFilterSel = data.firstFilterSel;
    merged.secondFilterSel = data.secondFilterSel;
    merged.initialTab = data.initialTab;
    merged.busy = data.busy;
    merged.closed = data.closed;
    merged.openProfile = data.openProfile;
    merged.openProfileGroup = data.openProfileGroup;
    data = std::move(merged);
}

std::vector<PlacedMacro*> selected(const MacroData& data)
{
    std::vector<PlacedMacro*> out;
    for (const AcDbObjectId& id : data.moduleIds)
        if (PlacedMacro* m = MacroModel::instance().find(id); m && std::find(out.begin(), out.end(), m) == out.end())
            out.push_back(m);
    if (out.empty())
        if (PlacedMacro* m = MacroModel::instance().of(data))
            out.push_back(m);
    return out;
}

} // namespace

void removeAll(Kx_Array<int>& list, int value)
{
    auto& items = list.items();
    items.erase(std::remove(items.begin(), items.end(), value), items.end());
}

bool setAllToMacro(MacroData& macro, const Kx_Array<int>& a, const Kx_Array<int>& b)
{
    if (refused("setAllToMacro", "setAllToMacro " + macro.title.str()))
        return false;
    // The lists hold, per tab, an entry "tab kind 0 / tab index" followed by that tab's items.
    bool changed = false;
    int i = 0;
    while (i < a.length() && i < b.length()) {
        if (a[i] != kMacroItemTab || b[i] < 0 || b[i] >= macro.tabs.length()) {
            ++i;
            continue;
        }
        const Kx_String module = macro.tabs[b[i]].moduleName;
        Kx_Array<int> kinds, indexes;
        for (++i; i < a.length() && i < b.length() && a[i] != kMacroItemTab; ++i) {
            kinds.append(a[i]);
            indexes.append(b[i]);
        }
        changed = UpdateModule(module, macro, kinds, indexes) || changed;
    }
    return changed;
}

bool MacroData::changeView(const Kx_String& moduleName, Kx_ViewDirection direction)
{
    static const char* const kNames[] = {"front", "side", "top", "iso"};
    const int d = std::clamp(static_cast<int>(direction), 0, 3);
    const std::string what = "changeView " + moduleName.str() + ": " + kNames[d];
    if (refused("changeView", what))
        return false;
    MacroModel& model = MacroModel::instance();
    if (!model.of(*this)) {
        drawing().logRequest(what, {}, "not in the drawing");
        return false;
    }
    model.setView(moduleName, static_cast<Kx_ViewDirection>(d));
    model.setViewedMacro(model.of(*this)->macroObject);
    model.redraw(drawing());
    drawing().logRequest(what, {moduleIds.begin(), moduleIds.end()}, "done");
    return true;
}

bool MacroData::reApply()
{
    const std::string what = "reApply " + title.str();
    if (refused("reApply", what))
        return false;
    const std::vector<PlacedMacro*> macros = selected(*this);
    if (macros.empty()) {
        drawing().logRequest(what, {}, "not in the drawing");
        return false;
    }
    for (PlacedMacro* m : macros)
        MacroModel::instance().rebuild(*m);
    MacroModel::instance().redraw(drawing());
    drawing().logRequest(what, {moduleIds.begin(), moduleIds.end()}, "applied");
    return true;
}

bool SelectOtherMacros(MacroData* macro)
{
    if (!macro || refused("SelectOtherMacros", "SelectOtherMacros"))
        return false;
    const auto picked = drawing().pickObject("Select another macro to edit with this one", "macro");
    if (!picked)
        return false;
    PlacedMacro* other = MacroModel::instance().find(*picked);
    std::vector<PlacedMacro*> macros = selected(*macro);
    if (!other || std::find(macros.begin(), macros.end(), other) != macros.end()) {
        drawing().logRequest("SelectOtherMacros", {*picked}, "selection unchanged");
        return false;
    }
    macros.push_back(other);
    refill(*macro, macros);
    drawing().logRequest("SelectOtherMacros", {macro->moduleIds.begin(), macro->moduleIds.end()},
                         std::to_string(macros.size()) + " macros");
    return true;
}

bool UpdateAllFilterModified(MacroData* macro, bool first)
{
    if (!macro || refused("UpdateAllFilterModified", "UpdateAllFilterModified"))
        return false;
    const std::vector<PlacedMacro*> macros = selected(*macro);
    if (macros.empty())
        return false;
    refill(*macro, macros);
    // The second filter's entry 1 shows the plate modules only.
    if (macro->secondFilterSel == 1) {
        Kx_Array<MacroTabData> kept;
        for (const MacroTabData& tab : macro->tabs)
            if (tab.caption.hasSubString("plate", /*exact=*/false))
                kept.append(tab);
        macro->tabs = kept;
    }
    drawing().logRequest(std::string("UpdateAllFilterModified ") + (first ? "first" : "second") + " filter",
                         {macro->moduleIds.begin(), macro->moduleIds.end()},
                         std::to_string(macro->tabs.length()) + " tabs");
    return true;
}

bool swapBlockRefs(MacroData* macro, const Kx_String& moduleName, const Kx_String& file)
{
    const std::string what = "swapBlockRefs " + moduleName.str() + ": " + file.str();
    if (!macro || refused("swapBlockRefs", what))
        return false;
    MacroTabData* tab = macro->tabOfModule(moduleName);
    const auto path = kx::resolveUnderRoot(Kx_Settings::libDir().str(), file.str());
    if (!tab || !tab->block.enabled || !path || !fileExists(Kx_String(*path))) {
        drawing().logRequest(what, {}, "no such block");
        return false;
    }
    const Kx_String name = removeExtension(getFileName(file));
    const std::string was = tab->block.blockName.str();
    tab->block.blockName = name;
    for (PlacedMacro* m : selected(*macro)) {
        if (MacroTabData* own = m->data.tabOfModule(moduleName))
            own->block.blockName = name;
        MacroModel::instance().rebuild(*m);
    }
    MacroModel::instance().redraw(drawing());
    drawing().logRequest("swapBlockRefs " + moduleName.str() + ": " + was + " -> " + name.str(),
                         {macro->moduleIds.begin(), macro->moduleIds.end()}, "done");
    return true;
}

bool GetAssemblies(Kx_StringArray& list)
{
    list.setLogicalLength(0);
    for (const Assembly& a : assemblies())
        list.append(a.name);
    return true;
}

bool GetDiameters(const Kx_String& assembly, Kx_StringArray& list)
{
    list.setLogicalLength(0);
    for (const Assembly& a : assemblies()) {
        if (!assembly.equal(a.name, /*exact=*/false))
            continue;
        for (int d : a.diameters) {
            Kx_String m("M");
            m.append(d);
            list.append(m);
        }
        return true;
    }
    return false;
}

bool GetMergedDiameters(MacroData* macro, const Kx_String& moduleName, Kx_StringArray& list)
{
    list.setLogicalLength(0);
    const MacroTabData* tab = macro ? macro->tabOfModule(moduleName) : nullptr;
    if (!tab)
        return false;
    GetDiameters(tab->bolt.assembly(), list);
    if (!tab->bolt.diameter().isEmpty() && !list.contains(tab->bolt.diameter(), /*exact=*/false))
        list.append(tab->bolt.diameter());
    return true;
}

bool selectCoordSys(MacroProfData& prof)
{
    if (refused("selectCoordSys", "selectCoordSys"))
        return false;
    if (!drawing().pickPoint("Pick the origin of the coordinate system"))
        return false;
    prof.basePlane = 2;
    prof.planeName = "xp";
    return true;
}

bool UserSelectPlane(MacroProfData& prof)
{
    if (refused("UserSelectPlane", "UserSelectPlane"))
        return false;
    const auto id = drawing().pickObject("Pick the part whose face is the base plane");
    if (!id)
        return false;
    const kxhost::DrawingObject* o = drawing().object(*id);
    prof.basePlane = 0;
    prof.planeName = o ? Kx_String(o->name) : Kx_String();
    return true;
}

bool UserChooseSectionPoint(MacroProfData& prof)
{
    if (refused("UserChooseSectionPoint", "UserChooseSectionPoint"))
        return false;
    const auto point = drawing().pickPoint("Pick the point of the section the profile is placed by");
    if (!point)
        return false;
    // The offsets are measured from the centre of the profile's outline, when it has one.
    double cx = 0, cy = 0;
    if (const kxhost::DrawingObject* o = drawing().object(prof.objectId); o && !o->outline.empty()) {
        double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
        for (const auto& poly : o->outline)
            for (const auto& q : poly) {
                x0 = std::min(x0, q.x), y0 = std::min(y0, q.y), x1 = std::max(x1, q.x), y1 = std::max(y1, q.y);
            }
        cx = (x0 + x1) / 2;
        cy = (y0 + y1) / 2;
    }
    prof.offsetOn = 1;
    prof.offsetType = 4; // user defined
    prof.offsets[0] = Kx_String(point->x - cx, 1);
    prof.offsets[1] = Kx_String(point->y - cy, 1);
    return true;
}

bool GetMacroSettings(AcDbObjectId macroId, MacroSettingsData& settings)
{
    PlacedMacro* m = MacroModel::instance().find(macroId);
    drawing().logRequest("GetMacroSettings", {macroId}, m ? "read" : "no such macro");
    if (!m || refused("GetMacroSettings", "GetMacroSettings"))
        return false;
    settings = m->settings;
    return true;
}

bool SetMacroSettings(AcDbObjectId macroId, const MacroSettingsData& settings)
{
    if (refused("SetMacroSettings", "SetMacroSettings"))
        return false;
    PlacedMacro* m = MacroModel::instance().find(macroId);
    drawing().logRequest("SetMacroSettings", {macroId}, m ? "stored" : "no such macro");
    if (!m)
        return false;
    m->settings = settings;
    return true;
}
