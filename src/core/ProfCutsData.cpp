// The profiles' cuts and the data of the profile cuts dialog over the active drawing.
#include "core/ProfCutsData.h"

#include "core/MacroDrawing.h"
#include "platform/host/SimulatedDrawing.h"

#include <algorithm>
#include <map>

namespace kxcore {

namespace {

std::map<std::int64_t, std::vector<ProfileCut>>& cutStore()
{
    static std::map<std::int64_t, std::vector<ProfileCut>> store;
    return store;
}

// The whole-millimetre text of a size, or one decimal when it has one.
std::string size(double mm)
{
    const double rounded = static_cast<double>(static_cast<long long>(mm));
    return Kx_String(mm, rounded == mm ? 0 : 1).str();
}

// The outline of a cut on a profile whose outline spans low..high. The long side of the box is the
// profile's axis; "start" is its left or bottom end. Sizes beyond the profile are cut down to it.
kxhost::DrawingOutline cutOutline(const ProfileCut& cut, kxhost::DrawingPoint low, kxhost::DrawingPoint high)
{
    const bool horizontal = high.x - low.x >= high.y - low.y;
    // Work along (a = axis, s = across the section), then map back.
    const double a0 = horizontal ? low.x : low.y;
    const double a1 = horizontal ? high.x : high.y;
    const double s0 = horizontal ? low.y : low.x;
    const double s1 = horizontal ? high.y : high.x;
    const double length = std::clamp(cut.length, 0.0, a1 - a0);
    const double depth = cut.kind == "end" ? s1 - s0 : std::clamp(cut.depth, 0.0, s1 - s0);
    const double from = cut.atEnd ? a1 : a0;
    const double to = cut.atEnd ? a1 - length : a0 + length;
    // Notches and chamfers take the top (or right-hand) corner, where a beam meets what carries it.
    std::vector<std::pair<double, double>> as;
    if (cut.kind == "chamfer")
        as = {{from, s1}, {to, s1}, {from, s1 - depth}};
    else
        as = {{from, s1}, {to, s1}, {to, s1 - depth}, {from, s1 - depth}};
    kxhost::DrawingOutline outline;
    for (const auto& [a, s] : as)
        outline.push_back(horizontal ? kxhost::DrawingPoint{a, s} : kxhost::DrawingPoint{s, a});
    return outline;
}

bool outlineBox(const kxhost::DrawingObject& object, kxhost::DrawingPoint& low, kxhost::DrawingPoint& high)
{
    bool any = false;
    for (const kxhost::DrawingOutline& polygon : object.outline) {
        for (const kxhost::DrawingPoint& p : polygon) {
            if (!any) {
                low = high = p;
                any = true;
            }
            low = {std::min(low.x, p.x), std::min(low.y, p.y)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y)};
        }
    }
    return any;
}

} // namespace

std::vector<ProfileCut> profileCuts(AcDbObjectId profile)
{
    auto found = cutStore().find(profile.handle());
    return found == cutStore().end() ? std::vector<ProfileCut>{} : found->second;
}

void setProfileCuts(AcDbObjectId profile, std::vector<ProfileCut> cuts)
{
    if (cuts.empty())
        cutStore().erase(profile.handle());
    else
        cutStore()[profile.handle()] = std::move(cuts);
}

void clearProfileCuts()
{
    cutStore().clear();
}

Kx_String describeCut(const ProfileCut& cut)
{
    std::string text;
    if (cut.kind == "notch")
        text = "Notch " + size(cut.length) + " x " + size(cut.depth);
    else if (cut.kind == "chamfer")
        text = "Chamfer " + size(cut.length) + " x " + size(cut.depth);
    else if (cut.kind == "end")
        text = "End cut " + size(cut.length);
    else
        text = cut.kind + " " + size(cut.length) + " x " + size(cut.depth);
    text += cut.atEnd ? " at the end" : " at the start";
    return Kx_String(text);
}

std::vector<kxhost::DrawingOutline> profileCutOutlines(const kxhost::DrawingObject& profile)
{
    std::vector<kxhost::DrawingOutline> out;
    kxhost::DrawingPoint low, high;
    if (!outlineBox(profile, low, high))
        return out;
    for (const ProfileCut& cut : profileCuts(profile.id))
        out.push_back(cutOutline(cut, low, high));
    return out;
}

