// DlgProfCutsData: the cuts applied to one profile of the drawing, as the profile cuts dialog lists,
// previews and removes them, and the core's record of every profile's cuts behind it. The cuts live
// in the core, keyed by the profile's object, so a rebuild of the drawing's outlines keeps them.
// Previews are the drawing's temporary outlines (SimulatedDrawing::addPreview); every request goes to
// the active drawing and is logged there.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"
#include "platform/host/SimulatedDrawing.h"

#include <string>
#include <vector>

namespace kxcore {

// One cut on a profile: where it lies (at the profile's start or end, along its long axis) and its
// size in millimetres. kind: "notch" (a corner taken out), "chamfer" (a corner cut at a slope) or
// "end" (the whole section cut back).
struct ProfileCut {
    std::string kind;
    bool atEnd = false;
    double length = 0;
    double depth = 0;
    friend bool operator==(const ProfileCut&, const ProfileCut&) = default;
};

// The cuts of a profile object, in cut order; empty when it has none.
KXCORE_API std::vector<ProfileCut> profileCuts(AcDbObjectId profile);
KXCORE_API void setProfileCuts(AcDbObjectId profile, std::vector<ProfileCut> cuts);
// Forgets every profile's cuts (tests).
KXCORE_API void clearProfileCuts();
// "Notch 120 x 40 at the start": what the cut list shows.
KXCORE_API Kx_String describeCut(const ProfileCut& cut);
// Where each cut of a profile object lies in the drawing, in cut order (what a view leaves out of the
// profile, and what a preview shows); empty for an object without an outline or cuts.
KXCORE_API std::vector<kxhost::DrawingOutline> profileCutOutlines(const kxhost::DrawingObject& profile);

} // namespace kxcore

class KXCORE_API DlgProfCutsData {
public:
    // The profile object's handle (AcDbObjectId::handle); 0 when there is none.
    int profile = 0;
    // Per cut of the profile, the number of the preview this object drew of it (0: none shown).
    // Kept as long as the cut list, so a removed cut takes its preview number with it.
    Kx_Array<int> previews;
    // The handles of the profiles whose cuts were removed through this object, each once.
    Kx_Array<int> changedProfiles;
    // The descriptions of the cuts removed through this object, in the order they were removed.
    Kx_StringArray removedCuts;

    // One description per cut of the profile, in cut order. False, descs unchanged, when the profile
    // is not a profile of the active drawing (none, erased, another kind).
    bool getCutDescs(Kx_StringArray& descs) const;
    // Draws cut index's outline as a preview; a cut already shown is left as it is. False for an index
    // outside the list or a profile that is gone.
    bool drawCutPreview(int index);
    // Removes the preview of cut index; false when none is shown or the index is outside the list.
    bool removeCutPreview(int index);
    // Removes every preview this object drew.
    void removeAllCutPreviews();
    // Removes cut index from the profile (its preview first). False, nothing changed, for an index
    // outside the list or a profile that is gone.
    bool removeCut(int index);
    // Lets the user pick another profile in the drawing (the previews are removed first). True when
    // one was picked: it becomes this object's profile. False when the user cancelled.
    bool selectOtherProf();

    friend bool operator==(const DlgProfCutsData&, const DlgProfCutsData&) = default;

private:
    bool isProfile() const;
    void syncPreviews(int count);
};

namespace kxcore {

// Sample data for the workbench and the snapshots: the beam of the active drawing's frame (placed
// first when the drawing has no profile) with three cuts, given when it has none yet.
KXCORE_API DlgProfCutsData sampleProfCutsData();

} // namespace kxcore
