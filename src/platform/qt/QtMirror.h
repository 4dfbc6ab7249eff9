// Private to platform/qt: the widget tree that mirrors the window layer. The layer owns every
// state (texts, checks, selections, focus); a widget only shows it, and what a person does to a
// widget goes back to the layer as the input the scripted user sends, never as a widget's own edit.
#pragma once

#include "platform/qt/KxQtExport.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/Font.h"
#include "platform/win/Window.h"

#include <QFont>
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kxqt {

enum class MirrorKind {
    Window,       // a top-level window or a child dialog: a plain container
    Dialog,       // a top-level dialog: QDialog
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    LineEdit,
    TextEdit,     // multi-line edit
    ComboBox,
    ListBox,
    TabControl,
    IconList,     // list view in icon, small icon or list mode
    ReportList,   // list view in report mode
    Label,
    RichText,
    Painted,      // replays the window's paint record
    Adapter,      // a class with an adapter of its own (the grid)
    Unmirrored,   // tooltips: shown by Qt's own tips
};

// A widget of its own for a window class (the grid's table view plugs in here). The mirror calls
// create once and sync after every change of the window; the widget belongs to the mirror.
class ControlAdapter {
public:
    virtual ~ControlAdapter() = default;
    virtual QWidget* create(HWND hwnd, QWidget* parent) = 0;
    virtual void sync(HWND hwnd, QWidget* widget) = 0;
};
// Replaces any adapter of the class name. Windows made before keep their widget.
KXQT_API void registerControlAdapter(const std::string& className, std::unique_ptr<ControlAdapter> adapter);

class KXQT_API WindowMirror : public QObject, public kxwin::WindowObserver {
public:
    WindowMirror();
    ~WindowMirror() override;
    WindowMirror(const WindowMirror&) = delete;
    WindowMirror& operator=(const WindowMirror&) = delete;

    void windowChanged(HWND hwnd, kxwin::WindowChange change) override;
    // The layer's cursor is shown over the whole application: the arrow is Qt's own cursor of each
    // widget, any other standard cursor overrides it until the arrow comes back.
    void cursorChanged(HCURSOR cursor) override;
    // Creates and updates the widgets of every window changed since the last flush.
    void flush();

    // Null when the window is not mirrored (yet, or at all).
    QWidget* widgetFor(HWND hwnd) const;
    MirrorKind kindOf(HWND hwnd) const;
    // The window a widget (or one of its inner widgets) mirrors; null for others.
    HWND windowOf(const QObject* object) const;

    // Run after every flush and after every input handed to the layer (the backend ends modal
    // loops and re-arms the timer there).
    std::function<void()> afterChange;

    // Hands input to the layer exactly as the scripted user does, then pumps the layer's queue.
    void sendInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> widget;
        MirrorKind kind = MirrorKind::Window;
        bool restack = false;
    };

    void scheduleFlush();
    Entry* ensure(HWND hwnd);
    void create(HWND hwnd, Entry& entry);
    void sync(HWND hwnd, Entry& entry);
    void syncFocus();
    void restackChildren(HWND parent);
    void watch(QWidget* widget);
    void connectSignals(HWND hwnd, Entry& entry);
    bool handleKey(HWND hwnd, QEvent* event);
    bool handleMouse(HWND hwnd, MirrorKind kind, QObject* watched, QEvent* event);
    void pick(HWND hwnd, int index, bool doubleClick);
    void afterInput();
    // Tips: a window's own tool becomes its widget's tool tip; every tip (rectangles, texts the
    // owner gives when asked) is answered from the layer when Qt asks for one.
    void syncToolTip(HWND hwnd, QWidget* widget);
    bool showToolTip(HWND hwnd, QObject* watched, QEvent* event);

    std::unordered_map<HWND, Entry> m_entries;
    std::unordered_map<const QObject*, HWND> m_owners;  // every watched widget, inner ones included
    std::unordered_set<HWND> m_dirty;
    std::unordered_set<HWND> m_tooltipWindows;  // live tooltip controls seen by the mirror
    bool m_focusDirty = false;
    bool m_tooltipsDirty = false;  // a tooltip's tools changed: every widget's tip is read again
    bool m_flushScheduled = false;
    int m_syncing = 0;        // >0 while widgets are set from the layer: their signals are not input
    bool m_flushing = false;
    QTimer m_flushTimer;
};

// Draws the window's paint record (kxwin::lastPaintRecord) with a painter; in PaintReplay.cpp.
void replayPaintRecord(QPainter& painter, HWND hwnd);
// Draws recorded calls with a painter, in the order given.
void replayDrawOps(QPainter& painter, const std::vector<kxwin::DrawOp>& ops);

// The font of a description: DejaVu Sans (Mono for fixed-pitch faces) at a pixel size, so that
// pictures do not depend on the machine's font configuration.
QFont fontFor(const LOGFONT& logFont);
QFont fontForWindow(HWND hwnd);

// The mirror of the installed Qt backend; null when none is installed (for the backend's tests).
KXQT_API WindowMirror* installedMirror();

// Set while the mirror paints a window itself, so the paint record it publishes is not a change.
bool& mirrorIsPainting();

} // namespace kxqt