DlgProfCutsData sampleProfCutsData()
{
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    auto firstProfile = [&]() -> const kxhost::DrawingObject* {
        const kxhost::DrawingObject* first = nullptr;
        for (const kxhost::DrawingObject& o : drawing.objects()) {
            if (o.kind != "profile")
                continue;
            if (o.name == "Beam B1")
                return &o;
            if (first == nullptr)
                first = &o;
        }
        return first;
    };
    if (firstProfile() == nullptr)
        MacroModel::instance().placeSampleFrames(drawing);
    if (firstProfile() == nullptr)
        drawing.addSampleFrame();
    DlgProfCutsData data;
    const kxhost::DrawingObject* beam = firstProfile();
    if (beam == nullptr)
        return data;
    data.profile = static_cast<int>(beam->id.handle());
    if (profileCuts(beam->id).empty()) {
        setProfileCuts(beam->id, {{"notch", false, 120, 40},
                                  {"chamfer", false, 60, 60},
                                  {"notch", true, 150, 45},
                                  {"end", true, 20, 0}});
    }
    return data;
}

} // namespace kxcore

using kxcore::ProfileCut;

bool DlgProfCutsData::isProfile() const
{
    const kxhost::DrawingObject* object = kxhost::activeDrawing().object(AcDbObjectId(profile));
    return profile != 0 && object != nullptr && object->kind == "profile";
}

void DlgProfCutsData::syncPreviews(int count)
{
    // A preview number past the cut list belongs to nothing shown any more.
    while (previews.length() > count) {
        if (previews.last() != 0)
            kxhost::activeDrawing().removePreview(previews.last());
        previews.removeAt(previews.length() - 1);
    }
    while (previews.length() < count)
        previews.append(0);
}

bool DlgProfCutsData::getCutDescs(Kx_StringArray& descs) const
{
    if (!isProfile())
        return false;
    descs.setLogicalLength(0);
    for (const ProfileCut& cut : kxcore::profileCuts(AcDbObjectId(profile)))
        descs.append(kxcore::describeCut(cut));
    return true;
}

bool DlgProfCutsData::drawCutPreview(int index)
{
    if (!isProfile())
        return false;
    const std::vector<ProfileCut> cuts = kxcore::profileCuts(AcDbObjectId(profile));
    syncPreviews(static_cast<int>(cuts.size()));
    if (index < 0 || index >= static_cast<int>(cuts.size()))
        return false;
    if (previews[index] != 0)
        return true;
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    kxhost::DrawingPoint low, high;
    if (!kxcore::outlineBox(*drawing.object(AcDbObjectId(profile)), low, high))
        return false;
    const ProfileCut& cut = cuts[static_cast<size_t>(index)];
    const int number = drawing.addPreview(kxcore::cutOutline(cut, low, high), kxcore::describeCut(cut).str());
    previews[index] = number;
    return number != 0;
}

bool DlgProfCutsData::removeCutPreview(int index)
{
    if (index < 0 || index >= previews.length() || previews[index] == 0)
        return false;
    kxhost::activeDrawing().removePreview(previews[index]);
    previews[index] = 0;
    return true;
}

void DlgProfCutsData::removeAllCutPreviews()
{
    for (int i = 0; i < previews.length(); ++i)
        removeCutPreview(i);
}

bool DlgProfCutsData::removeCut(int index)
{
    if (!isProfile())
        return false;
    const AcDbObjectId id(profile);
    std::vector<ProfileCut> cuts = kxcore::profileCuts(id);
    if (index < 0 || index >= static_cast<int>(cuts.size()))
        return false;
    syncPreviews(static_cast<int>(cuts.size()));
    removeCutPreview(index);
    previews.removeAt(index);
    const Kx_String description = kxcore::describeCut(cuts[static_cast<size_t>(index)]);
    cuts.erase(cuts.begin() + index);
    kxcore::setProfileCuts(id, std::move(cuts));
    removedCuts.append(description);
    bool listed = false;
    for (int handle : changedProfiles)
        listed = listed || handle == profile;
    if (!listed)
        changedProfiles.append(profile);
    kxhost::activeDrawing().logRequest("remove cut " + description.str(), {id}, "done");
    return true;
}

bool DlgProfCutsData::selectOtherProf()
{
    removeAllCutPreviews();
    const std::optional<AcDbObjectId> picked = kxhost::activeDrawing().pickObject("Select a profile", "profile");
    if (!picked)
        return false;
    profile = static_cast<int>(picked->handle());
    previews.setLogicalLength(0);
    return true;
}
