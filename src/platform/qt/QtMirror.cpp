// The widget tree that mirrors the window layer: which widget a window gets, when widgets are made,
// updated and dropped, focus, and the way a person's input on a widget goes back to the layer.
// How each kind of widget shows its window's state is MirrorControls.cpp's.
#include "platform/qt/QtMirror.h"

#include "platform/qt/GridAdapter.h"
#include "platform/qt/MirrorControls.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Cursor.h"
#include "platform/win/Dialog.h"
#include "platform/win/DrawingContext.h"
#include "platform/win/RichEdit.h"
#include "platform/win/UserAgent.h"
#include "platform/win/UserInput.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QToolTip>

#include <map>

namespace kxqt {

namespace {

std::map<std::string, std::unique_ptr<ControlAdapter>>& adapters()
{
    static std::map<std::string, std::unique_ptr<ControlAdapter>> table;
    return table;
}

DWORD styleOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
}

bool isChildWindow(HWND hwnd)
{
    return (styleOf(hwnd) & WS_CHILD) != 0;
}

// The kind of widget a window's class and style ask for, before looking at its painting.
MirrorKind kindByClass(HWND hwnd)
{
    const std::string cls = GetClassName(hwnd);
    const DWORD style = styleOf(hwnd);
    if (adapters().count(cls) != 0)
        return MirrorKind::Adapter;
    if (cls == TOOLTIPS_CLASS)
        return MirrorKind::Unmirrored;
    if (!isChildWindow(hwnd))
        return cls == kDialogClass ? MirrorKind::Dialog : MirrorKind::Window;
    if (cls == kDialogClass)
        return MirrorKind::Window;
    if (cls == "Button") {
        const DWORD type = style & BS_TYPEMASK;
        const bool pushLike = (style & BS_PUSHLIKE) != 0;
        switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return pushLike ? MirrorKind::PushButton : MirrorKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return pushLike ? MirrorKind::PushButton : MirrorKind::RadioButton;
        case BS_GROUPBOX:
            return MirrorKind::GroupBox;
        case BS_OWNERDRAW:
            return MirrorKind::Painted;
        default:
            return MirrorKind::PushButton;
        }
    }
    if (cls == "Edit")
        return (style & ES_MULTILINE) ? MirrorKind::TextEdit : MirrorKind::LineEdit;
    if (cls == "ComboBox")
        return MirrorKind::ComboBox;
    if (cls == "ListBox")
        return MirrorKind::ListBox;
    if (cls == WC_TABCONTROL)
        return MirrorKind::TabControl;
    if (cls == WC_LISTVIEW)
        return (style & LVS_TYPEMASK) == LVS_REPORT ? MirrorKind::ReportList : MirrorKind::IconList;
    if (cls == "Static")
        return MirrorKind::Label;
    if (cls == RICHEDIT_CLASS)
        return MirrorKind::RichText;
    return MirrorKind::Painted;
}

// A standard control that a C++ object subclasses may paint itself (flat picture buttons, colour
// labels). One paint tells: a control that draws leaves a record, a plain one leaves none.
bool paintsItself(HWND hwnd)
{
    if (GetWindowObject(hwnd) == nullptr)
        return false;
    mirrorIsPainting() = true;
    kxwin::paintWindow(hwnd);
    mirrorIsPainting() = false;
    return !kxwin::lastPaintRecord(hwnd).empty();
}

bool isStandardKind(MirrorKind kind)
{
    return kind != MirrorKind::Window && kind != MirrorKind::Dialog && kind != MirrorKind::Painted &&
           kind != MirrorKind::Adapter && kind != MirrorKind::Unmirrored;
}

MirrorKind kindOfWindow(HWND hwnd)
{
    const MirrorKind kind = kindByClass(hwnd);
    if (isStandardKind(kind) && paintsItself(hwnd))
        return MirrorKind::Painted;
    return kind;
}

LPARAM pointParam(QPoint p)
{
    return MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
}

// The virtual key of a Qt key; 0 for keys the layer has no use for.
int virtualKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return VK_F1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    return 0;
}

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

bool& mirrorIsPainting()
{
    static bool painting = false;
    return painting;
}

void registerControlAdapter(const std::string& className, std::unique_ptr<ControlAdapter> adapter)
{
    adapters()[className] = std::move(adapter);
}

