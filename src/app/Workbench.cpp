// The workbench: kestra-ss plays the host in a window. The module is loaded as the host loads it,
// its exported launchers are called from a list with sample data, and what it prints on the command
// line shows in a pane. The dialogs are the layer's windows mirrored by the Qt backend.
#include "app/Workbench.h"

#include "app/HostedModule.h"
#include "app/MainJob.h"
#include "app/SnapshotCommand.h"
#include "core/MacroData.h"
#include "core/PromptDialog.h"
#include "platform/host/CommandLine.h"
#include "platform/host/ModuleLoader.h"
#include "platform/qt/QtBackend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// Qt's fontconfig keeps allocations to the end of the process; LeakSanitizer builds ignore them
// (as the Qt backend's tests do), so `kestra-ss` and `kestra-ss snapshot` end cleanly.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace kxapp {

namespace {

struct Launcher {
    const char* name;
    const char* description;
    // Runs the dialog (modal ones return when it ends); false with `error` when it cannot be reached.
    std::function<bool(std::string& error)> run;
};

class WorkbenchWindow : public QMainWindow {
public:
    explicit WorkbenchWindow(HostedModule& module) : m_module(module)
    {
        setWindowTitle("KESTRA_SS workbench");
        auto* splitter = new QSplitter(this);
        auto* left = new QWidget(splitter);
        auto* leftLayout = new QVBoxLayout(left);
        leftLayout->addWidget(new QLabel("Dialogs", left));
        m_list = new QListWidget(left);
        leftLayout->addWidget(m_list);
        auto* open = new QPushButton("Open", left);
        leftLayout->addWidget(open);
        auto* right = new QWidget(splitter);
        auto* rightLayout = new QVBoxLayout(right);
        rightLayout->addWidget(new QLabel("Command line", right));
        m_commandLine = new QPlainTextEdit(right);
        m_commandLine->setObjectName("commandLine");
        m_commandLine->setReadOnly(true);
        m_commandLine->setFont(QFont("DejaVu Sans Mono"));
        rightLayout->addWidget(m_commandLine);
        splitter->setStretchFactor(1, 1);
        setCentralWidget(splitter);
        resize(900, 500);

        m_launchers = launchers();
        for (const Launcher& l : m_launchers)
            m_list->addItem(QString::fromUtf8(l.name) + QString::fromUtf8(" \u2014 ") + QString::fromUtf8(l.description));
        m_list->setCurrentRow(0);
        QObject::connect(open, &QPushButton::clicked, this, [this] { launch(m_list->currentRow()); });
        QObject::connect(m_list, &QListWidget::itemActivated, this,
                         [this](QListWidgetItem* item) { launch(m_list->row(item)); });
        m_poll = new QTimer(this);
        QObject::connect(m_poll, &QTimer::timeout, this, [this] { pollCommandLine(); });
        m_poll->start(100);
        pollCommandLine();
    }

    void launch(int row)
    {
        if (row < 0 || row >= static_cast<int>(m_launchers.size()))
            return;
        std::string error;
        if (!m_launchers[row].run(error))
            statusBar()->showMessage(QString::fromStdString(std::string(m_launchers[row].name) + ": " + error));
        pollCommandLine();
    }

    // Moves what the module printed since the last poll into the pane.
    void pollCommandLine()
    {
        const std::string text = kxhost::takeCommandLineText();
        if (text.empty())
            return;
        m_commandLine->moveCursor(QTextCursor::End);
        m_commandLine->insertPlainText(QString::fromStdString(text));
        m_commandLine->moveCursor(QTextCursor::End);
    }

