// The registered PDF writer.
#include "platform/win/PdfWriterHook.h"

namespace kxwin {

namespace {
PdfWriter g_writer = nullptr;
PagePixelsRenderer g_renderer = nullptr;
}

void setPagePixelsRenderer(PagePixelsRenderer renderer)
{
    g_renderer = renderer;
}

PagePixelsRenderer pagePixelsRenderer()
{
    return g_renderer;
}

void setPdfWriter(PdfWriter writer)
{
    g_writer = writer;
}

PdfWriter pdfWriter()
{
    return g_writer;
}

} // namespace kxwin
