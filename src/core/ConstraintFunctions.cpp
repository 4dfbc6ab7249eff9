// The constraint model behind the constraint editor: every change is made on the data's model and
// logged in words on the drawing's request log.
#include "core/ConstraintFunctions.h"

#include "core/MacroDrawing.h"

#include <algorithm>

namespace {

kxhost::SimulatedDrawing& drawing() { return kxhost::activeDrawing(); }

bool refused(const char* call)
{
    if (!kxcore::MacroModel::instance().refuses(call))
        return false;
    drawing().logRequest(call, {}, "refused");
    return true;
}

void log(const std::string& what, const std::string& answer, std::vector<AcDbObjectId> ids = {})
{
    drawing().logRequest(what, std::move(ids), answer);
}

// The drawing keeps the macro's constraint model: what a call changed in the editor's copy goes to
// the placed macro too, so that the edits outlive the editor (the next editor opened on the macro,
// and another macro picked and picked back, see them).
void keep(const EditConstrData& data)
{
    if (data.macroId.isNull())
        return;
    if (kxcore::PlacedMacro* macro = kxcore::MacroModel::instance().find(data.macroId)) {
        macro->constraints.modules = data.modules;
        macro->constraints.currentModule = data.currentModule;
    }
}

bool validIndex(const EditConstrData& data, int index) { return index >= 0 && index < data.constraints.length(); }

// The drawing objects of the macro a constraint's object text names ("Column C2 flange" is Column C2).
std::vector<AcDbObjectId> objectsNamed(const EditConstrData& data, const Kx_String& text)
{
    std::vector<AcDbObjectId> out;
    const kxcore::PlacedMacro* macro = kxcore::MacroModel::instance().find(data.macroId);
    if (!macro || text.isEmpty())
        return out;
    for (const kxcore::MacroPart& p : macro->parts) {
        const Kx_String name(p.name);
        if (!name.isEmpty() && (text.startsWith(name, false) || name.startsWith(text, false)))
            out.push_back(p.id);
    }
    return out;
}

const char* const kConstraintTypes[] = {"Parallel", "Perpendicular", "Coincident", "Symmetric",
                                        "Tangent",  "Concentric",    "EqualRadius", "Distance",
                                        "Angle",    "Radius"};

Kx_String nextConstraintName(const EditConstrData& data)
{
    int highest = 0;
    for (const ConstraintModule& m : data.modules)
        for (const ConstraintRow& r : m.constraints) {
            int n = 0;
            if (r.texts[0].startsWith("C") && r.texts[0].getSubStringAt(1).toInt(n))
                highest = std::max(highest, n);
        }
    Kx_String name("C");
    name.append(highest + 1);
    return name;
}

} // namespace

bool MacroGetModules(EditConstrData& data, Kx_StringArray& names)
{
    if (refused("MacroGetModules"))
        return false;
    names.setLogicalLength(0);
    for (const ConstraintModule& m : data.modules)
        names.append(m.name);
    return true;
}

bool SetCurrentModule(EditConstrData& data, const Kx_String& name)
{
    if (refused("SetCurrentModule"))
        return false;
    if (!data.findModule(name)) {
        log("SetCurrentModule " + name.str(), "no such module");
        return false;
    }
    // The editor stores the new name in the data before the call: the lists it holds are still those
    // of the module shown before, which were stored by UpdateConstraint and UpdateVarsEqs.
    data.currentModule = name;
    data.loadCurrentModule();
    log("SetCurrentModule " + name.str(), "done");
    return true;
}

bool RemoveModule(EditConstrData& data, const Kx_String& name)
{
    if (refused("RemoveModule"))
        return false;
    int index = -1;
    for (int i = 0; i < data.modules.length(); ++i)
        if (data.modules[i].name == name)
            index = i;
    if (index < 0 || data.modules.length() < 2) {
        log("RemoveModule " + name.str(), index < 0 ? "no such module" : "the last module stays");
        return false;
    }
    data.modules.removeAt(index);
    data.currentModule = data.modules[std::min(index, data.modules.length() - 1)].name;
    data.loadCurrentModule();
    log("RemoveModule " + name.str(), "removed");
    keep(data);
    return true;
}

