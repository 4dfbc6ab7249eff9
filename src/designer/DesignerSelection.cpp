// Kx_DlgDesignerData in designer mode: the selection and its trackers, dragging with the mouse
// (moving the selection, resizing one control by a handle, the rubber band), the editing commands
// of the dialog designer and its property panel. Placing the windows is DesignerRuntime.cpp's.
#include "designer/Kx_DlgDesignerData.h"

#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "designer/DesignerState.h"
#include "platform/win/Backend.h"
#include "platform/win/Cursor.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using State = Kx_DlgDesignerData::State;

constexpr int kTextNewControl = 171;
constexpr int kTextNoPicture = 9620;
constexpr int kTextNoFreeId = 9621;
constexpr int kTextBadSize = 9622;
constexpr int kTextDesignerTitle = 843;
// Where Add puts a new control, and its size in pixels.
constexpr double kNewControlFactor = 0.2;
constexpr double kNewControlWidth = 30;
constexpr double kNewControlHeight = 18;
// How far Copy moves the copies, right and down.
constexpr double kCopyOffset = 20;
// The search for the leftmost control starts here: further right than any picture reaches.
constexpr double kFarRight = 100000;

// The layout is being edited: designer mode, and one drawn window and tracker per control.
bool isEditable(const State& s)
{
    return s.initialized && s.designerMode && IsWindow(s.host) && s.drawn.size() == s.controls.size()
        && s.trackers.size() == s.drawn.size();
}

bool hasPicture(const State& s)
{
    return s.width > 0 && s.height > 0;
}

RECT trackerRect(const State& s, int k)
{
    return GetWindowRectInParent(s.trackers[static_cast<size_t>(k)].hwnd);
}

void markSelection(State& s)
{
    for (kxdesigner::Tracker& t : s.trackers)
        t.selected = false;
    for (int k : s.selection)
        s.trackers[static_cast<size_t>(k)].selected = true;
}

void invalidate(const State& s)
{
    if (IsWindow(s.host))
        InvalidateRect(s.host, nullptr, TRUE);
}

int freeIdCount(const State& s)
{
    if (s.firstId < 1 || s.lastId < s.firstId)
        return 0;
    std::set<int> used;
    for (const Kx_DesignerControl& c : s.controls)
        used.insert(c.getResourceId());
    int free = 0;
    for (int id = s.firstId; id <= s.lastId; ++id)
        free += used.count(id) == 0 ? 1 : 0;
    return free;
}

void tellUser(const State& s, int text)
{
    MessageBox(s.host, dialString(text).str(), dialString(kTextDesignerTitle).str(), MB_OK | MB_ICONWARNING);
}

