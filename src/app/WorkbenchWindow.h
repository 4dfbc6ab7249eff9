// The workbench window: kestra-ss playing the host. A list of launchers for the module's dialogs,
// the host's command line showing what the module prints, the simulated drawing the module acts on,
// and the log of the requests the module made of it. Starting Qt and loading the module are
// Workbench.cpp's; this class is what the workbench test drives.
#pragma once

#include "app/HostedModule.h"
#include "core/MacroData.h"
#include "platform/host/SimulatedDrawing.h"

#include <QMainWindow>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPlainTextEdit;
class QTimer;

namespace kxapp {

class DrawingView;
class RequestLogView;

class WorkbenchWindow : public QMainWindow {
public:
    // `module` (loaded) and `drawing` must outlive the window. An empty drawing gets the sample
    // frame; while the window lives, picks in the drawing are answered by clicks in its view.
    WorkbenchWindow(HostedModule& module, kxhost::SimulatedDrawing& drawing);
    ~WorkbenchWindow() override;

    // The launchers' names, in the list's order.
    std::vector<std::string> launcherNames() const;
    // Runs launcher `row` (a modal dialog returns when it ends); false with the reason in the status
    // bar when the dialog cannot be reached or there is no such row.
    bool launch(int row);
    // Moves what the module printed since the last poll into the command-line pane.
    void pollCommandLine();
    // Closes the modeless dialogs the workbench opened.
    void closeModelessDialogs();

    DrawingView* drawingView() const { return m_view; }
    RequestLogView* requestLog() const { return m_log; }
    QPlainTextEdit* commandLine() const { return m_commandLine; }
    QListWidget* dialogList() const { return m_list; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Launcher {
        const char* name;
        const char* description;
        // Runs the dialog; false with `error` when it cannot be reached.
        std::function<bool(std::string& error)> run;
    };
    std::vector<Launcher> launchers();
    void pickFromToolbar();

    HostedModule& m_module;
    kxhost::SimulatedDrawing& m_drawing;
    kxhost::PickChooser m_previousChooser;
    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_commandLine = nullptr;
    DrawingView* m_view = nullptr;
    RequestLogView* m_log = nullptr;
    QTimer* m_poll = nullptr;
    std::vector<Launcher> m_launchers;
    // Modeless dialogs keep a reference to their data: it lives as long as the window.
    std::deque<MacroData> m_macroData;
    std::vector<int> m_macroSlots;
    EditConstrData m_constraintData;
    bool m_constraintsOpen = false;
};

} // namespace kxapp
