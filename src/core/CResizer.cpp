// The resizer: placing a dialog's controls from the resize table.
#include "core/CResizer.h"

#include "platform/win/Dialog.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

long long edgeOf(const RECT& r, int edge)
{
    switch (static_cast<ResizeEdge>(edge)) {
    case ResizeEdge::Left:
        return r.left;
    case ResizeEdge::Top:
        return r.top;
    case ResizeEdge::Right:
        return r.right;
    case ResizeEdge::Bottom:
        return r.bottom;
    }
    return 0;
}

bool isHorizontalEdge(int edge)
{
    return edge == static_cast<int>(ResizeEdge::Left) || edge == static_cast<int>(ResizeEdge::Right);
}

bool isValidEdge(int edge)
{
    return edge >= static_cast<int>(ResizeEdge::Left) && edge <= static_cast<int>(ResizeEdge::Bottom);
}

LONG toCoordinate(long long v)
{
    constexpr long long low = std::numeric_limits<LONG>::min();
    constexpr long long high = std::numeric_limits<LONG>::max();
    return static_cast<LONG>(std::clamp(v, low, high));
}

// The two edges of one axis: keep the control's size where a size mode asks for it, and never let
// the far edge pass the near one.
void settleAxis(long long& nearEdge, long long& farEdge, bool keepNear, bool keepFar, long long originalNear,
                long long size)
{
    if (keepNear && keepFar) {
        nearEdge = originalNear;
        farEdge = nearEdge + size;
    } else if (keepNear) {
        nearEdge = farEdge - size;
    } else if (keepFar) {
        farEdge = nearEdge + size;
    }
    farEdge = std::max(farEdge, nearEdge);
}

} // namespace

// One apply: the client size now and, per table entry, whether and where it has been placed.
struct CResizer::Layout {
    enum class State { Waiting, Placing, Placed };
    long long width = 0;
    long long height = 0;
    std::vector<State> state;
    std::vector<RECT> rect;
};

CResizer::~CResizer() = default;

bool CResizer::attach(CWnd* dialog, std::vector<CResizerEntry> entries)
{
    detach();
    if (dialog == nullptr || !IsWindow(dialog->m_hWnd))
        return false;
    m_dialog = dialog->m_hWnd;
    m_entries = std::move(entries);
    RECT client;
    GetClientRect(m_dialog, client);
    m_clientThen = SIZE{client.width(), client.height()};

    auto record = [this](int id) {
        if (id == 0 || recorded(id) != nullptr)
            return;
        if (HWND control = GetDlgItem(m_dialog, id))
            m_recorded.emplace_back(id, GetWindowRectInParent(control));
    };
    for (const CResizerEntry& e : m_entries) {
        record(e.id);
        for (const CResizerEdge* edge : {&e.left, &e.top, &e.right, &e.bottom})
            record(edge->relativeId);
    }

    const auto* withTemplate = dynamic_cast<const CDialog*>(dialog);
    if (withTemplate != nullptr && withTemplate->templateSize().cx > 0 && withTemplate->templateSize().cy > 0) {
        m_minimum = withTemplate->templateSize();
    } else {
        RECT window;
        GetWindowRect(m_dialog, window);
        m_minimum = SIZE{window.width(), window.height()};
    }
    return true;
}

void CResizer::detach()
{
    m_dialog = nullptr;
    m_entries.clear();
    m_recorded.clear();
    m_clientThen = SIZE{};
    m_minimum = SIZE{};
}

bool CResizer::isAttached() const
{
    return m_dialog != nullptr && IsWindow(m_dialog);
}

const RECT* CResizer::recorded(int id) const
{
    for (const auto& [recordedId, rect] : m_recorded) {
        if (recordedId == id)
            return &rect;
    }
    return nullptr;
}

// Only the first entry of a control counts; a second one for the same id is ignored.
int CResizer::entryIndex(int id) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

bool CResizer::reference(int relativeId, int edge, Layout& layout, long long& now, long long& then) const
{
    if (!isValidEdge(edge))
        return false;
    if (relativeId == 0) {
        const bool farEdge =
            edge == static_cast<int>(ResizeEdge::Right) || edge == static_cast<int>(ResizeEdge::Bottom);
        if (!farEdge) {
            now = then = 0;
        } else if (isHorizontalEdge(edge)) {
            now = layout.width;
            then = m_clientThen.cx;
        } else {
            now = layout.height;
            then = m_clientThen.cy;
        }
        return true;
    }
    const RECT* before = recorded(relativeId);
    HWND control = GetDlgItem(m_dialog, relativeId);
    if (before == nullptr || control == nullptr)
        return false;
    then = edgeOf(*before, edge);
    RECT current = GetWindowRectInParent(control);
    if (const int index = entryIndex(relativeId); index >= 0) {
        const auto i = static_cast<size_t>(index);
        if (layout.state[i] == Layout::State::Waiting)
            place(i, layout);
        // A reference that is being placed itself (the table goes round in a circle) is taken where
        // it is now, which ends the circle.
        if (layout.state[i] == Layout::State::Placed)
            current = layout.rect[i];
    }
    now = edgeOf(current, edge);
    return true;
}

