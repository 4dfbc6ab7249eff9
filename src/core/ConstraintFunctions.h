// The drawing's constraint functions that the constraint editor calls. Each takes the editor's
// EditConstrData, whose `modules` hold the macro's constraint model; the functions change the model,
// refill the current module's lists and log what they did on the drawing's request log. False means
// refused or nothing done; the editor then leaves itself as it was.
#pragma once

#include "core/EditConstrData.h"
#include "core/KxCoreExport.h"
#include "core/MacroSubDialogData.h"

KXCORE_API bool MacroGetModules(EditConstrData& data, Kx_StringArray& names);
// Makes name current: the lists of the module shown before are stored first.
KXCORE_API bool SetCurrentModule(EditConstrData& data, const Kx_String& name);
// Removes the module (never the last one); the next one, or the one before, becomes current.
KXCORE_API bool RemoveModule(EditConstrData& data, const Kx_String& name);
// Renames the current module; refused for an empty name or one another module has (ignoring case).
KXCORE_API bool RenameModule(EditConstrData& data, const Kx_String& newName);
// Lets the user pick another macro in the drawing; its model replaces the data's.
KXCORE_API bool SelectOtherMacro(EditConstrData& data);
// Drawing commands: 0 parallel, 1 perpendicular, 2 coincident, 3 symmetric, 4 tangent, 5 concentric,
// 6 equal radius, 7 distance, 8 angle, 9 radius (the user picks two objects, or one for 9), 10 unused,
// 11 add a module, 12 add a bolt pattern, 13 place a coordinate system. True when it completed.
KXCORE_API bool StartMacroCommand(EditConstrData& data, int code);
// The user picks two corners; the drawing's view zooms to them.
KXCORE_API bool ZoomCommand();

// Constraints tab.
KXCORE_API bool HighlightConstraint(EditConstrData& data, int index);
KXCORE_API bool UnHighlightConstraints();
KXCORE_API bool UpdateConstraint(EditConstrData& data, int index);
KXCORE_API bool DeleteConstraint(EditConstrData& data, int index);
// Sorts by grid column 1..4, ties by previousColumn.
KXCORE_API bool SortConstraints(EditConstrData& data, int column, int previousColumn);
// The context menu of a constraint: texts ("%BREAK%" a separator), their ids and the positions that
// are disabled.
KXCORE_API bool ConstrContextMenu(EditConstrData& data, int index, Kx_StringArray& items, Kx_Array<int>& ids,
                                  Kx_Array<int>& disabled);
KXCORE_API bool ContextMenuAction(EditConstrData& data, int index, int id);
// Whether a variable or constraint of the macro already uses name (ignoring case).
KXCORE_API bool VarNameInUse(EditConstrData& data, const Kx_String& name, bool& inUse);

// Geometry tab.
KXCORE_API bool GetGeomFlexibility(EditConstrData& data);
// Object: the index of the geometry object; value: its new flexibility (1 fixed, 2 flexible, 3 free).
KXCORE_API bool UpdateGeomFlexibility(EditConstrData& data, int object, int flags, int value);
KXCORE_API bool UpdateConstrGeom(EditConstrData& data, int object, bool flag);
KXCORE_API bool HighlightObject(AcDbObjectId id);
KXCORE_API bool UnHighlightObject(AcDbObjectId id);

// Variables tab: stores the variables, dimension values and equations of the current module.
KXCORE_API bool UpdateVarsEqs(EditConstrData& data);

// The cut editor for the cut a constraint belongs to.
KXCORE_API bool StartEditMacroCutDlg(AcDbObjectId macroId, const Kx_String& module, int cutValue);
