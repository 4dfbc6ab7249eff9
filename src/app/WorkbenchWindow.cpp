// The workbench window: its panes, its launchers and the hand-over of picks to the drawing view.
#include "app/WorkbenchWindow.h"

#include "core/MacroDrawing.h"

#include "app/SampleDialogs.h"

#include "app/DrawingView.h"
#include "app/RequestLogView.h"
#include "core/DlgSelectProf.h"
#include "core/PromptDialog.h"
#include "platform/host/CommandLine.h"
#include "platform/qt/QtBackend.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kxapp {

namespace {

// A titled pane: a label over the widget.
QWidget* pane(const char* title, QWidget* content, QWidget* extra, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(title, box), 1);
    if (extra != nullptr)
        head->addWidget(extra);
    layout->addLayout(head);
    content->setParent(box);
    layout->addWidget(content, 1);
    return box;
}

} // namespace

WorkbenchWindow::WorkbenchWindow(HostedModule& module, kxhost::SimulatedDrawing& drawing)
    : m_module(module), m_drawing(drawing)
{
    setWindowTitle("KESTRA_SS workbench");
    if (m_drawing.objects().empty())
        kxcore::MacroModel::instance().placeSampleFrames(m_drawing);

    auto* splitter = new QSplitter(this);
    m_list = new QListWidget;
    m_list->setObjectName("dialogs");
    auto* open = new QPushButton("Open");
    open->setObjectName("open");
    QWidget* left = pane("Dialogs", m_list, open, splitter);

    m_view = new DrawingView(m_drawing);
    auto* pick = new QPushButton("Pick an object");
    pick->setObjectName("pick");
    QWidget* middle = pane("Drawing", m_view, pick, splitter);

    auto* right = new QSplitter(Qt::Vertical, splitter);
    m_commandLine = new QPlainTextEdit;
    m_commandLine->setObjectName("commandLine");
    m_commandLine->setReadOnly(true);
    m_commandLine->setFont(QFont("DejaVu Sans Mono"));
    pane("Command line", m_commandLine, nullptr, right);
    m_log = new RequestLogView(m_drawing);
    pane("Requests to the drawing", m_log, nullptr, right);

    splitter->addWidget(left);
    splitter->addWidget(middle);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 2);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({300, 560, 420});
    setCentralWidget(splitter);
    resize(1280, 640);

    m_launchers = launchers();
    for (const Launcher& l : m_launchers)
        m_list->addItem(QString::fromUtf8(l.name) + QString::fromUtf8(" \u2014 ") + QString::fromUtf8(l.description));
    m_list->setCurrentRow(0);
    QObject::connect(open, &QPushButton::clicked, this, [this] { launch(m_list->currentRow()); });
    QObject::connect(m_list, &QListWidget::itemActivated, this,
                     [this](QListWidgetItem* item) { launch(m_list->row(item)); });
    QObject::connect(pick, &QPushButton::clicked, this, [this] { pickFromToolbar(); });
    m_view->setInfoHandler([this](const std::string& text) { statusBar()->showMessage(QString::fromStdString(text)); });

    // While the window lives, the user answers the drawing's picks in its view. A pick that started
    // before the window closed still holds this chooser when the view is gone, hence the guard.
    QPointer<DrawingView> view(m_view);
    m_previousChooser = m_drawing.setPickChooser(
        [view](const kxhost::SimulatedDrawing&, const kxhost::PickRequest& request) -> std::optional<kxhost::PickAnswer> {
            if (view.isNull())
                return std::nullopt;
            return view->waitForPick(request);
        });

    m_poll = new QTimer(this);
    QObject::connect(m_poll, &QTimer::timeout, this, [this] { pollCommandLine(); });
    m_poll->start(100);
    pollCommandLine();
}

WorkbenchWindow::~WorkbenchWindow()
{
    m_view->cancelPick();
    m_drawing.setPickChooser(std::move(m_previousChooser));
}

std::vector<std::string> WorkbenchWindow::launcherNames() const
{
    std::vector<std::string> names;
    for (const Launcher& l : m_launchers)
        names.emplace_back(l.name);
    return names;
}

