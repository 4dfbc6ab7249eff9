// Clash checks over the parts the core placed: boxes that overlap, and bolts whose holes leave their
// plate.
#include "core/ClashCheck.h"

#include <algorithm>
#include <map>

namespace {

struct DialogState {
    AcArray<AcDbObjectId> moduleIds;
    std::vector<kxcore::Clash> clashes;
};

struct ClashState {
    bool on = true;
    std::map<int, DialogState> dialogs;
};

ClashState& state()
{
    static ClashState s;
    return s;
}

// The plates a bolt group fastens, which its holes must lie inside.
std::vector<std::string> platesOf(const std::string& boltRole)
{
    if (boltRole == "bolts")
        return {"end plate"};
    if (boltRole == "splice bolts")
        return {"splice top", "splice bottom"};
    if (boltRole == "anchors")
        return {"base plate"};
    return {};
}

// The axis a bolt box runs along: its longest side (0 x, 1 y, 2 z).
int axisOf(const kxcore::Box3& b)
{
    const double dx = b.x1 - b.x0, dy = b.y1 - b.y0, dz = b.z1 - b.z0;
    return dx >= dy && dx >= dz ? 0 : (dy >= dz ? 1 : 2);
}

double lo(const kxcore::Box3& b, int axis) { return axis == 0 ? b.x0 : axis == 1 ? b.y0 : b.z0; }
double hi(const kxcore::Box3& b, int axis) { return axis == 0 ? b.x1 : axis == 1 ? b.y1 : b.z1; }

bool isBolts(const kxcore::MacroPart& p) { return p.kind == "bolt group"; }

// The boxes of a part that a bolt of another part must not pass through: a profile's web (the middle
// of its three boxes); plates and flanges have holes for the bolts that fasten them.
std::vector<kxcore::Box3> solidFor(const kxcore::MacroPart& part, const kxcore::MacroPart& bolts)
{
    if (part.kind == "profile" && part.boxes.size() == 3)
        return {part.boxes[1]};
    if (part.kind == "plate") {
        const auto plates = platesOf(bolts.role);
        if (std::find(plates.begin(), plates.end(), part.role) != plates.end())
            return {};
        // A plate the bolts are not meant to pass: the end plate bolts also fasten the column flange,
        // the anchors pass the grout; any other plate is solid.
        return part.boxes;
    }
    return part.boxes;
}

void addClash(std::vector<kxcore::Clash>& out, AcDbObjectId a, AcDbObjectId b, std::string why)
{
    for (const auto& c : out)
        if ((c.first == a && c.second == b) || (c.first == b && c.second == a))
            return;
    out.push_back({a, b, std::move(why)});
}

void check(const kxcore::MacroPart& p, const kxcore::MacroPart& q, std::vector<kxcore::Clash>& out)
{
    constexpr double kTolerance = 0.5;
    if (isBolts(p) || isBolts(q)) {
        const kxcore::MacroPart& bolts = isBolts(p) ? p : q;
        const kxcore::MacroPart& other = isBolts(p) ? q : p;
        const std::vector<kxcore::Box3> solid = isBolts(other) ? other.boxes : solidFor(other, bolts);
        for (const auto& b : bolts.boxes)
            for (const auto& s : solid)
                if (b.overlaps(s, kTolerance)) {
                    addClash(out, bolts.id, other.id, bolts.name + " runs into " + other.name);
                    return;
                }
        return;
    }
    for (const auto& a : p.boxes)
        for (const auto& b : q.boxes)
            if (a.overlaps(b, kTolerance)) {
                addClash(out, p.id, q.id, p.name + " overlaps " + q.name);
                return;
            }
}

// Every bolt of the group must sit wholly inside one of its plates, seen along the bolt.
void checkHoles(const kxcore::PlacedMacro& macro, const kxcore::MacroPart& bolts, std::vector<kxcore::Clash>& out)
{
    const auto roles = platesOf(bolts.role);
    if (roles.empty())
        return;
    for (const auto& b : bolts.boxes) {
        const int axis = axisOf(b);
        bool inside = false;
        const kxcore::MacroPart* missed = nullptr;
        for (const auto& plate : macro.parts) {
            if (std::find(roles.begin(), roles.end(), plate.role) == roles.end())
                continue;
            for (const auto& box : plate.boxes) {
                if (hi(b, axis) <= lo(box, axis) || lo(b, axis) >= hi(box, axis))
                    continue; // this bolt does not reach this plate
                missed = &plate;
                bool holds = true;
                for (int a = 0; a < 3; ++a)
                    if (a != axis && (lo(b, a) < lo(box, a) - 1e-6 || hi(b, a) > hi(box, a) + 1e-6))
                        holds = false;
                inside = inside || holds;
            }
        }
        if (!inside) {
            const kxcore::MacroPart* plate = missed;
            if (!plate)
                for (const auto& p : macro.parts)
                    if (p.role == roles.front())
                        plate = &p;
            if (plate)
                addClash(out, bolts.id, plate->id, "a hole of " + bolts.name + " is not inside " + plate->name);
            return;
        }
    }
}

std::vector<kxcore::PlacedMacro*> macrosOf(const AcArray<AcDbObjectId>& ids)
{
    std::vector<kxcore::PlacedMacro*> out;
    for (const AcDbObjectId& id : ids)
        if (auto* m = kxcore::MacroModel::instance().find(id); m && std::find(out.begin(), out.end(), m) == out.end())
            out.push_back(m);
    return out;
}

std::vector<kxcore::PlacedMacro*> allMacros()
{
    std::vector<kxcore::PlacedMacro*> out;
    for (const auto& m : kxcore::MacroModel::instance().macros())
        out.push_back(m.get());
    return out;
}

void mark(const std::vector<kxcore::Clash>& clashes)
{
    std::vector<std::pair<AcDbObjectId, std::string>> marks;
    for (const auto& c : clashes) {
        marks.push_back({c.first, c.why});
        marks.push_back({c.second, c.why});
    }
    kxhost::activeDrawing().setClashMarks(std::move(marks));
}

} // namespace

