// Painting the simulated drawing and answering picks with a click.
#include "app/DrawingView.h"

#include "core/ProfCutsData.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QPainterPath>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace kxapp {

namespace {

// Space left around the drawing, pixels.
constexpr double kMargin = 24;
// How near a click must come to an outline to hit it, pixels.
constexpr double kPickTolerance = 4;
constexpr int kBannerHeight = 22;

struct KindLook {
    QColor fill;
    QColor line;
};

KindLook lookOf(const std::string& kind)
{
    if (kind == "profile")
        return {QColor(58, 96, 150), QColor(140, 180, 235)};
    if (kind == "plate")
        return {QColor(120, 112, 70), QColor(220, 205, 130)};
    if (kind == "bolt group")
        return {QColor(60, 130, 70), QColor(150, 225, 150)};
    if (kind == "macro")
        return {Qt::transparent, QColor(150, 150, 160)};
    return {QColor(90, 90, 90), QColor(200, 200, 200)};
}

} // namespace

DrawingView::DrawingView(kxhost::SimulatedDrawing& drawing, QWidget* parent) : QWidget(parent), m_drawing(drawing)
{
    setObjectName("drawingView");
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(200, 150);
    m_drawing.addObserver(this);
}

DrawingView::~DrawingView()
{
    m_drawing.removeObserver(this);
    cancelPick();
}

DrawingView::Fit DrawingView::fit() const
{
    Fit f;
    kxhost::DrawingPoint low, high;
    // A zoomed view fits its window; otherwise everything there is.
    if (m_drawing.view().zoomed) {
        low = m_drawing.view().low;
        high = m_drawing.view().high;
    } else if (!m_drawing.extents(low, high)) {
        return f;
    }
    const double top = kBannerHeight;
    const double w = std::max(1.0, width() - 2 * kMargin);
    const double h = std::max(1.0, height() - top - 2 * kMargin);
    const double dw = std::max(high.x - low.x, 1e-9);
    const double dh = std::max(high.y - low.y, 1e-9);
    f.scale = std::min(w / dw, h / dh);
    // Centred, y upwards.
    f.originX = kMargin + (w - dw * f.scale) / 2 - low.x * f.scale;
    f.originY = top + kMargin + h - (h - dh * f.scale) / 2 + low.y * f.scale;
    return f;
}

QPointF DrawingView::toWidget(kxhost::DrawingPoint p) const
{
    const Fit f = fit();
    return {f.originX + p.x * f.scale, f.originY - p.y * f.scale};
}

kxhost::DrawingPoint DrawingView::toDrawing(QPointF p) const
{
    const Fit f = fit();
    return {(p.x() - f.originX) / f.scale, (f.originY - p.y()) / f.scale};
}

