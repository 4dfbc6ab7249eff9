// Kx_DlgDesignerData in designer mode: the snap grid, nudging the selection with the arrow keys,
// aligning, sizing alike and spacing the selection, and the tab-order view. The mouse and the first
// editing commands are in DesignerSelection.cpp, undo and redo in DesignerHistory.cpp.
#include "designer/Kx_DlgDesignerData.h"

#include "core/TextTables.h"
#include "designer/DesignerState.h"
#include "platform/win/Bitmap.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>

namespace kxdesigner {

LONG snapToGrid(LONG v, int step)
{
    if (step <= 1)
        return v;
    const double snapped = std::round(static_cast<double>(v) / step) * step;
    return static_cast<LONG>(std::clamp(snapped, -double(kMaxDesignerCoordinate), double(kMaxDesignerCoordinate)));
}

LONG clampShift(LONG lo, LONG hi, LONG shift, LONG limit)
{
    // Back towards the picture is always allowed; further out never.
    const LONG least = lo >= 0 ? -lo : 0;
    const LONG most = hi <= limit ? limit - hi : 0;
    return std::clamp(shift, std::min(least, LONG{0}), std::max(most, LONG{0}));
}

} // namespace kxdesigner

namespace {

using State = Kx_DlgDesignerData::State;

bool isEditable(const State& s)
{
    return s.initialized && s.designerMode && IsWindow(s.host) && s.drawn.size() == s.controls.size()
        && s.trackers.size() == s.drawn.size();
}

bool hasPicture(const State& s)
{
    return s.width > 0 && s.height > 0;
}

void invalidate(const State& s)
{
    if (IsWindow(s.host))
        InvalidateRect(s.host, nullptr, TRUE);
}

// The selection's key for steps that join: nudging the same controls the same way.
std::string mergeKeyOf(const char* kind, const std::vector<int>& selection)
{
    std::string key = kind;
    for (int k : selection)
        key += ' ' + std::to_string(k);
    return key;
}

// The layout before an editing command on at least `least` selected controls, with what the mouse
// did to the windows taken in first; nothing when the command cannot run.
std::optional<kxdesigner::Snapshot> beginCommand(Kx_DlgDesignerData& layout, State& s, size_t least)
{
    if (!isEditable(s) || s.selection.size() < least || !hasPicture(s) || s.tabOrderView)
        return std::nullopt;
    kxdesigner::syncFromWindows(layout, s);
    return s.snapshot();
}

} // namespace

void kxdesigner::syncFromWindows(Kx_DlgDesignerData& layout, State& s)
{
    // Only the controls whose windows were moved: the others keep their factors bit for bit rather
    // than take the rounded pixels of their windows.
    if (s.drawn.size() != s.controls.size())
        return;
    for (size_t k = 0; k < s.controls.size(); ++k) {
        HWND hwnd = s.drawn[k].hwnd;
        if (!IsWindow(hwnd))
            continue;
        const RECT now = GetWindowRectInParent(hwnd);
        if (now != s.drawn[k].placed && layout.getSizeFromControl(static_cast<int>(k)))
            s.drawn[k].placed = now;
    }
}

void kxdesigner::moveWindowsToModel(const Kx_DlgDesignerData& layout, State& s)
{
    if (s.drawn.size() != s.controls.size())
        return;
    for (size_t k = 0; k < s.controls.size(); ++k) {
        HWND hwnd = s.drawn[k].hwnd;
        const RECT r = layout.getDrawnRect(s.controls[k]);
        if (!IsWindow(hwnd))
            continue;
        if (GetWindowRectInParent(hwnd) != r)
            MoveWindow(hwnd, r.left, r.top, std::max<LONG>(0, r.width()), std::max<LONG>(0, r.height()), TRUE);
        s.drawn[k].placed = GetWindowRectInParent(hwnd);
    }
}

void Kx_DlgDesignerData::setGridStep(int pixels)
{
    m_state->gridStep = std::clamp(pixels, 0, kMaxGridStep);
}

int Kx_DlgDesignerData::getGridStep() const
{
    return m_state->gridStep;
}

