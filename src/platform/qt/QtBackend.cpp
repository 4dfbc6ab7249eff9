// The Qt backend: starting Qt with pinned settings, modal loops as nested event loops over the
// mirrored dialog, message boxes, pop-up menus, file dialogs, the clipboard, the clock and the
// layer's timers through their Qt counterparts, and pictures of dialogs.
#include "platform/qt/QtBackend.h"

#include "platform/qt/QtMirror.h"
#include "platform/win/Backend.h"
#include "platform/win/Dialog.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuResource.h"
#include "platform/win/Window.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kxqt {

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
// The dialog font's size: 8 points at 96 pixels per inch, as the layer measures it.
constexpr int kDialogFontPixels = 11;

struct StartState {
    bool tried = false;
    bool ok = false;
    std::string error;
};

StartState& startState()
{
    static StartState state;
    return state;
}

// A runtime folder of our own, so Qt neither complains about a missing one nor touches the user's.
std::string privateRuntimeFolder()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec) / ("kestra-ss-qt-" + std::to_string(getuid()));
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()) {
        ::chmod(folder.c_str(), 0700);
        return folder.string();
    }
    // Someone else's folder of that name: make a fresh one.
    std::string pattern = (fs::temp_directory_path(ec) / "kestra-ss-qt-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr)
        return pattern;
    return {};
}

class QtBackend;
QtBackend* g_backend = nullptr;

int answerFor(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Abort:
        return IDABORT;
    case QMessageBox::Retry:
        return IDRETRY;
    case QMessageBox::Ignore:
        return IDIGNORE;
    default:
        return IDCANCEL;
    }
}

// "Layouts (*.txt)|*.txt|All files (*.*)|*.*||" as Qt's "Layouts (*.txt);;All files (*.*)".
QString qtFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out.push_back(name.contains(u'(') ? name : name + " (" + patterns + ")");
    }
    return out.join(";;");
}

void addMenuItems(QMenu& menu, const std::vector<kxwin::MenuTemplateItem>& items)
{
    using Kind = kxwin::MenuTemplateItem::Kind;
    for (const auto& item : items) {
        const QString text = QString::fromStdString(item.text);
        if (item.kind == Kind::Separator) {
            menu.addSeparator();
        } else if (item.kind == Kind::Popup) {
            QMenu* sub = menu.addMenu(text);
            sub->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            addMenuItems(*sub, item.items);
        } else {
            QAction* action = menu.addAction(text);
            action->setData(item.id);
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            if (item.flags & MF_CHECKED) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            if (item.flags & MF_DEFAULT) {
                QFont bold = action->font();
                bold.setBold(true);
                action->setFont(bold);
            }
        }
    }
}