void DrawingView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(kBackground));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const Fit f = fit();
    auto polygon = [&](const kxhost::DrawingOutline& outline) {
        QPolygonF out;
        for (const kxhost::DrawingPoint& p : outline)
            out << QPointF(f.originX + p.x * f.scale, f.originY - p.y * f.scale);
        return out;
    };

    // Macros are boxes around the parts they join: behind the parts, so that the parts stay visible.
    for (int pass = 0; pass < 2; ++pass) {
        for (const kxhost::DrawingObject& o : m_drawing.objects()) {
            if ((o.kind == "macro") != (pass == 0))
                continue;
            const KindLook look = lookOf(o.kind);
            const bool lit = m_drawing.isHighlighted(o.id);
            const bool clashing = !lit && m_drawing.isClashing(o.id);
            QPen pen(lit ? QColor::fromRgba(kHighlight) : clashing ? QColor::fromRgba(kClash) : look.line,
                     lit || clashing ? 2.0 : 1.0);
            if (o.kind == "macro")
                pen.setStyle(Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(lit && o.kind != "macro"        ? QColor::fromRgba(kHighlight)
                                 : clashing && o.kind != "macro" ? QColor::fromRgba(kClash)
                                                                 : look.fill);
            for (const kxhost::DrawingOutline& outline : o.outline)
                painter.drawPolygon(polygon(outline));
        }
    }

    // The cuts made on profiles are left out of them, so removing one in the cuts dialog shows.
    for (const kxhost::DrawingObject& o : m_drawing.objects()) {
        if (o.kind != "profile")
            continue;
        painter.setPen(QPen(lookOf(o.kind).line, 1.0));
        painter.setBrush(QColor::fromRgba(kBackground));
        for (const kxhost::DrawingOutline& cut : kxcore::profileCutOutlines(o))
            painter.drawPolygon(polygon(cut));
    }

    painter.setBrush(Qt::NoBrush);
    QPen dashed(QColor::fromRgba(kPreview), 1.5, Qt::DashLine);
    painter.setPen(dashed);
    for (const kxhost::DrawingPreview& p : m_drawing.previews())
        painter.drawPolygon(polygon(p.outline));

    // What the view shows, and why parts are red.
    QStringList caption;
    if (!m_drawing.view().caption.empty())
        caption << QString::fromStdString(m_drawing.view().caption);
    if (!m_drawing.clashMarks().empty())
        caption << QString::fromStdString("Clash: " + m_drawing.clashMarks().front().second);
    if (!caption.isEmpty()) {
        painter.setPen(QColor(220, 220, 220));
        painter.drawText(rect().adjusted(6, kBannerHeight + 2, -6, -4), Qt::AlignLeft | Qt::AlignBottom,
                         caption.join(QStringLiteral("   ")));
    }

    if (m_drawing.isPicking()) {
        const QRect banner(0, 0, width(), kBannerHeight);
        painter.fillRect(banner, QColor(60, 50, 20));
        painter.setPen(QColor::fromRgba(kHighlight));
        const QString prompt = QString::fromStdString(m_request.prompt.empty() ? std::string("Pick") : m_request.prompt);
        painter.drawText(banner.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         prompt + QString::fromUtf8("  (click; Esc or right button cancels)"));
    }
}

std::optional<kxhost::PickAnswer> DrawingView::waitForPick(const kxhost::PickRequest& request)
{
    if (m_loop != nullptr)
        return std::nullopt;
    m_request = request;
    m_answer.reset();
    QEventLoop loop;
    m_loop = &loop;
    QPointer<DrawingView> alive(this);
    setFocus();
    update();
    loop.exec();
    // The view may have gone while the loop ran (the window closed): then the pick is cancelled
    // by the destructor and nothing of this object may be touched.
    if (alive.isNull())
        return std::nullopt;
    m_loop = nullptr;
    update();
    return std::move(m_answer);
}

void DrawingView::finishPick(std::optional<kxhost::PickAnswer> answer)
{
    if (m_loop == nullptr)
        return;
    m_answer = std::move(answer);
    QEventLoop* loop = m_loop;
    m_loop = nullptr;
    loop->quit();
}

void DrawingView::cancelPick()
{
    finishPick(std::nullopt);
}

void DrawingView::mousePressEvent(QMouseEvent* event)
{
    const kxhost::DrawingPoint at = toDrawing(event->position());
    const double tolerance = kPickTolerance / std::max(fit().scale, 1e-9);
    if (m_loop == nullptr) {
        if (event->button() == Qt::LeftButton && m_info) {
            const kxhost::DrawingObject* o = m_drawing.object(m_drawing.objectAt(at, tolerance));
            m_info(o != nullptr ? describe(*o) : std::string());
        }
        return;
    }
    if (event->button() == Qt::RightButton) {
        cancelPick();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const std::string& kind = m_request.kind == kxhost::PickKind::Object ? m_request.objectKind : std::string();
    const AcDbObjectId id = m_drawing.objectAt(at, tolerance, kind);
    // A click beside every object of the asked kind asks again, as the host does.
    if (m_request.kind == kxhost::PickKind::Object && id.isNull())
        return;
    finishPick(kxhost::PickAnswer{id, at});
}

void DrawingView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_loop != nullptr) {
        cancelPick();
        return;
    }
    QWidget::keyPressEvent(event);
}

std::string DrawingView::describe(const kxhost::DrawingObject& o) const
{
    std::string text = o.kind + " " + std::to_string(o.id.handle()) + ": " + o.name;
    for (const auto& [key, value] : o.properties)
        text += ", " + key + " " + value;
    return text;
}

} // namespace kxapp