bool Kx_DlgDesignerData::nudgeCurCtrls(int dx, int dy, bool resize)
{
    try {
        State& s = *m_state;
        std::optional<kxdesigner::Snapshot> before = beginCommand(*this, s, 1);
        if (!before)
            return false;
        bool moved = false;
        if (!resize) {
            RECT box = getDrawnRect(s.controls[static_cast<size_t>(s.selection.front())]);
            for (int k : s.selection) {
                const RECT r = getDrawnRect(s.controls[static_cast<size_t>(k)]);
                box = RECT{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                           std::max(box.bottom, r.bottom)};
            }
            const LONG mx = kxdesigner::clampShift(box.left, box.right, dx, s.width);
            const LONG my = kxdesigner::clampShift(box.top, box.bottom, dy, s.height);
            if (mx == 0 && my == 0)
                return false;
            for (int k : s.selection) {
                Kx_DesignerControl& c = s.controls[static_cast<size_t>(k)];
                setTopLeftX(c, getTopLeftX(c) + mx);
                setBottomRightX(c, getBottomRightX(c) + mx);
                setTopLeftY(c, getTopLeftY(c) + my);
                setBottomRightY(c, getBottomRightY(c) + my);
            }
            moved = true;
        } else {
            for (int k : s.selection) {
                Kx_DesignerControl& c = s.controls[static_cast<size_t>(k)];
                const RECT r = getDrawnRect(c);
                // The far edges move; at least one pixel stays, and an edge inside the picture stops
                // at its edge.
                LONG right = std::max<LONG>(r.right + dx, r.left + 1);
                LONG bottom = std::max<LONG>(r.bottom + dy, r.top + 1);
                if (dx > 0)
                    right = std::min<LONG>(right, std::max<LONG>(r.right, s.width));
                if (dy > 0)
                    bottom = std::min<LONG>(bottom, std::max<LONG>(r.bottom, s.height));
                if (right != r.right) {
                    setBottomRightX(c, getBottomRightX(c) + (right - r.right));
                    moved = true;
                }
                if (bottom != r.bottom) {
                    setBottomRightY(c, getBottomRightY(c) + (bottom - r.bottom));
                    moved = true;
                }
            }
        }
        if (!moved)
            return false;
        kxdesigner::moveWindowsToModel(*this, s);
        s.recordStep(std::move(*before), mergeKeyOf(resize ? "size" : "move", s.selection));
        invalidate(s);
        return true;
    } catch (...) {
        return false;
    }
}

namespace {

// Ends an arranging command: the windows follow the model and the step is recorded, or nothing
// happened.
bool finishArrange(Kx_DlgDesignerData& layout, State& s, kxdesigner::Snapshot before)
{
    if (kxdesigner::sameControls(before.controls, s.controls))
        return false;
    kxdesigner::moveWindowsToModel(layout, s);
    s.recordStep(std::move(before));
    invalidate(s);
    return true;
}

} // namespace

bool Kx_DlgDesignerData::alignCurCtrls(AlignEdge edge)
{
    try {
        State& s = *m_state;
        std::optional<kxdesigner::Snapshot> before = beginCommand(*this, s, 2);
        if (!before)
            return false;
        const Kx_DesignerControl ref = s.controls[static_cast<size_t>(s.selection.front())];
        for (size_t n = 1; n < s.selection.size(); ++n) {
            Kx_DesignerControl& c = s.controls[static_cast<size_t>(s.selection[n])];
            const double w = getWidth(c);
            const double h = getHeight(c);
            switch (edge) {
            case AlignEdge::Left:
                setTopLeftX(c, getTopLeftX(ref));
                setBottomRightX(c, getTopLeftX(ref) + w);
                break;
            case AlignEdge::Right:
                setBottomRightX(c, getBottomRightX(ref));
                setTopLeftX(c, getBottomRightX(ref) - w);
                break;
            case AlignEdge::Top:
                setTopLeftY(c, getTopLeftY(ref));
                setBottomRightY(c, getTopLeftY(ref) + h);
                break;
            case AlignEdge::Bottom:
                setBottomRightY(c, getBottomRightY(ref));
                setTopLeftY(c, getBottomRightY(ref) - h);
                break;
            case AlignEdge::CentresAcross: {
                const double centre = (getTopLeftX(ref) + getBottomRightX(ref)) / 2;
                setTopLeftX(c, centre - w / 2);
                setBottomRightX(c, centre + w / 2);
                break;
            }
            case AlignEdge::CentresDown: {
                const double centre = (getTopLeftY(ref) + getBottomRightY(ref)) / 2;
                setTopLeftY(c, centre - h / 2);
                setBottomRightY(c, centre + h / 2);
                break;
            }
            }
        }
        return finishArrange(*this, s, std::move(*before));
    } catch (...) {
        return false;
    }
}

bool Kx_DlgDesignerData::sameSizeCurCtrls(bool width, bool height)
{
    try {
        State& s = *m_state;
        std::optional<kxdesigner::Snapshot> before = beginCommand(*this, s, 2);
        if (!before || (!width && !height))
            return false;
        const Kx_DesignerControl ref = s.controls[static_cast<size_t>(s.selection.front())];
        for (size_t n = 1; n < s.selection.size(); ++n) {
            Kx_DesignerControl& c = s.controls[static_cast<size_t>(s.selection[n])];
            if (width)
                setBottomRightX(c, getTopLeftX(c) + getWidth(ref));
            if (height)
                setBottomRightY(c, getTopLeftY(c) + getHeight(ref));
        }
        return finishArrange(*this, s, std::move(*before));
    } catch (...) {
        return false;
    }
}

