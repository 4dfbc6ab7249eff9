// The Qt 6 backend of the window layer, as the rest of the program sees it: starting Qt with
// pinned settings, installing the backend that mirrors the window tree as widgets, and rendering
// dialogs to pictures. No Qt type appears here; only platform/qt includes Qt.
#pragma once

#include "platform/qt/KxQtExport.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>

class CDialog;

namespace kxqt {

enum class QtDisplay {
    Offscreen,  // no window system: pictures only (QT_QPA_PLATFORM=offscreen)
    Screen,     // the user's display
};

// The screen size pinned for offscreen runs; the layer lays windows out on the same screen.
inline constexpr int kScreenWidth = 1920;
inline constexpr int kScreenHeight = 1080;

// Starts Qt once per process with the settings that make a picture the same on every machine:
// Fusion style, DejaVu Sans at a fixed pixel size, scale factor 1, the pinned screen size and (for
// offscreen runs) a private runtime folder. False with the reason in `error` when Qt cannot start
// (no platform plugin, no display, the font missing); a later call returns the first result.
KXQT_API bool startQt(QtDisplay display, std::string* error = nullptr);
// True when DISPLAY or WAYLAND_DISPLAY is set.
KXQT_API bool hasDisplay();

// Installs the Qt backend (Qt must be started). From then on every window of the layer, those that
// exist already included, is mirrored by a widget. False when Qt is not started.
KXQT_API bool installQtBackend();
// Puts the headless backend back and drops every mirrored widget.
KXQT_API void removeQtBackend();
KXQT_API bool qtBackendInstalled();
// Called with each modal dialog once its window is on screen, before its loop runs (snapshots and
// tests act on the dialog there). An empty hook removes it.
KXQT_API void setModalDialogHook(std::function<void(CDialog&)> hook);
// Brings the widgets up to date with the layer now; otherwise they follow from Qt's event loop.
KXQT_API void syncMirror();

// Renders a top-level window with its children, as mirrored, into a PNG file. False with the reason
// in `error` for a window that is not mirrored or a file that cannot be written.
KXQT_API bool renderWindowToPng(HWND window, const std::string& path, std::string* error);

struct SnapshotResult {
    bool ok = false;
    std::string error;    // when not ok
    int templateId = 0;   // of the dialog rendered
    std::string title;
    int width = 0;        // pixels
    int height = 0;
};

// Runs `open`, which opens one dialog, and renders that dialog to `path`: a modal dialog as soon as
// its loop starts (then it is cancelled), otherwise the first new visible top-level dialog after
// `open` returns (then `close` is run to close it). The Qt backend must be installed.
KXQT_API SnapshotResult snapshotDialog(const std::function<void()>& open, const std::function<void()>& close,
                                       const std::string& path);

// The sample dialog with one control of every kind the backend maps, with entries filled in: what
// the backend's own tests drive and what `kestra-ss snapshot showcase` shows.
inline constexpr int kShowcaseDialogId = 9901;
// Runs it modally from the backend's own resources; returns the dialog's result (-1 when it cannot
// be made).
KXQT_API INT_PTR runShowcaseDialog(HWND owner = nullptr);

} // namespace kxqt
