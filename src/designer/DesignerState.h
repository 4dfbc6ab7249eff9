// Private to the designer folder: what a Kx_DlgDesignerData holds. The layout's own files and the
// designer's editing commands share it; no other folder includes this header.
#pragma once

#include "designer/Kx_DlgDesignerData.h"
#include "platform/win/Bitmap.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace kxdesigner {

// An icon handle that is destroyed with its holder.
class OwnedIcon {
public:
    OwnedIcon() = default;
    ~OwnedIcon() { reset(); }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;

    HICON get() const { return m_icon; }
    void reset(HICON icon = nullptr)
    {
        if (m_icon != nullptr)
            DestroyIcon(m_icon);
        m_icon = icon;
    }

private:
    HICON m_icon = nullptr;
};

// A drawn window, the resource id it was made with, and the rectangle the layout last gave it: a
// window found elsewhere was moved or sized by the user since (a combo box may make itself higher
// than asked, so the control's own rectangle cannot tell).
struct DrawnWindow {
    HWND hwnd = nullptr;
    int id = 0;
    RECT placed{};
};

// The designer's record of a drawn control: its window and whether it is selected.
struct Tracker {
    HWND hwnd = nullptr;
    bool selected = false;
};

// What a press in the designer started.
enum class DragMode {
    None,
    Move,    // the whole selection
    Resize,  // one control, by a handle
    Band,    // a rubber band over empty space
};

// A layout holds no more controls than this; a file that declares more is read up to it. A page
// addresses 100 of them; this leaves room for anything a person draws.
inline constexpr int kMaxLayoutControls = 10000;

// What undo and redo put back: the controls, the selection and the picture file's bytes (shared
// between the steps that did not change it; null while the picture was never replaced, so that
// undo leaves a picture it never saw alone).
struct Snapshot {
    std::vector<Kx_DesignerControl> controls;
    std::vector<int> selection;
    std::shared_ptr<const std::string> picture;
};

// One step of the history: the layout as it was on the other side of it, and the number of the
// state it leads to (for the saved-state check).
struct HistoryEntry {
    Snapshot snapshot;
    std::uint64_t state = 0;
    // Steps of one kind taken one after the other (typing into one property field, nudging the same
    // selection) are one step; the kind says which.
    std::string mergeKey;
};

struct History {
    std::deque<HistoryEntry> undo;
    std::deque<HistoryEntry> redo;
    std::uint64_t current = 0;  // the state the layout is in
    std::uint64_t saved = 0;    // the state it was saved (or read) in
    std::uint64_t next = 1;
    // The merge key of the last step taken, while nothing else happened since.
    std::string lastMergeKey;
};

// True when the two control lists hold the same controls in the same order, bit for bit.
bool sameControls(const std::vector<Kx_DesignerControl>& a, const std::vector<Kx_DesignerControl>& b);

} // namespace kxdesigner

struct Kx_DlgDesignerData::State {
    // Model.
    Kx_String name;
    std::vector<Kx_DesignerControl> controls;
    CBitmap picture;
    CBitmap mask;  // white where the picture is transparent; made on first use
    int width = 0;   // W
    int height = 0;  // H

    // Runtime.
    bool initialized = false;
    HWND host = nullptr;
    bool designerMode = false;
    int firstId = kDesignerFirstResourceId;
    int lastId = kDesignerLastResourceId;
    int typeComboId = 0;
    int descriptionId = 0;
    int contentsId = 0;
    int hintId = 0;
    int comboListId = 0;
    std::vector<kxdesigner::DrawnWindow> drawn;
    kxdesigner::OwnedIcon flexIcon;
    bool flexIconLoaded = false;  // tried once per layout, found or not

    // Designer mode: one tracker per drawn window, and the selection as tracker indices in the
    // order the controls were selected.
    std::vector<kxdesigner::Tracker> trackers;
    std::vector<int> selection;
    // The drag in progress: what the press started, where, and the rectangles it started from.
    kxdesigner::DragMode drag = kxdesigner::DragMode::None;
    POINT dragFrom{};
    int dragTracker = -1;  // Resize: the tracker, and the handle (trackerHandleRects order)
    int dragHandle = -1;
    std::vector<RECT> dragStartRects;  // Move: one per selected tracker, in selection order
    RECT band{};                       // Band: the rubber band, normalised
    // While the property panel is being filled, its change notifications are the panel's own.
    bool fillingProps = false;

    // Undo and redo; the layout before the drag in progress.
    kxdesigner::History history;
    kxdesigner::Snapshot dragBefore;
    std::shared_ptr<const std::string> pictureBytes;  // the picture file as last replaced; null: unknown
    int gridStep = 0;
    bool tabOrderView = false;

    kxdesigner::Snapshot snapshot() const;
    // Records one step: the layout was `before` and is now as it stands. Nothing when nothing
    // changed. A step with the merge key of the step just taken joins it.
    void recordStep(kxdesigner::Snapshot before, const std::string& mergeKey = std::string());

    // The drawn window with resource id `id` that is still alive; null when none.
    HWND drawnWindowOf(int id) const;
    // The control's index by id; -1 when none (ids below 1 are never found).
    int indexOf(int id) const;
};

namespace kxdesigner {

// v on the nearest multiple of step (step 0 or 1: v itself).
LONG snapToGrid(LONG v, int step);
// A shift of the span lo..hi that keeps it inside 0..limit when it is inside, and never takes it
// further out when it is not.
LONG clampShift(LONG lo, LONG hi, LONG shift, LONG limit);
// The factors of every control whose window was moved or sized, from its window.
void syncFromWindows(Kx_DlgDesignerData& layout, Kx_DlgDesignerData::State& s);
// Every drawn window to the rectangle its control's factors give.
void moveWindowsToModel(const Kx_DlgDesignerData& layout, Kx_DlgDesignerData::State& s);
// The tab-order view: each control's outline over the picture, with its place in the keyboard order.
void paintTabOrderView(const Kx_DlgDesignerData& layout, const Kx_DlgDesignerData::State& s, HDC dc);

} // namespace kxdesigner
