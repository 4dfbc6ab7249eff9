// The workbench's list of the requests the module made of the simulated drawing, one line each,
// newest at the bottom. It follows the drawing; the log itself is kxhost::SimulatedDrawing's.
#pragma once

#include "platform/host/SimulatedDrawing.h"

#include <QListWidget>

namespace kxapp {

class RequestLogView : public QListWidget, public kxhost::DrawingObserver {
public:
    // The list keeps the newest lines only; the drawing keeps more.
    static constexpr int kLineLimit = 2000;

    // Starts with what the drawing has logged so far. `drawing` must outlive the view.
    explicit RequestLogView(kxhost::SimulatedDrawing& drawing, QWidget* parent = nullptr);
    ~RequestLogView() override;

    void requestLogged(const kxhost::SimulatedDrawing&, const kxhost::DrawingRequest& request) override;

private:
    void append(const kxhost::DrawingRequest& request);

    kxhost::SimulatedDrawing& m_drawing;
};

} // namespace kxapp