bool RenameModule(EditConstrData& data, const Kx_String& newName)
{
    if (refused("RenameModule"))
        return false;
    const Kx_String name = newName.trimmed();
    ConstraintModule* current = data.findModule(data.currentModule);
    bool taken = false;
    for (const ConstraintModule& m : data.modules)
        taken = taken || (&m != current && m.name.equal(name, false));
    if (!current || name.isEmpty() || taken) {
        log("RenameModule " + data.currentModule.str() + " -> " + newName.str(),
            !current ? "no current module" : name.isEmpty() ? "a module needs a name" : "the name is in use");
        return false;
    }
    log("RenameModule " + data.currentModule.str() + " -> " + name.str(), "renamed");
    current->name = name;
    data.currentModule = name;
    data.loadCurrentModule();
    keep(data);
    return true;
}

bool SelectOtherMacro(EditConstrData& data)
{
    if (refused("SelectOtherMacro"))
        return false;
    const auto id = drawing().pickObject("Select the macro whose constraints to edit", "macro");
    kxcore::PlacedMacro* macro = id ? kxcore::MacroModel::instance().find(*id) : nullptr;
    if (!macro)
        return false;
    data.storeCurrentModule();
    if (kxcore::PlacedMacro* old = kxcore::MacroModel::instance().find(data.macroId))
        old->constraints.modules = data.modules;
    data = macro->constraints;
    data.macroId = macro->macroObject;
    if (!data.findModule(data.currentModule) && !data.modules.isEmpty())
        data.currentModule = data.modules[0].name;
    data.loadCurrentModule();
    return true;
}

bool StartMacroCommand(EditConstrData& data, int code)
{
    if (refused("StartMacroCommand"))
        return false;
    const std::string what = "StartMacroCommand " + std::to_string(code);
    ConstraintModule* module = data.findModule(data.currentModule);
    if (code == 11) {
        ConstraintModule m;
        int n = data.modules.length() + 1;
        do {
            m.name = Kx_String("Module ");
            m.name.append(n++);
        } while (data.findModule(m.name));
        data.storeCurrentModule();
        data.modules.append(m);
        data.currentModule = m.name;
        data.loadCurrentModule();
        log(what, "added " + m.name.str());
        keep(data);
        return true;
    }
    if (!module || code < 0 || code > 13 || code == 10) {
        log(what, "nothing to do");
        return false;
    }
    if (code == 12 || code == 13) {
        const auto point = drawing().pickPoint(code == 12 ? "Pick the first bolt of the pattern"
                                                          : "Pick the origin of the coordinate system");
        if (!point) {
            log(what, "cancelled");
            return false;
        }
        if (code == 12) {
            GeometryObject g;
            g.name = Kx_String("Bolt pattern ");
            g.name.append(module->geometry.length() + 1);
            g.kind = "Bolt";
            g.flexibility = 3;
            data.storeCurrentModule();
            module->geometry.append(g);
            data.loadCurrentModule();
        }
        log(what, "done");
        keep(data);
        return true;
    }
    // Constraints between picked objects; a radius needs one.
    const auto first = drawing().pickObject("Pick the first object of the constraint");
    const auto second = first && code != 9 ? drawing().pickObject("Pick the second object") : first;
    if (!first || !second) {
        log(what, "cancelled");
        return false;
    }
    ConstraintRow row;
    row.texts[0] = nextConstraintName(data);
    row.texts[1] = kConstraintTypes[code];
    const auto nameOf = [](AcDbObjectId id) {
        const kxhost::DrawingObject* o = kxhost::activeDrawing().object(id);
        return o ? Kx_String(o->name) : Kx_String();
    };
    row.texts[2] = nameOf(*first);
    row.texts[3] = code == 9 ? Kx_String() : nameOf(*second);
    if (code >= 7) {
        row.varName = Kx_String("v") + row.texts[0];
        row.choice = 1;
    }
    data.storeCurrentModule();
    module->constraints.append(row);
    if (row.hasVariable())
        module->variables.append(ConstraintVariable{row.varName, 0.0, code == 8 ? kVarAngle : kVarLength});
    data.loadCurrentModule();
    log(what, "added " + row.texts[0].str(), {*first, *second});
    keep(data);
    return true;
}

