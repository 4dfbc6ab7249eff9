// The workbench: kestra-ss plays the host in a window. The module is loaded as the host loads it,
// its exported launchers are called from a list with sample data, what it prints on the command
// line shows in a pane, and the drawing it acts on is shown with the requests it made. The dialogs
// are the layer's windows mirrored by the Qt backend; the window itself is WorkbenchWindow.cpp's.
#include "app/Workbench.h"

#include "app/DrawingView.h"
#include "app/HostedModule.h"
#include "app/MainJob.h"
#include "app/SnapshotCommand.h"
#include "app/WorkbenchWindow.h"
#include "platform/host/CommandLine.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/qt/QtBackend.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

// Qt's fontconfig keeps allocations to the end of the process; LeakSanitizer builds ignore them
// (as the Qt backend's tests do), so `kestra-ss` and `kestra-ss snapshot` end cleanly.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace kxapp {

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
        WorkbenchWindow window(module, kxhost::activeDrawing());
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
    // The drawing as the demo left it: the sample frames with the changed plate.
    if (kxqt::startQt(kxqt::QtDisplay::Offscreen)) {
        DrawingView view(kxhost::activeDrawing());
        view.resize(900, 520);
        const fs::path picture = folder / "drawing.png";
        if (view.grab().toImage().save(QString::fromStdString(picture.string())))
            std::printf("Drawing picture: %s\n", picture.c_str());
    }
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
