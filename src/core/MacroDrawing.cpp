// The parametric model behind the macro dialogs: a portal frame per placed macro (two HEA columns, an
// IPE beam, the end plate with its bolts at the right-hand joint, a bolted flange splice at mid-span
// and the base plate with anchors under the left column), built from the macro's values and the
// section tables, drawn as outlines in the view asked for. UpdateModule is MacroUpdate.cpp.
#include "core/MacroDrawing.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/MacroFile.h"
#include "core/Paths.h"
#include "core/TextTables.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

using kxhost::DrawingOutline;
using kxhost::DrawingPoint;
using kxhost::SimulatedDrawing;

namespace kxcore {

std::optional<SectionSize> frameSection(std::string_view name)
{
    const auto s = sectionSize(name);
    if (!s || s->h <= 0 || s->b <= 0 || s->tw <= 0 || s->tf <= 0)
        return std::nullopt;
    return s;
}


namespace {

constexpr double kSpan = 6200;     // outer faces of the columns
constexpr double kHeight = 3000;   // column height, beam top
constexpr double kFrameGap = 8000; // between the frames of two placed macros

// --- Numbers and texts ---

std::string number(double v)
{
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << std::round(v * 100) / 100;
    return s.str();
}

bool positive(const Kx_String& text, double& v)
{
    return text.toDouble(v) && std::isfinite(v) && v > 0;
}

double numberOr(const Kx_String& text, double fallback)
{
    double v = 0;
    return text.toDouble(v) && std::isfinite(v) ? v : fallback;
}

const MacroTabData* tabOf(const MacroData& data, const char* module)
{
    return data.tabOfModule(module);
}

double cellValue(const MacroData& data, const char* module, const char* cell, double fallback)
{
    const MacroTabData* tab = tabOf(data, module);
    int i = 0;
    if (!tab || !tab->findCellWithName(cell, i))
        return fallback;
    return numberOr(tab->cells[i].value, fallback);
}

MacroCell* cellOf(MacroData& data, const char* module, const char* cell)
{
    MacroTabData* tab = data.tabOfModule(module);
    int i = 0;
    if (!tab || !tab->findCellWithName(cell, i))
        return nullptr;
    return &tab->cells[i];
}

PatternSpacing patternOf(const MacroData& data, const char* module, const char* name, PatternSpacing fallback)
{
    const MacroTabData* tab = tabOf(data, module);
    int i = 0;
    if (!tab || !tab->findPatternWithName(name, i))
        return fallback;
    return parsePattern(tab->patterns[i].value).value_or(fallback);
}

// "M20" -> 20.
std::optional<double> boltDiameter(const Kx_String& text)
{
    Kx_String t = text.trimmed();
    if (!t.startsWith("M", false))
        return std::nullopt;
    int d = 0;
    if (!t.getSubStringAt(1).toInt(d) || d < 6 || d > 64)
        return std::nullopt;
    return d;
}

double holeDiameter(double d) { return d + (d >= 27 ? 3 : 2); }

double roundUp5(double v) { return std::ceil(v / 5 - 1e-9) * 5; }

std::string sectionOf(const MacroData& data, const char* mark, const char* fallback)
{
    for (const MacroTabData& tab : data.tabs)
        for (const MacroProfData& p : tab.profiles)
            if (p.name2 == mark && frameSection(p.profileName.str()))
                return p.profileName.str();
    return fallback;
}

// Where the beam lies: the top of its section and the middle of its width. Its profile in the profile
// tab names the point of the section that lies on the beam's system line (the column tops, z 0): a
// top position puts the top there, a bottom position the bottom, the others the middle; a left or
// right position puts that edge on the line. The offsets then shift the section (x1 across, y1 up).
// Without an offset the middle lies on the line.
struct BeamPlace {
    double top = 0;
    double z = 0;
};
BeamPlace beamPlace(const MacroData& data, const SectionSize& s, double systemLine)
{
    BeamPlace place{systemLine, 0};
    const MacroTabData* tab = data.tabOfModule("Profiles");
    if (tab == nullptr)
        return place;
    for (const MacroProfData& p : tab->profiles) {
        if (p.name2 != "B1")
            continue;
        const int type = p.offsetOn == 1 ? p.offsetType : 0;
        const bool top = type == 5 || type == 9 || type == 10;
        const bool bottom = type == 6 || type == 11 || type == 12;
        const bool left = type == 7 || type == 9 || type == 11;
        const bool right = type == 8 || type == 10 || type == 12;
        place.top = systemLine + (top ? 0 : bottom ? s.h : s.h / 2);
        place.z = left ? s.b / 2 : right ? -s.b / 2 : 0;
        if (p.offsetOn == 1) {
            place.z += numberOr(p.offsets[0], 0);
            place.top += numberOr(p.offsets[1], 0);
        }
        break;
    }
    return place;
}

const char* directionName(Kx_ViewDirection d)
{
    switch (d) {
    case kViewFront: return "front";
    case kViewSide: return "side";
    case kViewTop: return "top";
    default: return "iso";
    }
}

// --- Geometry ---

// An I-section along one axis as three boxes: flange, web, flange. depthAxis 0: the depth runs along
// x (a column), 1: along y (a beam). The section's width is along z.
std::vector<Box3> iSection(const SectionSize& s, int depthAxis, double depthFrom, double along0, double along1,
                           double z0)
{
    std::vector<Box3> out;
    const double d0 = depthFrom, d1 = depthFrom + s.h;
    const auto make = [&](double a, double b, double zHalf) {
        Box3 box;
        if (depthAxis == 0) {
            box = {a, along0, z0 - zHalf, b, along1, z0 + zHalf};
        } else {
            box = {along0, a, z0 - zHalf, along1, b, z0 + zHalf};
        }
        out.push_back(box);
    };
    make(d0, d0 + s.tf, s.b / 2);
    make(d0 + s.tf, d1 - s.tf, s.tw / 2);
    make(d1 - s.tf, d1, s.b / 2);
    return out;
}

DrawingOutline circle(double cx, double cy, double r)
{
    DrawingOutline out;
    for (int i = 0; i < 16; ++i) {
        const double a = i * 3.14159265358979 / 8;
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

DrawingPoint project(double x, double y, double z, Kx_ViewDirection d)
{
    switch (d) {
    case kViewFront: return {x, y};
    case kViewSide: return {-z, y};
    case kViewTop: return {x, -z};
    default: return {x + 0.5 * z, y + 0.35 * z}; // a cabinet view
    }
}

// The convex hull of points (monotone chain), counter-clockwise.
DrawingOutline hull(std::vector<DrawingPoint> p)
{
    std::sort(p.begin(), p.end(), [](const DrawingPoint& a, const DrawingPoint& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    const auto cross = [](const DrawingPoint& o, const DrawingPoint& a, const DrawingPoint& b) {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    DrawingOutline h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0)
            --k;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], p[i - 1]) <= 0)
            --k;
        h[k++] = p[i - 1];
    }
    h.resize(k > 1 ? k - 1 : k);
    return h;
}

DrawingOutline outlineOf(const Box3& b, bool round, Kx_ViewDirection d)
{
    const double dx = b.x1 - b.x0, dy = b.y1 - b.y0, dz = b.z1 - b.z0;
    // A bolt seen along its axis is a circle.
    if (round) {
        const bool alongX = dx >= dy && dx >= dz, alongY = dy >= dx && dy >= dz;
        if ((alongX && d == kViewSide) || (alongY && d == kViewTop)) {
            const DrawingPoint c = project((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, (b.z0 + b.z1) / 2, d);
            return circle(c.x, c.y, (alongX ? std::min(dy, dz) : std::min(dx, dz)) / 2);
        }
    }
    std::vector<DrawingPoint> corners;
    for (double x : {b.x0, b.x1})
        for (double y : {b.y0, b.y1})
            for (double z : {b.z0, b.z1})
                corners.push_back(project(x, y, z, d));
    return hull(std::move(corners));
}

// --- Building the parts of one macro ---

MacroPart part(std::string role, std::string kind, std::string module, std::string name)
{
    MacroPart p;
    p.role = std::move(role);
    p.kind = std::move(kind);
    p.module = std::move(module);
    p.name = std::move(name);
    return p;
}

void correct(MacroData& data, const char* module, const char* cell, double value, const std::string& why,
             std::vector<std::string>* corrections)
{
    if (MacroCell* c = cellOf(data, module, cell)) {
        const Kx_String corrected(value, 2);
        if (corrections)
            corrections->push_back(std::string(cell) + " " + c->value.str() + " -> " + corrected.str() + ": " + why);
        c->value = corrected;
    }
}

} // namespace

bool Box3::overlaps(const Box3& o, double t) const
{
    return x0 < o.x1 - t && o.x0 < x1 - t && y0 < o.y1 - t && o.y0 < y1 - t && z0 < o.z1 - t && o.z0 < z1 - t;
}

std::optional<PatternSpacing> parsePattern(const Kx_String& text)
{
    const std::string t = text.trimmed().str();
    const size_t x = t.find_first_of("xX*");
    if (x == std::string::npos)
        return std::nullopt;
    int gaps = 0;
    double spacing = 0;
    if (!Kx_String(t.substr(0, x)).trimmed().toInt(gaps) || !positive(Kx_String(t.substr(x + 1)).trimmed(), spacing)
        || gaps < 0 || gaps > 100)
        return std::nullopt;
    return PatternSpacing{gaps, spacing};
}

// --- The model ---

MacroData sampleMacroData(int which)
{
    MacroModel& model = MacroModel::instance();
    if (model.macros().empty())
        model.placeSampleFrames(kxhost::activeDrawing());
    if (which < 0 || which >= static_cast<int>(model.macros().size()))
        return {};
    return model.macros()[static_cast<size_t>(which)]->data;
}

MacroModel& MacroModel::instance()
{
    static MacroModel model;
    return model;
}

void MacroModel::reset()
{
    m_macros.clear();
    m_views.clear();
    m_current = kViewFront;
    m_currentModule.clear();
}

void MacroModel::rebuild(PlacedMacro& macro, std::vector<std::string>* corrections)
{
    MacroData& d = macro.data;
    const double x0 = macro.originX;
    const char* kEnd = "End plates\\end plate";
    const char* kBolts = "Bolts";
    const char* kSplice = "Splices\\bolted splice";
    const char* kBase = "Base plates\\base plate";

    // Without the library's tables the frame keeps the sizes of its sample sections.
    const SectionSize hea200{190, 200, 6.5, 10, 42.3};
    const SectionSize ipe300{300, 150, 7.1, 10.7, 42.2};
    const SectionSize c1 = frameSection(sectionOf(d, "C1", "HEA200")).value_or(hea200);
    const SectionSize c2 = frameSection(sectionOf(d, "C2", "HEA200")).value_or(hea200);
    const SectionSize beam = frameSection(sectionOf(d, "B1", "IPE300")).value_or(ipe300);

    // Bolts of the end plate: rows from the end plate's pattern, columns from the bolt tab.
    const PatternSpacing rows = patternOf(d, kEnd, "boltPattern", {2, 100});
    const PatternSpacing cols = patternOf(d, kBolts, "boltColumns", {2, 120});
    const MacroTabData* boltTab = tabOf(d, kBolts);
    const double bd = boltTab ? boltDiameter(boltTab->bolt.diameter()).value_or(20) : 20;
    const double d0 = holeDiameter(bd);
    const double gauge = cols.gaps > 1 ? (cols.gaps - 1) * cols.spacing : 0;
    const double rowSpan = rows.gaps > 1 ? (rows.gaps - 1) * rows.spacing : 0;

    // A plate narrower or lower than its bolt pattern (centre to centre) cannot be made: it grows to
    // hold the holes with the edge distance steel codes ask for (1.2 hole diameters). A plate that holds
    // the bolt centres but cuts into the holes is made, and the clash check shows it.
    double width = cellValue(d, kEnd, "plateWidth", 200);
    double height = cellValue(d, kEnd, "plateHeight", 300);
    const double minWidth = roundUp5(gauge + 2.4 * d0);
    const double minHeight = roundUp5(rowSpan + 2.4 * d0);
    if (width < gauge) {
        correct(d, kEnd, "plateWidth", minWidth, "narrower than its bolt pattern", corrections);
        width = minWidth;
    }
    if (height < rowSpan) {
        correct(d, kEnd, "plateHeight", minHeight, "lower than its bolt pattern", corrections);
        height = minHeight;
    }
    const double t = std::max(cellValue(d, kEnd, "plateThickness", 15), 1.0);

    std::vector<MacroPart> parts;
    const std::string macroName = d.macroNames.isEmpty() ? d.title.str() : d.macroNames[0].str();

    MacroPart col1 = part("column C1", "profile", "Profiles", "Column C1");
    col1.boxes = iSection(c1, 0, x0, 0, kHeight, 0);
    col1.properties = {{"Section", sectionOf(d, "C1", "HEA200")}, {"Material", "S355"}, {"Length", number(kHeight)}};
    MacroPart col2 = part("column C2", "profile", "Profiles", "Column C2");
    col2.boxes = iSection(c2, 0, x0 + kSpan - c2.h, 0, kHeight, 0);
    col2.properties = {{"Section", sectionOf(d, "C2", "HEA200")}, {"Material", "S355"}, {"Length", number(kHeight)}};

    const double plateX1 = x0 + kSpan - c2.h;
    const double plateX0 = plateX1 - t;
    const double beamX0 = x0 + c1.h;
    MacroPart b1 = part("beam B1", "profile", "Profiles", "Beam B1");
    const BeamPlace place = beamPlace(d, beam, kHeight);
    const double top = place.top;
    b1.boxes = iSection(beam, 1, top - beam.h, beamX0, plateX0, place.z);
    b1.properties = {{"Section", sectionOf(d, "B1", "IPE300")},
                     {"Material", "S355"},
                     {"Length", number(plateX0 - beamX0)}};

    const double yc = top - beam.h / 2;
    MacroPart plate = part("end plate", "plate", kEnd, "End plate P1");
    plate.boxes = {{plateX0, yc - height / 2, -width / 2, plateX1, yc + height / 2, width / 2}};
    plate.properties = {{"Thickness", number(t)},
                        {"Material", "S355"},
                        {"Size", number(width) + " x " + number(height)},
                        {"plateWidth", number(width)},
                        {"plateHeight", number(height)}};

    MacroPart bolts = part("bolts", "bolt group", kBolts, "");
    bolts.round = true;
    const int nRows = std::max(rows.gaps, 1), nCols = std::max(cols.gaps, 1);
    int drawnRows = 0;
    for (int r = 0; r < nRows; ++r) {
        // Hole k of the bolt tab serves bolt row k: a hole switched off leaves its row without bolts.
        if (boltTab && r < boltTab->bolt.holes.length() && boltTab->bolt.holes[r].used == 0)
            continue;
        ++drawnRows;
        for (int c = 0; c < nCols; ++c) {
            const double y = yc + (r - (nRows - 1) / 2.0) * rows.spacing;
            const double z = (c - (nCols - 1) / 2.0) * cols.spacing;
            bolts.boxes.push_back(
                {plateX0 - 0.8 * bd, y - bd / 2, z - bd / 2, plateX1 + c2.tf + 0.8 * bd, y + bd / 2, z + bd / 2});
        }
    }
    bolts.name = "Bolts M" + number(bd) + " x " + std::to_string(drawnRows * nCols);
    bolts.properties = {{"Diameter", number(bd)},
                        {"Hole", number(d0)},
                        {"Grade", boltTab ? boltTab->bolt.assembly().str() : std::string("8.8")},
                        {"Count", std::to_string(drawnRows * nCols)}};

    // The splice: flange plates over and under the beam at mid-span, bolts on both sides of the gap.
    const double xm = (beamX0 + plateX0) / 2;
    const double spliceLength = std::max(cellValue(d, kSplice, "flangePlateLength", 410), 1.0);
    const double spliceT = std::max(cellValue(d, kSplice, "flangePlateThickness", 12), 1.0);
    const double gap = std::max(cellValue(d, kSplice, "gap", 10), 0.0);
    MacroPart spliceTop = part("splice top", "plate", kSplice, "Splice plate top");
    spliceTop.boxes = {{xm - spliceLength / 2, top, -beam.b / 2, xm + spliceLength / 2, top + spliceT, beam.b / 2}};
    spliceTop.properties = {{"Thickness", number(spliceT)}, {"Material", "S355"},
                            {"Size", number(spliceLength) + " x " + number(beam.b)}};
    MacroPart spliceBottom = part("splice bottom", "plate", kSplice, "Splice plate bottom");
    spliceBottom.boxes = {{xm - spliceLength / 2, top - beam.h - spliceT, -beam.b / 2, xm + spliceLength / 2,
                           top - beam.h, beam.b / 2}};
    spliceBottom.properties = spliceTop.properties;
    const PatternSpacing flange = patternOf(d, kSplice, "flangeBolts", {3, 70});
    const MacroTabData* spliceTab = tabOf(d, kSplice);
    const double sd = spliceTab ? boltDiameter(spliceTab->bolt.diameter()).value_or(16) : 16;
    MacroPart spliceBolts = part("splice bolts", "bolt group", kSplice, "");
    spliceBolts.round = true;
    for (int side : {-1, 1}) {
        for (int k = 0; k < std::max(flange.gaps, 1); ++k) {
            const double x = xm + side * (gap / 2 + 40 + k * flange.spacing);
            for (double z : {-beam.b / 4, beam.b / 4}) {
                spliceBolts.boxes.push_back({x - sd / 2, top - beam.tf - 0.8 * sd, z - sd / 2, x + sd / 2,
                                             top + spliceT + 0.8 * sd, z + sd / 2});
                spliceBolts.boxes.push_back({x - sd / 2, top - beam.h - spliceT - 0.8 * sd, z - sd / 2, x + sd / 2,
                                             top - beam.h + beam.tf + 0.8 * sd, z + sd / 2});
            }
        }
    }
    spliceBolts.name = "Bolts M" + number(sd) + " x " + std::to_string(spliceBolts.boxes.size());
    spliceBolts.properties = {{"Diameter", number(sd)},
                              {"Hole", number(holeDiameter(sd))},
                              {"Grade", spliceTab ? spliceTab->bolt.assembly().str() : std::string("10.9")},
                              {"Count", std::to_string(spliceBolts.boxes.size())}};

    // The base plate under the left column, with its anchors.
    const double xb = x0 + c1.h / 2;
    const double baseL = std::max(cellValue(d, kBase, "plateLength", 400), 1.0);
    const double baseW = std::max(cellValue(d, kBase, "plateWidth", 400), 1.0);
    const double baseT = std::max(cellValue(d, kBase, "plateThickness", 25), 1.0);
    MacroPart base = part("base plate", "plate", kBase, "Base plate P2");
    base.boxes = {{xb - baseL / 2, -baseT, -baseW / 2, xb + baseL / 2, 0, baseW / 2}};
    base.properties = {{"Thickness", number(baseT)}, {"Material", "S355"}, {"Size", number(baseL) + " x " + number(baseW)}};
    const PatternSpacing anchorsAt = patternOf(d, kBase, "anchorPattern", {2, 300});
    const MacroTabData* baseTab = tabOf(d, kBase);
    double ad = 24;
    if (baseTab && baseTab->block.enabled) {
        int pos = 0;
        if (baseTab->block.blockName.findLast("M", true, pos))
            ad = boltDiameter(baseTab->block.blockName.getSubStringAt(pos)).value_or(24);
    }
    MacroPart anchors = part("anchors", "bolt group", kBase, "");
    anchors.round = true;
    const int nA = std::max(anchorsAt.gaps, 1);
    for (int i = 0; i < nA; ++i) {
        for (int k = 0; k < nA; ++k) {
            const double x = xb + (i - (nA - 1) / 2.0) * anchorsAt.spacing;
            const double z = (k - (nA - 1) / 2.0) * anchorsAt.spacing;
            anchors.boxes.push_back({x - ad / 2, -baseT - 300, z - ad / 2, x + ad / 2, 2 * ad, z + ad / 2});
        }
    }
    anchors.name = "Anchors M" + number(ad) + " x " + std::to_string(anchors.boxes.size());
    anchors.properties = {{"Diameter", number(ad)},
                          {"Hole", number(holeDiameter(ad) + 4)},
                          {"Grade", "4.6"},
                          {"Count", std::to_string(anchors.boxes.size())}};

    for (MacroPart* p : {&col1, &col2, &b1, &plate, &bolts, &spliceTop, &spliceBottom, &spliceBolts, &base, &anchors}) {
        p->properties.push_back({"Module", p->module});
        p->properties.push_back({"Macro", macroName});
        parts.push_back(std::move(*p));
    }
    // Keep the ids of the parts that were there.
    for (MacroPart& p : parts) {
        for (const MacroPart& old : macro.parts)
            if (old.role == p.role)
                p.id = old.id;
    }
    macro.parts = std::move(parts);
}

AcDbObjectId MacroModel::place(SimulatedDrawing& drawing, const MacroDefinition& definition, double originX)
{
    if (refuses("place"))
        return {};
    auto placed = std::make_unique<PlacedMacro>();
    placed->data = definition.macro;
    placed->settings = definition.settings;
    placed->constraints = definition.constraints;
    placed->originX = originX;
    rebuild(*placed);
    for (MacroPart& p : placed->parts) {
        kxhost::DrawingObject o;
        o.kind = p.kind;
        o.name = p.name;
        o.properties = p.properties;
        p.id = drawing.addObject(std::move(o));
    }
    // The macro object: what a user picks to select the macro, and what it knows of its modules.
    kxhost::DrawingObject m;
    m.kind = "macro";
    m.name = placed->data.macroNames.isEmpty() ? placed->data.title.str() : placed->data.macroNames[0].str();
    std::string modules;
    for (const MacroTabData& tab : placed->data.tabs)
        modules += (modules.empty() ? "" : ";") + tab.caption.str();
    m.properties = {{"Module", "End plates\\end plate"}, {"modules", modules}};
    placed->macroObject = drawing.addObject(std::move(m));

    // The macro data now names its objects: itself as the module id, its parts, and each profile by mark.
    MacroData& d = placed->data;
    d.moduleIds.setLogicalLength(0);
    d.moduleIds.append(placed->macroObject);
    d.objectIds.setLogicalLength(0);
    for (const MacroPart& p : placed->parts)
        d.objectIds.append(p.id);
    for (MacroTabData& tab : d.tabs) {
        for (MacroProfData& prof : tab.profiles) {
            const std::string role = prof.name2 == "B1" ? "beam B1" : "column " + prof.name2.str();
            for (const MacroPart& p : placed->parts)
                if (p.role == role)
                    prof.objectId = p.id;
        }
    }
    placed->constraints.macroId = placed->macroObject;
    const AcDbObjectId id = placed->macroObject;
    drawing.logRequest("place macro " + m.name, {id}, std::to_string(placed->parts.size()) + " parts");
    m_macros.push_back(std::move(placed));
    redraw(drawing);
    return id;
}

std::vector<AcDbObjectId> MacroModel::placeSampleFrames(SimulatedDrawing& drawing)
{
    reset();
    std::vector<AcDbObjectId> ids;
    int n = 0;
    for (const char* name : {"End plate connection", "End plate connection 2"}) {
        MacroDefinition def;
        std::string error;
        const auto path = findMacroDefinition(name);
        if (!path || !readMacroDefinitionFile(*path, def, error)) {
            drawing.logRequest(std::string("place macro ") + name, {}, path ? error : "no definition in the library");
            continue;
        }
        const AcDbObjectId id = place(drawing, def, n++ * kFrameGap);
        if (!id.isNull())
            ids.push_back(id);
    }
    return ids;
}

PlacedMacro* MacroModel::find(AcDbObjectId id)
{
    if (id.isNull())
        return nullptr;
    for (auto& m : m_macros) {
        if (m->macroObject == id)
            return m.get();
        for (const MacroPart& p : m->parts)
            if (p.id == id)
                return m.get();
    }
    return nullptr;
}

PlacedMacro* MacroModel::findByName(const Kx_String& name)
{
    for (auto& m : m_macros) {
        if ((!m->data.macroNames.isEmpty() && m->data.macroNames[0] == name) || m->data.title == name)
            return m.get();
    }
    return nullptr;
}

PlacedMacro* MacroModel::of(const MacroData& data)
{
    if (!data.moduleIds.isEmpty())
        if (PlacedMacro* m = find(data.moduleIds[0]))
            return m;
    if (!data.macroNames.isEmpty())
        if (PlacedMacro* m = findByName(data.macroNames[0]))
            return m;
    return findByName(data.title);
}

Kx_ViewDirection MacroModel::viewOf(const Kx_String& moduleName) const
{
    const auto it = m_views.find(moduleName.str());
    return it == m_views.end() ? kViewFront : it->second;
}

void MacroModel::setView(const Kx_String& moduleName, Kx_ViewDirection direction)
{
    m_views[moduleName.str()] = direction;
    m_current = direction;
    m_currentModule = moduleName.str();
}

void MacroModel::setViewedMacro(AcDbObjectId macroObject)
{
    m_currentMacro = macroObject;
}

void MacroModel::redraw(SimulatedDrawing& drawing)
{
    bool any = false;
    DrawingPoint low, high;
    for (auto& m : m_macros) {
        DrawingPoint mLow, mHigh;
        bool mAny = false;
        for (const MacroPart& p : m->parts) {
            const kxhost::DrawingObject* existing = drawing.object(p.id);
            if (!existing)
                continue;
            kxhost::DrawingObject o = *existing;
            o.name = p.name;
            o.properties = p.properties;
            o.outline.clear();
            for (const Box3& b : p.boxes)
                o.outline.push_back(outlineOf(b, p.round, m_current));
            for (const DrawingOutline& poly : o.outline) {
                for (const DrawingPoint& q : poly) {
                    if (!mAny)
                        mLow = mHigh = q;
                    mAny = true;
                    mLow = {std::min(mLow.x, q.x), std::min(mLow.y, q.y)};
                    mHigh = {std::max(mHigh.x, q.x), std::max(mHigh.y, q.y)};
                    if (p.module == m_currentModule && (m_currentMacro.isNull() || m->macroObject == m_currentMacro)) {
                        if (!any)
                            low = high = q;
                        any = true;
                        low = {std::min(low.x, q.x), std::min(low.y, q.y)};
                        high = {std::max(high.x, q.x), std::max(high.y, q.y)};
                    }
                }
            }
            if (!(o.outline == existing->outline && o.properties == existing->properties && o.name == existing->name))
                drawing.replaceObject(o);
        }
        // The macro object is a dotted box around the end-plate joint.
        if (const kxhost::DrawingObject* mo = drawing.object(m->macroObject)) {
            kxhost::DrawingObject o = *mo;
            o.outline.clear();
            for (const MacroPart& p : m->parts) {
                if (p.role != "end plate")
                    continue;
                for (const Box3& b : p.boxes) {
                    const Box3 around{b.x0 - 200, b.y0 - 60, b.z0 - 60, b.x1 + 200, b.y1 + 60, b.z1 + 60};
                    o.outline.push_back(outlineOf(around, false, m_current));
                }
            }
            if (!(o.outline == mo->outline))
                drawing.replaceObject(o);
        }
    }
    kxhost::DrawingViewState view;
    if (!m_currentModule.empty()) {
        view.caption = m_currentModule + ": " + directionName(m_current);
        if (any) {
            const double mx = std::max((high.x - low.x) * 0.15, 100.0), my = std::max((high.y - low.y) * 0.15, 100.0);
            view.zoomed = true;
            view.low = {low.x - mx, low.y - my};
            view.high = {high.x + mx, high.y + my};
        }
    }
    drawing.setView(view);
}

} // namespace kxcore