bool WorkbenchWindow::launch(int row)
{
    if (row < 0 || row >= static_cast<int>(m_launchers.size()))
        return false;
    std::string error;
    const bool reached = m_launchers[row].run(error);
    if (!reached)
        statusBar()->showMessage(QString::fromStdString(std::string(m_launchers[row].name) + ": " + error));
    pollCommandLine();
    return reached;
}

void WorkbenchWindow::pollCommandLine()
{
    const std::string text = kxhost::takeCommandLineText();
    if (text.empty())
        return;
    m_commandLine->moveCursor(QTextCursor::End);
    m_commandLine->insertPlainText(QString::fromStdString(text));
    m_commandLine->moveCursor(QTextCursor::End);
}

void WorkbenchWindow::closeModelessDialogs()
{
    if (auto* end = m_module.function<void(int)>(kEndDlgMacroModeless))
        for (int slot : m_macroSlots)
            end(slot);
    m_macroSlots.clear();
    if (m_constraintsOpen)
        if (auto* end = m_module.function<void()>(kEndDlgEditConstraints))
            end();
    m_constraintsOpen = false;
    if (auto* close = m_module.function<void()>(kCloseBillSample))
        close();
}

void WorkbenchWindow::closeEvent(QCloseEvent* event)
{
    // A pick still waiting would keep its nested loop, and with it the program, running.
    m_view->cancelPick();
    event->accept();
    QCoreApplication::quit();
}

void WorkbenchWindow::pickFromToolbar()
{
    if (m_drawing.isPicking())
        return;
    const std::optional<AcDbObjectId> id = m_drawing.pickObject("Select an object:");
    pollCommandLine();
    const kxhost::DrawingObject* o = id ? m_drawing.object(*id) : nullptr;
    statusBar()->showMessage(o != nullptr ? QString::fromStdString("Picked " + o->kind + " " + o->name)
                                          : QString("No object picked"));
}

std::vector<WorkbenchWindow::Launcher> WorkbenchWindow::launchers()
{
    std::vector<Launcher> list = {
        {"prompt", "the prompt dialog (8069)",
         [](std::string&) {
             runPromptDialog("Length", "Length of the plate in mm:", "300");
             return true;
         }},
        {"selectprof", "the core's profile chooser on the library's HEA-200 (8072)",
         [](std::string&) {
             DlgSelectProfData data;
             data.unknownName = "HEA-200";
             DlgSelectProf(data, /*withTables=*/true);
             return true;
         }},
        {"macro", "the macro dialog, modeless (8131)",
         [this](std::string& error) {
             auto* start = m_module.function<bool(bool, MacroData&, int&)>(kStartDlgMacroModeless);
             if (start == nullptr) {
                 error = "the module does not export StartDlgMacroModeless";
                 return false;
             }
             MacroData& data = m_macroData.emplace_back(kxcore::sampleMacroData(0));
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
             MacroData data = kxcore::sampleMacroData(0);
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
             // The sample macro's constraints as the drawing keeps them, so that a selected
             // constraint shows in the drawing and the edits of an editor before are there.
             m_constraintData = sampleConstraintData();
             m_constraintsOpen = start(m_constraintData) || m_constraintsOpen;
             return true;
         }},
        {"bill", "the bill window of a sample bill, modeless (248)",
         [this](std::string& error) {
             auto* open = m_module.function<bool()>(kOpenBillSample);
             if (open == nullptr) {
                 error = "the module does not export openBillSample";
                 return false;
             }
             if (!open()) {
                 error = "the bill window could not be made";
                 return false;
             }
             return true;
         }},
        {"showcase", "every control kind of the window layer (9901)",
         [](std::string&) {
             kxqt::runShowcaseDialog();
             return true;
         }},
    };
    // The module's modal dialogs with sample data, before the window layer's showcase.
    auto at = list.end() - 1;
    for (SampleDialog& sample : sampleDialogs()) {
        auto open = std::move(sample.open);
        at = 1 + list.insert(at, Launcher{sample.name, sample.description,
                                          [this, open](std::string& error) { return open(m_module, error); }});
    }
    return list;
}

} // namespace kxapp
