// The workbench's view of the host's simulated drawing: the objects' outlines painted to fit the
// widget, highlighted objects in the highlight colour, previews dashed, and picks answered by a click.
// What the drawing holds and logs is kxhost::SimulatedDrawing's; this widget only shows it.
#pragma once

#include "platform/host/SimulatedDrawing.h"

#include <QColor>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QEventLoop;

namespace kxapp {

class DrawingView : public QWidget, public kxhost::DrawingObserver {
public:
    static constexpr QRgb kBackground = 0xff1f242b;
    static constexpr QRgb kHighlight = 0xffffaa00;
    static constexpr QRgb kPreview = 0xff56d4ff;
    static constexpr QRgb kClash = 0xffe0403a;

    // `drawing` must outlive the view.
    explicit DrawingView(kxhost::SimulatedDrawing& drawing, QWidget* parent = nullptr);
    ~DrawingView() override;

    // Waits, in a nested event loop, for the user to click an object of the asked kind (or, for a
    // point pick, anywhere); nothing when the user cancels with Escape or the right button, or the
    // view goes. The drawing's chooser in the workbench.
    std::optional<kxhost::PickAnswer> waitForPick(const kxhost::PickRequest& request);
    // Ends a waiting pick as cancelled; nothing happens when none waits.
    void cancelPick();
    bool isWaitingForPick() const { return m_loop != nullptr; }

    // Where a point of the drawing is in the widget at its present size, and back.
    QPointF toWidget(kxhost::DrawingPoint point) const;
    kxhost::DrawingPoint toDrawing(QPointF point) const;

    // Told of a click outside a pick with the description of the object under it (empty for none).
    void setInfoHandler(std::function<void(const std::string&)> handler) { m_info = std::move(handler); }

    QSize sizeHint() const override { return {520, 360}; }

    void drawingChanged(const kxhost::SimulatedDrawing&) override { update(); }
    // A request can change what the core draws over the objects (a profile's cuts).
    void requestLogged(const kxhost::SimulatedDrawing&, const kxhost::DrawingRequest&) override { update(); }
    void pickStarted(const kxhost::SimulatedDrawing&, const kxhost::PickRequest&) override { update(); }
    void pickEnded(const kxhost::SimulatedDrawing&) override { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Fit {
        double scale = 1;
        double originX = 0;  // widget x of drawing x = 0
        double originY = 0;  // widget y of drawing y = 0
    };
    Fit fit() const;
    void finishPick(std::optional<kxhost::PickAnswer> answer);
    std::string describe(const kxhost::DrawingObject& object) const;

    kxhost::SimulatedDrawing& m_drawing;
    std::function<void(const std::string&)> m_info;
    // The pick being answered: its request, the loop that waits for it and where the answer goes.
    kxhost::PickRequest m_request;
    QEventLoop* m_loop = nullptr;
    std::optional<kxhost::PickAnswer> m_answer;
};

} // namespace kxapp