namespace kxcore {

std::vector<Clash> findClashes(const std::vector<PlacedMacro*>& macros, const std::vector<PlacedMacro*>& all)
{
    // Each part's bounds are tested first: most parts of a drawing are far from each other, and a
    // bolt group's dozens of boxes need not be tried against them.
    const auto boundsOf = [](const MacroPart& part) {
        Box3 b = part.boxes.empty() ? Box3{} : part.boxes.front();
        for (const Box3& x : part.boxes)
            b = {std::min(b.x0, x.x0), std::min(b.y0, x.y0), std::min(b.z0, x.z0),
                 std::max(b.x1, x.x1), std::max(b.y1, x.y1), std::max(b.z1, x.z1)};
        return b;
    };
    std::vector<std::pair<const MacroPart*, Box3>> everything;
    for (const PlacedMacro* n : all)
        for (const MacroPart& q : n->parts)
            everything.push_back({&q, boundsOf(q)});
    std::vector<Clash> out;
    for (const PlacedMacro* m : macros) {
        for (const MacroPart& p : m->parts) {
            const Box3 pb = boundsOf(p);
            for (const auto& [q, qb] : everything) {
                if (q == &p || !pb.overlaps(qb, 0.5))
                    continue;
                check(p, *q, out);
            }
            if (isBolts(p))
                checkHoles(*m, p, out);
        }
    }
    return out;
}

std::vector<Clash> lastClashes(int index)
{
    const auto it = state().dialogs.find(index);
    return it == state().dialogs.end() ? std::vector<Clash>{} : it->second.clashes;
}

} // namespace kxcore

void clashInitDlgStarted(int index)
{
    state().dialogs[index] = {};
    kxhost::activeDrawing().logRequest("clashInitDlgStarted " + std::to_string(index));
}

void clashDlgClosed(int index)
{
    const auto it = state().dialogs.find(index);
    if (it != state().dialogs.end() && !it->second.clashes.empty())
        mark({});
    state().dialogs.erase(index);
    kxhost::activeDrawing().logRequest("clashDlgClosed " + std::to_string(index));
}

void clashResetInfo(int index, const AcArray<AcDbObjectId>& moduleIds)
{
    DialogState& d = state().dialogs[index];
    if (!d.clashes.empty())
        mark({});
    d.moduleIds = moduleIds;
    d.clashes.clear();
    kxhost::activeDrawing().logRequest("clashResetInfo " + std::to_string(index),
                                       {moduleIds.begin(), moduleIds.end()});
}

bool clashcheck(int index, const AcArray<AcDbObjectId>& moduleIds)
{
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    const std::vector<AcDbObjectId> ids(moduleIds.begin(), moduleIds.end());
    if (kxcore::MacroModel::instance().refuses("clashcheck")) {
        drawing.logRequest("clashcheck", ids, "refused");
        return false;
    }
    if (!state().on) {
        drawing.logRequest("clashcheck", ids, "clash checking is off");
        return false;
    }
    DialogState& d = state().dialogs[index];
    d.moduleIds = moduleIds;
    d.clashes = kxcore::findClashes(macrosOf(moduleIds), allMacros());
    mark(d.clashes);
    std::string answer = d.clashes.empty() ? "no clash" : std::to_string(d.clashes.size()) + " clash(es)";
    for (const auto& c : d.clashes)
        answer += "; " + c.why;
    drawing.logRequest("clashcheck", ids, answer);
    return true;
}

bool clashGetStatus(bool& on)
{
    on = state().on;
    return true;
}

bool clashSetStatus(bool on)
{
    state().on = on;
    if (!on)
        mark({});
    kxhost::activeDrawing().logRequest(std::string("clashSetStatus ") + (on ? "on" : "off"));
    return true;
}