class QtBackend : public KxBackend {
public:
    QtBackend()
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            FireDueTimers();
            PumpMessages();
            m_mirror.flush();
        });
        m_mirror.afterChange = [this] { afterChange(); };
        kxwin::addWindowObserver(&m_mirror);
        g_backend = this;
    }
    ~QtBackend() override
    {
        kxwin::removeWindowObserver(&m_mirror);
        if (g_backend == this)
            g_backend = nullptr;
    }

    WindowMirror& mirror() { return m_mirror; }
    std::function<void(CDialog&)> modalHook;
    // While set, nothing waits for a person: boxes, menus and file dialogs take their default.
    bool unattended = false;

    void runModalLoop(CDialog& dialog) override
    {
        PumpMessages();
        m_mirror.flush();
        const HWND hwnd = dialog.m_hWnd;
        QWidget* widget = m_mirror.widgetFor(hwnd);
        if (widget == nullptr) {
            std::fprintf(stderr, "kestra-ss: dialog %d has no window to show; cancelled\n", dialog.templateId());
            dialog.EndDialog(IDCANCEL);
            return;
        }
        if (widget->windowModality() != Qt::ApplicationModal) {
            const bool shown = widget->isVisible();
            widget->hide();
            widget->setWindowModality(Qt::ApplicationModal);
            widget->setVisible(shown);
        }
        QEventLoop loop;
        m_modal.push_back(Modal{&dialog, hwnd, &loop});
        if (modalHook && !hasEnded(m_modal.back())) {
            auto hook = modalHook;
            hook(dialog);
            PumpMessages();
            m_mirror.flush();
        }
        if (!hasEnded(m_modal.back()))
            loop.exec();
        m_modal.pop_back();
    }

    int messageBox(const MessageBoxRequest& request) override
    {
        if (unattended) {
            std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
            return (request.type & MB_TYPEMASK) == MB_OK ? IDOK : (request.type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDCANCEL;
        }
        QMessageBox box(ownerWidget(request.owner));
        box.setWindowTitle(QString::fromStdString(request.caption));
        box.setText(QString::fromStdString(request.text));
        switch (request.type & MB_ICONMASK) {
        case MB_ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        switch (request.type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case MB_ABORTRETRYIGNORE:
            buttons = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
            break;
        case MB_YESNOCANCEL:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case MB_YESNO:
            buttons = QMessageBox::Yes | QMessageBox::No;
            break;
        case MB_RETRYCANCEL:
            buttons = QMessageBox::Retry | QMessageBox::Cancel;
            break;
        default:
            break;
        }
        box.setStandardButtons(buttons);
        const int result = box.exec();
        // Closing the box without a button is Cancel where there is one, else the only button.
        if (box.clickedButton() == nullptr)
            return (buttons & QMessageBox::Cancel) ? IDCANCEL : (buttons & QMessageBox::No) ? IDNO : IDOK;
        return answerFor(static_cast<QMessageBox::StandardButton>(result));
    }

    UINT trackPopupMenu(const PopupMenuRequest& request) override
    {
        if (unattended)
            return 0;
        QMenu menu(ownerWidget(request.owner));
        addMenuItems(menu, kxwin::menuTemplateOf(request.menu).items);
        QAction* chosen = menu.exec(QPoint(request.at.x, request.at.y));
        return chosen != nullptr ? chosen->data().toUInt() : 0;
    }

    std::optional<std::string> fileDialog(const FileDialogRequest& request) override
    {
        if (unattended)
            return std::nullopt;
        QFileDialog dialog(ownerWidget(request.owner), QString::fromStdString(request.title),
                           QString::fromStdString(request.folder));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.open && request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
        if (const QString filter = qtFilter(request.filter); !filter.isEmpty())
            dialog.setNameFilter(filter);
        if (!request.defaultExtension.empty())
            dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        if (!request.fileName.empty())
            dialog.selectFile(QString::fromStdString(request.fileName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }

    std::string clipboardText() override { return QGuiApplication::clipboard()->text().toStdString(); }
    void setClipboardText(const std::string& text) override
    {
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    }
    DWORD now() override { return static_cast<DWORD>(m_clock.elapsed()); }

private:
    struct Modal {
        CDialog* dialog;
        HWND hwnd;
        QEventLoop* loop;
    };

    static bool hasEnded(const Modal& modal) { return !IsWindow(modal.hwnd) || modal.dialog->modalEnded(); }

    QWidget* ownerWidget(HWND owner) const
    {
        QWidget* widget = owner != nullptr ? m_mirror.widgetFor(GetTopLevelWindow(owner)) : nullptr;
        return widget != nullptr ? widget : QApplication::activeModalWidget();
    }

    void afterChange()
    {
        for (const Modal& modal : m_modal) {
            if (hasEnded(modal))
                modal.loop->quit();
        }
        // The layer says when its next timer is due; SetTimer itself is not a window change, so
        // this runs after every change and input (see docs/qt-backend.md).
        DWORD due = 0;
        if (NextTimerDue(due)) {
            const auto wait = static_cast<std::int32_t>(due - now());
            m_timer.start(std::max<std::int32_t>(0, wait));
        } else {
            m_timer.stop();
        }
    }

    WindowMirror m_mirror;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::vector<Modal> m_modal;
};

} // namespace

bool hasDisplay()
{
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

bool startQt(QtDisplay display, std::string* error)
{
    StartState& state = startState();
    if (state.tried) {
        if (error != nullptr)
            *error = state.error;
        return state.ok;
    }
    state.tried = true;
    auto fail = [&](std::string why) {
        state.error = std::move(why);
        if (error != nullptr)
            *error = state.error;
        return false;
    };
    if (QCoreApplication::instance() != nullptr && qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return fail("another Qt application object exists and is not a widget application");
    if (display == QtDisplay::Offscreen) {
        const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so";
        if (!QFileInfo::exists(plugin))
            return fail("Qt's offscreen platform plugin is missing (" + plugin.toStdString() + ")");
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::string runtime = privateRuntimeFolder();
        if (!runtime.empty())
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    } else if (!hasDisplay()) {
        return fail("no display: DISPLAY and WAYLAND_DISPLAY are unset");
    }
    const std::string regular = std::string(kFontFolder) + "DejaVuSans.ttf";
    if (!std::filesystem::exists(regular))
        return fail("font " + regular + " is missing (Debian package fonts-dejavu-core)");
    // Pictures must not depend on the machine: no scaling, 96 dots per inch, no desktop theme.
    ::setenv("QT_SCALE_FACTOR", "1", 1);
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    ::setenv("QT_FONT_DPI", "96", 1);
    ::unsetenv("QT_SCREEN_SCALE_FACTORS");
    ::unsetenv("QT_STYLE_OVERRIDE");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication::setDesktopSettingsAware(false);
    if (QCoreApplication::instance() == nullptr) {
        // Qt keeps argc and argv for the application's lifetime.
        static int argc = 1;
        static char name[] = "kestra-ss";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);  // lives until the process ends, as Qt expects of it
    }
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf"})
        QFontDatabase::addApplicationFont(QString(kFontFolder) + file);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QFont font("DejaVu Sans");
    font.setPixelSize(kDialogFontPixels);
    QApplication::setFont(font);
    if (display == QtDisplay::Offscreen)
        SetScreenRect(RECT{0, 0, kScreenWidth, kScreenHeight});
    else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        SetScreenRect(RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
    state.ok = true;
    return true;
}

bool installQtBackend()
{
    if (!startState().ok)
        return false;
    if (g_backend == nullptr)
        kxwin::setBackend(std::make_unique<QtBackend>());
    return true;
}

void removeQtBackend()
{
    if (g_backend != nullptr)
        kxwin::setBackend(nullptr);
}

bool qtBackendInstalled()
{
    return g_backend != nullptr;
}

void setModalDialogHook(std::function<void(CDialog&)> hook)
{
    if (g_backend != nullptr)
        g_backend->modalHook = std::move(hook);
}

void syncMirror()
{
    if (g_backend != nullptr)
        g_backend->mirror().flush();
}

// For the backend's own tests: the mirror of the installed backend (null when none).
KXQT_API WindowMirror* installedMirror()
{
    return g_backend != nullptr ? &g_backend->mirror() : nullptr;
}

bool renderWindowToPng(HWND window, const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error != nullptr)
            *error = why;
        return false;
    };
    if (g_backend == nullptr)
        return fail("the Qt backend is not installed");
    g_backend->mirror().flush();
    QWidget* widget = g_backend->mirror().widgetFor(window);
    if (widget == nullptr)
        return fail("window \"" + GetWindowText(window) + "\" is not shown by the Qt backend");
    const QImage image = widget->grab().toImage();
    if (image.isNull())
        return fail("window \"" + GetWindowText(window) + "\" gave an empty picture");
    if (!image.save(QString::fromStdString(path), "PNG"))
        return fail("cannot write " + path);
    return true;
}

SnapshotResult snapshotDialog(const std::function<void()>& open, const std::function<void()>& close,
                              const std::string& path)
{
    SnapshotResult result;
    if (g_backend == nullptr) {
        result.error = "the Qt backend is not installed";
        return result;
    }
    bool rendered = false;
    auto render = [&](HWND hwnd, int templateId) {
        rendered = true;
        result.templateId = templateId;
        result.title = GetWindowText(hwnd);
        RECT r;
        GetClientRect(hwnd, r);
        result.width = r.width();
        result.height = r.height();
        result.ok = renderWindowToPng(hwnd, path, &result.error);
    };
    QtBackend& backend = *g_backend;
    auto previousHook = std::move(backend.modalHook);
    const bool previousUnattended = backend.unattended;
    backend.unattended = true;
    backend.modalHook = [&](CDialog& dialog) {
        if (!rendered)
            render(dialog.m_hWnd, dialog.templateId());
        // Cancel as a person would, so the dialog's own handler runs; end it if it refuses.
        SendMessage(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PumpMessages();
        if (IsWindow(dialog.m_hWnd) && !dialog.modalEnded())
            dialog.EndDialog(IDCANCEL);
    };
    const std::vector<HWND> before = GetTopLevelWindows();
    open();
    PumpMessages();
    if (!rendered) {
        for (HWND hwnd : GetTopLevelWindows()) {
            if (std::find(before.begin(), before.end(), hwnd) != before.end() || !IsWindowVisible(hwnd) ||
                GetClassName(hwnd) != kDialogClass)
                continue;
            auto* dialog = dynamic_cast<CDialog*>(GetWindowObject(hwnd));
            render(hwnd, dialog != nullptr ? dialog->templateId() : 0);
            break;
        }
        if (close)
            close();
        PumpMessages();
    }
    if (g_backend == &backend) {
        backend.modalHook = std::move(previousHook);
        backend.unattended = previousUnattended;
        backend.mirror().flush();
    }
    if (!rendered && result.error.empty())
        result.error = "no dialog opened";
    return result;
}

} // namespace kxqt
