// The paint cycle of a window (erase background, then paint, into one context), drawing on a
// window outside its paint, and the records each window's paint publishes.
#include "platform/win/DrawingContext.h"

#include "platform/win/DcTable.h"
#include "platform/win/Window.h"

#include <new>
#include <unordered_map>

namespace {

using kxwin::DrawOp;
using kxwin::detail::Dc;
using kxwin::detail::DcKind;
using kxwin::detail::destroyDc;
using kxwin::detail::findDc;
using kxwin::detail::newDc;

// The paint in progress of a window: who made its context decides who publishes the record.
struct PaintCycle {
    HDC dc = nullptr;
    bool fromBeginPaint = false;  // BeginPaint outside paintWindow: EndPaint publishes
    bool needsErase = false;      // what BeginPaint reports in fErase
};

struct PaintTable {
    std::unordered_map<HWND, PaintCycle> cycles;
    std::unordered_map<HWND, std::vector<DrawOp>> records;
};

PaintTable& table()
{
    static PaintTable t;
    return t;
}

// Forgets the record of a window when it is destroyed, so records never outgrow the live windows.
struct RecordKeeper : kxwin::WindowObserver {
    RecordKeeper()
    {
        table();  // made first, so it outlives this observer
        kxwin::addWindowObserver(this);
    }
    ~RecordKeeper() override { kxwin::removeWindowObserver(this); }
    void windowChanged(HWND hwnd, kxwin::WindowChange change) override
    {
        if (change == kxwin::WindowChange::Destroyed) {
            table().records.erase(hwnd);
            table().cycles.erase(hwnd);
        }
    }
};

void keepRecords()
{
    static RecordKeeper keeper;
}

// A record that cannot be kept for want of memory is dropped; painting itself goes on.
void publish(HWND hwnd, std::vector<DrawOp> ops, bool append)
{
    if (!IsWindow(hwnd))
        return;
    keepRecords();
    try {
        auto& record = table().records[hwnd];
        if (!append) {
            record = std::move(ops);
        } else {
            for (auto& op : ops) {
                if (record.size() >= kxwin::kMaxRecordedOps)
                    break;
                record.push_back(std::move(op));
            }
        }
    } catch (const std::bad_alloc&) {
        table().records.erase(hwnd);
    }
    kxwin::notifyWindowChanged(hwnd, kxwin::WindowChange::Content);
}

} // namespace

namespace kxwin {

std::vector<DrawOp> lastPaintRecord(HWND hwnd)
{
    auto& records = table().records;
    auto it = records.find(hwnd);
    return it == records.end() ? std::vector<DrawOp>{} : it->second;
}

BOOL paintWindow(HWND hwnd, bool erase)
{
    if (!IsWindow(hwnd))
        return FALSE;
    keepRecords();
    PaintTable& t = table();
    if (t.cycles.count(hwnd) != 0)
        return TRUE;  // a paint handler that asks for a paint of its own window
    HDC dc = nullptr;
    try {
        dc = newDc(DcKind::Paint, hwnd);
        t.cycles[hwnd] = PaintCycle{dc, false, false};
    } catch (const std::bad_alloc&) {
        if (dc != nullptr)
            destroyDc(dc);
        return FALSE;
    }
    bool erased = false;
    if (erase)
        erased = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    if (auto it = t.cycles.find(hwnd); it != t.cycles.end())
        it->second.needsErase = erase && !erased;
    if (IsWindow(hwnd))
        SendMessage(hwnd, WM_PAINT);
    t.cycles.erase(hwnd);
    publish(hwnd, destroyDc(dc), /*append=*/false);
    return TRUE;
}

} // namespace kxwin

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    if (!IsWindow(hwnd) || paint == nullptr)
        return nullptr;
    PaintTable& t = table();
    PAINTSTRUCT ps;
    GetClientRect(hwnd, ps.rcPaint);
    if (auto it = t.cycles.find(hwnd); it != t.cycles.end()) {
        ps.hdc = it->second.dc;
        ps.fErase = it->second.needsErase;
        it->second.needsErase = false;
        *paint = ps;
        return ps.hdc;
    }
    // A WM_PAINT sent directly: this paint erases its own background first, as paintWindow does.
    keepRecords();
    try {
        ps.hdc = newDc(DcKind::Paint, hwnd);
        t.cycles[hwnd] = PaintCycle{ps.hdc, true, false};
    } catch (const std::bad_alloc&) {
        if (ps.hdc != nullptr)
            destroyDc(ps.hdc);
        return nullptr;
    }
    ps.fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps.hdc), 0) == 0;
    *paint = ps;
    return ps.hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    if (paint == nullptr)
        return FALSE;
    PaintTable& t = table();
    auto it = t.cycles.find(hwnd);
    if (it == t.cycles.end() || it->second.dc != paint->hdc) {
        // The window died during its paint (the cycle went with it): the context still goes.
        if (findDc(paint->hdc) != nullptr && findDc(paint->hdc)->kind == DcKind::Paint && findDc(paint->hdc)->hwnd == hwnd)
            destroyDc(paint->hdc);
        return TRUE;
    }
    if (it->second.fromBeginPaint) {
        t.cycles.erase(it);
        publish(hwnd, destroyDc(paint->hdc), /*append=*/false);
    }
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd != nullptr && !IsWindow(hwnd))
        return nullptr;
    try {
        return newDc(hwnd == nullptr ? DcKind::Screen : DcKind::Window, hwnd);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int ReleaseDC(HWND hwnd, HDC dc)
{
    Dc* d = findDc(dc);
    if (d == nullptr || (d->kind != DcKind::Window && d->kind != DcKind::Screen))
        return 0;
    const DcKind kind = d->kind;
    const HWND target = d->hwnd;
    std::vector<DrawOp> ops = destroyDc(dc);
    if (kind == DcKind::Window)
        publish(target, std::move(ops), /*append=*/true);
    return 1;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags)
{
    if (!IsWindow(hwnd))
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        kxwin::paintWindow(hwnd, (flags & RDW_NOERASE) == 0);
    if (flags & RDW_ALLCHILDREN) {
        const auto children = GetChildWindows(hwnd);
        // Bottom of the z-order first, so the children on top are drawn last.
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            RedrawWindow(*it, nullptr, nullptr, flags);
    }
    return TRUE;
}

