// The list of the drawing's requests.
#include "app/RequestLogView.h"

namespace kxapp {

RequestLogView::RequestLogView(kxhost::SimulatedDrawing& drawing, QWidget* parent)
    : QListWidget(parent), m_drawing(drawing)
{
    setObjectName("requestLog");
    setFont(QFont("DejaVu Sans Mono"));
    setUniformItemSizes(true);  // long logs stay cheap to lay out
    const auto& requests = drawing.requests();
    const size_t skip = requests.size() > static_cast<size_t>(kLineLimit) ? requests.size() - kLineLimit : 0;
    for (size_t i = skip; i < requests.size(); ++i)
        append(requests[i]);
    scrollToBottom();
    m_drawing.addObserver(this);
}

RequestLogView::~RequestLogView()
{
    m_drawing.removeObserver(this);
}

void RequestLogView::append(const kxhost::DrawingRequest& request)
{
    if (count() >= kLineLimit)
        delete takeItem(0);
    addItem(QString::fromStdString(request.text()));
}

void RequestLogView::requestLogged(const kxhost::SimulatedDrawing&, const kxhost::DrawingRequest& request)
{
    append(request);
    scrollToBottom();
}

} // namespace kxapp
