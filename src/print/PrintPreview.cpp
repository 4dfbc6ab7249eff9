// The preview's page and zoom.
#include "print/PrintPreview.h"

#include <cmath>
#include <iterator>

namespace kxprint {

namespace {

constexpr int kZoomSteps = static_cast<int>(std::size(kPreviewZooms));

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

int screenPixels(double mm, int zoom)
{
    return static_cast<int>(std::lround(mm / 25.4 * kScreenDotsPerInch * zoom / 100.0));
}

} // namespace

PreviewState::PreviewState(int pageCount, int zoomPercent) : m_pageCount(pageCount < 1 ? 1 : pageCount)
{
    // The nearest step not above the wish (the smallest when the wish is below all).
    for (int i = 0; i < kZoomSteps; ++i)
        if (kPreviewZooms[i] <= zoomPercent)
            m_zoom = i;
}

bool PreviewState::canZoomIn() const
{
    return m_zoom + 1 < kZoomSteps;
}

bool PreviewState::back()
{
    if (!canGoBack())
        return false;
    --m_page;
    return true;
}

bool PreviewState::forward()
{
    if (!canGoForward())
        return false;
    ++m_page;
    return true;
}

bool PreviewState::zoomIn()
{
    if (!canZoomIn())
        return false;
    ++m_zoom;
    return true;
}

bool PreviewState::zoomOut()
{
    if (!canZoomOut())
        return false;
    --m_zoom;
    return true;
}

std::string PreviewState::pageText(const std::string& format) const
{
    std::string text = format;
    replaceAll(text, "%1", std::to_string(m_page + 1));
    replaceAll(text, "%2", std::to_string(m_pageCount));
    return text;
}

int PreviewState::pixelsWide(const PageSetup& setup) const
{
    return screenPixels(setup.widthMm(), zoom());
}

int PreviewState::pixelsHigh(const PageSetup& setup) const
{
    return screenPixels(setup.heightMm(), zoom());
}

} // namespace kxprint
