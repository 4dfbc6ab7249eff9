// The registered PDF writer.
#include "platform/win/PdfWriterHook.h"

namespace kxwin {

namespace {
PdfWriter g_writer = nullptr;
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
