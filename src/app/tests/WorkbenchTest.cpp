// The workbench window offscreen, with the module loaded as the program loads it: its dialog list,
// the drawing view's picture, a launcher reaching its dialog with the module's printing in the
// command-line pane, and picks answered by clicks in the view landing in the request log.
#include "app/DrawingView.h"
#include "app/HostedModule.h"
#include "app/RequestLogView.h"
#include "app/WorkbenchWindow.h"
#include "core/ProfCutsData.h"
#include "platform/host/CommandLine.h"
#include "platform/grid/Spread.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/qt/tests/QtTestSupport.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Dialog.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

// Qt's fontconfig keeps allocations to the end of the process (as in the Qt backend's tests).
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

using kxapp::DrawingView;
using kxhost::DrawingPoint;

class Workbench : public kxqt::testing::QtTest {
protected:
    void SetUp() override
    {
        QtTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        std::string error;
        ASSERT_TRUE(module.load("kestra-ss", error)) << error;
        drawing.clear();
        drawing.clearRequests();
        kxhost::takeCommandLineText();
        window = std::make_unique<kxapp::WorkbenchWindow>(module, drawing);
        window->show();
        view = window->drawingView();
        ids.clear();
        for (const kxhost::DrawingObject& o : drawing.objects())
            ids.push_back(o.id);
    }
    void TearDown() override
    {
        if (window != nullptr) {
            window->closeModelessDialogs();
            window.reset();
        }
        module.unload();
        drawing.clear();
        QtTest::TearDown();
    }

    QImage picture() { return view->grab().toImage(); }
    QRgb pixelAt(const QImage& image, DrawingPoint p)
    {
        const QPoint at = view->toWidget(p).toPoint();
        return image.pixel(at);
    }
    static DrawingPoint centre(const kxhost::DrawingOutline& outline)
    {
        DrawingPoint c;
        for (const DrawingPoint& p : outline) {
            c.x += p.x / outline.size();
            c.y += p.y / outline.size();
        }
        return c;
    }
    int row(const std::string& name)
    {
        const std::vector<std::string> names = window->launcherNames();
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    }
    std::string commandLinePane() { return window->commandLine()->toPlainText().toStdString(); }
    std::string lastLogLine()
    {
        QListWidget* log = window->requestLog();
        return log->count() == 0 ? std::string() : log->item(log->count() - 1)->text().toStdString();
    }

    kxapp::HostedModule module;
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    std::unique_ptr<kxapp::WorkbenchWindow> window;
    DrawingView* view = nullptr;
    std::vector<AcDbObjectId> ids;  // the sample frame: columns, beam, plate, bolts, macro
};

TEST_F(Workbench, OpensWithTheKnownDialogsListedAndTheSampleFrameDrawn)
{
    const std::vector<std::string> names = window->launcherNames();
    for (const char* expected : {"prompt", "macro", "macro (modal)", "constraints", "axisgrid", "lookup", "stringarray",
                                 "gridheaders", "designer", "sheet-editor", "showcase", "editlibsimple",
                                 "selectprof", "macro-cuts", "macro-cuts-existing", "select-macro",
                                 "select-macro-filter", "opensavefiltered", "sectionlib", "sectionlib-types",
                                 "sectionlib-tables"})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    ASSERT_EQ(window->dialogList()->count(), static_cast<int>(names.size()));
    EXPECT_TRUE(window->dialogList()->item(0)->text().startsWith(QString::fromStdString(names[0])));

    ASSERT_EQ(ids.size(), 22u) << "two sample frames of ten parts and a macro each";
    const QImage image = picture();
    ASSERT_FALSE(image.isNull());
    for (const kxhost::DrawingObject& o : drawing.objects()) {
        if (o.kind == "macro")
            continue;  // a box around the joint, drawn as a dotted line only
        EXPECT_NE(pixelAt(image, centre(o.outline[0])), DrawingView::kBackground) << o.name;
    }
    EXPECT_EQ(pixelAt(image, {3000, 1000}), DrawingView::kBackground) << "under the beam, between the columns";
}