long long CResizer::edgePosition(const CResizerEdge& edge, bool horizontal, long long original, Layout& layout,
                                 bool& keepSize) const
{
    keepSize = false;
    switch (static_cast<ResizeMode>(edge.mode)) {
    case ResizeMode::KeepDistance:
    case ResizeMode::Proportional: {
        if (!isValidEdge(edge.relativeEdge) || isHorizontalEdge(edge.relativeEdge) != horizontal)
            return original;
        long long now = 0;
        long long then = 0;
        if (!reference(edge.relativeId, edge.relativeEdge, layout, now, then))
            return original;
        const long long distance = original - then;
        if (static_cast<ResizeMode>(edge.mode) == ResizeMode::KeepDistance)
            return now + distance;
        const long long extentThen = horizontal ? m_clientThen.cx : m_clientThen.cy;
        const long long extentNow = horizontal ? layout.width : layout.height;
        if (extentThen <= 0)
            return now + distance;
        const long double scaled = static_cast<long double>(distance) * static_cast<long double>(extentNow) /
                                   static_cast<long double>(extentThen);
        return now + std::llround(std::clamp<long double>(scaled, -1e15L, 1e15L));
    }
    case ResizeMode::KeepWidth:
    case ResizeMode::KeepHeight:
        keepSize = true;
        return original;
    case ResizeMode::Fixed:
        break;
    }
    return original;
}

void CResizer::place(size_t index, Layout& layout) const
{
    layout.state[index] = Layout::State::Placing;
    const CResizerEntry& e = m_entries[index];
    const RECT before = *recorded(e.id);

    bool keepLeft = false, keepTop = false, keepRight = false, keepBottom = false;
    long long left = edgePosition(e.left, /*horizontal=*/true, before.left, layout, keepLeft);
    long long top = edgePosition(e.top, /*horizontal=*/false, before.top, layout, keepTop);
    long long right = edgePosition(e.right, /*horizontal=*/true, before.right, layout, keepRight);
    long long bottom = edgePosition(e.bottom, /*horizontal=*/false, before.bottom, layout, keepBottom);
    settleAxis(left, right, keepLeft, keepRight, before.left, before.width());
    settleAxis(top, bottom, keepTop, keepBottom, before.top, before.height());

    layout.rect[index] = RECT{toCoordinate(left), toCoordinate(top), toCoordinate(right), toCoordinate(bottom)};
    layout.state[index] = Layout::State::Placed;
}

void CResizer::apply()
{
    if (!isAttached() || m_applying)
        return;
    m_applying = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_applying};

    RECT client;
    GetClientRect(m_dialog, client);
    Layout layout;
    layout.width = client.width();
    layout.height = client.height();
    layout.state.assign(m_entries.size(), Layout::State::Waiting);
    layout.rect.assign(m_entries.size(), RECT{});

    for (size_t i = 0; i < m_entries.size(); ++i) {
        const int id = m_entries[i].id;
        if (entryIndex(id) != static_cast<int>(i) || recorded(id) == nullptr || GetDlgItem(m_dialog, id) == nullptr)
            continue;
        if (layout.state[i] == Layout::State::Waiting)
            place(i, layout);
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (layout.state[i] != Layout::State::Placed)
            continue;
        HWND control = GetDlgItem(m_dialog, m_entries[i].id);
        const RECT& r = layout.rect[i];
        if (control != nullptr && GetWindowRectInParent(control) != r)
            SetWindowPos(control, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(m_dialog, nullptr, TRUE);
}

void CResizer::getMinMaxInfo(MINMAXINFO* info) const
{
    if (info == nullptr)
        return;
    info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, m_minimum.cx);
    info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, m_minimum.cy);
}

// --- ZnResizer -----------------------------------------------------------------------------------

ZnResizer::~ZnResizer()
{
    ZnResizer::detach();
}

bool ZnResizer::attach(CWnd* dialog, std::vector<CResizerEntry> entries)
{
    if (!CResizer::attach(dialog, std::move(entries)))
        return false;
    m_link = std::make_shared<Link>();
    m_link->resizer = this;
    const HWND hwnd = dialog->m_hWnd;
    dialog->onMessage(WM_SIZE, [link = m_link, hwnd](WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (link->resizer != nullptr)
            link->resizer->apply();
        return CallClassProc(hwnd, WM_SIZE, wParam, lParam);
    });
    dialog->onMessage(WM_GETMINMAXINFO, [link = m_link, hwnd](WPARAM wParam, LPARAM lParam) -> LRESULT {
        const LRESULT result = CallClassProc(hwnd, WM_GETMINMAXINFO, wParam, lParam);
        if (link->resizer != nullptr)
            link->resizer->getMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return result;
    });
    return true;
}

void ZnResizer::detach()
{
    if (m_link)
        m_link->resizer = nullptr;
    m_link.reset();
    CResizer::detach();
}
