// The host stand-in's drawing: objects, highlights, previews, picks and the request log.
#include "platform/host/SimulatedDrawing.h"

#include "platform/host/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kxhost {

namespace {

std::string idList(const std::vector<AcDbObjectId>& ids)
{
    std::string out;
    for (const AcDbObjectId& id : ids) {
        if (!out.empty())
            out += ", ";
        out += std::to_string(id.handle());
    }
    return out;
}

// Twice the signed area (shoelace); its magnitude orders outlines by size.
double area(const DrawingOutline& polygon)
{
    double twice = 0;
    for (size_t i = 0, n = polygon.size(); i < n; ++i) {
        const DrawingPoint& a = polygon[i];
        const DrawingPoint& b = polygon[(i + 1) % n];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::abs(twice) / 2;
}

double distanceToSegment(DrawingPoint p, DrawingPoint a, DrawingPoint b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool holds(const DrawingOutline& polygon, DrawingPoint p, double tolerance)
{
    const size_t n = polygon.size();
    if (n == 0)
        return false;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const DrawingPoint& a = polygon[i];
        const DrawingPoint& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    if (inside || tolerance <= 0)
        return inside;
    for (size_t i = 0, j = n - 1; i < n; j = i++)
        if (distanceToSegment(p, polygon[j], polygon[i]) <= tolerance)
            return true;
    return false;
}

DrawingOutline rectangle(double x0, double y0, double x1, double y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// A bolt seen from its head: a circle as an octagon, enough for a plan view.
DrawingOutline circle(double cx, double cy, double r)
{
    DrawingOutline out;
    for (int i = 0; i < 8; ++i) {
        const double a = (i + 0.5) * 3.14159265358979323846 / 4;
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

bool finite(const DrawingOutline& outline)
{
    return std::all_of(outline.begin(), outline.end(),
                       [](const DrawingPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

} // namespace

std::string DrawingObject::property(const std::string& key) const
{
    for (const auto& [k, v] : properties)
        if (k == key)
            return v;
    return {};
}

std::string DrawingRequest::text() const
{
    std::string out = what;
    if (!ids.empty())
        out += " [" + idList(ids) + "]";
    if (!answer.empty())
        out += " -> " + answer;
    return out;
}

// --- Objects ---

AcDbObjectId SimulatedDrawing::addObject(DrawingObject object)
{
    // Outlines with NaN or infinite points would poison the extents and every view's scale.
    for (DrawingOutline& polygon : object.outline)
        if (!finite(polygon))
            polygon.clear();
    std::erase_if(object.outline, [](const DrawingOutline& polygon) { return polygon.empty(); });
    object.id = AcDbObjectId(m_nextHandle++);
    m_objects.push_back(std::move(object));
    changed();
    return m_objects.back().id;
}

bool SimulatedDrawing::eraseObject(AcDbObjectId id)
{
    auto it = std::find_if(m_objects.begin(), m_objects.end(), [&](const DrawingObject& o) { return o.id == id; });
    if (it == m_objects.end())
        return false;
    m_objects.erase(it);
    m_erased.insert(id);
    m_highlighted.erase(id);
    changed();
    return true;
}

const DrawingObject* SimulatedDrawing::object(AcDbObjectId id) const
{
    for (const DrawingObject& o : m_objects)
        if (o.id == id)
            return &o;
    return nullptr;
}

bool SimulatedDrawing::replaceObject(const DrawingObject& replacement)
{
    for (DrawingObject& o : m_objects) {
        if (o.id != replacement.id)
            continue;
        const std::string kind = o.kind;
        o = replacement;
        o.kind = kind;
        for (DrawingOutline& polygon : o.outline)
            if (!finite(polygon))
                polygon.clear();
        std::erase_if(o.outline, [](const DrawingOutline& polygon) { return polygon.empty(); });
        changed();
        return true;
    }
    return false;
}

void SimulatedDrawing::clear()
{
    for (const DrawingObject& o : m_objects)
        m_erased.insert(o.id);
    m_objects.clear();
    m_highlighted.clear();
    m_previews.clear();
    m_clashMarks.clear();
    m_view = {};
    changed();
}

std::vector<AcDbObjectId> SimulatedDrawing::addSampleFrame()
{
    // A portal of 6 m span and 3 m height in elevation, millimetres: HEA 200 columns, an IPE 300
    // beam between their heads, and an end plate with four M16 bolts at the right-hand joint.
    auto make = [](std::string kind, std::string name, std::vector<std::pair<std::string, std::string>> props,
                   std::vector<DrawingOutline> outline) {
        DrawingObject o;
        o.kind = std::move(kind);
        o.name = std::move(name);
        o.properties = std::move(props);
        o.outline = std::move(outline);
        return o;
    };
    std::vector<AcDbObjectId> ids;
    ids.push_back(addObject(make("profile", "Column C1",
                                 {{"Section", "HEA200"}, {"Material", "S235"}, {"Length", "3000"}},
                                 {rectangle(0, 0, 200, 3000)})));
    ids.push_back(addObject(make("profile", "Column C2",
                                 {{"Section", "HEA200"}, {"Material", "S235"}, {"Length", "3000"}},
                                 {rectangle(6000, 0, 6200, 3000)})));
    ids.push_back(addObject(make("profile", "Beam B1",
                                 {{"Section", "IPE300"}, {"Material", "S235"}, {"Length", "5780"}},
                                 {rectangle(200, 2700, 5980, 3000)})));
    ids.push_back(addObject(make("plate", "End plate P1",
                                 {{"Thickness", "15"}, {"Material", "S235"}, {"Size", "200 x 360"}},
                                 {rectangle(5980, 2660, 6000, 3020)})));
    std::vector<DrawingOutline> bolts;
    for (double y : {2740.0, 2920.0})
        for (double x : {5940.0, 6040.0})
            bolts.push_back(circle(x, y, 9));
    ids.push_back(addObject(make("bolt group", "Bolts M16 x 4",
                                 {{"Diameter", "16"}, {"Grade", "8.8"}, {"Count", "4"}}, std::move(bolts))));
    ids.push_back(addObject(make("macro", "End plate connection",
                                 {{"Module", "End plates\\end plate"}, {"Beam", std::to_string(ids[2].handle())},
                                  {"Column", std::to_string(ids[1].handle())}},
                                 {rectangle(5860, 2620, 6120, 3060)})));
    return ids;
}

void SimulatedDrawing::setView(DrawingViewState view)
{
    if (view == m_view)
        return;
    m_view = std::move(view);
    changed();
}

void SimulatedDrawing::setClashMarks(std::vector<std::pair<AcDbObjectId, std::string>> marks)
{
    if (marks == m_clashMarks)
        return;
    m_clashMarks = std::move(marks);
    changed();
}

bool SimulatedDrawing::isClashing(AcDbObjectId id) const
{
    for (const auto& mark : m_clashMarks) {
        if (mark.first == id)
            return true;
    }
    return false;
}

AcDbObjectId SimulatedDrawing::objectAt(DrawingPoint point, double tolerance, const std::string& kind) const
{
    AcDbObjectId best;
    double bestArea = std::numeric_limits<double>::infinity();
    for (const DrawingObject& o : m_objects) {
        if (!kind.empty() && o.kind != kind)
            continue;
        double objectArea = 0;
        bool hit = false;
        for (const DrawingOutline& polygon : o.outline) {
            objectArea += area(polygon);
            hit = hit || holds(polygon, point, tolerance);
        }
        // Ties go to the later object, which a view draws on top.
        if (hit && objectArea <= bestArea) {
            best = o.id;
            bestArea = objectArea;
        }
    }
    return best;
}

bool SimulatedDrawing::extents(DrawingPoint& low, DrawingPoint& high) const
{
    bool any = false;
    auto take = [&](const DrawingOutline& polygon) {
        for (const DrawingPoint& p : polygon) {
            if (!any) {
                low = high = p;
                any = true;
            }
            low = {std::min(low.x, p.x), std::min(low.y, p.y)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y)};
        }
    };
    for (const DrawingObject& o : m_objects)
        for (const DrawingOutline& polygon : o.outline)
            take(polygon);
    for (const DrawingPreview& p : m_previews)
        take(p.outline);
    return any;
}

// --- Highlights ---

bool SimulatedDrawing::highlight(AcDbObjectId id)
{
    const bool known = object(id) != nullptr;
    if (known)
        m_highlighted.insert(id);
    logRequest("highlight", {id}, known ? "done" : "no such object");
    if (known)
        changed();
    return known;
}

bool SimulatedDrawing::unhighlight(AcDbObjectId id)
{
    const bool was = m_highlighted.erase(id) != 0;
    logRequest("unhighlight", {id}, was ? "done" : "was not highlighted");
    if (was)
        changed();
    return was;
}

void SimulatedDrawing::unhighlightAll()
{
    std::vector<AcDbObjectId> ids(m_highlighted.begin(), m_highlighted.end());
    m_highlighted.clear();
    logRequest("unhighlight all", std::move(ids), "done");
    changed();
}

// --- Previews ---

int SimulatedDrawing::addPreview(DrawingOutline outline, const std::string& label)
{
    if (outline.size() < 2 || !finite(outline)) {
        logRequest("draw preview " + label, {}, "refused: not an outline");
        return 0;
    }
    const int number = m_nextPreview++;
    m_previews.push_back({number, label, std::move(outline)});
    logRequest("draw preview " + label, {}, "preview " + std::to_string(number));
    changed();
    return number;
}

bool SimulatedDrawing::removePreview(int number)
{
    auto it = std::find_if(m_previews.begin(), m_previews.end(), [&](const DrawingPreview& p) { return p.number == number; });
    const bool found = it != m_previews.end();
    if (found)
        m_previews.erase(it);
    logRequest("remove preview " + std::to_string(number), {}, found ? "done" : "no such preview");
    if (found)
        changed();
    return found;
}

void SimulatedDrawing::clearPreviews()
{
    const size_t count = m_previews.size();
    m_previews.clear();
    logRequest("remove all previews", {}, std::to_string(count) + " removed");
    changed();
}

// --- Picks ---

PickChooser SimulatedDrawing::setPickChooser(PickChooser chooser)
{
    std::swap(chooser, m_chooser);
    return chooser;
}

std::optional<PickAnswer> SimulatedDrawing::ask(const PickRequest& request)
{
    if (!m_chooser)
        return std::nullopt;
    // The host shows the prompt on its command line while it waits.
    acutPrintf("%s", (request.prompt + "\n").c_str());
    m_picking = true;
    notify([&](DrawingObserver& o) { o.pickStarted(*this, request); });
    std::optional<PickAnswer> answer;
    // A copy: the chooser may be replaced while it waits for the user (its view closing).
    const PickChooser chooser = m_chooser;
    try {
        answer = chooser(*this, request);
    } catch (...) {
        // A chooser that fails is a cancelled pick, never an exception through the host.
        answer.reset();
    }
    m_picking = false;
    notify([&](DrawingObserver& o) { o.pickEnded(*this); });
    return answer;
}

std::optional<AcDbObjectId> SimulatedDrawing::pickObject(const std::string& prompt, const std::string& kind)
{
    const std::string what = "pick " + (kind.empty() ? std::string("an object") : kind) + ": " + prompt;
    if (m_picking) {
        logRequest(what, {}, "refused: another pick is open");
        return std::nullopt;
    }
    const std::optional<PickAnswer> answer = ask({PickKind::Object, prompt, kind});
    if (!answer) {
        logRequest(what, {}, "cancelled");
        return std::nullopt;
    }
    // The chooser may answer anything; only an object of the asked kind is a pick.
    const DrawingObject* picked = object(answer->id);
    if (picked == nullptr || (!kind.empty() && picked->kind != kind)) {
        logRequest(what, {answer->id}, picked == nullptr ? "refused: no such object" : "refused: not a " + kind);
        return std::nullopt;
    }
    logRequest(what, {picked->id}, picked->name);
    return picked->id;
}

std::optional<DrawingPoint> SimulatedDrawing::pickPoint(const std::string& prompt)
{
    const std::string what = "pick a point: " + prompt;
    if (m_picking) {
        logRequest(what, {}, "refused: another pick is open");
        return std::nullopt;
    }
    const std::optional<PickAnswer> answer = ask({PickKind::Point, prompt, {}});
    if (!answer || !std::isfinite(answer->point.x) || !std::isfinite(answer->point.y)) {
        logRequest(what, {}, "cancelled");
        return std::nullopt;
    }
    // One decimal with a decimal point whatever locale the host process set.
    const auto oneDecimal = [](double v) {
        char text[64];
        const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 1);
        return std::string(text, r.ptr);
    };
    logRequest(what, {}, oneDecimal(answer->point.x) + ", " + oneDecimal(answer->point.y));
    return answer->point;
}

// --- Log and observers ---

void SimulatedDrawing::logRequest(std::string what, std::vector<AcDbObjectId> ids, std::string answer)
{
    if (m_requests.size() >= kRequestLogLimit)
        m_requests.pop_front();
    m_requests.push_back({std::move(what), std::move(ids), std::move(answer)});
    ++m_requestCount;
    const DrawingRequest logged = m_requests.back();  // an observer may log or clear in turn
    notify([&](DrawingObserver& o) { o.requestLogged(*this, logged); });
}

void SimulatedDrawing::addObserver(DrawingObserver* observer)
{
    if (observer != nullptr && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void SimulatedDrawing::removeObserver(DrawingObserver* observer)
{
    std::erase(m_observers, observer);
}

template <typename Fn>
void SimulatedDrawing::notify(Fn&& fn)
{
    // An observer may remove itself or another one while being told: skip those that left.
    const std::vector<DrawingObserver*> snapshot = m_observers;
    for (DrawingObserver* o : snapshot)
        if (std::find(m_observers.begin(), m_observers.end(), o) != m_observers.end())
            fn(*o);
}

void SimulatedDrawing::changed()
{
    notify([&](DrawingObserver& o) { o.drawingChanged(*this); });
}

SimulatedDrawing& activeDrawing()
{
    static SimulatedDrawing drawing;
    return drawing;
}

} // namespace kxhost