TEST_F(Workbench, HighlightsAndPreviewsShowInTheViewAndGoWhenTakenBack)
{
    const DrawingPoint inBeam{3000, 2850};
    ASSERT_NE(pixelAt(picture(), inBeam), DrawingView::kHighlight);
    drawing.highlight(ids[2]);
    EXPECT_EQ(pixelAt(picture(), inBeam), DrawingView::kHighlight);
    drawing.unhighlight(ids[2]);
    EXPECT_NE(pixelAt(picture(), inBeam), DrawingView::kHighlight);

    // A preview in the empty bay: a dashed outline, so its edge has drawn and undrawn stretches.
    const int preview = drawing.addPreview({{1000, 500}, {5000, 500}, {5000, 1500}, {1000, 1500}}, "cut");
    ASSERT_GT(preview, 0);
    const QImage image = picture();
    const int y = qRound(view->toWidget({0, 1500}).y());
    const int x0 = qRound(view->toWidget({1200, 0}).x());
    const int x1 = qRound(view->toWidget({4800, 0}).x());
    int drawn = 0;
    int gaps = 0;
    for (int x = x0; x < x1; ++x) {
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
            near = near || qAbs(qBlue(image.pixel(x, y + dy)) - qBlue(DrawingView::kBackground)) > 60;
        (near ? drawn : gaps) += 1;
    }
    EXPECT_GT(drawn, 0);
    EXPECT_GT(gaps, 0);
    drawing.removePreview(preview);
    EXPECT_EQ(picture().pixel(x0 + (x1 - x0) / 2, y), DrawingView::kBackground);
    EXPECT_EQ(lastLogLine(), "remove preview " + std::to_string(preview) + " -> done");
}

TEST_F(Workbench, ALauncherReachesItsDialogAndTheModulesPrintingShowsInTheCommandLine)
{
    int modalTemplate = 0;
    std::string modalTitle;
    kxqt::setModalDialogHook([&](CDialog& dialog) {
        modalTemplate = dialog.templateId();
        modalTitle = GetWindowText(dialog.m_hWnd);
        // Closed from inside its running loop, as a person closes it.
        QTimer::singleShot(0, [hwnd = dialog.m_hWnd] { SendMessage(hwnd, WM_COMMAND, IDCANCEL, 0); });
    });
    ASSERT_TRUE(window->launch(row("macro (modal)")));
    EXPECT_EQ(modalTemplate, 8131);
    EXPECT_EQ(modalTitle, "End plate connection") << "the sample macro the workbench placed in its drawing";
    // The macro dialog's close routine posts the host's prompt.
    EXPECT_NE(commandLinePane().find("Command: "), std::string::npos) << commandLinePane();

    // The modeless one stays open until the workbench closes it, which prompts again.
    window->commandLine()->clear();
    ASSERT_TRUE(window->launch(row("macro")));
    EXPECT_EQ(commandLinePane(), "");
    window->closeModelessDialogs();
    window->pollCommandLine();
    EXPECT_NE(commandLinePane().find("Command: "), std::string::npos);
    EXPECT_FALSE(window->launch(99));
}

TEST_F(Workbench, TheBillLauncherShowsTheSampleBillUntilTheModelessDialogsClose)
{
    auto billWindow = [] {
        for (HWND w : GetTopLevelWindows())
            if (GetWindowText(w) == "kestra-ss sample bill" && IsWindowVisible(w))
                return w;
        return static_cast<HWND>(nullptr);
    };
    ASSERT_EQ(billWindow(), nullptr);
    ASSERT_TRUE(window->launch(row("bill")));
    const HWND bill = billWindow();
    ASSERT_NE(bill, nullptr);
    HWND grid = nullptr;
    for (HWND child : GetChildWindows(bill))
        if (GetClassName(child) == "fpSpread70")
            grid = child;
    ASSERT_NE(grid, nullptr);
    // 30 lines, two of them with a picture row, and the total.
    EXPECT_EQ(SSGetMaxRows(grid), 33);
    COLORREF back = 0, fore = 0;
    SSGetColor(grid, 2, SSGetMaxRows(grid), &back, &fore);
    EXPECT_EQ(back, 0xFFD1A4u) << "the total is coloured";
    window->closeModelessDialogs();
    EXPECT_FALSE(IsWindow(bill));
}