WindowMirror::WindowMirror()
{
    registerGridAdapter();
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(0);
    connect(&m_flushTimer, &QTimer::timeout, this, [this] { flush(); });
    // Windows made before the backend came mirror like new ones.
    std::vector<HWND> pending = GetTopLevelWindows();
    while (!pending.empty()) {
        HWND hwnd = pending.back();
        pending.pop_back();
        m_dirty.insert(hwnd);
        if (GetClassName(hwnd) == TOOLTIPS_CLASS)
            m_tooltipWindows.insert(hwnd);
        for (HWND child : GetChildWindows(hwnd))
            pending.push_back(child);
    }
    m_focusDirty = true;
    scheduleFlush();
}

WindowMirror::~WindowMirror()
{
    afterChange = nullptr;
    std::vector<QPointer<QWidget>> topLevels;
    for (auto& [hwnd, entry] : m_entries) {
        if (entry.widget && entry.widget->isWindow())
            topLevels.push_back(entry.widget);
    }
    m_entries.clear();
    for (auto& widget : topLevels)
        delete widget.data();
}

void WindowMirror::scheduleFlush()
{
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void WindowMirror::windowChanged(HWND hwnd, kxwin::WindowChange change)
{
    using kxwin::WindowChange;
    if (mirrorIsPainting() && (change == WindowChange::Content || change == WindowChange::Invalidated))
        return;  // the record our own paint publishes
    if (change == WindowChange::Destroyed) {
        m_dirty.erase(hwnd);
        if (m_tooltipWindows.erase(hwnd) != 0) {
            m_tooltipsDirty = true;  // its tips go with it
            scheduleFlush();
        }
        auto it = m_entries.find(hwnd);
        if (it == m_entries.end())
            return;
        if (QWidget* widget = it->second.widget) {
            widget->hide();
            // Later: the widget may be the one whose event brought us here.
            widget->deleteLater();
        }
        m_entries.erase(it);
        m_focusDirty = true;
        scheduleFlush();
        return;
    }
    if (change == WindowChange::Focus)
        m_focusDirty = true;
    const bool newTooltip = change == WindowChange::Created && GetClassName(hwnd) == TOOLTIPS_CLASS;
    if (newTooltip || m_tooltipWindows.count(hwnd) != 0) {
        m_tooltipWindows.insert(hwnd);
        m_tooltipsDirty = true;
    }
    if (change == WindowChange::Created || change == WindowChange::ZOrder) {
        if (HWND parent = GetParent(hwnd); parent != nullptr && isChildWindow(hwnd))
            if (auto it = m_entries.find(parent); it != m_entries.end())
                it->second.restack = true;
    }
    m_dirty.insert(hwnd);
    scheduleFlush();
}

QWidget* WindowMirror::widgetFor(HWND hwnd) const
{
    auto it = m_entries.find(hwnd);
    return it == m_entries.end() ? nullptr : it->second.widget.data();
}

MirrorKind WindowMirror::kindOf(HWND hwnd) const
{
    auto it = m_entries.find(hwnd);
    return it == m_entries.end() ? MirrorKind::Unmirrored : it->second.kind;
}

HWND WindowMirror::windowOf(const QObject* object) const
{
    auto it = m_owners.find(object);
    return it == m_owners.end() ? nullptr : it->second;
}

WindowMirror::Entry* WindowMirror::ensure(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return nullptr;
    auto it = m_entries.find(hwnd);
    if (it != m_entries.end() && (it->second.widget || it->second.kind == MirrorKind::Unmirrored))
        return &it->second;
    Entry& entry = m_entries[hwnd];
    create(hwnd, entry);
    m_dirty.insert(hwnd);
    return &entry;
}

void WindowMirror::create(HWND hwnd, Entry& entry)
{
    QWidget* parentWidget = nullptr;
    if (isChildWindow(hwnd)) {
        Entry* parent = ensure(GetParent(hwnd));
        if (parent == nullptr || !parent->widget) {
            entry.kind = MirrorKind::Unmirrored;  // inside a window that is not mirrored
            return;
        }
        parentWidget = parent->widget;
    }
    entry.kind = kindOfWindow(hwnd);
    if (entry.kind == MirrorKind::Unmirrored)
        return;
    if (entry.kind == MirrorKind::Adapter)
        entry.widget = adapters()[GetClassName(hwnd)]->create(hwnd, parentWidget);
    else
        entry.widget = createControlWidget(hwnd, entry.kind, parentWidget);
    if (!entry.widget) {
        entry.kind = MirrorKind::Unmirrored;
        return;
    }
    entry.widget->setFocusPolicy(Qt::NoFocus);
    if (entry.kind == MirrorKind::GroupBox || entry.kind == MirrorKind::TabControl)
        entry.widget->lower();  // frames stay behind the controls drawn on them
    else if (parentWidget != nullptr)
        entry.widget->raise();
    m_owners[entry.widget] = hwnd;
    watch(entry.widget);
    for (QWidget* inner : entry.widget->findChildren<QWidget*>()) {
        m_owners.emplace(inner, hwnd);
        watch(inner);
    }
    connectSignals(hwnd, entry);
}

void WindowMirror::watch(QWidget* widget)
{
    widget->installEventFilter(this);
    if (widget->focusPolicy() != Qt::NoFocus)
        widget->setFocusPolicy(Qt::NoFocus);
    connect(widget, &QObject::destroyed, this, [this](QObject* gone) { m_owners.erase(gone); });
}

void WindowMirror::connectSignals(HWND hwnd, Entry& entry)
{
    if (entry.kind == MirrorKind::ComboBox) {
        auto* combo = static_cast<MirrorComboBox*>(entry.widget.data());
        connect(combo, &QComboBox::activated, this, [this, hwnd](int index) {
            if (m_syncing == 0)
                pick(hwnd, index, /*doubleClick=*/false);
        });
        QPointer<MirrorComboBox> guard(combo);
        combo->onPopup = [this, hwnd, guard](bool open) {
            if (m_syncing != 0)
                return true;  // the layer's own state being shown
            if (!IsWindow(hwnd))
                return false;
            if (!open) {
                // Qt closes its list before it reports the pick made in it, and the pick closes the
                // layer's list itself: only a list still open once the pick is through was dismissed.
                QMetaObject::invokeMethod(
                    this,
                    [this, hwnd, guard] {
                        if (!IsWindow(hwnd) || !guard || guard->view()->isVisible() ||
                            SendMessage(hwnd, CB_GETDROPPEDSTATE) == 0)
                            return;
                        SendMessage(hwnd, KXM_USER_DROPDOWN, FALSE);
                        PumpMessages();
                        afterInput();
                    },
                    Qt::QueuedConnection);
                return false;
            }
            if (GetFocus() != hwnd && !IsChild(hwnd, GetFocus())) {
                SetFocus(hwnd);
                PumpMessages();
            }
            SendMessage(hwnd, KXM_USER_DROPDOWN, TRUE);
            PumpMessages();
            afterInput();
            return IsWindow(hwnd) && SendMessage(hwnd, CB_GETDROPPEDSTATE) != 0;
        };
    }
}

void WindowMirror::flush()
{
    if (m_flushing)
        return;
    m_flushing = true;
    m_flushTimer.stop();
    ++m_syncing;
    // Syncing can make windows change again (a paint probe, a control asked for its state), so
    // loop until nothing is left; the bound stops a window that changes itself on every look.
    for (int round = 0; round < 16 && !m_dirty.empty(); ++round) {
        std::vector<HWND> batch(m_dirty.begin(), m_dirty.end());
        m_dirty.clear();
        // Parents first: a window's widget is made inside its parent's.
        std::sort(batch.begin(), batch.end());
        for (HWND hwnd : batch) {
            Entry* entry = ensure(hwnd);
            if (entry != nullptr && entry->widget)
                sync(hwnd, *entry);
        }
    }
    m_dirty.clear();
    if (m_tooltipsDirty) {
        m_tooltipsDirty = false;
        for (auto& [hwnd, entry] : m_entries)
            if (entry.widget)
                syncToolTip(hwnd, entry.widget);
    }
    if (m_focusDirty)
        syncFocus();
    --m_syncing;
    m_flushing = false;
    if (afterChange)
        afterChange();
}

void WindowMirror::sync(HWND hwnd, Entry& entry)
{
    const MirrorKind wanted = kindByClass(hwnd);
    const bool kindChanged = (isStandardKind(entry.kind) || entry.kind == MirrorKind::Painted)
                                 ? (isStandardKind(wanted) && entry.kind != MirrorKind::Painted && wanted != entry.kind)
                                 : false;
    if (kindChanged) {
        // A list view switched between report and icon view: a different widget.
        QPointer<QWidget> old = entry.widget;
        entry.widget = nullptr;
        for (auto& [child, childEntry] : m_entries) {
            if (GetParent(child) == hwnd)
                m_dirty.insert(child);
        }
        if (old) {
            old->hide();
            old->deleteLater();
        }
        create(hwnd, entry);
        if (!entry.widget)
            return;
    }
    const bool hadMenuBar = entry.widget->property("kxMenuBarShown").toBool();
    if (entry.kind == MirrorKind::Adapter)
        adapters()[GetClassName(hwnd)]->sync(hwnd, entry.widget);
    else
        syncControlWidget(hwnd, entry.kind, entry.widget);
    // A menu bar that came or went moves the window's children.
    if (entry.widget && entry.widget->property("kxMenuBarShown").toBool() != hadMenuBar)
        for (HWND child : GetChildWindows(hwnd))
            m_dirty.insert(child);
    if (entry.widget)
        syncToolTip(hwnd, entry.widget);
    if (entry.restack) {
        entry.restack = false;
        restackChildren(hwnd);
    }
}

void WindowMirror::syncToolTip(HWND hwnd, QWidget* widget)
{
    const std::string text = kxwin::tooltipTextOfWindowTool(hwnd);
    const QString tip = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);
}