RECT normalised(POINT a, POINT b)
{
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The size cursor of a handle (trackerHandleRects order: corners clockwise from the top left, then
// the sides top, right, bottom, left).
int handleCursor(int handle)
{
    switch (handle) {
    case 0:
    case 2:
        return IDC_SIZENWSE;
    case 1:
    case 3:
        return IDC_SIZENESW;
    case 4:
    case 6:
        return IDC_SIZENS;
    default:
        return IDC_SIZEWE;
    }
}

LONG clampCoordinate(long long v)
{
    return static_cast<LONG>(std::clamp<long long>(v, -kMaxDesignerCoordinate, kMaxDesignerCoordinate));
}

// Where an edge dragged by d lands: on the grid (step > 1), and not past the picture's edge
// 0..limit when it started inside (limit 0: no picture, no stop).
LONG draggedEdge(LONG edge, LONG d, int step, int limit)
{
    // An edge the mouse has not moved stays where it is, on the grid or not.
    if (d == 0)
        return edge;
    LONG to = kxdesigner::snapToGrid(clampCoordinate(static_cast<long long>(edge) + d), step);
    if (limit > 0 && edge >= 0 && edge <= limit)
        to = std::clamp<LONG>(to, 0, limit);
    return to;
}

// The rectangle a handle drag gives: the handle's edges follow the mouse (onto the grid, within the
// picture), and a drag past the opposite edge turns the rectangle over instead of inverting it; at
// least one pixel either way.
RECT resized(RECT r, int handle, LONG dx, LONG dy, int step, int width, int height)
{
    const bool left = handle == 0 || handle == 3 || handle == 7;
    const bool right = handle == 1 || handle == 2 || handle == 5;
    const bool top = handle == 0 || handle == 1 || handle == 4;
    const bool bottom = handle == 2 || handle == 3 || handle == 6;
    if (left)
        r.left = draggedEdge(r.left, dx, step, width);
    if (right)
        r.right = draggedEdge(r.right, dx, step, width);
    if (top)
        r.top = draggedEdge(r.top, dy, step, height);
    if (bottom)
        r.bottom = draggedEdge(r.bottom, dy, step, height);
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    if (r.right == r.left)
        r.right = r.left + 1;
    if (r.bottom == r.top)
        r.bottom = r.top + 1;
    return r;
}


} // namespace

bool Kx_DlgDesignerData::getCurSel(int& i) const
{
    const State& s = *m_state;
    if (!isEditable(s) || s.selection.size() != 1)
        return false;
    i = s.selection.front();
    return true;
}

std::vector<int> Kx_DlgDesignerData::getSelection() const
{
    return m_state->selection;
}

void Kx_DlgDesignerData::setSelection(const std::vector<int>& indices)
{
    State& s = *m_state;
    s.selection.clear();
    if (isEditable(s)) {
        for (int k : indices) {
            if (k >= 0 && k < static_cast<int>(s.trackers.size())
                && std::find(s.selection.begin(), s.selection.end(), k) == s.selection.end())
                s.selection.push_back(k);
        }
    }
    markSelection(s);
    invalidate(s);
}

bool Kx_DlgDesignerData::addNewControl(Kx_ControlType type)
{
    try {
        State& s = *m_state;
        if (!s.initialized || !s.designerMode)
            return false;
        if (!hasPicture(s)) {
            tellUser(s, kTextNoPicture);
            return false;
        }
        if (freeIdCount(s) == 0) {
            tellUser(s, kTextNoFreeId);
            return false;
        }
        Kx_DesignerControl ctrl;
        ctrl.setType(type);
        ctrl.setContents(dialString(kTextNewControl));
        ctrl.setFactors(kNewControlFactor, kNewControlFactor,
                        kNewControlFactor + pixelsToFactor(true, kNewControlWidth),
                        kNewControlFactor + pixelsToFactor(false, kNewControlHeight));
        kxdesigner::Snapshot before = s.snapshot();
        if (append(ctrl) == 0)
            return false;
        const bool drawn = drawControl(s.controls.back());
        if (drawn && s.tabOrderView)
            ShowWindow(s.drawn.back().hwnd, SW_HIDE);
        s.recordStep(std::move(before));
        invalidate(s);
        return drawn;
    } catch (...) {
        return false;
    }
}

void Kx_DlgDesignerData::removeCurControls()
{
    State& s = *m_state;
    if (!isEditable(s) || s.selection.empty())
        return;
    kxdesigner::Snapshot before = s.snapshot();
    // From the highest index down: removing one never moves another that is still to go.
    std::vector<int> doomed = s.selection;
    std::sort(doomed.begin(), doomed.end(), std::greater<>());
    s.selection.clear();
    for (int k : doomed) {
        const auto at = static_cast<long>(k);
        HWND hwnd = s.drawn[static_cast<size_t>(k)].hwnd;
        s.trackers.erase(s.trackers.begin() + at);
        s.drawn.erase(s.drawn.begin() + at);
        s.controls.erase(s.controls.begin() + at);
        if (IsWindow(hwnd) && GetParent(hwnd) == s.host)
            DestroyWindow(hwnd);
    }
    markSelection(s);
    s.recordStep(std::move(before));
    invalidate(s);
}

bool Kx_DlgDesignerData::copyCurCtrls()
{
    try {
        State& s = *m_state;
        if (!isEditable(s) || s.selection.empty())
            return false;
        if (!hasPicture(s)) {
            tellUser(s, kTextNoPicture);
            return false;
        }
        if (freeIdCount(s) < static_cast<int>(s.selection.size())) {
            tellUser(s, kTextNoFreeId);
            return false;
        }
        kxdesigner::syncFromWindows(*this, s);
        kxdesigner::Snapshot before = s.snapshot();
        const std::vector<int> originals = s.selection;
        std::vector<int> copies;
        for (int k : originals) {
            Kx_DesignerControl copy = s.controls[static_cast<size_t>(k)];
            setTopLeftX(copy, getTopLeftX(copy) + kCopyOffset);
            setBottomRightX(copy, getBottomRightX(copy) + kCopyOffset);
            setTopLeftY(copy, getTopLeftY(copy) + kCopyOffset);
            setBottomRightY(copy, getBottomRightY(copy) + kCopyOffset);
            append(copy);
            copies.push_back(static_cast<int>(s.controls.size()) - 1);
        }
        redrawAllControls();
        setSelection(copies);
        s.recordStep(std::move(before));
        return true;
    } catch (...) {
        return false;
    }
}

bool Kx_DlgDesignerData::outlineCurCtrls()
{
    State& s = *m_state;
    if (!isEditable(s) || s.selection.empty())
        return false;
    if (!hasPicture(s)) {
        tellUser(s, kTextNoPicture);
        return false;
    }
    kxdesigner::syncFromWindows(*this, s);
    kxdesigner::Snapshot before = s.snapshot();
    int reference = -1;
    double leftmost = kFarRight;
    for (int k : s.selection) {
        const double left = getTopLeftX(s.controls[static_cast<size_t>(k)]);
        if (left < leftmost) {
            leftmost = left;
            reference = k;
        }
    }
    if (reference < 0)
        return false;
    const double bottom = getBottomRightY(s.controls[static_cast<size_t>(reference)]);
    for (int k : s.selection) {
        if (k == reference)
            continue;
        Kx_DesignerControl& c = s.controls[static_cast<size_t>(k)];
        const double height = getHeight(c);
        setBottomRightY(c, bottom);
        setTopLeftY(c, bottom - height);
    }
    const std::vector<int> selected = s.selection;
    redrawAllControls();
    setSelection(selected);
    s.recordStep(std::move(before));
    return true;
}

bool Kx_DlgDesignerData::stickRightCurCtrls()
{
    State& s = *m_state;
    if (!isEditable(s) || s.selection.size() != 2)
        return false;
    if (!hasPicture(s)) {
        tellUser(s, kTextNoPicture);
        return false;
    }
    kxdesigner::syncFromWindows(*this, s);
    kxdesigner::Snapshot before = s.snapshot();
    int reference = s.selection[0];
    int other = s.selection[1];
    if (getTopLeftX(s.controls[static_cast<size_t>(other)]) < getTopLeftX(s.controls[static_cast<size_t>(reference)]))
        std::swap(reference, other);
    const Kx_DesignerControl& ref = s.controls[static_cast<size_t>(reference)];
    Kx_DesignerControl& moved = s.controls[static_cast<size_t>(other)];
    const double width = getWidth(moved);
    const double left = getBottomRightX(ref);
    setTopLeftX(moved, left);
    setBottomRightX(moved, left + width);
    setTopLeftY(moved, getTopLeftY(ref));
    setBottomRightY(moved, getBottomRightY(ref));
    const std::vector<int> selected = s.selection;
    redrawAllControls();
    setSelection(selected);
    s.recordStep(std::move(before));
    return true;
}

bool Kx_DlgDesignerData::changeCtrlSize(bool horizontal)
{
    State& s = *m_state;
    if (!isEditable(s) || s.selection.empty())
        return false;
    if (!hasPicture(s)) {
        tellUser(s, kTextNoPicture);
        return false;
    }
    const std::optional<Kx_String> answer =
        runPromptDialog(horizontal ? 90 : 744, horizontal ? 825 : 826, horizontal ? "30" : "18", 1, 2, s.host);
    if (!answer)
        return false;
    double pixels = 0;
    if (!answer->toDouble(pixels) || !std::isfinite(pixels) || pixels <= 0) {
        tellUser(s, kTextBadSize);
        return false;
    }
    kxdesigner::syncFromWindows(*this, s);
    kxdesigner::Snapshot before = s.snapshot();
    const std::vector<int> selected = s.selection;
    for (int k : selected)
        changeCtrlSize(k, horizontal, pixels);
    redrawAllControls();
    setSelection(selected);
    s.recordStep(std::move(before));
    return true;
}

bool Kx_DlgDesignerData::changeCtrlSize(int i, bool horizontal, double pixels)
{
    Kx_DesignerControl* c = getControlWrite(i);
    if (c == nullptr || !hasPicture(*m_state) || !std::isfinite(pixels) || pixels <= 0)
        return false;
    if (horizontal)
        setBottomRightX(*c, getTopLeftX(*c) + pixels);
    else
        setBottomRightY(*c, getTopLeftY(*c) + pixels);
    return true;
}

void Kx_DlgDesignerData::updatePropsOfCurSel()
{
    State& s = *m_state;
    if (!s.initialized || !s.designerMode || !IsWindow(s.host))
        return;
    s.fillingProps = true;
    HWND types = GetDlgItem(s.host, s.typeComboId);
    HWND description = GetDlgItem(s.host, s.descriptionId);
    HWND contents = GetDlgItem(s.host, s.contentsId);
    HWND hint = GetDlgItem(s.host, s.hintId);
    HWND comboList = GetDlgItem(s.host, s.comboListId);
    int i = -1;
    if (!getCurSel(i)) {
        SendMessage(types, CB_SETCURSEL, static_cast<WPARAM>(-1));
        for (HWND w : {description, contents, hint, comboList})
            SetWindowText(w, "");
        for (HWND w : {types, description, contents, hint, comboList})
            EnableWindow(w, FALSE);
        s.fillingProps = false;
        return;
    }
    const Kx_DesignerControl& c = s.controls[static_cast<size_t>(i)];
    const Kx_ControlType type = c.getType();
    SendMessage(types, CB_SETCURSEL, isKnownControlType(type) ? static_cast<WPARAM>(toInt(type)) : static_cast<WPARAM>(-1));
    SetWindowText(description, controlTypeDescription(type).str());
    SetWindowText(contents, c.getContents().str());
    for (HWND w : {types, description, contents})
        EnableWindow(w, TRUE);
    const bool withList = hasComboListField(type);
    SetWindowText(hint, withList ? controlTypeHint(type).str() : std::string());
    SetWindowText(comboList, withList ? c.getMergedExtComboList().str() : std::string());
    EnableWindow(hint, withList ? TRUE : FALSE);
    EnableWindow(comboList, withList ? TRUE : FALSE);
    s.fillingProps = false;
}

void Kx_DlgDesignerData::propsOfCurSelUpdated()
{
    State& s = *m_state;
    int i = -1;
    if (s.fillingProps || !getCurSel(i))
        return;
    Kx_DesignerControl& c = s.controls[static_cast<size_t>(i)];
    HWND types = GetDlgItem(s.host, s.typeComboId);
    HWND comboList = GetDlgItem(s.host, s.comboListId);
    const Kx_ControlType oldType = c.getType();
    const int chosen = static_cast<int>(SendMessage(types, CB_GETCURSEL));
    const Kx_ControlType newType = chosen >= 0 && chosen < kControlTypeCount ? static_cast<Kx_ControlType>(chosen) : oldType;
    const Kx_String contents(GetWindowText(GetDlgItem(s.host, s.contentsId)));
    // The list field of a type without one is empty and disabled: it is not read, so that changing
    // the contents of such a control never clears a list the file holds for it.
    const bool listShown = IsWindowEnabled(comboList) != FALSE;
    const Kx_String list(GetWindowText(comboList));

    kxdesigner::syncFromWindows(*this, s);
    kxdesigner::Snapshot before = s.snapshot();
    c.setType(newType);
    if (listShown)
        c.setSplitExtComboList(list);
    const bool contentsChanged = !c.getContents().equal(contents, /*exact=*/true);
    c.setContents(contents);
    if (contentsChanged && i < static_cast<int>(s.drawn.size()))
        SetWindowText(s.drawn[static_cast<size_t>(i)].hwnd, contents.str());
    // Typing into one field is one step; a new type is a step of its own.
    const std::string mergeKey = newType != oldType ? std::string() : "props " + std::to_string(i);
    if (newType != oldType) {
        // The window is made again as its new kind.
        redrawAllControls();
        setSelection({i});
        s.recordStep(std::move(before), mergeKey);
        updatePropsOfCurSel();
        return;
    }
    s.recordStep(std::move(before), mergeKey);
}

void Kx_DlgDesignerData::OnLButtonDown(UINT flags, POINT point)
{
    State& s = *m_state;
    // The tab-order view only shows: nothing is selected or dragged in it.
    if (!isEditable(s) || s.tabOrderView)
        return;
    const bool ctrl = (flags & MK_CONTROL) != 0;
    const bool shift = (flags & MK_SHIFT) != 0;
    int hit = -1;
    int handle = -1;
    for (int k = 0; k < static_cast<int>(s.trackers.size()) && hit < 0; ++k) {
        const RECT r = trackerRect(s, k);
        if (s.trackers[static_cast<size_t>(k)].selected) {
            const auto handles = kxwin::trackerHandleRects(r);
            for (int h = 0; h < 8; ++h) {
                if (handles[static_cast<size_t>(h)].contains(point)) {
                    hit = k;
                    handle = h;
                    break;
                }
            }
        }
        if (hit < 0 && r.contains(point))
            hit = k;
    }

    s.drag = kxdesigner::DragMode::None;
    s.dragStartRects.clear();
    if (hit >= 0) {
        const auto at = std::find(s.selection.begin(), s.selection.end(), hit);
        const bool selected = at != s.selection.end();
        if (ctrl) {
            if (selected)
                s.selection.erase(at);
            else
                s.selection.push_back(hit);
        } else if (shift) {
            if (!selected)
                s.selection.push_back(hit);
        } else if (!selected) {
            s.selection.assign(1, hit);
        }
        markSelection(s);
        if (!ctrl && !shift) {
            s.dragFrom = point;
            if (handle >= 0) {
                s.drag = kxdesigner::DragMode::Resize;
                s.dragTracker = hit;
                s.dragHandle = handle;
                s.dragStartRects.push_back(trackerRect(s, hit));
            } else {
                s.drag = kxdesigner::DragMode::Move;
                for (int k : s.selection)
                    s.dragStartRects.push_back(trackerRect(s, k));
            }
            // The layout as it was before the drag: undo puts it back when the drag moved anything.
            kxdesigner::syncFromWindows(*this, s);
            s.dragBefore = s.snapshot();
            SetCapture(s.host);
        }
    } else if (!ctrl && !shift) {
        s.selection.clear();
        markSelection(s);
        s.drag = kxdesigner::DragMode::Band;
        s.dragFrom = point;
        s.band = RECT{point.x, point.y, point.x, point.y};
        SetCapture(s.host);
    }
    invalidate(s);
}

void Kx_DlgDesignerData::OnMouseMove(UINT flags, POINT point)
{
    State& s = *m_state;
    if (s.drag == kxdesigner::DragMode::None || !isEditable(s))
        return;
    LONG dx = clampCoordinate(static_cast<long long>(point.x) - s.dragFrom.x);
    LONG dy = clampCoordinate(static_cast<long long>(point.y) - s.dragFrom.y);
    // Alt held: the mouse moves freely, off the grid.
    const int step = (GetKeyState(VK_MENU) & 0x8000) != 0 ? 0 : s.gridStep;
    if (s.drag == kxdesigner::DragMode::Move && !s.dragStartRects.empty()) {
        RECT box = s.dragStartRects.front();
        for (const RECT& r : s.dragStartRects)
            box = RECT{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                       std::max(box.bottom, r.bottom)};
        // The selection's top-left corner goes on the grid; the picture's edges stop it.
        if (dx != 0)
            dx = kxdesigner::snapToGrid(clampCoordinate(static_cast<long long>(box.left) + dx), step) - box.left;
        if (dy != 0)
            dy = kxdesigner::snapToGrid(clampCoordinate(static_cast<long long>(box.top) + dy), step) - box.top;
        if (hasPicture(s)) {
            dx = kxdesigner::clampShift(box.left, box.right, dx, s.width);
            dy = kxdesigner::clampShift(box.top, box.bottom, dy, s.height);
        }
    }
    switch (s.drag) {
    case kxdesigner::DragMode::Move:
        for (size_t n = 0; n < s.selection.size() && n < s.dragStartRects.size(); ++n) {
            const RECT& r = s.dragStartRects[n];
            MoveWindow(s.trackers[static_cast<size_t>(s.selection[n])].hwnd, clampCoordinate(r.left + static_cast<long long>(dx)),
                       clampCoordinate(r.top + static_cast<long long>(dy)), r.width(), r.height(), TRUE);
        }
        break;
    case kxdesigner::DragMode::Resize:
        if (s.dragTracker >= 0 && s.dragTracker < static_cast<int>(s.trackers.size()) && !s.dragStartRects.empty()) {
            const RECT r = resized(s.dragStartRects.front(), s.dragHandle, dx, dy, step, s.width, s.height);
            MoveWindow(s.trackers[static_cast<size_t>(s.dragTracker)].hwnd, r.left, r.top, r.width(), r.height(), TRUE);
        }
        break;
    case kxdesigner::DragMode::Band:
        s.band = normalised(s.dragFrom, point);
        break;
    case kxdesigner::DragMode::None:
        break;
    }
    invalidate(s);
}

void Kx_DlgDesignerData::OnLButtonUp(UINT flags, POINT point)
{
    State& s = *m_state;
    if (s.drag == kxdesigner::DragMode::None)
        return;
    OnMouseMove(flags, point);
    if (s.drag == kxdesigner::DragMode::Band && isEditable(s)) {
        // Only what lies wholly inside the band: a band that cuts through a control leaves it out.
        const RECT band = s.band;
        s.selection.clear();
        if (band.width() > 0 && band.height() > 0) {
            for (int k = 0; k < static_cast<int>(s.trackers.size()); ++k) {
                const RECT r = trackerRect(s, k);
                if (r.left >= band.left && r.right <= band.right && r.top >= band.top && r.bottom <= band.bottom)
                    s.selection.push_back(k);
            }
        }
        markSelection(s);
    } else if (isEditable(s)) {
        // The moved or resized windows give their controls' factors; a press that moved nothing
        // is no step.
        kxdesigner::syncFromWindows(*this, s);
        s.recordStep(std::move(s.dragBefore));
    }
    s.dragBefore = kxdesigner::Snapshot{};
    s.drag = kxdesigner::DragMode::None;
    s.dragStartRects.clear();
    s.dragTracker = -1;
    s.dragHandle = -1;
    s.band = RECT{};
    if (GetCapture() == s.host)
        ReleaseCapture();
    invalidate(s);
}

BOOL Kx_DlgDesignerData::OnSetCursor(POINT point)
{
    const State& s = *m_state;
    if (!isEditable(s))
        return FALSE;
    for (int k : s.selection) {
        const RECT r = trackerRect(s, k);
        const auto handles = kxwin::trackerHandleRects(r);
        for (int h = 0; h < 8; ++h) {
            if (handles[static_cast<size_t>(h)].contains(point)) {
                SetCursor(LoadCursor(nullptr, handleCursor(h)));
                return TRUE;
            }
        }
        if (r.contains(point)) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            return TRUE;
        }
    }
    return FALSE;
}

RECT Kx_DlgDesignerData::getRubberBand() const
{
    return m_state->drag == kxdesigner::DragMode::Band ? m_state->band : RECT{};
}
