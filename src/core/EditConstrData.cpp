// EditConstrData: moving the current module's lists in and out of the macro's model.
#include "core/EditConstrData.h"

ConstraintModule* EditConstrData::findModule(const Kx_String& name)
{
    for (ConstraintModule& m : modules) {
        if (m.name == name)
            return &m;
    }
    return nullptr;
}

const ConstraintModule* EditConstrData::findModule(const Kx_String& name) const
{
    return const_cast<EditConstrData*>(this)->findModule(name);
}

void EditConstrData::loadCurrentModule()
{
    moduleNames.setLogicalLength(0);
    for (const ConstraintModule& m : modules)
        moduleNames.append(m.name);
    if (const ConstraintModule* m = findModule(currentModule)) {
        constraints = m->constraints;
        variables = m->variables;
        dimValues = m->dimValues;
        equations = m->equations;
        geometry = m->geometry;
    } else {
        constraints.removeAll();
        variables.removeAll();
        dimValues.removeAll();
        equations.removeAll();
        geometry.removeAll();
    }
}

bool EditConstrData::storeCurrentModule()
{
    ConstraintModule* m = findModule(currentModule);
    if (!m)
        return false;
    m->constraints = constraints;
    m->variables = variables;
    m->dimValues = dimValues;
    m->equations = equations;
    m->geometry = geometry;
    return true;
}
