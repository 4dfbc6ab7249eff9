// The drawing the host stand-in keeps for the module to act on: objects with ids, kinds, a few
// properties and a flat outline, the highlighted set, temporary previews, and a log of every request
// the module made of the drawing. Views follow it through DrawingObserver; how it is painted is the
// viewer's business, not this file's. Single-threaded, like the host's user-interface thread.
#pragma once

#include "platform/host/AcDb.h"
#include "platform/host/KxHostExport.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kxhost {

// A point of the drawing's plan, in millimetres; y grows upwards.
struct DrawingPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const DrawingPoint&, const DrawingPoint&) = default;
};

// A closed polygon (the last point joins the first).
using DrawingOutline = std::vector<DrawingPoint>;

struct KXHOST_API DrawingObject {
    AcDbObjectId id;
    std::string kind;  // "profile", "plate", "bolt group", "macro"
    std::string name;
    std::vector<std::pair<std::string, std::string>> properties;
    // One or more closed polygons: a bolt group has one per bolt.
    std::vector<DrawingOutline> outline;

    // The value of a property, empty when the object has none of that name.
    std::string property(const std::string& key) const;
};

// An outline drawn over the drawing until it is removed (a cut shown before it is made).
struct DrawingPreview {
    int number = 0;
    std::string label;
    DrawingOutline outline;
};

// How the drawing is looked at: a caption ("End plates\\end plate: side") and, when zoomed, the
// window of the drawing a view should fit instead of everything.
struct DrawingViewState {
    std::string caption;
    bool zoomed = false;
    DrawingPoint low;
    DrawingPoint high;
    friend bool operator==(const DrawingViewState&, const DrawingViewState&) = default;
};

// One request the module made of the drawing: what was asked, about which objects, and the answer.
struct KXHOST_API DrawingRequest {
    std::string what;
    std::vector<AcDbObjectId> ids;
    std::string answer;

    // "highlight [12] -> done": the line a log view shows.
    std::string text() const;
};

enum class PickKind {
    Object,  // an object of the drawing, optionally of one kind
    Point,   // a point anywhere
};

struct PickRequest {
    PickKind kind = PickKind::Object;
    std::string prompt;
    std::string objectKind;  // for object picks: only objects of this kind; empty for any
};

struct PickAnswer {
    AcDbObjectId id;     // the object picked (object picks), or the one under the point (point picks)
    DrawingPoint point;  // where the user picked
};

class SimulatedDrawing;

// Told of changes as they happen. An observer removes itself before it goes; a drawing that goes
// first simply forgets its observers.
class KXHOST_API DrawingObserver {
public:
    virtual ~DrawingObserver() = default;
    // Objects, highlights or previews changed: whatever shows them should be redrawn.
    virtual void drawingChanged(const SimulatedDrawing&) {}
    virtual void requestLogged(const SimulatedDrawing&, const DrawingRequest&) {}
    // A pick started (the viewer should invite a click) or ended.
    virtual void pickStarted(const SimulatedDrawing&, const PickRequest&) {}
    virtual void pickEnded(const SimulatedDrawing&) {}
};

// Answers a pick: the user's choice, or nothing when the user cancelled. Tests give a scripted
// chooser; the workbench waits for a click in its view.
using PickChooser = std::function<std::optional<PickAnswer>(const SimulatedDrawing&, const PickRequest&)>;

class KXHOST_API SimulatedDrawing {
public:
    // The log keeps the newest requests only, so a long session does not grow without end.
    static constexpr std::size_t kRequestLogLimit = 10000;

    SimulatedDrawing() = default;
    SimulatedDrawing(const SimulatedDrawing&) = delete;
    SimulatedDrawing& operator=(const SimulatedDrawing&) = delete;

