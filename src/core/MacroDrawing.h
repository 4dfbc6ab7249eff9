// What the macro dialogs ask of the drawing: updates of a macro's modules, views, the selection of
// other macros, bolt assemblies and diameters, block swaps and profile picks. The core keeps a small
// parametric model of the macros it placed in the host's drawing (MacroModel below): their values, and
// the boxes of their parts computed from those values and the section tables, which it draws as
// outlines in the view direction asked for. Every call is logged in words on the drawing's request
// log. Clash checks are ClashCheck.h, the constraint editor's functions ConstraintFunctions.h.
#pragma once

#include "core/KxCoreExport.h"
#include "core/MacroData.h"
#include "core/MacroFile.h"
#include "core/SectionTables.h"
#include "platform/host/SimulatedDrawing.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Pushes the changed items of one module (the lists of MacroTabData::differences) into the drawing.
// A value the drawing cannot take (a plate narrower than its bolt pattern, a thickness of 0, a word
// where a size belongs) is corrected in macro and the reason logged, so the dialog's refresh shows the
// corrected value. True when the drawing changed; false when nothing changed or the call was refused.
KXCORE_API bool UpdateModule(const Kx_String& moduleName, MacroData& macro, const Kx_Array<int>& a,
                             const Kx_Array<int>& b);
// The same for every tab named in the lists of MacroData::differences (after a property file).
KXCORE_API bool setAllToMacro(MacroData& macro, const Kx_Array<int>& a, const Kx_Array<int>& b);
// Removes every element equal to value.
KXCORE_API void removeAll(Kx_Array<int>& list, int value);
// Lets the user pick other macros of the drawing; the macro data is refilled over all picked macros
// (values that differ read text 695). True when the selection changed.
KXCORE_API bool SelectOtherMacros(MacroData* macro);
// Refills the macro data from the drawing after a filter combo changed (first: combo 1177).
KXCORE_API bool UpdateAllFilterModified(MacroData* macro, bool first);
// Replaces the block of the module's block choice by the drawing file (a library path).
KXCORE_API bool swapBlockRefs(MacroData* macro, const Kx_String& moduleName, const Kx_String& file);
// Bolt assemblies, and the diameters M12 to M36 an assembly comes in.
KXCORE_API bool GetAssemblies(Kx_StringArray& assemblies);
KXCORE_API bool GetDiameters(const Kx_String& assembly, Kx_StringArray& diameters);
// The diameters of the module's bolt assembly, with the current diameter when it is not in the list.
KXCORE_API bool GetMergedDiameters(MacroData* macro, const Kx_String& moduleName, Kx_StringArray& diameters);
// Profile picks of the profile pages: the user picks in the drawing; the profile data takes the result
// (plane name, base plane, section point as offsets). False when the user cancelled.
KXCORE_API bool selectCoordSys(MacroProfData& prof);
KXCORE_API bool UserSelectPlane(MacroProfData& prof);
KXCORE_API bool UserChooseSectionPoint(MacroProfData& prof);
// Macro settings per macro object.
KXCORE_API bool GetMacroSettings(AcDbObjectId macroId, MacroSettingsData& settings);
KXCORE_API bool SetMacroSettings(AcDbObjectId macroId, const MacroSettingsData& settings);

namespace kxcore {

// The data of sample macro `which` (0 "End plate connection", 1 "End plate connection 2") as placed
// in the active drawing; the sample frames are placed first when the model holds none. An empty
// macro when the library has no samples.
KXCORE_API MacroData sampleMacroData(int which = 0);

// An axis-aligned box in the drawing's space, millimetres: x along the frame, y up, z towards the viewer.
struct Box3 {
    double x0 = 0, y0 = 0, z0 = 0, x1 = 0, y1 = 0, z1 = 0;
    bool overlaps(const Box3& o, double tolerance = 0.01) const;
    friend bool operator==(const Box3&, const Box3&) = default;
};

// One part of a placed macro: its object in the drawing, its role ("end plate", "bolts"), the module
// that owns it and the boxes it is made of (one per bolt for a bolt group).
struct MacroPart {
    std::string role;
    std::string kind; // the drawing object's kind
    std::string module;
    std::string name;
    std::vector<Box3> boxes;
    // Bolts and anchors: cylinders along the box's long axis, drawn round where seen end on.
    bool round = false;
    std::vector<std::pair<std::string, std::string>> properties;
    AcDbObjectId id;
};

// A macro placed in the drawing: its values and its parts.
struct PlacedMacro {
    MacroData data;
    AcDbObjectId macroObject;
    double originX = 0;
    std::vector<MacroPart> parts;
    MacroSettingsData settings;
    EditConstrData constraints;
};

// The core's model of the macros in the active drawing. One per process, like the drawing.
class KXCORE_API MacroModel {
public:
    static MacroModel& instance();

    // Places the library's sample macros ("End plate connection" and "End plate connection 2") in the
    // drawing as two portal frames side by side, replacing whatever the model placed before. Returns
    // the macro objects' ids. False entries are skipped when a definition cannot be read (logged).
    std::vector<AcDbObjectId> placeSampleFrames(kxhost::SimulatedDrawing& drawing);
    // Places one macro with its frame at originX; the macro data's object, module and profile ids are
    // filled in. Null id when the drawing refuses.
    AcDbObjectId place(kxhost::SimulatedDrawing& drawing, const MacroDefinition& definition, double originX);
    // Forgets every placed macro (the objects stay in the drawing).
    void reset();

    // The placed macro whose macro object or module id is id, or whose data has that name; null when none.
    PlacedMacro* find(AcDbObjectId id);
    PlacedMacro* findByName(const Kx_String& name);
    const std::vector<std::unique_ptr<PlacedMacro>>& macros() const { return m_macros; }
    // The placed macro a dialog's macro data belongs to: by its first module id, else its name.
    PlacedMacro* of(const MacroData& data);

    // The view direction last asked for a module (front when never asked).
    Kx_ViewDirection viewOf(const Kx_String& moduleName) const;
    void setView(const Kx_String& moduleName, Kx_ViewDirection direction);
    // The macro whose module the view zooms to (null: the module in every macro).
    void setViewedMacro(AcDbObjectId macroObject);
    // Outlines of every part in the current view direction, written to the drawing's objects.
    void redraw(kxhost::SimulatedDrawing& drawing);

    // Tests: a refusal makes the named call ("UpdateModule", "changeView", ...) fail without touching
    // anything, as a busy or locked drawing would. Null refuses nothing.
    void setRefusal(std::function<bool(std::string_view call)> refuses) { m_refuses = std::move(refuses); }
    bool refuses(std::string_view call) const { return m_refuses && m_refuses(call); }

    // Recomputes a placed macro's parts from its values; a value the parts cannot take is corrected
    // in data and described in corrections.
    void rebuild(PlacedMacro& macro, std::vector<std::string>* corrections = nullptr);

private:
    std::vector<std::unique_ptr<PlacedMacro>> m_macros;
    std::map<std::string, Kx_ViewDirection> m_views;
    Kx_ViewDirection m_current = kViewFront;
    std::string m_currentModule;
    AcDbObjectId m_currentMacro;
    std::function<bool(std::string_view)> m_refuses;
};

// A section the frame can be built from: an I-section whose table gives all four sizes.
KXCORE_API std::optional<SectionSize> frameSection(std::string_view name);

// "3x70" -> 3 gaps of 70 mm; "" or a word -> nothing.
struct PatternSpacing {
    int gaps = 0;
    double spacing = 0;
};
KXCORE_API std::optional<PatternSpacing> parsePattern(const Kx_String& text);

} // namespace kxcore