bool Kx_DlgDesignerData::distributeCurCtrls(bool horizontal)
{
    try {
        State& s = *m_state;
        std::optional<kxdesigner::Snapshot> before = beginCommand(*this, s, 3);
        if (!before)
            return false;
        // Whole pixels of the drawn rectangles, so that the gaps come out equal on the screen (they
        // differ by at most one pixel when the room does not divide evenly).
        struct Item {
            int index;
            LONG lo;
            LONG size;
        };
        std::vector<Item> items;
        for (int k : s.selection) {
            const RECT r = getDrawnRect(s.controls[static_cast<size_t>(k)]);
            items.push_back(horizontal ? Item{k, r.left, r.width()} : Item{k, r.top, r.height()});
        }
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.lo < b.lo; });
        const Item& first = items.front();
        const Item& last = items.back();
        const long long sizes = std::accumulate(items.begin(), items.end(), 0LL,
                                                [](long long sum, const Item& i) { return sum + i.size; });
        const double room = static_cast<double>(last.lo + last.size - first.lo) - static_cast<double>(sizes);
        const double gap = room / static_cast<double>(items.size() - 1);
        long long sizesBefore = first.size;
        for (size_t n = 1; n + 1 < items.size(); ++n) {
            const LONG at = static_cast<LONG>(std::lround(static_cast<double>(first.lo + sizesBefore) + gap * n));
            Kx_DesignerControl& c = s.controls[static_cast<size_t>(items[n].index)];
            const LONG shift = at - items[n].lo;
            if (horizontal) {
                setTopLeftX(c, getTopLeftX(c) + shift);
                setBottomRightX(c, getBottomRightX(c) + shift);
            } else {
                setTopLeftY(c, getTopLeftY(c) + shift);
                setBottomRightY(c, getBottomRightY(c) + shift);
            }
            sizesBefore += items[n].size;
        }
        return finishArrange(*this, s, std::move(*before));
    } catch (...) {
        return false;
    }
}

std::vector<int> Kx_DlgDesignerData::runtimeTabOrders() const
{
    // The runtime's own sort on a copy: a page reads the layout afresh, so no control starts with a
    // place or a read-only flag.
    Kx_DlgDesignerData scratch;
    State& t = *scratch.m_state;
    t.controls = m_state->controls;
    for (Kx_DesignerControl& c : t.controls) {
        c.setReadOnly(false);
        c.setTabOrder(0);
    }
    scratch.sortAllControls();
    std::vector<int> orders;
    orders.reserve(t.controls.size());
    for (const Kx_DesignerControl& c : t.controls)
        orders.push_back(c.getTabOrder());
    return orders;
}

void Kx_DlgDesignerData::setTabOrderView(bool on)
{
    State& s = *m_state;
    s.tabOrderView = on;
    if (!s.initialized || !s.designerMode)
        return;
    for (const kxdesigner::DrawnWindow& d : s.drawn) {
        if (IsWindow(d.hwnd))
            ShowWindow(d.hwnd, on ? SW_HIDE : SW_SHOW);
    }
    invalidate(s);
}

bool Kx_DlgDesignerData::isTabOrderView() const
{
    return m_state->tabOrderView;
}

void kxdesigner::paintTabOrderView(const Kx_DlgDesignerData& layout, const State& s, HDC dc)
{
    const std::vector<int> orders = layout.runtimeTabOrders();
    SetBkMode(dc, TRANSPARENT);
    for (size_t k = 0; k < s.controls.size() && k < orders.size(); ++k) {
        const RECT r = layout.getDrawnRect(s.controls[k]);
        const bool inOrder = orders[k] > 0;
        CBrush frame(inOrder ? RGB(0, 70, 200) : RGB(150, 150, 150));
        FrameRect(dc, &r, frame);
        if (!inOrder)
            continue;
        // The place in a filled box at the control's top-left corner.
        const std::string text = std::to_string(orders[k]);
        const LONG side = std::max<LONG>(14, static_cast<LONG>(8 * text.size()));
        RECT badge{r.left, r.top, r.left + side, r.top + 14};
        kxwin::fillSolidRect(dc, badge, RGB(0, 70, 200));
        SetTextColor(dc, RGB(255, 255, 255));
        DrawText(dc, text, &badge, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

bool Kx_DlgDesignerData::copyLayoutFrom(const Kx_DlgDesignerData& other)
{
    try {
        State& s = *m_state;
        const State& o = *other.m_state;
        std::vector<Kx_DesignerControl> controls = o.controls;
        for (Kx_DesignerControl& c : controls) {
            c.setReadOnly(false);
            c.setTabOrder(0);
        }
        CBitmap picture;
        if (o.picture.GetSafeHandle() != nullptr) {
            const auto pixels = kxwin::bitmapPixels(o.picture.GetSafeHandle());
            if (!pixels || !picture.Attach(kxwin::createBitmap(*pixels)))
                return false;
        }
        s.name = o.name;
        s.controls = std::move(controls);
        s.picture = std::move(picture);
        s.mask.DeleteObject();
        s.width = o.width;
        s.height = o.height;
        return true;
    } catch (...) {
        return false;
    }
}