    // --- Objects ---
    // Adds an object and returns its new id; the id given in `object` is ignored. Ids are never
    // reused, also not after clear(), so an id kept from before names nothing rather than a stranger.
    AcDbObjectId addObject(DrawingObject object);
    // Removes the object with its highlight; later opens of the id answer eWasErased.
    bool eraseObject(AcDbObjectId id);
    bool wasErased(AcDbObjectId id) const { return m_erased.count(id) != 0; }
    // Null when there is no such object; the pointer lives until the next add, erase or clear.
    const DrawingObject* object(AcDbObjectId id) const;
    // Replaces the properties, name and outline of an existing object (its id and kind stay).
    bool replaceObject(const DrawingObject& object);
    const std::vector<DrawingObject>& objects() const { return m_objects; }
    // Removes every object, highlight and preview; the log stays.
    void clear();
    // Adds a small frame: two columns, a beam on top, an end plate at the right-hand joint with
    // four bolts, and the macro that connects them. Returns the ids in that order.
    std::vector<AcDbObjectId> addSampleFrame();

    // The object under a point: of the objects whose outline holds the point (or passes within
    // `tolerance` of it), the one with the smallest area, so a bolt wins over its plate. Null id when
    // none does. `kind` limits the search to one kind.
    AcDbObjectId objectAt(DrawingPoint point, double tolerance = 0, const std::string& kind = {}) const;
    // The smallest box around every object and preview; false when there is nothing to show.
    bool extents(DrawingPoint& low, DrawingPoint& high) const;

    // --- Highlights (each logged) ---
    bool highlight(AcDbObjectId id);
    bool unhighlight(AcDbObjectId id);
    void unhighlightAll();
    bool isHighlighted(AcDbObjectId id) const { return m_highlighted.count(id) != 0; }
    const std::set<AcDbObjectId>& highlighted() const { return m_highlighted; }

    // --- Previews (each logged) ---
    // Returns the preview's number (from 1), or 0 for an outline of fewer than two points.
    int addPreview(DrawingOutline outline, const std::string& label = {});
    bool removePreview(int number);
    void clearPreviews();
    const std::vector<DrawingPreview>& previews() const { return m_previews; }

    // --- View and clash marks (shown by views, not logged: the callers log what they asked) ---
    void setView(DrawingViewState view);
    const DrawingViewState& view() const { return m_view; }
    // The objects a clash check found in a clash, with why; replaces the previous marks.
    void setClashMarks(std::vector<std::pair<AcDbObjectId, std::string>> marks);
    const std::vector<std::pair<AcDbObjectId, std::string>>& clashMarks() const { return m_clashMarks; }
    bool isClashing(AcDbObjectId id) const;

    // --- Picks ---
    // Asks the chooser and logs the question and the answer. Nothing (and "cancelled") when there is
    // no chooser, the user cancelled, or the answer is not an object of the asked kind; a pick asked
    // while another is open is refused, since the user cannot answer two at once.
    std::optional<AcDbObjectId> pickObject(const std::string& prompt, const std::string& kind = {});
    std::optional<DrawingPoint> pickPoint(const std::string& prompt);
    // The previous chooser is returned so a test can put it back.
    PickChooser setPickChooser(PickChooser chooser);
    bool isPicking() const { return m_picking; }

    // --- Request log ---
    void logRequest(std::string what, std::vector<AcDbObjectId> ids = {}, std::string answer = {});
    const std::deque<DrawingRequest>& requests() const { return m_requests; }
    // How many requests were logged in all, the dropped oldest ones included.
    std::size_t requestCount() const { return m_requestCount; }
    void clearRequests() { m_requests.clear(); }

    // --- Observers (not owned) ---
    void addObserver(DrawingObserver* observer);
    void removeObserver(DrawingObserver* observer);

private:
    void changed();
    std::optional<PickAnswer> ask(const PickRequest& request);
    template <typename Fn>
    void notify(Fn&& fn);

    std::vector<DrawingObject> m_objects;
    std::set<AcDbObjectId> m_erased;
    std::set<AcDbObjectId> m_highlighted;
    DrawingViewState m_view;
    std::vector<std::pair<AcDbObjectId, std::string>> m_clashMarks;
    std::vector<DrawingPreview> m_previews;
    std::deque<DrawingRequest> m_requests;
    std::size_t m_requestCount = 0;
    std::vector<DrawingObserver*> m_observers;
    PickChooser m_chooser;
    std::int64_t m_nextHandle = 1;
    int m_nextPreview = 1;
    bool m_picking = false;
};

// The drawing the host has open: where transactions, editor-command hand-offs and display updates
// are logged. Lives to the end of the process.
KXHOST_API SimulatedDrawing& activeDrawing();

} // namespace kxhost