bool WindowMirror::showToolTip(HWND hwnd, QObject* watched, QEvent* event)
{
    auto* help = static_cast<QHelpEvent*>(event);
    QWidget* widget = widgetFor(hwnd);
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || receiver == nullptr)
        return false;
    // The layer answers for the point in the window's client pixels: a rectangle tool there, the
    // window's own tool, or a text its owner gives now.
    const QPoint at = receiver->mapTo(widget->window(), help->pos()) - widget->mapTo(widget->window(), QPoint(0, 0));
    const std::string text = kxwin::tooltipTextAt(hwnd, POINT{at.x(), at.y()});
    if (text.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                           receiver);
    }
    afterInput();  // a callback text may have changed the window
    return true;
}

void WindowMirror::restackChildren(HWND parent)
{
    // The layer lists children top first; frames (group boxes, tab controls) stay at the back so the
    // controls placed on them are not hidden, whatever their order in the template.
    const std::vector<HWND> children = GetChildWindows(parent);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto found = m_entries.find(*it);
        if (found != m_entries.end() && found->second.widget)
            found->second.widget->raise();
    }
    for (HWND child : children) {
        auto found = m_entries.find(child);
        if (found != m_entries.end() && found->second.widget &&
            (found->second.kind == MirrorKind::GroupBox || found->second.kind == MirrorKind::TabControl))
            found->second.widget->lower();
    }
}