bool ZoomCommand()
{
    if (refused("ZoomCommand"))
        return false;
    const auto a = drawing().pickPoint("Pick the first corner of the zoom window");
    const auto b = a ? drawing().pickPoint("Pick the opposite corner") : std::nullopt;
    if (!a || !b) {
        log("ZoomCommand", "cancelled");
        return false;
    }
    kxhost::DrawingViewState view = drawing().view();
    view.zoomed = true;
    view.low = {std::min(a->x, b->x), std::min(a->y, b->y)};
    view.high = {std::max(a->x, b->x), std::max(a->y, b->y)};
    drawing().setView(view);
    log("ZoomCommand", "zoomed");
    return true;
}

bool HighlightConstraint(EditConstrData& data, int index)
{
    if (refused("HighlightConstraint") || !validIndex(data, index))
        return false;
    drawing().unhighlightAll();
    const ConstraintRow& row = data.constraints[index];
    std::vector<AcDbObjectId> ids = objectsNamed(data, row.texts[2]);
    for (const AcDbObjectId& id : objectsNamed(data, row.texts[3]))
        ids.push_back(id);
    for (const AcDbObjectId& id : ids)
        drawing().highlight(id);
    log("HighlightConstraint " + row.texts[0].str(), std::to_string(ids.size()) + " objects", ids);
    return true;
}

bool UnHighlightConstraints()
{
    drawing().unhighlightAll();
    return true;
}

bool UpdateConstraint(EditConstrData& data, int index)
{
    if (refused("UpdateConstraint") || !validIndex(data, index))
        return false;
    ConstraintModule* module = data.findModule(data.currentModule);
    if (!module || index >= module->constraints.length())
        return false;
    const ConstraintRow& row = data.constraints[index];
    const Kx_String oldVar = module->constraints[index].varName;
    // A renamed variable keeps its value and kind under the new name.
    if (oldVar != row.varName)
        for (ConstraintVariable& v : data.variables)
            if (v.name == oldVar && !oldVar.isEmpty())
                v.name = row.varName;
    data.storeCurrentModule();
    log("UpdateConstraint " + row.texts[0].str(), "updated");
    keep(data);
    return true;
}

bool DeleteConstraint(EditConstrData& data, int index)
{
    if (refused("DeleteConstraint") || !validIndex(data, index))
        return false;
    const Kx_String name = data.constraints[index].texts[0];
    data.constraints.removeAt(index);
    data.storeCurrentModule();
    log("DeleteConstraint " + name.str(), "deleted");
    keep(data);
    return true;
}

bool SortConstraints(EditConstrData& data, int column, int previousColumn)
{
    if (refused("SortConstraints") || column < 1 || column > 4)
        return false;
    const int prev = std::clamp(previousColumn, 1, 4);
    auto& rows = data.constraints.items();
    std::stable_sort(rows.begin(), rows.end(), [&](const ConstraintRow& a, const ConstraintRow& b) {
        const int c = a.texts[column - 1].str().compare(b.texts[column - 1].str());
        if (c != 0)
            return c < 0;
        return a.texts[prev - 1].str() < b.texts[prev - 1].str();
    });
    data.storeCurrentModule();
    log("SortConstraints " + std::to_string(column), "sorted");
    keep(data);
    return true;
}