    // Closes the modeless dialogs the workbench opened.
    void closeModelessDialogs()
    {
        if (auto* end = m_module.function<void(int)>(kEndDlgMacroModeless))
            for (int slot : m_macroSlots)
                end(slot);
        m_macroSlots.clear();
        if (m_constraintsOpen)
            if (auto* end = m_module.function<void()>(kEndDlgEditConstraints))
                end();
        m_constraintsOpen = false;
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        QCoreApplication::quit();
    }

private:
    std::vector<Launcher> launchers()
    {
        return {
            {"prompt", "the prompt dialog (8069)",
             [](std::string&) {
                 runPromptDialog("Length", "Length of the plate in mm:", "300");
                 return true;
             }},
            {"macro", "the macro dialog, modeless (8131)",
             [this](std::string& error) {
                 auto* start = m_module.function<bool(bool, MacroData&, int&)>(kStartDlgMacroModeless);
                 if (start == nullptr) {
                     error = "the module does not export StartDlgMacroModeless";
                     return false;
                 }
                 MacroData& data = m_macroData.emplace_back();
                 data.title = "Splice";
                 int slot = -1;
                 if (!start(true, data, slot)) {
                     error = "the macro dialog could not be made";
                     return false;
                 }
                 m_macroSlots.push_back(slot);
                 return true;
             }},
            {"macro (modal)", "the macro dialog, modal (8131)",
             [this](std::string& error) {
                 auto* start = m_module.function<void(MacroData&)>(kStartDlgMacro);
                 if (start == nullptr) {
                     error = "the module does not export StartDlgMacro";
                     return false;
                 }
                 MacroData data;
                 data.title = "Splice";
                 start(data);
                 return true;
             }},
            {"constraints", "the constraint editor, modeless (8715)",
             [this](std::string& error) {
                 auto* start = m_module.function<bool(EditConstrData&)>(kStartDlgEditConstraints);
                 if (start == nullptr) {
                     error = "the module does not export StartDlgEditConstraints";
                     return false;
                 }
                 m_constraintsOpen = start(m_constraintData) || m_constraintsOpen;
                 return true;
             }},
            {"showcase", "every control kind of the window layer (9901)",
             [](std::string&) {
                 kxqt::runShowcaseDialog();
                 return true;
             }},
        };
    }

    HostedModule& m_module;
    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_commandLine = nullptr;
    QTimer* m_poll = nullptr;
    std::vector<Launcher> m_launchers;
    // Modeless dialogs keep a reference to their data: it lives as long as the window.
    std::deque<MacroData> m_macroData;
    std::vector<int> m_macroSlots;
    EditConstrData m_constraintData;
    bool m_constraintsOpen = false;
};

} // namespace

int runWorkbench(const char* argv0)
{
    if (!kxqt::installQtBackend()) {
        std::fprintf(stderr, "kestra-ss: the Qt backend cannot be installed\n");
        return 1;
    }
    struct BackendGuard {
        ~BackendGuard() { kxqt::removeQtBackend(); }
    } backendGuard;
    kxhost::takeCommandLineText();
    kxhost::setCommandLineEcho(true);
    HostedModule module;
    std::string error;
    if (!module.load(argv0, error)) {
        std::fprintf(stderr, "kestra-ss: %s\n", error.c_str());
        return 1;
    }
    int answer = 0;
    {
        WorkbenchWindow window(module);
        window.show();
        QApplication::exec();
        window.closeModelessDialogs();
        answer = module.unload();
        window.pollCommandLine();
    }
    kxhost::setCommandLineEcho(false);
    if (answer != AcRx::kRetOK) {
        std::fprintf(stderr, "kestra-ss: the module answered the unload message with %d\n", answer);
        return 1;
    }
    return 0;
}

int writeDialogPictures(const char* argv0)
{
    const char* chosen = std::getenv("KESTRA_SS_SNAPSHOTS");
    std::error_code ec;
    const fs::path folder = fs::absolute(chosen != nullptr && *chosen != '\0' ? fs::path(chosen) : fs::path("snapshots"), ec);
    std::string folderText = folder.string();
    std::string all = "--all";
    char* args[] = {all.data(), folderText.data(), nullptr};
    const int code = runSnapshotCommand(argv0, 2, args);
    if (code == 0)
        std::printf("Dialog pictures: %s\n", (folder / "index.html").c_str());
    return code;
}

int runWithoutArguments(const char* argv0)
{
    if (kxqt::hasDisplay()) {
        std::string error;
        if (kxqt::startQt(kxqt::QtDisplay::Screen, &error))
            return runWorkbench(argv0);
        std::fprintf(stderr, "kestra-ss: no workbench: %s\n", error.c_str());
        return runMainJob(argv0);
    }
    const int code = runMainJob(argv0);
    std::fflush(stdout);
    return code != 0 ? code : writeDialogPictures(argv0);
}

} // namespace kxapp
