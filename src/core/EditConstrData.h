// EditConstrData: what the constraint editor edits for one macro. The editor reads the current
// module's lists (constraints, variables, dimension values, equations, geometry) and hands the whole
// object to the drawing's constraint functions, which keep the macro's full model in `modules` and
// refill the current module's lists after each change.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"

#include <array>

// One constraint: the four texts of its grid row and the properties the editor changes.
struct KXCORE_API ConstraintRow {
    // Name, type, first and second object, as the grid shows them.
    std::array<Kx_String, 4> texts{};
    // Empty when the constraint carries no variable (a parallel or coincident constraint).
    Kx_String varName;
    Kx_String text2;
    bool flag1 = false;
    bool flag2 = false;
    int choice = 0;     // index into the editor's drop-down list
    int enumChoice = 0; // 1..5 the checked icon button, 0 none
    // The cut this constraint belongs to (for the cut editor), 0 none.
    int cutValue = 0;

    bool hasVariable() const { return !varName.isEmpty(); }
    friend bool operator==(const ConstraintRow&, const ConstraintRow&) = default;
};

// Kinds of a constraint variable, in the order of the editor's drop-down list.
enum ZnConstrVarKind : int {
    kVarLength = 0,
    kVarAngle = 1,
    kVarFixed = 2,
    kVarFree = 3,
    kVarInteger = 4,
    kVarRatio = 5,
    kVarArea = 6,
    kVarText = 7,
};

struct KXCORE_API ConstraintVariable {
    Kx_String name;
    double value = 0.0;
    int kind = kVarLength;

    friend bool operator==(const ConstraintVariable&, const ConstraintVariable&) = default;
};

struct KXCORE_API DimensionValue {
    Kx_String name;
    Kx_String value;

    friend bool operator==(const DimensionValue&, const DimensionValue&) = default;
};

// One object of a module's geometry and how free it is: flexibility 1 fixed, 2 flexible, 3 free (the
// editor's drop-down offers them in that order).
struct KXCORE_API GeometryObject {
    AcDbObjectId id;
    Kx_String name;
    Kx_String kind; // "Plate", "Profile", "Bolt", "Line"
    int flexibility = 1;
    int flags = 0;

    friend bool operator==(const GeometryObject&, const GeometryObject&) = default;
};

// Everything the macro's model holds for one module.
struct KXCORE_API ConstraintModule {
    Kx_String name;
    Kx_Array<ConstraintRow> constraints;
    Kx_Array<ConstraintVariable> variables;
    Kx_Array<DimensionValue> dimValues;
    Kx_StringArray equations;
    Kx_Array<GeometryObject> geometry;

    friend bool operator==(const ConstraintModule&, const ConstraintModule&) = default;
};

class KXCORE_API EditConstrData {
public:
    // The macro whose constraints are edited.
    AcDbObjectId macroId;
    // The module shown and the modules of the macro.
    Kx_String currentModule;
    Kx_StringArray moduleNames;
    // The current module's lists, as the editor shows them.
    Kx_Array<ConstraintRow> constraints;
    Kx_Array<ConstraintVariable> variables;
    Kx_Array<DimensionValue> dimValues;
    Kx_StringArray equations;
    Kx_Array<GeometryObject> geometry;
    // The macro's full model, one entry per module, kept by the drawing's constraint functions.
    Kx_Array<ConstraintModule> modules;

    // The module's model; null when there is none. Not owned.
    ConstraintModule* findModule(const Kx_String& name);
    const ConstraintModule* findModule(const Kx_String& name) const;
    // Fills moduleNames from the model and the current module's lists from its entry (all empty when
    // the current module is not in the model).
    void loadCurrentModule();
    // Writes the current module's lists back into its model entry; false when it has none.
    bool storeCurrentModule();

    friend bool operator==(const EditConstrData&, const EditConstrData&) = default;
};