bool ConstrContextMenu(EditConstrData& data, int index, Kx_StringArray& items, Kx_Array<int>& ids,
                       Kx_Array<int>& disabled)
{
    items.setLogicalLength(0);
    ids.setLogicalLength(0);
    disabled.setLogicalLength(0);
    if (refused("ConstrContextMenu") || !validIndex(data, index))
        return false;
    const ConstraintRow& row = data.constraints[index];
    items = Kx_StringArray({"Highlight", "%BREAK%", row.flag1 ? "Make driven" : "Make driving", "Delete"});
    ids = Kx_Array<int>({1, 0, 2, 3});
    if (!row.hasVariable())
        disabled.append(2);
    return true;
}

bool ContextMenuAction(EditConstrData& data, int index, int id)
{
    if (refused("ContextMenuAction") || !validIndex(data, index))
        return false;
    switch (id) {
    case 1: return HighlightConstraint(data, index);
    case 2:
        if (!data.constraints[index].hasVariable())
            return false;
        data.constraints[index].flag1 = !data.constraints[index].flag1;
        data.storeCurrentModule();
        log("ContextMenuAction " + data.constraints[index].texts[0].str(),
            data.constraints[index].flag1 ? "driving" : "driven");
            keep(data);
        return true;
    case 3: return DeleteConstraint(data, index);
    default: return false;
    }
}

bool VarNameInUse(EditConstrData& data, const Kx_String& name, bool& inUse)
{
    inUse = false;
    for (const ConstraintModule& m : data.modules) {
        for (const ConstraintVariable& v : m.variables)
            inUse = inUse || v.name.equal(name, false);
        for (const ConstraintRow& r : m.constraints)
            inUse = inUse || r.varName.equal(name, false);
    }
    return true;
}

bool GetGeomFlexibility(EditConstrData& data)
{
    if (refused("GetGeomFlexibility"))
        return false;
    for (GeometryObject& g : data.geometry) {
        const std::vector<AcDbObjectId> ids = objectsNamed(data, g.name);
        if (!ids.empty())
            g.id = ids.front();
    }
    data.storeCurrentModule();
    log("GetGeomFlexibility " + data.currentModule.str(), std::to_string(data.geometry.length()) + " objects");
    keep(data);
    return true;
}

bool UpdateGeomFlexibility(EditConstrData& data, int object, int flags, int value)
{
    if (refused("UpdateGeomFlexibility") || object < 0 || object >= data.geometry.length() || value < 1 || value > 3)
        return false;
    GeometryObject& g = data.geometry[object];
    g.flexibility = value;
    g.flags = flags;
    data.storeCurrentModule();
    static const char* const kNames[] = {"", "fixed", "flexible", "free"};
    log("UpdateGeomFlexibility " + g.name.str(), kNames[value], {g.id});
    keep(data);
    return true;
}

bool UpdateConstrGeom(EditConstrData& data, int object, bool flag)
{
    if (refused("UpdateConstrGeom") || object < 0 || object >= data.geometry.length())
        return false;
    GeometryObject& g = data.geometry[object];
    g.flags = flag ? (g.flags | 1) : (g.flags & ~1);
    data.storeCurrentModule();
    log("UpdateConstrGeom " + g.name.str(), flag ? "constrained" : "free", {g.id});
    keep(data);
    return true;
}

bool HighlightObject(AcDbObjectId id) { return drawing().highlight(id); }

bool UnHighlightObject(AcDbObjectId id) { return drawing().unhighlight(id); }

bool UpdateVarsEqs(EditConstrData& data)
{
    if (refused("UpdateVarsEqs"))
        return false;
    if (!data.storeCurrentModule())
        return false;
    log("UpdateVarsEqs " + data.currentModule.str(), std::to_string(data.variables.length()) + " variables, "
                                                        + std::to_string(data.equations.length()) + " equations");
    keep(data);
    return true;
}

bool StartEditMacroCutDlg(AcDbObjectId macroId, const Kx_String& module, int cutValue)
{
    if (refused("StartEditMacroCutDlg"))
        return false;
    log("StartEditMacroCutDlg " + module.str() + " cut " + std::to_string(cutValue), "opened", {macroId});
    return true;
}
