// Private to the designer folder: what a Kx_DlgDesignerData holds. The layout's own files and the
// designer's editing commands share it; no other folder includes this header.
#pragma once

#include "designer/Kx_DlgDesignerData.h"
#include "platform/win/Bitmap.h"

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

// A drawn window and the resource id it was made with.
struct DrawnWindow {
    HWND hwnd = nullptr;
    int id = 0;
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

    // The drawn window with resource id `id` that is still alive; null when none.
    HWND drawnWindowOf(int id) const;
    // The control's index by id; -1 when none (ids below 1 are never found).
    int indexOf(int id) const;
};