void WindowMirror::syncFocus()
{
    m_focusDirty = false;
    HWND focus = GetFocus();
    for (HWND h = focus; h != nullptr; h = isChildWindow(h) ? GetParent(h) : nullptr) {
        QWidget* widget = widgetFor(h);
        if (widget == nullptr)
            continue;
        if (widget->window()->focusWidget() != widget)
            widget->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void WindowMirror::afterInput()
{
    // The layer may have refused what the widget already shows (a vetoed tab switch): show the
    // layer's state again, and let the backend see whether a modal loop ended.
    flush();
}

void WindowMirror::sendInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
{
    kxwin::sendUserInput(target, message, wParam, lParam);
}

void WindowMirror::pick(HWND hwnd, int index, bool doubleClick)
{
    if (!IsWindow(hwnd) || index < 0)
        return;
    // Controls with entries get the focus before a person picks in them, as for the scripted user.
    if (GetFocus() != hwnd && !IsChild(hwnd, GetFocus())) {
        SetFocus(hwnd);
        PumpMessages();
    }
    SendMessage(hwnd, KXM_USER_PICK, static_cast<WPARAM>(index));
    PumpMessages();
    if (doubleClick && IsWindow(hwnd)) {
        SendMessage(hwnd, KXM_USER_DBLCLK, static_cast<WPARAM>(index));
        PumpMessages();
    }
    m_dirty.insert(hwnd);
    afterInput();
}

bool WindowMirror::eventFilter(QObject* watched, QEvent* event)
{
    HWND hwnd = windowOf(watched);
    if (hwnd == nullptr || m_syncing != 0 || !IsWindow(hwnd))
        return QObject::eventFilter(watched, event);
    const MirrorKind kind = kindOf(hwnd);
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(hwnd, event);
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return !isModifierKey(static_cast<QKeyEvent*>(event)->key());
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return handleMouse(hwnd, kind, watched, event);
    case QEvent::Wheel:
        return false;
    case QEvent::ToolTip:
        return showToolTip(hwnd, watched, event);
    case QEvent::FocusIn: {
        // Qt gave a widget the focus by itself (a click in an edit): the layer decides.
        HWND focus = GetFocus();
        if (focus != hwnd && !IsChild(hwnd, focus) && IsWindowEnabled(hwnd)) {
            SetFocus(hwnd);
            PumpMessages();
            afterInput();
        }
        return false;
    }
    case QEvent::Close:
        if (static_cast<QWidget*>(watched)->isWindow() && watched == widgetFor(hwnd)) {
            // The close box: the window decides (a dialog cancels, others destroy themselves).
            event->ignore();
            SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE);
            PumpMessages();
            afterInput();
            return true;
        }
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool WindowMirror::handleKey(HWND hwnd, QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (isModifierKey(key->key()))
        return true;
    const bool shift = (key->modifiers() & Qt::ShiftModifier) || key->key() == Qt::Key_Backtab;
    const bool ctrl = (key->modifiers() & Qt::ControlModifier) != 0;
    const bool alt = (key->modifiers() & Qt::AltModifier) != 0;
    const int vk = virtualKeyOf(key->key());
    HWND top = GetTopLevelWindow(hwnd);
    auto focusOr = [&](HWND fallback) { return GetFocus() != nullptr ? GetFocus() : fallback; };
    const QString text = key->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint() && !ctrl && !alt;
    if (printable && key->key() != Qt::Key_Space) {
        // Typing: one WM_CHAR per character, as the scripted user types.
        for (char32_t cp : text.toUcs4())
            sendInput(focusOr(top), WM_CHAR, cp, 1);
        afterInput();
        return true;
    }
    if (vk == 0)
        return true;
    // A key press as the scripted user presses one: down, the character it makes, up.
    HWND target = focusOr(top);
    SetKeyDown(VK_SHIFT, shift);
    SetKeyDown(VK_CONTROL, ctrl);
    SetKeyDown(vk, true);
    sendInput(target, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
    WPARAM ch = 0;
    if (vk == VK_RETURN)
        ch = ctrl ? '\n' : '\r';
    else if (vk == VK_TAB)
        ch = '\t';
    else if (vk == VK_ESCAPE)
        ch = 0x1B;
    else if (vk == VK_BACK)
        ch = 0x08;
    else if (vk == VK_SPACE)
        ch = ' ';
    if (ch != 0 && (!ctrl || ch == '\n') && IsWindow(target))
        sendInput(focusOr(target), WM_CHAR, ch, 1);
    HWND after = GetFocus() != nullptr ? GetFocus() : (IsWindow(top) ? top : nullptr);
    if (after != nullptr)
        sendInput(after, WM_KEYUP, static_cast<WPARAM>(vk), 1);
    SetKeyDown(vk, false);
    SetKeyDown(VK_SHIFT, false);
    SetKeyDown(VK_CONTROL, false);
    afterInput();
    return true;
}

bool WindowMirror::handleMouse(HWND hwnd, MirrorKind kind, QObject* watched, QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    QWidget* widget = widgetFor(hwnd);
    auto* receiver = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || receiver == nullptr)
        return false;
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool dbl = event->type() == QEvent::MouseButtonDblClick;

    switch (kind) {
    case MirrorKind::ComboBox:
    case MirrorKind::Adapter:
        return false;  // the list opens as Qt's; the pick comes back through `activated`
    case MirrorKind::LineEdit:
    case MirrorKind::TextEdit:
    case MirrorKind::RichText: {
        // Qt places the caret where the glyphs are; the selection then goes to the layer as the
        // scripted user's sweep does (EM_SETSEL), so the layer keeps the only selection.
        if (press && GetFocus() != hwnd) {
            SetFocus(hwnd);
            PumpMessages();
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            QMetaObject::invokeMethod(
                this,
                [this, hwnd] {
                    if (!IsWindow(hwnd))
                        return;
                    if (auto selection = widgetSelection(hwnd, widgetFor(hwnd)))
                        SendMessage(hwnd, EM_SETSEL, static_cast<WPARAM>(selection->first), selection->second);
                    PumpMessages();
                    afterInput();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
    case MirrorKind::ListBox:
    case MirrorKind::IconList:
    case MirrorKind::ReportList: {
        auto* view = qobject_cast<QAbstractItemView*>(widget);
        if (view == nullptr || receiver != view->viewport())
            return false;  // scroll bars and headers stay Qt's
        if ((press || dbl) && mouse->button() == Qt::LeftButton) {
            const QModelIndex index = view->indexAt(mouse->position().toPoint());
            if (index.isValid())
                pick(hwnd, index.row(), dbl);
        }
        return true;
    }
    case MirrorKind::TabControl: {
        auto* bar = widget->findChild<QTabBar*>();
        if (bar == nullptr || receiver != bar)
            return true;
        if (press && mouse->button() == Qt::LeftButton) {
            const int index = bar->tabAt(mouse->position().toPoint());
            if (index >= 0)
                pick(hwnd, index, false);
        }
        return true;
    }
    default:
        break;
    }
    // Everything else gets the mouse messages themselves, at the same client pixels.
    const QPoint at = receiver->mapTo(widget->window(), mouse->position().toPoint()) -
                      widget->mapTo(widget->window(), QPoint(0, 0));
    UINT message = 0;
    WPARAM keys = 0;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        message = mouse->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
        break;
    case QEvent::MouseButtonRelease:
        message = mouse->button() == Qt::RightButton ? WM_RBUTTONUP : WM_LBUTTONUP;
        break;
    case QEvent::MouseButtonDblClick:
        message = mouse->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_LBUTTONDBLCLK;
        break;
    default:
        message = WM_MOUSEMOVE;
        break;
    }
    if (mouse->buttons() & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (mouse->buttons() & Qt::RightButton)
        keys |= MK_RBUTTON;
    const bool ctrl = (mouse->modifiers() & Qt::ControlModifier) != 0;
    const bool shift = (mouse->modifiers() & Qt::ShiftModifier) != 0;
    if (ctrl)
        keys |= MK_CONTROL;
    if (shift)
        keys |= MK_SHIFT;
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_LBUTTONUP)
        SetKeyDown(VK_LBUTTON, message != WM_LBUTTONUP);
    // While a window holds the capture it gets the mouse, in its own client pixels. Otherwise the
    // layer decides who gets it, as the desktop does: over a disabled control its parent, through
    // a plain label what lies beneath.
    HWND target = hwnd;
    POINT p{at.x(), at.y()};
    if (HWND capture = GetCapture(); capture != nullptr && IsWindow(capture)) {
        if (capture != hwnd) {
            ClientToScreen(hwnd, p);
            ScreenToClient(capture, p);
            target = capture;
        }
    } else if (HWND top = GetTopLevelWindow(hwnd); top != nullptr) {
        POINT inTop = p;
        ClientToScreen(hwnd, inTop);
        ScreenToClient(top, inTop);
        POINT screen = inTop;
        ClientToScreen(top, screen);
        SetCursorPos(screen.x, screen.y);
        POINT local = p;
        if (HWND hit = MouseTargetFromPoint(top, inTop, &local); hit != nullptr) {
            target = hit;
            p = local;
        }
        if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MOUSEMOVE)
            SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, message));
    }
    // The modifiers are down for GetKeyState while the layer handles the message.
    SetKeyDown(VK_CONTROL, ctrl);
    SetKeyDown(VK_SHIFT, shift);
    if (IsWindow(target))
        sendInput(target, message, keys, pointParam(QPoint(p.x, p.y)));
    SetKeyDown(VK_CONTROL, false);
    SetKeyDown(VK_SHIFT, false);
    afterInput();
    return true;
}

void WindowMirror::cursorChanged(HCURSOR cursor)
{
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (kxwin::cursorId(cursor)) {
    case IDC_IBEAM:
        shape = Qt::IBeamCursor;
        break;
    case IDC_WAIT:
        shape = Qt::WaitCursor;
        break;
    case IDC_CROSS:
        shape = Qt::CrossCursor;
        break;
    case IDC_SIZENWSE:
        shape = Qt::SizeFDiagCursor;
        break;
    case IDC_SIZENESW:
        shape = Qt::SizeBDiagCursor;
        break;
    case IDC_SIZEWE:
        shape = Qt::SizeHorCursor;
        break;
    case IDC_SIZENS:
        shape = Qt::SizeVerCursor;
        break;
    case IDC_SIZEALL:
        shape = Qt::SizeAllCursor;
        break;
    case 0:
        shape = cursor == nullptr ? Qt::BlankCursor : Qt::ArrowCursor;
        break;
    default:
        break;
    }
    const bool overriding = QGuiApplication::overrideCursor() != nullptr;
    if (shape == Qt::ArrowCursor) {
        while (QGuiApplication::overrideCursor() != nullptr)
            QGuiApplication::restoreOverrideCursor();
    } else if (overriding) {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shape));
    }
}

} // namespace kxqt