TEST_F(Workbench, APickIsAnsweredByAClickOnAnObjectOfTheAskedKindAndLogged)
{
    const kxhost::DrawingObject& bolts = *drawing.object(ids[4]);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(view->isWaitingForPick());
        // Empty space and a profile are not bolts: the pick goes on waiting.
        QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget({3000, 1000}).toPoint());
        QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget({100, 1500}).toPoint());
        EXPECT_TRUE(view->isWaitingForPick());
        QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget(centre(bolts.outline[0])).toPoint());
        view->cancelPick();  // a missed click must not leave the test waiting
    });
    const std::optional<AcDbObjectId> picked = drawing.pickObject("Select the bolts", "bolt group");
    EXPECT_EQ(picked, ids[4]);
    const std::string expected =
        "pick bolt group: Select the bolts [" + std::to_string(ids[4].handle()) + "] -> Bolts M20 x 4";
    EXPECT_EQ(drawing.requests().back().text(), expected);
    EXPECT_EQ(lastLogLine(), expected);
    window->pollCommandLine();
    EXPECT_NE(commandLinePane().find("Select the bolts"), std::string::npos);
}

TEST_F(Workbench, ThePickButtonAsksTheDrawingAndEscapeCancels)
{
    auto* pick = window->findChild<QPushButton*>("pick");
    ASSERT_NE(pick, nullptr);
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget({3000, 2850}).toPoint());
        view->cancelPick();
    });
    QTest::mouseClick(pick, Qt::LeftButton);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Picked profile Beam B1");

    bool escapeEnded = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(view, Qt::Key_Escape);
        escapeEnded = !view->isWaitingForPick();
        view->cancelPick();
    });
    QTest::mouseClick(pick, Qt::LeftButton);
    EXPECT_TRUE(escapeEnded);
    EXPECT_EQ(window->statusBar()->currentMessage(), "No object picked");
    EXPECT_EQ(lastLogLine(), "pick an object: Select an object: -> cancelled");
    EXPECT_FALSE(drawing.isPicking());
}

} // namespace

namespace {

TEST_F(Workbench, TheCutsDialogsOwnerIsPickedWithAClickInTheDrawingView)
{
    const kxhost::DrawingObject* macro = nullptr;
    for (const kxhost::DrawingObject& o : drawing.objects()) {
        if (o.kind == "macro" && macro == nullptr)
            macro = &o;
    }
    ASSERT_NE(macro, nullptr);
    const DrawingPoint at = centre(macro->outline[0]);
    int modalTemplate = 0;
    int modulesBefore = 0;
    int modulesAfter = 0;
    bool hiddenDuringPick = false;
    kxqt::setModalDialogHook([&](CDialog& dialog) {
        modalTemplate = dialog.templateId();
        const HWND hwnd = dialog.m_hWnd;
        QTimer::singleShot(0, [&, hwnd] {
            HWND modules = GetDlgItem(hwnd, 1282);
            modulesBefore = static_cast<int>(SendMessage(modules, CB_GETCOUNT));
            QTimer::singleShot(0, [&, hwnd] {
                hiddenDuringPick = view->isWaitingForPick() && !IsWindowVisible(hwnd);
                QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget(at).toPoint());
                view->cancelPick();  // a missed click must not leave the test waiting
            });
            // "Another macro" starts the pick at once.
            SendMessage(GetDlgItem(hwnd, 1286), BM_CLICK, 0, 0);
            modulesAfter = static_cast<int>(SendMessage(modules, CB_GETCOUNT));
            SendMessage(hwnd, WM_COMMAND, IDCANCEL, 0);
        });
    });
    ASSERT_TRUE(window->launch(row("macro-cuts")));
    EXPECT_EQ(modalTemplate, 223);
    EXPECT_TRUE(hiddenDuringPick);
    // The picked macro's modules that the list lacked join it.
    EXPECT_EQ(modulesBefore, 3);
    EXPECT_EQ(modulesAfter, 6);
    const std::string picked = "pick macro: Select the macro that will own the cut [" + std::to_string(macro->id.handle()) + "]";
    EXPECT_TRUE(std::any_of(drawing.requests().begin(), drawing.requests().end(),
                            [&](const kxhost::DrawingRequest& r) { return r.text().rfind(picked, 0) == 0; }))
        << lastLogLine();
}

TEST_F(Workbench, TheConstraintEditorOpensOnTheSampleMacroAndMarksItsConstraintInTheView)
{
    ASSERT_TRUE(window->launch(row("constraints")));
    // The first constraint of the sample's end plate module is selected: its parts are marked.
    EXPECT_FALSE(drawing.highlighted().empty());
    bool asked = false;
    for (const auto& request : drawing.requests())
        asked = asked || request.what.rfind("HighlightConstraint C1", 0) == 0;
    EXPECT_TRUE(asked);
    window->closeModelessDialogs();
    EXPECT_TRUE(drawing.highlighted().empty()) << "closing the editor takes its marks back";
}

TEST_F(Workbench, ANewPlateWidthTypedInTheMacroDialogChangesThePlateInTheDrawingAndIsLogged)
{
    ASSERT_TRUE(window->launch(row("macro")));
    // The end plate's width field: control 3 of its layout, id 33003 on the first page.
    std::function<HWND(HWND)> find = [&](HWND parent) -> HWND {
        for (HWND child : GetChildWindows(parent)) {
            if (GetDlgCtrlID(child) == 33003)
                return child;
            if (HWND deeper = find(child))
                return deeper;
        }
        return nullptr;
    };
    HWND edit = nullptr;
    for (HWND top : GetTopLevelWindows())
        if (edit == nullptr && GetWindowText(top) == "End plate connection")
            edit = find(top);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowText(edit), "200.00");
    SetWindowText(edit, "240");
    SendMessage(GetParent(edit), WM_COMMAND, MAKEWPARAM(33003, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));

    const kxhost::DrawingObject* plate = nullptr;
    for (const kxhost::DrawingObject& o : drawing.objects())
        if (o.name == "End plate P1" && plate == nullptr)
            plate = &o;
    ASSERT_NE(plate, nullptr);
    EXPECT_EQ(plate->property("Size"), "240 x 300");
    bool updated = false;
    for (const auto& r : drawing.requests())
        updated = updated || r.what == "UpdateModule End plates\\end plate: plateWidth 200.00 -> 240.00";
    EXPECT_TRUE(updated);
    EXPECT_EQ(lastLogLine().rfind("clashcheck", 0), 0u) << "the clash check follows the update";
    window->closeModelessDialogs();
}

// The profile cuts dialog: the selected cut's preview shows in the view, a removed cut leaves the
// profile drawn whole again, and nothing of the dialog stays drawn once it is closed.
TEST_F(Workbench, SelectingACutInTheProfileCutsDialogShowsItsPreviewInTheView)
{
    auto previewPixels = [&] {
        const QImage image = picture();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == DrawingView::kPreview ? 1 : 0;
        return count;
    };
    std::vector<std::string> shown;
    int pixelsWhileOpen = 0;
    size_t cutsBefore = 0;
    size_t cutsAfter = 0;
    int beam = 0;
    kxqt::setModalDialogHook([&](CDialog& dialog) {
        const HWND hwnd = dialog.m_hWnd;
        QTimer::singleShot(0, [&, hwnd] {
            HWND list = GetDlgItem(hwnd, 1339);
            SendMessage(list, LB_SETCURSEL, 2, 0);
            SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1339, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            for (const kxhost::DrawingPreview& p : drawing.previews())
                shown.push_back(p.label);
            pixelsWhileOpen = previewPixels();
            for (const kxhost::DrawingObject& o : drawing.objects())
                if (o.kind == "profile" && !kxcore::profileCuts(o.id).empty() && beam == 0)
                    beam = static_cast<int>(o.id.handle());
            cutsBefore = kxcore::profileCuts(AcDbObjectId(beam)).size();
            SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1087, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, 1087)));
            cutsAfter = kxcore::profileCuts(AcDbObjectId(beam)).size();
            SendMessage(hwnd, WM_CLOSE, 0, 0);
        });
    });
    ASSERT_TRUE(window->launch(row("profcuts")));
    kxqt::setModalDialogHook({});
    ASSERT_EQ(shown.size(), 1u) << "the preview switch is on: only the selected cut is shown";
    EXPECT_EQ(shown[0], "Notch 150 x 45 at the end");
    EXPECT_GT(pixelsWhileOpen, 0);
    EXPECT_EQ(cutsAfter + 1, cutsBefore);
    EXPECT_TRUE(drawing.previews().empty());
    EXPECT_EQ(previewPixels(), 0);
    EXPECT_EQ(lastLogLine().rfind("remove preview", 0), 0u) << lastLogLine();
}

TEST_F(Workbench, TickingAHoleOffInTheBoltSettingsTakesItsBoltsOutOfTheDrawingView)
{
    const auto bolts = [&](const std::string& name) {
        return std::count_if(drawing.objects().begin(), drawing.objects().end(),
                             [&](const kxhost::DrawingObject& o) { return o.name == name; });
    };
    ASSERT_GE(bolts("Bolts M20 x 4"), 1);
    const QImage before = picture();
    int modalTemplate = 0;
    long duringDialog = -1;
    bool viewChanged = false;
    kxqt::setModalDialogHook([&](CDialog& dialog) {
        modalTemplate = dialog.templateId();
        const HWND hwnd = dialog.m_hWnd;
        QTimer::singleShot(0, [&, hwnd] {
            // The second hole's check mark in the hole list, as a person clears it.
            LVITEM item;
            item.stateMask = LVIS_STATEIMAGEMASK;
            item.state = INDEXTOSTATEIMAGEMASK(1);
            SendMessage(GetDlgItem(hwnd, 1108), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
            duringDialog = bolts("Bolts M20 x 2");
            viewChanged = picture() != before;
            SendMessage(hwnd, WM_COMMAND, IDCANCEL, 0);
        });
    });
    ASSERT_TRUE(window->launch(row("bolt-advanced")));
    kxqt::setModalDialogHook({});
    EXPECT_EQ(modalTemplate, 8140);
    EXPECT_EQ(duringDialog, 1) << "applied while the dialog is open";
    EXPECT_TRUE(viewChanged);
    EXPECT_EQ(bolts("Bolts M20 x 2"), 1) << "Cancel keeps what was applied";
}

} // namespace

namespace {

// The highest point of an object's outline in the view.
double topOf(const kxhost::DrawingObject& o)
{
    double top = -1e300;
    for (const auto& poly : o.outline)
        for (const DrawingPoint& p : poly)
            top = std::max(top, p.y);
    return top;
}

TEST_F(Workbench, TheProfileDialogsOffsetMovesTheBeamAndItsPickAsksForAPointInTheView)
{
    AcDbObjectId beam;
    for (const kxhost::DrawingObject& o : drawing.objects())
        if (o.name == "Beam B1" && beam.isNull())
            beam = o.id;  // the first frame's, whose macro the sample data is
    ASSERT_FALSE(beam.isNull());
    const double before = topOf(*drawing.object(beam));
    double after = 0;
    std::string startX;
    bool waitedForPoint = false;
    kxqt::setModalDialogHook([&](CDialog& dialog) {
        const HWND hwnd = dialog.m_hWnd;
        QTimer::singleShot(0, [&, hwnd] {
            // The beam's middle on its system line instead of its top: it rises by half its depth.
            HWND offset = GetDlgItem(hwnd, 1228);
            SendMessage(offset, CB_SETCURSEL, 3, 0);
            SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(1228, CBN_SELCHANGE), reinterpret_cast<LPARAM>(offset));
            after = topOf(*drawing.object(beam));
            QTimer::singleShot(0, [&] {
                waitedForPoint = view->isWaitingForPick();
                QTest::mouseClick(view, Qt::LeftButton, {}, view->toWidget({3000, 3000}).toPoint());
                view->cancelPick();  // a missed click must not leave the test waiting
            });
            SendMessage(GetDlgItem(hwnd, 1229), BM_CLICK, 0, 0);
            startX = GetWindowText(GetDlgItem(hwnd, 1231));
            SendMessage(hwnd, WM_COMMAND, IDOK, 0);
        });
    });
    ASSERT_TRUE(window->launch(row("profile-advanced")));
    EXPECT_DOUBLE_EQ(after, before + 150);
    EXPECT_TRUE(waitedForPoint);
    EXPECT_FALSE(startX.empty());
    EXPECT_NE(lastLogLine().find("UpdateModule Profiles"), std::string::npos) << lastLogLine();
}

} // namespace
